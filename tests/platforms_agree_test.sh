#!/usr/bin/env bash
# At the design's own size the fast tests draw offscreen. That is only sound while the offscreen
# platform shows what an X server shows: the screen tests save their screenshots on both (the X
# server's read back from it) and every picture must match to the pixel. (The boards that draw their
# problems at random differ from run to run: their pictures are left out, all but their score screens.)
# Usage: platforms_agree_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$tmp"' EXIT
for t in test_shell test_quiz test_activities test_pages; do
    SCREENSHOTS=$tmp/offscreen QT_QPA_PLATFORM=offscreen "$build/tests/$t" > "$tmp/$t-offscreen.log" 2>&1 ||
        { cat "$tmp/$t-offscreen.log"; exit 1; }
    SCREENSHOTS=$tmp/xcb QT_QPA_PLATFORM=xcb /usr/bin/python3 "$(dirname "$0")/xharness.py" 1024x768 \
        "$build/tests/$t" > "$tmp/$t-xcb.log" 2>&1 || { cat "$tmp/$t-xcb.log"; exit 1; }
done
/usr/bin/python3 - "$tmp/offscreen" "$tmp/xcb" <<'PY'
import os, sys
import numpy as np
from PIL import Image
offscreen, xcb = sys.argv[1], sys.argv[2]
def fixed(folder):
    random = ("primes-", "triples-", "right-angles-", "sequences-", "roman-", "sieve-", "earth-", "lever-", "circles-",
              "equations-", "place-value-")
    return sorted(n for n in os.listdir(folder) if not n.startswith(random) or n.endswith("-score.png"))
names = fixed(offscreen)
assert names and names == fixed(xcb), \
    "the two runs saved different screenshots"
bad = []
for name in names:
    a = np.asarray(Image.open(os.path.join(offscreen, name)).convert("RGB")).astype(int)
    b = np.asarray(Image.open(os.path.join(xcb, name)).convert("RGB")).astype(int)
    if a.shape != b.shape:
        bad.append(f"{name}: {a.shape[1]} x {a.shape[0]} offscreen, {b.shape[1]} x {b.shape[0]} on X")
        continue
    differing = int((np.abs(a - b).max(axis=2) > 0).sum())
    if differing:
        bad.append(f"{name}: {differing} pixels differ")
print(f"{len(names)} screenshots compared")
if bad:
    sys.exit("offscreen and the X server differ:\n  " + "\n  ".join(bad))
PY
