#!/usr/bin/env bash
# Every test again under AddressSanitizer (leak detection on) and UBSan, in build-asan/.
source "$(dirname "$0")/common.sh"
install_packages
cmake -S "$ROOT" -B "$ROOT/build-asan" -DSANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build "$ROOT/build-asan" -j"$(nproc)"
cd "$ROOT/build-asan"
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure
