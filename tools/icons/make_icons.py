#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files into resources/icons/.

quillmet.ico    the program icon: a quill over a written sheet with a small counter
                (16x16, 32x32 and 48x48)
arrow_up.ico    16x16 arrows of the invoice dialog's column-order buttons
arrow_down.ico

Every image is 32-bit with alpha plus the 1-bit AND mask. Shapes are filled with an
anti-aliasing scanline rasteriser (16 sub-rows per pixel, exact coverage along each row).
Standard library only; run it again after changing a drawing:

    python3 tools/icons/make_icons.py [output-folder]
"""

import math
import os
import struct
import sys

SUB_ROWS = 16


# ---------------------------------------------------------------------------------------------
# Rasterising


def coverage(polygons, size):
    """Fraction of each pixel covered by the polygons (non-zero winding), rows top-down."""
    edges = []
    for polygon in polygons:
        count = len(polygon)
        for i in range(count):
            x0, y0 = polygon[i]
            x1, y1 = polygon[(i + 1) % count]
            if y0 == y1:
                continue
            direction = 1 if y1 > y0 else -1
            if y0 > y1:
                x0, y0, x1, y1 = x1, y1, x0, y0
            edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), direction))

    cells = [[0.0] * size for _ in range(size)]
    weight = 1.0 / SUB_ROWS
    for row in range(size):
        line = cells[row]
        for sub in range(SUB_ROWS):
            y = row + (sub + 0.5) / SUB_ROWS
            crossings = sorted(
                (x0 + (y - top) * slope, direction)
                for top, bottom, x0, slope, direction in edges
                if top <= y < bottom
            )
            winding = 0
            start = 0.0
            for x, direction in crossings:
                before = winding
                winding += direction
                if before == 0 and winding != 0:
                    start = x
                elif before != 0 and winding == 0:
                    add_span(line, start, x, weight, size)
    return cells


def add_span(line, start, end, weight, size):
    start = max(0.0, start)
    end = min(float(size), end)
    if end <= start:
        return
    first = int(math.floor(start))
    last = min(size - 1, int(math.floor(end)))
    for x in range(first, last + 1):
        covered = min(end, x + 1.0) - max(start, float(x))
        if covered > 0:
            line[x] += covered * weight


class Canvas:
    """Premultiplied RGBA floats, 0..1."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def fill(self, polygons, paint, opacity=1.0):
        """paint: (r, g, b[, a]) in 0..255, or a function of the pixel centre giving one."""
        if polygons and isinstance(polygons[0][0], (int, float)):
            polygons = [polygons]
        cells = coverage(polygons, self.size)
        for y in range(self.size):
            for x in range(self.size):
                amount = min(1.0, cells[y][x]) * opacity
                if amount <= 0.001:
                    continue
                colour = paint(x + 0.5, y + 0.5) if callable(paint) else paint
                r, g, b = (c / 255.0 for c in colour[:3])
                a = (colour[3] / 255.0 if len(colour) > 3 else 1.0) * amount
                pr, pg, pb, pa = self.pixels[y][x]
                keep = 1.0 - a
                self.pixels[y][x] = (r * a + pr * keep, g * a + pg * keep, b * a + pb * keep,
                                     a + pa * keep)

    def rgba(self):
        """Straight-alpha 8-bit rows, top-down."""
        rows = []
        for line in self.pixels:
            row = []
            for r, g, b, a in line:
                alpha = int(round(min(1.0, a) * 255))
                if alpha == 0:
                    row.append((0, 0, 0, 0))
                    continue
                row.append(tuple(int(round(min(1.0, c / a) * 255)) for c in (r, g, b)) + (alpha,))
            rows.append(row)
        return rows


# ---------------------------------------------------------------------------------------------
# Shapes


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def arc(cx, cy, radius, start_degrees, end_degrees, steps=12):
    points = []
    for i in range(steps + 1):
        angle = math.radians(start_degrees + (end_degrees - start_degrees) * i / steps)
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return points


def rounded_rect(x0, y0, x1, y1, radius):
    if radius <= 0:
        return rect(x0, y0, x1, y1)
    return (arc(x1 - radius, y0 + radius, radius, -90, 0) +
            arc(x1 - radius, y1 - radius, radius, 0, 90) +
            arc(x0 + radius, y1 - radius, radius, 90, 180) +
            arc(x0 + radius, y0 + radius, radius, 180, 270))


def scaled(polygon, factor, dx=0.0, dy=0.0):
    return [(x * factor + dx, y * factor + dy) for x, y in polygon]


def signed_area(polygon):
    return sum(x0 * y1 - x1 * y0
               for (x0, y0), (x1, y1) in zip(polygon, polygon[1:] + polygon[:1])) / 2


def inset(polygon, distance):
    """The polygon moved inwards by distance (mitred corners)."""
    if signed_area(polygon) < 0:  # make it clockwise on screen (y grows downwards)
        polygon = list(reversed(polygon))
    count = len(polygon)
    lines = []
    for i in range(count):
        (x0, y0), (x1, y1) = polygon[i], polygon[(i + 1) % count]
        length = math.hypot(x1 - x0, y1 - y0)
        nx, ny = -(y1 - y0) / length, (x1 - x0) / length  # inward for clockwise on screen
        lines.append(((x0 + nx * distance, y0 + ny * distance),
                      (x1 + nx * distance, y1 + ny * distance)))
    points = []
    for i in range(count):
        (a0, a1), (b0, b1) = lines[i - 1], lines[i]
        points.append(intersect(a0, a1, b0, b1))
    return points


def intersect(p0, p1, q0, q1):
    d1x, d1y = p1[0] - p0[0], p1[1] - p0[1]
    d2x, d2y = q1[0] - q0[0], q1[1] - q0[1]
    denominator = d1x * d2y - d1y * d2x
    if abs(denominator) < 1e-9:
        return p1
    t = ((q0[0] - p0[0]) * d2y - (q0[1] - p0[1]) * d2x) / denominator
    return (p0[0] + d1x * t, p0[1] + d1y * t)


def quadratic(p0, p1, p2, steps=14):
    return [((1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * p1[0] + t * t * p2[0],
             (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * p1[1] + t * t * p2[1])
            for t in (i / steps for i in range(steps + 1))]


def cubic(p0, p1, p2, p3, steps=18):
    points = []
    for i in range(steps + 1):
        t = i / steps
        a, b, c, d = (1 - t) ** 3, 3 * (1 - t) ** 2 * t, 3 * (1 - t) * t * t, t ** 3
        points.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0],
                       a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))
    return points


def vertical_gradient(top_colour, bottom_colour, top, bottom):
    def paint(_x, y):
        t = min(1.0, max(0.0, (y - top) / (bottom - top)))
        return tuple(a + (b - a) * t for a, b in zip(top_colour, bottom_colour))
    return paint


def along_gradient(start_colour, end_colour, start, end):
    sx, sy = start
    ex, ey = end
    length2 = (ex - sx) ** 2 + (ey - sy) ** 2

    def paint(x, y):
        t = ((x - sx) * (ex - sx) + (y - sy) * (ey - sy)) / length2
        t = min(1.0, max(0.0, t))
        return tuple(a + (b - a) * t for a, b in zip(start_colour, end_colour))
    return paint


# ---------------------------------------------------------------------------------------------
# The program icon

PAPER_TOP = (255, 255, 255)
PAPER_BOTTOM = (226, 234, 243)
PAPER_EDGE = (84, 104, 128)
FOLD = (198, 211, 226)
TEXT_LINE = (150, 168, 190)
FEATHER_LIGHT = (92, 160, 222)
FEATHER_DARK = (24, 78, 140)
FEATHER_EDGE = (16, 52, 96)
SHAFT = (236, 243, 250)
NIB = (46, 46, 52)
NIB_LIGHT = (120, 124, 134)
BADGE_TOP = (62, 78, 96)
BADGE_BOTTOM = (30, 40, 52)
BADGE_EDGE = (18, 24, 32)
DIGIT = (255, 184, 56)

# Counter digits, 3 x 5 cells, drawn like the segments of a display.
DIGITS = {
    "1": ["#", "#", "#", "#", "#"],
    "2": ["###", "..#", "###", "#..", "###"],
    "3": ["###", "..#", "###", "..#", "###"],
    "4": ["#.#", "#.#", "###", "..#", "..#"],
}


def digits_width(text, cell):
    return (sum(len(DIGITS[c][0]) for c in text) + len(text) - 1) * cell


def draw_digits(canvas, text, left, top, cell):
    x0 = left
    for character in text:
        pattern = DIGITS[character]
        cells = []
        for row, line in enumerate(pattern):
            for column, mark in enumerate(line):
                if mark == "#":
                    cells.append(rect(x0 + column * cell, top + row * cell,
                                      x0 + (column + 1) * cell, top + (row + 1) * cell))
        canvas.fill(cells, DIGIT)
        x0 += (len(pattern[0]) + 1) * cell


def paper(canvas, x0, y0, x1, y1, fold, edge):
    outline = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    canvas.fill(outline, PAPER_EDGE)
    canvas.fill(inset(outline, edge), vertical_gradient(PAPER_TOP, PAPER_BOTTOM, y0, y1))
    flap = [(x1 - fold, y0), (x1, y0 + fold), (x1 - fold, y0 + fold)]
    canvas.fill(flap, PAPER_EDGE)
    canvas.fill(inset(flap, edge * 0.9), FOLD)


def quill(canvas, tip, end, width, nib_length, edge, barbs=True):
    """A feather from the nib at tip to its top at end; width is the vane's widest span."""
    tx, ty = tip
    ex, ey = end
    length = math.hypot(ex - tx, ey - ty)
    ux, uy = (ex - tx) / length, (ey - ty) / length  # along the quill
    nx, ny = uy, -ux  # to the quill's left (upper side on screen)

    def at(t, side):
        return (tx + ux * length * t + nx * side, ty + uy * length * t + ny * side)

    # The vane: fuller on the upper side, curving to a point at the top.
    start = nib_length / length
    upper = cubic(at(start + 0.06, 0), at(0.22, width * 0.62), at(0.72, width * 0.62),
                  at(1.0, 0))
    lower = cubic(at(1.0, 0), at(0.82, -width * 0.40), at(0.40, -width * 0.38),
                  at(start + 0.14, 0))
    vane = upper + lower[1:]
    canvas.fill(vane, FEATHER_EDGE)
    canvas.fill(inset_fan(vane, edge, (tx, ty), (ex, ey)),
                along_gradient(FEATHER_DARK, FEATHER_LIGHT, at(0.3, -width * 0.4),
                               at(0.7, width * 0.6)))
    # Barbs: a few light strokes slanting up from the shaft.
    if barbs:
        for t, reach in ((0.36, 0.40), (0.52, 0.44), (0.68, 0.38)):
            stroke = [at(t, edge * 0.5), at(t + 0.12, width * reach),
                      at(t + 0.12 + edge * 0.8 / length, width * reach), at(t + edge / length, 0)]
            canvas.fill(stroke, SHAFT, opacity=0.5)
    # The shaft runs through the vane.
    shaft_width = max(edge * 0.9, width * 0.09)
    shaft = [at(start, shaft_width), at(0.97, shaft_width * 0.35),
             at(0.97, -shaft_width * 0.35), at(start, -shaft_width)]
    canvas.fill(shaft, SHAFT)
    # The nib: a dark tapered point with a light split line.
    nib_width = width * 0.2
    nib = [tip, at(start, nib_width), at(start + 0.05, nib_width * 0.8),
           at(start + 0.05, -nib_width * 0.8), at(start, -nib_width)]
    canvas.fill(nib, NIB)
    split = [at(0.02, 0.0), at(start * 0.85, edge * 0.35), at(start * 0.85, -edge * 0.35)]
    canvas.fill(split, NIB_LIGHT)


def inset_fan(polygon, distance, tip, end):
    """Shrinks a curved outline towards its axis (good enough for the feather's vane)."""
    tx, ty = tip
    ex, ey = end
    length = math.hypot(ex - tx, ey - ty)
    ux, uy = (ex - tx) / length, (ey - ty) / length
    result = []
    for x, y in polygon:
        along = (x - tx) * ux + (y - ty) * uy
        cx, cy = tx + ux * along, ty + uy * along
        dx, dy = x - cx, y - cy
        side = math.hypot(dx, dy)
        if side < 1e-6:
            result.append((x - ux * distance * 1.5, y - uy * distance * 1.5)
                          if along > length * 0.5 else (x + ux * distance, y + uy * distance))
            continue
        shrink = max(0.0, side - distance) / side
        result.append((cx + dx * shrink, cy + dy * shrink))
    return result


def badge(canvas, x0, y0, x1, y1, radius, edge, digits, cell):
    outline = rounded_rect(x0, y0, x1, y1, radius)
    canvas.fill(outline, BADGE_EDGE)
    canvas.fill(rounded_rect(x0 + edge, y0 + edge, x1 - edge, y1 - edge, max(0, radius - edge)),
                vertical_gradient(BADGE_TOP, BADGE_BOTTOM, y0, y1))
    width = digits_width(digits, cell)
    left = x0 + round(((x1 - x0) - width) / 2)
    top = y0 + round(((y1 - y0) - 5 * cell) / 2)
    draw_digits(canvas, digits, left, top, cell)


def program_icon(size):
    canvas = Canvas(size)
    if size == 16:
        paper(canvas, 1, 0, 11, 15, 3, 1)
        for y, x1 in ((4, 7), (6, 9), (8, 8)):
            canvas.fill(rect(3, y, x1, y + 1), TEXT_LINE)
        quill(canvas, (4.0, 12.0), (15.6, 0.4), 6.0, 3.0, 0.8, barbs=False)
        badge(canvas, 6, 9, 16, 16, 1.5, 1, "12", 1)
    elif size == 32:
        paper(canvas, 3, 1, 22, 30, 6, 1)
        for y, x1 in ((8, 15), (11, 18), (14, 17), (17, 12)):
            canvas.fill(rect(6, y, x1, y + 1), TEXT_LINE)
        quill(canvas, (8.5, 24.0), (31.2, 0.8), 10.5, 5.0, 1.0)
        badge(canvas, 14, 21, 32, 31, 2.5, 1, "123", 1)
    else:
        paper(canvas, 4, 2, 33, 45, 9, 1.5)
        for y, x1 in ((12, 23), (16, 28), (20, 26), (24, 19)):
            canvas.fill(rect(9, y, x1, y + 1.5), TEXT_LINE)
        quill(canvas, (12.5, 36.0), (46.8, 1.2), 15.0, 7.5, 1.3)
        badge(canvas, 20, 31, 48, 47, 3.5, 1.5, "123", 2)
    return canvas


# ---------------------------------------------------------------------------------------------
# Column-order arrows

ARROW_TOP = (92, 152, 214)
ARROW_BOTTOM = (28, 84, 150)
ARROW_EDGE = (20, 56, 100)


def arrow_icon(pointing_up):
    canvas = Canvas(16)
    # Drawn pointing up; the down arrow is its mirror image.
    # Straight edges on pixel boundaries keep the shaft sharp.
    outline = [(8, 1), (15, 8), (11, 8), (11, 15), (5, 15), (5, 8), (1, 8)]
    if not pointing_up:
        outline = [(x, 16 - y) for x, y in reversed(outline)]
    canvas.fill(outline, ARROW_EDGE)
    # Lit from above in both directions, like the buttons they sit on.
    canvas.fill(inset(outline, 1.0), vertical_gradient(ARROW_TOP, ARROW_BOTTOM, 2, 14))
    return canvas


# ---------------------------------------------------------------------------------------------
# ICO files


def dib(size, rows):
    """BITMAPINFOHEADER, 32-bit colour rows bottom-up, then the AND mask (1 = transparent)."""
    mask_stride = ((size + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
        bits = bytearray(mask_stride)
        for x, (_r, _g, _b, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def ico(canvases):
    images = [(canvas.size, dib(canvas.size, canvas.rgba())) for canvas in canvases]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = bytearray()
    data = bytearray()
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image),
                               offset + len(data))
        data += image
    return directory + bytes(entries) + bytes(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "resources", "icons")
    folder = os.path.normpath(sys.argv[1] if len(sys.argv) > 1 else default)
    os.makedirs(folder, exist_ok=True)
    files = {
        "quillmet.ico": [program_icon(16), program_icon(32), program_icon(48)],
        "arrow_up.ico": [arrow_icon(True)],
        "arrow_down.ico": [arrow_icon(False)],
    }
    for name, canvases in files.items():
        path = os.path.join(folder, name)
        with open(path, "wb") as output:
            output.write(ico(canvases))
        print(path)


if __name__ == "__main__":
    main()
