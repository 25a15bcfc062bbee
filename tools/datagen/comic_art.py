"""What the comic panels show besides the rooms and the heroine: the people
of the story, dust and cobwebs, packing boxes, the big hall's tanks, the
party. images.comic_scene lays these over the room of its scene."""

import math

from PIL import Image, ImageDraw

import anims as A
import painters as P
from common import PAL, rgba, shade, new, font, text_center
from gamedata import KINDS

INK = rgba(PAL["ink"])
PLATE_SIZE = 13   # the shop's name on the panel's doormat
# The doormat fills the panel's bottom band: whatever stands in the room
# stands above it, so that nothing hides the shop's name.
MAT_BAND = 48
PERSON_H = 184


def room(picture, mat_top, w, h):
    """A room picture shrunk into a panel of w x h. The doormat with the
    shop's name runs past the room's bottom edge, where the panel's frame
    would cut it: the panel shows the room down to the mat's top, and
    name_plate lays a mat of its own wholly inside."""
    return picture.crop((0, 0, picture.size[0], mat_top)).resize((w, h), Image.LANCZOS)


def name_plate(img, name, floor, centre_x):
    """The shop's name on a doormat standing clear of the panel's frame."""
    d = ImageDraw.Draw(img)
    f = font(PLATE_SIZE, True)
    tw = f.getlength(name)
    w, h = img.size
    l, r = int(centre_x - tw / 2 - 12), int(centre_x + tw / 2 + 12)
    r = min(r, w - 14)
    l = r - int(tw + 24) if r == w - 14 else l
    t, b = h - 14 - PLATE_SIZE - 12, h - 14
    d.rounded_rectangle([l, t, r, b], 8, fill=rgba(shade(floor, 0.55)), outline=INK, width=2)
    text_center(d, ((l + r) / 2, (t + b) / 2 + 1), name, PLATE_SIZE, PAL["white"], True, PAL["ink"], 2)


def person(w, h, hair, top, legs, old=False, hat=None, skirt=False):
    """A grown-up or a friend seen from the front, outlined like the heroine.
    old: white hair, beard, glasses and a cane; hat: the colour of a party hat."""
    def paint(d, W, H, s):
        cx, r = W * 0.5, W * 0.17
        hy = H * 0.14
        skin = rgba(PAL["skin"])
        for side in (-1, 1):   # legs
            d.line([(cx + side * W * 0.09, H * 0.6), (cx + side * W * 0.1, H * 0.95)], fill=rgba(legs), width=int(W * 0.12))
            d.ellipse([cx + side * W * 0.1 - W * 0.09, H * 0.93, cx + side * W * 0.1 + W * 0.09, H * 0.99],
                      fill=rgba(PAL["wood_dark"]), outline=INK, width=s)
        for side in (-1, 1):   # arms
            hand = (cx + side * W * 0.34, H * (0.55 if not old or side < 0 else 0.5))
            if hat and side > 0:
                hand = (cx + side * W * 0.36, H * 0.12)      # waving at the party
            d.line([(cx + side * W * 0.18, H * 0.3), hand], fill=rgba(top), width=int(W * 0.11))
            d.ellipse([hand[0] - W * 0.06, hand[1] - W * 0.06, hand[0] + W * 0.06, hand[1] + W * 0.06],
                      fill=skin, outline=INK, width=s)
        body = ([(cx - W * 0.2, H * 0.27), (cx + W * 0.2, H * 0.27), (cx + W * 0.3, H * 0.65), (cx - W * 0.3, H * 0.65)]
                if skirt else [(cx - W * 0.21, H * 0.27), (cx + W * 0.21, H * 0.27), (cx + W * 0.2, H * 0.62), (cx - W * 0.2, H * 0.62)])
        d.polygon(body, fill=rgba(top), outline=INK, width=2 * s)
        if old:   # cardigan buttons and a cane in his right hand
            for k in range(3):
                y = H * (0.36 + 0.08 * k)
                d.ellipse([cx - W * 0.025, y, cx + W * 0.025, y + W * 0.05], fill=rgba(PAL["sun"]))
            d.line([(cx + W * 0.36, H * 0.5), (cx + W * 0.4, H * 0.98)], fill=rgba(PAL["wood_dark"]), width=int(W * 0.05))
            d.arc([cx + W * 0.27, H * 0.47, cx + W * 0.41, H * 0.53], 180, 360, fill=rgba(PAL["wood_dark"]), width=int(W * 0.05))
        d.ellipse([cx - r, hy - r, cx + r, hy + r], fill=skin, outline=INK, width=2 * s)
        if old:
            for side in (-1, 1):   # white tufts over the ears, glasses, beard
                d.ellipse([cx + side * r * 0.95 - r * 0.35, hy - r * 0.6, cx + side * r * 0.95 + r * 0.35, hy + r * 0.3],
                          fill=rgba(PAL["white"]), outline=INK, width=s)
                d.ellipse([cx + side * r * 0.42 - r * 0.26, hy - r * 0.2, cx + side * r * 0.42 + r * 0.26, hy + r * 0.3],
                          outline=INK, width=s * 2)
            d.line([(cx - r * 0.16, hy), (cx + r * 0.16, hy)], fill=INK, width=s * 2)
            d.chord([cx - r * 0.8, hy + r * 0.05, cx + r * 0.8, hy + r * 1.35], 0, 180, fill=rgba(PAL["white"]), outline=INK, width=s)
        else:
            d.chord([cx - r * 1.05, hy - r * 1.1, cx + r * 1.05, hy + r * 0.3], 180, 360, fill=rgba(hair))
            for side in (-1, 1):
                ex = cx + side * r * 0.4
                d.ellipse([ex - r * 0.12, hy, ex + r * 0.12, hy + r * 0.3], fill=INK)
            d.arc([cx - r * 0.4, hy + r * 0.3, cx + r * 0.4, hy + r * 0.75], 20, 160, fill=INK, width=2 * s)
        if hat:
            d.polygon([(cx - r * 0.6, hy - r * 0.8), (cx + r * 0.2, hy - r * 2.3), (cx + r * 0.7, hy - r * 0.6)],
                      fill=rgba(hat), outline=INK, width=s)
    return A.outlined(P._scaled(w, h, paint, 2))


def cobweb(d, x, y, r, sx, sy):
    """A cobweb in a corner at (x, y), spreading r pixels towards (sx, sy)."""
    grey = (235, 235, 230, 220)
    for k in range(5):
        a = k * math.pi / 8
        d.line([(x, y), (x + sx * r * math.cos(a), y + sy * r * math.sin(a))], fill=grey, width=1)
    for ring in (0.35, 0.6, 0.85):
        pts = [(x + sx * r * ring * math.cos(k * math.pi / 8), y + sy * r * ring * math.sin(k * math.pi / 8))
               for k in range(5)]
        d.line(pts, fill=grey, width=1)


def dust_tank(img, tank, x, y, seed):
    """A tank left for years: grey film on the glass, specks and cobwebs."""
    tw, th = tank.size
    film = new(tw, th)
    fd = ImageDraw.Draw(film)
    fd.rectangle([int(tw * 0.05), int(th * 0.14), int(tw * 0.95), int(th * 0.87)], fill=(150, 135, 110, 170))
    for k in range(40):
        px, py = (seed * 37 + k * 53) % (tw - 16) + 8, (seed * 11 + k * 29) % (th - 30) + 20
        fd.ellipse([px, py, px + 3, py + 2], fill=(110, 95, 75, 220))
    img.alpha_composite(tank, (x, y))
    img.alpha_composite(film, (x, y))
    d = ImageDraw.Draw(img)
    cobweb(d, x + 6, y + int(th * 0.15), 30, 1, 1)
    cobweb(d, x + tw - 6, y + int(th * 0.15), 24, -1, 1)


def sparkle(d, x, y, r):
    """A glint on clean glass."""
    d.polygon([(x, y - r), (x + r * 0.25, y - r * 0.25), (x + r, y), (x + r * 0.25, y + r * 0.25),
               (x, y + r), (x - r * 0.25, y + r * 0.25), (x - r, y), (x - r * 0.25, y - r * 0.25)],
              fill=rgba(PAL["white"]), outline=INK)


def bucket(d, x, y):
    """A bucket of soapy water standing at (x, bottom y)."""
    d.polygon([(x, y - 46), (x + 52, y - 46), (x + 46, y), (x + 6, y)], fill=rgba(PAL["sea"]), outline=INK, width=2)
    for k in range(5):
        bx = x + 4 + k * 11
        d.ellipse([bx, y - 58 + (k % 2) * 4, bx + 14, y - 44], fill=rgba(PAL["foam"]), outline=INK)
    d.arc([x + 4, y - 72, x + 48, y - 24], 200, 340, fill=INK, width=2)


def box(w, h, open_top):
    """A cardboard moving box, taped shut or open with its flaps up."""
    card = (196, 150, 100)

    def paint(d, W, H, s):
        top = H * (0.3 if open_top else 0.12)
        if open_top:
            d.polygon([(W * 0.04, top), (0, H * 0.05), (W * 0.3, H * 0.1), (W * 0.3, top)], fill=rgba(shade(card, 0.85)), outline=INK, width=s)
            d.polygon([(W * 0.96, top), (W, H * 0.05), (W * 0.7, H * 0.1), (W * 0.7, top)], fill=rgba(shade(card, 0.85)), outline=INK, width=s)
        d.rectangle([W * 0.04, top, W * 0.96, H * 0.98], fill=rgba(card), outline=INK, width=2 * s)
        if not open_top:
            d.rectangle([W * 0.44, top, W * 0.56, H * 0.5], fill=rgba((230, 200, 140)), outline=INK, width=s)
            # "glass inside" mark: a stemmed glass
            gx, gy = W * 0.5, H * 0.72
            d.polygon([(gx - W * 0.1, gy - H * 0.14), (gx + W * 0.1, gy - H * 0.14), (gx, gy)], outline=INK, width=2 * s)
            d.line([(gx, gy), (gx, gy + H * 0.12)], fill=INK, width=2 * s)
            d.line([(gx - W * 0.06, gy + H * 0.12), (gx + W * 0.06, gy + H * 0.12)], fill=INK, width=2 * s)
    return P._scaled(w, h, paint, 2)


def speech(d, x, y, text, size=14):
    """A small speech bubble with its tail down at (x, y)."""
    f = font(size, True)
    tw = f.getlength(text)
    l, t, r, b = x - tw / 2 - 8, y - size - 26, x + tw / 2 + 8, y - 10
    d.polygon([(x - 6, b - 1), (x + 6, b - 1), (x, y)], fill=rgba(PAL["white"]), outline=INK)
    d.rounded_rectangle([l, t, r, b], 8, fill=rgba(PAL["white"]), outline=INK, width=2)
    d.polygon([(x - 5, b - 2), (x + 5, b - 2), (x, y - 2)], fill=rgba(PAL["white"]))
    d.text((x, (t + b) / 2), text, font=f, fill=INK, anchor="mm")


def heart(d, x, y, r):
    d.ellipse([x - r, y - r, x, y], fill=rgba(PAL["red"]), outline=INK)
    d.ellipse([x, y - r, x + r, y], fill=rgba(PAL["red"]), outline=INK)
    d.polygon([(x - r + 1, y - r / 2 + 1), (x + r - 1, y - r / 2 + 1), (x, y + r)], fill=rgba(PAL["red"]))
    d.line([(x - r, y - r / 2), (x, y + r), (x + r, y - r / 2)], fill=INK)


# The people of the story: hair, top, legs and the extras of person().
GRANDPA = dict(hair=PAL["white"], top=(150, 100, 70), legs=(90, 90, 110), old=True)
VISITORS = [dict(hair=PAL["wood_dark"], top=PAL["violet"], legs=(70, 80, 120)),
            dict(hair=PAL["sun"], top=PAL["coral"], legs=(60, 60, 80), skirt=True),
            dict(hair=(40, 30, 30), top=PAL["leaf"], legs=(90, 70, 60)),
            dict(hair=PAL["hair"], top=PAL["pink"], legs=(80, 80, 100), skirt=True)]


def people(img, spots, height, looks, **extra):
    """Stands a person of each look with feet at (x share of the width, y)."""
    w = img.size[0]
    for (sx, feet), look in zip(spots, looks):
        pw = int(height * 0.42)
        img.alpha_composite(person(pw, height, **dict(look, **extra)), (int(w * sx - pw / 2), feet - height))


def big_hall(img, floor, front):
    """Location 3 as a hall: a tank that fills the back wall, rare fish in
    it, and a row of tall tanks along the sides."""
    w, h = img.size
    d = ImageDraw.Draw(img)
    l, t, r, b = int(w * 0.06), int(h * 0.2), int(w * 0.94), floor + 40
    d.rectangle([l - 6, t - 6, r + 6, b + 6], fill=rgba(PAL["stone_dark"]), outline=INK, width=3)
    glass = Image.new("RGBA", (r - l, b - t))
    glass.paste(rgba(PAL["sea"]), (0, 0, r - l, b - t))
    gd = ImageDraw.Draw(glass)
    for k in range(6):
        gd.line([(k * 80, 0), (k * 80 + 120, b - t)], fill=(255, 255, 255, 40), width=18)
    gd.chord([-40, (b - t) * 0.75, r - l + 40, (b - t) * 1.5], 180, 360, fill=rgba(PAL["sand"]))
    for kind, (fx, fy, fw, fh) in (("SHARK_1", (0.08, 0.12, 150, 64)), ("ANGLER_FISH", (0.55, 0.42, 92, 70)),
                                   ("JELLY_FISH_1", (0.42, 0.06, 50, 64)), ("SAW_FISH", (0.6, 0.1, 130, 50)),
                                   ("OCTOPUS", (0.2, 0.55, 70, 60))):
        glass.alpha_composite(P.fish(kind, fw, fh, -1, 0.3), (int((r - l) * fx), int((b - t) * fy)))
    img.alpha_composite(glass, (l, t))
    for x in range(l + (r - l) // 3, r, (r - l) // 3):
        d.line([(x, t), (x, b)], fill=rgba(PAL["stone_dark"]), width=5)
    # tall tanks on stands, left and right in front
    for k, x in enumerate((int(w * 0.02), int(w * 0.8))):
        tt, tb = floor + 20, front - 12
        d.rectangle([x, tt, x + int(w * 0.17), tb], fill=rgba(PAL["water"]), outline=INK, width=3)
        img.alpha_composite(P.fish(KINDS[9 + k], int(w * 0.13), 40, -1, 0.3), (x + 8, tt + 30))
        d.rectangle([x - 4, tb, x + int(w * 0.17) + 4, tb + 12], fill=rgba(PAL["stone_dark"]), outline=INK, width=2)


def party_table(img, x, feet):
    """A table with a cake and glasses of juice, its feet at y feet."""
    d = ImageDraw.Draw(img)
    top = feet - 70
    d.rectangle([x, top, x + 120, top + 10], fill=rgba(PAL["white"]), outline=INK, width=2)
    for lx in (x + 10, x + 104):
        d.rectangle([lx, top + 10, lx + 6, feet], fill=rgba(PAL["wood"]), outline=INK)
    d.rectangle([x + 30, top - 34, x + 90, top], fill=rgba(PAL["pink"]), outline=INK, width=2)
    d.rectangle([x + 30, top - 34, x + 90, top - 26], fill=rgba(PAL["white"]), outline=INK)
    for k in range(3):
        cx = x + 44 + k * 16
        d.rectangle([cx, top - 50, cx + 4, top - 34], fill=rgba(PAL["sun"]), outline=INK)
        d.ellipse([cx - 1, top - 60, cx + 5, top - 50], fill=rgba(PAL["orange"]))
    for gx in (x + 6, x + 98):
        d.rectangle([gx, top - 18, gx + 14, top], fill=rgba(PAL["orange"]), outline=INK)


def grandpa_with_key(img, share, feet, height):
    """Grandpa handing over the shop's key with his free hand."""
    people(img, [(share, feet)], height, [GRANDPA])
    pw = int(height * 0.42)
    kx, ky = int(img.size[0] * share - pw / 2 + pw * 0.16), int(feet - height + height * 0.55)
    d = ImageDraw.Draw(img)
    d.ellipse([kx - 22, ky - 8, kx - 6, ky + 8], outline=rgba(PAL["sun"]), width=4)
    d.line([(kx - 22, ky), (kx - 46, ky)], fill=rgba(PAL["sun"]), width=4)
    for tx in (kx - 40, kx - 32):
        d.line([(tx, ky), (tx, ky + 8)], fill=rgba(PAL["sun"]), width=3)
    d.ellipse([kx - 23, ky - 9, kx - 5, ky + 9], outline=INK, width=1)


def open_sign(d, x, y):
    """An OPEN sign hanging at (x, y) from its nail."""
    d.line([(x - 28, y), (x, y - 20), (x + 28, y)], fill=INK, width=2)
    d.rounded_rectangle([x - 36, y, x + 36, y + 28], 5, fill=rgba(PAL["leaf"]), outline=INK, width=2)
    d.text((x, y + 14), "OPEN", font=font(16, True), fill=rgba(PAL["white"]), anchor="mm")


def care(img):
    """Homes and food for the fish: a castle on the sand, flakes sinking."""
    w, h = img.size
    img.alpha_composite(P.house("CASTLE", 110, 100), (int(w * 0.3), int(h * 0.84) - 84))
    img.alpha_composite(P.food(1, 50, 60), (int(w * 0.58), int(h * 0.18)))
    d = ImageDraw.Draw(img)
    for k in range(9):
        fx, fy = w * 0.56 + (k * 23) % 70, h * 0.4 + (k * 37) % 110
        d.rectangle([fx, fy, fx + 5, fy + 4], fill=rgba(PAL["orange"]), outline=INK)
    heart(d, int(w * 0.2), int(h * 0.33), 12)


def packing(img, tank, front):
    """Aquariums going into moving boxes: one lowered into an open box, two
    boxes already taped shut beside it."""
    w, h = img.size
    small = tank.resize((int(tank.size[0] * 0.8), int(tank.size[1] * 0.8)), Image.LANCZOS)
    bx, by = int(w * 0.36), front - 110
    img.alpha_composite(small, (bx + 80 - small.size[0] // 2, by - small.size[1] // 2 + 6))
    img.alpha_composite(box(160, 110, True), (bx, by))
    for k, y in enumerate((front - 70, front - 136)):
        img.alpha_composite(box(100, 70, False), (int(w * 0.06) + k * 8, y))


def party(img, front):
    """Balloons, pennants, a table with a cake and friends in party hats."""
    w, h = img.size
    d = ImageDraw.Draw(img)
    img.alpha_composite(__import__("props").pennants(w, 60), (0, 100))
    for k, x in enumerate((0.07, 0.48)):
        bx, by = w * x, h * 0.42
        d.line([(bx, by), (bx + 4, by + 60)], fill=rgba(PAL["stone_dark"]), width=2)
        d.ellipse([bx - 20, by - 50, bx + 20, by], fill=rgba([PAL["coral"], PAL["violet"], PAL["green"]][k]),
                  outline=INK, width=2)
    party_table(img, int(w * 0.38), front)
    people(img, [(0.12, front), (0.3, front), (0.64, front)], PERSON_H, VISITORS[1:] + VISITORS[:1],
           hat=PAL["sun"])
