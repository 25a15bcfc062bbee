"""The data check's rules for the shop's instrument panel and its room: the
pictures cut from one atlas keep out of each other's cells, no two things of
the panel (the twelve ingredients, the tools and jars, the machine at every
upgrade level) cover one another in any state the game draws them in, and
the room's windows, wall paintings and pieces keep clear of the panel and,
with everything else of the room, of the HUD. check_data.py runs them;
check_panel_test.py tries each rule on a broken fixture."""

import os
import xml.etree.ElementTree as ET

import numpy as np
from PIL import Image

from shelf import (CHARGE_SIGN, CLOCK_CELLS, CLOCK_SCALE, DOOR_GLOW, DOOR_GLOW_AT, DOOR_LOWERED, DOOR_REST,
                   HUD_MARGIN, INGREDIENT_OFFSET, INGREDIENTS, MACHINE_CLIP, MACHINE_CLIP_AT, MACHINE_LEVELS,
                   MACHINE_OFFSET, ROOM_PIECES, SELECT_SIGN, TOOLS, VITAMIN_CELLS, VITAMIN_PLATE)

SCREEN = (1024, 768)
# An edge pixel fainter than this does not show; a glow dimmer than this adds
# nothing one can see.
SOLID, LIT = 32, 24

def cut_rects():
    """Every rectangle of an atlas that the panel and the machine cut, by
    image, with the thing it shows: no two things may share a visible
    pixel there."""
    rects = {}

    def add(image, src, owner):
        if (src, owner) not in rects.setdefault(image, []):
            rects[image].append((src, owner))
    for name, src, _, glow, _, _ in INGREDIENTS:
        add("ITEMS", src, name)
        add("GLOW", glow, name)
    for loc in TOOLS:
        for name, (image, src, _, _), (glow, _), _ in TOOLS[loc]:
            add(image, src, name)
            add("GLOW", glow, name)
    for image, src in (SELECT_SIGN, CHARGE_SIGN, VITAMIN_PLATE):
        add(image, src, "marker")
    for level, (body, _, glow, _, door, bar, _) in MACHINE_LEVELS.items():
        for src in (body, door, bar):
            add("UPGRADES", src, "MACHINE_%d" % level)
        add("MACHINE_GLOW", glow, "MACHINE_%d" % level)
    add("MACHINE_GLOW", DOOR_GLOW, "MACHINE_DOOR")
    return rects


LIGHT = {"GLOW", "MACHINE_GLOW"}


class Pictures:
    """The data set's pictures by id, read once, as what shows of them: a
    boolean per pixel (opaque enough, or for a light bright enough)."""

    def __init__(self, data):
        root = ET.parse(os.path.join(data, "resources.xml")).getroot()
        self.paths = {el.get("id"): os.path.join(data, el.get("path", "")) for el in root.iter("Image")}
        self.cache = {}

    def shows(self, image):
        if image not in self.cache:
            a = np.asarray(Image.open(self.paths[image]).convert("RGBA"))
            self.cache[image] = (a[:, :, :3].max(axis=2) >= LIT) if image in LIGHT else (a[:, :, 3] >= SOLID)
        return self.cache[image]


def stamp(mask, pics, image, src, at, scale=1.0, mirrored=False):
    """Lays what shows of a cut rectangle onto a screen mask at `at`."""
    l, r, t, b = src
    part = pics.shows(image)[t:b, l:r]
    if mirrored:
        part = part[:, ::-1]
        at = (at[0] - (r - l), at[1])
    if scale != 1.0:
        h, w = part.shape
        img = Image.fromarray(part.astype(np.uint8) * 255).resize((int(round(w * scale)), int(round(h * scale))))
        part = np.asarray(img) > 127
    x, y = int(round(at[0])), int(round(at[1]))
    h, w = part.shape
    x0, y0, x1, y1 = max(0, x), max(0, y), min(SCREEN[0], x + w), min(SCREEN[1], y + h)
    if x0 < x1 and y0 < y1:
        mask[y0:y1, x0:x1] |= part[y0 - y:y1 - y, x0 - x:x1 - x]


def blank():
    return np.zeros((SCREEN[1], SCREEN[0]), dtype=bool)


def panel_things(pics, loc, level):
    """(name, mask) of every thing of the panel in a location with the
    machine at `level`: each mask is what it shows in any of its states
    (normal, hovered, selected, disabled, charging)."""
    out = []
    ox, oy = INGREDIENT_OFFSET[loc]
    for name, src, at, glow, glow_at, tag in INGREDIENTS:
        m = blank()
        tag = (tag[0] + ox, tag[1] + oy)
        stamp(m, pics, "ITEMS", src, (at[0] + ox, at[1] + oy))
        stamp(m, pics, "GLOW", glow, (glow_at[0] + ox, glow_at[1] + oy))
        for image, cell in (SELECT_SIGN, CHARGE_SIGN):
            stamp(m, pics, image, cell, tag)
        for image, cell in CLOCK_CELLS:
            stamp(m, pics, image, cell, (tag[0] + 5, tag[1] + 4), CLOCK_SCALE)
        out.append((name, m))
    for name, (image, src, at, mirrored), (glow, glow_at), tag in TOOLS[loc]:
        m = blank()
        stamp(m, pics, image, src, at, mirrored=mirrored)
        stamp(m, pics, "GLOW", glow, glow_at, mirrored=mirrored)
        if "VITAMIN" in name:
            stamp(m, pics, VITAMIN_PLATE[0], VITAMIN_PLATE[1], (tag[0] - 4, tag[1] + 6))
            for image, cell in VITAMIN_CELLS:
                stamp(m, pics, image, cell, (tag[0] + 8, tag[1] + 23))
        else:
            stamp(m, pics, CHARGE_SIGN[0], CHARGE_SIGN[1], tag)
        out.append((name, m))
    out.append(("MACHINE_%d" % level, machine(pics, loc, level)))
    return out


def machine(pics, loc, level):
    ox, oy = MACHINE_OFFSET[loc]
    body, at, glow, glow_at, door, bar, bar_at = MACHINE_LEVELS[level]
    m = blank()
    stamp(m, pics, "UPGRADES", body, (at[0] + ox, at[1] + oy))
    stamp(m, pics, "MACHINE_GLOW", glow, (glow_at[0] + ox, glow_at[1] + oy))
    for y in range(DOOR_REST[1], DOOR_LOWERED[1] + 1):   # the door on its way down and up, with its glow
        stamp(m, pics, "UPGRADES", door, (DOOR_REST[0] + ox, y + oy))
        stamp(m, pics, "MACHINE_GLOW", DOOR_GLOW, (DOOR_GLOW_AT[0] + ox, y - 4 + oy))
    stamp(m, pics, "UPGRADES", bar, (bar_at[0] + ox, bar_at[1] + oy))
    for image, cell in MACHINE_CLIP:
        stamp(m, pics, image, cell, (MACHINE_CLIP_AT[0] + ox, MACHINE_CLIP_AT[1] + oy))
    return m


def first_pixel(mask):
    ys, xs = np.nonzero(mask)
    return int(xs[0]), int(ys[0])


def check_cells(pics, fault):
    """Two rectangles cut from one atlas for different things share no
    visible pixel: a picture painted into the other's cell shows as stray
    strokes on both."""
    for image, rects in cut_rects().items():
        if image not in pics.paths:
            continue
        shows = pics.shows(image)
        for i, ((l1, r1, t1, b1), a) in enumerate(rects):
            for (l2, r2, t2, b2), b in rects[i + 1:]:
                l, r, t, bottom = max(l1, l2), min(r1, r2), max(t1, t2), min(b1, b2)
                if a != b and l < r and t < bottom and shows[t:bottom, l:r].any():
                    fault("%s: the cells of %s (%d-%d x %d-%d) and %s (%d-%d x %d-%d) share %d visible pixels"
                          % (pics.paths[image], a, l1, r1, t1, b1, b, l2, r2, t2, b2,
                             int(shows[t:bottom, l:r].sum())))


def check_overlaps(pics, fault):
    """No two things of the panel cover one another, in any location and
    with the machine at any level."""
    for loc in (1, 2, 3):
        for level in (1, 2, 3):
            things = panel_things(pics, loc, level)
            for i, (a, ma) in enumerate(things):
                for b, mb in things[i + 1:]:
                    if level > 1 and not (a.startswith("MACHINE") or b.startswith("MACHINE")):
                        continue  # the same as with the machine at level 1
                    both = ma & mb
                    if both.any():
                        fault("location %d: %s and %s overlap in %d pixels, first at (%d, %d)"
                              % ((loc, a, b, int(both.sum())) + first_pixel(both)))


def panel_mask(pics, loc):
    m = blank()
    for level in (1, 2, 3):
        for _, thing in panel_things(pics, loc, level):
            m |= thing
    return m


# The play HUD: image, source, position (left panel, goal bar, corner, time
# frame and bar, the decorations, the pause button and the training's SKIP).
HUD = [("LEFT_MENU", (0, 298, 0, 99), (0, 0)), ("GUI", (301, 408, 0, 74), (917, 0)),
       ("GUI", (92, 439, 475, 513), (394, 0)), ("ICONS", (142, 459, 325, 423), (-19, -13)),
       ("ICONS", (142, 162, 345, 423), (-19, 19)), ("ICONS", (345, 475, 423, 511), (913, -15)),
       ("ICONS", (1, 345, 423, 439), (394, -15)), ("GUI", (356, 445, 364, 434), (938, 0))]


def hud_mask(pics):
    m = blank()
    for image, src, at in HUD:
        if image in pics.paths:
            stamp(m, pics, image, src, at)
    return grow(m, HUD_MARGIN)


def grow(mask, n):
    out = mask.copy()
    for _ in range(n):
        g = out.copy()
        g[1:, :] |= out[:-1, :]
        g[:-1, :] |= out[1:, :]
        g[:, 1:] |= out[:, :-1]
        g[:, :-1] |= out[:, 1:]
        out = g
    return out


# The pet's aquarium (levels 1 to 6 share their place) and the body of the
# pet's wish bubble at full size, which opens above its left end.
PET_AT = {1: (755, 121), 2: (263, 89), 3: (460, 378)}
PET_BUBBLE = ("AQUARIUM_INTERIORS", (0, 88, 384, 448), (22, -65))
PET_PICTURES = [((0, 130, 0, 131), (0, 0)), ((131, 261, 0, 131), (0, 0)), ((262, 392, 0, 131), (0, 0)),
                ((0, 131, 130, 262), (0, -1)), ((131, 261, 131, 262), (0, 0)), ((261, 391, 131, 262), (-1, 0))]


def check_room(pics, features, fault):
    """The room's windows and wall paintings (`features`: location -> list of
    (name, (left, top, right, bottom)) painted into its pictures), its pieces,
    the pet's aquarium and its wish bubble keep clear of the HUD by
    HUD_MARGIN; the windows, paintings and pieces also keep clear of the
    panel."""
    hud = hud_mask(pics)
    for loc in (1, 2, 3):
        panel = panel_mask(pics, loc)
        for name, (l, t, r, b) in features.get(loc, []):
            box = blank()
            box[max(0, t):max(0, b), max(0, l):max(0, r)] = True
            for what, other in (("the HUD", hud), ("the panel", panel)):
                if (box & other).any():
                    fault("location %d: the %s at %d, %d - %d, %d lies against %s, first at (%d, %d)"
                          % ((loc, name, l, t, r, b, what) + first_pixel(box & other)))
        for k, (image, src, at) in enumerate(ROOM_PIECES[loc]):
            m = blank()
            stamp(m, pics, image, src, at)
            for what, other in (("the HUD", hud), ("the panel", panel)):
                if (m & other).any():
                    fault("location %d: piece %s %d-%d x %d-%d at (%d, %d) lies against %s, first at (%d, %d)"
                          % ((loc, image) + src + at + (what,) + first_pixel(m & other)))
        for k, (src, (dx, dy)) in enumerate(PET_PICTURES):
            m = blank()
            stamp(m, pics, "UPGRADES", src, (PET_AT[loc][0] + dx, PET_AT[loc][1] + dy))
            if (m & hud).any():
                fault("location %d: the pet's aquarium of level %d lies against the HUD, first at (%d, %d)"
                      % ((loc, k + 1) + first_pixel(m & hud)))
        m = blank()
        image, src, (dx, dy) = PET_BUBBLE
        stamp(m, pics, image, src, (PET_AT[loc][0] + dx, PET_AT[loc][1] + dy))
        if (m & hud).any():
            fault("location %d: the pet's wish bubble lies against the HUD, first at (%d, %d)"
                  % ((loc,) + first_pixel(m & hud)))
        things = panel_things(pics, loc, 1) + [("MACHINE_%d" % lv, machine(pics, loc, lv)) for lv in (2, 3)]
        for name, m in things:
            if (m & hud).any():
                fault("location %d: %s lies against the HUD, first at (%d, %d)" % ((loc, name) + first_pixel(m & hud)))


def check(data, features, fault):
    try:
        pics = Pictures(data)
    except (OSError, ET.ParseError):
        return  # the main check reports an unreadable file
    needed = {"ITEMS", "GLOW", "INSTRUMENTS", "UPGRADES", "MACHINE_GLOW", "GUI", "TIME_BAR", "ICONS", "AQUARIUM_INTERIORS",
              "LOCATION_UPDATES_1", "LOCATION_UPDATES_2", "SEA_WAVE_MASK", "AQUARIUM_ANIMATION", "LEFT_MENU"}
    if not needed <= set(pics.paths):
        return  # reported as missing by the main check
    check_cells(pics, fault)
    check_overlaps(pics, fault)
    check_room(pics, features, fault)
