# Sourced by the whole-program scripts that play on the shop floor (not a
# test itself), after game_run.sh and menu_items.sh: clicks at points of the
# 1024 x 768 design screen, keys, screenshot checks and log counts. The caller
# sets scale and window and runs the game in $pid.

# Moves the cursor to design point (x, y).
move_to() {
    local x y
    read -r x y <<<"$(awk -v s="$scale" -v x="$1" -v y="$2" \
        'BEGIN { printf "%d %d", x * s + 0.5, y * s + 0.5 }')"
    xdotool mousemove --window "$window" "$x" "$y"
}

# Moves the cursor to design point (x, y) and clicks there.
click_at() {
    move_to "$1" "$2"
    sleep 0.15
    xdotool mousedown 1
    sleep 0.15
    xdotool mouseup 1
    sleep 0.3
}

# Presses and releases each key named, for keys whose effect the caller does
# not wait for.
keys() {
    local key
    for key in "$@"; do
        xdotool keydown "$key"
        sleep 0.15
        xdotool keyup "$key"
        sleep 0.1
    done
}

# Holds the key down until the check (a command) succeeds, then lets it go:
# the game reads the keys once a frame, and a frame on a loaded machine can
# last longer than any fixed hold. Returns 1, the key let go, when `limit`
# seconds pass without the check succeeding (a press the game took where the
# key does nothing), so the caller can press again.
# Called as: hold_key_until <key> <limit> <check...>
hold_key_until() {
    local key="$1" limit="$2" since="$SECONDS"
    shift 2
    xdotool keydown "$key"
    while [ $((SECONDS - since)) -lt "$limit" ]; do
        if "$@"; then
            xdotool keyup "$key"
            return 0
        fi
        if ! kill -0 "$pid" 2>/dev/null; then
            xdotool keyup "$key"
            fail "the game ended while $key was held"
        fi
        sleep 0.1
    done
    xdotool keyup "$key"
    return 1
}

# Presses the key, held as hold_key_until holds it, until the check succeeds.
# A key held where it does nothing (a page still fading in) is no press once
# its page comes: after ten seconds it is let go, for long enough that a
# frame sees it up, and the check gets ten seconds more before the next
# press. Fails at the progress deadline.
# Called as: press_until <key> <check...>
press_until() {
    local key="$1" since="$SECONDS" waited
    shift
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        hold_key_until "$key" 10 "$@" && return 0
        waited="$SECONDS"
        while [ $((SECONDS - waited)) -lt 10 ]; do
            sleep 0.5
            "$@" && return 0
        done
    done
    fail "$key: no $*"
}

# Whether a new screenshot `name` differs from the earlier `before` by more
# than `min` pixels inside the box.
screen_changed() {
    shoot "$1"
    [ "$(differing "$2" "$1" "$3" 10%)" -gt "$4" ]
}

# Green pixels (green above 150, red and blue below 120) inside a crop.
green() {
    /usr/bin/convert "$(shot_file "$1")" -crop "$2" +repage \
        -fx 'g > 150/255 && r < 120/255 && b < 120/255' -format '%[fx:round(mean * w * h)]' info:
}

# Pixels of the dark green face of the game's panel buttons inside a crop.
button_green() {
    /usr/bin/convert "$(shot_file "$1")" -crop "$2" +repage \
        -fx 'g > 80/255 && g < 150/255 && r < 80/255 && b < 100/255 && g > r + 40/255' \
        -format '%[fx:round(mean * w * h)]' info:
}

# How many times log.html holds `text`.
log_count() { grep -cF "$1" "$log" 2>/dev/null || true; }

# Waits for log.html to hold `text` more than n times.
wait_for_count() {
    local since="$SECONDS"
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        [ "$(log_count "$1")" -gt "$2" ] && return 0
        kill -0 "$pid" 2>/dev/null || fail "the game ended before logging: $1"
        sleep 0.1
    done
    fail "the game did not log: $1 (more than $2 times)"
}

# Takes screenshots until the box of the design screen differs from the
# earlier screenshot's by more than `min` pixels.
shoot_until_changed() {
    local name="$1" before="$2" crop="$3" min="$4" since="$SECONDS"
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
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

# The 32-bit word at byte `offset` of profiles.sav (the first record): 40 is
# the level index, 72 the story level. Empty while there is no file.
profile_word() {
    od -An -tu4 -j"$1" -N4 "$user/profiles.sav" 2>/dev/null | tr -d ' '
}

# How many texture loads the game logged since the menu came up.
loads() {
    awk '/Intro resources is released/ { seen = 1 } seen && /Loading textures:/ { n++ }
         END { print n + 0 }' "$log" 2>/dev/null || echo 0
}

# How many of them have completed.
loads_done() {
    awk '/Intro resources is released/ { seen = 1 } seen && /Loading textures:/ { loading = 1 }
         loading && /Load is completed/ { n++; loading = 0 }
         END { print n + 0 }' "$log" 2>/dev/null || echo 0
}

# Waits for the given number of texture loads to have completed.
wait_for_loads() {
    local since="$SECONDS"
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        [ "$(loads_done)" -ge "$1" ] && return 0
        kill -0 "$pid" 2>/dev/null || fail "the game ended before texture load $1"
        sleep 0.1
    done
    fail "texture load $1 did not come"
}

# The level index in profiles.sav, written at every level start.
level_index() { profile_word 40; }

# Repeats the given step until profiles.sav shows the level index; a slow
# machine gets as many tries as fit in the progress deadline.
until_level() {
    local target="$1" since="$SECONDS"
    shift
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        [ "$(level_index)" = "$target" ] && return 0
        kill -0 "$pid" 2>/dev/null || fail "the game ended before level index $target"
        "$@"
    done
    [ "$(level_index)" = "$target" ] || fail "level index $(level_index), not $target"
}

# Design-screen points of the pages before the shop floor.
NEXT_ARROW=(972 731)
FISH_PERSON=(209 407)
MAP_PLAY=(137 722)
BRIEFING_OK=(499 626)

# Sets a whole-program play script up: game_run_setup, a private per-user
# folder (user), screenshots kept as <prefix>-*.png and an X server of
# 1024 x 768 x 24. Called as: play_setup <script name> <prefix> <binary> <source dir>
play_setup() {
    game_run_setup "$1" "$3" "$4"
    user="$work/data/Ostrel/Corvalen"
    menu_xml="$source_dir/Resources/Data/menu.xml"
    scale=0.78125
    mkdir -p "$user"
    keep_shots "$2"
    show_on_failure+=("$work/game.stderr")
    start_xvfb 1024x768x24
}

# From New game to the loading of the first location: the two comic pages and
# the pet choice (the fish), each shot once it has come to rest inside the box
# given. Screenshots comic-1, comic-2, pets and loading.
comics_to_loading() {
    local page="$1"
    # The root page's backdrop moves; the comic page, once faded in, stands.
    shoot_settled comic-1 "$page"
    click_until_changed comic-2 comic-1 "$page" 5000 "${NEXT_ARROW[@]}"
    shoot_settled comic-2 "$page"
    click_until_changed pets comic-2 "$page" 5000 "${NEXT_ARROW[@]}"
    shoot_settled pets "$page"
    click_until_changed loading pets "$page" 5000 "${FISH_PERSON[@]}"
}

# Starts the game windowed (800 x 600, screen scale 0.78125), enters the new
# player "Ann", and plays Play and New game through: the two comic pages, the
# pet choice (the fish), the loading of the first location, the map's Play
# and the first training's briefing, whose OK opens the shop floor.
# Screenshots comic-1, comic-2, pets, loading, map, briefing and floor.
new_game_to_floor() {
    printf '\026\0\0\0\0\004\0\0\0\003\0\0\001\0\0\0\106\0\0\0\137\0\0\0' >"$user/config.cfg"
    start_game
    xdotool type --delay 80 "Ann"
    xdotool key Return
    wait_for_log "Complete" "Save profiles data ("
    click MAIN_1
    click NEW_GAME
    local page
    page="$(box 0 0 1024 660)"
    comics_to_loading "$page"
    # The level's pictures load behind the loading screen, before the map.
    wait_for_count "Load is completed (70)" 0
    shoot_until_changed map loading "$page" 5000
    shoot_settled map "$page"
    click_until_changed briefing map "$page" 5000 "${MAP_PLAY[@]}"
    shoot_settled briefing "$(box 200 200 824 700)" 3000
    click_until_changed floor briefing "$(box 200 200 824 700)" 2000 "${BRIEFING_OK[@]}"
}

# Whether a screenshot shows the green OK button of a briefing or of the
# level-complete page.
ok_shown() { [ "$(button_green "$1" "$(box 400 600 600 650)")" -gt 500 ]; }

# Whether a new screenshot shows the OK button (want 1) or not (want 0) and,
# when a level index is given, profiles.sav holds it.
ok_state() {
    local want="$1" index="$2" shown=0
    shoot ok-wait
    ok_shown ok-wait && shown=1
    [ "$shown" = "$want" ] && { [ -z "$index" ] || [ "$(level_index)" = "$index" ]; }
}

# Runs the given step (a click or a key) until the OK button of a briefing or
# the level-complete page is shown (want 1) or gone (want 0) and, when a
# level index is given, profiles.sav holds it; again after eight screenshots
# without it, for a click or key the game missed or took while it faded.
until_ok() {
    local want="$1" index="$2" since="$SECONDS"
    shift 2
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        "$@"
        for _ in $(seq 1 8); do
            ok_state "$want" "$index" && return 0
            kill -0 "$pid" 2>/dev/null || fail "the game ended while waiting for its OK button ($want)"
        done
    done
    fail "$*: the OK button is not $([ "$want" = 1 ] && echo shown || echo gone)${index:+ at level index $index}"
}

# White pixels of the debug mode's "*" in the top left corner.
debug_star() {
    /usr/bin/convert "$(shot_file "$1")" -crop "$(box 0 0 52 38)" +repage \
        -fx 'r > 0.9 && g > 0.9 && b > 0.9' -format '%[fx:round(mean * w * h)]' info:
}

# Whether a new screenshot shows the debug mode's "*".
debug_shown() {
    shoot debug
    [ "$(debug_star debug)" -gt 10 ]
}

# Switches the debug keys on (on the shop floor, where the "*" shows) and
# waits for the "*". The game reads the keys once a frame and takes a key
# when it sees it go down, so each key stays down while the next ones are
# pressed (none is let go before a frame has seen it) and the last stays
# down until the "*" shows. Two keys that one long frame sees go down
# together leave the sequence half typed: it is typed again, its first key
# starting it over, when no "*" has come 20 seconds later.
debug_on() {
    local since="$SECONDS" key
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        for key in d e b u; do
            xdotool keydown "$key"
            sleep 0.15
        done
        if hold_key_until g 20 debug_shown; then
            xdotool keyup d e b u
            return 0
        fi
        xdotool keyup d e b u
        sleep 1
    done
    fail "the debug keys do not switch the debug mode on"
}

# Whether the game has saved profiles.sav more than n times.
saved_more_than() { [ "$(log_count "Save profiles data (")" -gt "$1" ]; }

# Holds the key (F7, the debug win, in a training level) until the game
# saves profiles.sav once more than the `saves` times counted before.
key_until_saved() {
    press_until "$1" saved_more_than "$2"
}
