#!/usr/bin/env python3
"""Draws the tile patterns shipped in resources/tiles as 24-bit BMP files.

Every pattern is a function of the pixel position that repeats exactly with
the tile's size, so tiled copies meet without a seam. Edges are smoothed by
averaging several samples per pixel; the variations (brick shades, stars)
come from a fixed hash, so each run writes the same bytes.

    scripts/make_tiles.py [OUTPUT_DIR]   (default: resources/tiles)
"""
import math
import os
import struct
import sys


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def smoothstep(e0, e1, v):
    t = clamp((v - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def scale(c, f):
    return tuple(v * f for v in c)


def hash01(*values):
    """A fixed pseudo-random number in [0, 1) for a tuple of integers."""
    h = 2166136261
    for v in values:
        h = ((h ^ (v & 0xFFFFFFFF)) * 16777619) & 0xFFFFFFFF
        h ^= h >> 13
        h = (h * 0x5BD1E995) & 0xFFFFFFFF
        h ^= h >> 15
    return h / 4294967296.0


def wrap(d, n):
    """The shortest signed distance for a coordinate difference modulo n."""
    return (d + n / 2) % n - n / 2


def render(size, shade, samples=3, grain=0.0, seed=0):
    """Averages samples x samples points of `shade` per pixel; `grain` adds a
    fixed per-pixel variation (as a fraction of the colour)."""
    pixels = []
    step = 1.0 / samples
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    c = shade(x + (sx + 0.5) * step, y + (sy + 0.5) * step)
                    for i in range(3):
                        acc[i] += c[i]
            n = samples * samples
            c = [v / n for v in acc]
            if grain:
                f = 1.0 + grain * (hash01(seed, x, y) * 2 - 1)
                c = [v * f for v in c]
            row.append(tuple(int(round(clamp(v, 0, 255))) for v in c))
        pixels.append(row)
    return pixels


def write_bmp(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        data += line
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


# --- the patterns -----------------------------------------------------------

def brick():
    n, bw, bh, mortar = 64, 32, 16, 1.6
    mortar_col = (206, 200, 188)

    def shade(x, y):
        row = int(y // bh)
        offset = bh if row % 2 else 0
        u = (x + offset) % n
        col = int(u // bw)
        bx, by = u % bw, y % bh
        edge = min(bx, bw - bx, by, bh - by)
        v = hash01(1, row % (n // bh), col)
        base = mix((150, 62, 44), (186, 96, 62), v)
        # A light upper edge and a darker lower edge round each brick.
        base = scale(base, 1.0 + 0.10 * smoothstep(3, 0, by - mortar) - 0.12 * smoothstep(3, 0, bh - by - mortar))
        return mix(mortar_col, base, smoothstep(mortar - 0.5, mortar + 0.5, edge))
    return n, render(n, shade, grain=0.07, seed=1)


def checkers():
    n, cell = 32, 16
    light, dark = (236, 228, 206), (136, 162, 140)

    def shade(x, y):
        cx, cy = int(x // cell), int(y // cell)
        base = light if (cx + cy) % 2 == 0 else dark
        lx, ly = x % cell, y % cell
        # Bevel: lit from the upper left.
        hi = smoothstep(2.2, 0.0, min(lx, ly))
        lo = smoothstep(2.2, 0.0, min(cell - lx, cell - ly))
        return scale(base, 1.0 + 0.10 * hi - 0.14 * lo)
    return n, render(n, shade)


def weave():
    n, block, strands = 64, 32, 4
    width = block / strands
    straw = (214, 182, 118)
    gap = (92, 68, 38)

    def shade(x, y):
        bx, by = int(x // block), int(y // block)
        horizontal = (bx + by) % 2 == 0
        across = (y if horizontal else x) % width
        along = (x if horizontal else y) % block
        d = abs(across - width / 2) / (width / 2)  # 0 centre .. 1 edge
        body = 0.72 + 0.34 * math.cos(d * math.pi / 2) ** 1.5
        # Strands dip under their neighbours at both ends of the block.
        dip = 1.0 - 0.30 * (smoothstep(6, 0, along) + smoothstep(6, 0, block - along))
        c = scale(straw, body * dip)
        return mix(gap, c, smoothstep(0.97, 0.80, d))
    return n, render(n, shade, grain=0.05, seed=3)


def waves():
    n = 128
    deep, light, foam = (18, 62, 118), (70, 148, 204), (232, 244, 252)
    tau = 2 * math.pi

    def shade(x, y):
        # Rows of wave crests, bent by slower swells that repeat with the tile.
        yy = y + 5.0 * math.sin(tau * 2 * x / n) + 2.5 * math.sin(tau * (3 * x + y) / n + 1.0)
        phase = (4 * yy / n) % 1.0  # 0 .. 1 from one crest to the next
        # A wave rises slowly and breaks steeply: a saw-tooth profile.
        h = smoothstep(0.0, 0.82, phase) * smoothstep(1.0, 0.90, phase)
        ripple = 0.06 * math.sin(tau * (7 * x + 2 * y) / n)
        c = mix(deep, light, clamp(h + ripple))
        return mix(c, foam, smoothstep(0.86, 0.98, h) * 0.9)
    return n, render(n, shade)


def honeycomb():
    n, a, h = 112, 16, 14  # 7 columns by 8 rows: nearly regular hexagons
    centres = [(c * a + (r % 2) * a / 2, r * h) for r in range(n // h) for c in range(n // a)]
    honey, wax, glow = (226, 150, 28), (118, 70, 14), (252, 212, 96)

    def shade(x, y):
        best = [1e9, 1e9]
        for cx, cy in centres:
            dx, dy = wrap(x - cx, n), wrap(y - cy, n)
            d = math.hypot(dx, dy)
            if d < best[0]:
                best = [d, best[0]]
            elif d < best[1]:
                best[1] = d
        border = best[1] - best[0]  # 0 on the cell wall
        inner = smoothstep(0.0, 7.0, border)
        c = mix(honey, glow, inner * 0.55)
        return mix(wax, c, smoothstep(0.6, 2.0, border))
    return n, render(n, shade)


def polka():
    n, radius = 48, 7.5
    ground, dot, shine = (248, 232, 236), (204, 84, 118), (240, 160, 184)
    centres = [(12, 12), (36, 36)]

    def shade(x, y):
        for cx, cy in centres:
            dx, dy = wrap(x - cx, n), wrap(y - cy, n)
            d = math.hypot(dx, dy)
            if d < radius + 1:
                c = mix(dot, shine, smoothstep(3.5, 0.0, math.hypot(dx + 2.5, dy + 2.5)) * 0.8)
                return mix(c, ground, smoothstep(radius - 0.6, radius + 0.6, d))
        return ground
    return n, render(n, shade, samples=4)


def tartan():
    n = 64
    navy, green, red, yellow = (28, 36, 72), (30, 92, 58), (176, 34, 40), (222, 190, 70)
    sett = [(navy, 12), (green, 12), (navy, 4), (red, 2), (navy, 4), (green, 12), (navy, 8), (yellow, 2), (navy, 8)]
    stripe = []
    for colour, width in sett:
        stripe += [colour] * width
    assert len(stripe) == n

    def shade(x, y):
        ix, iy = int(x), int(y)
        warp, weft = stripe[ix], stripe[iy]
        # A 2/2 twill: warp and weft threads alternate in diagonal steps.
        c = warp if (ix + iy) % 4 < 2 else weft
        return mix(c, mix(warp, weft, 0.5), 0.25)
    return n, render(n, shade, samples=1, grain=0.06, seed=7)


def scales():
    n, r = 64, 16  # rows r apart, scales 2r apart, every other row offset
    edge, body, light = (20, 88, 98), (44, 142, 150), (164, 226, 214)
    rows = n // r

    def shade(x, y):
        # A lower row lies over the one above it: try the rows whose centre
        # is lowest relative to the point first.
        candidates = sorted((wrap(y - k * r, n), k) for k in range(rows))
        for dy, k in candidates:
            if abs(dy) > r:
                continue
            for j in range(n // (2 * r)):
                dx = wrap(x - (j * 2 * r + (r if k % 2 else 0)), n)
                d = math.hypot(dx, dy)
                if d <= r:
                    t = d / r
                    c = mix(light, body, smoothstep(0.0, 0.85, t))
                    return mix(c, edge, smoothstep(0.82, 0.98, t))
        return edge
    return n, render(n, shade)


def argyle():
    n, cell = 64, 32
    wine, charcoal, cream = (128, 32, 52), (58, 58, 70), (232, 220, 188)

    def shade(x, y):
        u, v = (x + y) / cell, (x - y) / cell
        base = wine if (math.floor(u) + math.floor(v)) % 2 == 0 else charcoal
        # Thin dashed lines through the diamonds' centres.
        du = abs(((x + y) % cell) - cell / 2)
        dv = abs(((x - y) % cell) - cell / 2)
        dash_u = ((x - y) % 8) < 5
        dash_v = ((x + y) % 8) < 5
        line = max(smoothstep(1.2, 0.4, du) * dash_u, smoothstep(1.2, 0.4, dv) * dash_v)
        return mix(base, cream, line * 0.9)
    return n, render(n, shade, samples=4)


def parquet():
    n, w = 64, 16  # planks of 2 x 1 units in a herringbone
    dark = (70, 40, 20)

    def plank(a, b):
        """(orientation, start cell) of the plank holding unit cell (a, b)."""
        m = (a - b) % 4
        if m == 0:
            return 'h', a, b
        if m == 1:
            return 'h', a - 1, b
        if m == 3:
            return 'v', a, b
        return 'v', a, b - 1

    def shade(x, y):
        a, b = int(x // w), int(y // w)
        kind, sa, sb = plank(a, b)
        if kind == 'h':
            along, across, length = x - sa * w, y - sb * w, 2 * w
        else:
            along, across, length = y - sb * w, x - sa * w, 2 * w
        v = hash01(10, sa % 4, sb % 4, kind == 'h')
        wood = mix((150, 96, 52), (196, 140, 84), v)
        # Grain: wavy lines along the plank.
        g = math.sin(2 * math.pi * (across * 3.0 / w + 0.25 * math.sin(2 * math.pi * along / length + v * 6)))
        wood = scale(wood, 1.0 - 0.08 * smoothstep(0.4, 1.0, g))
        seam = min(along, length - along, across, w - across)
        return mix(dark, wood, smoothstep(0.3, 1.2, seam))
    return n, render(n, shade, grain=0.04, seed=11)


def linen():
    n = 16
    flax = (222, 208, 176)

    def shade(x, y):
        ix, iy = int(x), int(y)
        # Threads of uneven thickness, crossing over and under each other.
        thread_x = 0.84 + 0.22 * hash01(20, ix)
        thread_y = 0.84 + 0.22 * hash01(21, iy)
        over = (ix + iy) % 2 == 0
        f = (thread_x if over else thread_y) * (1.02 if over else 0.90)
        return scale(flax, f)
    return n, render(n, shade, samples=1, grain=0.03, seed=22)


def starry():
    n = 128
    sky, haze = (12, 18, 46), (28, 36, 82)
    stars = []
    for i in range(60):
        sx, sy = hash01(30, i) * n, hash01(31, i) * n
        bright = hash01(32, i) ** 3
        stars.append((sx, sy, 0.35 + 0.65 * bright, 0.6 + 1.6 * bright))
    tau = 2 * math.pi

    def shade(x, y):
        # A faint band of haze that repeats with the tile.
        band = 0.5 + 0.25 * math.sin(tau * (x + 2 * y) / n) + 0.25 * math.sin(tau * (2 * x - y) / n + 2.0)
        c = mix(sky, haze, band * 0.35)
        light = 0.0
        for sx, sy, b, size in stars:
            dx, dy = wrap(x - sx, n), wrap(y - sy, n)
            if abs(dx) > 6 or abs(dy) > 6:
                continue
            d = math.hypot(dx, dy)
            light += b * math.exp(-(d / size) ** 2 * 2)
            if size > 1.6:  # the brightest twinkle with four points
                light += 0.35 * b * (math.exp(-abs(dx) * 2.5 - dy * dy) + math.exp(-abs(dy) * 2.5 - dx * dx))
        return mix(c, (250, 246, 226), clamp(light))
    return n, render(n, shade)


TILES = {
    'Argyle': argyle,
    'Brick': brick,
    'Checkers': checkers,
    'Honeycomb': honeycomb,
    'Linen': linen,
    'Parquet': parquet,
    'Polka Dots': polka,
    'Scales': scales,
    'Starry Night': starry,
    'Tartan': tartan,
    'Waves': waves,
    'Weave': weave,
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'resources', 'tiles')
    os.makedirs(out, exist_ok=True)
    for name, make in TILES.items():
        size, pixels = make()
        assert len(pixels) == size and len(pixels[0]) == size and 16 <= size <= 128
        write_bmp(os.path.join(out, name + '.bmp'), pixels)
        print(f'{name}.bmp  {size}x{size}')


if __name__ == '__main__':
    main()
