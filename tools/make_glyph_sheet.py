#!/usr/bin/env python3
"""Build src/resources/glyphs.bmp, the glyph sheet Quillpane draws text with,
and the extra sheets of its Keymap menu.

Usage: tools/make_glyph_sheet.py [FONT.txt [OUT.bmp [FONTS_DIR]]]

FONT.txt defaults to ../shared/fonts/font-pc8.txt next to the repository,
OUT.bmp to src/resources/glyphs.bmp inside it, FONTS_DIR to
src/resources/fonts. FONTS_DIR receives NAME.ini (the menu name, one line
ended by CR LF) and NAME.bmp for each variant of the same font:

  bold   letters, digits and signs one pixel wider (each row OR-ed with
         itself shifted one pixel right)
  thin   the same one pixel narrower (a pixel with a set neighbour on its
         left and a clear one on its right is cleared)
  blue   the built-in shapes in dark blue ink on white, 24 bits per pixel

The shades, lines and blocks (glyphs 176..223) keep their shapes in the
bold and thin sheets, so that art drawn with them still joins up.

The font file holds the IBM PC 8x8 font: each glyph is a line
"U+xxxx<TAB>PC:nn" (nn = code page 437 byte in hex) followed by 8 rows whose
first 8 characters are '#' (set) or '.' (clear). Anything after column 8 and
any line outside a glyph block is ignored.

The sheet is a 48 x 368, 1 bit per pixel BMP: 6 columns of 46 cells of 8x8
pixels. Cell k sits at x = 8*(k // 46), y = 8*(k % 46) from the top. Byte c
(2..255) is drawn from cell c-2; byte 1 shares cell 0. Colour index 0 is
black and 1 is white. "Normal" cells draw the glyph in black on white,
"reversed" cells in white on black:

  cells   0..25   bytes   1..27   blank
  cells  26..29   bytes  28..31   glyphs 92..95 (\\ ] ^ _), reversed
  cell   30       byte   32       blank
  cells  31..124  bytes  33..126  printable ASCII, normal
  cell  125       byte  127       left-pointing wedge (glyph 0x11), normal
  cells 126..157  bytes 128..159  glyphs 192..223, reversed
  cells 158..252  bytes 160..254  glyphs 160..254, normal
  cells 253..275  byte  255 + unused: blank

Every variant has this layout. The output depends only on the font file,
so running the script twice gives identical bytes.
"""

import os
import re
import struct
import sys

CELL = 8
COLS = 6
ROWS = 46
WIDTH = COLS * CELL            # 48
HEIGHT = ROWS * CELL           # 368
STRIDE = (WIDTH + 31) // 32 * 4  # 8 bytes per stored row

HEADER_RE = re.compile(r'^U\+[0-9A-Fa-f]{4,6}\tPC:([0-9A-Fa-f]{2})\s*$')
ROW_RE = re.compile(r'^[#.]{8}')


def repo_root():
    return os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def read_font(path):
    """Return {byte: [8 ints]}, each int a row with bit 7 = leftmost pixel."""
    with open(path, encoding='utf-8') as f:
        lines = f.read().splitlines()
    glyphs = {}
    i = 0
    while i < len(lines):
        m = HEADER_RE.match(lines[i])
        if not m:
            i += 1
            continue
        code = int(m.group(1), 16)
        rows = lines[i + 1:i + 1 + CELL]
        if len(rows) != CELL or not all(ROW_RE.match(r) for r in rows):
            sys.exit('%s:%d: glyph PC:%02X does not have 8 rows of 8 pixels'
                     % (path, i + 1, code))
        if code in glyphs:
            sys.exit('%s:%d: glyph PC:%02X appears twice' % (path, i + 1, code))
        glyphs[code] = [int(r[:8].replace('#', '1').replace('.', '0'), 2)
                        for r in rows]
        i += 1 + CELL
    missing = [c for c in range(0x01, 0xFF) if c not in glyphs]
    if missing:
        sys.exit('%s: no glyph for byte(s) %s'
                 % (path, ' '.join('%02X' % c for c in missing)))
    return glyphs


BLANK = [0] * CELL


def cell_contents(glyphs):
    """Return a list of (glyph rows, reversed) for every cell of the sheet."""
    cells = [(BLANK, False)] * (COLS * ROWS)
    for k in range(26, 30):
        cells[k] = (glyphs[92 + k - 26], True)
    for c in range(33, 127):
        cells[c - 2] = (glyphs[c], False)
    cells[125] = (glyphs[0x11], False)
    for c in range(128, 160):
        cells[c - 2] = (glyphs[c + 64], True)
    for c in range(160, 255):
        cells[c - 2] = (glyphs[c], False)
    return cells


def render(glyphs):
    """Return the sheet as HEIGHT rows (top first) of WIDTH//8 bytes."""
    rows = [bytearray(WIDTH // 8) for _ in range(HEIGHT)]
    for k, (glyph, reverse) in enumerate(cell_contents(glyphs)):
        col, row = divmod(k, ROWS)
        for y in range(CELL):
            # A set font pixel is black (0) in a normal cell, white (1) in a
            # reversed one.
            rows[row * CELL + y][col] = glyph[y] if reverse else ~glyph[y] & 0xFF
    return rows


def bmp_file(bits, palette, pixels):
    offset = 14 + 40 + len(palette)
    colours = len(palette) // 4
    info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, bits, 0,
                       len(pixels), 2835, 2835, colours, colours)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return head + info + palette + pixels


def bmp_bytes(rows):
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])   # B, G, R, reserved
    pixels = b''.join(bytes(r).ljust(STRIDE, b'\0') for r in reversed(rows))
    return bmp_file(1, palette, pixels)


def bmp24_bytes(rows, ink, paper):
    """The sheet at 24 bits per pixel: 0 bits in `ink`, 1 bits in `paper`
    (colours as (R, G, B))."""
    def pixel(colour):
        return bytes(reversed(colour))                # stored B, G, R
    lines = []
    for r in reversed(rows):
        line = b''.join(pixel(paper if r[x // 8] & (0x80 >> x % 8) else ink)
                        for x in range(WIDTH))
        lines.append(line.ljust((WIDTH * 24 + 31) // 32 * 4, b'\0'))
    return bmp_file(24, b'', b''.join(lines))


def reweigh(glyphs, change):
    """The font with `change` applied to every row of every glyph but the
    shades, lines and blocks."""
    return {c: rows if 176 <= c <= 223 else [change(r) & 0xFF for r in rows]
            for c, rows in glyphs.items()}


# Each variant: file name, menu name and the bytes of its bitmap.
VARIANTS = [
    ('bold', 'Rururerir Bold  (Eng)',
     lambda g: bmp_bytes(render(reweigh(g, lambda r: r | r >> 1)))),
    ('thin', 'Rururerir Thin  (Eng)',
     lambda g: bmp_bytes(render(reweigh(g, lambda r: r & ~(r & r >> 1 & ~(r << 1)))))),
    ('blue', 'Rururerir Blue  (Eng)',
     lambda g: bmp24_bytes(render(g), (0x00, 0x00, 0xAA), (0xFF, 0xFF, 0xFF))),
]


def write(path, data):
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)
    print('wrote %s (%d bytes)' % (path, len(data)))


def main(argv):
    if len(argv) > 4:
        sys.exit(__doc__.split('\n\n')[1])
    root = repo_root()
    font = argv[1] if len(argv) > 1 else os.path.join(
        root, os.pardir, 'shared', 'fonts', 'font-pc8.txt')
    out = argv[2] if len(argv) > 2 else os.path.join(
        root, 'src', 'resources', 'glyphs.bmp')
    fonts = argv[3] if len(argv) > 3 else os.path.join(
        root, 'src', 'resources', 'fonts')
    glyphs = read_font(font)
    write(out, bmp_bytes(render(glyphs)))
    for name, title, make in VARIANTS:
        write(os.path.join(fonts, name + '.ini'), title.encode('ascii') + b'\r\n')
        write(os.path.join(fonts, name + '.bmp'), make(glyphs))


if __name__ == '__main__':
    main(sys.argv)
