"""Shop props: the tool and carried-item cells of the instruments atlas, the
machine, pet tanks and music stands of the upgrades atlas, the decoration
pieces of the rooms and the window frames over the sea. Every painter returns
an RGBA picture of the asked size, like the ones in painters.py."""

import math

from PIL import Image, ImageDraw, ImageFilter

import painters as P
from common import PAL, rgba, shade, new, fit, font, rng

INK = rgba(PAL["ink"])
LOOK_FRAME = [(90, 150, 190), (200, 150, 100), (150, 150, 170)]


def column(l, r, t, b, n, paint):
    """n pictures stacked top to bottom in one atlas column: cell k spans
    t + k*(b-t)//n .. t + (k+1)*(b-t)//n. The game cuts the same cells."""
    out = []
    for k in range(n):
        top, bot = t + k * (b - t) // n, t + (k + 1) * (b - t) // n
        out.append((l, r, top, bot, lambda w, h, k=k: paint(w, h, k)))
    return out


def darken(img, f):
    """Same picture with its colours scaled by f (alpha kept): the far side of a turned object."""
    if f >= 0.999:
        return img
    r, g, b, a = img.split()
    r, g, b = (c.point(lambda v: int(v * f)) for c in (r, g, b))
    return Image.merge("RGBA", (r, g, b, a))


def turned(front, w, h, view):
    """One of five views of an object held on a tray or in a hand: 0 front,
    1 three-quarter, 2 side, 3 three-quarter from behind, 4 back. The object
    narrows as it turns and darkens as its back comes round (never mirrored,
    so that labels stay readable)."""
    sx = [1.0, 0.86, 0.7, 0.86, 1.0][view]
    img = front(w, h)
    nw = max(1, int(w * sx))
    img = img.resize((nw, h), Image.LANCZOS)
    out = new(w, h)
    out.alpha_composite(img, ((w - nw) // 2, 0))
    return darken(out, [1.0, 0.96, 0.9, 0.84, 0.8][view])


def inset(paint, m=1):
    """Keeps a margin round a cell so that neighbouring cells never touch."""
    def wrap(w, h, *a):
        out = new(w, h)
        if w > 2 * m and h > 2 * m:
            out.alpha_composite(paint(w - 2 * m, h - 2 * m, *a), (m, m))
        return out
    return wrap


# --- instruments: tools, markers and carried pictures -----------------------

def tray(w, h, view):
    """The machine's wooden tray seen from four directions (turned by 45 degrees)."""
    def paint(d, W, H, s):
        cx, cy = W / 2, H * 0.42
        a = view * math.pi / 4
        hw, hd = W * 0.44, W * 0.3
        pts = []
        for ux, uy in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
            x = ux * hw * math.cos(a) - uy * hd * math.sin(a)
            y = ux * hw * math.sin(a) + uy * hd * math.cos(a)
            pts.append((cx + x * 0.9, cy + y * 0.42))
        side = [(x, y + H * 0.16) for x, y in pts]
        for i in range(4):
            j = (i + 1) % 4
            quad = [pts[i], pts[j], side[j], side[i]]
            d.polygon(quad, fill=rgba(PAL["wood_dark"]), outline=INK, width=s * 2)
        d.polygon(pts, fill=rgba(PAL["wood"]), outline=INK, width=s * 2)
        inner = [(cx + (x - cx) * 0.8, cy + (y - cy) * 0.8) for x, y in pts]
        d.polygon(inner, fill=rgba(shade(PAL["wood"], 1.25)))
    return P._scaled(w, h, paint)


def stone_heap(w, h):
    """The stones on the shelf: a heap with one big stone at its right end,
    so that the heap fills its share of the shelf out to the rock."""
    img = P.ground("STONE", w, h, 1)
    d = ImageDraw.Draw(img)
    r = h * 0.3
    cx, cy = w - r - 1, h * 0.58
    d.ellipse([cx - r, cy - r * 0.8, cx + r, cy + r * 0.8], fill=rgba(shade(PAL["stone"], 1.1)), outline=INK, width=2)
    return img


def ground_piece(kind):
    return lambda w, h, k: turned(lambda ww, hh: P.ground(kind, ww, hh, 3), w, h, k)


def grass_piece(kind):
    return lambda w, h, k: turned(lambda ww, hh: P.grass(kind, ww, hh, 2), w, h, k)


def house_piece(kind):
    return lambda w, h, k: turned(lambda ww, hh: fit(P.house(kind, 44, 40), ww, hh), w, h, k)


def coral_piece(kind):
    return lambda w, h, k: turned(lambda ww, hh: P.coral(kind, ww, hh, 2), w, h, k)


def food_piece(n):
    return lambda w, h, k: turned(lambda ww, hh: fit(P.food(n, 40, 48), ww, hh), w, h, k)


def medicine_piece(n):
    """A bottle held in the hand, tipped a little differently in each of the eight directions."""
    return tipped(lambda: P.medicine(n, 40, 64))


def vitamin_piece(kind):
    return tipped(lambda: P.vitamin(kind, 40, 56))


def tipped(make):
    def paint(w, h, k):
        bottle = make()
        if k in (3, 4, 5):
            bottle = darken(bottle, 0.86)
        tilt = [62, 74, 90, 106, 118, 106, 90, 74][k]
        return fit(bottle.rotate(tilt, resample=Image.BICUBIC, expand=True), w, h)
    return paint


def lamp_icon(w, h, on):
    def paint(d, W, H, s):
        cx, cy, r = W / 2, H * 0.4, min(W, H) * 0.27
        if on:
            for k in range(8):
                a = k * math.pi / 4
                d.line([(cx + math.cos(a) * r * 1.25, cy + math.sin(a) * r * 1.25),
                        (cx + math.cos(a) * r * 1.7, cy + math.sin(a) * r * 1.7)], fill=rgba(PAL["orange"]), width=3 * s)
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=rgba(PAL["yellow"] if on else PAL["stone"]), outline=INK, width=2 * s)
        d.rectangle([cx - r * 0.5, cy + r * 0.8, cx + r * 0.5, cy + r * 1.45], fill=rgba(PAL["stone_dark"]), outline=INK, width=s * 2)
        d.line([(cx - r * 0.5, cy + r * 1.1), (cx + r * 0.5, cy + r * 1.1)], fill=INK, width=s)
        if on:
            d.ellipse([cx - r * 0.5, cy - r * 0.6, cx - r * 0.1, cy - r * 0.2], fill=(255, 255, 255, 220))
        else:
            d.line([(cx - r * 1.3, cy + r * 1.5), (cx + r * 1.3, cy - r * 1.3)], fill=rgba(PAL["red"]), width=4 * s)
    return P._scaled(w, h, paint)


def pump_icon(w, h, on):
    """The aquarium's air pump with rising bubbles (on) or crossed out (off)."""
    def paint(d, W, H, s):
        bw = min(W * 0.8, H * 0.7)
        x0, x1 = W / 2 - bw / 2, W / 2 + bw / 2
        d.rounded_rectangle([x0, H * 0.58, x1, H * 0.9], int(bw * 0.15), fill=rgba(PAL["stone"]), outline=INK, width=2 * s)
        d.ellipse([W / 2 - bw * 0.14, H * 0.66, W / 2 + bw * 0.14, H * 0.82], fill=rgba(PAL["green"] if on else PAL["stone_dark"]), outline=INK, width=s)
        d.line([(x1 - bw * 0.2, H * 0.58), (x1 - bw * 0.2, H * 0.45)], fill=INK, width=3 * s)
        if on:
            for k, (bx, by, br) in enumerate(((0.62, 0.36, 0.09), (0.46, 0.22, 0.12), (0.6, 0.08, 0.07))):
                x, y, rr = W * bx, H * by, bw * br
                d.ellipse([x - rr, y - rr, x + rr, y + rr], fill=(220, 245, 255, 200), outline=rgba(PAL["sea"]), width=2 * s)
        else:
            d.line([(W * 0.15, H * 0.5), (W * 0.85, H * 0.1)], fill=rgba(PAL["red"]), width=4 * s)
            d.line([(W * 0.15, H * 0.1), (W * 0.85, H * 0.5)], fill=rgba(PAL["red"]), width=4 * s)
    return P._scaled(w, h, paint)


def compressor_switch(look, style):
    """The air pump that hangs on an aquarium's rim: three builds per aquarium look."""
    frame = LOOK_FRAME[look]
    body = [shade(frame, 1.2), PAL["stone"], shade(frame, 0.8)][style]

    def paint(w, h):
        def draw(d, W, H, s):
            if style == 0:      # box pump with a rocker switch
                d.rounded_rectangle([W * 0.08, H * 0.3, W * 0.92, H * 0.95], int(W * 0.1), fill=rgba(body), outline=INK, width=2 * s)
                d.rounded_rectangle([W * 0.3, H * 0.12, W * 0.55, H * 0.36], int(W * 0.05), fill=rgba(PAL["red"]), outline=INK, width=2 * s)
            elif style == 1:    # round pump with a dial
                d.ellipse([W * 0.1, H * 0.25, W * 0.9, H * 0.95], fill=rgba(body), outline=INK, width=2 * s)
                d.ellipse([W * 0.32, H * 0.42, W * 0.68, H * 0.78], fill=rgba(PAL["white"]), outline=INK, width=2 * s)
                d.line([(W * 0.5, H * 0.6), (W * 0.6, H * 0.47)], fill=rgba(PAL["red"]), width=2 * s)
            else:               # tall pump with a lever
                d.rounded_rectangle([W * 0.2, H * 0.2, W * 0.8, H * 0.95], int(W * 0.15), fill=rgba(body), outline=INK, width=2 * s)
                d.line([(W * 0.5, H * 0.3), (W * 0.75, H * 0.05)], fill=INK, width=3 * s)
                d.ellipse([W * 0.68, H * 0.0, W * 0.84, H * 0.14], fill=rgba(PAL["red"]), outline=INK, width=s)
            d.ellipse([W * 0.62, H * 0.62, W * 0.78, H * 0.78], fill=rgba(PAL["green"]), outline=INK, width=s)
            d.line([(W * 0.15, H * 0.85), (W * 0.02, H * 0.98)], fill=rgba(PAL["stone_dark"]), width=3 * s)
        return P._scaled(w, h, draw)
    return inset(paint)


def mark_sign(w, h, kind):
    """Marker over a tool: a green tick (selected) or a small clock (charging)."""
    def paint(d, W, H, s):
        r = min(W, H) * 0.45
        cx, cy = W / 2, H / 2
        if kind == "select":
            d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=rgba(PAL["green"]), outline=INK, width=2 * s)
            d.line([(cx - r * 0.5, cy), (cx - r * 0.1, cy + r * 0.4), (cx + r * 0.55, cy - r * 0.45)], fill=rgba(PAL["white"]), width=5 * s, joint="curve")
        else:
            d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=rgba(PAL["white"]), outline=INK, width=2 * s)
            d.pieslice([cx - r * 0.8, cy - r * 0.8, cx + r * 0.8, cy + r * 0.8], -90, 30, fill=rgba(PAL["orange"]))
            d.line([(cx, cy), (cx, cy - r * 0.65)], fill=INK, width=2 * s)
            d.line([(cx, cy), (cx + r * 0.45, cy + r * 0.2)], fill=INK, width=2 * s)
    return P._scaled(w, h, paint)


def vitamin_backdrop(w, h):
    """Round plate behind a vitamin's charge clock; its centre sits under the clock."""
    def paint(d, W, H, s):
        cx, cy, r = W * 0.46, H * 0.56, min(W, H) * 0.42
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=rgba(PAL["panel"], 210), outline=rgba(PAL["sun"]), width=3 * s)
    return P._scaled(w, h, paint)


# The tray highlight's cell (left, top, right, bottom): it is drawn additively.
TRAY_HIGHLIGHT_BOX = (0, 452, 78, 500)


def tray_highlight(w, h):
    img = new(w, h)
    ImageDraw.Draw(img).ellipse([4, 6, w - 4, h - 6], fill=(255, 250, 190, 170))
    return img.filter(ImageFilter.GaussianBlur(4))


def instruments_regions():
    R = []
    sw = [((421, 480, 3, 51), 0, 0), ((419, 466, 99, 146), 0, 1), ((420, 474, 51, 99), 0, 2),
          ((420, 475, 147, 193), 1, 0), ((420, 479, 192, 238), 1, 1), ((420, 476, 238, 289), 1, 2),
          ((420, 481, 287, 334), 2, 0), ((420, 477, 333, 385), 2, 1), ((420, 479, 385, 432), 2, 2)]
    for rc, look, style in sw:
        R.append(rc + (compressor_switch(look, style),))
    # wish-bubble icons of the switch wishes
    R.append((190, 248, 369, 432, lambda w, h: lamp_icon(w, h, True)))
    R.append((249, 308, 369, 432, lambda w, h: lamp_icon(w, h, False)))
    R.append((308, 350, 369, 432, lambda w, h: pump_icon(w, h, True)))
    R.append((350, 410, 369, 432, lambda w, h: pump_icon(w, h, False)))
    # order card time bar: fill above, its frame below
    R.append((189, 265, 349, 359, lambda w, h: P.bar(w, h, PAL["green"])))
    R.append((189, 265, 359, 369, lambda w, h: P.bar(w, h, None, frame=True)))
    # markers and the vitamins standing on the shelf
    R.append((332, 384, 432, 484, vitamin_backdrop))
    R.append((379, 422, 180, 222, lambda w, h: mark_sign(w, h, "select")))
    R.append((379, 422, 264, 306, lambda w, h: mark_sign(w, h, "charge")))
    R.append((292, 332, 432, 487, lambda w, h: P.vitamin("cost", w, h)))
    R.append((244, 291, 433, 482, lambda w, h: P.vitamin("growth", w, h)))
    R.append((0, 78, 452, 500, tray_highlight))  # the cell of TRAY_HIGHLIGHT_BOX
    # carried pictures: one column per item, one cell per view
    R += column(299, 378, 180, 368, 4, inset(tray))
    for kind, (l, r, t, b) in (("STONE", (219, 247, 2, 107)), ("ROCK", (276, 303, 0, 106)), ("SAND", (248, 276, 2, 107))):
        R += column(l, r, t, b, 5, inset(ground_piece(kind)))
    for kind, (l, r, t, b) in (("GREEN_GRASS", (101, 136, 187, 437)), ("BLUE_GRASS", (144, 189, 183, 448)),
                               ("RED_GRASS", (68, 100, 212, 437))):
        R += column(l, r, t, b, 5, inset(grass_piece(kind)))
    for kind, (l, r, t, b) in (("CASTLE", (189, 228, 139, 349)), ("CHEST", (229, 264, 140, 345)),
                               ("SEA_SHELL", (263, 299, 144, 334))):
        R += column(l, r, t, b, 5, inset(house_piece(kind)))
    for kind, (l, r, t, b) in (("RED_CORAL", (345, 381, 7, 177)), ("BLUE_CORAL", (303, 345, 0, 179)),
                               ("YELLOW_CORAL", (381, 416, 7, 177))):
        R += column(l, r, t, b, 5, inset(coral_piece(kind)))
    for n, (l, r, t, b) in ((1, (124, 154, 3, 183)), (2, (154, 182, 4, 154)), (3, (47, 85, 2, 207)), (4, (182, 219, 3, 138))):
        R += column(l, r, t, b, 5, inset(food_piece(n)))
    R += column(33, 67, 228, 452, 8, inset(medicine_piece(2)))
    R += column(0, 33, 229, 452, 8, inset(medicine_piece(1)))
    return R


# --- upgrades: pet tanks, machine, music stands ----------------------------

PET_TANKS = [  # (shape, frame colour, extra)
    ("bowl", PAL["stone"], None), ("bowl", PAL["sand_dark"], "plant"), ("bowl", PAL["sun"], "castle"),
    ("tank", PAL["wood"], "plant"), ("tank", PAL["wood_dark"], "castle"), ("tank", PAL["sun"], "shell")]
# Where the front overlay of each tank lies inside its level picture.
PET_FRONT = [(24, 12), (24, 12), (24, 12), (23, 14), (23, 13), (25, 13)]


def pet_tank_back(level, w, h):
    shape, frame, extra = PET_TANKS[level - 1]

    def paint(d, W, H, s):
        water = (150, 215, 245, 210)
        if shape == "bowl":
            box = [W * 0.06, H * 0.1, W * 0.94, H * 0.9]
            d.ellipse(box, fill=water, outline=INK, width=3 * s)
            d.chord([W * 0.16, H * 0.62, W * 0.84, H * 0.94], 0, 180, fill=rgba(PAL["sand"]))
            d.rounded_rectangle([W * 0.22, H * 0.86, W * 0.78, H * 0.97], int(H * 0.04), fill=rgba(frame), outline=INK, width=2 * s)
        else:
            d.rounded_rectangle([W * 0.06, H * 0.12, W * 0.94, H * 0.88], int(W * 0.06), fill=water, outline=INK, width=3 * s)
            d.rectangle([W * 0.09, H * 0.72, W * 0.91, H * 0.85], fill=rgba(PAL["sand"]))
            d.rounded_rectangle([W * 0.03, H * 0.84, W * 0.97, H * 0.97], int(H * 0.03), fill=rgba(frame), outline=INK, width=2 * s)
            d.rounded_rectangle([W * 0.03, H * 0.06, W * 0.97, H * 0.15], int(H * 0.03), fill=rgba(frame), outline=INK, width=2 * s)
        if extra == "plant":
            for k in range(3):
                x = W * (0.22 + 0.06 * k)
                d.line([(x, H * 0.78), (x + W * 0.04 * math.sin(k), H * 0.5), (x - W * 0.02, H * 0.36)], fill=rgba(PAL["leaf_dark"]), width=4 * s)
        elif extra == "castle":
            d.rectangle([W * 0.66, H * 0.58, W * 0.8, H * 0.78], fill=rgba((230, 200, 150)), outline=INK, width=s * 2)
            d.polygon([(W * 0.64, H * 0.58), (W * 0.73, H * 0.46), (W * 0.82, H * 0.58)], fill=rgba(PAL["coral"]), outline=INK, width=s * 2)
        elif extra == "shell":
            d.pieslice([W * 0.62, H * 0.62, W * 0.82, H * 0.86], 180, 360, fill=rgba((250, 200, 180)), outline=INK, width=s * 2)
            d.line([(W * 0.25, H * 0.78), (W * 0.27, H * 0.4)], fill=rgba(PAL["leaf_dark"]), width=4 * s)
    return P._scaled(w, h, paint)


def pet_tank_front(level, w, h):
    """Glass in front of the pet: the water line and the shine, half see-through."""
    shape = PET_TANKS[level - 1][0]

    def paint(d, W, H, s):
        y = H * (0.3 if shape == "bowl" else 0.28)
        d.arc([W * 0.2, y - H * 0.03, W * 0.8, y + H * 0.05], 0, 180, fill=(255, 255, 255, 150), width=3 * s)
        d.arc([W * 0.14, H * 0.18, W * 0.5, H * 0.7], 190, 250, fill=(255, 255, 255, 170), width=5 * s)
        d.line([(W * 0.72, H * 0.22), (W * 0.76, H * 0.34)], fill=(255, 255, 255, 140), width=4 * s)
    return P._scaled(w, h, paint)


def pet_tank(level):
    def paint(w, h):
        img = pet_tank_back(level, w, h)
        img.alpha_composite(pet_tank_front(level, w, h))
        return img
    return inset(paint)


def pet_front(level):
    def paint(w, h):
        ox, oy = PET_FRONT[level - 1]
        return pet_tank_front(level, 130, 131).crop((ox, oy, ox + w, oy + h))
    return paint


MACHINE = [  # body colour, trim, size, progress-bar slot, shutter x in the body
    (PAL["sea"], PAL["stone"], (41, 63), 29),
    (PAL["violet"], PAL["sun"], (38, 62), 26),
    (PAL["coral"], PAL["sun"], (40, 83), 29)]


# The top rows of each level's body picture left clear: the body is drawn
# from y 12 (levels 1 and 2) or -6 (level 3) at the highest, the time frame
# covers y 0 to 25 and nothing of the room comes within 8 pixels of it.
MACHINE_CLEAR_ROWS = (22, 21, 40)


def machine_body(level):
    """The interior machine: hopper on top, a display for the queue count, the
    progress slot and the opening the shutter comes down from."""
    col, trim, (bx, by), sx = MACHINE[level - 1]

    def paint(w, h):
        img = new(w, h)
        d = ImageDraw.Draw(img)
        # The machine stands at the top of the room, under the HUD's time
        # frame; its hopper starts below the frame at every location.
        hopper = MACHINE_CLEAR_ROWS[level - 1]
        top = hopper + 12
        d.polygon([(w * 0.2, hopper), (w * 0.8, hopper), (w * 0.64, top), (w * 0.36, top)], fill=rgba(trim), outline=INK)
        d.rounded_rectangle([2, top, w - 3, h - 3], 14, fill=rgba(shade(col, 0.7)), outline=INK, width=2)
        d.rounded_rectangle([5, top + 2, w - 6, h - 8], 12, fill=rgba(col))
        d.rounded_rectangle([9, top + 5, w - 10, top + 14], 4, fill=(255, 255, 255, 50))
        d.rounded_rectangle([44, top + 6, 84, top + 24], 5, fill=rgba(PAL["deep"]), outline=INK, width=2)
        d.rounded_rectangle([bx - 3, by - 3, bx + 53, by + 11], 4, fill=rgba(PAL["ink"]), outline=rgba(trim), width=2)
        for k, dx in enumerate((14, w - 18)):
            d.ellipse([dx - 7, by - 30, dx + 7, by - 16], fill=rgba(PAL["white"]), outline=INK, width=2)
            d.line([(dx, by - 23), (dx + 4 - 8 * k, by - 28)], fill=rgba(PAL["red"]), width=2)
        d.rectangle([sx - 2, h - 14, sx + 80, h - 3], fill=rgba(PAL["ink"]))
        for k in range(level):
            d.ellipse([8 + k * 10, h - 26, 15 + k * 10, h - 19], fill=rgba(PAL["sun"]), outline=INK)
        return img
    return paint


def machine_door(level):
    """Roller shutter that closes the output while the machine works."""
    col = [PAL["stone"], (190, 175, 220), (240, 190, 150)][level - 1]

    def paint(w, h):
        img = new(w, h)
        d = ImageDraw.Draw(img)
        d.rectangle([1, 0, w - 2, h - 2], fill=rgba(col), outline=INK, width=2)
        for y in range(8, h - 8, 8):
            d.line([(3, y), (w - 4, y)], fill=rgba(shade(col, 0.75)), width=2)
        d.rounded_rectangle([w / 2 - 12, h - 12, w / 2 + 12, h - 6], 3, fill=rgba(PAL["stone_dark"]), outline=INK)
        return img
    return paint


def progress_fill(level):
    return lambda w, h: P.bar(w, h, [PAL["green"], PAL["yellow"], PAL["orange"]][level - 1])


def music_stand(level):
    """Level 1 a radio on a stool, level 2 a record player, level 3 a jukebox."""
    def paint(w, h):
        def draw(d, W, H, s):
            if level == 1:
                d.rectangle([W * 0.2, H * 0.55, W * 0.26, H * 0.98], fill=rgba(PAL["wood_dark"]), outline=INK, width=s)
                d.rectangle([W * 0.74, H * 0.55, W * 0.8, H * 0.98], fill=rgba(PAL["wood_dark"]), outline=INK, width=s)
                d.rounded_rectangle([W * 0.1, H * 0.5, W * 0.9, H * 0.6], int(W * 0.03), fill=rgba(PAL["wood"]), outline=INK, width=2 * s)
                d.rounded_rectangle([W * 0.14, H * 0.18, W * 0.86, H * 0.5], int(W * 0.08), fill=rgba(PAL["coral"]), outline=INK, width=2 * s)
                d.ellipse([W * 0.2, H * 0.23, W * 0.46, H * 0.46], fill=rgba(PAL["sand"]), outline=INK, width=2 * s)
                for k in range(3):
                    d.line([(W * 0.23, H * (0.28 + 0.06 * k)), (W * 0.43, H * (0.28 + 0.06 * k))], fill=INK, width=s)
                d.rounded_rectangle([W * 0.54, H * 0.26, W * 0.8, H * 0.34], int(W * 0.02), fill=rgba(PAL["sun"]), outline=INK, width=s)
                d.ellipse([W * 0.58, H * 0.37, W * 0.66, H * 0.45], fill=rgba(PAL["white"]), outline=INK, width=s)
                d.ellipse([W * 0.7, H * 0.37, W * 0.78, H * 0.45], fill=rgba(PAL["white"]), outline=INK, width=s)
                d.line([(W * 0.72, H * 0.18), (W * 0.86, H * 0.02)], fill=INK, width=2 * s)
            elif level == 2:
                d.rounded_rectangle([W * 0.06, H * 0.45, W * 0.94, H * 0.97], int(W * 0.06), fill=rgba(PAL["wood"]), outline=INK, width=2 * s)
                d.rectangle([W * 0.14, H * 0.58, W * 0.86, H * 0.9], fill=rgba(PAL["wood_dark"]), outline=INK, width=s)
                for k in range(5):
                    x = W * (0.2 + 0.15 * k)
                    d.line([(x, H * 0.62), (x, H * 0.86)], fill=rgba(PAL["wood"]), width=2 * s)
                d.ellipse([W * 0.12, H * 0.3, W * 0.72, H * 0.52], fill=rgba(PAL["ink"]), outline=INK, width=s)
                d.ellipse([W * 0.36, H * 0.37, W * 0.48, H * 0.45], fill=rgba(PAL["red"]))
                d.line([(W * 0.84, H * 0.36), (W * 0.6, H * 0.43)], fill=rgba(PAL["stone"]), width=3 * s)
                d.polygon([(W * 0.7, H * 0.32), (W * 0.97, H * 0.02), (W * 0.99, H * 0.3)], fill=rgba(PAL["sun"]), outline=INK, width=2 * s)
            else:
                d.rounded_rectangle([W * 0.08, H * 0.02, W * 0.92, H * 0.98], int(W * 0.36), fill=rgba(PAL["coral"]), outline=INK, width=2 * s)
                d.rounded_rectangle([W * 0.16, H * 0.08, W * 0.84, H * 0.6], int(W * 0.3), fill=rgba(PAL["sun"]), outline=INK, width=2 * s)
                d.rounded_rectangle([W * 0.24, H * 0.16, W * 0.76, H * 0.4], int(W * 0.2), fill=rgba(PAL["deep"]), outline=INK, width=s)
                for k in range(4):
                    x = W * (0.32 + 0.12 * k)
                    d.ellipse([x - W * 0.05, H * 0.22, x + W * 0.05, H * 0.36], fill=rgba([PAL["pink"], PAL["green"], PAL["blue"], PAL["white"]][k]))
                d.rectangle([W * 0.2, H * 0.64, W * 0.8, H * 0.9], fill=rgba(PAL["wood_dark"]), outline=INK, width=s)
                for k in range(6):
                    y = H * (0.67 + 0.04 * k)
                    d.line([(W * 0.24, y), (W * 0.76, y)], fill=rgba(PAL["wood"]), width=2 * s)
        return P._scaled(w, h, draw)
    return inset(paint)


def hint_arrow(w, h):
    """Points left: the hint window turns the picture about the middle of its
    left edge, the point that touches what the tip names."""
    return P._scaled(w, h, lambda dd, W, H, s: dd.polygon(
        [(0, H * 0.5), (W * 0.4, 0), (W * 0.4, H * 0.3), (W, H * 0.3), (W, H * 0.7), (W * 0.4, H * 0.7), (W * 0.4, H)],
        fill=rgba(PAL["sun"]), outline=INK, width=3 * s))


def upgrades_regions():
    R = []
    pics = [(0, 130, 0, 131), (131, 261, 0, 131), (262, 392, 0, 131), (0, 131, 130, 262), (131, 261, 131, 262), (261, 391, 131, 262)]
    for lvl, rc in enumerate(pics, 1):
        R.append(rc + (pet_tank(lvl),))
    R.append((341, 426, 394, 434, pet_front(1)))
    R.append((426, 511, 386, 426, pet_front(5)))
    R.append((112, 197, 418, 458, pet_front(6)))
    R.append((392, 511, 141, 263, machine_body(1)))
    R.append((385, 513, 263, 384, machine_body(2)))
    R.append((393, 513, 0, 142, machine_body(3)))
    R.append((112, 190, 261, 339, machine_door(1)))
    R.append((190, 268, 261, 338, machine_door(2)))
    R.append((112, 190, 338, 416, machine_door(3)))
    R.append((190, 240, 338, 346, progress_fill(1)))
    R.append((190, 240, 346, 354, progress_fill(2)))
    R.append((190, 240, 355, 363, progress_fill(3)))
    R.append((0, 112, 263, 377, music_stand(1)))
    R.append((0, 112, 375, 478, music_stand(2)))
    R.append((268, 386, 262, 391, music_stand(3)))
    R.append((390, 467, 433, 490, hint_arrow))
    return R


# --- decoration pieces of the rooms ----------------------------------------

def pot(d, W, H, s, top, col=None):
    col = col or PAL["coral_dark"]
    d.polygon([(W * 0.22, top), (W * 0.78, top), (W * 0.7, H * 0.99), (W * 0.3, H * 0.99)], fill=rgba(col), outline=INK, width=2 * s)
    d.rectangle([W * 0.18, top - H * 0.04, W * 0.82, top + H * 0.03], fill=rgba(shade(col, 1.2)), outline=INK, width=2 * s)


def potted_plant(kind):
    """kind 'palm' (long fronds) or 'bush' (round leaves)."""
    def paint(w, h):
        def draw(d, W, H, s):
            top = H * (0.8 if kind == "palm" else 0.74)
            if kind == "palm":
                d.line([(W * 0.5, top), (W * 0.48, H * 0.25)], fill=rgba(PAL["wood"]), width=int(W * 0.07))
                for k in range(7):
                    a = math.pi * (0.1 + 0.8 * k / 6)
                    ex, ey = W * 0.48 + math.cos(a) * W * 0.46, H * 0.25 - math.sin(a) * H * 0.12 + H * 0.12
                    mx, my = W * 0.48 + math.cos(a) * W * 0.25, H * 0.25 - math.sin(a) * H * 0.2
                    d.line([(W * 0.48, H * 0.25), (mx, my), (ex, ey)], fill=rgba(PAL["leaf_dark"]), width=int(W * 0.09) + 2 * s, joint="curve")
                    d.line([(W * 0.48, H * 0.25), (mx, my), (ex, ey)], fill=rgba(PAL["leaf"]), width=int(W * 0.06), joint="curve")
            else:
                r = rng("bush", w, h)
                for k in range(14):
                    x, y = r.uniform(W * 0.2, W * 0.8), r.uniform(H * 0.12, top - H * 0.06)
                    rr = W * r.uniform(0.12, 0.2)
                    d.ellipse([x - rr, y - rr * 0.8, x + rr, y + rr * 0.8], fill=rgba(shade(PAL["leaf"], r.uniform(0.8, 1.1))), outline=rgba(PAL["leaf_dark"]), width=2 * s)
            pot(d, W, H, s, top)
        return P._scaled(w, h, draw, 2)
    return inset(paint)


def hanging_plant(w, h):
    def draw(d, W, H, s):
        d.line([(W * 0.5, 0), (W * 0.5, H * 0.45)], fill=rgba(PAL["wood_dark"]), width=2 * s)
        for k in (-1, 1):
            d.line([(W * 0.5, H * 0.45), (W * (0.5 + 0.2 * k), H * 0.55)], fill=rgba(PAL["wood_dark"]), width=2 * s)
        d.chord([W * 0.26, H * 0.45, W * 0.74, H * 0.7], 0, 180, fill=rgba(PAL["wood"]), outline=INK, width=2 * s)
        for k in range(5):
            x0 = W * (0.3 + 0.1 * k)
            pts = [(x0 + math.sin(j * 0.8 + k) * W * 0.06, H * (0.56 + 0.07 * j)) for j in range(6 - abs(k - 2))]
            d.line(pts, fill=rgba(PAL["leaf_dark"]), width=5 * s)
            for x, y in pts[1:]:
                d.ellipse([x - 6 * s, y - 4 * s, x + 6 * s, y + 4 * s], fill=rgba(PAL["leaf"]), outline=rgba(PAL["leaf_dark"]), width=s)
    return P._scaled(w, h, draw, 2)


def hanging_lamp(w, h):
    def draw(d, W, H, s):
        d.line([(W * 0.5, 0), (W * 0.5, H * 0.4)], fill=INK, width=2 * s)
        d.pieslice([W * 0.12, H * 0.38, W * 0.88, H * 1.1], 180, 360, fill=rgba(PAL["sea"]), outline=INK, width=2 * s)
        d.ellipse([W * 0.4, H * 0.66, W * 0.6, H * 0.84], fill=rgba(PAL["yellow"]), outline=INK, width=s)
    img = P._scaled(w, h, draw, 2)
    glow = new(w, h)
    ImageDraw.Draw(glow).ellipse([w * 0.2, h * 0.55, w * 0.8, h * 0.98], fill=(255, 240, 170, 90))
    glow = glow.filter(ImageFilter.GaussianBlur(6))
    glow.alpha_composite(img)
    return glow


def floor_lamp(w, h):
    def draw(d, W, H, s):
        d.line([(W * 0.5, H * 0.3), (W * 0.5, H * 0.95)], fill=rgba(PAL["stone_dark"]), width=4 * s)
        d.ellipse([W * 0.25, H * 0.92, W * 0.75, H * 0.99], fill=rgba(PAL["stone_dark"]), outline=INK, width=s)
        d.polygon([(W * 0.3, H * 0.05), (W * 0.7, H * 0.05), (W * 0.9, H * 0.32), (W * 0.1, H * 0.32)], fill=rgba(PAL["sun"]), outline=INK, width=2 * s)
    return P._scaled(w, h, draw, 2)


def framed(kind):
    """A framed picture of a fish on the wall."""
    def paint(w, h):
        img = new(w, h)
        d = ImageDraw.Draw(img)
        d.rectangle([1, 1, w - 2, h - 2], fill=rgba(PAL["wood"]), outline=INK, width=2)
        d.rectangle([7, 7, w - 8, h - 8], fill=rgba(PAL["water"]), outline=INK)
        img.alpha_composite(fit(P.fish(kind, 120, 120, -1, 0.2), w - 18, h - 18), (9, 9))
        return img
    return paint


def shell_shelf(w, h):
    def draw(d, W, H, s):
        d.rectangle([W * 0.03, H * 0.2, W * 0.97, H * 0.97], fill=rgba(PAL["wood"]), outline=INK, width=2 * s)
        d.rectangle([W * 0.08, H * 0.3, W * 0.48, H * 0.9], fill=rgba(PAL["wood_dark"]), outline=INK, width=s)
        d.rectangle([W * 0.52, H * 0.3, W * 0.92, H * 0.9], fill=rgba(PAL["wood_dark"]), outline=INK, width=s)
        d.rectangle([W * 0.0, H * 0.14, W * 1.0, H * 0.22], fill=rgba(shade(PAL["wood"], 1.2)), outline=INK, width=2 * s)
        d.pieslice([W * 0.1, H * -0.05, W * 0.3, H * 0.3], 180, 360, fill=rgba(PAL["pink"]), outline=INK, width=s * 2)
        d.rounded_rectangle([W * 0.4, H * 0.0, W * 0.52, H * 0.16], int(W * 0.02), fill=(180, 230, 250, 220), outline=INK, width=s * 2)
        d.polygon([(W * 0.72, H * 0.0), (W * 0.76, H * 0.1), (W * 0.86, H * 0.1), (W * 0.78, H * 0.15), (W * 0.66, H * 0.15), (W * 0.58, H * 0.1), (W * 0.68, H * 0.1)],
                  fill=rgba(PAL["orange"]), outline=INK, width=s)
    return P._scaled(w, h, draw, 2)


def crate(w, h):
    def draw(d, W, H, s):
        d.rectangle([W * 0.05, H * 0.35, W * 0.95, H * 0.97], fill=rgba(PAL["wood"]), outline=INK, width=2 * s)
        for k in range(1, 3):
            d.line([(W * 0.05, H * (0.35 + 0.2 * k)), (W * 0.95, H * (0.35 + 0.2 * k))], fill=rgba(PAL["wood_dark"]), width=2 * s)
        for k, col in enumerate((PAL["pink"], (250, 220, 200), PAL["sun"])):
            x = W * (0.22 + 0.28 * k)
            d.pieslice([x - W * 0.14, H * 0.05, x + W * 0.14, H * 0.6], 180, 360, fill=rgba(col), outline=INK, width=2 * s)
    return P._scaled(w, h, draw, 2)


def bench(w, h):
    def draw(d, W, H, s):
        for x in (0.12, 0.82):
            d.rectangle([W * x, H * 0.5, W * (x + 0.06), H * 0.97], fill=rgba(PAL["wood_dark"]), outline=INK, width=s)
        d.rounded_rectangle([W * 0.03, H * 0.42, W * 0.97, H * 0.56], int(H * 0.04), fill=rgba(PAL["wood"]), outline=INK, width=2 * s)
        d.rounded_rectangle([W * 0.06, H * 0.05, W * 0.94, H * 0.36], int(H * 0.06), fill=rgba(PAL["coral"]), outline=INK, width=2 * s)
        d.ellipse([W * 0.35, H * 0.1, W * 0.65, H * 0.31], fill=rgba(PAL["sun"]), outline=INK, width=s)
    return P._scaled(w, h, draw, 2)


def planter(w, h):
    def draw(d, W, H, s):
        r = rng("planter", w, h)
        for k in range(9):
            x = W * (0.08 + 0.105 * k)
            top = H * r.uniform(0.0, 0.25)
            d.line([(x, H * 0.6), (x + W * 0.03, top)], fill=rgba(PAL["leaf_dark"]), width=5 * s)
            d.ellipse([x - W * 0.03, top - H * 0.05, x + W * 0.07, top + H * 0.12], fill=rgba([PAL["pink"], PAL["sun"], PAL["coral"]][k % 3]), outline=INK, width=s)
        d.rounded_rectangle([W * 0.02, H * 0.55, W * 0.98, H * 0.97], int(H * 0.08), fill=rgba(PAL["wood"]), outline=INK, width=2 * s)
        d.line([(W * 0.04, H * 0.7), (W * 0.96, H * 0.7)], fill=rgba(PAL["wood_dark"]), width=2 * s)
    return P._scaled(w, h, draw, 2)


def barrel_plant(w, h):
    def draw(d, W, H, s):
        r = rng("barrel", w, h)
        for k in range(10):
            x, y = r.uniform(W * 0.2, W * 0.8), r.uniform(H * 0.08, H * 0.42)
            rr = W * r.uniform(0.1, 0.18)
            d.ellipse([x - rr, y - rr, x + rr, y + rr], fill=rgba(shade(PAL["leaf"], r.uniform(0.8, 1.1))), outline=rgba(PAL["leaf_dark"]), width=2 * s)
        d.rounded_rectangle([W * 0.1, H * 0.4, W * 0.9, H * 0.98], int(W * 0.12), fill=rgba(PAL["wood"]), outline=INK, width=2 * s)
        for y in (0.52, 0.85):
            d.line([(W * 0.1, H * y), (W * 0.9, H * y)], fill=rgba(PAL["stone_dark"]), width=4 * s)
    return P._scaled(w, h, draw, 2)


def net_hanging(w, h):
    def draw(d, W, H, s):
        d.line([(W * 0.05, H * 0.02), (W * 0.95, H * 0.02)], fill=rgba(PAL["wood_dark"]), width=6 * s)
        pts = [(W * (0.05 + 0.9 * k / 8), H * 0.02) for k in range(9)]
        for k in range(9):
            x0 = pts[k][0]
            d.line([(x0, H * 0.02), (W * 0.5 + (x0 - W * 0.5) * 0.6, H * 0.9)], fill=rgba(PAL["sand_dark"]), width=2 * s)
        for j in range(1, 6):
            y = H * (0.02 + 0.17 * j)
            sp = 1 - 0.08 * j
            d.arc([W * 0.5 - W * 0.45 * sp, y - H * 0.06, W * 0.5 + W * 0.45 * sp, y + H * 0.06], 0, 180, fill=rgba(PAL["sand_dark"]), width=2 * s)
        d.polygon([(W * 0.3, H * 0.3), (W * 0.34, H * 0.4), (W * 0.45, H * 0.41), (W * 0.36, H * 0.47), (W * 0.4, H * 0.58), (W * 0.3, H * 0.51),
                   (W * 0.2, H * 0.58), (W * 0.24, H * 0.47), (W * 0.15, H * 0.41), (W * 0.26, H * 0.4)], fill=rgba(PAL["orange"]), outline=INK, width=2 * s)
        for x, y in ((0.68, 0.45), (0.55, 0.75)):
            d.ellipse([W * x - W * 0.07, H * y - W * 0.07, W * x + W * 0.07, H * y + W * 0.07], fill=rgba(PAL["red"]), outline=INK, width=2 * s)
            d.chord([W * x - W * 0.07, H * y - W * 0.07, W * x + W * 0.07, H * y + W * 0.07], 0, 180, fill=rgba(PAL["white"]), outline=INK, width=2 * s)
    return P._scaled(w, h, draw, 2)


def oar_buoy(w, h):
    def draw(d, W, H, s):
        d.line([(W * 0.5, H * 0.02), (W * 0.5, H * 0.75)], fill=rgba(PAL["wood"]), width=int(W * 0.1))
        d.ellipse([W * 0.3, H * 0.62, W * 0.7, H * 0.98], fill=rgba(PAL["wood"]), outline=INK, width=2 * s)
        r = W * 0.45
        cx, cy = W * 0.5, H * 0.3
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=rgba(PAL["red"]), outline=INK, width=2 * s)
        for k in range(4):
            d.pieslice([cx - r, cy - r, cx + r, cy + r], k * 90 + 20, k * 90 + 50, fill=rgba(PAL["white"]))
        d.ellipse([cx - r * 0.5, cy - r * 0.5, cx + r * 0.5, cy + r * 0.5], fill=(0, 0, 0, 0), outline=INK, width=2 * s)
    img = P._scaled(w, h, draw, 2)
    # punch the hole of the ring
    hole = new(w, h)
    r = w * 0.45 * 0.5 - 1
    ImageDraw.Draw(hole).ellipse([w * 0.5 - r, h * 0.3 - r, w * 0.5 + r, h * 0.3 + r], fill=(255, 255, 255, 255))
    a = img.split()[3].point(lambda v: v)
    a.paste(0, mask=hole.split()[3])
    img.putalpha(a)
    return img


def banner(text, color):
    def paint(w, h):
        def draw(d, W, H, s):
            d.line([(0, H * 0.05), (W, H * 0.05)], fill=INK, width=2 * s)
            d.polygon([(W * 0.04, H * 0.05), (W * 0.96, H * 0.05), (W * 0.96, H * 0.8), (W * 0.5, H * 0.96), (W * 0.04, H * 0.8)],
                      fill=rgba(color), outline=INK, width=2 * s)
        img = P._scaled(w, h, draw, 2)
        d = ImageDraw.Draw(img)
        f = font(max(10, int(h * 0.3)), True)
        d.text((w / 2, h * 0.42), text, font=f, fill=rgba(PAL["white"]), anchor="mm", stroke_width=2, stroke_fill=INK)
        return img
    return paint


def pennants(w, h):
    def draw(d, W, H, s):
        pts = [(W * k / 20, H * 0.1 + math.sin(k / 20 * math.pi) * H * 0.3) for k in range(21)]
        d.line(pts, fill=INK, width=2 * s)
        cols = [PAL["coral"], PAL["sun"], PAL["sea"], PAL["leaf"]]
        for k in range(1, 20, 2):
            (x0, y0), (x1, y1) = pts[k - 1], pts[k + 1]
            d.polygon([(x0, y0), (x1, y1), ((x0 + x1) / 2, max(y0, y1) + H * 0.5)], fill=rgba(cols[k // 2 % 4]), outline=INK, width=s)
    return P._scaled(w, h, draw, 2)


def poster(kind, title):
    def paint(w, h):
        img = new(w, h)
        d = ImageDraw.Draw(img)
        d.rectangle([1, 1, w - 2, h - 2], fill=(250, 246, 230, 255), outline=INK, width=2)
        d.rectangle([6, 6, w - 7, h * 0.72], fill=rgba(PAL["sea"]))
        img.alpha_composite(fit(P.fish(kind, 100, 130, -1, 0.3), w - 14, int(h * 0.72) - 8), (7, 8))
        f = font(max(9, int(w * 0.16)), True)
        d.text((w / 2, h * 0.85), title, font=f, fill=rgba(PAL["deep"]), anchor="mm")
        return img
    return paint


def counter(w, h):
    """Long display counter along the wall with small tanks on it."""
    img = new(w, h)
    d = ImageDraw.Draw(img)
    d.rectangle([0, h * 0.45, w - 1, h - 1], fill=rgba(PAL["wood"]), outline=INK, width=2)
    d.rectangle([0, h * 0.4, w - 1, h * 0.5], fill=rgba(shade(PAL["wood"], 1.2)), outline=INK, width=2)
    for x in range(40, w - 40, 80):
        d.line([(x, h * 0.55), (x, h - 6)], fill=rgba(PAL["wood_dark"]), width=2)
    for k, x in enumerate(range(20, w - 60, 110)):
        d.rounded_rectangle([x, h * 0.05, x + 60, h * 0.4], 6, fill=(150, 215, 245, 220), outline=INK, width=2)
        img.alpha_composite(P.fish(["FISH_1", "FISH_2", "GOLD_FISH_2", "SHOAL_FISHES", "CRAMP_FISH"][k % 5], 40, 26, 1 if k % 2 else -1, 0.3),
                            (x + 10, int(h * 0.1)))
    return img


def pillar_plant(w, h):
    def draw(d, W, H, s):
        d.rectangle([W * 0.25, H * 0.35, W * 0.75, H * 0.97], fill=rgba((235, 230, 220)), outline=INK, width=2 * s)
        for k in range(1, 4):
            x = W * (0.25 + 0.125 * k)
            d.line([(x, H * 0.38), (x, H * 0.94)], fill=rgba((200, 195, 185)), width=2 * s)
        d.rectangle([W * 0.18, H * 0.3, W * 0.82, H * 0.36], fill=rgba((245, 240, 230)), outline=INK, width=2 * s)
        d.rectangle([W * 0.18, H * 0.94, W * 0.82, H * 0.99], fill=rgba((245, 240, 230)), outline=INK, width=2 * s)
        for k in range(6):
            a = math.pi * (0.1 + 0.8 * k / 5)
            d.line([(W * 0.5, H * 0.3), (W * 0.5 + math.cos(a) * W * 0.48, H * 0.3 - math.sin(a) * H * 0.28)], fill=rgba(PAL["leaf"]), width=int(W * 0.08))
    return P._scaled(w, h, draw, 2)


def clock(w, h):
    def draw(d, W, H, s):
        r = min(W, H) * 0.45
        cx, cy = W / 2, H / 2
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=rgba(PAL["white"]), outline=rgba(PAL["wood"]), width=6 * s)
        d.line([(cx, cy), (cx, cy - r * 0.6)], fill=INK, width=3 * s)
        d.line([(cx, cy), (cx + r * 0.4, cy + r * 0.2)], fill=INK, width=3 * s)
    return P._scaled(w, h, draw, 2)


def piece_regions(sheet):
    """The decoration pieces of LOCATION_UPDATES_1 (sheet 1) and _2 (sheet 2),
    each at the rectangle the room cuts out."""
    if sheet == 1:
        return [
            (745, 886, 29, 100, inset(shell_shelf)),          # location 1, level 2
            (563, 647, 18, 100, potted_plant("bush")),         # location 1, level 4
            (648, 740, 25, 100, inset(crate)),                 # location 1, level 3
            (887, 1009, 15, 99, inset(bench)),                 # location 2, level 3
            (0, 562, 0, 100, counter),                         # location 3, level 4
        ]
    return [
        (0, 148, 0, 315, potted_plant("palm")),               # location 1
        (150, 318, 0, 255, inset(net_hanging)),
        (0, 130, 592, 854, potted_plant("bush")),
        (213, 288, 434, 608, inset(oar_buoy)),
        (320, 486, 0, 250, inset(hanging_plant)),             # location 2
        (149, 344, 257, 344, inset(planter)),
        (418, 510, 556, 701, inset(barrel_plant)),
        (282, 347, 655, 742, inset(framed("GOLD_FISH_2"))),
        (348, 512, 703, 955, potted_plant("palm")),
        (291, 418, 556, 653, inset(hanging_lamp)),
        (291, 497, 446, 554, inset(banner("Aquarium", PAL["sea"]))),   # location 3
        (347, 508, 252, 445, potted_plant("bush")),
        (131, 234, 609, 740, inset(framed("ANGLER_FISH"))),
        (113, 345, 344, 432, inset(pennants)),
        (111, 194, 433, 583, inset(poster("JELLY_FISH_2", "Jelly!"))),
        (210, 308, 742, 836, inset(hanging_lamp)),
        (0, 111, 316, 591, inset(pillar_plant)),
        (130, 209, 742, 859, inset(floor_lamp)),
    ]


# --- window frames over the sea waves --------------------------------------

def window_mask(w, h, part, fancy):
    """Frame over a sea window. part 'left' is the whole low window of location 1
    (glass at the top, sill below), 'right' the right-hand end of its top
    window; fancy adds the flower box or curtain of the better rooms."""
    img = new(w, h)
    d = ImageDraw.Draw(img)
    wood, dark = rgba(PAL["wood"]), rgba(PAL["wood_dark"])
    if part == "left":
        d.rectangle([0, 0, w - 1, 52], outline=dark, width=6)
        d.line([(w / 2, 0), (w / 2, 50)], fill=dark, width=5)
        d.rectangle([0, 0, w - 1, 52], outline=INK, width=1)
        d.rounded_rectangle([-4, 48, w + 3, 58], 3, fill=wood, outline=INK, width=2)
        if fancy:
            d.rounded_rectangle([10, 58, w - 11, 76], 4, fill=rgba(PAL["coral_dark"]), outline=INK, width=2)
            for k in range(6):
                x = 16 + k * (w - 32) / 5
                d.ellipse([x - 6, 48, x + 6, 60], fill=rgba([PAL["pink"], PAL["sun"], PAL["red"]][k % 3]), outline=INK)
    else:
        d.rectangle([w - 8, 0, w - 1, 84], fill=dark, outline=INK)
        d.rectangle([0, 0, w - 1, 5], fill=dark)
        d.line([(0, 6), (w - 8, 6)], fill=INK)
        d.line([(w / 2 - 4, 0), (w / 2 - 4, 80)], fill=dark, width=5)
        d.rounded_rectangle([0, 80, w - 1, 88], 3, fill=wood, outline=INK, width=2)
        if fancy:
            d.polygon([(w - 34, 2), (w - 8, 2), (w - 8, 80), (w - 22, 80), (w - 30, 40)], fill=rgba(PAL["pink"]), outline=INK)
            d.line([(w - 26, 10), (w - 24, 70)], fill=rgba(shade(PAL["pink"], 0.85)), width=2)
    return img


def porthole_mask(w, h, wall_rows):
    """Round ship's window of location 2: wall round a brass ring, glass clear."""
    img = new(w, h)
    for y in range(h):
        ImageDraw.Draw(img).line([(0, y), (w, y)], fill=rgba(wall_rows(y)))
    d = ImageDraw.Draw(img)
    box = [3, 0, w - 4, 54]
    d.ellipse([box[0] - 1, box[1], box[2] + 1, box[3] + 1], fill=rgba(PAL["sun"]), outline=INK, width=2)
    d.ellipse([box[0] + 7, box[1] + 6, box[2] - 7, box[3] - 6], fill=(0, 0, 0, 0), outline=INK, width=2)
    for k in range(8):
        a = k * math.pi / 4
        cx, cy = (box[0] + box[2]) / 2 + math.cos(a) * (w / 2 - 7), 27 + math.sin(a) * 24
        d.ellipse([cx - 2, cy - 2, cx + 2, cy + 2], fill=rgba(PAL["wood_dark"]))
    d.rounded_rectangle([14, 62, w - 15, 76], 3, fill=rgba(PAL["sun"]), outline=INK, width=2)
    return img
