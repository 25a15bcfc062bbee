#!/usr/bin/env bash
# The data check's rules for the session screens and the tunes (texts on the
# overlay panel and the pet choice, comic captions, the map's islands, dots
# and names, the tunes' length and loop seam), each against a small broken
# fixture of its own.
# Called as: bash data_check_scenes.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check_scenes.sh <binary> <source dir>}"
exec /usr/bin/python3 "$source_dir/tools/datagen/check_scenes_test.py"
