#!/usr/bin/env bash
# The program as pupils start it on X servers of five sizes (tests/screens_xcb_test.py), built with
# AddressSanitizer and UBSan: only the program, in build-asan/ (the folder and build type
# test-sanitized.sh uses, so neither makes the other build everything again) and its folder refresh.
source "$(dirname "$0")/common.sh"
install_packages
cmake -S "$ROOT" -B "$ROOT/build-asan" -DSANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build "$ROOT/build-asan" -j"$(nproc)" --target vellacourt vellacourt-refresh
/usr/bin/python3 "$ROOT/tests/screens_xcb_test.py" "$ROOT/build-asan" "$ROOT"
