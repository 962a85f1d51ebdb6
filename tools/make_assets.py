#!/usr/bin/env python3
"""Builds every image, sound and the map of the demo game in data/.

Only the Python standard library is used, so anyone can rebuild the assets:

    python3 tools/make_assets.py [data-directory]

Everything is drawn from code with fixed random seeds, so a rebuild gives the
same bytes. The font (data/fonts/DejaVuSans.ttf) comes from Debian's
fonts-dejavu-core package and is not generated here.
"""

import math
import os
import random
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "data")

CLEAR = (0, 0, 0, 0)

# ---------------------------------------------------------------- the level

# 16 columns of 50 pixels fill the 800-pixel window; plate p walks on row p+1.
# The bottom row of walls is the bedrock: the lowest plate, 7, walks on it,
# and the walls at the ends of row 7 keep walkers off the window's edges.
LEVEL = [
    "................",
    ".GGGG......GGGG.",
    "...GGGGGGGGGG...",
    "GGGG........GGGG",
    "..GGG.CCCC.GGG..",
    ".GGG..GGGG..GGG.",
    "GGG..GGGGGG..GGG",
    "W.GGGG.WW.GGGG.W",
    "WWWWWWWWWWWWWWWW",
]


# ---------------------------------------------------------------- canvas


class Canvas:
    def __init__(self, w, h, fill=CLEAR):
        self.w, self.h = w, h
        self.px = [fill] * (w * h)

    def get(self, x, y):
        return self.px[y * self.w + x]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            if len(c) == 3:
                c = c + (255,)
            self.px[y * self.w + x] = c

    def rect(self, x0, y0, w, h, c):
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                self.put(x, y, c)

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
            for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
                dx, dy = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.put(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                c = other.get(x, y)
                if c[3]:
                    self.put(ox + x, oy + y, c)

    def mirrored(self):
        out = Canvas(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                out.put(self.w - 1 - x, y, self.get(x, y))
        return out


def shade(c, f):
    return tuple(max(0, min(255, int(v * f))) for v in c[:3])


# ---------------------------------------------------------------- file writers


def write(path, data):
    full = os.path.join(DATA, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)


def pcx_bytes(canvas, key=(255, 0, 255)):
    """8-bit run-length encoded PCX. Transparent pixels get the key colour,
    which the loader makes transparent when the top-left pixel uses it."""
    palette = [key]
    index = {key: 0}
    rows = []
    for y in range(canvas.h):
        row = []
        for x in range(canvas.w):
            r, g, b, a = canvas.get(x, y)
            c = key if a == 0 else (r, g, b)
            if c not in index:
                if len(palette) == 256:
                    raise ValueError("more than 256 colours")
                index[c] = len(palette)
                palette.append(c)
            row.append(index[c])
        rows.append(row)
    bytes_per_line = canvas.w + (canvas.w & 1)
    header = struct.pack(
        "<BBBBHHHHHH48sBBHH58s",
        10, 5, 1, 8, 0, 0, canvas.w - 1, canvas.h - 1, 72, 72,
        bytes(48), 0, 1, bytes_per_line, 1, bytes(58))
    data = bytearray()
    for row in rows:
        row = row + [0] * (bytes_per_line - len(row))
        i = 0
        while i < len(row):
            run = 1
            while i + run < len(row) and run < 63 and row[i + run] == row[i]:
                run += 1
            if run > 1 or row[i] >= 192:
                data += bytes((192 + run, row[i]))
            else:
                data.append(row[i])
            i += run
    pal = bytearray()
    for c in palette + [(0, 0, 0)] * (256 - len(palette)):
        pal += bytes(c)
    return header + bytes(data) + b"\x0c" + bytes(pal)


def png_bytes(canvas):
    raw = bytearray()
    for y in range(canvas.h):
        raw.append(0)
        for x in range(canvas.w):
            raw += bytes(canvas.get(x, y))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


RATE = 22050


def wav_bytes(samples):
    pcm = b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767)))) for s in samples)
    return (b"RIFF" + struct.pack("<I", 36 + len(pcm)) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16) +
            b"data" + struct.pack("<I", len(pcm)) + pcm)


# ---------------------------------------------------------------- tiles

GRASS_HI = (132, 214, 72)
GRASS = (86, 170, 48)
GRASS_DK = (52, 120, 36)
SOIL = (140, 92, 52)
SOIL_DK = (104, 66, 38)
SOIL_LT = (170, 120, 72)
STONE = (132, 132, 140)
STONE_DK = (88, 88, 100)
STONE_LT = (176, 176, 186)

TILE_W, TILE_H, STRIP_H = 50, 70, 10  # row pitch 65, walking surface 10 below the top
SLAB_BOTTOM = 30


def slab_profile(rng, w, bottom):
    """Bottom edge of a floating slab: a rough line of soil lumps."""
    return [bottom + int(3 * math.sin(x * 0.7 + rng.random()) + rng.random() * 3) for x in range(w)]


def paint_slab(c, rng, x0, x1, edge, left_round=False, right_round=False):
    for x in range(x0, x1):
        # Rounded ends bring the top and the bottom in towards the corner.
        inset = 0
        if left_round:
            inset = max(inset, int((x1 - 1 - x) ** 2 / 10))
        if right_round:
            inset = max(inset, int((x - x0) ** 2 / 10))
        top = STRIP_H + inset // 2
        bottom = edge[x] - inset
        for y in range(top, bottom):
            if y < top + 4:
                col = GRASS_HI if y == top else GRASS
            elif y < top + 6 and rng.random() < 0.6:
                col = GRASS_DK
            else:
                r = rng.random()
                col = SOIL_DK if r < 0.18 else SOIL_LT if r < 0.26 else SOIL
                if y >= bottom - 2:
                    col = SOIL_DK
            c.put(x, y, col)
        # Grass blades above the walking surface.
        if top == STRIP_H and rng.random() < 0.45:
            h = rng.randint(2, STRIP_H - 2)
            for y in range(STRIP_H - h, STRIP_H):
                c.put(x, y, GRASS if rng.random() < 0.7 else GRASS_HI)


def tile_images():
    rng = random.Random(7)
    mid = Canvas(TILE_W, TILE_H)
    edge = slab_profile(rng, TILE_W, SLAB_BOTTOM)
    # The two ends match so that tiles join without a seam.
    edge[-1] = edge[0]
    paint_slab(mid, rng, 0, TILE_W, edge)
    for x, y in ((9, 18), (31, 22), (42, 16), (20, 25)):
        mid.ellipse(x, y, 2.2, 1.5, STONE)
        mid.put(x - 1, y - 1, STONE_LT)

    cap_w = 12
    left = Canvas(cap_w, TILE_H)
    paint_slab(left, random.Random(8), 0, cap_w, [SLAB_BOTTOM] * cap_w, left_round=True)
    right = left.mirrored()

    cave = Canvas(TILE_W, STRIP_H)
    crng = random.Random(9)
    for y in range(STRIP_H):
        for x in range(TILE_W):
            v = 0.75 + 0.25 * math.sin(x * 0.45 + y * 0.9) + crng.random() * 0.2
            cave.put(x, y, shade((58, 44, 70), v))
    for i in range(3):
        cave.ellipse(crng.randint(4, 46), crng.randint(2, 8), 3, 1.6, (84, 66, 96))

    stone = Canvas(TILE_W, 24)
    srng = random.Random(10)
    for cx, cy, rx, ry in ((8, 10, 9, 8), (24, 9, 9, 8), (41, 10, 9, 8), (16, 16, 8, 6), (33, 17, 9, 6)):
        stone.ellipse(cx, cy, rx, ry, STONE_DK)
        stone.ellipse(cx - 0.5, cy - 0.8, rx - 1.5, ry - 1.5, STONE)
        stone.ellipse(cx - 2, cy - 3, rx / 3, ry / 4, STONE_LT)
    for _ in range(30):
        x, y = srng.randint(0, 49), srng.randint(0, 23)
        if stone.get(x, y)[3]:
            stone.put(x, y, STONE_DK)

    write("gnd_mid.pcx", pcx_bytes(mid))
    write("gnd_left.pcx", pcx_bytes(left))
    write("gnd_rght.pcx", pcx_bytes(right))
    write("caveback.pcx", pcx_bytes(cave))
    write("gnd_ston.pcx", pcx_bytes(stone))

    # The body of a wall below its grass top; the level draws it under the map.
    rock = Canvas(TILE_W, 65)
    rrng = random.Random(11)
    rock.rect(0, 0, TILE_W, 65, STONE_DK)
    y = 0
    row = 0
    while y < 65:
        h = rrng.randint(10, 14)
        x = -rrng.randint(0, 12) if row % 2 else 0
        while x < TILE_W:
            w = rrng.randint(14, 22)
            rock.rect(x + 1, y + 1, w - 2, h - 2, STONE)
            rock.rect(x + 1, y + 1, w - 2, 2, STONE_LT)
            x += w
        y += h
        row += 1
    write("sprites/rock.pcx", pcx_bytes(rock))


# ---------------------------------------------------------------- characters

SKIN = (250, 204, 160)
HAIR = (120, 64, 30)
SHIRT = (40, 110, 220)
SHIRT_DK = (28, 76, 160)
PANTS = (60, 60, 80)
BOOT = (90, 50, 30)
OUTLINE = (30, 24, 36)


def hero_frame(phase):
    """24 x 40, facing right; phase 0..3 of the walk cycle."""
    c = Canvas(24, 40)
    swing = [0, 4, 0, -4][phase]
    bob = [0, 1, 0, 1][phase]
    # Legs
    for side, s in ((0, swing), (1, -swing)):
        col = PANTS if side == 0 else shade(PANTS, 0.8)
        hip_x = 10
        for d in range(3):
            c.line(hip_x + d, 26 + bob, hip_x + d + s, 35, col)
        c.rect(hip_x + s, 36, 5, 3, BOOT)
    # Body
    c.rect(6, 15 + bob, 11, 12, SHIRT)
    c.rect(6, 24 + bob, 11, 3, SHIRT_DK)
    c.rect(6, 23 + bob, 11, 1, (250, 210, 60))
    # Arm swinging against the front leg
    c.line(11, 17 + bob, 11 - swing, 25 + bob, SHIRT_DK)
    c.line(12, 17 + bob, 12 - swing, 25 + bob, SHIRT_DK)
    c.ellipse(11.5 - swing, 26 + bob, 1.8, 1.8, SKIN)
    # Head
    c.ellipse(12, 9 + bob, 6.5, 6.5, SKIN)
    c.ellipse(11, 5 + bob, 6.5, 3.5, HAIR)
    c.rect(5, 4 + bob, 3, 6, HAIR)
    c.rect(15, 8 + bob, 2, 2, OUTLINE)
    c.put(18, 11 + bob, shade(SKIN, 0.8))
    return c


def beetle_frame(phase):
    """26 x 18, facing right; two steps."""
    c = Canvas(26, 18)
    shell, shell_dk = (176, 40, 72), (112, 20, 48)
    for i, x in enumerate((6, 11, 16)):
        off = 2 if (i + phase) % 2 else -1
        c.line(x, 12, x + off - 2, 17, OUTLINE)
        c.line(x + 1, 12, x + off - 1, 17, OUTLINE)
    c.ellipse(11.5, 9.5, 10, 7, shell_dk)
    c.ellipse(11.5, 9, 9, 6, shell)
    c.line(11, 3, 11, 14, shell_dk)
    for x, y in ((7, 7), (15, 7), (9, 11)):
        c.ellipse(x, y, 1.6, 1.3, (255, 220, 90))
    for x in range(4, 21, 4):
        c.put(x, 2, OUTLINE)
        c.put(x, 1, OUTLINE)
    c.ellipse(21.5, 10.5, 3.8, 3.5, OUTLINE)
    c.rect(22, 9, 2, 2, (255, 255, 255))
    c.line(23, 7, 25, 3 + phase, OUTLINE)
    return c


def gem_frame(phase):
    """20 x 20 green gem with a glint that travels across it (PNG, soft alpha)."""
    c = Canvas(20, 20)
    body = [(10, 1), (18, 8), (10, 19), (2, 8)]
    for y in range(20):
        for x in range(20):
            px, py = x + 0.5, y + 0.5
            inside = True
            for i in range(4):
                (ax, ay), (bx, by) = body[i], body[(i + 1) % 4]
                if (bx - ax) * (py - ay) - (by - ay) * (px - ax) < 0:
                    inside = False
            if not inside:
                continue
            if py < 8:
                col = (120, 240, 150) if px < 10 else (70, 210, 110)
            else:
                col = (40, 170, 80) if px < 10 else (24, 130, 60)
            c.put(x, y, col)
    gx = [5, 9, 13, 17][phase]
    for d in range(-2, 3):
        c.put(gx + d, 5, (235, 255, 240, 255 - 50 * abs(d)))
        c.put(gx, 5 + d, (235, 255, 240, 255 - 50 * abs(d)))
    return c


def heart():
    c = Canvas(16, 16)
    red, dark = (230, 40, 60), (150, 20, 40)
    c.ellipse(4.5, 5.5, 4, 4, dark)
    c.ellipse(11.5, 5.5, 4, 4, dark)
    for y in range(6, 15):
        half = 8 - (y - 6) * 8 / 9
        for x in range(16):
            if abs(x + 0.5 - 8) <= half:
                c.put(x, y, dark)
    c.ellipse(4.5, 5.5, 3, 3, red)
    c.ellipse(11.5, 5.5, 3, 3, red)
    for y in range(6, 13):
        half = 7 - (y - 6)
        for x in range(16):
            if abs(x + 0.5 - 8) <= half:
                c.put(x, y, red)
    c.rect(3, 3, 2, 2, (255, 200, 210))
    return c


def cloud():
    c = Canvas(96, 48)
    blobs = ((24, 30, 16, 12), (44, 22, 20, 17), (66, 28, 17, 13), (48, 34, 30, 10))
    for y in range(48):
        for x in range(96):
            best = 0.0
            for cx, cy, rx, ry in blobs:
                d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
                best = max(best, 1.0 - d)
            if best > 0:
                a = int(255 * min(1.0, best * 3.0))
                shadow = 1.0 if y < 30 else 0.92
                c.put(x, y, (int(255 * shadow), int(255 * shadow), 255, a))
    return c


def sprites():
    strip = Canvas(96, 40)
    for i in range(4):
        strip.blit(hero_frame(i), 24 * i, 0)
    write("sprites/hero.pcx", pcx_bytes(strip))

    bugs = Canvas(52, 18)
    for i in range(2):
        bugs.blit(beetle_frame(i), 26 * i, 0)
    write("sprites/beetle.pcx", pcx_bytes(bugs))

    for i in range(4):
        write("sprites/gem_%d.png" % i, png_bytes(gem_frame(i)))
    write("sprites/heart.pcx", pcx_bytes(heart()))
    write("sprites/cloud.png", png_bytes(cloud()))


# ---------------------------------------------------------------- sounds


def envelope(i, n, attack=0.01):
    t = i / RATE
    return min(1.0, t / attack) * (1.0 - i / n)


def jump_sound():
    n = int(RATE * 0.22)
    out, ph = [], 0.0
    for i in range(n):
        f = 300 + 700 * (i / n)
        ph += 2 * math.pi * f / RATE
        out.append(0.35 * envelope(i, n) * (1 if math.sin(ph) > 0 else -1) * 0.6)
    return out


def pickup_sound():
    out = []
    for f, dur in ((988, 0.07), (1319, 0.18)):
        n = int(RATE * dur)
        for i in range(n):
            out.append(0.4 * envelope(i, n, 0.003) * math.sin(2 * math.pi * f * i / RATE))
    return out


def hit_sound():
    rng = random.Random(3)
    n = int(RATE * 0.35)
    out, ph, noise = [], 0.0, 0.0
    for i in range(n):
        f = 220 - 160 * i / n
        ph += 2 * math.pi * f / RATE
        if i % 6 == 0:
            noise = rng.uniform(-1, 1)
        out.append(0.45 * envelope(i, n, 0.002) * (0.6 * math.sin(ph) + 0.4 * noise))
    return out


def music_loop():
    """Eight bars of a soft arpeggio; the last sample leads back into the first."""
    beat = 0.2
    chords = [(57, 60, 64), (53, 57, 60), (48, 52, 55), (55, 59, 62)] * 2
    melody = [69, 72, 76, 72, 65, 69, 72, 69, 64, 67, 72, 67, 67, 71, 74, 71,
              69, 72, 76, 79, 65, 69, 72, 77, 64, 67, 72, 76, 67, 71, 74, 71]
    total = int(RATE * beat * len(melody))
    out = [0.0] * total
    note_n = int(RATE * beat)
    for k, m in enumerate(melody):
        f = 440 * 2 ** ((m - 69) / 12)
        for i in range(note_n):
            e = math.exp(-i / (RATE * 0.12))
            out[k * note_n + i] += 0.16 * e * math.sin(2 * math.pi * f * i / RATE)
    bar_n = note_n * 4
    for b, chord in enumerate(chords):
        for m in chord:
            f = 440 * 2 ** ((m - 12 - 69) / 12)
            for i in range(bar_n):
                e = 0.5 + 0.5 * math.cos(2 * math.pi * i / bar_n)
                out[b * bar_n + i] += 0.05 * (1 - e * 0.3) * math.sin(2 * math.pi * f * i / RATE)
    # Fade the ends over a few milliseconds so the loop does not click.
    fade = int(RATE * 0.004)
    for i in range(fade):
        out[i] *= i / fade
        out[-1 - i] *= i / fade
    return out


def sounds():
    write("sounds/jump.wav", wav_bytes(jump_sound()))
    write("sounds/pickup.wav", wav_bytes(pickup_sound()))
    write("sounds/hit.wav", wav_bytes(hit_sound()))
    write("sounds/music.wav", wav_bytes(music_loop()))


# ---------------------------------------------------------------- map


def level():
    text = "%d\n%d\n" % (len(LEVEL[0]), len(LEVEL)) + "\n".join(LEVEL) + "\n"
    write("levels/level1.map", text.encode("ascii"))
    # The level script draws the bodies of the walls itself; it reads the
    # same rows from here.
    js = ("// Made by tools/make_assets.py from the same rows as levels/level1.map.\n"
          "var LEVEL_ROWS = [\n" + ",\n".join('    "%s"' % r for r in LEVEL) + "\n];\n")
    write("scripts/levelmap.js", js.encode("ascii"))


def main():
    tile_images()
    sprites()
    sounds()
    level()
    print("assets written to", DATA)


if __name__ == "__main__":
    main()
