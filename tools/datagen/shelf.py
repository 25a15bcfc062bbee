"""Where the pictures of the shop's instrument panel may paint. The game
places every ingredient, tool, jar and the machine at fixed points, and many
of their rectangles overlap on the screen and in their atlases; so each
picture gets a content box, the part of its cell that no neighbour, marker
or HUD panel claims in any location, and is painted into that box only.

The ingredients keep to a grid of their own, laid so that the training's
arrows land on the stones and the grasses they name; everything else yields
to them, to the markers and to the HUD."""

from common import new

SCREEN = (1024, 768)
# Room pictures and objects keep this far from a HUD panel.
HUD_MARGIN = 8
# The opaque parts of the play HUD (left, top, right, bottom): the left
# panel's bar and arm, the time frame, the top-right corner.
HUD_RECTS = [(0, 0, 298, 46), (0, 0, 176, 99), (394, 0, 741, 26), (913, 0, 1024, 74)]

# Ingredients of location 1: name, picture (source left, right, top, bottom;
# position), glow (source; position), tag point.
INGREDIENTS = [
    ("SAND", (140, 205, 47, 82), (576, 53), (369, 421, 239, 275), (576, 50), (587, 50)),
    ("STONE", (171, 231, 0, 42), (629, 48), (367, 420, 283, 323), (628, 50), (639, 51)),
    ("ROCK", (154, 228, 79, 115), (670, 49), (421, 463, 298, 338), (686, 47), (688, 50)),
    ("GREEN_GRASS", (70, 108, 11, 41), (590, 95), (378, 422, 342, 377), (586, 90), (588, 88)),
    ("BLUE_GRASS", (99, 139, 60, 97), (637, 88), (463, 505, 298, 339), (637, 87), (638, 88)),
    ("RED_GRASS", (157, 196, 129, 164), (687, 89), (140, 187, 298, 340), (683, 86), (687, 88)),
    ("CHEST", (59, 97, 52, 100), (591, 123), (265, 308, 296, 343), (590, 123), (591, 128)),
    ("CASTLE", (117, 173, 0, 49), (631, 122), (459, 508, 0, 52), (633, 118), (639, 128)),
    ("SEA_SHELL", (112, 154, 104, 147), (683, 125), (261, 299, 148, 190), (685, 125), (686, 128)),
    ("RED_CORAL", (102, 157, 193, 242), (586, 163), (455, 508, 62, 112), (587, 162), (593, 167)),
    ("YELLOW_CORAL", (57, 114, 104, 150), (630, 163), (188, 243, 318, 363), (635, 168), (639, 167)),
    ("BLUE_CORAL", (94, 144, 148, 195), (678, 162), (308, 359, 242, 289), (678, 163), (683, 166)),
]
INGREDIENT_OFFSET = {1: (0, 0), 2: (75, -7), 3: (-89, 0)}
# Each ingredient's share of the shelf in location 1 (left, top, right,
# bottom): three columns and four rows. The stones reach x 689, under the
# point of the arrow that names them; the rock starts right of it.
SHELF_GRID = {
    "SAND": (576, 50, 629, 88), "STONE": (631, 48, 690, 88), "ROCK": (691, 47, 745, 88),
    "GREEN_GRASS": (586, 88, 629, 122), "BLUE_GRASS": (631, 88, 685, 122), "RED_GRASS": (687, 88, 731, 122),
    "CHEST": (586, 122, 629, 162), "CASTLE": (631, 122, 685, 162), "SEA_SHELL": (686, 122, 731, 162),
    "RED_CORAL": (586, 162, 629, 213), "YELLOW_CORAL": (631, 162, 682, 213), "BLUE_CORAL": (683, 162, 731, 213),
}

# The other items by location: name, picture (image, source, position,
# mirrored), glow (source, position), tag point.
LU2, IT, INS = "LOCATION_UPDATES_2", "ITEMS", "INSTRUMENTS"
COMPUTER, COMPUTER_GLOW = ("ICONS", (340, 410, 0, 77)), (310, 387, 150, 233)
MED2, MED2_GLOW = (155, 183, 179, 228), (265, 296, 198, 250)
MED1_GLOW = (57, 102, 198, 260)
COST, COST_GLOW = (292, 332, 432, 487), (447, 500, 405, 473)
GROWTH, GROWTH_GLOW = (244, 291, 433, 482), (448, 507, 340, 403)
FOOD = {4: ((203, 254, 42, 80), (245, 300, 349, 393)), 3: ((0, 59, 0, 62), (238, 302, 400, 468)),
        2: ((56, 104, 204, 256), (421, 479, 237, 298)), 1: ((0, 50, 117, 175), (197, 252, 245, 304))}


def tools(computer, brushes, meds, cost, growth, foods, med1, mirrored):
    out = [("COMPUTER", COMPUTER + (computer[0], False), (COMPUTER_GLOW, computer[1]), computer[2])]
    for k, (src, at, glow, glow_at, tag) in enumerate(brushes):
        out.append(("BRUSH_%d" % (k + 1), (LU2, src, at, False), (glow, glow_at), tag))
    out.append(("MEDICINE_2", (IT, MED2, meds[0][0], mirrored), (MED2_GLOW, meds[0][1]), meds[0][2]))
    out.append(("MEDICINE_1", (IT, med1, meds[1][0], mirrored), (MED1_GLOW, meds[1][1]), meds[1][2]))
    out.append(("COST_VITAMIN", (INS, COST, cost[0], False), (COST_GLOW, cost[1]), cost[2]))
    out.append(("GROWTH_VITAMIN", (INS, GROWTH, growth[0], False), (GROWTH_GLOW, growth[1]), growth[2]))
    for n, (at, glow_at, tag) in zip((4, 3, 2, 1), foods):
        out.append(("FOOD_%d" % n, (IT, FOOD[n][0], at, False), (FOOD[n][1], glow_at), tag))
    return out


TOOLS = {
    1: tools(((338, 139), (336, 137), (350, 135)),
             [((0, 49, 855, 920), (420, 161), (183, 243, 169, 240), (414, 154), (426, 166)),
              ((51, 101, 857, 914), (408, 52), (4, 64, 267, 333), (402, 46), (404, 53))],
             [((179, 175), (179, 171), (173, 169)), ((144, 184), (141, 180), (143, 186))],
             ((255, 109), (248, 103), (255, 107)), ((208, 138), (202, 130), (212, 132)),
             [((280, 181), (278, 177), (285, 168)), ((231, 178), (229, 174), (241, 184)),
              ((313, 224), (307, 218), (317, 219)), ((272, 247), (270, 246), (277, 246))],
             (56, 95, 148, 206), False),
    2: tools(((815, 118), (813, 116), (817, 114)),
             [((101, 156, 859, 922), (880, 325), (183, 245, 167, 240), (877, 315), (887, 328)),
              ((158, 209, 860, 918), (843, 274), (67, 134, 267, 341), (836, 268), (853, 278))],
             [((932, 96), (932, 92), (898, 90)), ((965, 103), (970, 99), (927, 105))],
             ((142, 207), (135, 201), (142, 205)), ((94, 238), (88, 230), (98, 232)),
             [((167, 271), (165, 267), (172, 258)), ((118, 272), (116, 268), (128, 278)),
              ((187, 301), (181, 295), (191, 296)), ((150, 322), (148, 321), (155, 321))],
             (57, 96, 148, 206), True),
    3: tools(((874, 169), (872, 167), (886, 175)),
             [((211, 249, 836, 892), (792, 62), (313, 363, 314, 392), (788, 54), (794, 60)),
              ((249, 302, 836, 891), (738, 64), (106, 175, 196, 267), (731, 58), (748, 64))],
             [((888, 49), (888, 45), (854, 43)), ((921, 56), (926, 52), (883, 58))],
             ((112, 80), (105, 74), (112, 78)), ((68, 107), (62, 99), (72, 101)),
             [((147, 138), (145, 134), (152, 125)), ((97, 137), (95, 133), (107, 143)),
              ((180, 164), (174, 158), (184, 159)), ((137, 184), (135, 183), (142, 183))],
             (57, 96, 148, 206), True),
}

# Markers drawn over an item: the selection and charging signs at the tag
# point, the ingredients' charge clock (cells of "GUI", scaled 1.7) at tag +
# (5, 4), and behind a vitamin's clock (cells of "TIME_BAR") its plate.
SELECT_SIGN, CHARGE_SIGN = (INS, (379, 422, 180, 222)), (INS, (379, 422, 264, 306))
CLOCK_CELLS = [("GUI", (494, 512, k * 20, k * 20 + 20)) for k in range(12)]
CLOCK_SCALE = 1.7
VITAMIN_PLATE = (INS, (332, 384, 432, 484))
VITAMIN_CELLS = [("TIME_BAR", (c * 24, c * 24 + 24, r * 24, r * 24 + 24)) for c in range(5) for r in range(10)]
# What the markers paint of their cells (left, top, right, bottom in the cell):
# small enough to stay on the item they mark.
SIGN_BOX = (3, 3, 21, 21)
CLOCK_BOX = (0, 0, 12, 12)
CLOCK_CELL_BOX = (1, 0, 13, 12)   # the same in the painted cell, one wider at the left
VITAMIN_CLOCK_BOX = (3, 6, 21, 24)
PLATE_BOX = (12, 23, 36, 45)

# The machine: its offset by location, and per level body picture and glow,
# door picture (at rest (547, 71) and lowered (547, 127)) and progress bar.
MACHINE_OFFSET = {1: (-65, 2), 2: (10, -5), 3: (-154, 2)}
MACHINE_LEVELS = {
    1: ((392, 511, 141, 263), (518, 17), (135, 258, 0, 128), (517, 15), (112, 190, 261, 339), (190, 240, 338, 346), (559, 80)),
    2: ((385, 513, 263, 384), (521, 18), (121, 255, 128, 255), (516, 15), (190, 268, 261, 338), (190, 240, 346, 354), (559, 80)),
    3: ((393, 513, 0, 142), (518, -1), (0, 128, 0, 148), (511, -4), (112, 190, 338, 416), (190, 240, 355, 363), (558, 82)),
}
DOOR_REST, DOOR_LOWERED = (547, 71), (547, 127)
DOOR_GLOW, DOOR_GLOW_AT = (34, 120, 150, 235), (543, 67)
MACHINE_CLIP_AT = (613, 63)
MACHINE_CLIP = [("AQUARIUM_ANIMATION", (307 + c * 36, 343 + c * 36, r * 77, r * 77 + 77))
                for c in range(2) for r in range(6)]


# The room's pieces that stand or hang on the walls, by location: image,
# source, position (the sea windows' frames among them).
ROOM_PIECES = {
    1: [("LOCATION_UPDATES_1", (745, 886, 29, 100), (571, 268)), ("LOCATION_UPDATES_1", (563, 647, 18, 100), (145, 328)),
        ("LOCATION_UPDATES_1", (648, 740, 25, 100), (870, 283)), ("LOCATION_UPDATES_2", (0, 148, 0, 315), (0, 121)),
        ("LOCATION_UPDATES_2", (150, 318, 0, 255), (767, 0)), ("LOCATION_UPDATES_2", (0, 130, 592, 854), (894, 450)),
        ("LOCATION_UPDATES_2", (213, 288, 434, 608), (946, 266)), ("SEA_WAVE_MASK", (0, 90, 0, 89), (12, 178)),
        ("SEA_WAVE_MASK", (91, 179, 0, 89), (12, 178)), ("SEA_WAVE_MASK", (181, 269, 0, 89), (808, 12)),
        ("SEA_WAVE_MASK", (271, 359, 0, 89), (808, 12))],
    2: [("LOCATION_UPDATES_2", (320, 486, 0, 250), (1, 0)), ("LOCATION_UPDATES_1", (887, 1009, 15, 99), (333, 257)),
        ("LOCATION_UPDATES_2", (149, 344, 257, 344), (621, 255)), ("LOCATION_UPDATES_2", (418, 510, 556, 701), (81, 485)),
        ("LOCATION_UPDATES_2", (282, 347, 655, 742), (411, 172)), ("LOCATION_UPDATES_2", (348, 512, 703, 955), (860, 516)),
        ("LOCATION_UPDATES_2", (291, 418, 556, 653), (747, 0)), ("SEA_WAVE_MASK", (361, 429, 0, 84), (251, 62))],
    3: [("LOCATION_UPDATES_2", (291, 497, 446, 554), (0, 26)), ("LOCATION_UPDATES_2", (347, 508, 252, 445), (864, 573)),
        ("LOCATION_UPDATES_2", (131, 234, 609, 740), (922, 130)), ("LOCATION_UPDATES_2", (113, 345, 344, 432), (317, 0)),
        ("LOCATION_UPDATES_2", (111, 194, 433, 583), (270, 44)), ("LOCATION_UPDATES_2", (210, 308, 742, 836), (180, 0)),
        ("LOCATION_UPDATES_1", (0, 562, 0, 100), (243, 266)), ("LOCATION_UPDATES_2", (0, 111, 316, 591), (913, 270)),
        ("LOCATION_UPDATES_2", (130, 209, 742, 859), (925, 312))],
}


# --- content boxes -----------------------------------------------------------

class Part:
    """One picture of the panel: its cell in an atlas, where the game draws
    it (location, x, y, mirrored) and the box of the cell it paints."""

    def __init__(self, owner, image, src, places, kind):
        self.owner, self.image, self.src, self.places, self.kind = owner, image, src, places, kind
        l, r, t, b = src
        self.box = [0, 0, r - l, b - t]

    def on_screen(self, place, box=None):
        x, y, mirrored = place[:3]
        l, t, r, b = box or self.box
        if mirrored:
            return (x - r, y + t, x - l, y + b)
        return (x + l, y + t, x + r, y + b)

    def in_cell(self, place, screen):
        """A screen rectangle as a rectangle of the cell."""
        x, y, mirrored = place[:3]
        l, t, r, b = screen
        if mirrored:
            return (x - r, t - y, x - l, b - y)
        return (l - x, t - y, r - x, b - y)


def overlap(a, b):
    l, t, r, bb = max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3])
    return (l, t, r, bb) if l < r and t < bb else None


def avoid(box, cut):
    """Shrinks a box so that it leaves `cut` (both in one frame), losing as
    little of its area as it can."""
    l, t, r, b = box
    options = [(l, t, min(r, cut[0]), b), (max(l, cut[2]), t, r, b),
               (l, t, r, min(b, cut[1])), (l, max(t, cut[3]), r, b)]
    return list(max(options, key=lambda o: max(0, o[2] - o[0]) * max(0, o[3] - o[1])))


def split(a, b):
    """Two boxes that overlap each give up half of the overlap, across its
    thinner side."""
    o = overlap(a, b)
    if o is None:
        return a, b
    if o[2] - o[0] <= o[3] - o[1]:
        mid = (o[0] + o[2]) // 2
        if a[0] + a[2] <= b[0] + b[2]:
            return [a[0], a[1], mid, a[3]], [max(b[0], mid), b[1], b[2], b[3]]
        return [max(a[0], mid), a[1], a[2], a[3]], [b[0], b[1], mid, b[3]]
    mid = (o[1] + o[3]) // 2
    if a[1] + a[3] <= b[1] + b[3]:
        return [a[0], a[1], a[2], mid], [b[0], max(b[1], mid), b[2], b[3]]
    return [a[0], max(a[1], mid), a[2], a[3]], [b[0], b[1], b[2], mid]


def parts():
    """Every picture of the panel and the machine, with the places (x, y,
    mirrored, location) the game draws it at."""
    out = []

    def at(point, dx=0, dy=0, offsets=INGREDIENT_OFFSET):
        return [(point[0] + o[0] + dx, point[1] + o[1] + dy, False, loc) for loc, o in offsets.items()]
    for name, src, pos, glow, glow_at, tag in INGREDIENTS:
        out.append(Part(name, "ITEMS", src, at(pos), "ingredient"))
        out.append(Part(name, "GLOW", glow, at(glow_at), "glow"))
        for image, cell in (SELECT_SIGN, CHARGE_SIGN):
            out.append(marker(name, image, cell, at(tag), SIGN_BOX))
        out.append(marker(name, "GUI", CLOCK_CELLS[0][1], at(tag, 5, 4),
                          tuple(round(v * CLOCK_SCALE) for v in CLOCK_BOX)))
    by_cell = {}
    for loc, items in TOOLS.items():
        for name, (image, src, pos, mirrored), (glow, glow_at), tag in items:
            for key, kind, place in (((name, image, src), "picture", pos), ((name, "GLOW", glow), "glow", glow_at)):
                if key not in by_cell:
                    by_cell[key] = Part(name, key[1], key[2], [], kind)
                    out.append(by_cell[key])
                by_cell[key].places.append((place[0], place[1], mirrored, loc))
            if "VITAMIN" in name:
                out.append(marker(name, VITAMIN_PLATE[0], VITAMIN_PLATE[1], [(tag[0] - 4, tag[1] + 6, False, loc)], PLATE_BOX))
                out.append(marker(name, "TIME_BAR", (0, 24, 0, 24), [(tag[0] + 8, tag[1] + 23, False, loc)], VITAMIN_CLOCK_BOX))
            else:
                out.append(marker(name, CHARGE_SIGN[0], CHARGE_SIGN[1], [(tag[0], tag[1], False, loc)], SIGN_BOX))
    for level, (body, pos, glow, glow_at, door, bar, bar_at) in MACHINE_LEVELS.items():
        owner = "MACHINE_%d" % level
        out.append(Part(owner, "UPGRADES", body, at(pos, offsets=MACHINE_OFFSET), "machine"))
        out.append(Part(owner, "MACHINE_GLOW", glow, at(glow_at, offsets=MACHINE_OFFSET), "glow"))
        out.append(Part(owner, "UPGRADES", door, at(DOOR_REST, offsets=MACHINE_OFFSET)
                        + at(DOOR_LOWERED, offsets=MACHINE_OFFSET), "door"))
    for image, cell in MACHINE_CLIP:
        out.append(Part("MACHINE_CLIP", image, cell, at(MACHINE_CLIP_AT, offsets=MACHINE_OFFSET), "door"))
    out.append(Part("MACHINE_DOOR_GLOW", "MACHINE_GLOW", DOOR_GLOW,
                    [(x, y - 4 + dy, m, loc) for x, y, m, loc in at(DOOR_REST, -4, offsets=MACHINE_OFFSET)
                     for dy in (0, DOOR_LOWERED[1] - DOOR_REST[1])], "glow"))
    return out


def marker(owner, image, cell, places, box):
    p = Part(owner, image, cell, places, "marker")
    p.box = list(box)
    return p


def solve():
    """The content box of every part, keyed by (image, source)."""
    ps = parts()
    for p in ps:
        if p.kind in ("ingredient", "glow") and p.owner in SHELF_GRID:
            region = SHELF_GRID[p.owner]
            place = p.places[0]
            p.box = list(overlap(p.on_screen(place, p.box), region) or (0, 0, 0, 0))
            p.box = list(p.in_cell(place, p.box))
    fixed = ("ingredient", "marker")
    for _ in range(4):
        for p in ps:
            if p.kind in fixed:
                continue
            for place in p.places:
                for rect in HUD_RECTS:
                    grown = (rect[0] - HUD_MARGIN, rect[1] - HUD_MARGIN, rect[2] + HUD_MARGIN, rect[3] + HUD_MARGIN)
                    cut = overlap(p.on_screen(place), grown)
                    if cut:
                        p.box = avoid(p.box, p.in_cell(place, cut))
        for i, p in enumerate(ps):
            for q in ps[i + 1:]:
                if p.owner == q.owner or (p.owner.startswith("MACHINE") and q.owner.startswith("MACHINE")):
                    continue
                settle(p, q)
        for i, p in enumerate(ps):      # cells of one atlas keep apart
            for q in ps[i + 1:]:
                if p.image != q.image or p.owner == q.owner or p.src == q.src:
                    continue
                a = [p.src[0] + p.box[0], p.src[2] + p.box[1], p.src[0] + p.box[2], p.src[2] + p.box[3]]
                b = [q.src[0] + q.box[0], q.src[2] + q.box[1], q.src[0] + q.box[2], q.src[2] + q.box[3]]
                cells = [(s[0], s[2], s[1], s[3]) for s in (p.src, q.src)]
                for own, other, part in ((a, cells[1], p), (b, cells[0], q)):
                    if overlap(own, other):     # the other cell is cut whole
                        box = avoid(own, other)
                        part.box = [box[0] - part.src[0], box[1] - part.src[2], box[2] - part.src[0], box[3] - part.src[2]]
    return {(p.image, p.src): (tuple(p.box), p.kind) for p in ps}


def rank(p):
    """Who keeps its ground when two parts meet: the higher rank."""
    return {"marker": 5, "ingredient": 4, "machine": 3, "door": 3, "picture": 2, "glow": 1}[p.kind]


def settle(p, q):
    """Two parts of different things that meet on the screen in a location
    give way: the lower rank yields the overlap, equals split it."""
    for pp in p.places:
        for qp in q.places:
            if pp[3] != qp[3]:
                continue
            a, b = p.on_screen(pp), q.on_screen(qp)
            if not overlap(a, b):
                continue
            if rank(p) == rank(q) and p.kind not in ("ingredient", "marker"):
                a, b = split(list(a), list(b))
                p.box = list(p.in_cell(pp, a))
                q.box = list(q.in_cell(qp, b))
            elif rank(p) < rank(q):
                p.box = avoid(p.box, p.in_cell(pp, overlap(a, b)))
            elif rank(q) < rank(p):
                q.box = avoid(q.box, q.in_cell(qp, overlap(a, b)))


BOXES = {}


def content_box(image, src):
    """The box (left, top, right, bottom in the cell) that a panel picture
    paints, or None for a picture of something else."""
    if not BOXES:
        BOXES.update(solve())
    found = BOXES.get((image, tuple(src)))
    return found and found[0]


def confine(image, regions):
    """Atlas regions (left, right, top, bottom, paint) with the panel's
    pictures painted into their content boxes only: an ingredient or a glow
    fills its box, a tool or jar keeps its shape and stands on the box's
    bottom, the machine's pieces are cut to it."""
    if not BOXES:
        BOXES.update(solve())
    cells = [src for img, src in BOXES if img == image]
    out = []
    for l, r, t, b, paint in regions:
        found = BOXES.get((image, (l, r, t, b)))
        if found and found[0] != (0, 0, r - l, b - t):
            box, kind = found
            paint = {"ingredient": filled, "glow": filled, "marker": filled, "picture": standing,
                     "machine": narrowed}.get(kind, cut)(paint, box)
        elif not found:
            # a picture of something else that shares the atlas keeps out of
            # the panel's cells, which the game cuts whole
            box = [0, 0, r - l, b - t]
            for cl, cr, ct, cb in cells:
                if overlap((l, t, r, b), (cl, ct, cr, cb)):
                    box = avoid(box, (cl - l, ct - t, cr - l, cb - t))
            if box != [0, 0, r - l, b - t]:
                paint = cut(paint, box)
        out.append((l, r, t, b, paint))
    return out


def filled(paint, box):
    def wrap(w, h, *a):
        out = new(w, h)
        bw, bh = box[2] - box[0], box[3] - box[1]
        if bw > 2 and bh > 2:
            out.alpha_composite(paint(bw, bh, *a).crop((0, 0, bw, bh)), (box[0], box[1]))
        return out
    return wrap


def standing(paint, box):
    from PIL import Image

    def wrap(w, h, *a):
        out = new(w, h)
        img = paint(w, h, *a)
        shape = img.getbbox()
        bw, bh = box[2] - box[0], box[3] - box[1]
        if shape and bw > 2 and bh > 2:
            img = img.crop(shape)
            s = min(1.0, bw / img.width, bh / img.height)
            img = img.resize((max(1, int(img.width * s)), max(1, int(img.height * s))), Image.LANCZOS)
            out.alpha_composite(img, (box[0] + (bw - img.width) // 2, box[3] - img.height))
        return out
    return wrap


def narrowed(paint, box):
    """The machine's body: painted as wide as its box, its top rows left
    clear by the painter itself."""
    def wrap(w, h, *a):
        out = new(w, h)
        out.alpha_composite(paint(box[2], h, *a).crop((box[0], box[1], box[2], box[3])), (box[0], box[1]))
        return out
    return wrap


def cut(paint, box):
    def wrap(w, h, *a):
        out = new(w, h)
        out.alpha_composite(paint(w, h, *a).crop(tuple(box)), (box[0], box[1]))
        return out
    return wrap


def panel_boxes(loc):
    """Where the panel's pictures paint in a location, every machine level
    included (left, top, right, bottom on the screen)."""
    if not BOXES:
        BOXES.update(solve())
    out = []
    for p in parts():
        box = BOXES[(p.image, p.src)][0]
        out += [p.on_screen(place, box) for place in p.places if place[3] == loc]
    return [b for b in out if b[0] < b[2] and b[1] < b[3]]


def keep_out(loc):
    """What the room keeps clear of in a location: the HUD with its margin
    and the panel."""
    m = HUD_MARGIN
    return [(l - m, t - m, r + m, b + m) for l, t, r, b in HUD_RECTS] + panel_boxes(loc)


def is_clear(loc, box):
    return not any(overlap(box, k) for k in keep_out(loc))


def room_pieces(image, regions):
    """Atlas regions of the room's pieces, each painted only where it keeps
    clear of the HUD and the panel wherever the room shows it."""
    placed = {}
    for loc, pieces in ROOM_PIECES.items():
        for img, (l, r, t, b), at in pieces:
            if img == image:
                placed.setdefault((l, r, t, b), []).append((loc, at))
    out = []
    for l, r, t, b, paint in regions:
        box = [0, 0, r - l, b - t]
        for loc, (x, y) in placed.get((l, r, t, b), []):
            for k in keep_out(loc):
                cut = overlap((x + box[0], y + box[1], x + box[2], y + box[3]), k)
                if cut:
                    box = avoid(box, (cut[0] - x, cut[1] - y, cut[2] - x, cut[3] - y))
        if box != [0, 0, r - l, b - t]:
            paint = standing(paint, box)
        out.append((l, r, t, b, paint))
    return out
