#!/usr/bin/python3
"""The data check's rules for menu.xml, one small fixture per rule: each
broken menu must give its fault, the sound one none.

    /usr/bin/python3 tools/datagen/check_menu_test.py"""

import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

import check_data  # noqa: E402
import check_menu  # noqa: E402

RESOURCES = """<Resources><SetDefaults path="Resources/Data/"/>
<Image id="BUTTON" path="button.png" coverage="-1"/>
<Image id="ARROWS" path="arrows.png" coverage="0"/>
<Image id="LATER" path="button.png" coverage="2"/>
<Font id="FONT" path="button.png" data_path="font.txt"/>
</Resources>"""

TEXTS = {"PLAY": "Play", "HELLO": "Hello"}

# Every setting once, the named pages, a group on each radio item; the items
# of a page that take clicks stand apart.
SOUND = [
    '<cursor image="BUTTON" r_right="20" r_bottom="30" r1_top="30" r1_right="20" r1_bottom="60"/>',
    '<item id="MAIN_1" type="_SIMPLE" image_id="BUTTON" text_id="PLAY" font_id="FONT" func="_check_old_game">',
    '<item id="BACK" type="_SIMPLE" image_id="BUTTON" func="_back"/></item>',
    '<item id="MAIN_2" type="_SIMPLE" image_id="BUTTON" func="_select_player" y="100">',
    '<item id="SLOT" type="_PROFILE" image_id="BUTTON" group_id="G"/>',
    '<item id="PROFILE_1" type="_SIMPLE" image_id="BUTTON" func="_edit_player_name" y="100">',
    '<item id="CREATE_PLAYER_2" type="_HEADER" text_id="HELLO"/>',
    '<item id="CREATE_PLAYER_4" type="_SIMPLE" image_id="BUTTON" func="_cancel_edit_player_name"/>',
    '</item></item>',
    '<item id="MAIN_3" type="_SIMPLE" image_id="BUTTON" func="_get_options" y="200">',
    '<item id="MUSIC" type="_SCROLL" image_id="BUTTON" options_id="0" r_right="100" r_bottom="10"/>',
    '<item id="SOUND" type="_SCROLL" image_id="BUTTON" options_id="1" r_right="100" r_bottom="10"'
    ' y="50"/>',
    '<item id="MODES" type="_DISPLAYMODE" image_id="ARROWS" options_id="2" r_right="40" r_bottom="40"'
    ' r1_left="40" r1_right="80" r1_bottom="40" y="100" x_disp="60"/>',
    '<item id="FULL" type="_CHECK" image_id="BUTTON" options_id="3" centered="0" y="200"/>',
    '<item id="BITS" type="_CHECK" image_id="BUTTON" options_id="4" centered="0" y="300"/>',
    '</item>',
    '<item id="MAIN_4" type="_SIMPLE" image_id="BUTTON" func="_show_high_scores" y="300"/>',
]


def menu(*replacements, extra=""):
    """The sound menu with (old, new) replacements and extra items."""
    text = "\n".join(SOUND)
    for old, new in replacements:
        assert old in text, old
        text = text.replace(old, new, 1)
    return "<Menu>\n%s\n%s\n</Menu>\n" % (text, extra)


class MenuRules(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = self.tmp.name
        self.data = os.path.join(self.root, "Resources", "Data")
        os.makedirs(self.data)
        Image.new("RGBA", (206, 183)).save(os.path.join(self.data, "button.png"))
        Image.new("RGBA", (80, 120)).save(os.path.join(self.data, "arrows.png"))
        with open(os.path.join(self.data, "resources.xml"), "w") as f:
            f.write(RESOURCES)

    def tearDown(self):
        self.tmp.cleanup()

    def faults(self, text):
        with open(os.path.join(self.data, "menu.xml"), "w") as f:
            f.write(text)
        check_data.faults.clear()
        check_menu.check(self.root, self.data, TEXTS, check_data)
        return list(check_data.faults)

    def assertFault(self, text, part):
        found = self.faults(text)
        self.assertTrue(any(part in f for f in found), "no fault with %r in %s" % (part, found))

    def test_the_sound_menu_passes(self):
        self.assertEqual(self.faults(menu()), [])

    def test_a_missing_menu_fails(self):
        check_data.faults.clear()
        check_menu.check(self.root, self.data, TEXTS, check_data)
        self.assertTrue(any("menu.xml is missing" in f for f in check_data.faults))

    def test_names_of_pictures_fonts_and_texts_must_exist(self):
        self.assertFault(menu(('image_id="ARROWS"', 'image_id="NOWHERE"')), "image NOWHERE")
        self.assertFault(menu(('<cursor image="BUTTON"', '<cursor image="FONT"')), "image FONT")
        self.assertFault(menu(('font_id="FONT"', 'font_id="BUTTON"')), "font BUTTON")
        self.assertFault(menu(('text_id="PLAY"', 'text_id="PLAYS"')), "text PLAYS")

    def test_pictures_load_with_the_menu_and_hold_every_rectangle(self):
        self.assertFault(menu(('id="BACK" type="_SIMPLE" image_id="BUTTON"',
                               'id="BACK" type="_SIMPLE" image_id="LATER"')), "coverage 2")
        # Three rows of 61 fill the 183 pixels; a fourth does not fit.
        self.assertFault(menu(('id="FULL" type="_CHECK" image_id="BUTTON"',
                               'id="FULL" type="_CHECK" image_id="BUTTON" r_bottom="62"')),
                         "outside image BUTTON")
        # The hovered row of the chooser's second column is derived too.
        self.assertFault(menu(('r1_left="40" r1_right="80"', 'r1_left="41" r1_right="81"')),
                         "outside image ARROWS")
        self.assertFault(menu(('r1_bottom="60"/>', 'r1_bottom="190"/>')), "outside image BUTTON")

    def test_ids_are_unique_present_and_give_the_nesting_as_path(self):
        self.assertFault(menu(('id="BACK"', 'id="MAIN_4"')), "MAIN_4 is used twice")
        self.assertFault(menu(('id="BACK"', 'id=""')), "without id")
        # MAIN stands inside the running path MAIN_1/, so DEEP's path loses it.
        self.assertFault(menu(('<item id="BACK" type="_SIMPLE" image_id="BUTTON" func="_back"/>',
                               '<item id="MAIN" func="_back"><item id="DEEP"/></item>')),
                         "the game derives the path MAIN_1/, not MAIN_1/MAIN/")

    def test_commands_are_known(self):
        self.assertFault(menu(('func="_back"', 'func="_go_back"')), "unknown command _go_back")

    def test_the_named_pages_exist(self):
        for item_id in check_menu.NAMED_IDS:
            with self.subTest(item_id):
                self.assertFault(menu(('id="%s"' % item_id, 'id="%s_X"' % item_id)),
                                 "item %s, which is missing" % item_id)
        self.assertFault(menu(('<item id="MAIN_1"',
                               '<item id="EARLY" func="_edit_player_name"/><item id="MAIN_1"')),
                         "first _edit_player_name item is EARLY")

    def test_one_item_of_its_kind_per_setting(self):
        self.assertFault(menu(extra='<item id="MORE" type="_SCROLL" options_id="1"/>'),
                         "options_id 1 is held by 2 items")
        self.assertFault(menu(('options_id="4"', 'options_id="-1"')), "options_id 4 is held by 0")
        self.assertFault(menu(('type="_DISPLAYMODE"', 'type="_SIMPLE"')),
                         "options_id 2 belongs on a _DISPLAYMODE")
        self.assertFault(menu(extra='<item id="ODD" type="_CHECK" options_id="7"/>'),
                         "no setting has options_id 7")

    def test_items_that_take_clicks_do_not_overlap(self):
        # Two buttons 206 wide, centred 200 apart: 97 to 303 and 297 to 503.
        self.assertFault(menu(('func="_show_high_scores" y="300"',
                               'func="_show_high_scores" x="200" y="200"')),
                         "on the page of the root, MAIN_3 (-103.0, 200.0, 103.0, 261.0) and MAIN_4")
        # Boxes meeting at one edge overlap too: the hit test takes both bounds.
        self.assertFault(menu(('r_bottom="10" y="50"', 'r_bottom="10" y="10"')),
                         "MUSIC (-50.0, 0.0, 50.0, 10.0) and SOUND")
        # A slider under the screen-size chooser's second button.
        self.assertFault(menu(('x_disp="60"', 'x_disp="0" y_disp="-50"')),
                         "MODES (second button)")
        self.assertFault(menu(extra='<item id="ODD" type="_SOMETHING" y="330"/>'),
                         "MAIN_4 (-103.0, 300.0, 103.0, 361.0) and ODD")
        # Captions and items of other pages do not count.
        self.assertEqual(self.faults(menu(extra='<item id="TOP" type="_HEADER" y="330"/>'
                                                '<item id="HI" type="_GREETING" y="330"/>')), [])
        self.assertEqual(self.faults(menu(('func="_back"/>', 'func="_back" y="100"/>'))), [])

    def test_nothing_that_takes_clicks_covers_the_high_score_rows(self):
        def scores_page(x, y):
            return menu(('func="_show_high_scores" y="300"/>',
                         'func="_show_high_scores" y="300"><item id="SCORES_BACK" type="_SIMPLE"'
                         ' image_id="BUTTON" func="_hide_high_scores" x="%d" y="%d"/></item>' % (x, y)))

        # Beside the table, and below the sixteenth row.
        self.assertEqual(self.faults(scores_page(872, 640)), [])
        self.assertEqual(self.faults(scores_page(512, 745)), [])
        # Under the table's middle: rows 14 to 16 of a long file stand there.
        self.assertFault(scores_page(512, 640),
                         "on the page of MAIN_4, SCORES_BACK (409.0, 640.0, 615.0, 701.0) covers")
        # Its left edge on the scores' right end.
        self.assertFault(scores_page(815, 400), "SCORES_BACK (712.0, 400.0")

    def test_radio_items_have_a_group(self):
        self.assertFault(menu(('group_id="G"', 'group_id=""')), "a _PROFILE without group_id")
        self.assertFault(menu(extra='<item id="RADIO" type="_COMBO"/>'), "a _COMBO without group_id")


if __name__ == "__main__":
    unittest.main()
