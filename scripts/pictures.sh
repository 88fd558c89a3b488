#!/usr/bin/env bash
# Pictures of every page and dialog on the handhelds' two screens, into docs/screens/:
#   scripts/pictures.sh [--suffix TEXT] [WxH:DPI...]
# NAME-WxH.png each, or NAME-WxHTEXT.png (--suffix -wine10: pictures taken on another Wine, kept
# beside the others); the screens 240x320:96 and 480x640:192 unless given.
# Each window is reached with the keys a user would press, on a device of its own
# (.picturedevice, made once by device/make-device.sh) with the island copy's value removed first.
source "$(dirname "$0")/common.sh"
SUFFIX=""
[ "${1:-}" != --suffix ] || { SUFFIX="${2:?the text to add to each name}"; shift 2; }
SCREENS=("$@")
[ ${#SCREENS[@]} -gt 0 ] || SCREENS=(240x320:96 480x640:192)
ensure_packages
build

OUT="$ROOT/docs/screens"
mkdir -p "$OUT"

# Starts the program and takes the steps: a key to press, "=Caption" to wait for that window,
# "-Caption" to wait until it is gone. The picture is taken once the screen stays still, and the
# program and Wine are ended.
picture() {
    local name="$1" step app
    shift
    wine_reg delete "$GAME_KEY" /v SS_UserSettings /f >/dev/null 2>&1 || true
    (cd "$WINEPREFIX/drive_c" && exec wine "$PROGRAM" </dev/null >/dev/null 2>&1) &
    app=$!
    [ -n "$(wait_for_window "$SHEET_CAPTION")" ] || { echo "the options sheet did not appear" >&2; kill $app; return 1; }
    wait_for_stillness
    for step in "$@"; do
        case "$step" in
            =*) [ -n "$(wait_for_window "${step#=}")" ] || { echo "no window '${step#=}'" >&2; return 1; } ;;
            -*) timeout 60 bash -c 'while xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; do sleep 0.05; done' _ "${step#-}" ;;
            *) xdotool key "$step" ;;
        esac
        wait_for_stillness
    done
    import -window root "$OUT/$name-$SIZE$SUFFIX.png"
    kill $app 2>/dev/null || true
    stop_wine
    warm_wine
    echo "$OUT/$name-$SIZE$SUFFIX.png"
}

for screen in "${SCREENS[@]}"; do
    SIZE="${screen%%:*}" DPI="${screen##*:}"
    (   # a session of its own for each screen, ended with the subshell
        EXIT_STEPS=()
        trap run_exit_steps EXIT
        start_session "$SIZE" "$DPI" "${BRUMVALE_PICTURE_DEVICE:-$ROOT/.picturedevice}"
        # On the Screen Saver tab from its first control, "Enable": the two boxes, "Exceptions...",
        # "More Options...".
        exceptions=(ctrl+Tab Tab Tab Tab space "=Screen Saver Exceptions")
        advanced=(ctrl+Tab Tab Tab Tab Tab space "=Advanced Options")
        box="=QovBrumvaleOptions"  # the application's message box
        picture game
        picture screensaver ctrl+Tab
        picture skins ctrl+Tab ctrl+Tab
        picture exceptions "${exceptions[@]}"
        picture picker "${exceptions[@]}" Tab space "=Select File"
        picture advanced "${advanced[@]}"
        picture island-saved "${advanced[@]}" Tab space "$box"
        picture island-current "${advanced[@]}" Tab space "$box" Return "-QovBrumvaleOptions" space "$box"
    )
done
