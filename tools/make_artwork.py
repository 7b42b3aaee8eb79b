#!/usr/bin/env python3
"""Draws the program's icons and pictures and writes them as .ico and .bmp files.

Everything is drawn from simple shapes (polygons, ellipses, strokes) with anti-aliased
edges, then reduced to the palette the resource needs: 16 colours for the 32 x 32 icons,
256 for the bitmaps. The icons are drawn once more at 40, 48 and 64 pixels in full colour
with soft edges, for screens scaled to 125, 150 and 200 %. No randomness and no outside input: running it again writes the same
bytes. Its output is committed under resources/art, where the resource scripts find it.

Usage: make_artwork.py OUTPUT_DIRECTORY
"""
import math
import os
import struct
import sys

SUBSAMPLES = 4  # rows sampled per pixel; columns are covered exactly


# ---------------------------------------------------------------- drawing


class Canvas:
    def __init__(self, width, height, colour=(255, 255, 255), scale=1.0):
        """scale: pixels per unit of the coordinates the shapes are given in."""
        self.width = width
        self.height = height
        self.scale = scale
        self.pixels = [list(map(float, colour)) for _ in range(width * height)]
        self.alpha = [1.0] * (width * height)

    def clear_alpha(self):
        """Starts a transparent canvas (icons): painting makes pixels opaque."""
        self.alpha = [0.0] * (self.width * self.height)

    def vertical_gradient(self, stops):
        """stops: (position 0..1, colour) pairs, top to bottom."""
        for y in range(self.height):
            colour = interpolate_stops(stops, (y + 0.5) / self.height)
            for x in range(self.width):
                self.pixels[y * self.width + x] = list(colour)

    def coverage(self, contours, nonzero=False):
        """Coverage of the contours, as {row: [coverage per column]}.

        Even-odd by default (holes in glyphs and rings); nonzero joins overlapping pieces
        of one orientation into their union (strokes).
        """
        edges = []
        for contour in contours:
            for (x0, y0), (x1, y1) in zip(contour, contour[1:] + contour[:1]):
                if y0 != y1:
                    edges.append((x0, y0, x1, y1))
        if not edges:
            return {}
        top = max(0, int(math.floor(min(min(e[1], e[3]) for e in edges))))
        bottom = min(self.height, int(math.ceil(max(max(e[1], e[3]) for e in edges))))
        rows = {}
        for y in range(top, bottom):
            row = [0.0] * self.width
            touched = False
            for sample in range(SUBSAMPLES):
                sy = y + (sample + 0.5) / SUBSAMPLES
                crossings = sorted(
                    (x0 + (sy - y0) * (x1 - x0) / (y1 - y0), 1 if y1 > y0 else -1)
                    for x0, y0, x1, y1 in edges
                    if (y0 <= sy < y1) or (y1 <= sy < y0))
                winding, start = 0, 0.0
                for x, direction in crossings:
                    was_inside = winding != 0 if nonzero else winding % 2 == 1
                    winding += direction
                    inside = winding != 0 if nonzero else winding % 2 == 1
                    if inside and not was_inside:
                        start = x
                    elif was_inside and not inside:
                        touched |= add_span(row, start, x, 1.0 / SUBSAMPLES)
            if touched:
                rows[y] = row
        return rows

    def fill(self, contours, colour, opacity=1.0, nonzero=False):
        if contours and isinstance(contours[0][0], (int, float)):
            contours = [contours]
        scaled = [[(x * self.scale, y * self.scale) for x, y in c] for c in contours]
        for y, row in self.coverage(scaled, nonzero).items():
            for x, amount in enumerate(row):
                if amount > 0.0:
                    self.blend(x, y, colour, min(1.0, amount) * opacity)

    def blend(self, x, y, colour, amount):
        index = y * self.width + x
        pixel = self.pixels[index]
        alpha = self.alpha[index]
        # Over an empty pixel the colour is taken whole; only the coverage is partial.
        new_alpha = alpha + amount * (1.0 - alpha)
        keep = alpha * (1.0 - amount) / new_alpha
        for channel in range(3):
            pixel[channel] = pixel[channel] * keep + colour[channel] * (1.0 - keep)
        self.alpha[index] = new_alpha

    def ellipse(self, cx, cy, rx, ry, colour, opacity=1.0):
        self.fill(ellipse_points(cx, cy, rx, ry), colour, opacity)

    def rounded_rect(self, x0, y0, x1, y1, radius, colour, opacity=1.0):
        self.fill(rounded_rect_points(x0, y0, x1, y1, radius), colour, opacity)

    def stroke(self, points, width, colour, closed=False):
        """A polyline with round joins and caps."""
        self.fill(stroke_contours(points, width, closed), colour, nonzero=True)


def add_span(row, left, right, weight):
    """Adds weight times the covered fraction of each pixel between left and right."""
    left = max(left, 0.0)
    right = min(right, float(len(row)))
    if right <= left:
        return False
    first, last = int(left), int(math.ceil(right)) - 1
    if first == last:
        row[first] += (right - left) * weight
        return True
    row[first] += (first + 1 - left) * weight
    for x in range(first + 1, last):
        row[x] += weight
    row[last] += (right - last) * weight
    return True


def interpolate_stops(stops, position):
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if position <= p1:
            t = 0.0 if p1 == p0 else max(0.0, (position - p0) / (p1 - p0))
            return mix(c0, c1, t)
    return stops[-1][1]


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def ellipse_points(cx, cy, rx, ry, start=0.0, end=2 * math.pi, steps=None):
    steps = steps or max(16, int(max(rx, ry) * 2))
    return [(cx + rx * math.cos(start + (end - start) * i / steps),
             cy + ry * math.sin(start + (end - start) * i / steps)) for i in range(steps)]


def rounded_rect_points(x0, y0, x1, y1, radius):
    radius = min(radius, (x1 - x0) / 2, (y1 - y0) / 2)
    corners = [(x1 - radius, y0 + radius, -math.pi / 2), (x1 - radius, y1 - radius, 0.0),
               (x0 + radius, y1 - radius, math.pi / 2), (x0 + radius, y0 + radius, math.pi)]
    points = []
    for cx, cy, angle in corners:
        for i in range(7):
            a = angle + (math.pi / 2) * i / 6
            points.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    return points


def stroke_contours(points, width, closed):
    half = width / 2
    contours = [ellipse_points(x, y, half, half, steps=12) for x, y in points]
    pairs = list(zip(points, points[1:] + points[:1] if closed else points[1:]))
    for (x0, y0), (x1, y1) in pairs:
        length = math.hypot(x1 - x0, y1 - y0)
        if length == 0:
            continue
        nx, ny = -(y1 - y0) / length * half, (x1 - x0) / length * half
        contours.append([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])
    # One orientation for every piece, so that nonzero filling gives their union.
    return [c if signed_area(c) > 0 else c[::-1] for c in contours]


def signed_area(contour):
    return sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(contour, contour[1:] + contour[:1])) / 2


def transform(points, dx=0.0, dy=0.0, scale=1.0, angle=0.0, origin=(0.0, 0.0)):
    ox, oy = origin
    c, s = math.cos(angle), math.sin(angle)
    return [(ox + ((x - ox) * c - (y - oy) * s) * scale + dx,
             oy + ((x - ox) * s + (y - oy) * c) * scale + dy) for x, y in points]


# ---------------------------------------------------------------- lettering

def _arc(cx, cy, rx, ry, start_degrees, end_degrees, steps=14):
    start, end = math.radians(start_degrees), math.radians(end_degrees)
    return [(cx + rx * math.cos(start + (end - start) * i / steps),
             cy + ry * math.sin(start + (end - start) * i / steps)) for i in range(steps + 1)]


# Stroke glyphs in a box 1 wide and 1 high (y down); each is a list of polylines.
GLYPHS = {
    "A": [[(0.0, 1.0), (0.5, 0.0), (1.0, 1.0)], [(0.22, 0.62), (0.78, 0.62)]],
    "C": [_arc(0.55, 0.5, 0.5, 0.5, -50, -310)],
    "D": [[(0.0, 0.0), (0.0, 1.0)],
          [(0.0, 0.0), (0.35, 0.0)] + _arc(0.35, 0.5, 0.6, 0.5, -90, 90) + [(0.0, 1.0)]],
    "L": [[(0.0, 0.0), (0.0, 1.0), (0.85, 1.0)]],
    "T": [[(0.0, 0.0), (1.0, 0.0)], [(0.5, 0.0), (0.5, 1.0)]],
    "Y": [[(0.0, 0.0), (0.5, 0.5), (1.0, 0.0)], [(0.5, 0.5), (0.5, 1.0)]],
    "1": [[(0.15, 0.22), (0.55, 0.0), (0.55, 1.0)]],
    "0": [_arc(0.5, 0.5, 0.5, 0.5, 0, 360, 28)],
    "%": [[(0.95, 0.0), (0.05, 1.0)], _arc(0.2, 0.2, 0.17, 0.2, 0, 360, 16),
          _arc(0.8, 0.8, 0.17, 0.2, 0, 360, 16)],
}


def draw_text(canvas, text, x, y, height, width, stroke, colour, spacing=0.35, angle=0.0, origin=None):
    """Draws text of stroke glyphs; x, y is the top-left corner of the first glyph."""
    origin = origin or (x, y)
    for index, letter in enumerate(text):
        left = x + index * width * (1 + spacing)
        for line in GLYPHS[letter]:
            points = [(left + px * width, y + py * height) for px, py in line]
            canvas.stroke(transform(points, angle=angle, origin=origin), stroke, colour)


def text_width(text, width, spacing=0.35):
    return len(text) * width + (len(text) - 1) * width * spacing


# ---------------------------------------------------------------- palettes and files


def rgb_bytes(canvas):
    return [tuple(max(0, min(255, int(round(c)))) for c in pixel) for pixel in canvas.pixels]


def median_cut(colours, count):
    """A palette of at most count colours for the (colour -> frequency) table."""
    boxes = [sorted(colours.items())]
    while len(boxes) < count:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break

        def spread(box):
            ranges = [max(c[0][i] for c in box) - min(c[0][i] for c in box) for i in range(3)]
            return max(ranges) * sum(n for _, n in box)

        box = max(splittable, key=spread)
        boxes.remove(box)
        channel = max(range(3), key=lambda i: max(c[0][i] for c in box) - min(c[0][i] for c in box))
        box.sort(key=lambda item: (item[0][channel], item[0]))
        total, running, cut = sum(n for _, n in box), 0, 1
        for cut, (_, n) in enumerate(box, 1):
            running += n
            if running * 2 >= total:
                break
        cut = min(max(cut, 1), len(box) - 1)
        boxes.extend([box[:cut], box[cut:]])
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[i] * n for c, n in box) / total)) for i in range(3)))
    return sorted(set(palette))


def nearest_indices(pixels, palette):
    cache = {}
    result = []
    for pixel in pixels:
        if pixel not in cache:
            cache[pixel] = min(range(len(palette)), key=lambda i: (
                (palette[i][0] - pixel[0]) ** 2 * 3 + (palette[i][1] - pixel[1]) ** 2 * 4
                + (palette[i][2] - pixel[2]) ** 2 * 2, i))
        result.append(cache[pixel])
    return result


def frequencies(pixels):
    table = {}
    for pixel in pixels:
        table[pixel] = table.get(pixel, 0) + 1
    return table


def palette_entries(palette, size):
    padded = list(palette) + [(0, 0, 0)] * (size - len(palette))
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in padded)


def bitmap_info(width, height, bits, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 2835, 2835, colours, 0)


def write_bmp(path, canvas):
    """A bottom-up 8-bit BMP with a palette of at most 256 colours."""
    pixels = rgb_bytes(canvas)
    palette = median_cut(frequencies(pixels), 256)
    indices = nearest_indices(pixels, palette)
    stride = (canvas.width + 3) & ~3
    rows = []
    for y in reversed(range(canvas.height)):
        row = bytes(indices[y * canvas.width:(y + 1) * canvas.width])
        rows.append(row + b"\0" * (stride - canvas.width))
    image = b"".join(rows)
    info = bitmap_info(canvas.width, canvas.height, 8, len(image), 256)
    offset = 14 + len(info) + 256 * 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    with open(path, "wb") as handle:
        handle.write(header + info + palette_entries(palette, 256) + image)


def write_icon(path, canvas):
    """A 32 x 32, 16-colour icon: 4-bit colour image plus the 1-bit transparency mask."""
    size = canvas.width
    opaque = [a >= 0.5 for a in canvas.alpha]
    pixels = rgb_bytes(canvas)
    palette = median_cut(frequencies([p for p, o in zip(pixels, opaque) if o]), 15)
    # Entry 0 stays black: transparent pixels use it, so the mask alone shows through.
    palette = [(0, 0, 0)] + [c for c in palette if c != (0, 0, 0)]
    indices = nearest_indices(pixels, palette)
    colour_rows, mask_rows = [], []
    for y in reversed(range(size)):
        row = [indices[y * size + x] if opaque[y * size + x] else 0 for x in range(size)]
        colour_rows.append(bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2)))
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (0 if opaque[y * size + x] else 1)
        mask_rows.append(bits.to_bytes(size // 8, "big"))
    colour_image, mask_image = b"".join(colour_rows), b"".join(mask_rows)
    image = (bitmap_info(size, size * 2, 4, len(colour_image) + len(mask_image), 16)
             + palette_entries(palette, 16) + colour_image + mask_image)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 22)
    directory = struct.pack("<HHH", 0, 1, 1) + entry
    with open(path, "wb") as handle:
        handle.write(directory + image)


def write_large_icon(path, canvases):
    """One icon of several sizes, each 32-bit colour with its alpha, plus the 1-bit mask."""
    images = []
    for canvas in canvases:
        size = canvas.width
        colour_rows, mask_rows = [], []
        for y in reversed(range(size)):
            row = b""
            bits = 0
            for x in range(size):
                index = y * size + x
                r, g, b = (max(0, min(255, int(round(c)))) for c in canvas.pixels[index])
                alpha = int(round(canvas.alpha[index] * 255))
                row += struct.pack("<BBBB", b, g, r, alpha) if alpha else b"\0\0\0\0"
                bits = (bits << 1) | (0 if alpha else 1)
            colour_rows.append(row)
            stride = (size + 31) // 32 * 4
            mask_rows.append((bits << (stride * 8 - size)).to_bytes(stride, "big"))
        pixels = b"".join(colour_rows) + b"".join(mask_rows)
        images.append((size, bitmap_info(size, size * 2, 32, len(pixels), 0) + pixels))
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, image in images:
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as handle:
        handle.write(directory + b"".join(image for _, image in images))


# ---------------------------------------------------------------- the pictures

SKIN = (238, 188, 150)
SKIN_SHADE = (196, 130, 96)
OUTLINE = (92, 52, 36)


def keycap(canvas, x, y, width, height=None, pressed=False, letter=None):
    """A key seen slightly from above: dark base, lighter top face, optional letter."""
    height = width if height is None else height
    depth = min(width, height) * 0.14
    radius = min(width, height) * 0.18
    canvas.rounded_rect(x, y, x + width, y + height, radius, (70, 74, 86))
    top = depth * (0.55 if pressed else 0.15)
    canvas.rounded_rect(x + depth * 0.6, y + top, x + width - depth * 0.6, y + height - depth * 1.2 + top,
                        radius * 0.8, (226, 228, 234))
    canvas.rounded_rect(x + depth * 0.9, y + top + depth * 0.3, x + width - depth * 0.9,
                        y + height - depth * 1.5 + top, radius * 0.66, (246, 247, 250))
    if letter:
        glyph_height = height * 0.42
        glyph_width = glyph_height * 0.72
        cx = x + width / 2
        cy = y + top + (height - depth * 1.2) / 2
        draw_text(canvas, letter, cx - glyph_width / 2, cy - glyph_height / 2, glyph_height, glyph_width,
                  height * 0.085, (40, 52, 96))


def icon_canvas(size):
    """A transparent square canvas on which shapes are given in a 32 x 32 box."""
    canvas = Canvas(size, size, scale=size / 32)
    canvas.clear_alpha()
    return canvas


def hand_on_key_icon(size=32):
    canvas = icon_canvas(size)
    keycap(canvas, 1, 17, 25, 14, pressed=True)
    for (x0, y0), (x1, y1) in [((3, 12), (5, 14.5)), ((27.5, 13), (25.5, 15.5))]:
        canvas.stroke([(x0, y0), (x1, y1)], 1.3, (236, 120, 20))  # the click
    # A fist at the top right with the index finger pointing down onto the key.
    fist = rounded_rect_points(15.5, 0.5, 31.5, 14.5, 5.0)
    canvas.fill(fist, OUTLINE)
    canvas.fill(rounded_rect_points(16.7, 1.7, 30.3, 13.3, 4.0), SKIN)
    for y in (5.0, 9.0):
        canvas.stroke([(22.5, y), (29.5, y)], 0.9, SKIN_SHADE)  # folded fingers
    finger = [(13.2, 20.0), (19.5, 9.0)]
    canvas.stroke(finger, 6.6, OUTLINE)
    canvas.stroke(finger, 4.4, SKIN)
    canvas.ellipse(13.9, 18.6, 1.5, 1.2, (255, 228, 218))  # nail
    return canvas


def open_book_icon(size=32):
    canvas = icon_canvas(size)
    cover = (36, 70, 150)
    canvas.fill([(1, 9), (16, 12), (31, 9), (31, 27), (16, 30), (1, 27)], cover)
    pages = (250, 248, 238)
    canvas.fill([(2.5, 7.5), (15.3, 10.5), (15.3, 27.5), (2.5, 24.5)], pages)
    canvas.fill([(16.7, 10.5), (29.5, 7.5), (29.5, 24.5), (16.7, 27.5)], pages)
    canvas.fill([(15.3, 10.5), (16.7, 10.5), (16.7, 28.0), (15.3, 28.0)], (150, 150, 140))
    lines = (120, 130, 160)
    for i in range(5):
        y = 12.0 + i * 3.0
        canvas.stroke([(5.0, y - 1.8), (13.0, y + 0.2)], 0.9, lines)
        canvas.stroke([(19.0, y + 0.2), (27.0, y - 1.8)], 0.9, lines)
    return canvas


def person_icon(colour, woman, size=32):
    canvas = icon_canvas(size)
    if woman:
        canvas.ellipse(16, 8.0, 6.0, 6.6, colour)  # head and hair
        canvas.ellipse(16, 2.2, 3.0, 2.2, colour)  # bun
        canvas.fill([(10.0, 8.0), (22.0, 8.0), (23.0, 14.5), (20.5, 16.5), (11.5, 16.5), (9.0, 14.5)], colour)
        canvas.fill([(14.0, 15.0), (18.0, 15.0), (17.5, 19.5), (14.5, 19.5)], colour)  # neck
        canvas.fill([(9.0, 20.5), (11.5, 18.5), (20.5, 18.5), (23.0, 20.5), (20.0, 24.5), (28.5, 31.5),
                     (3.5, 31.5), (12.0, 24.5)], colour)  # dress
    else:
        canvas.ellipse(16, 8.0, 5.8, 6.6, colour)
        canvas.fill([(13.5, 13.0), (18.5, 13.0), (18.5, 17.0), (13.5, 17.0)], colour)  # neck
        canvas.fill(rounded_rect_points(4.0, 16.5, 28.0, 40.0, 8.0), colour)
        canvas.fill([(13.0, 16.5), (19.0, 16.5), (16.0, 21.0)], (242, 242, 242))  # collar
        canvas.fill([(15.0, 19.5), (17.0, 19.5), (18.0, 27.0), (16.0, 29.5), (14.0, 27.0)], (210, 44, 44))
    return canvas


def about_portrait():
    """170 x 240: the program's name spelt on keys going down the picture."""
    canvas = Canvas(170, 240)
    canvas.vertical_gradient([(0.0, (252, 244, 222)), (0.55, (206, 226, 240)), (1.0, (120, 160, 206))])
    for i, (cx, cy, r) in enumerate([(30, 40, 34), (140, 90, 46), (40, 190, 52), (150, 220, 30)]):
        canvas.ellipse(cx, cy, r, r, (255, 255, 255), opacity=0.28 + 0.05 * i)
    size = 36
    for i, letter in enumerate("DACTYLA"):
        x = 14 + (i % 2) * 58 + (i // 2) * 12
        y = 6 + i * 32
        canvas.rounded_rect(x + 3, y + 4, x + size + 3, y + size + 4, 7, (40, 50, 80), opacity=0.25)
        keycap(canvas, x, y, size, pressed=(i == 3), letter=letter)
    return canvas


def keyboard_with_badge():
    """164 x 93: a keyboard held in a hand, with a round badge reading 100%."""
    canvas = Canvas(164, 93)
    canvas.vertical_gradient([(0.0, (236, 242, 250)), (1.0, (196, 210, 230))])
    angle = math.radians(-7)
    origin = (70.0, 55.0)

    def place(points):
        return transform(points, angle=angle, origin=origin)

    # The hand comes from the bottom left: palm under the keyboard, fingers curled
    # round its far edge, thumb across the near one.
    arm = place([(-20, 120), (-4, 64), (30, 56), (44, 70), (30, 110)])
    canvas.fill(arm, OUTLINE)
    canvas.fill(transform(arm, scale=0.95, origin=place([(14, 86)])[0]), SKIN)
    for i in range(4):
        tip = place([(30 + i * 9.5, 33.5)])
        canvas.stroke(place([(24 + i * 9.5, 44)]) + tip, 7.6, OUTLINE)
        canvas.stroke(place([(24 + i * 9.5, 44)]) + tip, 5.6, SKIN)
    canvas.fill(place(rounded_rect_points(14, 36, 134, 78, 6)), (54, 58, 68))
    canvas.fill(place(rounded_rect_points(17, 39, 131, 74, 4)), (84, 90, 104))
    columns, key = 12, 8.6
    for row in range(4):
        offset = (row % 2) * 3.0
        for column in range(columns - (row == 3) * 1):
            x = 20 + offset + column * (key + 0.6)
            y = 41 + row * (key + 0.5)
            if x + key > 129:
                continue
            canvas.fill(place(rounded_rect_points(x, y, x + key, y + key, 1.6)), (232, 234, 240))
    space_bar = rounded_rect_points(45, 41 + 4 * 9.1 - 2.6, 104, 41 + 4 * 9.1 + 4.2, 1.6)
    canvas.fill(place(space_bar), (232, 234, 240))
    thumb = place([(16, 88), (30, 76), (42, 71)])
    canvas.stroke(thumb, 8.4, OUTLINE)
    canvas.stroke(thumb, 6.4, SKIN)
    canvas.ellipse(*place([(41.0, 71.0)])[0], 2.0, 1.7, (255, 228, 218))  # nail
    # The badge.
    cx, cy, r = 132, 27, 25
    canvas.ellipse(cx + 2, cy + 3, r, r, (30, 40, 60), opacity=0.3)
    canvas.ellipse(cx, cy, r, r, (196, 30, 40))
    canvas.ellipse(cx, cy, r - 3, r - 3, (250, 200, 60))
    canvas.ellipse(cx, cy, r - 5, r - 5, (214, 40, 48))
    height, width = 13.0, 7.2
    spacing = 0.3
    left = cx - text_width("100%", width, spacing) / 2
    draw_text(canvas, "100%", left, cy - height / 2, height, width, 2.3, (255, 255, 255), spacing,
              angle=math.radians(-12), origin=(cx, cy))
    return canvas


class Ridge:
    """A mountain ridge from deterministic midpoint displacement."""

    def __init__(self, width, base, roughness, seed, steps=7):
        state = seed

        def next_random():
            nonlocal state
            state = (state * 1103515245 + 12345) & 0x7FFFFFFF
            return state / 0x7FFFFFFF - 0.5

        heights = [0.0, 0.0]
        amplitude = roughness
        for _ in range(steps):
            refined = []
            for a, b in zip(heights, heights[1:]):
                refined += [a, (a + b) / 2 + next_random() * amplitude]
            heights = refined + heights[-1:]
            amplitude *= 0.55
        self.points = [(width * i / (len(heights) - 1), base + h) for i, h in enumerate(heights)]

    def polygon(self, bottom):
        return self.points + [(self.points[-1][0], bottom), (self.points[0][0], bottom)]


def background_mountains():
    """594 x 202: mountains at dawn behind the typing strip, calm in the middle."""
    width, height = 594, 202
    canvas = Canvas(width, height)
    canvas.vertical_gradient([(0.0, (150, 182, 214)), (0.45, (214, 222, 228)), (0.62, (244, 226, 196)),
                              (1.0, (244, 226, 196))])
    for radius in range(60, 20, -8):
        canvas.ellipse(430, 84, radius, radius, (255, 244, 214), opacity=0.12)
    canvas.ellipse(430, 84, 18, 18, (255, 250, 236), opacity=0.9)
    far = Ridge(width, 92, 120, seed=11)
    canvas.fill(far.polygon(height), (152, 168, 190))
    def snow_line(x):
        return 90 + 3 * math.sin(x * 0.09) + 2 * math.sin(x * 0.23)

    canvas.fill([(x, min(y, snow_line(x))) for x, y in far.points]
                + [(x, snow_line(x)) for x, _ in reversed(far.points)], (236, 240, 246))
    canvas.fill(Ridge(width, 124, 70, seed=5).polygon(height), (104, 126, 146))
    canvas.fill(Ridge(width, 150, 44, seed=23).polygon(height), (70, 98, 96))
    lake_top = 168
    canvas.fill([(0, lake_top), (width, lake_top), (width, height), (0, height)], (118, 150, 170))
    for i in range(6):
        y = lake_top + 5 + i * 5
        canvas.stroke([(40 + i * 70, y), (120 + i * 70, y)], 1.0, (170, 196, 210))
    canvas.fill(Ridge(width, 178, 30, seed=41, steps=6).polygon(height), (48, 70, 62))
    return canvas


LARGE_ICON_SIZES = (40, 48, 64)
WOMAN = (170, 40, 96)
MAN = (34, 64, 136)

ARTWORK = [
    ("hand_on_key.ico", hand_on_key_icon, write_icon),
    ("open_book.ico", open_book_icon, write_icon),
    ("woman.ico", lambda: person_icon(WOMAN, woman=True), write_icon),
    ("man.ico", lambda: person_icon(MAN, woman=False), write_icon),
    ("hand_on_key_large.ico", lambda: [hand_on_key_icon(s) for s in LARGE_ICON_SIZES], write_large_icon),
    ("open_book_large.ico", lambda: [open_book_icon(s) for s in LARGE_ICON_SIZES], write_large_icon),
    ("woman_large.ico", lambda: [person_icon(WOMAN, True, s) for s in LARGE_ICON_SIZES], write_large_icon),
    ("man_large.ico", lambda: [person_icon(MAN, False, s) for s in LARGE_ICON_SIZES], write_large_icon),
    ("about_portrait.bmp", about_portrait, write_bmp),
    ("keyboard_100.bmp", keyboard_with_badge, write_bmp),
    ("background_mountains.bmp", background_mountains, write_bmp),
]


def main():
    if len(sys.argv) != 2:
        print("usage: make_artwork.py OUTPUT_DIRECTORY", file=sys.stderr)
        return 2
    os.makedirs(sys.argv[1], exist_ok=True)
    for name, draw, write in ARTWORK:
        write(os.path.join(sys.argv[1], name), draw())
    return 0


if __name__ == "__main__":
    sys.exit(main())
