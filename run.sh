#!/usr/bin/env bash
# Two commands for a fresh Debian 12 machine:
#   ./run.sh gallery   build and start the gallery (no display: render every page to gallery-shots/)
#   ./run.sh test      build and run the whole test suite through CTest
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)
BUILD="$ROOT/build"

# libqt6opengl6-dev is only recommended by qt6-base-dev, but the Designer's CMake package needs it.
# at-spi2-core, python3-pyatspi and dbus let the suite read the components as a screen reader does.
PACKAGES=(cmake g++ make qt6-base-dev libqt6opengl6-dev qt6-tools-dev qt6-tools-dev-tools libgtest-dev
          libbenchmark-dev fonts-dejavu-core xvfb xauth at-spi2-core python3-pyatspi dbus)

ensure_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "run.sh: installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build() {
    ensure_packages
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$BUILD" -j2
}

case "${1:-}" in
    gallery)
        build
        if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
            out="$ROOT/gallery-shots"
            QT_QPA_PLATFORM=offscreen "$BUILD/gallery/korvane_gallery" --screenshot "$out"
            echo "No display: the gallery pages were rendered to $out/"
            ls "$out"
        else
            exec "$BUILD/gallery/korvane_gallery"
        fi
        ;;
    test)
        build
        # Build the font cache once, before parallel test processes would each try to.
        command -v fc-cache >/dev/null && fc-cache >/dev/null 2>&1 || true
        cd "$BUILD"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
        ;;
    *)
        echo "usage: $0 gallery|test" >&2
        exit 2
        ;;
esac
