#!/usr/bin/env python3
"""Draws the toolbar bitmaps, preview buttons, application icon and mouse
cursors as XPM files in src/gui/resources/images/.

Every image is built here, either from pixel art written out below or from
a few drawing helpers (lines, curves, outlines), and written with a fixed
16-colour palette so all of them share one look. The XPM files are
committed; rerun this script after changing a drawing:

    python3 tools/draw_images.py           # rewrite the files
    python3 tools/draw_images.py --check   # fail if a file is out of date
"""

import pathlib
import sys

# One character per colour, the same in every file. The 16 colours are the
# classic VGA set; 'P' is the chart's plot face and appears in the icon only.
PALETTE = {
    '.': 'None',
    'k': '#000000',  # black
    'n': '#000080',  # navy
    'g': '#008000',  # green
    't': '#008080',  # teal
    'm': '#800000',  # maroon
    'p': '#800080',  # purple
    'o': '#808000',  # olive
    's': '#C0C0C0',  # silver
    'd': '#808080',  # gray
    'b': '#0000FF',  # blue
    'l': '#00FF00',  # lime
    'a': '#00FFFF',  # aqua
    'r': '#FF0000',  # red
    'f': '#FF00FF',  # fuchsia
    'y': '#FFFF00',  # yellow
    'w': '#FFFFFF',  # white
    'P': '#60A0C0',  # plot face, RGB(96, 160, 192)
}

OUT = pathlib.Path(__file__).resolve().parent.parent / 'src' / 'gui' / 'resources' / 'images'


class Canvas:
    def __init__(self, w, h, art=None):
        self.w, self.h = w, h
        self.px = [['.'] * w for _ in range(h)]
        self.hotspot = None
        if art is not None:
            self.blit(art, 0, 0, exact=True)

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y][x]
        return '.'

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def blit(self, art, x0, y0, exact=False):
        """Copies pixel art; '.' leaves the canvas as it is (unless exact)."""
        rows = [r for r in art.strip('\n').split('\n')]
        if exact:
            assert len(rows) == self.h, (len(rows), self.h)
        for dy, row in enumerate(rows):
            row = row.rstrip()
            if exact:
                assert len(row) == self.w, (dy, len(row), row)
            for dx, c in enumerate(row):
                if c == ' ':
                    continue
                if c != '.' or exact:
                    assert c in PALETTE, c
                    self.set(x0 + dx, y0 + dy, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def polyline(self, pts, c):
        for (a, b) in zip(pts, pts[1:]):
            self.line(a[0], a[1], b[0], b[1], c)

    def rect(self, l, t, r, b, c):
        """Outline with both corners included."""
        self.line(l, t, r, t, c)
        self.line(r, t, r, b, c)
        self.line(r, b, l, b, c)
        self.line(l, b, l, t, c)

    def fill(self, l, t, r, b, c):
        for y in range(t, b + 1):
            for x in range(l, r + 1):
                self.set(x, y, c)

    def outline(self, inside, c, diagonal=True):
        """Puts colour c on every transparent pixel touching a pixel of a
        colour in `inside` (with diagonals: an 8-neighbour outline)."""
        marks = []
        for y in range(self.h):
            for x in range(self.w):
                if self.px[y][x] != '.':
                    continue
                for dx in (-1, 0, 1):
                    for dy in (-1, 0, 1):
                        if (dx or dy) and (diagonal or not (dx and dy)) \
                                and self.get(x + dx, y + dy) in inside:
                            marks.append((x, y))
        for (x, y) in marks:
            self.set(x, y, c)

    def xpm(self, name):
        used = sorted({c for row in self.px for c in row},
                      key=lambda c: list(PALETTE).index(c))
        header = f'{self.w} {self.h} {len(used)} 1'
        if self.hotspot is not None:
            header += f' {self.hotspot[0]} {self.hotspot[1]}'
        lines = ['/* XPM */', f'static const char *const {name}[] = {{',
                 f'/* columns rows colours chars-per-pixel'
                 + (' hotspot-x hotspot-y */' if self.hotspot else ' */'),
                 f'"{header}",']
        lines += [f'"{c} c {PALETTE[c]}",' for c in used]
        lines.append('/* pixels */')
        rows = [''.join(r) for r in self.px]
        lines += [f'"{r}",' for r in rows[:-1]] + [f'"{rows[-1]}"', '};']
        return '\n'.join(lines) + '\n'


def stroke(cv, pts, c):
    """A two-pixel pen: stamps a 2 x 2 square along the polyline."""
    layer = Canvas(cv.w, cv.h)
    layer.polyline(pts, c)
    for y in range(cv.h):
        for x in range(cv.w):
            if layer.px[y][x] == c:
                cv.fill(x, y, x + 1, y + 1, c)


def accent(cv, draw, diagonal=True):
    """Draws on a layer of its own, rings it in black and lays it over cv,
    so signs like arrows and plus signs stand out on anything below."""
    layer = Canvas(cv.w, cv.h)
    draw(layer)
    layer.outline(set(PALETTE) - {'.', 'k'}, 'k', diagonal)
    for y in range(cv.h):
        for x in range(cv.w):
            if layer.px[y][x] != '.':
                cv.px[y][x] = layer.px[y][x]


# ---------------------------------------------------------------------------
# Toolbar, 20 x 20

def open_folder():
    return Canvas(20, 20, '''
....................
....................
............kkk.....
...........k...k.k..
................kk..
..kkkk.........kkk..
.kwwwwk.............
.kwyyyykkkkkkkk.....
.kwyyyyyyyyyyyk.....
.kwyyyyyyyyyyyk.....
.kwyyykkkkkkkkkkkk..
.kwyykwwwwwwwwwwwk..
.kwyykwyyyyyyyyyok..
.kwykwyyyyyyyyyok...
.kwykwyyyyyyyyyok...
.kwkwyyyyyyyyyok....
.kykwyyyyyyyyyok....
.kkkkkkkkkkkkkkk....
....................
....................
''')


def floppy():
    return Canvas(20, 20, '''
....................
....................
..kkkkkkkkkkkkkkk...
..knnwwwwwwwwwwnnk..
..knnwwwwwwwwwwnnk..
..knnwddddddddwnnk..
..knnwwwwwwwwwwnnk..
..knnwddddddddwnnk..
..knnwwwwwwwwwwnnk..
..knnnnnnnnnnnnnnk..
..knnnnnnnnnnnnnnk..
..knnnssssssssnnnk..
..knnnsnnssssssnnk..
..knnnsnnssssssnnk..
..knnnsnnssssssnnk..
..kwnnssssssssnnnk..
..knnnssssssssnnnk..
..kkkkkkkkkkkkkkkk..
....................
....................
''')


def axes(cv):
    """The small plot every curve button shares: black axes with ticks."""
    cv.line(2, 1, 2, 17, 'k')
    cv.line(2, 17, 18, 17, 'k')
    for t in (5, 9, 13):
        cv.set(1, t, 'k')
    for t in (6, 10, 14):
        cv.set(t, 18, 'k')


STAR = '''
...k...
..kyk..
kkkykkk
kyyyyyk
.kyyyk.
.kykyk.
.kk.kk.
'''


def generate():
    cv = Canvas(20, 20)
    axes(cv)
    stroke(cv, [(4, 15), (5, 12), (6, 10), (8, 8), (10, 7), (12, 7),
                (14, 8), (16, 10), (17, 12)], 'b')
    cv.blit(STAR, 13, 0)
    return cv


def pencil(cv, tip, length):
    """A pencil lying diagonally, its point at `tip` (lower left)."""
    def draw(layer):
        tx, ty = tip
        for y in range(layer.h):
            for x in range(layer.w):
                s = ((x - tx) - (y - ty)) / 2.0   # along, from the point
                a = (x - tx) + (y - ty)           # across the pencil
                if not 0 <= s <= length or abs(a) > 1:
                    continue
                if s < 1:
                    c = 'k' if a == 0 else None          # the lead
                elif s < 2.5:
                    c = 'o' if a == 0 or s >= 2 else None  # bare wood
                elif s < length - 2:
                    c = 'y' if a <= 0 else 'o'           # painted body
                elif s < length - 1:
                    c = 's'                              # ferrule
                else:
                    c = 'r'                              # eraser
                if c:
                    layer.set(x, y, c)
    accent(cv, draw, diagonal=False)


def sheet():
    cv = Canvas(20, 20)
    page(cv, 2, 1, 15, 18, fold=4)
    pencil(cv, (7, 17), 11)
    return cv


TABLE = '''
....................
.kkkkkkkkkkkkkkk....
.knnnnnnknnnnnnk....
.kkkkkkkkkkkkkkk....
.kwwwwwwkwwwwwwk....
.kdddddddddddddk....
.kwwwwwwkwwwwwwk....
.kdddddddddddddk....
.kwwwwwwkwwwwwwk....
.kdddddddddddddk....
.kwwwwwwkwwwwwwk....
.kkkkkkkkkkkkkkk....
....................
....................
....................
....................
....................
....................
....................
....................
'''


def add_line():
    cv = Canvas(20, 20, TABLE)
    cv.blit('''
...kkkk...
...kllk...
...kllk...
kkkkllkkkk
kllllllllk
kllllllllk
kkkkllkkkk
...kllk...
...kllk...
...kkkk...
''', 9, 9)
    return cv


def remove_line():
    cv = Canvas(20, 20, TABLE)
    cv.blit('''
kkkkkkkkkk
krrrrrrrrk
krrrrrrrrk
kkkkkkkkkk
''', 9, 12)
    return cv


def updown_arrow(layer, x, top, bottom, c):
    layer.line(x, top, x, bottom, c)
    for i in (1, 2):
        layer.line(x - i, top + i, x + i, top + i, c)
        layer.line(x - i, bottom - i, x + i, bottom - i, c)


def rescale():
    cv = Canvas(20, 20)
    axes(cv)
    xs = (3, 5, 7, 9, 11, 12)
    heights = (2, 5, 6, 7, 6, 5)
    cv.polyline([(x, 16 - h) for x, h in zip(xs, heights)], 'd')
    stroke(cv, [(x, 15 - 2 * h) for x, h in zip(xs, heights)], 'b')
    accent(cv, lambda layer: updown_arrow(layer, 16, 2, 15, 'r'), diagonal=False)
    return cv


def resolution():
    cv = Canvas(20, 20)
    axes(cv)
    hump = [(3, 12), (5, 8), (7, 6), (9, 5), (11, 5), (13, 6), (15, 8), (17, 10)]
    cv.polyline(hump, 'd')
    for x, y in hump:
        cv.fill(x, y - 1, x + 1, y, 'b')

    def arrows(layer):
        layer.line(5, 14, 15, 14, 'r')
        for i in (1, 2):
            layer.line(5 + i, 14 - i, 5 + i, 14 + i, 'r')
            layer.line(15 - i, 14 - i, 15 - i, 14 + i, 'r')
    accent(cv, arrows, diagonal=False)
    return cv


def bend():
    cv = Canvas(20, 20)
    axes(cv)
    for x in range(10, 19, 2):                     # the tail as it was
        cv.set(x, 6 + (x - 9) // 3, 'd')
    stroke(cv, [(3, 16), (4, 12), (5, 9), (6, 7), (8, 6), (10, 7),
                (12, 9), (14, 12), (16, 14)], 'g')

    def arc(layer):                               # bending it down
        layer.polyline([(9, 3), (10, 2), (11, 1), (14, 1), (15, 2), (16, 3),
                        (16, 5)], 'r')
        layer.line(15, 5, 17, 5, 'r')
        layer.set(16, 6, 'r')
    accent(cv, arc, diagonal=False)
    return cv


def undo_arrow(mirrored=False):
    """A blue arrow that turns back on itself: it heads left along the top
    and hooks down at the right. Mirrored, it heads right: Redo."""
    cv = Canvas(20, 20)

    def draw(layer):
        stroke(layer, [(6, 5), (10, 5), (13, 6), (15, 8), (15, 11), (13, 14),
                       (10, 15), (7, 15)], 'b')
        for x, half in ((2, 0), (3, 1), (4, 2), (5, 3)):    # the head
            layer.line(x, 5 - half, x, 6 + half, 'b')
    accent(cv, draw, diagonal=False)
    if mirrored:
        for row in cv.px:
            row.reverse()
    return cv


def printer():
    return Canvas(20, 20, '''
....................
.....kkkkkkkkk......
.....kwwwwwwwk......
.....kwdddddwk......
.....kwwwwwwwk......
.....kwdddddwk......
....kkwwwwwwwkk.....
...kswkkkkkkkwsk....
..kkkkkkkkkkkkkkk...
..kwwwwwwwwwwwwsk...
..kwssssssssssssdk..
..kwssssssssslsddk..
..kwssssssssssssdk..
..kddddddddddddddk..
..kkkkkkkkkkkkkkkk..
...kwwwwwwwwwwwwk...
...kwdddddddddwk....
...kkkkkkkkkkkkk....
....................
....................
''')


# ---------------------------------------------------------------------------
# Preview, 19 x 17 and 39 x 20

def page(cv, l, t, r, b, fold=3, lines=True):
    """A white sheet with a dog-eared top right corner and lines of text."""
    cv.fill(l + 1, t + 1, r - 1, b - 1, 'w')
    cv.rect(l, t, r, b, 'k')
    for i in range(fold):                # cut the corner off
        for x in range(r - fold + 1 + i, r + 1):
            cv.set(x, t + i, '.')
    cv.line(r - fold, t, r, t + fold, 'k')
    cv.line(r - fold, t, r - fold, t + fold, 'k')
    cv.line(r - fold, t + fold, r, t + fold, 'k')
    for i in range(2, fold):
        cv.line(r - fold + 1, t + i, r - fold + i - 1, t + i, 'w')
    if lines:
        for y in range(t + 2, b - 1, 2):
            right = r - 2 if y > t + fold else r - fold - 2
            cv.line(l + 2, y, right, y, 'd')


def preview_page():
    cv = Canvas(19, 17)
    page(cv, 1, 0, 12, 15)
    cv.blit('''
..kkkk..
.kwwaak.
kwwaaaak
kwaaaaak
kaaaaaak
kaaaaaak
.kaaaakk
..kkkkkk
''', 3, 3)
    stroke(cv, [(9, 9), (15, 15)], 'k')
    return cv


def arrow(right):
    art = '''
...................
...................
...................
.........kk........
.........kbk.......
.........kbbk......
..kkkkkkkkbbbk.....
..kbbbbbbbbbbbk....
..kbbbbbbbbbbbbk...
..kbbbbbbbbbbbk....
..kkkkkkkkbbbk.....
.........kbbk......
.........kbk.......
.........kk........
...................
...................
...................
'''
    cv = Canvas(19, 17, art)
    if not right:
        for row in cv.px:
            row.reverse()
    return cv


def one_page():
    cv = Canvas(19, 17)
    page(cv, 5, 1, 14, 14)
    return cv


def two_pages():
    cv = Canvas(19, 17)
    page(cv, 0, 1, 8, 14)
    page(cv, 10, 1, 18, 14)
    return cv


def close_button():
    cv = Canvas(39, 20)
    cv.blit('''
..kkkk..kk.....................
.kk..kk.kk.....................
kk......kk..kkkk...kkkk...kkkk.
kk......kk.kk..kk.kk.....kk..kk
kk......kk.kk..kk..kkk...kkkkkk
kk......kk.kk..kk....kk..kk....
.kk..kk.kk.kk..kk.....kk.kk..kk
..kkkk..kk..kkkk..kkkkk...kkkk.
''', 4, 6)
    return cv


# ---------------------------------------------------------------------------
# Application icon

def icon32():
    """A dyno chart in a raised frame: torque (yellow), power (red) and
    compression (navy) on the chart's blue plot face with its white grid."""
    cv = Canvas(32, 32)
    cv.fill(0, 0, 31, 31, 's')
    cv.rect(0, 0, 31, 31, 'k')
    cv.line(1, 1, 30, 1, 'w')
    cv.line(1, 1, 1, 30, 'w')
    cv.line(1, 30, 30, 30, 'd')
    cv.line(30, 1, 30, 30, 'd')
    cv.rect(3, 3, 28, 28, 'k')
    cv.fill(4, 4, 27, 27, 'P')
    for g in (10, 16, 22):
        cv.line(4, g, 27, g, 'w')
        cv.line(g, 4, g, 27, 'w')
    cv.line(4, 25, 26, 22, 'n')
    stroke(cv, [(4, 17), (7, 13), (10, 11), (14, 9), (17, 9), (20, 10),
                (23, 12), (26, 14)], 'y')
    stroke(cv, [(4, 25), (8, 21), (12, 16), (16, 12), (20, 9), (23, 7),
                (26, 7)], 'r')
    return cv


def icon16():
    cv = Canvas(16, 16)
    cv.rect(0, 0, 15, 15, 'k')
    cv.fill(1, 1, 14, 14, 'P')
    for g in (5, 10):
        cv.line(1, g, 14, g, 'w')
        cv.line(g, 1, g, 14, 'w')
    stroke(cv, [(1, 8), (3, 6), (5, 5), (8, 4), (10, 5), (13, 7)], 'y')
    stroke(cv, [(1, 13), (4, 10), (7, 7), (10, 4), (13, 3)], 'r')
    return cv


# ---------------------------------------------------------------------------
# Cursors, 32 x 32, white with a black outline

def cursor_plus():
    cv = Canvas(32, 32)
    cv.fill(9, 12, 22, 15, 'w')    # horizontal arm, 14 across, 4 high
    cv.fill(14, 7, 17, 20, 'w')    # vertical arm, 4 wide, 14 high
    cv.outline('w', 'k', diagonal=False)
    cv.hotspot = (16, 14)
    return cv


def cursor_hand():
    cv = Canvas(32, 32)
    cv.blit('''
.....kk..........
....kwwk.........
....kwwk.........
....kwwk.........
....kwwkkk.......
....kwwkwwkkk....
....kwwkwwkwwkk..
.kk.kwwkwwkwwkwk.
kwwkkwwwwwwwwkwwk
kwwwkwwwwwwwwwwwk
.kwwwwwwwwwwwwwwk
..kwwwwwwwwwwwwwk
..kwwwwwwwwwwwwk.
...kwwwwwwwwwwwk.
...kwwwwwwwwwwk..
....kwwwwwwwwwk..
....kwwwwwwwwwk..
....kkkkkkkkkkk..
''', 0, 0)
    cv.hotspot = (5, 0)
    return cv


def cursor_split():
    cv = Canvas(32, 32)
    cx, cy = 15, 15
    cv.line(cx, 4, cx, 26, 'w')
    for i in range(1, 4):               # arrow heads
        cv.line(cx - i, 4 + i, cx + i, 4 + i, 'w')
        cv.line(cx - i, 26 - i, cx + i, 26 - i, 'w')
    cv.line(cx - 7, cy - 2, cx + 7, cy - 2, 'w')   # the double bar
    cv.line(cx - 7, cy + 2, cx + 7, cy + 2, 'w')
    cv.outline('w', 'k', diagonal=False)
    cv.hotspot = (cx, cy)
    return cv


def cursor_crosshair():
    cv = Canvas(32, 32)
    cx, cy = 15, 15
    cv.line(cx - 9, cy, cx + 9, cy, 'w')
    cv.line(cx, cy - 9, cx, cy + 9, 'w')
    cv.outline('w', 'k', diagonal=False)
    cv.hotspot = (cx, cy)
    return cv


# ---------------------------------------------------------------------------

IMAGES = [
    # (file, drawing, size)
    ('open.xpm', open_folder, (20, 20)),
    ('save.xpm', floppy, (20, 20)),
    ('undo.xpm', undo_arrow, (20, 20)),
    ('redo.xpm', lambda: undo_arrow(mirrored=True), (20, 20)),
    ('generate.xpm', generate, (20, 20)),
    ('edit-parameters.xpm', sheet, (20, 20)),
    ('add-line.xpm', add_line, (20, 20)),
    ('remove-line.xpm', remove_line, (20, 20)),
    ('rescale.xpm', rescale, (20, 20)),
    ('resolution.xpm', resolution, (20, 20)),
    ('bend.xpm', bend, (20, 20)),
    ('print.xpm', printer, (20, 20)),
    ('print-preview.xpm', preview_page, (19, 17)),
    ('previous-page.xpm', lambda: arrow(False), (19, 17)),
    ('next-page.xpm', lambda: arrow(True), (19, 17)),
    ('one-page.xpm', one_page, (19, 17)),
    ('two-pages.xpm', two_pages, (19, 17)),
    ('close.xpm', close_button, (39, 20)),
    ('dynoforge.xpm', icon32, (32, 32)),
    ('dynoforge-16.xpm', icon16, (16, 16)),
    ('cursor-plus.xpm', cursor_plus, (32, 32)),
    ('cursor-hand.xpm', cursor_hand, (32, 32)),
    ('cursor-up-down.xpm', cursor_split, (32, 32)),
    ('cursor-cross-hair.xpm', cursor_crosshair, (32, 32)),
]


def main():
    check = '--check' in sys.argv[1:]
    stale = []
    for name, draw, size in IMAGES:
        cv = draw()
        assert (cv.w, cv.h) == size, (name, cv.w, cv.h)
        if 'P' in {c for row in cv.px for c in row}:
            assert name.startswith('dynoforge'), name
        ident = 'image_' + name[:-4].replace('-', '_')
        text = cv.xpm(ident)
        path = OUT / name
        if check:
            if not path.exists() or path.read_text() != text:
                stale.append(name)
        else:
            path.write_text(text)
    if stale:
        print('out of date:', ' '.join(stale))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
