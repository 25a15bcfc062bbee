#!/usr/bin/env bash
# A second start while the game runs is refused with "Game is already
# started." and exit code 0, and leaves the running game's log.html alone.
# Called as: bash app_second_instance.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
game_run_setup app_second_instance.sh "$@"
show_on_failure+=("$work/first.stderr" "$work/second.stderr")

timeout -k 60 600 "$binary" 2>"$work/first.stderr" &
pid=$!
wait_for_log "Initializing DirectInput8 devices"
cp "$log" "$work/before.html"

rc=0
timeout -k 5 120 "$binary" 2>"$work/second.stderr" || rc=$?
[ "$rc" -eq 0 ] || fail "the second start ended with exit code $rc"
grep -qF "Game is already started." "$work/second.stderr" || fail "no refusal text"
kill -0 "$pid" 2>/dev/null || fail "the first game did not survive the second start"

# The log only ever grows: what the first game wrote is all still there.
size="$(stat -c %s "$work/before.html")"
cmp -s -n "$size" "$work/before.html" "$log" || fail "the second start changed the log"
[ "$(grep -cF "Log is started" "$log")" -eq 1 ] || fail "the log was started twice"

close_game
grep -qF "Log is finished" "$log" || fail "the first game's log was not finished"
echo "app_second_instance: 1 passed, 0 failed"
