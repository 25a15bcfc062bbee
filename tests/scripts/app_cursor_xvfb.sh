#!/usr/bin/env bash
# The fullscreen cursor on a real X server whose only mode (800 x 600) is
# narrower than the design width: the GameAppCursorTest case of game_tests
# moves the mouse with relative motion to both edges, then unmaps, maps and
# focuses the window and expects the pointer confined again.
# Called as: bash app_cursor_xvfb.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
game_run_setup app_cursor_xvfb.sh "$@"
game_tests="$(dirname "$binary")/tests/game_tests"
show_on_failure+=("$work/tests.out")
[ -x "$game_tests" ] || fail "game_tests not built next to the binary ($game_tests)"

start_xvfb 800x600x24
# Out of the folder with the shipped data: no splash pictures to wait for.
cd "$work"

rc=0
CORVALEN_XVFB_800=1 timeout -k 5 120 "$game_tests" \
    --gtest_filter='GameAppCursorTest.*' >"$work/tests.out" 2>&1 || rc=$?
[ "$rc" -eq 0 ] || fail "GameAppCursorTest failed"
grep -qF "[       OK ] GameAppCursorTest." "$work/tests.out" || fail "GameAppCursorTest did not run"
echo "app_cursor_xvfb: 1 passed, 0 failed"
