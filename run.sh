#!/usr/bin/env bash
# Runs the options program on the bundled sample device.
#   ./run.sh                      on your display; without one, on Xvfb with a screenshot
#   ./run.sh --handheld 240x320   a handheld's screen (also 480x640, which runs at 192 dpi)
source "$(dirname "$0")/scripts/common.sh"

SIZE=""
while [ $# -gt 0 ]; do
    case "$1" in
        --handheld) SIZE="${2:?size, for example 240x320}"; shift 2 ;;
        -h|--help) sed -n '2,4p' "$0"; exit 0 ;;
        *) echo "unknown option: $1" >&2; exit 2 ;;
    esac
done
case "$SIZE" in ""|*x*) ;; *) echo "size must be WxH" >&2; exit 2 ;; esac

ensure_packages
build

HEADLESS=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    HEADLESS=1
    start_xvfb "${SIZE:-800x600}"
    trap 'stop_wine; kill $XVFB_PID 2>/dev/null || true' EXIT
fi

export WINEPREFIX="$ROOT/.device"
wine_env
"$ROOT/device/make-device.sh" "$WINEPREFIX" "$BUILD"

# 480-pixel-wide handhelds have 192 pixels per inch.
DPI=96
[ "${SIZE%%x*}" -ge 480 ] 2>/dev/null && DPI=192
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $DPI /f >/dev/null 2>&1
wineserver -w

PROGRAM='C:\Program Files\Brumvale\QovBrumvaleOptions.exe'
cd "$WINEPREFIX/drive_c"
if [ $HEADLESS = 0 ]; then
    unmanaged_windows Y
    if [ -n "$SIZE" ]; then exec wine explorer "/desktop=Brumvale,$SIZE" "$PROGRAM"; fi
    exec wine "$PROGRAM"
fi

warm_wine
unmanaged_windows N
wine "$PROGRAM" </dev/null >/dev/null 2>&1 &
APP=$!
WIN=$(timeout 60 xdotool search --sync --onlyvisible --name '^Qov Brumvale Options$' | head -1) || {
    echo "the options sheet did not appear" >&2; exit 1; }
sleep 1  # let the first page finish painting
mkdir -p "$ROOT/out"
SHOT="$ROOT/out/options-${SIZE:-800x600}.png"
import -window root "$SHOT"
xdotool windowfocus --sync "$WIN" key Escape 2>/dev/null || true
timeout 30 tail --pid=$APP -f /dev/null || { kill $APP 2>/dev/null; echo "the sheet did not close on Cancel" >&2; exit 1; }
echo "screenshot: $SHOT"
