#!/usr/bin/env bash
# The game starts on the data set it ships: every loading stage of the
# resource manager reports in log.html, and no line is an error ("Red").
# Called as: bash app_data_start.sh <corvalen binary> <source dir>
set -euo pipefail
binary="$(realpath "${1:?usage: app_data_start.sh <corvalen binary> <source dir>}")"
source_dir="$(realpath "${2:?usage: app_data_start.sh <corvalen binary> <source dir>}")"

work="$(mktemp -d)"
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
log="$work/data/Ostrel/Corvalen/log.html"
fail() {
    echo "FAIL: $*" >&2
    if [ -f "$log" ]; then echo "--- log.html" >&2; sed 's/<[^>]*>//g' "$log" | grep -v '^\s*$' >&2; fi
    exit 1
}

mkdir -p "$work/run/Resources" "$work/data" "$work/runtime"
ln -s "$source_dir/Resources/Data" "$work/run/Resources/Data"
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

cd "$work/run"
timeout -k 60 120 "$binary" 2>"$work/stderr" &
pid=$!
# The last stage of the resources is the 3D animations; wait for its summary.
for _ in $(seq 1 600); do
    sed -n '/Loading 3D animations/,$p' "$log" 2>/dev/null | grep -qF "Load is completed" && break
    kill -0 "$pid" 2>/dev/null || fail "the game ended during start-up"
    sleep 0.1
done
kill -TERM "$pid"
rc=0
wait "$pid" || rc=$?
pid=""
[ "$rc" -eq 0 ] || fail "exit code $rc after SIGTERM"

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
