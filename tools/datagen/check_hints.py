"""The data check's rules for the upgrade shop's hint windows. Each hint
stands for one level of one upgrade, so its last line is the price the shop
charges for it, read from upgrades.xml the way the game reads it; and its
text fills the panel the shop opens for it, without leaving it or leaving
half of it empty.

Called from check_data.py; check_hints_test.py shows each rule failing on a
small broken fixture."""

import os
import re

import gamereaders
from check_words import FontWidths, font_text

# The rows of the game's upgrade table that each element of upgrades.xml
# fills: its first row and the suffixes of its "cost_<i>" attributes (i fills
# the row first + i - 1). The computer has one "cost" for its one row.
COST_ROWS = {"Footwear": (0, 3), "PetAquarium": (3, 6), "Aquarium": (9, 4),
             "Machine": (13, 3), "AudioSystem": (16, 3)}
COMPUTER_ROW = 19
TABLE_ROWS = 22

# The price of the next level: for an owned level from `low` to `high`, the
# cost of the row level + `offset`; any other level is not for sale.
PRICE_RULE = {"footwear": (1, 2, 0), "pet": (1, 5, 3), "aquarium slot": (0, 3, 9),
              "machine": (1, 2, 13), "audio system": (0, 2, 16), "computer": (0, 0, 19)}

# The hint each shop station opens at its owned level, and the size of its
# panel in tiles (columns, body rows).
SHOP_HINTS = [
    ("BUY_AQUARIUM_TEXT_1", "aquarium slot", 0, 14, 6),
    ("UPGRADE_AQUARIUM_TEXT_1", "aquarium slot", 1, 14, 6),
    ("UPGRADE_AQUARIUM_TEXT_2", "aquarium slot", 2, 14, 6),
    ("UPGRADE_AQUARIUM_TEXT_3", "aquarium slot", 3, 14, 6),
    ("UPGRADE_PET_TEXT_1", "pet", 1, 14, 5),
    ("UPGRADE_PET_TEXT_2", "pet", 2, 14, 5),
    ("UPGRADE_PET_TEXT_3", "pet", 3, 14, 5),
    ("UPGRADE_PET_TEXT_4", "pet", 4, 14, 5),
    ("UPGRADE_PET_TEXT_5", "pet", 5, 14, 5),
    ("BUY_COMPUTER_TEXT_1", "computer", 0, 14, 6),
    ("UPGRADE_MACHINE_TEXT_1", "machine", 1, 16, 5),
    ("UPGRADE_MACHINE_TEXT_2", "machine", 2, 16, 5),
    ("BUY_AUDIO_SYSTEM_TEXT_1", "audio system", 0, 16, 6),
    ("UPGRADE_AUDIO_SYSTEM_TEXT_1", "audio system", 1, 16, 6),
    ("UPGRADE_AUDIO_SYSTEM_TEXT_2", "audio system", 2, 16, 6),
    ("UPGRADE_FOOTWEAR_TEXT_1", "footwear", 1, 13, 5),
    ("UPGRADE_FOOTWEAR_TEXT_2", "footwear", 2, 13, 5),
]
PRICE_LINE = re.compile(r"Price: \$(\d+)$")

# A hint window's text: font 0 at 0.65, line spacing -6, its first line 55
# below the panel's top and centred 14 x (columns - 1.6) right of the panel's
# x + 30. The panel is 28 per column wide and 56 + 28 x (rows + 1) high; its
# rim takes 5 pixels, and a text keeps 9 more from it.
TEXT_SIZE = 0.65
LINE_SPACING = -6
TEXT_TOP = 55
TEXT_CENTRE = 30 - 14 * 1.6
KEEP_OFF = 5 + 9


def table_costs(path):
    """The cost of every row of the game's upgrade table, as its reader
    leaves them: every element with one of the names, wherever it stands,
    later ones over earlier ones; a missing or unreadable value stays 0."""
    costs = [0] * TABLE_ROWS
    with open(path, "rb") as f:
        elements, _ = gamereaders.start_elements(f.read())
    for _, tag, attrs in elements:
        if tag in COST_ROWS:
            first, count = COST_ROWS[tag]
            found = [(first + i - 1, attrs.get("cost_%d" % i)) for i in range(1, count + 1)]
        elif tag == "Computer":
            found = [(COMPUTER_ROW, attrs.get("cost"))]
        else:
            continue
        for row, value in found:
            parsed = gamereaders.parse_int(value) if value is not None else None
            if parsed and parsed[0]:
                costs[row] = parsed[1]
    return costs


def price(costs, upgrade, level):
    low, high, offset = PRICE_RULE[upgrade]
    return costs[level + offset] if low <= level <= high else 0


def check_prices(data, texts, fault):
    """Every shop hint ends with "Price: $<n>", n the price of what it offers."""
    costs = table_costs(os.path.join(data, "upgrades.xml"))
    for tid, upgrade, level, _, _ in SHOP_HINTS:
        text = texts.get(tid, "")
        said = PRICE_LINE.match(text.split("\n")[-1])
        if not said:
            fault("%s: the shop hint does not end with its price" % tid)
            continue
        wanted = price(costs, upgrade, level)
        if int(said.group(1)) != wanted:
            fault("%s: the hint says $%s, the %s bought from level %d costs $%d"
                  % (tid, said.group(1), upgrade, level, wanted))


def check_panels(data, texts, fault):
    """Every line of a shop hint fits between the panel's rims, its last line
    ends above the bottom rim, and less than two lines' room is left under
    it."""
    found = font_text(data)
    if not found or not os.path.isfile(found[0]):
        fault("resources.xml: no font 0 to measure the shop hints")
        return
    font = FontWidths(*found)
    with open(os.path.join(data, "resources.xml"), encoding="utf-8") as f:
        height = re.search(r'<Font [^>]*height="(\d+)"', f.read())
    cell = int(height.group(1)) if height else 0
    step = int((cell + LINE_SPACING) * TEXT_SIZE)
    for tid, _, _, columns, rows in SHOP_HINTS:
        lines = texts.get(tid, "").split("\n")
        half = 14 * columns - TEXT_CENTRE - KEEP_OFF  # the centre lies right of the middle
        widest = max(lines, key=lambda line: font.width(line, TEXT_SIZE))
        if font.width(widest, TEXT_SIZE) / 2 > half:
            fault("%s: the line \"%s\" is %.0f wide, the panel of %d tiles holds %.0f"
                  % (tid, widest, font.width(widest, TEXT_SIZE), columns, 2 * half))
        bottom = TEXT_TOP + step * (len(lines) - 1) + cell * TEXT_SIZE
        floor = 56 + 28 * (rows + 1) - KEEP_OFF
        if bottom > floor:
            fault("%s: %d lines end %.0f below the top of a panel of %d rows, past its rim at %d"
                  % (tid, len(lines), bottom, rows, floor))
        elif floor - bottom >= 2 * step:
            fault("%s: %d lines leave %.0f of a panel of %d rows empty under them"
                  % (tid, len(lines), floor - bottom, rows))


def check(data, texts, fault):
    check_prices(data, texts, fault)
    check_panels(data, texts, fault)
