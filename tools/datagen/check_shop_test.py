#!/usr/bin/python3
"""The data check's rules for the wish bubble's pictures and the fish frames,
one small fixture per rule: each broken picture must give its fault, the
sound one none.

    /usr/bin/python3 tools/datagen/check_shop_test.py"""

import os
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

from PIL import Image, ImageDraw  # noqa: E402

import anims  # noqa: E402
import check_data  # noqa: E402
import images  # noqa: E402

RESOURCES = """<Resources><SetDefaults path="Resources/Data/"/>
<Image id="AQUARIUM_INTERIORS" path="interiors.png"/>
<Image id="AQUARIUM_ANIMATION" path="animation.png"/>
<Image id="SHEET_FISH_1" path="fish.png"/>
<Animation2D id="A_FISH_1" path="fish.txt" image_id="SHEET_FISH_1" width="20" height="10"/>
</Resources>"""

WISH_PLACES = [r[:4] for r in images.WISH_SINGLE_ICONS + images.WISH_INTERIOR_ICONS]
BUBBLE_PIECES = [(123, 175, 436, 486), (0, 116, 423, 485)]
# A 20 x 10 fish, centred in the water for FISH_1's area and offsets.
FISH_W, FISH_H = 20, 10


def fish_hot(stage):
    left, top, right, bottom = anims.FISH_AREAS["FISH_1"]
    ox, oy = anims.FISH_STAGE_OFFSETS["FISH_1"][stage]
    wl, wr, wt, wb = anims.WATER_BOX
    fx = wl + (wr - wl - (right - left) - FISH_W) // 2
    fy = wt + (wb - wt - (bottom - top) - FISH_H) // 2
    return fx - left - ox, fy - top - oy


class ShopRules(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = self.tmp.name
        self.data = os.path.join(self.root, "Resources", "Data")
        os.makedirs(self.data)
        with open(os.path.join(self.data, "resources.xml"), "w") as f:
            f.write(RESOURCES)
        self.paint("interiors.png", 512, 512, WISH_PLACES)
        self.paint("animation.png", 256, 512, BUBBLE_PIECES)
        Image.new("RGBA", (FISH_W, FISH_H), (200, 100, 50, 255)).save(os.path.join(self.data, "fish.png"))
        self.hot = [fish_hot(0 if n >= 152 else 2) for n in range(228)]
        check_data.faults.clear()

    def tearDown(self):
        self.tmp.cleanup()

    def paint(self, name, w, h, rects, skip=None):
        img = Image.new("RGBA", (w, h))
        d = ImageDraw.Draw(img)
        for rect in rects:
            if rect != skip:
                l, r, t, b = rect
                d.rectangle([l + 3, t + 3, r - 4, b - 4], fill=(255, 255, 255, 255))
        img.save(os.path.join(self.data, name))

    def faults(self):
        with open(os.path.join(self.data, "fish.txt"), "w") as f:
            f.write("".join('"0;0;0;1;0;1;%d;%d"\n' % hot for hot in self.hot))
        records = [(el.tag, el, "Resources/Data/")
                   for el in ET.parse(os.path.join(self.data, "resources.xml")).getroot()
                   if el.tag != "SetDefaults"]
        check_data.check_fish_in_water(self.root, records)
        check_data.check_wish_pictures(self.root, records)
        return list(check_data.faults)

    def test_sound_pictures_give_no_fault(self):
        self.assertEqual(self.faults(), [])

    def test_an_empty_icon_place(self):
        for place in (WISH_PLACES[0], WISH_PLACES[-1]):
            check_data.faults.clear()
            self.paint("interiors.png", 512, 512, WISH_PLACES, skip=place)
            self.assertEqual(self.faults(), ["AQUARIUM_INTERIORS: the wish bubble's picture at %d..%d x %d..%d is empty" % place])

    def test_a_missing_bubble_piece(self):
        for piece in BUBBLE_PIECES:
            check_data.faults.clear()
            self.paint("animation.png", 256, 512, BUBBLE_PIECES, skip=piece)
            self.assertEqual(self.faults(), ["AQUARIUM_ANIMATION: the wish bubble's picture at %d..%d x %d..%d is empty" % piece])

    def test_a_frame_out_of_the_water(self):
        sound = list(self.hot)
        for frame, shift in ((0, (-40, 0)), (200, (40, 0)), (152, (0, 60)), (75, (0, -60))):
            with self.subTest(frame=frame):
                check_data.faults.clear()
                self.hot = list(sound)
                hx, hy = self.hot[frame]
                self.hot[frame] = (hx + shift[0], hy + shift[1])
                found = self.faults()
                self.assertEqual(len(found), 1, found)
                self.assertTrue(found[0].startswith("A_FISH_1: frame %d leaves the water" % frame), found)

    def test_the_half_grown_block_is_not_checked(self):
        hx, hy = self.hot[100]
        self.hot[100] = (hx - 300, hy)
        self.assertEqual(self.faults(), [])


if __name__ == "__main__":
    unittest.main()
