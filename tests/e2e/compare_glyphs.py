#!/usr/bin/env python3
"""Compares a capture of the viewer's picture with the glyphs it should show.

    compare_glyphs.py CAPTURE.bmp GLYPHS.bmp DOCUMENT [--first-row N]
                      [--rows N] [--columns N]

CAPTURE is a copy of the client area starting at the picture's origin,
client point (10, 10), taken at zoom 8, where one 8 x 8 page cell is 8 x 8
screen pixels. Its capture row 0 shows document row N (--first-row, for a
scrolled view). DOCUMENT is a plain text file: printable bytes, line feeds
(or carriage return and line feed pairs), no tabs, escapes or rows longer
than 91 cells, so each line is one row of the page and byte k of a line is
cell k of its row.

Expected pixels come from the glyph sheet: byte c (2 to 255) is cell c - 2,
byte 1 shares cell 0; cell k lies at x = 8 * (k // 46), y = 8 * (k % 46);
sheet bit 1 is white, 0 black. Cells without a byte (after the end of a
line, below the last row, beside the page) are white: the cleared page or
the window's background.

Every pixel must be exactly black or white as expected. Exit status 0 when
all compared cells match, 1 otherwise (with a picture of the first wrong
cell), 2 for unusable input.
"""
import argparse
import struct
import sys

CELL = 8
SHEET_ROWS = 46
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


class Image:
    """A bitmap as rows of (r, g, b) tuples, top row first."""

    def __init__(self, width, height, rows):
        self.width = width
        self.height = height
        self.rows = rows

    def pixel(self, x, y):
        return self.rows[y][x]


def read_bmp(path):
    with open(path, "rb") as handle:
        data = handle.read()
    if data[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    header_size, width, height, _planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if compression not in (0, 3):  # BI_RGB, or BI_BITFIELDS with the usual masks
        raise ValueError(f"{path}: compressed BMP")
    palette = []
    if bits <= 8:
        count = struct.unpack_from("<I", data, 46)[0] or (1 << bits)
        start = 14 + header_size
        for i in range(count):
            b, g, r, _ = data[start + 4 * i:start + 4 * i + 4]
            palette.append((r, g, b))
    top_down = height < 0
    height = abs(height)
    stride = ((width * bits + 31) // 32) * 4
    rows = []
    for stored in range(height):
        line = data[offset + stored * stride:offset + (stored + 1) * stride]
        row = []
        for x in range(width):
            if bits == 1:
                index = (line[x >> 3] >> (7 - (x & 7))) & 1
                row.append(palette[index])
            elif bits == 8:
                row.append(palette[line[x]])
            elif bits in (24, 32):
                step = bits // 8
                b, g, r = line[x * step:x * step + 3]
                row.append((r, g, b))
            else:
                raise ValueError(f"{path}: {bits} bits per pixel not handled")
        rows.append(row)
    if not top_down:
        rows.reverse()
    return Image(width, height, rows)


def document_rows(path):
    with open(path, "rb") as handle:
        text = handle.read()
    text = text.split(b"\0", 1)[0]
    rows = text.replace(b"\r\n", b"\n").split(b"\n")
    if rows and rows[-1] == b"":
        rows.pop()
    for number, row in enumerate(rows):
        bad = [b for b in row if b in (9, 12, 13, 27)]
        if bad or len(row) > 91:
            raise ValueError(f"{path}: row {number} is not plain text this comparison can lay out")
    return rows


def glyph_cell(sheet, byte):
    """8 x 8 expected colours of the glyph of BYTE, or all white for no byte."""
    if byte is None:
        return [[WHITE] * CELL for _ in range(CELL)]
    cell = 0 if byte <= 2 else byte - 2
    left = CELL * (cell // SHEET_ROWS)
    top = CELL * (cell % SHEET_ROWS)
    return [[sheet.pixel(left + x, top + y) for x in range(CELL)] for y in range(CELL)]


def picture(cell):
    return ["".join("#" if p == BLACK else "." if p == WHITE else "?" for p in line) for line in cell]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("capture")
    parser.add_argument("glyphs")
    parser.add_argument("document")
    parser.add_argument("--first-row", type=int, default=0)
    parser.add_argument("--rows", type=int, help="rows of cells to compare (default: all in the capture)")
    parser.add_argument("--columns", type=int, help="columns of cells to compare (default: all in the capture)")
    args = parser.parse_args()
    try:
        capture = read_bmp(args.capture)
        sheet = read_bmp(args.glyphs)
        rows = document_rows(args.document)
    except (OSError, ValueError) as error:
        print(f"compare_glyphs: {error}", file=sys.stderr)
        return 2
    row_count = args.rows if args.rows is not None else capture.height // CELL
    column_count = args.columns if args.columns is not None else capture.width // CELL
    if row_count * CELL > capture.height or column_count * CELL > capture.width:
        print(f"compare_glyphs: a capture of {capture.width} x {capture.height} holds fewer than "
              f"{column_count} x {row_count} cells", file=sys.stderr)
        return 2

    wrong = []
    for row in range(row_count):
        text_row = args.first_row + row
        line = rows[text_row] if text_row < len(rows) else b""
        for column in range(column_count):
            byte = line[column] if column < len(line) else None
            expected = glyph_cell(sheet, byte)
            actual = [[capture.pixel(column * CELL + x, row * CELL + y) for x in range(CELL)]
                      for y in range(CELL)]
            if expected != actual:
                differing = sum(e != a for el, al in zip(expected, actual) for e, a in zip(el, al))
                wrong.append((text_row, column, byte, differing, expected, actual))

    compared = f"{column_count} x {row_count} cells from document row {args.first_row}"
    if not wrong:
        print(f"compare_glyphs: {compared}: all match")
        return 0
    print(f"compare_glyphs: {compared}: {len(wrong)} cells differ", file=sys.stderr)
    for text_row, column, byte, differing, _, _ in wrong[:12]:
        shown = "none" if byte is None else f"0x{byte:02x}"
        print(f"  row {text_row} column {column}: byte {shown}, {differing} of 64 pixels differ", file=sys.stderr)
    text_row, column, byte, _, expected, actual = wrong[0]
    print(f"first wrong cell (row {text_row}, column {column}), expected | actual "
          "('#' black, '.' white, '?' other):", file=sys.stderr)
    for left, right in zip(picture(expected), picture(actual)):
        print(f"  {left} | {right}", file=sys.stderr)
    others = sorted({p for line in actual for p in line if p not in (BLACK, WHITE)})
    if others:
        print(f"  colours other than black and white in that cell: {others[:4]}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
