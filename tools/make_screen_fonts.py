#!/usr/bin/env python3
"""Build the IBM code pages' characters and glyphs, and the Keymap sheets.

Usage: tools/make_screen_fonts.py SOURCE_DIR CONSOLE_FONTS_DIR GENERATED_DIR SHEETS_DIR

Reads, below SOURCE_DIR: src/raster/ansi_fonts.inc (code page 437 in the
IBM PC's 8x16 and 8x8 shapes), src/core/code_page_437.cpp (the characters
of code page 437) and src/raster/machine_fonts.inc (Amiga Topaz). Reads the
VGA console fonts (PSF1 with a Unicode table) of CONSOLE_FONTS_DIR, Debian's
console-setup-linux /usr/share/consolefonts. Writes:

  GENERATED_DIR/code_page_characters.inc  kCodePageUpper[19][128]: the
      character of bytes 0x80-0xFF of each code page (0: undefined)
  GENERATED_DIR/screen_font_tables.inc    for heights 8, 14 and 16: a pool
      of distinct glyphs kGlyphPoolH[n][H] and kGlyphIndexH[19][256], the
      pool's glyph of each byte of each code page
  SHEETS_DIR/cpNNN.bmp + cpNNN.ini        the 8-row glyphs of each code page
      but 437 as a Keymap sheet; topaz.bmp + topaz.ini the same for Topaz

and prints, for each code page, how many of its characters no font has.

Where each glyph comes from:
- bytes 0x00-0x7F of every code page are code page 437's, glyph and
  character alike;
- a character of code page 437, at 8 or 16 rows: the IBM glyph of it, so
  that letters and line pieces shared with 437 look the same everywhere;
- otherwise the first console font (FONT_ORDER) that has the character, or
  else one drawn the same (alternatives);
- otherwise the IBM glyph of the character if 437 has it (at 14 rows, the
  16-row glyph without its top and bottom rows: the VGA's 14-row shapes
  are the 16-row ones with those two rows dropped, and line pieces still
  reach both edges);
- otherwise blank, and the character is counted as lacking.
At 14 rows every glyph, code page 437's too, comes from the console fonts
first: there is no IBM 14-row source here.
The 19-row glyphs are made from the 16-row ones by the program itself.
"""

import codecs
import gzip
import os
import re
import struct
import sys
import unicodedata

CODE_PAGES = [437, 720, 737, 775, 819, 850, 852, 855, 857, 858, 860, 861, 862, 863,
              864, 865, 866, 869, 872]
NAMES = {720: 'Arabic', 737: 'Greek', 775: 'Baltic', 819: 'Latin-1', 850: 'Western European',
         852: 'Central European', 855: 'Cyrillic', 857: 'Turkish',
         858: 'Western European, euro', 860: 'Portuguese', 861: 'Icelandic', 862: 'Hebrew',
         863: 'Canadian French', 864: 'Arabic', 865: 'Nordic', 866: 'Cyrillic', 869: 'Greek',
         872: 'Cyrillic, euro'}
# The VGA-style console fonts, searched in this order: the broad Latin ones
# first, then each script's own.
FONT_ORDER = ['Uni2', 'Lat15', 'Lat2', 'Lat7', 'Lat38', 'CyrSlav', 'FullCyrSlav', 'CyrKoi',
              'Greek', 'FullGreek', 'Hebrew', 'Arabic', 'Uni1']
HEIGHTS = [8, 14, 16]


def code_page_upper(page):
    """The characters of bytes 0x80-0xFF; 0 where the code page has none."""
    if page == 872:  # code page 855 with the euro sign at 0xCF
        chars = code_page_upper(855)
        chars[0xCF - 0x80] = 0x20AC
        return chars
    codec = 'latin-1' if page == 819 else 'cp%d' % page
    chars = []
    for byte in range(0x80, 0x100):
        try:
            c = ord(codecs.decode(bytes([byte]), codec))
        except UnicodeDecodeError:
            c = 0
        # Latin-1's C1 controls are no characters to draw: undefined here.
        chars.append(0 if 0x80 <= c <= 0x9F else c)
    return chars


def alternatives(c):
    """Characters drawn the same as `c`, for one no font has: the letter an
    Arabic presentation form stands for, the Persian shapes of the Arabic-Indic
    digits (the same for 0-3 and 7-9; the nearest there is for 4-6)."""
    if 0x0660 <= c <= 0x0669:
        return [c + 0x90]
    parts = unicodedata.decomposition(chr(c)).split()
    if len(parts) == 2 and parts[0].startswith('<'):
        return [int(parts[1], 16)]
    return []


def read_c_array(text, name, count, width):
    start = text.index(name)
    body = text[text.index('{', start):text.index('};', start)]
    values = [int(v, 16) for v in re.findall(r'0x([0-9A-Fa-f]+)', re.sub(r'//[^\n]*', '', body))]
    if len(values) != count * width:
        sys.exit('%s: %d values, not %d' % (name, len(values), count * width))
    return [tuple(values[i * width:(i + 1) * width]) for i in range(count)]


def read_psf(path):
    """{character: rows} of a PSF1 font with a Unicode table; the first glyph of a character wins."""
    data = gzip.open(path).read()
    if data[:2] != b'\x36\x04':
        sys.exit('%s: not a PSF1 font' % path)
    mode, height = data[2], data[3]
    count = 512 if mode & 1 else 256
    if not mode & 6:
        sys.exit('%s: no Unicode table' % path)
    glyphs = [tuple(data[4 + i * height:4 + (i + 1) * height]) for i in range(count)]
    table = data[4 + count * height:]
    result, glyph, in_sequence = {}, 0, False
    for (value,) in struct.iter_unpack('<H', table[:len(table) // 2 * 2]):
        if glyph >= count:
            break
        if value == 0xFFFF:
            glyph, in_sequence = glyph + 1, False
        elif value == 0xFFFE:
            in_sequence = True
        elif not in_sequence:
            result.setdefault(value, glyphs[glyph])
    return height, result


def sheet_bmp(glyphs8):
    """48 x 368, one bit a pixel, black (0) glyphs on white (1), bottom row first."""
    width, height, stride = 48, 368, 8
    pixels = bytearray(b'\xFF' * (stride * height))
    for byte in range(2, 256):
        cell = byte - 2
        column, row = cell // 46, cell % 46
        for y, bits in enumerate(glyphs8[byte]):
            pixels[(height - 1 - (row * 8 + y)) * stride + column] = bits ^ 0xFF
    header = struct.pack('<2sIHHI', b'BM', 62 + len(pixels), 0, 0, 62)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
    return header + info + b'\x00\x00\x00\x00\xFF\xFF\xFF\x00' + bytes(pixels)


def write(path, data):
    # Always written, so that the build sees its outputs newer than the script.
    with open(path, 'wb') as f:
        f.write(data.encode('ascii') if isinstance(data, str) else data)


def main(argv):
    if len(argv) != 5:
        sys.exit(__doc__)
    source, console, generated, sheets = argv[1:]
    with open(os.path.join(source, 'src', 'raster', 'ansi_fonts.inc')) as f:
        ansi = f.read()
    ibm = {16: read_c_array(ansi, 'kAnsiFont16', 256, 16), 8: read_c_array(ansi, 'kAnsiFont8', 256, 8)}
    with open(os.path.join(source, 'src', 'core', 'code_page_437.cpp')) as f:
        cp437 = [c[0] for c in read_c_array(f.read(), 'kCodePage437[256]', 256, 1)]
    byte_of_437 = {}
    for byte in range(1, 256):
        byte_of_437.setdefault(cp437[byte], byte)
    with open(os.path.join(source, 'src', 'raster', 'machine_fonts.inc')) as f:
        topaz = read_c_array(f.read(), 'kTopazFont', 256, 8)

    fonts = {h: [] for h in HEIGHTS}
    for name in FONT_ORDER:
        for h in HEIGHTS:
            path = os.path.join(console, '%s-VGA%d.psf.gz' % (name, h))
            if os.path.exists(path):
                font_height, table = read_psf(path)
                if font_height != h:
                    sys.exit('%s: %d rows' % (path, font_height))
                fonts[h].append(table)
    if not all(fonts.values()):
        sys.exit('no VGA console fonts in %s (install console-setup-linux)' % console)

    def ibm_glyph(c, h):
        byte = byte_of_437.get(c)
        if byte is None:
            return None
        return ibm[h][byte] if h != 14 else ibm[16][byte][1:15]

    def glyph(c, h):
        if c == 0:
            return (0,) * h, False
        if h != 14 and c in byte_of_437:
            return ibm_glyph(c, h), False
        for candidate in [c] + alternatives(c):
            for table in fonts[h]:
                # Some fonts list a character with a blank glyph (the 14-row
                # pilcrow of Uni2): only a space may be drawn blank.
                if candidate in table and (any(table[candidate]) or unicodedata.category(chr(c)) == 'Zs'):
                    return table[candidate], False
        found = ibm_glyph(c, h)
        return (found, False) if found else ((0,) * h, True)

    uppers = [cp437[0x80:] if page == 437 else code_page_upper(page) for page in CODE_PAGES]
    lines = ['// Generated by tools/make_screen_fonts.py at build time. Do not edit.',
             '// Bytes 0x80-0xFF of each code page, in kCodePages order; 0: undefined.',
             'const char16_t kCodePageUpper[%d][128] = {' % len(CODE_PAGES)]
    for page, chars in zip(CODE_PAGES, uppers):
        lines.append('    {  // %d' % page)
        for start in range(0, 128, 8):
            lines.append('        %s' % ' '.join('0x%04X,' % c for c in chars[start:start + 8]))
        lines.append('    },')
    write(os.path.join(generated, 'code_page_characters.inc'), '\n'.join(lines + ['};', '']))

    out = ['// Generated by tools/make_screen_fonts.py at build time from the IBM PC',
           '// fonts and the console fonts of console-setup-linux (public domain; see',
           '// src/resources/GLYPHS-LICENCE.md). Do not edit. One row a byte, bit 7',
           '// the leftmost pixel.']
    glyphs8 = {}
    for h in HEIGHTS:
        where, index = {}, []
        lacking = []
        lower = None
        for page, upper in zip(CODE_PAGES, uppers):
            rows = []
            for byte in range(256):
                if byte < 0x80 and lower is not None:
                    rows.append(lower[byte])
                    continue
                if page == 437 and h != 14:
                    rows.append(ibm[h][byte])  # exactly the IBM font, blanks included
                    continue
                c = cp437[byte] if byte < 0x80 else upper[byte - 0x80]
                g, missing = glyph(c, h)
                if missing:
                    lacking.append((page, byte, c))
                rows.append(g)
            if lower is None:
                lower = rows[:0x80]
            if h == 8:
                glyphs8[page] = rows
            index.append([where.setdefault(g, len(where)) for g in rows])
        pool = sorted(where, key=where.get)
        out.append('const uint8_t kGlyphPool%d[%d][%d] = {' % (h, len(pool), h))
        out += ['    {%s},' % ', '.join('0x%02X' % r for r in g) for g in pool]
        out.append('};')
        out.append('const uint16_t kGlyphIndex%d[%d][256] = {' % (h, len(CODE_PAGES)))
        for page, row in zip(CODE_PAGES, index):
            out.append('    {  // %d' % page)
            out += ['        %s' % ' '.join('%d,' % i for i in row[s:s + 16]) for s in range(0, 256, 16)]
            out.append('    },')
        out.append('};')
        for page in CODE_PAGES:
            missing = [(b, c) for p, b, c in lacking if p == page]
            print('screen fonts: code page %d, %d rows: %d glyphs lacking%s' % (
                page, h, len(missing),
                (' (' + ' '.join('%02X:U+%04X' % m for m in missing) + ')') if missing else ''))
    write(os.path.join(generated, 'screen_font_tables.inc'), '\n'.join(out + ['']))

    os.makedirs(sheets, exist_ok=True)
    for page in CODE_PAGES[1:]:
        write(os.path.join(sheets, 'cp%d.bmp' % page), sheet_bmp(glyphs8[page]))
        write(os.path.join(sheets, 'cp%d.ini' % page), 'IBM %d (%s)\r\n' % (page, NAMES[page]))
    write(os.path.join(sheets, 'topaz.bmp'), sheet_bmp(topaz))
    write(os.path.join(sheets, 'topaz.ini'), 'Amiga Topaz\r\n')


if __name__ == '__main__':
    main(sys.argv)
