"""What to look for in a screenshot (an RGB Pillow image): the program's
colours, where its overlay text lies, and comparisons that leave that text
out. A box is (left, top, right, bottom), right and bottom excluded; None is
the whole picture."""

from PIL import ImageChops

CLEAR = (178, 178, 204)  # the clear colour (0.7, 0.7, 0.8) where nothing is drawn
YELLOW = (255, 255, 0)  # the frustum's wire box

# The overlay text: nine lines in the top-left corner, the first baseline 15
# pixels below the client area's top edge, 12 pixels apart, starting 5
# pixels in; none is wider than OVERLAY_RIGHT at the default values.
OVERLAY_FIRST_BASELINE = 15
OVERLAY_LINE_PITCH = 12
OVERLAY_LINES = 9
OVERLAY_RIGHT = 130
OVERLAY_BOTTOM = OVERLAY_FIRST_BASELINE + OVERLAY_LINE_PITCH * (OVERLAY_LINES - 1) + 6


def overlay_line_box(line, right=OVERLAY_RIGHT):
    """The box around the glyphs of overlay line `line` (0 is "FPS")."""
    baseline = OVERLAY_FIRST_BASELINE + OVERLAY_LINE_PITCH * line
    return (0, baseline - 10, right, baseline + 3)


# colours

def near(rgb, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, expected))


def is_clear(rgb):
    return near(rgb, CLEAR, 2)


def is_yellow(rgb):
    r, g, b = rgb  # near(rgb, YELLOW, 3), often asked
    return r >= 252 and g >= 252 and b <= 3


def is_water(rgb):
    """Half-transparent blue over the grey terrain: grey plus half of full blue."""
    r, g, b = rgb
    return abs(r - g) <= 3 and b - r >= 100


# looking at a box

def colours(image, box=None):
    """The colours of a box's pixels, row by row."""
    return list((image.crop(box) if box else image).getdata())


def count(image, predicate, box=None):
    """How many pixels of a box have a colour that satisfies predicate."""
    region = image.crop(box) if box else image
    return sum(n for n, rgb in region.getcolors(region.width * region.height) or () if predicate(rgb))


def where(image, predicate, box=None):
    """(x, y) of the pixels of a box whose colour satisfies predicate."""
    left, top = box[:2] if box else (0, 0)
    region = image.crop(box) if box else image
    wanted = {rgb for _, rgb in region.getcolors(region.width * region.height) or () if predicate(rgb)}
    if not wanted:
        return []
    width = region.width
    return [(left + i % width, top + i // width)
            for i, rgb in enumerate(region.getdata()) if rgb in wanted]


def bounds_of(points):
    """(left, top, right, bottom), inclusive, of a list of (x, y); None when it is empty."""
    if not points:
        return None
    xs = [x for x, _ in points]
    ys = [y for _, y in points]
    return (min(xs), min(ys), max(xs), max(ys))


def text_pixels(image, box=None):
    """(x, y) of the pixels that look like overlay text in a box.

    The text is white at half opacity: a text pixel is halfway between a
    nearby background pixel and white, whatever the background is. The edge
    of a dark shape can pass for text by chance, so look where text belongs."""
    left, top, right, bottom = box or (0, 0, image.width, image.height)
    pixel = image.load()
    found = []
    for y in range(top, bottom):
        for x in range(left, right):
            rgb = pixel[x, y]
            if min(rgb) < 128:
                continue
            if any(min(rgb[i] - under[i] for i in range(3)) >= 20 and
                   near(rgb, tuple((c + 255) / 2 for c in under), 3)
                   for under in (pixel[nx, ny]
                                 for nx in range(max(0, x - 2), min(image.width, x + 3))
                                 for ny in range(max(0, y - 2), min(image.height, y + 3)))):
                found.append((x, y))
    return found


# comparing two pictures

def diff_count(image, other, box=None, tolerance=0):
    """How many pixels of a box differ between two pictures by more than
    tolerance in some channel."""
    assert image.size == other.size, "pictures of different sizes: %s and %s" % (image.size, other.size)
    difference = ImageChops.difference(image.crop(box) if box else image, other.crop(box) if box else other)
    over = [band.point(lambda v: 255 if v > tolerance else 0) for band in difference.split()]
    return ImageChops.lighter(ImageChops.lighter(over[0], over[1]), over[2]).histogram()[255]


def scene_diff(image, other, tolerance=0):
    """Pixels that differ outside the overlay text, whose FPS line changes by itself."""
    width, height = image.size
    return (diff_count(image, other, (OVERLAY_RIGHT, 0, width, OVERLAY_BOTTOM), tolerance) +
            diff_count(image, other, (0, OVERLAY_BOTTOM, width, height), tolerance))


def same_scene(image, other, scale=1):
    """True when two pictures are the same outside the overlay text, drawn at `scale`."""
    if image.size != other.size:
        return False
    difference = ImageChops.difference(image, other)
    difference.paste((0, 0, 0), (0, 0, round(OVERLAY_RIGHT * scale), round(OVERLAY_BOTTOM * scale)))
    return difference.getbbox() is None




# the overlay on a scaled display

def overlay_ink(image, scale=1):
    """The picture's size, the box around its overlay text drawn at `scale`,
    and how many bands of rows hold text (lines whose text does not touch)."""
    box = (0, 0, min(image.width, round(OVERLAY_RIGHT * scale)), min(image.height, round(OVERLAY_BOTTOM * scale)))
    points = text_pixels(image, box)
    rows = {y for _, y in points}
    return image.size, bounds_of(points), sum(1 for y in rows if y - 1 not in rows)


def check_scales(scales, picture, tolerance=0.12):
    """Asserts that picture(scale) at each scale is the one at scales[0], a
    scale of 1, made that much larger: client area and text as wide and as
    tall, as many bands of text rows, the top line no nearer the edge."""
    size, (left, top, right, bottom), bands = overlay_ink(picture(scales[0]))
    for scale in scales[1:]:
        s_size, (s_left, s_top, s_right, s_bottom), s_bands = overlay_ink(picture(scale), scale)
        for what, n, s_n in (("window width", size[0], s_size[0]), ("window height", size[1], s_size[1]),
                             ("text width", right - left, s_right - s_left), ("text height", bottom - top, s_bottom - s_top)):
            assert abs(s_n / n - scale) <= tolerance * scale, "%s %d at a scale of %g, %d at 1" % (what, s_n, scale, n)
        assert s_bands == bands and s_top >= top, "at %g: %d bands of text rows from row %d; at 1: %d from %d" % (
            scale, s_bands, s_top, bands, top)
