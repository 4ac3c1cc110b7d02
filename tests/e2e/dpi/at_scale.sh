#!/usr/bin/env bash
# Runs the scale flow with the Wine prefix at DPI ("LogPixels" of the current user), on a
# desktop as many pixels larger as a monitor of the same size has at that scale (2048 x 1536
# at 192), shown by an X server of its own. The prefix gets 96 dpi and 1024 x 768 back after,
# whether the flow passes, fails, hangs past LIMIT seconds or the script is stopped.
# Usage: at_scale.sh DPI TEST_EXE SHOTS_FOLDER [LIMIT]
set -u
dpi=$1 exe=$2 shots=$3 limit=${4:-120}
root=$(cd "$(dirname "$0")/../../.." && pwd)
# shellcheck source=/dev/null
source "$root/scripts/lib.sh"
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}" WINEDEBUG=-all
server=/usr/lib/wine/wineserver
width=$((1024 * dpi / 96)) height=$((768 * dpi / 96))

# A server left running by this script must not hold the caller's output open (ctest waits
# for it to close).
start_server() { "$server" -p </dev/null >/dev/null 2>&1; }

# Wine reads both values when its server starts.
prefix_scale() {
    "$server" -k >/dev/null 2>&1
    "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        </dev/null >/dev/null 2>&1
    "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$2" /f \
        </dev/null >/dev/null 2>&1
    "$server" -k >/dev/null 2>&1
    "$server" -w
}

callers_display=${DISPLAY:-}
restore() {
    trap - EXIT INT TERM HUP
    prefix_scale 96 1024x768
    snapdesk_stop_all
    export DISPLAY=$callers_display
    start_server
}
trap restore EXIT
trap 'exit 1' INT TERM HUP

snapdesk_start_xvfb "${width}x$height" || exit 1
prefix_scale "$dpi" "${width}x$height"
start_server
mkdir -p "$shots"
# A hang inside becomes a failure while this script still runs to put the prefix back.
SNAPDESK_E2E_SHOTS=$shots SNAPDESK_EXPECT_DPI=$dpi \
    timeout -k 5 "$limit" "$root/cmake/wine-run" "$exe"
status=$?
[ "$status" -eq 124 ] && echo "the flow at $dpi dpi took more than $limit s" >&2
exit "$status"
