#!/usr/bin/env python3
"""Decodes every committed theme GIF with a strict decoder of its own (Qt's
reader forgives malformed code streams, other readers do not) and compares
each pixel with what make_themes.py draws for that picture.

Usage: check_theme_gifs.py [THEMES_FOLDER]   (exit status 0 when all agree)
The folder defaults to resources/themes of this checkout.
"""

import os
import struct
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
THEMES_DIR = os.path.join(HERE, "..", "..", "resources", "themes")


class Malformed(Exception):
    pass


class BitReader:
    """LSB-first codes out of the concatenated image sub-blocks."""

    def __init__(self, data):
        self.data = data
        self.position = 0  # in bits

    def read(self, width):
        if self.position + width > len(self.data) * 8:
            raise Malformed("the code stream ends inside a %d-bit code at bit %d" % (width, self.position))
        value = 0
        for i in range(width):
            bit = self.position + i
            value |= ((self.data[bit >> 3] >> (bit & 7)) & 1) << i
        self.position += width
        return value

    def check_padding(self):
        left = len(self.data) * 8 - self.position
        if left >= 8:
            raise Malformed("%d bytes follow the end code" % (left // 8))
        if left and self.data[-1] >> (8 - left):
            raise Malformed("the bits after the end code are not zero")


def lzw_decode(data, min_code_size, pixel_count):
    clear = 1 << min_code_size
    end = clear + 1
    bits = BitReader(data)
    size = min_code_size + 1
    table = None
    previous = None
    out = []
    if bits.read(size) != clear:
        raise Malformed("the code stream does not start with a clear code")
    while True:
        if table is None:
            table = [bytes([i]) for i in range(clear)] + [None, None]
            size = min_code_size + 1
            previous = None
        code = bits.read(size)
        if code == clear:
            table = None
            continue
        if code == end:
            break
        if len(out) >= pixel_count:
            raise Malformed("more pixels than the image holds, or a missing end code")
        if previous is None:
            if code >= clear:
                raise Malformed("code %d right after a clear code" % code)
            entry = table[code]
        elif code < len(table) and table[code] is not None:
            entry = table[code]
            if len(table) < 4096:
                table.append(previous + entry[:1])
        elif code == len(table) and len(table) < 4096:
            entry = previous + previous[:1]
            table.append(entry)
        else:
            raise Malformed("code %d is not yet in the table of %d entries" % (code, len(table)))
        out.extend(entry)
        previous = entry
        if len(table) == (1 << size) and size < 12:
            size += 1
    if len(out) != pixel_count:
        raise Malformed("%d pixels decoded, %d expected" % (len(out), pixel_count))
    bits.check_padding()
    return out


def read_sub_blocks(data, at):
    chunks = bytearray()
    while True:
        if at >= len(data):
            raise Malformed("the data sub-blocks run past the end of the file")
        length = data[at]
        at += 1
        if length == 0:
            return bytes(chunks), at
        if at + length > len(data):
            raise Malformed("a sub-block runs past the end of the file")
        chunks += data[at:at + length]
        at += length


def decode(data):
    """Returns (width, height, rows of (r, g, b) or None for transparent)."""
    if data[:6] != b"GIF89a":
        raise Malformed("not a GIF89a file")
    width, height, flags, _background, _aspect = struct.unpack_from("<HHBBB", data, 6)
    if not flags & 0x80:
        raise Malformed("no global colour table")
    colours = 1 << ((flags & 7) + 1)
    at = 13
    palette = [tuple(data[at + 3 * i:at + 3 * i + 3]) for i in range(colours)]
    at += 3 * colours
    transparent = None
    pixels = None
    while True:
        if at >= len(data):
            raise Malformed("no trailer")
        block = data[at]
        at += 1
        if block == 0x3B:
            if at != len(data):
                raise Malformed("bytes after the trailer")
            break
        if block == 0x21:
            label = data[at]
            body, at = read_sub_blocks(data, at + 1)
            if label == 0xF9:
                if len(body) != 4:
                    raise Malformed("a graphic control block of %d bytes" % len(body))
                if body[0] & 1:
                    transparent = body[3]
            continue
        if block != 0x2C:
            raise Malformed("unknown block 0x%02x" % block)
        if pixels is not None:
            raise Malformed("more than one image")
        left, top, image_width, image_height, image_flags = struct.unpack_from("<HHHHB", data, at)
        at += 9
        if (left, top, image_width, image_height) != (0, 0, width, height):
            raise Malformed("the image does not cover the screen")
        if image_flags & 0xC0:
            raise Malformed("local colour table or interlacing")
        min_code_size = data[at]
        if not 2 <= min_code_size <= 8:
            raise Malformed("minimum code size %d" % min_code_size)
        stream, at = read_sub_blocks(data, at + 1)
        indices = lzw_decode(stream, min_code_size, width * height)
        if max(indices) >= colours:
            raise Malformed("a pixel beyond the colour table")
        pixels = [None if i == transparent else palette[i] for i in indices]
    if pixels is None:
        raise Malformed("no image")
    return width, height, [pixels[y * width:(y + 1) * width] for y in range(height)]


def encode_bits(codes):
    """(code, width) pairs packed LSB first, for hand-made streams."""
    acc = nbits = 0
    out = bytearray()
    for code, width in codes:
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8
    if nbits:
        out.append(acc)
    return bytes(out)


class StrictDecoderTest(unittest.TestCase):
    """The decoder itself: it must refuse what the committed pictures must not hold."""

    def test_end_code_one_bit_short_is_refused(self):
        # Eleven codes fill the table up to 16 entries, so the end code after
        # them takes 5 bits; written with 4 the stream ends inside it.
        codes = [(4, 3)] + [(0, 3)] * 3 + [(0, 4)] * 8
        self.assertEqual(lzw_decode(encode_bits(codes + [(5, 5)]), 2, 11), [0] * 11)
        with self.assertRaises(Malformed):
            lzw_decode(encode_bits(codes + [(5, 4)]), 2, 11)

    def test_missing_end_code_and_surplus_are_refused(self):
        with self.assertRaises(Malformed):
            lzw_decode(encode_bits([(4, 3), (0, 3)]), 2, 1)
        with self.assertRaises(Malformed):
            lzw_decode(encode_bits([(4, 3), (0, 3), (5, 3)]) + b"\0", 2, 1)
        with self.assertRaises(Malformed):
            lzw_decode(encode_bits([(4, 3), (0, 3), (0, 3), (5, 3)]), 2, 1)


class ThemePicturesTest(unittest.TestCase):
    def test_every_picture_decodes_strictly_as_drawn(self):
        sys.path.insert(0, THEMES_DIR)
        import make_themes  # noqa: E402

        checked = 0
        for theme in make_themes.THEMES:
            folder = os.path.join(THEMES_DIR, theme)
            drawn = make_themes.theme_images(theme)
            committed = sorted(int(name[:-4]) for name in os.listdir(folder) if name.endswith(".gif"))
            self.assertEqual(committed, sorted(drawn), theme)
            for image_id in committed:
                name = "%s/%d.gif" % (theme, image_id)
                with open(os.path.join(folder, "%d.gif" % image_id), "rb") as f:
                    data = f.read()
                with self.subTest(picture=name):
                    try:
                        width, height, rows = decode(data)
                    except Malformed as fault:
                        self.fail("%s is malformed: %s" % (name, fault))
                    canvas = drawn[image_id]
                    self.assertEqual((width, height), (canvas.width, canvas.height))
                    for y in range(height):
                        self.assertEqual(rows[y], canvas.rows[y], "%s row %d" % (name, y))
                    checked += 1
        self.assertGreater(checked, 0)


if __name__ == "__main__":
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        THEMES_DIR = sys.argv.pop(1)
    unittest.main(verbosity=1)
