#!/usr/bin/env python3
"""Draws the program's pictures and writes them beside this script.

    qijuan.ico   the program icon, 16 x 16 and 32 x 32, 32-bit with alpha
    banner.bmp   the picture strip at the top of the main window, 1104 x 90
    help.bmp     the help picture button, 64 x 64, on the strip's background

Everything is drawn from shapes (rounded boxes, strokes, circles) with
anti-aliased edges; the program's name in the banner is drawn stroke by
stroke, so no font is needed. Only the Python 3 standard library is used.
The output is the same on every run; the build uses the files as they are
kept in the repository, so run this only after changing a picture:

    python3 res/make_images.py
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


# --- shapes as signed distances (negative inside), in pixels -------------

def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


class Stroke:
    """A polyline of the given width with round ends and joints."""

    def __init__(self, points, width):
        self.points = points
        self.radius = width / 2.0
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        pad = self.radius + 1.5
        self.box = (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)

    def distance(self, x, y):
        best = 1e9
        pts = self.points
        if len(pts) == 1:
            return math.hypot(x - pts[0][0], y - pts[0][1]) - self.radius
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            d = segment_distance(x, y, ax, ay, bx, by)
            if d < best:
                best = d
        return best - self.radius


class RoundBox:
    def __init__(self, left, top, right, bottom, radius):
        self.cx, self.cy = (left + right) / 2.0, (top + bottom) / 2.0
        self.hx, self.hy = (right - left) / 2.0, (bottom - top) / 2.0
        self.r = radius
        self.box = (left - 1.5, top - 1.5, right + 1.5, bottom + 1.5)

    def distance(self, x, y):
        qx = abs(x - self.cx) - (self.hx - self.r)
        qy = abs(y - self.cy) - (self.hy - self.r)
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - self.r


class Circle:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.box = (cx - r - 1.5, cy - r - 1.5, cx + r + 1.5, cy + r + 1.5)

    def distance(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r


class Polygon:
    """A convex polygon, points in clockwise order on screen (y down)."""

    def __init__(self, points):
        self.points = points
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.box = (min(xs) - 1.5, min(ys) - 1.5, max(xs) + 1.5, max(ys) + 1.5)

    def distance(self, x, y):
        inside = True
        best = 1e9
        pts = self.points
        for i in range(len(pts)):
            ax, ay = pts[i]
            bx, by = pts[(i + 1) % len(pts)]
            best = min(best, segment_distance(x, y, ax, ay, bx, by))
            if (bx - ax) * (y - ay) - (by - ay) * (x - ax) < 0:
                inside = False
        return -best if inside else best


# --- a picture of premultiplied RGBA floats ------------------------------

class Picture:
    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        self.pixels = []
        for y in range(height):
            row = []
            for x in range(width):
                if background is None:
                    row.append([0.0, 0.0, 0.0, 0.0])
                else:
                    r, g, b = background(x, y)
                    row.append([r, g, b, 1.0])
            self.pixels.append(row)

    def fill(self, shape, colour, alpha=1.0, offset=(0.0, 0.0)):
        """Puts the shape over the picture; colour is (r, g, b) in 0..1 or a
        function of the pixel's position giving one."""
        ox, oy = offset
        left, top, right, bottom = shape.box
        x0 = max(0, int(math.floor(left + ox)))
        y0 = max(0, int(math.floor(top + oy)))
        x1 = min(self.width, int(math.ceil(right + ox)) + 1)
        y1 = min(self.height, int(math.ceil(bottom + oy)) + 1)
        for y in range(y0, y1):
            row = self.pixels[y]
            for x in range(x0, x1):
                d = shape.distance(x + 0.5 - ox, y + 0.5 - oy)
                coverage = max(0.0, min(1.0, 0.5 - d)) * alpha
                if coverage <= 0.0:
                    continue
                r, g, b = colour(x, y) if callable(colour) else colour
                p = row[x]
                keep = 1.0 - coverage
                p[0] = r * coverage + p[0] * keep
                p[1] = g * coverage + p[1] * keep
                p[2] = b * coverage + p[2] * keep
                p[3] = coverage + p[3] * keep

    def byte_pixel(self, x, y):
        """(b, g, r, a) bytes, straight (not premultiplied) colour."""
        r, g, b, a = self.pixels[y][x]
        if a <= 0.0:
            return 0, 0, 0, 0
        def to_byte(v):
            return max(0, min(255, int(round(v / a * 255.0))))
        return to_byte(b), to_byte(g), to_byte(r), max(0, min(255, int(round(a * 255.0))))


def rgb(hex_text):
    v = int(hex_text, 16)
    return ((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# --- file formats ---------------------------------------------------------

def bmp24(picture):
    """A bottom-up 24-bit BMP: what LoadImage and picture controls take."""
    stride = (picture.width * 3 + 3) & ~3
    body = bytearray()
    for y in range(picture.height - 1, -1, -1):
        row = bytearray()
        for x in range(picture.width):
            b, g, r, _ = picture.byte_pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        body += row
    header = struct.pack("<IiiHHIIiiII", 40, picture.width, picture.height, 1, 24, 0,
                         len(body), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(body), 0, 0,
                              14 + len(header))
    return file_header + header + body


def icon_image(picture):
    """One icon image: a 32-bit DIB of double height, then the AND mask."""
    w, h = picture.width, picture.height
    colour = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            colour += bytes(picture.byte_pixel(x, y))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(w):
            if picture.byte_pixel(x, y)[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + colour + mask


def ico(pictures):
    images = [icon_image(p) for p in pictures]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for p, image in zip(pictures, images):
        out += struct.pack("<BBBBHHII", p.width % 256, p.height % 256, 0, 0, 1, 32,
                           len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    return out


# --- the pictures ----------------------------------------------------------

GREEN_DARK = rgb("1F6B4F")
GREEN = rgb("2E9C6A")
GREEN_LIGHT = rgb("6CCB8F")
PAGE = rgb("FFFFFF")
PAGE_SHADE = rgb("D9EFE3")
INK = rgb("1E4D3B")
ACCENT = rgb("E8A33D")


def program_icon(size):
    """Two pages, one behind the other (a file and its copy), on a green
    rounded square; the front page carries a gold fold and two lines."""
    s = size / 32.0
    # Small sizes put edges on pixel borders and thin lines on pixel
    # centres, so that they stay sharp instead of smeared over two pixels.
    crisp = size <= 16

    def edge(v):
        return float(round(v * s)) if crisp else v * s

    def centre(v):
        return math.floor(v * s) + 0.5 if crisp else v * s

    p = Picture(size, size)
    top_colour = GREEN_LIGHT
    bottom_colour = GREEN_DARK
    p.fill(RoundBox(0.0 if crisp else 0.5 * s, 0.0 if crisp else 0.5 * s,
                    size if crisp else 31.5 * s, size if crisp else 31.5 * s, 6.5 * s),
           lambda x, y: mix(top_colour, bottom_colour, (y + 0.5) / size))
    # The copy behind, lighter.
    p.fill(RoundBox(edge(12), edge(4), edge(27), edge(22), 1.5 * s), PAGE_SHADE)
    # The page in front with its folded corner.
    fold = edge(6) if crisp else 5.5 * s
    left, top, right, bottom = edge(5), edge(9), edge(21), edge(28)
    p.fill(Polygon([(left, top), (right - fold, top), (right, top + fold), (right, bottom),
                    (left, bottom)]), PAGE)
    p.fill(Polygon([(right - fold, top), (right, top + fold), (right - fold, top + fold)]), ACCENT)
    line = 1.0 if crisp else 2.0 * s
    p.fill(Stroke([(centre(8.5), centre(18)), (centre(17.5), centre(18))], line), GREEN)
    p.fill(Stroke([(centre(8.5), centre(23)), (centre(15), centre(23))], line), GREEN)
    return p


BANNER_WIDTH, BANNER_HEIGHT = 1104, 90
SKY_TOP = rgb("F4FBF7")
SKY_BOTTOM = rgb("D4EEDF")


def banner_background(x, y):
    return mix(SKY_TOP, SKY_BOTTOM, y / (BANNER_HEIGHT - 1.0))


# The program's name, 禾岚·栖卷, stroke by stroke in a 100 x 100 box per
# character (the dot in a narrower one). Each stroke is a polyline.
GLYPHS = [
    (100, [  # 禾
        [(64, 6), (36, 18)],
        [(12, 36), (88, 36)],
        [(50, 16), (50, 96)],
        [(47, 42), (34, 62), (12, 80)],
        [(53, 44), (70, 60), (88, 74)],
    ]),
    (100, [  # 岚: 山 over 风
        [(50, 2), (50, 32)],
        [(22, 12), (22, 34), (78, 34)],
        [(78, 12), (78, 34)],
        [(28, 44), (28, 72), (14, 96)],
        [(28, 44), (72, 44), (72, 84), (78, 92), (92, 92), (94, 80)],
        [(38, 56), (60, 82)],
        [(60, 56), (38, 82)],
    ]),
    (44, [  # ·
        [(22, 52)],
    ]),
    (100, [  # 栖: 木 beside 西
        [(4, 30), (40, 30)],
        [(22, 4), (22, 98)],
        [(21, 34), (13, 56), (4, 70)],
        [(25, 42), (37, 54)],
        [(46, 10), (96, 10)],
        [(50, 30), (50, 96)],
        [(50, 30), (92, 30), (92, 96)],
        [(50, 90), (92, 90)],
        [(64, 12), (64, 52), (56, 68)],
        [(78, 12), (78, 64), (92, 64)],
    ]),
    (100, [  # 卷
        [(34, 4), (41, 15)],
        [(66, 4), (59, 15)],
        [(22, 24), (78, 24)],
        [(12, 40), (88, 40)],
        [(52, 12), (42, 42), (12, 66)],
        [(55, 44), (72, 58), (90, 66)],
        [(32, 56), (32, 92), (82, 92), (82, 82)],
        [(32, 56), (70, 56), (70, 74), (62, 78)],
    ]),
]


def draw_name(picture, left, top, size, weight, colour, offset=(0.0, 0.0)):
    """Draws 禾岚·栖卷 with its top-left corner at (left, top), each character
    `size` pixels high; returns the x just after the last character."""
    scale = size / 100.0
    x = left
    for advance, strokes in GLYPHS:
        for points in strokes:
            placed = [(x + px * scale, top + py * scale) for px, py in points]
            width = weight * (1.6 if len(points) == 1 else 1.0)
            picture.fill(Stroke(placed, width), colour, offset=offset)
        x += (advance + 14) * scale
    return x


def mountains(picture):
    """Misty hills (岚) along the strip's bottom, fading to the right end of
    the visible window."""
    layers = [
        (rgb("BFE3CD"), 58, 10, 0.011, 0.0),
        (rgb("A6D8BA"), 68, 8, 0.017, 1.7),
    ]
    for colour, base, height, frequency, phase in layers:
        for x in range(picture.width):
            ridge = base - height * (0.6 * math.sin(x * frequency + phase) +
                                     0.4 * math.sin(x * frequency * 2.3 + phase * 2.0))
            for y in range(picture.height):
                coverage = max(0.0, min(1.0, y + 0.5 - ridge))
                if coverage <= 0.0:
                    continue
                coverage *= 0.55
                p = picture.pixels[y][x]
                for i in range(3):
                    p[i] = colour[i] * coverage + p[i] * (1.0 - coverage)


def banner():
    p = Picture(BANNER_WIDTH, BANNER_HEIGHT, banner_background)
    mountains(p)
    # The help button covers 16..80 across and 0..88 down (picture and
    # link); the logo starts to its right.
    emblem = program_icon(56)
    ex, ey = 104, 17
    for y in range(emblem.height):
        for x in range(emblem.width):
            r, g, b, a = emblem.pixels[y][x]
            if a <= 0.0:
                continue
            q = p.pixels[ey + y][ex + x]
            for i, v in enumerate((r, g, b)):
                q[i] = v + q[i] * (1.0 - a)
    # A soft shadow under the name, then the name.
    after = draw_name(p, 180, 18, 54, 7.5, rgb("B9DCC7"), offset=(2.0, 2.0))
    draw_name(p, 180, 18, 54, 7.5, INK)
    # A gold rule under the name and the tagline's place.
    p.fill(Stroke([(182, 82), (after - 16, 82)], 2.5), ACCENT)
    return p


def help_picture(strip):
    """A question mark in a circle, on the strip's own pixels at the button's
    place (16, 0), so the button sits on the strip seamlessly."""
    p = Picture(64, 64)
    for y in range(64):
        for x in range(64):
            p.pixels[y][x] = list(strip.pixels[y][x + 16])
    p.fill(Circle(32, 32, 28), GREEN)
    p.fill(Circle(32, 32, 24.5), lambda x, y: mix(GREEN_LIGHT, GREEN, y / 63.0))
    arc = []
    for i in range(0, 13):
        angle = math.radians(200 - i * 20)
        arc.append((32 + 9.5 * math.cos(angle), 24 - 9.5 * math.sin(angle)))
    arc += [(36, 33), (32, 37), (32, 41)]
    p.fill(Stroke(arc, 6.5), PAGE)
    p.fill(Circle(32, 50, 4.2), PAGE)
    return p


def write(name, data):
    path = os.path.join(HERE, name)
    with open(path, "wb") as f:
        f.write(data)
    print(f"{path}: {len(data)} bytes")


def main():
    write("qijuan.ico", ico([program_icon(16), program_icon(32)]))
    strip = banner()
    write("banner.bmp", bmp24(strip))
    write("help.bmp", bmp24(help_picture(strip)))


if __name__ == "__main__":
    main()
