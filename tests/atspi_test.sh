#!/usr/bin/env bash
# The program through AT-SPI, and heard through Orca: a private session bus with its own accessibility
# bus and registry, a private X server, Orca with a home of its own speaking to a stand-in speech
# server (tests/speech_log_server.py) that writes down each text, and the program started with
# accessibility always on. Nothing of the machine's own session is touched.
# Usage: atspi_test.sh BUILD_DIR SOURCE_DIR [SCRIPT [WIDTHxHEIGHT [--printer]]]
# SCRIPT (tests/atspi_test.py by default) drives the program; the X server is 1440x1080 unless told;
# --printer gives the program a private print spooler with one queue, whose folder SPOOL names.
set -euo pipefail
build=$1 source=$2 script=${3:-$2/tests/atspi_test.py} size=${4:-1440x1080} printer=${5:-}
for need in dbus-daemon Xvfb /usr/libexec/at-spi-bus-launcher orca; do
    command -v "$need" >/dev/null || { echo "missing $need: install dbus, xvfb, at-spi2-core and orca" >&2; exit 1; }
done
/usr/bin/python3 -c "import pyatspi" || { echo "missing pyatspi: install python3-pyatspi" >&2; exit 1; }

tmp=$(mktemp -d)
pids=()
cleanup() {
    # Orca runs under unshare, which keeps a TERM to itself: the children of each are stopped too.
    for p in "${pids[@]}"; do pkill -P "$p" 2>/dev/null || true; kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true  # each server gone, its display free, before another test takes one
    rm -rf "$tmp"
}
trap cleanup EXIT

# Our own session bus; every D-Bus client below (the launcher, the program, pyatspi) uses it.
read -r address pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -s -d' ')
pids+=("$pid")
export DBUS_SESSION_BUS_ADDRESS=$address
unset AT_SPI_BUS_ADDRESS

# Our own X server, on the first free display, at a classroom size the program scales itself to.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/display")

/usr/libexec/at-spi-bus-launcher --launch-immediately &
pids+=($!)
sleep 1

# Orca, speaking into a log.
/usr/bin/python3 "$source/tests/speech_log_server.py" "$tmp/speech.sock" "$tmp/speech.log" &
pids+=($!)
mkdir -p "$tmp/orca"
# "--replace" stops every other Orca it can see: in a process namespace of its own it sees only itself,
# so tests side by side on one machine leave each other's readers alone.
isolate=()
unshare -p -f --mount-proc --kill-child true 2>/dev/null && isolate=(unshare -p -f --mount-proc --kill-child)
HOME=$tmp/orca XDG_CONFIG_HOME=$tmp/orca/config XDG_DATA_HOME=$tmp/orca/data XDG_CACHE_HOME=$tmp/orca/cache \
    SPEECHD_ADDRESS=unix_socket:$tmp/speech.sock "${isolate[@]}" /usr/bin/python3 "$(command -v orca)" --replace >"$tmp/orca.log" 2>&1 &
pids+=($!)
export SPEECH_LOG=$tmp/speech.log SOURCE_DIR=$source
for _ in $(seq 100); do grep -q "Screen reader on" "$tmp/speech.log" 2>/dev/null && break; sleep 0.1; done

# A catalogue of two pages, for its page turn.
mkdir -p "$tmp/home/multiple"
{ printf ' 30 \r\n'; for i in $(seq 30); do printf 'Worksheet %02d\r\n' "$i"; done; } >"$tmp/home/multiple/track.txt"

export CUPS_SERVER=/nonexistent/atspi-test.sock
if [ -n "$printer" ]; then
    # Our own print spooler, as the print tests run it: one raw queue "Keep", kept jobs in $SPOOL.
    export SPOOL=$tmp/cups/spool
    mkdir -p "$tmp/cups"/{spool,tmp,cache,state,log}
    chmod 0755 "$tmp" "$tmp/cups"; chmod 1777 "$tmp/cups"/{spool,tmp,cache,state,log}
    user=$(id -un); group=$(id -gn); [ "$(id -u)" = 0 ] && user=lp group=lp
    printf 'ServerRoot %s\nRequestRoot %s/spool\nTempDir %s/tmp\nCacheDir %s/cache\nStateDir %s/state\nAccessLog %s/log/a\nErrorLog %s/log/e\nPageLog %s/log/p\nUser %s\nGroup %s\nFileDevice Yes\n' \
        "$tmp/cups" "$tmp/cups" "$tmp/cups" "$tmp/cups" "$tmp/cups" "$tmp/cups" "$tmp/cups" "$tmp/cups" "$user" "$group" >"$tmp/cups/cups-files.conf"
    printf 'Listen %s/cups.sock\nWebInterface No\nPreserveJobFiles Yes\nLogLevel warn\nDefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n  </Limit>\n</Policy>\n' \
        "$tmp/cups" >"$tmp/cups/cupsd.conf"
    /usr/sbin/cupsd -f -c "$tmp/cups/cupsd.conf" -s "$tmp/cups/cups-files.conf" &
    pids+=($!)
    export CUPS_SERVER=$tmp/cups/cups.sock
    for _ in $(seq 50); do [ -S "$CUPS_SERVER" ] && break; sleep 0.1; done
    lpadmin -p Keep -E -v file:///dev/null -m raw && lpadmin -d Keep
fi
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
VELLACOURT_HOME=$tmp/home VELLACOURT_DATA=$source/data VELLACOURT_PROGRAM=$build/vellacourt \
    sh "$source/packaging/vellacourt-numerists" >"$tmp/program.log" 2>&1 &
pids+=($!)

status=0
timeout 300 /usr/bin/python3 "$script" || status=$?
[ -z "${SPEECH_LOG_COPY:-}" ] || cp "$tmp/speech.log" "$SPEECH_LOG_COPY"  # what Orca said, kept when asked
if [ "$status" != 0 ]; then
    echo "--- the program's output:" >&2
    cat "$tmp/program.log" >&2
    echo "--- what Orca said:" >&2
    cat "$tmp/speech.log" >&2
    exit 1
fi
