#!/usr/bin/env python3
"""Turns a pixel map in text into the Windows image file the resource script
takes: a 16-colour .bmp, an .ico or a 32 x 32 .cur, chosen by the output
file's extension.

The text file holds, in this order (blank lines and lines starting with '#'
are comments):

    palette
      <char> <red> <green> <blue>     one colour per line, at most 16
      <char> transparent              icons and cursors only
    hotspot <x> <y>                   cursors only
    image <title>                     then one line of pixels per row
    ....

A bitmap may hold several images of the same height; they are laid side by
side from left to right in file order, as the toolbar's image strip wants
them. An icon or a cursor holds exactly one image, 32 x 32.

    make_art.py <map.txt> <output.bmp|.ico|.cur> [--scale <percent>]
                [--strokes] [--preview <file.ppm> <scale>]

--scale draws a bitmap for a display at that percent of 96 DPI: each image
becomes MulDiv(size, percent, 100) pixels square, made with the Scale2x or
Scale3x pixel-art enlarger at the next whole factor and then brought down to
the size by taking the nearest pixel. Only the palette's colours come out, so
the toolbar's "no paint" grey stays exact. An icon always holds the map's
32 x 32 image as drawn plus the same image made at 16, 24, 48 and 256 pixels
(the last one as PNG, which is what Windows Vista and later read at that size).

--strokes draws a bitmap's strokes alone, black on white: every pixel whose
colour is dark (a relative luminance, as WCAG computes it, below 0.4: the
outlines and the deep fills) is a stroke, every light one (the white and
yellow fills, the toolbar's "no paint" grey) is not. The program draws the
toolbar's pictures from them in a contrast theme's colours.

The preview writes an enlarged plain PPM for looking at the art; the build
does not use it.
"""

import struct
import sys
import zlib

TRANSPARENT = "transparent"


class ArtError(Exception):
    pass


def parse(path):
    palette = {}   # char -> (r, g, b) or TRANSPARENT
    order = []     # chars in palette order
    hotspot = None
    images = []    # (title, [row strings])
    section = None
    with open(path, encoding="ascii") as source:
        for number, raw in enumerate(source, 1):
            line = raw.rstrip("\n")
            where = "%s:%d" % (path, number)
            if section == "image" and line and not line.startswith("#") \
                    and not line.startswith("image ") and line.strip() == line:
                images[-1][1].append(line)
                continue
            stripped = line.strip()
            if not stripped or stripped.startswith("#"):
                continue
            if stripped == "palette":
                section = "palette"
            elif stripped.startswith("hotspot "):
                parts = stripped.split()
                if len(parts) != 3:
                    raise ArtError(where + ": hotspot wants x and y")
                hotspot = (int(parts[1]), int(parts[2]))
                section = None
            elif stripped.startswith("image"):
                images.append((stripped[5:].strip(), []))
                section = "image"
            elif section == "palette":
                parts = stripped.split()
                key = parts[0]
                if len(key) != 1 or key in palette:
                    raise ArtError(where + ": palette keys are single, distinct characters")
                if parts[1:] == [TRANSPARENT]:
                    palette[key] = TRANSPARENT
                else:
                    if len(parts) < 4:
                        raise ArtError(where + ": a colour wants red, green and blue")
                    rgb = tuple(int(v) for v in parts[1:4])
                    if any(v < 0 or v > 255 for v in rgb):
                        raise ArtError(where + ": colour components run from 0 to 255")
                    palette[key] = rgb
                order.append(key)
            else:
                raise ArtError(where + ": unexpected line %r" % line)
    if not images:
        raise ArtError(path + ": no image")
    for title, rows in images:
        if not rows:
            raise ArtError("%s: image %r is empty" % (path, title))
        width = len(rows[0])
        for row in rows:
            if len(row) != width:
                raise ArtError("%s: image %r has rows of different lengths (%d and %d)"
                               % (path, title, width, len(row)))
            for char in row:
                if char not in palette:
                    raise ArtError("%s: image %r uses %r, which is not in the palette"
                                   % (path, title, char))
    colours = [key for key in order if palette[key] != TRANSPARENT]
    if len(colours) > 16:
        raise ArtError(path + ": more than 16 colours")
    return palette, order, hotspot, images


def join_side_by_side(images):
    height = len(images[0][1])
    for title, rows in images:
        if len(rows) != height:
            raise ArtError("image %r is %d rows high, the first one %d" % (title, len(rows), height))
    return ["".join(rows[y] for _, rows in images) for y in range(height)]


def colour_table(palette, order):
    """Palette indices by key; transparent keys take index 0 (masked out)."""
    colours = [key for key in order if palette[key] != TRANSPARENT]
    index = {key: i for i, key in enumerate(colours)}
    for key in order:
        if palette[key] == TRANSPARENT:
            index[key] = 0
    table = b"".join(struct.pack("<BBBB", palette[k][2], palette[k][1], palette[k][0], 0)
                     for k in colours)
    table += b"\0\0\0\0" * (16 - len(colours))
    return index, table


def pack_rows_4bpp(rows, index):
    """Bottom-up rows of 4-bit indices, each padded to a multiple of 4 bytes."""
    data = b""
    for row in reversed(rows):
        nibbles = [index[c] for c in row]
        if len(nibbles) % 2:
            nibbles.append(0)
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))
        data += line + b"\0" * (-len(line) % 4)
    return data


def pack_mask(rows, palette):
    """Bottom-up 1-bit AND mask: 1 where the pixel is transparent."""
    data = b""
    for row in reversed(rows):
        bits = [1 if palette[c] == TRANSPARENT else 0 for c in row]
        bits += [0] * (-len(bits) % 8)
        line = bytes(sum(bits[i + j] << (7 - j) for j in range(8)) for i in range(0, len(bits), 8))
        data += line + b"\0" * (-len(line) % 4)
    return data


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def make_bmp(palette, order, images):
    if any(v == TRANSPARENT for v in palette.values()):
        raise ArtError("a bitmap has no transparent colour")
    rows = join_side_by_side(images)
    width, height = len(rows[0]), len(rows)
    index, table = colour_table(palette, order)
    pixels = pack_rows_4bpp(rows, index)
    offset = 14 + 40 + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return file_header + info_header(width, height, len(pixels)) + table + pixels


def make_icon(palette, order, images, hotspot, cursor):
    if len(images) != 1:
        raise ArtError("an icon or a cursor holds exactly one image")
    rows = images[0][1]
    width, height = len(rows[0]), len(rows)
    if (width, height) != (ICON_MAP_SIZE, ICON_MAP_SIZE):
        raise ArtError("icons and cursors are drawn 32 x 32 here, not %d x %d" % (width, height))
    if cursor and hotspot is None:
        raise ArtError("a cursor needs its hot spot")
    if cursor and not (0 <= hotspot[0] < width and 0 <= hotspot[1] < height):
        raise ArtError("the hot spot lies outside the cursor")
    index, table = colour_table(palette, order)

    def body(rows):
        side = len(rows)
        return (info_header(side, side * 2, 0) + table
                + pack_rows_4bpp(rows, index) + pack_mask(rows, palette))

    if cursor:
        kind = 2
        parts = [(body(rows), struct.pack("<BBBBHH", width, height, 16, 0, hotspot[0], hotspot[1]))]
    else:
        kind = 1
        parts = []
        for size in ICON_SIZES:
            drawn = resize(rows, size, size)
            if size < 256:
                parts.append((body(drawn), struct.pack("<BBBBHH", size, size, 16, 0, 1, 4)))
            else:
                # A directory entry says 0 for 256.
                parts.append((make_png(drawn, palette), struct.pack("<BBBBHH", 0, 0, 0, 0, 1, 32)))
    directory = struct.pack("<HHH", 0, kind, len(parts))
    offset = len(directory) + 16 * len(parts)
    for data, head in parts:
        directory += head + struct.pack("<II", len(data), offset)
        offset += len(data)
    return directory + b"".join(data for data, _ in parts)


def make_png(rows, palette):
    """A 32-bit RGBA PNG: each pixel a palette colour, opaque, or wholly clear."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    def rgba(char):
        colour = palette[char]
        return b"\0\0\0\0" if colour == TRANSPARENT else bytes(colour) + b"\xff"

    raw = b"".join(b"\0" + b"".join(rgba(c) for c in row) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# The sizes an icon holds; the map is drawn at 32.
ICON_SIZES = (16, 24, 32, 48, 256)
ICON_MAP_SIZE = 32


def mul_div(number, numerator, denominator):
    """Windows' MulDiv for non-negative numbers: the quotient rounded half up."""
    return (number * numerator * 2 + denominator) // (denominator * 2)


def scale2x(rows):
    height, width = len(rows), len(rows[0])
    out = [[None] * (2 * width) for _ in range(2 * height)]
    for y in range(height):
        for x in range(width):
            e = rows[y][x]
            # Beyond the edge an image repeats its border pixel.
            b = rows[y - 1][x] if y > 0 else e
            h = rows[y + 1][x] if y < height - 1 else e
            d = rows[y][x - 1] if x > 0 else e
            f = rows[y][x + 1] if x < width - 1 else e
            out[2 * y][2 * x] = d if d == b and b != f and d != h else e
            out[2 * y][2 * x + 1] = f if b == f and b != d and f != h else e
            out[2 * y + 1][2 * x] = d if d == h and d != b and h != f else e
            out[2 * y + 1][2 * x + 1] = f if h == f and d != h and b != f else e
    return ["".join(row) for row in out]


def scale3x(rows):
    height, width = len(rows), len(rows[0])
    out = [[None] * (3 * width) for _ in range(3 * height)]

    def at(y, x):
        return rows[min(max(y, 0), height - 1)][min(max(x, 0), width - 1)]

    for y in range(height):
        for x in range(width):
            a, b, c = at(y - 1, x - 1), at(y - 1, x), at(y - 1, x + 1)
            d, e, f = at(y, x - 1), at(y, x), at(y, x + 1)
            g, h, i = at(y + 1, x - 1), at(y + 1, x), at(y + 1, x + 1)
            db = d == b and b != f and d != h
            bf = b == f and b != d and f != h
            dh = d == h and d != b and h != f
            hf = h == f and d != h and b != f
            block = (
                d if db else e,
                b if (db and e != c) or (bf and e != a) else e,
                f if bf else e,
                d if (db and e != g) or (dh and e != a) else e,
                e,
                f if (bf and e != i) or (hf and e != c) else e,
                d if dh else e,
                h if (dh and e != i) or (hf and e != g) else e,
                f if hf else e,
            )
            for n, pixel in enumerate(block):
                out[3 * y + n // 3][3 * x + n % 3] = pixel
    return ["".join(row) for row in out]


def nearest(rows, width, height):
    source_height, source_width = len(rows), len(rows[0])
    # Each pixel takes the first source pixel of the span it covers, so that a
    # map's outer lines survive a reduction.
    return ["".join(rows[y * source_height // height][x * source_width // width] for x in range(width))
            for y in range(height)]


def resize(rows, width, height):
    """The image at width x height, enlarged by Scale2x or Scale3x as often as
    it takes to reach the size (Scale3x when one pass of it does and one of
    Scale2x does not), then reduced by the nearest pixel."""
    while len(rows[0]) < width or len(rows) < height:
        doubled = 2 * len(rows[0]) >= width and 2 * len(rows) >= height
        tripled = 3 * len(rows[0]) >= width and 3 * len(rows) >= height
        rows = scale3x(rows) if tripled and not doubled else scale2x(rows)
    return nearest(rows, width, height)


def scale_images(images, percent):
    return [(title, resize(rows, mul_div(len(rows[0]), percent, 100), mul_div(len(rows), percent, 100)))
            for title, rows in images]


STROKE_LUMINANCE = 0.4


def relative_luminance(rgb):
    def linear(value):
        value /= 255.0
        return value / 12.92 if value <= 0.03928 else ((value + 0.055) / 1.055) ** 2.4
    red, green, blue = (linear(v) for v in rgb)
    return 0.2126 * red + 0.7152 * green + 0.0722 * blue


def strokes_only(palette, order, images):
    """The same images in two colours: white, and black for the strokes."""
    if any(v == TRANSPARENT for v in palette.values()):
        raise ArtError("strokes are drawn from bitmaps only")
    stroke = {key for key in order if relative_luminance(palette[key]) < STROKE_LUMINANCE}
    images = [(title, ["".join("k" if c in stroke else "." for c in row) for row in rows])
              for title, rows in images]
    return {".": (255, 255, 255), "k": (0, 0, 0)}, [".", "k"], images


def write_preview(path, palette, images, scale):
    rows = join_side_by_side(images) if len(images) > 1 else images[0][1]
    checker = [(200, 200, 200), (240, 240, 240)]
    out = []
    for y, row in enumerate(rows):
        line = []
        for x, char in enumerate(row):
            colour = palette[char]
            if colour == TRANSPARENT:
                colour = checker[(x + y) % 2]
            line.extend([colour] * scale)
        for _ in range(scale):
            out.append(line)
    with open(path, "w", encoding="ascii") as target:
        target.write("P3\n%d %d\n255\n" % (len(out[0]), len(out)))
        for line in out:
            target.write(" ".join("%d %d %d" % c for c in line) + "\n")


def main(argv):
    args = argv[1:]
    options = {}
    try:
        source, target = args[0], args[1]
        rest = args[2:]
        while rest:
            if rest[0] == "--scale":
                options["scale"] = int(rest[1])
                rest = rest[2:]
            elif rest[0] == "--strokes":
                options["strokes"] = True
                rest = rest[1:]
            elif rest[0] == "--preview":
                options["preview"] = (rest[1], int(rest[2]))
                rest = rest[3:]
            else:
                raise ValueError(rest[0])
    except (IndexError, ValueError):
        sys.stderr.write(__doc__)
        return 2
    percent = options.get("scale", 100)
    try:
        palette, order, hotspot, images = parse(source)
        if percent != 100:
            if not target.endswith(".bmp") or percent < 100:
                raise ArtError("only bitmaps are drawn at a scale, and from 100 %% up, not %d %%" % percent)
            images = scale_images(images, percent)
        if options.get("strokes"):
            palette, order, images = strokes_only(palette, order, images)
        if target.endswith(".bmp"):
            data = make_bmp(palette, order, images)
        elif target.endswith(".ico"):
            data = make_icon(palette, order, images, hotspot, cursor=False)
        elif target.endswith(".cur"):
            data = make_icon(palette, order, images, hotspot, cursor=True)
        else:
            raise ArtError("unknown output kind: " + target)
    except ArtError as error:
        sys.stderr.write("make_art: %s\n" % error)
        return 1
    with open(target, "wb") as out:
        out.write(data)
    if "preview" in options:
        write_preview(options["preview"][0], palette, images, options["preview"][1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
