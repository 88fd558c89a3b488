"""The uncompressed 24-bit Windows bitmap that the drawing scripts write."""
import struct


def bmp24(rows):
    """A bitmap file of the rows, given top first, each a list of (red, green, blue)."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bitmaps store the bottom row first
        line = bytearray()
        for red, green, blue in row:
            line += bytes((blue, green, red))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + bytes(pixels)
