#!/usr/bin/env bash
# The data check's rules for the statistics labels and the hint arrow's
# picture, each against a small broken fixture of its own.
# Called as: bash data_check_words.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check_words.sh <binary> <source dir>}"
exec /usr/bin/python3 "$source_dir/tools/datagen/check_words_test.py"
