#!/usr/bin/python3
"""The data check's rules for the session screens and the tunes, one small
fixture per rule: each broken fixture must give its fault, the sound one none.

    /usr/bin/python3 tools/datagen/check_scenes_test.py"""

import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

import check_scenes as C  # noqa: E402
import images  # noqa: E402


def faults(rule, *args):
    found = []
    rule(*args, found.append)
    return found


class TextBoxes(unittest.TestCase):
    def test_lines_are_laid_out_as_the_game_draws_them(self):
        # glyphs 10 wide, interval -1: "aa" is 18 wide, a space 0.7 of 9
        font = C.Font({"0": 10, "1": 10, "2": 10, "a": 10}, 30, -1.0)
        self.assertEqual(font.boxes("aa", 100, 50, 1.0), [(100, 50, 118, 80)])
        self.assertEqual(font.boxes("aa", 100, 50, 1.0, "centre"), [(91, 50, 109, 80)])
        self.assertEqual(font.boxes("aa", 100, 50, 1.0, "right"), [(82, 50, 100, 80)])
        # the second line steps down by the whole pixels of (height + spacing) x size
        (l1, t1, r1, b1), (l2, t2, r2, b2) = font.boxes("a a\naa", 0, 0, 0.5, "left", -2)
        self.assertAlmostEqual(r1, 0.5 * (9 + 6.3 + 9))
        self.assertEqual(t2, 14)


class TextContrast(unittest.TestCase):
    """A 200 x 100 picture drawn at (100, 100): the page blue on the left,
    pale sand on the right, transparent at the bottom."""

    def setUp(self):
        self.pic = Image.new("RGBA", (200, 100), (0, 0, 0, 0))
        self.pic.paste((*images.PAGE_BLUE, 255), (0, 0, 100, 70))
        self.pic.paste((236, 212, 150, 255), (100, 0, 200, 70))

    def check(self, colour, box):
        return faults(C.check_text_on, self.pic, "FIXTURE", (100, 100), [("TEXT", colour, [box])])

    def test_cases(self):
        cases = [  # colour, line box, fault or None
            (C.WHITE, (110, 110, 190, 130), None),             # white on the page blue
            (C.BLACK, (110, 110, 190, 130), None),             # black on it too
            (C.WHITE, (210, 110, 290, 130), "contrast"),        # white on pale sand
            (C.WHITE, (150, 110, 250, 130), "contrast"),        # half on the sand
            (C.BLACK, (110, 160, 190, 180), "not on an opaque part"),  # over the clear part
            (C.WHITE, (980, 110, 1040, 130), "off the screen"),
        ]
        for colour, box, want in cases:
            with self.subTest(colour=colour, box=box):
                found = self.check(colour, box)
                if want is None:
                    self.assertEqual(found, [])
                else:
                    self.assertTrue(any(want in f for f in found), found)


class ComicLayout(unittest.TestCase):
    def panel(self, **change):
        p = dict(frame=(30, 30, 500, 370), caption=(42, 42, 488, 92), texts=[(80, 55, 450, 80)],
                 face=(100, 142, 160, 210), text="A caption.")
        p.update(change)
        return p

    def test_cases(self):
        cases = [
            ({}, None),
            ({"caption": (20, 42, 488, 92)}, "leaves the picture"),
            ({"texts": [(40, 55, 490, 80)]}, "runs out of its box"),
            ({"face": (100, 80, 160, 150)}, "covers the heroine's face"),
        ]
        for change, want in cases:
            with self.subTest(change=change):
                found = faults(C.check_comic_layout, 1, [self.panel(**change)])
                if want is None:
                    self.assertEqual(found, [])
                else:
                    self.assertTrue(any(want in f for f in found), found)


class MapLayout(unittest.TestCase):
    DOTS = [(415, 709, 14), (433, 743, 9)]

    def test_cases(self):
        cases = [
            (self.DOTS, [("Harbour", 540, 600, 660, 625)], None),
            (self.DOTS, [("Harbour", 440, 730, 560, 757)], "under the dot, mark or marker of level 2"),
            # the game's mark is larger than the painted dot
            (self.DOTS, [("Harbour", 300, 694, 396, 720)], "under the dot, mark or marker of level 1"),
            # the heroine marker stands above the current level's dot
            (self.DOTS, [("Harbour", 380, 600, 470, 625)], "under the dot, mark or marker of level 1"),
            (self.DOTS + [(1020, 300, 9)], [], "dot of level 3 is cut"),
            (self.DOTS, [("Beach", 950, 300, 1050, 330)], "\"Beach\" is cut"),
        ]
        for dots, labels, want in cases:
            with self.subTest(labels=labels, dots=len(dots)):
                found = faults(C.check_map_layout, dots, labels)
                if want is None:
                    self.assertEqual(found, [])
                else:
                    self.assertTrue(any(want in f for f in found), found)

    def test_islands_stay_off_the_screen_edge(self):
        sea = Image.new("RGB", (64, 48), (34, 118, 178))
        self.assertEqual(faults(C.check_map_edges, sea), [])
        cut = sea.copy()
        cut.paste((236, 212, 150), (50, 10, 64, 30))     # sand running off the right edge
        self.assertTrue(any("cut off" in f for f in faults(C.check_map_edges, cut)))


class Tunes(unittest.TestCase):
    """Sine tunes made with sox: 441 Hz at 22050 Hz has a period of exactly
    50 samples, so a whole number of seconds loops cleanly."""

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.tmp.cleanup()

    def tune(self, seconds):
        path = os.path.join(self.tmp.name, "tune_%s.wav" % seconds)
        subprocess.run(["sox", "-D", "-n", "-r", "22050", "-c", "1", "-b", "16", path,
                        "synth", str(seconds), "sine", "441", "vol", "0.5"], check=True)
        return path

    def test_cases(self):
        cases = [
            (90, None),
            (30, "lasts 30.0 s"),
            (90.0113, "jumps by"),       # cut off a quarter period before its end
        ]
        for seconds, want in cases:
            with self.subTest(seconds=seconds):
                found = faults(C.check_tune, self.tune(seconds), "TUNE")
                if want is None:
                    self.assertEqual(found, [])
                else:
                    self.assertTrue(any(want in f for f in found), found)

    def test_an_undecodable_file_is_a_fault(self):
        path = os.path.join(self.tmp.name, "broken.ogg")
        with open(path, "wb") as f:
            f.write(b"OggS not really")
        self.assertTrue(any("cannot be decoded" in f for f in faults(C.check_tune, path, "TUNE")))


if __name__ == "__main__":
    unittest.main()
