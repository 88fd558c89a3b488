#!/usr/bin/env bash
# Runs a test program under Wine: CMake's emulator for the test programs (the listing of the
# in-process tests and each of their runs), and `run_tests` for the scripts, which source this.
# shellcheck shell=bash

# Runs a test program (the command given) and prints all it prints. A run that printed nothing at
# all ended before its first test began: GoogleTest writes each test's start out at once. Wine
# now and then ends a program while it starts, with status 1 and no word (3 starts in about
# 33,000 here, the device's server running throughout, each while other sessions started and
# stopped beside it); such a run is made once more, and says so.
run_tests() {
    local out status try
    for try in 1 2; do
        out=$("$@" 2>&1) && status=0 || status=$?
        [ -z "$out" ] && [ "$try" = 1 ] || break
        echo "a start that printed nothing (status $status) is made again: $*" >&2
    done
    [ -z "$out" ] || printf '%s\n' "$out"
    return "$status"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    run_tests wine "$@"
fi
