#!/usr/bin/env bash
# Pictures of every page and dialog on the handhelds' two screens, into docs/screens/:
#   scripts/pictures.sh
# Each window is reached with the keys a user would press, on a device of its own
# (.picturedevice, made once from the sample device's script) reset to the sample's state first.
source "$(dirname "$0")/common.sh"
ensure_packages
build

export WINEPREFIX="${BRUMVALE_PICTURE_DEVICE:-$ROOT/.picturedevice}"
OUT="$ROOT/docs/screens"
PROGRAM='C:\Program Files\Brumvale\QovBrumvaleOptions.exe'
GAME_KEY='HKLM\SOFTWARE\Varnholt\Brumvale VGA'
mkdir -p "$OUT"

# Starts the program, presses the keys (a word "wait" pauses for a second, "scan" for the
# picker's drive scan), takes the picture and ends the program.
picture() {
    local name="$1" key
    shift
    wine reg delete "$GAME_KEY" /v SS_UserSettings /f >/dev/null 2>&1 || true
    (cd "$WINEPREFIX/drive_c" && exec wine "$PROGRAM" </dev/null >/dev/null 2>&1) &
    local app=$!
    timeout 60 xdotool search --sync --onlyvisible --name '^Qov Brumvale Options$' >/dev/null || {
        echo "the options sheet did not appear" >&2; kill $app; return 1; }
    sleep 1
    for key in "$@"; do
        case "$key" in
            wait) sleep 1 ;;
            scan) sleep 3 ;;
            *) xdotool key "$key"; sleep 0.3 ;;
        esac
    done
    sleep 0.5
    import -window root "$OUT/$name-$SIZE.png"
    kill $app 2>/dev/null || true
    wineserver -k 2>/dev/null || true; wineserver -w || true
    echo "$OUT/$name-$SIZE.png"
}

trap 'stop_wine; kill "${XVFB_PID:-}" 2>/dev/null || true' EXIT
for screen in 240x320:96 480x640:192; do
    SIZE="${screen%%:*}" DPI="${screen##*:}"
    start_xvfb "$SIZE"
    wine_env
    "$ROOT/device/make-device.sh" "$WINEPREFIX" "$BUILD"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
    wineserver -w
    unmanaged_windows N
    warm_wine
    # From the Screen Saver tab: Enable, the two boxes, "Exceptions...", "More Options...".
    picture game
    picture screensaver ctrl+Tab
    picture skins ctrl+Tab ctrl+Tab
    picture exceptions ctrl+Tab Tab Tab Tab Tab space wait
    picture picker ctrl+Tab Tab Tab Tab Tab space wait Tab space scan
    picture advanced ctrl+Tab Tab Tab Tab Tab Tab space wait
    picture island-saved ctrl+Tab Tab Tab Tab Tab Tab space wait Tab space wait
    picture island-current ctrl+Tab Tab Tab Tab Tab Tab space wait Tab space wait Return wait space wait
    stop_wine
    kill "$XVFB_PID" 2>/dev/null || true
done
