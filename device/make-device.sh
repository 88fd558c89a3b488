#!/usr/bin/env bash
# Makes (once) and updates the device: a Wine prefix standing for the handheld, with the
# program installed in C:\Program Files\Brumvale beside a few stand-in programs for the program
# picker. Running it again installs the newly built programs and keeps the device's registry
# and every other file.
# Usage: device/make-device.sh PREFIX BUILD_DIR      (DISPLAY must name a running X server)
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/../scripts/common.sh"
PREFIX="$1"
BUILD="$2"
export WINEPREFIX="$PREFIX"
wine_env

# The game's saved state, where the game keeps it: in a folder of the user's own on drive C:,
# which the options program may write beside it (its saved island copy goes there too). The
# file is sample content (device/sample), made again when it is missing.
SAVED_STATE='My Documents\Brumvale\Island.ino'

# A device whose making stopped halfway (a step failed) is made again on the next run.
if [ ! -f "$PREFIX/system.reg" ] || [ -f "$PREFIX/.unfinished" ]; then
    mkdir -p "$PREFIX"
    touch "$PREFIX/.unfinished"
    new_prefix "$PREFIX"
    # A new device lists two of its programs as screen-saver exceptions, in order of name (case
    # aside), each value named by its index in three characters ("  0", "  1"). Only here: the
    # user's own list stays on later runs.
    wine_reg add "$EXCEPTIONS_KEY" /v '  0' /t REG_SZ /d 'notes.exe' /f </dev/null >/dev/null 2>&1
    wine_reg add "$EXCEPTIONS_KEY" /v '  1' /t REG_SZ /d 'PLAYER.EXE' /f </dev/null >/dev/null 2>&1
    # What the game writes once it has run: its own volumes (0 to 64; neither is the options
    # program's default of 50, so a fallback to them shows) and the path of its saved state.
    # The screen saver's own values are the options program's to write.
    wine_reg add "$GAME_KEY" /v sound_vol /t REG_DWORD /d 40 /f </dev/null >/dev/null 2>&1
    wine_reg add "$GAME_KEY" /v music_vol /t REG_DWORD /d 24 /f </dev/null >/dev/null 2>&1
    wine_reg add "$GAME_KEY" /v UserSettings /t REG_SZ /d "C:\\$SAVED_STATE" /f </dev/null >/dev/null 2>&1
    wineserver -w
    rm -f "$PREFIX/.unfinished"
fi

# Nothing on drive C: may lead out of the device. A new prefix links profile folders to the
# host's home at several depths (Documents, AppData\...\Templates), and the program picker
# walks the whole drive: every link becomes an empty folder, or goes when it named a file.
find "$PREFIX/drive_c" -type l -print0 | while IFS= read -r -d '' link; do
    if [ -d "$link" ] || [ ! -e "$link" ]; then
        rm -f "$link"
        mkdir "$link"
    else
        rm -f "$link"
    fi
done

INSTALL_DIR="$PREFIX/drive_c/$PROGRAM_FOLDER"
mkdir -p "$INSTALL_DIR"
cp -f "$BUILD/QovBrumvaleOptions.exe" "$INSTALL_DIR/"
# Stand-ins for the device's other programs (device/SampleProgram.cpp), the game among them;
# one ends in upper-case ".EXE", as some programs' files do.
PROGRAM_FILES="$PREFIX/drive_c/Program Files"
for program in "Brumvale/Brumvale.exe" "Tools/calc.exe" "Notes/notes.exe" "Media Player/PLAYER.EXE"; do
    mkdir -p "$PROGRAM_FILES/$(dirname "$program")"
    cp -f "$BUILD/device/SampleProgram.exe" "$PROGRAM_FILES/$program"
done
# The help viewer and its help file, where the handheld keeps them; the viewer appends each
# command line it is started with to C:\windows\temp\PegHelp.log (helpviewer/PegHelp.cpp).
cp -f "$BUILD/helpviewer/PegHelp.exe" "$BUILD/helpviewer/QovBrumvale.htm" "$PREFIX/drive_c/windows/"
# The handheld's faces: Tahoma, in which every dialog template is measured, and Marlett, which
# draws the caption buttons' glyphs. Wine has its own of both, but this Wine does not look in
# its data folder for them, so they go where Windows keeps its fonts. Without them a wider face
# stands in, every dialog outgrows the small screens, and the close button shows a letter.
cp -f /usr/share/wine/fonts/{tahoma,tahomabd,marlett}.ttf "$PREFIX/drive_c/windows/Fonts/"
# The handheld has no "MS Sans Serif": a template asking for it is measured in Tahoma.
if ! grep -q '^"MS Sans Serif"="Tahoma"' "$PREFIX/system.reg"; then
    wine_reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'MS Sans Serif' /t REG_SZ /d Tahoma /f </dev/null >/dev/null 2>&1
    wineserver -w
fi
# Sample content that a fresh device ships with (device/sample: files beside the stand-ins that
# are not programs); what the user changed stays.
if [ -d "$HERE/sample" ]; then cp -rn "$HERE/sample/." "$PREFIX/drive_c/"; fi
