#!/usr/bin/env bash
# A new game played through its first levels on a real X server (Xvfb
# 1024 x 768 x 24), by clicks and keys as a player gives them, with fresh
# per-user files. The program runs windowed (800 x 600, screen scale
# 0.78125), where the cursor follows xdotool's absolute moves; a click goes
# to a point of the 1024 x 768 design screen times the scale, and a button
# is pressed and released 0.15 s apart so that the game sees both.
# 1. The name entry takes "Ann"; Play and New game show the two comic pages,
#    clicked through with the arrow, then the pet choice (the fish), the map
#    and its Play; the first training level loads and shows its briefing,
#    whose OK opens the shop floor (play-training.png). The debug keys
#    (D E B U G, then F7) pass the training.
# 2. Story level 1 loads; its briefing's OK starts the day and an order card
#    slides in at the bottom right. Clicked, it follows the cursor; clicked
#    again over the empty first aquarium, the aquarium gets a fish, whose
#    request bubble opens (play-story-1.png).
# 3. The heroine: two ingredients clicked on the shelf (the rock and the blue
#    grass the fish asks for) and then the machine send her there; she works
#    while its progress bar fills (play-working.png). Once the bar has
#    emptied, the finished set and the aquarium clicked send her off with the
#    set in her hands (play-walking.png).
# 4. The log holds no errors; SIGTERM ends the program with exit code 0.
# Screenshots are kept in <build>/app-screenshots/play-*.png.
# Called as: bash app_play_xvfb.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
source "$(dirname "$0")/lib/menu_items.sh"
game_run_setup app_play_xvfb.sh "$@"
user="$work/data/Ostrel/Corvalen"
menu_xml="$source_dir/Resources/Data/menu.xml"
scale=0.78125
mkdir -p "$user"
keep_shots play
show_on_failure+=("$work/game.stderr")
start_xvfb 1024x768x24

# Design-screen points of the game's own buttons and objects.
NEXT_ARROW=(972 731)
FISH_PERSON=(209 407)
MAP_PLAY=(137 722)
BRIEFING_OK=(499 626)
ORDER_CARD=(975 714)
FIRST_AQUARIUM=(470 360)
ROCK=(725 68)
BLUE_GRASS=(658 106)
FINISHED_SET=(513 95)
MACHINE=(521 100)

# Moves the cursor to design point (x, y) and clicks there.
click_at() {
    local x y
    read -r x y <<<"$(awk -v s="$scale" -v x="$1" -v y="$2" \
        'BEGIN { printf "%d %d", x * s + 0.5, y * s + 0.5 }')"
    xdotool mousemove --window "$window" "$x" "$y"
    sleep 0.15
    xdotool mousedown 1
    sleep 0.15
    xdotool mouseup 1
    sleep 0.3
}

# Presses and releases each key named.
keys() {
    local key
    for key in "$@"; do
        xdotool keydown "$key"
        sleep 0.15
        xdotool keyup "$key"
        sleep 0.1
    done
}

# Green pixels (green above 150, red and blue below 120) inside a crop.
green() {
    /usr/bin/convert "$(shot_file "$1")" -crop "$2" +repage \
        -fx 'g > 150/255 && r < 120/255 && b < 120/255' -format '%[fx:round(mean * w * h)]' info:
}

# How many times log.html holds `text`.
log_count() { grep -cF "$1" "$log" 2>/dev/null || true; }

# Waits up to a minute for log.html to hold `text` more than n times.
wait_for_count() {
    for _ in $(seq 1 600); do
        [ "$(log_count "$1")" -gt "$2" ] && return 0
        kill -0 "$pid" 2>/dev/null || fail "the game ended before logging: $1"
        sleep 0.1
    done
    fail "the game did not log: $1 (more than $2 times)"
}

# Takes screenshots until the box of the design screen differs from the
# earlier screenshot's by more than `min` pixels (for up to 20 tries).
shoot_until_changed() {
    local name="$1" before="$2" crop="$3" min="$4"
    for _ in $(seq 1 20); do
        shoot "$name"
        [ "$(differing "$before" "$name" "$crop" 10%)" -gt "$min" ] && return 0
        sleep 0.3
    done
    fail "$name: no change inside $crop"
}

# Clicks design point (x, y) until the screen changes as shoot_until_changed
# sees it: a click given while a page still fades in is not taken, so a
# loaded machine may need a second one.
click_until_changed() {
    local name="$1" before="$2" crop="$3" min="$4" x="$5" y="$6"
    for _ in $(seq 1 5); do
        click_at "$x" "$y"
        for _ in $(seq 1 8); do
            shoot "$name"
            [ "$(differing "$before" "$name" "$crop" 10%)" -gt "$min" ] && return 0
            sleep 0.3
        done
    done
    fail "$name: clicks at ($x, $y) change nothing inside $crop"
}

printf '\026\0\0\0\0\004\0\0\0\003\0\0\001\0\0\0\106\0\0\0\137\0\0\0' >"$user/config.cfg"
start_game
xdotool type --delay 80 "Ann"
xdotool key Return
wait_for_log "Complete" "Save profiles data ("

# 1. A new game: comics, pet, map, the first training level.
click MAIN_1
click NEW_GAME
sleep 1.5
shoot comic-1
page="$(box 0 0 1024 660)"
click_until_changed comic-2 comic-1 "$page" 5000 "${NEXT_ARROW[@]}"
sleep 1
click_until_changed pets comic-2 "$page" 5000 "${NEXT_ARROW[@]}"
sleep 1
click_until_changed loading pets "$page" 5000 "${FISH_PERSON[@]}"
# The level's pictures load behind the loading screen, before the map.
wait_for_count "Load is completed (70)" 0
sleep 1.5
shoot map
click_until_changed training-briefing map "$page" 5000 "${MAP_PLAY[@]}"
sleep 1.5
shoot training-briefing
click_until_changed training training-briefing "$(box 200 200 824 700)" 2000 "${BRIEFING_OK[@]}"
saves="$(log_count "Save profiles data (")"
keys d e b u g F7

# 2. Story level 1 (the same location, so no textures load): the passed
# training is saved first.
wait_for_count "Save profiles data (" "$saves"
sleep 1.5
shoot story-1-briefing
click_until_changed story-1-floor story-1-briefing "$(box 200 200 824 700)" 2000 \
    "${BRIEFING_OK[@]}"
shoot_until_changed story-1-card story-1-floor "$(box 930 640 1024 768)" 500
click_at "${ORDER_CARD[@]}"
click_at "${FIRST_AQUARIUM[@]}"
shoot_until_changed story-1 story-1-card "$(box 350 200 600 440)" 300

# 3. The heroine: two ingredients, then the machine.
click_at "${ROCK[@]}"
click_at "${BLUE_GRASS[@]}"
click_at "${MACHINE[@]}"
shoot to-machine
# The machine's progress bar fills while she works and empties when the set
# is done.
bar="$(box 470 70 560 100)"
for _ in $(seq 1 100); do
    shoot working
    [ "$(green working "$bar")" -gt 20 ] && break
    sleep 0.3
done
[ "$(green working "$bar")" -gt 20 ] || fail "the machine does not work"
for _ in $(seq 1 100); do
    shoot set-done
    [ "$(green set-done "$bar")" -le 5 ] && break
    sleep 0.3
done
[ "$(green set-done "$bar")" -le 5 ] || fail "the machine does not finish the set"
click_at "${FINISHED_SET[@]}"
click_at "${FIRST_AQUARIUM[@]}"
# She leaves the machine with the set, for the aquarium.
shoot_until_changed walking set-done "$(box 560 60 720 330)" 2000

# 4. No errors; SIGTERM ends the program cleanly.
! grep -qF "Color = Red" "$log" || fail "the log holds errors"
close_game
echo "app_play_xvfb: 4 passed, 0 failed"
