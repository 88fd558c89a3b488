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
case "$SIZE" in ""|[0-9]*x[0-9]*) ;; *) echo "size must be WxH" >&2; exit 2 ;; esac

ensure_packages
build

# 480-pixel-wide handhelds have 192 pixels per inch.
DPI=96
[ "${SIZE%%x*}" -ge 480 ] 2>/dev/null && DPI=192

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    open_session display "$DPI" "$ROOT/.device"
    cd "$WINEPREFIX/drive_c"
    if [ -n "$SIZE" ]; then exec wine explorer "/desktop=Brumvale,$SIZE" "$PROGRAM"; fi
    exec wine "$PROGRAM"
fi

start_session "${SIZE:-800x600}" "$DPI" "$ROOT/.device"
(cd "$WINEPREFIX/drive_c" && exec wine "$PROGRAM" </dev/null >/dev/null 2>&1) &
APP=$!
WIN=$(wait_for_window "$SHEET_CAPTION") && [ -n "$WIN" ] || { echo "the options sheet did not appear" >&2; exit 1; }
wait_for_stillness
mkdir -p "$ROOT/out"
SHOT="$ROOT/out/options-${SIZE:-800x600}.png"
import -window root "$SHOT"
xdotool windowfocus --sync "$WIN" key Escape 2>/dev/null || true
timeout 30 tail --pid=$APP -f /dev/null || { kill $APP 2>/dev/null; echo "the sheet did not close on Cancel" >&2; exit 1; }
echo "screenshot: $SHOT"
