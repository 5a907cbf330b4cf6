#!/usr/bin/env bash
# The launcher on a shared working folder that others can write to: planted links leave what they
# point at untouched, linked folders are refused, copies are whole for a reader at every moment,
# and odd but honest settings (a relative folder, one named "-…", no HOME) still start the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
launcher=$root/packaging/vellacourt-numerists
data=$root/data
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0
ok() { passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; exit 1; }

# A stand-in for the program: notes where it started and any problem it was handed.
cat > "$tmp/program" <<'EOF'
#!/bin/sh
pwd > "$STUB_LOG"
echo "${VELLACOURT_PROBLEM:-}" >> "$STUB_LOG"
echo "${VELLACOURT_NOTICE:-}" > "$STUB_LOG.notice"
EOF
chmod +x "$tmp/program"
launch() {  # launch [VAR=value ...] [env -u VAR ...]: runs the launcher with the stand-in, in $tmp
    (cd "$tmp" && env HOME="$tmp/home" XDG_DATA_HOME= VELLACOURT_DATA="$data" VELLACOURT_PROGRAM="$tmp/program" \
        VELLACOURT_REFRESHER="$build/vellacourt-refresh" \
        STUB_LOG="$tmp/started" "$@" "$launcher" 2> "$tmp/stderr")
}
same() { cmp -s "$1" "$2" || fail "$1 differs from $2"; }

# Links planted in the working folder: the catalogue index and another user's file stay as they
# were; the links themselves are replaced by the program's files.
work=$tmp/school
launch VELLACOURT_HOME="$work"
printf ' 1 \r\nMine\r\n' > "$work/multiple/track.txt"
cp "$work/multiple/track.txt" "$tmp/track.before"
echo "someone else's notes" > "$tmp/victim"
cp "$tmp/victim" "$tmp/victim.before"
ln -sf "$work/multiple/track.txt" "$work/multiple/Euclid.txt"
ln -sf "$tmp/victim" "$work/wmf/guide1.wmf"
ln -sf "$tmp/victim" "$work/Images/missing-target.jpg"
launch VELLACOURT_HOME="$work"
same "$work/multiple/track.txt" "$tmp/track.before"
same "$tmp/victim" "$tmp/victim.before"
[ ! -L "$work/multiple/Euclid.txt" ] && same "$work/multiple/Euclid.txt" "$data/multiple/Euclid.txt"
[ ! -L "$work/wmf/guide1.wmf" ] && same "$work/wmf/guide1.wmf" "$data/wmf/guide1.wmf"
[ "$(head -1 "$tmp/started")" = "$work" ] || fail "the program did not start in $work"
ok

# A worksheet that is a link is left alone (the folder only gains what it lacks).
rm "$work/multiple/track.txt"
ln -s "$tmp/victim" "$work/multiple/track.txt"
launch VELLACOURT_HOME="$work"
[ -L "$work/multiple/track.txt" ] && same "$tmp/victim" "$tmp/victim.before"
ok

# A linked folder is refused, with the reason handed to the program, and nothing lands in it.
mkdir "$tmp/elsewhere"
rm -rf "$work/logo"
ln -s "$tmp/elsewhere" "$work/logo"
launch VELLACOURT_HOME="$work"
[ -z "$(ls -A "$tmp/elsewhere")" ] || fail "files were written through a linked folder"
grep -q "logo is not a folder of its own" "$tmp/started" || fail "the linked folder was not said"
grep -q "logo is not a folder of its own" "$tmp/stderr" || fail "the linked folder was not said on stderr"
rm "$work/logo"
ok

# Files already the same are not written again; a copy that fails is reported and the rest go on.
touch -d '2001-01-01' "$work/wmf/guide2.wmf"
rm "$work/Images/euclid.jpg"
mkdir "$work/Images/euclid.jpg"
launch VELLACOURT_HOME="$work"
[ "$(stat -c %Y "$work/wmf/guide2.wmf")" = "$(date -d 2001-01-01 +%s)" ] || fail "an unchanged file was rewritten"
grep -q "could not refresh $work/Images/euclid.jpg" "$tmp/stderr" || fail "a failed copy was not reported"
[ -z "$(tail -1 "$tmp/started")" ] && same "$work/logo/halvern2.bmp" "$data/logo/halvern2.bmp"
grep -q "could not be brought up to date" "$tmp/started.notice" || fail "the program was not told of the failed copy"
[ -z "$(find "$work" -name '.*.new')" ] || fail "the refresh left a new file behind"
ok

# A relative folder, a folder whose name starts with "-", and no HOME at all.
launch VELLACOURT_HOME=relative
[ "$(head -1 "$tmp/started")" = "$tmp/relative" ] && same "$tmp/relative/Images/euclid.jpg" "$data/Images/euclid.jpg"
launch VELLACOURT_HOME=-dash
same "$tmp/-dash/wmf/guide1.wmf" "$data/wmf/guide1.wmf"
launch env -u HOME XDG_DATA_HOME="$tmp/xdg"
[ "$(head -1 "$tmp/started")" = "$tmp/xdg/vellacourt-numerists" ] || fail "no HOME: the program did not start"
ok

# Ten starts at once, each after Euclid's quiz was replaced whole: a reader never sees it short.
work=$tmp/busy
launch VELLACOURT_HOME="$work"
want=$(cat "$data/multiple/Euclid.txt")
(
    end=$((SECONDS + 4))
    while [ $SECONDS -lt $end ]; do
        got=$(cat "$work/multiple/Euclid.txt")
        [ "$got" = "$want" ] || [ "$got" = "an old copy" ] || { echo "partial read" > "$tmp/partial"; break; }
    done
) &
reader=$!
for round in 1 2 3 4 5 6; do
    echo "an old copy" > "$work/multiple/.old" && mv -f "$work/multiple/.old" "$work/multiple/Euclid.txt"
    starts=()
    for i in 1 2 3 4 5 6 7 8 9 10; do
        launch VELLACOURT_HOME="$work" &
        starts+=($!)
    done
    wait "${starts[@]}"
done
wait "$reader"
[ ! -e "$tmp/partial" ] || fail "a reader saw Euclid's quiz partly written"
same "$work/multiple/Euclid.txt" "$data/multiple/Euclid.txt"
ok

# A school's folder (group write, setgid) prepared by a first teacher whose umask is 022: its new
# folders are the group's too. A folder the group cannot write is said, with what to run.
work=$tmp/shared
mkdir "$work" && chmod 2770 "$work"
(umask 022 && launch VELLACOURT_HOME="$work")
for folder in Images logo wmf wmf2 multiple; do
    [ "$(stat -c %a "$work/$folder")" = 2770 ] || fail "$folder was made $(stat -c %a "$work/$folder"), not 2770"
done
chmod 2750 "$work/multiple"
launch VELLACOURT_HOME="$work"
grep -q "chmod -R g+ws \"$work/multiple\"" "$tmp/started.notice" || fail "a folder the group cannot write was not said"
chmod 2770 "$work/multiple"
ok

# A folder spelt in another case (the program finds "images" as well as "Images") is kept up to date too.
mkdir "$work/images"
echo planted > "$work/images/euclid.jpg"
launch VELLACOURT_HOME="$work"
same "$work/images/euclid.jpg" "$data/Images/euclid.jpg"
ok

# A pupil acting while the launcher runs: the subfolders swapped for links to the teacher's home,
# and the files in them for links to the teacher's private files, over and over during 100 starts.
work=$tmp/raced
launch VELLACOURT_HOME="$work"
teacher=$tmp/teacher && mkdir -m 700 "$teacher"
echo "private" > "$teacher/.profile" && cp "$teacher/.profile" "$tmp/profile.before"
(
    while [ ! -e "$tmp/stop" ]; do
        for f in guide1.wmf guide2.wmf Euclid.txt track.txt; do
            ln -sfn "$teacher/.profile" "$work/wmf/$f" 2>/dev/null || true
        done
        mv -T "$work/multiple" "$work/multiple.away" 2>/dev/null && ln -sfn "$teacher" "$work/multiple" &&
            rm -f "$work/multiple" 2>/dev/null && mv -T "$work/multiple.away" "$work/multiple" 2>/dev/null || true
    done
) &
pupil=$!
for i in $(seq 100); do launch VELLACOURT_HOME="$work" || true; done
touch "$tmp/stop"
wait "$pupil"
same "$teacher/.profile" "$tmp/profile.before"
[ "$(ls -A "$teacher")" = ".profile" ] || fail "files were written into the teacher's folder: $(ls -A "$teacher")"
ok

echo "launcher: $passed passed, 0 failed"
