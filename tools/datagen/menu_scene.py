"""The animated backdrop of the menus: "menu scene.xml" and its pictures
(menu group, coverage -1).

The scene, back to front: the sea (a still picture behind every page), light
rays that scroll slowly, swaying plants, fish that drift to the right and
wrap around, a clam that opens and closes with pauses between its runs; a
treasure chest shown on the root page only; a dark panel behind the
high-score table and one behind the credits on their pages; the field the
name entry types into.

A dark ledge runs along the bottom of the sea, from FOOTER_TOP down: the
root page's version and notice lines are drawn on it in yellow, so nothing
else stands there where they run (the plants and the clam end above it)."""


from PIL import ImageChops, ImageDraw, ImageFilter

import painters as P
from common import PAL, rgba, new, vgradient, rng, save_png, write_text, xml_attr, fmt_float

# Root items of menu.xml that open a page: Play, Players, Options, High
# scores, Credits. An object hidden under all of them shows on the root page
# only, since a root rule matches anywhere in the page path.
ROOT_PAGES = ["MAIN_1", "MAIN_2", "MAIN_3", "MAIN_4", "MAIN_5", "PROFILE_1"]
HIGH_SCORE_PAGE = "MAIN_4"
CREDITS_PAGE = "MAIN_5"
# The credits scroll up between y 220 and 580, each line centred on x 512;
# the white names need a dark ground there, not the sea and the sand.
CREDITS_PANEL = (102, 205, 820, 430)   # x, y, width, height
NAME_ENTRY_PAGE = "PROFILE_1"
# The typed name stands centred on x 512 from y 391, one title-font line
# (42 high) and at most about 200 wide with its caret.
NAME_FIELD = (312, 376, 400, 72)   # x, y, width, height
FOOTER_TOP = 726
# Swaying plants tip their lower corners down by up to this much.
SWAY_DROP = 6

PLANT_CELL = (90, 220)
FISH_CELL = (160, 100)
CLAM_CELL = (110, 100)
CLAM_GRID = (3, 2)
LIGHT_SIZE = (512, 256)
PANEL_SIZE = (452, 570)    # to y 750, under the sixteenth high-score row

FISH = [("GOLD_FISH_1", 0.15), ("FISH_2", 0.55), ("CAT_FISH", 0.8)]
PLANTS = ["GREEN_GRASS", "BLUE_GRASS", "RED_GRASS"]
LEDGE = (44, 50, 64)


# --- pictures ----------------------------------------------------------------

def sea():
    """The still sea floor behind every page: water, rocks, distant coral."""
    w, h = 1024, 768
    img = vgradient(w, h, PAL["water"] + (255,), PAL["deep"] + (255,))
    d = ImageDraw.Draw(img)
    r = rng("backdrop", "sea")
    for k in range(6):
        x, y, rr = r.uniform(60, w - 60), r.uniform(h * 0.72, h * 0.8), r.uniform(40, 90)
        d.ellipse([x - rr * 1.6, y - rr * 0.7, x + rr * 1.6, y + rr], fill=rgba((60, 96, 130)))
    d.chord([-240, h * 0.8, w + 240, h * 1.45], 180, 360, fill=rgba(PAL["sand"]))
    for _ in range(700):
        x, y = r.uniform(0, w), r.uniform(h * 0.84, FOOTER_TOP)
        d.point((x, y), fill=rgba(PAL["sand_dark"]))
    # The ledge: a dark rock edge under the sand.
    d.rectangle([0, FOOTER_TOP, w, h], fill=rgba(LEDGE))
    d.line([(0, FOOTER_TOP), (w, FOOTER_TOP)], fill=rgba(PAL["ink"]), width=3)
    for k in range(4):
        kind = ["RED_CORAL", "BLUE_CORAL", "YELLOW_CORAL", "RED_CORAL"][k]
        img.alpha_composite(P.coral(kind, 110, 110, k), (int(150 + k * 220 + r.uniform(-30, 30)), int(h * 0.8) - 95))
    return img


def light():
    """Soft rays; the scroll shows the strip it uncovers mirrored, so the
    rays need no seam."""
    w, h = LIGHT_SIZE
    img = new(w, h)
    d = ImageDraw.Draw(img)
    for k in range(6):
        x = 20 + k * 84
        d.polygon([(x, 0), (x + 30, 0), (x + 70, h), (x + 20, h)], fill=(255, 255, 240, 46))
    img = img.filter(ImageFilter.GaussianBlur(6))
    # The rays fade out downwards, so the texture has no lower edge to see.
    fade = vgradient(w, h, (255, 255, 255, 255), (255, 255, 255, 0)).getchannel("A")
    img.putalpha(ImageChops.multiply(img.getchannel("A"), fade))
    return img


def plants():
    w, h = PLANT_CELL
    img = new(w * len(PLANTS), h)
    for k, kind in enumerate(PLANTS):
        img.alpha_composite(P.grass(kind, w, h, k + 3), (k * w, 0))
    return img


def fishes():
    w, h = FISH_CELL
    img = new(w * len(FISH), h)
    for k, (kind, phase) in enumerate(FISH):
        img.alpha_composite(P.fish(kind, w, h, 1, phase), (k * w, 0))
    return img


def clam():
    """Six frames, row by row, from closed to open (the lid stays inside its
    cell up to an opening of 0.6)."""
    w, h = CLAM_CELL
    cols, rows = CLAM_GRID
    img = new(w * cols, h * rows)
    for k in range(cols * rows):
        img.alpha_composite(P.shell(w, h, 0.6 * k / float(cols * rows - 1)), ((k % cols) * w, (k // cols) * h))
    return img


def chest():
    img = new(200, 160)
    img.alpha_composite(P.house("CHEST", 200, 150), (0, 10))
    d = ImageDraw.Draw(img)
    for k in range(5):
        x = 60 + k * 18
        d.ellipse([x - 7, 2 + (k % 2) * 6, x + 7, 16 + (k % 2) * 6], fill=rgba(PAL["sun"]), outline=rgba(PAL["ink"]))
    return img


def name_field():
    """A dark, framed field for the typed name."""
    _, _, w, h = NAME_FIELD
    img = new(w, h)
    ImageDraw.Draw(img).rounded_rectangle([1, 1, w - 2, h - 2], 16, fill=(10, 26, 52, 225),
                                          outline=rgba(PAL["panel_light"]), width=3)
    return img


def panel(size=PANEL_SIZE):
    w, h = size
    img = new(w, h)
    ImageDraw.Draw(img).rounded_rectangle([1, 1, w - 2, h - 2], 22, fill=(10, 26, 52, 215),
                                          outline=rgba(PAL["panel_light"]), width=3)
    return img


# --- the scene file --------------------------------------------------------

def element(name, attrs):
    if not attrs:
        return "  <%s/>" % name
    text = " ".join('%s="%s"' % (k, xml_attr(fmt_float(v) if isinstance(v, float) else v)) for k, v in attrs)
    return "  <%s %s/>" % (name, text)


def scene_xml():
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           "<!-- The menu backdrop. type: 0 still, 1 drifting, 2 swaying, 3 scrolling",
           "     texture, 4 frame animation. show and hide set the rules of the objects",
           "     that follow them: menu_root names match anywhere in the page path,",
           "     menu_item names only at its end. -->",
           "<Base>",
           "  <!-- behind every page -->",
           element("show", [])]
    out.append(element("object", [("type", 0), ("image", "BACKDROP_SEA"), ("x", 0), ("y", 0)]))
    lw, lh = LIGHT_SIZE
    out.append(element("object", [("type", 3), ("image", "BACKDROP_LIGHT"), ("x", 0), ("y", 0),
                                  ("s_x", 2.0), ("s_y", 1.5),
                                  ("r_left", 0), ("r_right", lw), ("r_top", 0), ("r_bottom", lh),
                                  ("dr_left", 0), ("dr_right", lw), ("dr_top", 0), ("dr_bottom", lh),
                                  ("speed_x", 14.0)]))
    pw, ph = PLANT_CELL
    for k, (x, angle, speed) in enumerate([(24, 4.0, 0.12), (880, -3.0, 0.1), (560, 2.0, 0.14)]):
        out.append(element("object", [("type", 2), ("image", "BACKDROP_PLANTS"), ("x", x), ("y", FOOTER_TOP - ph - SWAY_DROP),
                                      ("r_left", k * pw), ("r_right", (k + 1) * pw), ("r_top", 0), ("r_bottom", ph),
                                      ("r_c_x", pw // 2), ("r_c_y", ph), ("r", angle),
                                      ("min_angle", -6.0), ("max_angle", 6.0), ("speed_r", speed)]))
    fw, fh = FISH_CELL
    for k, (x, y, speed) in enumerate([(100, 150, 42.0), (620, 260, 28.0), (-120, 420, 55.0)]):
        out.append(element("object", [("type", 1), ("image", "BACKDROP_FISH"), ("x", x), ("y", y),
                                      ("r_left", k * fw), ("r_right", (k + 1) * fw), ("r_top", 0), ("r_bottom", fh),
                                      ("min_x", -fw - 20), ("max_x", 1044), ("speed_x", speed)]))
    cw, ch = CLAM_CELL
    cols, rows = CLAM_GRID
    out.append("  <object %s>" % " ".join('%s="%s"' % kv for kv in [
        ("type", 4), ("image", "BACKDROP_CLAM"), ("x", 700), ("y", FOOTER_TOP - ch + 4),
        ("r_left", 0), ("r_right", cw), ("r_top", 0), ("r_bottom", ch)]))
    out.append("  " + element("animation", [
        ("first_frame_x", 0), ("first_frame_y", 0), ("last_frame_x", cols - 1), ("last_frame_y", rows - 1),
        ("cur_frame_x", 0), ("cur_frame_y", 0), ("max_frame_x", cols), ("max_frame_y", rows),
        ("anim_dir_x", 1), ("anim_dir_y", 0), ("back_anim", 1), ("loop", 1),
        ("double_action_every_iteration", 3), ("anim_delay", 0.12), ("iteration_delay", 2.5),
        ("add_random_iteration_delay", 2.0)]))
    out.append("  </object>")
    out.append("  <!-- the root page only -->")
    out.append(element("hide", [("menu_root", ", ".join(ROOT_PAGES))]))
    out.append(element("object", [("type", 0), ("image", "BACKDROP_CHEST"), ("x", 40), ("y", 594)]))
    out.append("  <!-- behind the high-score table -->")
    out.append(element("show", [("menu_item", HIGH_SCORE_PAGE)]))
    out.append(element("object", [("type", 0), ("image", "BACKDROP_PANEL"), ("x", 282), ("y", 180)]))
    out.append("  <!-- behind the credits -->")
    out.append(element("show", [("menu_item", CREDITS_PAGE)]))
    x, y, _, _ = CREDITS_PANEL
    out.append(element("object", [("type", 0), ("image", "BACKDROP_CREDITS_PANEL"), ("x", x), ("y", y)]))
    out.append("  <!-- the field of the name entry -->")
    out.append(element("show", [("menu_item", NAME_ENTRY_PAGE)]))
    x, y, _, _ = NAME_FIELD
    out.append(element("object", [("type", 0), ("image", "BACKDROP_NAME_FIELD"), ("x", x), ("y", y)]))
    out.append("</Base>")
    return "\n".join(out) + "\n"


def build(out_dir):
    """Writes the scene and its pictures; returns their image declarations."""
    decl = []
    for img_id, img, opaque in [("BACKDROP_SEA", sea(), True), ("BACKDROP_LIGHT", light(), False),
                                ("BACKDROP_PLANTS", plants(), False), ("BACKDROP_FISH", fishes(), False),
                                ("BACKDROP_CLAM", clam(), False), ("BACKDROP_CHEST", chest(), False),
                                ("BACKDROP_PANEL", panel(), False),
                                ("BACKDROP_CREDITS_PANEL", panel(CREDITS_PANEL[2:]), False),
                                ("BACKDROP_NAME_FIELD", name_field(), False)]:
        rel = "Images/%s.png" % img_id.lower()
        save_png(img, "%s/%s" % (out_dir, rel), opaque=opaque)
        decl.append((img_id, rel, "-1", {}))
    write_text("%s/menu scene.xml" % out_dir, scene_xml())
    return decl
