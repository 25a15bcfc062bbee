#!/usr/bin/env bash
# The data check's rules for the wish bubble's pictures and the fish frames,
# each against a small broken fixture of its own.
# Called as: bash data_check_shop.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check_shop.sh <binary> <source dir>}"
exec /usr/bin/python3 "$source_dir/tools/datagen/check_shop_test.py"
