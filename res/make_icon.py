#!/usr/bin/env python3
"""Draws the tray icon, a gamepad on a key cap, and writes quellpad.ico:
one 32 x 32 and one 16 x 16 image in the 16-colour VGA palette.

Run it again after changing the drawing: python3 res/make_icon.py
"""
import os
import struct

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, GREY, SILVER, RED, LIME, YELLOW, BLUE, WHITE = 0, 4, 8, 7, 9, 10, 11, 12, 15
CLEAR = None


def draw(size):
    """Returns rows of palette indices (None = transparent), top row first."""
    s = size / 32.0
    pixels = [[CLEAR] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), max(int(y1 * s), int(y0 * s) + 1)):
            for x in range(int(x0 * s), max(int(x1 * s), int(x0 * s) + 1)):
                if 0 <= x < size and 0 <= y < size:
                    pixels[y][x] = colour

    def disc(cx, cy, r, colour):
        for y in range(size):
            for x in range(size):
                if ((x + 0.5) / s - cx) ** 2 + ((y + 0.5) / s - cy) ** 2 <= r * r:
                    pixels[y][x] = colour

    # A key cap behind the pad: the keyboard the stick turns into.
    fill(1, 1, 31, 31, GREY)
    fill(2, 2, 30, 29, SILVER)
    # The pad: a body with two grips.
    fill(4, 10, 28, 22, NAVY)
    disc(8, 21, 4.5, NAVY)
    disc(24, 21, 4.5, NAVY)
    # Direction cross on the left, two buttons on the right.
    fill(7, 15, 13, 17, WHITE)
    fill(9, 13, 11, 19, WHITE)
    disc(20, 14.5, 1.8, RED)
    disc(24, 18, 1.8, YELLOW)
    return pixels


def image(size):
    pixels = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_row = (size * 4 + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    xor = b''
    mask = b''
    for row in reversed(pixels):  # bottom-up
        nibbles = [0 if p is None else p for p in row]
        packed = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor += packed.ljust(xor_row, b'\0')
        bits = 0
        line = b''
        for i, p in enumerate(row):
            bits = (bits << 1) | (1 if p is None else 0)
            if i % 8 == 7:
                line += bytes([bits])
                bits = 0
        mask += line.ljust(and_row, b'\0')
    return header + palette + xor + mask


def main():
    images = [image(32), image(16)]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    for size, data in zip((32, 16), images):
        entries += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'quellpad.ico')
    with open(out, 'wb') as f:
        f.write(directory + entries + b''.join(images))


if __name__ == '__main__':
    main()
