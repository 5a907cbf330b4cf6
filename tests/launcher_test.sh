#!/usr/bin/env bash
# The launcher on a shared working folder that others can write to: links planted and raced in, concurrent
# starts, group permissions, odd but honest settings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
launcher=$root/packaging/vellacourt-numerists
data=$root/data
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
check() { "$@" || fail "$*"; }

# A stand-in for the program: notes where it started and any problem it was handed.
cat > "$tmp/program" <<'STUB'
#!/bin/sh
pwd > "$STUB_LOG"
echo "${VELLACOURT_PROBLEM:-}" >> "$STUB_LOG"
echo "${LD_LIBRARY_PATH:-}" >> "$STUB_LOG"
echo "${VELLACOURT_NOTICE:-}" > "$STUB_LOG.notice"
STUB
chmod +x "$tmp/program"
launch() {  # launch [VAR=value ...] [env -u VAR ...]: runs the launcher with the stand-in, in $tmp
    (cd "$tmp" && env HOME="$tmp/home" XDG_DATA_HOME= VELLACOURT_DATA="$data" VELLACOURT_PROGRAM="$tmp/program" \
        VELLACOURT_REFRESHER="$build/vellacourt-refresh" \
        STUB_LOG="$tmp/started" "$@" "$launcher" 2> "$tmp/stderr")
}
same() { cmp -s "$1" "$2" || fail "$1 differs from $2"; }
started_in() { [ "$(head -1 "$tmp/started")" = "$1" ] || fail "the program did not start in $1"; }

# Planted links: what they point at stays as it was; the program's files replace their links, and a
# worksheet file (only ever added when missing) is left as it is.
work=$tmp/school
launch VELLACOURT_HOME="$work"
echo "someone else's notes" | tee "$tmp/victim" > "$tmp/victim.before"
rm "$work/multiple/track.txt"
for f in multiple/Euclid.txt multiple/track.txt wmf/guide1.wmf Images/missing-target.jpg; do
    ln -sf "$tmp/victim" "$work/$f"
done
echo "a stale copy" > "$work/multiple/Pythagoras.txt"  # every topic's quiz is the program's, refreshed
launch VELLACOURT_HOME="$work"
same "$work/multiple/Pythagoras.txt" "$data/multiple/Pythagoras.txt"
same "$tmp/victim" "$tmp/victim.before"
check test ! -L "$work/multiple/Euclid.txt" && same "$work/multiple/Euclid.txt" "$data/multiple/Euclid.txt"
check test ! -L "$work/wmf/guide1.wmf" && same "$work/wmf/guide1.wmf" "$data/wmf/guide1.wmf"
check test -L "$work/multiple/track.txt"
started_in "$work"

# A linked folder is refused, with the reason handed to the program and said; nothing lands in it.
mkdir "$tmp/elsewhere"
rm -rf "$work/logo"
ln -s "$tmp/elsewhere" "$work/logo"
launch VELLACOURT_HOME="$work"
check test -z "$(ls -A "$tmp/elsewhere")"
for said in started stderr; do check grep -q "logo is not a folder of its own" "$tmp/$said"; done
rm "$work/logo"

# Files already the same are not written again; a copy that fails is reported and the rest go on.
touch -d '2001-01-01' "$work/wmf/guide2.wmf"
rm "$work/Images/euclid.jpg"
mkdir "$work/Images/euclid.jpg"
launch VELLACOURT_HOME="$work"
check test "$(stat -c %Y "$work/wmf/guide2.wmf")" = "$(date -d 2001-01-01 +%s)"
check grep -q "could not refresh $work/Images/euclid.jpg" "$tmp/stderr"
check grep -q "could not be brought up to date" "$tmp/started.notice"
check test -z "$(tail -1 "$tmp/started")"
same "$work/logo/halvern2.bmp" "$data/logo/halvern2.bmp"
check test -z "$(find "$work" -name '.*.new')"

# A relative folder, a folder whose name starts with "-", and no HOME at all.
launch VELLACOURT_HOME=relative; started_in "$tmp/relative"
launch VELLACOURT_HOME=-dash; same "$tmp/-dash/wmf/guide1.wmf" "$data/wmf/guide1.wmf"
launch env -u HOME XDG_DATA_HOME="$tmp/xdg"; started_in "$tmp/xdg/vellacourt-numerists"

# Ten starts at once, each after Euclid's quiz was replaced whole: a reader never sees it short.
work=$tmp/busy
launch VELLACOURT_HOME="$work"
want=$(cat "$data/multiple/Euclid.txt")
(
    end=$((SECONDS + 4)); while [ $SECONDS -lt $end ]; do
        got=$(cat "$work/multiple/Euclid.txt")
        [ "$got" = "$want" ] || [ "$got" = "an old copy" ] || { echo "partial read" > "$tmp/partial"; break; }
    done
) &
reader=$!
for round in 1 2 3 4 5 6; do
    echo "an old copy" > "$work/multiple/.old" && mv -f "$work/multiple/.old" "$work/multiple/Euclid.txt"
    starts=()
    for i in $(seq 10); do launch VELLACOURT_HOME="$work" & starts+=($!); done
    wait "${starts[@]}"
done
wait "$reader"
check test ! -e "$tmp/partial"
same "$work/multiple/Euclid.txt" "$data/multiple/Euclid.txt"

# A school's folder (group write, setgid) made ready by a teacher whose umask is 022 gets folders the
# group can write; one the group cannot write is said, with what to run.
work=$tmp/shared
mkdir "$work" && chmod 2770 "$work"
(umask 022 && launch VELLACOURT_HOME="$work")
for folder in Images logo wmf wmf2 multiple; do check test "$(stat -c %a "$work/$folder")" = 2770; done
chmod 2750 "$work/multiple"
launch VELLACOURT_HOME="$work"
check grep -q "chmod -R g+ws \"$work/multiple\"" "$tmp/started.notice"

# A teacher whose umask is 077: the group still reads the pictures (one left 0600 before is put right)
# and enters the folders made.
work=$tmp/private-umask
mkdir "$work" && chmod 2770 "$work"
(umask 077 && launch VELLACOURT_HOME="$work")
chmod 600 "$work/logo/halvern2.bmp"
(umask 077 && launch VELLACOURT_HOME="$work")
check test "$(stat -c %a "$work/topics")" = 2770
for f in Images/euclid.jpg logo/halvern2.bmp multiple/track.txt; do check test "$(stat -c %a "$work/$f")" = 664; done

# Every other spelling of Images (63 of them) is left as it stands, not filled with pictures.
work=$tmp/spellings
mkdir -p "$work"
lower=images
for n in $(seq 0 63); do
    name=
    for i in 0 1 2 3 4 5; do c=${lower:i:1}; ((n >> i & 1)) && c=${c^}; name+=$c; done
    [ "$name" = Images ] || mkdir "$work/$name"
done
launch VELLACOURT_HOME="$work"
same "$work/Images/euclid.jpg" "$data/Images/euclid.jpg"
check test "$(find "$work" -mindepth 2 -maxdepth 2 -ipath "$work/images/*" ! -path "$work/Images/*" | wc -l)" = 0

# A pupil swapping folders and files for links to a teacher's private ones during 100 starts.
work=$tmp/raced
launch VELLACOURT_HOME="$work"
teacher=$tmp/teacher && mkdir -m 700 "$teacher"
echo "private" > "$teacher/.profile" && cp "$teacher/.profile" "$tmp/profile.before"
(
    while [ ! -e "$tmp/stop" ]; do
        for f in guide1.wmf guide2.wmf Euclid.txt track.txt; do ln -sfn "$teacher/.profile" "$work/wmf/$f" 2>/dev/null || true; done
        mv -T "$work/multiple" "$work/multiple.away" 2>/dev/null && ln -sfn "$teacher" "$work/multiple" &&
            rm -f "$work/multiple" 2>/dev/null && mv -T "$work/multiple.away" "$work/multiple" 2>/dev/null || true
    done
) &
pupil=$!
for i in $(seq 100); do launch VELLACOURT_HOME="$work" || true; done
touch "$tmp/stop"
wait "$pupil"
same "$teacher/.profile" "$tmp/profile.before"
check test "$(ls -A "$teacher")" = ".profile"

# No library is loaded from the working folder, whatever LD_LIBRARY_PATH holds: the launcher keeps only
# its absolute folders, and the program started directly there starts itself again without the rest. A
# library planted as the picture reader's own (loaded when the title's picture is read) leaves a mark if run.
launch VELLACOURT_HOME="$tmp/school" LD_LIBRARY_PATH=":/nowhere::lib:"
check test "$(sed -n 3p "$tmp/started")" = "/nowhere"
# (The reader binds every function as it loads, so the planted library has all it asks for, doing nothing.)
plugin=$(find /usr/lib -name libqjpeg.so -path '*qt6*' | head -1)
{
    printf '%s\n' '#include <fcntl.h>' '#include <unistd.h>' \
        '__attribute__((constructor)) static void ran(void) { close(open("planted-ran", O_WRONLY | O_CREAT, 0644)); }'
    nm -D --undefined-only "$plugin" | sed -n 's/.* U \(jpeg_[A-Za-z_]*\)@LIBJPEG_6.2$/void \1(void) {}/p'
} > "$tmp/planted.c"
echo 'LIBJPEG_6.2 { global: *; };' > "$tmp/planted.map"
cc -shared -fPIC -Wl,--version-script="$tmp/planted.map" -o "$tmp/school/libjpeg.so.62" "$tmp/planted.c"
(cd "$tmp" && env LD_LIBRARY_PATH=: QT_QPA_PLATFORM=offscreen VELLACOURT_HOME="$tmp/school" VELLACOURT_DATA="$data" \
    VELLACOURT_PROGRAM="$build/vellacourt" VELLACOURT_REFRESHER="$build/vellacourt-refresh" timeout 5 "$launcher") || true
(cd "$tmp/school" && env LD_LIBRARY_PATH=: QT_QPA_PLATFORM=offscreen timeout 5 "$build/vellacourt") || true
check test ! -e "$tmp/school/planted-ran"
# The same library named by an absolute entry is loaded: the mark above would have been seen.
(cd "$tmp/school" && env LD_LIBRARY_PATH="$tmp/school" QT_QPA_PLATFORM=offscreen timeout 5 "$build/vellacourt" 2>/dev/null) || true
check test -e "$tmp/school/planted-ran"
