"""The data check's rules for the session screens and the tunes: texts drawn
over the overlay panel and the pet choice are readable and stay on their
picture, comic captions fit their boxes and leave faces free, the map keeps
its islands, dots and names on the screen and apart, and every tune is long
and loops without a jump. check_data.py runs them; check_scenes_test.py
tries each rule on a small broken fixture."""

import os
import re
import subprocess
import xml.etree.ElementTree as ET

import numpy as np
from PIL import Image

import fonts
import images as I

SCREEN = (1024, 768)
MIN_CONTRAST = 4.5
WHITE, BLACK = (255, 255, 255), (0, 0, 0)

# Sample values, as wide as a level can make them, for the numbers the
# overlays draw next to their labels.
CASH, TIME, COUNT = "$88888", "88:88", "888"


# --- text boxes -------------------------------------------------------------

class Font:
    """Advances of the text font (font 0) as the game lays a line out: each
    glyph's width plus the font's interval and the letter spacing, a space a
    share of the third glyph's advance."""

    SPACE_SHARE = 0.7

    def __init__(self, widths, height, interval, margin=0):
        self.widths, self.height, self.interval = widths, height, interval
        # empty rows above and below the letters of every cell
        self.margin = margin

    @classmethod
    def load(cls, data):
        root = ET.parse(os.path.join(data, "resources.xml")).getroot()
        el = next(e for e in root.iter("Font"))
        with open(os.path.join(data, el.get("data_path")), encoding="utf-8") as f:
            text = f.read()
        chars = re.findall(r"^'(.)',?$", text.split("Define WidthList")[0], re.M)
        widths = [int(v) for v in re.findall(r"-?\d+", text.split("Define WidthList")[1].split("Define")[0])]
        rect = re.search(r"Define RectList\s*\((\d+), (\d+), (\d+), (\d+)\)", text)
        return cls(dict(zip(chars, widths)), int(rect.group(4)), float(el.get("interval", "0")))

    @classmethod
    def load_title(cls, data):
        """The title font (font 1): its symbols, and a word per symbol whose
        upper half is the glyph's width."""
        root = ET.parse(os.path.join(data, "resources.xml")).getroot()
        el = next(e for e in root.iter("FontFi"))
        with open(os.path.join(data, el.get("symbols_path")), encoding="utf-8-sig") as f:
            chars = f.read()
        with open(os.path.join(data, el.get("data_path")), "rb") as f:
            words = np.frombuffer(f.read(), dtype="<u4")
        return cls(dict(zip(chars, (int(w) >> 16 for w in words))), int(el.get("height")),
                   float(el.get("interval", "0")), fonts.TITLE_MARGIN)

    def width(self, line, size, spacing=0.0):
        extra = self.interval + spacing
        space = (list(self.widths.values())[2] + extra) * self.SPACE_SHARE
        return size * sum(space if c == " " else self.widths.get(c, 0) + extra for c in line)

    def boxes(self, text, x, y, size, align="left", line_spacing=0.0, spacing=0.0):
        """(left, top, right, bottom) of every line of `text` drawn at (x, y);
        align "left", "centre" (each line's middle on x) or "right" (ends on x)."""
        out = []
        for k, line in enumerate(text.split("\n")):
            w = self.width(line, size, spacing)
            left = {"left": x, "centre": x - w / 2, "right": x - w}[align]
            top = y + k * int((self.height + line_spacing) * size)
            if line.strip():
                out.append((left, top + self.margin * size, left + w,
                            top + (self.height - self.margin) * size))
        return out


def luminance(rgb):
    def lin(c):
        c /= 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (lin(c) for c in rgb[:3])
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def text_fault(img, origin, colour, box):
    """Why a line box drawn over the picture at `origin` is not readable, or
    None."""
    px = img.load()
    ox, oy = origin
    l, t, r, b = box
    if l < 0 or t < 0 or r > SCREEN[0] or b > SCREEN[1]:
        return "runs off the screen (%d, %d, %d, %d)" % box
    worst = None
    for y in range(int(t), int(b) + 1, 2):
        for x in range(int(l), int(r) + 1, 2):
            cx, cy = x - ox, y - oy
            if not (0 <= cx < img.size[0] and 0 <= cy < img.size[1]) or px[cx, cy][3] < 255:
                return "at (%d, %d) is not on an opaque part of the picture behind it" % (x, y)
            c = contrast(colour, px[cx, cy])
            if worst is None or c < worst[0]:
                worst = (c, x, y)
    if worst and worst[0] < MIN_CONTRAST:
        return "has a contrast of %.2f:1 with the picture at (%d, %d), below %.1f:1" % (worst + (MIN_CONTRAST,))
    return None


def check_text_on(picture, where, origin, texts, fault):
    """Every line box of `texts` ((name, colour, boxes) in screen pixels)
    lies on the screen and on opaque pixels of the picture drawn at `origin`
    that contrast by MIN_CONTRAST or more with the text's colour. One fault
    per text."""
    img = picture.convert("RGBA")
    for name, colour, boxes in texts:
        for box in boxes:
            why = text_fault(img, origin, colour, box)
            if why:
                fault("%s: %s %s" % (where, name, why))
                break


# --- the overlay panel and the pet choice ----------------------------------

def read_texts(data):
    with open(os.path.join(data, "english.xml"), encoding="utf-8") as f:
        text = f.read().replace("&cr;", "&#10;").replace("&nbsp;", " ")
    return {el.get("id"): el.get("data", "") for el in ET.fromstring(text).iter("text")}


def overlay_texts(texts, font):
    """Every text the pause, briefing and statistics overlays draw: (name,
    colour, line boxes). Font 0 at 0.7 throughout."""
    s = 0.7
    out = []
    for tid in sorted(t for t in texts if re.fullmatch(r"(BRIEFING_\d+|MINIGAME_BRIEFING_\d+|TRAINING_[12])", t)):
        out.append((tid, WHITE, font.boxes(texts[tid], 510, 351, s, "centre", -2)))
    out.append(("MINIGAME_TUTORIAL", BLACK, font.boxes(texts.get("MINIGAME_TUTORIAL", ""), 510, 483, s, "centre", -2)))
    for name, y in (("GOAL", 516), ("EXPERT", 549), ("GOAL", 450), ("EXPERT", 483)):
        out.append((name, BLACK, font.boxes(texts.get(name, "") + " 88888", 506, y, s, "centre")))
    out.append(("PAUSE", WHITE, font.boxes(texts.get("PAUSE", ""), 505, 349, s, "centre")))
    story = [CASH, TIME, COUNT, COUNT, COUNT, COUNT, COUNT]
    for k, value in enumerate(story, 1):
        y = 349 + (k - 1) * 33 + (1 if k <= 2 else -1 if k >= 6 else 0)
        out.append(("STATISTICS_%d" % k, WHITE, font.boxes(texts.get("STATISTICS_%d" % k, ""), 350, y, s)))
        out.append(("STATISTICS_%d value" % k, WHITE, font.boxes(value, 658, y, s, "right")))
    out.append(("EXPERT_MODE", WHITE, font.boxes(texts.get("EXPERT_MODE", ""), 658 - 144, 350, s, spacing=-1)))
    for k, value in enumerate((COUNT, COUNT, CASH), 1):
        y = 349 + (k - 1) * 33 + (1 if k == 1 else 0)
        out.append(("BONUS_STATISTICS_%d" % k, WHITE, font.boxes(texts.get("BONUS_STATISTICS_%d" % k, ""), 350, y, s)))
        out.append(("BONUS_STATISTICS_%d value" % k, WHITE, font.boxes(value, 658, y, s, "right")))
    out.append(("MINIGAME_BONUS", BLACK, font.boxes(texts.get("MINIGAME_BONUS", ""), 506, 351 + 99, s, "centre", -3)))
    return out


def check_overlays(data, fault):
    try:
        font = Font.load(data)
        texts = read_texts(data)
        panel = Image.open(os.path.join(data, "Images", "message.png")).convert("RGBA").crop((0, 0, 662, 756))
        pets = Image.open(os.path.join(data, "Images", "menu_pets.png"))
    except (OSError, ET.ParseError, StopIteration, AttributeError, IndexError):
        return  # the main check reports missing or unreadable files
    check_text_on(panel, "MESSAGE", (182, 7), overlay_texts(texts, font), fault)
    note = font.boxes(texts.get("CHANGE_PET", ""), 530, 640, 0.7, "centre", -5)
    check_text_on(pets, "MENU_PETS", (0, 0), [("CHANGE_PET", WHITE, note)], fault)
    try:
        title = Font.load_title(data)
        beach = Image.open(os.path.join(data, "Images", "bonus_game_location.png"))
    except (OSError, ET.ParseError, StopIteration, TypeError):
        return
    # the bonus level's count of saved turtles, yellow, centred at (900, 725)
    goal = title.boxes(texts.get("BONUS_LEVEL_GOAL", "") + "88/88", 900, 725, 1.0, "centre", spacing=-1)
    check_text_on(beach, "BONUS_GAME_LOCATION", (0, 0), [("BONUS_LEVEL_GOAL", (255, 255, 0), goal)], fault)


# --- comics -----------------------------------------------------------------

def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def inside(a, b):
    return b[0] <= a[0] and b[1] <= a[1] and a[2] <= b[2] and a[3] <= b[3]


def check_comic_layout(page, panels, fault):
    """panels: comic_layout() of a page: each caption box inside its frame,
    each caption line inside its box, and no face under a caption."""
    for k, p in enumerate(panels, 1):
        where = "COMICS_%d panel %d" % (page, k)
        if not inside(p["caption"], p["frame"]):
            fault("%s: the caption box %s leaves the picture %s" % (where, p["caption"], p["frame"]))
        for box in p["texts"]:
            if not inside(box, p["caption"]):
                fault("%s: the caption \"%s\" runs out of its box" % (where, p["text"]))
                break
        if overlaps(p["face"], p["caption"]):
            fault("%s: the caption covers the heroine's face" % where)


def check_comics(fault):
    for page in range(1, 6):
        check_comic_layout(page, I.comic_layout(page), fault)


# --- the map ----------------------------------------------------------------

def mark_box(x, y, r):
    """What covers the level dot at (x, y): the dot itself, the mark the game
    lays there (large 40 x 35 at the point less (5, 6), small 31 x 23 at the
    point; the dot lies at the point plus (15, 12)) and, while the level is
    the current one, the heroine marker standing on it (39 x 121 at the point
    less (2, 103))."""
    px, py = x - 15, y - 12
    return (min(x - r, px - 5), min(y - r, py - 103), max(x + r, px + 37), max(y + r, py + 29))


def check_map_layout(dots, labels, fault):
    """dots: (x, y, radius) per level; labels: (text, l, t, r, b). Every dot
    and every name on the screen; no name under a dot, its mark or the
    heroine marker on it."""
    for k, (x, y, r) in enumerate(dots, 1):
        if not inside((x - r, y - r, x + r, y + r), (0, 0) + SCREEN):
            fault("MAP: the dot of level %d is cut by the screen edge" % k)
    boxes = [mark_box(*d) for d in dots]
    for text, *box in labels:
        if not inside(box, (0, 0) + SCREEN):
            fault("MAP: the name \"%s\" is cut by the screen edge" % text)
        for k, b in enumerate(boxes, 1):
            if overlaps(box, b):
                fault("MAP: the name \"%s\" lies under the dot, mark or marker of level %d" % (text, k))


def check_map_edges(picture, fault):
    """The islands lie wholly on the screen: the picture's outermost pixels
    are all sea (blue above red and green)."""
    img = picture.convert("RGB")
    w, h = img.size
    px = img.load()
    edge = [(x, y) for x in range(w) for y in (0, h - 1)] + [(x, y) for y in range(h) for x in (0, w - 1)]
    for x, y in edge:
        r, g, b = px[x, y]
        if not (b > r and b > g):
            fault("MAP: land at the screen edge (%d, %d): an island is cut off" % (x, y))
            return


def check_map(data, fault):
    check_map_layout(I.map_dots(), I.map_label_boxes(), fault)
    try:
        check_map_edges(Image.open(os.path.join(data, "Images", "map.png")), fault)
    except OSError:
        pass


# --- tunes ------------------------------------------------------------------

MIN_TUNE_SECONDS = 90


def decode(path):
    """The samples of a sound file as floats (mono), and its rate."""
    rate = int(subprocess.run(["sox", "--i", "-r", path], check=True, capture_output=True, text=True).stdout)
    raw = subprocess.run(["sox", "-D", "-V1", path, "-t", "raw", "-e", "signed", "-b", "16", "-c", "1", "-"],
                         check=True, capture_output=True).stdout
    return np.frombuffer(raw, dtype="<i2").astype(np.float64) / 32768.0, rate


def check_tune(path, where, fault):
    """A tune plays MIN_TUNE_SECONDS or longer, and its end runs on into its
    start: the step from the last sample to the first is at most half again
    as large as the steep steps inside the tune (the 999th in 1000)."""
    try:
        x, rate = decode(path)
    except (OSError, subprocess.CalledProcessError, ValueError):
        fault("%s: cannot be decoded" % where)
        return
    if len(x) < MIN_TUNE_SECONDS * rate:
        fault("%s: lasts %.1f s; a tune must play %d s before it starts over" % (where, len(x) / rate, MIN_TUNE_SECONDS))
    if len(x) < 2:
        return
    seam = abs(x[0] - x[-1])
    usual = np.percentile(np.abs(np.diff(x)), 99.9)
    if seam > 1.5 * usual:
        fault("%s: jumps by %.3f where the loop starts over (the tune's own steps stay within %.3f)"
              % (where, seam, usual))


def check_tunes(data, fault):
    try:
        root = ET.parse(os.path.join(data, "resources.xml")).getroot()
    except (OSError, ET.ParseError):
        return
    for el in root.iter("Stream"):
        path = os.path.join(data, el.get("path", ""))
        if os.path.isfile(path):
            check_tune(path, el.get("path"), fault)


def check(data, fault):
    check_overlays(data, fault)
    check_comics(fault)
    check_map(data, fault)
    check_tunes(data, fault)
