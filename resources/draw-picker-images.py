#!/usr/bin/env python3
"""Draws picker-images.bmp, the program picker's tree images (bitmap 174 in the .rc).

A strip of four 16 x 16 images, 64 x 16 pixels in all, on magenta, the image list's mask
colour:
  0  a folder
  1  a program (a small window)
  2  a loudspeaker playing
  3  a loudspeaker muted
Written as a 24-bit, uncompressed, bottom-up BMP. The build uses the committed .bmp; run this
again only after changing the pictures below:
    python3 resources/draw-picker-images.py [OUTPUT]
"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "scripts"))
from bmp24 import bmp24  # noqa: E402

SIZE = 16

# One character per pixel; "." is the background.
PALETTE = {
    ".": (255, 0, 255),    # mask colour: transparent in the image list
    "K": (0, 0, 0),
    "G": (128, 128, 128),
    "S": (192, 192, 192),
    "W": (255, 255, 255),
    "B": (0, 0, 160),      # title bar
    "b": (128, 160, 255),  # title text
    "D": (128, 96, 0),     # folder outline
    "Y": (255, 208, 48),   # folder
    "L": (255, 240, 160),  # folder's lit edge
    "R": (224, 0, 0),
}

FOLDER = [
    "................",
    "................",
    "..DDDD..........",
    ".DLLLLD.........",
    ".DLLLLLDDDDDDD..",
    ".DLYYYYYYYYYYYD.",
    ".DLYYYYYYYYYYYD.",
    ".DLYYYYYYYYYYYD.",
    ".DLYYYYYYYYYYYD.",
    ".DLYYYYYYYYYYYD.",
    ".DLYYYYYYYYYYYD.",
    ".DLYYYYYYYYYYYD.",
    ".DLYYYYYYYYYYYD.",
    ".DDDDDDDDDDDDDD.",
    "................",
    "................",
]

PROGRAM = [
    "................",
    ".GGGGGGGGGGGGGK.",
    ".GBBBBBBBBBBBBK.",
    ".GBbbbbbBBBWWBK.",
    ".GBBBBBBBBBWWBK.",
    ".GBBBBBBBBBBBBK.",
    ".GWWWWWWWWWWWWK.",
    ".GWWWWWWWWWWWWK.",
    ".GWWWWWWWWWWWWK.",
    ".GWWWWWWWWWWWWK.",
    ".GWWWWWWWWWWWWK.",
    ".GWWWWWWWWWWWWK.",
    ".GWWWWWWWWWWWWK.",
    ".GWWWWWWWWWWWWK.",
    ".KKKKKKKKKKKKKK.",
    "................",
]

SPEAKER = [
    "................",
    "................",
    "......K.........",
    ".....KK.....K...",
    "....KSK..K...K..",
    "...KSSK...K...K.",
    ".KKKSSK.K..K..K.",
    ".KSSSSK..K.K..K.",
    ".KSSSSK..K.K..K.",
    ".KKKSSK.K..K..K.",
    "...KSSK...K...K.",
    "....KSK..K...K..",
    ".....KK.....K...",
    "......K.........",
    "................",
    "................",
]

SPEAKER_MUTED = [
    "................",
    "................",
    "......K.........",
    ".....KK.........",
    "....KSK.........",
    "...KSSK..RR..RR.",
    ".KKKSSK...RRRR..",
    ".KSSSSK....RR...",
    ".KSSSSK....RR...",
    ".KKKSSK...RRRR..",
    "...KSSK..RR..RR.",
    "....KSK.........",
    ".....KK.........",
    "......K.........",
    "................",
    "................",
]

IMAGES = [FOLDER, PROGRAM, SPEAKER, SPEAKER_MUTED]


def check(images):
    for number, image in enumerate(images):
        if len(image) != SIZE:
            raise SystemExit(f"image {number}: {len(image)} rows, not {SIZE}")
        for row, line in enumerate(image):
            if len(line) != SIZE:
                raise SystemExit(f"image {number}, row {row}: {len(line)} pixels, not {SIZE}")
            unknown = set(line) - PALETTE.keys()
            if unknown:
                raise SystemExit(f"image {number}, row {row}: no colour for {''.join(sorted(unknown))}")


def bmp(images):
    return bmp24([[PALETTE[char] for image in images for char in image[row]] for row in range(SIZE)])


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("picker-images.bmp")
    check(IMAGES)
    out.write_bytes(bmp(IMAGES))
    print(out)


if __name__ == "__main__":
    main()
