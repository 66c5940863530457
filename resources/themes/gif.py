"""A small GIF89a writer (standard library only): one image, a global colour
table of at most 256 colours, optional transparent colour index.

Pixels are rows of (r, g, b) tuples, or None for a transparent pixel. When an
image holds more colours than fit, the channels are coarsened step by step and
each group of colours is replaced by its average, which keeps gradients smooth
enough for the ribbon's small pictures and the output deterministic.
"""

import struct


def _quantize(colours, limit):
    """Maps every colour to one of at most `limit` representatives."""
    if len(colours) <= limit:
        return {c: c for c in colours}
    shift = 1
    while True:
        groups = {}
        for c in colours:
            key = (c[0] >> shift, c[1] >> shift, c[2] >> shift)
            groups.setdefault(key, []).append(c)
        if len(groups) <= limit:
            mapping = {}
            for members in groups.values():
                n = len(members)
                mean = tuple(round(sum(m[i] for m in members) / n) for i in range(3))
                for m in members:
                    mapping[m] = mean
            return mapping
        shift += 1


def _lzw(indices, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def fresh():
        return {bytes([i]): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, size = fresh()
    emit(clear, size)
    word = bytes([indices[0]])
    for index in indices[1:]:
        grown = word + bytes([index])
        if grown in table:
            word = grown
            continue
        emit(table[word], size)
        if next_code < 4096:
            table[grown] = next_code
            next_code += 1
            # The decoder widens its codes one entry later than it adds them.
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table, next_code, size = fresh()
        word = bytes([index])
    emit(table[word], size)
    # Reading that last code, the decoder adds the entry we added after the
    # previous one; if that fills the table at this width, it reads the end
    # code one bit wider.
    if next_code == (1 << size) and size < 12:
        size += 1
    emit(end, size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def encode(pixels):
    """Returns the bytes of a GIF89a file for rows of (r, g, b) / None."""
    height = len(pixels)
    width = len(pixels[0])
    transparent = any(p is None for row in pixels for p in row)
    colours = sorted({p for row in pixels for p in row if p is not None})
    mapping = _quantize(colours, 255 if transparent else 256)
    palette = sorted(set(mapping.values()))
    if transparent:
        palette.append((0, 0, 0))
    slot = {c: i for i, c in enumerate(palette)}
    transparent_index = len(palette) - 1 if transparent else 0

    bits = 1
    while (1 << bits) < max(len(palette), 2):
        bits += 1
    table_size = 1 << bits
    palette = palette + [(0, 0, 0)] * (table_size - len(palette))

    indices = [transparent_index if p is None else slot[mapping[p]] for row in pixels for p in row]

    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0)
    for r, g, b in palette:
        data += bytes((r, g, b))
    if transparent:
        data += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 0x01, 0, transparent_index, 0)
    data += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
    min_code_size = max(2, bits)
    data.append(min_code_size)
    stream = _lzw(indices, min_code_size)
    for start in range(0, len(stream), 255):
        chunk = stream[start:start + 255]
        data.append(len(chunk))
        data += chunk
    data += b"\x00;"
    return bytes(data)
