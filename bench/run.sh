#!/usr/bin/env bash
# Start-up benchmark: the options program against a bare property sheet, in one run.
#   bench/run.sh [RUNS]
source "$(dirname "$0")/../scripts/common.sh"
ensure_packages
build
start_xvfb 800x600
export WINEPREFIX="${BRUMVALE_BENCH_DEVICE:-$ROOT/.testdevice-bench}"
wine_env
trap 'stop_wine; kill $XVFB_PID 2>/dev/null || true' EXIT
"$ROOT/device/make-device.sh" "$WINEPREFIX" "$BUILD"
warm_wine
unmanaged_windows N
cp -f "$BUILD/bench/bare_sheet.exe" "$WINEPREFIX/drive_c/Program Files/Brumvale/"
cd "$WINEPREFIX/drive_c"
wine "$BUILD/bench/startup_bench.exe" 'C:\Program Files\Brumvale\QovBrumvaleOptions.exe' \
    'C:\Program Files\Brumvale\bare_sheet.exe' "${1:-15}"
