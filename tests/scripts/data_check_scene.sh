#!/usr/bin/env bash
# The data check's rules for the menu backdrop, each against a small broken
# fixture of its own.
# Called as: bash data_check_scene.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check_scene.sh <binary> <source dir>}"
exec /usr/bin/python3 "$source_dir/tools/datagen/check_scene_test.py"
