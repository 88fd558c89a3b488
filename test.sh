#!/usr/bin/env bash
# Builds everything and runs every test under Xvfb with a warm Wine session; arguments go to ctest.
source "$(dirname "$0")/scripts/common.sh"

ensure_packages
build

start_test_session

cd "$BUILD"
ctest --output-on-failure "$@"
