#!/usr/bin/env bash
# The game starts on the data set it ships: every loading stage of the
# resource manager reports in log.html, and no line is an error ("Red").
# Called as: bash app_data_start.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
game_run_setup app_data_start.sh "$@"

timeout -k 60 600 "$binary" 2>"$work/stderr" &
pid=$!
# The last stage of the resources is the 3D animations; wait for its summary.
wait_for_log "Load is completed" "Loading 3D animations"
close_game

at=0
for heading in "Initializing language" "Initializing BASS:" "Loading intro textures:" \
    "Loading textures:" "Loading meshes:" "Loading samples:" "Loading streams:" \
    "Loading musics:" "Loading fonts:" "Loading 2D index animations:" "Loading 3D animations:" \
    "Releasing resources" "Log is finished"; do
    found="$(grep -nF -- "$heading" "$log" | head -n 1 | cut -d: -f1)"
    [ -n "$found" ] || fail "no stage: $heading"
    [ "$found" -gt "$at" ] || fail "stage out of order: $heading"
    at="$found"
done
! grep -qF "Color = Red" "$log" || fail "the log holds errors"
echo "app_data_start: 1 passed, 0 failed"
