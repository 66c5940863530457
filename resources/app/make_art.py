#!/usr/bin/env python3
"""Draws the program's own art and writes it beside this script as PNG files:

  icon-16.png, icon-24.png, icon-32.png, icon-48.png   program icon
  logo.png                                              About logo, 350 x 285, RGB
  button1.png ... button7.png                           ribbon button pictures, 32 x 32
                                                        (1 procedures, 6 about, 7 exit;
                                                        2 to 5 spare pictures in the same style)

Regenerate with:  python3 resources/app/make_art.py
Only the Python 3 standard library is used; the output is deterministic, so the
committed files change only when this script does.

Shapes are signed distance functions in a design square (48 units for the
icon, 32 for the buttons, pixels for the logo); each pixel takes the coverage
of a shape from the distance at its centre, which anti-aliases the edges.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Palette
TEAL_TOP = (42, 140, 168)
TEAL_BOTTOM = (23, 90, 115)
INK = (20, 61, 89)
PAGE = (255, 255, 255)
PAGE_LINES = (157, 184, 196)
AMBER = (244, 162, 89)
AMBER_DARK = (201, 116, 44)
SKY = (64, 150, 214)
RED = (214, 76, 62)
SPARE = (126, 170, 190)


# ---------------------------------------------------------------- geometry

def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    ex, ey = px - (ax + t * dx), py - (ay + t * dy)
    return math.hypot(ex, ey)


def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r, cy - r, cx + r, cy + r)


def ring(cx, cy, r, width):
    return (lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2), \
        (cx - r - width, cy - r - width, cx + r + width, cy + r + width)


def rounded_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return sdf, (x0, y0, x1, y1)


def strokes(polylines, width):
    """Union of thick round-capped polylines."""
    segments = []
    for line in polylines:
        segments += [(line[i][0], line[i][1], line[i + 1][0], line[i + 1][1]) for i in range(len(line) - 1)]
    xs = [p[0] for line in polylines for p in line]
    ys = [p[1] for line in polylines for p in line]

    def sdf(x, y):
        return min(seg_dist(x, y, *s) for s in segments) - width / 2
    return sdf, (min(xs) - width, min(ys) - width, max(xs) + width, max(ys) + width)


def polygon(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    n = len(points)

    def sdf(x, y):
        d = min(seg_dist(x, y, *points[i], *points[(i + 1) % n]) for i in range(n))
        inside = False
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -d if inside else d
    return sdf, (min(xs), min(ys), max(xs), max(ys))


def arc_points(cx, cy, rx, ry, start_deg, end_deg, steps=24):
    return [(cx + rx * math.cos(math.radians(start_deg + (end_deg - start_deg) * i / steps)),
             cy + ry * math.sin(math.radians(start_deg + (end_deg - start_deg) * i / steps)))
            for i in range(steps + 1)]


# ---------------------------------------------------------------- canvas

class Canvas:
    def __init__(self, width, height, scale, background=None):
        """scale: pixels per design unit."""
        self.width, self.height, self.scale = width, height, scale
        fill = (background + (1.0,)) if background else (0, 0, 0, 0.0)
        self.pixels = [[list(fill) for _ in range(width)] for _ in range(height)]

    def draw(self, shape, colour, alpha=1.0, erase=False):
        sdf, (x0, y0, x1, y1) = shape
        s = self.scale
        px0, py0 = max(0, int(x0 * s) - 2), max(0, int(y0 * s) - 2)
        px1, py1 = min(self.width, int(x1 * s) + 3), min(self.height, int(y1 * s) + 3)
        for py in range(py0, py1):
            row = self.pixels[py]
            for px in range(px0, px1):
                x, y = (px + 0.5) / s, (py + 0.5) / s
                coverage = max(0.0, min(1.0, 0.5 - sdf(x, y) * s))
                if coverage <= 0.0:
                    continue
                pixel = row[px]
                if erase:
                    pixel[3] *= 1.0 - coverage
                    continue
                c = colour(x, y) if callable(colour) else colour
                a = coverage * alpha
                out_a = a + pixel[3] * (1 - a)
                for k in range(3):
                    pixel[k] = (c[k] * a + pixel[k] * pixel[3] * (1 - a)) / out_a if out_a > 0 else 0
                pixel[3] = out_a

    def png(self, path, with_alpha=True):
        raw = bytearray()
        for row in self.pixels:
            raw.append(0)
            for r, g, b, a in row:
                raw += bytes((round(r), round(g), round(b)))
                if with_alpha:
                    raw.append(round(a * 255))
        colour_type = 6 if with_alpha else 2

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, colour_type, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                      + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def vertical_gradient(top, bottom, y0, y1):
    def colour(_x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(top[k] + (bottom[k] - top[k]) * t for k in range(3))
    return colour


# ---------------------------------------------------------------- motifs

def page_with_lines(c, x0, y0, x1, y1, line_width):
    c.draw(rounded_rect(x0, y0, x1, y1, (x1 - x0) * 0.1), PAGE)
    step = (y1 - y0) / 4.2
    for i in range(3):
        y = y0 + step * (i + 0.9)
        c.draw(strokes([[(x0 + (x1 - x0) * 0.2, y), (x1 - (x1 - x0) * 0.2, y)]], line_width), PAGE_LINES)


def magnifier(c, cx, cy, r, width):
    c.draw(circle(cx, cy, r), PAGE, alpha=0.35)
    c.draw(ring(cx, cy, r, width), AMBER)
    handle_from = (cx + r * 0.78, cy + r * 0.78)
    handle_to = (cx + r * 1.45, cy + r * 1.45)
    c.draw(strokes([[handle_from, handle_to]], width * 1.5), AMBER_DARK)


def icon_motif(c):
    """In 48 design units."""
    c.draw(rounded_rect(2, 2, 46, 46, 9), vertical_gradient(TEAL_TOP, TEAL_BOTTOM, 2, 46))
    page_with_lines(c, 9, 7, 30, 36, 2.2)
    magnifier(c, 30, 29, 8, 3.2)


# ---------------------------------------------------------------- letters

def glyphs():
    """Stroke letters in a box 4 wide and 6 high (y downwards), with advances."""
    ellipse = arc_points(2, 3, 2, 3, 0, 360, 32)
    return {
        "V": ([[(0, 0), (2, 6), (4, 0)]], 4),
        "O": ([ellipse], 4),
        "R": ([[(0, 6), (0, 0), (2.4, 0)] + arc_points(2.4, 1.6, 1.6, 1.6, -90, 90, 12) + [(0, 3.2)],
               [(2.0, 3.2), (4, 6)]], 4),
        "I": ([[(0.5, 0), (0.5, 6)]], 1),
        "M": ([[(0, 6), (0, 0), (2, 3.6), (4, 0), (4, 6)]], 4),
        "E": ([[(3.6, 0), (0, 0), (0, 6), (3.6, 6)], [(0, 3), (3, 3)]], 3.6),
        "L": ([[(0, 0), (0, 6), (3.4, 6)]], 3.4),
        "C": ([arc_points(2.2, 3, 2.2, 3, 40, 320, 28)], 4),
        "D": ([[(0, 0), (0, 6)], [(0, 0), (1.2, 0)] + arc_points(1.2, 3, 2.8, 3, -90, 90, 20) + [(0, 6)]], 4),
        "-": ([[(0.2, 3.3), (2.2, 3.3)]], 2.4),
        "1": ([[(0.2, 1.2), (1.4, 0), (1.4, 6)]], 1.8),
        "0": ([arc_points(1.6, 3, 1.6, 3, 0, 360, 32)], 3.2),
        "P": ([[(0, 6), (0, 0), (2.4, 0)] + arc_points(2.4, 1.6, 1.6, 1.6, -90, 90, 12) + [(0, 3.2)]], 4),
        "S": ([arc_points(2, 1.5, 2, 1.5, -30, -270, 20) + arc_points(2, 4.5, 2, 1.5, -90, 150, 20)], 4),
    }


def text_polylines(text, x, y, size, spacing):
    """Polylines of `text` with its top left at (x, y), letters `size` high."""
    unit = size / 6.0
    shapes = glyphs()
    lines = []
    for ch in text:
        polylines, advance = shapes[ch]
        lines.append([[(x + px * unit, y + py * unit) for px, py in line] for line in polylines])
        x += (advance + spacing) * unit
    return lines, x


def text_width(text, size, spacing):
    _, end = text_polylines(text, 0, 0, size, spacing)
    return end - spacing * size / 6.0


def draw_text(c, text, cx, y, size, spacing, width, colour):
    x = cx - text_width(text, size, spacing) / 2
    letters, _ = text_polylines(text, x, y, size, spacing)
    for polylines in letters:
        c.draw(strokes(polylines, width), colour)


# ---------------------------------------------------------------- pictures

def make_icons():
    for size in (16, 24, 32, 48):
        c = Canvas(size, size, size / 48.0)
        icon_motif(c)
        c.png(os.path.join(HERE, f"icon-{size}.png"))


def make_logo():
    c = Canvas(350, 285, 1.0, background=(255, 255, 255))
    c.draw(rounded_rect(12, 12, 338, 273, 18), (238, 245, 248))
    # The icon motif, 150 pixels wide, centred over the name.
    motif = Canvas(150, 150, 150 / 48.0)
    icon_motif(motif)
    for y in range(150):
        for x in range(150):
            source = motif.pixels[y][x]
            target = c.pixels[30 + y][100 + x]
            for k in range(3):
                target[k] = source[k] * source[3] + target[k] * (1 - source[3])
    draw_text(c, "VORIMEL", 175, 196, 34, 1.6, 5.0, INK)
    draw_text(c, "ICD-10-PCS", 175, 245, 14, 1.4, 2.4, TEAL_BOTTOM)
    c.png(os.path.join(HERE, "logo.png"), with_alpha=False)


def button_procedures(c):
    page_with_lines(c, 5, 4, 20, 25, 1.7)
    magnifier(c, 20, 19, 6, 2.5)


def button_list(c):
    for i in range(3):
        y = 8 + i * 8
        c.draw(circle(7, y, 2.2), SPARE)
        c.draw(strokes([[(12, y), (26, y)]], 2.6), PAGE)


def button_folder(c):
    c.draw(polygon([(4, 9), (12, 9), (15, 12), (28, 12), (28, 26), (4, 26)]), SPARE)
    c.draw(rounded_rect(4, 14, 28, 26, 1.5), PAGE)


def button_tiles(c):
    for row in range(2):
        for col in range(2):
            x, y = 5 + col * 12, 5 + row * 12
            c.draw(rounded_rect(x, y, x + 10, y + 10, 2), PAGE if (row + col) % 2 == 0 else SPARE)


def button_bookmark(c):
    c.draw(polygon([(9, 4), (23, 4), (23, 28), (16, 22), (9, 28)]), SPARE)
    c.draw(strokes([[(12, 9), (20, 9)]], 2.2), PAGE)


def button_about(c):
    c.draw(circle(16, 16, 12.5), SKY)
    c.draw(circle(16, 9.5, 2.2), PAGE)
    c.draw(strokes([[(16, 14.5), (16, 23)]], 3.6), PAGE)


def button_exit(c):
    c.draw(ring(16, 17, 10, 3.6), RED)
    c.draw(polygon([(16, 17), (9, 1), (23, 1)]), RED, erase=True)
    c.draw(strokes([[(16, 4), (16, 15)]], 3.6), RED)


def make_buttons():
    painters = [button_procedures, button_list, button_folder, button_tiles,
                button_bookmark, button_about, button_exit]
    for position, paint in enumerate(painters, start=1):
        c = Canvas(32, 32, 1.0)
        paint(c)
        c.png(os.path.join(HERE, f"button{position}.png"))


if __name__ == "__main__":
    make_icons()
    make_logo()
    make_buttons()
