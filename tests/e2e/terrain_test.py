"""What the viewer shows: lit terrain, sky, water and the overlay text.

Setting VELLUMOR_README_SCREENSHOT to a path saves the picture of
test_flight_over_the_terrain there, as PNG: the project's screenshot.
"""

import os

from harness.pictures import (CLEAR, OVERLAY_BOTTOM, OVERLAY_RIGHT, colours, count, is_clear, is_water,
                              is_yellow, near, overlay_line_box, same_scene, text_pixels, where)
from harness.waiting import wait_until

# Half-transparent white over the clear colour: the overlay text over the sky.
TEXT_OVER_SKY = tuple((c + 255) // 2 for c in CLEAR)
# And over that again: where two lines' glyphs meet.
TEXT_OVER_TEXT = tuple((c + 255) // 2 for c in TEXT_OVER_SKY)


def is_grey(rgb):
    return max(rgb) - min(rgb) <= 2 and not is_clear(rgb)


def test_terrain_below_sky_above(app):
    image = app.wait_until_steady()
    app.screenshot("terrain")
    # The window's edges are left out: there the perspective view shows the
    # frustum box's near face.
    w, h = image.width - 2, image.height - 2
    # The eye stands at height 0 and looks level along +z: the horizon
    # runs across the middle, with hills rising above it here and there.
    upper = count(image, is_clear, (OVERLAY_RIGHT, 2, w, h // 2))
    assert upper >= 0.7 * (w - OVERLAY_RIGHT) * (h // 2 - 2), "sky in only %d pixels of the upper half" % upper
    band = count(image, is_clear, (OVERLAY_RIGHT, 2, w, h // 4))
    assert band == (w - OVERLAY_RIGHT) * (h // 4 - 2), "terrain in the top quarter"

    lower = colours(image, (2, h * 5 // 8, w, h))
    grey = sum(1 for rgb in lower if is_grey(rgb))
    assert grey == len(lower), "%d of %d pixels of the lower part are not grey terrain" % (
        len(lower) - grey, len(lower))
    # Lit and smooth-shaded with the default material: mid greys that vary,
    # neither black nor one flat colour.
    levels = [rgb[0] for rgb in lower]
    mean = sum(levels) / len(levels)
    spread = (sum((v - mean) ** 2 for v in levels) / len(levels)) ** 0.5
    assert 60 <= mean <= 200, "mean grey level %.0f" % mean
    assert spread >= 4, "grey levels spread by %.1f only: not shaded" % spread


def test_overlay_text_is_light(app):
    image = app.wait_until_steady()
    # The first five lines lie over the sky, where a pixel is either sky or
    # text: half-transparent white, lighter than the sky.
    top = overlay_line_box(0)[1]
    bottom = overlay_line_box(4)[3]
    found = {rgb: n for n, rgb in image.crop((2, top, OVERLAY_RIGHT, bottom)).getcolors(1 << 16)}
    text = sum(n for rgb, n in found.items() if near(rgb, TEXT_OVER_SKY, 2))
    # Windows' system font is taller than the 12-pixel line pitch: a
    # descender may reach into the top of the next line's glyphs.
    overlaps = (TEXT_OVER_TEXT,) if app.launch.windows else ()
    other = {rgb: n for rgb, n in found.items()
             if not (is_clear(rgb) or any(near(rgb, c, 2) for c in (TEXT_OVER_SKY, *overlaps)))}
    assert text >= 200, "only %d text pixels in the first five lines" % text
    assert not other, "colours other than sky and light text: %s" % sorted(other.items())[:10]
    # Over the terrain the text is lighter than what it covers, too.
    light = text_pixels(image, (0, overlay_line_box(8)[1], OVERLAY_RIGHT, OVERLAY_BOTTOM))
    assert len(light) >= 15, "no light text over the terrain: %d pixels" % len(light)


def frustum_pixels(image):
    """The wire box's yellow pixels, away from the window's edges (where the
    perspective view shows the box's near face)."""
    return where(image, is_yellow, (2, 2, image.width - 2, image.height - 2))


def frustum_eye(image):
    """In the side view, the eye is the frustum box's leftmost point (the
    perspective camera looks along +z, to the right)."""
    box = frustum_pixels(image)
    assert box, "no frustum box in the side view"
    return min(box)


def fly_up_and_look_down(app, climb_pixels=30, timeout=30):
    """Looks up, flies until the side view shows the eye climb_pixels higher,
    stops and looks down again, in look mode. The climb is watched rather
    than timed, since the mover's pace follows the frame rate."""
    app.focus()
    app.move_mouse(200, 200)
    before = app.wait_until_steady()
    app.key("F3")
    app.wheel(4)  # room to climb in the side view
    app.wait_for_change(before, 15, "the side view")
    side = app.wait_until_steady()
    start = frustum_eye(side)

    app.key("F1")
    centre = app.window_centre()
    app.look(0, -100, centre)  # 20 degrees up
    app.key("F3")
    # The side view again, not a perspective frame drawn before F3 was handled.
    app.wait_for_change(side, 15, "the frustum to tilt up in the side view",
                        differs=lambda old, new: len(frustum_pixels(new)) >= 100 and not same_scene(new, old))
    app.key_down("w")
    try:
        wait_until(lambda: frustum_eye(app.screenshot())[1] <= start[1] - climb_pixels, timeout,
                   "the eye to climb")
    finally:
        app.key_up("w")
    climbed = frustum_eye(app.stop())
    assert climbed[0] > start[0], "the eye did not fly forward (along +z): %s, then %s" % (start, climbed)
    app.wheel(-4)  # the orthographic camera as it was

    app.key("F1")
    app.look(0, 160, centre)  # 12 degrees down
    return app.wait_until_steady()


def test_flight_over_the_terrain(app):
    """From above, the valleys below height 0 lie under the blue water plane."""
    fly_up_and_look_down(app)
    app.resize(640, 480)
    image = app.wait_until_steady()
    w, h = image.size
    water = count(image, is_water, (0, OVERLAY_BOTTOM, w, h))
    grey = count(image, is_grey, (0, OVERLAY_BOTTOM, w, h))
    sky = count(image, is_clear, (OVERLAY_RIGHT, 2, w, OVERLAY_BOTTOM))
    area = w * (h - OVERLAY_BOTTOM)
    # Where the climb ends follows the machine's pace, and with it how much
    # of the ground below lies under water: 1.5% to several per cent here.
    assert water >= 0.005 * area, "water in only %d pixels" % water
    assert grey >= 0.2 * area, "terrain in only %d pixels" % grey
    assert sky >= 0.5 * (w - OVERLAY_RIGHT) * (OVERLAY_BOTTOM - 2), "sky in only %d pixels" % sky
    assert len(text_pixels(image, overlay_line_box(0))) >= 15, "no overlay text"
    app.screenshot("flight")
    path = os.environ.get("VELLUMOR_README_SCREENSHOT")
    if path:
        image.save(path)
        print("saved %s" % path)
    app.key("Escape")
    app.check_clean_exit()
