#!/usr/bin/env bash
# The menus of the whole program on a real X server (Xvfb 1024 x 768 x 24),
# driven with xdotool, with fresh per-user files. The program runs windowed
# (800 x 600, screen scale 0.78125), where the cursor follows xdotool's
# absolute moves whatever the fullscreen mouse does: a click goes to the
# centre of an item's box, computed from menu.xml as the menu's hit test
# does, times the scale.
# 1. The first start shows the name-entry page; hovering its OK button changes
#    the button; typing "Marina" draws around the design point (512, 391);
#    Enter writes profiles.sav with the new player's record and shows the root
#    page, the only page with the yellow version and notice lines at the
#    bottom. Options: music - twice and sound - once, then Apply logs the
#    video options of a window (the window's 32-bit box is off, so the format
#    becomes 16-bit) and returns to the root page in an 800 x 600 window.
#    SIGTERM: exit code 0 and config.cfg with format 23, 1024 x 768, windowed,
#    music 50 and sound 85.
# 2. Started again: Exit logs "<BR>EXIT GAME" and ends the program with exit
#    code 0, leaving profiles.sav and config.cfg as they were.
# 3. Started again: Play starts a game, which sets byte 35 of profiles.sav.
# Screenshots are kept in <build>/app-screenshots/menu-*.png.
# Called as: bash app_menu_xvfb.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
source "$(dirname "$0")/lib/menu_items.sh"
game_run_setup app_menu_xvfb.sh "$@"
shots="$(dirname "$binary")/app-screenshots"
convert=/usr/bin/convert
user="$work/data/Ostrel/Corvalen"
menu_xml="$source_dir/Resources/Data/menu.xml"
scale=0.78125
shot_file() { echo "$shots/menu-$1.png"; }
show_on_failure+=("$work/game.stderr")
mkdir -p "$shots" "$user"
rm -f "$shots"/menu-*.png
start_xvfb 1024x768x24

# 1. A windowed first start.
windowed_cfg='\026\0\0\0\0\004\0\0\0\003\0\0\001\0\0\0\106\0\0\0\137\0\0\0'
printf "$windowed_cfg" >"$user/config.cfg"
start_game
expect_geometry "first start"
shoot name-entry
# The page's header banner shows; the root page's Exit button, whose caption
# is the only near-white there (the backdrop's sand and plants are not), does
# not.
[ "$("$convert" "$shots/menu-name-entry.png" -crop "$(box 302 250 722 320)" +repage \
    -format '%[fx:maxima > 0.3]' info:)" = 1 ] || fail "no name-entry header"
[ "$("$convert" "$shots/menu-name-entry.png" -crop "$(box 392 600 632 661)" +repage \
    -channel RGB -threshold 90% -separate -evaluate-sequence min -format '%[fx:maxima]' \
    info:)" = 0 ] || fail "the root page shows under the name entry"
[ "$(yellow name-entry)" = 0 ] || fail "yellow lines on the name-entry page"

read -r x y <<<"$(centre CREATE_PLAYER_3)"
xdotool mousemove --window "$window" "$x" "$y"
shoot hover
[ "$(differing name-entry hover "$(box 277 520 517 581)")" -gt 100 ] ||
    fail "hovering OK does not change it"
away

xdotool type --delay 80 "Marina"
shoot typed
[ "$(differing name-entry typed "$(box 392 351 632 431)")" -gt 100 ] ||
    fail "the typed name does not show around (512, 391)"
xdotool key Return
wait_for_log "Complete" "Save profiles data ("
write_new_player_record Marina "$work/marina.sav"
cmp "$user/profiles.sav" "$work/marina.sav" || fail "profiles.sav differs from the record of Marina"
shoot root
[ "$(yellow root)" != 0 ] || fail "no yellow version and notice lines on the root page"

click MAIN_3
shoot options
[ "$(yellow options)" = 0 ] || fail "yellow lines on the options page"
click MUSIC_DEC
click MUSIC_DEC
click SOUND_DEC
click APPLY
wait_for_log "Windowed mode" "APPLY VIDEO OPTIONS"
expect_geometry "after Apply"
away
shoot applied
[ "$(yellow applied)" != 0 ] || fail "Apply does not return to the root page"
close_game
printf '\027\0\0\0\0\004\0\0\0\003\0\0\001\0\0\0\062\0\0\0\125\0\0\0' >"$work/applied.cfg"
cmp "$user/config.cfg" "$work/applied.cfg" || fail "config.cfg does not hold the applied options"

# 2. Started again in the window it was left in: Exit ends the program.
cp "$user/profiles.sav" "$work/profiles.before"
start_game
expect_geometry "second start"
exit_by_menu
cmp "$user/profiles.sav" "$work/profiles.before" || fail "Exit changed profiles.sav"
cmp "$user/config.cfg" "$work/applied.cfg" || fail "Exit changed config.cfg"
! grep -qF "Color = Red" "$log" || fail "the log holds errors"

# 3. Play starts a new game for Marina: profiles.sav is written with the
#    game-started byte (offset 35) set.
start_game
click MAIN_1
wait_for_log "Complete" "Intro resources is released" "Save profiles data ("
[ "$(od -An -tu1 -j35 -N1 "$user/profiles.sav" | tr -d ' ')" = 1 ] ||
    fail "Play did not mark the game started in profiles.sav"
close_game
echo "app_menu_xvfb: 3 passed, 0 failed"
