#!/usr/bin/env bash
# The whole suite on the 32-bit build (build-i686/), as test.sh runs it on the 64-bit one: on a
# 64-bit test device of its own (.testdevice-i686/), through Wine's 32-bit support (wine32, an
# i386 package: installed here when missing, with the i386 architecture; too heavy for CI).
# Arguments go to ctest.
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export BRUMVALE_WINE32=1  # Debian's wine, whose 32-bit loader starts both widths on this device
export BRUMVALE_BUILD="${BRUMVALE_BUILD:-$ROOT/build-i686}"
export BRUMVALE_TEST_DEVICE="${BRUMVALE_TEST_DEVICE:-$ROOT/.testdevice-i686}"
source "$ROOT/scripts/common.sh"

dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
PACKAGES+=(wine32:i386 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev)
ensure_packages
TOOLCHAIN="$SOURCE/cmake/mingw-w64-i686.cmake" build

start_test_session
cd "$BUILD"
ctest --output-on-failure "$@"
