#!/usr/bin/python3
"""Generates the texture bitmaps shipped in assets/bmbrush and assets/Textures.

SuperText letters are filled by tiling one of these bitmaps from the object's corner,
so every texture is seamless: all noise is periodic (its lattice wraps at the bitmap's
edges) and every stripe, weave or brick pattern repeats a whole number of times across
it. Contrast is kept moderate so that letters read well and are not too busy.

"bmbrush" holds small woven and patterned brushes (fabric, paper, brick, cork);
"Textures" holds larger natural and material surfaces (wood, marble, stone, metal,
water, sky) and smooth colour bands. All are Windows bitmaps: 256-colour (the palette
made from the picture itself) where that shows no banding, 24-bit for smooth gradients.

Needs Debian's python3-numpy and python3-pil (run with /usr/bin/python3).
Usage: /usr/bin/python3 tools/make_textures.py [assets folder]   (default: assets)
       add --sheet FILE.png to also write a 2 x 2 tiling of every texture for review.
"""

import argparse
import colorsys
import os

import numpy as np
from PIL import Image, ImageDraw


# ---------------------------------------------------------------- periodic noise

def _smooth(t):
    return t * t * t * (t * (t * 6 - 15) + 10)


def noise(size, cells, seed, cells_y=None):
    """Value noise in [0, 1] on a size x size grid, periodic over the grid: the random
    lattice has cells x cells_y points and wraps around."""
    cells_y = cells_y or cells
    rng = np.random.default_rng(seed)
    lattice = rng.random((cells_y, cells))
    x = np.arange(size) * cells / size
    y = np.arange(size) * cells_y / size
    x0 = np.floor(x).astype(int)
    y0 = np.floor(y).astype(int)
    tx = _smooth(x - x0)[None, :]
    ty = _smooth(y - y0)[:, None]
    x1 = (x0 + 1) % cells
    y1 = (y0 + 1) % cells_y
    x0 %= cells
    y0 %= cells_y
    a = lattice[np.ix_(y0, x0)]
    b = lattice[np.ix_(y0, x1)]
    c = lattice[np.ix_(y1, x0)]
    d = lattice[np.ix_(y1, x1)]
    top = a + (b - a) * tx
    bottom = c + (d - c) * tx
    return top + (bottom - top) * ty


def fbm(size, cells, seed, octaves=5, persistence=0.5, cells_y=None):
    """Fractal sum of periodic noise, normalised to [0, 1]."""
    cells_y = cells_y or cells
    total = np.zeros((size, size))
    amplitude, weight = 1.0, 0.0
    for o in range(octaves):
        cx, cy = cells << o, cells_y << o
        if cx > size or cy > size:
            break
        total += amplitude * noise(size, cx, seed + 17 * o, cy)
        weight += amplitude
        amplitude *= persistence
    total /= weight
    return (total - total.min()) / max(1e-9, total.max() - total.min())


def cellular(size, cells, seed):
    """Distance to the nearest of one random point per cell (Worley noise), periodic,
    and the index of that point; distances in cell units."""
    rng = np.random.default_rng(seed)
    jitter = rng.random((cells, cells, 2))
    jj, ii = np.mgrid[0:cells, 0:cells]
    px = (ii + jitter[..., 0]) * size / cells
    py = (jj + jitter[..., 1]) * size / cells
    yy, xx = np.mgrid[0:size, 0:size].astype(float)
    best = np.full((size, size), np.inf)
    second = np.full((size, size), np.inf)
    owner = np.zeros((size, size), dtype=int)
    for j in range(cells):
        for i in range(cells):
            x0, y0 = px[j, i], py[j, i]
            dx = np.abs(xx - x0)
            dy = np.abs(yy - y0)
            dx = np.minimum(dx, size - dx)
            dy = np.minimum(dy, size - dy)
            d = np.sqrt(dx * dx + dy * dy)
            closer = d < best
            second = np.where(closer, best, np.minimum(second, d))
            owner = np.where(closer, j * cells + i, owner)
            best = np.where(closer, d, best)
    unit = size / cells
    return best / unit, second / unit, owner


def grid(size):
    yy, xx = np.mgrid[0:size, 0:size].astype(float)
    return xx / size, yy / size  # both in [0, 1): whole periods fit exactly


# ---------------------------------------------------------------- colouring

def ramp(values, stops):
    """Maps values in [0, 1] through colour stops [(position, (r, g, b)), ...]."""
    pos = np.array([p for p, _ in stops])
    out = np.zeros(values.shape + (3,))
    for ch in range(3):
        out[..., ch] = np.interp(values, pos, [c[ch] for _, c in stops])
    return out


def shade(rgb, factor):
    return rgb * factor[..., None]


def to_image(rgb):
    return Image.fromarray(np.clip(np.rint(rgb), 0, 255).astype(np.uint8), "RGB")


# ---------------------------------------------------------------- textures

def wood(size, seed, light, dark, rings):
    x, y = grid(size)
    warp = fbm(size, 2, seed, 4, cells_y=4)
    grain = np.sin(2 * np.pi * (rings * y + 1.5 * warp)) * 0.5 + 0.5
    grain = grain ** 1.6
    fibre = fbm(size, 2, seed + 5, 6, 0.6, cells_y=32)
    v = np.clip(0.75 * grain + 0.35 * (fibre - 0.5), 0, 1)
    return ramp(v, [(0, light), (1, dark)])


def marble(size, seed, base, vein, veins=2):
    x, y = grid(size)
    turbulence = fbm(size, 2, seed, 6, 0.55)
    # Veins follow the zero crossings of a warped diagonal wave: whole periods across.
    wave = np.abs(np.sin(np.pi * (veins * (x + y) + 2.5 * turbulence)))
    v = np.clip(1 - wave / 0.22, 0, 1) ** 1.5
    hair = np.abs(np.sin(np.pi * (3 * veins * (x - y) + 4 * fbm(size, 3, seed + 7, 5))))
    v = np.maximum(v, 0.45 * np.clip(1 - hair / 0.08, 0, 1))
    cloud = fbm(size, 4, seed + 3, 5)
    tone = ramp(v, [(0, base), (1, vein)])
    return shade(tone, 0.94 + 0.12 * cloud)


def granite(size, seed, colours):
    base = fbm(size, 8, seed, 3)
    speck = noise(size, size // 2, seed + 1)
    speck2 = noise(size, size // 2, seed + 2)
    rgb = ramp(base, [(0, colours[0]), (1, colours[1])])
    rgb = np.where((speck > 0.8)[..., None], np.array(colours[2], float), rgb)
    rgb = np.where((speck2 > 0.86)[..., None], np.array(colours[3], float), rgb)
    return rgb


def cobblestone(size, seed, colour):
    d1, d2, owner = cellular(size, 6, seed)
    edge = np.clip((d2 - d1) * 3.0, 0, 1)
    rng = np.random.default_rng(seed)
    tint = rng.uniform(0.8, 1.1, owner.max() + 1)[owner]
    rough = fbm(size, 8, seed + 1, 4)
    light = (0.35 + 0.65 * edge ** 0.5) * tint * (0.85 + 0.3 * rough)
    return shade(np.broadcast_to(np.array(colour, float), (size, size, 3)), light)


def slate(size, seed):
    layers = fbm(size, 1, seed, 6, 0.6, cells_y=6)
    fine = fbm(size, 8, seed + 4, 4)
    v = 0.7 * layers + 0.3 * fine
    return ramp(v, [(0, (58, 66, 74)), (0.5, (88, 96, 104)), (1, (120, 124, 128))])


def sand(size, seed):
    dunes = fbm(size, 2, seed, 3)
    grains = noise(size, size // 2, seed + 1)
    v = 0.6 * dunes + 0.4 * grains
    return ramp(v, [(0, (200, 168, 112)), (1, (238, 214, 160))])


def parchment(size, seed):
    v = fbm(size, 3, seed, 6, 0.6)
    spots = fbm(size, 6, seed + 9, 3)
    rgb = ramp(v, [(0, (222, 196, 148)), (1, (246, 232, 196))])
    return shade(rgb, 1 - 0.12 * np.clip(spots - 0.6, 0, 1) * 2.5)


def brushed(size, seed, dark, light, bands=2):
    x, y = grid(size)
    streaks = fbm(size, 1, seed, 6, 0.7, cells_y=64)
    sheen = 0.5 + 0.5 * np.cos(2 * np.pi * bands * y)
    v = 0.55 * sheen + 0.45 * streaks
    return ramp(v, [(0, dark), (1, light)])


def water(size, seed):
    x, y = grid(size)
    n = fbm(size, 2, seed, 5)
    ripple = np.sin(2 * np.pi * (4 * y + 2 * n)) * 0.5 + 0.5
    v = 0.6 * ripple + 0.4 * fbm(size, 4, seed + 2, 4)
    return ramp(v, [(0, (16, 78, 140)), (0.6, (40, 130, 190)), (1, (150, 210, 235))])


def clouds(size, seed):
    v = fbm(size, 2, seed, 6, 0.55)
    v = np.clip((v - 0.35) * 1.8, 0, 1)
    return ramp(v, [(0, (70, 130, 210)), (1, (246, 248, 252))])


def grass(size, seed):
    blades = fbm(size, 4, seed, 5, 0.6, cells_y=1)  # tall strokes: vertical streaks
    patch = fbm(size, 3, seed + 1, 3)
    v = 0.65 * blades + 0.35 * patch
    return ramp(v, [(0, (38, 96, 30)), (0.5, (70, 140, 44)), (1, (150, 196, 80))])


def leather(size, seed, colour):
    d1, d2, _ = cellular(size, 10, seed)
    crease = np.clip((d2 - d1) * 4, 0, 1) ** 0.4
    v = 0.75 + 0.25 * crease + 0.1 * (fbm(size, 6, seed + 1, 3) - 0.5)
    return shade(np.broadcast_to(np.array(colour, float), (size, size, 3)), v)


def cork(size, seed):
    base = fbm(size, 8, seed, 3)
    pits = noise(size, size // 4, seed + 1)
    rgb = ramp(base, [(0, (168, 118, 70)), (1, (210, 160, 104))])
    return shade(rgb, 1 - 0.3 * np.clip((pits - 0.7) / 0.2, 0, 1))


def bricks(size, seed, courses=4, per_course=2):
    x, y = grid(size)
    row = np.floor(y * courses).astype(int)
    offset = (row % 2) * 0.5 / per_course
    bx = (x + offset) * per_course
    col = np.floor(bx).astype(int) % per_course
    fx, fy = bx % 1, (y * courses) % 1
    mortar_w = 0.06
    mortar = (fx < mortar_w * courses / per_course / 2) | (fy < mortar_w)
    rng = np.random.default_rng(seed)
    tints = rng.uniform(0.82, 1.08, (courses, per_course))
    tint = tints[row % courses, col]
    n = fbm(size, 8, seed + 2, 4)
    brick = shade(np.broadcast_to(np.array((168, 72, 50), float), (size, size, 3)), tint * (0.85 + 0.3 * n))
    grout = shade(np.broadcast_to(np.array((206, 198, 186), float), (size, size, 3)), 0.9 + 0.2 * n)
    return np.where(mortar[..., None], grout, brick)


def weave(size, seed, warp_colour, weft_colour, threads, twill=1):
    """Over-and-under weave; twill > 1 shifts the pattern each row (denim's diagonal)."""
    xx, yy = np.mgrid[0:size, 0:size]
    tx = xx * threads // size
    ty = yy * threads // size
    fx = (xx * threads % size) / size
    fy = (yy * threads % size) / size
    over = ((tx + ty * twill) % (2 if twill == 1 else 4)) < (1 if twill == 1 else 3)
    warp_shade = 0.75 + 0.25 * np.sin(np.pi * fy)  # threads are round
    weft_shade = 0.75 + 0.25 * np.sin(np.pi * fx)
    fuzz = 0.9 + 0.2 * noise(size, size // 2, seed)
    warp = shade(np.broadcast_to(np.array(warp_colour, float), (size, size, 3)), warp_shade * fuzz)
    weft = shade(np.broadcast_to(np.array(weft_colour, float), (size, size, 3)), weft_shade * fuzz)
    return np.where(over.T[..., None], warp, weft)


def tartan(size, sett):
    """Crossing stripes: sett is [(colour, width), ...] repeated to fill the size."""
    unit = sum(w for _, w in sett)
    stripe = np.zeros((size, 3))
    i = 0
    while i < size:
        for colour, width in sett:
            stripe[i:i + width] = colour
            i += width
    yy, xx = np.mgrid[0:size, 0:size]
    twill = ((xx + yy) // 2) % 2 == 0
    return np.where(twill[..., None], stripe[xx], stripe[yy]) * 0.85 + 0.15 * (stripe[xx] + stripe[yy]) / 2


def gingham(size, colour, checks):
    xx, yy = np.mgrid[0:size, 0:size]
    a = (xx * checks // size) % 2
    b = (yy * checks // size) % 2
    white = np.array((250, 250, 246), float)
    c = np.array(colour, float)
    mid = (white + c) / 2
    return np.where((a & b)[..., None], c, np.where((a | b)[..., None], mid, white))


def knit(size, seed, colour, stitches):
    x, y = grid(size)
    u = (x * stitches) % 1
    v = (y * stitches * 1.5) % 1
    vee = np.abs(u - 0.5) * 2
    loop = np.abs(((v + vee * 0.5) % 1) - 0.5) * 2
    light = 0.7 + 0.3 * (1 - loop) * (0.6 + 0.4 * np.sin(np.pi * u))
    light *= 0.92 + 0.16 * noise(size, size // 4, seed)
    return shade(np.broadcast_to(np.array(colour, float), (size, size, 3)), light)


def colour_bands(size, colours):
    """Soft horizontal bands through the colours and back: seamless top to bottom."""
    x, y = grid(size)
    t = 0.5 - 0.5 * np.cos(2 * np.pi * y)
    stops = [(i / (len(colours) - 1), c) for i, c in enumerate(colours)]
    return ramp(t, stops)


def rainbow(size):
    x, y = grid(size)
    h = (x + y) % 1.0  # diagonal, one full turn across the tile
    rgb = np.zeros((size, size, 3))
    for j in range(size):
        for i in range(size):
            rgb[j, i] = colorsys.hsv_to_rgb(h[j, i], 0.6, 0.95)
    return rgb * 255


# ---------------------------------------------------------------- the set

BRUSHES = {  # assets/bmbrush: name -> (size, maker)
    "Denim": (64, lambda s: weave(s, 1, (44, 70, 124), (96, 116, 152), 16, twill=3)),
    "Linen": (64, lambda s: weave(s, 2, (214, 200, 170), (200, 186, 156), 16)),
    "Canvas": (64, lambda s: weave(s, 3, (190, 180, 150), (170, 160, 130), 8)),
    "Burlap": (64, lambda s: weave(s, 4, (170, 130, 80), (150, 112, 66), 8)),
    "Tartan": (64, lambda s: tartan(s, [((150, 30, 40), 12), ((30, 60, 40), 8), ((150, 30, 40), 4),
                                         ((30, 40, 90), 8)])),
    "Gingham": (64, lambda s: gingham(s, (200, 60, 60), 8)),
    "Blue Gingham": (64, lambda s: gingham(s, (60, 100, 190), 8)),
    "Knit": (64, lambda s: knit(s, 5, (170, 40, 50), 8)),
    "Bricks": (128, lambda s: bricks(s, 6)),
    "Cork": (64, lambda s: cork(s, 7)),
    "Parchment": (128, lambda s: parchment(s, 8)),
    "Leather": (128, lambda s: leather(s, 9, (120, 70, 36))),
}

TEXTURES = {  # assets/Textures
    "Oak": (128, lambda s: wood(s, 11, (214, 170, 110), (150, 100, 52), 6)),
    "Pine": (128, lambda s: wood(s, 12, (236, 204, 150), (196, 146, 86), 4)),
    "Walnut": (128, lambda s: wood(s, 13, (132, 86, 52), (70, 40, 22), 7)),
    "White Marble": (128, lambda s: marble(s, 14, (236, 234, 230), (140, 140, 150))),
    "Green Marble": (128, lambda s: marble(s, 15, (40, 110, 80), (200, 230, 210))),
    "Black Marble": (128, lambda s: marble(s, 16, (40, 40, 46), (190, 190, 196))),
    "Rose Marble": (128, lambda s: marble(s, 17, (226, 178, 170), (150, 90, 90))),
    "Granite": (128, lambda s: granite(s, 18, [(130, 120, 118), (170, 160, 156), (92, 84, 84), (214, 206, 198)])),
    "Slate": (128, lambda s: slate(s, 19)),
    "Cobblestone": (128, lambda s: cobblestone(s, 20, (170, 160, 146))),
    "Sand": (128, lambda s: sand(s, 21)),
    "Brushed Steel": (128, lambda s: brushed(s, 22, (110, 116, 124), (214, 220, 226))),
    "Gold": (128, lambda s: brushed(s, 23, (150, 110, 20), (250, 222, 120))),
    "Copper": (128, lambda s: brushed(s, 24, (130, 64, 30), (236, 160, 110))),
    "Water": (128, lambda s: water(s, 25)),
    "Clouds": (128, lambda s: clouds(s, 26)),
    "Grass": (128, lambda s: grass(s, 27)),
    "Sunset": (128, lambda s: colour_bands(s, [(250, 210, 90), (240, 120, 60), (170, 50, 90)])),
    "Ocean Bands": (128, lambda s: colour_bands(s, [(170, 230, 240), (40, 140, 200), (20, 50, 120)])),
    "Rainbow": (96, rainbow),
}

SMOOTH = {"Sunset", "Ocean Bands", "Rainbow", "Clouds"}  # kept at 24 bits: no banding


def save_bmp(rgb, path, smooth):
    image = to_image(rgb)
    if not smooth:
        image = image.quantize(256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    image.save(path, "BMP")


def contact_sheet(entries, path):
    """Each texture tiled 2 x 2 (so any seam would show as a cross in its middle)."""
    cell = 272
    cols = 6
    rows = -(-len(entries) // cols)
    sheet = Image.new("RGB", (cols * cell, rows * (cell + 14)), "white")
    draw = ImageDraw.Draw(sheet)
    for i, (name, image) in enumerate(entries):
        tile = image.convert("RGB")
        w, h = tile.size
        twice = Image.new("RGB", (2 * w, 2 * h))
        for dx in (0, w):
            for dy in (0, h):
                twice.paste(tile, (dx, dy))
        twice = twice.resize((256, 256), Image.NEAREST) if 2 * w < 256 else twice.crop((0, 0, 256, 256))
        x, y = (i % cols) * cell, (i // cols) * (cell + 14)
        sheet.paste(twice, (x + 8, y + 8))
        draw.text((x + 8, y + 266), name, fill="black")
    sheet.save(path)


def main():
    parser = argparse.ArgumentParser(description="Generates the shipped texture bitmaps.")
    parser.add_argument("assets", nargs="?", default="assets", help="the assets folder")
    parser.add_argument("--sheet", metavar="FILE.png", help="also write every texture tiled 2 x 2")
    args = parser.parse_args()
    root, sheet = args.assets, args.sheet
    made = []
    for folder, table in (("bmbrush", BRUSHES), ("Textures", TEXTURES)):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
        for name, (size, maker) in table.items():
            path = os.path.join(root, folder, name + ".bmp")
            save_bmp(maker(size), path, name in SMOOTH)
            made.append((name, Image.open(path)))
    if sheet:
        contact_sheet(made, sheet)
    print("%d textures written to %s" % (len(made), root))


if __name__ == "__main__":
    main()
