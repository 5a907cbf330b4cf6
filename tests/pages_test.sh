#!/usr/bin/env bash
# The page generator: the shipped pages are exactly what the sources in assets/ make, and a page
# whose title is wider than the card, or whose text leaves less room below than above, is refused.
set -euo pipefail
make_pages=$1
root=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export QT_QPA_PLATFORM=offscreen

"$make_pages" "$root/assets" "$tmp/data" 2> "$tmp/log" || { cat "$tmp/log"; exit 1; }
for folder in wmf wmf2 logo; do
    diff -r "$tmp/data/$folder" "$root/data/$folder" > /dev/null ||
        { echo "data/$folder is not what assets/ makes: run assets/make_pages.sh"; exit 1; }
done

refused() {  # refused WHY: the page in $tmp/bad is refused, saying WHY
    if "$make_pages" "$tmp/bad" "$tmp/out" 2> "$tmp/log"; then echo "accepted: $1"; exit 1; fi
    grep -q "$1" "$tmp/log" || { echo "refused without saying \"$1\":"; cat "$tmp/log"; exit 1; }
}
mkdir -p "$tmp/bad/pages"
printf '# Teachers'"'"' Guide: catalogue, printing and files\nA line.\n' > "$tmp/bad/pages/title.txt"
refused "is wider than the page"
rm "$tmp/bad/pages/title.txt"
{ echo "# A full page"; for i in $(seq 17); do echo "One more line of a page that is nearly full."; done; } \
    > "$tmp/bad/pages/full.txt"
"$make_pages" "$tmp/bad" "$tmp/out" 2> "$tmp/log" || { echo "a page with room to spare was refused"; cat "$tmp/log"; exit 1; }
echo "One line too many." >> "$tmp/bad/pages/full.txt"
refused "from the foot of the page"
echo "pages: 4 passed, 0 failed"
