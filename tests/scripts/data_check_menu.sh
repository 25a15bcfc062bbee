#!/usr/bin/env bash
# The data check's rules for menu.xml, each against a small broken fixture of
# its own.
# Called as: bash data_check_menu.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check_menu.sh <binary> <source dir>}"
exec /usr/bin/python3 -W ignore::ResourceWarning "$source_dir/tools/datagen/check_menu_test.py"
