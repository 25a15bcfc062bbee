#!/usr/bin/python3
"""The data check's rules for the upgrade shop's hints, against a small
fixture: hints that end with the right price and fill their panels give no
fault; a hint without its price, with the price of another level or of a
changed upgrades.xml, or whose text leaves or half fills its panel gives
its own.

    /usr/bin/python3 tools/datagen/check_hints_test.py"""

import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

import check_hints  # noqa: E402

# Font 0 of the fixture: every glyph 20 wide, so a line of n letters is 13 n
# wide at the hints' size (0.65); its cells 35 high, so lines are 18 apart.
CHARS = "0123456789$:abcdefghijklmnopqrstuvwxyzP "
FONT = "Define CharList\n" + "".join("'%s',\n" % c for c in CHARS) + \
    "Define WidthList\n" + ",".join("20" for _ in CHARS) + ");\nDefine RectList\n"
RESOURCES = ('<Resources><Font id="F" path="f.png" data_path="f.txt" height="35" '
             'max_length="512" interval="0"/></Resources>')
# Every cost tells its element and level apart.
UPGRADES = """<Upgrades>
<Footwear cost_1="1" cost_2="2" cost_3="3"/>
<PetAquarium cost_1="10" cost_2="20" cost_3="30" cost_4="40" cost_5="50" cost_6="60"/>
<Aquarium cost_1="100" cost_2="200" cost_3="300" cost_4="400"/>
<Machine cost_1="1000" cost_2="2000" cost_3="3000"/>
<AudioSystem cost_1="5" cost_2="6" cost_3="7"/>
<Computer cost="800"/>
</Upgrades>"""
# What the shop charges for the level each hint offers.
PRICES = {"BUY_AQUARIUM_TEXT_1": 100, "UPGRADE_AQUARIUM_TEXT_1": 200,
          "UPGRADE_AQUARIUM_TEXT_2": 300, "UPGRADE_AQUARIUM_TEXT_3": 400,
          "UPGRADE_PET_TEXT_1": 20, "UPGRADE_PET_TEXT_2": 30, "UPGRADE_PET_TEXT_3": 40,
          "UPGRADE_PET_TEXT_4": 50, "UPGRADE_PET_TEXT_5": 60, "BUY_COMPUTER_TEXT_1": 800,
          "UPGRADE_MACHINE_TEXT_1": 2000, "UPGRADE_MACHINE_TEXT_2": 3000,
          "BUY_AUDIO_SYSTEM_TEXT_1": 5, "UPGRADE_AUDIO_SYSTEM_TEXT_1": 6,
          "UPGRADE_AUDIO_SYSTEM_TEXT_2": 7, "UPGRADE_FOOTWEAR_TEXT_1": 2,
          "UPGRADE_FOOTWEAR_TEXT_2": 3}
# Lines that fill a panel: nine in six body rows (the most they hold), seven
# in five (one less than they hold).
FILLING = {6: 9, 5: 7}
ROWS = {tid: rows for tid, _, _, _, rows in check_hints.SHOP_HINTS}


def hint(lines, price):
    return "\n".join(["some words"] * (lines - 2) + ["", "Price: $%d" % price])


def filling(tid, price):
    return hint(FILLING[ROWS[tid]], price)


def sound_texts():
    return {tid: filling(tid, PRICES[tid]) for tid in ROWS}


class ShopHints(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.data = self.tmp.name
        for name, text in (("resources.xml", RESOURCES), ("f.txt", FONT),
                           ("upgrades.xml", UPGRADES)):
            self.write(name, text)
        self.texts = sound_texts()

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, name, text):
        with open(os.path.join(self.data, name), "w") as f:
            f.write(text)

    def faults(self):
        found = []
        check_hints.check(self.data, self.texts, found.append)
        return found

    def test_priced_hints_that_fill_their_panels_give_no_fault(self):
        self.assertEqual(self.faults(), [])

    def test_a_hint_without_its_price(self):
        for text in ("some words\nsome words", "Price: $100\nsome words", "", "Price: 100"):
            with self.subTest(text=text):
                self.texts = sound_texts()
                self.texts["BUY_AQUARIUM_TEXT_1"] = text
                found = [f for f in self.faults() if "price" in f]
                self.assertEqual(found, ["BUY_AQUARIUM_TEXT_1: the shop hint does not end with its price"])

    def test_a_hint_with_the_price_of_another_level(self):
        # The level owned, the level after next, a neighbour's price.
        cases = [("UPGRADE_AQUARIUM_TEXT_1", 100, "says $100, the aquarium slot bought from level 1 costs $200"),
                 ("UPGRADE_PET_TEXT_5", 50, "says $50, the pet bought from level 5 costs $60"),
                 ("UPGRADE_MACHINE_TEXT_1", 3000, "says $3000, the machine bought from level 1 costs $2000"),
                 ("BUY_AUDIO_SYSTEM_TEXT_1", 6, "says $6, the audio system bought from level 0 costs $5"),
                 ("UPGRADE_FOOTWEAR_TEXT_2", 2, "says $2, the footwear bought from level 2 costs $3"),
                 ("BUY_COMPUTER_TEXT_1", 801, "says $801, the computer bought from level 0 costs $800")]
        for tid, said, fault in cases:
            with self.subTest(tid=tid):
                self.texts = sound_texts()
                self.texts[tid] = filling(tid, said)
                self.assertEqual(self.faults(), ["%s: the hint %s" % (tid, fault)])

    def test_prices_follow_upgrades_xml_as_the_game_reads_it(self):
        cases = [
            # A new price: every hint still saying the old one is wrong.
            (UPGRADES.replace('cost_2="200"', 'cost_2="250"'), ["UPGRADE_AQUARIUM_TEXT_1"]),
            # An element given twice: the later values count.
            (UPGRADES.replace("</Upgrades>", '<Machine cost_3="3500"/></Upgrades>'),
             ["UPGRADE_MACHINE_TEXT_2"]),
            # A value the game cannot read costs 0.
            (UPGRADES.replace('cost="800"', 'cost="8OO"'), ["BUY_COMPUTER_TEXT_1"]),
            # Other elements and their costs play no part.
            (UPGRADES.replace("</Upgrades>", '<VitaminCost cost="1"/><Shop cost_1="7"/></Upgrades>'),
             []),
        ]
        for upgrades, wrong in cases:
            with self.subTest(wrong=wrong):
                self.write("upgrades.xml", upgrades)
                self.assertEqual([f.split(":")[0] for f in self.faults()], wrong)

    def test_a_text_that_leaves_or_half_fills_its_panel(self):
        # 14 columns hold 26 letters beside the centre's shift (349 wide).
        cases = [("BUY_COMPUTER_TEXT_1", hint(9, 800).replace("some words", "x" * 27, 1),
                  "BUY_COMPUTER_TEXT_1: the line \"%s\" is 351 wide, the panel of 14 tiles holds 349" % ("x" * 27)),
                 ("UPGRADE_FOOTWEAR_TEXT_1", hint(9, 2),
                  "UPGRADE_FOOTWEAR_TEXT_1: 9 lines end 222 below the top of a panel of 5 rows, past its rim at 210"),
                 ("BUY_AQUARIUM_TEXT_1", hint(7, 100),
                  "BUY_AQUARIUM_TEXT_1: 7 lines leave 52 of a panel of 6 rows empty under them"),
                 ("UPGRADE_PET_TEXT_3", hint(2, 40),
                  "UPGRADE_PET_TEXT_3: 2 lines leave 114 of a panel of 5 rows empty under them")]
        for tid, text, fault in cases:
            with self.subTest(tid=tid):
                self.texts = sound_texts()
                self.texts[tid] = text
                self.assertEqual(self.faults(), [fault])
        self.texts = sound_texts()
        self.texts["BUY_AQUARIUM_TEXT_1"] = hint(8, 100)  # room for one more line is no fault
        self.assertEqual(self.faults(), [])


if __name__ == "__main__":
    unittest.main()
