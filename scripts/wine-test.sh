#!/usr/bin/env bash
# Where Wine cannot be started without address randomization (scripts/path/wine), it ends a
# program now and then as it starts, with status 1 and no word. Every Wine program the scripts
# wait for goes through again_if_silent, and this file is CMake's emulator, through which ctest
# lists the in-process tests and runs each of them.
# shellcheck shell=bash

# Runs the command given; what it prints goes where it would, stdout first. A run that failed
# having printed nothing at all ended before it began: a test program writes each test's start
# out at once, and Wine's reg says what it could not do. Such a run is made once more, and says so.
again_if_silent() {
    local out status err try
    err=$(mktemp)
    for try in 1 2; do
        out=$("$@" 2>"$err") && status=0 || status=$?
        if [ "$status" = 0 ] || [ -n "$out" ] || [ -s "$err" ] || [ "$try" = 2 ]; then break; fi
        echo "a start that printed nothing (status $status) is made again: $*" >&2
    done
    [ -z "$out" ] || printf '%s\n' "$out"
    cat "$err" >&2
    rm -f "$err"
    return "$status"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    again_if_silent wine "$@"
fi
