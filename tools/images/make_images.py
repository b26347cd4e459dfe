#!/usr/bin/env python3
"""Draws the toolbar bitmaps and the product picture into resources/images/.

settings.bmp        bitmap 2: a gear
help.bmp            bitmap 4: a blue round badge with a question mark
add_to_invoice.bmp  bitmap 5: an invoice sheet with a green plus
update_text.bmp     bitmap 7: a written sheet with a green refresh arrow
splash.jpg          the product picture (resource type 800): 340 x 198

The bitmaps are 24 x 24 with a 256-colour palette. The artwork stays within the left 22
columns (the toolbar shows 22 x 24 of each) on a grey (192, 192, 192) background, which the
toolbar turns into its button face and masks, so the header shows through. Edges are blended
towards a light grey like the header's rather than the masked grey, and no artwork pixel uses
one of the colours the toolbar remaps (black, 128 grey, 192 grey, white).

The shapes use the rasteriser of tools/icons/make_icons.py. The picture's art is drawn the
same way; ImageMagick's convert (with the Liberation fonts) lays out its background and text
and writes the JPEG. Run it again after changing a drawing:

    python3 tools/images/make_images.py [output-folder]
"""

import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "icons"))
import make_icons as art  # noqa: E402  (the shared rasteriser and shapes)

SIZE = 24
SHOWN = 22
MASKED = (192, 192, 192)
HALO = (224, 228, 234)
REMAPPED = {(0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)}

GREEN_LIGHT = (96, 196, 84)
GREEN_DARK = (30, 126, 40)
GREEN_EDGE = (20, 84, 28)
BLUE_LIGHT = (96, 160, 226)
BLUE_DARK = (26, 82, 156)
BLUE_EDGE = (16, 50, 100)
STEEL_LIGHT = (176, 190, 206)
STEEL_DARK = (84, 98, 118)
STEEL_EDGE = (44, 54, 70)
INK = (60, 72, 90)
MONEY = (26, 118, 52)


# ---------------------------------------------------------------------------------------------
# Button drawings


def ring(cx, cy, outer, inner, start, end, steps=24):
    """An arc band between two radii, from start to end degrees."""
    return art.arc(cx, cy, outer, start, end, steps) + art.arc(cx, cy, inner, end, start, steps)


def plus_badge(canvas, cx, cy, radius):
    canvas.fill(art.arc(cx, cy, radius, 0, 360, 32), GREEN_EDGE)
    canvas.fill(art.arc(cx, cy, radius - 1, 0, 360, 32),
                art.vertical_gradient(GREEN_LIGHT, GREEN_DARK, cy - radius, cy + radius))
    arm = radius * 0.55
    bar = radius * 0.2
    canvas.fill([art.rect(cx - arm, cy - bar, cx + arm, cy + bar),
                 art.rect(cx - bar, cy - arm, cx + bar, cy + arm)], (250, 252, 250))


def refresh_arrow(canvas, cx, cy, radius):
    band = ring(cx, cy, radius, radius - 2.6, 150, 400)
    canvas.fill(band, GREEN_EDGE)
    canvas.fill(ring(cx, cy, radius - 0.7, radius - 1.9, 154, 398),
                art.vertical_gradient(GREEN_LIGHT, GREEN_DARK, cy - radius, cy + radius))
    # The head at the band's end, pointing along the turn.
    angle = math.radians(400)
    mid = radius - 1.3
    px, py = cx + mid * math.cos(angle), cy + mid * math.sin(angle)
    tx, ty = -math.sin(angle), math.cos(angle)  # direction of travel
    nx, ny = math.cos(angle), math.sin(angle)
    head = [(px + tx * 4.2, py + ty * 4.2), (px + nx * 3.6, py + ny * 3.6),
            (px - nx * 3.6, py - ny * 3.6)]
    canvas.fill(head, GREEN_EDGE)
    canvas.fill(art.inset(head, 0.8), GREEN_DARK)


def update_text_button():
    canvas = art.Canvas(SIZE)
    art.paper(canvas, 1, 1, 15, 21, 4, 1)
    for y, x1 in ((6, 10), (9, 12), (12, 11), (15, 8)):
        canvas.fill(art.rect(3.5, y, x1, y + 1), art.TEXT_LINE)
    refresh_arrow(canvas, 15.0, 15.5, 6.4)
    return canvas


def add_to_invoice_button():
    canvas = art.Canvas(SIZE)
    art.paper(canvas, 2, 1, 16, 22, 4, 1)
    # A heading, two priced lines and the total under a rule.
    canvas.fill(art.rect(4.5, 4, 10, 5.5), INK)
    for y in (8, 11):
        canvas.fill(art.rect(4.5, y, 8.5, y + 1), art.TEXT_LINE)
        canvas.fill(art.rect(10, y, 13.5, y + 1), MONEY)
    canvas.fill(art.rect(4.5, 13.5, 13.5, 14.2), INK)
    canvas.fill(art.rect(10, 15.5, 13.5, 16.7), MONEY)
    plus_badge(canvas, 15.5, 16.0, 5.6)
    return canvas


def gear(cx, cy, outer, inner, teeth):
    points = []
    for i in range(teeth):
        base = 360.0 * i / teeth
        half = 360.0 / teeth / 2
        for offset, radius in ((-half * 0.95, inner), (-half * 0.45, outer),
                               (half * 0.45, outer), (half * 0.95, inner)):
            a = math.radians(base + offset)
            points.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    return points


def settings_button():
    canvas = art.Canvas(SIZE)
    outline = gear(11.0, 12.0, 10.2, 7.6, 8)
    canvas.fill(outline, STEEL_EDGE)
    canvas.fill(art.inset(outline, 1.0),
                art.along_gradient(STEEL_LIGHT, STEEL_DARK, (4, 4), (18, 20)))
    # The hub: a hole with a dark rim.
    canvas.fill(art.arc(11.0, 12.0, 4.2, 0, 360, 28), STEEL_EDGE)
    canvas.fill(art.arc(11.0, 12.0, 3.0, 0, 360, 28), HALO)
    return canvas


def help_button():
    canvas = art.Canvas(SIZE)
    cx, cy, radius = 11.0, 12.0, 10.0
    canvas.fill(art.arc(cx, cy, radius, 0, 360, 40), BLUE_EDGE)
    canvas.fill(art.arc(cx, cy, radius - 1, 0, 360, 40),
                art.vertical_gradient(BLUE_LIGHT, BLUE_DARK, cy - radius, cy + radius))
    # A soft highlight across the top.
    canvas.fill(art.arc(cx, cy - 3.5, 6.0, 180, 360, 20), (255, 255, 255, 60))
    # The question mark: a hook of a ring, a short stem and a dot.
    white = (250, 251, 253)
    canvas.fill(ring(cx, cy - 3.2, 4.0, 1.9, 150, 400), white)
    canvas.fill(art.rect(cx - 1.05, cy - 1.0, cx + 1.05, cy + 2.6), white)
    canvas.fill(art.arc(cx, cy + 5.2, 1.35, 0, 360, 16), white)
    return canvas


# ---------------------------------------------------------------------------------------------
# 8-bit BMP files


def flatten(canvas):
    """Opaque rows on the masked grey: faint pixels become background, edges meet HALO."""
    rows = []
    for y, line in enumerate(canvas.rgba()):
        row = []
        for x, (r, g, b, a) in enumerate(line):
            if a < 64 or x >= SHOWN:
                row.append(MASKED)
                continue
            t = a / 255.0
            colour = tuple(int(round(c * t + h * (1 - t))) for c, h in zip((r, g, b), HALO))
            row.append(colour)
        rows.append(row)
    return rows


def palette_of(rows):
    """Colours rounded until they fit 255 entries; remapped colours are moved off by one."""
    for step in (1, 2, 4, 6, 8, 12, 16):
        mapped = []
        for row in rows:
            out = []
            for colour in row:
                if colour == MASKED:
                    out.append(colour)
                    continue
                c = tuple(min(254, int(round(v / step)) * step) for v in colour)
                if c in REMAPPED:
                    c = (c[0] + 1, c[1], c[2])
                out.append(c)
            mapped.append(out)
        colours = sorted({c for row in mapped for c in row} - {MASKED})
        if len(colours) <= 255:
            return [MASKED] + colours, mapped
    raise SystemExit("too many colours")


def bmp8(rows):
    palette, rows = palette_of(rows)
    index = {colour: i for i, colour in enumerate(palette)}
    pixels = bytearray()
    for row in reversed(rows):
        line = bytes(index[c] for c in row)
        pixels += line + bytes((-len(line)) % 4)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 8, 0, len(pixels), 2835, 2835,
                       len(palette), len(palette))
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + table + bytes(pixels)


# ---------------------------------------------------------------------------------------------
# The product picture

PICTURE_WIDTH = 340
PICTURE_HEIGHT = 198
PICTURE_BYTES = 16 * 1024
FONT_DIR = "/usr/share/fonts/truetype/liberation"


def png(canvas, path):
    """Straight-alpha RGBA PNG of a canvas."""
    raw = bytearray()
    for row in canvas.rgba():
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    size = canvas.size
    with open(path, "wb") as output:
        output.write(b"\x89PNG\r\n\x1a\n")
        output.write(chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)))
        output.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        output.write(chunk(b"IEND", b""))


def splash_art():
    """The quill over a written sheet with the counter badge, as in the program icon."""
    size = 150
    canvas = art.Canvas(size)
    art.paper(canvas, 12, 10, 100, 140, 24, 3)
    for y, x1 in ((40, 70), (52, 84), (64, 80), (76, 62), (88, 78), (100, 56)):
        canvas.fill(art.rect(24, y, x1, y + 4), art.TEXT_LINE)
    art.quill(canvas, (36, 118), (146, 4), 44, 20, 3.2)
    art.badge(canvas, 64, 98, 146, 142, 9, 3, "1234", 5)
    return canvas


def splash(folder, work):
    art_path = os.path.join(work, "art.png")
    png(splash_art(), art_path)
    bold = os.path.join(FONT_DIR, "LiberationSans-Bold.ttf")
    regular = os.path.join(FONT_DIR, "LiberationSans-Regular.ttf")
    italic = os.path.join(FONT_DIR, "LiberationSans-Italic.ttf")
    size = f"{PICTURE_WIDTH}x{PICTURE_HEIGHT}"
    command = [
        "convert", "-size", size, "-define", "gradient:angle=135",
        "gradient:#0b2546-#2f74b8",
        # Soft light circles behind the art and a pale band at the foot.
        "-fill", "rgba(255,255,255,0.07)", "-draw", "circle 70,96 70,6",
        "-fill", "rgba(255,255,255,0.05)", "-draw", "circle 70,96 70,-30",
        "-fill", "rgba(255,255,255,0.10)", "-draw", f"rectangle 0,168 {PICTURE_WIDTH},198",
        "-fill", "rgba(255,190,70,0.9)", "-draw", f"rectangle 0,166 {PICTURE_WIDTH},167",
        # The art with a faint shadow.
        "(", art_path, "-background", "black", "-shadow", "50x3+3+4", ")",
        "-geometry", "+2+8", "-composite",
        art_path, "-geometry", "+2+8", "-composite",
        # The name, the line under it and the promise.
        "-font", bold, "-pointsize", "40", "-fill", "rgba(0,0,0,0.35)",
        "-annotate", "+160+74", "Quillmet",
        "-fill", "white", "-annotate", "+158+72", "Quillmet",
        "-font", regular, "-pointsize", "13", "-fill", "#ffcf6e",
        "-annotate", "+161+94", "TYPING JOB COUNTER",
        "-font", regular, "-pointsize", "11", "-fill", "#dce8f6",
        "-annotate", "+161+120", "Counts characters, words, lines.",
        "-annotate", "+161+135", "Prices the job in a moment.",
        "-annotate", "+161+150", "Writes your invoice file.",
        "-font", italic, "-pointsize", "11", "-fill", "#1c3554",
        "-annotate", "+12+187", "Kestrovan Software",
        "-font", regular, "-gravity", "SouthEast", "-annotate", "+10+7",
        "www.kestrovan-soft.example", "-gravity", "NorthWest",
        "-strip", "-interlace", "none", "-sampling-factor", "2x2",
    ]
    target = os.path.join(folder, "splash.jpg")
    # The best quality that stays within the size meant for the resource.
    best = None
    for quality in range(95, 40, -1):
        subprocess.run(command + ["-quality", str(quality), target], check=True)
        if os.path.getsize(target) <= PICTURE_BYTES:
            best = quality
            break
    if best is None:
        raise SystemExit("the picture does not fit")
    return target


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "resources", "images")
    folder = os.path.normpath(sys.argv[1] if len(sys.argv) > 1 else default)
    os.makedirs(folder, exist_ok=True)
    buttons = {
        "settings.bmp": settings_button(),
        "help.bmp": help_button(),
        "add_to_invoice.bmp": add_to_invoice_button(),
        "update_text.bmp": update_text_button(),
    }
    for name, canvas in buttons.items():
        path = os.path.join(folder, name)
        with open(path, "wb") as output:
            output.write(bmp8(flatten(canvas)))
        print(path)
    work = tempfile.mkdtemp()
    try:
        print(splash(folder, work))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
