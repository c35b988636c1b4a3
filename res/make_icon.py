#!/usr/bin/env python3
"""Draws kestrune.ico: a blue disc with a white "play" triangle, at 16, 32 and
48 pixels, 16 colours each (the standard VGA palette), with a transparency mask.
Run it from this folder after changing the drawing; the .ico is committed."""
import struct

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
NAVY, BLUE, WHITE, TRANSPARENT = 4, 12, 15, None


def pixel(size, x, y):
    """Colour index at pixel (x, y), top row first; None is transparent."""
    c = (size - 1) / 2.0
    dx, dy = x - c, y - c
    r = size / 2.0 - 0.5
    d2 = dx * dx + dy * dy
    if d2 > r * r:
        return TRANSPARENT
    if d2 > (r - max(1.0, size / 16.0)) ** 2:
        return NAVY  # rim
    # triangle pointing right, its centre of mass a little right of the disc's
    left, right, half = c - size * 0.18, c + size * 0.26, size * 0.25
    if left <= x <= right:
        reach = half * (right - x) / (right - left)
        if abs(dy) <= reach:
            return WHITE
    return BLUE


def image(size):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor, mask = b'', b''
    for y in reversed(range(size)):  # bottom-up rows
        row = [pixel(size, x, y) for x in range(size)]
        nibbles = [0 if p is None else p for p in row]
        line = bytes((nibbles[i] << 4) | (nibbles[i + 1] if i + 1 < size else 0) for i in range(0, size, 2))
        xor += line.ljust(xor_stride, b'\0')
        bits = 0
        line = b''
        for i, p in enumerate(row):
            bits = (bits << 1) | (1 if p is None else 0)
            if i % 8 == 7:
                line += bytes([bits])
                bits = 0
        mask += line.ljust(and_stride, b'\0')
    return header + palette + xor + mask


def main():
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open('kestrune.ico', 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main()
