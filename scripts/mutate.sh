#!/usr/bin/env bash
# Deliberate faults, each a one-line change listed in scripts/mutations.txt, run one at a time
# against the tests that should catch it:
#   scripts/mutate.sh                 every fault
#   scripts/mutate.sh WORD...         the faults whose names contain one of the words
# The faults are made in a copy of the working tree (.mutate/tree, with a build folder and test
# device of its own beside it), never in the tree itself: a run that is stopped leaves nothing
# behind. Each fault is applied, built and checked, then its file is put back. Prints CAUGHT or
# MISSED for each and ends with status 1 when one went unnoticed. Not run by CI: each fault costs
# a build and a test run.
HERE="$(cd "$(dirname "$0")/.." && pwd)"
WORK="${BRUMVALE_MUTATE_DIR:-$HERE/.mutate}"
export SOURCE="$WORK/tree" BRUMVALE_BUILD="$WORK/build" BRUMVALE_TEST_DEVICE="$WORK/device"
source "$HERE/scripts/common.sh"
MUTATIONS="${BRUMVALE_MUTATIONS:-$ROOT/scripts/mutations.txt}"

# The working tree as it is, committed or not, with each file's time kept: an unchanged file
# is not built again.
log "copying the tree to $SOURCE"
rm -rf "$SOURCE"
mkdir -p "$SOURCE"
git -C "$ROOT" ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$ROOT/$f" ] && printf '%s\0' "$f"; done |
    tar -C "$ROOT" --null -T - -cf - | tar -C "$SOURCE" -xf -

ensure_packages
build
start_test_session

# The check passes (status 0) when the tests pass: then the fault went unnoticed.
run_check() {
    local check="$1" out
    case "$check" in
        e2e)
            "$SOURCE/device/make-device.sh" "$WINEPREFIX" "$BUILD" && bash "$SOURCE/tests/e2e/keys.sh" ;;
        odd-drive)
            timeout 300 bash "$SOURCE/tests/picker-odd-tree.sh" "$BUILD/tests/options_tests.exe" ;;
        fault:*)
            bash "$SOURCE/tests/faults.sh" --only "${check#fault:}" ;;
        screen:*)
            local size dpi
            IFS=: read -r _ size dpi <<<"$check"
            (cd "$BUILD" && "$SOURCE/tests/run-on-screen.sh" "$size" "$dpi" tests/screen_tests.exe) ;;
        *)
            out=$(cd "$BUILD/tests" && timeout 300 wine ./options_tests.exe --gtest_filter="$check" 2>&1)
            grep -q '\[  PASSED  \]' <<<"$out" && ! grep -q '\[  FAILED  \]' <<<"$out" ;;
    esac
}

# Changes the one line of the copy's FILE that is exactly OLD into NEW (nothing: the line goes).
apply() {
    local file="$SOURCE/$1" old="$2" new="$3"
    [ "$(grep -cxF -- "$old" "$file")" = 1 ] || { echo "the line is not there exactly once: $old" >&2; return 1; }
    OLD="$old" NEW="$new" perl -i -ne 'if ($_ eq "$ENV{OLD}\n") { print "$ENV{NEW}\n" if length $ENV{NEW} } else { print }' "$file"
}
# The file as it is in the tree, with a new time, so that the next build takes it again.
put_back() { cp -f "$ROOT/$1" "$SOURCE/$1"; }

caught=0 missed=0 broken=0
try() {
    local name="$1" file="$2" check="$3" old="$4" new="$5" word
    if [ ${#WORDS[@]} -gt 0 ]; then
        local wanted=0
        for word in "${WORDS[@]}"; do [[ "$name" == *"$word"* ]] && wanted=1; done
        [ $wanted = 1 ] || return 0
    fi
    if ! apply "$file" "$old" "$new"; then
        echo "BROKEN  $name"; broken=$((broken + 1)); return 0
    fi
    if ! cmake --build "$BUILD" -j2 >/dev/null 2>&1; then
        echo "BROKEN  $name (does not build)"; broken=$((broken + 1))
    elif run_check "$check" >/dev/null 2>&1; then
        echo "MISSED  $name ($check)"; missed=$((missed + 1))
    else
        echo "CAUGHT  $name ($check)"; caught=$((caught + 1))
    fi
    put_back "$file"
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
echo "$caught caught, $missed missed, $broken not applied"
[ $missed = 0 ] && [ $broken = 0 ]
