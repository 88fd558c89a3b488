#!/usr/bin/env bash
# Benchmarks, each against a bare baseline in the same run:
#   bench/run.sh [RUNS]          all of them
#   bench/run.sh startup [RUNS]  start-up to the first painted page, against a bare property sheet
#   bench/run.sh picker [RUNS]   the program picker on generated drives, against a bare tree view
#   bench/run.sh tabs [RUNS]     opening the Screen Saver tab, against opening the Game tab
source "$(dirname "$0")/../scripts/common.sh"
WHICH=all
case "${1:-}" in startup|picker|tabs) WHICH="$1"; shift ;; esac
RUNS="${1:-}"

# The picker's drives: P: holds 20,000 entries and Q: 40,000, in the same shape. Each group is
# 2,000 entries: a folder with 9 files and 10 subfolders, each of those with 14 files and 4
# folders of 45 files. Of every ten files six are programs (one of them ".EXE"), the others
# ".dll", ".txt", ".dat" and ".exe.bak", which the picker leaves out.
PICKER_DRIVES=("p:20000" "q:40000")
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

# Each tree on a drive of its own, so that nothing else is scanned. Made before Wine's services
# start, which learn the drives when they do.
make_picker_drives() {
    local drive letter entries
    for drive in "${PICKER_DRIVES[@]}"; do
        letter="${drive%%:*}" entries="${drive##*:}"
        make_picker_tree "$WINEPREFIX/picker-tree-$entries" "$entries"
        ln -sfn "$WINEPREFIX/picker-tree-$entries" "$WINEPREFIX/dosdevices/$letter:"
    done
}

ensure_packages
build
open_session 800x600 96 "${BRUMVALE_BENCH_DEVICE:-$ROOT/.testdevice-bench}"
if [ "$WHICH" = all ] || [ "$WHICH" = picker ]; then make_picker_drives; fi
warm_wine

if [ "$WHICH" = all ] || [ "$WHICH" = startup ]; then
    cp -f "$BUILD/bench/bare_sheet.exe" "$BUILD/bench/bare_sheet_game.exe" "$WINEPREFIX/drive_c/$PROGRAM_FOLDER/"
    (cd "$WINEPREFIX/drive_c" &&
        wine "$BUILD/bench/startup_bench.exe" "$PROGRAM" "$PROGRAM_DIR\\bare_sheet.exe" "${RUNS:-15}" \
            "$PROGRAM_DIR\\bare_sheet_game.exe")
fi
if [ "$WHICH" = all ] || [ "$WHICH" = picker ]; then
    [ "$WHICH" = picker ] || echo
    small="${PICKER_DRIVES[0]%%:*}" large="${PICKER_DRIVES[1]%%:*}"
    small="${small^^}:" large="${large^^}:"
    wine "$BUILD/bench/picker_bench.exe" time "${RUNS:-7}" "$small" "$large"
    # Each in a process of its own, so that neither counts in the other's peak.
    echo "memory at ${PICKER_DRIVES[1]##*:} entries, each alone in a process"
    wine "$BUILD/bench/picker_bench.exe" memory picker "$large"
    wine "$BUILD/bench/picker_bench.exe" memory bare "$large"
fi
if [ "$WHICH" = all ] || [ "$WHICH" = tabs ]; then
    [ "$WHICH" = tabs ] || echo
    (cd "$WINEPREFIX/drive_c" && wine "$BUILD/bench/tab_bench.exe" "${RUNS:-20}")
fi
