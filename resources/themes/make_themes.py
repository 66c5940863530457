#!/usr/bin/env python3
"""Draws the ribbon's three image sets and writes them as GIFs:
BLACK/, BLUE/ and SILVER/ beside this script, ids 101-103 and 118-141.

Standard library only. Run from anywhere:  python3 make_themes.py
The output is deterministic, so regenerating unchanged code changes no file.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gif  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


# ---- colours and canvases ---------------------------------------------------

def hexc(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def ramp(stops, t):
    """Colour at t (0..1) along [(position, colour), ...] stops."""
    t = min(max(t, 0.0), 1.0)
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, 0 if p1 == p0 else (t - p0) / (p1 - p0))
    return stops[-1][1]


class Canvas:
    def __init__(self, width, height, fill=None):
        self.width = width
        self.height = height
        self.rows = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def get(self, x, y):
        return self.rows[y][x]

    def crop(self, x0, width):
        piece = Canvas(width, self.height)
        piece.rows = [row[x0:x0 + width] for row in self.rows]
        return piece

    def gif(self):
        return gif.encode(self.rows)


def inside_rounded(x, y, left, top, right, bottom, radius, round_bottom=True):
    """Whether pixel (x, y) lies in the rectangle [left..right] x [top..bottom]
    with corners cut to the given radius."""
    if not (left <= x <= right and top <= y <= bottom):
        return False
    corners = [(left + radius, top + radius), (right - radius, top + radius)]
    if round_bottom:
        corners += [(left + radius, bottom - radius), (right - radius, bottom - radius)]
    for cx, cy in corners:
        dx = cx - x if x < cx and cx == left + radius else (x - cx if x > cx and cx == right - radius else 0)
        dy = cy - y if y < cy and cy == top + radius else (y - cy if y > cy and cy == bottom - radius else 0)
        if dx > 0 and dy > 0 and dx * dx + dy * dy > radius * radius + 0.5:
            return False
    return True


def framed_shape(canvas, left, top, right, bottom, radius, fill, border, highlight=None, round_bottom=True,
                 bottom_border=True):
    """A rounded panel: one-pixel border, `fill(y)` inside, an optional inner
    highlight line along the top and the left."""
    def inside(x, y):
        return inside_rounded(x, y, left, top, right, bottom, radius, round_bottom)

    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if not inside(x, y):
                continue
            edge = not inside(x - 1, y) or not inside(x + 1, y) or not inside(x, y - 1)
            if bottom_border:
                edge = edge or not inside(x, y + 1)
            if edge:
                canvas.put(x, y, border)
            elif highlight and (not inside(x - 2, y) or not inside(x, y - 2)):
                canvas.put(x, y, mix(fill(y), highlight, 0.6))
            else:
                canvas.put(x, y, fill(y))


# ---- the themes ---------------------------------------------------------------

THEMES = {
    "BLACK": {
        "strip": [(0, hexc("333333")), (1, hexc("1c1c1c"))],
        "body": [(0, hexc("5e5e5e")), (0.85, hexc("474747")), (1, hexc("3c3c3c"))],
        "band_edge": hexc("2a2a2a"),
        "tab": [(0, hexc("f7f7f7")), (1, hexc("dedede"))],
        "tab_border": hexc("9d9d9d"),
        "tab_hover": [(0, hexc("6e6e6e")), (1, hexc("4a4a4a"))],
        "tab_hover_border": hexc("8f8f8f"),
        "frame": [(0, hexc("f4f4f4")), (0.55, hexc("e6e6e6")), (1, hexc("d6d6d6"))],
        "frame_on": [(0, hexc("ffffff")), (0.55, hexc("f0f0f0")), (1, hexc("e4e4e4"))],
        "frame_border": hexc("8c8c8c"),
        "frame_on_border": hexc("c8c8c8"),
        "bar": [(0, hexc("5a5a5a")), (1, hexc("3e3e3e"))],
        "bar_on": [(0, hexc("7e7e7e")), (1, hexc("5c5c5c"))],
        "launcher": hexc("e0e0e0"),
        "launcher_on": hexc("ffffff"),
        "glyph": hexc("4c4c4c"),
        "glyph_on": hexc("1e1e1e"),
        "background": (hexc("464646"), hexc("6a6a6a"), hexc("3a3a3a")),
    },
    "BLUE": {
        "strip": [(0, hexc("d6e6fa")), (1, hexc("bfd6f3"))],
        "body": [(0, hexc("dbe7f6")), (0.85, hexc("c9dbf2")), (1, hexc("bcd2ef"))],
        "band_edge": hexc("8db2e3"),
        "tab": [(0, hexc("ffffff")), (1, hexc("e4eefb"))],
        "tab_border": hexc("8db2e3"),
        "tab_hover": [(0, hexc("f3f8ff")), (1, hexc("d3e4fa"))],
        "tab_hover_border": hexc("a9c6ee"),
        "frame": [(0, hexc("eef4fc")), (0.55, hexc("dde9f8")), (1, hexc("cbddf4"))],
        "frame_on": [(0, hexc("fbfdff")), (0.55, hexc("eaf2fc")), (1, hexc("d9e7f8"))],
        "frame_border": hexc("9ebfe6"),
        "frame_on_border": hexc("6f9bd6"),
        "bar": [(0, hexc("c9dcf4")), (1, hexc("b8d0ef"))],
        "bar_on": [(0, hexc("e2eefc")), (1, hexc("cfe1f8"))],
        "launcher": hexc("6b8fc4"),
        "launcher_on": hexc("3e6ab8"),
        "glyph": hexc("567db1"),
        "glyph_on": hexc("15428b"),
        "background": (hexc("8eb0da"), hexc("c3d7f0"), hexc("7a9fcf")),
    },
    "SILVER": {
        "strip": [(0, hexc("eef0f3")), (1, hexc("dde1e7"))],
        "body": [(0, hexc("f1f3f6")), (0.85, hexc("e0e4ea")), (1, hexc("d3d8e0"))],
        "band_edge": hexc("a7adb7"),
        "tab": [(0, hexc("ffffff")), (1, hexc("f1f3f6"))],
        "tab_border": hexc("b1b7c1"),
        "tab_hover": [(0, hexc("fbfcfd")), (1, hexc("e7eaef"))],
        "tab_hover_border": hexc("c7ccd4"),
        "frame": [(0, hexc("fafbfc")), (0.55, hexc("eceef2")), (1, hexc("dfe3e9"))],
        "frame_on": [(0, hexc("ffffff")), (0.55, hexc("f5f6f8")), (1, hexc("e8ebef"))],
        "frame_border": hexc("b6bcc6"),
        "frame_on_border": hexc("8d95a2"),
        "bar": [(0, hexc("e1e4e9")), (1, hexc("d2d6dd"))],
        "bar_on": [(0, hexc("f0f2f5")), (1, hexc("e2e5ea"))],
        "launcher": hexc("8a919c"),
        "launcher_on": hexc("5c626a"),
        "glyph": hexc("4c4c4c"),
        "glyph_on": hexc("1e1e1e"),
        "background": None,  # the silver windows take the plain background colour
    },
}

# The button frames look the same in every theme: warm, like a lit control.
BUTTON_HOVER = {
    "fill": [(0, hexc("fffdf0")), (0.42, hexc("ffefb8")), (0.45, hexc("ffdf7a")), (1, hexc("fff2c4"))],
    "border": hexc("d9c68a"),
    "highlight": hexc("ffffff"),
}
BUTTON_PRESSED = {
    "fill": [(0, hexc("f9d7a0")), (0.42, hexc("f7bf6a")), (0.45, hexc("f4a53a")), (1, hexc("fbd48a"))],
    "border": hexc("b08948"),
    "highlight": hexc("fde2b4"),
}

BAND_HEIGHT = 142
HIDDEN_ROWS = 26          # above the control's top edge
STRIP_ROWS = 24           # the tab strip
FRAME_HEIGHT = 89
CAPTION_BAR = (68, 86)    # rows of a category frame that hold its caption


# ---- images -------------------------------------------------------------------

def band(theme, width, end=None):
    """The background band: the hidden rows, the tab strip, then the body."""
    canvas = Canvas(width, BAND_HEIGHT)
    body_rows = BAND_HEIGHT - HIDDEN_ROWS - STRIP_ROWS
    for y in range(BAND_HEIGHT):
        if y < HIDDEN_ROWS + STRIP_ROWS:
            colour = ramp(theme["strip"], max(0, y - HIDDEN_ROWS) / (STRIP_ROWS - 1))
        elif y >= BAND_HEIGHT - 1:
            colour = theme["band_edge"]
        else:
            colour = ramp(theme["body"], (y - HIDDEN_ROWS - STRIP_ROWS) / (body_rows - 1))
        for x in range(width):
            canvas.put(x, y, colour)
    if end:
        # The band's ends: a darker rim that closes the strip at the window edge.
        rim = 0 if end == "left" else width - 1
        for y in range(HIDDEN_ROWS, BAND_HEIGHT):
            canvas.put(rim, y, theme["band_edge"])
            inner = rim + (1 if end == "left" else -1)
            canvas.put(inner, y, mix(canvas.get(inner, y), theme["band_edge"], 0.4))
    return canvas


def tab(theme, center_width, hover):
    """A tab in three pieces (10 + center + 10); its outline sits 2 pixels in
    from both ends so neighbouring tabs do not merge."""
    width = 10 + center_width + 10
    canvas = Canvas(width, 24)
    fill_stops = theme["tab_hover"] if hover else theme["tab"]
    framed_shape(canvas, 2, 0, width - 3, 23, 3, lambda y: ramp(fill_stops, y / 23),
                 theme["tab_hover_border"] if hover else theme["tab_border"],
                 highlight=None if hover else (255, 255, 255), round_bottom=False, bottom_border=False)
    return canvas.crop(0, 10), canvas.crop(10, center_width), canvas.crop(10 + center_width, 10)


def category(theme, center_width, hover):
    """A category frame in three pieces (4 + center + 5): body, caption bar at the
    bottom, rounded border; the right piece leaves one pixel of band between
    neighbouring categories."""
    width = 4 + center_width + 5
    canvas = Canvas(width, FRAME_HEIGHT)
    body = theme["frame_on"] if hover else theme["frame"]
    bar = theme["bar_on"] if hover else theme["bar"]
    top, bottom = 1, FRAME_HEIGHT - 2

    def fill(y):
        if CAPTION_BAR[0] <= y <= CAPTION_BAR[1]:
            return ramp(bar, (y - CAPTION_BAR[0]) / (CAPTION_BAR[1] - CAPTION_BAR[0]))
        return ramp(body, (y - top) / (CAPTION_BAR[0] - top))

    framed_shape(canvas, 0, top, width - 2, bottom, 2, fill,
                 theme["frame_on_border"] if hover else theme["frame_border"], highlight=(255, 255, 255))
    return canvas.crop(0, 4), canvas.crop(4, center_width), canvas.crop(4 + center_width, 5)


def launcher(theme, look):
    """The dialog launcher, 15 x 14: a corner mark with an arrow to the lower right."""
    canvas = Canvas(15, 14)
    if look == "over":
        framed_shape(canvas, 0, 0, 14, 13, 2, lambda y: ramp(BUTTON_HOVER["fill"], y / 13),
                     BUTTON_HOVER["border"], highlight=BUTTON_HOVER["highlight"])
        ink = hexc("3c3c3c")
    else:
        ink = theme["launcher_on"] if look == "on" else theme["launcher"]
    for i in range(3, 9):
        canvas.put(i, 3, ink)     # top of the corner mark
        canvas.put(3, i, ink)     # its left side
    for i in range(5, 11):
        canvas.put(i, i, ink)     # the arrow's shaft
    for i in range(7, 11):
        canvas.put(i, 10, ink)    # its head
        canvas.put(10, i, ink)
    return canvas


def glyph(colour):
    """The small arrow under a caption, 5 x 4, pointing down."""
    canvas = Canvas(5, 4)
    for x in range(5):
        canvas.put(x, 0, colour)
    for x in range(1, 4):
        canvas.put(x, 1, colour)
    canvas.put(2, 2, colour)
    return canvas


def button_frame(look):
    """A button frame in three pieces (3 + 49 + 3) x 66, the same in every theme."""
    canvas = Canvas(55, 66)
    framed_shape(canvas, 0, 0, 54, 65, 2, lambda y: ramp(look["fill"], y / 65), look["border"],
                 highlight=look["highlight"])
    return canvas.crop(0, 3), canvas.crop(3, 49), canvas.crop(52, 3)


def background(theme):
    """The host windows' background picture: a soft light from the upper left
    that fades into the window colour at the right and bottom edges."""
    if theme["background"] is None:
        canvas = Canvas(1, 1)
        canvas.put(0, 0, hexc("d0d4dd"))
        return canvas
    base, light, shade = theme["background"]
    width, height = 499, 157
    canvas = Canvas(width, height)
    for y in range(height):
        for x in range(width):
            dx = x / width
            dy = y / height
            glow = max(0.0, 1.0 - ((dx / 0.9) ** 2 + (dy / 1.1) ** 2) ** 0.5)
            colour = mix(base, light, glow * 0.55)
            wave = abs(dy - (0.55 + 0.18 * (dx - 0.5) ** 2 * 4)) < 0.012 and dx < 0.92
            if wave:
                colour = mix(colour, shade, 0.35 * (1 - dx))
            canvas.put(x, y, colour)
    return canvas


def theme_images(name):
    theme = THEMES[name]
    images = {
        101: band(theme, 11),
        102: band(theme, 7, end="left"),
        103: band(theme, 7, end="right"),
        118: launcher(theme, "normal"),
        119: launcher(theme, "on"),
        120: launcher(theme, "over"),
        133: glyph(theme["glyph"]),
        134: glyph(theme["glyph_on"]),
        141: background(theme),
    }
    images[121], images[122], images[123] = category(theme, 5, hover=False)
    images[124], images[125], images[126] = category(theme, 4, hover=True)
    images[127], images[128], images[129] = tab(theme, 18, hover=False)
    images[130], images[131], images[132] = tab(theme, 37, hover=True)
    images[135], images[136], images[137] = button_frame(BUTTON_PRESSED)
    images[138], images[139], images[140] = button_frame(BUTTON_HOVER)
    return images


def main():
    for name in THEMES:
        folder = os.path.join(HERE, name)
        os.makedirs(folder, exist_ok=True)
        for image_id, canvas in sorted(theme_images(name).items()):
            with open(os.path.join(folder, "%d.gif" % image_id), "wb") as out:
                out.write(canvas.gif())
    print("wrote", ", ".join(sorted(THEMES)), "to", HERE)


if __name__ == "__main__":
    main()
