#!/usr/bin/env bash
# Checks the shipped data set (Resources/Data): every referenced file, the
# resource positions, the level and fish tables, the texts, and that the
# generator still makes the same files. Then makes sure the check itself
# notices faults the generator could bring in: two samples or two streams
# swapped, a glow that carries its light in its alpha, an empty rectangle of
# a shop device's picture, and a pet frame drawn outside the pet's tank.
# Called as: bash data_check.sh <corvalen binary> <source dir>
set -euo pipefail
source_dir="${2:?usage: data_check.sh <binary> <source dir>}"
check="$source_dir/tools/datagen/check_data.py"
/usr/bin/python3 "$check" --root "$source_dir"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Resources"
cp -r "$source_dir/Resources/Data" "$work/Resources/Data"
data="$work/Resources/Data"

expect_fault() {  # <what> <pattern>
    local out
    if out="$(/usr/bin/python3 "$check" --root "$work" --no-regen)"; then
        echo "data check passed with $1"
        exit 1
    fi
    if ! grep -q -- "$2" <<<"$out"; then
        echo "data check missed $1:"
        echo "$out"
        exit 1
    fi
    cp "$source_dir/Resources/Data/resources.xml" "$data/resources.xml"
    cp "$source_dir/Resources/Data/Images/glow.png" "$data/Images/glow.png"
}

sed -i 's/"SND_CHAIN_1"/"SND_X"/; s/"SND_CHAIN_2"/"SND_CHAIN_1"/; s/"SND_X"/"SND_CHAIN_2"/' \
    "$data/resources.xml"
expect_fault "two samples swapped" "Sample position 16 is SND_CHAIN_2"
sed -i 's/"MUSIC_MENU"/"MUSIC_X"/; s/"MUSIC_BONUS"/"MUSIC_MENU"/; s/"MUSIC_X"/"MUSIC_BONUS"/' \
    "$data/resources.xml"
expect_fault "two streams swapped" "Stream position 0 is MUSIC_BONUS"
/usr/bin/python3 - "$data/Images/glow.png" <<'PY'
import sys
from PIL import Image
img = Image.open(sys.argv[1]).convert("RGBA")
img.putalpha(Image.eval(img.convert("L"), lambda v: min(255, v * 2)))
img.save(sys.argv[1])
PY
expect_fault "a glow lit by its alpha" "glow.png: .* pixels are not opaque"
# A rectangle a shop device cuts, emptied: a dark door glow, a transparent brush.
blank() {  # <image> <left> <top> <right> <bottom>
    /usr/bin/python3 - "$@" <<'PY'
import sys
from PIL import Image
path, box = sys.argv[1], tuple(int(v) for v in sys.argv[2:])
img = Image.open(path).convert("RGBA")
img.paste((0, 0, 0, 0), box)
img.save(path)
PY
}
blank "$data/Images/machine_glow.png" 34 150 120 235
expect_fault "a dark machine door glow" "machine_glow.png: the rectangle 34-120 x 150-235 .* is dark"
cp "$source_dir/Resources/Data/Images/machine_glow.png" "$data/Images/machine_glow.png"
blank "$data/Images/brush.png" 47 362 99 414
expect_fault "a transparent brush picture" "brush.png: the rectangle 47-99 x 362-414 .* is transparent"
cp "$source_dir/Resources/Data/Images/brush.png" "$data/Images/brush.png"
pet_frames="$data/Animations/a_pet_turtle_2.txt"
cp "$pet_frames" "$work/pet_frames.txt"
sed -i '1s/;[-0-9]*;[-0-9]*"$/;-40;-70"/' "$pet_frames"
expect_fault "a pet frame outside its tank" "a_pet_turtle_2.txt: frame 0 of the pet turtle's clip 4"
cp "$work/pet_frames.txt" "$pet_frames"
echo "the data check finds swapped sounds, translucent glows, empty device pictures and pets outside their tanks"
