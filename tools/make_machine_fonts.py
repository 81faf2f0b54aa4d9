#!/usr/bin/env python3
"""Build the other machines' 8x8 fonts: src/raster/machine_fonts.inc (glyphs)
and src/core/machine_characters.inc (the character each byte shows).

Usage: tools/make_machine_fonts.py [FONTS_DIR]

FONTS_DIR defaults to ../shared/fonts next to the repository and must hold
font-topaz.txt (Amiga Topaz-8), font-c64.txt (Commodore 64) and
font-atari8.txt (Atari 8-bit). Each glyph is a header line "U+xxxx..."
followed by 8 rows whose first 8 characters are '#' (set) or '.' (clear);
what follows them on a row is a note or the row's number in the machine's
character memory.

The tables are indexed by the byte as a file holds it:
- Topaz: Latin-1, the byte is the code point (0x20-0x7E, 0xA0-0xFF).
- PETSCII: a byte shows a screen code (0x20-0x3F -> 0x20-0x3F,
  0x40-0x5F -> 0x00-0x1F, 0x60-0x7F -> 0x40-0x5F, 0xA0-0xBF -> 0x60-0x7F,
  0xC0-0xDF -> 0x40-0x5F, 0xE0-0xFE -> 0x60-0x7E, 0xFF -> 0x5E); the
  control bytes show nothing. The row numbers of font-c64.txt place each
  glyph in the character ROM: rows 0-1023 are the unshifted set's screen
  codes 0x00-0x7F, rows 2048-3071 the shifted set's (only the glyphs that
  differ from the unshifted set are there: the small letters at 0x01-0x1A
  and three graphics; the shifted set shows the capitals at 0x41-0x5A).
- ATASCII: the file holds the character ROM's order (the bytes 0x20-0x5F,
  then 0x00-0x1F, then 0x60-0x7F), its rows numbered from 8192. Bytes
  0x80-0xFF show the same characters in inverse video, as the Atari does.
A byte that shows nothing has character 0 and a blank glyph.
"""

import os
import re
import sys

HEADER_RE = re.compile(r'^U\+([0-9A-Fa-f]{4,6})(?:\tC64:([0-9A-Fa-f]{2})(T?))?\s*$')
# A row narrower than 8 (font-topaz.txt draws its sharp s in 7) is blank on the right.
ROW_RE = re.compile(r'^([#.]{1,8})(?![#.])(?:\s+(\d+))?')


def read_glyphs(path):
    """Glyphs in file order: (code point, C64 label or None, rows, first row number or None)."""
    glyphs, current = [], None
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            header = HEADER_RE.match(line)
            if header:
                if current is not None:
                    sys.exit('%s: U+%04X has %d rows, not 8' % (path, current[0], len(current[2])))
                current = [int(header.group(1), 16), header.group(2), [], None]
                continue
            row = ROW_RE.match(line)
            if current is not None and row:
                if not current[2] and row.group(2):
                    current[3] = int(row.group(2))
                current[2].append(sum(0x80 >> i for i, pixel in enumerate(row.group(1)) if pixel == '#'))
                if len(current[2]) == 8:
                    glyphs.append(tuple(current))
                    current = None
    if current is not None:
        sys.exit('%s: U+%04X has %d rows, not 8' % (path, current[0], len(current[2])))
    return glyphs


def topaz(fonts):
    rows, chars = [[0] * 8 for _ in range(256)], [0] * 256
    for code, _, glyph, _ in read_glyphs(os.path.join(fonts, 'font-topaz.txt')):
        if code > 0xFF:
            sys.exit('font-topaz.txt: U+%04X is not Latin-1' % code)
        rows[code], chars[code] = glyph, code
    return rows, chars


def petscii(fonts):
    # Screen code -> (rows, character) of each set; a later glyph of the same
    # place wins (the file gives '@' twice, the ROM's own last).
    unshifted, shifted = {}, {}
    for code, label, glyph, number in read_glyphs(os.path.join(fonts, 'font-c64.txt')):
        if number is None or number % 8:
            sys.exit('font-c64.txt: U+%04X has no row number' % code)
        index = number // 8
        if index < 0x80:
            unshifted[index] = (glyph, code)
        elif 0x100 <= index < 0x180:
            shifted[index - 0x100] = (glyph, code)
        else:
            sys.exit('font-c64.txt: U+%04X lies outside both sets' % code)
    if len(unshifted) != 128:
        sys.exit('font-c64.txt: the unshifted set has %d glyphs' % len(unshifted))
    whole_shifted = dict(unshifted)
    for code in range(0x01, 0x1B):  # the capitals move up beside the small letters
        whole_shifted[code + 0x40] = unshifted[code]
    whole_shifted.update(shifted)

    def screen_code(byte):
        if 0x20 <= byte <= 0x3F:
            return byte
        if 0x40 <= byte <= 0x5F:
            return byte - 0x40
        if 0x60 <= byte <= 0x7F:
            return byte - 0x20
        if 0xA0 <= byte <= 0xBF:
            return byte - 0x40
        if 0xC0 <= byte <= 0xDF:
            return byte - 0x80
        if 0xE0 <= byte <= 0xFE:
            return byte - 0x80
        if byte == 0xFF:
            return 0x5E
        return None

    tables = []
    for screen in (unshifted, whole_shifted):
        rows, chars = [[0] * 8 for _ in range(256)], [0] * 256
        for byte in range(256):
            code = screen_code(byte)
            if code is not None:
                rows[byte], chars[byte] = screen[code]
        tables.append((rows, chars))
    return tables


def atascii(fonts):
    glyphs = read_glyphs(os.path.join(fonts, 'font-atari8.txt'))
    if len(glyphs) != 128:
        sys.exit('font-atari8.txt: %d glyphs, not 128' % len(glyphs))
    rows, chars = [[0] * 8 for _ in range(256)], [0] * 256
    for code, _, glyph, number in glyphs:
        index = (number - 8192) // 8
        byte = index + 0x20 if index < 0x40 else index - 0x40 if index < 0x60 else index
        rows[byte], chars[byte] = glyph, code
        rows[byte | 0x80], chars[byte | 0x80] = [r ^ 0xFF for r in glyph], code
    # The file's headers name three glyphs wrongly: 0x06 rises to the right
    # and 0x07 falls, 0x15 is the lower half block.
    for byte, code in ((0x06, 0x2571), (0x07, 0x2572), (0x15, 0x2584)):
        chars[byte] = chars[byte | 0x80] = code
    return rows, chars


def glyph_table(name, rows):
    lines = ['const uint8_t %s[256][8] = {' % name]
    for byte, glyph in enumerate(rows):
        lines.append('    {%s},  // %02X' % (', '.join('0x%02X' % r for r in glyph), byte))
    return '\n'.join(lines + ['};', ''])


def char_table(name, chars):
    lines = ['const char16_t %s[256] = {' % name]
    for start in range(0, 256, 8):
        lines.append('    %s  // %02X' % (' '.join('0x%04X,' % c for c in chars[start:start + 8]), start))
    return '\n'.join(lines + ['};', ''])


def main(argv):
    if len(argv) > 2:
        sys.exit(__doc__)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    fonts = argv[1] if len(argv) > 1 else os.path.join(root, os.pardir, 'shared', 'fonts')
    (unshifted, shifted) = petscii(fonts)
    sets = [('Topaz', topaz(fonts)), ('PetsciiUnshifted', unshifted),
            ('PetsciiShifted', shifted), ('Atascii', atascii(fonts))]
    note = ['// Generated by tools/make_machine_fonts.py from font-topaz.txt, font-c64.txt',
            '// and font-atari8.txt (public domain; see src/resources/GLYPHS-LICENCE.md).',
            '// Do not edit. Indexed by the byte as a file holds it.']
    glyphs = note + ['// One row a byte, bit 7 the leftmost pixel.']
    glyphs += [glyph_table('k%sFont' % name, table[0]) for name, table in sets]
    chars = note + [char_table('k%sCharacters' % name, table[1]) for name, table in sets]
    for path, lines in ((os.path.join(root, 'src', 'raster', 'machine_fonts.inc'), glyphs),
                        (os.path.join(root, 'src', 'core', 'machine_characters.inc'), chars)):
        with open(path, 'w', encoding='ascii', newline='\n') as f:
            f.write('\n'.join(lines))


if __name__ == '__main__':
    main(sys.argv)
