#!/usr/bin/env bash
# The program as a desktop meets it: the real binary, started through the launcher, on a private X
# server at 1024 x 768 under a real window manager (openbox) with a private configuration. Nothing of
# the machine's own session or settings is touched; everything started here is stopped here.
# Usage: window_manager_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
for need in Xvfb openbox fc-match; do
    command -v "$need" >/dev/null || { echo "missing $need: install xvfb, openbox and fontconfig" >&2; exit 1; }
done
/usr/bin/python3 -c "import Xlib.ext.xtest, numpy, PIL" ||
    { echo "missing python3-xlib, python3-numpy or python3-pil" >&2; exit 1; }

tmp=$(mktemp -d)
pids=()
cleanup() {
    # The programs the script started, should it have been stopped before it could stop them.
    for f in "$tmp"/program-*.pid; do [ -s "$f" ] && kill "$(cat "$f")" 2>/dev/null || true; done
    # The script holds the window manager still for moments; it must be running to be stopped.
    kill -CONT "${wm:-}" 2>/dev/null || true
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT

# A home of our own for the window manager and the program: their settings, caches and runtime files.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config XDG_CACHE_HOME=$tmp/home/.cache \
       XDG_DATA_HOME=$tmp/home/.local/share XDG_RUNTIME_DIR=$tmp/runtime
mkdir -p "$XDG_CONFIG_HOME/openbox" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SESSION_MANAGER

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { echo "Xvfb did not start" >&2; cat "$tmp/xvfb.log" >&2; exit 1; }
export DISPLAY=:$(cat "$tmp/display")

# New windows take the focus and the pointer does not move it, as on a usual desktop; no key is bound,
# so every key reaches the program.
cat >"$XDG_CONFIG_HOME/openbox/rc.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
  <keyboard></keyboard>
</openbox_config>
EOF
openbox --sm-disable --config-file "$XDG_CONFIG_HOME/openbox/rc.xml" >"$tmp/openbox.log" 2>&1 &
wm=$!
pids+=("$wm")

# The script starts the program itself, afresh for each group of checks, so that it sees how it ends.
export WM_TEST_DIR=$tmp WM_TEST_WM_PID=$wm
if ! timeout 110 /usr/bin/python3 "$source/tests/window_manager_test.py" "$build" "$source"; then
    for log in "$tmp"/program-*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log"):" >&2; cat "$log" >&2; }
    done
    exit 1
fi
