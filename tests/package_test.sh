#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a fresh root, validates its desktop entry and metainfo,
# starts the installed launcher offscreen for a few seconds and checks the working folder it made (the
# launcher's own rules, a second start among them, are launcher_test.sh's).
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
(cd "$build" && cpack -G DEB -B "$tmp/pkg" > "$tmp/cpack.log") || { cat "$tmp/cpack.log"; exit 1; }
deb=$(ls "$tmp"/pkg/*.deb)
info=$(dpkg-deb --info "$deb")
for need in libqt6widgets6 libqt6gui6 libcups2 fonts-dejavu-core fonts-liberation fonts-wine xdg-utils; do
    grep -q "Depends:.*$need" <<< "$info" || { echo "the package does not depend on $need"; exit 1; }
done
root="$tmp/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/example.vellacourt.Numerists.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/example.vellacourt.Numerists.metainfo.xml" > /dev/null
test -x "$root/usr/bin/$(sed -n 's/^Exec=//p' "$root/usr/share/applications/example.vellacourt.Numerists.desktop")"
test -f "$root/usr/share/icons/hicolor/scalable/apps/example.vellacourt.Numerists.svg"

# Starts the installed launcher as a user would, offscreen, with no printer; it must still be
# running after a few seconds (timeout ends it with 124).
start() {
    local rc=0
    env -u VELLACOURT_HOME -u VELLACOURT_DATA -u VELLACOURT_PROGRAM HOME="$tmp/home" XDG_DATA_HOME= \
        QT_QPA_PLATFORM=offscreen CUPS_SERVER=/nonexistent "$@" timeout 4 "$root/usr/bin/vellacourt-numerists" \
        > "$tmp/run.log" 2>&1 || rc=$?
    [ "$rc" -eq 124 ] || { echo "the program stopped with $rc"; cat "$tmp/run.log"; exit 1; }
}
mkdir -p "$tmp/home"
start
work="$tmp/home/.local/share/vellacourt-numerists"
for f in Images/euclid.jpg wmf/guide1.wmf wmf2/acknowledgments.wmf logo/hvrn0019.gif multiple/Euclid.txt multiple/track.txt; do
    test -f "$work/$f" || { echo "the working folder lacks $f"; exit 1; }
done

echo "package built, installed into a fresh root and started: $(basename "$deb")"
