#!/usr/bin/python3
"""The data check's rules for "menu scene.xml", one small fixture per rule:
each broken scene must give its fault, the sound one none.

    /usr/bin/python3 tools/datagen/check_scene_test.py"""

import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

import check_data  # noqa: E402

RESOURCES = """<Resources><SetDefaults path="Resources/Data/"/>
<Image id="SEA" path="sea.png" coverage="-1"/>
<Image id="GRID" path="grid.png"/>
<Image id="LATER" path="sea.png" coverage="2"/>
</Resources>"""

SOUND = """<Base><show/>
<object type="0" image="SEA"/>
<object type="1" image="SEA" r_left="0" r_right="64" r_top="0" r_bottom="32" speed_x="5"/>
<object type="2" image="SEA" speed_r="0.2" min_angle="-5" max_angle="5"/>
<object type="3" image="SEA" r_right="64" r_bottom="64" dr_right="64" dr_bottom="64" speed_x="8"/>
<object type="4" image="GRID" r_left="0" r_right="20" r_top="0" r_bottom="20">
<animation max_frame_x="3" max_frame_y="2" last_frame_x="2" last_frame_y="1" loop="1"
 double_action_every_iteration="2"/>
</object>
<hide menu_root="MAIN_1"/><object type="0" image="SEA"/>
<show menu_item="MAIN_4"/><object type="0" image="SEA"/>
</Base>"""

MENU = '<Menu><item id="MAIN_1"><item id="BACK"/></item><item id="MAIN_4"/></Menu>'


def scene(*body):
    return "<Base><show/>%s</Base>" % "".join(body)


def frames(animation, rect='r_left="0" r_right="20" r_top="0" r_bottom="20"'):
    return '<object type="4" image="GRID" %s>%s</object>' % (rect, animation)


class SceneRules(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = self.tmp.name
        self.data = os.path.join(self.root, "Resources", "Data")
        os.makedirs(self.data)
        Image.new("RGBA", (64, 64)).save(os.path.join(self.data, "sea.png"))
        Image.new("RGBA", (60, 40)).save(os.path.join(self.data, "grid.png"))
        with open(os.path.join(self.data, "resources.xml"), "w") as f:
            f.write(RESOURCES)

    def tearDown(self):
        self.tmp.cleanup()

    def faults(self, text, menu=None):
        with open(os.path.join(self.data, "menu scene.xml"), "w") as f:
            f.write(text)
        if menu is not None:
            with open(os.path.join(self.data, "menu.xml"), "w") as f:
                f.write(menu)
        check_data.faults.clear()
        check_data.IMAGES.clear()
        check_data.check_resources(self.root, self.data)
        check_data.faults.clear()  # the fixture lacks the game's other resources
        check_data.check_menu_scene(self.root, self.data)
        return list(check_data.faults)

    def test_the_sound_scene_passes(self):
        self.assertEqual(self.faults(SOUND), [])
        self.assertEqual(self.faults(SOUND, MENU), [])

    def test_each_broken_rule_is_found(self):
        cases = [
            ("an unknown picture", scene('<object type="0" image="NONE"/>'), "no Image of that id"),
            ("a picture outside the menu group", scene('<object type="0" image="LATER"/>'), "coverage 2"),
            ("a rectangle beyond the picture",
             scene('<object type="0" image="SEA" r_left="10" r_right="70" r_top="0" r_bottom="8"/>'),
             "does not lie in"),
            ("type 5", scene('<object type="5" image="SEA"/>'), "not 0 to 4"),
            ("no type", scene('<object image="SEA"/>'), "not 0 to 4"),
            ("a swaying object without speed", scene('<object type="2" image="SEA" max_angle="4"/>'),
             "speed_r"),
            ("a scrolling area beyond the picture",
             scene('<object type="3" image="SEA" r_right="32" r_bottom="32" dr_right="65" dr_bottom="32"/>'),
             "scrolling area"),
            ("a scroll without a period", scene('<object type="3" image="SEA" dr_right="32" dr_bottom="32"/>'),
             "scroll period"),
            ("a frame animation without animation", scene(frames("")), "without an animation"),
            ("a grid of no columns", scene(frames('<animation max_frame_x="0" max_frame_y="1"/>')),
             "1 or more"),
            ("a loop without its run count",
             scene(frames('<animation max_frame_x="3" max_frame_y="2" loop="1"/>')),
             "double_action_every_iteration"),
            ("a grid beyond the picture", scene(frames('<animation max_frame_x="4" max_frame_y="2"/>')),
             "frame grid"),
            ("a cut beyond the picture",
             scene(frames('<animation max_frame_x="3" max_frame_y="2" cut_bottom="1"/>')), "frame grid"),
            ("a last frame outside the grid",
             scene(frames('<animation max_frame_x="3" max_frame_y="2" last_frame_x="3"/>')),
             "last frame"),
        ]
        for name, text, expected in cases:
            with self.subTest(name):
                found = self.faults(text)
                self.assertTrue(any(expected in f for f in found), "%s not in %s" % (expected, found))

    def test_rule_names_are_checked_once_menu_xml_exists(self):
        text = scene('<hide menu_root="MAIN_1, MAIN_9"/><object type="0" image="SEA"/>')
        self.assertEqual(self.faults(text), [])
        found = self.faults(text, MENU)
        self.assertEqual(len(found), 1, found)
        self.assertIn("MAIN_9", found[0])


if __name__ == "__main__":
    unittest.main()
