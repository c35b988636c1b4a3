#!/usr/bin/env bash
# The Wine test bed: one prefix, one X display and one warm wineserver shared
# by every test of a run.
#
#   winebed.sh start STATE   create what is missing, start Xvfb and the server
#   winebed.sh stop STATE    stop the server and Xvfb
#   winebed.sh exec STATE CMD...   run CMD inside the bed
#   winebed.sh prefix STATE  only create the prefix (for a real display)
#   winebed.sh exec-on-display STATE CMD...   run CMD with the prefix on $DISPLAY
#
# STATE is a folder (the build tree's testbed/) that keeps the prefix, the
# locale and env.sh, which the other scripts source.
set -euo pipefail

cmd=${1:?start, stop or exec}
state=$(mkdir -p "${2:?state folder}" && cd "$2" && pwd)
shift 2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The ANSI code page must be 936, and Wine needs a real zh_CN locale to
# create files with Chinese names; it is compiled into the bed, not the system.
base_env() {
    export WINEPREFIX="$state/prefix" WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=" LOCPATH="$state/locale"
    export LANG=zh_CN.UTF-8
    unset LC_ALL
}

make_locale() {
    [ -d "$state/locale/zh_CN.UTF-8" ] && return
    mkdir -p "$state/locale"
    localedef -i zh_CN -f UTF-8 "$state/locale/zh_CN.UTF-8" 2>/dev/null || [ -d "$state/locale/zh_CN.UTF-8" ]
}

wait_server_gone() {
    local i
    for i in $(seq 100); do pgrep -u "$(id -u)" -f "wineserver" >/dev/null || return 0; sleep 0.1; done
}

make_prefix() {
    [ -f "$state/prefix/.kestrune-bed" ] && return
    rm -rf "$state/prefix"
    wineboot -i >/dev/null 2>&1 </dev/null
    # A crash must end the process, never wait on a dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # http and https go to winebrowser, which starts the first program listed
    # here: a stub that logs the address instead of opening a browser.
    wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d "$here/stub-browser.sh" /f >/dev/null 2>&1
    wineserver -w
    touch "$state/prefix/.kestrune-bed"
}

start_x() {
    if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then return; fi
    local fifo="$state/displayfd"
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    echo $! >"$state/xvfb.pid"
    local display
    read -r -t 20 display <"$fifo"
    rm -f "$fifo"
    echo ":$display" >"$state/display"
}

case "$cmd" in
start)
    base_env
    make_locale
    start_x
    export DISPLAY=$(cat "$state/display")
    make_prefix
    wineserver -k 2>/dev/null || true
    wait_server_gone
    # What the tests of earlier runs left in the prefix's temporary folder.
    rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/kt-* "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp/kt-*
    wineserver -p >/dev/null 2>&1 </dev/null
    # Warm the server once so the first test does not pay for it.
    wine cmd /c exit 0 >/dev/null 2>&1 || true
    {
        echo "export WINEPREFIX='$WINEPREFIX' WINEARCH=win32 WINEDEBUG=-all"
        echo "export WINEDLLOVERRIDES='mscoree,mshtml=' LOCPATH='$LOCPATH' LANG=zh_CN.UTF-8; unset LC_ALL"
        echo "export DISPLAY='$DISPLAY'"
    } >"$state/env.sh"
    ;;
stop)
    if [ -f "$state/env.sh" ]; then
        # shellcheck disable=SC1091
        . "$state/env.sh"
        wineserver -k 2>/dev/null || true
    fi
    if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; rm -f "$state/xvfb.pid"; fi
    rm -f "$state/env.sh"
    ;;
prefix)
    base_env
    make_locale
    make_prefix
    ;;
exec-on-display)
    base_env
    exec "$@"
    ;;
exec)
    # shellcheck disable=SC1091
    . "$state/env.sh"
    exec "$@"
    ;;
*)
    echo "usage: winebed.sh start|stop|exec STATE [CMD...]" >&2
    exit 2
    ;;
esac
