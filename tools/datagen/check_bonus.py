"""The data check's rules for the bonus level: the gulls and turtles of
levels.xml, the creature pictures against their click boxes, the score
bar's fill, and the bar kept clear of the HUD's top-right corner. check_data.py runs them; check_bonus_test.py tries each rule on a
small broken fixture."""

import os
import xml.etree.ElementTree as ET

import numpy as np
from PIL import Image

import bonus_sprites as B
import check_hud
import gamereaders

# What a saved turtle scores; a goal above this per turtle cannot be reached.
SAVE_POINTS = 200


def check_levels(data, fault):
    try:
        root = ET.parse(os.path.join(data, "levels.xml")).getroot()
    except (OSError, ET.ParseError):
        return  # the main check reports an unreadable file
    for n, level in enumerate((el for el in root.iter() if el.tag in ("Level", "BonusLevel")), 1):
        turtles = 0
        for el in level:
            if el.tag not in ("Gull", "Turtle"):
                continue
            where = "levels.xml: level %d: %s" % (n, el.tag)
            try:
                kind = int(el.get("type", "0"))
                path = int(el.get("path", "0"))
                speed = float(el.get("speed", "0"))
                attack = float(el.get("attack_speed", "0"))
                energy = float(el.get("energy", "0"))
                rest = float(el.get("rest", "0"))
            except ValueError:
                fault("%s with a value that is no number" % where)
                continue
            if kind not in (0, 1):
                fault("%s type %d, the game knows 0 and 1" % (where, kind))
            if el.tag == "Gull":
                if speed <= 0 or attack <= 0:
                    fault("%s needs speed and attack_speed above 0" % where)
                continue
            turtles += 1
            if speed <= 0 or energy <= 0:
                fault("%s needs speed and energy above 0, or it never swims" % where)
            if rest < 0:
                fault("%s rest below 0" % where)
            if not 0 <= path <= 2:
                fault("%s path %d, the rows are 0 to 2" % (where, path))
        if level.tag == "BonusLevel" and int(level.get("need", "0")) > SAVE_POINTS * turtles:
            fault("levels.xml: level %d: need %s is more than %d per turtle"
                  % (n, level.get("need"), SAVE_POINTS))


def read_frames(data, animation):
    """The frames of an Animation2D element as (left, right, top, bottom, hot
    x, hot y) in pixels, as the game reads its frame file."""
    width, height = int(animation.get("width", 0)), int(animation.get("height", 0))

    def whole(size, fraction):
        return int(size * fraction + 0.5)

    frames = []
    try:
        with open(os.path.join(data, animation.get("path", "")), "rb") as f:
            raw = f.read().decode("utf-8", "replace")
    except OSError:
        return None
    for line in raw.splitlines(keepends=True):
        v = gamereaders.read_frame_line(line)
        if v is not None:
            frames.append((whole(width, v[2]), whole(width, v[3]), whole(height, v[4]),
                           whole(height, v[5]), int(v[6]), int(v[7])))
    return frames


def overlaps(a, b):
    return a[0] < b[1] and b[0] < a[1] and a[2] < b[3] and b[2] < a[3]


def inside(a, b):
    return a[0] >= b[0] and a[1] <= b[1] and a[2] >= b[2] and a[3] <= b[3]


def check_sprites(data, fault):
    try:
        root = ET.parse(os.path.join(data, "resources.xml")).getroot()
    except (OSError, ET.ParseError):
        return
    animations = {el.get("id"): el for el in root.iter("Animation2D")}
    # (resource, clips, click box, whether the picture must lie wholly inside)
    creatures = [("A_TURTLE", B.TURTLE_CLIPS, B.TURTLE_BOX, True),
                 ("A_GULL_PART_1", B.GULL_1_CLIPS, B.GULL_BOX, False),
                 ("A_GULL_PART_2", B.GULL_2_CLIPS, B.GULL_BOX, False)]
    for rid, clips, box, whole in creatures:
        if rid not in animations:
            continue  # the main check reports a missing resource
        frames = read_frames(data, animations[rid])
        if frames is None:
            continue
        for role, (first, last, ox, oy) in sorted(clips.items()):
            for f in range(first, min(last, len(frames) - 1) + 1):
                left, right, top, bottom, hx, hy = frames[f]
                x, y = ox + hx, oy + hy
                drawn = (x, x + right - left, y, y + bottom - top)
                if whole and not inside(drawn, box):
                    fault("%s frame %d (%s) is drawn at %s, outside the click box %s" % (rid, f, role, drawn, box))
                elif not overlaps(drawn, box):
                    fault("%s frame %d (%s) is drawn at %s, away from the click box %s" % (rid, f, role, drawn, box))


def picture(data, rid):
    """The Image `rid` of resources.xml, opened as RGBA; None when it is not
    there or cannot be read (the main check reports that)."""
    try:
        root = ET.parse(os.path.join(data, "resources.xml")).getroot()
    except (OSError, ET.ParseError):
        return None
    pre = ""
    for el in root.iter():
        if el.tag == "SetDefaults":
            pre = el.get("path", "")
        if el.tag == "Image" and el.get("id") == rid:
            rel = (pre + el.get("path", ""))
            rel = rel[len("Resources/Data/"):] if rel.startswith("Resources/Data/") else rel
            try:
                return Image.open(os.path.join(data, rel)).convert("RGBA")
            except OSError:
                return None
    return None


def check_bar(data, fault):
    img = picture(data, "MINIGAME_BAR")
    if img is None:
        return
    left, top, right, bottom = B.BAR_COLUMN
    for yy in range(top, min(bottom, img.size[1] - 1) + 1, 4):
        for xx in range(left, min(right, img.size[0] - 1) + 1, 4):
            r, g, b, a = img.getpixel((xx, yy))
            if a < 255 or max(r, g, b) < 160:
                fault("MINIGAME_BAR: the column under the cover is not filled at (%d, %d),"
                      " so the bar never shows progress" % (xx, yy))
                return


# The score bar's frame (atlas cell, screen point) swells by a tenth about its
# middle when the goal is reached; above it lie the HUD's top-right corner
# frame and the pause button's hover picture. The two stay this far apart.
BAR_FRAME = ((3, 87, 0, 446), (935, 100))
BAR_SWELL = 0.1
BAR_CLEARANCE = 8


def painted_rows(img, cell):
    """The first and last row of an atlas cell that hold any paint, or None."""
    l, r, t, b = cell
    rows = np.nonzero(np.asarray(img)[t:b, l:r, 3].max(axis=1) > 0)[0]
    return (int(rows.min()), int(rows.max())) if len(rows) else None


def check_bar_clear(bar, icons, fault):
    """bar, icons: the MINIGAME_BAR and ICONS pictures (RGBA)."""
    cell, (x, y) = BAR_FRAME
    _, (cl, cr, ct, cb), (cx, cy) = check_hud.CORNER_FRAME
    frame, corner = painted_rows(bar, cell), painted_rows(icons, (cl, cr, ct, cb))
    if frame is None:
        return
    top = y - BAR_SWELL / 2 * (cell[3] - cell[2]) + (1 + BAR_SWELL) * frame[0]
    above = max(cy + corner[1] + 1 if corner else 0, check_hud.PAUSE_HOVER[1] + check_hud.PAUSE_HOVER[3])
    if top - above < BAR_CLEARANCE:
        fault("MINIGAME_BAR: the score bar swells up to y %.1f, %.1f below the HUD corner that ends at y %d;"
              " they need %d apart" % (top, top - above, above, BAR_CLEARANCE))


def check(data, fault):
    check_levels(data, fault)
    check_sprites(data, fault)
    check_bar(data, fault)
    bar, icons = picture(data, "MINIGAME_BAR"), picture(data, "ICONS")
    if bar is not None and icons is not None:
        check_bar_clear(bar, icons, fault)
