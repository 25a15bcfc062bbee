#!/usr/bin/python3
"""The data check's rules for the bonus level, one small fixture per rule:
each broken fixture must give its fault, the sound one none.

    /usr/bin/python3 tools/datagen/check_bonus_test.py"""

import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

from PIL import Image, ImageDraw  # noqa: E402

import bonus_sprites as B  # noqa: E402
import check_bonus  # noqa: E402
import images  # noqa: E402

SOUND_TURTLE = '<Turtle type="0" path="1" speed="40" energy="4" rest="1.5" creation_time="1"/>'
SOUND_GULL = '<Gull type="1" path="0" speed="90" attack_speed="260" energy="0" rest="0" creation_time="3"/>'


def level(*enemies, need=200):
    return '<Levels><Level need="100"/><BonusLevel need="%d">%s</BonusLevel></Levels>' % (need, "".join(enemies))


def frame_lines(count, hot, size):
    """A frame file of `count` frames of `size` pixels side by side, each with
    the hot spot hot(frame), on a sheet 2000 x 200."""
    lines = []
    for f in range(count):
        w, h = size
        lines.append('"0;0;%f;%f;0;%f;%d;%d"' % (f * w / 2000.0, (f + 1) * w / 2000.0, h / 200.0, *hot(f)))
    return "\n".join(lines) + "\n"


class BonusRules(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.data = self.tmp.name

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, name, text):
        with open(os.path.join(self.data, name), "w") as f:
            f.write(text)

    def faults(self, rule):
        found = []
        rule(self.data, found.append)
        return found

    def assertFault(self, rule, text):
        found = self.faults(rule)
        self.assertTrue(any(text in f for f in found), found)

    # --- levels.xml ---

    def test_sound_enemies_pass(self):
        self.write("levels.xml", level(SOUND_TURTLE, SOUND_TURTLE, SOUND_GULL, need=400))
        self.assertEqual(self.faults(check_bonus.check_levels), [])

    def test_broken_enemies(self):
        cases = [
            (SOUND_GULL.replace('speed="90"', 'speed="0"'), "Gull needs speed and attack_speed"),
            (SOUND_GULL.replace('attack_speed="260"', 'attack_speed="-1"'), "Gull needs speed and attack_speed"),
            (SOUND_TURTLE.replace('speed="40"', 'speed="0"'), "Turtle needs speed and energy"),
            (SOUND_TURTLE.replace('energy="4"', 'energy="0"'), "Turtle needs speed and energy"),
            (SOUND_TURTLE.replace('rest="1.5"', 'rest="-1"'), "Turtle rest below 0"),
            (SOUND_TURTLE.replace('type="0"', 'type="2"'), "Turtle type 2"),
            (SOUND_GULL.replace('type="1"', 'type="5"'), "Gull type 5"),
            (SOUND_TURTLE.replace('path="1"', 'path="3"'), "Turtle path 3"),
            (SOUND_TURTLE.replace('path="1"', 'path="-1"'), "Turtle path -1"),
            (SOUND_TURTLE.replace('speed="40"', 'speed="fast"'), "Turtle with a value that is no number"),
        ]
        for enemy, text in cases:
            with self.subTest(text=text, enemy=enemy):
                self.write("levels.xml", level(SOUND_TURTLE, enemy, need=0))
                self.assertFault(check_bonus.check_levels, "level 2: " + text)

    def test_a_goal_above_what_the_turtles_pay(self):
        self.write("levels.xml", level(SOUND_TURTLE, SOUND_GULL, need=250))
        self.assertFault(check_bonus.check_levels, "level 2: need 250 is more than 200 per turtle")

    # --- pictures ---

    def write_sprites(self, turtle_hot, gull_1_hot, gull_2_hot):
        self.write("resources.xml", "<Resources>%s</Resources>" % "".join(
            '<Animation2D id="%s" path="%s.txt" image_id="X" width="2000" height="200"/>' % (rid, rid)
            for rid in ("A_TURTLE", "A_GULL_PART_1", "A_GULL_PART_2")))
        self.write("A_TURTLE.txt", frame_lines(71, turtle_hot, B.TURTLE_SIZE))
        self.write("A_GULL_PART_1.txt", frame_lines(60, gull_1_hot, B.GULL_SIZE))
        self.write("A_GULL_PART_2.txt", frame_lines(60, gull_2_hot, B.GULL_SIZE))

    def test_the_generators_hot_spots_pass(self):
        self.write_sprites(B.turtle_hot, B.gull_1_hot, B.gull_2_hot)
        self.assertEqual(self.faults(check_bonus.check_sprites), [])

    def test_pictures_away_from_their_boxes(self):
        cases = [
            ("a turtle up and left of its box", lambda f: (-30, -22), B.gull_1_hot, B.gull_2_hot,
             "A_TURTLE frame 0 (rest)"),
            ("a swimming turtle 20 pixels too far right",
             lambda f: (B.turtle_hot(f)[0] + 20, B.turtle_hot(f)[1]) if f > 40 else B.turtle_hot(f),
             B.gull_1_hot, B.gull_2_hot, "A_TURTLE frame 41 (swim)"),
            ("gliding gulls far up and left", B.turtle_hot, lambda f: (-50, -35), B.gull_2_hot,
             "A_GULL_PART_1 frame 20 (glide)"),
            ("a grab frame above the box", B.turtle_hot, B.gull_1_hot,
             lambda f: (B.gull_2_hot(f)[0], -200) if f == 3 else B.gull_2_hot(f),
             "A_GULL_PART_2 frame 3 (grab)"),
        ]
        for name, turtle, gull_1, gull_2, text in cases:
            with self.subTest(name):
                self.write_sprites(turtle, gull_1, gull_2)
                self.assertFault(check_bonus.check_sprites, text)

    # --- score bar ---

    def test_the_bar_needs_its_fill(self):
        self.write("resources.xml", '<Resources><SetDefaults path="Resources/Data/"/>'
                                    '<Image id="MINIGAME_BAR" path="bar.png"/></Resources>')
        bar = Image.new("RGBA", (109, 446), (18, 62, 112, 255))
        bar.save(os.path.join(self.data, "bar.png"))
        self.assertFault(check_bonus.check_bar, "MINIGAME_BAR: the column under the cover is not filled")
        B.paint_bar_fill(ImageDraw.Draw(bar))
        bar.save(os.path.join(self.data, "bar.png"))
        self.assertEqual(self.faults(check_bonus.check_bar), [])

    def test_the_bar_keeps_clear_of_the_hud_corner(self):
        icons = Image.new("RGBA", (512, 512))
        icons.alpha_composite(images.hud_corner_frame(130, 88), (345, 423))
        cases = [
            ("the frame from its cell's top row, as it once was", 0, 1),
            ("the shipped frame", B.BAR_FRAME_TOP, 0),
        ]
        for name, top, faults in cases:
            with self.subTest(name):
                bar = Image.new("RGBA", (109, 446))
                ImageDraw.Draw(bar).rounded_rectangle([3, top, 86, 445], 30, fill=(18, 62, 112, 200))
                found = []
                check_bonus.check_bar_clear(bar, icons, found.append)
                self.assertEqual(len(found), faults, found)


if __name__ == "__main__":
    unittest.main()
