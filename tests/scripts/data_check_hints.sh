#!/usr/bin/env bash
# The data check's rules for the upgrade shop's hints (each ends with the
# price of what it offers and fills its panel) and for the credits (each
# heading has a line of its own under it), each against small broken
# fixtures of its own.
# Called as: bash data_check_hints.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check_hints.sh <binary> <source dir>}"
/usr/bin/python3 "$source_dir/tools/datagen/check_hints_test.py"
/usr/bin/python3 "$source_dir/tools/datagen/check_credits_test.py"
