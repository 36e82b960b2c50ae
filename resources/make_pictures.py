#!/usr/bin/env python3
"""Draws the program's small pictures as PNG files into pictures/.

Our own simple images: a coloured badge with two letters for each built-in
game (and a grey variant for the inactive state), the preview's play and
stop buttons, the program icon, and the three toggle pictures of the curve
list's option strips (an empty box, a dot and an eye). Run it again after changing a picture;
the PNG files are kept in the tree so that the build needs no Python.

It also draws the about box's artwork, skin/IDC_SKIN.bmp: a 24-bit bitmap
on magenta, the colour that the skin leaves out of the window's shape (the
build turns it into the skin resource with tools/mkskin).
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "pictures")
SKIN_OUT = os.path.join(HERE, "skin")

# 3 x 5 glyphs, one string a row.
FONT = {
    "E": ["###", "#..", "##.", "#..", "###"],
    "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "Q": [".#.", "#.#", "#.#", "##.", ".##"],
    "3": ["##.", "..#", ".#.", "..#", "##."],
    "W": ["#.#", "#.#", "#.#", "###", "#.#"],
    "S": [".##", "#..", ".#.", "..#", "##."],
    "R": ["##.", "#.#", "##.", "#.#", "#.#"],
    "U": ["#.#", "#.#", "#.#", "#.#", "###"],
    "V": ["#.#", "#.#", "#.#", "#.#", ".#."],
    "A": [".#.", "#.#", "###", "#.#", "#.#"],
    "D": ["##.", "#.#", "#.#", "#.#", "##."],
    "I": ["###", ".#.", ".#.", ".#.", "###"],
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


def draw_text(img, text, left, top, scale, colour):
    """Letters of FONT, each cell scale x scale pixels, one blank column apart."""
    for i, ch in enumerate(text):
        for gy, row in enumerate(FONT[ch]):
            for gx, cell in enumerate(row):
                if cell != "#":
                    continue
                for py in range(scale):
                    for px in range(scale):
                        img[top + gy * scale + py][left + (i * 4 + gx) * scale + px] = colour


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
    draw_text(img, letters, left, top, scale, (255, 255, 255, 255))
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


def bmp(path, pixels):
    """A 24-bit bottom-up bitmap file; pixels are (r, g, b) rows from the top."""
    h = len(pixels)
    w = len(pixels[0])
    stride = (3 * w + 3) & ~3
    rows = []
    for row in reversed(pixels):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        rows.append(line + b"\x00" * (stride - len(line)))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


MAGENTA = (255, 0, 255)


def skin():
    """The about box: a rounded panel with a camera lens standing out of its
    top edge, the program's name and a camera path through three points.
    Edges are hard, so that every pixel is either the panel's or magenta."""
    w, h = 320, 120
    img = [[MAGENTA for _ in range(w)] for _ in range(h)]
    top, radius = 14, 16
    lens = (276, 36, 30)

    def in_panel(x, y):
        if y < top:
            return False
        cx = min(max(x, radius), w - 1 - radius)
        cy = min(max(y, top + radius), h - 1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2

    def in_lens(x, y, r):
        return (x - lens[0]) ** 2 + (y - lens[1]) ** 2 <= r ** 2

    for y in range(h):
        t = y / (h - 1)
        body = (int(40 - 20 * t), int(54 - 28 * t), int(86 - 40 * t))
        for x in range(w):
            if in_lens(x, y, lens[2]):
                if not in_lens(x, y, lens[2] - 3):
                    img[y][x] = (96, 128, 178)
                elif not in_lens(x, y, lens[2] - 9):
                    img[y][x] = (24, 30, 46)
                elif not in_lens(x, y, lens[2] - 12):
                    img[y][x] = (120, 200, 255)
                else:
                    img[y][x] = (14, 18, 30)
            elif in_panel(x, y):
                edge = not (in_panel(x - 2, y) and in_panel(x + 2, y) and in_panel(x, y - 2) and in_panel(x, y + 2))
                img[y][x] = (96, 128, 178) if edge else body
    # A highlight in the lens.
    for y in range(lens[1] - 12, lens[1] - 6):
        for x in range(lens[0] - 10, lens[0] - 4):
            if in_lens(x, y, lens[2] - 13):
                img[y][x] = (200, 230, 255)

    # The name, 3 x 5 cells of 4 x 4 pixels.
    scale, left, ytop = 4, 22, 30
    draw_text(img, "RUVADIR", left, ytop, scale, (236, 240, 248))

    # A camera path: a curve through three control points.
    pts = [(26, 98), (118, 64), (214, 92)]
    ctrl = (118, 40)
    for i in range(600):
        t = i / 599.0
        x = (1 - t) ** 2 * pts[0][0] + 2 * (1 - t) * t * ctrl[0] + t ** 2 * pts[2][0]
        y = (1 - t) ** 2 * pts[0][1] + 2 * (1 - t) * t * ctrl[1] + t ** 2 * pts[2][1]
        for dx in (0, 1):
            for dy in (0, 1):
                img[int(y) + dy][int(x) + dx] = (120, 200, 255)
    for px, py in [pts[0], (118, 70), pts[2]]:
        for y in range(py - 3, py + 4):
            for x in range(px - 3, px + 4):
                img[y][x] = (255, 200, 40)
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
    os.makedirs(SKIN_OUT, exist_ok=True)
    bmp(os.path.join(SKIN_OUT, "IDC_SKIN.bmp"), skin())


if __name__ == "__main__":
    main()
