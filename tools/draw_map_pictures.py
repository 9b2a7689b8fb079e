#!/usr/bin/env python3
"""Draws the map preview pictures of the test game folder (tests/fixtures/game/mapimages).

Each picture is a 160x100 GIF89a: a simple landscape in the map's own colours with one
feature (towers, dunes, a crane, ...), the map's initial in large block letters and its name
along the bottom, so that a preview shown by the program is recognisable at a glance.

Usage: tools/draw_map_pictures.py [output folder]
Standard library only; the GIF writer below does its own LZW compression.
"""

import os
import struct
import sys

WIDTH = 160
HEIGHT = 100

# 5x7 block glyphs for the letters the names need.
GLYPHS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "?": [".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}

# Palette slots every picture uses; the rest are the map's own colours.
BLACK, WHITE, SHADOW = 0, 1, 2
SKY_HIGH, SKY_LOW, GROUND, FEATURE, FEATURE_LIGHT, LETTER = 3, 4, 5, 6, 7, 8


class Picture:
    def __init__(self, colours):
        self.palette = [(0, 0, 0), (255, 255, 255), (30, 30, 40)] + colours
        self.palette += [(0, 0, 0)] * (16 - len(self.palette))
        self.pixels = bytearray(WIDTH * HEIGHT)

    def put(self, x, y, colour):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            self.pixels[y * WIDTH + x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def circle(self, cx, cy, r, colour, upper_half=False):
        for y in range(cy - r, cy + (1 if upper_half else r + 1)):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def triangle(self, a, b, c, colour):
        def side(p, q, r):
            return (q[0] - p[0]) * (r[1] - p[1]) - (q[1] - p[1]) * (r[0] - p[0])

        for y in range(min(a[1], b[1], c[1]), max(a[1], b[1], c[1]) + 1):
            for x in range(min(a[0], b[0], c[0]), max(a[0], b[0], c[0]) + 1):
                d1, d2, d3 = side(a, b, (x, y)), side(b, c, (x, y)), side(c, a, (x, y))
                if not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0)):
                    self.put(x, y, colour)

    def text(self, x, y, text, scale, colour, shadow=None):
        # The shadow is the same text, drawn first and moved down and right.
        shift = max(1, scale // 3)
        layers = [(shift, shadow), (0, colour)] if shadow is not None else [(0, colour)]
        for offset, layer_colour in layers:
            cursor = x + offset
            for char in text:
                for row, bits in enumerate(GLYPHS[char]):
                    top = y + offset + row * scale
                    for col, bit in enumerate(bits):
                        if bit == "#":
                            self.rect(cursor + col * scale, top, cursor + (col + 1) * scale, top + scale,
                                      layer_colour)
                cursor += 6 * scale


def text_width(text, scale):
    return len(text) * 6 * scale - scale


# Scene features, one per map.
def towers(p, horizon):
    for i, (x, w, h) in enumerate(((8, 18, 45), (30, 14, 60), (48, 20, 38), (120, 16, 55), (140, 18, 42))):
        p.rect(x, horizon - h, x + w, horizon, FEATURE if i % 2 else FEATURE_LIGHT)
        for wy in range(horizon - h + 4, horizon - 4, 6):
            for wx in range(x + 3, x + w - 3, 5):
                p.rect(wx, wy, wx + 2, wy + 3, WHITE)


def market(p, horizon):
    for x in range(4, 160, 26):
        p.rect(x, horizon - 22, x + 20, horizon, FEATURE)
        p.triangle((x - 2, horizon - 22), (x + 22, horizon - 22), (x + 10, horizon - 30), FEATURE_LIGHT)


def ruins(p, horizon):
    p.rect(10, horizon - 30, 18, horizon, FEATURE)
    p.rect(26, horizon - 18, 34, horizon, FEATURE)
    p.rect(10, horizon - 34, 34, horizon - 28, FEATURE_LIGHT)
    for x, h in ((122, 26), (134, 40), (146, 20)):
        p.triangle((x - 8, horizon), (x + 8, horizon), (x, horizon - h), FEATURE)


def crane(p, horizon):
    p.rect(128, 12, 132, horizon, FEATURE)
    p.rect(96, 12, 156, 16, FEATURE)
    p.rect(100, 16, 101, 40, BLACK)
    p.rect(96, 40, 106, 46, FEATURE_LIGHT)
    p.rect(6, horizon - 16, 40, horizon, FEATURE_LIGHT)


def cliffs(p, horizon):
    p.triangle((0, horizon), (0, 30), (40, horizon), FEATURE)
    p.triangle((120, horizon), (160, 24), (160, horizon), FEATURE)
    p.rect(0, horizon, 160, horizon + 8, FEATURE_LIGHT)


def dish(p, horizon):
    p.triangle((0, horizon), (36, 26), (72, horizon), WHITE)
    p.rect(134, horizon - 24, 138, horizon, FEATURE)
    p.circle(136, horizon - 30, 12, FEATURE_LIGHT, upper_half=True)


def eiffel(p, horizon):
    p.triangle((118, horizon), (154, horizon), (136, 8), FEATURE)
    p.triangle((126, horizon), (146, horizon), (136, horizon - 18), SKY_LOW)
    p.rect(124, horizon - 34, 148, horizon - 30, FEATURE_LIGHT)


def walls(p, horizon):
    p.rect(0, horizon - 26, 160, horizon - 20, FEATURE)
    for x in range(0, 160, 16):
        p.rect(x, horizon - 32, x + 8, horizon - 26, FEATURE)
    p.rect(70, horizon - 20, 90, horizon, FEATURE_LIGHT)


def dome(p, horizon):
    p.circle(80, horizon, 44, FEATURE, upper_half=True)
    p.circle(80, horizon, 34, FEATURE_LIGHT, upper_half=True)
    p.rect(40, horizon - 2, 120, horizon, BLACK)


def dice(p, horizon):
    for x, y in ((16, 20), (116, 34)):
        p.rect(x, y, x + 28, y + 28, WHITE)
        for dx, dy in ((6, 6), (19, 19), (12, 12), (6, 19), (19, 6)):
            p.rect(x + dx, y + dy, x + dx + 4, y + dy + 4, BLACK)


# name, initial, sky high, sky low, ground, feature, feature light, letter, scene
MAPS = [
    ("Arkaden", (40, 90, 170), (120, 170, 230), (90, 90, 96), (200, 200, 210), (150, 160, 180),
     (255, 210, 60), towers),
    ("Bakaara", (190, 120, 60), (240, 190, 120), (170, 120, 70), (120, 80, 50), (200, 150, 90),
     (255, 255, 255), market),
    ("Downturn", (20, 30, 60), (70, 90, 130), (50, 50, 55), (110, 120, 140), (160, 170, 190),
     (120, 230, 120), towers),
    ("Fallen", (110, 60, 40), (200, 120, 60), (80, 60, 40), (60, 40, 30), (140, 110, 80),
     (255, 240, 200), ruins),
    ("Hardhat", (80, 150, 220), (170, 210, 240), (150, 120, 80), (240, 190, 20), (200, 120, 40),
     (40, 40, 40), crane),
    ("Mission", (30, 80, 150), (110, 180, 220), (30, 110, 170), (90, 110, 70), (230, 220, 180),
     (255, 120, 80), cliffs),
    ("Outpost", (140, 160, 190), (220, 230, 240), (235, 240, 250), (90, 100, 110), (180, 190, 200),
     (200, 30, 30), dish),
    ("Resistance", (60, 40, 90), (190, 110, 120), (60, 70, 60), (50, 50, 60), (120, 100, 80),
     (255, 230, 120), eiffel),
    ("Lockdown", (70, 70, 80), (140, 140, 150), (100, 90, 80), (160, 70, 50), (210, 170, 120),
     (240, 240, 90), walls),
    ("Dome", (220, 140, 60), (250, 210, 140), (190, 150, 100), (150, 150, 160), (210, 210, 220),
     (40, 60, 140), dome),
    ("random", (60, 20, 80), (130, 60, 160), (40, 20, 50), (200, 200, 200), (240, 240, 240),
     (255, 200, 0), dice),
]


def draw(name, sky_high, sky_low, ground, feature, feature_light, letter, scene):
    p = Picture([sky_high, sky_low, ground, feature, feature_light, letter])
    horizon = 72
    p.rect(0, 0, WIDTH, horizon // 2, SKY_HIGH)
    p.rect(0, horizon // 2, WIDTH, horizon, SKY_LOW)
    p.rect(0, horizon, WIDTH, HEIGHT, GROUND)
    scene(p, horizon)
    initial = "?" if name == "random" else name[0].upper()
    p.text((WIDTH - text_width(initial, 8)) // 2, 6, initial, 8, LETTER, SHADOW)
    caption = name.upper()
    p.rect(0, 82, WIDTH, HEIGHT, SHADOW)
    p.text((WIDTH - text_width(caption, 2)) // 2, 85, caption, 2, WHITE)
    return p


class BitWriter:
    def __init__(self):
        self.data = bytearray()
        self.accumulator = 0
        self.bits = 0

    def write(self, code, size):
        self.accumulator |= code << self.bits
        self.bits += size
        while self.bits >= 8:
            self.data.append(self.accumulator & 0xFF)
            self.accumulator >>= 8
            self.bits -= 8

    def flush(self):
        if self.bits:
            self.data.append(self.accumulator & 0xFF)
        return bytes(self.data)


def lzw(pixels, min_size):
    """GIF's variable-width LZW: codes grow when the table outgrows them, a clear code when full."""
    clear = 1 << min_size
    end = clear + 1
    out = BitWriter()
    state = {}

    def reset():
        state["table"] = {bytes([i]): i for i in range(clear)}
        state["next"] = end + 1
        state["size"] = min_size + 1

    def emit(code):
        out.write(code, state["size"])
        # The decoder adds its entry one code later, so the width grows once the next free
        # code no longer fits.
        if state["next"] >= (1 << state["size"]) and state["size"] < 12:
            state["size"] += 1

    reset()
    emit(clear)
    prefix = bytes([pixels[0]])
    for value in pixels[1:]:
        extended = prefix + bytes([value])
        if extended in state["table"]:
            prefix = extended
            continue
        emit(state["table"][prefix])
        prefix = bytes([value])
        if state["next"] >= 4095:
            emit(clear)
            reset()
        else:
            state["table"][extended] = state["next"]
            state["next"] += 1
    emit(state["table"][prefix])
    emit(end)
    return out.flush()


def gif_bytes(picture):
    head = b"GIF89a" + struct.pack("<HHBBB", WIDTH, HEIGHT, 0xF3, 0, 0)
    palette = b"".join(bytes(colour) for colour in picture.palette)
    image = b"\x2c" + struct.pack("<HHHHB", 0, 0, WIDTH, HEIGHT, 0)
    compressed = lzw(picture.pixels, 4)
    blocks = b"".join(bytes([len(compressed[i:i + 255])]) + compressed[i:i + 255]
                      for i in range(0, len(compressed), 255))
    return head + palette + image + b"\x04" + blocks + b"\x00" + b"\x3b"


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "tests", "fixtures", "game", "mapimages")
    os.makedirs(folder, exist_ok=True)
    for name, *colours, scene in MAPS:
        path = os.path.join(folder, name + ".gif")
        with open(path, "wb") as out:
            out.write(gif_bytes(draw(name, *colours, scene)))
        print(path)


if __name__ == "__main__":
    main()
