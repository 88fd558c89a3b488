#!/usr/bin/env bash
# Runs a test program on a screen of its own and exits with the program's status.
# Usage: tests/run-on-screen.sh WxH DPI EXE [program arguments...]
# The screen is a new Xvfb of WxH pixels; the device, one per screen and density (<test device>-screens/WxH-DPI), is
# made once and kept. Wine draws into a virtual desktop of the same size: Xvfb's RandR knows only its one mode, and the
# desktop lets a test change the display mode within a run, as turning the device does.
source "$(dirname "$0")/../scripts/common.sh"

SIZE="${1:?WxH}" DPI="${2:?DPI}" EXE="${3:?test program}"
shift 3
case "$SIZE" in [0-9]*x[0-9]*) ;; *) echo "size must be WxH" >&2; exit 2 ;; esac

start_session "$SIZE" "$DPI" "$TEST_DEVICE-screens/$SIZE-$DPI" desktop
no_debugger
# The screen as it is, for the program to compare with what the system tells it.
export BRUMVALE_SCREEN="$SIZE:$DPI"
again_if_silent wine "$EXE" "$@" </dev/null ||
    { status=$?; echo "${EXE##*/} ended with status $status" >&2; exit $status; }
