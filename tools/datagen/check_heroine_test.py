#!/usr/bin/python3
"""The data check's rules for the heroine: the painted footwear sheets pass; a
cut cell left empty or with its shoes away from her feet fails, and so does a
still painted below her soles. Clips with pictures of their own pass, and
two clips that show one picture fail; an aquarium whose glass lets her legs
show through fails. Her figure with its ink outline stands out from every
room's floor; the figure without it fails.

    /usr/bin/python3 tools/datagen/check_heroine_test.py"""

import os
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
from unittest import mock

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

import check_data  # noqa: E402
import anims  # noqa: E402
import check_heroine  # noqa: E402
import footwear  # noqa: E402
import images  # noqa: E402

SIZES = {1: ((364, 504), (844, 1021)), 3: ((364, 504), (848, 1023))}


class FootwearRule(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = self.tmp.name
        os.makedirs(os.path.join(self.root, "Images"))
        check_data.faults.clear()
        check_data.IMAGES.clear()
        self.sheets = {}
        for level, ids in check_data.FOOTWEAR_SHEETS.items():
            small, large = SIZES.get(level, SIZES[1])
            for second, (rid, size) in enumerate(zip(ids, (small, large))):
                rel = "Images/%s.png" % rid.lower()
                self.sheets[(level, second + 1)] = rel
                check_data.IMAGES[rid] = (None, rel)
                images.footwear(size[0], size[1], level, bool(second)).save(os.path.join(self.root, rel))

    def tearDown(self):
        self.tmp.cleanup()
        check_data.IMAGES.clear()
        check_data.faults.clear()

    def edit(self, level, sheet, change):
        path = os.path.join(self.root, self.sheets[(level, sheet)])
        img = Image.open(path).convert("RGBA")
        change(img)
        img.save(path)

    def test_painted_sheets_pass(self):
        check_data.check_footwear(self.root)
        self.assertEqual(check_data.faults, [])

    def test_an_empty_cut_cell_fails(self):
        clip = footwear.clips(3)[1]  # the glance of the boots, with its shifted column
        l, r, t, b = footwear.cut(clip, footwear.visited(clip)[0])
        self.edit(3, 2, lambda img: img.paste((0, 0, 0, 0), (l, t, r, b)))
        check_data.check_footwear(self.root)
        self.assertEqual(len(check_data.faults), 1, check_data.faults)
        self.assertIn("transparent", check_data.faults[0])

    def test_shoes_away_from_her_feet_fail(self):
        # The small sheet's walking-up cell painted with shoes high in the
        # cell: at the clip's offset they float at her knees. Both walking-up
        # clips (one of them mirrored) cut it.
        clip = footwear.clips(1)[14]
        l, r, t, b = footwear.cut(clip, footwear.visited(clip)[0])

        def raise_shoes(img):
            img.paste((0, 0, 0, 0), (l, t, r, b))
            img.paste((200, 100, 100, 255), (l + 20, t + 2, l + 40, t + 8))
        self.edit(1, 1, raise_shoes)
        check_data.check_footwear(self.root)
        self.assertEqual(len(check_data.faults), 2, check_data.faults)
        self.assertIn("clip 14 ", check_data.faults[0])
        self.assertIn("clip 22 ", check_data.faults[1])
        for f in check_data.faults:
            self.assertIn("not under her feet", f)

    def test_a_still_painted_below_her_soles_fails(self):
        # The slab once painted in the still region of the large sheets of
        # levels 1 and 3: each is reported once.
        l, r, t, b = footwear.STILL
        for level in (1, 3):
            self.edit(level, 2, lambda img: img.paste((250, 140, 170, 200), (l + 6, t + 4, r - 6, b - 6)))
        check_data.check_footwear(self.root)
        self.assertEqual(len(check_data.faults), 2, check_data.faults)
        for f in check_data.faults:
            self.assertIn("below her soles", f)


class ClipPictures(unittest.TestCase):
    """Two clips on one sheet of three 8 x 8 cells: red, blue, green."""

    def faults(self, rest, walk):
        with tempfile.TemporaryDirectory() as root:
            sheet = Image.new("RGBA", (24, 8))
            for k, colour in enumerate(((255, 0, 0, 255), (0, 0, 255, 255), (0, 255, 0, 255))):
                sheet.paste(colour, (k * 8, 0, k * 8 + 8, 8))
            sheet.save(os.path.join(root, "sheet.png"))
            el = ET.Element("Animation2D", image_id="SHEET")
            cells = {"REST": rest, "WALK": walk}

            def rects(root, el, pre):
                return [(k * 8, k * 8 + 8, 0, 8, 0, 0) for k in cells[pre]]
            anims = {"REST": (el, "REST"), "WALK": (el, "WALK")}
            found = []
            with mock.patch.dict(check_heroine.CLIPS, {"rest": ("REST", 0, 1), "walking": ("WALK", 0, 1)}, clear=True):
                check_heroine.check(root, anims, {"SHEET": (None, "sheet.png")}, rects, found.append)
            return found

    def test_clips_of_their_own_pass(self):
        self.assertEqual(self.faults([0, 1], [2, 2]), [])

    def test_a_shared_picture_fails(self):
        found = self.faults([0, 1], [2, 1])
        self.assertEqual(len(found), 1, found)
        self.assertIn('"rest" and "walking" show the same picture', found[0])


class TankGlass(unittest.TestCase):
    def faults(self, change):
        with tempfile.TemporaryDirectory() as root:
            body = images.aquarium_body(0)
            change(body)
            body.save(os.path.join(root, "aquarium_1.png"))
            found = []
            with mock.patch.dict(check_heroine.TANK_BODIES, {"AQUARIUM_1": (0, 242, 0, 158)}, clear=True):
                check_heroine.check_tank_glass(root, {"AQUARIUM_1": (None, "aquarium_1.png")}, found.append)
            return found

    def test_the_painted_body_passes(self):
        self.assertEqual(self.faults(lambda img: None), [])

    def test_see_through_water_fails(self):
        # water at the translucency it once had, where her legs stand
        found = self.faults(lambda img: img.paste((120, 200, 240, 150), (100, 60, 140, 130)))
        self.assertEqual(len(found), 1, found)
        self.assertIn("2800 pixels", found[0])


class Outline(unittest.TestCase):
    """A sheet of her standing, walking and cheering on each room's floor."""

    POSES = (("stand", 0, 0), ("walk", 0.25, 1), ("walk", 0.5, 2), ("cheer", 0.2, 0))

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.images = {}
        for loc in (1, 2, 3):
            rel = "location_%d.png" % loc
            images.location(loc).save(os.path.join(cls.tmp.name, rel))
            cls.images["LOCATION_%d" % loc] = (None, rel)
        for outline in (True, False):
            sheet = Image.new("RGBA", (len(cls.POSES) * 111, 262))
            for k, (pose, phase, view) in enumerate(cls.POSES):
                sheet.alpha_composite(anims.heroine(pose, phase, view, outline=outline), (k * 111, 0))
            rel = "figure_%s.png" % ("outlined" if outline else "plain")
            sheet.save(os.path.join(cls.tmp.name, rel))
            cls.images[rel] = (None, rel)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def faults(self, loc, sheet):
        found = []
        floors = {"location %d" % loc: ("LOCATION_%d" % loc, 0, 1024, 262, 768)}
        with mock.patch.dict(check_heroine.FLOORS, floors, clear=True), \
                mock.patch.object(check_heroine, "FIGURE_SHEETS", [sheet]):
            check_heroine.check_outline(self.tmp.name, self.images, found.append)
        return found

    def test_the_outlined_figure_stands_out_from_every_floor(self):
        for loc in (1, 2, 3):
            with self.subTest(location=loc):
                self.assertEqual(self.faults(loc, "figure_outlined.png"), [])

    def test_a_figure_without_outline_fails_on_every_floor(self):
        # skin-coloured legs and a light dress on light floors
        for loc in (1, 2, 3):
            with self.subTest(location=loc):
                found = self.faults(loc, "figure_plain.png")
                self.assertEqual(len(found), 1, found)
                self.assertIn("floor of location %d" % loc, found[0])
                self.assertIn("less than 3:1", found[0])


if __name__ == "__main__":
    unittest.main()
