#!/usr/bin/env bash
# The data check's rules for the instrument panel and its room (atlas cells
# kept apart, no two things of the panel overlapping, the room's windows,
# paintings and pieces clear of the panel and the HUD), each against a
# broken fixture of its own.
# Called as: bash data_check_panel.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check_panel.sh <binary> <source dir>}"
exec /usr/bin/python3 "$source_dir/tools/datagen/check_panel_test.py"
