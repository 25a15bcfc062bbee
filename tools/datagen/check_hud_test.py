#!/usr/bin/python3
"""The data check's rule for the play HUD's texts: the shipped font passes,
and a font whose letters fill their cells from the top (as font 1 once did)
is reported for the labels cut by the screen's top edge and the one that
runs off the bottom of the panel. The painted top-right corner passes; a
frame painted whole over it (as it once was) covers the pause sign and runs
past the screen's right edge.

    /usr/bin/python3 tools/datagen/check_hud_test.py"""

import os
import sys
import tempfile
import unittest

from PIL import ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

import check_hud  # noqa: E402
import fonts  # noqa: E402
import images  # noqa: E402
import painters  # noqa: E402
from common import FONT_COND_BOLD  # noqa: E402

TEXTS = {"CASH": "Cash", "LEVEL": "Level", "MENU_NORMAL": "Goal", "MENU_EXPERT": "Expert", "CLOSED": "Closed"}


def font_data(root, glyphs):
    """A data folder holding only font 1 (and a font 0 before it)."""
    os.makedirs(os.path.join(root, "Fonts"))
    f1 = fonts.font_format1(root, "Fonts", "font_title", glyphs)
    with open(os.path.join(root, "resources.xml"), "w") as f:
        f.write('<Resources><Font id="FONT_TEXT"/><FontFi id="FONT_TITLE" path="%s" data_path="%s" '
                'symbols_path="%s" height="%d" max_length="%d"/></Resources>'
                % (f1["path"], f1["data_path"], f1["symbols_path"], f1["height"], f1["max_length"]))


class HudTextRule(unittest.TestCase):
    def faults(self, glyphs):
        with tempfile.TemporaryDirectory() as root:
            font_data(root, glyphs)
            found = []
            check_hud.check(root, TEXTS, found.append)
            return found

    def test_shipped_font_passes(self):
        found = []
        check_hud.check(os.path.join(HERE, "..", "..", "Resources", "Data"), TEXTS, found.append)
        self.assertEqual(found, [])

    def test_letters_at_the_top_of_their_cells_fail(self):
        found = self.faults(fonts.Glyphs(FONT_COND_BOLD, 30, 3, False))
        named = sorted(f.split("HUD text ")[1].split(" at")[0] for f in found)
        self.assertEqual(named, ["CASH", "CLOSED", "MENU_EXPERT", "MENU_NORMAL"], found)



class CornerRule(unittest.TestCase):
    def faults(self, frame):
        with tempfile.TemporaryDirectory() as root:
            os.makedirs(os.path.join(root, "Images"))
            gui = images.new(513, 513)
            gui.alpha_composite(images.hud_corner(107, 74), (301, 0))
            gui.save(os.path.join(root, "Images", "gui.png"))
            icons = images.new(512, 512)
            icons.alpha_composite(frame(130, 88), (345, 423))
            icons.save(os.path.join(root, "Images", "icons.png"))
            found = []
            check_hud.check_corner(root, {"GUI": "Images/gui.png", "ICONS": "Images/icons.png"}, found.append)
            return found

    def test_painted_corner_passes(self):
        self.assertEqual(self.faults(images.hud_corner_frame), [])

    def test_a_whole_frame_over_the_corner_fails(self):
        found = self.faults(lambda w, h: painters.panel(w, h, radius=24))
        self.assertEqual(len(found), 2, found)
        self.assertIn("frame picture is painted past the screen's right edge", found[0])
        self.assertIn("pause sign does not show at rest", found[1])


class ReadableRule(unittest.TestCase):
    """The closed sign and the button captions on the shipped pictures pass;
    a time frame with a see-through track and a yellow rim (as it once was)
    and a button whose gloss is cut into its face fail."""

    def faults(self, frame, button):
        with tempfile.TemporaryDirectory() as root:
            font_data(root, fonts.Glyphs(FONT_COND_BOLD, 23, 3, False, margin=fonts.TITLE_MARGIN, narrow=0.2))
            gui = images.new(513, 513)
            gui.alpha_composite(frame(347, 38), (92, 475))
            gui.alpha_composite(button(235, 65, False), (0, 86))
            gui.alpha_composite(button(235, 68, True), (0, 226))
            gui.save(os.path.join(root, "gui.png"))
            found = []
            check_hud.check_readable(root, {"GUI": "gui.png"}, dict(TEXTS, RESUME="Resume", BUY="Buy"),
                                     found.append)
            return found

    def test_shipped_pictures_pass(self):
        self.assertEqual(self.faults(images.time_frame, painters.button), [])

    def test_a_see_through_frame_fails(self):
        def frame(w, h):
            img = images.new(w, h)
            img.alpha_composite(painters.bar(w, images.TIME_FRAME_ROWS, None, frame=True), (0, 0))
            return img
        found = self.faults(frame, painters.button)
        self.assertEqual(len(found), 1, found)
        self.assertIn("GUI time frame: CLOSED", found[0])

    def test_a_gloss_cut_into_the_button_fails(self):
        def button(w, h, hover):
            img = painters.button(w, h, hover)
            ImageDraw.Draw(img).rounded_rectangle([8, 5, w - 9, h // 2], h // 4, fill=(255, 255, 255, 40))
            return img
        found = self.faults(images.time_frame, button)
        self.assertEqual(sorted(f.split(": ")[1].split(" ")[0] for f in found), ["BUY", "BUY", "RESUME", "RESUME"])


if __name__ == "__main__":
    unittest.main()
