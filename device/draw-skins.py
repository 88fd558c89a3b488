#!/usr/bin/env python3
"""Draws the sample device's clock skins: one Time_font.bmp in each skin folder.

A skin's Time_font.bmp is the strip of glyphs the screen saver's clock is drawn from,
"0123456789:" from left to right, eleven cells of 20 x 32 pixels (220 x 32 in all), written as
a 24-bit, uncompressed, bottom-up BMP. Three looks:
  Classic  dark seven-segment digits on a pale display, each with a faint shadow
  Neon     bright green seven-segment tubes glowing on black
  Amber    an amber LED matrix on dark brown, its unlit LEDs showing dimly
The device uses the committed .bmp files; run this again only after changing the looks below:
    python3 device/draw-skins.py [TIMESKINS_FOLDER]
"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "scripts"))
from bmp24 import bmp24  # noqa: E402

GLYPHS = "0123456789:"
CELL_WIDTH, CELL_HEIGHT = 20, 32

# --- seven segments ----------------------------------------------------------------------
#  aaa
# f   b
#  ggg
# e   c
#  ddd
SEGMENTS_OF = {
    "0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg",
    "5": "acdfg", "6": "acdefg", "7": "abc", "8": "abcdefg", "9": "abcdfg",
}
LEFT, RIGHT = 4, 15          # centre columns of the upright segments
TOP, MIDDLE, BOTTOM = 3, 15, 27  # centre rows of the level ones
HALF = 1                     # half the thickness: segments are 3 pixels thick
GAP = 1                      # between the ends of neighbouring segments
# Each segment: level or upright, the centre line's fixed coordinate, and its span.
SEGMENT_LINES = {
    "a": ("level", TOP, LEFT, RIGHT), "g": ("level", MIDDLE, LEFT, RIGHT),
    "d": ("level", BOTTOM, LEFT, RIGHT),
    "f": ("upright", LEFT, TOP, MIDDLE), "b": ("upright", RIGHT, TOP, MIDDLE),
    "e": ("upright", LEFT, MIDDLE, BOTTOM), "c": ("upright", RIGHT, MIDDLE, BOTTOM),
}
# The colon's two squares, 4 x 4, centred across the cell and about the middle row.
COLON_DOTS = [(8, 8), (8, 19)]


def segment_pixels(name):
    """The pixels of one segment with its distance from the centre line (0 or HALF): a bar
    whose ends are bevelled, so that neighbouring segments meet in a point."""
    kind, fixed, start, end = SEGMENT_LINES[name]
    pixels = {}
    for across in range(-HALF, HALF + 1):
        for along in range(start + 1 + GAP + abs(across), end - GAP - abs(across)):
            x, y = (along, fixed + across) if kind == "level" else (fixed + across, along)
            pixels[(x, y)] = abs(across)
    return pixels


def seven_segment(glyph, segments=None):
    """Pixels of a glyph (x, y within its cell, y down) with their distance from the centre
    line; all segments when segments is "all"."""
    pixels = {}
    if glyph == ":":
        for left, top in COLON_DOTS:
            for y in range(top, top + 4):
                for x in range(left, left + 4):
                    pixels[(x, y)] = 0 if 9 <= x <= 10 and top + 1 <= y <= top + 2 else 1
        return pixels
    for name in (segments or SEGMENTS_OF[glyph]):
        pixels.update(segment_pixels(name))
    return pixels


def classic(glyph):
    paper, ghost, shadow, ink = (198, 206, 184), (186, 194, 172), (160, 168, 148), (28, 34, 30)
    cell = [[paper] * CELL_WIDTH for _ in range(CELL_HEIGHT)]
    if glyph != ":":
        for (x, y) in seven_segment(glyph, "abcdefg"):
            cell[y][x] = ghost
    lit = seven_segment(glyph)
    for (x, y) in lit:
        if (x + 1, y + 1) not in lit and x + 1 < CELL_WIDTH and y + 1 < CELL_HEIGHT:
            cell[y + 1][x + 1] = shadow
    for (x, y) in lit:
        cell[y][x] = ink
    return cell


def neon(glyph):
    black = (0, 0, 0)
    core, tube = (210, 255, 215), (60, 240, 90)
    glow = [(0, 150, 50), (0, 95, 32), (0, 55, 18), (0, 28, 9)]  # by rising distance
    lit = seven_segment(glyph)
    cell = [[black] * CELL_WIDTH for _ in range(CELL_HEIGHT)]
    for y in range(CELL_HEIGHT):
        for x in range(CELL_WIDTH):
            if (x, y) in lit:
                cell[y][x] = core if lit[(x, y)] == 0 else tube
                continue
            nearest = min(((x - lx) ** 2 + (y - ly) ** 2 for (lx, ly) in lit), default=99)
            for limit, colour in zip((2, 5, 10, 17), glow):
                if nearest <= limit:
                    cell[y][x] = colour
                    break
    return cell


# --- LED matrix -------------------------------------------------------------------------
# Four columns by seven rows of LEDs, each 3 x 3 pixels with dim corners (round at a glance),
# 4 pixels apart, the matrix centred in its cell.
MATRIX = {
    "0": [".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."],
    "1": ["..#.", ".##.", "..#.", "..#.", "..#.", "..#.", ".###"],
    "2": [".##.", "#..#", "...#", "..#.", ".#..", "#...", "####"],
    "3": ["###.", "...#", "...#", ".##.", "...#", "...#", "###."],
    "4": ["#..#", "#..#", "#..#", "####", "...#", "...#", "...#"],
    "5": ["####", "#...", "###.", "...#", "...#", "#..#", ".##."],
    "6": [".##.", "#...", "#...", "###.", "#..#", "#..#", ".##."],
    "7": ["####", "...#", "..#.", "..#.", ".#..", ".#..", ".#.."],
    "8": [".##.", "#..#", "#..#", ".##.", "#..#", "#..#", ".##."],
    "9": [".##.", "#..#", "#..#", ".###", "...#", "...#", ".##."],
    ":": ["....", ".##.", ".##.", "....", ".##.", ".##.", "...."],
}
PITCH = 4
MATRIX_LEFT = (CELL_WIDTH - (4 * PITCH - 1)) // 2
MATRIX_TOP = (CELL_HEIGHT - (7 * PITCH - 1)) // 2


def amber(glyph):
    brown = (40, 22, 8)
    on, on_edge = (255, 176, 0), (180, 112, 10)
    off, off_edge = (64, 36, 12), (52, 29, 10)
    cell = [[brown] * CELL_WIDTH for _ in range(CELL_HEIGHT)]
    for row, line in enumerate(MATRIX[glyph]):
        for column, mark in enumerate(line):
            centre, edge = (on, on_edge) if mark == "#" else (off, off_edge)
            for dy in range(3):
                for dx in range(3):
                    corner = dx != 1 and dy != 1
                    x, y = MATRIX_LEFT + column * PITCH + dx, MATRIX_TOP + row * PITCH + dy
                    cell[y][x] = edge if corner else centre
    return cell


SKINS = {"Classic": classic, "Neon": neon, "Amber": amber}


def check():
    for glyph, rows in MATRIX.items():
        if len(rows) != 7 or any(len(line) != 4 or set(line) - set(".#") for line in rows):
            raise SystemExit(f"matrix of {glyph!r}: not seven rows of four")
    for glyph in GLYPHS:
        for (x, y) in seven_segment(glyph, "abcdefg" if glyph != ":" else None):
            if not (0 <= x < CELL_WIDTH and 0 <= y < CELL_HEIGHT):
                raise SystemExit(f"glyph {glyph!r}: pixel ({x}, {y}) outside its cell")


def bmp(cells):
    return bmp24([[pixel for cell in cells for pixel in cell[row]] for row in range(CELL_HEIGHT)])


def main():
    default = Path(__file__).parent / "sample" / "Program Files" / "Brumvale" / "TimeSkins"
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    check()
    for name, draw in SKINS.items():
        out = folder / name / "Time_font.bmp"
        out.parent.mkdir(parents=True, exist_ok=True)
        out.write_bytes(bmp([draw(glyph) for glyph in GLYPHS]))
        print(out)


if __name__ == "__main__":
    main()
