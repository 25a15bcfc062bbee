#!/usr/bin/env bash
# The data check's rule for the play HUD's texts, against a broken font of
# its own.
# Called as: bash data_check_hud.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check_hud.sh <binary> <source dir>}"
exec /usr/bin/python3 "$source_dir/tools/datagen/check_hud_test.py"
