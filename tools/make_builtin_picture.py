#!/usr/bin/env python3
"""Makes drawing/BuiltInPicture.cpp, the picture shown by Draw Picture.

The picture is rendered here rather than taken from a photograph, so it carries no one else's licence:
two glossy balls on a chequered floor under an evening sky, lit from the upper left, casting shadows
towards the viewer's right. It is ray cast with 4 x 4 samples per display pixel (that is, rendered at
512 x 256 and scaled down by averaging), and reduced to one bit per pixel
with Floyd-Steinberg error diffusion. A dark result lights the LCD pixel, because a lit KS0108 dot is
the dark one on the glass.

Usage:
  make_builtin_picture.py                 write drawing/BuiltInPicture.cpp
  make_builtin_picture.py --check FILE    exit 1 if FILE differs from what would be written
  make_builtin_picture.py --preview DIR   also write grey.pgm and dithered.pbm into DIR for a look

Python 3 standard library only.
"""

import argparse
import math
import os
import sys

WIDTH, HEIGHT = 128, 64
SUPERSAMPLE = 4

CAMERA = (0.0, 1.6, -6.5)
LOOK_DOWN = 0.20  # radians the view is tilted below the horizon
FIELD_OF_VIEW = 0.95  # horizontal, radians
LIGHT = (-0.55, 0.72, -0.42)  # towards the light: upper left, a little in front
SPHERES = (  # centre, radius, albedo
    ((-0.9, 1.0, 1.2), 1.0, 1.0),
    ((1.45, 0.55, 0.2), 0.55, 0.85),
)
AMBIENT = 0.06


def normalise(v):
    length = math.sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])
    return (v[0] / length, v[1] / length, v[2] / length)


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def along(origin, direction, t):
    return (origin[0] + direction[0] * t, origin[1] + direction[1] * t, origin[2] + direction[2] * t)


LIGHT_DIRECTION = normalise(LIGHT)


def hit_sphere(origin, direction, centre, radius):
    """Nearest positive distance along the ray to the sphere, or None."""
    offset = (origin[0] - centre[0], origin[1] - centre[1], origin[2] - centre[2])
    b = dot(offset, direction)
    c = dot(offset, offset) - radius * radius
    disc = b * b - c
    if disc < 0.0:
        return None
    root = math.sqrt(disc)
    for t in (-b - root, -b + root):
        if t > 1e-6:
            return t
    return None


def nearest_sphere(origin, direction):
    best = None
    for sphere in SPHERES:
        t = hit_sphere(origin, direction, sphere[0], sphere[1])
        if t is not None and (best is None or t < best[0]):
            best = (t, sphere)
    return best


def in_shadow(point):
    return nearest_sphere(point, LIGHT_DIRECTION) is not None


def sky(direction):
    # Brightest just above the horizon, darkening upwards like an evening sky.
    up = max(0.0, direction[1])
    return 0.55 - 0.5 * math.sqrt(up)


def floor_shade(point, distance):
    check = (math.floor(point[0] * 1.1) + math.floor(point[2] * 1.1)) % 2
    albedo = 0.95 if check == 0 else 0.25
    light = LIGHT_DIRECTION[1]
    if in_shadow(point):
        light = 0.0
    value = albedo * (AMBIENT + (1.0 - AMBIENT) * light)
    # Haze fades the far floor into the horizon's brightness.
    haze = 1.0 - math.exp(-distance / 18.0)
    return value * (1.0 - haze) + 0.55 * haze


def sphere_shade(point, direction, sphere):
    centre, radius, albedo = sphere
    normal = normalise((point[0] - centre[0], point[1] - centre[1], point[2] - centre[2]))
    diffuse = max(0.0, dot(normal, LIGHT_DIRECTION))
    if diffuse > 0.0 and in_shadow(along(point, normal, 1e-4)):
        diffuse = 0.0
    reflected = along(LIGHT_DIRECTION, normal, -2.0 * dot(normal, LIGHT_DIRECTION))
    highlight = max(0.0, -dot(reflected, direction)) ** 40 if diffuse > 0.0 else 0.0
    # Light bounced up from the floor keeps the underside from going fully black.
    bounce = 0.10 * max(0.0, -normal[1])
    return min(1.0, albedo * (AMBIENT + bounce + (1.0 - AMBIENT) * diffuse) + 0.7 * highlight)


def trace(direction):
    found = nearest_sphere(CAMERA, direction)
    floor_t = -CAMERA[1] / direction[1] if direction[1] < 0.0 else None
    if found is not None and (floor_t is None or found[0] < floor_t):
        return sphere_shade(along(CAMERA, direction, found[0]), direction, found[1])
    if floor_t is not None:
        return floor_shade(along(CAMERA, direction, floor_t), floor_t)
    return sky(direction)


def ray_direction(sx, sy, sample_width, sample_height):
    half = math.tan(FIELD_OF_VIEW / 2.0)
    x = (2.0 * (sx + 0.5) / sample_width - 1.0) * half
    y = (1.0 - 2.0 * (sy + 0.5) / sample_height) * half * sample_height / sample_width
    # Tilt the view down about the x axis.
    cos_t, sin_t = math.cos(LOOK_DOWN), math.sin(LOOK_DOWN)
    return normalise((x, y * cos_t - sin_t, y * sin_t + cos_t))


def render():
    """Grey levels 0 (black) .. 1 (white), HEIGHT rows of WIDTH, each the mean of its samples."""
    sample_width, sample_height = WIDTH * SUPERSAMPLE, HEIGHT * SUPERSAMPLE
    grey = [[0.0] * WIDTH for _ in range(HEIGHT)]
    for sy in range(sample_height):
        for sx in range(sample_width):
            grey[sy // SUPERSAMPLE][sx // SUPERSAMPLE] += trace(ray_direction(sx, sy, sample_width, sample_height))
    samples = SUPERSAMPLE * SUPERSAMPLE
    # The dots are averaged by the eye as light, so the dither works on linear values, not gamma-encoded.
    return [[min(1.0, max(0.0, v / samples)) for v in row] for row in grey]


def floyd_steinberg(grey):
    """True where the pixel comes out dark."""
    work = [row[:] for row in grey]
    dark = [[False] * WIDTH for _ in range(HEIGHT)]
    for y in range(HEIGHT):
        for x in range(WIDTH):
            old = work[y][x]
            new = 1.0 if old >= 0.5 else 0.0
            dark[y][x] = new == 0.0
            error = old - new
            for dx, dy, weight in ((1, 0, 7), (-1, 1, 3), (0, 1, 5), (1, 1, 1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < WIDTH and ny < HEIGHT:
                    work[ny][nx] += error * weight / 16.0
    return dark


def to_pages(dark):
    """Page-major bytes: index page * 128 + column, bit k = row 8 * page + k, a set bit lit."""
    pages = []
    for page in range(HEIGHT // 8):
        for x in range(WIDTH):
            byte = 0
            for k in range(8):
                if dark[page * 8 + k][x]:
                    byte |= 1 << k
            pages.append(byte)
    return pages


def cpp_source(pages):
    lines = [
        "// Generated by tools/make_builtin_picture.py; change the tool and run it again rather than",
        "// editing the table.",
        "//",
        "// A scene rendered by that tool: two glossy balls, a large one left of centre and a small one to",
        "// the right, on a chequered floor that fades into an evening sky, lit from the upper left so",
        "// their shadows fall to the right. Ray cast at 4 x 4 samples a pixel, averaged, and reduced to",
        "// one bit a pixel by Floyd-Steinberg error diffusion; dark parts of the scene are lit dots.",
        "",
        '#include "BuiltInPicture.h"',
        "",
        "namespace lcd {",
        "",
        "// One row of 16 bytes is one eighth of a page; the formatter is kept off so that --check can",
        "// compare the file byte for byte.",
        "// clang-format off",
        "const PageBuffer BuiltInPicture = {",
    ]
    for start in range(0, len(pages), 16):
        lines.append("    " + ", ".join("0x%02X" % b for b in pages[start:start + 16]) + ",")
    lines += ["};", "// clang-format on", "", "}  // namespace lcd", ""]
    return "\n".join(lines)


def write_previews(directory, grey, dark):
    os.makedirs(directory, exist_ok=True)
    with open(os.path.join(directory, "grey.pgm"), "wb") as out:
        out.write(b"P5 %d %d 255\n" % (WIDTH, HEIGHT))
        out.write(bytes(int(round(v * 255)) for row in grey for v in row))
    with open(os.path.join(directory, "dithered.pbm"), "wb") as out:
        out.write(b"P1\n%d %d\n" % (WIDTH, HEIGHT))
        for row in dark:
            out.write(("".join("1" if d else "0" for d in row) + "\n").encode())


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--output", default=os.path.join(root, "drawing", "BuiltInPicture.cpp"))
    parser.add_argument("--check", metavar="FILE")
    parser.add_argument("--preview", metavar="DIR")
    args = parser.parse_args()

    grey = render()
    dark = floyd_steinberg(grey)
    source = cpp_source(to_pages(dark))
    if args.preview:
        write_previews(args.preview, grey, dark)
    if args.check:
        with open(args.check, encoding="utf-8") as existing:
            if existing.read() != source:
                print("%s is not what %s makes; run the tool again" % (args.check, sys.argv[0]))
                return 1
        return 0
    with open(args.output, "w", encoding="utf-8") as out:
        out.write(source)
    return 0


if __name__ == "__main__":
    sys.exit(main())
