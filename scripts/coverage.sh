#!/usr/bin/env bash
# Line and branch coverage of the program's own code (not the tests, the benchmarks or the help
# viewer) over the whole suite, the failure run included:
#   scripts/coverage.sh [ctest arguments...]
# Builds with gcov counts into build-coverage/ (BRUMVALE_BUILD puts it elsewhere), runs the suite
# as test.sh does, then reads the counts back with the cross toolchain's gcov. Prints the summary
# per file and every line no run reached; ends with status 1 under MIN_LINES percent of the lines
# (95 unless given).
export BRUMVALE_BUILD="${BRUMVALE_BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build-coverage}"
source "$(dirname "$0")/common.sh"
PACKAGES+=(gcovr python3)
ensure_packages
build -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage
find "$BUILD" -name '*.gcda' -delete  # counts of this run only

# Each program writes its counts as it ends, to the absolute path its objects were built at: a
# Unix path, which Wine finds on drive Z:.
export GCOV_PREFIX=Z: GCOV_PREFIX_STRIP=0
start_test_session
(cd "$BUILD" && ctest --output-on-failure "$@") || log "some tests failed: the coverage below is still theirs"

OWN=(app dialogs framework pages settings shell toolkit)
filters=()
for folder in "${OWN[@]}"; do filters+=(--filter "$ROOT/$folder/"); done
cd "$ROOT"
gcovr --gcov-executable x86_64-w64-mingw32-gcov --root "$ROOT" --object-directory "$BUILD" "${filters[@]}" \
    --exclude-unreachable-branches --json "$BUILD/coverage.json" >/dev/null
gcovr --add-tracefile "$BUILD/coverage.json" --root "$ROOT" --print-summary | tee "$BUILD/coverage.txt"

# The lines no run reached, with their text.
python3 - "$BUILD/coverage.json" <<'EOF'
import json, sys
for f in json.load(open(sys.argv[1]))["files"]:
    text = open(f["file"], encoding="utf-8", errors="replace").read().splitlines()
    for line in f["lines"]:
        if line["count"] == 0 and not line.get("gcovr/noncode"):
            print(f'{f["file"]}:{line["line_number"]}: {text[line["line_number"] - 1].strip()}')
EOF
percent=$(sed -n 's/^lines: \([0-9.]*\)%.*/\1/p' "$BUILD/coverage.txt")
echo "lines covered: ${percent:-?}% (at least ${MIN_LINES:-95}% wanted)"
awk -v p="${percent:-0}" -v min="${MIN_LINES:-95}" 'BEGIN { exit !(p >= min) }'
