#!/usr/bin/env bash
# Runs a test program on a screen of its own and exits with the program's status.
# Usage: tests/run-on-screen.sh WxH DPI EXE [program arguments...]
# The screen is a new Xvfb of WxH pixels; the Wine prefix, one per screen and density
# ($BRUMVALE_TEST_DEVICE-screens/WxH-DPI), is made once with device/make-device.sh and kept.
# Wine draws into a virtual desktop of the same size: Xvfb's RandR knows only its one mode, and
# the desktop lets a test change the display mode within a run, as turning the device does.
source "$(dirname "$0")/../scripts/common.sh"

SIZE="${1:?WxH}" DPI="${2:?DPI}" EXE="${3:?test program}"
shift 3
case "$SIZE" in [0-9]*x[0-9]*) ;; *) echo "size must be WxH" >&2; exit 2 ;; esac

export WINEPREFIX="${BRUMVALE_TEST_DEVICE:-$ROOT/.testdevice}-screens/$SIZE-$DPI"
wine_env

start_xvfb "$SIZE"
trap 'stop_wine; kill "$XVFB_PID" 2>/dev/null || true' EXIT

mkdir -p "$(dirname "$WINEPREFIX")"
"$ROOT/device/make-device.sh" "$WINEPREFIX" "$BUILD"
if [ "$(cat "$WINEPREFIX/.screen" 2>/dev/null)" != "$SIZE $DPI" ]; then
    # One persistent server for the set-up: a server started by one command may be shutting
    # down as the next command connects.
    warm_wine
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d "$SIZE" /f </dev/null >/dev/null 2>&1
    unmanaged_windows N </dev/null
    # The desktop and the density are read when Wine starts: start it again below.
    stop_wine
    echo "$SIZE $DPI" >"$WINEPREFIX/.screen"
fi

warm_wine
status=0
wine "$EXE" "$@" </dev/null || status=$?
[ $status = 0 ] || echo "${EXE##*/} ended with status $status" >&2
exit $status
