# What every script of the project shares: the packages it needs, the build, and a session to run
# the program in (a screen, a device at a pixel density, a warm Wine), with cleanup that stacks.
# Sourced by run.sh, test.sh, bench/run.sh, device/make-device.sh, scripts/*.sh and tests/*.sh.
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
source "$ROOT/scripts/names.sh"
SOURCE="${SOURCE:-$ROOT}"              # the tree that is built (scripts/mutate.sh builds a copy)
BUILD="${BRUMVALE_BUILD:-$ROOT/build}"  # another folder keeps parallel work apart
TEST_DEVICE="${BRUMVALE_TEST_DEVICE:-$ROOT/.testdevice}"
PACKAGES=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
          wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick googletest procps)

log() { printf '== %s\n' "$*" >&2; }

# Wine as the scripts start it, without address randomization and on the right loader (scripts/path/wine).
case ":$PATH:" in *":$ROOT/scripts/path:"*) ;; *) export PATH="$ROOT/scripts/path:$PATH" ;; esac

# --- cleanup that stacks: each step registered runs at exit, the last registered first ---------
EXIT_STEPS=()
at_exit() { EXIT_STEPS+=("$1"); }
run_exit_steps() {
    local i
    for ((i = ${#EXIT_STEPS[@]} - 1; i >= 0; i--)); do eval "${EXIT_STEPS[i]}" || true; done
}
trap run_exit_steps EXIT

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

# Builds what changed. Progress lines are dropped; whatever else the compilers say (warnings)
# is shown, and all of it when the build fails. Arguments are CMake settings for a new build
# folder; TOOLCHAIN names another toolchain file.
build() {
    if [ ! -f "$BUILD/CMakeCache.txt" ]; then
        cmake -S "$SOURCE" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="${TOOLCHAIN:-$SOURCE/cmake/mingw-w64.cmake}" "$@" >/dev/null
    fi
    local out status=0
    out=$(cmake --build "$BUILD" -j"$(nproc)" 2>&1) || status=$?
    out=$(grep -vE '^\[ *[0-9]+%\]|^Consolidate compiler generated|^gmake(\[[0-9]+\])?: (Entering|Leaving)' <<<"$out" || true)
    if [ $status -ne 0 ]; then
        tail -60 <<<"$out" >&2
        echo "build failed" >&2
        exit 1
    fi
    [ -z "$out" ] || { echo "the build said:" >&2; printf '%s\n' "$out" >&2; }
}

# --- the session ----------------------------------------------------------------------------

# Starts Xvfb with the given screen (WxH) and stops it at exit; sets DISPLAY. Xvfb picks a free
# display itself, so runs side by side never share one.
start_xvfb() {
    local screen="$1" file log status=0 pid
    file="$(mktemp)" log="$(mktemp)"
    # Without auto-repeat: a key whose release comes late on a busy machine would otherwise be
    # pressed again, in whatever window is in front by then.
    Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -r 3>"$file" </dev/null >/dev/null 2>"$log" &
    pid=$!
    at_exit "kill $pid 2>/dev/null"
    # Xvfb writes its display number once it takes connections; no use waiting once it ended.
    for _ in $(seq 100); do
        [ -s "$file" ] || ! kill -0 "$pid" 2>/dev/null && break
        sleep 0.1
    done
    if [ ! -s "$file" ]; then
        if kill -0 "$pid" 2>/dev/null; then
            echo "Xvfb gave no display within 10 s" >&2
        else
            wait "$pid" || status=$?
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
    if [ -n "${DEVICE_LOCK:-}" ]; then  # a server left by a run that was killed must not keep the device locked
        wineserver -p </dev/null >/dev/null 2>&1 {DEVICE_LOCK}>&-
        again_if_silent wine cmd /c exit </dev/null >/dev/null 2>&1 {DEVICE_LOCK}>&-
    else
        wineserver -p </dev/null >/dev/null 2>&1
        again_if_silent wine cmd /c exit </dev/null >/dev/null 2>&1
    fi
}

# A new Wine prefix in PREFIX, as "wineboot --init" makes it: copied from one made once per build
# folder, since making one takes Wine a while and a copy a second. WINEPREFIX set by the caller
# is kept.
new_prefix() {
    local template="$BUILD/new-prefix"
    mkdir -p "$BUILD"
    (
        flock 9
        if [ ! -f "$template/.made" ]; then
            rm -rf "$template"
            mkdir -p "$template"
            export WINEPREFIX="$template"
            again_if_silent wineboot --init </dev/null >/dev/null 2>&1 9>&-
            wineserver -w
            touch "$template/.made"
        fi
    ) 9>"$template.lock"
    mkdir -p "$1"
    cp -a "$template/." "$1/"
    rm -f "$1/.made"
}

# Waits until the server is gone: -k alone stops waiting after ten seconds.
stop_wine() { wineserver -k 2>/dev/null || true; timeout 60 wineserver -w || true; }

# One run at a time on a device. A second run would share the first one's Wine server and
# registry, and stopping Wine at its end would kill the first run's programs in the middle of
# their work: they end printing nothing (a test program's output is still in its buffer). The
# lock is the run's own, and its programs': Wine's server and services do not hold it, so that
# one left behind by a killed run does not keep the device locked. A second run waits for it.
lock_device() {
    mkdir -p "$(dirname "$1")"
    exec {DEVICE_LOCK}>"$1.lock"
    flock -n "$DEVICE_LOCK" && return 0
    log "waiting for the other run on $1 to end"
    flock "$DEVICE_LOCK"
}

# A session on the device PREFIX: SCREEN is WxH for a new Xvfb screen of that size, or "display"
# for the display the caller has; DPI the pixel density; with "desktop" Wine draws into a
# virtual desktop of the screen's size (a test can then change the display mode, as turning
# the device does). Makes or updates the device, sets what it needs (read when Wine starts,
# so set once and kept) and leaves Wine warm; stopped at exit. Without a window manager, Wine
# would wait two seconds for one at every hidden window: on Xvfb windows are unmanaged.
# Sets DISPLAY and WINEPREFIX. open_session stops short of warming Wine.
open_session() {
    local screen="$1" dpi="$2" prefix="$3" desktop="${4:-}" managed=N settings
    lock_device "$prefix"
    if [ "$screen" = display ]; then
        managed=Y
        screen=""
    else
        start_xvfb "$screen"
    fi
    export WINEPREFIX="$prefix"
    wine_env
    "$ROOT/device/make-device.sh" "$prefix" "$BUILD"
    at_exit stop_wine
    settings="dpi=$dpi managed=$managed desktop=${desktop:+$screen} fonts=without-bitmap-faces"
    [ "$(cat "$prefix/.session" 2>/dev/null)" = "$settings" ] && return 0
    warm_wine
    wine_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
    wine_reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d $managed /f </dev/null >/dev/null 2>&1
    if [ -n "$desktop" ]; then
        wine_reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f </dev/null >/dev/null 2>&1
        wine_reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d "$screen" /f </dev/null >/dev/null 2>&1
    else
        wine_reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f </dev/null >/dev/null 2>&1 || true
    fi
    stop_wine
    # Started at a new density, Wine lists its bitmap faces for it among the system's fonts (Wine
    # 10 finds them in its own folder, Wine 8 only in the device's), and a template asking for
    # "MS Sans Serif" or "System" would be measured in one of them. The handheld has none: they go
    # from the lists, and such a template is measured in Tahoma, as the handheld measures it
    # (make-device.sh). Wine writes the lists again only at another density.
    warm_wine
    local key name
    for key in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
               'HKLM\Software\Microsoft\Windows\CurrentVersion\Fonts' \
               'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
        wine_reg query "$key" </dev/null 2>/dev/null | tr -d '\r' | sed -n 's/^ *\(.*[^ ]\) *REG_SZ *.*\.fon$/\1/ip' |
            while IFS= read -r name; do
                wine_reg delete "$key" /v "$name" /f </dev/null >/dev/null 2>&1 || true
            done
    done
    stop_wine
    echo "$settings" >"$prefix/.session"
}
start_session() { open_session "$@"; warm_wine; }

# In a test's session a program that crashes ends at once, with Wine's message: no debugger is
# started to hold it until the test's time is up.
no_debugger() { export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d"; }

# The test session: an 800x600 Xvfb screen at 96 dpi and the test device.
start_test_session() { start_session 800x600 96 "$TEST_DEVICE"; no_debugger; }

# Waits until the screen stays as it is (two grabs alike, a tenth of a second apart), at most
# 10 s: what was asked of the program has been drawn.
wait_for_stillness() {
    local before="" now
    for _ in $(seq 100); do
        now=$(import -window root -depth 8 rgb:- 2>/dev/null | md5sum)
        [ "$now" = "$before" ] && return 0
        before="$now"
        sleep 0.1
    done
    echo "the screen did not settle within 10 s" >&2
}

# Waits (at most SECONDS, 60 unless given) until a window of this caption is mapped; prints its id.
wait_for_window() {
    timeout "${2:-60}" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1
}

# --- generated drives for the program picker ------------------------------------------------
# ENTRIES entries in groups of 2,000: a folder with 9 files and 10 subfolders, each of those with
# 14 files and 4 folders of 45 files. Of every ten files six are programs (one of them ".EXE"),
# the others ".dll", ".txt", ".dat" and ".exe.bak", which the picker leaves out.
FILE_TYPES=(exe dll exe txt exe EXE dat exe exe.bak exe)

# Prints the files of one folder, NUL-separated: FOLDER COUNT.
picker_files() {
    local j
    for ((j = 0; j < $2; j++)); do printf '%s/Item%03d.%s\0' "$1" "$j" "${FILE_TYPES[j % 10]}"; done
}

# Makes the tree of ENTRIES entries in DIR, unless it is there already.
make_picker_tree() {
    local dir="$1" entries="$2" partial="$1.partial" g s p top sub
    [ -d "$dir" ] && return 0
    log "generating $entries entries in $dir"
    rm -rf "$partial"
    mkdir -p "$partial"
    (
        cd "$partial"
        for ((g = 1; g <= entries / 2000; g++)); do
            top=$(printf 'Apps%02d' "$g")
            for ((s = 1; s <= 10; s++)); do
                sub=$(printf '%s/Pack%02d' "$top" "$s")
                for ((p = 1; p <= 4; p++)); do printf '%s/Unit%d\0' "$sub" "$p"; done
            done
        done | xargs -0 mkdir -p
        for ((g = 1; g <= entries / 2000; g++)); do
            top=$(printf 'Apps%02d' "$g")
            picker_files "$top" 9
            for ((s = 1; s <= 10; s++)); do
                sub=$(printf '%s/Pack%02d' "$top" "$s")
                picker_files "$sub" 14
                for ((p = 1; p <= 4; p++)); do picker_files "$sub/Unit$p" 45; done
            done
        done | xargs -0 touch
    )
    mv "$partial" "$dir"
}

# The device's drive LETTER holding such a tree of ENTRIES entries, made once. Wine's services learn
# the drives as they start: make it before Wine is warm.
make_picker_drive() {
    make_picker_tree "$WINEPREFIX/picker-tree-$2" "$2"
    ln -sfn "$WINEPREFIX/picker-tree-$2" "$WINEPREFIX/dosdevices/$1:"
}
