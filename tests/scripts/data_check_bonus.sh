#!/usr/bin/env bash
# The data check's rules for the bonus level (its gulls and turtles, the
# creature pictures against their click boxes, the score bar's fill), each
# against a small broken fixture of its own.
# Called as: bash data_check_bonus.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check_bonus.sh <binary> <source dir>}"
exec /usr/bin/python3 "$source_dir/tools/datagen/check_bonus_test.py"
