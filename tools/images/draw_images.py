#!/usr/bin/env python3
"""Draws the program's icon and its three action bitmaps into ui/resources/.

The action bitmaps are 28 x 28, 16 bits per pixel (5-5-5), on the key colour RGB(111, 254, 12)
that the list draws transparent. Their edges are hard against the key colour: a pixel half
covered by the key would come out as a greenish fringe that no longer matches it. The icon is
32-bit with alpha at 32 x 32 and 16 x 16.

Run from anywhere: python3 tools/images/draw_images.py
"""
import math
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
OUT = os.path.join(ROOT, "ui", "resources")
KEY = (111, 254, 12)
SAMPLES = 4  # subpixels per axis


# Shapes: functions (x, y) -> bool in pixel units, centre of the 28 x 28 grid at (14, 14).
def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def segment(ax, ay, bx, by, width):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def arc(cx, cy, r, width, start_deg, end_deg):
    """A ring sector between the angles (degrees, 0 = right, counter-clockwise, y up)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx))
        return start_deg <= a <= end_deg
    return inside


def ring_with_gap(cx, cy, r, width, gap_deg):
    """A ring open at the top by gap_deg degrees, with round ends."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        a = math.degrees(math.atan2(cy - y, x - cx))  # 90 is straight up
        if abs(d - r) <= width / 2 and abs(a - 90) > gap_deg / 2:
            return True
        for side in (-1, 1):
            end = math.radians(90 + side * gap_deg / 2)
            ex, ey = cx + r * math.cos(end), cy - r * math.sin(end)
            if (x - ex) ** 2 + (y - ey) ** 2 <= (width / 2) ** 2:
                return True
        return False
    return inside


def render(size, layers):
    """layers: list of (colour, shape), painted in order. Returns rows of (colour, coverage)."""
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            found = []
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    top = None
                    for colour, shape in layers:
                        if shape(x, y):
                            top = colour
                    if top is not None:
                        found.append(top)
            coverage = len(found) / SAMPLES ** 2
            if found:
                colour = tuple(round(sum(c[i] for c in found) / len(found)) for i in range(3))
            else:
                colour = None
            row.append((colour, coverage))
        pixels.append(row)
    return pixels


def write_bmp16(path, pixels):
    size = len(pixels)
    stride = (size * 2 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray()
        for colour, coverage in row:
            r, g, b = colour if coverage >= 0.5 else KEY
            line += struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 16, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + 40)
    with open(path, "wb") as f:
        f.write(file_header + header + data)


def icon_image(pixels):
    size = len(pixels)
    xor = bytearray()
    for row in reversed(pixels):
        for colour, coverage in row:
            r, g, b = colour if colour else (0, 0, 0)
            xor += bytes((b, g, r, round(255 * coverage)))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (colour, coverage) in enumerate(row):
            if coverage < 0.5:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    return header + xor + mask


def write_ico(path, images):
    entries = bytearray()
    blobs = bytearray()
    offset = 6 + 16 * len(images)
    for size, blob in images:
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset + len(blobs))
        blobs += blob
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + entries + blobs)


DARK = (40, 44, 52)
BODY = (70, 78, 92)
SCREEN_OFF = (150, 160, 170)
SCREEN_ON = (120, 200, 255)
KEYS = (200, 204, 210)
RED = (220, 30, 30)
WHITE = (255, 255, 255)
WAVE = (0, 120, 215)


def phone(x0, screen):
    """A handset 11 px wide starting at x0: dark outline, body, screen, three rows of keys."""
    layers = [
        (DARK, rounded_rect(x0, 2, x0 + 12, 26, 3)),
        (BODY, rounded_rect(x0 + 1.2, 3.2, x0 + 10.8, 24.8, 2)),
        (DARK, rounded_rect(x0 + 2.4, 5, x0 + 9.6, 13, 0.5)),
        (screen, rounded_rect(x0 + 3.2, 5.8, x0 + 8.8, 12.2, 0.3)),
    ]
    for ky in (15.5, 18.5, 21.5):
        for kx in (x0 + 3.5, x0 + 6, x0 + 8.5):
            layers.append((KEYS, circle(kx, ky, 0.9)))
    return layers


def phone_off():
    # The handset, crossed out by a red bar with a white edge so it reads on any row colour.
    return phone(8, SCREEN_OFF) + [
        (WHITE, segment(4.5, 24.5, 23.5, 3.5, 5.2)),
        (RED, segment(4.5, 24.5, 23.5, 3.5, 3.2)),
    ]


def phone_on():
    # The handset on the left, radio waves leaving it to the right.
    layers = phone(2, SCREEN_ON)
    for radius in (5, 9, 13):
        layers.append((WAVE, arc(13.5, 9.5, radius, 2.0, -40, 40)))
    return layers


def power_off():
    # The power symbol: a red ring open at the top with a bar through the gap, on a dark disc.
    return [
        (DARK, circle(14, 14, 13)),
        (RED, ring_with_gap(14, 15, 7.5, 2.8, 70)),
        (RED, segment(14, 5, 14, 13, 2.8)),
    ]


def app_icon(size):
    # A clock face on a blue rounded square: the program times power and radio actions.
    s = size / 32
    return [
        (WAVE, rounded_rect(1 * s, 1 * s, 31 * s, 31 * s, 6 * s)),
        (WHITE, circle(16 * s, 15 * s, 11 * s)),
        (DARK, segment(16 * s, 15 * s, 16 * s, 7 * s, 2.4 * s)),
        (DARK, segment(16 * s, 15 * s, 22 * s, 15 * s, 2.4 * s)),
        (RED, circle(16 * s, 15 * s, 1.8 * s)),
    ]


def main():
    write_bmp16(os.path.join(OUT, "phone_off.bmp"), render(28, phone_off()))
    write_bmp16(os.path.join(OUT, "phone_on.bmp"), render(28, phone_on()))
    write_bmp16(os.path.join(OUT, "power_off.bmp"), render(28, power_off()))
    write_ico(os.path.join(OUT, "app.ico"),
              [(size, icon_image(render(size, app_icon(size)))) for size in (32, 16)])


if __name__ == "__main__":
    main()
