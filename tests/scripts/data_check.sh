#!/usr/bin/env bash
# Checks the shipped data set (Resources/Data): every referenced file, the
# resource positions, the level and fish tables, the texts, and that the
# generator still makes the same files.
# Called as: bash data_check.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check.sh <binary> <source dir>}"
exec /usr/bin/python3 "$source_dir/tools/datagen/check_data.py" --root "$source_dir"
