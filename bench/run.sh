#!/usr/bin/env bash
# Builds and runs the benchmarks on a private X server (Xvfb, 1024x768), as a pupil's screen would be.
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
PACKAGES+=(xvfb xauth)
install_packages
build
if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1024x768x24" "$BUILD/bench/bench_pages"
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$BUILD/bench/bench_switch" "$@"
fi
"$BUILD/bench/bench_pages"
exec "$BUILD/bench/bench_switch" "$@"
