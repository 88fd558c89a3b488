#!/usr/bin/env bash
# The program picker over a drive no handheld would hold: 10,000 programs in one folder, a path longer than 260
# characters, odd and Unicode names, names that differ only in case, a folder its owner cannot read and a link back to
# the drive's root. The drive is the test device's B:, made once here on the host.
# Usage: tests/picker-odd-tree.sh TEST_PROGRAM (in a running test session: WINEPREFIX and DISPLAY set, as test.sh does).
set -euo pipefail
: "${WINEPREFIX:?}"
TREE="$WINEPREFIX/drive_b"
if [ ! -f "$TREE/.made" ]; then
    rm -rf "$TREE"
    mkdir -p "$TREE/Many" "$TREE/Odd ü ✓" "$TREE/Locked" "$TREE/Loop/Inner"
    (cd "$TREE/Many" && seq -f 'p%05g.exe' 10000 | xargs touch)
    deep="$TREE"
    for i in $(seq 12); do deep="$deep/folder number $i of a deep path"; done
    mkdir -p "$deep" && touch "$deep/deep.exe"
    (cd "$TREE/Odd ü ✓" &&
        touch '100% sure.exe' '"quoted".exe' 'Case.exe' 'case.exe' 'with  spaces .exe' 'Ünïcødé ✓.exe')
    touch "$TREE/Locked/hidden.exe" && chmod 000 "$TREE/Locked"
    ln -s ../.. "$TREE/Loop/Inner/Back"
    touch "$TREE/.made"
fi
ln -sfn ../drive_b "$WINEPREFIX/dosdevices/b:"
source "$(dirname "$0")/../scripts/wine-test.sh"
again_if_silent wine "$1" --gtest_also_run_disabled_tests --gtest_filter='PickerLimits.*'
