#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program in its working folder.
# The working folder (default: ./run, or VELLACOURT_HOME) is seeded from data/; worksheets a
# teacher saved there, and the catalogue index, are never overwritten.
source "$(dirname "$0")/common.sh"
install_packages
build
WORK=${VELLACOURT_HOME:-$ROOT/run}
mkdir -p "$WORK/multiple"
# The program's own pictures and pages are refreshed; the worksheets folder only gains missing files.
(cd "$ROOT/data" && find . -type f ! -path './multiple/*' -exec cp --parents -f {} "$WORK/" \;)
cp -rn "$ROOT/data/multiple/." "$WORK/multiple/"
cp -f "$ROOT/data/multiple/Euclid.txt" "$WORK/multiple/" 2>/dev/null || true
cd "$WORK"
exec "$BUILD/vellacourt"
