"""The data check's rule for the heroine's figure: each kind of clip the game
plays on her (resting, glancing, holding, the quick reach, serving the pet,
the long work, the cheer, walking in each direction) shows pictures of its
own, so that no two of them look alike; and her silhouette stands out from
every floor she walks on. check_data.py runs them; check_heroine_test.py
tries them on a sheet whose clips share a picture and on a figure without
its outline."""

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


# Her figure's sheets: the layers of her body and the footwear of each level.
FIGURE_SHEETS = ["PELKA_PART_%d" % n for n in range(1, 10)] + [
    "SLIPPERS_1", "SLIPPERS_2", "SANDALS_1", "SANDALS_2", "BOOTS_1", "BOOTS_2"]
# The floors she walks on (left, right, top, bottom of the picture): the
# three rooms and the better floor of location 1's higher decoration levels.
FLOORS = {"location 1": ("LOCATION_1", 0, 1024, 262, 768),
          "location 1 renovated": ("LOCATION_UPDATES_1", 0, 1024, 454, 960),
          "location 2": ("LOCATION_2", 0, 1024, 262, 768),
          "location 3": ("LOCATION_3", 0, 1024, 262, 768)}
FLOOR_SHARE = 0.03  # a colour covering less of a floor is a detail, not the floor
EDGE_ALPHA = 192    # pixels at least this opaque make her silhouette
MIN_CONTRAST = 3.0


def luminance(rgb):
    """Relative luminance of sRGB colours (..., 3) in 0-255."""
    c = np.asarray(rgb, dtype=np.float64) / 255.0
    c = np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
    return c @ np.array([0.2126, 0.7152, 0.0722])


def floor_colours(pixels):
    """The colours that cover a fair share of a floor's picture."""
    rgb = pixels[..., :3].reshape(-1, 3).astype(np.int64)
    packed = (rgb[:, 0] << 16) | (rgb[:, 1] << 8) | rgb[:, 2]
    values, counts = np.unique(packed, return_counts=True)
    keep = values[counts >= FLOOR_SHARE * packed.size]
    return [((v >> 16) & 255, (v >> 8) & 255, v & 255) for v in keep]


def edge_pixels(pixels):
    """Colour and opacity of the pixels on the rim of the figures: opaque
    enough to count, with a 4-neighbour that is not."""
    solid = np.pad(pixels[..., 3] >= EDGE_ALPHA, 1)
    inner = solid[1:-1, 1:-1]
    rim = inner & ~(solid[:-2, 1:-1] & solid[2:, 1:-1] & solid[1:-1, :-2] & solid[1:-1, 2:])
    return pixels[rim][:, :3].astype(np.float64), pixels[rim][:, 3:4] / 255.0


def check_outline(root, images, fault):
    """Her silhouette stands out from every floor she walks on by at least
    MIN_CONTRAST (WCAG contrast of the rim pixel laid on the floor)."""
    def load(rid):
        if rid not in images or not os.path.isfile(os.path.join(root, images[rid][1])):
            return None  # reported with the resources
        return np.asarray(Image.open(os.path.join(root, images[rid][1])).convert("RGBA"))
    floors = []
    for name, (rid, l, r, t, b) in FLOORS.items():
        pixels = load(rid)
        if pixels is not None:
            floors += [(name, c) for c in floor_colours(pixels[t:b, l:r])]
    for rid in FIGURE_SHEETS:
        pixels = load(rid)
        if pixels is None:
            continue
        rgb, alpha = edge_pixels(pixels)
        worst = None
        for name, colour in floors:
            floor = np.array(colour, dtype=np.float64)
            lum, back = luminance(rgb * alpha + floor * (1 - alpha)), luminance(floor)
            ratio = (np.maximum(lum, back) + 0.05) / (np.minimum(lum, back) + 0.05)
            low = np.count_nonzero(ratio < MIN_CONTRAST)
            if low and (worst is None or low > worst[0]):
                worst = (low, name, colour, ratio.min())
        if worst:
            fault("%s: %d of %d pixels on the heroine's outline stand out from the floor of %s %s by less "
                  "than %.0f:1 (lowest %.2f:1)" % ((images[rid][1], worst[0], len(rgb)) + worst[1:3]
                                                   + (MIN_CONTRAST, worst[3])))
