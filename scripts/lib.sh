# Shared by scripts/test and scripts/run: packages, Wine prefix, X display, builds.
# Everything started here is remembered by process id and stopped by snapdesk_stop_all.

SNAPDESK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE64=/usr/lib/wine/wine64
SNAPDESK_PIDS=()

snapdesk_log() { printf '[snapdesk] %s\n' "$*" >&2; }

snapdesk_as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -n "$@"; fi
}

snapdesk_install_packages() {
    local wanted=(cmake make g++ mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
                  googletest wine64 fonts-wine xvfb xauth imagemagick xdotool wixl)
    local missing=()
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    # The build fetches SQLite's amalgamation with npm (cmake/SQLite.cmake); any npm will do.
    command -v npm >/dev/null 2>&1 || missing+=(npm)
    [ ${#missing[@]} -eq 0 ] && return 0
    snapdesk_log "installing: ${missing[*]}"
    snapdesk_as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive snapdesk_as_root apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# A free X display number, by the absence of its lock file and socket.
snapdesk_free_display() {
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    echo "$n"
}

# An X server of its own on a free display; its size WIDTHxHEIGHT, 1024x768 unless given.
snapdesk_start_xvfb() {
    local n
    n=$(snapdesk_free_display)
    Xvfb ":$n" -screen 0 "${1:-1024x768}x24" -nolisten tcp >/dev/null 2>&1 &
    SNAPDESK_PIDS+=($!)
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
    done
    snapdesk_log "Xvfb did not start on :$n"
    return 1
}

# A private prefix with the virtual desktop turned on, so that every process shares one
# desktop with frames, maximise and minimise.
snapdesk_prepare_prefix() {
    export WINEPREFIX="${WINEPREFIX:-$SNAPDESK_ROOT/build/wineprefix}"
    export WINEDEBUG=-all
    mkdir -p "$(dirname "$WINEPREFIX")"
    if [ ! -f "$WINEPREFIX/.snapdesk-ready" ]; then
        snapdesk_log "creating Wine prefix $WINEPREFIX"
        # No Mono or Gecko installer dialogs: nothing here needs them.
        WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE64" wineboot --init >/dev/null 2>&1 || true
        "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
        # Debian's Wine does not find its own Marlett: caption buttons would show letters.
        cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        /usr/lib/wine/wineserver -w
        touch "$WINEPREFIX/.snapdesk-ready"
    fi
    # Drive T: for tests that walk a whole drive: small, and theirs alone.
    mkdir -p "$WINEPREFIX/drive_t"
    ln -sfn ../drive_t "$WINEPREFIX/dosdevices/t:"
    # One server for the whole run. Started after the first program, it would be a second one
    # that gives up at once, and the first ends 3 s after its last client: a test starting
    # just then loses its connection ("recvmsg: Connection reset by peer").
    /usr/lib/wine/wineserver -p
    # Without mshtml the prefix also lacks the .txt association every Windows machine has:
    # text documents of a project would not open.
    "$WINE64" reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1
    # A crash prints its backtrace instead of leaving a dialog on the desktop for the next test.
    "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        >/dev/null 2>&1
    # Shortcuts that the installer puts in the Start menu stay in the prefix: no menu entries
    # in the Linux user's desktop.
    "$WINE64" reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f \
        >/dev/null 2>&1
}

# Snapdesk installed as C:\Snapdesk in the prefix, as a user has it: the folder list it builds
# is of drive C:. The program loads its two libraries and its help file from its own folder;
# the build puts them beside snapdesk.exe (unstripped, for backtraces).
snapdesk_install_into_prefix() {
    local bin=$1 install="$WINEPREFIX/drive_c/Snapdesk"
    mkdir -p "$install"
    for file in snapdesk.exe zimDisplayWidget.dll zim001.dll SNAPDESK.HLP; do
        cp "$bin/app/$file" "$install/" || { snapdesk_log "missing $bin/app/$file"; return 1; }
    done
}

# A Windows program in the background, detached from the caller's output.
snapdesk_start_beside() {
    setsid "$WINE64" "$@" </dev/null >/dev/null 2>&1 &
    SNAPDESK_PIDS+=($!)
}

snapdesk_stop_all() {
    if [ -n "${WINEPREFIX:-}" ]; then /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; fi
    for pid in "${SNAPDESK_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${SNAPDESK_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    SNAPDESK_PIDS=()
}

snapdesk_build() {
    local preset=$1
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)"
}
