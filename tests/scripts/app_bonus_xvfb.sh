#!/usr/bin/env bash
# The first bonus level of the whole program on a real X server (Xvfb
# 1024 x 768 x 24), driven with xdotool from fresh per-user files in an
# 800 x 600 window (screen scale 0.78125): a new player, Play, the comics,
# the turtle, the map, and the debug keys winning every level up to the first
# bonus level (level index 6 of the shipped levels.xml). There the briefing's
# OK starts the mini-game; a screenshot shows the bonus backdrop (not a black
# or empty frame), clicks in the gulls' air and on the water leave the game
# running, and the debug win ends the level: its OK moves the player on to
# level index 7. No error line in log.html; SIGTERM ends with exit code 0.
# Every level start writes profiles.sav, so the level index at offset 40 of
# the record tells where the game stands; each step is repeated until it
# shows there, which keeps the run steady on a loaded machine.
# Screenshots are kept in <build>/app-screenshots/bonus-*.png.
# Called as: bash app_bonus_xvfb.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
source "$(dirname "$0")/lib/menu_items.sh"
source "$(dirname "$0")/lib/play_input.sh"
game_run_setup app_bonus_xvfb.sh "$@"
shots="$(dirname "$binary")/app-screenshots"
convert=/usr/bin/convert
user="$work/data/Ostrel/Corvalen"
menu_xml="$source_dir/Resources/Data/menu.xml"
scale=0.78125
shot_file() { echo "$shots/bonus-$1.png"; }
show_on_failure+=("$work/game.stderr")
mkdir -p "$shots" "$user"
rm -f "$shots"/bonus-*.png
start_xvfb 1024x768x24

# The game's own buttons, by their design-space centre.
press_ok() { click_at 499 626; }       # OK of the briefing and the level-complete page
press_next() { click_at 972 731; }     # the comics' NEXT
press_turtle() { click_at 819 407; }   # the turtle of the pet choice
press_play() { click_at 137 722; }     # the map's PLAY
press_finish() { click_at 897 722; }   # the shop's FINISH
key() {
    xdotool key --delay 120 "$@"
    sleep 0.2
}

windowed_cfg='\026\0\0\0\0\004\0\0\0\003\0\0\001\0\0\0\106\0\0\0\137\0\0\0'
printf "$windowed_cfg" >"$user/config.cfg"
# Whole levels take longer than start_game's ten minutes on a very busy machine.
game_timeout=1200
start_game
xdotool type --delay 80 "Bonus"
xdotool key Return
wait_for_log "Complete" "Save profiles data ("
shoot root

# Play starts a new game for the new player at level index 1, the training.
click MAIN_1
wait_for_log "Save profiles data (" "Intro resources is released"
[ "$(level_index)" = 1 ] || fail "a new game is at level index $(level_index)"

# Comics and the pet choice until location 1's pictures load.
for _ in $(seq 1 20); do
    [ "$(loads)" -ge 1 ] && break
    sleep 0.5
    press_next
    press_next
    press_turtle
done
wait_for_loads 1

# The map, then the training's briefing; the debug keys are typed once in
# play (typing them again would switch them off).
training_step() {
    press_play
    sleep 1
    press_ok
    sleep 2.5
    key F7
    sleep 1
}
press_play
sleep 2
press_ok
sleep 2.5
key d e b u g
until_level 2 training_step

# The debug win after the level's start delay and the level-complete page's
# two OKs: the first shows every line, the second moves on.
debug_win() {
    key F7
    sleep 1
    press_ok
    sleep 0.5
    press_ok
    sleep 1.5
}

# A story level: map and shop where they come, the briefing, the debug win.
story_step() {
    press_play
    sleep 1
    press_finish
    sleep 1
    press_ok
    sleep 2.5
    debug_win
}
for index in 3 4 5 6; do
    until_level "$index" story_step
done

# The bonus level: its own pictures load (a second "Loading textures:"), then
# the briefing, whose OK starts the mini-game. The start delay over, turtles
# swim and gulls come; the pointer hangs over the water as the hand.
wait_for_loads 2
sleep 2
shoot briefing
press_ok
sleep 1
shoot started
# The briefing goes with its OK; repeated while the machine lags.
for _ in $(seq 1 10); do
    [ "$(differing briefing started "$(box 262 400 762 700)" 10%)" -gt 2000 ] && break
    press_ok
    sleep 1
    shoot started
done
xdotool mousemove --window "$window" 400 380
sleep 8
shoot level
# The backdrop fills the frame: bright and varied, not black or one colour.
read -r mean spread <<<"$("$convert" "$(shot_file level)" -colorspace Gray \
    -format '%[fx:mean] %[fx:standard_deviation]' info:)"
awk -v m="$mean" -v s="$spread" 'BEGIN { exit !(m > 0.15 && s > 0.05) }' ||
    fail "the bonus level shows an empty frame (mean $mean, spread $spread)"
# The yellow goal line, centred at design x 900, ends inside the frame: no
# yellow in the window's last 4 columns at its height.
[ "$("$convert" "$(shot_file level)" -crop 4x40+796+560 +repage \
    -fx 'r > 150/255 && g > 150/255 && b < 60/255' -format '%[fx:mean * w * h]' info:)" = 0 ] ||
    fail "the goal line runs past the right edge"

# Clicks in the gulls' air and on the water: the game keeps running.
for spot in "200 200" "500 150" "800 250" "300 540" "700 560"; do
    read -r x y <<<"$spot"
    click_at "$x" "$y"
done
kill -0 "$pid" 2>/dev/null || fail "the game ended after the clicks on the bonus level"
shoot clicked

# The debug win: the level-complete page, whose OKs move on to level 7.
until_level 7 debug_win
shoot after
! grep -qF "Color = Red" "$log" || fail "the log holds errors"
close_game
echo "app_bonus_xvfb: 1 passed, 0 failed"
