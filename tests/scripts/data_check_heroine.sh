#!/usr/bin/env bash
# The data check's rule for the heroine's footwear sheets, against broken
# fixtures of its own.
# Called as: bash data_check_heroine.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check_heroine.sh <binary> <source dir>}"
exec /usr/bin/python3 "$source_dir/tools/datagen/check_heroine_test.py"
