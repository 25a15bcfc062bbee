"""The data check's rule for the heroine's figure: each kind of clip the game
plays on her (resting, glancing, holding, the quick reach, serving the pet,
the long work, the cheer, walking in each direction) shows pictures of its
own, so that no two of them look alike. check_data.py runs it;
check_heroine_test.py tries it on a sheet whose clips share a picture."""

import hashlib
import os

import numpy as np
from PIL import Image

# name: Animation2D id, first and last frame; a clip that the game plays
# mirrored, or whose frames another clip already shows, is left out.
CLIPS = {
    "rest": ("A_PELKA_PART_6", 0, 29),
    "glance": ("A_PELKA_PART_7", 0, 39),
    "holding both": ("A_PELKA_PART_3", 56, 75),
    "holding the first": ("A_PELKA_PART_3", 36, 55),
    "quick reach, other hand empty": ("A_PELKA_PART_2", 20, 39),
    "quick reach, other hand full": ("A_PELKA_PART_2", 40, 59),
    "serving, other hand empty": ("A_PELKA_PART_1", 0, 19),
    "serving, other hand full": ("A_PELKA_PART_2", 0, 19),
    "long work": ("A_PELKA_PART_3", 0, 35),
    "cheer": ("A_PELKA_PART_5", 0, 44),
    "walking down": ("A_PELKA_PART_8", 0, 14),
    "walking down-right": ("A_PELKA_PART_8", 15, 29),
    "walking right": ("A_PELKA_PART_8", 30, 44),
    "walking up-right": ("A_PELKA_PART_8", 45, 59),
    "walking up": ("A_PELKA_PART_8", 60, 74),
}


def pictures(root, anims, images, frame_rects, anim):
    """The frames' pictures of one animation, each as a digest of its
    pixels; None when the animation or its sheet is missing."""
    if anim not in anims:
        return None
    el, pre = anims[anim]
    sheet = images.get(el.get("image_id"))
    if sheet is None or not os.path.isfile(os.path.join(root, sheet[1])):
        return None
    pixels = np.asarray(Image.open(os.path.join(root, sheet[1])).convert("RGBA"))
    return [hashlib.sha1(np.ascontiguousarray(pixels[t:b, l:r]).tobytes() + bytes(str((r - l, b - t)), "ascii")).digest()
            for l, r, t, b, _, _ in frame_rects(root, el, pre)]


def check(root, anims, images, frame_rects, fault):
    """anims: Animation2D id -> (element, path prefix); images: Image id ->
    (element, path below root)."""
    sheets = {}
    shown = {}
    for name, (anim, first, last) in CLIPS.items():
        if anim not in sheets:
            sheets[anim] = pictures(root, anims, images, frame_rects, anim)
        frames = sheets[anim]
        if frames is None:
            continue  # reported with the resources
        shown[name] = (anim, set(frames[first:last + 1]))
    names = list(shown)
    for i, a in enumerate(names):
        for b in names[i + 1:]:
            if shown[a][1] & shown[b][1]:
                fault("%s and %s: the heroine's clips \"%s\" and \"%s\" show the same picture"
                      % (shown[a][0], shown[b][0], a, b))


# The aquarium bodies (left, right, top, bottom of the picture) and their
# glass: the heroine serving a tank stands behind it, her legs at the height
# of the water, so the glass must hide what lies behind it.
TANK_BODIES = {"AQUARIUM_1": (0, 242, 0, 158), "AQUARIUM_2": (0, 242, 0, 158),
               "AQUARIUM_3": (0, 242, 0, 158), "AQUARIUM_ADD": (0, 240, 0, 156)}
GLASS = (12, 22, 230, 138)  # left, top, right, bottom inside the body


def check_tank_glass(root, images, fault):
    for rid, (l, r, t, b) in TANK_BODIES.items():
        if rid not in images or not os.path.isfile(os.path.join(root, images[rid][1])):
            continue  # reported with the resources
        alpha = np.asarray(Image.open(os.path.join(root, images[rid][1])).convert("RGBA"))[t:b, l:r, 3]
        gl, gt, gr, gb = GLASS
        clear = np.count_nonzero(alpha[gt:gb, gl:gr] < 255)
        if clear:
            fault("%s: %d pixels of the aquarium's glass let what stands behind it show"
                  % (images[rid][1], clear))
