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

# The picker's drives: P: holds 20,000 entries and Q: 40,000, in the same shape
# (make_picker_drive in scripts/common.sh).
PICKER_DRIVES=("p:20000" "q:40000")

ensure_packages
build
open_session 800x600 96 "${BRUMVALE_BENCH_DEVICE:-$ROOT/.testdevice-bench}"
# Each tree on a drive of its own, so that nothing else is scanned.
if [ "$WHICH" = all ] || [ "$WHICH" = picker ]; then
    for drive in "${PICKER_DRIVES[@]}"; do make_picker_drive "${drive%%:*}" "${drive##*:}"; done
fi
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
