#!/usr/bin/env bash
# Shared by run.sh and test.sh: install what a fresh Debian machine lacks, then
# configure and build into build/.
set -euo pipefail

CORVALEN_PACKAGES=(
    build-essential cmake pkg-config libgtest-dev libbenchmark-dev
    libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libloki-dev libxmp-dev
    python3 python3-pil python3-numpy fonts-dejavu-core
    xvfb xdotool imagemagick sox
)

corvalen_install_packages() {
    local missing=()
    for package in "${CORVALEN_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    # Another install running on the machine holds the package manager's lock:
    # wait for it (up to ten minutes) instead of failing at once.
    local apt=(apt-get -o DPkg::Lock::Timeout=600)
    $sudo env DEBIAN_FRONTEND=noninteractive "${apt[@]}" update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y -qq "${missing[@]}"
}

corvalen_build() {
    local top
    top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$top/build" --parallel "$(nproc)"
}
