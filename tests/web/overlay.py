"""Reads the overlay's text from a picture, as a person reads it: the nine
lines in the top-left corner, drawn in the system's bold sans-serif at 11
pixels. FreeType's monochrome rendering of the same font, through Pillow,
gives each character's pixels and advance; a line's text is found by
matching them, character by character, against the pixels that look like
overlay text (half-transparent white over whatever is behind)."""

import functools
import subprocess

from PIL import ImageFont

from harness.pictures import OVERLAY_FIRST_BASELINE, OVERLAY_LINE_PITCH, text_pixels

LABELS = ("FPS", "Octaves", "Amp", "Freq", "h", "radius", "oradius", "fov", "unit")
LEFT = 5  # the first glyph's raster position, pixels in from the left edge
# What a "%g" value is made of.
VALUE_CHARACTERS = "0123456789.-+e"


@functools.lru_cache(maxsize=None)
def font():
    path = subprocess.run(["fc-match", "-f", "%{file}", "sans-serif:bold"], capture_output=True, text=True,
                          check=True).stdout
    return ImageFont.truetype(path, 11, layout_engine=ImageFont.Layout.BASIC)


@functools.lru_cache(maxsize=4096)
def text_at(text, line):
    """The pixels of `text` drawn on overlay line `line`, and where it ends.
    Whole strings, as the glyphs' bitmaps overlap their neighbours' cells."""
    mask, (left, top) = font().getmask2(text, mode="1", anchor="ls")
    base = baseline(line)
    pixels = frozenset((LEFT + left + x, base + top + y) for y in range(mask.size[1]) for x in range(mask.size[0])
                       if mask.getpixel((x, y)))
    return pixels, LEFT + int(font().getlength(text, mode="1"))


def baseline(line):
    return OVERLAY_FIRST_BASELINE + OVERLAY_LINE_PITCH * line


def line_pixels(image, line):
    """The overlay text's pixels from the line's cap height to its baseline
    (a value has no descenders, and the lines around it stay out)."""
    base = baseline(line)
    return set(text_pixels(image, (0, max(0, base - 9), image.width, min(image.height, base + 1))))


def read_value(image, line):
    """The value shown on overlay line `line`, as text, or None when the line
    does not begin with its label and a colon. Where the text crosses a busy
    background, a pixel or two of it can pass unseen: a character may miss
    one, the label three."""
    seen = line_pixels(image, line)
    top, base = baseline(line) - 9, baseline(line)
    text = LABELS[line] + ":"
    drawn, pen = text_at(text, line)
    drawn = {(x, y) for x, y in drawn if top <= y <= base}
    if len(drawn - seen) > 3:
        return None
    while True:
        best = None
        for character in VALUE_CHARACTERS:
            pixels, end = text_at(text + character, line)
            placed = {(x, y) for x, y in pixels if top <= y <= base}
            missing = len(placed - drawn - seen)
            if missing > 1:
                continue
            # Text in this character's cell that it does not explain.
            stray = sum(1 for x, y in seen if pen <= x < end and (x, y) not in placed)
            rank = (stray + missing, -len(placed))
            if best is None or rank < best[0]:
                best = (rank, character, end, placed)
        if best is None or best[0][0] > 1:
            return text[len(LABELS[line]) + 1:]
        text += best[1]
        pen, drawn = best[2], best[3]


def shown(image):
    """{label: value as text} of every overlay line."""
    return {label: read_value(image, line) for line, label in enumerate(LABELS)}
