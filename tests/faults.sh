#!/usr/bin/env bash
# Every platform call of the whole program failed in turn (tests/FaultTests.cpp): a first run
# counts the calls of each site, then one run per (site, occurrence) fails just that call; a site
# called more than 50 times is sampled (its first and last calls and 10 seeded ones between), but
# operator new ("new") is failed at every allocation of the exceptions dialog's OK, whose range the
# first run prints: the stored list must come out whole, as before OK or as after it.
# Then the whole program runs again and again in one process and nothing may be left behind.
#   tests/faults.sh                  all of it, resuming where an earlier run stopped; a hundred
#                                    rounds, the picker on the small drive and on 40,000 entries
#   tests/faults.sh --again          all of it, from the start
#   tests/faults.sh --suite          every call from the start, three rounds (what the suite runs)
#   tests/faults.sh --first          the first call of every site, no rounds
#   tests/faults.sh --only SITE:N    the N-th call of SITE alone
#   tests/faults.sh --exceptions-ok  every allocation of the exceptions dialog's OK alone
#   tests/faults.sh --rounds N       N rounds alone
# Run inside a test session (the suite's), it takes that one; otherwise it starts its own.
# Prints each failure that was not met as allowed, the sites, the calls tried and the time taken;
# ends with status 1 when any run crashed, hung or left a state the failure does not allow.
source "$(dirname "$0")/../scripts/common.sh"
MODE="${1:-}" ONLY="${2:-}"
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
    ensure_packages
    build
    start_test_session
fi
# The large drive Q: of the hundred rounds holds the program the scenario picks, where F: has it.
case "$MODE" in
    --suite|--first|--only|--rounds|--exceptions-ok) ;;
    *) make_picker_drive q 40000
       mkdir -p "$WINEPREFIX/picker-tree-40000/Program Files/Tools"
       touch "$WINEPREFIX/picker-tree-40000/Program Files/Tools/calc.exe" ;;
esac

# A small drive of its own, F:, on which the test program stands where the program would.
DRIVE="$WINEPREFIX/faults-drive"
HOME_DIR="$DRIVE/$PROGRAM_FOLDER"
mkdir -p "$HOME_DIR/TimeSkins/"{Classic,Neon,Unfinished} "$DRIVE/Program Files/"{Tools,Notes,"Media Player"} \
    "$DRIVE/My Documents/Brumvale" "$DRIVE/Temp/Empty"
touch "$HOME_DIR/TimeSkins/"{Classic/Time_font.bmp,Neon/Time_font.bmp,Unfinished/readme.txt} \
    "$DRIVE/Temp/setup.exe.bak" \
    "$DRIVE/Program Files/"{Tools/calc.exe,Tools/readme,Notes/notes.exe,Notes/notes.txt,"Media Player/PLAYER.EXE"}
printf 'the island as the game saved it' >"$DRIVE/My Documents/Brumvale/Island.ino"
cp -f "$BUILD/tests/options_tests.exe" "$HOME_DIR/"
ln -sfn "$DRIVE" "$WINEPREFIX/dosdevices/f:"

RESULTS="$BUILD/faults.txt"  # one line per run: site occurrence verdict (what was left)
[ "$MODE" = --again ] && rm -f "$RESULTS"
case "$MODE" in --suite|--first|--only|--exceptions-ok) RESULTS="$BUILD/faults$MODE.txt" && rm -f "$RESULTS" ;; esac
touch "$RESULTS"

# One run of the scenario; FAULT is SITE:N, or empty to count (then ROUNDS more runs, the picker
# on DRIVE). Prints the test program's output (a crash ends it at once: see no_debugger).
scenario() {
    (cd "$DRIVE" && if [ -n "$1" ]; then export BRUMVALE_FAULT="$1"; fi &&
        BRUMVALE_ROUNDS="${2:-0}" BRUMVALE_DRIVE="${3:-F:}" \
        again_if_silent timeout "${LIMIT:-120}" wine "F:\\${PROGRAM_FOLDER//\//\\}\\options_tests.exe" \
        --gtest_also_run_disabled_tests --gtest_filter='Faults.*' </dev/null 2>&1; echo "ended with status $?") || true
}

# Fails the N-th call of SITE; records the verdict and prints it unless allowed.
try_one() {
    local site="$1" n="$2" out verdict left
    out=$(scenario "$site:$n")
    if grep -q '\[  PASSED  \] 1 test' <<<"$out"; then verdict=allowed
    elif grep -q '\[  FAILED  \]' <<<"$out"; then verdict="NOT ALLOWED: $(grep -m1 '^fault ' <<<"$out")"
    else verdict="CRASHED OR HUNG: $(tail -n 2 <<<"$out" | tr '\n' ' ')"
    fi
    left=$(tr -d '\r' <<<"$out" | sed -n 's/^fault [^ ]* at //p;s/^left://p' | tr '\n' ' ')
    echo "$site $n $verdict ($left)" >>"$RESULTS"
    [ "$verdict" = allowed ] && return 0
    echo "$site $n $verdict"
    grep -E 'Failure|Which is|Value of|Expected' <<<"$out" | head -8
    return 1
}
# ROUNDS runs after the first, the picker on DRIVE: nothing may be left behind.
rounds() {
    local start=$SECONDS out
    out=$(LIMIT=1800 scenario "" "$1" "$2")
    if grep -q '\[  PASSED  \] 1 test' <<<"$out"; then
        echo "the whole program $1 times more, the picker on $2: nothing left behind ($((SECONDS - start)) s)"
    else
        echo "the whole program $1 times more, the picker on $2: LEFT BEHIND"
        grep -A4 Failure <<<"$out"
        return 1
    fi
}
case "$MODE" in
    --only) try_one "${ONLY%:*}" "${ONLY##*:}"; exit ;;
    --rounds) rounds "$ONLY" F:; exit ;;
esac

start=$SECONDS
out=$(scenario "" | tr -d '\r')
counts=$(sed -n 's/^count //p' <<<"$out")
saving=$(sed -n "s/^allocations of the exceptions dialog's OK //p" <<<"$out")  # the first and the last
if ! grep -q '\[  PASSED  \] 1 test' <<<"$out"; then
    echo "the run without a failure did not end as it should:"
    grep -A4 Failure <<<"$out"
    exit 1
fi
[ -n "$saving" ] || { echo "the run without a failure did not reach the exceptions dialog's OK"; exit 1; }
sites=0 tried=0
while read -r site count; do
    [ "$count" -gt 0 ] || continue
    sites=$((sites + 1))
    if [ "$MODE" = --first ]; then picks=1
    elif [ "$MODE" = --exceptions-ok ]; then picks=""
    elif [ "$count" -le 50 ]; then picks=$(seq "$count")
    else  # seeded in the subshell that draws: a subshell does not keep its parent's sequence
        picks=$( (echo 1; echo "$count"; RANDOM=$count
                  for _ in $(seq 10); do echo $((2 + RANDOM % (count - 2))); done) | sort -nu)
    fi
    [ "$site" != new ] || [ "$MODE" = --first ] || picks=$(printf '%s\n' $picks $(seq $saving) | sort -nu)
    for n in $picks; do
        tried=$((tried + 1))
        grep -q "^$site $n " "$RESULTS" || try_one "$site" "$n" || true
    done
done <<<"$counts"
elapsed=$((SECONDS - start))
bad=$(grep -vc ' allowed (' "$RESULTS" || true)
echo "sites: $sites; calls failed: $tried; not as allowed: $bad; time: $((elapsed / 60)) min $((elapsed % 60)) s"
if [ "$MODE" = --suite ]; then rounds 3 F: || bad=$((bad + 1))
elif [[ "$MODE" != --first && "$MODE" != --exceptions-ok ]]; then
    for drive in F: Q:; do rounds 100 $drive || bad=$((bad + 1)); done
fi
[ "$bad" = 0 ]
