#!/usr/bin/python3
"""Checks the shipped data set in Resources/Data against what the game
expects of it. Exit status 0 when everything holds, 1 with a list of faults.

    /usr/bin/python3 tools/datagen/check_data.py [--root REPO] [--no-regen]

--no-regen skips the slowest check: that re-running the generator gives the
same files byte for byte."""

import argparse
import filecmp
import os
import re
import struct
import subprocess
import sys
import tempfile
import wave
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

import check_menu  # noqa: E402
import check_bonus  # noqa: E402
import check_scenes  # noqa: E402
import check_words  # noqa: E402
import check_hud  # noqa: E402
import check_heroine  # noqa: E402
import check_credits  # noqa: E402
import check_hints  # noqa: E402
import check_panel  # noqa: E402
import images  # noqa: E402
import gamereaders  # noqa: E402
KINDS = ["FISH_1", "FISH_2", "THORN_FISH", "CAT_FISH", "JELLY_FISH_1", "JELLY_FISH_2",
         "CRAMP_FISH", "GOLD_FISH_1", "GOLD_FISH_2", "SAW_FISH", "SHARK_1", "SHARK_2",
         "ANGLER_FISH", "SHOAL_FISHES", "OCTOPUS", "CRAB", "SHELL"]
RESOURCE_KINDS = ["Image", "Mesh", "Sample", "Stream", "Music", "Font", "FontFi",
                  "Animation2D", "Animation3D", "Shape"]
SAMPLE_POSITIONS = 60      # the game plays samples 0-59
STREAM_POSITIONS = 7       # streams 0-6
INTERIOR_GROUP = {"SAND": 1, "STONE": 1, "ROCK": 1, "GREEN_GRASS": 2, "BLUE_GRASS": 2,
                  "RED_GRASS": 2, "CASTLE": 3, "CHEST": 3, "SEA_SHELL": 3,
                  "RED_CORAL": 4, "BLUE_CORAL": 4, "YELLOW_CORAL": 4}

# The sound the game plays at each position, by id (the positions are fixed
# by the game: 0 button hover, 4 fish dies, 31 machine works, 38 unused ...).
# A swap in the generator's lists moves an id off its position.
SAMPLE_IDS = [
    "SND_BUTTON_HOVER", "SND_BUTTON_CLICK", "SND_HINT_OPEN", "SND_FISH_IN", "SND_FISH_DIES",
    "SND_WARNING", "SND_FISH_GROWS", "SND_FISH_SHRINKS", "SND_FISH_GROWN", "SND_COMPRESSOR",
    "SND_LAMP", "SND_WISH_BRUSH", "SND_WISH", "SND_WISH_EXPIRED", "SND_WISH_MET",
    "SND_WISH_MET_FAST", "SND_CHAIN_1", "SND_CHAIN_2", "SND_CHAIN_3", "SND_COMPUTER_CALL",
    "SND_COMPUTER_TAKEN", "SND_ORDER_ARRIVES", "SND_DISCARD", "SND_PICK_UP", "SND_REFUSED",
    "SND_SHOP_SELECT", "SND_LEVEL_FAILED", "SND_LEVEL_WON", "SND_GOAL_REACHED", "SND_EXPERT_REACHED",
    "SND_CASH", "SND_MACHINE_WORKS", "SND_MACHINE_DONE", "SND_INGREDIENT", "SND_AUDIO_READY",
    "SND_AUDIO_MUSIC_1", "SND_AUDIO_MUSIC_2", "SND_AUDIO_MUSIC_3", "SND_SPARE", "SND_PET_HAPPY",
    "SND_PET_SAD", "SND_PET_ABILITY", "SND_TICK", "SND_LINE", "SND_BRUSH_DONE",
    "SND_ORDER_SOFT", "SND_GULL_HIT", "SND_TURTLE_CLICK", "SND_GULL_FLAP", "SND_GULL_SQUAWK",
    "SND_GULL_DIVE", "SND_TURTLE_LOST", "SND_TURTLE_SAVED", "SND_GULL_CATCH", "SND_TURTLE_LANDS",
    "SND_LEVEL_START", "SND_AMBIENT_1", "SND_AMBIENT_2", "SND_AMBIENT_3", "SND_TIME_UP",
]
# 0 menu, 1 credits, 2-5 the story levels in turn, 6 the bonus levels.
STREAM_IDS = ["MUSIC_MENU", "MUSIC_CREDITS", "MUSIC_LEVEL_1", "MUSIC_LEVEL_2", "MUSIC_LEVEL_3",
              "MUSIC_LEVEL_4", "MUSIC_BONUS"]
# Pictures the game draws additively, whole or in one cell (left, top,
# right, bottom). Such a draw adds the colour in full and ignores the alpha,
# so their light lives in the colour: every pixel opaque, or transparent
# black (what the colour key makes of pure black).
ADDITIVE = {"GLOW": None, "LOCATION_1_GLOW": None, "LOCATION_2_GLOW": None,
            "LOCATION_3_GLOW": None, "LIGHT_ADD": None, "CAUSTIC": None, "MACHINE_GLOW": None,
            "INSTRUMENTS": (0, 452, 78, 500)}  # the tray highlight

faults = []
SAMPLE_FILES = []  # sample positions in order, filled by check_resources
IMAGES = {}        # Image id -> (element, path below the root), filled by check_resources


def fault(msg):
    faults.append(msg)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def exists_exact(root, rel):
    """True when rel exists below root with exactly this case in every part."""
    cur = root
    for part in rel.split("/"):
        if not os.path.isdir(cur) or part not in os.listdir(cur):
            return False
        cur = os.path.join(cur, part)
    return os.path.isfile(cur)


def check_subset(path):
    """The engine's XML reader has no CDATA, no character references and only
    a handful of entities."""
    text = read_bytes(path).decode("utf-8")
    if "<![CDATA[" in text:
        fault("%s: CDATA is not read by the game" % path)
    for ent in re.findall(r"&([^;\s]*);", text):
        if ent not in ("lt", "amp", "gt", "quot", "apos", "nbsp", "cr"):
            fault("%s: unknown entity &%s;" % (path, ent))
    if text.startswith("\ufeff"):
        fault("%s: starts with a byte-order mark" % path)


def parse(path):
    check_subset(path)
    raw = read_bytes(path)
    text = raw.decode("utf-8").replace("&cr;", "&#10;").replace("&nbsp;", " ")
    try:
        tree = ET.fromstring(text)
    except ET.ParseError as e:
        fault("%s: %s" % (path, e))
        return None
    # The game reads the file with its own lenient reader: it must see the
    # same elements and attribute values as a standard parser does (single
    # quotes, a '>' in text, a comment without a space after "<!--" or a
    # value ending in '/' before '>' all read differently there).
    game, error = gamereaders.start_elements(raw)
    if error:
        fault("%s: the game's reader stops with \"%s\" after %d elements" % (path, error, len(game)))
    standard = [(el.tag, dict(el.attrib)) for el in tree.iter()]
    for i, (mine, theirs) in enumerate(zip([(n, a) for _, n, a in game], standard)):
        if mine != theirs:
            fault("%s: element %d reads as %s in the game, not %s" % (path, i + 1, mine, theirs))
            break
    else:
        if not error and len(game) != len(standard):
            fault("%s: the game reads %d elements, not %d" % (path, len(game), len(standard)))
    return tree


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def check_resources(root, data):
    res = parse(os.path.join(data, "resources.xml"))
    if res is None:
        return {}
    prefix = ""
    records = []
    for el in res.iter():
        if el.tag == "SetDefaults":
            prefix = el.get("path", "")
        elif el.tag in RESOURCE_KINDS:
            records.append((el.tag, el, prefix))
    ids = {}
    images = {}
    kind_lists = {}
    for tag, el, pre in records:
        rid = el.get("id", "")
        kind = "Font" if tag == "FontFi" else tag
        kind_lists.setdefault(kind, []).append(el)
        if not rid:
            fault("resources.xml: a %s without id" % tag)
        elif rid in ids:
            fault("resources.xml: id %s is used by a %s and a %s" % (rid, ids[rid], tag))
        else:
            ids[rid] = tag
        for attr in ("path", "alpha", "data_path", "symbols_path"):
            v = el.get(attr)
            if v is None or (attr == "alpha" and v == ""):
                continue
            rel = pre + v
            if "\\" in rel:
                fault("resources.xml: %s %s: use '/' in paths (%s)" % (tag, rid, rel))
            if not exists_exact(root, rel):
                fault("resources.xml: %s %s: file %s is missing (names must match in case)" % (tag, rid, rel))
        cov = el.get("coverage")
        if cov is not None and " " in cov:
            fault("resources.xml: %s %s: coverage '%s' has a space" % (tag, rid, cov))
        if tag == "Animation2D":
            # Looked up among the images declared so far; a miss would go on
            # into the other kinds' lists and hand out a wrong index.
            if el.get("image_id") not in images or images[el.get("image_id")][0].tag != "Image":
                fault("resources.xml: Animation2D %s: its image %s is not declared before it" % (rid, el.get("image_id")))
        if tag in ("Image", "Font", "FontFi"):
            images[rid] = (el, pre + el.get("path", ""))
        if tag == "Image":
            IMAGES.setdefault(rid, (el, pre + el.get("path", "")))

    # Pictures whose names make the loader take them for another picture's alpha.
    pictures = {os.path.normpath(p) for _, p in images.values()}
    for rid, (el, rel) in images.items():
        d, name = os.path.split(rel)
        base = os.path.splitext(name)[0]
        for ext in (".tga", ".png"):
            comp = os.path.join(d, "_" + base + ext)
            if os.path.exists(os.path.join(root, comp)):
                if os.path.normpath(comp) in pictures:
                    fault("resources.xml: %s is a picture of its own and also the alpha of %s" % (comp, rid))
                else:
                    fault("resources.xml: %s would be loaded as the alpha of %s" % (comp, rid))
    for dirpath, _, files in os.walk(data):
        for f in files:
            if f.startswith("_"):
                fault("%s: a file with a leading underscore is taken for an alpha picture"
                      % os.path.relpath(os.path.join(dirpath, f), root))

    # Positions.
    if len(kind_lists.get("Sample", [])) < SAMPLE_POSITIONS:
        fault("resources.xml: %d samples, the game plays positions 0-%d"
              % (len(kind_lists.get("Sample", [])), SAMPLE_POSITIONS - 1))
    if len(kind_lists.get("Stream", [])) < STREAM_POSITIONS:
        fault("resources.xml: %d streams, the game plays positions 0-%d"
              % (len(kind_lists.get("Stream", [])), STREAM_POSITIONS - 1))
    for kind, expected in (("Sample", SAMPLE_IDS), ("Stream", STREAM_IDS)):
        have = [e.get("id", "") for e in kind_lists.get(kind, [])]
        for pos, (mine, want) in enumerate(zip(have, expected)):
            if mine != want:
                fault("resources.xml: %s position %d is %s, the game plays %s there" % (kind, pos, mine, want))
    paths = [os.path.normpath(p + e.get("path", "")) for t, e, p in records if t == "Sample"]
    SAMPLE_FILES[:] = [os.path.join(root, x) for x in paths]
    if len(set(paths)) != len(paths):
        fault("resources.xml: two sample positions share one sound file")
    fonts = kind_lists.get("Font", [])
    if len(fonts) < 2:
        fault("resources.xml: fonts 0 and 1 are needed")

    # Required ids and sizes.
    for line in open(os.path.join(HERE, "required_resources.txt")):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        kind, rid, *nums = line.split()
        if ids.get(rid) != kind:
            fault("resources.xml: %s %s is missing" % (kind, rid))
            continue
        if kind == "Image":
            el, rel = images[rid]
            size = png_size(os.path.join(root, rel)) if exists_exact(root, rel) else None
            if size and (size[0] < int(nums[0]) or size[1] < int(nums[1])):
                fault("%s: %dx%d, the game draws up to %sx%s" % (rel, size[0], size[1], nums[0], nums[1]))
        else:
            el = [e for t, e, p in records if t == "Animation2D" and e.get("id") == rid][0]
            pre = [p for t, e, p in records if e is el][0]
            check_frames(root, pre + el.get("path"), el, int(nums[0]), images)
    check_fish_in_water(root, records)
    check_wish_pictures(root, records)
    for rid, box in ADDITIVE.items():
        if rid in images and exists_exact(root, images[rid][1]):
            check_light(images[rid][1], os.path.join(root, images[rid][1]), box)
        else:
            fault("resources.xml: Image %s, drawn additively, is missing" % rid)
    for t, e, p in records:
        if t in ("Font", "FontFi"):
            check_font(root, t, e, p)
        if t == "Sample":
            check_sound(root, p + e.get("path"), "wav")
        if t == "Stream":
            check_sound(root, p + e.get("path"), None)
        if t == "Music":
            check_sound(root, p + e.get("path"), "mod")
    return ids


def check_frames(root, rel, el, needed, images):
    path = os.path.join(root, rel)
    if not os.path.isfile(path):
        return
    W, H = int(el.get("width", 0)), int(el.get("height", 0))
    img = images.get(el.get("image_id"))
    if img:
        size = png_size(os.path.join(root, img[1]))
        if size and size != (W, H):
            fault("%s: width/height %dx%d differ from the sheet's %dx%d" % (rel, W, H, size[0], size[1]))
    frames = 0
    for line in read_bytes(path).decode("utf-8").splitlines(keepends=True):
        if line == "\n":
            continue
        if not (line.startswith('"') and line.rstrip("\n").endswith('"')):
            fault("%s: a frame line must be closed by quotes" % rel)
            continue
        # A line that makes no frame would shift every later frame number.
        vals = gamereaders.read_frame_line(line)
        if vals is None:
            fault("%s: a line that makes no frame: %s" % (rel, line.rstrip("\n")))
            continue
        l, r, t, b = [int(W * v + 0.5) if i < 2 else int(H * v + 0.5) for i, v in enumerate(vals[2:6])]
        if not (0 <= l < r <= W and 0 <= t < b <= H):
            fault("%s: frame %d lies outside its sheet" % (rel, frames))
        frames += 1
    if frames < needed:
        fault("%s: %d frames, the game plays up to frame %d" % (rel, frames, needed - 1))


def frame_rects(root, el, pre):
    """The frames of an Animation2D resource as the game cuts them: left,
    right, top, bottom on its sheet and the hot spot."""
    W, H = int(el.get("width", 0)), int(el.get("height", 0))
    rects = []
    path = os.path.join(root, pre + el.get("path", ""))
    if not os.path.isfile(path):
        return rects
    with open(path, "rb") as f:
        lines = f.read().decode("utf-8").splitlines(keepends=True)
    for line in lines:
        vals = gamereaders.read_frame_line(line)
        if vals is None:
            continue
        l, r, t, b = [int(W * v + 0.5) if i < 2 else int(H * v + 0.5) for i, v in enumerate(vals[2:6])]
        rects.append((l, r, t, b, int(vals[6]), int(vals[7])))
    return rects


# The frames of a fish resource that the young and the adult draw.
def fish_stage_frames(kind, count):
    if kind == "SHELL":
        return {0: range(97, 145), 2: range(0, 49)}
    if kind == "SHOAL_FISHES":
        return {2: range(0, 48)}
    block = {"JELLY_FISH_1": 32, "JELLY_FISH_2": 32, "OCTOPUS": 48, "CRAB": 50}.get(kind, 76)
    return {0: range(2 * block, 3 * block), 2: range(0, block)}


def check_fish_in_water(root, records):
    """Every frame of a fish's young and adult clips, drawn at either end of
    its swimming area, keeps its visible pixels inside the aquarium's water."""
    from PIL import Image
    import anims
    wl, wr, wt, wb = anims.WATER_BOX
    images = {e.get("id"): p + e.get("path", "") for t, e, p in records if t == "Image"}
    for tag, el, pre in records:
        rid = el.get("id", "")
        if tag != "Animation2D" or not rid.startswith("A_"):
            continue
        kind = rid[2:]
        if kind.startswith("SHOAL_FISHES"):
            kind = "SHOAL_FISHES"
        if kind not in anims.FISH_AREAS:
            continue
        sheet_path = os.path.join(root, images.get(el.get("image_id"), ""))
        if not os.path.isfile(sheet_path):
            continue
        with Image.open(sheet_path) as sheet:
            alpha = sheet.convert("RGBA").getchannel("A")
        rects = frame_rects(root, el, pre)
        left, top, right, bottom = anims.FISH_AREAS[kind]
        boxes = {}
        for stage, frames in fish_stage_frames(kind, len(rects)).items():
            ox, oy = anims.FISH_STAGE_OFFSETS[kind][stage]
            for n in frames:
                if n >= len(rects):
                    break
                l, r, t, b, hx, hy = rects[n]
                if (l, r, t, b) not in boxes:
                    boxes[(l, r, t, b)] = alpha.crop((l, t, r, b)).getbbox()
                box = boxes[(l, r, t, b)]
                if box is None:
                    continue
                x0, x1 = left + ox + hx + box[0], right + ox + hx + box[2]
                y0, y1 = top + oy + hy + box[1], bottom + oy + hy + box[3]
                if x0 < wl or x1 > wr or y0 < wt or y1 > wb:
                    fault("%s: frame %d leaves the water (%d..%d x %d..%d, the water is %d..%d x %d..%d)"
                          % (rid, n, x0, x1, y0, y1, wl, wr, wt, wb))
                    break


# Below this share of visible pixels a picture's place counts as empty.
MIN_VISIBLE = 0.10


def check_wish_pictures(root, records):
    """The wish bubble's icons, its small rising bubble and its water."""
    from PIL import Image
    import images as pictures
    paths = {e.get("id"): p + e.get("path", "") for t, e, p in records if t == "Image"}
    places = {
        "AQUARIUM_INTERIORS": [r[:4] for r in pictures.WISH_SINGLE_ICONS + pictures.WISH_INTERIOR_ICONS],
        "AQUARIUM_ANIMATION": [(123, 175, 436, 486), (0, 116, 423, 485)],
    }
    for rid, rects in places.items():
        path = os.path.join(root, paths.get(rid, ""))
        if not os.path.isfile(path):
            continue
        with Image.open(path) as picture:
            alpha = picture.convert("RGBA").getchannel("A")
        for l, r, t, b in rects:
            visible = sum(1 for a in alpha.crop((l, t, r, b)).getdata() if a > 0)
            if visible < MIN_VISIBLE * (r - l) * (b - t):
                fault("%s: the wish bubble's picture at %d..%d x %d..%d is empty" % (rid, l, r, t, b))
# What the game plays of the pet's animations: the figure's place from the
# tank's base point by kind, and per clip the animation, its frames and the
# clip's drawing offset. The figure must stay inside the tank picture.
PET_TANK = (130, 131)
PET_FIGURES = {
    "pet fish": ((27, 32), [("A_PET_FISH_1", 60, 119, -114, -106), ("A_PET_FISH_1", 0, 59, -112, -109),
                            ("A_PET_FISH_3", 0, 39, -112, -109), ("A_PET_FISH_2", 0, 39, -111, -108),
                            ("A_PET_FISH_1", 120, 219, -108, -109)]),
    "pet turtle": ((22, 46), [("A_PET_TURTLE_1", 50, 139, 4, -4), ("A_PET_TURTLE_1", 0, 49, 2, 10),
                              ("A_PET_TURTLE_3", 0, 39, -2, -33), ("A_PET_TURTLE_1", 140, 209, 0, 0),
                              ("A_PET_TURTLE_2", 0, 49, 1, 1)]),
}


def check_pet_figures(root, data):
    """Every frame of every pet clip lies inside the pet's tank picture, in
    every location (the figure is placed from the tank's base point); the
    heroine's clips are checked from the same animation list."""
    res = parse(os.path.join(data, "resources.xml"))
    if res is None:
        return
    prefix = ""
    anims = {}
    for el in res.iter():
        if el.tag == "SetDefaults":
            prefix = el.get("path", "")
        elif el.tag == "Animation2D":
            anims[el.get("id")] = (el, prefix)
    check_heroine.check(root, anims, IMAGES, frame_rects, fault)
    check_heroine.check_tank_glass(root, IMAGES, fault)
    check_heroine.check_outline(root, IMAGES, fault)
    for kind, (place, clips) in PET_FIGURES.items():
        for clip, (anim, first, last, dx, dy) in enumerate(clips):
            if anim not in anims:
                continue  # a missing animation is reported with the resources
            el, pre = anims[anim]
            rel = pre + el.get("path", "")
            rects = frame_rects(root, el, pre)
            for f in range(first, min(last, len(rects) - 1) + 1):
                l, r, t, b, hx, hy = rects[f]
                w, h = r - l, b - t
                x, y = place[0] + dx + hx, place[1] + dy + hy
                if x < 0 or y < 0 or x + w > PET_TANK[0] or y + h > PET_TANK[1]:
                    fault("%s: frame %d of the %s's clip %d lies at (%d, %d)-(%d, %d) of its tank, "
                          "outside 0-%d x 0-%d" % (rel, f, kind, clip, x, y, x + w, y + h, PET_TANK[0], PET_TANK[1]))
                    break


def check_light(rel, path, box):
    """An additively drawn picture shows by its colour: a translucent pixel
    would add its whole colour, and a picture lit only through its alpha
    would add nothing visible."""
    from PIL import Image
    import numpy as np
    a = np.asarray(Image.open(path).convert("RGBA"), dtype=np.int32)
    if box is not None:
        left, top, right, bottom = box
        a = a[top:bottom, left:right]
    rgb, alpha = a[:, :, :3], a[:, :, 3]
    clear_black = (alpha == 0) & (rgb.max(axis=2) == 0)
    translucent = int(((alpha != 255) & ~clear_black).sum())
    if translucent:
        fault("%s: %d pixels are not opaque; it is drawn additively, its light must be its colour"
              % (rel, translucent))
    if a.size == 0 or rgb.max() < 40:
        fault("%s: drawn additively but its colour is too dark to show" % rel)


def cells(left, right, top, bottom, n):
    """n pictures stacked in one column, cut as the game cuts carried items."""
    return [(left, right, top + k * (bottom - top) // n, top + (k + 1) * (bottom - top) // n) for k in range(n)]


def grid(origin_x, origin_y, w, h, columns, rows):
    return [(origin_x + c * w, origin_x + (c + 1) * w, origin_y + r * h, origin_y + (r + 1) * h)
            for c in range(columns) for r in range(rows)]


# The rectangles the shop devices cut (left, right, top, bottom): the
# instrument panel's pictures, glows, markers and charge clocks, the machine,
# the carried pictures and the audio system. Each must show something.
DEVICE_RECTS = {
    "ITEMS": [(140, 205, 47, 82), (171, 231, 0, 42), (154, 228, 79, 115), (70, 108, 11, 41),
              (99, 139, 60, 97), (157, 196, 129, 164), (59, 97, 52, 100), (117, 173, 0, 49),
              (112, 154, 104, 147), (102, 157, 193, 242), (57, 114, 104, 150), (94, 144, 148, 195),
              (155, 183, 179, 228), (56, 95, 148, 206), (57, 96, 148, 206), (203, 254, 42, 80),
              (0, 59, 0, 62), (56, 104, 204, 256), (0, 50, 117, 175), (200, 253, 118, 178)],
    "GLOW": [(369, 421, 239, 275), (367, 420, 283, 323), (421, 463, 298, 338), (378, 422, 342, 377),
             (463, 505, 298, 339), (140, 187, 298, 340), (265, 308, 296, 343), (459, 508, 0, 52),
             (261, 299, 148, 190), (455, 508, 62, 112), (188, 243, 318, 363), (308, 359, 242, 289),
             (310, 387, 150, 233), (183, 243, 169, 240), (4, 64, 267, 333), (183, 245, 167, 240),
             (67, 134, 267, 341), (313, 363, 314, 392), (106, 175, 196, 267), (265, 296, 198, 250),
             (57, 102, 198, 260), (447, 500, 405, 473), (448, 507, 340, 403), (245, 300, 349, 393),
             (238, 302, 400, 468), (421, 479, 237, 298), (197, 252, 245, 304),
             (124, 234, 355, 471), (401, 510, 133, 236), (0, 126, 337, 471)],
    "LOCATION_1_GLOW": [(5, 105, 179, 279)],
    "LOCATION_2_GLOW": [(2, 102, 168, 263)],
    "LOCATION_3_GLOW": [(9, 129, 172, 362)],
    "LOCATION_UPDATES_2": [(0, 49, 855, 920), (51, 101, 857, 914), (101, 156, 859, 922),
                           (158, 209, 860, 918), (211, 249, 836, 892), (249, 302, 836, 891)],
    "ICONS": [(340, 410, 0, 77), (319, 420, 145, 204), (383, 491, 262, 323), (253, 298, 205, 323),
              (298, 343, 204, 322)],
    "INSTRUMENTS": [(292, 332, 432, 487), (244, 291, 433, 482), (332, 384, 432, 484),
                    (379, 422, 180, 222), (379, 422, 264, 306), (0, 78, 452, 500)]
    + cells(299, 378, 180, 368, 4)
    + [c for col in ((219, 247, 2, 107), (276, 303, 0, 106), (248, 276, 2, 107), (101, 136, 187, 437),
                     (144, 189, 183, 448), (68, 100, 212, 437), (189, 228, 139, 349), (229, 264, 140, 345),
                     (263, 299, 144, 334), (345, 381, 7, 177), (303, 345, 0, 179), (381, 416, 7, 177),
                     (124, 154, 3, 183), (154, 182, 4, 154), (47, 85, 2, 207), (182, 219, 3, 138))
       for c in cells(*col, 5)]
    + cells(33, 67, 228, 452, 8) + cells(0, 33, 229, 452, 8),
    "TIME_BAR": grid(0, 0, 24, 24, 5, 10) + cells(153, 187, 0, 224, 8) + cells(119, 153, 0, 224, 8),
    "BRUSH": cells(0, 46, 0, 462, 8) + cells(47, 99, 0, 414, 8),
    "GUI": grid(494, 0, 18, 20, 1, 12)
    + [(236, 260, 87, 124), (261, 299, 86, 128), (300, 326, 75, 109), (235, 256, 125, 162), (256, 276, 128, 163)]
    # the hint windows' tiles: header, then body
    + [(110, 138, 325, 353), (110, 138, 376, 404), (84, 112, 351, 379), (136, 164, 351, 379),
       (111, 139, 352, 380), (84, 112, 325, 353), (136, 164, 325, 353), (84, 112, 376, 404),
       (136, 164, 376, 404)]
    + [(28, 56, 325, 367), (28, 56, 391, 433), (0, 28, 365, 393), (54, 82, 365, 393),
       (28, 56, 365, 393), (0, 28, 325, 367), (54, 82, 325, 367), (0, 28, 391, 433),
       (54, 82, 391, 433)],
    "UPGRADES": [(392, 511, 141, 263), (385, 513, 263, 384), (393, 513, 0, 142), (112, 190, 261, 339),
                 (190, 268, 261, 338), (112, 190, 338, 416), (190, 240, 338, 346), (190, 240, 346, 354),
                 (190, 240, 355, 363), (0, 112, 263, 377), (0, 112, 375, 478), (268, 386, 262, 391)],
    "MACHINE_GLOW": [(135, 258, 0, 128), (121, 255, 128, 255), (0, 128, 0, 148), (34, 120, 150, 235)],
    "AQUARIUM_ANIMATION": grid(307, 0, 36, 77, 2, 6),
    # the heroine's standing shadows and work cloud cells (the footwear
    # stills lie under her soles and are left empty: check_footwear_stills)
    "_SHADOW_PART_2": [(759, 864, 251, 335), (759, 864, 335, 419), (427, 534, 650, 732)],
    "WORK_CLOUD": grid(0, 0, 100, 80, 2, 12) + grid(200, 0, 100, 80, 1, 8),
}


def check_device_rects(root):
    """Every rectangle a device cuts shows something: an opaque pixel, or on a
    picture drawn additively a pixel of light."""
    from PIL import Image
    import numpy as np
    for rid, rects in DEVICE_RECTS.items():
        if rid not in IMAGES or not exists_exact(root, IMAGES[rid][1]):
            continue  # reported as missing by check_resources
        rel = IMAGES[rid][1]
        a = np.asarray(Image.open(os.path.join(root, rel)).convert("RGBA"), dtype=np.int32)
        box = ADDITIVE.get(rid, False)
        for l, r, t, b in rects:
            part = a[t:b, l:r]
            light = rid in ADDITIVE and (box is None or (box[0] <= l and r <= box[2] and box[1] <= t and b <= box[3]))
            shows = part.size and (part[:, :, :3].max() >= 40 if light else part[:, :, 3].max() > 0)
            if not shows:
                fault("%s: the rectangle %d-%d x %d-%d that the game cuts is %s"
                      % (rel, l, r, t, b, "dark" if light else "transparent"))


FOOTWEAR_SHEETS = {1: ("SLIPPERS_1", "SLIPPERS_2"), 2: ("SANDALS_1", "SANDALS_2"), 3: ("BOOTS_1", "BOOTS_2")}


def check_footwear(root):
    """Every cell a footwear clip cuts lies on its sheet and shows shoes whose
    soles, at the clip's offset, land under the heroine's feet."""
    from PIL import Image
    import numpy as np
    import footwear as fw
    for level, ids in FOOTWEAR_SHEETS.items():
        sheets = {}
        for n, rid in enumerate(ids, 1):
            if rid in IMAGES and exists_exact(root, IMAGES[rid][1]):
                sheets[n] = (IMAGES[rid][1], np.asarray(Image.open(os.path.join(root, IMAGES[rid][1]))
                                                         .convert("RGBA"))[:, :, 3])
        for number, c in enumerate(fw.clips(level)):
            if c["sheet"] not in sheets:
                continue  # reported as missing by check_resources
            rel, alpha = sheets[c["sheet"]]
            for cell in fw.visited(c):
                l, r, t, b = fw.cut(c, cell)
                where = "%s: footwear clip %d of level %d, cell %d-%d x %d-%d" % (rel, number, level, l, r, t, b)
                if l < 0 or t < 0 or r > alpha.shape[1] or b > alpha.shape[0]:
                    fault("%s lies off the sheet" % where)
                    continue
                ys, xs = np.nonzero(alpha[t:b, l:r] > 0)
                if not len(ys):
                    fault("%s is transparent" % where)
                    continue
                sole = fw.to_box(c, 0, int(ys.max()))[1]
                middle = fw.to_box(c, (int(xs.min()) + int(xs.max())) / 2.0, 0)[0]
                if not (fw.FEET_Y[0] <= sole <= fw.FEET_Y[1] and fw.FEET_X[0] <= middle <= fw.FEET_X[1]):
                    fault("%s puts the shoes at x %d, soles at y %d of her box, not under her feet"
                          % (where, middle, sole))
        if 2 in sheets:
            check_footwear_stills(level, *sheets[2])


def check_footwear_stills(level, rel, alpha):
    """The stills are drawn from just under her soles down: whatever they
    show hangs below her feet, so nothing may be painted in them below the
    sole line (taken at the highest of the five places they are drawn)."""
    import numpy as np
    import footwear as fw
    l, r, t, b = fw.STILL
    below = max(0, fw.SOLE_Y - min(fw.STILL_TOPS[level]) + 1)
    if np.count_nonzero(alpha[t + below:b, l:r] > 0):
        fault("%s: the footwear still of level %d (%d-%d x %d-%d) is painted below her soles"
              % (rel, level, l, r, t, b))


def check_font(root, tag, el, pre):
    data = os.path.join(root, pre + el.get("data_path", ""))
    if not os.path.isfile(data) or int(el.get("max_length", 0)) <= 0:
        fault("resources.xml: %s %s needs a data file and max_length" % (tag, el.get("id")))
        return
    if tag == "Font":
        lists = gamereaders.read_font_lists(read_bytes(data))
        n = {k: len(v) for k, v in lists.items()}
        if not (n["chars"] == n["widths"] == n["rects"] == n["offsets"]) or not n["chars"]:
            fault("%s: unequal character lists %s" % (data, n))
        if n["pairs"] != n["values"]:
            fault("%s: unequal kerning lists %s" % (data, n))
        adv = [r[2] for r in lists["rects"]]
    else:
        sym = read_bytes(os.path.join(root, pre + el.get("symbols_path", "")))
        if sym[:3] != b"\xef\xbb\xbf":
            fault("%s: the symbols file must start with the byte-order mark" % el.get("symbols_path"))
        chars = sym[3:].decode("utf-8")
        words = read_bytes(data)
        if len(words) % 4 or len(words) // 4 != len(chars):
            fault("%s: %d symbols but %d words" % (data, len(chars), len(words) // 4))
        adv = [w >> 16 for w in struct.unpack("<%dI" % (len(words) // 4), words)]
    if len(adv) >= 3 and adv[0] != adv[2]:
        fault("%s: the first and third glyphs should be equally wide" % data)


def check_sound(root, rel, kind):
    path = os.path.join(root, rel)
    if not os.path.isfile(path):
        return
    with open(path, "rb") as f:
        head = f.read(1084)
    if rel.endswith(".wav"):
        try:
            w = wave.open(path)
            if w.getnframes() == 0:
                fault("%s: empty sound" % rel)
        except wave.Error as e:
            fault("%s: %s" % (rel, e))
    elif rel.endswith(".ogg"):
        if head[:4] != b"OggS":
            fault("%s: not an Ogg stream" % rel)
    elif rel.endswith(".mod"):
        if head[1080:1084] != b"M.K.":
            fault("%s: not a four-channel module" % rel)


def check_texts(data):
    lang = parse(os.path.join(data, "language.xml"))
    if lang is None:
        return {}
    current = "English"
    file = None
    for el in lang.iter():
        if el.tag == "Language":
            current = el.get("current", "")
        if el.tag == current and current:
            file = el.get("text_data")
    if not file or not os.path.isfile(os.path.join(data, file)):
        fault("language.xml: no text file for %s" % current)
        return {}
    texts = parse(os.path.join(data, file))
    if texts is None:
        return {}
    have = {}
    for el in texts.iter("text"):
        have.setdefault(el.get("id", ""), el.get("data", ""))
    for line in open(os.path.join(HERE, "required_texts.txt")):
        tid = line.strip()
        if tid and not tid.startswith("#") and not have.get(tid):
            fault("%s: text %s is missing or empty" % (file, tid))
    for tid, text in have.items():
        if len(text.encode("utf-16-le")) // 2 > 2047:
            fault("%s: text %s is too long" % (file, tid))
    return have


def check_fishes(data):
    root = parse(os.path.join(data, "fishes.xml"))
    if root is None:
        return {}
    fishes = {}
    for f in root.iter("Fish"):
        kind = f.get("type")
        if kind not in KINDS:
            fault("fishes.xml: unknown kind %s" % kind)
            continue
        if kind in fishes:
            fault("fishes.xml: %s twice" % kind)
        info = {"interior": {}, "feed": [], "growth": 0, "brushes": [], "medicines": []}
        if float(f.get("waiting_time", 0)) <= 0 or float(f.get("time_between_requests", 0)) <= 0:
            fault("fishes.xml: %s needs positive waiting_time and time_between_requests" % kind)
        for c in f:
            wt = c.get("waiting_time")
            if wt is not None and float(wt) <= 1.5:
                fault("fishes.xml: %s %s waiting_time %s is shorter than the wish bubble's opening" % (kind, c.tag, wt))
            if c.tag == "InteriorConst":
                info["interior"] = {k: v for k, v in c.attrib.items() if k != "waiting_time"}
            elif c.tag == "Feed":
                info["feed"] = [int(x) for x in c.get("types", "").split(",") if x]
                info["growth"] = float(c.get("growth_percent", 0))
                if "." in c.get("growth_percent", ""):
                    fault("fishes.xml: %s growth_percent should be a whole number" % kind)
            elif c.tag == "DirtRetention":
                info["brushes"] = [int(x) for x in c.get("brushes", "").split(",") if x]
            elif c.tag == "Morbidity":
                info["medicines"] = [int(x) for x in c.get("medicines", "").split(",") if x]
            elif c.tag == "Sell":
                info["cost"] = float(c.get("final_cost", 0))
                if info["cost"] <= 0:
                    fault("fishes.xml: %s sells for nothing" % kind)
        if not info["feed"] or any(not 1 <= t <= 4 for t in info["feed"]):
            fault("fishes.xml: %s needs foods 1-4" % kind)
        if info["growth"] <= 0:
            fault("fishes.xml: %s does not grow" % kind)
        fishes[kind] = info
    for kind in KINDS:
        if kind not in fishes:
            fault("fishes.xml: no %s" % kind)
    # The training script's fish.
    f1, sh = fishes.get("FISH_1"), fishes.get("SHOAL_FISHES")
    if f1 and (f1["interior"] != {"ground": "ROCK", "algae": "GREEN_GRASS"} or not 50 <= f1["growth"] < 100
               or not {1, 2} <= set(f1["feed"])):
        fault("fishes.xml: the training needs FISH_1 on ROCK and GREEN_GRASS, foods 1 and 2, growth 50-99")
    if sh and (sh["interior"] != {"ground": "STONE", "algae": "BLUE_GRASS"} or not 33.34 <= sh["growth"] < 50
               or not {1, 2} <= set(sh["feed"])):
        fault("fishes.xml: the training needs SHOAL_FISHES on STONE and BLUE_GRASS, foods 1 and 2, growth 34-49")
    return fishes


def check_levels(data, fishes, texts):
    root = parse(os.path.join(data, "levels.xml"))
    if root is None:
        return
    keys = ["location", "location_level", "food_types", "brush_types", "medic_types",
            "machine_ingridients", "base_aquariums"]
    carried = {}
    levels = []
    first = True
    for el in root.iter():
        if el.tag == "Setup":
            if first and set(el.attrib) != set(keys):
                fault("levels.xml: the first Setup must give all seven values")
            first = False
            carried.update({k: int(v) for k, v in el.attrib.items()})
        elif el.tag in ("Level", "BonusLevel"):
            if first:
                fault("levels.xml: a level before the first Setup")
            lv = dict(carried, bonus=el.tag == "BonusLevel", need=int(el.get("need", 0)),
                      expert=int(el.get("expert", 0)), time=float(el.get("need_time", 0)),
                      tasks=[(t.get("fish_type"), int(t.get("amount", 0))) for t in el if t.tag in ("Task", "BonusTask")],
                      customers=[(t.get("fish_type"), int(t.get("amount", 0)), float(t.get("creation_time", 0)))
                                 for t in el if t.tag == "Task"],
                      turtles=len([t for t in el if t.tag == "Turtle"]))
            levels.append(lv)
    if len(levels) < 25:
        fault("levels.xml: only %d levels" % len(levels))
        return
    t1, t2 = levels[0], levels[23]
    story = [i + 1 for i, lv in enumerate(levels) if not lv["bonus"] and i + 1 not in (1, 24)]
    bonus = [i + 1 for i, lv in enumerate(levels) if lv["bonus"]]
    if t1["bonus"] or t1["location"] != 1:
        fault("levels.xml: level 1 must be the first training level, in location 1")
    if [k for k, _ in t1["tasks"]] != ["FISH_1", "FISH_1", "SHOAL_FISHES"] or any(a != 1 for _, a in t1["tasks"]):
        fault("levels.xml: the first training level orders FISH_1, FISH_1 and SHOAL_FISHES, one each")
    if t1["machine_ingridients"] < 2 or t1["food_types"] < 2:
        fault("levels.xml: the first training level needs two ingredient groups and two foods")
    # The tips hold the arrivals from the first order until the first sale;
    # what is left of the later orders' delays is then waited out under the
    # tip that announces them.
    times = [t for _, _, t in t1["customers"]]
    if len(times) == 3 and (times[0] >= min(times[1:]) or max(times[1:]) - times[0] > 10):
        fault("levels.xml: the first training level's later orders should come 1-10 s after the first")
    if t2["bonus"] or t2["location"] != 2 or t2["food_types"] < 5 or t2["machine_ingridients"] < 2 \
            or [k for k, _ in t2["tasks"]] != ["FISH_1"]:
        fault("levels.xml: level 24 must be the second training level: location 2, vitamins, one FISH_1")
    if len(story) != 45:
        fault("levels.xml: %d story levels, the map has 45" % len(story))
    else:
        for n, idx in ((1, 2), (16, 20), (31, 39)):
            if story[n - 1] != idx:
                fault("levels.xml: story level %d must be level %d (it is %d)" % (n, idx, story[n - 1]))
        for n, idx in enumerate(story, 1):
            loc = 1 + (n - 1) // 15
            if levels[idx - 1]["location"] != loc:
                fault("levels.xml: story level %d should be in location %d" % (n, loc))
        if story[-1] != len(levels):
            fault("levels.xml: nothing may follow story level 45")
        for a, b in ((15, 16), (30, 31)):
            if any(story[a - 1] < x < story[b - 1] for x in bonus):
                fault("levels.xml: no bonus level between story levels %d and %d" % (a, b))
    # A bonus level's briefing is numbered by its place among the bonus levels.
    for b in range(1, len(bonus) + 1):
        if texts and not texts.get("MINIGAME_BRIEFING_%d" % b):
            fault("levels.xml: bonus level %d has no text MINIGAME_BRIEFING_%d" % (bonus[b - 1], b))
    for x in bonus:
        if x - 1 in bonus or x + 1 in bonus:
            fault("levels.xml: bonus levels %d and its neighbour follow each other" % x)
        if x in (2, 25):
            fault("levels.xml: level %d must be a story level" % x)
        if levels[x - 1]["turtles"] == 0:
            fault("levels.xml: bonus level %d has no turtles" % x)
    # What a level offers grows level by level within a location (training
    # and bonus levels included): the next level shows as new what the level
    # before it lacked, so a dip takes a tool away and brings it back as new.
    grow = ["location_level", "food_types", "brush_types", "medic_types", "machine_ingridients", "base_aquariums"]
    for i in range(1, len(levels)):
        a, b = levels[i - 1], levels[i]
        if b["location"] < a["location"]:
            fault("levels.xml: level %d goes back to location %d" % (i + 1, b["location"]))
        elif b["location"] == a["location"]:
            for k in grow:
                if b[k] < a[k]:
                    fault("levels.xml: level %d offers less %s than level %d" % (i + 1, k, i))
    needs = {}
    for i, lv in enumerate(levels, 1):
        if lv["bonus"]:
            continue
        if not lv["tasks"]:
            fault("levels.xml: level %d has no orders" % i)
        if lv["time"] <= 0 or lv["expert"] <= lv["need"]:
            fault("levels.xml: level %d needs a time and an expert goal above its goal" % i)
        for kind, amount in lv["tasks"]:
            if kind not in fishes:
                fault("levels.xml: level %d orders %s, which fishes.xml does not define" % (i, kind))
                continue
            f = fishes[kind]
            group = max(INTERIOR_GROUP.get(v, 9) for v in f["interior"].values()) if f["interior"] else 1
            if group > lv["machine_ingridients"] or max(f["feed"]) > min(4, lv["food_types"]) \
                    or max(f["brushes"] or [0]) > lv["brush_types"] or max(f["medicines"] or [0]) > lv["medic_types"]:
                fault("levels.xml: level %d orders %s but does not offer what it needs" % (i, kind))
            if amount < 1:
                fault("levels.xml: level %d has an order of %d fish" % (i, amount))
    goals = [levels[i - 1]["need"] for i in story]
    if goals and goals[-1] <= goals[0]:
        fault("levels.xml: the goals should rise over the game")
    # Difficulty rises: never fewer customers than the day before, and the
    # goal never a smaller share of what the customers' fish are worth.
    counts = [len(levels[i - 1]["customers"]) for i in story]
    for n in range(1, len(counts)):
        if counts[n] < counts[n - 1]:
            fault("levels.xml: story level %d has fewer customers than story level %d" % (n + 1, n))
    shares, slack = [], []
    for i in story:
        worth = sum(fishes.get(k, {}).get("cost", 0) * a for k, a, _ in levels[i - 1]["customers"])
        shares.append(levels[i - 1]["need"] / worth if worth else 0)
        slack.append(5.0 / worth if worth else 0)  # goals are rounded to tens
    for n in range(1, len(shares)):
        if shares[n] + slack[n] < shares[n - 1] - slack[n - 1]:
            fault("levels.xml: story level %d asks for a smaller share of its fish's worth (%.2f) than story level %d (%.2f)"
                  % (n + 1, shares[n], n, shares[n - 1]))


# Attributes the loaders read as text or as integer lists; every other
# attribute of these files is a number for the game's own parsers, which take
# no exponent, no '+' and no spaces.
TEXT_ATTRS = {"fish_type", "name", "type", "ground", "algae", "house", "coral", "types",
              "brushes", "medicines"}
INT_ATTRS = {"location", "location_level", "food_types", "brush_types", "medic_types",
             "machine_ingridients", "base_aquariums", "need", "expert", "amount", "path",
             "lamp", "compressor", "limit", "max", "cost"} | {"cost_%d" % i for i in range(1, 7)}


def check_numbers(data):
    for name in ("levels.xml", "fishes.xml", "upgrades.xml"):
        elements, _ = gamereaders.start_elements(read_bytes(os.path.join(data, name)))
        for _, tag, attrs in elements:
            for k, v in attrs.items():
                if k in TEXT_ATTRS and not (name == "levels.xml" and tag in ("Gull", "Turtle")):
                    if k in ("types", "brushes", "medicines") and any(
                            (gamereaders.parse_int(x) or (False,))[0] is False for x in v.split(",") if x):
                        fault("%s: %s %s=\"%s\" is not a list of whole numbers" % (name, tag, k, v))
                    continue
                parse = gamereaders.parse_int if k in INT_ATTRS or k == "type" else gamereaders.parse_float
                if parse(v) is None or not parse(v)[0]:
                    fault("%s: %s %s=\"%s\" does not read as a number in the game" % (name, tag, k, v))


def check_upgrades(data):
    root = parse(os.path.join(data, "upgrades.xml"))
    if root is None:
        return
    need = {"Footwear": ["speed_1", "speed_2", "speed_3", "cost_2", "cost_3"],
            "PetAquarium": ["cost_%d" % i for i in range(2, 7)],
            "Aquarium": ["cost_%d" % i for i in range(1, 5)],
            "Machine": ["cost_2", "cost_3", "work_time_1", "work_time_2", "work_time_3"],
            "AudioSystem": ["cost_1", "cost_2", "cost_3", "effect_1", "effect_2", "effect_3",
                            "work_time_1", "work_time_2", "work_time_3"],
            "Computer": ["cost"], "VitaminCost": ["cost", "max"], "VitaminGrowth": ["cost", "max"]}
    found = {el.tag: el for el in root.iter()}
    # The machine's sample plays while a set is built and the audio system's
    # while it works: each must last the longest work time it accompanies.
    def seconds(pos):
        if pos >= len(SAMPLE_FILES) or not os.path.isfile(SAMPLE_FILES[pos]):
            return None
        try:
            w = wave.open(SAMPLE_FILES[pos])
            return w.getnframes() / float(w.getframerate())
        except wave.Error:
            return None
    lasts = [(31, "Machine", ["work_time_1", "work_time_2", "work_time_3"])] + \
        [(35 + i, "AudioSystem", ["work_time_%d" % (i + 1)]) for i in range(3)]
    for pos, tag, attrs in lasts:
        el, length = found.get(tag), seconds(pos)
        if el is not None and length is not None:
            longest = max(float(el.get(a, 0)) for a in attrs)
            if length < longest:
                fault("sample %d lasts %.1f s, shorter than the %s work time %.1f s" % (pos, length, tag, longest))
    for tag, attrs in need.items():
        el = found.get(tag)
        if el is None:
            fault("upgrades.xml: no %s" % tag)
            continue
        for a in attrs:
            if float(el.get(a, 0)) <= 0:
                fault("upgrades.xml: %s %s must be above 0" % (tag, a))


def menu_item_ids(data):
    """The item ids of menu.xml, or None while there is no menu.xml."""
    path = os.path.join(data, "menu.xml")
    if not os.path.isfile(path):
        return None
    elements, _ = gamereaders.start_elements(read_bytes(path))
    return {attrs.get("id", "") for p, tag, attrs in elements if tag == "item" and p.startswith("Menu")}


def number(parse, attrs, name, default=0):
    got = parse(attrs.get(name, ""))
    return default if got is None else got[1]


def check_scene_object(root, name, attrs, animations):
    """One backdrop object: its type, its picture and every rectangle the
    game cuts from it."""
    kind = number(gamereaders.parse_int, attrs, "type", -1)
    image = attrs.get("image", "")
    where = "%s: object %s" % (name, image or "without image")
    if not 0 <= kind <= 4:
        fault("%s: type %s, not 0 to 4" % (where, attrs.get("type")))
    if image not in IMAGES:
        fault("%s: no Image of that id in resources.xml" % where)
        return
    el, rel = IMAGES[image]
    if el.get("coverage", "0") not in ("-1", "0"):
        fault("%s: coverage %s; the backdrop needs -1 or 0" % (where, el.get("coverage")))
    size = png_size(os.path.join(root, rel)) if exists_exact(root, rel) else None
    if size is None:
        return
    W, H = size

    def inside(what, l, t, r, b):
        if not (0 <= l < r <= W and 0 <= t < b <= H):
            fault("%s: %s %d-%d x %d-%d does not lie in its %dx%d picture" % (where, what, l, r, t, b, W, H))
            return False
        return True

    rect = [number(gamereaders.parse_int, attrs, k) for k in ("r_left", "r_top", "r_right", "r_bottom")]
    if rect[2] != 0:
        inside("rectangle", *rect)
    if kind == 2 and number(gamereaders.parse_float, attrs, "speed_r") == 0:
        fault("%s: a swaying object needs speed_r other than 0, or its angle is lost" % where)
    if kind == 3:
        if rect[2] - rect[0] <= 0 or rect[3] - rect[1] <= 0:
            fault("%s: a scrolling texture needs a rectangle, its scroll period" % where)
        inside("scrolling area", *[number(gamereaders.parse_int, attrs, k)
                                   for k in ("dr_left", "dr_top", "dr_right", "dr_bottom")])
    if kind != 4:
        return
    if not animations:
        fault("%s: a frame animation without an animation element" % where)
        return
    a = {k: number(gamereaders.parse_int, animations[0], k) for k in (
        "first_frame_x", "first_frame_y", "last_frame_x", "last_frame_y", "cur_frame_x", "cur_frame_y",
        "max_frame_x", "max_frame_y", "cut_left", "cut_top", "cut_right", "cut_bottom", "loop",
        "double_action_every_iteration")}
    if a["max_frame_x"] < 1 or a["max_frame_y"] < 1:
        fault("%s: max_frame_x and max_frame_y must be 1 or more" % where)
        return
    if a["loop"] and a["double_action_every_iteration"] < 1:
        fault("%s: a looping animation needs double_action_every_iteration of 1 or more" % where)
    for f in ("first", "last", "cur"):
        if not (0 <= a[f + "_frame_x"] < a["max_frame_x"] and 0 <= a[f + "_frame_y"] < a["max_frame_y"]):
            fault("%s: the %s frame lies outside the %dx%d grid" % (where, f, a["max_frame_x"], a["max_frame_y"]))
    fw, fh = rect[2] - rect[0], rect[3] - rect[1]
    if fw <= 0 or fh <= 0:
        fault("%s: a frame animation needs the size of one frame as its rectangle" % where)
        return
    # The last cell of the grid, with the cuts, is the farthest the game reads.
    inside("frame grid", rect[0] + a["cut_left"], rect[1] + a["cut_top"],
           rect[0] + a["max_frame_x"] * fw + a["cut_right"], rect[1] + a["max_frame_y"] * fh + a["cut_bottom"])


def check_menu_scene(root, data):
    name = "menu scene.xml"
    path = os.path.join(data, name)
    if not os.path.isfile(path):
        fault("%s is missing" % name)
        return
    if parse(path) is None:
        return
    elements, _ = gamereaders.start_elements(read_bytes(path))
    items = menu_item_ids(data)
    objects = []  # (attributes, [animation attributes])
    for p, tag, attrs in elements:
        if tag == "animation" and p.startswith("Base/object") and objects:
            objects[-1][1].append(attrs)
        elif not p.startswith("Base"):
            continue
        elif tag in ("show", "hide"):
            for key in ("menu_root", "menu_item"):
                for rule in [x for x in re.split("[, ]", attrs.get(key, "")) if x]:
                    if items is not None and rule not in items:
                        fault("%s: %s %s=\"%s\" names no item of menu.xml" % (name, tag, key, rule))
        elif tag == "object":
            objects.append((attrs, []))
    if not objects:
        fault("%s: no objects" % name)
    for attrs, animations in objects:
        check_scene_object(root, name, attrs, animations)


def check_regeneration(root, data):
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), "--out", tmp],
                       check=True, stdout=subprocess.DEVNULL)
        mine = set()
        for dirpath, _, files in os.walk(tmp):
            for f in files:
                rel = os.path.relpath(os.path.join(dirpath, f), tmp)
                mine.add(rel)
                shipped = os.path.join(data, rel)
                if not os.path.isfile(shipped):
                    fault("Resources/Data/%s is not in the repository; run the generator" % rel)
                elif not filecmp.cmp(shipped, os.path.join(tmp, rel), shallow=False):
                    fault("Resources/Data/%s differs from what the generator makes" % rel)
        for dirpath, _, files in os.walk(data):
            for f in files:
                rel = os.path.relpath(os.path.join(dirpath, f), data)
                if rel not in mine and not rel.startswith("Menu/"):
                    fault("Resources/Data/%s is not made by the generator" % rel)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--root", default=os.path.join(HERE, "..", ".."))
    ap.add_argument("--no-regen", action="store_true")
    args = ap.parse_args()
    root = os.path.abspath(args.root)
    data = os.path.join(root, "Resources", "Data")
    check_resources(root, data)
    check_device_rects(root)
    check_footwear(root)
    texts = check_texts(data)
    fishes = check_fishes(data)
    check_levels(data, fishes, texts)
    check_words.check_statistics(data, texts, fault)
    if "UPGRADES" in IMAGES and exists_exact(root, IMAGES["UPGRADES"][1]):
        check_words.check_hint_arrow(os.path.join(root, IMAGES["UPGRADES"][1]), fault)
    check_bonus.check(data, fault)
    check_scenes.check(data, fault)
    check_hud.check(data, texts, fault)
    check_panel.check(data, images.ROOM_FEATURES, fault)
    check_upgrades(data)
    check_hints.check(data, texts, fault)
    check_credits.check(texts, fault)
    check_numbers(data)
    check_menu.check(root, data, texts, sys.modules[__name__])
    check_menu_scene(root, data)
    check_pet_figures(root, data)
    if not args.no_regen:
        check_regeneration(root, data)
    for f in faults:
        print("FAULT:", f)
    print("data check: %d fault(s)" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
