"""The menus: menu.xml, the pictures of its items (menu group, coverage -1)
and their captions.

Pages (item ids in capitals):
- root: title, greeting, Play (MAIN_1), Players (MAIN_2), Options (MAIN_3),
  High scores (MAIN_4), Credits (MAIN_5), Exit;
- MAIN_1, asked when a game is in progress: Continue, New game, Back;
- MAIN_2: thirteen profile slots in one group, New player (PROFILE_1, whose
  page is the name entry), Delete, OK and Cancel;
- MAIN_3: music and sound sliders with - and + buttons, fullscreen and
  32-bit check boxes, the screen-size chooser, Apply and Back;
- MAIN_4 keeps x 300-712, y 196-744 free for the high-score table (up to
  sixteen rows), MAIN_5 the middle of the screen for the credits (y 220-580).
The name entry draws the typed name at (512, 391): nothing stands there."""

from PIL import ImageDraw

import painters as P
from common import PAL, rgba, shade, new, save_png, text_center, write_text, xml_attr

TITLE_FONT = "FONT_TITLE"
NAME_FONT = "FONT_TEXT"
PROFILE_GROUP = "PLAYERS"
PROFILE_SLOTS = 13

BUTTON = (240, 61)        # rows normal, hover, disabled
SMALL = (48, 48)          # - and + buttons
CHECK = (40, 40)
SLOT = (360, 36)
ARROW = (48, 48)          # display-mode chooser: previous, next
BANNER = (420, 70)
TITLE = (560, 130)
# Slider pieces on one picture: fill, track and knob.
SLIDER_FILL = (0, 0, 200, 16)
SLIDER_TRACK = (0, 20, 204, 40)
SLIDER_KNOB = (210, 0, 234, 32)

CAPTIONS = {
    "MENU_GREETING": "Hello, ",
    "MENU_PLAY": "Play",
    "MENU_PLAYERS": "Players",
    "MENU_OPTIONS": "Options",
    "MENU_HIGH_SCORES": "High scores",
    "MENU_CREDITS": "Credits",
    "MENU_EXIT": "Exit",
    "MENU_YOUR_GAME": "Your game",
    "MENU_CONTINUE": "Continue",
    "MENU_NEW_GAME": "New game",
    "MENU_BACK": "Back",
    "MENU_NEW_PLAYER": "New player",
    "MENU_DELETE": "Delete",
    "MENU_OK": "OK",
    "MENU_CANCEL": "Cancel",
    "MENU_TYPE_NAME": "Type your name",
    "MENU_NAME_REFUSED": "Name taken or list full",
    "MENU_MUSIC": "Music",
    "MENU_SOUND": "Sound",
    "MENU_FULLSCREEN": "Fullscreen",
    "MENU_32_BIT": "32-bit colour",
    "MENU_SCREEN_SIZE": "Screen size",
    "MENU_APPLY": "Apply",
}


# --- pictures ----------------------------------------------------------------

def rows(w, h, paint):
    """Three rows of one control: normal (or off), hover (or on), disabled."""
    img = new(w, 3 * h)
    for row in range(3):
        img.alpha_composite(paint(w, h, row), (0, row * h))
    return img


def button_row(w, h, row):
    """A rounded button: green, lighter while hovered, grey while disabled.
    The shine is laid over the face, not punched into it, so it brightens
    whatever stands behind the menu."""
    base = {0: PAL["leaf"], 1: (120, 226, 130), 2: PAL["stone_dark"]}[row]
    img = new(w, h)
    d = ImageDraw.Draw(img)
    r = h // 2
    d.rounded_rectangle([1, 3, w - 2, h - 1], r, fill=rgba(shade(base, 0.6)))
    d.rounded_rectangle([1, 1, w - 2, h - 4], r, fill=rgba(base), outline=rgba(PAL["ink"]), width=2)
    if row != 2:
        shine = new(w, h)
        ImageDraw.Draw(shine).rounded_rectangle([8, 5, w - 9, h // 2], r // 2, fill=(255, 255, 255, 60))
        img.alpha_composite(shine)
    return img


def check_row(w, h, row):
    img = new(w, h)
    d = ImageDraw.Draw(img)
    fill = PAL["stone_dark"] if row == 2 else PAL["panel_light"]
    d.rounded_rectangle([2, 2, w - 3, h - 3], 8, fill=rgba(fill), outline=rgba(PAL["ink"]), width=3)
    if row == 1:
        d.line([(10, h // 2), (w // 2 - 2, h - 11), (w - 9, 9)], fill=rgba(PAL["white"]), width=5)
    return img


def slot_row(w, h, row):
    img = new(w, h)
    d = ImageDraw.Draw(img)
    # The selected slot is dark enough for the white name on it.
    fill = {0: rgba(PAL["panel"], 200), 1: rgba(PAL["leaf_dark"], 240), 2: rgba(PAL["stone_dark"], 90)}[row]
    d.rounded_rectangle([1, 1, w - 2, h - 2], 10, fill=fill,
                        outline=rgba(PAL["ink"], 255 if row != 2 else 120), width=2)
    return img


def small_buttons():
    """The - button in the left column, the + button in the right."""
    w, h = SMALL
    img = new(2 * w, 3 * h)
    for col, sign in enumerate("-+"):
        for row in range(3):
            cell = button_row(w, h, row)
            d = ImageDraw.Draw(cell)
            cy = h // 2 - 2
            d.line([(14, cy), (w - 14, cy)], fill=rgba(PAL["white"]), width=6)
            if sign == "+":
                d.line([(w // 2, 12), (w // 2, h - 16)], fill=rgba(PAL["white"]), width=6)
            img.alpha_composite(cell, (col * w, row * h))
    return img


def arrows():
    """Previous (left column) and next (right column), normal and hovered
    rows, and a disabled previous button in the third row."""
    w, h = ARROW
    img = new(2 * w, 3 * h)
    for col, direction in enumerate((-1, 1)):
        for row in range(3):
            if row == 2:
                cell = button_row(w, h, 2)
            else:
                cell = P.arrow_button(w, h, direction, row == 1)
            img.alpha_composite(cell, (col * w, row * h))
    return img


def slider():
    img = new(240, 40)
    d = ImageDraw.Draw(img)
    l, t, r, b = SLIDER_FILL
    d.rounded_rectangle([l, t, r - 1, b - 1], 7, fill=rgba(PAL["green"]))
    l, t, r, b = SLIDER_TRACK
    d.rounded_rectangle([l, t, r - 1, b - 1], 9, fill=rgba(PAL["deep"], 220),
                        outline=rgba(PAL["ink"]), width=2)
    l, t, r, b = SLIDER_KNOB
    d.rounded_rectangle([l, t, r - 1, b - 1], 8, fill=rgba(PAL["white"]),
                        outline=rgba(PAL["ink"]), width=3)
    return img


def banner():
    w, h = BANNER
    return P.panel(w, h, radius=24)


def title():
    w, h = TITLE
    img = P.panel(w, h, radius=36)
    d = ImageDraw.Draw(img)
    text_center(d, (w / 2, h / 2 - 8), "Corvalen", 78, PAL["white"], True, PAL["ink"], 5)
    return img


def build(out_dir):
    """Writes the pictures; returns their (id, rel path, coverage, attrs)."""
    decl = []

    def put(img_id, img):
        rel = "Images/%s.png" % img_id.lower()
        save_png(img, "%s/%s" % (out_dir, rel))
        decl.append((img_id, rel, "-1", {}))

    put("MENU_TITLE", title())
    put("MENU_BANNER", banner())
    put("MENU_BUTTON", rows(*BUTTON, button_row))
    put("MENU_SMALL_BUTTONS", small_buttons())
    put("MENU_CHECK", rows(*CHECK, check_row))
    put("MENU_SLOT", rows(*SLOT, slot_row))
    put("MENU_ARROWS", arrows())
    put("MENU_SLIDER", slider())
    write_text(out_dir + "/menu.xml", menu_xml())
    return decl


# --- menu.xml ----------------------------------------------------------------

def rect(prefix, box):
    l, t, r, b = box
    return [(prefix + "left", l), (prefix + "top", t), (prefix + "right", r), (prefix + "bottom", b)]


class Page:
    """Collects item elements with their nesting."""

    def __init__(self):
        self.lines = []
        self.depth = 1

    def item(self, attrs, children=None):
        text = " ".join('%s="%s"' % (k, xml_attr(v)) for k, v in attrs)
        pad = "  " * self.depth
        if children is None:
            self.lines.append("%s<item %s/>" % (pad, text))
            return
        self.lines.append("%s<item %s>" % (pad, text))
        self.depth += 1
        children()
        self.depth -= 1
        self.lines.append("%s</item>" % pad)


def button(item_id, caption, x, y, func="", **more):
    return ([("id", item_id), ("type", "_SIMPLE"), ("image_id", "MENU_BUTTON"), ("text_id", caption),
             ("font_id", TITLE_FONT), ("x", x), ("y", y)]
            + ([("func", func)] if func else []) + rect("r_", (0, 0) + BUTTON) + list(more.items()))


def still(size):
    """A picture of one row: every row of the item is that row."""
    box = (0, 0) + size
    return rect("r_", box) + rect("r1_", box) + rect("r2_", box)


def header(item_id, caption, y, x=512):
    return [("id", item_id), ("type", "_HEADER"), ("image_id", "MENU_BANNER"), ("text_id", caption),
            ("font_id", TITLE_FONT), ("x", x), ("y", y)] + still(BANNER)


def small(item_id, sign, x, y, func):
    """A - or + button: the sign is part of its picture, so it has no caption."""
    col = "-+".index(sign) * SMALL[0]
    return [("id", item_id), ("type", "_SIMPLE"), ("image_id", "MENU_SMALL_BUTTONS"),
            ("x", x), ("y", y), ("func", func)] + rect("r_", (col, 0, col + SMALL[0], SMALL[1]))


LABEL_X = 180     # captions of the option controls start here
CONTROL_X = 560   # centre of the sliders and check boxes


def options_page(p):
    p.item(header("OPTIONS_HEADER", "MENU_OPTIONS", 70))
    for key, item_id, caption, y, func in ((0, "MUSIC", "MENU_MUSIC", 200, "music"),
                                           (1, "SOUND", "MENU_SOUND", 280, "sound")):
        p.item([("id", item_id + "_VOLUME"), ("type", "_SCROLL"), ("image_id", "MENU_SLIDER"),
                ("text_id", caption), ("font_id", TITLE_FONT), ("options_id", key),
                ("x", CONTROL_X), ("y", y), ("x_disp", LABEL_X - CONTROL_X), ("centered", 0),
                ("func", "_set_%s_volume" % func)]
               + rect("r_", SLIDER_FILL) + rect("r1_", SLIDER_TRACK) + rect("r2_", SLIDER_KNOB))
        p.item(small(item_id + "_DEC", "-", CONTROL_X - 150, y - 14, "_dec_%s_volume" % func))
        p.item(small(item_id + "_INC", "+", CONTROL_X + 150, y - 14, "_inc_%s_volume" % func))
    for key, item_id, caption, y in ((3, "FULLSCREEN", "MENU_FULLSCREEN", 350),
                                     (4, "COLOUR_32_BIT", "MENU_32_BIT", 420)):
        p.item([("id", item_id), ("type", "_CHECK"), ("image_id", "MENU_CHECK"), ("text_id", caption),
                ("font_id", TITLE_FONT), ("options_id", key), ("x", CONTROL_X), ("y", y),
                ("x_disp", LABEL_X - CONTROL_X), ("centered", 0)] + rect("r_", (0, 0) + CHECK))
    p.item([("id", "SCREEN_SIZE_LABEL"), ("type", "_HEADER"), ("text_id", "MENU_SCREEN_SIZE"),
            ("font_id", TITLE_FONT), ("x", 260), ("y", 490)] + rect("r_", (0, 0, 0, ARROW[1])))
    p.item([("id", "DISPLAY_MODE"), ("type", "_DISPLAYMODE"), ("image_id", "MENU_ARROWS"),
            ("font_id", TITLE_FONT), ("options_id", 2), ("x", CONTROL_X - 130), ("y", 490),
            ("x_disp", 260)]
           + rect("r_", (0, 0) + ARROW) + rect("r1_", (ARROW[0], 0, 2 * ARROW[0], ARROW[1])))
    p.item(button("APPLY", "MENU_APPLY", pair_x(0), 600, "_set_video_options"))
    p.item(button("OPTIONS_BACK", "MENU_BACK", pair_x(1), 600, "_set_options"))


def players_page(p):
    p.item(header("PLAYERS_HEADER", "MENU_PLAYERS", 40))
    for n in range(PROFILE_SLOTS):
        p.item([("id", "PLAYER_%d" % (n + 1)), ("type", "_PROFILE"), ("image_id", "MENU_SLOT"),
                ("font_id", NAME_FONT), ("group_id", PROFILE_GROUP), ("x", 512), ("y", 122 + 38 * n)]
               + rect("r_", (0, 0) + SLOT))

    def name_entry():
        p.item(header("CREATE_PLAYER_1", "MENU_TYPE_NAME", 250))
        # Without a picture: its caption shows only while enabled, after a
        # refused name.
        p.item([("id", "CREATE_PLAYER_2"), ("type", "_HEADER"), ("text_id", "MENU_NAME_REFUSED"),
                ("font_id", TITLE_FONT), ("color", "0xFFFF9080"), ("x", 512), ("y", 440)])
        p.item(button("CREATE_PLAYER_3", "MENU_OK", pair_x(0), 520, "_new_player"))
        p.item(button("CREATE_PLAYER_4", "MENU_CANCEL", pair_x(1), 520, "_cancel_edit_player_name"))

    p.item(button("PROFILE_1", "MENU_NEW_PLAYER", row_x(0), 640, "_edit_player_name"), name_entry)
    p.item(button("DELETE_PLAYER", "MENU_DELETE", row_x(1), 640, "_delete_player"))
    p.item(button("SELECT_PLAYER", "MENU_OK", row_x(2), 640, "_confirm_select_player"))
    p.item(button("PLAYERS_CANCEL", "MENU_CANCEL", row_x(3), 640, "_cancel_select_player"))


def row_x(n):
    """Four buttons in a row across the screen."""
    return int(512 + (n - 1.5) * 250)


def pair_x(n):
    """Two buttons side by side around the middle, a gap of 20 between them."""
    return 512 + (2 * n - 1) * (BUTTON[0] + 20) // 2


def menu_xml():
    p = Page()
    p.item([("id", "TITLE"), ("type", "_HEADER"), ("image_id", "MENU_TITLE"), ("x", 512), ("y", 24)]
           + still(TITLE))
    p.item([("id", "GREETING"), ("type", "_GREETING"), ("text_id", "MENU_GREETING"),
            ("font_id", TITLE_FONT), ("x", 512), ("y", 165)])

    def play_page():
        p.item(header("PLAY_HEADER", "MENU_YOUR_GAME", 200))
        p.item(button("CONTINUE_GAME", "MENU_CONTINUE", 512, 300, "_continue_game"))
        p.item(button("NEW_GAME", "MENU_NEW_GAME", 512, 380, "_new_game"))
        p.item(button("PLAY_BACK", "MENU_BACK", 512, 460, "_back"))

    p.item(button("MAIN_1", "MENU_PLAY", 512, 250, "_check_old_game"), play_page)
    p.item(button("MAIN_2", "MENU_PLAYERS", 512, 320, "_select_player"), lambda: players_page(p))
    p.item(button("MAIN_3", "MENU_OPTIONS", 512, 390, "_get_options"), lambda: options_page(p))

    def scores_page():
        p.item(header("HIGH_SCORES_HEADER", "MENU_HIGH_SCORES", 100))
        # Beside the table: a long file's rows 13 to 16 run down to y 744.
        p.item(button("HIGH_SCORES_BACK", "MENU_BACK", 872, 640, "_hide_high_scores"))

    def credits_page():
        p.item(header("CREDITS_HEADER", "MENU_CREDITS", 100))
        p.item(button("CREDITS_BACK", "MENU_BACK", 512, 640, "_hide_credits"))

    p.item(button("MAIN_4", "MENU_HIGH_SCORES", 512, 460, "_show_high_scores"), scores_page)
    p.item(button("MAIN_5", "MENU_CREDITS", 512, 530, "_show_credits"), credits_page)
    p.item(button("EXIT", "MENU_EXIT", 512, 600, "_exit"))
    return "\n".join(['<?xml version="1.0" encoding="utf-8"?>',
                      "<!-- The menus. Items nest: the items inside an item form its page.",
                      "     x is an item's centre and y its top, in the 1024 x 768 design space;",
                      "     r_ (normal), r1_ (hover or checked) and r2_ (disabled) are rows of",
                      "     its picture, r1_ and r2_ one and two item heights below r_ when left",
                      "     out. options_id: 0 music, 1 sound, 2 screen size, 3 fullscreen,",
                      "     4 32-bit colour. -->",
                      "<Menu>",
                      '  <cursor image="CURSOR" disp_x="-11" disp_y="-11" r_left="0" r_top="59"'
                      ' r_right="55" r_bottom="118" r1_left="0" r1_top="0" r1_right="55" r1_bottom="59"/>',
                      '  <color active="0xFFFFF4C0" passive="0xFFFFFFFF"/>']
                     + p.lines + ["</Menu>"]) + "\n"
