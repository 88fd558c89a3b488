#!/usr/bin/env bash
# The package as a user gets it (the build's package target), unpacked into C:\Program Files of a new device that has
# neither the program nor a help viewer, and started from there: the Skins tab lists Classic, Neon and Amber (each
# picked by its initial and stored with Enter, the last one still stored once the device has restarted), and F1 reaches
# the help viewer the package brings. Runs on test.sh's screen.
source "$(dirname "$0")/../scripts/common.sh"
cmake --build "$BUILD" --target package >/dev/null
ZIP="$BUILD/$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake").zip"
export WINEPREFIX="$TEST_DEVICE-package"
rm -rf "$WINEPREFIX"
wine_env
new_prefix "$WINEPREFIX"
at_exit stop_wine
# CMake unpacks the archive it made: no unzip needed on a fresh machine.
(cd "$WINEPREFIX/drive_c/Program Files" && cmake -E tar xf "$ZIP")
warm_wine
set +e
trap - ERR  # from here on the keystroke test's helpers count what fails
source "$ROOT/tests/e2e/keys.sh"
for skin in Classic Neon Amber; do
    start_program || break
    xdotool key ctrl+Tab ctrl+Tab
    [ $skin != Classic ] || help_is options_skins
    xdotool type "${skin:0:1}" && xdotool key Return
    wait_for "the program to end on Enter" program_ended
    end_leftover
    wait "$APP" 2>/dev/null
    ended=$?  # 127 where it had to be stopped
    # The program's status and the whole key, read twice, show whether it ended before storing, stored wrong or was
    # read wrong.
    stored=$(snapshot "$GAME_KEY")
    got=$(value_in "$stored" time_skin) wanted="$PROGRAM_DIR\\TimeSkins\\$skin\\"
    [ "$got" = "$wanted" ] || printf 'ended with status %s; the key as read:\n%s\nread again:\n%s\n' \
        "$ended" "$stored" "$(snapshot "$GAME_KEY")"
    expect "$skin, picked by its initial," "$wanted" "$got"
done
stop_wine
warm_wine
expect "Amber, after a restart," "$PROGRAM_DIR\\TimeSkins\\Amber\\" "$(value_in "$(snapshot "$GAME_KEY")" time_skin)"
[ $failures -eq 0 ] && echo "1 passed, 0 failed"
