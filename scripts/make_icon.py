#!/usr/bin/env python3
"""Generate res/Tolmo.ico: a taped package drawn in the 16-colour palette.

The icon holds two classic (BMP, not PNG) images, 32x32 and 16x16, each
4 bits per pixel with a 1-bit AND transparency mask. The artwork is drawn
procedurally so the output is byte-for-byte reproducible:

    python3 scripts/make_icon.py [output.ico]

Without an argument the file is written next to the resource script,
res/Tolmo.ico.
"""
import os
import struct
import sys

# Standard 16-colour VGA/Windows palette, in palette-index order.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0  black
    (0x80, 0x00, 0x00),  # 1  maroon
    (0x00, 0x80, 0x00),  # 2  green
    (0x80, 0x80, 0x00),  # 3  olive
    (0x00, 0x00, 0x80),  # 4  navy
    (0x80, 0x00, 0x80),  # 5  purple
    (0x00, 0x80, 0x80),  # 6  teal
    (0xC0, 0xC0, 0xC0),  # 7  silver
    (0x80, 0x80, 0x80),  # 8  grey
    (0xFF, 0x00, 0x00),  # 9  red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]

BLACK = 0
TOP = 14        # aqua: the top face catches the most light
FRONT = 6       # teal: the front-left face
SIDE = 4        # navy: the right face, in shadow
TAPE_TOP = 15   # white tape on the lid
TAPE_SIDE = 7   # silver tape on the shaded face
TRANSPARENT = None


def draw_box(size):
    """Return size x size rows of palette indices (None = transparent).

    An isometric box seen from above: a bright top, a lit front-left face
    and a shaded right face, with a strip of tape along the seam of the
    top flaps that runs on down the right face. Edges use the classic 2:1
    pixel slope (two columns per row step) so lines stay one pixel thin.
    """
    n = size
    q = n // 4              # column pairs in each half
    tape = max(1, n // 16)  # tape thickness in rows
    pixels = [[TRANSPARENT] * n for _ in range(n)]
    for x in range(n):
        # d: column pairs away from the vertical centre line
        d = (n // 2 - 1 - x) // 2 if x < n // 2 else (x - n // 2) // 2
        top = d                      # silhouette, back edges
        mid = (2 * q - 2) - d        # front edges of the top face
        bottom = n - 1 - d           # silhouette, bottom edges
        band = x // 2 - n // 32      # first row of the tape on the top face
        right = x >= n // 2
        side_tape = right and band - tape // 2 <= mid <= band + tape - 1 + tape // 2
        for y in range(top, bottom + 1):
            if y in (top, mid, bottom) or x in (0, n - 1):
                c = BLACK
            elif y < mid:
                c = TAPE_TOP if band <= y < band + tape else TOP
            elif side_tape:
                c = TAPE_SIDE
            elif right:
                c = SIDE
            else:
                c = FRONT
            pixels[y][x] = c
    return pixels


def dib(pixels):
    """Encode one icon image: BITMAPINFOHEADER, palette, XOR and AND bitmaps."""
    size = len(pixels)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # DIB rows are stored bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, p in enumerate(row):
            index = 0 if p is None else p
            if x % 2 == 0:
                line[x // 2] |= index << 4
            else:
                line[x // 2] |= index
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # biSize
        size,  # biWidth
        size * 2,  # biHeight: XOR image plus AND mask
        1,  # biPlanes
        4,  # biBitCount
        0,  # biCompression = BI_RGB
        len(xor) + len(mask),  # biSizeImage
        0, 0,  # resolution
        0, 0,  # biClrUsed, biClrImportant (0 = full 16-entry palette)
    )
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def build_ico(sizes=(32, 16)):
    images = [(s, dib(draw_box(s))) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in images:
        # width, height, colour count, reserved, planes, bit count,
        # bytes in image, file offset
        out += struct.pack("<BBBBHHII", s, s, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def main(argv):
    if len(argv) > 1:
        path = argv[1]
    else:
        root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
        path = os.path.join(root, "res", "Tolmo.ico")
    with open(path, "wb") as f:
        f.write(build_ico())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
