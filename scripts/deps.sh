# Debian packages the build, the program and the tests need; sourced by the other scripts.
ZENPORO_BUILD_PACKAGES="g++ cmake ninja-build qt6-base-dev qt6-translations-l10n libx11-dev libxtst-dev libxrandr-dev libgtest-dev libgmock-dev fonts-ipafont-gothic pkg-config libwayland-dev libwayland-bin libxkbcommon-dev"
ZENPORO_TEST_PACKAGES="xvfb openbox xdotool mutter xwayland dbus zenity xdg-desktop-portal qt6-wayland chromium chromium-l10n sway python3-gi gir1.2-gtk-3.0"
# KDE Plasma's compositor and desktop portal for the Wayland tests, installed with --no-install-recommends:
# their recommendations bring most of Plasma (about 620 packages instead of 140).
ZENPORO_KDE_TEST_PACKAGES="kwin-wayland xdg-desktop-portal-kde qtwayland5"
# What scripts/package-linux packs and checks the Debian package with.
ZENPORO_PACKAGE_PACKAGES="dpkg-dev imagemagick appstream lintian"
# What scripts/screenshots takes and optimises the manual's pictures with.
ZENPORO_SCREENSHOT_PACKAGES="xvfb openbox xdotool x11-utils x11-xserver-utils imagemagick optipng zenity"

fail() {
  echo "zenporo: $*" >&2
  exit 1
}

# Installs the packages that are missing; apt-get runs only when something is. A first argument
# --no-install-recommends is handed to apt-get.
install_missing() {
  local options=()
  if [ "${1:-}" = "--no-install-recommends" ]; then options+=("$1"); shift; fi
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "zenporo: installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q >/dev/null || fail "apt-get update failed"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${options[@]}" "${missing[@]}" >/dev/null \
    || fail "could not install: ${missing[*]}"
}

# The Windows lane: the cross compiler, Wine to run the tests, its fonts, and the locale sources localedef
# needs for the Japanese prefix. Installed with --no-install-recommends (Wine recommends a great deal).
ZENPORO_WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix wine64 wine fonts-wine locales"
