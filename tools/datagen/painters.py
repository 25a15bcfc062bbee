"""Procedural pictures of the game's objects. Every painter returns an RGBA
picture of the asked size; callers place it in atlases or frame sheets."""

import math

from PIL import Image, ImageDraw, ImageFilter

from common import PAL, rgba, mix, shade, new, font, rng

INK = rgba(PAL["ink"])

# Look of each fish kind: body colour, fin colour, shape, pattern.
FISH_LOOK = {
    "FISH_1": ((255, 196, 60), (250, 120, 60), "round", "stripes"),
    "FISH_2": ((70, 140, 240), (230, 70, 90), "slim", "band"),
    "THORN_FISH": ((170, 120, 220), (110, 70, 170), "round", "spikes"),
    "CAT_FISH": ((150, 130, 100), (110, 90, 70), "long", "whiskers"),
    "JELLY_FISH_1": ((170, 220, 255), (120, 170, 240), "jelly", ""),
    "JELLY_FISH_2": ((255, 170, 210), (230, 110, 170), "jelly", ""),
    "CRAMP_FISH": ((110, 190, 200), (60, 130, 150), "ray", "dots"),
    "GOLD_FISH_1": ((255, 150, 40), (255, 210, 90), "round", "tail"),
    "GOLD_FISH_2": ((255, 220, 80), (255, 120, 50), "round", "fan"),
    "SAW_FISH": ((150, 170, 180), (100, 120, 140), "saw", ""),
    "SHARK_1": ((130, 160, 190), (90, 120, 150), "shark", ""),
    "SHARK_2": ((160, 150, 110), (110, 100, 70), "shark", "stripes"),
    "ANGLER_FISH": ((90, 80, 130), (60, 50, 100), "angler", ""),
    "SHOAL_FISHES": ((60, 210, 230), (240, 70, 80), "slim", "neon"),
    "OCTOPUS": ((240, 110, 90), (200, 70, 60), "octopus", ""),
    "CRAB": ((240, 90, 60), (200, 60, 40), "crab", ""),
    "SHELL": ((250, 220, 230), (220, 170, 190), "shell", ""),
}


def _scaled(w, h, draw_fn, ss=3):
    """Draw at a larger size and shrink, for soft edges."""
    big = new(w * ss, h * ss)
    draw_fn(ImageDraw.Draw(big), w * ss, h * ss, ss)
    return big.resize((w, h), Image.LANCZOS)


def fish(kind, w, h, facing=-1, phase=0.0, squash=1.0, front=0.0):
    """A fish of the kind facing left (-1) or right (+1). phase wiggles the
    tail; squash < 1 narrows the body for turning; front > 0 shows it head-on."""
    body, fin, shape, pattern = FISH_LOOK[kind]
    if shape == "jelly":
        return jelly(kind, w, h, phase)
    if shape == "octopus":
        return octopus(w, h, phase)
    if shape == "crab":
        return crab(w, h, phase)
    if shape == "shell":
        return shell(w, h, phase)

    def paint(d, W, H, s):
        cx, cy = W * 0.5, H * 0.52
        bw = W * (0.36 if shape in ("round",) else 0.42 if shape != "long" else 0.45) * squash
        bh = H * {"round": 0.34, "slim": 0.2, "long": 0.2, "ray": 0.3, "saw": 0.14,
                  "shark": 0.2, "angler": 0.3}[shape]
        wig = math.sin(phase * 2 * math.pi) * H * 0.08
        tail_x = cx + bw * 0.95
        # tail
        tl = W * (0.2 if pattern in ("tail", "fan") else 0.14) * max(0.4, squash)
        tl = min(tl, W * 0.97 - tail_x)  # a round body leaves less room: keep the tail in the picture
        th = bh * (1.3 if pattern in ("tail", "fan") else 0.9)
        d.polygon([(tail_x - 4 * s, cy), (tail_x + tl, cy - th + wig), (tail_x + tl * 0.7, cy + wig * 0.5),
                   (tail_x + tl, cy + th + wig)], fill=rgba(fin), outline=INK, width=s * 2)
        # fins
        d.polygon([(cx - bw * 0.2, cy - bh * 0.8), (cx + bw * 0.3, cy - bh * 1.45), (cx + bw * 0.5, cy - bh * 0.7)],
                  fill=rgba(fin), outline=INK, width=s * 2)
        if shape in ("shark",):
            d.polygon([(cx - bw * 0.1, cy - bh * 0.8), (cx + bw * 0.1, cy - bh * 2.0), (cx + bw * 0.45, cy - bh * 0.8)],
                      fill=rgba(fin), outline=INK, width=s * 2)
        # body
        if shape == "ray":
            d.ellipse([cx - bw, cy - bh, cx + bw, cy + bh], fill=rgba(body), outline=INK, width=s * 2)
        else:
            d.ellipse([cx - bw, cy - bh, cx + bw, cy + bh], fill=rgba(body), outline=INK, width=s * 2)
            # belly
            d.chord([cx - bw * 0.85, cy - bh * 0.2, cx + bw * 0.8, cy + bh * 0.95], 10, 170,
                    fill=rgba(shade(body, 1.35)))
        if shape == "saw":
            d.rectangle([cx - bw - W * 0.28, cy - bh * 0.25, cx - bw + 4 * s, cy + bh * 0.25],
                        fill=rgba(shade(body, 0.9)), outline=INK, width=s * 2)
            for k in range(6):
                x = cx - bw - W * 0.26 + k * W * 0.045
                d.polygon([(x, cy - bh * 0.25), (x + W * 0.015, cy - bh * 0.6), (x + W * 0.03, cy - bh * 0.25)],
                          fill=rgba((240, 240, 240)), outline=INK, width=s)
        if shape == "angler":
            d.line([(cx - bw * 0.4, cy - bh * 0.9), (cx - bw * 0.9, cy - bh * 1.8), (cx - bw * 1.25, cy - bh * 1.4)],
                   fill=INK, width=s * 2)
            r = bh * 0.28
            d.ellipse([cx - bw * 1.25 - r, cy - bh * 1.4 - r, cx - bw * 1.25 + r, cy - bh * 1.4 + r],
                      fill=rgba(PAL["sun"]), outline=INK, width=s)
            for k in range(4):
                x = cx - bw * 0.85 + k * bw * 0.12
                d.polygon([(x, cy + bh * 0.1), (x + bw * 0.05, cy + bh * 0.35), (x + bw * 0.1, cy + bh * 0.1)],
                          fill=rgba((255, 255, 255)))
        # patterns
        if pattern == "stripes":
            for k in (-0.2, 0.2):
                x = cx + bw * k
                d.line([(x, cy - bh * 0.85), (x, cy + bh * 0.85)], fill=rgba(shade(fin, 0.9)), width=int(bw * 0.12))
        elif pattern == "band":
            d.line([(cx - bw * 0.6, cy), (cx + bw * 0.8, cy)], fill=rgba(fin), width=int(bh * 0.4))
        elif pattern == "neon":
            d.line([(cx - bw * 0.7, cy - bh * 0.15), (cx + bw * 0.8, cy - bh * 0.15)], fill=rgba((60, 120, 255)), width=int(bh * 0.35))
            d.chord([cx - bw * 0.4, cy, cx + bw * 0.9, cy + bh * 0.95], 0, 180, fill=rgba(fin))
        elif pattern == "dots":
            for k in range(5):
                x = cx - bw * 0.5 + k * bw * 0.25
                d.ellipse([x - bh * 0.1, cy - bh * 0.3, x + bh * 0.1, cy - bh * 0.1], fill=rgba(PAL["sun"]))
        elif pattern == "spikes":
            for k in range(5):
                a = math.pi * (0.15 + 0.17 * k)
                x0, y0 = cx + math.cos(a) * bw * 0.9, cy - math.sin(a) * bh * 0.9
                x1, y1 = cx + math.cos(a) * bw * 1.3, cy - math.sin(a) * bh * 1.35
                d.line([(x0, y0), (x1, y1)], fill=INK, width=s * 3)
        elif pattern == "whiskers":
            for k in (-1, 1):
                d.line([(cx - bw * 0.85, cy + bh * 0.3), (cx - bw * 1.3, cy + bh * (0.3 + 0.5 * k))], fill=INK, width=s * 2)
        elif pattern == "fan":
            d.ellipse([cx - bw * 0.3, cy - bh * 0.6, cx + bw * 0.4, cy + bh * 0.2], fill=rgba(shade(body, 1.2)))
        # eye and mouth
        ex, ey = cx - bw * 0.55, cy - bh * 0.25
        er = max(2 * s, bh * 0.22)
        d.ellipse([ex - er, ey - er, ex + er, ey + er], fill=rgba((255, 255, 255)), outline=INK, width=s)
        d.ellipse([ex - er * 0.65, ey - er * 0.45, ex + er * 0.25, ey + er * 0.45], fill=INK)
        d.arc([cx - bw * 0.98, cy, cx - bw * 0.7, cy + bh * 0.4], 100, 200, fill=INK, width=s * 2)

    img = _scaled(w, h, paint)
    if facing > 0:
        img = img.transpose(Image.FLIP_LEFT_RIGHT)
    if front > 0:
        img = img.resize((max(1, int(w * (1 - 0.6 * front))), h), Image.LANCZOS)
        out = new(w, h)
        out.alpha_composite(img, ((w - img.size[0]) // 2, 0))
        img = out
    return img


def jelly(kind, w, h, phase):
    body, fin, _, _ = FISH_LOOK[kind]
    p = 0.5 + 0.5 * math.sin(phase * 2 * math.pi)

    def paint(d, W, H, s):
        bw = W * (0.32 + 0.06 * p)
        bh = H * (0.3 - 0.05 * p)
        cx, cy = W * 0.5, H * 0.38
        for k in range(5):
            x = cx - bw * 0.7 + k * bw * 0.35
            pts = [(x + math.sin(phase * 6 + k + j * 0.8) * W * 0.03, cy + j * H * 0.09) for j in range(6)]
            d.line(pts, fill=rgba(fin, 220), width=s * 3)
        d.chord([cx - bw, cy - bh, cx + bw, cy + bh], 180, 360, fill=rgba(body, 210), outline=INK, width=s * 2)
        d.line([(cx - bw, cy), (cx + bw, cy)], fill=INK, width=s * 2)
        d.ellipse([cx - bw * 0.4, cy - bh * 0.7, cx + bw * 0.4, cy - bh * 0.2], fill=rgba(shade(body, 1.3), 200))
        for k in (-1, 1):
            d.ellipse([cx + k * bw * 0.3 - 3 * s, cy - bh * 0.35 - 3 * s, cx + k * bw * 0.3 + 3 * s, cy - bh * 0.35 + 3 * s], fill=INK)
    return _scaled(w, h, paint)


def octopus(w, h, phase):
    body, fin, _, _ = FISH_LOOK["OCTOPUS"]

    def paint(d, W, H, s):
        cx, cy = W * 0.5, H * 0.35
        r = min(W, H) * 0.26
        for k in range(6):
            x0 = cx - r * 0.9 + k * r * 0.36
            pts = [(x0 + math.sin(phase * 6.28 + k + j) * W * 0.04, cy + r * 0.5 + j * H * 0.08) for j in range(6)]
            d.line(pts, fill=rgba(fin), width=int(r * 0.28))
        d.ellipse([cx - r, cy - r * 1.1, cx + r, cy + r * 0.8], fill=rgba(body), outline=INK, width=s * 2)
        for k in (-1, 1):
            d.ellipse([cx + k * r * 0.35 - r * 0.18, cy - r * 0.15, cx + k * r * 0.35 + r * 0.18, cy + r * 0.2], fill=rgba((255, 255, 255)), outline=INK, width=s)
            d.ellipse([cx + k * r * 0.35 - r * 0.08, cy - r * 0.02, cx + k * r * 0.35 + r * 0.08, cy + r * 0.14], fill=INK)
    return _scaled(w, h, paint)


def crab(w, h, phase, stand=1.0):
    body, fin, _, _ = FISH_LOOK["CRAB"]

    def paint(d, W, H, s):
        cx, cy = W * 0.5, H * (0.62 - 0.12 * stand)
        bw, bh = W * 0.3, H * 0.2
        for k in range(3):
            for side in (-1, 1):
                x = cx + side * bw * (0.4 + 0.25 * k)
                lift = math.sin(phase * 6.28 + k * 2 + side) * H * 0.04
                d.line([(x, cy), (x + side * W * 0.08, cy + H * 0.12 + lift), (x + side * W * 0.1, H * 0.95)],
                       fill=rgba(fin), width=s * 4)
        for side in (-1, 1):
            clx = cx + side * bw * 1.2
            cly = cy - bh * 1.1 + math.sin(phase * 6.28) * H * 0.03
            d.line([(cx + side * bw * 0.7, cy - bh * 0.3), (clx, cly + bh * 0.5)], fill=rgba(fin), width=s * 5)
            d.pieslice([clx - bw * 0.35, cly - bh * 0.6, clx + bw * 0.35, cly + bh * 0.6], 200 if side < 0 else -20, 160 if side < 0 else 340,
                       fill=rgba(body), outline=INK, width=s * 2)
        d.ellipse([cx - bw, cy - bh, cx + bw, cy + bh], fill=rgba(body), outline=INK, width=s * 2)
        for side in (-1, 1):
            d.line([(cx + side * bw * 0.25, cy - bh * 0.8), (cx + side * bw * 0.3, cy - bh * 1.5)], fill=INK, width=s * 2)
            d.ellipse([cx + side * bw * 0.3 - 4 * s, cy - bh * 1.5 - 4 * s, cx + side * bw * 0.3 + 4 * s, cy - bh * 1.5 + 4 * s], fill=rgba((255, 255, 255)), outline=INK, width=s)
    return _scaled(w, h, paint)


def shell(w, h, opening):
    """opening 0 closed .. 1 wide open (shows the pearl)."""
    body, fin, _, _ = FISH_LOOK["SHELL"]

    def paint(d, W, H, s):
        cx, cy = W * 0.5, H * 0.7
        bw, bh = W * 0.4, H * 0.25
        d.chord([cx - bw, cy - bh * 0.4, cx + bw, cy + bh], 0, 180, fill=rgba(fin), outline=INK, width=s * 2)
        if opening > 0.05:
            d.ellipse([cx - bw * 0.6, cy - bh * 0.5 * opening, cx + bw * 0.6, cy + bh * 0.4], fill=rgba((200, 90, 120)))
            r = bh * 0.3 * opening
            d.ellipse([cx - r, cy - r * 0.5, cx + r, cy + r * 1.5], fill=rgba((250, 250, 255)), outline=INK, width=s)
        top = cy - bh * 0.4 - bh * 2.2 * opening
        d.pieslice([cx - bw, top - bh, cx + bw, cy + bh * 0.2 - bh * 2.0 * opening + bh * 0.6], 180, 360,
                   fill=rgba(body), outline=INK, width=s * 2)
        for k in range(-3, 4):
            d.line([(cx, cy - bh * 0.4 - bh * 2.0 * opening + bh * 0.4), (cx + k * bw * 0.28, top - bh * 0.6)],
                   fill=rgba(fin), width=s * 2)
    return _scaled(w, h, paint)


def ground(kind, w, h, seed):
    r = rng("ground", kind, seed, w, h)
    img = new(w, h)
    d = ImageDraw.Draw(img)
    base = {"SAND": PAL["sand"], "STONE": PAL["stone"], "ROCK": (140, 110, 90)}[kind]
    d.chord([-w * 0.05, h * 0.25, w * 1.05, h * 1.7], 180, 360, fill=rgba(base), outline=INK, width=2)
    if kind == "SAND":
        for _ in range(w // 2):
            x, y = r.uniform(4, w - 4), r.uniform(h * 0.45, h - 3)
            d.point((x, y), fill=rgba(PAL["sand_dark"]))
        d.arc([w * 0.1, h * 0.5, w * 0.5, h * 0.9], 200, 340, fill=rgba(PAL["sand_dark"]), width=2)
    else:
        n = 9 if kind == "STONE" else 5
        for k in range(n):
            cw = r.uniform(w * 0.08, w * 0.16) * (1 if kind == "STONE" else 1.8)
            x = r.uniform(cw, w - cw)
            y = r.uniform(h * 0.45, h - cw * 0.5)
            c = shade(base, r.uniform(0.8, 1.2))
            d.ellipse([x - cw, y - cw * 0.6, x + cw, y + cw * 0.6], fill=rgba(c), outline=INK, width=2)
    return img


def grass(kind, w, h, seed):
    col = {"GREEN_GRASS": PAL["leaf"], "BLUE_GRASS": (70, 140, 230), "RED_GRASS": (220, 70, 80)}[kind]
    r = rng("grass", kind, seed, w, h)

    def paint(d, W, H, s):
        for k in range(5):
            x = W * (0.2 + 0.15 * k)
            pts = []
            for j in range(7):
                y = H - j * H / 6.5
                pts.append((x + math.sin(j * 0.9 + k + seed) * W * 0.09, y))
            d.line(pts, fill=rgba(shade(col, 0.7)), width=int(W * 0.11) + 2 * s)
            d.line(pts, fill=rgba(shade(col, 1.0 + 0.08 * (k % 2))), width=int(W * 0.07))
    return _scaled(w, h, paint)


def house(kind, w, h):
    def paint(d, W, H, s):
        if kind == "CASTLE":
            c = (230, 200, 150)
            d.rectangle([W * 0.15, H * 0.35, W * 0.85, H * 0.98], fill=rgba(c), outline=INK, width=2 * s)
            for x0 in (0.05, 0.65):
                d.rectangle([W * x0, H * 0.15, W * (x0 + 0.3), H * 0.98], fill=rgba(shade(c, 0.9)), outline=INK, width=2 * s)
                for k in range(3):
                    d.rectangle([W * (x0 + k * 0.11), H * 0.05, W * (x0 + k * 0.11 + 0.07), H * 0.16], fill=rgba(shade(c, 0.9)), outline=INK, width=s)
            d.chord([W * 0.38, H * 0.6, W * 0.62, H * 1.2], 180, 360, fill=rgba(PAL["deep"]), outline=INK, width=s)
            d.polygon([(W * 0.5, H * 0.0), (W * 0.5, H * 0.3), (W * 0.7, H * 0.1)], fill=rgba(PAL["coral"]))
        elif kind == "CHEST":
            d.rectangle([W * 0.05, H * 0.4, W * 0.95, H * 0.98], fill=rgba(PAL["wood"]), outline=INK, width=2 * s)
            d.chord([W * 0.05, H * 0.05, W * 0.95, H * 0.75], 180, 360, fill=rgba(shade(PAL["wood"], 1.1)), outline=INK, width=2 * s)
            d.rectangle([W * 0.05, H * 0.38, W * 0.95, H * 0.46], fill=rgba(PAL["sun"]), outline=INK, width=s)
            d.rectangle([W * 0.42, H * 0.42, W * 0.58, H * 0.62], fill=rgba(PAL["sun"]), outline=INK, width=s)
            d.ellipse([W * 0.3, H * 0.2, W * 0.45, H * 0.32], fill=rgba((255, 240, 150)))
        else:
            d.pieslice([W * 0.02, H * 0.05, W * 0.98, H * 1.8], 180, 360, fill=rgba((250, 200, 180)), outline=INK, width=2 * s)
            for k in range(-3, 4):
                d.line([(W * 0.5, H * 0.95), (W * (0.5 + k * 0.14), H * 0.12)], fill=rgba((220, 150, 130)), width=2 * s)
            d.ellipse([W * 0.4, H * 0.8, W * 0.6, H * 1.0], fill=rgba((230, 170, 150)), outline=INK, width=s)
    return _scaled(w, h, paint)


def coral(kind, w, h, seed):
    col = {"RED_CORAL": PAL["coral"], "BLUE_CORAL": (90, 160, 250), "YELLOW_CORAL": (250, 210, 70)}[kind]

    def paint(d, W, H, s):
        def branch(x, y, ang, ln, wd, depth):
            x2, y2 = x + math.cos(ang) * ln, y - math.sin(ang) * ln
            d.line([(x, y), (x2, y2)], fill=rgba(shade(col, 0.75)), width=int(wd + 2 * s))
            d.line([(x, y), (x2, y2)], fill=rgba(col), width=int(wd))
            d.ellipse([x2 - wd / 2, y2 - wd / 2, x2 + wd / 2, y2 + wd / 2], fill=rgba(shade(col, 1.2)))
            if depth:
                branch(x2, y2, ang + 0.45 + 0.1 * (seed % 3), ln * 0.7, wd * 0.75, depth - 1)
                branch(x2, y2, ang - 0.45 - 0.1 * (seed % 2), ln * 0.7, wd * 0.75, depth - 1)
        branch(W * 0.5, H, math.pi / 2, H * 0.38, W * 0.12, 3)
    return _scaled(w, h, paint)


def food(n, w, h):
    """Food tins: 1 flakes, 2 pellets, 3 worms, 4 shrimps; each its own colour."""
    col = [(250, 170, 60), (100, 190, 90), (220, 90, 90), (150, 110, 220)][n - 1]

    def paint(d, W, H, s):
        d.rounded_rectangle([W * 0.12, H * 0.22, W * 0.88, H * 0.97], int(W * 0.12), fill=rgba(col), outline=INK, width=2 * s)
        d.rounded_rectangle([W * 0.08, H * 0.08, W * 0.92, H * 0.28], int(W * 0.06), fill=rgba(shade(col, 0.75)), outline=INK, width=2 * s)
        d.rounded_rectangle([W * 0.22, H * 0.42, W * 0.78, H * 0.8], int(W * 0.08), fill=rgba((255, 250, 235)), outline=INK, width=s)
        f = font(int(H * 0.3 / s * s), True)
        d.text((W * 0.5, H * 0.61), str(n), font=f, fill=rgba(shade(col, 0.6)), anchor="mm")
    return _scaled(w, h, paint)


def medicine(n, w, h):
    col = [(90, 200, 120), (230, 90, 150)][n - 1]

    def paint(d, W, H, s):
        d.rounded_rectangle([W * 0.2, H * 0.3, W * 0.8, H * 0.97], int(W * 0.15), fill=rgba(col, 230), outline=INK, width=2 * s)
        d.rectangle([W * 0.35, H * 0.12, W * 0.65, H * 0.32], fill=rgba((245, 245, 250)), outline=INK, width=2 * s)
        d.rectangle([W * 0.3, H * 0.03, W * 0.7, H * 0.14], fill=rgba(PAL["red"]), outline=INK, width=2 * s)
        cx, cy, r = W * 0.5, H * 0.62, W * 0.16
        d.rectangle([cx - r, cy - r * 0.35, cx + r, cy + r * 0.35], fill=rgba((255, 255, 255)))
        d.rectangle([cx - r * 0.35, cy - r, cx + r * 0.35, cy + r], fill=rgba((255, 255, 255)))
    return _scaled(w, h, paint)


def vitamin(kind, w, h):
    col = (80, 210, 90) if kind == "growth" else (250, 200, 50)

    def paint(d, W, H, s):
        d.rounded_rectangle([W * 0.15, H * 0.25, W * 0.85, H * 0.95], int(W * 0.2), fill=rgba((250, 250, 255), 230), outline=INK, width=2 * s)
        d.rectangle([W * 0.15, H * 0.1, W * 0.85, H * 0.28], fill=rgba(shade(col, 0.8)), outline=INK, width=2 * s)
        for k in range(3):
            x = W * (0.3 + 0.2 * k)
            d.ellipse([x - W * 0.09, H * 0.55, x + W * 0.09, H * 0.75], fill=rgba(col), outline=INK, width=s)
        f = font(max(6, int(H * 0.22)), True)
        d.text((W * 0.5, H * 0.42), "+" if kind == "growth" else "$", font=f, fill=rgba(shade(col, 0.6)), anchor="mm")
    return _scaled(w, h, paint)


def brush(n, w, h, angle=0):
    col = (60, 140, 230) if n == 1 else (240, 120, 60)

    def paint(d, W, H, s):
        d.rounded_rectangle([W * 0.38, H * 0.02, W * 0.62, H * 0.62], int(W * 0.1), fill=rgba(col), outline=INK, width=2 * s)
        d.rectangle([W * 0.2, H * 0.6, W * 0.8, H * 0.75], fill=rgba(PAL["wood"]), outline=INK, width=2 * s)
        for k in range(7):
            x = W * (0.24 + k * 0.087)
            d.line([(x, H * 0.75), (x, H * 0.97)], fill=rgba((250, 240, 200) if n == 1 else (120, 90, 60)), width=2 * s)
    img = _scaled(w, h, paint)
    if angle:
        img = img.rotate(angle, resample=Image.BICUBIC)
    return img


def computer(w, h):
    def paint(d, W, H, s):
        d.rounded_rectangle([W * 0.08, H * 0.05, W * 0.92, H * 0.7], int(W * 0.06), fill=rgba((220, 225, 235)), outline=INK, width=2 * s)
        d.rectangle([W * 0.15, H * 0.12, W * 0.85, H * 0.6], fill=rgba(PAL["sea"]))
        d.ellipse([W * 0.35, H * 0.25, W * 0.65, H * 0.45], fill=rgba(PAL["sun"]))
        d.rectangle([W * 0.42, H * 0.7, W * 0.58, H * 0.82], fill=rgba((190, 195, 205)), outline=INK, width=s)
        d.rounded_rectangle([W * 0.2, H * 0.82, W * 0.8, H * 0.95], int(W * 0.04), fill=rgba((200, 205, 215)), outline=INK, width=2 * s)
    return _scaled(w, h, paint)


def panel(w, h, fill=None, border=None, radius=14, alpha=235, gloss=True, open_top=False):
    """A rounded box with a border. Without gloss the fill is flat, so that
    a picture cut into tiles repeats without seams; an open top has no top
    border (the box runs on from above)."""
    fill = fill or PAL["panel"]
    border = border or PAL["sun"]
    img = new(w, h)
    d = ImageDraw.Draw(img)
    r = min(radius, w // 3, h // 3)
    top = -2 * r if open_top else 0
    d.rounded_rectangle([0, top, w - 1, h - 1], r, fill=rgba(shade(border, 0.7)))
    d.rounded_rectangle([2, top + 2, w - 3, h - 3], r, fill=rgba(border))
    d.rounded_rectangle([5, top + 5, w - 6, h - 6], max(1, r - 3), fill=rgba(fill, alpha))
    if gloss:
        hl = new(w, h)
        ImageDraw.Draw(hl).rounded_rectangle([7, 7, w - 8, max(8, h // 2)], max(1, r - 4), fill=(255, 255, 255, 40))
        img.alpha_composite(hl)
    return img


def button(w, h, hover=False):
    # dark enough that a white caption reads on it, the hover a shade lighter;
    # the caption's upper half lies on the gloss, which is laid over the face
    # (not cut into it) and stays faint
    base = (34, 104, 52) if not hover else (40, 120, 60)
    img = new(w, h)
    d = ImageDraw.Draw(img)
    r = h // 2
    d.rounded_rectangle([1, 3, w - 2, h - 1], r, fill=rgba(shade(base, 0.6)))
    d.rounded_rectangle([1, 1, w - 2, h - 4], r, fill=rgba(base), outline=INK, width=2)
    gloss = new(w, h)
    ImageDraw.Draw(gloss).rounded_rectangle([8, 5, w - 9, h // 2], r // 2, fill=(255, 255, 255, 20))
    img.alpha_composite(gloss)
    return img


def arrow_button(w, h, direction, hover=False):
    base = PAL["sun"] if hover else PAL["orange"]

    def paint(d, W, H, s):
        d.ellipse([W * 0.05, H * 0.05, W * 0.95, H * 0.95], fill=rgba(base), outline=INK, width=3 * s)
        if direction > 0:
            pts = [(W * 0.35, H * 0.25), (W * 0.75, H * 0.5), (W * 0.35, H * 0.75)]
        else:
            pts = [(W * 0.65, H * 0.25), (W * 0.25, H * 0.5), (W * 0.65, H * 0.75)]
        d.polygon(pts, fill=rgba((255, 255, 255)), outline=INK, width=2 * s)
    return _scaled(w, h, paint)


def bar(w, h, color, frame=False):
    img = new(w, h)
    d = ImageDraw.Draw(img)
    if frame:
        d.rounded_rectangle([0, 0, w - 1, h - 1], h // 2, fill=rgba(PAL["deep"], 200), outline=rgba(PAL["sun"]), width=3)
    else:
        d.rounded_rectangle([0, 0, w - 1, h - 1], max(1, h // 2), fill=rgba(color))
        d.rounded_rectangle([2, 1, w - 3, max(2, h // 2 - 1)], max(1, h // 4), fill=rgba(shade(color, 1.3)))
    return img


def glow(w, h, color=(255, 250, 180)):
    img = new(w, h)
    d = ImageDraw.Draw(img)
    m = max(2, min(w, h) // 8)
    d.rounded_rectangle([m, m, w - m, h - m], m * 2, fill=rgba(color, 200))
    return img.filter(ImageFilter.GaussianBlur(m * 0.7))


def bubble_icon(w, h, content=None):
    img = new(w, h)
    d = ImageDraw.Draw(img)
    d.ellipse([1, 1, w - 2, h - 2], fill=(235, 248, 255, 230), outline=INK, width=2)
    d.ellipse([w * 0.2, h * 0.15, w * 0.4, h * 0.3], fill=(255, 255, 255, 255))
    if content is not None:
        img.alpha_composite(content.resize((int(w * 0.7), int(h * 0.7)), Image.LANCZOS), (int(w * 0.15), int(h * 0.15)))
    return img


def star(w, h, color=None):
    color = color or PAL["sun"]

    def paint(d, W, H, s):
        cx, cy, R = W / 2, H / 2, min(W, H) * 0.48
        pts = []
        for k in range(10):
            a = -math.pi / 2 + k * math.pi / 5
            rr = R if k % 2 == 0 else R * 0.45
            pts.append((cx + math.cos(a) * rr, cy + math.sin(a) * rr))
        d.polygon(pts, fill=rgba(color), outline=INK, width=2 * s)
    return _scaled(w, h, paint)


def note_icon(w, h, double=False):
    def paint(d, W, H, s):
        d.ellipse([W * 0.05, H * 0.65, W * 0.5, H * 0.95], fill=rgba(PAL["violet"]), outline=INK, width=s * 2)
        d.line([(W * 0.47, H * 0.8), (W * 0.47, H * 0.08)], fill=INK, width=s * 3)
        d.polygon([(W * 0.47, H * 0.08), (W * 0.95, H * 0.22), (W * 0.47, H * 0.36)], fill=rgba(PAL["violet"]), outline=INK)
    return _scaled(w, h, paint)


def label(w, h, text, color=None, size=None, fg=(255, 255, 255)):
    img = new(w, h)
    d = ImageDraw.Draw(img)
    f = font(size or max(8, int(h * 0.6)), True)
    d.text((w / 2, h / 2), text, font=f, fill=rgba(fg), anchor="mm", stroke_width=2, stroke_fill=INK)
    return img
