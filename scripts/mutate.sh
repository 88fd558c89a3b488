#!/usr/bin/env bash
# Deliberate faults, each a one-line change listed in scripts/mutations.txt, run one at a time
# against the tests that should catch it:
#   scripts/mutate.sh                 every fault
#   scripts/mutate.sh WORD...         the faults whose names contain one of the words
# Each fault is applied, built and checked, then its file is put back whatever happens. Prints
# CAUGHT or MISSED for each and ends with status 1 when one went unnoticed. Not run by CI: each
# fault costs a build and a test run.
source "$(dirname "$0")/common.sh"
MUTATIONS="${BRUMVALE_MUTATIONS:-$ROOT/scripts/mutations.txt}"
ensure_packages
build

start_xvfb 800x600
export WINEPREFIX="${BRUMVALE_TEST_DEVICE:-$ROOT/.testdevice}"
wine_env
SAVED=""  # the file being changed, and its copy
restore() { if [ -n "$SAVED" ]; then cp -f "$SAVED.orig" "$SAVED" && rm -f "$SAVED.orig"; SAVED=""; fi; }
trap 'restore; stop_wine; kill $XVFB_PID 2>/dev/null || true' EXIT
"$ROOT/device/make-device.sh" "$WINEPREFIX" "$BUILD"
warm_wine
unmanaged_windows N

# The check passes (status 0) when the tests pass: then the fault went unnoticed.
run_check() {
    local check="$1" out
    case "$check" in
        e2e)
            "$ROOT/device/make-device.sh" "$WINEPREFIX" "$BUILD" && bash "$ROOT/tests/e2e/keys.sh" ;;
        screen:*)
            local size dpi
            IFS=: read -r _ size dpi <<<"$check"
            (cd "$BUILD" && "$ROOT/tests/run-on-screen.sh" "$size" "$dpi" tests/screen_tests.exe) ;;
        *)
            out=$(cd "$BUILD/tests" && timeout 300 wine ./options_tests.exe --gtest_filter="$check" 2>&1)
            grep -q '\[  PASSED  \]' <<<"$out" && ! grep -q '\[  FAILED  \]' <<<"$out" ;;
    esac
}

# Changes the one line of FILE that is exactly OLD into NEW (nothing: the line goes).
apply() {
    local file="$1" old="$2" new="$3"
    [ "$(grep -cxF -- "$old" "$file")" = 1 ] || { echo "the line is not there exactly once: $old" >&2; return 1; }
    cp -f "$file" "$file.orig"
    SAVED="$file"
    OLD="$old" NEW="$new" perl -i -ne 'if ($_ eq "$ENV{OLD}\n") { print "$ENV{NEW}\n" if length $ENV{NEW} } else { print }' "$file"
}

caught=0 missed=0 broken=0
try() {
    local name="$1" file="$2" check="$3" old="$4" new="$5" word
    if [ ${#WORDS[@]} -gt 0 ]; then
        local wanted=0
        for word in "${WORDS[@]}"; do [[ "$name" == *"$word"* ]] && wanted=1; done
        [ $wanted = 1 ] || return 0
    fi
    if ! apply "$ROOT/$file" "$old" "$new"; then
        echo "BROKEN  $name"; broken=$((broken + 1)); return 0
    fi
    if ! cmake --build "$BUILD" -j2 >/dev/null 2>&1; then
        echo "BROKEN  $name (does not build)"; broken=$((broken + 1))
    elif run_check "$check" >/dev/null 2>&1; then
        echo "MISSED  $name ($check)"; missed=$((missed + 1))
    else
        echo "CAUGHT  $name ($check)"; caught=$((caught + 1))
    fi
    restore
}

# The list: blocks of "name:", "file:", "check:", "-old line" and "+new line", a blank line between.
WORDS=("$@")
name="" file="" check="" old="" new=""
while IFS= read -r line || [ -n "$line" ]; do
    case "$line" in
        name:*) name="${line#name: }" ;;
        file:*) file="${line#file: }" ;;
        check:*) check="${line#check: }" ;;
        -*) old="${line#-}" ;;
        +*) new="${line#+}"; try "$name" "$file" "$check" "$old" "$new" ;;
    esac
done <"$MUTATIONS"
cmake --build "$BUILD" -j2 >/dev/null 2>&1
"$ROOT/device/make-device.sh" "$WINEPREFIX" "$BUILD"
echo "$caught caught, $missed missed, $broken not applied"
[ $missed = 0 ] && [ $broken = 0 ]
