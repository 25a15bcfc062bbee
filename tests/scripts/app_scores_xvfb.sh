#!/usr/bin/env bash
# The menu backdrop and the high-score table of the whole program on a real X
# server (Xvfb 1024 x 768 x 24), driven with xdotool, with fresh per-user
# files.
# 1. A first start, fullscreen at 1024 x 768 (screen scale 1), where the
#    game reads relative mouse motion only: no high_scores.sav, so the table
#    is made new ("Load records", "Create new records") and not written.
#    After the name entry the root page shows; two screenshots half a second
#    apart differ on a swaying plant that no item covers (the backdrop moves),
#    and the chest that shows behind the root page alone is gone from the
#    options page. Unchecking fullscreen and Apply give "Windowed mode" and an
#    800 x 600 window. SIGTERM: exit code 0, still no high_scores.sav.
# 2. Started again in that window (scale 0.78125) with Marina's game at one
#    past the last level of levels.xml (started, story level 46, total score
#    12345): Play opens its page and Continue completes the game, so
#    high_scores.sav holds Marina's 12345 over eleven empty rows and her
#    record is a new player's again. SIGTERM: exit code 0.
# 3. Started again with a high_scores.sav of
#    twelve records: the high-score page shows the names of rows 1 and 12 in
#    near-white on the dark panel behind the table; Back returns to the root
#    page; Exit ends the program with exit code 0 and leaves high_scores.sav
#    as it was.
# Screenshots are kept in <build>/app-screenshots/scores-*.png.
# Called as: bash app_scores_xvfb.sh <corvalen binary> <source dir>
set -euo pipefail
source "$(dirname "$0")/lib/game_run.sh"
source "$(dirname "$0")/lib/menu_items.sh"
game_run_setup app_scores_xvfb.sh "$@"
user="$work/data/Ostrel/Corvalen"
menu_xml="$source_dir/Resources/Data/menu.xml"
scores="$user/high_scores.sav"
mkdir -p "$user"
keep_shots scores
show_on_failure+=("$work/game.stderr")
start_xvfb 1024x768x24

# Near-white pixels (red, green and blue above 200) inside a crop.
near_white() {
    /usr/bin/convert "$(shot_file "$1")" -crop "$2" +repage \
        -fx 'r > 200/255 && g > 200/255 && b > 200/255' -format '%[fx:mean * w * h]' info:
}

# The mean brightness (0 to 1) of a crop.
brightness() {
    /usr/bin/convert "$(shot_file "$1")" -crop "$2" +repage -colorspace Gray \
        -format '%[fx:mean]' info:
}

# 1. A fullscreen first start.
fullscreen=1
scale=1
start_game
grep -qF "Run mode: fullscreen (1024x768" "$log" || fail "the first start is not fullscreen"
grep -qF "Load records (" "$log" || fail "no Load records logged"
wait_for_log "Create new records" "Load records ("
xdotool type --delay 80 "Marina"
xdotool key Return
wait_for_log "Complete" "Save profiles data ("
away
shoot root
sleep 0.2
shoot root-later
# The right-hand plant sways under the light; the version line below it is
# left out.
plant="$(box 880 540 970 725)"
[ "$(differing root root-later "$plant")" -gt 50 ] ||
    fail "the backdrop does not move inside the plant's box $plant"
[ "$(yellow root)" != 0 ] || fail "the root page does not show"

click MAIN_3
shoot options
[ "$(yellow options)" = 0 ] || fail "the options page does not show"
# The chest's box: the light drifting over it changes little, the chest
# leaving it changes most of it.
chest="$(box 40 594 240 754)"
[ "$(differing root root-later "$chest" 25%)" -lt 4000 ] ||
    fail "the chest's box changes by itself on the root page"
[ "$(differing root options "$chest" 25%)" -gt 12000 ] ||
    fail "the chest does not leave with the root page"

click FULLSCREEN
click APPLY
wait_for_log "Windowed mode" "APPLY VIDEO OPTIONS"
fullscreen=0
scale=0.78125
expect_geometry "after Apply"
close_game
[ ! -e "$scores" ] || fail "a first start without a finished game wrote high_scores.sav"
grep -qF "Windowed mode" "$log" || fail "no Windowed mode logged"

# 2. Marina's game resumed one past the last level of levels.xml: Continue
# completes the game, her score enters the new table, which is saved, and her
# record goes back to a new player's.
cp "$user/profiles.sav" "$work/marina.sav"
/usr/bin/python3 - "$work/marina.sav" "$user/profiles.sav" \
    "$source_dir/Resources/Data/levels.xml" <<'EOF'
import struct
import sys
import xml.etree.ElementTree as ET

record = bytearray(open(sys.argv[1], "rb").read())
levels = sum(1 for el in ET.parse(sys.argv[3]).getroot() if el.tag in ("Level", "BonusLevel"))
record[35] = 1                                        # started
struct.pack_into("<i", record, 40, levels + 1)        # level index
struct.pack_into("<i", record, 60, 12345)             # total score
struct.pack_into("<i", record, 72, 46)                # story level
open(sys.argv[2], "wb").write(record)
EOF
start_game
expect_geometry "completion start"
click MAIN_1
shoot play
[ "$(yellow play)" = 0 ] || fail "Play does not open its page"
click CONTINUE_GAME
wait_for_log "Complete" "Save records ("
wait_for_log "Complete" "Save profiles data ("
/usr/bin/python3 - "$work/completed.sav" <<'EOF'
import struct
import sys

with open(sys.argv[1], "wb") as out:
    for rank in range(12):
        name, score = ("Marina", 12345) if rank == 0 else ("Nobody yet", 0)
        out.write(name.encode("utf-16-le").ljust(34, b"\0") + b"\0\0")
        out.write(struct.pack("<I", score))
EOF
[ "$(stat -c %s "$scores")" -eq 480 ] || fail "high_scores.sav is not 480 bytes"
cmp "$scores" "$work/completed.sav" || fail "high_scores.sav does not hold Marina's 12345 first"
cmp "$user/profiles.sav" "$work/marina.sav" || fail "Marina's record was not reset"
close_game

# 3. The table of a high_scores.sav written here: twelve records, each a name
# of 17 UTF-16LE units ending in zeros, two padding bytes and the score.
/usr/bin/python3 - "$scores" <<'EOF'
import struct
import sys

names = ["Wendeline", "Ottokar", "Ilse", "Bertram", "Kunigunde", "Anselm",
         "Rosalind", "Egbert", "Mechthild", "Leopold", "Hedwig", "Walpurga"]
with open(sys.argv[1], "wb") as out:
    for rank, name in enumerate(names):
        out.write(name.encode("utf-16-le").ljust(34, b"\0") + b"\0\0")
        out.write(struct.pack("<I", 98000 - 8000 * rank))
EOF
[ "$(stat -c %s "$scores")" -eq 480 ] || fail "the written table is not 480 bytes"
cp "$scores" "$work/scores.before"
start_game
expect_geometry "second start"
wait_for_log "Complete" "Load records ("
! grep -qF "Create new records" "$log" || fail "the written table was not read"

click MAIN_4
away
shoot table
# The name areas of rows 1 and 12 (rows 33.6 apart from y 196, names from
# x 345): glyphs in near-white over the dark panel.
for row in 1 12; do
    top="$(awk -v r="$row" 'BEGIN { printf "%d", 196 + 33.6 * (r - 1) }')"
    area="$(box 345 "$top" 545 $((top + 30)))"
    [ "$(near_white table "$area")" -gt 20 ] || fail "no near-white name in row $row ($area)"
    awk -v b="$(brightness table "$area")" 'BEGIN { exit !(b < 0.4) }' ||
        fail "no dark panel behind row $row ($area)"
done

click HIGH_SCORES_BACK
away
shoot back
[ "$(yellow back)" != 0 ] || fail "Back does not return to the root page"
exit_by_menu
cmp "$scores" "$work/scores.before" || fail "high_scores.sav changed"
! grep -qF "Color = Red" "$log" || fail "the log holds errors"
echo "app_scores_xvfb: 3 passed, 0 failed"
