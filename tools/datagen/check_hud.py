"""The data check's rules for the play HUD. The game places its texts at
fixed points, some above the screen's top edge, so font 1's cells must hold
their letters low enough to show and high enough to stay on the panel behind
them; the top-right corner shows the pause sign at rest, inside the screen;
the closed sign and the buttons' captions stand out from their pictures.
check_data.py runs them; check_hud_test.py tries them on a font whose letters
fill their cells, on a corner frame that covers the sign, on a see-through
time frame and on a button with a hole under its caption."""

import os
import struct
import xml.etree.ElementTree as ET

import numpy as np
from PIL import Image

import check_scenes as S

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
    images = {el.get("id"): el.get("path", "") for el in root.iter("Image")}
    check_corner(data, images, fault)
    check_readable(data, images, texts, fault)
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


# The top-right corner of the HUD: the pause button has only a hover
# picture, so its sign at rest is the corner picture's, and the frame drawn
# over the corner must leave it in view. Atlas cells (left, right, top,
# bottom) and where the game draws them.
CORNER = ("GUI", (301, 408, 0, 74), (917, 0))
CORNER_FRAME = ("ICONS", (345, 475, 423, 511), (913, -15))
PAUSE_HOVER = (938, 0, 89, 70)  # x, y, width, height on the screen
SCREEN_WIDTH = 1024


def corner_layers(data, images):
    """The corner and its frame as alpha planes laid on the screen's top-right
    strip, x 900 to 1024 (None when a picture is missing)."""
    planes = []
    for rid, (l, r, t, b), (x, y) in (CORNER, CORNER_FRAME):
        if rid not in images or not os.path.isfile(os.path.join(data, images[rid])):
            return None
        cell = np.asarray(Image.open(os.path.join(data, images[rid])).convert("RGBA"))[t:b, l:r, 3]
        plane = np.zeros((120, 200), dtype=np.uint8)  # rows -30..89, columns 900..1099
        plane[y + 30:y + 30 + (b - t), x - 900:x - 900 + (r - l)] = cell
        planes.append(plane)
    return planes


def check_corner(data, images, fault):
    """images: Image id -> path below the data folder."""
    planes = corner_layers(data, images)
    if planes is None:
        return
    corner, frame = planes
    off = SCREEN_WIDTH - 900
    for name, plane in (("corner", corner), ("frame", frame)):
        if np.count_nonzero(plane[:, off:]):
            fault("the HUD %s picture is painted past the screen's right edge" % name)
    x, y, w, h = PAUSE_HOVER
    cx, cy = x - 900 + w // 2, y + 30 + h // 2
    sign = corner[cy - 10:cy + 10, cx - 10:cx + 10]
    if np.count_nonzero(sign) < sign.size or np.count_nonzero(frame[cy - 10:cy + 10, cx - 10:cx + 10]):
        fault("the pause sign does not show at rest: the HUD corner must show it at the middle of "
              "the pause button and the frame over it must leave it clear")


# Texts of font 1 drawn on "GUI" pictures, each with its colour: the closed
# sign on the time frame (drawn at (394, 0); the time bar has run empty when
# the sign shows), and the white captions of the session's buttons on their
# picture and its hover picture. A caption is centred on its button; the
# button is placed at (0, 0) here.
TIME_FRAME = ((92, 439, 475, 513), (394, 0))
CLOSED_SIGN = ("CLOSED", (255, 255, 136), 575, -8, 1.0)
BUTTON_CELLS = ((0, 235, 86, 151), (0, 235, 226, 294))
BUTTON_CAPTIONS = ("RESUME", "SAVE_AND_EXIT", "OK", "TRY_AGAIN", "FINISH", "BUY", "SKIP", "PLAY",
                   "FISH_PERSON", "TURTLE_PERSON")


def ink_box(font, rows, text, x, y, spacing):
    """The box of a centred line of font 1 at glyph scale 1, from its advances
    across and its letters' own rows down; None for a text without letters."""
    spans = [rows[ch] for ch in text if rows.get(ch)]
    if not spans:
        return None
    w = font.width(text, 1.0, spacing)
    return (x - w / 2, y + min(s[0] for s in spans), x + w / 2, y + max(s[1] for s in spans) + 1)


def check_readable(data, images, texts, fault):
    """The closed sign and the button captions lie on opaque pixels of their
    picture that contrast with them by 4.5:1 or more."""
    try:
        gui = Image.open(os.path.join(data, images["GUI"])).convert("RGBA")
        font = S.Font.load_title(data)
        root = ET.parse(os.path.join(data, "resources.xml")).getroot()
        rows = glyph_rows(data, next(el for el in root.iter("FontFi")))
    except (KeyError, OSError, ET.ParseError, StopIteration, TypeError, ValueError, struct.error):
        return  # the main check reports missing or unreadable files
    (l, r, t, b), at = TIME_FRAME
    tid, colour, x, y, size = CLOSED_SIGN
    box = ink_box(font, rows, texts.get(tid, ""), x, y, 1)
    if box:
        S.check_text_on(gui.crop((l, t, r, b)), "GUI time frame", at, [(tid, colour, [box])], fault)
    for l, r, t, b in BUTTON_CELLS:
        top = (BUTTON_CELLS[0][3] - BUTTON_CELLS[0][2]) // 2 - font.height // 2
        boxes = [(tid, ink_box(font, rows, texts.get(tid, ""), (r - l) // 2, top, -1)) for tid in BUTTON_CAPTIONS]
        S.check_text_on(gui.crop((l, t, r, b)), "GUI button %d..%d x %d..%d" % (l, r, t, b), (0, 0),
                        [(tid, S.WHITE, [box]) for tid, box in boxes if box], fault)
