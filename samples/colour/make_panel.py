#!/usr/bin/env python3
"""Writes samples/colour/panel.png: a small mock operator screen for the colour
preview demo (qnutil preview). Standard library only; run it again to
regenerate the committed image:  python3 samples/colour/make_panel.py
"""
import colorsys
import os
import struct
import zlib

W, H = 256, 176


def hls(h, l, s):
    r, g, b = colorsys.hls_to_rgb(h, l, s)
    return round(r * 255), round(g * 255), round(b * 255)


def pixel(x, y):
    # Hue sweep with lightness falling from white to black (rows 0-63).
    if y < 64:
        return hls(x / W, 1.0 - (y + 0.5) / 64, 1.0)
    # Grey ramp (rows 64-79).
    if y < 80:
        return (x, x, x)
    # Sixteen swatches of familiar colours (rows 80-103), 16 pixels each.
    if y < 104:
        swatches = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF]
        c = swatches[x // 16]
        return (c >> 16, (c >> 8) & 0xFF, c & 0xFF)
    # A mock screen below: title bar, tank with a level gradient, two buttons
    # and a round status lamp on a light background.
    if y < 116:
        return (0x1E, 0x3C, 0x78)
    if 124 <= y < 170 and 12 <= x < 60:
        if x in (12, 59) or y in (124, 169):
            return (0x40, 0x40, 0x40)
        if y >= 140:
            t = (y - 140) / 30
            return (round(0x20 + 0x40 * t), round(0x90 + 0x50 * t), 0xE0)
        return (0xF0, 0xF0, 0xF0)
    if 130 <= y < 150 and 80 <= x < 140:
        return (0x2E, 0x8B, 0x57)  # seagreen
    if 130 <= y < 150 and 150 <= x < 210:
        return (0xDC, 0x14, 0x3C)  # crimson
    if (x - 232) ** 2 + (y - 146) ** 2 <= 12 ** 2:
        d = ((x - 228) ** 2 + (y - 142) ** 2) ** 0.5 / 16
        return (0xFF, round(0xD7 * (1 - d) + 0x8C * d), 0x00)  # gold to dark orange
    if 158 <= y < 164 and 80 <= x < 210:
        t = (x - 80) / 130
        return (round(0xFF * t), round(0xFF * (1 - t)), 0x40)
    return (0xE6, 0xE6, 0xFA)  # lavender


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def filtered(rows):
    out = bytearray()
    prev = bytes(W * 3)
    for row in rows:
        candidates = []
        for kind in range(5):
            f = bytearray([kind])
            for i, v in enumerate(row):
                a = row[i - 3] if i >= 3 else 0
                b = prev[i]
                c = prev[i - 3] if i >= 3 else 0
                pred = (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]
                f.append((v - pred) & 0xFF)
            candidates.append(f)
        out += min(candidates, key=lambda f: sum(min(v, 256 - v) for v in f[1:]))
        prev = row
    return bytes(out)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


rows = [bytes(v for x in range(W) for v in pixel(x, y)) for y in range(H)]
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)) +
       chunk(b"IDAT", zlib.compress(filtered(rows), 9)) + chunk(b"IEND", b""))
path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "panel.png")
with open(path, "wb") as f:
    f.write(png)
print(f"{path}: {W}x{H}, {len(png)} bytes")
