"""The bonus level's creatures and score bar, placed where the game draws and
clicks them. The game draws a frame at its creature's position + the clip's
offset + the frame's hot spot; the hot spots here are chosen so that each
picture lands on its creature's click box. check_bonus.py checks the result
against the same tables."""

from PIL import Image, ImageDraw

from common import PAL, rgba

# The game's clips: (first frame, last frame, offset x, offset y) per role.
TURTLE_CLIPS = {"rest": (0, 39, -114, -127), "swim": (41, 70, -114, -122)}
GULL_1_CLIPS = {"carry": (0, 19, -44, -67), "glide": (20, 59, -46, -77)}
GULL_2_CLIPS = {"grab": (0, 13, -44, -63), "miss": (0, 29, -44, -63), "fly": (30, 59, -45, -82)}
# Click boxes from the creature's position: left, right, top, bottom.
TURTLE_BOX = (-10, 70, -10, 50)
GULL_BOX = (0, 200, 0, 130)

TURTLE_SIZE = (60, 44)
GULL_SIZE = (100, 70)
# The carried turtle hangs at the gull's x + 85 (54 pixels wide); during the
# grab its top edge is at these heights below the gull, frame by frame (frame
# 4 lifts it out of sight), and while carried at -8 plus the wing-beat swing.
CARRY_X = 85
CARRIED_WIDTH = 54
GRAB_HEIGHTS = [150, 160, 170, 176, 110, 95, 85, 65, 41, 26, 15, 6, -2, -8]
CARRY_Y = -8
CARRY_SWING = [0, 1, 2, 3, 4, 5, 3, 1, -1, -3, -5, -4, -2, 1, 4, 5, 3, 1, -1, -1]
# The gull's claws reach this far into the turtle's shell.
GRIP = 16

# The score bar: the cover (atlas 89-109 x 88-365) hides the column of the
# frame at x 54-74 from the top; the frame itself starts at atlas x 3.
BAR_COLUMN = (57, 88, 77, 364)
# The frame's paint starts this many rows into its cell, so that the bar,
# swollen when the goal is reached, stays clear of the HUD corner above it.
BAR_FRAME_TOP = 16


def turtle_hot(frame):
    """Puts the turtle's picture at x..x + 60, y..y + 44 of its position."""
    clip = TURTLE_CLIPS["swim"] if frame > TURTLE_CLIPS["rest"][1] else TURTLE_CLIPS["rest"]
    return -clip[2], -clip[3]


def gull_centre_left():
    """The gull's picture is centred over the carried turtle."""
    return CARRY_X + CARRIED_WIDTH // 2 - GULL_SIZE[0] // 2


def gull_1_hot(frame):
    if frame <= GULL_1_CLIPS["carry"][1]:
        _, _, ox, oy = GULL_1_CLIPS["carry"]
        feet = CARRY_Y + CARRY_SWING[frame]
        return gull_centre_left() - ox, feet + GRIP - GULL_SIZE[1] - oy
    # gliding inside the click box
    _, _, ox, oy = GULL_1_CLIPS["glide"]
    return 50 - ox, 30 - oy


def gull_2_hot(frame):
    _, _, ox, oy = GULL_2_CLIPS["grab"]
    if frame < len(GRAB_HEIGHTS):
        feet = GRAB_HEIGHTS[frame]
        return gull_centre_left() - ox, feet + GRIP - GULL_SIZE[1] - oy
    if frame < GULL_2_CLIPS["fly"][0]:
        # splashing after a missed dive, at the water
        return gull_centre_left() - ox, 60 - oy
    _, _, ox, oy = GULL_2_CLIPS["fly"]
    return 50 - ox, 30 - oy


def turtle_sheet(sheet_class, turtle_pic):
    s = sheet_class("t")
    for f in range(TURTLE_CLIPS["swim"][1] + 1):
        swim = f > TURTLE_CLIPS["rest"][1]
        ph = f // 5 % 4
        # facing right, the way it swims
        make = (lambda ph=ph, swim=swim:
                turtle_pic(*TURTLE_SIZE, ph / 4.0, swim).transpose(Image.FLIP_LEFT_RIGHT))
        s.frame(s.cell(("t", ph, swim), make), *turtle_hot(f))
    return s


def gull_sheets(sheet_class, gull_pic):
    one = sheet_class("g1")
    for f in range(GULL_1_CLIPS["glide"][1] + 1):
        carry = f <= GULL_1_CLIPS["carry"][1]
        ph = f % 6
        one.frame(one.cell(("g", ph, carry), lambda ph=ph, carry=carry: gull_pic(*GULL_SIZE, ph / 6.0, False, carry)),
                  *gull_1_hot(f))
    two = sheet_class("g2")
    for f in range(GULL_2_CLIPS["fly"][1] + 1):
        dive = f < GULL_2_CLIPS["fly"][0]
        ph = f % 6
        two.frame(two.cell(("g", ph, dive), lambda ph=ph, dive=dive: gull_pic(*GULL_SIZE, ph / 6.0, dive)),
                  *gull_2_hot(f))
    return one, two


def paint_bar_fill(draw):
    """The bright column under the cover, shown as the cover shrinks."""
    draw.rectangle(BAR_COLUMN, fill=rgba(PAL["sun"]))


# What the bar means, painted into its frame beside and around the column: a
# chequered goal flag at the top, where the full bar ends, an arrow up the
# left side, and at the bottom a turtle, whose rescues fill the bar.
BAR_GOAL_FLAG = (14, 28, 52, 80)     # left, top, right, bottom of flag and pole
BAR_ARROW = (18, 110, 44, 350)
BAR_TURTLE = (14, 372, 76, 418)


def paint_bar_labels(img, turtle_pic):
    """img: the MINIGAME_BAR picture, its frame painted; turtle_pic(w, h) a
    turtle facing left."""
    ink = rgba(PAL["ink"])
    d = ImageDraw.Draw(img)
    l, t, r, b = BAR_GOAL_FLAG
    d.line([(l + 2, t), (l + 2, b)], fill=ink, width=4)
    d.line([(l + 2, t), (l + 2, b)], fill=rgba(PAL["white"]), width=2)
    cell = (r - l - 6) // 4
    for row in range(3):
        for col in range(4):
            x, y = l + 5 + col * cell, t + row * cell
            colour = PAL["white"] if (row + col) % 2 == 0 else PAL["ink"]
            d.rectangle([x, y, x + cell - 1, y + cell - 1], fill=rgba(colour))
    d.rectangle([l + 4, t - 1, l + 5 + 4 * cell, t + 3 * cell], outline=ink, width=1)
    # the goal line runs from the flag to the top of the column
    gx = BAR_COLUMN[0]
    d.line([(l + 4, BAR_COLUMN[1] - 3), (gx + 20, BAR_COLUMN[1] - 3)], fill=rgba(PAL["white"]), width=3)
    l, t, r, b = BAR_ARROW
    mid = (l + r) // 2
    shaft = [(mid - 5, t + 22), (mid + 5, t + 22), (mid + 5, b), (mid - 5, b)]
    head = [(l, t + 24), (mid, t), (r, t + 24)]
    for pts in (shaft, head):
        d.polygon(pts, fill=rgba(PAL["sun"]), outline=ink, width=2)
    l, t, r, b = BAR_TURTLE
    img.alpha_composite(turtle_pic(r - l, b - t).transpose(Image.FLIP_LEFT_RIGHT), (l, t))
