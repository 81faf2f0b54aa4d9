#!/usr/bin/env python3
"""Draw the logo of Quillpane's About dialog as src/resources/logo.bmp.

Usage: tools/make_logo.py [OUT.bmp]

The logo is 141 x 56 pixels, 4 bits per pixel with the 16 standard Windows
colours, on the dialog's black: a quill on the left, the word QUILLPANE in
chunky letters shaded from white down to blue with a dark shadow, and under
it a bar that fades from solid blocks through the three shades, the way
text-mode art draws gradients. The output depends only on this script.
"""

import os
import struct
import sys

import canvas

WIDTH, HEIGHT = 141, 56
STRIDE = (WIDTH * 4 + 31) // 32 * 4

# The 16 standard colours, as (R, G, B), in their usual order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x00, 0x00, 0x80), (0x00, 0x80, 0x00), (0x00, 0x80, 0x80),
    (0x80, 0x00, 0x00), (0x80, 0x00, 0x80), (0x80, 0x80, 0x00), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0x00, 0x00, 0xFF), (0x00, 0xFF, 0x00), (0x00, 0xFF, 0xFF),
    (0xFF, 0x00, 0x00), (0xFF, 0x00, 0xFF), (0xFF, 0xFF, 0x00), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_BLUE, DARK_CYAN, BROWN, GREY, DARK_GREY = 0, 1, 3, 6, 7, 8
BLUE, CYAN, WHITE = 9, 11, 15

# 5 x 7 letters, '#' set.
LETTERS = {
    'Q': ['.###.', '#...#', '#...#', '#...#', '#.#.#', '#..#.', '.##.#'],
    'U': ['#...#', '#...#', '#...#', '#...#', '#...#', '#...#', '.###.'],
    'I': ['.###.', '..#..', '..#..', '..#..', '..#..', '..#..', '.###.'],
    'L': ['#....', '#....', '#....', '#....', '#....', '#....', '#####'],
    'P': ['####.', '#...#', '#...#', '####.', '#....', '#....', '#....'],
    'A': ['.###.', '#...#', '#...#', '#####', '#...#', '#...#', '#...#'],
    'N': ['#...#', '##..#', '#.#.#', '#..##', '#...#', '#...#', '#...#'],
    'E': ['#####', '#....', '#....', '####.', '#....', '#....', '#####'],
}
SCALE_X, SCALE_Y = 2, 3      # a letter is 10 x 21 pixels
WORD, WORD_X, WORD_Y, GAP = 'QUILLPANE', 31, 5, 2
# Top to bottom, one colour for each of the 21 pixel rows of a letter.
WORD_SHADES = [WHITE] * 6 + [CYAN] * 6 + [DARK_CYAN] * 3 + [BLUE] * 6


def new_canvas():
    return canvas.Canvas(WIDTH, HEIGHT, BLACK)


def quill(c):
    """A feather from the top right of its box down to a nib at the lower
    left, with a pale shaft along it."""
    (tx, ty), (bx, by) = (27.0, 1.0), (6.0, 46.0)
    length = ((bx - tx) ** 2 + (by - ty) ** 2) ** 0.5
    ux, uy = (bx - tx) / length, (by - ty) / length
    nx, ny = -uy, ux

    def at(t, w):
        return (tx + ux * length * t + nx * w, ty + uy * length * t + ny * w)

    half = 6.5
    c.polygon([at(0, 0), at(0.12, half * 0.9), at(0.35, half), at(0.75, half * 0.6),
               at(0.85, 0.5), at(0.85, -0.5), at(0.75, -half * 0.6),
               at(0.35, -half), at(0.12, -half * 0.9)], GREY)
    c.polygon([at(0.05, 0), at(0.35, -half * 0.6), at(0.72, -half * 0.35), at(0.85, 0)], DARK_GREY)
    shaft_end = at(0.85, 0)
    c.line(round(tx - 0.5), round(ty + 0.5), round(shaft_end[0] - 0.5), round(shaft_end[1] - 0.5), WHITE)
    nib = at(0.86, 0)
    c.line(round(nib[0] - 0.5), round(nib[1] - 0.5), round(bx - 0.5), round(by - 0.5), BROWN)


def word(c):
    """QUILLPANE with a one-pixel shadow to the lower right."""
    for pass_shadow in (True, False):
        for i, letter in enumerate(WORD):
            left = WORD_X + i * (5 * SCALE_X + GAP)
            for row, bits in enumerate(LETTERS[letter]):
                for col, bit in enumerate(bits):
                    if bit != '#':
                        continue
                    for dy in range(SCALE_Y):
                        for dx in range(SCALE_X):
                            y = row * SCALE_Y + dy
                            if pass_shadow:
                                c.put(left + col * SCALE_X + dx + 1, WORD_Y + y + 1, DARK_BLUE)
                            else:
                                c.put(left + col * SCALE_X + dx, WORD_Y + y, WORD_SHADES[y])


def shade_bar(c):
    """Solid blocks, then dark, medium and light shade patterns of 4 x 8
    pixel cells, as the block and shade characters draw them."""
    top, bottom, left, right = 32, 39, 31, 137
    bands = [('#', CYAN), ('#', BLUE), ('dark', BLUE), ('medium', BLUE), ('light', BLUE),
             ('light', DARK_BLUE)]
    cell_w = 4
    cells = (right - left + 1) // cell_w
    for i in range(cells):
        kind, colour = bands[i * len(bands) // cells]
        for y in range(top, bottom + 1):
            for x in range(left + i * cell_w, left + (i + 1) * cell_w):
                on = {
                    '#': True,
                    'dark': (x + y) % 2 == 0 or y % 2 == 0,
                    'medium': (x + y) % 2 == 0,
                    'light': x % 2 == 0 and y % 2 == 0,
                }[kind]
                if on:
                    c.put(x, y, colour)


def underline(c):
    """A dotted rule under everything."""
    for x in range(2, WIDTH - 2, 2):
        c.put(x, 50, DARK_GREY)
    for x in range(31, 138):
        c.put(x, 44, DARK_CYAN)


def bmp_bytes(c):
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    rows = []
    for y in reversed(range(HEIGHT)):
        row = c.px[y] + [BLACK]
        packed = bytes((row[x] << 4) | row[x + 1] for x in range(0, WIDTH, 2))
        rows.append(packed.ljust(STRIDE, b'\0'))
    pixels = b''.join(rows)
    offset = 14 + 40 + len(palette)
    info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 4, 0,
                       len(pixels), 2835, 2835, 16, 16)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return head + info + palette + pixels


def main(argv):
    if len(argv) > 2:
        sys.exit(__doc__.split('\n\n')[1])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = argv[1] if len(argv) > 1 else os.path.join(root, 'src', 'resources', 'logo.bmp')
    c = new_canvas()
    quill(c)
    word(c)
    shade_bar(c)
    underline(c)
    data = bmp_bytes(c)
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with open(out, 'wb') as f:
        f.write(data)
    print('wrote %s (%d bytes)' % (out, len(data)))


if __name__ == '__main__':
    main(sys.argv)
