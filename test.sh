#!/usr/bin/env bash
# Builds everything and runs every test under Xvfb with a warm Wine session.
source "$(dirname "$0")/scripts/common.sh"

ensure_packages
build

start_xvfb 800x600
export WINEPREFIX="${BRUMVALE_TEST_DEVICE:-$ROOT/.testdevice}"
wine_env
trap 'stop_wine; kill $XVFB_PID 2>/dev/null || true' EXIT
"$ROOT/device/make-device.sh" "$WINEPREFIX" "$BUILD"
warm_wine
unmanaged_windows N

cd "$BUILD"
ctest --output-on-failure "$@"
