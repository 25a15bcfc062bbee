"""The heroine's footwear clips: which cells of the two footwear sheets each
clip of her figure visits, where the game cuts them, and where the cut cell is
drawn in her box. The painter fills just those cells with shoes under her
feet, and the data check proves that every cell it cuts shows them there."""

# Her box is 83 x 256; the soles rest on this band of it.
FEET_X = (0, 83)
FEET_Y = (205, 235)
SOLE_Y = 222

STILL = (0, 72, 57, 86)  # left, right, top, bottom on the large sheet
# Where the figure draws the stills in her box: the top of each (its left
# edge is of no matter here).
STILL_TOPS = {1: (224, 224, 224, 223, 224), 2: (224, 224, 224, 223, 224), 3: (225, 224, 224, 223, 224)}


def clip(sheet, offset, mirrored, cell, origin, start, end, grid, shift=0):
    """One clip: sheet 1 (small) or 2 (large), its draw offset in her box,
    cell w x h, grid origin, start and end cells (column, row), grid columns x
    rows and the upward shift of column 0's cells."""
    return {"sheet": sheet, "offset": offset, "mirrored": mirrored, "cell": cell,
            "origin": origin, "start": start, "end": end, "grid": grid, "shift": shift}


def clips(level):
    """The footwear clips of both layers for footwear level 1 to 3."""
    boots = level == 3
    rest = dict(cell=(72, 32), origin=(0, 0), start=(0, 2), end=(1, 0), grid=(2, 31), shift=-22)
    out = [clip(2, (5, 195 if boots else 194), False, **rest)]
    if boots:
        out.append(clip(2, (1, 196), False, (85, 58), (72, 0), (0, 0), (2, 15), (3, 17), -32))
    else:
        out.append(clip(2, (2, 196), False, (83, 56), (72, 0), (0, 1), (2, 14), (3, 18), 24))
    single = dict(start=(0, 0), end=(0, 0), grid=(1, 1))
    out += [clip(1, (15, 199), False, (59, 56), (0, 57), **single),
            clip(1, (9, 199), False, (59, 56), (0, 57), **single),
            clip(2, (5, 194), False, **rest),
            clip(2, (81, 193), True, **rest),
            clip(2, (77, 194), True, **rest),
            clip(1, (14, 190), False, (58, 56), (0, 0), **single),
            clip(1, (74, 190), True, (58, 56), (0, 0), **single),
            clip(2, (6, 191), False, (69, 56), (0, 0), **single)]
    kinds = [
        dict(sheet=1, cell=(61, 96), origin=(181, 0), start=(0, 0), end=(2, 4), grid=(3, 5)),
        dict(sheet=2, cell=(118, 94), origin=(469 if boots else 465, 0), start=(0, 3), end=(1, 6),
             grid=(2, 11), shift=11 if boots else 102),
        dict(sheet=2, cell=(130, 87 if boots else 85), origin=(588 if boots else 584, 0), start=(0, 7),
             end=(1, 10), grid=(2, 11), shift=-48 if boots else -61),
        dict(sheet=2, cell=(113, 90), origin=(242, 0), start=(0, 10) if boots else (0, 9),
             end=(2, 2) if boots else (2, 1), grid=(3, 11), shift=-27 if boots else -31),
        dict(sheet=1, cell=(60, 84), origin=(0, 0), start=(0, 2), end=(2, 4), grid=(3, 6),
             shift=56 if boots else 54),
    ]
    walk = [(0, (11, 175), False), (1, (-9, 171), False), (2, (-12, 166), False), (3, (-6, 170), False),
            (4, (11, 178), False), (3, (89, 171), True), (2, (92, 166), True), (1, (88, 171), True),
            (0, (69, 175), True), (1, (-10, 171), False), (2, (-13, 166), False), (3, (-6, 171), False),
            (4, (71, 178), True), (3, (88, 170), True), (2, (91, 166), True), (1, (87, 171), True)]
    boots_offsets = {3: (-10, 170), 11: (-10, 170), 5: (93, 170), 6: (93, 166), 7: (87, 171),
                     13: (92, 170), 15: (86, 171)}
    for n, (kind, offset, mirrored) in enumerate(walk):
        if boots and n in boots_offsets:
            offset = boots_offsets[n]
        out.append(clip(offset=offset, mirrored=mirrored, **kinds[kind]))
    return out


def visited(c):
    """The cells a clip shows, stepping down the rows and on to the next
    column, from its start cell to its end cell."""
    columns, rows = c["grid"]
    col, row = c["start"]
    cells = [(col, row)]
    for _ in range(columns * rows):
        if (col, row) == tuple(c["end"]):
            break
        row += 1
        if row >= rows:
            row, col = 0, col + 1
        if col >= columns:
            col = 0
        cells.append((col, row))
    return cells


def cut(c, cell):
    """The rectangle (left, right, top, bottom) the game cuts for a cell."""
    w, h = c["cell"]
    col, row = cell
    shift = c["shift"] if col == 0 else 0
    left = c["origin"][0] + col * w
    top = c["origin"][1] + row * h - shift
    return left, left + w, top, top + h


def to_box(c, x, y):
    """Where pixel (x, y) of a cut cell lands in her box."""
    ox, oy = c["offset"]
    return (ox - x if c["mirrored"] else ox + x), oy + y


def sole_place(c):
    """Where the pair's soles sit in the cell: centre x and sole y."""
    w, h = c["cell"]
    ox, oy = c["offset"]
    centre = 41.5  # her feet's middle
    x = (ox - centre) if c["mirrored"] else (centre - ox)
    x = max(22, min(w - 22, x))
    y = max(12, min(h - 1, SOLE_Y - oy))
    return x, y
