#!/usr/bin/env python3
"""Draws the program's small pictures as PNG files into pictures/.

Our own simple images: a coloured badge with two letters for each built-in
game (and a grey variant for the inactive state), the preview's play and
stop buttons, the program icon, the three toggle pictures of the curve
list's option strips (an empty box, a dot and an eye), the demo browser's
five tree pictures (image list "ilsDemos": a folder with something in it,
an open folder, an empty folder, a demo and a demo with a note), the menu
pictures
(image list "ilsMenus": a check mark and ten commands, each with a brighter
alternate drawn when the item is highlighted) and the view tools' cursors
(image list "ilsCursors"). Run it again after changing a picture;
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
ICONS = os.path.join(HERE, "icons")
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


# ---- Drawing helpers for the menu pictures and cursors --------------------

def put(img, x, y, rgba):
    if 0 <= y < len(img) and 0 <= x < len(img[0]):
        img[y][x] = rgba


def line(img, x0, y0, x1, y1, rgba, width=1):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i / steps
        y = y0 + (y1 - y0) * i / steps
        for dx in range(width):
            for dy in range(width):
                put(img, int(round(x)) + dx, int(round(y)) + dy, rgba)


def rect(img, x0, y0, x1, y1, fill=None, edge=None):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            border = x in (x0, x1) or y in (y0, y1)
            if border and edge is not None:
                put(img, x, y, edge)
            elif fill is not None:
                put(img, x, y, fill)


def disc(img, cx, cy, r, fill=None, edge=None):
    for y in range(int(cy - r) - 1, int(cy + r) + 2):
        for x in range(int(cx - r) - 1, int(cx + r) + 2):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if edge is not None and r - 1 < d <= r:
                put(img, x, y, edge)
            elif fill is not None and d <= r - 1 + (1 if edge is None else 0):
                put(img, x, y, fill)


def arc(img, cx, cy, r, a0, a1, rgba, width=1):
    import math
    n = 48
    pts = []
    for i in range(n + 1):
        a = math.radians(a0 + (a1 - a0) * i / n)
        pts.append((cx + r * math.cos(a), cy - r * math.sin(a)))
    for (xa, ya), (xb, yb) in zip(pts, pts[1:]):
        line(img, int(round(xa)), int(round(ya)), int(round(xb)), int(round(yb)), rgba, width)
    return pts[-1]


def brighter(img):
    out = []
    for row in img:
        out.append([(min(255, r + 60), min(255, g + 60), min(255, b + 60), a) if a else (r, g, b, a)
                    for r, g, b, a in row])
    return out


INK = (40, 40, 50, 255)
PAPER = (250, 250, 245, 255)


def menu_check():
    img = canvas(16)
    line(img, 3, 8, 6, 11, (20, 110, 40, 255), 2)
    line(img, 6, 11, 12, 4, (20, 110, 40, 255), 2)
    return img


def menu_new():
    img = canvas(16)
    rect(img, 3, 1, 12, 14, PAPER, INK)
    line(img, 9, 1, 12, 4, INK)
    rect(img, 9, 1, 9, 4, None, INK)
    rect(img, 9, 4, 12, 4, None, INK)
    disc(img, 12, 11, 3, (255, 200, 40, 255))
    return img


def menu_open():
    img = canvas(16)
    rect(img, 1, 4, 13, 13, (230, 190, 80, 255), (120, 90, 20, 255))
    rect(img, 1, 2, 6, 4, (230, 190, 80, 255), (120, 90, 20, 255))
    for y in range(7, 14):
        line(img, 4 + (13 - y) // 2, y, 15 - (13 - y) // 3, y, (250, 215, 110, 255))
    line(img, 4, 7, 15, 7, (120, 90, 20, 255))
    return img


def menu_save():
    img = canvas(16)
    rect(img, 1, 1, 14, 14, (60, 90, 170, 255), (20, 30, 80, 255))
    rect(img, 4, 1, 11, 6, PAPER, (20, 30, 80, 255))
    rect(img, 9, 2, 10, 5, (20, 30, 80, 255))
    rect(img, 4, 9, 11, 14, (200, 200, 200, 255), (20, 30, 80, 255))
    return img


def menu_notes():
    img = canvas(16)
    rect(img, 2, 1, 13, 14, (255, 245, 160, 255), (150, 130, 40, 255))
    for y in (4, 7, 10):
        line(img, 4, y, 11, y, (110, 110, 120, 255))
    line(img, 9, 13, 14, 8, (180, 60, 60, 255), 2)
    return img


def menu_export():
    img = canvas(16)
    rect(img, 1, 3, 9, 14, PAPER, INK)
    line(img, 5, 8, 13, 8, (30, 130, 60, 255), 2)
    line(img, 10, 5, 14, 8, (30, 130, 60, 255), 2)
    line(img, 10, 11, 14, 8, (30, 130, 60, 255), 2)
    return img


def menu_quit():
    img = canvas(16)
    rect(img, 2, 1, 9, 14, (150, 100, 60, 255), (70, 40, 20, 255))
    put(img, 7, 8, (250, 220, 80, 255))
    line(img, 9, 8, 14, 8, (190, 40, 40, 255), 2)
    line(img, 12, 5, 15, 8, (190, 40, 40, 255), 2)
    line(img, 12, 11, 15, 8, (190, 40, 40, 255), 2)
    return img


def menu_turn(mirror):
    # A half turn over the top, the arrow head at its left end (undo);
    # mirrored for redo.
    img = canvas(16)
    colour = (40, 100, 190, 255)
    arc(img, 9, 10, 5, 0, 180, colour, 2)
    for k in range(4):
        line(img, 1 + k, 9 + k, 8 - k, 9 + k, colour)
    if mirror:
        img = [list(reversed(row)) for row in img]
    return img


def menu_refresh():
    img = canvas(16)
    colour = (30, 140, 70, 255)
    arc(img, 8, 8, 5, 30, 300, colour, 2)
    line(img, 11, 1, 13, 5, colour, 2)
    line(img, 9, 5, 13, 5, colour, 2)
    return img


def menu_info():
    img = canvas(16)
    disc(img, 8, 8, 7, (40, 100, 200, 255), (20, 50, 120, 255))
    rect(img, 7, 3, 8, 4, (255, 255, 255, 255))
    rect(img, 7, 6, 8, 12, (255, 255, 255, 255))
    return img


MENU_PICTURES = [
    ("new", menu_new), ("open", menu_open), ("save", menu_save), ("notes", menu_notes),
    ("export", menu_export), ("quit", menu_quit), ("undo", lambda: menu_turn(False)),
    ("redo", lambda: menu_turn(True)), ("refresh", menu_refresh), ("info", menu_info),
]

# Cursors: 32 x 32, black with a white outline; the hot spots are in the
# program (mainwindow/FrmMain.cpp), at the tip of the arrow or the centre.
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)


def outline(img):
    out = [row[:] for row in img]
    for y in range(32):
        for x in range(32):
            if img[y][x][3] == 0 and any(
                    0 <= x + dx < 32 and 0 <= y + dy < 32 and img[y + dy][x + dx][3] and
                    img[y + dy][x + dx][:3] == BLACK[:3]
                    for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                out[y][x] = WHITE
    return out


def arrow_shape(img):
    for y in range(0, 17):
        for x in range(0, y // 1 + 1):
            if x <= y * 10 // 16:
                put(img, x, y, BLACK)
    line(img, 4, 12, 9, 21, BLACK, 2)


def cursor_arrow():
    img = canvas(32)
    arrow_shape(img)
    return outline(img)


def cursor_badge(sign):
    img = canvas(32)
    arrow_shape(img)
    rect(img, 17, 17, 29, 29, WHITE, BLACK)
    line(img, 19, 23, 27, 23, BLACK, 2)
    if sign == "+":
        line(img, 23, 19, 23, 27, BLACK, 2)
    return outline(img)


def cursor_move_point():
    img = canvas(32)
    c = 15
    line(img, c, 3, c, 27, BLACK, 2)
    line(img, 3, c, 27, c, BLACK, 2)
    for dx, dy in ((0, -1), (0, 1), (-1, 0), (1, 0)):
        tip = (c + dx * 13, c + dy * 13)
        for k in range(1, 5):
            if dx == 0:
                line(img, tip[0] - k, tip[1] - dy * k, tip[0] + k + 1, tip[1] - dy * k, BLACK)
            else:
                line(img, tip[0] - dx * k, tip[1] - k, tip[0] - dx * k, tip[1] + k + 1, BLACK)
    rect(img, c - 2, c - 2, c + 3, c + 3, BLACK)
    return outline(img)


def cursor_move_pic():
    # An open hand: palm and four fingers.
    img = canvas(32)
    rect(img, 9, 14, 22, 25, BLACK)
    for i, top in enumerate((6, 4, 5, 8)):
        rect(img, 9 + i * 3 + (1 if i else 0), top, 10 + i * 3 + (1 if i else 0) + 1, 14, BLACK)
    line(img, 6, 14, 9, 19, BLACK, 2)
    return outline(img)


def cursor_rotate():
    img = canvas(32)
    arc(img, 15, 15, 9, 120, -150, BLACK, 2)
    line(img, 10, 4, 10, 10, BLACK, 2)
    line(img, 4, 9, 10, 9, BLACK, 2)
    disc(img, 15, 15, 2.5, BLACK)
    return outline(img)


def cursor_zoom():
    img = canvas(32)
    disc(img, 12, 12, 8, None, BLACK)
    disc(img, 12, 12, 7, None, BLACK)
    line(img, 18, 18, 27, 27, BLACK, 3)
    line(img, 8, 12, 16, 12, BLACK)
    line(img, 12, 8, 12, 16, BLACK)
    return outline(img)


CURSORS = [
    ("arrow", cursor_arrow), ("addPoint", lambda: cursor_badge("+")), ("delPoint", lambda: cursor_badge("-")),
    ("movePoint", cursor_move_point), ("movePic", cursor_move_pic), ("rotateView", cursor_rotate),
    ("zoomView", cursor_zoom),
]


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


# ---- The demo browser's tree (image list "ilsDemos", 16 x 16) --------------

FOLDER = (230, 190, 80, 255)
FOLDER_EDGE = (120, 90, 20, 255)
FOLDER_EMPTY = (240, 225, 190, 255)


def demo_folder(empty):
    img = canvas(16)
    rect(img, 1, 4, 14, 13, FOLDER_EMPTY if empty else FOLDER, FOLDER_EDGE)
    rect(img, 1, 2, 6, 4, FOLDER_EMPTY if empty else FOLDER, FOLDER_EDGE)
    if not empty:
        # Sheets sticking out: the folder holds something.
        rect(img, 4, 5, 12, 7, PAPER, INK)
    return img


def demo_file(note):
    # A film strip; with a note, a yellow sheet over its corner.
    img = canvas(16)
    rect(img, 2, 1, 11, 14, (70, 70, 80, 255), INK)
    for y in range(2, 14, 3):
        put(img, 3, y, PAPER)
        put(img, 10, y, PAPER)
    rect(img, 5, 3, 8, 6, (120, 170, 230, 255))
    rect(img, 5, 9, 8, 12, (120, 170, 230, 255))
    if note:
        rect(img, 8, 7, 15, 15, (255, 235, 120, 255), (150, 130, 40, 255))
        for y in (9, 11, 13):
            line(img, 10, y, 13, y, (110, 110, 120, 255))
    return img


DEMO_PICTURES = [
    ("folder", lambda: demo_folder(False)), ("folderOpen", menu_open), ("folderEmpty", lambda: demo_folder(True)),
    ("demo", lambda: demo_file(False)), ("demoNote", lambda: demo_file(True)),
]


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
    # The program's icon resource, which every window and message box shows
    # (an icon, not one of the pictures the program looks up by number).
    os.makedirs(ICONS, exist_ok=True)
    png(os.path.join(ICONS, "IDI_A.png"), icon())
    png(os.path.join(OUT, "ilsMenus_check.png"), menu_check())
    for key, draw in MENU_PICTURES:
        picture = draw()
        png(os.path.join(OUT, "ilsMenus_%s.png" % key), picture)
        png(os.path.join(OUT, "ilsMenus_%sA.png" % key), brighter(picture))
    for key, draw in CURSORS:
        png(os.path.join(OUT, "ilsCursors_%s.png" % key), draw())
    png(os.path.join(OUT, "unchecked.png"), unchecked())
    png(os.path.join(OUT, "round.png"), round_dot())
    png(os.path.join(OUT, "eye.png"), eye())
    for key, draw in DEMO_PICTURES:
        png(os.path.join(OUT, "ilsDemos_%s.png" % key), draw())
    os.makedirs(SKIN_OUT, exist_ok=True)
    bmp(os.path.join(SKIN_OUT, "IDC_SKIN.bmp"), skin())


if __name__ == "__main__":
    main()
