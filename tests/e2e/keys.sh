#!/usr/bin/env bash
# The installed program on the test device, driven with keystrokes as a user would: F1 asks
# for the Game topic, Space toggles the box, Enter accepts, Esc cancels, Ctrl+Tab changes tabs,
# a program chosen in the picker from "Exceptions...", "Add..." is stored, and the Screen Saver
# tab's switch and the advanced options' island box reach the mode, and a skin chosen on the
# Skins tab is stored. Needs DISPLAY and WINEPREFIX of a running test session (test.sh sets
# both up).
set -uo pipefail
: "${DISPLAY:?}" "${WINEPREFIX:?}"
PROGRAM='C:\Program Files\Brumvale\QovBrumvaleOptions.exe'
KEY='HKLM\SOFTWARE\Varnholt\BrumvaleService\Settings'
RECORD="$WINEPREFIX/drive_c/windows/temp/PegHelp.log"
failures=0
# The viewer records the help it is asked for and opens no browser.
export PEGHELP_RECORD_ONLY=1

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

game_mode() {  # prints the stored value in hex, or "absent"
    wine reg query "$KEY" /v propNameGameMode 2>/dev/null | tr -d '\r' |
        awk '/propNameGameMode/ { print $3; found = 1 } END { if (!found) print "absent" }'
}

set_game_mode() {
    wine reg add "$KEY" /v propNameGameMode /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

# Waits (bounded) until a condition holds: the program works on its own schedule.
wait_for() {
    local what="$1"; shift
    for _ in $(seq 200); do "$@" && return 0; sleep 0.05; done
    fail "timed out waiting for $what"; return 1
}

start_program() {
    (cd "$WINEPREFIX/drive_c" && exec wine "$PROGRAM" </dev/null >/dev/null 2>&1) &
    APP=$!
    WIN=$(timeout 30 xdotool search --sync --onlyvisible --name '^Qov Brumvale Options$' | head -1)
    [ -n "$WIN" ] || { fail "the sheet did not open (DISPLAY=$DISPLAY: $(xdpyinfo 2>&1 | head -1))"; return 1; }
    xdotool windowfocus --sync "$WIN" 2>/dev/null || true
}

program_ended() { ! kill -0 "$APP" 2>/dev/null; }

# A program that did not end as it should is ended here, so the next start drives a new one.
end_leftover() {
    program_ended && return 0
    kill -9 "$APP" 2>/dev/null
    wait "$APP" 2>/dev/null
    return 0
}

record_has() { grep -qF "$1" "$RECORD" 2>/dev/null; }

# --- F1 records the Game topic; Space toggles; Enter stores -------------------------------
set_game_mode 1
rm -f "$RECORD"
if start_program; then
    xdotool key F1
    wait_for "the help viewer's record" record_has 'file:QovBrumvale.htm#options_game'
    xdotool key space
    xdotool key Return
    wait_for "the program to end on Enter" program_ended
    end_leftover
fi
[ "$(game_mode)" = 0x0 ] || fail "Enter after Space should store 0, registry has $(game_mode)"

# --- Esc cancels: nothing stored ----------------------------------------------------------
set_game_mode 1
if start_program; then
    xdotool key space
    xdotool key Escape
    wait_for "the program to end on Esc" program_ended
    end_leftover
fi
[ "$(game_mode)" = 0x1 ] || fail "Esc should leave 1, registry has $(game_mode)"

# --- Ctrl+Tab from inside a page moves to the next tab; F1 there asks for its topic ---------
rm -f "$RECORD"
if start_program; then
    xdotool key ctrl+Tab
    xdotool key F1
    wait_for "the Screen Saver topic in the record" record_has 'file:QovBrumvale.htm#options_screensaver'
    xdotool key Escape
    wait_for "the program to end on Esc" program_ended
    end_leftover
fi

# --- Screen Saver tab, "Exceptions...", "Add...": a program chosen in the picker is stored ----
EXCEPTIONS='HKLM\SOFTWARE\Varnholt\BrumvaleService\Exceptions'
exceptions() { wine reg query "$EXCEPTIONS" 2>/dev/null | tr -d '\r' | awk '/REG_SZ/ { print $NF }' | sort | xargs; }
window_open() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
# Keys go to the window with the focus: wait until the dialog has it, not only until it shows.
window_focused() { [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "$1" ]; }
wine reg delete "$EXCEPTIONS" /f >/dev/null 2>&1
wine reg add "$EXCEPTIONS" /v '  0' /t REG_SZ /d zeta.exe /f >/dev/null 2>&1
if start_program; then
    xdotool key ctrl+Tab Tab Tab Tab Tab space  # the tabs, then Enable, two boxes, "Exceptions..."
    if wait_for "the exceptions dialog" window_focused 'Screen Saver Exceptions'; then
        xdotool key Tab space  # from the list past the disabled "Remove" to "Add..."
        if wait_for "the program picker" window_focused 'Select File'; then
            # Into the tree; "windows" found by typing its name, opened, then its notepad.exe.
            # The tree takes letters typed within half a second as one name: pause between.
            xdotool key Tab && xdotool type windows && sleep 1 && xdotool key Right && xdotool type notepad.exe
            xdotool key Return
            wait_for "the picker to close" window_focused 'Screen Saver Exceptions'
            xdotool key Return
            wait_for "the exceptions dialog to close" window_focused 'Qov Brumvale Options'
            # The focus is back on "Exceptions...", where Enter would open it again; the list
            # is stored already, so the sheet is left with Esc.
            xdotool key Escape
            wait_for "the program to end on Esc" program_ended
        fi
    fi
    end_leftover
fi
[ "$(exceptions)" = "notepad.exe zeta.exe" ] || fail "exceptions should be notepad.exe and zeta.exe, are: $(exceptions)"

# --- Screen Saver tab: Space on "Enable", Enter; then "More Options...", the island box -----
screen_saver_mode() {
    wine reg query "$KEY" /v propNameScreenSaverMode 2>/dev/null | tr -d '\r' |
        awk '/propNameScreenSaverMode/ { print $3; found = 1 } END { if (!found) print "absent" }'
}
set_screen_saver_mode() { wine reg add "$KEY" /v propNameScreenSaverMode /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
set_screen_saver_mode 0x8006
if start_program; then
    xdotool key ctrl+Tab Tab space Return  # the tabs, then "Enable" cleared, then OK
    wait_for "the program to end on Enter" program_ended
    end_leftover
fi
[ "$(screen_saver_mode)" = 0x8016 ] || fail "Enable cleared should store 0x8016, registry has $(screen_saver_mode)"
set_screen_saver_mode 0x8006
if start_program; then
    xdotool key ctrl+Tab Tab Tab Tab Tab Tab space  # Enable, two boxes, "Exceptions...", "More Options..."
    if wait_for "the advanced options" window_focused 'Advanced Options'; then
        xdotool key space Return  # the island box, then OK
        wait_for "the advanced options to close" window_focused 'Qov Brumvale Options'
        # Back on "More Options...": two boxes up, Enter is the sheet's OK again.
        xdotool key shift+Tab shift+Tab Return
        wait_for "the program to end on Enter" program_ended
    fi
    end_leftover
fi
[ "$(screen_saver_mode)" = 0x8106 ] || fail "the island box should store 0x8106, registry has $(screen_saver_mode)"

# --- Skins tab: a skin chosen with the arrow keys, Enter stores its folder -------------------
GAME_KEY='HKLM\SOFTWARE\Varnholt\Brumvale VGA'
time_skin() { wine reg query "$GAME_KEY" /v time_skin 2>/dev/null | tr -d '\r' | sed -n 's/^ *time_skin *REG_SZ *//p'; }
wine reg delete "$GAME_KEY" /v time_skin /f >/dev/null 2>&1
if start_program; then
    xdotool key ctrl+Tab ctrl+Tab Down Return  # the Skins tab (its list takes the focus), the first skin, OK
    wait_for "the program to end on Enter" program_ended
    end_leftover
fi
case "$(time_skin)" in
    'C:\Program Files\Brumvale\TimeSkins\'?*'\') ;;
    *) fail "a skin's folder should be stored, time_skin is '$(time_skin)'" ;;
esac

if [ $failures -eq 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; fi
[ $failures -eq 0 ]
