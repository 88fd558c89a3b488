#!/usr/bin/env bash
# Deliberate faults, each a one-line change listed in scripts/mutations.txt, run one at a time
# against the tests that should catch it:
#   scripts/mutate.sh                 every fault
#   scripts/mutate.sh WORD...         the faults whose names contain one of the words
# or drawn at random from the program's own code, each one line: the line deleted, a comparison
# or logical operator turned round, a number or truth value changed:
#   scripts/mutate.sh --sample SEED [COUNT]   COUNT faults that build (100 unless given); those
#                                             that do not build are drawn again, counted apart
#   scripts/mutate.sh --matrix [WORD...]      every listed fault (or those named with a word)
#                                             against every check, not only the one it names
# A drawn fault runs first the tests of its folder; if they pass, the whole in-process suite, the
# first call of every failure site, the keystrokes, three screens, the odd drive and the package.
# The draw is written to .mutate/sample-SEED.txt as it goes; a run given the same seed goes on
# where it stopped.
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
# The last file a fault was made in (a run ended or stopped since) may have been built with its
# fault after the time it now has again: it is built anew.
[ ! -f "$WORK/faulted" ] || touch "$SOURCE/$(cat "$WORK/faulted")" 2>/dev/null || true

# A fault in a header builds every file that includes it twice, with the fault and after it: the
# second time comes from the compiler's cache.
PACKAGES+=(ccache)
ensure_packages
[ ! -f "$BUILD/CMakeCache.txt" ] || cmake "$BUILD" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
build -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
start_test_session

# The check passes (status 0) when the tests pass: then the fault went unnoticed.
run_check() {
    local check="$1" out
    case "$check" in
        e2e)
            "$SOURCE/device/make-device.sh" "$WINEPREFIX" "$BUILD" && bash "$SOURCE/tests/e2e/keys.sh" ;;
        package)
            bash "$SOURCE/tests/package.sh" ;;
        odd-drive)
            timeout 300 bash "$SOURCE/tests/picker-odd-tree.sh" "$BUILD/tests/options_tests.exe" ;;
        fault:*)
            bash "$SOURCE/tests/faults.sh" --only "${check#fault:}" ;;
        rounds)
            bash "$SOURCE/tests/faults.sh" --rounds 3 ;;
        first-failures)
            bash "$SOURCE/tests/faults.sh" --first ;;
        exceptions-ok)
            bash "$SOURCE/tests/faults.sh" --exceptions-ok ;;
        screen:*)
            # A test program that dies can still end with status 0 under Wine: its verdict is read.
            local size dpi
            IFS=: read -r _ size dpi <<<"$check"
            out=$(cd "$BUILD" && "$SOURCE/tests/run-on-screen.sh" "$size" "$dpi" tests/screen_tests.exe 2>&1)
            grep -q '\[  PASSED  \]' <<<"$out" && ! grep -q '\[  FAILED  \]' <<<"$out" ;;
        *)
            out=$(cd "$BUILD/tests" &&
                  again_if_silent timeout 300 wine ./options_tests.exe --gtest_filter="$check" </dev/null 2>&1)
            grep -q '\[  PASSED  \]' <<<"$out" && ! grep -q '\[  FAILED  \]' <<<"$out" ;;
    esac
}

# Changes the one line of the copy's FILE that is exactly OLD into NEW (nothing: the line goes).
apply() {
    local file="$SOURCE/$1" old="$2" new="$3"
    keep "$1"
    [ "$(grep -cxF -- "$old" "$file")" = 1 ] || { echo "the line is not there exactly once: $old" >&2; return 1; }
    OLD="$old" NEW="$new" perl -i -ne 'if ($_ eq "$ENV{OLD}\n") { print "$ENV{NEW}\n" if length $ENV{NEW} } else { print }' "$file"
}
# The file as it was before its fault, with a new time, so that the next build takes it again;
# taken from the copy, since the working tree may change while a run goes on.
keep() { cp -f "$SOURCE/$1" "$WORK/as-found" && echo "$1" >"$WORK/faulted"; }
put_back() { cp -f "$WORK/as-found" "$SOURCE/$1"; }

# What the checks run: a fault is built into these alone.
CHECKED=(QovBrumvaleOptions options_tests screen_tests)
# Calls FUNCTION NAME FILE CHECK OLD NEW for each fault of the list: blocks of "name:", "file:",
# "check:", "-old line" and "+new line", a blank line between.
each_fault() {
    local line name="" file="" check="" old=""
    while IFS= read -r line || [ -n "$line" ]; do
        case "$line" in
            name:*) name="${line#name: }" ;;
            file:*) file="${line#file: }" ;;
            check:*) check="${line#check: }" ;;
            -*) old="${line#-}" ;;
            +*) "$1" "$name" "$file" "$check" "$old" "${line#+}" ;;
        esac
    done <"$MUTATIONS"
}
# Whether a fault's name holds one of the words asked for (any name when none was).
WORDS=()
named() {
    local word
    [ ${#WORDS[@]} -gt 0 ] || return 0
    for word in "${WORDS[@]}"; do [[ "$1" == *"$word"* ]] && return 0; done
    return 1
}

caught=0 missed=0 broken=0
try() {
    local name="$1" file="$2" check="$3" old="$4" new="$5"
    named "$name" || return 0
    if ! apply "$file" "$old" "$new"; then
        echo "BROKEN  $name"; broken=$((broken + 1)); return 0
    fi
    if ! cmake --build "$BUILD" -j2 --target "${CHECKED[@]}" >/dev/null 2>&1; then
        echo "BROKEN  $name (does not build)"; broken=$((broken + 1))
    elif run_check "$check" >/dev/null 2>&1; then
        echo "MISSED  $name ($check)"; missed=$((missed + 1))
    else
        echo "CAUGHT  $name ($check)"; caught=$((caught + 1))
    fi
    put_back "$file"
}

# --- faults drawn at random ---------------------------------------------------------------------
# The tests to try first for a file; then the rest.
first_checks() {
    case "$1" in
        app/*) echo "RoundTrip.*:OptionSheet.*" ;;
        pages/*) echo "ScreenSaverPage.*:SkinsPage.*:RoundTrip.*" ;;
        dialogs/*) echo "ExceptionsDialog.*:AdvancedOptionsDialog.*:Picker.*" ;;
        settings/*) echo "RoundTrip.*:ScreenSaverPage.*:ExceptionsDialog.*:SkinsPage.*:AdvancedOptionsDialog.*" ;;
        toolkit/*) echo "ControlHookTest.*:DialogAdapterTest.*:OptionSheet.*" ;;
        *) echo "-Faults.*" ;;
    esac
}
ALL_CHECKS=("-Faults.*" first-failures e2e screen:240x320:96 screen:480x640:192 screen:640x480:96 odd-drive package)
# The N-th fault of SEED: "file<TAB>line number<TAB>kind<TAB>new line", the line as it becomes.
draw() {
    (cd "$SOURCE" && python3 - "$1" "$2" <<'PY'
import glob, random, re, sys
seed, n = sys.argv[1], int(sys.argv[2])
own = ("app", "dialogs", "framework", "pages", "settings", "shell", "toolkit")
files = sorted(p for d in own for x in ("cpp", "h") for p in glob.glob(f"{d}/*.{x}"))
lines = []
for f in files:
    comment = False
    for i, text in enumerate(open(f, encoding="utf-8").read().split("\n"), 1):
        code = text.strip()
        if comment or code.startswith("/*"):
            comment = "*/" not in code
            continue
        if code and not code.startswith(("//", "#")) and code not in ("{", "}", "};", "});", "public:", "private:", "protected:"):
            lines.append((f, i, text))
rng = random.Random(f"{seed}:{n}")
swaps = {"==": "!=", "!=": "==", "<=": ">", ">=": "<", "&&": "||", "||": "&&", "<": ">=", ">": "<="}
choices = []
while not choices:  # a line with something to change
    f, i, text = rng.choice(lines)
    code = re.sub(r'L?"(\\.|[^"\\])*"', lambda m: " " * len(m.group(0)), text)  # strings left alone
    code = re.sub(r"//.*", lambda m: " " * len(m.group(0)), code)
    choices = [("delete", None)] if code.rstrip().endswith(";") else []
    choices += [("operator", m) for m in re.finditer(r"==|!=|<=|>=|&&|\|\||(?<![<>\-])[<>](?![<>=])", code)]
    choices += [("constant", m) for m in re.finditer(r"\b(0x[0-9A-Fa-f]+|\d+)\b|\b(true|false|TRUE|FALSE)\b", code)]
kind, m = rng.choice(choices)
if kind == "delete":
    new = ""
elif kind == "operator":
    new = text[:m.start()] + swaps[m.group(0)] + text[m.end():]
else:
    word = m.group(0)
    flips = {"true": "false", "false": "true", "TRUE": "FALSE", "FALSE": "TRUE"}
    value = flips.get(word) or ("0" if word == "1" else str(int(word, 16 if word.startswith("0x") else 10) + 1))
    new = text[:m.start()] + value + text[m.end():]
print(f"{f}\t{i}\t{kind}\t{new}")
PY
    )
}
sample() {
    local seed="$1" wanted="${2:-100}" results="$WORK/sample-$1.txt" n=0 built=0 file line kind new old check verdict tried
    touch "$results"
    built=$(grep -vEc ' (NO BUILD|DRAWN BEFORE) ' "$results" || true)
    n=$(wc -l <"$results")
    while [ "$built" -lt "$wanted" ]; do
        # A session that can no longer start a program would have every fault caught.
        again_if_silent timeout 30 wine cmd /c exit </dev/null >/dev/null 2>&1 ||
            { echo "Wine no longer starts a program: stopped" >&2; exit 1; }
        n=$((n + 1))
        IFS=$'\t' read -r file line kind new < <(draw "$seed" "$n")
        old=$(sed -n "${line}p" "$SOURCE/$file")
        verdict="NO BUILD"
        # A fault drawn before is drawn again, as one that does not build is.
        if grep -qF " $kind $file:$line " "$results" &&
            grep -F " $kind $file:$line " "$results" | grep -qF "=> $(sed 's/^ *//' <<<"$new")"; then
            verdict="DRAWN BEFORE"
        elif [ "$kind" != none ]; then
            keep "$file"
            NEW="$new" perl -i -ne "if (\$. == $line) { print \"\$ENV{NEW}\\n\" if length \$ENV{NEW} } else { print }" "$SOURCE/$file"
            if cmake --build "$BUILD" -j2 --target options_tests >/dev/null 2>&1; then
                built=$((built + 1)) verdict=SURVIVED
                tried=" "
                for check in "$(first_checks "$file")" "${ALL_CHECKS[@]}"; do
                    [[ "$tried" == *" $check "* ]] && continue
                    tried+="$check "
                    # The program and the screen tests are built only for a fault that gets that far.
                    case "$check" in e2e|screen:*) cmake --build "$BUILD" -j2 --target "${CHECKED[@]}" >/dev/null 2>&1 || true ;; esac
                    if ! run_check "$check" >/dev/null 2>&1; then verdict="CAUGHT ($check)"; break; fi
                done
            fi
            put_back "$file"
        fi
        printf '%d %s %s:%s %s | %s => %s\n' "$n" "$kind" "$file" "$line" "$verdict" "$(sed 's/^ *//' <<<"$old")" "$(sed 's/^ *//' <<<"$new")" | tee -a "$results"
    done
    echo "seed $seed: $(grep -c ' CAUGHT ' "$results") caught, $(grep -c ' SURVIVED ' "$results") survived of $built that build;" \
         "$(grep -c ' NO BUILD ' "$results") drawn that do not build, $(grep -c ' DRAWN BEFORE ' "$results") drawn twice"
    grep ' SURVIVED ' "$results" || true
}
if [ "${1:-}" = --sample ]; then sample "${2:?seed}" "${3:-100}"; exit; fi

# --- every fault against every check ------------------------------------------------------------
# The checks a built fault fails, a word each: every in-process test by name, every screen test as
# NAME@WxH, e2e, odd-drive, package, and the list's own check where it is none of those (a failure run).
# A fault can leave a window that never ends: each in-process test runs on its own (ctest) and
# fails after 30 s, each screen program after 60 s (its session then stops its Wine).
failing_checks() {
    local check="$1" out screen size dpi
    out=$(cd "$BUILD" && ctest -R '[.]' --timeout 30 2>&1) || true
    sed -n '/^The following tests FAILED:/,$s/^[[:space:]]*[0-9]* - \([A-Za-z0-9_]*\.[A-Za-z0-9_]*\) (.*/\1/p' <<<"$out" | sort -u
    for screen in 240x320:96 320x240:96 400x300:96 240x240:96 480x640:192 640x480:96; do
        IFS=: read -r size dpi <<<"$screen"
        out=$(cd "$BUILD" && timeout 60 "$SOURCE/tests/run-on-screen.sh" "$size" "$dpi" tests/screen_tests.exe 2>&1) || true
        sed -n "s/^\[  FAILED  \] \([A-Za-z0-9_]*\.[A-Za-z0-9_]*\).*/\1@$size/p" <<<"$out" | sort -u
        grep -q '\[  PASSED  \]' <<<"$out" || echo "screens-ended@$size"
    done
    run_check e2e >/dev/null 2>&1 || echo e2e
    run_check odd-drive >/dev/null 2>&1 || echo odd-drive
    run_check package >/dev/null 2>&1 || echo package
    case "$check" in fault:*|exceptions-ok|rounds|first-failures) run_check "$check" >/dev/null 2>&1 || echo "$check" ;; esac
}
# Each listed fault (or those whose names hold one of the words) once, against every check; one
# line each in .mutate/matrix.txt: the fault's name, a tab, the checks that caught it. A run resumes
# after the faults the file holds. Then, per check, how many faults it catches and how many no
# other check does.
# BRUMVALE_MATRIX_SHARE=K/N takes the K-th of every N faults (K from 1), so that N runs side by
# side, each with a BRUMVALE_MUTATE_DIR of its own, cover the list between them.
MATRIX="$WORK/matrix.txt"
SHARE="${BRUMVALE_MATRIX_SHARE:-1/1}" listed=0
matrix_one() {
    local name="$1" file="$2" check="$3" old="$4" new="$5" start caught
    listed=$((listed + 1))
    [ $(((listed - 1) % ${SHARE#*/} + 1)) = "${SHARE%/*}" ] || return 0
    named "$name" && ! cut -f1 "$MATRIX" | grep -qxF -- "$name" || return 0
    start=$SECONDS
    if ! apply "$file" "$old" "$new" || ! cmake --build "$BUILD" -j2 --target "${CHECKED[@]}" >/dev/null 2>&1; then
        caught="NOT-APPLIED"
    else
        caught=$(failing_checks "$check" | xargs)
    fi
    put_back "$file"
    printf '%s\t%s\n' "$name" "$caught" >>"$MATRIX"
    echo "$name: ${caught:-NOTHING} ($((SECONDS - start)) s)"
}
if [ "${1:-}" = --matrix ]; then
    shift
    WORDS=("$@")
    touch "$MATRIX"
    each_fault matrix_one
    awk -F'\t' '{ n = split($2, c, " "); for (i = 1; i <= n; i++) { all[c[i]]++; if (n == 1) alone[c[i]]++ } }
                 END { for (k in all) printf "%4d caught, %3d alone  %s\n", all[k], alone[k], k }' "$MATRIX" | sort -rn
    exit
fi

WORDS=("$@")
each_fault try
echo "$caught caught, $missed missed, $broken not applied"
[ $missed = 0 ] && [ $broken = 0 ]
