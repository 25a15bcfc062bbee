#!/usr/bin/env bash
# Players and settings of the whole program on a real X server (Xvfb), with a
# fresh per-user folder each run:
# 1. A first start opens the name entry by itself once the loading screen has
#    faded (its caret stands near the design point 512, 391, where the name
#    entry's page leaves the screen black); a space into the
#    empty name does nothing; "Ann" and Return save a profiles.sav equal to a
#    record written by hand; SIGTERM saves config.cfg's 24 default bytes.
# 2. A config.cfg asking for a window and volumes 40 and 60 gives an 800 x 600
#    window and comes back unchanged after the close.
# 3. A profiles.sav of 14 records is rejected, the name entry opens, and the
#    file stays as it was until a player is added; then it is kept beside the
#    new file as profiles.sav.bad, and the one "Red" line of the log says so.
# Screenshots are kept in <build>/app-screenshots/.
# Called as: bash app_players_xvfb.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
game_run_setup app_players_xvfb.sh "$@"
shots="$(dirname "$binary")/app-screenshots"
convert=/usr/bin/convert
user="$work/data/Ostrel/Corvalen"
show_on_failure+=("$work/game.stderr")
mkdir -p "$shots" "$user"
rm -f "$shots"/players-*.png
start_xvfb 1024x768x24

# Starts the game on an empty log and waits until its loading screen has
# faded out to the menu; sets window.
start_game() {
    rm -f "$log"
    timeout -k 60 600 "$binary" 2>"$work/game.stderr" &
    pid=$!
    wait_for_log "Load is completed" "Loading 3D animations"
    find_window
    # The fade from the loading screen takes about half a second.
    sleep 2
    # The menu cursor goes to the top left corner, away from the name.
    xdotool mousemove_relative -- -2000 -2000
    sleep 0.2
}

# The name entry's caret is the only near-white mark near the design point
# (512, 391), scaled to the screen; the menu backdrop lies under it. Only a box
# around that point is searched, so the backdrop's fish (white eyes) stay out.
expect_caret() {
    local shot="$shots/players-$1.png" scale="$2" origin="$3"
    local ex ey ox oy
    ox="${origin#*+}"; oy="${ox#*+}"; ox="${ox%%+*}"
    ex="$(awk -v s="$scale" -v o="$ox" 'BEGIN { printf "%d", o + 512 * s }')"
    ey="$(awk -v s="$scale" -v o="$oy" 'BEGIN { printf "%d", o + 391 * s }')"
    local left=$((ex - 80)) top=$((ey - 40))
    local box w h x y
    # The caret blinks and is near-white for only a short part of each
    # blink; on a busy machine the screenshots come slowly and can keep
    # missing that part, so there are many tries (the first bright one ends
    # them).
    for _ in $(seq 1 60); do
        import -window root "$shot" || fail "no screenshot"
        box="$("$convert" "$shot" -crop "160x110+$left+$top" +repage -channel RGB \
            -threshold 90% -separate -evaluate-sequence min -bordercolor black -border 1 \
            -trim -format '%w %h %X %Y' info: 2>/dev/null)"
        read -r w h x y <<<"$box"
        [ "$x" -ge 0 ] && [ "$w" -gt 1 ] && break
        x=-1
        sleep 0.07
    done
    [ "$x" -ge 0 ] || fail "no caret drawn near $ex,$ey ($1)"
    [ "$w" -lt 60 ] && [ "$h" -lt 40 ] || fail "more than a caret is drawn near $ex,$ey ($1): $box"
}

# 1. First start.
start_game
expect_caret first 1 1024x768+0+0
xdotool key space
xdotool type --delay 50 "Ann"
xdotool key Return
wait_for_log "Save profiles data ("
wait_for_log "Complete" "Save profiles data ("
# The record of a new player "Ann", written by hand.
write_new_player_record Ann "$work/ann.sav"
cmp "$user/profiles.sav" "$work/ann.sav" || fail "profiles.sav differs from the record of Ann"
close_game
printf '\026\0\0\0\0\004\0\0\0\003\0\0\0\0\0\0\106\0\0\0\137\0\0\0' >"$work/default.cfg"
cmp "$user/config.cfg" "$work/default.cfg" || fail "config.cfg does not hold the defaults"
grep -qF "Save config data (" "$log" || fail "no config save logged"

# 2. A windowed config with its own volumes.
printf '\026\0\0\0\0\004\0\0\0\003\0\0\001\0\0\0\050\0\0\0\074\0\0\0' >"$work/windowed.cfg"
cp "$work/windowed.cfg" "$user/config.cfg"
start_game
grep -qF "Run mode: windowed" "$log" || fail "no windowed run mode"
geometry="$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')"
[ "$geometry" = "800x600" ] || fail "the window is $geometry, not 800x600"
close_game
cmp "$user/config.cfg" "$work/windowed.cfg" || fail "config.cfg changed"

# 3. Fourteen records are too many: no player, the entry opens, the file stays.
rm -f "$user/config.cfg"
head -c 1904 /dev/zero >"$user/profiles.sav"
start_game
grep -qF "Incorrect profiles data" "$log" || fail "the 1904-byte file was not rejected"
expect_caret rejected 1 1024x768+0+0
[ "$(stat -c %s "$user/profiles.sav")" -eq 1904 ] || fail "the rejected file was changed"
xdotool type --delay 50 "Bo"
xdotool key Return
wait_for_log "Complete" "Save profiles data ("
[ "$(stat -c %s "$user/profiles.sav")" -eq 136 ] || fail "adding a player did not save one record"
cmp "$user/profiles.sav.bad" <(head -c 1904 /dev/zero) || fail "the rejected file was not kept"
close_game
grep -qF "Unreadable file kept as $user/profiles.sav.bad" "$log" || fail "the kept file is not logged"
[ "$(grep -cF "Color = Red" "$log")" -eq 1 ] || fail "the log holds other errors"
echo "app_players_xvfb: 3 passed, 0 failed"
