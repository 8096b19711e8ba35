#!/usr/bin/env python3
"""Draws every picture of the project and writes it as a Windows bitmap (or JPEG).

    python3 tools/draw/draw_pictures.py

writes

  shell/resources/   flag_gb.bmp, flag_pl.bmp (40 x 24, 256 colours), default_scenery.bmp
                     (225 x 169, 24-bit) and about_title.bmp (335 x 80, 24-bit), embedded in the
                     launcher;
  sample/            the sample installation's scenery pictures (scenery/Images) and vehicle
                     thumbnails (textures/Mini).

Python 3 standard library only: a small anti-aliased polygon rasteriser, a perspective view for
the landscapes, and BMP writers built with struct. The JPEG is written as a PPM and compressed by
cjpeg (Debian package libjpeg-turbo-progs). Every picture is drawn from geometry here; the only
randomness is seeded, so a run gives the same files every time.
"""

import math
import random
import shutil
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
RESOURCES = ROOT / "shell" / "resources"
SAMPLE = ROOT / "sample"


# =============================================================================================
# Rasteriser


def coverage(contours, width, height, ss=4):
    """Pixel coverage of a filled shape (even-odd rule), as {(x, y): 0..1}.

    Pixel (x, y) is the square [x, x+1) x [y, y+1). Each pixel row is sampled on `ss` lines;
    along a line the covered length is exact, so edges come out smooth in both directions.
    """
    edges = []
    ymin, ymax = float("inf"), float("-inf")
    for pts in contours:
        n = len(pts)
        for k in range(n):
            x0, y0 = pts[k]
            x1, y1 = pts[(k + 1) % n]
            ymin, ymax = min(ymin, y0), max(ymax, y0)
            if y0 != y1:
                edges.append((x0, y0, x1, y1))
    cov = {}
    if not edges:
        return cov
    j0 = max(0, int(math.floor(ymin)))
    j1 = min(height - 1, int(math.ceil(ymax)))
    weight = 1.0 / ss
    for j in range(j0, j1 + 1):
        for s in range(ss):
            yc = j + (s + 0.5) / ss
            xs = []
            for x0, y0, x1, y1 in edges:
                if (y0 <= yc < y1) or (y1 <= yc < y0):
                    xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
            if len(xs) < 2:
                continue
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                a, b = max(a, 0.0), min(b, float(width))
                if b <= a:
                    continue
                ia, ib = int(a), int(b)
                if ib >= width:
                    ib = width - 1
                    b_part = 1.0
                else:
                    b_part = b - ib
                if ia == ib:
                    key = (ia, j)
                    cov[key] = cov.get(key, 0.0) + (b - a) * weight
                    continue
                key = (ia, j)
                cov[key] = cov.get(key, 0.0) + (ia + 1 - a) * weight
                for i in range(ia + 1, ib):
                    key = (i, j)
                    cov[key] = cov.get(key, 0.0) + weight
                key = (ib, j)
                cov[key] = cov.get(key, 0.0) + b_part * weight
    return cov


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    t = min(1.0, max(0.0, t))
    return (lerp(c0[0], c1[0], t), lerp(c0[1], c1[1], t), lerp(c0[2], c1[2], t))


def shade(c, f):
    """A colour made lighter (f > 1) or darker (f < 1)."""
    return tuple(min(255.0, max(0.0, v * f)) for v in c)


def vertical_gradient(y0, c0, y1, c1):
    return lambda x, y: mix(c0, c1, (y - y0) / (y1 - y0) if y1 != y0 else 0.0)


class Canvas:
    def __init__(self, width, height, background=(0, 0, 0)):
        self.w, self.h = width, height
        self.px = [[float(v) for v in background] for _ in range(width * height)]

    def blend(self, x, y, color, a):
        if a <= 0.0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        if a >= 1.0:
            p[0], p[1], p[2] = color[0], color[1], color[2]
        else:
            p[0] += (color[0] - p[0]) * a
            p[1] += (color[1] - p[1]) * a
            p[2] += (color[2] - p[2]) * a

    def get(self, x, y):
        return tuple(self.px[y * self.w + x])

    def fill_coverage(self, cov, paint, alpha=1.0):
        fn = paint if callable(paint) else None
        for (x, y), c in cov.items():
            color = fn(x + 0.5, y + 0.5) if fn else paint
            self.blend(x, y, color, min(c, 1.0) * alpha)

    def fill(self, contours, paint, alpha=1.0):
        self.fill_coverage(coverage(contours, self.w, self.h), paint, alpha)

    def poly(self, pts, paint, alpha=1.0):
        self.fill([pts], paint, alpha)

    def rect(self, x0, y0, x1, y1, paint, alpha=1.0):
        self.poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], paint, alpha)

    def ellipse(self, cx, cy, rx, ry, paint, alpha=1.0, steps=None):
        n = steps or max(12, int(4 * (rx + ry)))
        pts = [(cx + rx * math.cos(2 * math.pi * k / n), cy + ry * math.sin(2 * math.pi * k / n))
               for k in range(n)]
        self.poly(pts, paint, alpha)

    def line(self, x0, y0, x1, y1, width, paint, alpha=1.0):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy)
        if length == 0:
            return
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        self.poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)],
                  paint, alpha)

    def polyline(self, pts, width, paint, alpha=1.0):
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            self.line(x0, y0, x1, y1, width, paint, alpha)

    def each_pixel(self, fn):
        """Sets every pixel to fn(x, y, current colour)."""
        for y in range(self.h):
            for x in range(self.w):
                p = self.px[y * self.w + x]
                p[0], p[1], p[2] = fn(x, y, (p[0], p[1], p[2]))

    def columns(self, top, paint, bottom=None, sub=4):
        """Fills from a curve top(x) (floats, pixels) down to bottom (or the picture's foot), with
        the top edge anti-aliased by sampling the curve at `sub` points across each pixel."""
        for x in range(self.w):
            tops = [top(x + (k + 0.5) / sub) for k in range(sub)]
            t_min = max(0, int(math.floor(min(tops))))
            y_end = self.h if bottom is None else min(self.h, int(math.ceil(bottom)))
            for y in range(t_min, y_end):
                c = sum(min(1.0, max(0.0, y + 1 - t)) for t in tops) / sub
                if c > 0:
                    self.blend(x, y, paint(x + 0.5, y + 0.5), c)

    def pixels(self):
        """Rows top to bottom of (r, g, b) integer triples."""
        return [[tuple(int(round(min(255.0, max(0.0, v)))) for v in self.px[y * self.w + x])
                 for x in range(self.w)] for y in range(self.h)]


class Pen:
    """Draws on a canvas in units of its own: x' = x * scale + dx, y' = y * scale + dy."""

    def __init__(self, canvas, scale=1.0, dx=0.0, dy=0.0):
        self.c, self.s, self.dx, self.dy = canvas, scale, dx, dy

    def pt(self, x, y):
        return (x * self.s + self.dx, y * self.s + self.dy)

    def poly(self, pts, paint, alpha=1.0):
        self.c.poly([self.pt(x, y) for x, y in pts], paint, alpha)

    def rect(self, x0, y0, x1, y1, paint, alpha=1.0):
        self.poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], paint, alpha)

    def circle(self, cx, cy, r, paint, alpha=1.0):
        x, y = self.pt(cx, cy)
        self.c.ellipse(x, y, r * self.s, r * self.s, paint, alpha)

    def line(self, x0, y0, x1, y1, width, paint, alpha=1.0):
        w = max(width * self.s, 0.7)
        self.c.line(*self.pt(x0, y0), *self.pt(x1, y1), w, paint, alpha)

    def polyline(self, pts, width, paint, alpha=1.0):
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            self.line(x0, y0, x1, y1, width, paint, alpha)


# =============================================================================================
# Files


def bmp_header(width, height, bits, row_bytes, palette_entries):
    image_size = row_bytes * height
    offset = 14 + 40 + 4 * palette_entries
    file_header = struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size,
                              3780, 3780, palette_entries, 0)
    return file_header + info_header


def write_bmp24(path, canvas):
    rows = canvas.pixels()
    row_bytes = (canvas.w * 3 + 3) & ~3
    out = bytearray(bmp_header(canvas.w, canvas.h, 24, row_bytes, 0))
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(row_bytes - len(line))
        out += line
    save(path, bytes(out))


def palette_of(rows):
    """The picture's colours, reduced (if needed) until 256 entries hold them all."""
    for shift in range(0, 6):
        def reduce(c, shift=shift):
            if shift == 0:
                return c
            half = 1 << (shift - 1)
            return tuple(min(255, ((v + half) >> shift) << shift) for v in c)
        colours = sorted({reduce(c) for row in rows for c in row})
        if len(colours) <= 256:
            return colours, reduce
    raise ValueError("too many colours")


def write_bmp8(path, canvas):
    """A 256-colour bitmap: an 8-bit index per pixel into a palette of 256 entries."""
    rows = canvas.pixels()
    colours, reduce = palette_of(rows)
    index = {c: i for i, c in enumerate(colours)}
    palette = bytearray()
    for k in range(256):
        r, g, b = colours[k] if k < len(colours) else (0, 0, 0)
        palette += bytes((b, g, r, 0))
    row_bytes = (canvas.w + 3) & ~3
    out = bytearray(bmp_header(canvas.w, canvas.h, 8, row_bytes, 256)) + palette
    for row in reversed(rows):
        line = bytearray(index[reduce(c)] for c in row)
        line += bytes(row_bytes - len(line))
        out += line
    save(path, bytes(out))


def write_jpeg(path, canvas, quality=90):
    cjpeg = shutil.which("cjpeg")
    if not cjpeg:
        sys.exit("draw_pictures: cjpeg is missing (Debian package libjpeg-turbo-progs)")
    ppm = bytearray(f"P6\n{canvas.w} {canvas.h}\n255\n".encode("ascii"))
    for row in canvas.pixels():
        for c in row:
            ppm += bytes(c)
    with tempfile.TemporaryDirectory() as tmp:
        source = Path(tmp) / "picture.ppm"
        target = Path(tmp) / "picture.jpg"
        source.write_bytes(bytes(ppm))
        subprocess.run([cjpeg, "-quality", str(quality), "-optimize", "-outfile", str(target),
                        str(source)], check=True)
        save(path, target.read_bytes())


def save(path, data):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    print(f"{path.relative_to(ROOT)}: {len(data)} bytes")


# =============================================================================================
# Lettering: a 5 x 7 block font of our own (only the characters the pictures need)

GLYPHS = {
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "-": ["...", "...", "...", "###", "...", "...", "..."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "1": ["..#", ".##", "..#", "..#", "..#", "..#", "..#"],
}


def text_cells(text, cell_w, cell_h, gap, x0, y0, slant=0.0):
    """The squares of a text in the block font, as polygons (slanted by `slant` per pixel up)."""
    polys = []
    x = x0
    base = y0 + 7 * cell_h
    for ch in text:
        glyph = GLYPHS[ch]
        for row, bits in enumerate(glyph):
            for col, bit in enumerate(bits):
                if bit != "#":
                    continue
                left, top = x + col * cell_w, y0 + row * cell_h
                right, bottom = left + cell_w, top + cell_h
                polys.append([(left + slant * (base - top), top), (right + slant * (base - top), top),
                              (right + slant * (base - bottom), bottom),
                              (left + slant * (base - bottom), bottom)])
        x += len(glyph[0]) * cell_w + gap
    return polys, x - gap


def text_width(text, cell_w, gap):
    return sum(len(GLYPHS[ch][0]) * cell_w for ch in text) + gap * (len(text) - 1)


def union_coverage(polys, width, height):
    """Coverage of shapes that touch but do not overlap (the squares of a text): the sum of their
    coverages, so no seam shows where two squares meet."""
    total = {}
    for p in polys:
        for key, c in coverage([p], width, height).items():
            total[key] = min(1.0, total.get(key, 0.0) + c)
    return total


def dilate(cov, radius):
    out = dict(cov)
    r = int(math.ceil(radius))
    offsets = [(dx, dy) for dx in range(-r, r + 1) for dy in range(-r, r + 1)
               if (dx or dy) and math.hypot(dx, dy) <= radius + 0.01]
    for (x, y), c in cov.items():
        for dx, dy in offsets:
            key = (x + dx, y + dy)
            if out.get(key, 0.0) < c:
                out[key] = c
    return out


def shifted(cov, dx, dy):
    return {(x + dx, y + dy): c for (x, y), c in cov.items()}


# =============================================================================================
# Flags


def draw_flag_gb():
    """The Union flag on 40 x 24: St Andrew's and St Patrick's saltires (the red one counterchanged)
    under St George's cross with its white border."""
    w, h = 40, 24
    blue, white, red = (1, 33, 105), (255, 255, 255), (200, 16, 46)
    cx, cy = w / 2, h / 2
    norm = math.hypot(w, h)
    unit = h / 30  # the flag's design grid: 30 units high
    c = Canvas(w, h)

    def colour_at(x, y):
        if abs(x - cx) < 2.0 or abs(y - cy) < 2.0:          # red cross, 6 units
            return red
        if abs(x - cx) < 4.0 or abs(y - cy) < 4.0:          # its white border, 2 units each side
            return white
        d1 = ((x - cx) * h - (y - cy) * w) / norm           # across the diagonal from top left
        d2 = ((x - cx) * h + (y - cy) * w) / norm           # across the diagonal from bottom left
        left, top = x < cx, y < cy
        d = d1 if left == top else d2
        if abs(d) >= 3 * unit:
            return blue
        # The red band (2 units) lies on the side of each arm that turns the flag's pinwheel.
        red_side = -1 if top else 1
        if 0 < d * red_side < 2 * unit:
            return red
        return white

    n = 8
    for y in range(h):
        for x in range(w):
            acc = [0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    col = colour_at(x + (sx + 0.5) / n, y + (sy + 0.5) / n)
                    acc[0] += col[0]
                    acc[1] += col[1]
                    acc[2] += col[2]
            c.blend(x, y, tuple(v / (n * n) for v in acc), 1.0)
    return c


def draw_flag_pl():
    c = Canvas(40, 24, (255, 255, 255))
    c.rect(0, 12, 40, 24, (220, 20, 60))
    return c


# =============================================================================================
# Landscapes in perspective


class View:
    """A camera cam_h metres above flat ground, looking along +z; the horizon is row `horizon`."""

    def __init__(self, canvas, horizon, focal, cam_h, vx=None):
        self.c, self.horizon, self.f, self.cam_h = canvas, horizon, focal, cam_h
        self.vx = canvas.w / 2 if vx is None else vx

    def p(self, x, y, z):
        return (self.vx + self.f * x / z, self.horizon + self.f * (self.cam_h - y) / z)

    def scale(self, z):
        return self.f / z

    def quad(self, corners, paint, alpha=1.0):
        self.c.poly([self.p(*k) for k in corners], paint, alpha)

    def strip(self, centre, left, right, z0, z1, paint, y=0.0, steps=60, alpha=1.0):
        """A band on the ground (height y) between lateral offsets left and right of centre(z)."""
        zs = [z0 * (z1 / z0) ** (k / steps) for k in range(steps + 1)]
        edge_l = [self.p(centre(z) + left, y, z) for z in zs]
        edge_r = [self.p(centre(z) + right, y, z) for z in reversed(zs)]
        self.c.poly(edge_l + edge_r, paint, alpha)


def sky(c, top, horizon_colour, horizon):
    c.each_pixel(lambda x, y, p: mix(top, horizon_colour, (y / horizon) ** 1.3) if y < horizon
                 else horizon_colour)


def ground(c, view, near, far, rng=None, grain=0.0):
    """Ground below the horizon: `far` at the horizon to `near` at the foot, with a speckle."""
    h0 = view.horizon

    def fn(x, y, p):
        if y < h0:
            return p
        t = ((y - h0) / (c.h - h0)) ** 0.7
        col = mix(far, near, t)
        if rng and grain:
            col = shade(col, 1 + rng.uniform(-grain, grain) * t)
        return col
    c.each_pixel(fn)


def cloud(c, cx, cy, size, rng, colour=(255, 255, 255), under=(214, 222, 232), alpha=0.92):
    puffs = [(cx + rng.uniform(-1.6, 1.6) * size, cy + rng.uniform(-0.35, 0.2) * size,
              size * rng.uniform(0.55, 0.95)) for _ in range(7)]
    for x, y, r in puffs:
        c.ellipse(x, y + r * 0.18, r * 1.3, r * 0.6, under, alpha * 0.9)
    for x, y, r in puffs:
        c.ellipse(x, y, r * 1.2, r * 0.58, colour, alpha)


def ridge(rng, width, base, amplitude, roughness=0.55, points=65):
    """A mountain or hill skyline as a function of x: midpoint displacement, smoothly joined."""
    n = 1
    ys = [base - rng.uniform(0.2, 0.6) * amplitude, base - rng.uniform(0.2, 0.6) * amplitude]
    spread = amplitude * 0.8
    while n < points - 1:
        new = [ys[0]]
        for a, b in zip(ys, ys[1:]):
            new += [(a + b) / 2 + rng.uniform(-spread, spread), b]
        ys = new
        n = len(ys) - 1
        spread *= roughness
    top, foot = min(ys), max(ys)
    # heights from a fifth of the amplitude (the lowest saddle) up to the full amplitude
    ys = [base - amplitude * (0.2 + 0.8 * (foot - y) / (foot - top)) if foot != top else base - amplitude
          for y in ys]

    def fn(x):
        t = min(max(x / width, 0.0), 1.0) * (len(ys) - 1)
        i = min(int(t), len(ys) - 2)
        u = t - i
        u = u * u * (3 - 2 * u)
        return lerp(ys[i], ys[i + 1], u)
    return fn


def track(view, centre, z0, z1, ballast, sleeper, rail, rail_light, sleeper_to=70.0,
          spacing=0.65):
    """A single track along centre(z): ballast bed, sleepers, two rails with a lit head."""
    view.strip(centre, -1.9, 1.9, z0, z1, ballast, y=0.0, steps=90)
    view.strip(centre, -1.45, 1.45, z0, z1, shade(ballast, 0.9), y=0.05, steps=90, alpha=0.5)
    z = z0 - 0.3
    while z < min(sleeper_to, z1):
        x = centre(z)
        view.quad([(x - 1.3, 0.12, z), (x + 1.3, 0.12, z), (x + 1.3, 0.12, z + 0.24),
                   (x - 1.3, 0.12, z + 0.24)], sleeper)
        z += spacing
    for side in (-0.7175, 0.7175):
        view.strip(centre, side - 0.04, side + 0.04, z0, z1, rail, y=0.16, steps=90)
        view.strip(centre, side - 0.025, side + 0.015, z0, z1, rail_light, y=0.175, steps=90)


def pine(c, x, base, height, dark, light, snow=None, trunk=(70, 50, 35)):
    w = height * 0.42
    c.rect(x - height * 0.025, base - height * 0.14, x + height * 0.025, base, trunk)
    tiers = 4
    for k in range(tiers):
        t0 = base - height * (0.12 + 0.2 * k)
        tip = t0 - height * 0.36
        half = w * (1 - 0.2 * k) / 2
        c.poly([(x - half, t0), (x + half, t0), (x, tip)], dark)
        c.poly([(x - half * 0.15, t0 - height * 0.02), (x - half, t0), (x, tip)], light, 0.8)
        if snow:
            c.poly([(x - half * 0.55, t0 - (t0 - tip) * 0.45), (x, tip),
                    (x + half * 0.3, t0 - (t0 - tip) * 0.55)], snow, 0.85)
            c.poly([(x - half, t0), (x - half * 0.2, t0 - height * 0.05), (x + half * 0.4, t0 - height * 0.01),
                    (x + half, t0)], snow, 0.8)


def leafy_tree(c, x, base, height, rng, dark=(52, 98, 44), light=(104, 150, 70),
               trunk=(88, 66, 44)):
    c.rect(x - height * 0.05, base - height * 0.45, x + height * 0.05, base, trunk)
    r = height * 0.3
    crown_y = base - height * 0.62
    for _ in range(6):
        c.ellipse(x + rng.uniform(-0.5, 0.5) * r, crown_y + rng.uniform(-0.4, 0.4) * r,
                  r * 0.7, r * 0.62, dark)
    for _ in range(4):
        c.ellipse(x - r * 0.25 + rng.uniform(-0.3, 0.3) * r, crown_y - r * 0.25 + rng.uniform(-0.3, 0.2) * r,
                  r * 0.45, r * 0.4, light, 0.85)


def catenary(view, centre, side, z_poles, mast=(88, 92, 96), wire=(50, 52, 58), z_near=1.2):
    """Masts beside the track with their arms, and the wire hung from them over the track (from
    z_near, in front of the first mast, on)."""
    c = view.c
    for z in sorted(z_poles, reverse=True):
        x = centre(z) + side
        view.quad([(x - 0.12, 0, z), (x + 0.12, 0, z), (x + 0.12, 7.0, z), (x - 0.12, 7.0, z)], mast)
        x0, y0 = view.p(x, 6.2, z)
        x1, y1 = view.p(centre(z), 6.2, z)
        c.line(x0, y0, x1, y1, max(0.5, view.scale(z) * 0.1), mast)
    zs = sorted(z_poles)
    zs = [z_near] + zs
    for z0, z1 in zip(zs, zs[1:]):
        pts = []
        for k in range(13):
            z = lerp(z0, z1, k / 12)
            sag = 0.35 * (1 - (2 * k / 12 - 1) ** 2)
            pts.append(view.p(centre(z), 6.2 - sag, z))
        c.polyline(pts, 0.7, wire, 0.9)
        c.polyline([view.p(centre(lerp(z0, z1, k / 12)), 5.5, lerp(z0, z1, k / 12)) for k in range(13)],
                   0.6, wire, 0.8)


def peak(c, rng, x, top, base, left_w, right_w, rock, snow, cap):
    """A mountain in the flat style: a sunlit left face, a shaded right face, and a snow cap
    reaching `cap` of the way down, with a ragged lower edge."""
    height = base - top

    def side(x0, y0, x1, y1, n=5, jitter=0.06):
        pts = []
        for k in range(1, n):
            t = k / n
            pts.append((lerp(x0, x1, t) + rng.uniform(-1, 1) * jitter * abs(x1 - x0),
                        lerp(y0, y1, t) + rng.uniform(-1, 1) * jitter * height * 0.5))
        return pts
    left = side(x - left_w, base, x, top)
    right = side(x, top, x + right_w, base)
    split = x + right_w * 0.18
    c.poly([(x - left_w, base)] + left + [(x, top), (split, base)], rock)
    c.poly([(x, top)] + right + [(x + right_w, base), (split, base)], shade(rock, 0.78))
    # the cap: down the outline to its snow line, then a ragged edge back across
    y_line = top + height * cap
    on_left = [p for p in reversed(left) if p[1] < y_line]
    on_right = [p for p in right if p[1] < y_line]
    xl = x - left_w * cap
    xr = x + right_w * cap
    ragged = []
    n = 7
    for k in range(1, n):
        t = k / n
        ragged.append((lerp(xr, xl, t), y_line + rng.uniform(-0.4, 0.5) * height * 0.12 * (1 if k % 2 else -0.6)))
    cap_poly = [(x, top)] + on_right + [(xr, y_line)] + ragged + [(xl, y_line)] + list(reversed(on_left))
    c.poly(cap_poly, snow[1])
    xs = x + (split - x) * cap
    lit = [(x, top), (xs, y_line)] + [p for p in ragged if p[0] < xs] + [(xl, y_line)] + list(reversed(on_left))
    c.poly(lit, snow[0])


def draw_default_scenery():
    """A quiet placeholder: grey-green hills under a pale sky, and a straight track."""
    w, h = 225, 169
    c = Canvas(w, h)
    horizon = 92
    sky(c, (170, 184, 198), (224, 228, 228), horizon)
    c.ellipse(62, 48, 13, 13, (238, 238, 232), 0.5)
    rng = random.Random(424)
    far = ridge(rng, w, horizon + 2, 26)
    c.columns(far, lambda x, y: (168, 178, 186))
    near = ridge(rng, w, horizon + 2, 15, roughness=0.45)
    c.columns(near, vertical_gradient(horizon - 16, (148, 162, 150), horizon, (136, 150, 136)))
    view = View(c, horizon, focal=(h - horizon) * 2.4 / 1.7, cam_h=1.7)
    ground(c, view, (118, 132, 110), (150, 160, 140), rng, grain=0.03)
    track(view, lambda z: 0.0, 2.2, 900.0, (152, 148, 140), (100, 92, 84), (84, 86, 90),
          (196, 198, 204))
    for k in range(6):  # a line of telegraph poles
        z = 13 + k * 22
        x, base = view.p(3.6, 0, z)
        top = view.p(3.6, 6.5, z)[1]
        c.line(x, base, x, top, max(0.6, view.scale(z) * 0.16), (104, 96, 88))
        c.line(x - view.scale(z) * 0.6, top + 1, x + view.scale(z) * 0.6, top + 1,
               max(0.5, view.scale(z) * 0.08), (104, 96, 88))
    return c


def draw_kolejowo():
    """Kolejowo on a summer morning: the station with its platform, a semaphore, wires, fields."""
    w, h = 225, 169
    c = Canvas(w, h)
    rng = random.Random(7)
    horizon = 84
    sky(c, (62, 124, 200), (186, 214, 238), horizon)
    for cx, cy, s in ((40, 22, 10), (150, 14, 8), (196, 44, 6)):
        cloud(c, cx, cy, s, rng)
    trees = ridge(rng, w, horizon + 1, 6, roughness=0.7, points=129)
    c.columns(trees, lambda x, y: (58, 98, 62))
    view = View(c, horizon, focal=92.7, cam_h=2.2)
    ground(c, view, (84, 150, 56), (128, 170, 96), rng, grain=0.06)
    # a field of ripe grain behind the station, and a mown meadow on the right
    view.quad([(-90, 0, 40), (-14, 0, 40), (-14, 0, 260), (-90, 0, 260)], (212, 184, 88))
    for k in range(10):
        x = -90 + k * 8
        view.quad([(x, 0, 40), (x + 1.2, 0, 40), (x + 1.2, 0, 260), (x, 0, 260)], (190, 160, 70), 0.6)
    view.quad([(12, 0, 30), (80, 0, 30), (80, 0, 300), (12, 0, 300)], (150, 186, 92), 0.7)
    # village houses far off
    for x, z in ((26, 150), (34, 170), (44, 140), (-40, 300)):
        view.quad([(x, 0, z), (x + 7, 0, z), (x + 7, 4, z), (x, 4, z)], (226, 220, 206))
        view.quad([(x - 0.5, 4, z), (x + 7.5, 4, z), (x + 3.5, 7, z)], (168, 60, 44))
    # the track, slightly right of the camera
    centre = lambda z: 0.6
    track(view, centre, 2.0, 900.0, (150, 140, 126), (96, 78, 62), (70, 66, 64), (210, 210, 214))
    # platform on the left: top face and edge
    view.quad([(-5.8, 0.76, 1.0), (-1.1, 0.76, 1.0), (-1.1, 0.76, 90), (-5.8, 0.76, 90)], (176, 172, 166))
    view.quad([(-1.1, 0.76, 1.0), (-1.1, 0.0, 1.0), (-1.1, 0.0, 90), (-1.1, 0.76, 90)], (126, 122, 118))
    view.quad([(-1.55, 0.77, 1.0), (-1.3, 0.77, 1.0), (-1.3, 0.77, 90), (-1.55, 0.77, 90)], (236, 214, 70))
    # station building: red brick, dark roof, white window frames
    z0, z1, xf, xb = 16.0, 30.0, -7.0, -14.0
    brick, brick_dark, roof, roof_side = (172, 84, 62), (138, 64, 48), (92, 72, 70), (70, 56, 56)
    view.quad([(xf, 0, z0), (xb, 0, z0), (xb, 5.2, z0), (xf, 5.2, z0)], brick_dark)      # gable end
    view.quad([(xb, 5.2, z0), (xf, 5.2, z0), ((xf + xb) / 2, 8.0, z0)], brick_dark)
    view.quad([(xf, 0, z0), (xf, 0, z1), (xf, 5.2, z1), (xf, 5.2, z0)], brick)          # long side
    view.quad([(xf + 0.4, 5.1, z0 - 0.4), (xf + 0.4, 5.1, z1 + 0.4), ((xf + xb) / 2, 8.1, z1 + 0.4),
               ((xf + xb) / 2, 8.1, z0 - 0.4)], roof)
    view.quad([(xb - 0.4, 5.1, z0 - 0.4), ((xf + xb) / 2, 8.1, z0 - 0.4), (xf + 0.4, 5.1, z0 - 0.4)], roof_side)
    for k in range(5):
        zw = z0 + 1.4 + k * 2.6
        door = k == 2
        top = 3.6 if not door else 3.2
        bottom = 1.4 if not door else 0.0
        view.quad([(xf, bottom, zw), (xf, bottom, zw + 1.2), (xf, top, zw + 1.2), (xf, top, zw)],
                  (236, 232, 222))
        view.quad([(xf, bottom + 0.15, zw + 0.15), (xf, bottom + 0.15, zw + 1.05), (xf, top - 0.15, zw + 1.05),
                   (xf, top - 0.15, zw + 0.15)], (52, 64, 80) if not door else (96, 62, 40))
    view.quad([(xf, 4.2, z0 + 4), (xf, 4.2, z0 + 10), (xf, 4.9, z0 + 10), (xf, 4.9, z0 + 4)], (30, 56, 110))
    # a few trees
    for x, z in sorted(((-20, 40), (-24, 60), (16, 26), (22, 70), (-11, 120), (30, 48), (12, 160)),
                       key=lambda t: -t[1]):
        px, base = view.p(x, 0, z)
        leafy_tree(c, px, base, view.scale(z) * rng.uniform(9, 13), rng)
    # entry semaphore, arm raised (clear)
    zs, xs = 26.0, 2.8
    view.quad([(xs - 0.1, 0, zs), (xs + 0.1, 0, zs), (xs + 0.1, 7.2, zs), (xs - 0.1, 7.2, zs)], (60, 60, 64))
    ax, ay = view.p(xs, 6.6, zs)
    arm = view.scale(zs) * 1.7
    c.line(ax, ay, ax - arm * 0.7, ay - arm * 0.7, max(1.2, view.scale(zs) * 0.3), (200, 30, 30))
    c.line(ax - arm * 0.35, ay - arm * 0.35, ax - arm * 0.5, ay - arm * 0.5,
           max(1.2, view.scale(zs) * 0.3), (250, 250, 250))
    c.ellipse(*view.p(xs, 7.35, zs), view.scale(zs) * 0.18, view.scale(zs) * 0.18, (40, 40, 44))
    catenary(view, centre, 3.6, [15 + 52 * k for k in range(6)])
    return c


def draw_gory_zima():
    """Przełęcz Śnieżna in winter: snowy ranges, pines, the track bending left into the hills."""
    w, h = 320, 240
    c = Canvas(w, h)
    rng = random.Random(3810)
    horizon = 120
    sky(c, (132, 154, 190), (226, 230, 238), horizon)
    c.ellipse(70, 40, 30, 30, (244, 240, 226), 0.35)

    far_rock, far_snow = (116, 128, 152), ((246, 248, 252), (206, 216, 234))
    for x, height, lw, rw, cap in ((30, 60, 70, 55, 0.42), (110, 84, 80, 70, 0.5), (175, 66, 60, 75, 0.45),
                                   (250, 90, 85, 60, 0.5), (318, 58, 60, 70, 0.4)):
        peak(c, rng, x, horizon + 6 - height, horizon + 6, lw, rw, far_rock, far_snow, cap)
    for y in range(horizon - 34, horizon + 6):     # haze in the valleys
        t = (y - (horizon - 34)) / 40
        for x in range(w):
            c.blend(x, y, (214, 220, 232), t * 0.85)
    near_rock, near_snow = (78, 92, 108), ((236, 240, 248), (186, 198, 220))
    for x, height, lw, rw, cap in ((-10, 40, 50, 60, 0.3), (70, 30, 55, 45, 0.25), (205, 36, 50, 55, 0.3),
                                   (290, 46, 60, 50, 0.32)):
        peak(c, rng, x, horizon + 4 - height, horizon + 4, lw, rw, near_rock, near_snow, cap)
    view = View(c, horizon, focal=132.0, cam_h=2.0)
    ground(c, view, (222, 228, 238), (236, 240, 246), rng, grain=0.02)
    centre = lambda z: 0.9 - 0.0045 * z * z

    # soft blue shadows of drifts on the snow
    for _ in range(14):
        z = rng.uniform(4, 60)
        x = rng.uniform(-40, 30)
        if abs(x - centre(z)) < 5:
            continue
        view.quad([(x - 6, 0, z), (x + 6, 0, z), (x + 4, 0, z + 2.5), (x - 5, 0, z + 2.0)],
                  (196, 206, 226), 0.45)
    # a forest along the foot of the hills, a few big pines near the line
    stands = []
    for _ in range(170):
        z = rng.uniform(70, 220)
        x = rng.uniform(-160, 90)
        if abs(x - centre(z)) < 5 + z * 0.03:
            continue
        stands.append((z, x, rng.uniform(7, 13)))
    for z, x in ((14, -9.5), (17, -13.0), (22, 9.0), (30, 12.5), (26, -16.0), (40, 8.0), (46, -20.0)):
        stands.append((z, x, rng.uniform(9, 12)))
    stands.sort(reverse=True)
    track_drawn = False
    for z, x, height in stands:
        if not track_drawn and z < 60:
            track(view, centre, 2.0, 400.0, (206, 208, 216), (150, 146, 144), (58, 58, 66),
                  (190, 194, 206), sleeper_to=60)
            catenary(view, centre, 3.4, [12 + 26 * k for k in range(6)], mast=(80, 84, 92))
            track_drawn = True
        px, base = view.p(x, 0, z)
        pine(c, px, base, view.scale(z) * height, (28, 66, 50), (44, 90, 64), snow=(238, 242, 248),
             trunk=(60, 44, 34))
    # a light snowfall
    for _ in range(320):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        r = rng.uniform(0.4, 1.1)
        c.ellipse(x, y, r, r, (255, 255, 255), rng.uniform(0.4, 0.9), steps=8)
    return c


# =============================================================================================
# Vehicles in side view. Units: 1 unit = 1 pixel of a thumbnail, which is 33 units high with the
# top of the rail at y = 30. Every vehicle faces left.

RAIL_TOP = 30.0
GLASS = (38, 52, 68)
GLASS_LIGHT = (120, 150, 176)
UNDERFRAME = (46, 46, 50)
WHEEL = (30, 30, 34)
HUB = (120, 120, 126)
BUFFER = (90, 90, 96)


def wheels(pen, xs, r=2.7):
    for x in xs:
        pen.circle(x, RAIL_TOP - r, r, WHEEL)
        pen.circle(x, RAIL_TOP - r, r * 0.35, HUB)


def bogie(pen, x, spread=7.6, r=2.7):
    pen.rect(x - spread / 2 - 2.6, RAIL_TOP - 5.6, x + spread / 2 + 2.6, RAIL_TOP - 3.0, (62, 62, 66))
    wheels(pen, (x - spread / 2, x + spread / 2), r)
    pen.rect(x - 1.2, RAIL_TOP - 6.2, x + 1.2, RAIL_TOP - 4.5, (80, 80, 86))


def buffers(pen, width, y=21.6):
    pen.rect(0.4, y, 2.4, y + 1.5, BUFFER)
    pen.rect(width - 2.4, y, width - 0.4, y + 1.5, BUFFER)


def window(pen, x0, y0, x1, y1):
    pen.rect(x0, y0, x1, y1, GLASS)
    pen.poly([(x0 + 0.3, y0 + 0.3), (x0 + (x1 - x0) * 0.55, y0 + 0.3), (x0 + 0.3, y1 - (y1 - y0) * 0.3)],
             GLASS_LIGHT, 0.6)


def pantograph(pen, x, roof, raised=True):
    steel = (34, 34, 38)
    pen.rect(x - 4.2, roof - 0.8, x + 4.2, roof, (96, 96, 100))
    if raised:
        head = 1.4
        knee = (x + 3.4, (roof + head) / 2 + 0.4)
        pen.polyline([(x - 3.4, roof - 0.8), knee, (x - 0.6, head + 0.4)], 0.55, steel)
        pen.polyline([(x - 2.0, roof - 0.8), (knee[0] - 0.9, knee[1] + 0.2)], 0.45, steel)
        pen.line(x - 4.2, head, x + 3.0, head, 0.7, steel)
    else:
        pen.polyline([(x - 3.4, roof - 0.8), (x + 3.0, roof - 2.0), (x - 2.0, roof - 2.4)], 0.55, steel)


def loco_electric(pen, width, body, band, roof=(152, 158, 152)):
    """A four-axle electric locomotive with a cab at each end."""
    top, bottom = 8.0, 23.6
    pen.rect(2.0, bottom - 0.2, width - 2.0, bottom + 1.6, UNDERFRAME)
    pen.poly([(3.0, top + 2.6), (5.6, top), (width - 5.6, top), (width - 3.0, top + 2.6),
              (width - 3.0, bottom), (3.0, bottom)], body)
    pen.poly([(6.0, top - 1.6), (width - 6.0, top - 1.6), (width - 4.6, top + 0.2), (4.6, top + 0.2)], roof)
    pen.rect(3.0, bottom - 2.6, width - 3.0, bottom, shade(body, 0.75))
    pen.rect(3.0, 17.2, width - 3.0, 18.8, band)
    pen.rect(5.6, top + 0.2, width - 5.6, top + 1.0, shade(body, 1.25), 0.6)
    window(pen, 3.6, top + 2.2, 7.6, top + 6.2)                  # cab windows
    window(pen, width - 7.6, top + 2.2, width - 3.6, top + 6.2)
    for x in (8.8, width - 11.8):                                 # cab doors
        pen.rect(x, top + 1.6, x + 3.0, bottom - 0.8, shade(body, 0.8))
        pen.rect(x + 0.5, top + 2.2, x + 2.5, top + 5.4, GLASS)
    louvre_from, louvre_to = 15.0, width - 15.0
    n = 4
    step = (louvre_to - louvre_from) / n
    for k in range(n):
        x = louvre_from + k * step + 1.0
        window(pen, x, top + 2.2, x + step - 2.0, top + 4.6)
        for j in range(4):
            pen.rect(x + 0.3, top + 5.8 + j * 1.3, x + step - 2.3, top + 6.4 + j * 1.3, shade(body, 0.7))
    pen.circle(3.9, bottom - 4.0, 0.8, (255, 244, 190))
    pen.circle(width - 3.9, bottom - 4.0, 0.8, (200, 40, 40))
    buffers(pen, width)
    bogie(pen, width * 0.25)
    bogie(pen, width * 0.75)
    pantograph(pen, width * 0.32, top - 1.6, raised=True)
    pantograph(pen, width * 0.68, top - 1.6, raised=False)


def loco_diesel(pen, width, body, band):
    """A diesel road locomotive: two cabs, radiator grilles and exhausts on the roof."""
    top, bottom = 9.0, 23.6
    pen.rect(2.0, bottom - 0.2, width - 2.0, bottom + 1.6, UNDERFRAME)
    pen.poly([(3.0, top + 3.0), (6.0, top), (width - 6.0, top), (width - 3.0, top + 3.0),
              (width - 3.0, bottom), (3.0, bottom)], body)
    pen.rect(6.0, top - 1.0, width - 6.0, top + 0.4, shade(body, 0.8))
    for x in (width * 0.42, width * 0.58):
        pen.rect(x - 1.0, top - 2.6, x + 1.0, top - 0.8, (50, 50, 54))
    pen.rect(3.0, 15.4, width - 3.0, 17.4, band)
    pen.rect(3.0, 21.4, width - 3.0, bottom, shade(body, 0.7))
    window(pen, 3.8, top + 2.6, 7.8, top + 5.6)
    window(pen, width - 7.8, top + 2.6, width - 3.8, top + 5.6)
    for x in (9.0, width - 12.0):
        pen.rect(x, top + 1.4, x + 3.0, bottom - 0.8, shade(body, 0.82))
        pen.rect(x + 0.5, top + 2.0, x + 2.5, top + 5.0, GLASS)
    for x in (14.5, width * 0.5 + 2.5):                            # radiator grilles
        pen.rect(x, top + 1.6, x + width * 0.5 - 17.0, top + 5.6, shade(body, 0.6))
        k = x + 0.6
        while k < x + width * 0.5 - 17.0:
            pen.rect(k, top + 1.8, k + 0.5, top + 5.4, shade(body, 0.9))
            k += 1.2
    pen.circle(3.9, bottom - 4.6, 0.8, (255, 244, 190))
    pen.circle(width - 3.9, bottom - 4.6, 0.8, (200, 40, 40))
    buffers(pen, width)
    bogie(pen, width * 0.25)
    bogie(pen, width * 0.75)


def loco_shunter(pen, width, body):
    """A two-axle diesel shunter: a long hood and a tall cab at the rear."""
    bottom = 23.6
    cab0, cab1 = width - 17.0, width - 4.0
    pen.rect(2.0, bottom - 0.2, width - 2.0, bottom + 1.8, UNDERFRAME)
    pen.poly([(4.0, 13.0), (5.0, 11.6), (cab0, 11.6), (cab0, bottom), (4.0, bottom)], body)
    pen.rect(cab0, 7.0, cab1, bottom, body)
    pen.rect(cab0 - 0.6, 6.0, cab1 + 0.6, 7.2, shade(body, 0.7))
    window(pen, cab0 + 1.4, 8.6, cab0 + 5.6, 13.6)
    window(pen, cab0 + 7.0, 8.6, cab1 - 1.4, 13.6)
    pen.rect(cab0 + 1.0, 15.0, cab1 - 1.0, 15.6, shade(body, 0.7))
    k = 6.4
    while k < cab0 - 1.5:                                          # hood louvres
        pen.rect(k, 13.4, k + 0.6, 19.6, shade(body, 0.72))
        k += 1.6
    pen.rect(10.0, 9.4, 11.8, 11.6, (50, 50, 54))                 # exhaust
    for x0 in (2.0, width - 4.0):                                  # warning stripes on the beams
        pen.rect(x0, bottom + 0.1, x0 + 2.0, bottom + 1.6, (240, 200, 40))
        pen.poly([(x0 + 0.6, bottom + 0.1), (x0 + 1.3, bottom + 0.1), (x0 + 0.9, bottom + 1.6),
                  (x0 + 0.2, bottom + 1.6)], (30, 30, 30))
    pen.line(4.0, 10.6, cab0 - 0.4, 10.6, 0.4, (230, 230, 220))    # hand rail
    pen.circle(4.6, bottom - 3.0, 0.8, (255, 244, 190))
    buffers(pen, width)
    wheels(pen, (width * 0.3, width * 0.7), r=3.2)


def railbus(pen, width, body, band):
    top, bottom = 8.0, 23.2
    pen.rect(2.0, bottom - 0.2, width - 2.0, bottom + 1.6, UNDERFRAME)
    pen.poly([(2.6, top + 4.0), (4.2, top + 0.8), (7.0, top), (width - 7.0, top), (width - 4.2, top + 0.8),
              (width - 2.6, top + 4.0), (width - 2.6, bottom), (2.6, bottom)], body)
    pen.rect(20.0, top - 1.8, width - 20.0, top + 0.2, (170, 170, 172))   # roof unit
    pen.rect(2.6, 17.6, width - 2.6, 20.0, band)
    window(pen, 3.4, top + 1.8, 7.4, top + 6.0)
    window(pen, width - 7.4, top + 1.8, width - 3.4, top + 6.0)
    for x in (9.0, width - 14.0):
        pen.rect(x, top + 1.2, x + 5.0, bottom - 0.5, shade(body, 0.85))
        window(pen, x + 0.6, top + 1.8, x + 2.3, top + 7.0)
        window(pen, x + 2.7, top + 1.8, x + 4.4, top + 7.0)
    x = 15.4
    while x + 4.2 < width - 14.6:
        window(pen, x, top + 2.0, x + 4.0, top + 6.6)
        x += 5.2
    pen.circle(3.4, bottom - 3.0, 0.8, (255, 244, 190))
    buffers(pen, width)
    bogie(pen, width * 0.22, spread=6.0, r=2.4)
    bogie(pen, width * 0.78, spread=6.0, r=2.4)


def emu_car(pen, width, lower, upper, cab, raised):
    """A car of an electric multiple unit; with a cab at its left end or a plain middle car."""
    top, bottom = 8.0, 23.4
    pen.rect(1.0, bottom - 0.2, width - 1.0, bottom + 1.6, UNDERFRAME)
    if cab:
        pen.poly([(2.4, top + 5.0), (3.6, top + 1.0), (6.6, top), (width - 1.0, top), (width - 1.0, bottom),
                  (2.4, bottom)], upper)
        pen.poly([(2.4, 16.0), (width - 1.0, 16.0), (width - 1.0, bottom), (2.4, bottom)], lower)
        window(pen, 3.0, top + 1.6, 7.0, top + 5.8)
        pen.circle(3.2, bottom - 2.2, 0.8, (255, 244, 190))
        x_from = 17.0
    else:
        pen.rect(1.0, top, width - 1.0, bottom, upper)
        pen.rect(1.0, 16.0, width - 1.0, bottom, lower)
        x_from = 7.0
    pen.rect(4.0 if cab else 1.0, top - 1.6, width - 1.0, top + 0.2, (150, 154, 158))
    for x in ((9.0, width - 13.0) if cab else (3.0, width - 9.0)):   # doors
        pen.rect(x, top + 1.0, x + 5.0, bottom - 0.3, shade(lower, 1.3))
        window(pen, x + 0.6, top + 1.8, x + 2.3, top + 6.8)
        window(pen, x + 2.7, top + 1.8, x + 4.4, top + 6.8)
    x = x_from
    limit = (width - 13.0 if cab else width - 9.0) - 1.0
    while x + 4.2 < limit:
        window(pen, x, top + 2.0, x + 4.2, top + 6.4)
        x += 5.4
    if cab:
        pen.rect(0.4, 21.6, 2.4, 23.1, BUFFER)
    bogie(pen, width * 0.2, spread=6.4, r=2.5)
    bogie(pen, width * 0.8, spread=6.4, r=2.5)
    if raised:
        pantograph(pen, width * 0.5, top - 1.6, raised=True)


def coach(pen, width, body, first_class):
    top, bottom = 8.0, 23.4
    pen.rect(2.0, bottom - 0.2, width - 2.0, bottom + 1.6, UNDERFRAME)
    pen.rect(2.6, top, width - 2.6, bottom, body)
    pen.poly([(3.0, top - 0.2), (6.0, top - 2.0), (width - 6.0, top - 2.0), (width - 3.0, top - 0.2)],
             (120, 124, 126))
    pen.rect(2.6, bottom - 2.2, width - 2.6, bottom, shade(body, 0.72))
    if first_class:
        pen.rect(8.0, top + 0.6, width - 8.0, top + 1.5, (236, 200, 40))
    for x in (3.2, width - 7.8):
        pen.rect(x, top + 1.0, x + 4.6, bottom - 0.4, shade(body, 0.82))
        window(pen, x + 1.0, top + 2.0, x + 3.6, top + 6.2)
    x = 10.0
    while x + 4.4 < width - 9.0:
        window(pen, x, top + 2.2, x + 4.4, top + 7.0)
        x += 5.6
    digit_polys, _ = text_cells("1" if first_class else "2", 0.62, 0.62, 0, width - 11.0, 16.6)
    for p in digit_polys:
        pen.poly(p, (236, 226, 190))
    buffers(pen, width)
    bogie(pen, width * 0.2, spread=6.4, r=2.5)
    bogie(pen, width * 0.8, spread=6.4, r=2.5)


def tank_wagon(pen, width):
    black, light = (44, 44, 48), (96, 98, 104)
    pen.rect(2.0, 21.8, width - 2.0, 24.2, UNDERFRAME)
    pen.rect(6.0, 10.4, width - 6.0, 21.2, black)
    pen.circle(6.0, 15.8, 5.4, black)
    pen.circle(width - 6.0, 15.8, 5.4, black)
    pen.rect(6.0, 11.2, width - 6.0, 12.4, light, 0.7)
    pen.rect(width / 2 - 3.0, 7.6, width / 2 + 3.0, 10.8, black)             # dome
    pen.rect(width / 2 - 3.6, 7.0, width / 2 + 3.6, 7.8, light)
    pen.rect(width / 2 - 2.0, 14.0, width / 2 + 2.0, 17.6, (236, 120, 30))   # danger plate
    pen.rect(width / 2 - 1.4, 14.6, width / 2 + 1.4, 15.6, (40, 40, 40))
    for x in (9.0, width - 9.0):
        pen.rect(x - 0.4, 10.0, x + 0.4, 21.8, (70, 70, 74))                 # straps
    buffers(pen, width, y=20.8)
    wheels(pen, (width * 0.28, width * 0.72), r=3.0)


def generic_vehicle(pen, width):
    grey = (128, 128, 134)
    pen.rect(2.0, 22.8, width - 2.0, 24.6, (104, 104, 110))
    pen.poly([(3.0, 10.0), (5.0, 8.0), (width - 5.0, 8.0), (width - 3.0, 10.0), (width - 3.0, 23.0),
              (3.0, 23.0)], grey)
    pen.rect(5.0, 6.6, width - 5.0, 8.2, shade(grey, 1.12))
    for k in range(4):
        x = 8.0 + k * (width - 16.0) / 4
        pen.rect(x, 11.0, x + (width - 16.0) / 4 - 2.5, 15.0, shade(grey, 0.8))
    pen.rect(0.4, 21.0, 2.4, 22.5, shade(grey, 0.8))
    pen.rect(width - 2.4, 21.0, width - 0.4, 22.5, shade(grey, 0.8))
    for x in (width * 0.22, width * 0.78):
        pen.rect(x - 6.4, RAIL_TOP - 5.6, x + 6.4, RAIL_TOP - 3.0, shade(grey, 0.7))
        for wx in (x - 3.6, x + 3.6):
            pen.circle(wx, RAIL_TOP - 2.6, 2.6, shade(grey, 0.55))


def thumbnail(width, draw):
    """A vehicle picture: 33 pixels high, the vehicle standing on a rail along the foot."""
    c = Canvas(width, 33)
    c.each_pixel(lambda x, y, p: mix((208, 220, 232), (236, 240, 244), y / 29))
    c.rect(0, 30.0, width, 33, (150, 140, 128))                # ballast
    for x in range(0, width, 3):
        c.rect(x + 0.5, 30.6, x + 2.0, 31.4, (104, 90, 76))      # sleeper ends
    c.rect(0, 29.4, width, 30.6, (80, 82, 88))                  # rail
    c.rect(0, 29.4, width, 29.8, (184, 186, 192))
    draw(Pen(c), width)
    return c


THUMBNAILS = [  # file name (the catalogue's display name + .bmp), width, drawing, 8-bit?
    ("EL-424.bmp", 72, lambda p, w: loco_electric(p, w, (44, 138, 64), (236, 214, 120)), False),
    ("EL-430.bmp", 72, lambda p, w: loco_electric(p, w, (128, 36, 42), (210, 210, 200)), False),
    ("SD-15.bmp", 68, lambda p, w: loco_diesel(p, w, (176, 44, 38), (236, 220, 170)), False),
    ("SP-32.BMP", 46, lambda p, w: loco_shunter(p, w, (226, 124, 32)), True),
    ("SZ-11.bmp", 70, lambda p, w: railbus(p, w, (232, 222, 184), (182, 40, 40)), False),
    ("EZT-57.bmp", 76, lambda p, w: emu_car(p, w, (40, 82, 152), (234, 226, 192), True, False), False),
    ("EZT-57s.bmp", 76, lambda p, w: emu_car(p, w, (40, 82, 152), (234, 226, 192), False, True), False),
    ("Wagon 1 kl.bmp", 78, lambda p, w: coach(p, w, (56, 108, 70), True), False),
    ("Wagon 2 kl.bmp", 78, lambda p, w: coach(p, w, (56, 108, 70), False), False),
    ("Cysterna.bmp", 56, tank_wagon, True),
    ("other.bmp", 60, generic_vehicle, True),
]


# =============================================================================================
# The about window's title picture


def draw_about_title():
    w, h = 335, 80
    c = Canvas(w, h)
    c.each_pixel(lambda x, y, p: mix((34, 112, 62), (10, 58, 30), y / h))
    for y in range(h):  # a soft light from the upper right behind the lettering
        for x in range(w):
            d = math.hypot((x - 250) / 120, (y - 24) / 50)
            if d < 1:
                c.blend(x, y, (90, 170, 100), (1 - d) ** 2 * 0.35)
    rail_y = 69.0
    scale = 1.85
    # contact wire over the whole picture, and the track
    wire_y = rail_y - RAIL_TOP * scale + 1.2 * scale
    c.rect(0, wire_y - 0.5, w, wire_y + 0.5, (16, 40, 24))
    c.rect(0, rail_y, w, h, (58, 74, 58))
    for x in range(0, w, 7):
        c.rect(x + 1, rail_y + 1.6, x + 5.5, rail_y + 4.2, (40, 34, 30))
    c.rect(0, rail_y - 0.8, w, rail_y + 1.6, (70, 74, 80))
    c.rect(0, rail_y - 0.8, w, rail_y, (196, 200, 206))
    for x in range(0, w, 3):
        c.blend(x, int(rail_y + 6), (90, 104, 86), 0.5)
    loco_electric(Pen(c, scale, 6.0, rail_y - RAIL_TOP * scale), 72, (60, 168, 76), (240, 216, 110))

    text = "RSIM-424"
    x_from, x_to = 152.0, 328.0
    slant = 0.16
    cell_h = 5.4
    gap_cells = 0.9
    cells = text_width(text, 1.0, gap_cells)
    cell_w = min(5.0, (x_to - x_from - slant * 7 * cell_h) / cells)
    y0 = 13.0
    polys, _ = text_cells(text, cell_w, cell_h, gap_cells * cell_w, x_from, y0, slant)
    mask = union_coverage(polys, w, h)
    c.fill_coverage(shifted(dilate(mask, 2.2), 2, 3), (0, 20, 8), 0.55)      # shadow
    c.fill_coverage(dilate(mask, 1.3), (8, 40, 18))                          # outline
    c.fill_coverage(mask, vertical_gradient(y0, (255, 246, 186), y0 + 7 * cell_h, (232, 178, 48)))
    underline_y = y0 + 7 * cell_h + 5
    c.poly([(x_from - 2, underline_y), (x_to, underline_y), (x_to - 1.2, underline_y + 2.2),
            (x_from - 3.2, underline_y + 2.2)], (232, 196, 70))
    return c


# =============================================================================================


def main():
    write_bmp8(RESOURCES / "flag_gb.bmp", draw_flag_gb())
    write_bmp8(RESOURCES / "flag_pl.bmp", draw_flag_pl())
    write_bmp24(RESOURCES / "default_scenery.bmp", draw_default_scenery())
    write_bmp24(RESOURCES / "about_title.bmp", draw_about_title())

    write_bmp24(SAMPLE / "scenery" / "Images" / "Kolejowo.bmp", draw_kolejowo())
    write_jpeg(SAMPLE / "scenery" / "Images" / "GORY_ZIMA.JPG", draw_gory_zima())
    for name, width, draw, eight_bit in THUMBNAILS:
        picture = thumbnail(width, draw)
        (write_bmp8 if eight_bit else write_bmp24)(SAMPLE / "textures" / "Mini" / name, picture)


if __name__ == "__main__":
    main()
