#!/usr/bin/env bash
# A second start while the game runs is refused with "Game is already
# started." and exit code 0, and leaves the running game's log.html alone.
# Called as: bash app_second_instance.sh <corvalen binary> <source dir>
set -euo pipefail
binary="$(realpath "${1:?usage: app_second_instance.sh <corvalen binary> <source dir>}")"
source_dir="$(realpath "${2:?usage: app_second_instance.sh <corvalen binary> <source dir>}")"

work="$(mktemp -d)"
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    for file in "$log" "$work/first.stderr" "$work/second.stderr"; do
        if [ -f "$file" ]; then echo "--- $file" >&2; cat "$file" >&2; fi
    done
    exit 1
}

mkdir -p "$work/run/Resources" "$work/data" "$work/runtime"
ln -s "$source_dir/Resources/Data" "$work/run/Resources/Data"
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
log="$work/data/Ostrel/Corvalen/log.html"

cd "$work/run"
timeout -k 60 120 "$binary" 2>"$work/first.stderr" &
pid=$!
for _ in $(seq 1 600); do
    grep -qF "Initializing DirectInput8 devices" "$log" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || fail "the first game ended during start-up"
    sleep 0.1
done
grep -qF "Initializing DirectInput8 devices" "$log" || fail "the first game did not start"
cp "$log" "$work/before.html"

rc=0
timeout -k 5 30 "$binary" 2>"$work/second.stderr" || rc=$?
[ "$rc" -eq 0 ] || fail "the second start ended with exit code $rc"
grep -qF "Game is already started." "$work/second.stderr" || fail "no refusal text"
kill -0 "$pid" 2>/dev/null || fail "the first game did not survive the second start"

# The log only ever grows: what the first game wrote is all still there.
size="$(stat -c %s "$work/before.html")"
cmp -s -n "$size" "$work/before.html" "$log" || fail "the second start changed the log"
[ "$(grep -cF "Log is started" "$log")" -eq 1 ] || fail "the log was started twice"

kill -TERM "$pid"
rc=0
wait "$pid" || rc=$?
pid=""
[ "$rc" -eq 0 ] || fail "the first game ended with exit code $rc"
grep -qF "Log is finished" "$log" || fail "the first game's log was not finished"
echo "app_second_instance: 1 passed, 0 failed"
