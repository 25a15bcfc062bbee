"""Bitmap fonts rendered from DejaVu Sans, written in both of the engine's
font formats: the "Define" text format (font 0) and the symbols file with a
strip of 32-bit words (font 1)."""

import math
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFont

from common import FONT_BOLD, FONT_COND_BOLD, new, save_png, write_text, write_bytes, rgba, PAL

# Digits first: the first glyph gives the line height and the third the width
# of a space, and digits all share one advance, so both rules agree.
CHARS = "0123456789" + "".join(chr(c) for c in range(33, 127) if not chr(c).isdigit()) \
    + "\u00a9\u00e4\u00f6\u00fc\u00c4\u00d6\u00dc\u00df\u00e9\u00e8\u00ea\u00e0\u00e1" \
      "\u00f1\u00e7\u00ed\u00f3\u00fa\u00bf\u00a1\u20ac"

SHEET_WIDTH = 512


# Empty rows above and below font 1's letters in every cell.
TITLE_MARGIN = 5


class Glyphs:
    """Renders every character into its own cell of equal height."""

    def __init__(self, path, size, stroke, shadow, margin=0, narrow=0.0):
        self.font = ImageFont.truetype(path, size)
        self.stroke = stroke
        self.shadow = shadow
        # Digits drawn this much narrower than the font's own (0: as they
        # are), their outline kept as thick as the letters'.
        self.narrow = narrow
        ascent, descent = self.font.getmetrics()
        self.pad = stroke + (1 if shadow else 0)
        # the margin is room above and below the letters only
        self.height = ascent + descent + 2 * (self.pad + margin)
        self.base = self.pad + margin

    def body_width(self, ch):
        width = self.font.getlength(ch)
        if self.narrow and ch.isdigit():
            width *= 1.0 - self.narrow
        return int(math.ceil(width))

    def advance(self, ch):
        return self.body_width(ch) + 2 * self.pad

    def cell(self, ch):
        if self.narrow and ch.isdigit():
            return self.narrow_cell(ch)
        w = self.advance(ch)
        img = new(w, self.height)
        d = ImageDraw.Draw(img)
        x, y = self.pad, self.base
        if self.shadow:
            d.text((x + 1, y + 1), ch, font=self.font, fill=(30, 40, 70, 150))
        if self.stroke:
            d.text((x, y), ch, font=self.font, fill=(255, 255, 255, 255),
                   stroke_width=self.stroke, stroke_fill=rgba(PAL["ink"]))
        else:
            d.text((x, y), ch, font=self.font, fill=(255, 255, 255, 255))
        return img

    def narrow_cell(self, ch):
        """The letter drawn at full width, squeezed, then outlined: a round
        pen of the stroke's radius run along the squeezed shape."""
        full = int(math.ceil(self.font.getlength(ch)))
        body = Image.new("L", (full, self.height), 0)
        ImageDraw.Draw(body).text((0, self.base), ch, font=self.font, fill=255)
        body = body.resize((self.body_width(ch), self.height), Image.LANCZOS)
        w = self.advance(ch)
        shape = Image.new("L", (w, self.height), 0)
        shape.paste(body, (self.pad, 0))
        outline = Image.new("L", (w, self.height), 0)
        r = self.stroke
        for dx in range(-r, r + 1):
            for dy in range(-r, r + 1):
                if dx * dx + dy * dy <= r * r + 1:
                    outline = ImageChops.lighter(outline, ImageChops.offset(shape, dx, dy))
        img = Image.new("RGBA", (w, self.height), rgba(PAL["ink"]))
        img.putalpha(outline)
        white = Image.new("RGBA", (w, self.height), (255, 255, 255, 255))
        white.putalpha(shape)
        img.alpha_composite(white)
        return img


def font_format0(out_dir, rel, name, glyphs):
    """Sheet in rows of SHEET_WIDTH; rectangles give each glyph's place."""
    h = glyphs.height
    x = y = 0
    rects = []
    cells = []
    for ch in CHARS:
        w = glyphs.advance(ch)
        if x + w >= SHEET_WIDTH:
            x, y = 0, y + h
        rects.append((x, y, w, h))
        cells.append(glyphs.cell(ch))
        x += w
    sheet = new(SHEET_WIDTH, y + h)
    for (gx, gy, _, _), c in zip(rects, cells):
        sheet.alpha_composite(c, (gx, gy))
    save_png(sheet, "%s/%s/%s.png" % (out_dir, rel, name))

    pairs = ["AV", "AT", "AY", "LT", "LY", "TA", "Te", "To", "VA", "Va", "Yo", "We"]
    values = []
    for p in pairs:
        k = glyphs.font.getlength(p) - glyphs.font.getlength(p[0]) - glyphs.font.getlength(p[1])
        values.append(int(round(k)))
    lines = ["Define CharList"]
    lines += ["'%s'," % ch for ch in CHARS[:-1]] + ["'%s'" % CHARS[-1], ");"]
    lines.append("Define WidthList")
    widths = [str(r[2]) for r in rects]
    for i in range(0, len(widths), 16):
        chunk = widths[i:i + 16]
        last = i + 16 >= len(widths)
        lines.append(",".join(chunk) + (");" if last else ","))
    lines.append("Define RectList")
    # The last group of a list has no comma after it: the reader would carry
    # the comma's field step to the closing line and count one group more.
    lines += ["(%d, %d, %d, %d)," % r for r in rects[:-1]] + ["(%d, %d, %d, %d)" % rects[-1], ");"]
    lines.append("Define OffsetList")
    lines += ["(0, 0)," for _ in rects[:-1]] + ["(0, 0)", ");"]
    lines.append("Define KerningPairs")
    lines += ['"%s",' % p for p in pairs] + [");"]
    lines.append("Define KerningValues")
    lines.append(",".join(str(v) for v in values) + ");")
    write_text("%s/%s/%s.txt" % (out_dir, rel, name), "\n".join(lines) + "\n")
    return dict(path="%s/%s.png" % (rel, name), data_path="%s/%s.txt" % (rel, name),
                height=h, max_length=SHEET_WIDTH)


def font_format1(out_dir, rel, name, glyphs):
    """A strip of glyphs folded into rows of SHEET_WIDTH exactly as the reader
    folds it: a glyph that would reach a row's end moves to the next row."""
    h = glyphs.height
    m = SHEET_WIDTH
    words = []
    places = []
    strip_x = 0
    z = 0
    for ch in CHARS:
        w = glyphs.advance(ch)
        words.append(struct.pack("<I", (w << 16) | strip_x))
        if (strip_x + z + w) // m > (strip_x + z) // m:
            z += m - ((strip_x + z) % m)
        left = (strip_x + z) % m
        top = h * ((strip_x + z) // m)
        places.append((left, top))
        strip_x += w
    rows = max(t for _, t in places) // h + 1
    sheet = new(m, rows * h)
    for ch, (left, top) in zip(CHARS, places):
        sheet.alpha_composite(glyphs.cell(ch), (left, top))
    save_png(sheet, "%s/%s/%s.png" % (out_dir, rel, name))
    write_text("%s/%s/%s_symbols.txt" % (out_dir, rel, name), CHARS, bom=True)
    write_bytes("%s/%s/%s.dat" % (out_dir, rel, name), b"".join(words))
    return dict(path="%s/%s.png" % (rel, name), data_path="%s/%s.dat" % (rel, name),
                symbols_path="%s/%s_symbols.txt" % (rel, name), height=h, max_length=m)


def build(out_dir):
    """Font 0: body text (briefings, hints, statistics). Font 1: outlined
    captions and floating texts."""
    f0 = font_format0(out_dir, "Fonts", "font_text", Glyphs(FONT_BOLD, 27, 0, True))
    # Font 1's cells have room above and below the letters: the HUD places
    # its labels from above the screen's top edge (y -6 and -8) and down to
    # the bottom of its 99-pixel panel, so the letters must start about ten
    # pixels into a cell and end within 34. Narrow digits keep a high-score
    # rank such as "12." (drawn 45 pixels left of the name) clear of the name.
    f1 = font_format1(out_dir, "Fonts", "font_title",
                      Glyphs(FONT_COND_BOLD, 23, 3, False, margin=TITLE_MARGIN, narrow=0.2))
    f0.update(id="FONT_TEXT", kind="Font", interval=-1)
    f1.update(id="FONT_TITLE", kind="FontFi", interval=-4)
    return [f0, f1]
