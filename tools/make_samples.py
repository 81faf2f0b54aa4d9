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

All of it is original work of the Quillpane team.
"""

import os
import sys

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


# ---------------------------------------------------------------------------

def main(argv):
    if len(argv) > 2:
        sys.exit(__doc__.split('\n\n')[1])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    outdir = argv[1] if len(argv) > 1 else os.path.join(root, 'samples')
    os.makedirs(outdir, exist_ok=True)
    for name, data in (('quillpane.nfo', nfo()), ('file_id.diz', diz()),
                       ('harbour.ans', harbour()),
                       ('lighthouse.asc', lighthouse())):
        with open(os.path.join(outdir, name), 'wb') as f:
            f.write(data)
        print('wrote %s (%d bytes)' % (name, len(data)))


if __name__ == '__main__':
    main(sys.argv)
