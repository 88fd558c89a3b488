#!/usr/bin/env bash
# The installed program on the test device, driven with keystrokes alone. One run walks every window: F1 in each asks
# for its own topic; Space, arrows, Tab and Ctrl+Tab change things; Esc in a dialog cancels it unstored; Enter in the
# picker, the dialogs and the sheet stores. A second run: Esc on the sheet stores nothing. Needs a test session.
set -uo pipefail
: "${DISPLAY:?}" "${WINEPREFIX:?}"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/names.sh"
RECORD="$WINEPREFIX/drive_c/windows/temp/PegHelp.log"
export PEGHELP_RECORD_ONLY=1  # the viewer records the help asked for and opens no browser
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { [ "$3" = "$2" ] || fail "$1 should be '$2', is '$3'"; }  # WHAT WANTED GOT

# --- the registry, seeded and read back with Wine's own tool -------------------------------
reg_import() {  # the lines of a .reg file on stdin, imported at once
    { echo 'Windows Registry Editor Version 5.00'; cat; } >"$WINEPREFIX/drive_c/windows/temp/keys-e2e.reg"
    wine_reg import 'C:\windows\temp\keys-e2e.reg' >/dev/null 2>&1 || fail "the registry could not be seeded"
}
snapshot() { wine_reg query "$1" /s 2>/dev/null | tr -d '\r'; }  # every name and value of a key
value_in() { sed -n "s/^ *$2 *REG_[A-Z_]* *//p" <<<"$1"; }  # SNAPSHOT NAME: the data, or nothing
exceptions() { snapshot "$EXCEPTIONS_KEY" | awk '/REG_SZ/ { print $NF }' | sort | xargs; }

# --- the program and its windows ------------------------------------------------------------
# Waits (10 s, or WAIT_S seconds) until a condition holds: the program works on its own schedule.
wait_for() {
    local what="$1"; shift
    for _ in $(seq $((20 * ${WAIT_S:-10}))); do "$@" && return 0; sleep 0.05; done
    fail "timed out waiting for $what"; return 1
}
# A program that ended before its sheet opened may not have started at all (scripts/path/wine): it is started once more.
start_program() {
    local try
    for try in 1 2; do
        (cd "$WINEPREFIX/drive_c" && exec wine "$PROGRAM" </dev/null >/dev/null 2>&1) &
        APP=$!
        WAIT_S=30 wait_for "the sheet to open" sheet_or_end || return 1
        up "$SHEET_CAPTION" && { focus "$SHEET_CAPTION"; return; }
        [ $try = 2 ] || echo "the program ended before its sheet opened: started once more" >&2
    done
    fail "the program ended before its sheet opened"
    return 1
}
program_ended() { ! kill -0 "$APP" 2>/dev/null; }
sheet_or_end() { up "$SHEET_CAPTION" || program_ended; }
end_leftover() {  # a program that did not end as it should, so that the next start drives a new one
    program_ended || { kill -9 "$APP"; wait "$APP"; } 2>/dev/null
    return 0
}

# Wine gives the X focus (where keys go) to a window it activates only when the X server accepts the time Wine gives: a
# dialog can be active while the X focus stays elsewhere. As a window manager would, the test gives it to the top one.
# A window's X window. A search that meets a window as it is destroyed fails with an X error and finds nothing, even a
# window that stays: it is made again.
shown() {
    local id errors="$WINEPREFIX/drive_c/windows/temp/keys-e2e.search"
    for _ in 1 2 3 4 5; do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>"$errors" | head -1)
        [ -s "$errors" ] || break
    done
    echo "$id"
}
up() { [ -n "$(shown "$1")" ]; }
gone() { ! up "$1"; }
# Given again until the X server has it there: as a modal window closes, the focus can drop to no window at all.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] || { xdotool windowfocus "$1" 2>/dev/null; false; }; }
focus() { local id; id=$(shown "$1") && [ -n "$id" ] && WAIT_S=5 wait_for "the focus in '$1'" focused "$id"; }
opens() {  # WINDOW KEY...: the keys open WINDOW
    local window="$1"; shift
    xdotool key "$@"
    wait_for "'$window' to open after $*" up "$window" && focus "$window"
}
closes() {  # WINDOW BEHIND KEY...: the keys close WINDOW, and BEHIND is on top again
    local window="$1" behind="$2"; shift 2
    xdotool key "$@"
    wait_for "'$window' to close after $*" gone "$window" || return 1
    up "$behind" || { fail "'$behind' should still be open after $*"; return 1; }
    focus "$behind"
}

# F1 in the focused window: the newest line of the viewer's record must be its own topic, not one asked for before.
record_lines() { wc -l 2>/dev/null <"$RECORD" || echo 0; }
record_grew() { [ "$(record_lines)" -gt "$1" ]; }
help_is() {
    local before; before=$(record_lines)
    xdotool key F1
    wait_for "a help request for $1" record_grew "$before" || return 0
    expect "F1's topic" "file:QovBrumvale.htm#$1" "$(tail -n 1 "$RECORD" | tr -d '\r')"
}

# Sourced by tests/package.sh, which drives the program with the helpers above, it ends here.
[ "${BASH_SOURCE[0]}" = "$0" ] || return 0

# --- one walk through every window, ended with Enter ---------------------------------------
# Returns early when a window does not open or close as it should: the keys that follow would go astray.
walk() {
    local before
    help_is options_game
    xdotool key space ctrl+Tab  # the Game box cleared; the Screen Saver tab
    help_is options_screensaver

    # An entry removed, then Esc: nothing is stored, not even the same list under new names.
    before=$(snapshot "$EXCEPTIONS_KEY")
    # The page that came to the front has the focus on its first box, "Enable"; Tab goes on in the template's order.
    opens 'Screen Saver Exceptions' Tab Tab Tab space || return  # past two boxes to "Exceptions..."
    help_is options_exceptions
    xdotool key Down Tab space  # an entry, then "Remove"
    closes 'Screen Saver Exceptions' "$SHEET_CAPTION" Escape || return
    expect "the exceptions after Esc in their dialog" "$before" "$(snapshot "$EXCEPTIONS_KEY")"

    # Esc in the picker leaves the dialog as it was; then a program is chosen by name, Enter, Enter.
    opens 'Screen Saver Exceptions' space || return  # "Exceptions..." again
    # The picker scans the whole drive before it shows: on a busy machine that takes a while.
    WAIT_S=30 opens 'Select File' Tab space || return  # from the list past the disabled "Remove" to "Add..."
    help_is options_add_exception
    closes 'Select File' 'Screen Saver Exceptions' Escape || return
    WAIT_S=30 opens 'Select File' space || return  # "Add..." again
    # Into the tree; "windows" found by typing its name, opened, then its notepad.exe.
    # The tree takes letters typed within half a second as one name: pause between.
    xdotool key Tab && xdotool type windows && sleep 1 && xdotool key Right && xdotool type notepad.exe
    closes 'Select File' 'Screen Saver Exceptions' Return || return
    closes 'Screen Saver Exceptions' "$SHEET_CAPTION" Return || return

    # "More Options...": a slider moved, then Esc stores no volume.
    before=$(snapshot "$GAME_KEY")
    opens 'Advanced Options' Tab space || return
    help_is options_screensaver_ext
    xdotool key Tab Tab Right  # from the island box past "Save current island..." to the sound slider
    closes 'Advanced Options' "$SHEET_CAPTION" Escape || return
    expect "the game's key after Esc in the advanced options" "$before" "$(snapshot "$GAME_KEY")"
    # Again: the island box (which hides "Save current island..."), the sound slider up three, Enter.
    opens 'Advanced Options' space || return
    xdotool key space Tab Right Right Right
    closes 'Advanced Options' "$SHEET_CAPTION" Return || return

    # Back on "More Options...": up to "Enable", cleared; the Skins tab, its first skin, OK.
    xdotool key shift+Tab shift+Tab shift+Tab shift+Tab space ctrl+Tab
    help_is options_skins
    xdotool key Down Return
    wait_for "the program to end on Enter" program_ended
}

# The exceptions' value has a name the dialog would not give it, so any store shows.
reg_import <<END
[${SETTINGS_KEY/HKLM/HKEY_LOCAL_MACHINE}]
"propNameGameMode"=dword:00000001
"propNameScreenSaverMode"=dword:00008006
[-${EXCEPTIONS_KEY/HKLM/HKEY_LOCAL_MACHINE}]
[${EXCEPTIONS_KEY/HKLM/HKEY_LOCAL_MACHINE}]
"zeta"="zeta.exe"
[${GAME_KEY/HKLM/HKEY_LOCAL_MACHINE}]
"ss_sound_vol"=dword:00000014
"ss_music_vol"=dword:0000001e
"time_skin"=-
END
rm -f "$RECORD"
if start_program; then walk; end_leftover; fi

settings=$(snapshot "$SETTINGS_KEY") game=$(snapshot "$GAME_KEY")
game_mode=$(value_in "$settings" propNameGameMode)
expect "the game mode, its box cleared" 0x0 "$game_mode"
expect "the mode, Enable cleared (0x10) and the island box ticked (0x100)" 0x8116 \
    "$(value_in "$settings" propNameScreenSaverMode)"
expect "the exceptions" "notepad.exe zeta.exe" "$(exceptions)"
expect "the volumes, 23 and 30" "0x17 0x1e" "$(value_in "$game" ss_sound_vol) $(value_in "$game" ss_music_vol)"
skin=$(value_in "$game" time_skin)
[[ "$skin" == 'C:\Program Files\Brumvale\TimeSkins\'?*'\' ]] ||
    fail "a skin's folder should be stored, time_skin is '$skin'"

# --- Esc on the sheet cancels: the Game box changed, nothing stored ------------------------
if start_program; then
    xdotool key space Escape
    wait_for "the program to end on Esc" program_ended
    end_leftover
fi
expect "the game mode after Esc" "$game_mode" "$(value_in "$(snapshot "$SETTINGS_KEY")" propNameGameMode)"

if [ $failures -eq 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; fi
[ $failures -eq 0 ]
