"""Pictures: screens, backdrops and the atlases whose cells the game cuts out.
Each atlas is a list of (left, right, top, bottom, painter) regions."""

import math

from PIL import Image, ImageDraw, ImageFilter

import painters as P
import props as PR
import shelf as S
from common import PAL, rgba, mix, shade, new, vgradient, font, rng, save_png, text_center, additive
from gamedata import KINDS
import anims as A
import bonus_sprites as B
import comic_art as CA

INK = rgba(PAL["ink"])
MAP_POINTS = [(398, 697), (418, 731), (473, 727), (526, 709), (579, 693), (637, 683), (694, 682),
              (752, 677), (796, 651), (864, 623), (850, 586), (817, 559), (788, 529), (800, 483),
              (800, 447), (813, 413), (872, 378), (902, 328), (898, 278), (849, 231), (806, 190),
              (699, 202), (641, 192), (587, 208), (549, 244), (480, 279), (268, 279), (344, 274),
              (308, 299), (266, 304), (242, 276), (279, 272), (312, 256), (345, 240), (373, 221),
              (404, 202), (439, 189), (476, 178), (512, 170), (550, 166), (556, 130), (524, 106),
              (483, 76), (426, 77), (442, 52)]


def atlas(w, h, regions):
    return atlas_onto(new(w, h), regions)


def atlas_onto(img, regions):
    for l, r, t, b, paint in regions:
        cell = paint(r - l, b - t)
        img.alpha_composite(cell.crop((0, 0, r - l, b - t)), (l, t))
    return img


# --- screens ---------------------------------------------------------------

# Where a scene's title and the subtitle under it stand, as fractions of the
# picture: x from, x to; y from, y to. No bubble is drawn there.
TITLE_SPAN = (0.15, 0.85)
TITLE_BAND = (0.15, 0.47)


def in_title_box(x, y, rr, w, h):
    """Whether a bubble of radius rr at (x, y) touches the title's box."""
    return (TITLE_SPAN[0] * w - rr < x < TITLE_SPAN[1] * w + rr
            and TITLE_BAND[0] * h - rr < y < TITLE_BAND[1] * h + rr)


def water_scene(w, h, seed, fish_count=8, title=None):
    img = vgradient(w, h, PAL["water"] + (255,), PAL["deep"] + (255,))
    d = ImageDraw.Draw(img)
    r = rng("scene", seed)
    for k in range(7):   # light rays
        x = r.uniform(0, w)
        ray = new(w, h)
        ImageDraw.Draw(ray).polygon([(x, 0), (x + 60, 0), (x + 200, h), (x + 80, h)], fill=(255, 255, 255, 22))
        img.alpha_composite(ray)
    d.chord([-200, h * 0.82, w + 200, h * 1.4], 180, 360, fill=rgba(PAL["sand"]))
    for k in range(10):
        kind = r.choice(["GREEN_GRASS", "BLUE_GRASS", "RED_GRASS"])
        gx = int(r.uniform(0, w - 60))
        img.alpha_composite(P.grass(kind, 60, 110, k), (gx, int(h * 0.84) - 100))
    for k in range(5):
        kind = r.choice(["RED_CORAL", "BLUE_CORAL", "YELLOW_CORAL"])
        img.alpha_composite(P.coral(kind, 90, 90, k), (int(r.uniform(0, w - 90)), int(h * 0.86) - 80))
    for k in range(fish_count):
        kind = r.choice(KINDS[:13])
        s = r.uniform(0.8, 1.6)
        f = P.fish(kind, int(90 * s), int(60 * s), r.choice([-1, 1]), r.random())
        x, y = r.uniform(0, w - 150), r.uniform(h * 0.1, h * 0.7)
        if title and y < TITLE_BAND[1] * h and y + 60 * s > TITLE_BAND[0] * h:
            y = TITLE_BAND[1] * h + (y - h * 0.1) * 0.3   # keep the title and subtitle readable
        img.alpha_composite(f, (int(x), int(y)))
    for k in range(40):
        x, y, rr = r.uniform(0, w), r.uniform(0, h * 0.8), r.uniform(3, 10)
        if title and in_title_box(x, y, rr, w, h):
            y = TITLE_BAND[1] * h + rr + (y - TITLE_BAND[0] * h) * 0.5   # below the subtitle
        d.ellipse([x - rr, y - rr, x + rr, y + rr], outline=(255, 255, 255, 160), width=2)
    if title:
        text_center(d, (w / 2, h * 0.3), title, 110, PAL["sun"], True, PAL["ink"], 6)
    return img


def intro_screen():
    img = water_scene(1024, 768, "intro", 9, "Corvalen")
    d = ImageDraw.Draw(img)
    text_center(d, (512, 330), "An aquarium shop by the sea", 34, PAL["white"], True, PAL["ink"], 3)
    d.rounded_rectangle([258, 682, 786, 762], 20, fill=rgba(PAL["deep"], 210), outline=rgba(PAL["sun"]), width=4)
    text_center(d, (512, 672), "Loading...", 26, PAL["white"], True, PAL["ink"], 2)
    return img


def progress_bar():
    img = new(512, 64)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([2, 12, 509, 52], 18, fill=rgba(PAL["green"]), outline=INK, width=2)
    d.rounded_rectangle([10, 16, 501, 30], 8, fill=(255, 255, 255, 90))
    for x in range(30, 500, 44):
        d.ellipse([x - 5, 35, x + 5, 45], fill=(255, 255, 255, 120))
    return img


def splash_team():
    img = vgradient(1024, 768, (250, 246, 230, 255), (240, 226, 190, 255))
    d = ImageDraw.Draw(img)
    img.alpha_composite(P.fish("GOLD_FISH_1", 220, 150, -1, 0.2), (402, 200))
    text_center(d, (512, 430), "The Corvalen team", 56, PAL["deep"], True)
    text_center(d, (512, 500), "presents", 32, PAL["sea"], True)
    return img


def splash_title():
    img = water_scene(1024, 768, "splash", 12, "Corvalen")
    text_center(ImageDraw.Draw(img), (512, 340), "Raise them, care for them, sell them!", 32, PAL["white"], True, PAL["ink"], 3)
    return img


# Sea windows of the rooms: (left, top, right, bottom, horizon y). The waves
# are drawn over them and the window masks over the waves.
SEA_WINDOWS = {1: [(12, 178, 102, 234, 193), (776, 12, 896, 100, 68)], 2: [(251, 62, 319, 116, 82)]}


def wall_colour(loc, y):
    wall = [(120, 190, 210), (250, 215, 170), (190, 180, 230)][loc - 1]
    return mix(shade(wall, 1.15), shade(wall, 0.9), y / 767.0)


# The floor starts above every place where the heroine stands: the computer
# stations (feet at y 300-310) and location 3's start (feet at y 276).
FLOOR_TOP = 262
# The discard spot under the discard glow of each location (left, top, right,
# bottom on the screen).
DISCARD_SPOTS = {1: (15, 670, 115, 770), 2: (0, 673, 100, 768), 3: (2, 581, 122, 771)}


def discard_spot(d, loc):
    """A floor hatch with a grate, where the heroine empties her hands."""
    l, t, r, b = DISCARD_SPOTS[loc]
    l, t, r, b = l + 14, t + 20, r - 14, min(b, 768) - 14
    d.rounded_rectangle([l, t, r, b], 10, fill=rgba(PAL["stone_dark"]), outline=INK, width=3)
    for x in range(l + 10, r - 4, 12):
        d.line([(x, t + 8), (x, b - 8)], fill=rgba(PAL["stone"]), width=4)


# Windows and wall paintings (a painting names the fish it shows) painted
# into each room (left, top, right, bottom): on the bare wall between the
# shelf, the machine, the jars and the HUD, which they keep clear of.
ROOM_FEATURES = {
    1: [("window", (312, 42, 394, 128))],
    2: [("window", (402, 42, 518, 200))],
    3: [("THORN_FISH", (662, 60, 724, 150)), ("JELLY_FISH_1", (762, 146, 862, 236))],
}


def location(loc, renovated=False):
    """The shop room: back wall, windows (the sea windows of locations 1 and 2
    lie under the wave masks), tiled floor with its discard spot. renovated
    gives the better floor and wall of the higher decoration levels."""
    wall = [(120, 190, 210), (250, 215, 170), (190, 180, 230)][loc - 1]
    floor = [(200, 160, 110), (235, 210, 160), (160, 170, 190)][loc - 1]
    img = vgradient(1024, 768, shade(wall, 1.15) + (255,), shade(wall, 0.9) + (255,))
    d = ImageDraw.Draw(img)
    top, depth = FLOOR_TOP, 768 - FLOOR_TOP
    d.rectangle([0, top, 1024, 768], fill=rgba(floor))
    if renovated and loc != 2:      # location 2 changes only its upper wall
        for row, y in enumerate(range(top, 768, 48)):
            for col, x in enumerate(range(-400, 1424, 96)):
                if (row + col) % 2:
                    x0, x1 = 512 + (x - 512) * (0.45 + 0.55 * (y - top) / depth), 512 + (x + 96 - 512) * (0.45 + 0.55 * (y - top) / depth)
                    y2 = min(768, y + 48)
                    f2 = 0.45 + 0.55 * (y2 - top) / depth
                    d.polygon([(x0, y), (x1, y), (512 + (x + 96 - 512) * f2, y2), (512 + (x - 512) * f2, y2)], fill=rgba(shade(floor, 0.9)))
        d.rectangle([0, top - 48, 1024, top - 12], fill=rgba(shade(wall, 0.95)))
        for x in range(0, 1024, 32):
            d.line([(x, top - 48), (x, top - 12)], fill=rgba(shade(wall, 0.85)), width=2)
        d.rectangle([0, top - 54, 1024, top - 46], fill=rgba(PAL["wood"]))
    if renovated and loc == 2:
        d.rectangle([0, 20, 1024, 30], fill=rgba(PAL["sea"]))
        for x in range(0, 1024, 40):
            d.polygon([(x, 30), (x + 20, 30), (x + 10, 42)], fill=rgba(PAL["sea"]))
    for y in range(top, 768, 48):
        d.line([(0, y), (1024, y)], fill=rgba(shade(floor, 0.85)), width=2)
    for x in range(-400, 1424, 96):
        d.line([(x, 768), (512 + (x - 512) * 0.45, top)], fill=rgba(shade(floor, 0.85)), width=2)
    d.rectangle([0, top - 12, 1024, top + 6], fill=rgba(shade(wall, 0.7)))
    discard_spot(d, loc)
    for kind, (l, t, r, b) in ROOM_FEATURES[loc]:
        if kind == "window":
            d.rounded_rectangle([l, t, r - 1, b - 1], 10, fill=rgba(PAL["water"]), outline=rgba(PAL["wood_dark"]), width=8)
            d.rectangle([l + 8, (t + 2 * b) // 3, r - 9, b - 9], fill=rgba(PAL["sea"]))
            d.line([((l + r) // 2, t + 4), ((l + r) // 2, b - 5)], fill=rgba(PAL["wood_dark"]), width=5)
        else:
            d.rounded_rectangle([l, t, r - 1, b - 1], 8, fill=rgba(PAL["sea"]), outline=rgba(PAL["stone_dark"]), width=6)
            fw, fh = (r - l) * 5 // 7, (b - t) * 3 // 7
            img.alpha_composite(P.fish(kind, fw, fh, -1, 0.3), ((l + r - fw) // 2, (t + b - fh) // 2))
    if loc in (1, 2):
        for l, t, r, b, horizon in SEA_WINDOWS[loc]:
            if loc == 1:    # the porthole of location 2 has its ring in the mask
                d.rectangle([l - 3, t - 3, r + 3, b + 3], fill=rgba(PAL["wood_dark"]))
            d.rectangle([l, t, r, horizon], fill=rgba(PAL["water"]))
            d.rectangle([l, horizon, r, b], fill=rgba(PAL["sea"]))
    # The shop's name on the doormat at the entrance: the bottom edge of the
    # floor, right of the front aquarium of every location and left of the
    # incoming orders, clear of the HUD and of the wall's instruments.
    l, t, r, b = NAME_MAT
    d.rounded_rectangle([l, t, r, b + 12], 10, fill=rgba(shade(floor, 0.55)), outline=rgba(PAL["ink"]), width=2)
    text_center(d, ((l + r) / 2, (t + b) / 2 + 1), LOCATION_NAMES[loc - 1], 18, PAL["white"], True, PAL["ink"], 2)
    return img


LOCATION_NAMES = ["Harbour Fish Shop", "Beach Fish Shop", "City Aquarium"]
# left, top, right, bottom of the doormat; it runs on past the bottom edge
NAME_MAT = (500, 734, 716, 768)


def location_updates_1():
    """Renovated lower room of location 1 (400-960), renovated upper wall of
    location 2 (101-358) and the smaller pieces in the top rows."""
    img = new(1024, 960)
    img.alpha_composite(location(1, True).crop((0, 208, 1024, 768)), (0, 400))
    img.alpha_composite(location(2, True).crop((0, 0, 1024, 257)), (0, 101))
    return atlas_onto(img, S.room_pieces("LOCATION_UPDATES_1", PR.piece_regions(1)))


def location_updates_2():
    img = new(512, 955)
    atlas_onto(img, S.room_pieces("LOCATION_UPDATES_2", PR.piece_regions(2)))
    # brushes standing in each room: location 1, 2 and 3
    brushes = [(l, r, t, b, lambda w, h, n=n: P.brush(n, w, h))
               for (l, r, t, b), n in (((0, 49, 855, 920), 1), ((51, 101, 857, 914), 2), ((101, 156, 859, 922), 1),
                                       ((158, 209, 860, 918), 2), ((211, 249, 836, 892), 1), ((249, 302, 836, 891), 2))]
    return atlas_onto(img, S.confine("LOCATION_UPDATES_2", brushes))


def sea_wave_mask():
    """Window frames laid over the waves: 31-34 location 1 (plain, then with
    flower box or curtain), 35 the porthole of location 2."""
    img = new(429, 89)
    img.alpha_composite(PR.window_mask(90, 89, "left", False), (0, 0))
    img.alpha_composite(PR.window_mask(88, 89, "left", True), (91, 0))
    img.alpha_composite(PR.window_mask(88, 89, "right", False), (181, 0))
    img.alpha_composite(PR.window_mask(88, 89, "right", True), (271, 0))
    img.alpha_composite(PR.porthole_mask(68, 84, lambda y: wall_colour(2, 62 + y)), (361, 0))
    return img


# The rows the turtles swim along (their y; a turtle's picture hangs below
# it, so its track runs through the picture's middle) and where the beach
# meets the sea on those rows; below them the shore bends away, so that the
# count of saved turtles (centred at x 900 from y 725) stands on deep water.
BONUS_ROWS = (615, 640, 665)
BONUS_SHORE_X = 800


def bonus_location():
    """Sky, the sea behind the beach, the beach with the turtles' three tracks
    from their nest on the left to the water on the right."""
    img = vgradient(1024, 768, (120, 190, 245, 255), (215, 238, 252, 255))
    d = ImageDraw.Draw(img)
    d.ellipse([80, 40, 200, 160], fill=rgba(PAL["sun"]))
    for k in range(4):
        x = 260 + k * 170
        d.ellipse([x, 80 + (k % 2) * 40, x + 150, 125 + (k % 2) * 40], fill=(255, 255, 255, 230))
    # the sea: a horizon band behind the beach and the water on the right
    horizon = 420
    sea = vgradient(1024, 768 - horizon, PAL["sea"] + (255,), PAL["deep"] + (255,))
    img.alpha_composite(sea, (0, horizon))
    shore = [(0, 500), (300, 494), (600, 502), (760, 520), (BONUS_SHORE_X + 30, 560),
             (BONUS_SHORE_X + 50, 620), (BONUS_SHORE_X + 20, 680), (BONUS_SHORE_X - 70, 768)]
    d.polygon(shore + [(0, 768)], fill=rgba(shade(PAL["sand"], 0.9)))           # wet sand
    d.line(shore, fill=rgba(PAL["foam"]), width=8)
    d.polygon([(x - (14 if x > 700 else 0), y + 14) for x, y in shore] + [(0, 768)], fill=rgba(PAL["sand"]))
    for k, y in enumerate(range(horizon + 10, 490, 22)):
        x0 = (k * 137) % 300
        for x in range(x0, 1024, 300):
            d.arc([x, y, x + 60, y + 14], 200, 340, fill=rgba(PAL["foam"]), width=3)
    for k, y in enumerate(range(560, 700, 40)):
        x = BONUS_SHORE_X + 90 + (k % 2) * 50
        d.arc([x, y, x + 60, y + 14], 200, 340, fill=rgba(PAL["foam"]), width=3)
    # the nest and the tracks: a furrow with flipper prints along each row
    d.ellipse([-60, 580, 70, 700], fill=rgba(PAL["sand_dark"]), outline=rgba(shade(PAL["sand_dark"], 0.8)), width=3)
    track = rgba(shade(PAL["sand"], 0.88))
    prints = rgba(shade(PAL["sand_dark"], 0.85))
    for row in BONUS_ROWS:
        y = row + B.TURTLE_SIZE[1] // 2
        d.line([(60, y), (BONUS_SHORE_X, y)], fill=track, width=8)
        for k, x in enumerate(range(70, BONUS_SHORE_X - 10, 22)):
            side = 1 if k % 2 else -1
            d.ellipse([x, y + side * 7 - 2, x + 9, y + side * 7 + 2], fill=prints)
    return img


# The islands of the map (centre x, centre y, half width, half height), each
# wholly on the screen: the harbour at the bottom, the beach on the right,
# the city at the top left.
MAP_ISLANDS = [(640, 645, 360, 120), (760, 300, 250, 136), (400, 200, 300, 135)]
# Where each location's name stands (its centre), clear of the level dots,
# their marks and the heroine marker standing on the current one.
MAP_LABELS = [("Harbour", (520, 556)), ("Beach", (690, 320)), ("City", (300, 120))]
MAP_LABEL_SIZE = 28
MAP_TITLE = ("Map", (110, 36))


def map_dots():
    """The level dots of the map picture as (centre x, centre y, radius): the
    middle of the map mark the game lays on each passed level."""
    return [(x + 15, y + 12, 14 if k in (0, 15, 30) else 9) for k, (x, y) in enumerate(MAP_POINTS)]


def map_label_boxes():
    """(text, left, top, right, bottom) of each name on the map, the title
    included, with its outline."""
    out = []
    for text, (x, y), size in [(t, xy, MAP_LABEL_SIZE) for t, xy in MAP_LABELS] + [MAP_TITLE + (40,)]:
        l, t, r, b = font(size, True).getbbox(text, anchor="mm", stroke_width=3)
        out.append((text, x + l, y + t, x + r, y + b))
    return out


def map_screen():
    img = vgradient(1024, 768, PAL["water"] + (255,), PAL["sea"] + (255,))
    d = ImageDraw.Draw(img)
    for cx, cy, rx, ry in MAP_ISLANDS:
        d.ellipse([cx - rx, cy - ry, cx + rx, cy + ry], fill=rgba(PAL["sand"]), outline=rgba(PAL["sand_dark"]), width=6)
        d.ellipse([cx - rx * 0.7, cy - ry * 0.67, cx + rx * 0.7, cy + ry * 0.67], fill=rgba(PAL["leaf"]))
    dots = map_dots()
    d.line([(x, y) for x, y, _ in dots], fill=rgba(PAL["white"]), width=5)
    for k, (x, y, r) in enumerate(dots):
        d.ellipse([x - r, y - r, x + r, y + r], fill=rgba(PAL["coral"] if r > 9 else PAL["white"]), outline=INK, width=2)
    for text, (x, y) in MAP_LABELS:
        text_center(d, (x, y), text, MAP_LABEL_SIZE, PAL["white"], True, PAL["ink"], 3)
    text_center(d, MAP_TITLE[1], MAP_TITLE[0], 40, PAL["sun"], True, PAL["ink"], 3)
    return img


# Each comic panel: its caption, what the picture shows, the heroine's pose
# and where she stands (the share of the panel's width at her middle).
# Scenes: "shop1" to "shop3" the shop of that location (its mat names it),
# "grandpa" Grandpa in his dusty old shop, "dusty" its tanks under dust and
# cobwebs, "cleaning" the tanks half cleaned, "door" the first customer at the
# door, "open" the door with its OPEN sign, "tanks" the shop with empty
# aquariums, "machine" the interior machine, "sea" open water with fish
# ("care" with their homes, food and medicine), "success" the harbour shop
# full of customers, "letter" the letter about the beach shop ("letter_city"
# the call to the city), "packing" aquariums going into boxes, "customers"
# customers at the tanks, "hall" the city's hall of great tanks, "talk"
# visitors marvelling at the city aquarium, "party" Mira's friends at a party.
COMIC_PANELS = {
    1: [("Grandpa leaves his old fish shop to Mira.", "grandpa", "stand", 0.16),
        ("It is dusty... but full of empty aquariums!", "dusty", "glance", 0.84),
        ("Mira: I will make it the best shop in town!", "shop1", "cheer", 0.16),
        ("The first customer is already at the door.", "door", "glance", 0.16)],
    2: [("Mira cleans every tank.", "cleaning", "work", 0.84),
        ("She tries out the interior machine.", "machine", "work", 0.16),
        ("Fish need homes, food and care.", "care", "hold", 0.84),
        ("Time to open the shop!", "open", "cheer", 0.16)],
    3: [("The harbour shop is a big success!", "success", "cheer", 0.16),
        ("A letter: a shop on the beach is for sale.", "letter", "hold", 0.16),
        ("Mira packs the aquariums.", "packing", "hold", 0.84),
        ("Welcome to the beach shop!", "shop2", "cheer", 0.16)],
    4: [("The beach customers love Mira's fish.", "customers", "stand", 0.84),
        ("The city aquarium calls!", "letter_city", "glance", 0.16),
        ("A big hall for rare fish.", "hall", "stand", 0.84),
        ("Welcome to the city aquarium!", "shop3", "cheer", 0.16)],
    5: [("The city aquarium is the talk of the town.", "talk", "stand", 0.16),
        ("Mira's friends throw a party.", "party", "cheer", 0.84),
        ("Thank you for playing!", "sea", "cheer", 0.16),
        ("The end... for now.", "shop1", "stand", 0.84)],
}
COMIC_FRAMES = [(30, 30, 500, 370), (524, 30, 994, 370), (30, 394, 500, 680), (524, 394, 994, 680)]
CAPTION_SIZE, CAPTION_MIN_SIZE, CAPTION_PAD = 19, 15, 14
HERO_SCALE = 0.85


def caption_layout(x0, y0, x1, text):
    """Font size and lines of a caption, and its box: the largest size up to
    CAPTION_SIZE at which the text fits the panel on one line, else two
    lines."""
    room = (x1 - x0) - 24 - 2 * CAPTION_PAD
    lines = [text]
    size = CAPTION_SIZE
    while size > CAPTION_MIN_SIZE and font(size, True).getlength(text) > room:
        size -= 1
    if font(size, True).getlength(text) > room:
        size = CAPTION_SIZE
        words = text.split()
        cut = min(range(1, len(words)), key=lambda k: abs(len(" ".join(words[:k])) - len(" ".join(words[k:]))))
        lines = [" ".join(words[:cut]), " ".join(words[cut:])]
    line_h = size + 7
    box = (x0 + 12, y0 + 12, x1 - 12, y0 + 12 + 2 * 12 + line_h * len(lines))
    return size, lines, box


def comic_layout(page):
    """Per panel: the frame, the caption box, the caption's text boxes and the
    heroine's face box, all in screen pixels."""
    out = []
    for (x0, y0, x1, y1), (text, scene, pose, at) in zip(COMIC_FRAMES, COMIC_PANELS[page]):
        size, lines, box = caption_layout(x0, y0, x1, text)
        f = font(size, True)
        line_h = size + 7
        texts = []
        for k, line in enumerate(lines):
            w = f.getlength(line)
            cy = box[1] + 12 + line_h * k + line_h / 2
            texts.append(((x0 + x1) / 2 - w / 2, cy - size * 0.7, (x0 + x1) / 2 + w / 2, cy + size * 0.7))
        # she stands on the panel's floor, her head (cheering hands included)
        # clear of the caption
        scale = min(HERO_SCALE, (y1 - 6 - (box[3] + 8)) / A.HERO_H)
        hw, hh = int(A.HERO_W * scale), int(A.HERO_H * scale)
        hx = int(x0 + (x1 - x0) * at - hw / 2)
        hy = y1 - hh - 6
        face = (hx + hw * 0.22, hy, hx + hw * 0.82, hy + hh * 0.3)
        out.append(dict(frame=(x0, y0, x1, y1), text=text, scene=scene, pose=pose, size=size, lines=lines,
                        caption=box, texts=texts, hero=(hx, hy, hw, hh), face=face))
    return out


def comic_scene(scene, w, h, seed):
    """The picture of one comic panel, w x h, showing `scene` (see COMIC_PANELS)."""
    shop = {"shop1": 1, "grandpa": 1, "dusty": 1, "cleaning": 1, "tanks": 1, "door": 1, "open": 1,
            "machine": 1, "success": 1, "packing": 1, "letter": 1,
            "shop2": 2, "customers": 2, "letter_city": 2, "hall": 3, "party": 3, "shop3": 3, "talk": 3}
    if scene in ("sea", "care"):
        img = water_scene(w, h, seed, 4)
        if scene == "care":
            CA.care(img)
        return img
    loc = shop[scene]
    room = location(loc)
    floor_colour = room.getpixel((560, FLOOR_TOP + 24))[:3]
    img = CA.room(room, NAME_MAT[1], w, h)
    d = ImageDraw.Draw(img)
    floor = int(h * FLOOR_TOP / NAME_MAT[1])
    front = h - CA.MAT_BAND     # where people and things stand, clear of the mat
    stocked = scene in ("shop3", "customers", "success", "talk")
    dusty = scene in ("grandpa", "dusty")
    if dusty:
        img.alpha_composite(new(w, h, (120, 110, 90, 90)))
    if scene in ("tanks", "dusty", "grandpa", "cleaning", "packing", "shop3", "customers", "success", "talk"):
        tank = aquarium_body({"shop3": 3, "talk": 3, "customers": 2}.get(scene, 1))
        tank = tank.resize((int(tank.size[0] * 0.55), int(tank.size[1] * 0.55)))
        for k in range(3 if scene != "packing" else 0):   # packing: every tank goes into a box
            x, y = int(w * (0.08 + 0.3 * k)), floor + 20 + 40 * (k % 2)
            if dusty or (scene == "cleaning" and k == 2):
                CA.dust_tank(img, tank, x, y, k)
                continue
            img.alpha_composite(tank, (x, y))
            if stocked:
                img.alpha_composite(P.fish(KINDS[6 + 2 * k], 70, 46, -1, 0.3), (x + 30, y + 30))
            if scene == "cleaning":
                for sx, sy, sr in ((0.2, 0.3, 9), (0.75, 0.55, 7), (0.5, 0.2, 5)):
                    CA.sparkle(d, x + tank.size[0] * sx, y + tank.size[1] * sy, sr)
    if scene == "cleaning":
        CA.bucket(d, int(w * 0.62), front)
    if scene in ("customers", "success"):
        # customers in front of the tanks, looking in
        spots = (0.2, 0.5) if scene == "customers" else (0.42, 0.68)
        for k, (x, colour) in enumerate(zip(spots, (PAL["violet"], PAL["coral"]))):
            gx, gy = int(w * x), front - 90
            d.rounded_rectangle([gx - 26, gy, gx + 26, gy + 90], 14, fill=rgba(colour), outline=INK, width=2)
            # seen from behind: the back of the head, ears showing
            for side in (-1, 1):
                d.ellipse([gx + side * 18 - 5, gy - 24, gx + side * 18 + 5, gy - 12], fill=rgba(PAL["skin"]), outline=INK)
            d.ellipse([gx - 18, gy - 38, gx + 18, gy - 2], fill=rgba([PAL["wood_dark"], PAL["sun"]][k]), outline=INK, width=2)
            if scene == "customers":
                CA.heart(d, gx + 8, gy - 58, 9)
        if scene == "success":
            CA.speech(d, int(w * 0.68), front - 134, "I'll take two!")
    if scene == "grandpa":
        CA.grandpa_with_key(img, 0.56, front, CA.PERSON_H)
    if scene == "talk":
        CA.people(img, [(0.52, front), (0.8, front)], CA.PERSON_H, CA.VISITORS[2:])
        CA.speech(d, int(w * 0.52), front - CA.PERSON_H - 4, "Wow!")
        CA.speech(d, int(w * 0.8), front - CA.PERSON_H - 4, "So many fish!")
    if scene in ("door", "open"):
        dx, top, bottom = int(w * 0.7), 96, floor + 130
        d.rectangle([dx, top, dx + 110, bottom], fill=rgba(PAL["wood"]), outline=INK, width=3)
        d.rectangle([dx + 14, top + 14, dx + 96, top + 84], fill=rgba(PAL["water"]), outline=INK, width=2)
        d.ellipse([dx + 84, top + 110, dx + 96, top + 122], fill=rgba(PAL["sun"]), outline=INK)
        if scene == "door":
            # the customer at the glass: head and shoulders
            gx, gy = dx + 55, top + 42
            d.pieslice([gx - 30, gy + 10, gx + 30, gy + 70], 180, 360, fill=rgba(PAL["violet"]), outline=INK, width=2)
            d.ellipse([gx - 16, gy - 18, gx + 16, gy + 14], fill=rgba(PAL["skin"]), outline=INK, width=2)
        else:
            CA.open_sign(d, dx + 55, top + 50)
        d.rectangle([dx + 14, top + 84, dx + 96, top + 96], fill=rgba(PAL["wood"]))
    if scene == "machine":
        body = new(228, 200)
        body.alpha_composite(PR.machine_body(1)(228, 200))
        img.alpha_composite(body, (int(w * 0.5), front - 200))
    if scene in ("letter", "letter_city"):
        lx, ly = int(w * 0.42), front - 214
        d.polygon([(lx, ly + 10), (lx + 230, ly), (lx + 245, ly + 190), (lx + 12, ly + 200)],
                  fill=rgba(PAL["white"]), outline=INK, width=3)
        for k in range(5):
            d.line([(lx + 26, ly + 30 + 16 * k), (lx + 200, ly + 26 + 16 * k)], fill=rgba(PAL["stone_dark"]), width=3)
        # a sketch of the place the letter is about
        sx, sy = lx + 40, ly + 118
        if scene == "letter":
            d.rectangle([sx, sy + 40, sx + 160, sy + 62], fill=rgba(PAL["sand"]))
            d.rectangle([sx, sy, sx + 160, sy + 40], fill=rgba(PAL["water"]))
            d.rectangle([sx + 50, sy + 8, sx + 110, sy + 48], fill=rgba((250, 215, 170)), outline=INK, width=2)
            d.polygon([(sx + 44, sy + 10), (sx + 80, sy - 10), (sx + 116, sy + 10)], fill=rgba(PAL["coral"]), outline=INK)
        else:
            for k, (bw, bh) in enumerate(((30, 50), (40, 62), (34, 44), (44, 56))):
                bx = sx + 10 + 38 * k
                d.rectangle([bx, sy + 62 - bh, bx + bw, sy + 62], fill=rgba((190, 180, 230)), outline=INK, width=2)
    if scene == "packing":
        CA.packing(img, tank, front)
    if scene == "hall":
        CA.big_hall(img, floor, front)
    if scene == "party":
        CA.party(img, front)
    CA.name_plate(img, LOCATION_NAMES[loc - 1], floor_colour, w * (NAME_MAT[0] + NAME_MAT[2]) / 2048)
    return img


def comic(page):
    img = vgradient(1024, 768, (250, 246, 236, 255), (240, 232, 214, 255))
    d = ImageDraw.Draw(img)
    for i, p in enumerate(comic_layout(page)):
        x0, y0, x1, y1 = p["frame"]
        img.alpha_composite(comic_scene(p["scene"], x1 - x0, y1 - y0, "comic%d_%d" % (page, i)), (x0, y0))
        hx, hy, hw, hh = p["hero"]
        hero = A.heroine(p["pose"], 0.2, 1 if p["pose"] in ("work", "hold") else 0)
        if p["pose"] in ("work", "hold") and (hx - x0) > (x1 - x0) / 2:
            hero = hero.transpose(Image.FLIP_LEFT_RIGHT)
        img.alpha_composite(hero.resize((hw, hh)), (hx, hy))
        d.rectangle([x0, y0, x1, y1], outline=INK, width=5)
        d.rounded_rectangle(p["caption"], 12, fill=(255, 255, 240, 255), outline=INK, width=2)
        f = font(p["size"], True)
        for (l, t, r, b), line in zip(p["texts"], p["lines"]):
            d.text(((l + r) / 2, (t + b) / 2), line, font=f, fill=rgba(PAL["ink"]), anchor="mm")
    return img


# The pet-choice explanation (white, centred on x 530 from y 640) stands on
# this dark box.
PETS_NOTE_BOX = (230, 626, 830, 724)


def pets_screen():
    img = water_scene(1024, 768, "pets", 2)
    d = ImageDraw.Draw(img)
    for cx, pic in ((210, P.fish("GOLD_FISH_1", 240, 170, 1, 0.2)), (820, A.turtle_pic(240, 170))):
        d.ellipse([cx - 160, 140, cx + 160, 400], fill=(230, 248, 255, 150), outline=rgba(PAL["white"]), width=6)
        img.alpha_composite(pic, (cx - 120, 180))
    text_center(d, (512, 80), "Choose your pet", 54, PAL["sun"], True, PAL["ink"], 4)
    l, t, r, b = PETS_NOTE_BOX
    d.rounded_rectangle([l, t, r, b], 18, fill=rgba(PAL["ink"]), outline=rgba(PAL["white"]), width=3)
    return img


def cursor():
    img = new(55, 118)
    for top, press in ((0, True), (59, False)):
        def paint(d, W, H, s):
            tip = (11 * s, 11 * s)
            pts = [tip, (tip[0], tip[1] + 36 * s), (tip[0] + 10 * s, tip[1] + 27 * s), (tip[0] + 18 * s, tip[1] + 42 * s),
                   (tip[0] + 25 * s, tip[1] + 38 * s), (tip[0] + 17 * s, tip[1] + 24 * s), (tip[0] + 29 * s, tip[1] + 23 * s)]
            d.polygon(pts, fill=rgba(PAL["sun"] if press else PAL["white"]), outline=INK, width=3 * s)
        img.alpha_composite(P._scaled(55, 59, paint), (0, top))
    return img


# --- atlases ---------------------------------------------------------------

def fish_icon(kind):
    return lambda w, h: P.fit(P.fish(kind, 120, 84, -1, 0.2), w, h) if hasattr(P, "fit") else __import__("common").fit(P.fish(kind, 120, 84, -1, 0.2), w, h)


def gui_atlas():
    from common import fit
    R = [
        (0, 235, 86, 151, lambda w, h: P.button(w, h)),
        (0, 235, 226, 294, lambda w, h: P.button(w, h, True)),
        (301, 408, 0, 74, lambda w, h: hud_corner(w, h)),
        (356, 445, 364, 434, lambda w, h: pause_icon(w, h, True)),
        (92, 439, 475, 513, lambda w, h: time_frame(w, h)),
        (92, 374, 459, 474, lambda w, h: P.bar(w, h, PAL["green"])),
        (238, 332, 169, 238, lambda w, h: P.arrow_button(w, h, 1)),
        (418, 513, 285, 360, lambda w, h: P.arrow_button(w, h, 1, True)),
        (0, 92, 439, 508, lambda w, h: P.arrow_button(w, h, -1)),
        (323, 418, 285, 360, lambda w, h: P.arrow_button(w, h, -1, True)),
        (252, 360, 446, 457, lambda w, h: P.bar(w, h, PAL["sun"])),
        (351, 496, 71, 142, lambda w, h: fit(stars(2), w, h)),
        (348, 494, 140, 211, lambda w, h: fit(stars(3), w, h)),
        (330, 494, 213, 275, lambda w, h: fit(stars(4), w, h)),
        (39, 78, 300, 323, lambda w, h: P.label(w, h, "@", fg=PAL["sun"])),
        (75, 149, 0, 78, lambda w, h: ability(w, h, "fish", False)),
        (0, 74, 0, 78, lambda w, h: ability(w, h, "fish", True)),
        (225, 299, 0, 78, lambda w, h: ability(w, h, "turtle", False)),
        (150, 224, 0, 78, lambda w, h: ability(w, h, "turtle", True)),
        (236, 260, 87, 124, lambda w, h: P.note_icon(w, h)),
        (261, 299, 86, 128, lambda w, h: P.note_icon(w, h)),
        (300, 326, 75, 109, lambda w, h: P.note_icon(w, h)),
        (235, 256, 125, 162, lambda w, h: P.note_icon(w, h)),
        (256, 276, 128, 163, lambda w, h: P.note_icon(w, h)),
        # hint windows: the header's and the body's nine-slice pictures; the
        # game cuts 28-pixel corners, edges and middles out of them, and the
        # body's first text line starts at its open top, under the header;
        # the header's blue is dark enough for its white title (contrast 5)
        (84, 164, 325, 404, lambda w, h: P.panel(w, h, (44, 110, 168), radius=12, gloss=False)),
        (0, 82, 325, 433, lambda w, h: P.panel(w, h, radius=12, gloss=False, open_top=True)),
    ]
    for k in range(12):   # charge clocks: 12 rows of 20 px, small enough to stay on their ingredient
        R.append((493, 512, k * 20, k * 20 + 20, S.filled(lambda w, h, k=k: clock(w, h, k / 11.0), S.CLOCK_CELL_BOX)))
    return atlas(513, 513, R)


def pause_icon(w, h, hover):
    img = new(w, h)
    d = ImageDraw.Draw(img)
    d.ellipse([8, 4, w - 8, h - 4], fill=rgba(PAL["sun"] if hover else PAL["orange"]), outline=INK, width=3)
    cx, cy = w / 2, h / 2
    d.rectangle([cx - 12, cy - 14, cx - 4, cy + 14], fill=rgba(PAL["white"]))
    d.rectangle([cx + 4, cy - 14, cx + 12, cy + 14], fill=rgba(PAL["white"]))
    return img


# The top-right corner of the play HUD. The corner picture is drawn at
# (917, 0), its frame at (913, -15) over it and the pause button's hover
# picture (89 x 70) at (938, 0), so the pause sign is painted on the corner
# where the hover picture lies, and the frame leaves a hole over it; neither
# paints past the screen's right edge (x 1024).
HUD_CORNER_AT = (917, 0)
HUD_FRAME_AT = (913, -15)
PAUSE_AT, PAUSE_SIZE = (938, 0), (89, 70)


# The time frame hangs from the top edge at (394, 0) over the machine; it is
# kept to the rows the time bar (y 3 to 18) and the closed sign need, so the
# machine below shows. The closed sign (pale yellow) stands on it once the
# bar has run empty: the frame is opaque, its track dark and its rim the
# left panel's bronze, so the sign reads whatever lies behind.
TIME_FRAME_ROWS = 26
TIME_TRACK = PAL["deep"]


def time_frame(w, h):
    img = new(w, h)
    d = ImageDraw.Draw(img)
    r = TIME_FRAME_ROWS // 2
    d.rounded_rectangle([0, 0, w - 1, TIME_FRAME_ROWS - 1], r, fill=rgba(shade(HUD_LEFT_RIM, 0.7)))
    d.rounded_rectangle([1, 1, w - 2, TIME_FRAME_ROWS - 2], r - 1, fill=rgba(HUD_LEFT_RIM))
    d.rounded_rectangle([3, 3, w - 4, TIME_FRAME_ROWS - 4], r - 3, fill=rgba(TIME_TRACK))
    return img


def hud_corner(w, h):
    img = new(w, h)
    img.alpha_composite(pause_icon(*PAUSE_SIZE, False), (PAUSE_AT[0] - HUD_CORNER_AT[0], PAUSE_AT[1] - HUD_CORNER_AT[1]))
    return img


def hud_corner_frame(w, h):
    img = new(w, h)
    visible = P.panel(1024 - HUD_FRAME_AT[0], h, radius=24)
    img.alpha_composite(visible, (0, 0))
    # the hole over the pause sign, a little larger than the sign
    x, y = PAUSE_AT[0] - HUD_FRAME_AT[0], PAUSE_AT[1] - HUD_FRAME_AT[1]
    hole = Image.new("L", (w, h), 255)
    ImageDraw.Draw(hole).ellipse([x + 5, y + 1, x + PAUSE_SIZE[0] - 5, y + PAUSE_SIZE[1] - 1], fill=0)
    alpha = img.getchannel("A")
    img.putalpha(Image.composite(alpha, hole, hole))
    return img


def stars(n):
    img = new(60 * n, 60)
    for k in range(n):
        img.alpha_composite(P.star(56, 56), (k * 60 + 2, 2))
    return img


def clock(w, h, frac):
    img = new(w, h)
    d = ImageDraw.Draw(img)
    d.ellipse([1, 2, w - 2, h - 2], fill=(255, 255, 255, 200), outline=INK)
    d.pieslice([1, 2, w - 2, h - 2], -90, -90 + 360 * frac, fill=rgba(PAL["green"]))
    return img


def ability(w, h, kind, hover):
    img = P.panel(w, h, fill=PAL["panel_light"] if hover else PAL["panel"], radius=16)
    from common import fit
    pic = P.fish("GOLD_FISH_1", 90, 64, -1, 0.2) if kind == "fish" else __import__("anims").turtle_pic(90, 64)
    img.alpha_composite(fit(pic, w - 16, h - 16), (8, 8))
    return img


def order_card(w, h, computer, hover):
    img = P.panel(w, h, fill=(255, 250, 235) if not computer else (225, 240, 255),
                  border=PAL["coral"] if not computer else PAL["blue"], radius=10, alpha=255)
    if hover:
        ImageDraw.Draw(img).rounded_rectangle([2, 2, w - 3, h - 3], 10, outline=rgba(PAL["sun"]), width=4)
    return img


def icons_atlas():
    from common import fit
    icon_rects = {"FISH_1": (226, 302, 103, 160), "FISH_2": (411, 478, 13, 78), "THORN_FISH": (162, 226, 108, 167),
                  "CAT_FISH": (90, 160, 157, 205), "JELLY_FISH_1": (168, 252, 205, 285), "JELLY_FISH_2": (432, 512, 154, 227),
                  "CRAMP_FISH": (178, 265, 57, 103), "GOLD_FISH_1": (253, 339, 0, 52), "GOLD_FISH_2": (90, 154, 263, 321),
                  "SAW_FISH": (90, 177, 54, 108), "SHARK_1": (90, 162, 108, 157), "SHARK_2": (5, 123, 439, 494),
                  "ANGLER_FISH": (90, 168, 205, 263), "SHOAL_FISHES": (130, 186, 0, 53), "OCTOPUS": (186, 253, 0, 56),
                  "CRAB": (226, 292, 160, 205), "SHELL": (265, 326, 53, 100)}
    R = [
        (0, 90, 1, 67, lambda w, h: order_card(w, h, False, False)),
        (0, 90, 68, 133, lambda w, h: order_card(w, h, False, True)),
        (0, 90, 135, 201, lambda w, h: order_card(w, h, True, False)),
        (0, 90, 203, 270, lambda w, h: order_card(w, h, True, True)),
        (0, 89, 272, 339, lambda w, h: sell_button(w, h, True)),
        (0, 89, 339, 406, lambda w, h: sell_button(w, h, False)),
        (142, 459, 325, 423, lambda w, h: hud_left(w, h, (-19, -13), radius=24)),
        (142, 162, 345, 423, lambda w, h: P.panel(w, h, radius=6)),
        (345, 475, 423, 511, lambda w, h: hud_corner_frame(w, h)),
        (1, 345, 423, 439, lambda w, h: P.bar(w, h, PAL["panel_light"])),
        (340, 410, 0, 77, lambda w, h: P.computer(w, h)),
        (319, 420, 145, 204, lambda w, h: tag(w, h, "BUY", PAL["green"])),
        (383, 491, 262, 323, lambda w, h: tag(w, h, "UP!", PAL["orange"])),
        (253, 298, 205, 323, lambda w, h: P.bar(w, h, PAL["violet"])),
        (298, 343, 204, 322, lambda w, h: P.bar(w, h, None, frame=True)),
    ]
    for kind, (l, r, t, b) in icon_rects.items():
        R.append((l, r, t, b, lambda w, h, kind=kind: fit(P.fish(kind, 120, 84, -1, 0.2), w, h)))
    return atlas(512, 512, S.confine("ICONS", R))


def sell_button(w, h, hover):
    img = P.panel(w, h, fill=PAL["green"] if not hover else (120, 230, 120), border=PAL["sun"], radius=16, alpha=255)
    d = ImageDraw.Draw(img)
    text_center(d, (w / 2, h / 2), "$", int(h * 0.6), PAL["white"], True, PAL["ink"], 2)
    return img


def tag(w, h, text, color):
    img = P.panel(w, h, fill=color, border=PAL["white"], radius=14, alpha=255)
    text_center(ImageDraw.Draw(img), (w / 2, h / 2), text, int(h * 0.42), PAL["white"], True, PAL["ink"], 2)
    return img


def items_atlas():
    from common import fit
    R = [
        (225, 256, 178, 201, lambda w, h: fit(P.star(30, 30), w, h)),
        (182, 222, 178, 213, lambda w, h: fit(P.star(40, 40, PAL["coral"]), w, h)),
        (171, 231, 0, 42, PR.stone_heap),
        (154, 228, 79, 115, lambda w, h: P.ground("ROCK", w, h, 1)),
        (140, 205, 47, 82, lambda w, h: P.ground("SAND", w, h, 1)),
        (70, 108, 11, 41, lambda w, h: P.grass("GREEN_GRASS", w, h, 1)),
        (99, 139, 60, 97, lambda w, h: P.grass("BLUE_GRASS", w, h, 1)),
        (157, 196, 129, 164, lambda w, h: P.grass("RED_GRASS", w, h, 1)),
        (117, 173, 0, 49, lambda w, h: P.house("CASTLE", w, h)),
        (59, 97, 52, 100, lambda w, h: P.house("CHEST", w, h)),
        (112, 154, 104, 147, lambda w, h: P.house("SEA_SHELL", w, h)),
        (102, 157, 193, 242, lambda w, h: P.coral("RED_CORAL", w, h, 1)),
        (94, 144, 148, 195, lambda w, h: P.coral("BLUE_CORAL", w, h, 2)),
        (57, 114, 104, 150, lambda w, h: P.coral("YELLOW_CORAL", w, h, 3)),
        (0, 59, 0, 62, lambda w, h: P.food(3, w, h)),
        (56, 104, 204, 256, lambda w, h: P.food(2, w, h)),
        (0, 50, 117, 175, lambda w, h: P.food(1, w, h)),
        (203, 254, 42, 80, lambda w, h: P.food(4, w, h)),
        (155, 183, 179, 228, lambda w, h: P.medicine(2, w, h)),
        (57, 96, 148, 206, lambda w, h: P.medicine(1, w, h)),
        (200, 253, 118, 178, lambda w, h: P.bubble_icon(w, h)),
    ]
    return atlas(256, 256, S.confine("ITEMS", R))


# The left HUD panel is an L drawn from the top-left corner: full width
# along the goal bar and its labels, narrow below it where the cash and the
# level number sit, so that the room's objects at its right (the porthole
# of location 2, jars) stay in view. Screen rectangles, right and bottom
# excluded.
# Both arms reach above the picture, so no rim runs under the labels that
# stand at the top edge; the rim is a dark bronze that white letters read on.
HUD_LEFT_BAR = (0, -40, 298, 46)
HUD_LEFT_ARM = (0, -40, 176, 99)
HUD_LEFT_RIM = (130, 95, 20)
# The bar's lower right corner is cut off along x + y = HUD_LEFT_CUT, so that
# the pet's wish bubble in the beach shop, which opens right under it, keeps
# 8 pixels away; the goal bar and the labels stay left of the cut.
HUD_LEFT_CUT = 321


def hud_left(w, h, at, radius=22):
    """The L of the left HUD panel for a picture drawn at `at`: the panel's
    three layers (rim, border, fill) each laid over both arms, so no border
    runs across the inside."""
    img = new(w, h)
    fill, border = PAL["panel"], HUD_LEFT_RIM
    for inset, colour, r in ((0, rgba(shade(border, 0.7)), radius), (2, rgba(border), radius),
                             (5, rgba(fill, 235), radius - 3)):
        layer = new(w, h)
        d = ImageDraw.Draw(layer)
        for l, t, rr, b in (HUD_LEFT_BAR, HUD_LEFT_ARM):
            d.rounded_rectangle([l - at[0] + inset, t - at[1] + inset, rr - at[0] - 1 - inset, b - at[1] - 1 - inset],
                                r, fill=colour)
        cut = HUD_LEFT_CUT - at[0] - at[1] - int(inset * 1.5)
        d.polygon([(cut, 0), (w, 0), (w, h), (cut - h, h)], fill=(0, 0, 0, 0))
        img.alpha_composite(layer)
    return img


def left_menu():
    R = [(0, 298, 0, 99, lambda w, h: hud_left(w, h, (0, 0))),
         (8, 276, 109, 133, lambda w, h: P.bar(w, h, PAL["sun"]))]
    return atlas(298, 133, R)


# The overlay panel is drawn at (182, 7) of the screen; its texts run from
# y 349 to about 575 in white (titles, statistics) and in black (goals, the
# bonus help), partly on the same rows, so the page behind them has the one
# blue that keeps both readable (a contrast of 4.5:1 and more with each).
MESSAGE_AT = (182, 7)
MESSAGE_BODY = (0, 290, 662, 690)      # the visible panel, in the cell
MESSAGE_PAGE = (14, 326, 648, 586)     # the page under the texts
PAGE_BLUE = (70, 122, 170)


def message():
    def title(text, color):
        def paint(w, h):
            # the badge sits right above the panel's top edge
            img = new(w, h)
            d = ImageDraw.Draw(img)
            img.alpha_composite(P.star(120, 120, color), ((w - 120) // 2, 80))
            # a ribbon under the word: it stands over the shop, not over the panel
            d.rounded_rectangle([14, 214, w - 15, 264], 16, fill=rgba(PAL["ink"]))
            d.rounded_rectangle([18, 218, w - 19, 260], 13, fill=rgba(PAL["deep"]))
            text_center(d, (w / 2, 239), text, 34, PAL["white"], True, PAL["ink"], 3)
            return img
        return paint

    def body(w, h):
        img = new(w, h)
        d = ImageDraw.Draw(img)
        l, t, r, b = MESSAGE_BODY
        d.rounded_rectangle([l, t, r - 1, b - 1], 36, fill=rgba(PAL["ink"]))
        d.rounded_rectangle([l + 3, t + 3, r - 4, b - 4], 33, fill=rgba(PAL["deep"]))
        d.rounded_rectangle([l + 8, t + 8, r - 9, b - 9], 28, fill=rgba(PAL["panel"]))
        l, t, r, b = MESSAGE_PAGE
        d.rounded_rectangle([l - 3, t - 3, r + 2, b + 2], 20, fill=rgba(PAL["ink"]))
        d.rounded_rectangle([l, t, r - 1, b - 1], 18, fill=rgba(PAGE_BLUE))
        return img

    # The line lies inside the panel's cell, on the page: it has the page's
    # colour, so that the texts over it stay readable.
    R = [(0, 662, 0, 756, body),
         (0, 267, 757, 1023, title("Complete!", PAL["sun"])),
         (270, 538, 757, 1022, title("Failed", PAL["stone"])),
         (166, 474, 543, 566, lambda w, h: new(w, h, rgba(PAGE_BLUE)))]
    return atlas(662, 1023, R)


def aquarium_body(look):
    w = 242 if look < 3 else 240
    frame = [(90, 150, 190), (200, 150, 100), (150, 150, 170), (230, 200, 120)][look]
    img = new(w, 158)
    d = ImageDraw.Draw(img)
    # The water is opaque: the heroine serving the tank stands behind it.
    d.rounded_rectangle([6, 16, w - 6, 150], 10, fill=(150, 210, 240, 255), outline=rgba(frame), width=6)
    shine = new(w, 158)
    ImageDraw.Draw(shine).rectangle([14, 26, w - 14, 44], fill=(200, 240, 255, 90))
    img.alpha_composite(shine)
    d.rounded_rectangle([0, 4, w, 22], 6, fill=rgba(frame), outline=INK, width=2)
    d.rounded_rectangle([0, 138, w, 158], 6, fill=rgba(shade(frame, 0.85)), outline=INK, width=2)
    return img


def aquarium_sheet(look, h):
    img = new(256 if look < 3 else 240, h)
    w = img.size[0]
    img.alpha_composite(aquarium_body(look), (0, 0))
    d = ImageDraw.Draw(img)
    # lamp light 0-231 x 155-263
    light = new(231, 105)
    ImageDraw.Draw(light).polygon([(80, 0), (150, 0), (225, 104), (5, 104)], fill=(255, 250, 200, 70))
    img.alpha_composite(light.filter(ImageFilter.GaussianBlur(4)), (0, 155))
    # dirt 1 (brush 1: green algae film) 0-235 x 260-380, dirt 2 (brown spots) 382-507
    r = rng("dirt", look)
    for y0, y1, col in ((261, 380, (90, 160, 70)), (391, 499, (130, 100, 60))):
        for _ in range(60):
            x, y = r.uniform(8, 215), r.uniform(y0 + 10, y1 - 10)
            rr = r.uniform(4, 12)
            d.ellipse([x - rr, y - rr, x + rr, y + rr], fill=rgba(col, 120))
    return img


def glow_sheet(w, h, rects, image_id=None):
    """image_id: a sheet whose glows light the panel's items, each kept to its
    item's share of the shelf."""
    regions = [(l, r, t, b, lambda ww, hh: P.glow(ww, hh)) for l, r, t, b in rects]
    return atlas(w, h, S.confine(image_id, regions) if image_id else regions)


def interiors():
    R = []
    grounds = {"SAND": [(286, 512, 0, 73), (285, 512, 72, 147)], "STONE": [(285, 512, 145, 219), (285, 512, 216, 290)],
               "ROCK": [(285, 512, 287, 360), (285, 512, 359, 432)]}
    for k, rects in grounds.items():
        for i, rc in enumerate(rects):
            R.append(rc + (lambda w, h, k=k, i=i: P.ground(k, w, h, i),))
    houses = {"CASTLE": [(0, 44, 290, 332), (0, 44, 245, 289)], "CHEST": [(0, 36, 334, 374), (37, 75, 333, 374)],
              "SEA_SHELL": [(192, 228, 258, 292), (192, 228, 224, 258)]}
    for k, rects in houses.items():
        for rc in rects:
            R.append(rc + (lambda w, h, k=k: P.house(k, w, h),))
    algae = {"GREEN_GRASS": [(204, 246, 140, 190), (246, 286, 140, 186), (160, 228, 190, 224)],
             "BLUE_GRASS": [(46, 86, 154, 194), (86, 120, 154, 189), (120, 159, 141, 187), (159, 203, 143, 187)],
             "RED_GRASS": [(0, 42, 195, 246), (43, 83, 194, 234), (83, 115, 194, 235), (0, 45, 154, 194)]}
    for k, rects in algae.items():
        for i, rc in enumerate(rects):
            R.append(rc + (lambda w, h, k=k, i=i: P.grass(k, w, h, i),))
    corals = {"RED_CORAL": [(220, 274, 29, 69), (0, 59, 54, 104), (60, 110, 54, 106), (110, 158, 54, 99), (159, 220, 54, 99), (220, 266, 69, 104)],
              "BLUE_CORAL": [(0, 53, 3, 54), (92, 127, 0, 53), (128, 176, 4, 54)],
              "YELLOW_CORAL": [(0, 55, 104, 154), (56, 113, 111, 154), (113, 152, 99, 141), (152, 188, 99, 136), (188, 222, 104, 137), (222, 271, 104, 140)]}
    for k, rects in corals.items():
        for i, rc in enumerate(rects):
            R.append(rc + (lambda w, h, k=k, i=i: P.coral(k, w, h, i),))
    # wish-bubble body and the sale-badge frame
    R.append((0, 88, 384, 448, lambda w, h: P.bubble_icon(w, h)))
    R.append((0, 122, 448, 512, lambda w, h: P.bubble_icon(w, h)))
    R.extend(wish_icon_regions())
    return atlas(512, 512, R)


# What a fish asks for in its wish bubble: (left, right, top, bottom, paint).
WISH_SINGLE_ICONS = [
    (213, 287, 349, 412, lambda w, h: P.food(1, w, h)),
    (45, 119, 234, 298, lambda w, h: P.food(2, w, h)),
    (118, 193, 223, 289, lambda w, h: P.food(3, w, h)),
    (211, 286, 291, 349, lambda w, h: P.food(4, w, h)),
    (217, 287, 410, 473, lambda w, h: P.vitamin("growth", w, h)),
    (77, 133, 303, 363, lambda w, h: P.vitamin("cost", w, h)),
    (160, 216, 363, 426, lambda w, h: P.medicine(2, w, h)),
    (227, 286, 189, 252, lambda w, h: P.medicine(1, w, h)),
    (87, 162, 363, 425, lambda w, h: P.brush(1, w, h)),
    (131, 213, 303, 365, lambda w, h: P.brush(2, w, h)),
]
WISH_INTERIOR_ICONS = [
    (423, 465, 473, 511, lambda w, h: P.ground("STONE", w, h, 7)),
    (425, 465, 433, 473, lambda w, h: P.ground("ROCK", w, h, 7)),
    (465, 511, 468, 511, lambda w, h: P.ground("SAND", w, h, 7)),
    (124, 174, 425, 464, lambda w, h: P.grass("GREEN_GRASS", w, h, 7)),
    (299, 342, 467, 508, lambda w, h: P.grass("BLUE_GRASS", w, h, 7)),
    (341, 401, 466, 512, lambda w, h: P.grass("RED_GRASS", w, h, 7)),
    (122, 174, 462, 511, lambda w, h: P.house("CASTLE", w, h)),
    (173, 216, 425, 473, lambda w, h: P.house("CHEST", w, h)),
    (211, 255, 472, 512, lambda w, h: P.house("SEA_SHELL", w, h)),
    (171, 213, 471, 512, lambda w, h: P.coral("RED_CORAL", w, h, 7)),
    (253, 301, 472, 512, lambda w, h: P.coral("BLUE_CORAL", w, h, 7)),
    (234, 282, 253, 290, lambda w, h: P.coral("YELLOW_CORAL", w, h, 7)),
]
# Several icon places overlap their neighbours by up to this much.
WISH_ICON_MARGIN = 3


def wish_icon_regions():
    """The wish icons, each painted inside its place so that no icon reaches
    into a neighbour's."""
    return [(l, r, t, b, PR.inset(paint, WISH_ICON_MARGIN))
            for l, r, t, b, paint in WISH_SINGLE_ICONS + WISH_INTERIOR_ICONS]


def aquarium_animation():
    img = new(379, 512)
    d = ImageDraw.Draw(img)
    for col in range(4):               # rising bubbles, 16 x 64 cells from (244, 0)
        for row in range(8):
            k = col * 8 + row
            x0, y0 = 244 + col * 16, row * 64
            for j in range(3):
                y = y0 + 64 - ((k * 6 + j * 21) % 64)
                d.ellipse([x0 + 4 + j * 2, y - 3, x0 + 10 + j * 2, y + 3], outline=(255, 255, 255, 200), width=1)
    for row in range(32):              # water surface of the wish bubble, 121 x 13
        pts = [(x, row * 13 + 6 + 3 * math.sin(x / 10.0 + row * 0.4)) for x in range(0, 121, 4)]
        d.line(pts, fill=(120, 200, 250, 220), width=3)
    for row in range(16):              # tiny air bubble, 6 x 6 from (125, 0)
        rr = 1 + row % 3
        d.ellipse([128 - rr, row * 6 + 3 - rr, 128 + rr, row * 6 + 3 + rr], fill=(255, 255, 255, 220))
    wish_bubble_pieces(d)
    for col in range(2):               # machine working, 36 x 77 from (307, 0)
        for row in range(6):
            k = col * 6 + row
            x0, y0 = 307 + col * 36, row * 77
            right = S.content_box("AQUARIUM_ANIMATION", (x0, x0 + 36, y0, y0 + 77))[2]  # clear of the sand
            d.ellipse([x0 + 4, y0 + 20 + k % 4 * 4, x0 + right - 2, y0 + 50 + k % 4 * 4], fill=(255, 255, 255, 150))
            d.ellipse([x0 + 10, y0 + 8 + (k * 7) % 30, x0 + 18, y0 + 16 + (k * 7) % 30], fill=(200, 240, 255, 200))
    return img


def wish_bubble_pieces(d):
    """The wish bubble's small rising bubble (123..175 x 436..486) and its
    water (0..116 x 423..485; a single-icon bubble uses the left 79 pixels)."""
    d.rectangle([0, 423, 115, 484], fill=(90, 170, 235, 150))
    d.line([(0, 423), (115, 423)], fill=(170, 220, 255, 200), width=2)
    d.ellipse([125, 438, 173, 484], fill=(225, 245, 255, 120), outline=(255, 255, 255, 230), width=3)
    d.ellipse([136, 446, 148, 456], fill=(255, 255, 255, 235))


def grid_anim(w, h, origin, cell, cols, rows, paint):
    img = new(w, h)
    for c in range(cols):
        for r in range(rows):
            x0, y0 = origin[0] + c * cell[0], origin[1] + r * cell[1]
            img.alpha_composite(paint(cell[0], cell[1], c * rows + r), (x0, y0))
    return img


def work_cloud():
    def cloud(w, h, k):
        img = new(w, h)
        d = ImageDraw.Draw(img)
        r = rng("cloud", k)
        for _ in range(6):
            x, y, rr = r.uniform(20, w - 20), r.uniform(20, h - 20), r.uniform(10, 22)
            d.ellipse([x - rr, y - rr, x + rr, y + rr], fill=(255, 255, 255, 170))
        return img.filter(ImageFilter.GaussianBlur(2))

    def comp(w, h, k):
        img = new(w, h)
        d = ImageDraw.Draw(img)
        d.rounded_rectangle([4, 30, w - 4, h - 4], 6, fill=rgba(PAL["stone"]), outline=INK, width=2)
        for j in range(3):
            y = 28 - ((k * 5 + j * 9) % 28)
            d.ellipse([10 + j * 3, y, 16 + j * 3, y + 6], outline=(255, 255, 255, 220))
        return img
    img = grid_anim(416, 992, (0, 0), (100, 80), 3, 12, cloud)
    img.alpha_composite(grid_anim(416, 992, (304, 0), (28, 62), 2, 16, comp))
    img.alpha_composite(grid_anim(416, 992, (360, 0), (28, 62), 1, 10, comp))
    img.alpha_composite(grid_anim(416, 992, (388, 0), (28, 62), 1, 10, comp))
    return img


def caustic():
    def paint(w, h, k):
        img = new(w, h)
        d = ImageDraw.Draw(img)
        for j in range(8):
            x = (j * 27 + k * 5) % w
            d.arc([x - 20, 5, x + 20, h - 5], 200, 340, fill=(120, 160, 170, 120), width=3)
        return img
    return grid_anim(380, 972, (0, 0), (190, 54), 2, 18, paint)


def volume_light():
    def paint(w, h, k):
        img = new(w, h)
        d = ImageDraw.Draw(img)
        for j in range(4):
            x = 20 + j * 50 + 10 * math.sin(k / 5.0 + j)
            d.polygon([(x, 0), (x + 14, 0), (x + 30, h), (x + 10, h)], fill=(255, 255, 255, 40))
        return img.filter(ImageFilter.GaussianBlur(3))
    return grid_anim(400, 1024, (0, 0), (200, 64), 2, 16, paint)


def sea_wave():
    def paint(w, h, k):
        img = new(w, h)
        d = ImageDraw.Draw(img)
        # the surface lies low enough for every window's crop (top 4, 38 and 45) to show it
        pts = [(x, 58 + 6 * math.sin(x / 12.0 + k * 0.63)) for x in range(0, w + 4, 4)]
        d.polygon(pts + [(w, h), (0, h)], fill=rgba(PAL["sea"]))
        d.line(pts, fill=rgba(PAL["foam"]), width=4)
        return img
    return grid_anim(200, 450, (0, 0), (100, 90), 2, 5, paint)


def footwear(w, h, level, second):
    """A footwear sheet: a pair of shoes in just the cells the figure's clips
    cut, placed so that at each clip's offset they stand under her feet."""
    import footwear as fw
    col = [(250, 140, 170), (200, 150, 90), (90, 110, 160)][level - 1]
    img = new(w, h)
    d = ImageDraw.Draw(img)
    for c in fw.clips(level):
        if c["sheet"] != (2 if second else 1):
            continue
        for k, cell in enumerate(fw.visited(c)):
            left, _, top, _ = fw.cut(c, cell)
            cx, sole = fw.sole_place(c)
            lift = min((k % 5) * 2, sole - 11)  # a lifted shoe stays in its cell
            for side in (-1, 1):
                x = left + cx + side * 11
                y = top + sole - (lift if side == (1 if k % 2 else -1) else 0)
                d.rounded_rectangle([x - 10, y - 10, x + 10, y], 5, fill=rgba(col), outline=INK, width=2)
    # The stills (left, right, top, bottom in fw.STILL) are drawn from just
    # below her soles down: they stay transparent, or a slab shows under her.
    return img


def shadow_part():
    img = new(864, 732)
    d = ImageDraw.Draw(img)
    for l, r, t, b in ((759, 864, 251, 335), (759, 864, 335, 419), (427, 534, 650, 732)):
        d.ellipse([l + 4, t + (b - t) // 2 - 14, r - 4, t + (b - t) // 2 + 14], fill=(20, 40, 70, 110))
    return img


def pelka_map():
    def paint(w, h, k):
        hero = __import__("anims").heroine("walk", (k % 4) / 4.0)
        return hero.resize((w, h), Image.LANCZOS)
    return grid_anim(312, 484, (0, 0), (39, 121), 8, 4, paint)


def time_bar():
    img = new(187, 240)
    img.alpha_composite(grid_anim(187, 240, (0, 0), (24, 24), 5, 10,
                                  S.filled(lambda w, h, k: clock(w, h, k / 49.0), S.VITAMIN_CLOCK_BOX)))
    # carried vitamins, eight directions each: cost 119-153 (its first column
    # is shared with the clock), growth 153-187
    atlas_onto(img, PR.column(120, 153, 0, 224, 8, PR.inset(PR.vitamin_piece("cost"))) +
               PR.column(153, 187, 0, 224, 8, PR.inset(PR.vitamin_piece("growth"))))
    return img


def brush_sheet():
    """Eight views of each brush, one atlas column each, cut by the carried
    picture rule like every other carried item."""
    img = new(99, 462)
    views = lambda n: PR.inset(lambda w, h, k: P.brush(n, w, h, k * 45 - 90))
    return atlas_onto(img, PR.column(0, 46, 0, 462, 8, views(1)) + PR.column(47, 99, 0, 414, 8, views(2)))


# Hover glows of the shop devices on GLOW besides the tools' in `build`: the
# twelve ingredients, the brushes of locations 2 and 3 and two music stands.
DEVICE_GLOWS = [
    (369, 421, 239, 275), (367, 420, 283, 323), (421, 463, 298, 338), (378, 422, 342, 377),
    (463, 505, 298, 339), (140, 187, 298, 340), (265, 308, 296, 343), (459, 508, 0, 52),
    (261, 299, 148, 190), (455, 508, 62, 112), (188, 243, 318, 363), (308, 359, 242, 289),
    (183, 245, 167, 240), (67, 134, 267, 341), (313, 363, 314, 392), (106, 175, 196, 267),
    (124, 234, 355, 471), (0, 126, 337, 471)]


def machine_glow():
    """The machine's body glows of levels 1 to 3 and its door glow."""
    return glow_sheet(258, 255, [(135, 258, 0, 128), (121, 255, 128, 255), (0, 128, 0, 148), (34, 120, 150, 235)], "MACHINE_GLOW")


def instruments():
    """Compressor switches, switch-wish icons, order time bar, markers, the
    vitamins on the shelf and the carried pictures (see props.py)."""
    img = atlas(481, 500, S.confine("INSTRUMENTS", PR.instruments_regions()))
    return additive(img, PR.TRAY_HIGHLIGHT_BOX)  # drawn additively over the tray


def upgrades():
    """Pet tanks and their front glass, machine bodies, shutters and progress
    bars, music stands and the hint arrow (see props.py)."""
    return atlas(513, 490, S.confine("UPGRADES", PR.upgrades_regions()))


def build(out_dir):
    """Writes every picture; returns (id, rel path, coverage, extra attrs) in declaration order."""
    from common import fit
    decl = []

    def put(img_id, img, coverage, rel=None, opaque=False, light=False, **attrs):
        rel = rel or "Images/%s.png" % img_id.lower().lstrip("_")
        save_png(img, "%s/%s" % (out_dir, rel), opaque=opaque, light=light)
        decl.append((img_id, rel, coverage, attrs))

    put("SPLASH_1", splash_team(), "-2", opaque=True, only_intro=1)
    put("SPLASH_2", splash_title(), "-2", opaque=True, only_intro=1)
    put("INTRO_SCREEN", intro_screen(), "-2,0", opaque=True)
    put("INTRO_PROGRESS", progress_bar(), "-2,0", x=266, y=690)
    put("CURSOR", cursor(), "0")
    put("GUI", gui_atlas(), "0")
    put("COMICS_1", comic(1), "0", opaque=True)
    put("COMICS_2", comic(2), "0", opaque=True)
    put("MENU_PETS", pets_screen(), "0", opaque=True)
    put("COMICS_3", comic(3), "5", opaque=True)
    put("COMICS_4", comic(4), "5", opaque=True)
    put("COMICS_5", comic(5), "5", opaque=True)
    put("LEFT_MENU", left_menu(), "1,2,3")
    put("ICONS", icons_atlas(), "1,2,3,4")
    put("MESSAGE", message(), "1,2,3,4")
    put("MAP", map_screen(), "1,2,3", opaque=True)
    put("PELKA_MAP", pelka_map(), "1,2,3")
    put("ITEMS", items_atlas(), "1,2,3")
    put("UPGRADES", upgrades(), "1,2,3")
    put("AQUARIUM_INTERIORS", interiors(), "1,2,3")
    put("AQUARIUM_ANIMATION", aquarium_animation(), "1,2,3")
    shadow = new(223, 92)
    ImageDraw.Draw(shadow).ellipse([4, 20, 219, 88], fill=(20, 40, 70, 90))
    put("AQUARIUM_SHADOW", shadow.filter(ImageFilter.GaussianBlur(4)), "1,2,3")
    put("AQUARIUM_1", aquarium_sheet(0, 507), "1")
    put("AQUARIUM_2", aquarium_sheet(1, 499), "2")
    put("AQUARIUM_3", aquarium_sheet(2, 505), "3")
    put("AQUARIUM_ADD", aquarium_sheet(3, 505), "1,2,3")
    put("LOCATION_1_GLOW", glow_sheet(247, 314, [(5, 247, 12, 173), (0, 160, 292, 314), (180, 240, 183, 231), (117, 165, 183, 233), (178, 233, 252, 301), (5, 105, 179, 279)]), "1", light=True)
    put("LOCATION_2_GLOW", glow_sheet(255, 311, [(1, 255, 1, 167), (0, 170, 272, 311), (105, 177, 168, 221), (177, 252, 167, 219), (177, 248, 229, 285), (5, 105, 179, 279)]), "2", light=True)
    put("LOCATION_3_GLOW", glow_sheet(255, 399, [(1, 255, 1, 172), (0, 172, 362, 399), (128, 200, 300, 351), (128, 197, 245, 301), (128, 201, 171, 225), (5, 105, 179, 279)]), "3", light=True)
    put("GLOW", glow_sheet(510, 473, [(1, 255, 1, 166), (0, 180, 166, 194), (401, 451, 0, 50), (255, 400, 0, 145),
                                      (310, 387, 150, 233), (57, 102, 198, 260), (265, 296, 198, 250), (245, 300, 349, 393),
                                      (238, 302, 400, 468), (421, 479, 237, 298), (197, 252, 245, 304), (447, 500, 405, 473),
                                      (448, 507, 340, 403), (401, 510, 133, 236), (183, 243, 169, 240), (4, 64, 267, 333)] + DEVICE_GLOWS, "GLOW"), "1,2,3", light=True)
    light = new(128, 64)
    ImageDraw.Draw(light).ellipse([4, 4, 124, 60], fill=(255, 240, 170, 200))
    put("LIGHT_ADD", light.filter(ImageFilter.GaussianBlur(8)), "1,2,3", light=True)
    put("INSTRUMENTS", instruments(), "1,2,3")
    put("WORK_CLOUD", work_cloud(), "1,2,3")
    put("CAUSTIC", caustic(), "1,2,3", light=True)
    put("VOLUME_LIGHT", volume_light(), "1,2,3")
    put("LOCATION_1", location(1), "1", opaque=True)
    put("LOCATION_2", location(2), "2", opaque=True)
    put("LOCATION_3", location(3), "3", opaque=True)
    put("LOCATION_UPDATES_1", location_updates_1(), "1,2,3")
    put("LOCATION_UPDATES_2", location_updates_2(), "1,2,3")
    stand = new(137, 157)
    ImageDraw.Draw(stand).rounded_rectangle([10, 20, 127, 150], 12, fill=rgba(PAL["wood"]), outline=INK, width=3)
    put("LOCATION_UPDATES_3", stand, "3")
    put("BONUS_GAME_LOCATION", bonus_location(), "4", opaque=True)
    put("SEA_WAVE", sea_wave(), "1,2")
    put("SEA_WAVE_MASK", sea_wave_mask(), "1,2")
    for lvl, name in ((1, "SLIPPERS"), (2, "SANDALS"), (3, "BOOTS")):
        put("%s_1" % name, footwear(364, 504, lvl, False), "1,2,3")
        put("%s_2" % name, footwear(848 if lvl == 3 else 844, 1023 if lvl == 3 else 1021, lvl, True), "1,2,3")
    put("_SHADOW_PART_2", shadow_part(), "1,2,3", rel="Images/shadow_stills.png")
    put("TIME_BAR", time_bar(), "1,2,3")
    put("BRUSH", brush_sheet(), "1,2,3")
    put("MACHINE_GLOW", machine_glow(), "1,2,3", light=True)
    mbar = new(109, 446)
    md = ImageDraw.Draw(mbar)
    md.rounded_rectangle([3, B.BAR_FRAME_TOP, 86, 445], 30, fill=rgba(PAL["deep"], 200), outline=rgba(PAL["sun"]), width=5)
    md.rectangle([89, 88, 108, 364], fill=rgba(PAL["deep"]))
    __import__("bonus_sprites").paint_bar_fill(md)
    B.paint_bar_labels(mbar, A.turtle_pic)
    put("MINIGAME_BAR", mbar, "4")
    put("_TURTLE_BODY", __import__("anims").turtle_pic(54, 32), "4", rel="Images/turtle_body.png")
    return decl
