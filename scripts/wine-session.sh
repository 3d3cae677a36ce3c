# Sourced by the scripts that run the Windows program under Wine (after deps.sh).
#
# start_wine_session <run folder> <display>: makes, anew under the run folder, a Japanese locale and a Wine
# prefix for the X display given, and sets the array wine_env to run Wine commands in them. Without a
# Japanese locale Wine draws boxes instead of kana in captions and message boxes; /etc stays untouched.
# The caller ends the session with: env "${wine_env[@]}" wineserver -k
start_wine_session() {
  local run=$1 display=$2
  rm -rf "$run"
  mkdir -p "$run/locale"
  localedef -i ja_JP -f UTF-8 "$run/locale/ja_JP.UTF-8" || fail "localedef ja_JP.UTF-8 failed"
  wine_env=(
    LOCPATH="$run/locale" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
    DISPLAY="$display" WINEPREFIX="$run/prefix" WINEARCH=win64
    WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DBUS_SESSION_BUS_ADDRESS=disabled:
  )
  env "${wine_env[@]}" wineboot -i >"$run/wineboot.log" 2>&1 || { cat "$run/wineboot.log" >&2; fail "wineboot failed"; }
  env "${wine_env[@]}" wineserver -w
}
