#!/usr/bin/env bash
# Benchmarks, each window against the platform doing that window's work alone (bench/BareWindows.h),
# in the same run and in alternation:
#   bench/run.sh [--markdown] [startup|windows|picker] [RUNS]
#     startup  start-up to the first painted page (an empty bare sheet for information)
#     windows  the Screen Saver and Skins tabs, the exceptions dialog, the advanced options and
#              the program picker on the device
#     picker   the program picker on drives of 20,000 and 40,000 entries, and its memory
# Each line holds the medians of the two and the ratio, the median of each round's own ratio.
# Without RUNS, everything runs twice with 15 rounds, and again with twice as many until two runs
# agree within 0.02 on every ratio (up to 120 rounds); the second run of the pair is printed.
# --markdown prints the result as the table the README shows.
# Everything runs on one core, Wine's server and the X server included: spread over two, the
# three hand each message back and forth between cores and the same window's time varies by a
# third from one round to the next.
if [ -z "${BRUMVALE_BENCH_CORE:-}" ] && command -v taskset >/dev/null; then
    BRUMVALE_BENCH_CORE=$(( $(nproc) - 1 )) exec taskset -c "$(( $(nproc) - 1 ))" "$0" "$@"
fi
source "$(dirname "$0")/../scripts/common.sh"
MARKDOWN=0
[ "${1:-}" = --markdown ] && MARKDOWN=1 && shift
WHICH=all
case "${1:-}" in startup|windows|picker) WHICH="$1"; shift ;; esac
RUNS="${1:-}"
# The picker's drives: P: holds 20,000 entries and Q: 40,000, in the same shape
# (make_picker_drive in scripts/common.sh), each a drive of its own so that nothing else is scanned.
PICKER_DRIVES=("p:20000" "q:40000")
wants() { [ "$WHICH" = all ] || [ "$WHICH" = "$1" ]; }

ensure_packages
build
open_session 240x320 96 "${BRUMVALE_BENCH_DEVICE:-$ROOT/.testdevice-bench}"
if wants picker; then for drive in "${PICKER_DRIVES[@]}"; do make_picker_drive "${drive%%:*}" "${drive##*:}"; done; fi
warm_wine
# The benchmarks stand beside the program, as its skins do.
for exe in bare_sheet bare_sheet_empty window_bench; do cp -f "$BUILD/bench/$exe.exe" "$WINEPREFIX/drive_c/$PROGRAM_FOLDER/"; done

# Every benchmark once with N rounds.
bench_once() {
    local n="$1"
    if wants startup; then
        (cd "$WINEPREFIX/drive_c" && wine "$BUILD/bench/startup_bench.exe" "$PROGRAM" "$PROGRAM_DIR\\bare_sheet.exe" "$n" \
            "$PROGRAM_DIR\\bare_sheet_empty.exe")
    fi
    if wants windows; then
        (cd "$WINEPREFIX/drive_c/$PROGRAM_FOLDER" && wine "$PROGRAM_DIR\\window_bench.exe" "$n")
    fi
    if wants picker; then
        local small="${PICKER_DRIVES[0]%%:*}" large="${PICKER_DRIVES[1]%%:*}"
        wine "$BUILD/bench/picker_bench.exe" time "$(( (n + 2) / 3 ))" "${small^^}:" "${large^^}:"
        # Each in a process of its own, so that neither counts in the other's peak.
        echo "memory at ${PICKER_DRIVES[1]##*:} entries, each alone in a process"
        wine "$BUILD/bench/picker_bench.exe" memory picker "${large^^}:"
        wine "$BUILD/bench/picker_bench.exe" memory bare "${large^^}:"
    fi
}
# Each line of a ratio as "what<TAB>ratio".
ratios() { sed -nE 's/^ +(.*[^ ]) +[0-9.]+ ms, bare .*ratio ([0-9.]+).*/\1\t\2/p' <<<"$1"; }
agree() {
    join -t$'\t' <(ratios "$1" | sort) <(ratios "$2" | sort) |
        awk -F'\t' '{ d = $2 - $3; if (d > 0.02 || d < -0.02) bad = 1 } END { exit bad }'
}

if [ -n "$RUNS" ]; then
    out=$(bench_once "$RUNS" | tr -d '\r')
    note="one run of $RUNS rounds"
else
    n=15
    while :; do
        log "two runs of $n rounds"
        first=$(bench_once "$n" | tr -d '\r')
        out=$(bench_once "$n" | tr -d '\r')
        if agree "$first" "$out"; then note="two runs of $n rounds agreed within 0.02 on every ratio"; break; fi
        if [ "$n" -ge 120 ]; then note="two runs of $n rounds still differed by more than 0.02"; break; fi
        n=$((n * 2))
    done
fi

if [ $MARKDOWN = 0 ]; then
    printf '%s\n%s\n' "$out" "$note"
    exit 0
fi
cpu=$(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1)
echo "Measured $(date -u +%F) on one core (of $(nproc --all)) of $cpu, $(wine --version 2>/dev/null), 240x320 at 96 dpi; $note."
echo
echo "| window | program | baseline | ratio |"
echo "|---|---:|---:|---:|"
sed -nE 's/^ +(.*[^ ]) +([0-9.]+) ms, bare +([0-9.]+) ms: ratio ([0-9.]+).*/| \1 | \2 ms | \3 ms | \4 |/p' <<<"$out"
echo
grep -vE 'ratio|^(start-up|each window|the program picker|memory at)' <<<"$out" | sed -E 's/^ +/- /'
