#!/usr/bin/python3
"""The data check's rules for the statistics labels and the hint arrow, each
against a small fixture: the sound one gives no fault, each broken one its
own.

    /usr/bin/python3 tools/datagen/check_words_test.py"""

import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

from PIL import Image, ImageDraw  # noqa: E402

import check_words  # noqa: E402

# Font 0 of the fixture: every glyph 20 wide, so a text of n letters is
# 14 n wide at the statistics' size (0.7).
CHARS = "0123456789$:!abcdefghijklmnopqrstuvwxyz "
FONT = "Define CharList\n" + "".join("'%s',\n" % c for c in CHARS) + \
    "Define WidthList\n" + ",".join("20" for _ in CHARS) + ");\nDefine RectList\n"
RESOURCES = '<Resources><Font id="F" path="f.png" data_path="f.txt" interval="0"/></Resources>'

SOUND_TEXTS = {"STATISTICS_1": "cash", "STATISTICS_2": "time", "STATISTICS_3": "combos",
               "STATISTICS_4": "sold", "STATISTICS_5": "sold", "STATISTICS_6": "sold",
               "STATISTICS_7": "lost", "BONUS_STATISTICS_1": "saved",
               "BONUS_STATISTICS_2": "lost", "BONUS_STATISTICS_3": "cash", "EXPERT_MODE": "top"}


def arrow(points):
    """The UPGRADES sheet with a polygon (in cell coordinates) in the arrow's cell."""
    left, top, right, bottom = check_words.ARROW_CELL
    w, h = right - left, bottom - top
    img = Image.new("RGBA", (512, 512))
    ImageDraw.Draw(img).polygon([(left + x * w, top + y * h) for x, y in points],
                                fill=(255, 214, 90, 255))
    return img


LEFT = [(0, 0.5), (0.4, 0), (0.4, 0.3), (1, 0.3), (1, 0.7), (0.4, 0.7), (0.4, 1)]


class StatisticsLabels(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.data = self.tmp.name
        for name, text in (("resources.xml", RESOURCES), ("f.txt", FONT),
                           ("levels.xml", '<Levels><Level expert="4700"/></Levels>')):
            with open(os.path.join(self.data, name), "w") as f:
                f.write(text)

    def tearDown(self):
        self.tmp.cleanup()

    def faults(self, **changed):
        found = []
        check_words.check_statistics(self.data, dict(SOUND_TEXTS, **changed), found.append)
        return found

    def test_short_labels_fit(self):
        self.assertEqual(self.faults(), [])

    def test_a_label_that_runs_into_its_value_or_the_expert_word(self):
        # 308 between the edges: "999" (42) and the gap leave 258, 18 letters.
        cases = [("STATISTICS_7", "x" * 19, "STATISTICS_7: the label is 266 wide, 258 fit"),
                 ("BONUS_STATISTICS_3", "x" * 17, "BONUS_STATISTICS_3: the label is 238 wide, 230 fit"),
                 ("STATISTICS_1", "x" * 12, "STATISTICS_1: the label is 168 wide and runs into"),
                 ("EXPERT_MODE", "expert", "EXPERT_MODE: the word ends at x 598, over the cash $4700")]
        for tid, text, fault in cases:
            with self.subTest(tid=tid):
                found = self.faults(**{tid: text})
                self.assertEqual(len(found), 1, found)
                self.assertTrue(found[0].startswith(fault), found)

    def test_the_longest_line_of_a_label_counts(self):
        self.assertEqual(len(self.faults(STATISTICS_7="lost\n" + "x" * 19)), 1)


class HintArrow(unittest.TestCase):
    def faults(self, img):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "upgrades.png")
            img.save(path)
            found = []
            check_words.check_hint_arrow(path, found.append)
            return found

    def test_an_arrow_pointing_left_gives_no_fault(self):
        self.assertEqual(self.faults(arrow(LEFT)), [])

    def test_arrows_whose_point_is_elsewhere(self):
        cases = [("reversed", [(1 - x, y) for x, y in LEFT], "does not point left"),
                 ("pointing up", [(y, x) for x, y in LEFT], "does not point left"),
                 ("point off the middle", [(x, y * 0.5) for x, y in LEFT], "does not point left"),
                 ("away from the edge", [(0.2 + 0.8 * x, y) for x, y in LEFT], "starts 15 pixels right"),
                 ("empty", [], "cell is empty")]
        for name, points, fault in cases:
            with self.subTest(name):
                img = arrow(points) if points else Image.new("RGBA", (512, 512))
                found = self.faults(img)
                self.assertEqual(len(found), 1, found)
                self.assertIn(fault, found[0])


if __name__ == "__main__":
    unittest.main()
