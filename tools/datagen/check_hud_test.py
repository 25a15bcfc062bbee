#!/usr/bin/python3
"""The data check's rule for the play HUD's texts: the shipped font passes,
and a font whose letters fill their cells from the top (as font 1 once did)
is reported for the labels cut by the screen's top edge and the one that
runs off the bottom of the panel.

    /usr/bin/python3 tools/datagen/check_hud_test.py"""

import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

import check_hud  # noqa: E402
import fonts  # noqa: E402
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


if __name__ == "__main__":
    unittest.main()
