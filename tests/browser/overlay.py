"""Reads the overlay's text from a picture, as a person reads it: the nine
lines in the top-left corner, drawn in the system's bold sans-serif at 11
pixels times the display's scale. FreeType's monochrome rendering of the
same font, through Pillow, gives each character's pixels and advance; a
line's text is found by matching them, character by character, against the
pixels that look like overlay text (half-transparent white over whatever is
behind)."""

import functools

from PIL import ImageFont

from harness.pictures import OVERLAY_FIRST_BASELINE, OVERLAY_LINE_PITCH, text_pixels

LABELS = ("FPS", "Octaves", "Amp", "Freq", "h", "radius", "oradius", "fov", "unit")
# The values at start, but the frame rate.
START = {"Octaves": "2", "Amp": "230", "Freq": "0.0011", "h": "0.5", "radius": "10", "oradius": "1500",
         "fov": "65", "unit": "80"}
LEFT = 5  # the first glyph's raster position, pixels in from the left edge
# What a "%g" value is made of.
VALUE_CHARACTERS = "0123456789.-+e"


def scaled(pixels, scale):
    """A length of the overlay at a scale of 1, at `scale`, rounded as the program rounds it."""
    return int(pixels * scale + 0.5)


@functools.lru_cache(maxsize=None)
def font(scale=1):
    """The face the web build's glyphs are rendered from (and that fontconfig
    gives the desktop program on Debian), at the overlay's size at `scale`."""
    return ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", scaled(11, scale),
                              layout_engine=ImageFont.Layout.BASIC)


@functools.lru_cache(maxsize=4096)
def text_at(text, line, scale=1):
    """The pixels of `text` drawn on overlay line `line` that text_pixels can
    tell from what is behind (within two of one that is not text: all of
    them in thin strokes), and where it ends. Whole strings, as the glyphs'
    bitmaps overlap their neighbours' cells."""
    mask, (left, top) = font(scale).getmask2(text, mode="1", anchor="ls")
    base, start = baseline(line, scale), scaled(LEFT, scale)
    pixels = {(start + left + x, base + top + y) for y in range(mask.size[1]) for x in range(mask.size[0])
              if mask.getpixel((x, y))}
    edge = frozenset((x, y) for x, y in pixels
                     if any((x + dx, y + dy) not in pixels for dx in range(-2, 3) for dy in range(-2, 3)))
    return edge, start + int(font(scale).getlength(text, mode="1"))


def baseline(line, scale=1):
    return scaled(OVERLAY_FIRST_BASELINE + OVERLAY_LINE_PITCH * line, scale)


def band(line, scale=1):
    """The rows of a line's capitals and digits: a value has no descenders,
    and the lines above and below stay out."""
    return baseline(line, scale) - scaled(8, scale), baseline(line, scale)


def line_pixels(image, line, scale=1):
    top, bottom = band(line, scale)
    return set(text_pixels(image, (0, top, image.width, min(image.height, bottom + 1))))


def read_value(image, line, scale=1):
    """The value shown on overlay line `line`, as text, or None when the line
    does not begin with its label and a colon. Where the text crosses a thin
    dark edge of the scene, a few of its pixels do not look like text: a
    character may miss a sixth of them, the label a tenth."""
    seen = line_pixels(image, line, scale)
    top, bottom = band(line, scale)

    def drawn(text):
        pixels, end = text_at(text, line, scale)
        return {(x, y) for x, y in pixels if top <= y <= bottom}, end
    text = LABELS[line] + ":"
    placed, pen = drawn(text)
    if len(placed - seen) > len(placed) // 10:
        return None
    while True:
        best = None
        for character in VALUE_CHARACTERS:
            candidate, end = drawn(text + character)
            new = candidate - placed
            missing = len(new - seen)
            if not new or missing > len(new) // 6:
                continue
            # Text in this character's cell that it does not explain.
            stray = sum(1 for x, y in seen if pen <= x < end and (x, y) not in candidate)
            rank = (missing + stray, -len(new))
            if best is None or rank < best[0]:
                best = (rank, character, end, candidate)
        if best is None or best[0][0] > 2 * scale * scale:
            return text[len(LABELS[line]) + 1:]
        text += best[1]
        pen, placed = best[2], best[3]


def shown(image, scale=1):
    """{label: value as text} of every overlay line, drawn at `scale`."""
    return {label: read_value(image, line, scale) for line, label in enumerate(LABELS)}


def values(image, scale=1):
    """The overlay's values but the frame rate."""
    return {label: value for label, value in shown(image, scale).items() if label != "FPS"}
