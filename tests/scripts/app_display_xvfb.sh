#!/usr/bin/env bash
# The game on real X servers with one display mode each, through the
# GameAppCursorTest and GameAppDesktopTest cases of game_tests:
# - 800 x 600, narrower than the design width: relative mouse motion takes
#   the fullscreen cursor to both edges, and after the window is unmapped,
#   mapped and focused the pointer is confined again;
# - 1280 x 1024 (5:4): the splash pictures get a letterbox band in
#   fullscreen and none in windowed mode.
# Called as: bash app_display_xvfb.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
game_run_setup app_display_xvfb.sh "$@"
game_tests="$(dirname "$binary")/tests/game_tests"
show_on_failure+=("$work/tests.out")
[ -x "$game_tests" ] || fail "game_tests not built next to the binary ($game_tests)"
# Out of the folder with the shipped data: no splash pictures to wait for.
cd "$work"

# Runs the game_tests cases matching $1 with the variable $2 set.
run_cases() {
    local filter="$1" variable="$2" rc=0
    env "$variable=1" timeout -k 5 600 "$game_tests" --gtest_filter="$filter" \
        >"$work/tests.out" 2>&1 || rc=$?
    [ "$rc" -eq 0 ] || fail "$filter failed"
    grep -qF "[       OK ] ${filter%\*}" "$work/tests.out" || fail "$filter did not run"
}

start_xvfb 800x600x24
run_cases 'GameAppCursorTest.*' CORVALEN_XVFB_800
stop_xvfb

start_xvfb 1280x1024x24
run_cases 'GameAppDesktopTest.*' CORVALEN_XVFB_1280
stop_xvfb
echo "app_display_xvfb: 2 passed, 0 failed"
