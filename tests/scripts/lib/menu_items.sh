# Sourced by the whole-program scripts that drive the menus (not a test
# itself). It reads the item boxes of menu.xml and compares screenshots; the
# caller sets menu_xml (the menu.xml in use), scale (the screen scale) and
# shot_file, a function that names the file of a screenshot, and runs the
# game set up by game_run.sh.

# The centre of an item's box in window pixels: "x y", computed as the menu's
# hit test does (check boxes are not centred). With "second", the second
# button of a display-mode chooser.
centre() {
    /usr/bin/python3 - "$menu_xml" "$1" "$scale" "${2:-}" <<'EOF'
import sys
import xml.etree.ElementTree as ET

path, item_id, scale, second = sys.argv[1], sys.argv[2], float(sys.argv[3]), sys.argv[4]


def num(el, name, default):
    value = el.get(name)
    return float(value) if value not in (None, "") else default


for el in ET.parse(path).iter("item"):
    if el.get("id") != item_id:
        continue
    top, bottom = num(el, "r_top", 0), num(el, "r_bottom", 61)
    height = max(bottom - top, num(el, "r1_bottom", 0) - num(el, "r1_top", 0))
    size = num(el, "scale", 1.0)
    x = num(el, "x", 0) + (num(el, "x_disp", 0) if second else 0)
    y = num(el, "y", 0) + (num(el, "y_disp", 0) if second else 0) + height * size / 2
    print(round(x * scale), round(y * scale))
    sys.exit(0)
sys.exit("menu.xml has no item " + item_id)
EOF
}

# A design-space box "left top right bottom" as a crop geometry of the window.
box() {
    awk -v s="$scale" -v l="$1" -v t="$2" -v r="$3" -v b="$4" \
        'BEGIN { printf "%dx%d+%d+%d", (r - l) * s, (b - t) * s, l * s, t * s }'
}

# How many pixels differ between two screenshots inside a crop; with a fourth
# argument, only by more than that fuzz (such as 20%).
differing() {
    differing_files "$(shot_file "$1")" "$(shot_file "$2")" "$3" "${4:-0}"
}

# The same for two image files.
differing_files() {
    /usr/bin/convert "$1" -crop "$3" +repage "$work/crop-a.png"
    /usr/bin/convert "$2" -crop "$3" +repage "$work/crop-b.png"
    compare -fuzz "${4:-0}" -metric AE "$work/crop-a.png" "$work/crop-b.png" null: 2>&1 |
        cut -d' ' -f1 || true
}

# Yellow pixels (red and green above 150, blue below 60) in design y 730-768:
# the version and notice lines of the root page.
yellow() {
    /usr/bin/convert "$(shot_file "$1")" -crop "$(box 0 730 1024 768)" +repage \
        -fx 'r > 150/255 && g > 150/255 && b < 60/255' -format '%[fx:mean * w * h]' info:
}

# Windowed (fullscreen=0), the cursor follows xdotool's absolute moves. In
# fullscreen (fullscreen=1) the game reads relative mouse motion only, 1.2
# times each step times the scale: the cursor goes home to (0, 0) first and
# then moves to its target in steps small enough for the pointer to follow.
fullscreen=0

# Takes a screenshot of the window, again while the X server is too busy to
# answer.
shoot() {
    local try
    for try in 1 2 3 4 5; do
        sleep 0.3
        import -window "$window" "$(shot_file "$1")" 2>/dev/null && return 0
    done
    fail "no screenshot $1"
}

# Takes screenshots until the box (the whole window unless given) has come
# to rest: a fade or a slide is over once two shots in a row differ from the
# one before by no more than `max` pixels (by more than 10%; 300 unless
# given), which small animations stay below. A busy machine shows the fade
# in fewer frames, so this waits on the frames rather than on the clock.
shoot_settled() {
    local name="$1" crop="${2:-}" max="${3:-300}" still=0 since="$SECONDS"
    [ -n "$crop" ] || crop="$(box 0 0 1024 768)"
    shoot "$name"
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        cp "$(shot_file "$name")" "$work/settle-before.png"
        shoot "$name"
        if [ "$(differing_files "$work/settle-before.png" "$(shot_file "$name")" "$crop" 10%)" -le "$max" ]; then
            still=$((still + 1))
            [ "$still" -ge 2 ] && return 0
        else
            still=0
        fi
    done
    fail "$name: the screen does not come to rest inside $crop"
}

away() {
    if [ "$fullscreen" = 1 ]; then
        xdotool mousemove_relative -- -2000 -2000
    else
        xdotool mousemove --window "$window" 2 2
    fi
    sleep 0.2
}

# Moves the cursor to window pixel (x, y).
point() {
    if [ "$fullscreen" != 1 ]; then
        xdotool mousemove --window "$window" "$1" "$2"
        return
    fi
    away
    local dx dy
    read -r dx dy <<<"$(awk -v s="$scale" -v x="$1" -v y="$2" \
        'BEGIN { printf "%d %d", x / (1.2 * s) + 0.5, y / (1.2 * s) + 0.5 }')"
    while [ "$dx" -gt 0 ] || [ "$dy" -gt 0 ]; do
        local sx=$((dx > 100 ? 100 : dx)) sy=$((dy > 100 ? 100 : dy))
        xdotool mousemove_relative -- "$sx" "$sy"
        dx=$((dx - sx))
        dy=$((dy - sy))
        sleep 0.05
    done
}

click() {
    local x y
    read -r x y <<<"$(centre "$@")"
    point "$x" "$y"
    sleep 0.15
    xdotool mousedown 1
    sleep 0.15
    xdotool mouseup 1
    sleep 0.3
}

# The game is killed after game_timeout seconds (ten minutes unless set), a
# guard against a game that hangs; a run that plays whole levels sets more.
start_game() {
    rm -f "$log"
    timeout -k 60 "${game_timeout:-600}" "$binary" 2>"$work/game.stderr" &
    pid=$!
    wait_for_log "Intro resources is released"
    find_window
    # The loading screen's fade ends before the menu takes over.
    sleep 1
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    away
}

# Waits for the game's window to be 800 x 600 (a change of display mode may
# make it again and size it a moment later) and sets window to it.
expect_geometry() {
    local geometry="" since="$SECONDS"
    while [ $((SECONDS - since)) -lt "$progress_deadline" ]; do
        find_window
        geometry="$(xdotool getwindowgeometry "$window" 2>/dev/null | sed -n 's/.*Geometry: //p')"
        [ "$geometry" = "800x600" ] && return 0
        sleep 0.2
    done
    fail "the window is $geometry, not 800x600 ($1)"
}

# Clicks the root page's Exit and expects the game to log "<BR>EXIT GAME" and
# end with exit code 0.
exit_by_menu() {
    click EXIT
    local rc=0
    wait "$pid" || rc=$?
    pid=""
    [ "$rc" -eq 0 ] || fail "exit code $rc after Exit"
    grep -qF "EXIT GAME" "$log" || fail "no EXIT GAME logged"
}
