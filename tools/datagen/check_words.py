"""The data check's rules for words and arrows the player reads on the level
panels: the statistics labels fit their lines beside their values, and the
hint arrow's picture points where the hint window puts its point.

Called from check_data.py; check_words_test.py shows each rule failing on a
small broken fixture."""

import os
import re

from PIL import Image

# Statistics lines: labels start at x 350 and values end at x 658, both at
# 0.7 of font 0. The word that marks the expert goal sits on the cash line
# from x 514 on.
STAT_SIZE = 0.7
STAT_LEFT = 350
STAT_RIGHT = 658
STAT_EXPERT_X = 514
STAT_GAP = 8  # the least room between a label and its value
# The widest value each line shows: the cash, a play time, then counters.
STORY_LINES = [("STATISTICS_1", None), ("STATISTICS_2", "59:59")] + \
    [("STATISTICS_%d" % n, "999") for n in range(3, 8)]
BONUS_LINES = [("BONUS_STATISTICS_1", "99"), ("BONUS_STATISTICS_2", "99"),
               ("BONUS_STATISTICS_3", "$9999")]

# The hint arrow's cell in "UPGRADES" (left, top, right, bottom). The hint
# window turns and moves the picture so that the middle of its left edge is
# the point that touches the target: the picture must point left.
ARROW_CELL = (390, 433, 467, 490)


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


class FontWidths:
    """Advances of font 0's glyphs, from its "Define" text file."""

    def __init__(self, path, interval):
        text = read(path)
        chars = re.findall(r"^'(.)',?$", text.split("Define WidthList")[0], re.M)
        widths = re.findall(r"\d+", text.split("Define WidthList")[1].split("Define RectList")[0])
        self.advance = {c: int(w) + interval for c, w in zip(chars, widths)}

    def width(self, text, size=STAT_SIZE):
        lines = text.split("\n")
        return max(sum(self.advance.get(c, 0) for c in line) for line in lines) * size


def font_text(data):
    """The path and letter interval of font 0 (the first Font of resources.xml)."""
    text = read(os.path.join(data, "resources.xml"))
    m = re.search(r"<Font [^>]*>", text)
    path = m and re.search(r'data_path="([^"]+)"', m.group(0))
    if not path:
        return None
    interval = re.search(r'interval="(-?\d+)"', m.group(0))
    return os.path.join(data, path.group(1)), int(interval.group(1)) if interval else 0


def check_statistics(data, texts, fault):
    """Every statistics label fits between x 350 and its value; the cash line
    also leaves room for the expert word before the largest expert cash."""
    found = font_text(data)
    if not found or not os.path.isfile(found[0]):
        fault("resources.xml: no font 0 to measure the statistics labels")
        return
    font = FontWidths(*found)
    experts = [int(v) for v in re.findall(r'expert="(\d+)"', read(os.path.join(data, "levels.xml")))]
    top_cash = "$%d" % max(experts + [0])
    for tid, value in STORY_LINES + BONUS_LINES:
        label = font.width(texts.get(tid, ""))
        if value is None:
            if STAT_LEFT + label + STAT_GAP > STAT_EXPERT_X:
                fault("%s: the label is %.0f wide and runs into the expert word at x %d"
                      % (tid, label, STAT_EXPERT_X))
            continue
        room = STAT_RIGHT - STAT_LEFT - font.width(value) - STAT_GAP
        if label > room:
            fault("%s: the label is %.0f wide, %.0f fit beside the value %s" % (tid, label, room, value))
    expert_end = STAT_EXPERT_X + font.width(texts.get("EXPERT_MODE", ""))
    cash_start = STAT_RIGHT - font.width(top_cash)
    if expert_end + STAT_GAP / 2 > cash_start:
        fault("EXPERT_MODE: the word ends at x %.0f, over the cash %s from x %.0f"
              % (expert_end, top_cash, cash_start))


def check_hint_arrow(path, fault):
    """The arrow's point is the middle of the cell's left edge: the leftmost
    opaque pixels touch that edge and narrow to a point around the middle."""
    left, top, right, bottom = ARROW_CELL
    cell = Image.open(path).convert("RGBA").crop((left, top, right, bottom))
    w, h = cell.size
    alpha = cell.getchannel("A").load()
    columns = [[y for y in range(h) if alpha[x, y] > 128] for x in range(w)]
    opaque = [x for x in range(w) if columns[x]]
    if not opaque:
        fault("UPGRADES: the hint arrow's cell is empty")
        return
    if opaque[0] > 2:
        fault("UPGRADES: the hint arrow's picture starts %d pixels right of its point" % opaque[0])
        return
    point = [y for x in opaque[:4] for y in columns[x]]
    span = max(point) - min(point) + 1
    middle = (max(point) + min(point)) / 2
    if span > h / 4 or abs(middle - (h - 1) / 2) > 3:
        fault("UPGRADES: the hint arrow does not point left: its left end spans rows %d..%d of %d"
              % (min(point), max(point), h))
