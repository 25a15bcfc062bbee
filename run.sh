#!/usr/bin/env bash
# Install what is missing, build, and start the game from the repository folder.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
corvalen_install_packages
corvalen_build
exec ./build/corvalen "$@"
