#!/usr/bin/env bash
# Builds the benchmarks and runs each on a private X server of its own (Xvfb, Qt's xcb platform) at
# the sizes classrooms have, as a pupil's screen would be: start-up at 800x600, 1024x768, 1920x1080
# and 3840x2160; reference pages and screen switches at 800x600, 1920x1080 and 3840x2160.
#
# Targets at 3840x2160: a reference page shown in <= 5 ms; every screen switch <= 16 ms and no
# slower than the bare Qt program (<= 1.0x); start-up and peak memory <= 1.1x the bare program.
#
#   bench/run.sh [startup] [pages] [switch]    the benchmarks to run (all when none is named)
#
# BENCH_BUILD: the build folder (build/); BENCH_SIZES: the sizes ("800x600 3840x2160");
# STARTUP_RUNS: start-up runs a side (9); SWITCH_ARGS: bench_switch's processes and rounds;
# BENCH_PROGRAM: another build of the program to time at start-up (an earlier one, to compare);
# BENCH_FLOOD=1: the switches in a working folder flooded with 200,000 names and 40,000 topic links.
# On a busy machine start-up times spread widely: run more (STARTUP_RUNS=21) and read the run-by-run
# and processor ratios beside the ratio of the medians.
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
PACKAGES+=(xvfb xauth)
BUILD=${BENCH_BUILD:-$BUILD}
install_packages
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j"$(nproc)" --target vellacourt bench_startup bench_bare_title bench_pages bench_switch

BENCHES=("$@")
[ ${#BENCHES[@]} -eq 0 ] && BENCHES=(startup pages switch)
SIZES=(${BENCH_SIZES:-800x600 1024x768 1920x1080 3840x2160})
TMP=$(mktemp -d)
XVFB_PID=""
# A session's own runtime folder, as a desktop gives every program.
export XDG_RUNTIME_DIR="$TMP/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

stop_x() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}
trap 'stop_x; rm -rf "$TMP"' EXIT

# A fresh X server of this size on a free display, open only to holders of its cookie.
start_x() {
    local cookie
    cookie=$(mcookie)
    rm -f "$TMP/display"
    : >"$TMP/server.auth"
    : >"$TMP/client.auth"
    xauth -q -f "$TMP/server.auth" add :0 . "$cookie"  # the server takes every cookie in its file
    Xvfb -displayfd 3 -auth "$TMP/server.auth" -screen 0 "${1}x24" -nolisten tcp -br 3>"$TMP/display" 2>"$TMP/xvfb.log" &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$TMP/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$TMP/display" ]; then
        cat "$TMP/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(cat "$TMP/display")" XAUTHORITY="$TMP/client.auth"
    xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie"
}

for size in "${SIZES[@]}"; do
    for bench in "${BENCHES[@]}"; do
        # Pages and switches are the same at 1024x768 as at the sizes either side of it.
        [ "$bench" != startup ] && [ "$size" = 1024x768 ] && continue
        start_x "$size"
        # The in-process benchmarks skip the program's own choice of scale: both sides get the scale
        # it would choose here. Start-up gives it to the bare program alone and lets ours choose.
        scale=$("$BUILD/bench/bench_startup" --scale)
        echo "==== $bench, $size (scale $scale)"
        case "$bench" in
        startup) QT_QPA_PLATFORM=xcb "$BUILD/bench/bench_startup" "${STARTUP_RUNS:-9}" ;;
        pages) QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$BUILD/bench/bench_pages" ;;
        switch) QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$BUILD/bench/bench_switch" ${SWITCH_ARGS:-} ;;
        *) echo "no benchmark called $bench" >&2; exit 1 ;;
        esac
        echo
        stop_x
    done
done
