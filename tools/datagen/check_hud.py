"""The data check's rule for the texts of the play HUD: the game places them
at fixed points, some above the screen's top edge, so font 1's cells must
hold their letters low enough to show and high enough to stay on the panel
behind them. check_data.py runs it; check_hud_test.py tries it on a font
whose letters fill their cells."""

import os
import struct
import xml.etree.ElementTree as ET

import numpy as np
from PIL import Image

# text id (None: the digits of a number), top-left y, glyph scale, and the
# rows its letters must keep to: the screen's top edge and the bottom of the
# picture behind the text (the left panel ends at 99, the time frame at 26).
HUD_TEXTS = [
    (None, 41, 1.0, 99),            # the cash
    (None, 32, 1.0, 99),            # the story level
    ("CASH", 75, 0.7, 99),
    ("LEVEL", 63, 0.7, 99),
    ("MENU_NORMAL", -6, 0.7, 99),
    ("MENU_EXPERT", -6, 0.7, 99),
    ("CLOSED", -8, 1.0, 26),
]


def glyph_rows(data, el):
    """Per character of a FontFi font: the first and last row of its cell
    that hold any letter, or None for an empty cell."""
    height = int(el.get("height", "0"))
    width = int(el.get("max_length", "0"))
    with open(os.path.join(data, el.get("symbols_path", "")), "rb") as f:
        chars = f.read()[3:].decode("utf-8")
    with open(os.path.join(data, el.get("data_path", "")), "rb") as f:
        raw = f.read()
    words = struct.unpack("<%dI" % (len(raw) // 4), raw)
    alpha = np.asarray(Image.open(os.path.join(data, el.get("path", ""))).convert("RGBA"))[:, :, 3]
    rows = {}
    skip = 0
    for ch, word in zip(chars, words):
        w, strip_x = word >> 16, word & 0xFFFF
        # a glyph that would reach a row's end starts the next row
        if (strip_x + skip + w) // width > (strip_x + skip) // width:
            skip += width - ((strip_x + skip) % width)
        left = (strip_x + skip) % width
        top = height * ((strip_x + skip) // width)
        ys = np.nonzero(alpha[top:top + height, left:left + w].max(axis=1) > 0)[0]
        rows[ch] = (int(ys.min()), int(ys.max())) if len(ys) else None
    return rows


def check(data, texts, fault):
    try:
        root = ET.parse(os.path.join(data, "resources.xml")).getroot()
    except (OSError, ET.ParseError):
        return  # the main check reports an unreadable file
    fonts = [el for el in root.iter() if el.tag in ("Font", "FontFi")]
    if len(fonts) < 2 or fonts[1].tag != "FontFi":
        return  # the main check reports the font list
    try:
        rows = glyph_rows(data, fonts[1])
    except (OSError, ValueError, struct.error):
        fault("%s: font 1 cannot be read" % fonts[1].get("path"))
        return
    for tid, y, scale, bottom in HUD_TEXTS:
        text = "0123456789" if tid is None else texts.get(tid, "")
        spans = [rows[ch] for ch in text if rows.get(ch)]
        if not spans:
            continue
        top = y + scale * min(s[0] for s in spans)
        low = y + scale * (max(s[1] for s in spans) + 1)
        if top < 0 or low > bottom:
            fault("%s: the HUD text %s at y %d shows from y %.1f to %.1f, outside 0 to %d"
                  % (fonts[1].get("path"), tid or "of digits", y, top, low, bottom))
