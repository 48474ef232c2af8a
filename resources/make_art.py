#!/usr/bin/env python3
"""Turns a pixel map in text into the Windows image file the resource script
takes: a 16-colour .bmp, a 32 x 32 .ico or a 32 x 32 .cur, chosen by the
output file's extension.

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
them. An icon or a cursor holds exactly one image.

    make_art.py <map.txt> <output.bmp|.ico|.cur> [--preview <file.ppm> <scale>]

The preview writes an enlarged plain PPM for looking at the art; the build
does not use it.
"""

import struct
import sys

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
    if (width, height) != (32, 32):
        raise ArtError("icons and cursors are 32 x 32 here, not %d x %d" % (width, height))
    if cursor and hotspot is None:
        raise ArtError("a cursor needs its hot spot")
    if cursor and not (0 <= hotspot[0] < width and 0 <= hotspot[1] < height):
        raise ArtError("the hot spot lies outside the cursor")
    index, table = colour_table(palette, order)
    body = (info_header(width, height * 2, 0) + table
            + pack_rows_4bpp(rows, index) + pack_mask(rows, palette))
    if cursor:
        kind, field1, field2 = 2, hotspot[0], hotspot[1]
    else:
        kind, field1, field2 = 1, 1, 4  # planes, bits per pixel
    directory = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", width, height, 16, 0, field1, field2, len(body), 6 + 16)
    return directory + entry + body


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
    if len(argv) not in (3, 6) or (len(argv) == 6 and argv[3] != "--preview"):
        sys.stderr.write(__doc__)
        return 2
    source, target = argv[1], argv[2]
    try:
        palette, order, hotspot, images = parse(source)
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
    if len(argv) == 6:
        write_preview(argv[4], palette, images, int(argv[5]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
