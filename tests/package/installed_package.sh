#!/usr/bin/env bash
# The Debian package as a user meets it, on the X display of DISPLAY: built by scripts/package-linux (which
# runs lintian), installed with apt, started with its desktop entry's command in a fresh home folder (the
# editor opens; with a user file in ~/Zenporo/ the toolbar shows its name), then removed and purged, after
# which the user's files in ~/Zenporo/ must still be there.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/deps.sh"
[ -n "${DISPLAY:-}" ] || fail "package test: no X display (DISPLAY)"

"$root/scripts/package-linux"
version=$(sed -n 's/^project(Zenporo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
deb="$root/dist/zenporo_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "package test: $deb was not written"

# Removing the package runs nothing of ours: no maintainer script that could reach a user's files.
if dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -qE '(prerm|postrm)$'; then
  fail "package test: the package carries a removal script"
fi

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -y -q -o DPkg::Lock::Timeout=300 "$@"; }

home=$(mktemp -d)
runtime=$(mktemp -d)
pid=""
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  rm -rf "$home" "$runtime"
  if dpkg-query -W -f='${Status}' zenporo 2>/dev/null | grep -q "ok installed"; then apt_get purge zenporo >/dev/null || true; fi
}
trap cleanup EXIT

installed=$(apt_get install "$deb" 2>&1) || { echo "$installed" >&2; fail "package test: apt-get could not install $deb"; }
grep -qF "in ~/Zenporo/" <<<"$installed" || fail "package test: the installation did not say where the files are"

[ -f /usr/share/zenporo/zenporo.html ] || fail "package test: the manual is not where the help menu looks"
command=$(sed -n 's/^Exec=//p' /usr/share/applications/zenporo.desktop)
[ "$(command -v "$command")" = /usr/bin/zenporo ] || fail "package test: the desktop entry does not start /usr/bin/zenporo"

# Starts the program as the desktop entry does, for a user whose home folder is $home.
start() {
  env HOME="$home" XDG_RUNTIME_DIR="$runtime" "$command" >"$home/output.txt" 2>&1 &
  pid=$!
}
# Waits for a visible window of the program whose title matches; xdotool reads the UTF-8 titles.
wait_for_window() {
  LC_ALL=C.UTF-8 timeout 20 xdotool search --sync --all --onlyvisible --pid "$pid" --name "$1" >/dev/null \
    || { cat "$home/output.txt" >&2; fail "package test: no window \"$1\" of /usr/bin/zenporo"; }
}
# Ends the program as a desktop session does, and waits until it has gone.
stop() {
  kill -TERM "$pid"
  wait "$pid" || true
  pid=""
}

start
wait_for_window "^ユーザーファイル作成$"
[ "$(stat -c %a "$home/Zenporo")" = 700 ] || fail "package test: the first start did not make ~/Zenporo/ for its owner"
stop

# A user file as scripts/install's copy or an earlier run leaves it: the toolbar opens with its name.
for line in 100-0001 Tokyo Chiyoda 1-1 "" Yamada Taro "" "" ""; do printf '%s\r\n' "$line"; done >"$home/Zenporo/taro.zpd"
for _ in $(seq 21); do printf '\r\n'; done >>"$home/Zenporo/taro.zpd"
start
wait_for_window "^taro - Zenporo"
stop
[ -f "$home/Zenporo/Zenpad.ini" ] || fail "package test: the settings were not written into ~/Zenporo/"
[ ! -e /usr/bin/Zenpad.ini ] || fail "package test: the installed program wrote its settings into /usr/bin"

# Removed, then installed again and purged: neither touches the user's files.
cp "$home/Zenporo/taro.zpd" "$home/taro.zpd.before"
for action in remove purge; do
  [ "$action" = remove ] || apt_get install "$deb" >/dev/null || fail "package test: apt-get could not reinstall $deb"
  apt_get "$action" zenporo >/dev/null || fail "package test: apt-get $action zenporo failed"
  [ ! -e /usr/bin/zenporo ] || fail "package test: /usr/bin/zenporo is still there after apt-get $action"
  if ! cmp -s "$home/taro.zpd.before" "$home/Zenporo/taro.zpd" || [ ! -f "$home/Zenporo/Zenpad.ini" ]; then
    fail "package test: apt-get $action touched ~/Zenporo/"
  fi
done
echo "zenporo: package test passed"
