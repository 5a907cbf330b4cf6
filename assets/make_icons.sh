#!/usr/bin/env bash
# Renders assets/icon.svg into packaging/icons (hicolor: PNG sizes and the scalable SVG). Needs qt6-svg-dev.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
g++ -std=c++20 -fPIC -O1 "$here/make_icons.cpp" -o "$build/make_icons" $(pkg-config --cflags --libs Qt6Svg Qt6Gui)
QT_QPA_PLATFORM=offscreen "$build/make_icons" "$here/icon.svg" "$here/../packaging/icons"
echo "icons written to packaging/icons"
