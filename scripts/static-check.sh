#!/usr/bin/env bash
# The static check: clang-tidy, with the checks .clang-tidy names, over the program's own folders,
# on the compile commands of the clang build (build-clang/, configured here; nothing is built).
# Prints each finding and fails when there is any.
source "$(dirname "$0")/common.sh"
PACKAGES+=(clang lld clang-tidy)
ensure_packages
CLANG_BUILD="$ROOT/build-clang"
cmake -S "$SOURCE" -B "$CLANG_BUILD" -DCMAKE_TOOLCHAIN_FILE="$SOURCE/cmake/clang-mingw-w64.cmake" >/dev/null
OWN="app|dialogs|framework|pages|settings|shell|toolkit"
status=0
out=$(run-clang-tidy -p "$CLANG_BUILD" -j "$(nproc)" -quiet "$SOURCE/($OWN)/" 2>&1) || status=$?
findings=$(sed 's/\x1b\[[0-9;]*m//g' <<<"$out" | grep -A2 -E '^/.*:[0-9]+:[0-9]+: (warning|error):' || true)
[ -z "$findings" ] || printf '%s\n' "$findings"
count=$(grep -cE '^/.*:[0-9]+:[0-9]+: (warning|error):' <<<"$findings" || true)
files=$(grep -cE "\"file\": \"$SOURCE/($OWN)/" "$CLANG_BUILD/compile_commands.json" || true)
echo "static check: $count findings in $files files"
if [ "$status" -ne 0 ] && [ "$count" -eq 0 ]; then printf '%s\n' "$out" | tail -20; fi
[ "$status" -eq 0 ] && [ "$count" -eq 0 ]
