#!/usr/bin/env bash
# The package on a school's thin-client image: installed without recommended packages into a fresh
# minimal Debian 12 root and started through the installed launcher by an ordinary user on a private
# X server: its window must open and be drawn, with the fonts it names. Without Qt's X platform plugin
# the same start must fail, so the check is known to tell the two apart.
# Usage: fresh_root_test.sh BUILD_DIR      (as root; needs debootstrap, xvfb, x11-utils, python3-xlib,
#   python3-pil and the Debian archive) FRESH_ROOT_CACHE=DIR keeps the bare root there as a tarball,
#   reused while younger than FRESH_ROOT_CACHE_DAYS (30); SCREENSHOT=FILE.png keeps what the pupil
#   saw; FRESH_ROOT_MIRROR=URL another Debian mirror.
set -euo pipefail
build=$(cd "$1" && pwd)
mirror=${FRESH_ROOT_MIRROR:-http://deb.debian.org/debian}
suite=bookworm
python=/usr/bin/python3
[ "$(id -u)" -eq 0 ] || { echo "run as root: it makes a Debian root and chroots into it" >&2; exit 1; }
for tool in debootstrap Xvfb xwininfo chroot; do
    command -v "$tool" > /dev/null || { echo "missing $tool (debootstrap, xvfb, x11-utils)" >&2; exit 1; }
done
$python -c "import Xlib, PIL" || { echo "missing python3-xlib or python3-pil" >&2; exit 1; }
started=$SECONDS
tmp=$(mktemp -d -p "${TMPDIR:-/var/tmp}" fresh-root.XXXXXX)
root=$tmp/root
xvfb=
mounts=()  # newest first, so they come off in the right order
cleanup() {
    local rc=$? m p left=0
    # A start still running in the root would keep its mounts busy.
    for p in /proc/[0-9]*; do
        case $(readlink "$p/root" 2>/dev/null) in "$tmp"/*) kill -KILL "${p#/proc/}" 2>/dev/null || true ;; esac
    done
    for m in "${mounts[@]}"; do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; done
    # Nothing may still be mounted below $tmp when it is removed: a bound /tmp/.X11-unix would be emptied.
    while read -r m; do
        case $m in "$tmp"/*) echo "still mounted: $m" >&2; left=1 ;; esac
    done < /proc/self/mounts
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
    if [ "$left" -eq 0 ]; then rm -rf --one-file-system "$tmp"; else echo "left $tmp in place" >&2; fi
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
step() { echo "[$((SECONDS - started)) s] $*"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
# in_root COMMAND...: a command in the root, as root, with a clean environment.
in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"
}

step "making the package"
(cd "$build" && timeout 1800 cpack -G DEB -B "$tmp/pkg" > "$tmp/cpack.log") || { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$(ls "$tmp"/pkg/*.deb)

# debootstrap's minimal variant, as a school image starts: minutes and ~100 packages, so it may be cached.
tarball=${FRESH_ROOT_CACHE:+$FRESH_ROOT_CACHE/$suite-minbase-$(dpkg --print-architecture).tar.gz}
if [ -z "$tarball" ] || [ -z "$(find "$tarball" -mtime -"${FRESH_ROOT_CACHE_DAYS:-30}" 2>/dev/null)" ]; then
    step "debootstrap --variant=minbase $suite"
    timeout 900 debootstrap --variant=minbase "$suite" "$tmp/bare" "$mirror" > "$tmp/debootstrap.log" 2>&1 \
        || { tail -n 30 "$tmp/debootstrap.log"; fail "debootstrap"; }
    tarball=${tarball:-$tmp/bare.tar.gz}
    mkdir -p "$(dirname "$tarball")"
    tar --numeric-owner -C "$tmp/bare" -czf "$tarball.part" . && mv "$tarball.part" "$tarball"
    rm -rf --one-file-system "$tmp/bare"
fi

step "fresh root with the package"
mkdir "$root"
tar --numeric-owner -C "$root" -xzf "$tarball"
# The suites a school's image is kept up to date from; no service a package brings may start.
printf 'deb %s %s main\ndeb %s %s-updates main\ndeb %s %s-security main\n' \
    "$mirror" "$suite" "$mirror" "$suite" "${mirror%/debian}/debian-security" "$suite" > "$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"
printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
mount -t proc proc "$root/proc"
mounts=("$root/proc")
cp "$deb" "$root/tmp/"
{ in_root timeout -k 10 300 apt-get update && in_root timeout -k 10 600 apt-get install -y --no-install-recommends \
    "/tmp/$(basename "$deb")"; } > "$tmp/apt.log" 2>&1 || { tail -n 30 "$tmp/apt.log"; fail "installing the package"; }
in_root useradd -m pupil
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mounts=("$root/tmp/.X11-unix" "${mounts[@]}")

step "Xvfb"
exec 3> "$tmp/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -br > "$tmp/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { cat "$tmp/xvfb.log"; fail "Xvfb did not start"; }
display=:$(cat "$tmp/display")

# start: the installed launcher started by the pupil for a few seconds. Sets rc (124: still running
# then), window (its shown windows) and drawn (what the screen showed, when a window was shown).
start() {
    window='' drawn=''
    timeout -k 5 20 chroot "$root" /usr/bin/setpriv --reuid=pupil --regid=pupil --init-groups \
        /usr/bin/env -i HOME=/home/pupil USER=pupil LOGNAME=pupil SHELL=/bin/sh PATH=/usr/bin:/bin \
        LANG=C.UTF-8 DISPLAY="$display" timeout 6 /usr/bin/vellacourt-numerists > "$tmp/run.log" 2>&1 &
    local pid=$! id
    for _ in $(seq 50); do
        for id in $(xwininfo -display "$display" -root -children 2> /dev/null \
                    | grep -o '^ *0x[0-9a-f]* "Vellacourt Numerists"' | awk '{print $1}'); do
            xwininfo -display "$display" -id "$id" | grep -q 'Map State: IsViewable' && window+=" $id"
        done
        [ -z "$window" ] && kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    # Let it draw; drawn is more than the X server's black background.
    if [ -n "$window" ]; then
        sleep 1
        drawn=$($python - "$display" "$tmp/screen.png" <<'EOF'
import sys
from Xlib import display, X
from PIL import Image
root = display.Display(sys.argv[1]).screen().root
g = root.get_geometry()
image = Image.frombytes("RGB", (g.width, g.height),
                        root.get_image(0, 0, g.width, g.height, X.ZPixmap, 0xffffffff).data, "raw", "BGRX")
image.save(sys.argv[2])
colours = image.getcolors(1 << 24)
lit = 1 - sum(n for n, c in colours if c == (0, 0, 0)) / (image.width * image.height)
print(f"{len(colours)} colours, {lit:.0%} of the screen drawn" if len(colours) >= 16 and lit > 0.2 else "")
EOF
)
    fi
    rc=0
    wait "$pid" || rc=$?
}

step "starting it as a pupil on $display"
start
cat "$tmp/run.log"
[ "$rc" -eq 124 ] || fail "the program stopped with $rc instead of running on"
! grep -qi 'qt platform plugin' "$tmp/run.log" || fail "Qt could not load its platform plugin"
[ -n "$window" ] || fail "no window of the program's was shown on the X server"
[ -n "$drawn" ] || fail "the window was not drawn"
echo "$drawn"
[ -z "${SCREENSHOT:-}" ] || cp "$tmp/screen.png" "$SCREENSHOT"
# The fonts the program names, from the packages it depends on (Tahoma it loads from Wine's).
for pair in "Times New Roman=Liberation Serif" "Arial=Liberation Sans"; do
    got=$(in_root fc-match -f '%{family[0]}' "${pair%%=*}")
    [ "$got" = "${pair#*=}" ] || fail "${pair%%=*} is drawn with $got, not ${pair#*=}"
done
[ -f "$root/usr/share/wine/fonts/tahoma.ttf" ] || fail "no Tahoma from fonts-wine"

step "the same root without Qt's X platform plugin"
plugin=$(in_root dpkg-query -S '*/qt6/plugins/platforms/libqxcb.so' | sed 's/^[^:]*:[^:]*: //')
in_root dpkg-divert --quiet --local --rename --divert /usr/lib/libqxcb.so.away --add "$plugin"
start
cat "$tmp/run.log"
[ "$rc" -ne 124 ] || fail "the program ran on without Qt's X platform plugin"
grep -qi 'qt platform plugin' "$tmp/run.log" || fail "the program without Qt's X platform plugin did not say so"
[ -z "$window" ] || fail "the program without Qt's X platform plugin showed a window"
step "passed: installed without recommended packages, the program opens its window and draws it"
