#!/usr/bin/env bash
# The screen tour: the whole program on a real X server (Xvfb 1024 x 768 x
# 24), windowed (800 x 600, screen scale 0.78125), played by clicks and keys
# as a player gives them, keeps one screenshot of every screen as
# <build>/app-screenshots/tour-*.png for a look by eye. The debug keys of
# docs/debug.md (F7 wins a level, F6 jumps to the next location) stand in for
# the hours of play between the screens.
# 1. The menus of a first start: the name entry, the root page, the players,
#    options, high-score and credits pages.
# 2. A new game: the comics, the pet choice, the map, the training's briefing
#    and a tip of the first training; story level 1's briefing and floor with
#    an order card placed (a fish in the first aquarium), the heroine carrying
#    the finished set, the pause overlay (Escape) and the level-complete
#    overlay (F7); the map and the upgrade shop, the machine's hint with a
#    price above the savings, then savings added (F5) and the machine
#    selected, so that BUY shows beside its hint; the levels up
#    to the first bonus level, its briefing and the mini-game.
# 3. F6: the second location's comic, map and floor, the floor once more with
#    the machine bought up to level 2, and a tip of the second training
#    (level index 24); F6: the third location's comic, map and floor, and its
#    floor with the machine at level 3; F6 past the last level: the game
#    completed, with the high-score table.
# 4. Ann's game made one in progress at story level 2 with no tries left (a
#    game left right after the training would resume the training): the play
#    page; Continue, the map, the briefing and the floor; her day runs out
#    without a sale: the level-failed overlay.
# 5. Trying again with no tries left ends the game: game over with the
#    high-score table, and her record is reset. The credits once more.
# Each step waits on the log, profiles.sav or the screen changing, with
# generous deadlines. The log holds no errors; Exit ends the program.
# Called as: bash app_tour_xvfb.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
source "$(dirname "$0")/lib/menu_items.sh"
source "$(dirname "$0")/lib/play_input.sh"
play_setup app_tour_xvfb.sh tour "$@"

# The game's own buttons and the objects of location 1, by design point.
FINISH=(897 722)
ORDER_CARD=(975 714)
FIRST_AQUARIUM=(470 360)
ROCK=(725 68)
BLUE_GRASS=(658 106)
MACHINE=(521 100)
FINISHED_SET=(513 95)
page="$(box 0 0 1024 660)"
whole="$(box 0 0 1024 768)"

# Percent of the frame that shows a tip window's light-blue header.
tip_header() {
    /usr/bin/convert "$(shot_file "$1")" \
        -fx 'abs(r - 48/255) < 0.06 && abs(g - 112/255) < 0.06 && abs(b - 166/255) < 0.06' \
        -format '%[fx:mean * 100]' info:
}

# Waits for a tip window to show, fully faded in.
wait_tip() {
    local since="$SECONDS"
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        shoot "$1"
        awk -v p="$(tip_header "$1")" 'BEGIN { exit !(p > 1.5) }' && return 0
        kill -0 "$pid" 2>/dev/null || fail "the game ended before the tip $1"
        sleep 0.5
    done
    fail "no tip window for $1"
}

# The debug win after the level's start delay, then the level-complete
# overlay's two OKs: the first shows every line, the second moves on.
debug_win() {
    # Not shown within ten seconds (the level's start delay, a missed click
    # before): the caller's loop gives the step again.
    hold_key_until F7 10 ok_state 1 "" || true
    click_at "${BRIEFING_OK[@]}"
    sleep 0.5
    click_at "${BRIEFING_OK[@]}"
    sleep 1.5
}

# A story level from the map: the shop where it comes, the briefing, the win.
story_step() {
    click_at "${MAP_PLAY[@]}"
    sleep 1
    click_at "${FINISH[@]}"
    sleep 1
    click_at "${BRIEFING_OK[@]}"
    sleep 2.5
    debug_win
}

# Whether a new screenshot shows a comic page: its orange NEXT arrow in the
# corner, which no other page of the tour has there.
comic_shown() {
    shoot "$1"
    [ "$(/usr/bin/convert "$(shot_file "$1")" -crop "$(box 940 698 1017 762)" +repage \
        -fx 'r > 200/255 && g > 100/255 && g < 190/255 && b < 90/255' \
        -format '%[fx:round(mean * w * h)]' info:)" -gt 1000 ]
}

# After F6: the fade, the next location's comic page, whose NEXT loads the
# location's pictures and opens the map; its PLAY (and FINISH of a shop)
# leads to the briefing. Screenshots location-<n>-comic, -map, -briefing and
# -floor.
next_location() {
    local n="$1" before
    # F6 is not taken while pictures still load (after a bonus level), nor
    # while the loading screen stays up after them: pressed again until the
    # comic page shows.
    wait_for_loads "$(loads)"
    shoot "location-$n-before"
    press_until F6 comic_shown "location-$n-comic"
    shoot_settled "location-$n-comic" "$page"
    before="$(loads_done)"
    click_at "${NEXT_ARROW[@]}"
    wait_for_loads $((before + 1))
    shoot_until_changed "location-$n-map" "location-$n-comic" "$page" 5000
    shoot_settled "location-$n-map" "$page"
    click_until_changed "location-$n-played" "location-$n-map" "$page" 5000 "${MAP_PLAY[@]}"
    until_ok 1 "" click_at "${FINISH[@]}"
    shoot_settled "location-$n-briefing" "$(box 200 200 824 700)" 3000
    click_until_changed "location-$n-floor" "location-$n-briefing" "$(box 200 200 824 700)" 2000 "${BRIEFING_OK[@]}"
    # Orders come in while the day runs.
    sleep 8
    shoot "location-$n-floor"
}

# From the map: the shop, where the machine's upgrade is bought with savings
# added (F5), then the floor with the upgraded machine beside the shelf.
# Screenshots <name>-shop, <name>-briefing and <name>; the level is won after.
BUY=(652 722)
upgraded_floor() {
    local name="$1" x="$2" y="$3"
    click_at "${MAP_PLAY[@]}"
    shoot_settled "$name-shop" "$page" 3000
    keys F5
    click_at "$x" "$y"
    click_at "${BUY[@]}"
    sleep 1
    shoot "$name-shop"
    until_ok 1 "" click_at "${FINISH[@]}"
    shoot_settled "$name-briefing" "$(box 200 200 824 700)" 3000
    click_until_changed "$name" "$name-briefing" "$(box 200 200 824 700)" 2000 "${BRIEFING_OK[@]}"
    sleep 8
    shoot "$name"
    debug_win
}

# 1. The menus of a first start.
game_timeout=1500
printf '\026\0\0\0\0\004\0\0\0\003\0\0\001\0\0\0\106\0\0\0\137\0\0\0' >"$user/config.cfg"
start_game
shoot name-entry
xdotool type --delay 80 "Ann"
shoot name-typed
xdotool key Return
wait_for_log "Complete" "Save profiles data ("
away
shoot root
for item in MAIN_2:players:PLAYERS_CANCEL MAIN_3:options:OPTIONS_BACK \
    MAIN_4:high-scores:HIGH_SCORES_BACK MAIN_5:credits:CREDITS_BACK; do
    IFS=: read -r open name back <<<"$item"
    click "$open"
    away
    sleep 2
    shoot "$name"
    click "$back"
done
click MAIN_2
click PROFILE_1
sleep 0.5
shoot players-new
click CREATE_PLAYER_4
click PLAYERS_CANCEL
away
shoot root-again
[ "$(yellow root-again)" != 0 ] || fail "the pages do not lead back to the root page"

# 2. A new game to the first training's floor and its first tip.
click MAIN_1
comics_to_loading "$page"
wait_for_loads 1
shoot_until_changed map-1 loading "$page" 5000
shoot_settled map-1 "$page"
click_until_changed briefing-training-1 map-1 "$page" 5000 "${MAP_PLAY[@]}"
shoot_settled briefing-training-1 "$(box 200 200 824 700)" 3000
click_until_changed floor-training-1 briefing-training-1 "$(box 200 200 824 700)" 2000 \
    "${BRIEFING_OK[@]}"
wait_tip training-1

# Story level 1: an order card into the first aquarium, the heroine with the
# finished set.
saves="$(log_count "Save profiles data (")"
debug_on
key_until_saved F7 "$saves"
shoot_settled briefing-1 "$(box 200 200 824 700)" 3000
click_until_changed floor-1 briefing-1 "$(box 200 200 824 700)" 2000 "${BRIEFING_OK[@]}"
shoot_until_changed floor-1-card floor-1 "$(box 930 640 1024 768)" 500
click_at "${ORDER_CARD[@]}"
click_at "${FIRST_AQUARIUM[@]}"
shoot_until_changed floor-1 floor-1-card "$(box 350 200 600 440)" 300
click_at "${ROCK[@]}"
click_at "${BLUE_GRASS[@]}"
click_at "${MACHINE[@]}"
bar="$(box 470 70 560 100)"
for _ in $(seq 1 100); do
    shoot machine
    [ "$(green machine "$bar")" -gt 20 ] && break
    sleep 0.3
done
for _ in $(seq 1 100); do
    shoot machine
    [ "$(green machine "$bar")" -le 5 ] && break
    sleep 0.3
done
click_at "${FINISHED_SET[@]}"
click_at "${FIRST_AQUARIUM[@]}"
shoot_until_changed heroine-carrying machine "$(box 560 60 720 330)" 2000

shoot before-pause
hold_key_until Escape "$progress_deadline" screen_changed pause before-pause "$page" 200000 ||
    fail "Escape does not pause the level"
keys Escape
sleep 1
press_until F7 ok_state 1 ""
shoot complete
# Every line shown, the page comes to rest; OK (once more while it still
# reveals its lines) moves on.
shoot_settled complete-lines "" 3000
until_ok 0 "" click_at "${BRIEFING_OK[@]}"

# The map and the shop on the way to story level 2.
shoot_settled map-after-1 "$page"
click_until_changed shop map-after-1 "$page" 5000 "${MAP_PLAY[@]}"
shoot_settled shop "$page" 3000
# The savings of two levels fall short of the machine's upgrade: resting on
# the machine opens its hint, which tells the price, and BUY stays away.
move_to "${MACHINE[@]}"
wait_tip shop-price
[ "$(button_green shop-price "$(box 535 690 770 755)")" -lt 100 ] ||
    fail "BUY shows for an upgrade the savings do not cover"
away
# F5 gives the savings that let the machine's upgrade wait for BUY; the key is
# held over a frame, so the savings are there before the click.
keys F5
click_at "${MACHINE[@]}"
shoot_settled shop-selection "$page" 3000
until_ok 1 "" click_at "${FINISH[@]}"
until_ok 0 "" click_at "${BRIEFING_OK[@]}"
debug_win
until_level 4 story_step

# Story levels up to the first bonus level (level index 6).
for index in 5 6; do
    until_level "$index" story_step
done
wait_for_loads 2
shoot_settled briefing-bonus "$(box 262 400 762 700)" 3000
click_until_changed bonus briefing-bonus "$(box 262 400 762 700)" 2000 "${BRIEFING_OK[@]}"
xdotool mousemove --window "$window" 400 380
sleep 8
shoot bonus
until_level 7 debug_win

# 3. The other locations, the second training and the end of the game.
next_location 2
[ "$(level_index)" = 20 ] || fail "F6 leads to level index $(level_index), not 20"
until_level 21 story_step
# The machine bought up to level 2 on the way to level index 22.
upgraded_floor location-2-machine-2 588 120
for index in 22 23 24; do
    until_level "$index" story_step
done
click_at "${MAP_PLAY[@]}"
sleep 1
click_at "${FINISH[@]}"
sleep 1
click_at "${BRIEFING_OK[@]}"
wait_tip training-2
next_location 3
[ "$(level_index)" = 39 ] || fail "F6 leads to level index $(level_index), not 39"
# The machine bought up to level 3 on the way to level index 41.
until_level 40 debug_win
upgraded_floor location-3-machine-3 427 120
shoot before-end
press_until F6 comic_shown comic-end
sleep 2
shoot comic-end
click_until_changed completed comic-end "$page" 5000 "${NEXT_ARROW[@]}"
wait_for_log "Complete" "Save records ("
sleep 3
away
shoot completed

close_game

# 4. Ann's game made one in progress at story level 2, with no tries left:
# the play page; Continue, and her day runs out without a sale: the
# level-failed overlay. Trying again with no tries left ends the game.
ann_at_story_level_2() {
    /usr/bin/python3 - "$user/profiles.sav" "$1" <<'EOF'
import struct
import sys

record = bytearray(open(sys.argv[1], "rb").read()[:136])
record[35] = 1                                          # started
struct.pack_into("<i", record, 36, int(sys.argv[2]))    # tries
struct.pack_into("<i", record, 40, 3)                   # level index
struct.pack_into("<i", record, 72, 2)                   # story level
open(sys.argv[1], "wb").write(record)
EOF
}
ann_at_story_level_2 0
start_game
click MAIN_1
away
shoot play
click CONTINUE_GAME
# A record without a pet gets the pet choice (the fish) first; then the
# location's pictures load.
for _ in $(seq 1 20); do
    [ "$(loads)" -ge 1 ] && break
    sleep 1.5
    click_at "${NEXT_ARROW[@]}"
    click_at "${FISH_PERSON[@]}"
done
wait_for_loads 1
shoot_settled map-continued "$page"
click_until_changed briefing-continued map-continued "$page" 5000 "${MAP_PLAY[@]}"
until_ok 1 "" click_at "${FINISH[@]}"
shoot_settled briefing-continued "$(box 200 200 824 700)" 3000
click_until_changed floor-continued briefing-continued "$(box 200 200 824 700)" 2000 \
    "${BRIEFING_OK[@]}"
# The overlay dims the world behind it: the top left corner darkens.
corner="$(box 0 0 200 150)"
shoot_settled floor-continued "$corner"
brightness() {
    /usr/bin/convert "$(shot_file "$1")" -crop "$2" +repage -colorspace Gray -format '%[fx:mean]' info:
}
day="$(brightness floor-continued "$corner")"
since="$SECONDS"
while :; do
    sleep 5
    shoot failed
    awk -v d="$day" -v n="$(brightness failed "$corner")" 'BEGIN { exit !(n < 0.7 * d) }' && break
    [ $((SECONDS - since)) -lt 600 ] || fail "the day of story level 2 does not end"
    kill -0 "$pid" 2>/dev/null || fail "the game ended during story level 2"
done
sleep 2
shoot failed
# 5. Try again with no tries left: game over, with the high-score table, and
# her record reset. The credits once more.
saves="$(log_count "Save profiles data (")"
for _ in $(seq 1 10); do
    click_at "${BRIEFING_OK[@]}"
    since="$SECONDS"
    while [ $((SECONDS - since)) -lt 5 ]; do
        [ "$(log_count "Save profiles data (")" -gt "$saves" ] && break 2
        sleep 0.2
    done
done
wait_for_count "Save profiles data (" "$saves"
sleep 2
away
shoot game-over
[ "$(profile_word 36)" = 3 ] || fail "the game over did not reset Ann's record"
click HIGH_SCORES_BACK
click MAIN_5
away
sleep 3
shoot credits-later
click CREDITS_BACK
! grep -qF "Color = Red" "$log" || fail "the log holds errors"
exit_by_menu
echo "app_tour_xvfb: passed"
