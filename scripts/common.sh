# Shared by run.sh and test.sh: install what is missing, then build.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
# The print tests run a private print spooler of their own and read the PDF it keeps; the screen
# reader's test runs a private session bus, accessibility bus and X server, reads through pyatspi and
# hears through Orca, which speaks to a stand-in speech server that writes down what it would say.
PACKAGES=(g++ make cmake pkg-config qt6-base-dev libgl-dev libxcb1-dev libxcb-randr0-dev libfontconfig-dev libcups2-dev libpaper-dev fonts-liberation fonts-wine
          cups-daemon cups-client poppler-utils
          dbus procps at-spi2-core python3-pyatspi orca python3-speechd xvfb xauth openbox python3-xlib python3-numpy python3-pil
          desktop-file-utils appstream dpkg-dev file)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD" -j"$(nproc)"
}
