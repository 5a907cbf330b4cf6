#!/usr/bin/env bash
# Redraws the program's pictures into data/Images from make_pictures.cpp.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
g++ -std=c++20 -fPIC -O1 "$here/make_pictures.cpp" -o "$build/make_pictures" $(pkg-config --cflags --libs Qt6Widgets)
QT_QPA_PLATFORM=offscreen "$build/make_pictures" "$here/../data/Images"
echo "pictures written to data/Images"
