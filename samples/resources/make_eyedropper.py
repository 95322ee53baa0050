#!/usr/bin/env python3
"""Writes samples/resources/eyedropper.ico (32 x 32 and 16 x 16) and
eyedropper.cur (32 x 32, hot spot at the tip): a pipette lying from the
lower left (tip) to the upper right (rubber bulb). Standard library only; run it
again to regenerate the committed files:  python3 samples/resources/make_eyedropper.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Shapes in a 32 x 32 design space, painted back to front. Each shape is a
# capsule (segment with a radius) with a fill colour (R, G, B, A).
OUTLINE = (32, 32, 40, 255)
SHAPES = [
    # glass tube with its dark outline, then the light glass, then the liquid
    (((4.0, 28.0), (19.5, 12.5)), 3.4, OUTLINE),
    (((4.0, 28.0), (19.5, 12.5)), 2.2, (214, 232, 244, 255)),
    (((5.0, 27.0), (12.0, 20.0)), 1.3, (40, 110, 220, 255)),
    # the tip
    (((2.0, 30.0), (4.5, 27.5)), 1.2, OUTLINE),
    # metal collar
    (((17.5, 14.5), (21.0, 11.0)), 4.2, OUTLINE),
    (((17.5, 14.5), (21.0, 11.0)), 3.0, (150, 156, 168, 255)),
    # rubber bulb
    (((22.5, 9.5), (26.5, 5.5)), 5.0, OUTLINE),
    (((22.5, 9.5), (26.5, 5.5)), 3.8, (200, 40, 40, 255)),
    (((24.0, 6.5), (25.0, 5.5)), 1.2, (250, 150, 150, 255)),
]


def capsule_distance(px, py, segment):
    (ax, ay), (bx, by) = segment
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def render(size, samples=4):
    """Rows top to bottom of (R, G, B, A), with 4 x 4 supersampling."""
    scale = 32.0 / size
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    px = (x + (sx + 0.5) / samples) * scale
                    py = (y + (sy + 0.5) / samples) * scale
                    colour = (0, 0, 0, 0)
                    for segment, radius, fill in SHAPES:
                        if capsule_distance(px, py, segment) <= radius:
                            colour = fill
                    a = colour[3] / 255.0
                    acc[0] += colour[0] * a
                    acc[1] += colour[1] * a
                    acc[2] += colour[2] * a
                    acc[3] += a
            n = samples * samples
            alpha = acc[3] / n
            if alpha <= 0.0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(c / acc[3]) for c in acc[:3]) + (round(alpha * 255),))
        rows.append(row)
    return rows


def dib(rows):
    """A 32-bit icon image: BITMAPINFOHEADER (double height), BGRA rows bottom
    up, then the 1-bit AND mask (set where the picture is fully clear)."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + xor + bytes(mask)


def write_group(path, kind, images):
    """kind 1 = icon, 2 = cursor; images = [(size, dib, hotspot)]."""
    data = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, blob, hotspot in images:
        if kind == 1:
            planes, bits = 1, 32
        else:
            planes, bits = hotspot
        data += struct.pack('<BBBBHHII', size, size, 0, 0, planes, bits, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    with open(path, 'wb') as f:
        f.write(data + b''.join(blobs))


def main():
    big = dib(render(32))
    small = dib(render(16))
    write_group(os.path.join(HERE, 'eyedropper.ico'), 1, [(32, big, None), (16, small, None)])
    # The hot spot is the tip of the pipette, at the lower left.
    write_group(os.path.join(HERE, 'eyedropper.cur'), 2, [(32, big, (2, 29))])


if __name__ == '__main__':
    main()
