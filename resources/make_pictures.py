#!/usr/bin/env python3
"""Draws the program's small pictures as PNG files into pictures/.

Our own simple images: a coloured badge with two letters for each built-in
game (and a grey variant for the inactive state), the preview's play and
stop buttons, the program icon, and the three toggle pictures of the curve
list's option strips (an empty box, a dot and an eye). Run it again after changing a picture;
the PNG files are kept in the tree so that the build needs no Python.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "pictures")

# 3 x 5 glyphs, one string a row.
FONT = {
    "E": ["###", "#..", "##.", "#..", "###"],
    "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "Q": [".#.", "#.#", "#.#", "##.", ".##"],
    "3": ["##.", "..#", ".#.", "..#", "##."],
    "W": ["#.#", "#.#", "#.#", "###", "#.#"],
    "S": [".##", "#..", ".#.", "..#", "##."],
    "R": ["##.", "#.#", "##.", "#.#", "#.#"],
}


def png(path, pixels):
    h = len(pixels)
    w = len(pixels[0])
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def canvas(size, rgba=(0, 0, 0, 0)):
    return [[rgba for _ in range(size)] for _ in range(size)]


def grey(rgba):
    r, g, b, a = rgba
    y = int(0.3 * r + 0.59 * g + 0.11 * b)
    y = 128 + (y - 128) // 2
    return (y, y, y, a)


def badge(colour, letters, disabled):
    size = 32
    img = canvas(size)
    dark = tuple(max(0, c - 70) for c in colour[:3]) + (255,)
    for y in range(size):
        for x in range(size):
            # A rounded square: corners cut by a circle of radius 6.
            cx = min(max(x, 6), 25)
            cy = min(max(y, 6), 25)
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            if d2 <= 36:
                img[y][x] = dark if d2 > 20 or x in (0, 31) or y in (0, 31) else colour
    # Two letters, each 3 x 5 cells of 4 x 4 pixels, centred.
    scale = 4
    width = (3 * 2 + 1) * scale
    left = (size - width) // 2
    top = (size - 5 * scale) // 2
    for i, ch in enumerate(letters):
        for gy, row in enumerate(FONT[ch]):
            for gx, cell in enumerate(row):
                if cell != "#":
                    continue
                for py in range(scale):
                    for px in range(scale):
                        img[top + gy * scale + py][left + (i * 4 + gx) * scale + px] = (255, 255, 255, 255)
    if disabled:
        img = [[grey(p) for p in row] for row in img]
    return img


def play():
    img = canvas(16)
    for y in range(3, 13):
        reach = 4 + (min(y - 3, 12 - y) * 9) // 5
        for x in range(4, reach + 1):
            img[y][x] = (40, 150, 60, 255)
    return img


def stop():
    img = canvas(16)
    for y in range(4, 12):
        for x in range(4, 12):
            img[y][x] = (190, 45, 45, 255)
    return img


def icon():
    # A camera path: a curve through three control points.
    size = 32
    img = canvas(size, (30, 40, 60, 255))
    pts = [(4, 24), (14, 6), (27, 20)]
    for i in range(200):
        t = i / 199.0
        x = (1 - t) ** 2 * pts[0][0] + 2 * (1 - t) * t * 16 + t ** 2 * pts[2][0]
        y = (1 - t) ** 2 * pts[0][1] + 2 * (1 - t) * t * -4 + t ** 2 * pts[2][1]
        for dx in (0, 1):
            for dy in (0, 1):
                xx, yy = int(x) + dx, int(y) + dy
                if 0 <= xx < size and 0 <= yy < size:
                    img[yy][xx] = (120, 200, 255, 255)
    for px, py in [pts[0], (15, 9), pts[2]]:
        for y in range(py - 2, py + 3):
            for x in range(px - 2, px + 3):
                if 0 <= x < size and 0 <= y < size:
                    img[y][x] = (255, 200, 40, 255)
    return img


def unchecked():
    # An empty box, grey frame on white.
    img = canvas(14)
    for y in range(2, 12):
        for x in range(2, 12):
            edge = x in (2, 11) or y in (2, 11)
            img[y][x] = (120, 120, 120, 255) if edge else (255, 255, 255, 255)
    return img


def round_dot():
    # A filled dot with a darker rim.
    img = canvas(14)
    for y in range(14):
        for x in range(14):
            d2 = (x - 6.5) ** 2 + (y - 6.5) ** 2
            if d2 <= 20.25:
                img[y][x] = (20, 80, 150, 255) if d2 > 12.25 else (50, 130, 220, 255)
    return img


def eye():
    # An almond outline, a blue iris and a black pupil.
    img = canvas(14)
    for y in range(14):
        for x in range(14):
            dx, dy = x - 6.5, y - 6.5
            # The almond: inside two circles of radius 7.5 whose centres lie
            # 4.5 above and below the middle.
            upper = dx ** 2 + (dy - 4.5) ** 2
            lower = dx ** 2 + (dy + 4.5) ** 2
            if upper <= 56.25 and lower <= 56.25:
                rim = upper > 42.25 or lower > 42.25
                img[y][x] = (40, 40, 40, 255) if rim else (255, 255, 255, 255)
            d2 = dx ** 2 + dy ** 2
            if d2 <= 6.25:
                img[y][x] = (30, 30, 30, 255) if d2 <= 1.5 else (40, 110, 190, 255)
    return img


def main():
    os.makedirs(OUT, exist_ok=True)
    games = [("ET", (200, 90, 30, 255), "ET"), ("Q3", (150, 30, 30, 255), "Q3"), ("WS", (40, 110, 200, 255), "WS"),
             ("RTCW", (90, 110, 60, 255), "RT"), ("ETQW", (70, 70, 90, 255), "QW")]
    for name, colour, letters in games:
        png(os.path.join(OUT, "IDB_%sLOGO.png" % name), badge(colour, letters, False))
        png(os.path.join(OUT, "IDB_%sLOGOD.png" % name), badge(colour, letters, True))
    png(os.path.join(OUT, "IDB_PVWPLAY.png"), play())
    png(os.path.join(OUT, "IDB_PVWSTOP.png"), stop())
    png(os.path.join(OUT, "ruvadir.png"), icon())
    png(os.path.join(OUT, "unchecked.png"), unchecked())
    png(os.path.join(OUT, "round.png"), round_dot())
    png(os.path.join(OUT, "eye.png"), eye())


if __name__ == "__main__":
    main()
