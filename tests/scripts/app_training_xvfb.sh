#!/usr/bin/env bash
# The first training level played through on a real X server (Xvfb
# 1024 x 768 x 24) by clicks as a player gives them, from a new player's
# "New game" to story level 1, with fresh per-user files. The program runs
# windowed (800 x 600, screen scale 0.78125); clicks go to points of the
# 1024 x 768 design screen times the scale, inside the objects each tip
# lights (its arrows stand beside them).
# 1. The name entry takes "Ann"; Play and New game show the comics, the pet
#    choice (the fish) and the map, whose Play loads the training and its
#    briefing; OK opens the shop floor.
# 2. Each of the 26 steps waits for its own tip window, fully faded in (its
#    header's blue fills the header, and its text is not the last
#    tip's), then clicks what the tip asks for: the order card and an
#    aquarium, two ingredients, the machine, the finished set, the foods, the
#    compressor switch, the sell buttons. A click on an aquarium that waits
#    for the heroine to come back with the set or the food is repeated while
#    the next tip does not come. Screenshots training-tip-<step>.png.
# 3. The last sale ends the training by itself, without the level-complete
#    page: story level 1's briefing shows (training-story-1.png) and
#    profiles.sav holds level index 2 and story level 1.
# 4. The log holds no errors; SIGTERM ends the program with exit code 0.
# Called as: bash app_training_xvfb.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
source "$(dirname "$0")/lib/menu_items.sh"
source "$(dirname "$0")/lib/play_input.sh"
play_setup app_training_xvfb.sh training "$@"

# Design-screen points of the objects of the first training's shop.
ORDER_CARD=(975 715)
AQUARIUM_0=(491 381)
AQUARIUM_1=(791 551)
SELL_0=(496 270)
SELL_1=(796 440)
COMPRESSOR_1=(715 500)
ROCK=(707 67)
GREEN_GRASS=(608 110)
STONE=(660 70)
BLUE_GRASS=(658 108)
FOOD_1=(294 276)
FOOD_2=(339 250)
MACHINE=(514 81)
FINISHED_SET=(523 189)

# The tip window of each step: panel x, y, columns and body rows.
TIPS=("335 560 11 3" "205 500 15 5" "205 530 15 3" "175 500 17 5" "205 560 15 3"
    "205 530 15 3" "205 560 15 3" "195 515 16 4" "205 560 15 4" "195 515 16 4"
    "195 500 16 6" "195 530 16 3" "205 530 15 3" "195 515 16 4" "195 485 16 6"
    "205 530 15 2" "195 485 16 6" "215 560 14 3" "195 485 16 6" "195 530 16 3"
    "175 530 17 2" "195 560 16 2" "175 530 17 4" "205 530 15 2" "175 560 17 2"
    "205 515 15 3")

# Percent of a crop that shows the tip header's fill.
header_fill() {
    /usr/bin/convert "$(shot_file "$1")" -crop "$2" +repage \
        -fx 'abs(r - 48/255) < 0.06 && abs(g - 112/255) < 0.06 && abs(b - 166/255) < 0.06' \
        -format '%[fx:round(mean * 100)]' info:
}

# Whether screenshot `shot` shows step k's tip, fully faded in: its header's
# blue fills the header, the floor shows just left of its panel (a wider or
# shifted tip of another step does not pass), and its text is not the last
# tip's.
last_tip=""
tip_shows() {
    local k="$1" shot="$2" x y columns rows head outside text
    read -r x y columns rows <<<"${TIPS[$k]}"
    head="$(box $((x + 8)) $((y + 8)) $((x + 28 * columns - 8)) $((y + 48)))"
    outside="$(box $((x - 14)) $((y + 8)) $((x - 4)) $((y + 48)))"
    text="$(box $((x + 8)) $((y + 58)) $((x + 28 * columns - 8)) $((y + 56 + 28 * rows)))"
    [ "$(header_fill "$shot" "$head")" -ge 60 ] && [ "$(header_fill "$shot" "$outside")" -lt 20 ] &&
        { [ -z "$last_tip" ] || [ "$(differing "$last_tip" "$shot" "$text" 10%)" -gt 150 ]; }
}

# Waits for step n's tip. A step that only waits for the game (passing) may
# end before a loaded machine shows its tip: the next step's tip is then
# taken for both. A design point in retry_at is clicked again every 12
# seconds meanwhile (for the aquarium that takes what the heroine carries),
# and forgotten once the tip shows.
retry_at=()
seen_ahead=""
wait_tip() {
    local n="$1" passing="${2:-}" since="$SECONDS" start="$SECONDS"
    if [ "$seen_ahead" = "$n" ]; then
        return 0
    fi
    while [ $((SECONDS - start)) -lt "$progress_deadline" ]; do
        shoot "tip-$n"
        if tip_shows "$n" "tip-$n"; then
            last_tip="tip-$n"
            retry_at=()
            return 0
        fi
        if [ -n "$passing" ] && tip_shows $((n + 1)) "tip-$n"; then
            cp "$(shot_file "tip-$n")" "$(shot_file "tip-$((n + 1))")"
            last_tip="tip-$((n + 1))"
            seen_ahead=$((n + 1))
            retry_at=()
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || fail "the game ended before the tip of step $n"
        if [ "${#retry_at[@]}" -gt 0 ] && [ $((SECONDS - since)) -ge 12 ]; then
            click_at "${retry_at[@]}"
            since="$SECONDS"
        fi
    done
    fail "step $n shows no tip"
}

# Picks up the order card in the list's lowest slot, once one has slid in
# there and come to rest (the cards of new customers come a moment after the
# tip that asks for them), and carries it off.
pick_card() {
    local crop
    crop="$(box 935 675 1015 755)"
    rm -f "$(shot_file card-before)"
    local since="$SECONDS"
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        shoot card
        if [ "$(differing floor card "$crop" 10%)" -gt 1500 ] && [ -f "$(shot_file card-before)" ] &&
            [ "$(differing card-before card "$crop" 10%)" -lt 100 ]; then
            click_at "${ORDER_CARD[@]}"
            return 0
        fi
        cp "$(shot_file card)" "$(shot_file card-before)"
    done
    fail "no order card comes"
}

# Clicks the aquarium (design point x, y of its body) that takes what the
# heroine or the cursor carries, again while the next tip does not come.
bring_to() {
    click_at "$@"
    retry_at=("$@")
}

# 1. A new game: comics, pet, map, the training's briefing and shop floor.
game_timeout=1200
new_game_to_floor

# 2. The steps, each after its tip.
wait_tip 0
pick_card
bring_to "${AQUARIUM_0[@]}"
wait_tip 1
click_at "${ROCK[@]}"
click_at "${GREEN_GRASS[@]}"
wait_tip 2
click_at "${MACHINE[@]}"
wait_tip 3 passing # the machine works
wait_tip 4
click_at "${FINISHED_SET[@]}"
bring_to "${AQUARIUM_0[@]}"
wait_tip 5 passing # the fish's first wish
wait_tip 6
click_at "${FOOD_2[@]}"
bring_to "${AQUARIUM_0[@]}"
wait_tip 7 passing # its next wish
wait_tip 8
click_at "${FOOD_1[@]}"
bring_to "${AQUARIUM_0[@]}"
wait_tip 9
click_at "${SELL_0[@]}"
wait_tip 10
pick_card
bring_to "${AQUARIUM_0[@]}"
wait_tip 11
pick_card
bring_to "${AQUARIUM_1[@]}"
wait_tip 12
click_at "${STONE[@]}"
click_at "${BLUE_GRASS[@]}"
wait_tip 13
click_at "${MACHINE[@]}"
wait_tip 14
click_at "${ROCK[@]}"
click_at "${GREEN_GRASS[@]}"
wait_tip 15
click_at "${MACHINE[@]}"
wait_tip 16
click_at "${FINISHED_SET[@]}"
bring_to "${AQUARIUM_1[@]}"
wait_tip 17
click_at "${FINISHED_SET[@]}"
bring_to "${AQUARIUM_0[@]}"
wait_tip 18
click_at "${COMPRESSOR_1[@]}"
wait_tip 19 passing # both fish wish
wait_tip 20
click_at "${FOOD_1[@]}"
click_at "${FOOD_2[@]}"
wait_tip 21
click_at "${AQUARIUM_0[@]}"
click_at "${AQUARIUM_1[@]}"
wait_tip 22 passing # and wish again
wait_tip 23
click_at "${FOOD_1[@]}"
click_at "${FOOD_2[@]}"
wait_tip 24
click_at "${AQUARIUM_0[@]}"
click_at "${AQUARIUM_1[@]}"
wait_tip 25
saves="$(log_count "Save profiles data (")"
click_at "${SELL_0[@]}"
click_at "${SELL_1[@]}"

# 3. Story level 1 starts and is saved.
wait_for_count "Save profiles data (" "$saves"
[ "$(profile_word 40)" = 2 ] || fail "profiles.sav holds level index $(profile_word 40), not 2"
[ "$(profile_word 72)" = 1 ] || fail "profiles.sav holds story level $(profile_word 72), not 1"
# Its briefing, not the level-complete page, fades in over the floor: its OK
# button comes where the briefing keeps it.
since="$SECONDS"
while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
    shoot story-1
    [ "$(button_green story-1 "$(box 400 600 600 650)")" -gt 500 ] && break
done
[ "$(button_green story-1 "$(box 400 600 600 650)")" -gt 500 ] || fail "story level 1 shows no briefing"

# 4. No errors; SIGTERM ends the program cleanly.
! grep -qF "Color = Red" "$log" || fail "the log holds errors"
close_game
echo "app_training_xvfb: 4 passed, 0 failed"
