#!/usr/bin/env python3
"""Write the sample art in samples/ byte for byte.

Usage: tools/make_samples.py [OUTDIR]

The pieces are drawn here as Unicode text and encoded to code page 437, so
every box-drawing, block and shade character becomes one byte (176..223)
and the picture can be reviewed in this file. Line ends and escape
sequences are added by the writers below:

  quillpane.nfo   release notes with a half-block logo, CR LF
  file_id.diz     archive description, 45 x 10 at most, CR LF
  harbour.ans     ANSI art: colour codes, ESC [ n C runs, ESC [ s / u, CR LF
  lighthouse.asc  plain ASCII art, LF
  sailboat.asc    Amiga ASCII: Latin-1 strokes and letters for the Topaz
                  font, LF, no SAUCE record

and the harbour again in each scene format the program reads, its cells
(character and VGA attribute) encoded by the writers below, with a caption
row naming the format:

  harbour.xb   XBin, compressed rows, the default font and palette
  harbour.bin  BinaryText, 80 columns as its SAUCE record says
  harbour.adf  Artworx: the EGA palette and the IBM PC 8x16 font
  harbour.idf  iCEDraw: runs of a repeated cell, the font and VGA palette
  harbour.tnd  TundraDraw: cursor moves and 24-bit colours
  harbour.pcb  PCBoard: @X colours, CR LF
  harbour.avt  Avatar/0: attribute commands and repeated characters, CR LF

and a small pack, night.zip, holding three of the pieces in a folder and
one beside it. The font the Artworx and iCEDraw files carry is read from
src/raster/ansi_fonts.inc, the program's own copy of the public-domain IBM
PC font.

All of it is original work of the Quillpane team.
"""

import os
import re
import struct
import sys
import zipfile

CRLF = '\r\n'
ESC = '\x1b'


def cp437(text):
    return text.encode('cp437')


# --- quillpane.nfo ---------------------------------------------------------

# A 5 x 7 pixel alphabet for the logo ('Q' has a tail in an eighth row).
LETTERS = {
    'Q': ['.###.', '#...#', '#...#', '#...#', '#.#.#', '#..#.', '.##.#',
          '....#'],
    'U': ['#...#', '#...#', '#...#', '#...#', '#...#', '#...#', '.###.'],
    'I': ['###', '.#.', '.#.', '.#.', '.#.', '.#.', '###'],
    'L': ['#....', '#....', '#....', '#....', '#....', '#....', '#####'],
    'P': ['####.', '#...#', '#...#', '####.', '#....', '#....', '#....'],
    'A': ['.###.', '#...#', '#...#', '#####', '#...#', '#...#', '#...#'],
    'N': ['#...#', '##..#', '#.#.#', '#..##', '#...#', '#...#', '#...#'],
    'E': ['#####', '#....', '#....', '####.', '#....', '#....', '#####'],
}


def half_block_logo(word):
    """Set `word` in LETTERS, two pixel rows per text row (upper and lower
    half blocks), one blank column between letters."""
    rows = ['' for _ in range(8)]
    for n, letter in enumerate(word):
        glyph = LETTERS[letter] + ['.' * len(LETTERS[letter][0])] * 8
        for y in range(8):
            rows[y] += ('.' if n else '') + glyph[y]
    lines = []
    for top, bottom in zip(rows[0::2], rows[1::2]):
        lines.append(''.join(' ▀▄█'[(t == '#') + 2 * (b == '#')]
                             for t, b in zip(top, bottom)))
    return lines


def nfo():
    width = 78                       # frame width; every line is <= 79
    inner = width - 2
    out = []

    def centred(text):
        return (' ' + text.center(width)).rstrip()

    def boxed(text=''):
        out.append(' ║  ' + text.ljust(inner - 4) + '  ║')

    def rule(title=''):
        if not title:
            out.append(' ╟' + '─' * inner + '╢')
            return
        boxed()
        out.append(' ╟─ ' + title + ' ' + '─' * (inner - len(title) - 3) + '╢')

    out.append(centred('▄' * 64))
    out.append(centred('░▒▓' + '█' * 58 + '▓▒░'))
    out.append('')
    for line in half_block_logo('QUILLPANE'):
        out.append(' ░▒▓' + line.center(width - 6) + '▓▒░')
    out.append('')
    out.append(centred('a quiet window for loud text art'))
    out.append(centred('▀' * 64))
    out.append(' ╔' + '═' * inner + '╗')
    boxed('RELEASE NOTES' + ' ' * 40 + 'sample piece 1/4')
    rule()
    boxed('program ..........  Quillpane')
    boxed('runs on ..........  Windows, 32-bit')
    boxed('reads ............  .NFO  .DIZ  .ANS  .ASC')
    boxed('draws with .......  the IBM PC 8x8 font, code page 437')
    boxed('rows .............  92 cells wide')
    rule('ABOUT')
    boxed('Quillpane shows the text art of the BBS years the way it was')
    boxed('drawn: every byte one 8x8 cell, black ink on white paper. ANSI')
    boxed('colour codes are read and set aside; cursor moves are followed,')
    boxed('so pictures built out of jumps still line up.')
    rule('KEYS')
    boxed('keypad + and -      zoom in whole pixels, up to 15 per dot')
    boxed('Page Up, Page Down  step through the art in the same folder')
    boxed('Esc                 close the window')
    rule('IN THIS FILE')
    boxed('single ─ │ ┌ ┐ └ ┘ ├ ┤ ┬ ┴ ┼    double ═ ║ ╔ ╗ ╚ ╝ ╠ ╣ ╦ ╩ ╬')
    boxed('mixed  ╒ ╕ ╘ ╛ ╞ ╡ ╤ ╧ ╪ ╓ ╖ ╙ ╜ ╟ ╢ ╥ ╨ ╫')
    boxed('shades ░░ ▒▒ ▓▓ ██    halves ▀▀ ▄▄ ▌▐ ▐▌')
    boxed()
    out.append(' ╚' + '═' * inner + '╝')
    out.append('')
    out.append(centred('░▒▓█▀  the Quillpane team  ▀█▓▒░'))
    return cp437(CRLF.join(out) + CRLF)


# --- file_id.diz -----------------------------------------------------------

DIZ = [
    '░▒▓█▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀▀█▓▒░',
    '░▒▓█  Q U I L L P A N E                  █▓▒░',
    '░▒▓█▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄▄█▓▒░',
    '  A small Windows viewer for text-mode art:',
    '  .NFO .DIZ .ANS .ASC, drawn in the IBM PC',
    '  8x8 font, black on white, zoomed in whole',
    '  pixels. Comes with four sample pieces.',
    ' ─────────────────────────────────────────── ',
    '  freeware         ░ ▒ ▓ █         [01/01]',
]


def diz():
    return cp437(CRLF.join(line.rstrip() for line in DIZ) + CRLF)


# --- harbour.ans -----------------------------------------------------------

# The picture; the colours come from HARBOUR_COLOURS below. Runs of three or
# more blanks are written as cursor-forward sequences.
HARBOUR = [
    '     .                 *               .                  ▄▄▄▄',
    ' *          .                 .               +         ▄██▀▀',
    '                 .                   *                 ██▀          .',
    '        +                 .                    .       ██▄',
    '  .                .                  .                 ▀██▄▄     *',
    '              .               *                  .        ▀▀▀▀',
    '      ▄█▄             ▄▄',
    '    ▄█████▄        ▄██████▄   ▐▌                                    ▄',
    '  ▄█████████▄    ▄██████████▄ ▐▌               ▐                   ▐█▌',
    '  ██  █  ██ █▄▄▄▄█  ██  ██  █▄█▌               ▐▄          ▐       ▀█▀',
    '  ██  █  ██ ██████  ██  ██  ████▄▄▄▄           ▐█▄         ▐▄      ▐▓▌',
    '  ███████████  ███████████████  ██▌            ▐██▄        ▐█▄     ▐▓▌',
    '  ███  ▄▄  ██  ██  ▄▄▄  ██████  ██▌            ▐███▄       ▐██▄    ▐▓▌',
    '▄▄███▄▄██▄▄██▄▄██▄▄███▄▄██████▄▄██▌▄▄   ▀▀███████████▀ ▀▀████████▀▄▄███▄▄',
    '▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓     ▒▒▓▓▓▓▓▓▓▒▒    ▒▒▓▓▓▓▒▒  ▓▓▓▓▓▓▓▓',
    '▒▒ ▒▒▒ ▒▒ ▒▒▒▒ ▒▒ ▒▒▒ ▒▒▒ ▒▒▒▒ ▒▒ ▒▒▒       ░▒▒▒▒▒░       ░▒▒░    ▒▒ ▒░▒▒',
    '░  ░░   ░░ ░  ░░   ░ ░░  ░  ░░ ░   ░        ░ ░ ░          ░░       ░ ░',
    '   ░       ░      ░       ░      ░     ░░          ░   ░▒▓▒░     ░   ░',
    '     ░░       ░       ░░       ░          ░      ░     ░▒▓▒░         ░',
    ' ▄▀▀▄       ▄▀▀▄         ▄▀▀▄       ▄▀▀▄       ▄▀▀▄     ░▒░  ▄▀▀▄',
    '     ▀▄▄▄▀▀     ▀▄▄▄▀▀▀▀     ▀▄▄▄▀▀    ▀▄▄▄▀▀    ▀▄▄▄▀ ░  ▀▀    ▀▄▄▄▀▀',
    '    ░        ░           ░         ░          ░                 ░',
]

# (first row, last row, first column, last column, SGR parameters); the last
# rectangle that holds a cell gives its colour.
HARBOUR_COLOURS = [
    (0, 5, 0, 79, '0;37'),            # night sky, stars
    (0, 5, 54, 62, '1;33'),           # the moon
    (6, 13, 0, 36, '0;31'),           # harbour houses and quay
    (7, 13, 29, 31, '1;30'),          # a flagpole
    (7, 13, 37, 66, '1;37'),          # the boats
    (13, 13, 37, 66, '0;33'),         # their hulls
    (6, 13, 67, 79, '1;36'),          # the harbour light
    (8, 8, 67, 79, '1;33'),
    (14, 21, 0, 79, '0;34'),          # water
    (14, 15, 37, 66, '0;33'),         # hulls mirrored
    (17, 20, 52, 60, '1;33'),         # the moon on the water
    (19, 21, 0, 79, '1;34'),          # waves
]


def harbour_colour(row, col):
    sgr = '0'
    for r0, r1, c0, c1, params in HARBOUR_COLOURS:
        if r0 <= row <= r1 and c0 <= col <= c1:
            sgr = params
    return sgr


def ansi_row(text, row, state, first=0):
    """Encode `text`, which starts in column `first` of picture row `row`:
    colour changes as ESC [ ... m before the cell that needs them, runs of
    three or more blanks as ESC [ n C."""
    out = ''
    col = 0
    while col < len(text):
        if text[col] == ' ':
            run = len(text[col:]) - len(text[col:].lstrip(' '))
            out += (ESC + '[%dC' % run) if run >= 3 else ' ' * run
            col += run
            continue
        sgr = harbour_colour(row, first + col)
        if sgr != state[0]:
            out += ESC + '[' + sgr + 'm'
            state[0] = sgr
        out += text[col]
        col += 1
    return out


MOON_ROWS = 6      # rows 0..5 carry the moon, right of column 50


def first_block(text, start):
    """Column of the first block character at or after `start`, or -1."""
    found = [i for i in range(start, len(text)) if text[i] in '▀▄█']
    return found[0] if found else -1


def harbour():
    state = ['']
    rows = [line.rstrip() for line in HARBOUR]
    out = ESC + '[0m'
    for row, text in enumerate(rows):
        moon = first_block(text, 50) if row < MOON_ROWS else -1
        if moon >= 0:
            # Mark the start of the row, jump ahead and draw the moon, then
            # come back (ESC [ u) for the stars.
            out += ESC + '[s' + ESC + '[%dC' % moon
            out += ansi_row(text[moon:], row, state, moon)
            out += ESC + '[u'
            out += ansi_row(text[:moon].rstrip(), row, state)
        else:
            out += ansi_row(text, row, state)
        out += CRLF
    out += ESC + '[0m' + CRLF
    return cp437(out)


# --- lighthouse.asc --------------------------------------------------------

LIGHTHOUSE = r'''
                         \    |    /
                      .   \   |   /   .
                   ---- .  \  |  /  . ----
                            .---.
             ------------  |[###]|  ------------
                          _|_____|_
                          \_______/
                           |     |
                           |#####|
                           |     |
                           |#####|
                           |  _  |
                           | | | |
                           |#####|
                          /|     |\
                         / |  _  | \
                        /  | | | |  \
              _/\_     /___|_|_|_|___\     _/\__
          __/\/   \___/_______________\___/     \/\__
   ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~
     ~~~   ~~~~~    ~~~    ~~~~   ~~~~~    ~~~    ~~~~~   ~~~
        ~~      ~~~      ~~~~       ~~      ~~~~      ~~
   .:.  the light on the point  .:.  keeps the harbour  .:.
'''


def lighthouse():
    lines = LIGHTHOUSE.strip('\n').split('\n')
    return ('\n'.join(line.rstrip() for line in lines) + '\n').encode('ascii')


# --- sailboat.asc ----------------------------------------------------------

# Drawn the Amiga way, for Topaz: Latin-1's strokes (the macron, the middle
# dot, the cedilla and the acute accent) and letters, which code page 437
# shows as line pieces.
SAILBOAT = r'''
                                   ¸
                                  /|\¸
                                 / | `\
                                /  |  ·\¸
                               / · |    `\
                              /    |      \¸
                             /  ·  |   ·   `\
                            /      |         \¸
                           /   ·   |      ·   `\
                          /        |            \¸
                         /____·____|______________\
                 __________________|_____________________
                 \   ¤     ¤     ¤     ¤     ¤     ¤     /
        ¸·´¯`·¸   \_____________________________________/   ¸·´¯`·¸
  ¯¯¯  ¸·´   `·¸   ¯¯¯¯   ¸·´¯`·¸   ¯¯¯¯¯   ¸·´¯`·¸   ¯¯¯¯  ¸·´   `·¸  ¯¯¯
     ¸·´¯¯¯¯¯¯¯`·¸      ¯¯¯      ¸·´¯`·¸      ¯¯¯      ¸·´¯¯¯¯¯¯¯`·¸
  ·  schöne Grüße vom Hafen  ·  drawn for Topaz  ·  the Quillpane team  ·
'''


def sailboat():
    lines = SAILBOAT.strip('\n').split('\n')
    return ('\n'.join(line.rstrip() for line in lines) + '\n').encode('latin-1')


# --- the harbour in the scene formats --------------------------------------

# ANSI's colour order to the VGA attribute's (red and blue trade places).
VGA_OF_ANSI = [0, 4, 2, 6, 1, 5, 3, 7]
CAPTION_ATTRIBUTE = 0x08           # dark grey on black

# The 16 VGA colours as 6-bit DAC values.
VGA_PALETTE = [(0, 0, 0), (0, 0, 42), (0, 42, 0), (0, 42, 42), (42, 0, 0),
               (42, 0, 42), (42, 21, 0), (42, 42, 42), (21, 21, 21),
               (21, 21, 63), (21, 63, 21), (21, 63, 63), (63, 21, 21),
               (63, 21, 63), (63, 63, 21), (63, 63, 63)]


def attribute_of(sgr):
    """The VGA attribute of the SGR parameters HARBOUR_COLOURS uses."""
    bold, colour = 0, 7
    for param in sgr.split(';'):
        n = int(param)
        if n == 1:
            bold = 8
        elif 30 <= n <= 37:
            colour = VGA_OF_ANSI[n - 30]
    return bold + colour


def harbour_cells(caption):
    """The harbour as rows of 80 (character byte, attribute) cells, and a
    caption row under it."""
    rows = []
    for row, text in enumerate(HARBOUR):
        text = text.ljust(80)[:80]
        rows.append([(cp437(ch)[0], attribute_of(harbour_colour(row, col)))
                     for col, ch in enumerate(text)])
    rows.append([(b, CAPTION_ATTRIBUTE) for b in cp437(caption.center(80))])
    return rows


def vga_font():
    """The 256 x 16 font of src/raster/ansi_fonts.inc, 4096 bytes."""
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(root, 'src', 'raster', 'ansi_fonts.inc')) as f:
        text = f.read()
    table = text[text.index('kAnsiFont16'):text.index('kAnsiFont8')]
    font = bytes(int(v, 16) for v in re.findall(r'0x([0-9A-Fa-f]{2})', table))
    assert len(font) == 4096
    return font


def sauce(title, data_type, file_type, width, height, length):
    """A SAUCE record, after the end-of-file byte."""
    record = b'SAUCE00' + title.encode('ascii').ljust(35)
    record += b'the Quillpane team'.ljust(20) + b''.ljust(20) + b'20260101'
    record += struct.pack('<IBBHHHHBB', length, data_type, file_type, width,
                          height, 0, 0, 0, 0) + bytes(22)
    assert len(record) == 128
    return b'\x1a' + record


def runs(cells, same, most):
    """Cuts `cells` into runs of neighbours `same` says belong together, at
    most `most` long."""
    out = []
    for cell in cells:
        if out and len(out[-1]) < most and same(out[-1][-1], cell):
            out[-1].append(cell)
        else:
            out.append([cell])
    return out


def xbin(rows):
    out = b'XBIN\x1a' + struct.pack('<HHBB', 80, len(rows), 16, 0x04)
    for row in rows:
        # Per row: three or more of one cell as a repeat (kind 11), the rest
        # as characters in one attribute (kind 10); at most 64 a run.
        x = 0
        while x < len(row):
            same = 1
            while x + same < len(row) and same < 64 and row[x + same] == row[x]:
                same += 1
            if same >= 3:
                out += bytes([0xC0 | same - 1]) + bytes(row[x])
                x += same
                continue
            end = x + 1
            while (end < len(row) and end - x < 64 and row[end][1] == row[x][1]
                   and row[end:end + 3] != [row[end]] * 3):
                end += 1
            out += bytes([0x80 | end - x - 1, row[x][1]]) + bytes(c[0] for c in row[x:end])
            x = end
    return out


def binary_text(rows):
    cells = b''.join(bytes(cell) for row in rows for cell in row)
    return cells + sauce('Harbour (BinaryText)', 5, 40, 0, 0, len(cells))


def artworx(rows):
    palette = b''
    for i in range(64):        # the EGA's 64 colours, 6-bit values
        palette += bytes([42 * (i >> 2 & 1) + 21 * (i >> 5 & 1),
                          42 * (i >> 1 & 1) + 21 * (i >> 4 & 1),
                          42 * (i & 1) + 21 * (i >> 3 & 1)])
    cells = b''.join(bytes(cell) for row in rows for cell in row)
    return bytes([1]) + palette + vga_font() + cells


def icedraw(rows):
    out = b'\x041.4' + struct.pack('<HHHH', 0, 0, 79, len(rows) - 1)
    cells = [cell for row in rows for cell in row]
    # A run of four or more of one cell is written 01 00, a count, the cell.
    for run in runs(cells, lambda a, b: a == b, 255):
        if len(run) >= 4:
            out += b'\x01\x00' + struct.pack('<H', len(run)) + bytes(run[0])
        else:
            out += b''.join(bytes(cell) for cell in run)
    palette = b''.join(bytes(rgb) for rgb in VGA_PALETTE)
    return out + vga_font() + palette


def tundra_draw(rows):
    def colour(index):
        return bytes([0] + [v << 2 | v >> 4 for v in VGA_PALETTE[index]])
    out = b'\x18TUNDRA24'
    attribute = None
    for y, row in enumerate(rows):
        # Each row starts at its first column; blanks at its end are left out.
        row = row[:max([x + 1 for x, c in enumerate(row) if c[0] != 32] or [0])]
        out += b'\x01' + struct.pack('>II', y, 0)
        for ch, attr in row:
            if attr != attribute:
                out += b'\x06' + bytes([ch]) + colour(attr & 15) + colour(attr >> 4)
                attribute = attr
            else:
                out += bytes([ch])
    return out


def blank_runs(row, write_cells, skip):
    """Writes `row` (its trailing blanks left out) through write_cells(cells)
    for the drawn parts and skip(column, count) for runs of three or more
    blanks."""
    row = row[:max([x + 1 for x, c in enumerate(row) if c[0] != 32] or [0])]
    x = 0
    while x < len(row):
        end = x
        while end < len(row) and row[end][0] == 32:
            end += 1
        if end - x >= 3:
            skip(end, end - x)
            x = end
            continue
        end = max(end, x + 1)
        write_cells(row[x:end])
        x = end


def pcboard(rows):
    out = []
    state = [None]

    def write(cells):
        for ch, attr in cells:
            if attr != state[0]:
                out.append(b'@X%02X' % attr)
                state[0] = attr
            out.append(bytes([ch]))

    # Blanks stay blanks: not every reader knows @POS:n@.
    for row in rows:
        blank_runs(row, write, lambda column, count: write([(32, state[0])] * count))
        out.append(b'\r\n')
    return b'@CLS@' + b''.join(out) + b'\x1a'


def avatar(rows):
    out = []
    state = [None]

    def write(cells):
        for run in runs(cells, lambda a, b: a == b, 255):
            ch, attr = run[0]
            if attr != state[0]:
                out.append(bytes([0x16, 0x01, attr]))
                state[0] = attr
            if len(run) >= 4:
                out.append(bytes([0x19, ch, len(run)]))
            else:
                out.append(bytes([ch]) * len(run))

    for row in rows:
        blank_runs(row, write, lambda column, count: out.append(bytes([0x19, 32, count])))
        out.append(b'\r\n')
    return b'\x0c' + b''.join(out)


SCENE_FORMATS = [
    ('harbour.xb', 'XBin', None),
    ('harbour.bin', 'BinaryText', binary_text),
    ('harbour.adf', 'Artworx', artworx),
    ('harbour.idf', 'iCEDraw', icedraw),
    ('harbour.tnd', 'TundraDraw', tundra_draw),
    ('harbour.pcb', 'PCBoard', pcboard),
    ('harbour.avt', 'Avatar/0', avatar),
]


def night_pack(pieces):
    """A ZIP pack: three pieces in a folder, deflated, and one beside it,
    stored; its dates fixed."""
    import io
    data = io.BytesIO()
    with zipfile.ZipFile(data, 'w') as pack:
        for name, folder, method in (('harbour.ans', 'night/', zipfile.ZIP_DEFLATED),
                                     ('lighthouse.asc', 'night/', zipfile.ZIP_DEFLATED),
                                     ('harbour.xb', 'night/', zipfile.ZIP_DEFLATED),
                                     ('file_id.diz', '', zipfile.ZIP_STORED)):
            entry = zipfile.ZipInfo(folder + name, date_time=(2026, 1, 1, 0, 0, 0))
            entry.compress_type = method
            entry.external_attr = 0o644 << 16
            pack.writestr(entry, pieces[name])
    return data.getvalue()


# ---------------------------------------------------------------------------

def main(argv):
    if len(argv) > 2:
        sys.exit(__doc__.split('\n\n')[1])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    outdir = argv[1] if len(argv) > 1 else os.path.join(root, 'samples')
    os.makedirs(outdir, exist_ok=True)
    pieces = {'quillpane.nfo': nfo(), 'file_id.diz': diz(),
              'harbour.ans': harbour(), 'lighthouse.asc': lighthouse(),
              'sailboat.asc': sailboat()}
    for name, title, writer in SCENE_FORMATS:
        rows = harbour_cells('%s  \xb7  %s  \xb7  the Quillpane team' % (name, title))
        pieces[name] = (writer or xbin)(rows)
    pieces['night.zip'] = night_pack(pieces)
    for name, data in pieces.items():
        with open(os.path.join(outdir, name), 'wb') as f:
            f.write(data)
        print('wrote %s (%d bytes)' % (name, len(data)))


if __name__ == '__main__':
    main(sys.argv)
