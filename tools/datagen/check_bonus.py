"""The data check's rules for the bonus level: the gulls and turtles of
levels.xml, the creature pictures against their click boxes, and the score
bar's fill. check_data.py runs them; check_bonus_test.py tries each rule on a
small broken fixture."""

import os
import xml.etree.ElementTree as ET

from PIL import Image

import bonus_sprites as B
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


def check_bar(data, fault):
    try:
        root = ET.parse(os.path.join(data, "resources.xml")).getroot()
    except (OSError, ET.ParseError):
        return
    pre = ""
    for el in root.iter():
        if el.tag == "SetDefaults":
            pre = el.get("path", "")
        if el.tag == "Image" and el.get("id") == "MINIGAME_BAR":
            rel = (pre + el.get("path", ""))
            rel = rel[len("Resources/Data/"):] if rel.startswith("Resources/Data/") else rel
            try:
                img = Image.open(os.path.join(data, rel)).convert("RGBA")
            except OSError:
                return
            left, top, right, bottom = B.BAR_COLUMN
            for yy in range(top, min(bottom, img.size[1] - 1) + 1, 4):
                for xx in range(left, min(right, img.size[0] - 1) + 1, 4):
                    r, g, b, a = img.getpixel((xx, yy))
                    if a < 255 or max(r, g, b) < 160:
                        fault("MINIGAME_BAR: the column under the cover is not filled at (%d, %d),"
                              " so the bar never shows progress" % (xx, yy))
                        return


def check(data, fault):
    check_levels(data, fault)
    check_sprites(data, fault)
    check_bar(data, fault)
