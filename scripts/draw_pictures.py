#!/usr/bin/env python3
"""Draws the program's built-in pictures and writes them as XPM files into resources/images/ (the Linux
program) and as Windows bitmaps and an icon into resources/windows/ (the Windows program's resources).

The pictures are pixel art: each one is a list of rows, one character per pixel, read through PALETTE.
"." is the silver background that the program treats as transparent; " " is fully transparent (used
only by the application icon). Run it again after changing a picture; the written files are committed, so
neither build needs Python.
"""

import pathlib
import re
import struct
import sys
import zlib

PALETTE = {
    ".": "#C0C0C0",  # silver background
    " ": "None",
    "k": "#000000",
    "w": "#FFFFFF",
    "a": "#808080",
    "e": "#E0E0E0",
    "d": "#404040",
    "r": "#FF0000",
    "R": "#A00000",
    "b": "#0040FF",
    "B": "#000080",
    "l": "#80C0FF",
    "c": "#00E0FF",
    "C": "#007080",
    "g": "#00C000",
    "G": "#006000",
    "y": "#FFFF00",
    "Y": "#A08000",
    "h": "#FFF0B0",
    "o": "#FF8000",
    "O": "#A04000",
    "p": "#FF60B0",
    "P": "#B00060",
    "m": "#FF00FF",
    "v": "#A040FF",
    "V": "#500090",
    "s": "#FFD8A8",
    "S": "#E0A070",
    "n": "#8B4513",
    "N": "#D08030",
    "t": "#C08040",
}

# fmt: off
POSTAL_CARD = [
    "................",
    "................",
    "rrrrrrrrrrrrrrrr",
    "rwwwwwwwwwwwwwwr",
    "rwwwwwrrrrrrrrwr",
    "rwwwwwrwrwrwrrwr",
    "rwwwwwrrrrrrrrwr",
    "rwwwwwwwwwwwwwwr",
    "rwkkkkkkkkkkkkwr",
    "rwwwwwwwwwwwwwwr",
    "rwkkkkkkkkkkkkwr",
    "rwwwwwwwwwwwwwwr",
    "rwkkkkkkkkwwwwwr",
    "rwwwwwwwwwwwwwwr",
    "rrrrrrrrrrrrrrrr",
    "................",
]

HOUSE = [
    "................",
    ".......kk..kk...",
    "......kbbk.RR...",
    ".....kbbbbkRR...",
    "....kbbbbbbkR...",
    "...kbbbbbbbbk...",
    "..kbbbbbbbbbbk..",
    ".kbbbbbbbbbbbbk.",
    "kkkkkkkkkkkkkkkk",
    "..khhhhhhhhhhk..",
    "..khkkkkhnnnhk..",
    "..khkcckhnnnhk..",
    "..khkcckhnnyhk..",
    "..khkkkkhnnnhk..",
    "..khhhhhhnnnhk..",
    "..kkkkkkkkkkkk..",
]

BOY = [
    "." * 16,
    "....." + "k" * 6 + ".....",
    "..." + "k" * 10 + "...",
    ".." + "k" * 12 + "..",
    ".." + "k" * 12 + "..",
    ".kkk" + "sss" + "k" + "ssss" + "kkk" + ".",
    ".kk" + "s" * 10 + "kk.",
    ".k" + "s" * 12 + "k.",
    ".k" + "sss" + "k" + "ssss" + "k" + "sss" + "k.",
    ".k" + "sss" + "k" + "ssss" + "k" + "sss" + "k.",
    ".k" + "sp" + "s" * 8 + "ps" + "k.",
    "..k" + "sss" + "r" + "ss" + "r" + "sss" + "k..",
    "..k" + "ssss" + "rr" + "ssss" + "k..",
    "...k" + "s" * 8 + "k...",
    "...." + "k" * 8 + "....",
    "." * 16,
]

MAN_AND_WOMAN = [
    "..bbb......ppp..",
    ".bbbbb....ppppp.",
    ".bbbbb....ppppp.",
    "..bbb......ppp..",
    "................",
    "bbbbbbb..ppppppp",
    "bbbbbbb..ppppppp",
    "b.bbb.b..p.ppp.p",
    "b.bbb.b..p.ppp.p",
    "b.bbb.b...ppppp.",
    "..bbb....ppppppp",
    "..b.b......p.p..",
    "..b.b......p.p..",
    "..b.b......p.p..",
    "..b.b......p.p..",
    "................",
]

OLD_LETTERS = {
    "O": [".bbb."] + ["bb.bb"] * 8 + [".bbb."],
    "L": ["bb.."] * 8 + ["bbbb"] * 2,
    "D": ["bbbb."] + ["bb.bb"] * 8 + ["bbbb."],
}
OLD = (["." * 16] * 3
       + [o + "." + l + "." + d for o, l, d in zip(OLD_LETTERS["O"], OLD_LETTERS["L"], OLD_LETTERS["D"])]
       + ["." * 16] * 3)


SHIRT = [
    "................",
    "....kkkkkkkk....",
    "...kwwkrrkwwk...",
    "..kwwwkrrkwwwk..",
    ".kwwwwwrrwwwwwk.",
    "kwwwwwwrrwwwwwwk",
    "kwwkwwrrrrwwkwwk",
    "kwwkwwrrrrwwkwwk",
    "kkkkwwrrrrwwkkkk",
    "...kwwrrrrwwk...",
    "...kwwwrrwwwk...",
    "...kwwwwwwwwk...",
    "...kwwwwwwwwk...",
    "...kwwwwwwwwk...",
    "...kkkkkkkkkk...",
    "................",
]

TELEPHONE = [
    "................",
    "................",
    "...BBBBBBBBBB...",
    ".BBbbbbbbbbbbBB.",
    ".BbbbBBBBBBbbbB.",
    ".BbbB.B..B.BbbB.",
    ".BBB.BBBBBB.BBB.",
    "....BbbwwbbB....",
    "...BbbwbbwbbB...",
    "..BbbwbbbbwbbB..",
    "..BbbwbbbbwbbB..",
    "..BbbbwbbwbbbB..",
    ".BbbbbbwwbbbbbB.",
    ".BbbbbbbbbbbbbB.",
    ".BBBBBBBBBBBBBB.",
    "................",
]

FAX = [
    "...kkkkkkkk.....",
    "...kwwwwwwk.....",
    "...kwkkkkwk.....",
    "...kwwwwwwk.....",
    "...kwkkkwwk.....",
    "...kwwwwwwk.....",
    ".kkkkkkkkkkkkkk.",
    ".keeedddddddeek.",
    ".keeeeeeeeeeeek.",
    ".kBBBBegggggeek.",
    ".kBBBBeeeeeeeek.",
    ".kBBBBekekekeek.",
    ".kBBBBeeeeeeeek.",
    ".kBBBBekekekeek.",
    ".kkkkkkkkkkkkkk.",
    "................",
]

LETTER = [
    "................",
    "...kkkkkkkkkk...",
    "...kwwwwwwwwk...",
    "...kwBBBBBBwk...",
    "...kwwwwwwwwk...",
    "...kwBBBBBwwk...",
    "...kwwwwwwwwk...",
    "kkkkkkkkkkkkkkkk",
    "kkhhhhhhhhhhhhkk",
    "khkhhhhhhhhhhkhk",
    "khhkkhhhhhhkkhhk",
    "khhhhkkhhkkhhhhk",
    "khhhhhhkkhhhhhhk",
    "khhhhhhhhhhhhhhk",
    "kkkkkkkkkkkkkkkk",
    "................",
]

GLOBE_LAND = [
    "................",
    "................",
    "....gg..........",
    "...gggg.....g...",
    "...ggggg...ggg..",
    "....gggg...gggg.",
    ".....gg.....ggg.",
    "......g.....gg..",
    "........gg......",
    ".......gggg.....",
    ".......ggggg....",
    "........gggg....",
    ".........gg.....",
    "..........g.....",
    "................",
    "................",
]

MEMO = [
    "................",
    "..kkkkkkkkkkkk..",
    "..kyyyyyyyyyyk..",
    "..kybbbbbbbbyk..",
    "..kyyyyyyyyyyk..",
    "..kybbbbbbbbyk..",
    "..kyyyyyyyyyyk..",
    "..kybbbbbbbbyk..",
    "..kyyyyyyyyyyk..",
    "..kybbbbbbbbyk..",
    "..kyyyyyyyyyyk..",
    "..kybbbbbbyyyk..",
    "..kyyyyyyykkkk..",
    "..kyyyyyyykYk...",
    "..kyyyyyyykk....",
    "..kkkkkkkkk.....",
]

TOOL_JAR = [
    "..rr.......d..d.",
    "..rrr......dddd.",
    "...rrr....ddd...",
    "....rrk...dd.k..",
    ".....ka..dd.SS..",
    "......a..dd.yy..",
    "......a.dd..yy..",
    ".......add..yy..",
    ".kkkkkkkkkkkkkk.",
    "..kllllllllllk..",
    "..klwllllllllk..",
    "..klwllllllllk..",
    "..klwllllllllk..",
    "..kllllllllllk..",
    "...kkkkkkkkkk...",
    "................",
]


HELP_BOOK = [
    "................",
    "...kkkkkkkkkkk..",
    "..kVvvvvvvvvvvk.",
    "..kVvvvyyyvvvvk.",
    "..kVvvyyvyyvvvk.",
    "..kVvvvvvyyvvvk.",
    "..kVvvvvyyvvvvk.",
    "..kVvvvvyvvvvvk.",
    "..kVvvvvyvvvvvk.",
    "..kVvvvvvvvvvvk.",
    "..kVvvvvyvvvvvk.",
    "..kVvvvvvvvvvvk.",
    "..kVkkkkkkkkkkk.",
    "..kVwwwwwwwwwwk.",
    "...kkkkkkkkkkkk.",
    "................",
]

CAKE = [
    "....o..o..o.....",
    "....y..y..y.....",
    "....r..b..g.....",
    "....r..b..g.....",
    ".kkkkkkkkkkkkk..",
    ".kwwwwwwwwwwwk..",
    ".kwpwwwpwwwpwk..",
    ".kpppppppppppk..",
    ".kpppppppppppk..",
    ".kwwwwwwwwwwwk..",
    ".kpppppppppppk..",
    ".kpppppppppppk..",
    ".kkkkkkkkkkkkk..",
    "kaaaaaaaaaaaaaak",
    ".kkkkkkkkkkkkkk.",
    "................",
]

NEXT_ARROW = [
    "................",
    "..........kkkk..",
    "..........kppk..",
    "..........kppk..",
    "..........kppk..",
    "....k.....kppk..",
    "...kpk....kppk..",
    "..kppk....kppk..",
    ".kpppkkkkkkppk..",
    "kppppppppppppk..",
    "kppppppppppppk..",
    ".kpppkkkkkkkkk..",
    "..kppk..........",
    "...kpk..........",
    "....k...........",
    "................",
]

GIRL = [
    "....." + "nnnnn" + "rr.rr" + ".",
    "..." + "n" * 7 + "rrrrr" + ".",
    ".." + "n" * 8 + "rr.rr" + ".",
    ".." + "n" * 12 + "..",
    "." + "n" * 14 + ".",
    ".nnn" + "s" * 8 + "nnn.",
    ".nn" + "s" * 10 + "nn.",
    ".nn" + "s" * 10 + "nn.",
    ".nn" + "ss" + "k" + "ssss" + "k" + "ss" + "nn.",
    ".nn" + "ss" + "k" + "ssss" + "k" + "ss" + "nn.",
    ".nn" + "sp" + "s" * 6 + "ps" + "nn.",
    "nnn" + "sss" + "r" + "ss" + "r" + "sss" + "nnn",
    "nnn" + "ssss" + "rr" + "ssss" + "nnn",
    "nnnn" + "s" * 8 + "nnnn",
    ".nnnn" + "s" * 6 + "nnnn.",
    "." * 16,
]

FRAMED_DRAWING = [
    "................",
    ".nnnnnnnnnnnnnn.",
    ".nNNNNNNNNNNNNn.",
    ".nNwwwwwwwyywNn.",
    ".nNwrrwwwyyyyNn.",
    ".nNwwrrwwwyywNn.",
    ".nNwwwrrwwwwwNn.",
    ".nNwbwwrrwwwwNn.",
    ".nNwbbwwrrwgwNn.",
    ".nNwwbbwwwggwNn.",
    ".nNwwwbbwggwwNn.",
    ".nNwwwwbbgwwwNn.",
    ".nNwwwwwwwwwwNn.",
    ".nNNNNNNNNNNNNn.",
    ".nnnnnnnnnnnnnn.",
    "................",
]

STAR = [
    ".......kk.......",
    "......kFFk......",
    "......kFFk......",
    "......kFFk......",
    ".....kFFFFk.....",
    "kkkkkkFFFFkkkkkk",
    ".kFFFFFFFFFFFFk.",
    "..kFFFFFFFFFFk..",
    "...kFFFFFFFFk...",
    "....kFFFFFFk....",
    "....kFFFFFFk....",
    "...kFFFkkFFFk...",
    "...kFFk..kFFk...",
    "..kFk......kFk..",
    "..kk........kk..",
    "................",
]

SWITCH_PINK_HALF = [
    "................",
    ".....pppppp.....",
    "...pppppppppp...",
    "..ppp......ppp..",
    ".ppp........ppp.",
    ".pp......ppppppp",
    ".pp.......ppppp.",
    "...........ppp..",
    "............p...",
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
]

MINIMIZE = [
    ".................",
    "......RRRRR......",
    "......RrrrR......",
    "......RrrrR......",
    "......RrrrR......",
    "......RrrrR......",
    "..RRRRRrrrRRRRR..",
    "...RrrrrrrrrrR...",
    "....RrrrrrrrR....",
    ".....RrrrrrR.....",
    "......RrrrR......",
    ".......RrR.......",
    "kkkkkkkkRkkkkkkkk",
    "kwwwwwwwwwwwwwwwk",
    "keggkeBBBBBeeeeek",
    "kkkkkkkkkkkkkkkkk",
    ".................",
]
# fmt: on


def globe():
    disc = [[(x - 7.5) ** 2 + (y - 7.5) ** 2 <= 7.4**2 for x in range(16)] for y in range(16)]
    sea = outlined(disc, "b", "B")
    return ["".join("g" if c == "b" and land == "g" else c for c, land in zip(row, land_row))
            for row, land_row in zip(sea, GLOBE_LAND)]


def star(fill):
    return [row.replace("F", fill) for row in STAR]


def rotated_half_turn(rows):
    return [row[::-1] for row in reversed(rows)]


def overlay(base, top):
    return ["".join(t if t != "." else b for b, t in zip(brow, trow)) for brow, trow in zip(base, top)]


def switch_arrows():
    blue_half = [row.replace("p", "b") for row in rotated_half_turn(SWITCH_PINK_HALF)]
    return overlay(SWITCH_PINK_HALF, blue_half)


def outlined(mask, fill, edge):
    """Fills the pixels of mask with fill and gives the shape a one-pixel edge of its own darker colour."""
    height, width = len(mask), len(mask[0])

    def inside(x, y):
        return 0 <= x < width and 0 <= y < height and mask[y][x]

    rows = []
    for y in range(height):
        row = ""
        for x in range(width):
            if not mask[y][x]:
                row += "."
            elif all(inside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                row += fill
            else:
                row += edge
        rows.append(row)
    return rows


def double_arrow_right():
    """Two filled chevrons side by side, tips to the right, as a 16x16 mask."""
    mask = [[False] * 16 for _ in range(16)]
    for y in range(2, 14):
        depth = min(y - 2, 13 - y)
        for left in (1, 7):
            for x in range(left, left + depth + 2):
                mask[y][x] = True
    return mask


def transposed(mask):
    return [list(col) for col in zip(*mask)]


def mirrored(mask):
    return [list(reversed(row)) for row in mask]


def side_by_side(*pictures):
    return ["".join(parts) for parts in zip(*pictures)]


def open_strip_horizontal():
    right = double_arrow_right()
    left = mirrored(right)
    red, cyan = outlined(right, "r", "R"), outlined(left, "c", "C")
    return side_by_side(red, red, cyan, cyan)


def open_strip_vertical():
    down = transposed(double_arrow_right())
    up = list(reversed(down))
    return side_by_side(outlined(down, "r", "R"), outlined(down, "y", "Y"), outlined(up, "c", "C"),
                        outlined(up, "c", "C"))


def clipboard_icon(size):
    """A brown clipboard holding a form with labelled fields, a silver clip on top; transparent around."""
    s = size / 48.0
    grid = [[" "] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(round(y0 * s), round(y1 * s)):
            for x in range(round(x0 * s), round(x1 * s)):
                grid[y][x] = colour

    # Outlines one pixel wide up to 48 pixels, as wide as a grid pixel from 64 on, so they keep their weight.
    line = max(1, round(s))

    def frame(x0, y0, x1, y1, colour):
        left, top, right, bottom = round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1
        for width in range(line):
            for x in range(left, right + 1):
                grid[top + width][x] = grid[bottom - width][x] = colour
            for y in range(top, bottom + 1):
                grid[y][left + width] = grid[y][right - width] = colour

    # Coordinates on a 48-pixel grid, multiples of 3 so that the 32-pixel icon keeps the same proportions.
    rect(6, 3, 42, 48, "n")  # board
    frame(6, 3, 42, 48, "k")
    rect(12, 9, 36, 45, "w")  # sheet
    frame(12, 9, 36, 45, "a")
    for top in (15, 24, 33):  # three fields: a label and an input box
        rect(15, top + 2, 19, top + 4, "b")
        rect(21, top, 33, top + 6, "w")
        frame(21, top, 33, top + 6, "B")
    rect(24, 17, 30, 19, "k")  # one field already filled in
    rect(15, 40, 27, 42, "p")  # a pink signature line
    rect(15, 0, 33, 9, "e")  # clip
    frame(15, 0, 33, 9, "d")
    rect(21, 3, 27, 6, "d")
    return ["".join(row) for row in grid]


PICTURES = {
    "picture_00": POSTAL_CARD,
    "picture_01": HOUSE,
    "picture_02": BOY,
    "picture_03": MAN_AND_WOMAN,
    "picture_04": OLD,
    "picture_05": SHIRT,
    "picture_06": TELEPHONE,
    "picture_07": FAX,
    "picture_08": LETTER,
    "picture_09": globe(),
    "picture_10": MEMO,
    "picture_11": TOOL_JAR,
    "picture_12": HELP_BOOK,
    "picture_13": CAKE,
    "picture_14": NEXT_ARROW,
    "picture_15": GIRL,
    "picture_16": FRAMED_DRAWING,
    "picture_17": star("b"),
    "picture_18": star("v"),
    "picture_19": star("g"),
    "picture_20": star("r"),
    "picture_21": star("y"),
    "picture_22": star("p"),
    "picture_23": star("o"),
    "switch": switch_arrows(),
    "minimize": MINIMIZE,
    "open_strip_horizontal": open_strip_horizontal(),
    "open_strip_vertical": open_strip_vertical(),
    "app_icon_32": clipboard_icon(32),
    "app_icon_48": clipboard_icon(48),
}


def check(name, rows):
    width = len(rows[0])
    for number, row in enumerate(rows):
        if len(row) != width:
            sys.exit(f"{name}: row {number} is {len(row)} pixels wide, not {width}")
        unknown = set(row) - PALETTE.keys()
        if unknown:
            sys.exit(f"{name}: row {number} uses unknown colours {sorted(unknown)}")


def xpm(name, rows):
    colours = sorted(set("".join(rows)))
    # The variable's name carries a suffix, so that every picture (switch too) compiles as C++.
    lines = ["/* XPM */", f"static const char *const {name}_xpm[] = {{",
             f'"{len(rows[0])} {len(rows)} {len(colours)} 1",']
    lines += [f'"{c} c {PALETTE[c]}",' for c in colours]
    lines += [f'"{row}",' for row in rows]
    lines.append("};")
    return "\n".join(lines) + "\n"


def rgb(char):
    value = int(PALETTE[char][1:], 16)
    return value >> 16, (value >> 8) & 0xFF, value & 0xFF


def bmp(rows):
    """A 24-bit bottom-up Windows bitmap file; the silver background stays silver."""
    return bmp_of_colours([[rgb(c) for c in row] for row in rows])


def bmp_of_colours(rows):
    """A 24-bit bottom-up Windows bitmap file of rows of (red, green, blue)."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) // 4 * 4
    pixels = b""
    for row in reversed(rows):
        line = b"".join(bytes(reversed(colour)) for colour in row)
        pixels += line + b"\0" * (stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)) + header + pixels


def icon_image(rows):
    """One image of an icon file: 32-bit colour with alpha, bottom-up, then the AND mask."""
    size = len(rows)
    colour = b"".join(bytes(reversed(rgb(c))) + (b"\0" if c == " " else b"\xff")
                      for row in reversed(rows) for c in row.replace(" ", "k"))
    mask_stride = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(rows):
        bits = 0
        for c in row:
            bits = bits << 1 | (c == " ")
        mask += (bits << (mask_stride * 8 - size)).to_bytes(mask_stride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def png(rows):
    """A PNG file of the picture, 8-bit RGBA, " " fully transparent."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    def rgba(c):
        return bytes(rgb("k" if c == " " else c)) + (b"\0" if c == " " else b"\xff")

    raw = b"".join(b"\0" + b"".join(rgba(c) for c in row) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def ico(pictures):
    """An icon file holding every size given, smallest first; 256 pixels and more as PNG, as Windows keeps
    its own large icons small."""
    images = [png(rows) if len(rows) >= 256 else icon_image(rows) for rows in pictures]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for rows, image in zip(pictures, images):
        size = len(rows)
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


# The Windows resources: the 24 pictures of the image list as one strip (one load at start), the control
# buttons' pictures, and the icon in the sizes the task bar, the caption and Explorer ask for at 100 to 200 %
# (16, 20, 24, 32, 40, 48 and 64 pixels; 256 for Explorer's largest views).
WINDOWS_BITMAPS = {
    "pictures": side_by_side(*(PICTURES[f"picture_{i:02}"] for i in range(24))),
    "switch": PICTURES["switch"],
    "minimize": PICTURES["minimize"],
    "open_strip_horizontal": PICTURES["open_strip_horizontal"],
    "open_strip_vertical": PICTURES["open_strip_vertical"],
}
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)

# The dialogs' two pictures are drawn by hand as XPM files in resources/dialogs/ (the list's icon and the
# editor's OK picture); the Windows program gets them as bitmaps whose see-through pixels are magenta.
DIALOG_PICTURES = ("user_file", "save_ok")
SEE_THROUGH = (255, 0, 255)


def xpm_colours(text):
    """The pixels of a one-character-per-pixel XPM file as rows of (red, green, blue)."""
    strings = re.findall(r'"([^"]*)"', text)
    width, height, count, _ = map(int, strings[0].split())
    colours = {}
    for line in strings[1:1 + count]:
        value = line.split()[-1]
        colours[line[0]] = SEE_THROUGH if value == "None" else tuple(
            int(value[i:i + 2], 16) for i in (1, 3, 5))
    return [[colours[c] for c in row[:width]] for row in strings[1 + count:1 + count + height]]


def main():
    resources = pathlib.Path(__file__).resolve().parent.parent / "resources"
    out = resources / "images"
    out.mkdir(parents=True, exist_ok=True)
    for name, rows in PICTURES.items():
        check(name, rows)
        (out / f"{name}.xpm").write_text(xpm(name, rows))
    windows = resources / "windows"
    windows.mkdir(parents=True, exist_ok=True)
    for name, rows in WINDOWS_BITMAPS.items():
        (windows / f"{name}.bmp").write_bytes(bmp(rows))
    (windows / "zenporo.ico").write_bytes(ico([clipboard_icon(size) for size in ICON_SIZES]))
    for name in DIALOG_PICTURES:
        rows = xpm_colours((resources / "dialogs" / f"{name}.xpm").read_text())
        (windows / f"{name}.bmp").write_bytes(bmp_of_colours(rows))


if __name__ == "__main__":
    main()
