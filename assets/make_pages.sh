#!/usr/bin/env bash
# Remakes the reference pages (data/wmf, data/wmf2) and the logos (data/logo) from assets/pages
# and make_pages.cpp. Needs the fonts the program uses (fonts-liberation).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
g++ -std=c++20 -fPIC -O1 "$here/make_pages.cpp" -o "$build/make_pages" $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$build/make_pages" "$here" "$here/../data"
echo "pages written to data/wmf and data/wmf2, logos to data/logo"
