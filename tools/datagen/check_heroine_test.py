#!/usr/bin/python3
"""The data check's rules for the heroine's footwear sheets: the painted sheets
pass; a cut cell left empty or with its shoes away from her feet fails, and so
does a still painted below her soles.

    /usr/bin/python3 tools/datagen/check_heroine_test.py"""

import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

import check_data  # noqa: E402
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

if __name__ == "__main__":
    unittest.main()
