#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files beside this script.

uninstall.ico (resource 128): a printer with a red removal mark, as 16x16 4-bit,
16x16 8-bit and 32x32 8-bit images. information.ico (resource 130): a blue
information sign, as 32x32 4-bit, 32x32 8-bit and 16x16 8-bit images.

Each image is drawn on a 32-unit canvas by a function that gives the colour at a
point (None: transparent); smaller images sample the same drawing.
"""
import math
import os
import struct

# The 16 colours that every 4-bit icon uses, in the system's order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def inside_rect(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


def inside_rounded(x, y, left, top, right, bottom, radius):
    if not inside_rect(x, y, left, top, right, bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def mix(a, b, t, flat):
    """A shade between a and b; flat drawings (16 colours) take the plain colour b."""
    if flat:
        return b
    t = min(max(t, 0.0), 1.0)
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def printer(x, y, flat):
    """The application icon: a printer, a sheet of paper and a red removal mark."""
    # Removal mark in the lower right corner, drawn over everything else.
    dx, dy = x - 24, y - 24
    distance = math.hypot(dx, dy)
    if distance <= 8:
        if distance > 6.8:
            return (128, 0, 0)
        if abs(abs(dx) - abs(dy)) < 2.0 and abs(dx) < 4.5:
            return (255, 255, 255)
        return mix((255, 64, 64), (255, 0, 0), (dx + dy + 8) / 16, flat)
    # Sheet of paper coming out at the top.
    if inside_rect(x, y, 8, 2, 24, 12):
        if not inside_rect(x, y, 9, 3, 23, 12):
            return (0, 0, 0)
        if inside_rect(x, y, 11, 5, 21, 6) or inside_rect(x, y, 11, 8, 19, 9):
            return (128, 128, 128)
        return (255, 255, 255)
    # Printer body.
    if inside_rounded(x, y, 2, 11, 30, 26, 2.5):
        if not inside_rounded(x, y, 3, 12, 29, 25, 1.5):
            return (0, 0, 0)
        if inside_rect(x, y, 6, 19, 26, 21):
            return (32, 32, 32)  # output slot
        if inside_rect(x, y, 23, 14, 26, 16):
            return (0, 255, 0)  # power light
        return mix((232, 232, 232), (192, 192, 192), (y - 12) / 13, flat)
    # Printed sheet in the output tray.
    if inside_rect(x, y, 8, 25, 24, 30):
        if not inside_rect(x, y, 9, 25, 23, 29):
            return (0, 0, 0)
        return (255, 255, 255)
    return None


def information(x, y, flat):
    """The information sign: a white letter i on a blue disc."""
    dx, dy = x - 16, y - 16
    distance = math.hypot(dx, dy)
    if distance > 15.2:
        return None
    if distance > 14.0:
        return (0, 0, 128)
    if math.hypot(x - 16, y - 8.5) <= 2.4:
        return (255, 255, 255)
    if inside_rect(x, y, 14, 12.5, 18, 24) or inside_rect(x, y, 12, 12.5, 14, 14.5):
        return (255, 255, 255)
    if inside_rect(x, y, 12, 23, 20, 25):
        return (255, 255, 255)
    return mix((90, 150, 255), (0, 0, 255), (dx + dy + 15) / 30, flat)


def sample(draw, size, flat):
    """Rows of colours (top row first) of a size x size image of the drawing."""
    scale = 32 / size
    return [[draw((column + 0.5) * scale, (row + 0.5) * scale, flat) for column in range(size)]
            for row in range(size)]


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][c] - colour[c]) ** 2 for c in range(3)))


def palette_for(pixels, bits):
    if bits == 4:
        return VGA16
    # Index 0 is black: transparent pixels use it, so that they leave the screen as it is.
    colours = [(0, 0, 0)] + sorted({c for row in pixels for c in row if c not in (None, (0, 0, 0))})
    if len(colours) > 256:
        raise ValueError("more than 256 colours")
    return colours + [(0, 0, 0)] * (256 - len(colours))


def packed_rows(values, bits, size):
    """Bottom-up rows of values of the given bit depth, each padded to 4 bytes."""
    stride = (size * bits + 31) // 32 * 4
    data = bytearray()
    for row in reversed(values):
        line = bytearray(stride)
        for column, value in enumerate(row):
            bit = column * bits
            line[bit // 8] |= value << (8 - bits - bit % 8)
        data += line
    return bytes(data)


def icon_image(draw, size, bits):
    pixels = sample(draw, size, bits == 4)
    palette = palette_for(pixels, bits)
    lookup = {}
    indices = []
    for row in pixels:
        out = []
        for colour in row:
            if colour is None:
                out.append(0)  # black under a transparent mask bit
            else:
                if colour not in lookup:
                    lookup[colour] = nearest(palette, colour)
                out.append(lookup[colour])
        indices.append(out)
    mask = [[1 if colour is None else 0 for colour in row] for row in pixels]
    xor = packed_rows(indices, bits, size)
    andmask = packed_rows(mask, 1, size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(xor) + len(andmask), 0, 0, len(palette), 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return header + table + xor + andmask, len(palette)


def write_icon(path, draw, formats):
    images = [(size, bits) + icon_image(draw, size, bits) for size, bits in formats]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, bits, data, colours in images:
        directory += struct.pack("<BBBBHHII", size, size, colours if colours < 256 else 0, 0, 1,
                                 bits, len(data), offset)
        offset += len(data)
    with open(path, "wb") as out:
        out.write(directory + b"".join(data for _, _, data, _ in images))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_icon(os.path.join(here, "uninstall.ico"), printer, [(16, 4), (16, 8), (32, 8)])
    write_icon(os.path.join(here, "information.ico"), information, [(32, 4), (32, 8), (16, 8)])


if __name__ == "__main__":
    main()
