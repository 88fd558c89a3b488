# Shared by run.sh and test.sh: packages, build, display, Wine session.
# shellcheck shell=bash
set -Eeuo pipefail
# set -e alone ends a script without a word, and many steps send their output to /dev/null:
# name the step that failed, where, and its status (-E: inside functions too).
trap 'step_failed $?' ERR
step_failed() {
    local in="${FUNCNAME[1]}"; [ "$in" = main ] && in="" || in=" ($in)"
    echo "${BASH_SOURCE[1]##*/}:${BASH_LINENO[0]}$in: '$BASH_COMMAND' failed with status $1" >&2
}

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${BRUMVALE_BUILD:-$ROOT/build}"  # another folder keeps parallel work apart
PACKAGES=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
          wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick googletest procps)

log() { printf '== %s\n' "$*" >&2; }

ensure_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

build() {
    if [ ! -f "$BUILD/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" >/dev/null
    fi
    local out
    if ! out=$(cmake --build "$BUILD" -j"$(nproc)" 2>&1); then
        printf '%s\n' "$out" | grep -vE '^\[ *[0-9]+%\]' | tail -40 >&2
        echo "build failed" >&2
        exit 1
    fi
}

# Starts Xvfb with the given screen (WxH); sets DISPLAY and XVFB_PID. Xvfb picks a free
# display itself, so runs side by side never share one.
start_xvfb() {
    local screen="$1" file log status=0
    file="$(mktemp)" log="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$file" </dev/null >/dev/null 2>"$log" &
    XVFB_PID=$!
    # Xvfb writes its display number once it takes connections; no use waiting once it ended.
    for _ in $(seq 100); do
        [ -s "$file" ] || ! kill -0 "$XVFB_PID" 2>/dev/null && break
        sleep 0.1
    done
    if [ ! -s "$file" ]; then
        if kill -0 "$XVFB_PID" 2>/dev/null; then
            echo "Xvfb gave no display within 10 s" >&2
        else
            wait "$XVFB_PID" || status=$?
            echo "Xvfb ended with status $status" >&2
        fi
        tail -n 5 "$log" >&2
        exit 1
    fi
    export DISPLAY=":$(head -n1 "$file")"
    rm -f "$file" "$log"
}

# Wine settings shared by every start; WINEPREFIX is the caller's.
wine_env() {
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
}

# A persistent server and Wine's services up before anything else runs: otherwise the first
# program started spawns the services, which inherit its output pipes.
# A server of the prefix still on its way out holds the lock, and "wineserver -p" would then
# exit with status 2 at once: wait for it first.
# The persistent server gets none of the caller's pipes: it would hold them open.
warm_wine() {
    timeout 60 wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

# Xvfb has no window manager: Wine would wait two seconds for one at every hidden window.
unmanaged_windows() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$1" /f >/dev/null 2>&1
}

# Waits until the server is gone: -k alone stops waiting after ten seconds.
stop_wine() { wineserver -k 2>/dev/null || true; timeout 60 wineserver -w || true; }

# The test session: an 800x600 Xvfb screen, the test device made or brought up to date, and a
# warm Wine session on it; both are stopped when the script exits. Sets DISPLAY and WINEPREFIX.
start_test_session() {
    start_xvfb 800x600
    export WINEPREFIX="${BRUMVALE_TEST_DEVICE:-$ROOT/.testdevice}"
    wine_env
    trap 'stop_wine; kill $XVFB_PID 2>/dev/null || true' EXIT
    "$ROOT/device/make-device.sh" "$WINEPREFIX" "$BUILD"
    warm_wine
    unmanaged_windows N
}
