#!/usr/bin/env bash
# The window on a real X server (Xvfb, one display mode of 1024 x 768): the
# game shows its window titled "Corvalen" fullscreen at the default mode with
# the menu backdrop drawn, and
# an 800 x 600 client area once switched to windowed (command 40003, sent by
# the GameAppWindowTest case of game_tests). Screenshots of each are kept in
# <build>/app-screenshots/.
# Called as: bash app_window_xvfb.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
game_run_setup app_window_xvfb.sh "$@"
build_dir="$(dirname "$binary")"
game_tests="$build_dir/tests/game_tests"
shots="$build_dir/app-screenshots"
convert=/usr/bin/convert
show_on_failure+=("$work/game.stderr" "$work/tests.out")
[ -x "$game_tests" ] || fail "game_tests not built next to the binary ($game_tests)"
mkdir -p "$shots"
# Only this script's own pictures: the other scripts keep theirs here too,
# and may be running.
rm -f "$shots"/fullscreen.png "$shots"/windowed.png "$shots"/game-fullscreen.png

# A white root window: whatever the game does not cover shows up white.
start_xvfb 1024x768x24 -wr

# The real program: its window, fullscreen at 1024 x 768.
timeout -k 60 600 "$binary" 2>"$work/game.stderr" &
pid=$!
# The window takes its fullscreen size before it moves to the corner: wait
# for both. SDL may make the X window again when the renderer comes, so the
# window is looked up afresh each time.
since="$SECONDS"
while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
    find_window
    placement="$(xdotool getwindowgeometry "$window" 2>/dev/null)" || placement=""
    geometry="$(sed -n 's/.*Geometry: //p' <<<"$placement")"
    position="$(sed -n 's/.*Position: \([0-9]*,[0-9]*\).*/\1/p' <<<"$placement")"
    [ "$geometry" = "1024x768" ] && [ "$position" = "0,0" ] && break
    sleep 0.05
done
[ "$geometry" = "1024x768" ] || fail "the game window is $geometry, not 1024x768"
[ "$position" = "0,0" ] || fail "the fullscreen window stands at $position, not 0,0"
# Start-up shows the splash pictures and the loading screen: once the game
# has drawn (later in a slow build, such as the sanitizer one), the white root
# must not show anywhere along the screen's edges.
white_edge=""
since="$SECONDS"
while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
    sleep 1
    import -window root "$shots/game-fullscreen.png" || fail "no screenshot"
    white_edge=""
    for edge in 1024x1+0+0 1024x1+0+767 1x768+0+0 1x768+1023+0; do
        [ "$("$convert" "$shots/game-fullscreen.png" -crop "$edge" +repage -format '%[fx:minima==1]' info:)" = 0 ] ||
            white_edge="$edge"
    done
    [ -z "$white_edge" ] && break
done
[ -z "$white_edge" ] || fail "the root window shows along the edge $white_edge"
close_game

# Fullscreen, then windowed through command 40003, each photographed.
rc=0
CORVALEN_SCREENSHOT_DIR="$shots" timeout -k 5 600 "$game_tests" \
    --gtest_filter='GameAppWindowTest.*' >"$work/tests.out" 2>&1 || rc=$?
[ "$rc" -eq 0 ] || fail "GameAppWindowTest failed"
grep -qF "[       OK ] GameAppWindowTest.ScreenshotsOfFullscreenAndWindowed" "$work/tests.out" ||
    fail "GameAppWindowTest did not run"
# The menu's backdrop fills the whole screen in fullscreen.
[ "$("$convert" "$shots/fullscreen.png" -format '%w %h' info:)" = "1024 768" ] ||
    fail "fullscreen.png is not a 1024 x 768 screen"
[ "$("$convert" "$shots/fullscreen.png" -format '%[fx:maxima>0]' info:)" = "1" ] ||
    fail "fullscreen.png is black: the menu's backdrop is missing"
for edge in 1024x1+0+0 1024x1+0+767 1x768+0+0 1x768+1023+0; do
    [ "$("$convert" "$shots/fullscreen.png" -crop "$edge" +repage -format '%[fx:minima==1]' info:)" = 0 ] ||
        fail "the root window shows along the edge $edge of fullscreen.png"
done
# Trimmed of the white root, the windowed screenshot is the window's client
# area, whose corners the menu leaves black.
trimmed="$("$convert" "$shots/windowed.png" -trim -format '%w %h' info:)"
[ "$trimmed" = "800 600" ] || fail "windowed.png shows $trimmed, not an 800 x 600 area"
echo "app_window_xvfb: 1 passed, 0 failed"
