"""Frame sheets and frame files of the Animation2D resources. Frames that
look alike share one cell of the sheet; the frame file lists every frame."""

import math

from PIL import Image, ImageDraw, ImageFilter

import painters as P
from common import PAL, rgba, shade, new, save_png, write_text

INK = rgba(PAL["ink"])


class Sheet:
    def __init__(self, name):
        self.name = name
        self.cells = []
        self.frames = []      # (cell index, hot x, hot y)
        self.cache = {}

    def cell(self, key, make):
        if key not in self.cache:
            self.cache[key] = len(self.cells)
            self.cells.append(make())
        return self.cache[key]

    def frame(self, cell, hx, hy):
        self.frames.append((cell, int(hx), int(hy)))

    def write(self, out_dir, rel_img, rel_frames):
        """Shelf-packs the cells and writes the sheet and its frame file."""
        width = 1024
        x = y = shelf = 0
        places = []
        for c in self.cells:
            w, h = c.size
            if x + w > width:
                x, y, shelf = 0, y + shelf + 1, 0
            places.append((x, y))
            x += w + 1
            shelf = max(shelf, h)
        used_w = max(px + c.size[0] for (px, _), c in zip(places, self.cells))
        W, H = used_w, y + shelf
        img = new(W, H)
        for (px, py), c in zip(places, self.cells):
            img.alpha_composite(c, (px, py))
        save_png(img, "%s/%s" % (out_dir, rel_img))
        lines = []
        for ci, hx, hy in self.frames:
            px, py = places[ci]
            w, h = self.cells[ci].size
            lines.append('"0;0;%.6f;%.6f;%.6f;%.6f;%d;%d"' % (px / W, (px + w) / W, py / H, (py + h) / H, hx, hy))
        write_text("%s/%s" % (out_dir, rel_frames), "\n".join(lines) + "\n")
        return W, H


# The game's draw offsets of a kind's clips: young, half grown, adult.
FISH_STAGE_OFFSETS = {
    "FISH_1": [(-101, -132)] * 3, "FISH_2": [(-116, -117)] * 3,
    "THORN_FISH": [(-84, -138), (-84, -136), (-84, -133)], "CAT_FISH": [(-89, -137)] * 3,
    "CRAMP_FISH": [(-93, -113)] * 3,
    "GOLD_FISH_1": [(-101, -118), (-101, -116), (-100, -116)],
    "GOLD_FISH_2": [(-118, -136), (-118, -139), (-118, -139)],
    "SAW_FISH": [(-108, -119)] * 3, "SHARK_1": [(-82, -131)] * 3, "SHARK_2": [(-82, -131)] * 3,
    "ANGLER_FISH": [(-107, -108)] * 3,
    "JELLY_FISH_1": [(3, 10), (1, 8), (-3, 0)], "JELLY_FISH_2": [(3, 10), (1, 8), (-3, 0)],
    "SHOAL_FISHES": [(-123, -134)] * 3,
    "OCTOPUS": [(-109, -118), (-109, -123), (-109, -127)], "CRAB": [(-118, -122)] * 3,
    "SHELL": [(-116, -126)] * 3,
}
# Where the body of a kind goes in its aquarium: left, top, right, bottom from
# the aquarium's position.
FISH_AREAS = {
    "FISH_1": (5, 68, 140, 82), "FISH_2": (15, 69, 150, 81), "THORN_FISH": (-10, 66, 130, 78),
    "CAT_FISH": (0, 78, 120, 84), "JELLY_FISH_1": (5, 54, 160, 64), "JELLY_FISH_2": (5, 54, 160, 64),
    "CRAMP_FISH": (11, 75, 119, 75), "GOLD_FISH_1": (-3, 70, 145, 90), "GOLD_FISH_2": (12, 70, 160, 90),
    "SAW_FISH": (20, 68, 135, 86), "SHARK_1": (-5, 63, 108, 75), "SHARK_2": (-5, 63, 108, 75),
    "ANGLER_FISH": (15, 67, 140, 73), "SHOAL_FISHES": (15, 70, 175, 110), "OCTOPUS": (20, 71, 138, 71),
    "CRAB": (20, 89, 158, 89), "SHELL": (0, 95, 100, 95),
}
# The water of an aquarium: left, right, top, bottom from its position. Every
# frame stays inside it wherever in its area the fish swims.
WATER_BOX = (12, 230, 22, 144)
FISH_SIZE = {"FISH_1": (80, 56), "FISH_2": (88, 48), "THORN_FISH": (84, 64), "CAT_FISH": (100, 50),
             "CRAMP_FISH": (88, 56), "GOLD_FISH_1": (86, 60), "GOLD_FISH_2": (90, 62), "SAW_FISH": (112, 44),
             "SHARK_1": (110, 52), "SHARK_2": (116, 54), "ANGLER_FISH": (92, 70), "JELLY_FISH_1": (70, 90),
             "JELLY_FISH_2": (70, 90), "SHOAL_FISHES": (52, 30), "OCTOPUS": (80, 84), "CRAB": (84, 60),
             "SHELL": (72, 60)}


def fish_frame_size(kind, scale):
    bw, bh = FISH_SIZE[kind]
    return max(8, int(bw * scale)), max(8, int(bh * scale))


def place_in_water(kind, block, cells):
    """The hot spot of a stage block (0 adult .. 2 young) whose frames are
    `cells`: the union of their visible pixels, swum from one end of the area
    to the other, stands in the middle of the water. None when it is wider
    than the room the swimming leaves."""
    left, top, right, bottom = FISH_AREAS[kind]
    wl, wr, wt, wb = WATER_BOX
    boxes = [c.getchannel("A").getbbox() for c in cells]
    boxes = [bx for bx in boxes if bx]
    bl, bt = min(bx[0] for bx in boxes), min(bx[1] for bx in boxes)
    br, bb = max(bx[2] for bx in boxes), max(bx[3] for bx in boxes)
    room_x = (wr - wl) - (right - left)
    room_y = (wb - wt) - (bottom - top)
    if br - bl > room_x or bb - bt > room_y:
        return None
    off = FISH_STAGE_OFFSETS[kind][2 - block]
    fx = wl + (room_x - (br - bl)) // 2 - bl
    fy = wt + (room_y - (bb - bt)) // 2 - bt
    return fx - left - off[0], fy - top - off[1]


def fish_block(kind, block, scale, paint_block):
    """Paints a stage block narrower until it fits the water; returns the
    frames to add (cell key, picture maker) and their hot spot."""
    w, h = fish_frame_size(kind, scale)
    while True:
        frames = paint_block(w, h)
        cache = {}
        for key, make in frames:
            if key not in cache:
                cache[key] = make()
        hot = place_in_water(kind, block, list(cache.values()))
        if hot is not None or w <= 8:
            return [(key, cache[key]) for key, _ in frames], hot or (0, 0)
        w -= 2


STAGE_SCALE = [1.0, 0.8, 0.62]


def fish_frames(kind, block, w, h):
    """The frames of one stage block in order: (cell key, picture maker)."""
    out = []

    def add(key, make, n=1):
        out.extend([((block,) + key, make)] * n)

    def swim(facing, ph):
        return ("swim", facing, ph), (lambda: P.fish(kind, w, h, facing, ph / 4.0))

    if kind.startswith("JELLY"):
        for f in range(32):
            ph = (f // 4) % 8
            add(("pulse", ph), lambda ph=ph: P.jelly(kind, w, h, ph / 8.0))
        return out
    if kind == "OCTOPUS":
        for f in range(48):
            ph = (f // 2) % 8 if f < 16 else (f // 4) % 4
            add(("o", ph), lambda ph=ph: P.octopus(w, h, ph / 8.0))
        return out
    if kind == "CRAB":
        for f in range(50):
            if f < 24:      # idles
                add(("c", 1.0, f // 6 % 2), lambda f=f: P.crab(w, h, (f // 6 % 2) * 0.1, 1.0))
            elif f < 30:    # stand up
                st = 0.3 + (f - 24) * 0.14
                add(("s", f), lambda st=st: P.crab(w, h, 0, st))
            elif f < 46:    # walk
                ph = (f - 30) // 2 % 4
                add(("w", ph), lambda ph=ph: P.crab(w, h, ph / 4.0, 1.0))
            else:
                add(("g", f), lambda f=f: P.crab(w, h, 0.25 * (f - 46), 1.0))
        return out
    if kind == "SHELL":
        # adult 0-31 open/close, 32-48 idle; half 49-80, 81-96; young 97-128, 129-144
        n_open, n_idle = [(32, 17), (32, 16), (32, 16)][block]
        for f in range(n_open):
            o = round(1 - abs(f - 16) / 16.0, 2)
            add(("open", o), lambda o=o: P.shell(w, h, o))
        for f in range(n_idle):
            o = 0.08 * (f // 4 % 2)
            add(("idle", o), lambda o=o: P.shell(w, h, o))
        return out
    for facing in (-1, 1):                       # 0-15 left, 16-31 right
        for f in range(16):
            add(*swim(facing, f // 2 % 4))
    turn = [(1, 1.0), (1, 0.7), (1, 0.45), (0, 0), (0, 0), (-1, 0.45), (-1, 0.7), (-1, 1.0)]
    for seqn in (turn, turn[::-1]):              # 32-39 to the left, 40-47 to the right
        for facing, sq in seqn:
            if facing == 0:
                add(("front",), lambda: P.fish(kind, w, h, -1, 0, 1.0, 0.8))
            else:
                add(("turn", facing, sq), lambda facing=facing, sq=sq: P.fish(kind, w, h, facing, 0, sq))
    for f in range(16):                          # 48-63 rest
        add(("rest", f // 8), lambda f=f: P.fish(kind, w, h, -1, 0.1 * (f // 8)))
    for facing in (-1, 1):                       # 64-69 / 70-75 into rest
        for f in range(6):
            add(*swim(facing, f % 4))
    return out


def fish_sheet(kind):
    s = Sheet(kind)
    for block in range(3):                       # frame block 0 adult .. 2 young
        frames, hot = fish_block(kind, block, STAGE_SCALE[block],
                                 lambda w, h, block=block: fish_frames(kind, block, w, h))
        for key, picture in frames:
            s.frame(s.cell(key, lambda picture=picture: picture), *hot)
    return s


def shoal_frames(w, h):
    kind = "SHOAL_FISHES"
    out = []
    for facing in (-1, 1):
        for f in range(16):
            ph = f // 2 % 4
            out.append((("s", facing, ph), lambda facing=facing, ph=ph: P.fish(kind, w, h, facing, ph / 4.0)))
    turn = [(1, 1.0), (1, 0.6), (0, 0), (0, 0), (-1, 0.6), (-1, 1.0), (-1, 1.0), (-1, 1.0)]
    for seqn in (turn, turn[::-1]):
        for facing, sq in seqn:
            out.append((("t", facing, sq), lambda facing=facing, sq=sq: P.fish(
                kind, w, h, facing if facing else -1, 0, sq if facing else 1.0, 0.0 if facing else 0.8)))
    return out


def shoal_sheet(variant):
    s = Sheet("shoal%d" % variant)
    frames, hot = fish_block("SHOAL_FISHES", 0, {1: 1.0, 2: 0.85, 3: 0.75}[variant], shoal_frames)
    for key, picture in frames:
        s.frame(s.cell(key, lambda picture=picture: picture), *hot)
    return s


# ---------------------------------------------------------------------------
# The heroine: a girl in a sea-blue dress. Every layer is painted on the same
# cell with the same hot spot, so the layers the game stacks (rear hair, arms,
# body, working arm) fall into place over each other.

HERO_W, HERO_H = 110, 262
HERO_HOT = (104, 22)          # puts the cell near her box for the usual offsets
HERO_FW = 2 * HERO_HOT[0] + HERO_W
# The ink line around her whole figure, in pixels: the floors are as light as
# her skin and dress, and without it her legs melt into them.
HERO_OUTLINE = 2


def outlined(img, width=HERO_OUTLINE):
    """The picture laid on an ink silhouette grown by width pixels, within
    the picture's own size."""
    ring = img.getchannel("A").filter(ImageFilter.MaxFilter(2 * width + 1))
    out = Image.new("RGBA", img.size, INK[:3] + (0,))
    out.putalpha(ring)
    out.alpha_composite(img)
    return out


def heroine(pose, phase=0.0, direction=0, hold=0, layer="all", hands=None, outline=True):
    """pose: 'stand', 'walk', 'work' (a quick reach into a tank), 'scrub' (the
    long work: the arm circling at chest height), 'serve' (bent towards the
    pet's bowl, the serving hand low), 'cheer', 'glance', 'hold'; direction 0
    down, 1 side (facing right), 2 up, 3 down and to the right, 4 up and to
    the right.
    layer: 'all' the whole figure; 'body' without arms and rear hair; 'arms'
    the arms alone; 'back' the hair behind her head; 'front' the working arm
    alone; 'nofront' everything but the working arm.
    hands: (first, second) held flags for the arms; the first hand is the
    left one on the picture when she faces down.
    outline: False leaves off the ink line around the figure."""
    if hands is None:
        hands = (True, True) if (pose == "hold" or hold) else (False, False)
    with_body = layer in ("all", "body", "nofront")
    with_back = layer in ("all", "back", "nofront")

    def arms(d, W, H, s, cx, swing, skin):
        # Hands stay outside the dress: the game lays the arm layer under the body.
        for i, side in enumerate((-1, 1)):
            working = pose in ("work", "scrub", "serve") and side == 1
            if (layer == "front" and not working) or (layer == "nofront" and working):
                continue
            ax = cx + side * W * 0.2
            if pose == "scrub" and working:
                turn = phase * 2 * math.pi
                hx, hy2 = cx + W * (0.12 + 0.14 * math.cos(turn)), H * (0.34 + 0.06 * math.sin(turn))
            elif pose == "serve" and working:
                hx, hy2 = ax + W * (0.2 + 0.03 * swing), H * (0.6 + 0.03 * swing)
            elif pose in ("cheer",) or working:
                hx, hy2 = ax + side * W * 0.12, H * (0.12 + 0.04 * swing)
            elif hands[i] and pose == "hold":
                # held in front of her, where the carried pictures facing down
                # lie (x 4-72, y 90-126 of her box, the mirrored pose included)
                hx, hy2 = cx + side * W * 0.18, H * 0.42
            elif hands[i]:
                hx, hy2 = ax + side * W * 0.12, H * 0.42
            elif pose == "walk":
                hx, hy2 = ax + side * W * (0.13 + 0.03 * swing * side), H * (0.5 - 0.03 * swing * side)
            else:
                hx, hy2 = ax + side * W * 0.07, H * 0.52
            d.line([(ax, H * 0.32), (hx, hy2)], fill=skin, width=int(W * 0.08))
            d.ellipse([hx - W * 0.05, hy2 - W * 0.05, hx + W * 0.05, hy2 + W * 0.05], fill=skin, outline=INK, width=s)

    def paint(d, W, H, s):
        cx = W * 0.5
        swing = math.sin(phase * 2 * math.pi)
        skin, hair = rgba(PAL["skin"]), rgba(PAL["hair"])
        dress = rgba((40, 150, 210))
        hy = H * (0.18 if pose == "serve" else 0.16)  # bowed to the bowl when serving
        r = W * 0.2
        if with_back:
            d.ellipse([cx - r * 1.15, hy - r * 1.1, cx + r * 1.15, hy + r * 1.3], fill=hair)
        if layer in ("arms", "front"):
            arms(d, W, H, s, cx, swing, skin)
        if not with_body:
            return
        # legs: from the front they part and close, from the side and the
        # three-quarter views they stride forward and back
        for side in (-1, 1):
            if pose == "walk" and direction in (1, 3, 4):
                stride = {1: 0.14, 3: 0.09, 4: 0.09}[direction]
                lx, top = cx + side * swing * W * stride, cx + side * W * 0.04
            else:
                lx = cx + side * W * 0.1 + (swing * side * W * 0.08 if pose == "walk" else 0)
                top = cx + side * W * 0.08
            d.line([(top, H * 0.6), (lx, H * 0.86)], fill=skin, width=int(W * 0.1))
        # dress
        d.polygon([(cx - W * 0.18, H * 0.3), (cx + W * 0.18, H * 0.3), (cx + W * 0.3, H * 0.66), (cx - W * 0.3, H * 0.66)],
                  fill=dress, outline=INK, width=2 * s)
        d.line([(cx - W * 0.28, H * 0.63), (cx + W * 0.28, H * 0.63)], fill=rgba(PAL["foam"]), width=3 * s)
        # a sash at the waist and a sailor collar, so the dress reads as one
        d.rectangle([cx - W * 0.21, H * 0.4, cx + W * 0.21, H * 0.43], fill=rgba((20, 90, 150)))
        d.polygon([(cx - W * 0.13, H * 0.3), (cx, H * 0.36), (cx + W * 0.13, H * 0.3)],
                  fill=rgba(PAL["foam"]), outline=INK, width=s)
        # head
        d.ellipse([cx - r, hy - r, cx + r, hy + r], fill=skin, outline=INK, width=2 * s)
        if direction == 2:
            d.ellipse([cx - r * 1.05, hy - r * 1.05, cx + r * 1.05, hy + r * 0.9], fill=hair)
        elif direction == 4:
            # from behind and to the right: hair over all but her right cheek
            d.ellipse([cx - r * 1.05, hy - r * 1.05, cx + r * 0.75, hy + r * 0.95], fill=hair)
        else:
            d.chord([cx - r * 1.05, hy - r * 1.1, cx + r * 1.05, hy + r * 0.4], 180, 360, fill=hair)
            # a glance looks to the side and back, never straight ahead
            look = {0: 0, 1: 0.35, 3: 0.18}.get(direction, 0) + (0.3 + 0.25 * swing if pose == "glance" else 0)
            for side in (-1, 1):
                ex = cx + side * r * 0.4 + look * r
                d.ellipse([ex - r * 0.13, hy - r * 0.05, ex + r * 0.13, hy + r * 0.3], fill=INK)
            d.arc([cx - r * 0.35 + look * r, hy + r * 0.3, cx + r * 0.35 + look * r, hy + r * 0.7], 20, 160, fill=INK, width=2 * s)
            d.ellipse([cx - r * 0.75, hy + r * 0.25, cx - r * 0.45, hy + r * 0.45], fill=(250, 150, 150, 160))
            d.ellipse([cx + r * 0.45, hy + r * 0.25, cx + r * 0.75, hy + r * 0.45], fill=(250, 150, 150, 160))
        # ponytail and ribbon
        d.ellipse([cx + r * 0.8, hy - r * 0.6, cx + r * 1.6, hy + r * 0.9], fill=hair)
        d.polygon([(cx + r * 0.7, hy - r * 0.9), (cx + r * 1.2, hy - r * 1.3), (cx + r * 1.1, hy - r * 0.6)], fill=rgba(PAL["coral"]))
        if layer in ("all", "nofront"):
            arms(d, W, H, s, cx, swing, skin)
    img = P._scaled(HERO_W, HERO_H, paint, 2)
    if direction in (1, 3, 4):
        img = img.transpose(Image.FLIP_LEFT_RIGHT)
    return outlined(img) if outline else img


# Walking runs R0-R4 face down, down-right, right, up-right, up: each has a
# view of its own (the three turned to the right are mirrored paintings).
RUN_VIEW = {0: 0, 1: 3, 2: 1, 3: 4, 4: 2}


def walk_phase(f):
    return (f % 15) // 2 % 4


def walk_layer(layer, hands_for=lambda run: (False, False), first_run=0):
    """plan(frame) for a walking layer whose frames are runs of 15, run
    first_run + frame // 15 being the direction (5-7 face left)."""
    def plan(f):
        run = first_run + f // 15
        ph = walk_phase(f)
        hands = hands_for(run)
        if run <= 4:
            view = RUN_VIEW[run]
            return (layer, view, ph, hands), (lambda: heroine("walk", ph / 4.0, view, layer=layer, hands=hands))
        # facing left: the mirror of the matching right-hand run with the hands swapped
        view = RUN_VIEW[8 - run]
        sw = (hands[1], hands[0])
        return (layer, "L", view, ph, hands), (lambda: heroine("walk", ph / 4.0, view, layer=layer, hands=sw).transpose(Image.FLIP_LEFT_RIGHT))
    return plan


def hero_sheet(name, count, plan):
    """plan(frame) -> (key, maker)."""
    s = Sheet(name)
    for f in range(count):
        key, mk = plan(f)
        c = s.cell(key, mk)
        s.frame(c, *HERO_HOT)
    return s


def walk_plan(f):
    run = f // 15
    ph = walk_phase(f)
    view = RUN_VIEW.get(run, 0)
    return ("walk", view, ph), (lambda: heroine("walk", ph / 4.0, view, layer="body"))


def shadow_sheet(name, count):
    s = Sheet(name)

    def mk():
        img = new(100, 30)
        ImageDraw.Draw(img).ellipse([2, 2, 98, 28], fill=(20, 40, 70, 110))
        return img
    c = s.cell("sh", mk)
    for _ in range(count):
        s.frame(c, 112 + 5, 186)
    return s


# ---------------------------------------------------------------------------
# Pets, gulls, turtles and the bonus-level hand.

def turtle_pic(w, h, phase=0.0, swim=False, happy=False, sad=False):
    def paint(d, W, H, s):
        cx, cy = W * 0.5, H * 0.58
        sw = math.sin(phase * 2 * math.pi)
        for side in (-1, 1):
            for fy in (-1, 1):
                fx = cx + side * W * 0.26
                d.ellipse([fx - W * 0.09, cy + fy * H * 0.16 - H * 0.07 + (sw * side * H * 0.05 if swim else 0),
                           fx + W * 0.09, cy + fy * H * 0.16 + H * 0.07], fill=rgba(PAL["leaf"]), outline=INK, width=s)
        hx = cx - W * 0.38
        d.ellipse([hx - W * 0.1, cy - H * 0.14 - (H * 0.05 if happy else 0), hx + W * 0.1, cy + H * 0.1], fill=rgba(PAL["leaf"]), outline=INK, width=s * 2)
        d.ellipse([hx - W * 0.06, cy - H * 0.08, hx - W * 0.02, cy - H * 0.02], fill=INK)
        d.ellipse([cx - W * 0.3, cy - H * 0.3, cx + W * 0.3, cy + H * 0.22], fill=rgba((110, 160, 80)), outline=INK, width=s * 2)
        for k in range(3):
            x = cx - W * 0.15 + k * W * 0.15
            d.ellipse([x - W * 0.06, cy - H * 0.16, x + W * 0.06, cy], fill=rgba((150, 200, 100)), outline=INK, width=s)
        if sad:
            d.line([(hx - W * 0.06, cy + H * 0.06), (hx + W * 0.03, cy + H * 0.03)], fill=INK, width=s * 2)
    return P._scaled(w, h, paint, 2)


def gull_pic(w, h, phase, dive=False, carry=False):
    def paint(d, W, H, s):
        cx, cy = W * 0.5, H * 0.5
        flap = math.sin(phase * 2 * math.pi)
        wy = cy - H * 0.35 * flap
        white, grey = rgba((250, 250, 250)), rgba((170, 180, 195))
        for side in (-1, 1):
            d.polygon([(cx, cy), (cx + side * W * 0.25, wy), (cx + side * W * 0.48, wy + H * 0.1), (cx + side * W * 0.1, cy + H * 0.08)],
                      fill=grey, outline=INK, width=s * 2)
        d.ellipse([cx - W * 0.2, cy - H * 0.12, cx + W * 0.2, cy + H * 0.14], fill=white, outline=INK, width=s * 2)
        hx = cx - W * 0.2
        d.ellipse([hx - W * 0.08, cy - H * 0.2, hx + W * 0.06, cy + H * 0.04], fill=white, outline=INK, width=s * 2)
        d.polygon([(hx - W * 0.07, cy - H * 0.1), (hx - W * 0.18, cy - H * 0.04 + (H * 0.1 if dive else 0)), (hx - W * 0.06, cy - H * 0.02)],
                  fill=rgba(PAL["sun"]), outline=INK, width=s)
        d.ellipse([hx - W * 0.04, cy - H * 0.14, hx - W * 0.01, cy - H * 0.1], fill=INK)
    img = P._scaled(w, h, paint, 2)
    if dive:
        img = img.rotate(-35, resample=Image.BICUBIC)
    return img


def hand_pic(w, h, press=0.0):
    def paint(d, W, H, s):
        x0, y0 = W * 0.18, H * 0.12 + press * H * 0.06
        d.rounded_rectangle([x0, y0, x0 + W * 0.16, y0 + H * 0.45], int(W * 0.08), fill=rgba(PAL["skin"]), outline=INK, width=2 * s)
        d.rounded_rectangle([x0 - W * 0.04, y0 + H * 0.35, x0 + W * 0.6, y0 + H * 0.8], int(W * 0.15), fill=rgba(PAL["skin"]), outline=INK, width=2 * s)
        d.rectangle([x0 - W * 0.02, y0 + H * 0.8, x0 + W * 0.58, y0 + H * 0.88], fill=rgba(PAL["sea"]), outline=INK, width=s)
    return P._scaled(w, h, paint, 2)


def simple_sheet(name, count, maker_for, hot):
    s = Sheet(name)
    for f in range(count):
        key, mk = maker_for(f)
        s.frame(s.cell(key, mk), *hot)
    return s


# The pet's figure stands at the base point of its tank plus PET_PLACE; each
# clip moves its frames by its own offset. Sheet name -> frame runs (first,
# last, clip offset) in the order of the frames.
PET_PLACE = {"fish": (27, 32), "turtle": (22, 46)}
PET_CLIP_OFFSETS = {
    "pf1": [(0, 59, (-112, -109)), (60, 119, (-114, -106)), (120, 219, (-108, -109))],
    "pf2": [(0, 39, (-111, -108))],
    "pf3": [(0, 39, (-112, -109))],
    "pt1": [(0, 49, (2, 10)), (50, 139, (4, -4)), (140, 209, (0, 0))],
    "pt2": [(0, 49, (1, 1))],
    "pt3": [(0, 39, (-2, -33))],
}
# Where the middle of the figure lies in the 130 x 131 tank picture: in the
# water, above the sand.
PET_CENTRE = (65, 64)


def pet_sheet(name, count, maker_for, kind):
    """Frames whose hot spots put the figure in the middle of its tank, for
    every clip that plays them."""
    s = Sheet(name)
    place = PET_PLACE[kind]
    for f in range(count):
        key, mk = maker_for(f)
        cell = s.cell(key, mk)
        off = [o for first, last, o in PET_CLIP_OFFSETS[name] if first <= f <= last][0]
        w, h = s.cells[cell].size
        s.frame(cell, PET_CENTRE[0] - w // 2 - place[0] - off[0], PET_CENTRE[1] - h // 2 - place[1] - off[1])
    return s


def file_stem(resource_id):
    """The file name of a resource: its id in lower case, with the layers of a
    figure (the ids' PART_n) called layer_n."""
    return resource_id.lower().replace("_part_", "_layer_")


def build(out_dir):
    """Returns a list of (image record, animation record) pairs to declare."""
    out = []

    def emit(anim_id, img_id, sheet, coverage, fw=None):
        rel = "Animations/%s.png" % file_stem(img_id.lstrip("_"))
        frel = "Animations/%s.txt" % file_stem(anim_id)
        W, H = sheet.write(out_dir, rel, frel)
        cw = max(sheet.cells[c].size[0] for c, _, _ in sheet.frames)
        ch = max(sheet.cells[c].size[1] for c, _, _ in sheet.frames)
        hx = sheet.frames[0][1]
        hy = sheet.frames[0][2]
        out.append(dict(img=dict(id=img_id, path=rel, coverage=coverage),
                        anim=dict(id=anim_id, path=frel, image_id=img_id, width=W, height=H,
                                  f_width=fw if fw is not None else 2 * hx + cw,
                                  f_height=2 * hy + ch, coverage=coverage)))

    loc = "1,2,3"
    for kind in ["FISH_1", "FISH_2", "THORN_FISH", "CAT_FISH", "CRAMP_FISH", "GOLD_FISH_1",
                 "GOLD_FISH_2", "SAW_FISH", "SHARK_1", "SHARK_2", "ANGLER_FISH",
                 "JELLY_FISH_1", "JELLY_FISH_2", "OCTOPUS", "CRAB", "SHELL"]:
        emit("A_" + kind, "SHEET_" + kind, fish_sheet(kind), loc)
    for v in (1, 2, 3):
        emit("A_SHOAL_FISHES_%d" % v, "SHEET_SHOAL_FISHES_%d" % v, shoal_sheet(v), loc)

    # pets: sheets named PET_FISH_n / PET_TURTLE_n so the game can drop the unused kind
    def petfish(f, mood):
        ph = (f // 3) % 6
        return (mood, ph), (lambda: P.fish("GOLD_FISH_1", 80, 58, -1 if (f // 30) % 2 == 0 else 1, ph / 6.0))
    emit("A_PET_FISH_1", "PET_FISH_1", pet_sheet("pf1", 220, lambda f: petfish(f, "a"), "fish"), loc)
    emit("A_PET_FISH_2", "PET_FISH_2", pet_sheet("pf2", 40, lambda f: petfish(f, "b"), "fish"), loc)
    emit("A_PET_FISH_3", "PET_FISH_3", pet_sheet("pf3", 40,
         lambda f: (("h", f // 4 % 4), lambda: P.fish("GOLD_FISH_1", 80, 58, -1, (f // 4 % 4) / 4.0, 1.0, 0.3 * (f // 4 % 2))), "fish"), loc)
    def petturtle(f, sad=False, happy=False):
        ph = (f // 4) % 4
        return ("t", ph, sad, happy), (lambda: turtle_pic(84, 60, ph / 4.0, False, happy, sad))
    emit("A_PET_TURTLE_1", "PET_TURTLE_1", pet_sheet("pt1", 210, lambda f: petturtle(f, sad=f < 50), "turtle"), loc)
    emit("A_PET_TURTLE_2", "PET_TURTLE_2", pet_sheet("pt2", 50, lambda f: petturtle(f), "turtle"), loc)
    emit("A_PET_TURTLE_3", "PET_TURTLE_3", pet_sheet("pt3", 40, lambda f: petturtle(f, happy=True), "turtle"), loc)

    # heroine layers
    stand = lambda f: (("stand", f // 10 % 2), lambda: heroine("stand", 0.05 * (f // 10 % 2)))
    first_arms = walk_layer("arms", lambda run: (True, False), 1)
    def part1(f):
        if f < 20:      # serving the pet, the other hand empty
            ph = f % 20 // 5
            return ("serve", ph), (lambda: heroine("serve", ph / 4.0, hands=(False, False)))
        return first_arms(f - 20)      # arms, first hand full, directions 1-7
    emit("A_PELKA_PART_1", "PELKA_PART_1", hero_sheet("p1", 125, part1), loc, HERO_FW)
    def part2(f):
        if f < 20:      # serving the pet, the other hand still full
            ph = f // 5
            return ("serve full", ph), (lambda: heroine("serve", ph / 4.0, hands=(True, False)))
        if f < 60:      # the quick reach: the other hand empty (20-39) or full (40-59)
            ph, full = f % 20 // 5, f >= 40
            return ("work", ph, full), (lambda: heroine("work", ph / 4.0, hands=(full, False)))
        return ("glance", f % 2), (lambda: heroine("glance", 0.25 * (f % 2)))
    emit("A_PELKA_PART_2", "PELKA_PART_2", hero_sheet("p2", 70, part2), loc, HERO_FW)
    def part3(f):
        if f < 36:      # the scrubbing arm is the front layer of sheet 4
            ph = f % 12 // 3
            return ("scrub", ph), (lambda: heroine("scrub", ph / 4.0, layer="nofront"))
        if f < 56:
            return ("hold1",), (lambda: heroine("hold", hands=(True, False)))
        return ("hold",), (lambda: heroine("hold"))
    emit("A_PELKA_PART_3", "PELKA_PART_3", hero_sheet("p3", 76, part3), loc, HERO_FW)
    empty_arms = walk_layer("arms")
    rear = walk_layer("back")
    def part4(f):
        if f < 36:      # scrubbing arm in front of the aquarium, frame by frame with sheet 3
            ph = f % 12 // 3
            return ("front", ph), (lambda: heroine("scrub", ph / 4.0, layer="front"))
        if f < 111:
            return empty_arms(f - 36)
        return rear(f - 111)
    emit("A_PELKA_PART_4", "PELKA_PART_4", hero_sheet("p4", 186, part4), loc, HERO_FW)
    emit("A_PELKA_PART_5", "PELKA_PART_5", hero_sheet("p5", 45, lambda f: (("cheer", f // 6 % 4), lambda: heroine("cheer", (f // 6 % 4) / 4.0))), loc, HERO_FW)
    both_arms = walk_layer("arms", lambda run: (True, True))
    def part6(f):
        if f < 30:
            return stand(f)
        return both_arms(f - 30)       # arms, both hands full, directions 0-4
    emit("A_PELKA_PART_6", "PELKA_PART_6", hero_sheet("p6", 105, part6), loc, HERO_FW)
    emit("A_PELKA_PART_7", "PELKA_PART_7", hero_sheet("p7", 40, lambda f: (("glance", f // 10 % 4), lambda: heroine("glance", (f // 10 % 4) / 4.0))), loc, HERO_FW)
    emit("A_PELKA_PART_8", "PELKA_PART_8", hero_sheet("p8", 75, walk_plan), loc, HERO_FW)
    emit("A_PELKA_PART_9", "PELKA_PART_9", hero_sheet("p9", 15, walk_layer("arms", lambda run: (True, False))), loc, HERO_FW)
    emit("A_SHADOW_PART_1", "SHADOW_PART_1", shadow_sheet("s1", 47), loc)
    emit("A_SHADOW_PART_2", "SHADOW_WALK", shadow_sheet("s2", 82), loc)

    # bonus level
    bonus = "4"
    hand_hot = (137, 100)
    emit("A_HAND_PART_1", "HAND_PART_1", simple_sheet("h1", 80, lambda f: (("h", f % 4), lambda: hand_pic(48, 60, (f % 4) / 3.0)), hand_hot), bonus)
    emit("A_HAND_PART_2", "HAND_PART_2", simple_sheet("h2", 24, lambda f: (("h", 0), lambda: hand_pic(48, 60, 0)), hand_hot), bonus)
    import bonus_sprites
    gull_1, gull_2 = bonus_sprites.gull_sheets(Sheet, gull_pic)
    emit("A_GULL_PART_1", "GULL_PART_1", gull_1, bonus)
    emit("A_GULL_PART_2", "GULL_PART_2", gull_2, bonus)
    emit("A_TURTLE", "TURTLE_SHEET", bonus_sprites.turtle_sheet(Sheet, turtle_pic), bonus)
    return out
