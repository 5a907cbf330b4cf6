#!/usr/bin/env bash
# The real program as a pupil starts it, through the launcher, on private X servers of the sizes
# classrooms have, with no window manager and no scale set by hand: three starts at each size, the
# first clicked through the menus to the quiz and Key Facts (screens_xcb_test.py checks that every
# caption and page shows its letters). A start fails on a sanitizer's report, on ending before it
# is closed, or on ending other than as it was told to.
# Usage: screens_xcb_test.sh BUILD_DIR SOURCE_DIR
#   SCREENSHOTS=DIR keeps what the first start saw (and any screen that failed); SIZES="1920x1080 ..."
#   tries only those sizes.
set -euo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
python=/usr/bin/python3
command -v Xvfb >/dev/null || { echo "missing Xvfb: install xvfb" >&2; exit 1; }
$python -c "import Xlib, numpy, PIL" || { echo "missing python3-xlib, python3-numpy or python3-pil" >&2; exit 1; }
[ -x "$build/vellacourt" ] || { echo "no program at $build/vellacourt" >&2; exit 1; }
[ -z "${SCREENSHOTS:-}" ] || mkdir -p "$SCREENSHOTS"

# A sanitized build starts and draws several times slower.
slowness=1
if ldd "$build/vellacourt" | grep -q libasan; then slowness=4; fi

tmp=$(mktemp -d)
xvfb='' program=''
stop() {  # stop PID: TERM, then KILL if it lingers
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 50); do running "$1" || break; sleep 0.1; done
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    stop "$program"
    stop "$xvfb"
    rm -rf "$tmp"
}
trap cleanup EXIT

failures=()
fail() {
    echo "FAIL $1" >&2
    failures+=("$1")
}

# running PID: the process is there and has not ended (an ended child stays a zombie until waited for).
running() {
    local state
    state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)
    [ -n "$state" ] && [ "$state" != Z ]
}

# one_start SIZE N MODE: the program started once and ended as MODE says (see screens_xcb_test.py).
one_start() {
    local size=$1 n=$2 mode=$3 what="$1 start $2"
    local run=$tmp/$size-$n
    mkdir -p "$run/home" "$run/sanitizer" "$run/user/runtime"
    chmod 700 "$run/user/runtime"
    env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u VELLACOURT_SCALE \
        -u VELLACOURT_SCALED -u QT_MAX_CACHED_GLYPH_SIZE -u VELLACOURT_START_AT_MENU -u AT_SPI_BUS_ADDRESS \
        DISPLAY="$DISPLAY" HOME="$run/user" XDG_RUNTIME_DIR="$run/user/runtime" XDG_CONFIG_HOME="$run/user/config" \
        XDG_CACHE_HOME="$run/user/cache" DBUS_SESSION_BUS_ADDRESS="unix:path=$run/no-bus" \
        CUPS_SERVER=/nonexistent/screens-test.sock \
        VELLACOURT_HOME="$run/home" VELLACOURT_DATA="$source/data" VELLACOURT_PROGRAM="$build/vellacourt" \
        ASAN_OPTIONS="log_path=$run/sanitizer/asan:halt_on_error=1:detect_leaks=0" \
        UBSAN_OPTIONS="log_path=$run/sanitizer/ubsan:halt_on_error=1:print_stacktrace=1" \
        sh "$source/packaging/vellacourt-numerists" >"$run/program.log" 2>&1 &
    program=$!
    local started=$SECONDS ok=1 rc=0
    if ! $python "$source/tests/screens_xcb_test.py" "$size" "$n" "$program" "$mode" "$slowness" 2>"$run/check.err"; then
        ok=0
        cat "$run/check.err" >&2
        fail "$(tail -n1 "$run/check.err")"
    fi

    if [ "$mode" = stay ] && [ $ok = 1 ]; then
        if running "$program"; then kill -TERM "$program"; else ok=0; fail "$what: the program had ended before it was closed"; fi
    fi
    # Closed, it ends by itself: after the title's Exit, or the TERM just sent.
    if [ $ok = 1 ]; then
        for _ in $(seq $((100 * slowness))); do running "$program" || break; sleep 0.1; done
        running "$program" && { ok=0; fail "$what: the program did not end within $((10 * slowness)) s of being closed"; }
    fi
    if running "$program"; then
        stop "$program"  # a check failed with the program still up: nothing more to learn from it
    else
        wait "$program" || rc=$?
        case $ok:$mode:$rc in
            1:stay:143 | 1:stay:0 | 1:tour:0 | 1:exit:0) ;;
            *) ok=0; fail "$what: the program ended with status $rc ($mode)" ;;
        esac
    fi
    program=
    for report in "$run"/sanitizer/*; do
        [ -e "$report" ] || continue
        ok=0
        fail "$what: sanitizer report $(basename "$report"):"
        cat "$report" >&2
    done
    if [ $ok = 0 ]; then
        echo "--- the program's output ($what):" >&2
        cat "$run/program.log" >&2
    fi
    echo "$what ($mode): $([ $ok = 1 ] && echo ok || echo FAILED) in $((SECONDS - started)) s"
}

for size in ${SIZES:-1024x768 1280x1024 1366x768 1920x1080 3840x2160}; do
    started=$SECONDS before=${#failures[@]}
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb-$size.log" &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
    [ -s "$tmp/display" ] || { cat "$tmp/xvfb-$size.log" >&2; echo "Xvfb did not start at $size" >&2; exit 1; }
    DISPLAY=:$(cat "$tmp/display")
    export DISPLAY
    : >"$tmp/display"
    one_start "$size" 1 tour
    one_start "$size" 2 exit
    one_start "$size" 3 stay
    stop "$xvfb"
    xvfb=
    echo "$size: $([ ${#failures[@]} = "$before" ] && echo "3 starts ok" || echo FAILED) in $((SECONDS - started)) s"
done

if [ ${#failures[@]} -gt 0 ]; then
    printf 'FAILED: %s\n' "${failures[@]}" >&2
    exit 1
fi
