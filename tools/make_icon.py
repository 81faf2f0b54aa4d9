#!/usr/bin/env python3
"""Draw Quillpane's icon and write it as src/resources/quillpane.ico.

Usage: tools/make_icon.py [OUT.ico] | --png DIR

The icon is a sheet of paper with a folded corner carrying a few lines of
block-character art (solid and dithered cells, like the code page 437 block
and shade characters), and a dark quill lying across it. It holds two images,
32x32 and 16x16, both 32 bits per pixel (BGRA) with a 1-bit AND mask, so it loads
on every Windows version Quillpane supports. Each size is drawn on its own
pixel grid rather than scaled, to keep the edges crisp. The output depends
only on this script.

With --png it writes the same two images as PNG files for a Linux desktop's
icon theme, DIR/16x16.png to DIR/256x256.png: 48 and 256 pixels are the 16
and 32 pixel images scaled by whole pixels, so they stay crisp too.
"""

import os
import struct
import sys
import zlib

import canvas

CLEAR = None
INK = (0x1C, 0x1E, 0x26)       # page outline
PAPER = (0xFF, 0xFF, 0xFF)
FOLD = (0xC9, 0xCD, 0xD6)      # underside of the turned-down corner
ART = (0x24, 0x4C, 0x9A)       # the block art on the page
VANE = (0x2A, 0x2D, 0x38)      # quill feather
VANE_LIGHT = (0x55, 0x5B, 0x6E)
SHAFT = (0xE4, 0xE0, 0xD2)
NIB = (0x9A, 0x7A, 0x3A)


class Canvas(canvas.Canvas):
    def __init__(self, size):
        super().__init__(size, size, CLEAR)
        self.size = size

    def cells(self, x, y, w, h, pattern, colour):
        """Draw a row of w x h block cells: '#' solid, '%' dithered
        (a half shade), ' ' empty."""
        for i, ch in enumerate(pattern):
            for dy in range(h):
                for dx in range(w):
                    px, py = x + i * w + dx, y + dy
                    on = ch == '#' or (ch == '%' and (px + py) % 2 == 0)
                    if on:
                        self.put(px, py, colour)


def page(c, x0, y0, x1, y1, fold):
    """A sheet with its top-right corner folded down by `fold` pixels."""
    c.rect(x0, y0, x1, y1, INK)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, PAPER)
    # Cut the corner away, then draw the turned-down flap.
    for i in range(fold + 1):
        for x in range(x1 - fold + i, x1 + 1):
            c.put(x, y0 + i, CLEAR)
    for i in range(fold + 1):
        c.put(x1 - fold + i, y0 + i, INK)          # diagonal edge
    for i in range(1, fold):
        for x in range(x1 - fold + 1, x1 - fold + i + 1):
            c.put(x, y0 + i, FOLD)
    c.line(x1 - fold, y0, x1 - fold, y0 + fold, INK)  # flap's left edge
    c.line(x1 - fold, y0 + fold, x1, y0 + fold, INK)  # flap's bottom edge


def quill(c, top, base, width, shaft=True):
    """A feather from `top` down to `base`, `width` pixels across at its
    widest (about a third of the way down), with a pale shaft along it."""
    (tx, ty), (bx, by) = top, base
    length = ((bx - tx) ** 2 + (by - ty) ** 2) ** 0.5
    ux, uy = (bx - tx) / length, (by - ty) / length   # along the quill
    nx, ny = -uy, ux                                  # across it
    def at(t, w):
        return (tx + ux * length * t + nx * w, ty + uy * length * t + ny * w)
    half = width / 2
    outline = [at(0, 0), at(0.12, half * 0.9), at(0.35, half),
               at(0.75, half * 0.6), at(1, 0.2), at(1, -0.2),
               at(0.75, -half * 0.6), at(0.35, -half), at(0.12, -half * 0.9)]
    c.polygon(outline, VANE)
    c.polygon([at(0.05, 0), at(0.35, -half * 0.55), at(0.75, -half * 0.3),
               at(0.95, 0)], VANE_LIGHT)
    if shaft:
        c.line(round(tx + ux * 1.5 - 0.5), round(ty + uy * 1.5 - 0.5),
               round(bx - 0.5), round(by - 0.5), SHAFT)


def icon32():
    c = Canvas(32)
    page(c, 1, 1, 22, 30, 6)
    c.cells(4, 4, 2, 3, '#####%', ART)
    c.cells(4, 8, 2, 3, '## ###', ART)
    c.cells(4, 12, 2, 3, '#######', ART)
    c.cells(4, 16, 2, 3, '## ##%', ART)
    c.cells(4, 20, 2, 3, '####', ART)
    c.cells(4, 24, 2, 3, '##%', ART)
    quill(c, (31.5, 0.5), (16.5, 23.5), 7)
    c.line(16, 23, 14, 26, NIB)
    c.line(15, 23, 14, 25, NIB)
    c.put(13, 27, INK)
    return c


def icon16():
    c = Canvas(16)
    page(c, 0, 0, 11, 15, 3)
    c.cells(2, 2, 1, 2, '####%', ART)
    c.cells(2, 5, 1, 2, '## ##', ART)
    c.cells(2, 8, 1, 2, '#####', ART)
    c.cells(2, 11, 1, 2, '##%', ART)
    quill(c, (16.0, 0.0), (8.5, 11.5), 4, shaft=False)
    c.put(7, 12, NIB)
    c.put(6, 13, INK)
    return c


def dib(c):
    """One icon image: BITMAPINFOHEADER, BGRA pixels, AND mask."""
    n = c.size
    mask_stride = (n + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(n)):
        bits = bytearray(mask_stride)
        for x in range(n):
            p = c.px[y][x]
            if p is None:
                xor += b'\0\0\0\0'
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                xor += bytes((p[2], p[1], p[0], 0xFF))
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico(canvases):
    images = [dib(c) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack('<BBBBHHII', c.size % 256, c.size % 256, 0, 0,
                           1, 32, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


def png(c, scale):
    """One image as an RGBA PNG, each pixel drawn as scale x scale."""
    n = c.size * scale
    rows = bytearray()
    for y in range(n):
        rows.append(0)  # no filter
        for x in range(n):
            p = c.px[y // scale][x // scale]
            rows += b'\0\0\0\0' if p is None else bytes((*p, 0xFF))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data)))
    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', n, n, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes(rows), 9)) + chunk(b'IEND', b''))


def write_pngs(folder):
    os.makedirs(folder, exist_ok=True)
    for canvas, scale in ((icon16(), 1), (icon32(), 1), (icon16(), 3), (icon32(), 8)):
        size = canvas.size * scale
        with open(os.path.join(folder, '%dx%d.png' % (size, size)), 'wb') as f:
            f.write(png(canvas, scale))


def main(argv):
    if len(argv) == 3 and argv[1] == '--png':
        write_pngs(argv[2])
        return
    if len(argv) > 2:
        sys.exit(__doc__.split('\n\n')[1])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = argv[1] if len(argv) > 1 else os.path.join(
        root, 'src', 'resources', 'quillpane.ico')
    data = ico([icon32(), icon16()])
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with open(out, 'wb') as f:
        f.write(data)
    print('wrote %s (%d bytes)' % (out, len(data)))


if __name__ == '__main__':
    main(sys.argv)
