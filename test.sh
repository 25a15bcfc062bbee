#!/usr/bin/env bash
# Install what is missing, build, and run every test headless.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
corvalen_install_packages
corvalen_build
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
cd build
ctest --output-on-failure --parallel "$(nproc)" "$@"
