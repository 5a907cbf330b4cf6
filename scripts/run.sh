#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program in its working folder (./run, or the
# folder named by VELLACOURT_HOME), prepared by the same launcher the installed program uses.
source "$(dirname "$0")/common.sh"
install_packages
build
export VELLACOURT_HOME=${VELLACOURT_HOME:-$ROOT/run}
export VELLACOURT_DATA=$ROOT/data VELLACOURT_PROGRAM=$BUILD/vellacourt
exec "$ROOT/packaging/vellacourt-numerists"
