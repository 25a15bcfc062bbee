"""The data check's rules for menu.xml: the pictures, fonts and texts it names
exist, its pictures load with the menu and hold every rectangle the game cuts
from them, item ids are unique and give the pages the nesting shows, every
command is one the game knows, the pages and settings the game opens by name
are there, radio items have a group, no two items of a page that take
clicks overlap (both would light up, and a click would run only the first),
and none on the high-score page covers a row the table may show.

check(root, data, texts, checker) reports through checker.fault and reads
through checker.parse, so that the rules work under check_data.py and on the
fixtures of check_menu_test.py alike."""

import os
import xml.etree.ElementTree as ET

FUNCS = {
    "", "_get_options", "_set_options", "_set_video_options", "_back", "_begin", "_exit",
    "_dec_music_volume", "_inc_music_volume", "_dec_sound_volume", "_inc_sound_volume",
    "_set_music_volume", "_set_sound_volume", "_check_old_game", "_new_game_defaults", "_new_game",
    "_continue_game", "_resume", "_show_high_scores", "_hide_high_scores", "_show_credits",
    "_hide_credits", "_hide_credits_menu_begin", "_edit_player_name", "_cancel_edit_player_name",
    "_new_player", "_delete_player", "_select_player", "_confirm_select_player",
    "_cancel_select_player", "_editor", "_editor_action", "_prev_difficulty", "_next_difficulty",
    "_prev_level", "_next_level", "_prev_pack", "_next_pack", "_callpromourl",
}
# The kind of item that holds each setting.
OPTION_TYPES = {0: "_SCROLL", 1: "_SCROLL", 2: "_DISPLAYMODE", 3: "_CHECK", 4: "_CHECK"}
# Pages and items the game opens, disables or enables by id.
NAMED_IDS = ["MAIN_1", "MAIN_4", "PROFILE_1", "CREATE_PLAYER_2", "CREATE_PLAYER_4"]
GROUPED_TYPES = ("_PROFILE", "_COMBO")
# The high-score table on its page, as the game draws it: ranks from x 300,
# scores ending at x 712, from y 196 as many as 16 rows 33.6 apart, each one
# title-font line (44) high; the rows of a longer file are left unread.
TABLE_PAGE = "MAIN_4"
TABLE_BOX = (300, 196, 712, 196 + 15 * 33.6 + 44)


def number(text, default):
    """The game's ParseInt: empty keeps the default, decimal or 0x hexadecimal,
    anything else 0."""
    if text is None or text == "":
        return default
    try:
        return int(text, 16) if text.lower().startswith(("0x", "-0x")) else int(text, 10)
    except ValueError:
        return 0


def read_rect(el, prefix, default):
    return tuple(number(el.get(prefix + side), d)
                 for side, d in zip(("left", "top", "right", "bottom"), default))


def item_rects(el):
    """rect, rect1 and rect2 after the game's derivation, and the item height."""
    rect = read_rect(el, "r_", (0, 0, 206, 61))
    rect1 = read_rect(el, "r1_", (0, 0, 0, 0))
    rect2 = read_rect(el, "r2_", (0, 0, 0, 0))
    height = max(rect[3] - rect[1], rect1[3] - rect1[1])

    def empty(r):
        return r[2] - r[0] == 0 or r[3] - r[1] == 0

    def down(r, by):
        return (r[0], r[1] + by, r[2], r[3] + by)

    if empty(rect1):
        rect1 = down(rect, height)
    if empty(rect2):
        rect2 = down(rect, 2 * height)
    return rect, rect1, rect2, height


def hit_boxes(el):
    """The boxes (left, top, right, bottom; design units, bounds inclusive)
    in which the game's hit test takes the item: none for captions, the
    main box and, for a screen-size chooser, its second button. A centred
    check box is hit around its text, which only the game lays out: its box
    is left to the whole-program layout test."""
    kind = el.get("type", "")
    if kind in ("_HEADER", "_GREETING") or (kind == "_CHECK" and el.get("centered", "1") not in ("0", "false")):
        return []
    rect, _, _, height = item_rects(el)
    try:
        size = float(el.get("scale") or 1.0)
        x, y = float(el.get("x") or 0), float(el.get("y") or 0)
    except ValueError:
        return []
    half = (rect[2] - rect[0]) * size / 2
    boxes = [(x - half, y, x + half, y + height * size)]
    if kind == "_DISPLAYMODE":
        dx, dy = number(el.get("x_disp"), 0), number(el.get("y_disp"), 0)
        boxes.append((x - half + dx, y + dy, x + half + dx, y + dy + height * size))
    return boxes


def overlapping(a, b):
    return a[0] <= b[2] and b[0] <= a[2] and a[1] <= b[3] and b[1] <= a[3]


def resource_pictures(root, data):
    """Image and font ids of resources.xml: {id: (tag, coverage, size or None)}."""
    try:
        res = ET.parse(os.path.join(data, "resources.xml")).getroot()
    except (ET.ParseError, OSError):
        return {}
    prefix = ""
    found = {}
    for el in res.iter():
        if el.tag == "SetDefaults":
            prefix = el.get("path", "")
        elif el.tag in ("Image", "Font", "FontFi") and el.get("id"):
            path = os.path.join(root, prefix + el.get("path", ""))
            size = None
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    head = f.read(24)
                if head[:8] == b"\x89PNG\r\n\x1a\n":
                    size = (int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big"))
            found.setdefault(el.get("id"), (el.tag, el.get("coverage", "0"), size))
    return found


def check(root, data, texts, checker):
    name = "menu.xml"
    path = os.path.join(data, name)
    if not os.path.isfile(path):
        checker.fault("%s is missing" % name)
        return
    tree = checker.parse(path)
    if tree is None:
        return
    if tree.tag != "Menu":
        checker.fault("%s: the root element is %s, not Menu" % (name, tree.tag))
        return
    pictures = resource_pictures(root, data)

    def picture(where, pid, rects):
        entry = pictures.get(pid)
        if entry is None or entry[0] != "Image":
            checker.fault("%s: %s: image %s is not an Image of resources.xml" % (name, where, pid))
            return
        coverage = entry[1].split(",")
        if not set(coverage) <= {"-1", "0"}:
            checker.fault("%s: %s: image %s has coverage %s; the menu needs -1 or 0"
                          % (name, where, pid, entry[1]))
        size = entry[2]
        for r in rects:
            if size is None or r[0] < 0 or r[1] < 0 or r[2] > size[0] or r[3] > size[1] \
                    or r[2] <= r[0] or r[3] <= r[1]:
                checker.fault("%s: %s: rectangle %s lies outside image %s %s"
                              % (name, where, r, pid, size))

    for el in tree.iter("cursor"):
        picture("cursor", el.get("image", ""),
                [read_rect(el, "r_", (0, 0, 0, 0)), read_rect(el, "r1_", (0, 0, 0, 0))])

    items = []       # (element, game path, nesting path, parent id)
    running = [""]   # the game's running path
    stack = []

    def visit(el, ancestors):
        if el.tag != "item":
            for child in el:
                visit(child, ancestors)
            return
        item_id = el.get("id", "")
        parent = stack[-1] if stack else ""
        if parent and parent not in running[0]:
            running[0] += parent + "/"
        items.append((el, running[0], "".join(a + "/" for a in ancestors), parent))
        stack.append(item_id)
        for child in el:
            visit(child, ancestors + [item_id])
        at = running[0].find(stack[-1])
        if at >= 0:
            running[0] = running[0][:at]
        stack.pop()

    for child in tree:
        visit(child, [])

    seen = set()
    options = {}
    for el, game_path, nesting, parent in items:
        item_id = el.get("id", "")
        kind = el.get("type", "")
        where = "item %s" % (item_id or "without id")
        if not item_id:
            checker.fault("%s: an item without id (inside %s)" % (name, parent or "the root"))
        elif item_id in seen:
            checker.fault("%s: item id %s is used twice" % (name, item_id))
        seen.add(item_id)
        if game_path != nesting:
            checker.fault("%s: %s: the game derives the path %s, not %s (an id inside another id)"
                          % (name, where, game_path or '""', nesting))
        func = el.get("func", "")
        if func not in FUNCS:
            checker.fault("%s: %s: unknown command %s" % (name, where, func))
        if kind in GROUPED_TYPES and not el.get("group_id"):
            checker.fault("%s: %s: a %s without group_id" % (name, where, kind))
        rect, rect1, rect2, height = item_rects(el)
        if el.get("image_id"):
            rects = [rect, rect1, rect2]
            if kind == "_DISPLAYMODE":
                # Hovered buttons take the second row of each column.
                rects += [(r[0], height, r[2], 2 * height) for r in (rect, rect1)]
            picture(where, el.get("image_id"), rects)
        if el.get("image_id_1"):
            picture(where, el.get("image_id_1"), [rect1])
        font = el.get("font_id")
        if font and pictures.get(font, ("",))[0] not in ("Font", "FontFi"):
            checker.fault("%s: %s: font %s is not a font of resources.xml" % (name, where, font))
        text = el.get("text_id")
        if text and text not in texts:
            checker.fault("%s: %s: text %s is not in the text file" % (name, where, text))
        key = number(el.get("options_id"), -1)
        if key != -1:
            if key not in OPTION_TYPES:
                checker.fault("%s: %s: no setting has options_id %d" % (name, where, key))
            elif kind != OPTION_TYPES[key]:
                checker.fault("%s: %s: options_id %d belongs on a %s, not a %s"
                              % (name, where, key, OPTION_TYPES[key], kind))
            options.setdefault(key, []).append(item_id)

    pages = {}
    for el, _, _, parent in items:
        for n, box in enumerate(hit_boxes(el)):
            pages.setdefault(parent, []).append(("%s%s" % (el.get("id", ""), " (second button)" if n else ""), box))
    for parent, boxes in pages.items():
        for i, (first, a) in enumerate(boxes):
            for second, b in boxes[i + 1:]:
                if overlapping(a, b):
                    checker.fault("%s: on the page of %s, %s %s and %s %s overlap"
                                  % (name, parent or "the root", first, a, second, b))

    for item_id, box in pages.get(TABLE_PAGE, []):
        if overlapping(box, TABLE_BOX):
            checker.fault("%s: on the page of %s, %s %s covers high-score rows %s"
                          % (name, TABLE_PAGE, item_id, box, TABLE_BOX))

    for key in sorted(OPTION_TYPES):
        holders = options.get(key, [])
        if len(holders) != 1:
            checker.fault("%s: options_id %d is held by %d items (%s), not one"
                          % (name, key, len(holders), ", ".join(holders)))
    for item_id in NAMED_IDS:
        if item_id not in seen:
            checker.fault("%s: the game opens or switches item %s, which is missing" % (name, item_id))
    editors = [el.get("id", "") for el, _, _, _ in items if el.get("func") == "_edit_player_name"]
    if editors and editors[0] != "PROFILE_1":
        checker.fault("%s: the first _edit_player_name item is %s, not PROFILE_1" % (name, editors[0]))
