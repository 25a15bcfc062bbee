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
#    whose OK opens the shop floor (play-floor.png). The debug keys
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
source "$(dirname "$0")/lib/play_input.sh"
play_setup app_play_xvfb.sh play "$@"

# Design-screen points of the objects of the shop.
ORDER_CARD=(975 714)
FIRST_AQUARIUM=(470 360)
ROCK=(725 68)
BLUE_GRASS=(658 106)
FINISHED_SET=(513 95)
MACHINE=(521 100)

# 1. A new game: comics, pet, map, the first training level.
new_game_to_floor
saves="$(log_count "Save profiles data (")"
debug_on
key_until_saved F7 "$saves"

# 2. Story level 1 (the same location, so no textures load): the passed
# training is saved first.
shoot_settled story-1-briefing "$(box 200 200 824 700)" 3000
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
since="$SECONDS"
while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
    shoot working
    [ "$(green working "$bar")" -gt 20 ] && break
    sleep 0.3
done
[ "$(green working "$bar")" -gt 20 ] || fail "the machine does not work"
since="$SECONDS"
while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
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
