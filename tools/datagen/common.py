"""Shared helpers of the data generator: palette, deterministic noise,
drawing primitives and file writers that give the same bytes on every run."""

import io
import math
import os
import random
import struct
import zlib

from PIL import Image, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
FONT_SANS = FONT_DIR + "DejaVuSans.ttf"
FONT_BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"
FONT_COND_BOLD = FONT_DIR + "DejaVuSansCondensed-Bold.ttf"

# One bright aquarium palette for the whole game.
PAL = {
    "deep": (18, 62, 112),
    "sea": (34, 118, 178),
    "water": (86, 182, 226),
    "foam": (206, 240, 250),
    "sand": (236, 212, 150),
    "sand_dark": (196, 164, 102),
    "coral": (248, 116, 96),
    "coral_dark": (200, 70, 64),
    "sun": (255, 214, 90),
    "leaf": (72, 184, 96),
    "leaf_dark": (36, 122, 70),
    "wood": (166, 108, 62),
    "wood_dark": (110, 68, 40),
    "ink": (22, 34, 58),       # outlines: never pure black (black is the colour key)
    "white": (250, 252, 255),
    "panel": (24, 88, 140),
    "panel_light": (64, 148, 204),
    "stone": (150, 160, 170),
    "stone_dark": (96, 104, 118),
    "pink": (246, 160, 196),
    "violet": (150, 110, 210),
    "red": (226, 64, 60),
    "green": (80, 200, 90),
    "yellow": (250, 220, 60),
    "blue": (60, 120, 230),
    "orange": (250, 150, 50),
    "skin": (246, 204, 170),
    "hair": (120, 62, 40),
}


def rgba(c, a=255):
    return (c[0], c[1], c[2], a)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def shade(c, f):
    """Lighter for f > 1, darker for f < 1."""
    if f >= 1:
        return mix(c, (255, 255, 255), min(1.0, f - 1))
    return mix(c, (0, 0, 0), 1 - f)


def rng(*seed):
    """A private generator seeded from the given values: same numbers every run."""
    return random.Random("|".join(str(s) for s in seed))


def new(w, h, color=(0, 0, 0, 0)):
    return Image.new("RGBA", (w, h), color)


def vgradient(w, h, top, bottom):
    img = Image.new("RGBA", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        c = mix(top, bottom, y / max(1, h - 1))
        d.line([(0, y), (w, y)], fill=rgba(c[:3], c[3] if len(c) > 3 else 255))
    return img


def font(size, bold=False, cond=False):
    if cond:
        return ImageFont.truetype(FONT_COND_BOLD, size)
    return ImageFont.truetype(FONT_BOLD if bold else FONT_SANS, size)


def text_center(d, xy, s, size, fill, bold=True, outline=None, stroke=2):
    f = font(size, bold)
    kw = {}
    if outline is not None:
        kw = {"stroke_width": stroke, "stroke_fill": rgba(outline)}
    d.text(xy, s, font=f, fill=rgba(fill), anchor="mm", **kw)


def rounded(d, box, r, fill, outline=None, width=2):
    d.rounded_rectangle(box, r, fill=fill, outline=outline, width=width)


def paste(dst, src, x, y):
    dst.alpha_composite(src, (int(x), int(y)))


def fit(img, w, h):
    """Scale a picture into w x h keeping its aspect, centred on a clear cell."""
    iw, ih = img.size
    s = min(w / iw, h / ih)
    nw, nh = max(1, int(iw * s)), max(1, int(ih * s))
    small = img.resize((nw, nh), Image.LANCZOS)
    out = new(w, h)
    out.alpha_composite(small, ((w - nw) // 2, (h - nh) // 2))
    return out


def unkey(img):
    """Opaque pure black is the loaders' colour key; nudge it so that dark
    pixels stay visible."""
    px = img.load()
    w, h = img.size
    data = img.tobytes()
    if b"\x00\x00\x00\xff" not in data:
        return img
    import numpy as np
    a = np.frombuffer(data, dtype=np.uint8).reshape(h, w, 4).copy()
    mask = (a[:, :, 0] == 0) & (a[:, :, 1] == 0) & (a[:, :, 2] == 0) & (a[:, :, 3] == 255)
    a[mask] = (6, 8, 12, 255)
    return Image.frombytes("RGBA", (w, h), a.tobytes())


def clean_alpha(img):
    """Fully transparent pixels become transparent black so the files compress well."""
    import numpy as np
    w, h = img.size
    a = np.frombuffer(img.tobytes(), dtype=np.uint8).reshape(h, w, 4).copy()
    a[a[:, :, 3] == 0] = 0
    return Image.frombytes("RGBA", (w, h), a.tobytes())


def additive(img, box=None):
    """A picture drawn additively: the game adds its colour in full and never
    looks at its alpha, so the light is carried by the colour alone. Each
    pixel becomes its colour times its alpha, fully opaque: the light fades
    to black, and on black it looks as the translucent painting did. Pure
    black is the loaders' colour key, which only makes it transparent black:
    it adds nothing either way. With a box (left, top, right, bottom) only
    that part of the picture is made so; there pure black is written as
    transparent black, so that the nudge of `unkey` leaves it alone."""
    import numpy as np
    img = img.convert("RGBA")
    w, h = img.size
    a = np.frombuffer(img.tobytes(), dtype=np.uint8).reshape(h, w, 4).astype(np.uint32)
    l, t, r, b = box or (0, 0, w, h)
    part = a[t:b, l:r]
    rgb = (part[:, :, :3] * part[:, :, 3:4] + 127) // 255
    part[:, :, :3] = rgb
    part[:, :, 3] = 255
    if box is not None:
        part[(rgb == 0).all(axis=2)] = 0
    return Image.frombytes("RGBA", (w, h), a.astype(np.uint8).tobytes())


def save_png(img, path, opaque=False, light=False):
    """light: the picture is drawn additively (see `additive`); it is saved
    as colour only and its black is kept pure."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if light:
        buf = io.BytesIO()
        additive(img).convert("RGB").save(buf, "PNG", optimize=True)
        with open(path, "wb") as f:
            f.write(buf.getvalue())
        return
    img = unkey(img.convert("RGBA"))
    if opaque:
        img = img.convert("RGB")
        if b"\x00\x00\x00" in img.tobytes():
            img = unkey(img.convert("RGBA")).convert("RGB")
    else:
        img = clean_alpha(img)
    buf = io.BytesIO()
    img.save(buf, "PNG", optimize=True)
    with open(path, "wb") as f:
        f.write(buf.getvalue())


def write_text(path, text, bom=False):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = text.encode("utf-8")
    if bom:
        data = b"\xef\xbb\xbf" + data
    with open(path, "wb") as f:
        f.write(data)


def write_bytes(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def xml_attr(value):
    s = str(value)
    s = s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    s = s.replace('"', "&quot;").replace("\n", "&cr;")
    return s


def fmt_float(v):
    """Plain decimal text without exponent, as the data readers want it."""
    s = ("%.3f" % v).rstrip("0").rstrip(".")
    return s if s not in ("", "-0") else "0"
