#!/usr/bin/python3
"""The data check's rules for the instrument panel and its room: the shipped
data passes; pictures broken as they once were are reported. The sand
painted across the rock's cell (the dark strokes over the shelf), sand
filling its whole picture (over the stones), a machine whose
top runs up to the time frame, the city's wall paintings along the top of
the wall, a wall picture under the left HUD panel and a left panel whose
corner reaches over the pet's wish bubble each fail.

    /usr/bin/python3 tools/datagen/check_panel_test.py"""

import os
import shutil
import sys
import tempfile
import unittest

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

import check_panel  # noqa: E402
import images  # noqa: E402

SHIPPED = os.path.join(HERE, "..", "..", "Resources", "Data")
INK = (22, 34, 58, 255)

# The city's paintings as they once hung: five in a row along the top of
# the wall, behind the jars, the machine and the shelf and under the HUD.
OLD_CITY = {3: [("painting", (60 + 200 * k, 50, 201 + 200 * k, 191)) for k in range(5)]}


class PanelRules(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp()
        shutil.copy(os.path.join(SHIPPED, "resources.xml"), self.root)
        os.symlink(os.path.abspath(os.path.join(SHIPPED, "Images")), os.path.join(self.root, "shipped"))
        os.makedirs(os.path.join(self.root, "Images"))
        for name in os.listdir(os.path.join(SHIPPED, "Images")):
            os.symlink(os.path.join(self.root, "shipped", name), os.path.join(self.root, "Images", name))

    def tearDown(self):
        shutil.rmtree(self.root)

    def broken(self, name, paint):
        """Replaces a picture of the fixture by the shipped one with `paint`
        applied to it."""
        path = os.path.join(self.root, "Images", name)
        img = Image.open(os.path.realpath(path)).convert("RGBA")
        os.unlink(path)
        paint(ImageDraw.Draw(img))
        img.save(path)

    def faults(self, features=None):
        found = []
        check_panel.check(self.root, images.ROOM_FEATURES if features is None else features, found.append)
        return found

    def test_shipped_data_passes(self):
        self.assertEqual(self.faults(), [])

    def test_stroke_in_the_rocks_cell_fails(self):
        # the sand's last rows lie in the rock's cell: the rock shows them
        # as a dark stroke above itself
        self.broken("items.png", lambda d: d.line([(150, 80), (200, 80)], fill=INK, width=2))
        found = self.faults()
        self.assertTrue(any("cells of SAND (140-205 x 47-82) and ROCK" in f for f in found), found)

    def test_sand_filling_its_picture_overlaps_the_stones_everywhere(self):
        self.broken("items.png", lambda d: d.chord([140, 47, 204, 110], 180, 360, fill=(236, 212, 150, 255), outline=INK))
        found = self.faults()
        self.assertTrue(any("cells of SAND (140-205 x 47-82) and CASTLE" in f for f in found), found)
        for loc in (1, 2, 3):
            self.assertTrue(any(f.startswith("location %d: SAND and STONE overlap" % loc) for f in found), (loc, found))

    def test_machine_reaching_up_to_the_time_frame_fails(self):
        # the level-3 body with its hopper in its top rows, as it once was
        self.broken("upgrades.png", lambda d: d.rectangle([420, 33, 480, 38], fill=INK))
        found = self.faults()
        self.assertTrue(any("MACHINE_3 lies against the HUD" in f for f in found), found)
        self.assertFalse(any("MACHINE_1 lies" in f or "MACHINE_2 lies" in f for f in found), found)

    def test_paintings_along_the_top_of_the_city_wall_fail(self):
        found = self.faults(OLD_CITY)
        hud = [f for f in found if "against the HUD" in f]
        panel = [f for f in found if "against the panel" in f]
        self.assertEqual(len(hud), 3, found)    # the two at the left and the one at the right
        self.assertEqual(len(panel), 5, found)
        self.assertTrue(all(f.startswith("location 3: the painting") for f in found), found)

    def test_wall_picture_under_the_left_hud_panel_fails(self):
        # the city's hanging lamp filling its cell at (180, 0): its top lies
        # under the left panel
        self.broken("location_updates_2.png", lambda d: d.rectangle([215, 745, 300, 830], fill=INK))
        found = self.faults()
        self.assertEqual(len(found), 1, found)
        self.assertIn("location 3: piece LOCATION_UPDATES_2 210-308 x 742-836 at (180, 0) lies against the HUD", found[0])

    def test_left_panel_reaching_over_the_pets_bubble_fails(self):
        # the left panel's bar with its lower right corner whole, as it
        # once was: the beach shop's pet opens its wishes under it
        self.broken("left_menu.png", lambda d: d.rectangle([270, 20, 297, 45], fill=(24, 88, 140, 255)))
        found = self.faults()
        self.assertEqual(len(found), 1, found)
        self.assertTrue(found[0].startswith("location 2: the pet's wish bubble lies against the HUD"), found)


if __name__ == "__main__":
    unittest.main()
