#!/usr/bin/env bash
# The program, the tests and the benchmarks built by the other two compilers, warnings as errors
# as in every build:
#   scripts/builds.sh [clang|i686|all]
# clang for 64-bit Windows (on the mingw-w64 headers and libraries) into build-clang/, the 32-bit
# mingw-w64 gcc into build-i686/; all (the default) builds both. Installs what they need first.
source "$(dirname "$0")/common.sh"
declare -A TOOLCHAINS=([clang]=clang-mingw-w64 [i686]=mingw-w64-i686)
case "${1:-all}" in
    clang | i686) BUILDS=("$1") ;;
    all) BUILDS=(clang i686) ;;
    *) echo "usage: $0 [clang|i686|all]" >&2; exit 2 ;;
esac
PACKAGES+=(clang lld g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev)
ensure_packages
for compiler in "${BUILDS[@]}"; do
    log "building with $compiler into build-$compiler/"
    BUILD="$ROOT/build-$compiler" TOOLCHAIN="$SOURCE/cmake/${TOOLCHAINS[$compiler]}.cmake" build
done
