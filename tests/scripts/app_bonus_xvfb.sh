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

# The map's PLAY opens the training's briefing, whose OK opens the floor;
# there the debug keys are typed once (typing them again would switch them
# off), and the debug win goes straight on to level index 2.
until_ok 1 "" press_play
until_ok 0 "" press_ok
debug_on
key_until_saved F7 "$(log_count "Save profiles data (")"
[ "$(level_index)" = 2 ] || fail "the training's debug win leads to level index $(level_index), not 2"
# Level index 2's briefing.
until_ok 1 "" true

# A level's briefing and floor, then the debug win once its start delay is
# over; the level-complete page's first OK shows every line, the second moves
# on to the map (and the shop where one comes), whose PLAY (and FINISH)
# start the next level, at level index `index`, with its briefing.
next_level() {
    until_ok 0 "" press_ok
    press_until F7 ok_state 1 ""
    until_ok 0 "" press_ok
    until_ok 1 "$1" press_play_or_finish
}
press_play_or_finish() {
    press_play
    press_finish
}
for index in 3 4 5 6; do
    next_level "$index"
done

# The bonus level: its own pictures load (a second "Loading textures:"), then
# the briefing, whose OK starts the mini-game. The start delay over, turtles
# swim and gulls come; the pointer hangs over the water as the hand.
wait_for_loads 2
shoot_settled briefing "$(box 262 400 762 700)" 3000
# The briefing goes with its OK; repeated while the machine lags.
click_until_changed started briefing "$(box 262 400 762 700)" 2000 499 626
xdotool mousemove --window "$window" 400 380
# The start delay over, the backdrop fills the frame: bright and varied, not
# black or one colour.
since="$SECONDS"
while :; do
    shoot level
    read -r mean spread <<<"$("$convert" "$(shot_file level)" -colorspace Gray \
        -format '%[fx:mean] %[fx:standard_deviation]' info:)"
    awk -v m="$mean" -v s="$spread" 'BEGIN { exit !(m > 0.15 && s > 0.05) }' && break
    [ $((SECONDS - since)) -lt "$progress_deadline" ] ||
        fail "the bonus level shows an empty frame (mean $mean, spread $spread)"
done
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

# The debug win: the level-complete page, whose OKs move on to level 7; the
# win and the OKs are given again until profiles.sav shows it.
debug_win() {
    hold_key_until F7 10 ok_state 1 "" || true
    press_ok
    sleep 0.5
    press_ok
    sleep 1.5
}
until_level 7 debug_win
shoot after
! grep -qF "Color = Red" "$log" || fail "the log holds errors"
close_game
echo "app_bonus_xvfb: 1 passed, 0 failed"
