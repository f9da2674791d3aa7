"""What the viewer shows: lit terrain, sky, water and the overlay text.

Setting VELLUMOR_README_SCREENSHOT to a path saves the picture of
test_flight_over_the_terrain there, as PNG: the project's screenshot.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (CLEAR, OVERLAY_BOTTOM, OVERLAY_RIGHT, Session, check, is_water,  # noqa: E402
                     is_yellow, near, overlay_line_box, run, text_pixels, wait_until)

# Half-transparent white over the clear colour: the overlay text over the sky.
TEXT_OVER_SKY = tuple((c + 255) // 2 for c in CLEAR)


def is_sky(rgb):
    return near(rgb, CLEAR, 2)


def is_grey(rgb):
    return max(rgb) - min(rgb) <= 2 and not is_sky(rgb)


def test_terrain_below_sky_above(program):
    with Session(program) as app:
        app.ready()
        image = app.wait_until_steady()
        app.screenshot("terrain")
        # The window's edges are left out: there the perspective view shows the
        # frustum box's near face.
        w, h = image.width - 2, image.height - 2
        # The eye stands at height 0 and looks level along +z: the horizon
        # runs across the middle, with hills rising above it here and there.
        upper = image.count(is_sky, OVERLAY_RIGHT, 2, w, h // 2)
        check(upper >= 0.7 * (w - OVERLAY_RIGHT) * (h // 2 - 2),
              "sky in only %d pixels of the upper half" % upper)
        band = image.count(is_sky, OVERLAY_RIGHT, 2, w, h // 4)
        check(band == (w - OVERLAY_RIGHT) * (h // 4 - 2), "terrain in the top quarter")

        lower = [rgb for _, _, rgb in image.pixels(2, h * 5 // 8, w, h)]
        grey = sum(1 for rgb in lower if is_grey(rgb))
        check(grey == len(lower), "%d of %d pixels of the lower part are not grey terrain"
              % (len(lower) - grey, len(lower)))
        # Lit and smooth-shaded with the default material: mid greys that vary,
        # neither black nor one flat colour.
        levels = [rgb[0] for rgb in lower]
        mean = sum(levels) / len(levels)
        spread = (sum((v - mean) ** 2 for v in levels) / len(levels)) ** 0.5
        check(60 <= mean <= 200, "mean grey level %.0f" % mean)
        check(spread >= 4, "grey levels spread by %.1f only: not shaded" % spread)


def test_overlay_text_is_light(program):
    with Session(program) as app:
        app.ready()
        image = app.wait_until_steady()
        # The first five lines lie over the sky, where a pixel is either sky or
        # text: half-transparent white, lighter than the sky.
        top = overlay_line_box(0)[1]
        bottom = overlay_line_box(4)[3]
        colours = {}
        for _, _, rgb in image.pixels(2, top, OVERLAY_RIGHT, bottom):
            colours[rgb] = colours.get(rgb, 0) + 1
        text = sum(n for rgb, n in colours.items() if near(rgb, TEXT_OVER_SKY, 2))
        other = {rgb: n for rgb, n in colours.items() if not (is_sky(rgb) or near(rgb, TEXT_OVER_SKY, 2))}
        check(text >= 200, "only %d text pixels in the first five lines" % text)
        check(not other, "colours other than sky and light text: %s" % sorted(other.items())[:10])
        # Over the terrain the text is lighter than what it covers, too.
        found = text_pixels(image, 0, overlay_line_box(8)[1], OVERLAY_RIGHT, OVERLAY_BOTTOM)
        check(len(found) >= 15, "no light text over the terrain: %d pixels" % len(found))


def frustum_eye(image):
    """In the side view, the eye is the frustum box's leftmost point (the
    perspective camera looks along +z, to the right)."""
    box = image.where(is_yellow, 2, 2, image.width - 2, image.height - 2)
    check(box, "no frustum box in the side view")
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
    app.wait_for_change(side, 15, "the frustum to tilt up")
    app.key_down("w")
    try:
        wait_until(lambda: frustum_eye(app.screenshot())[1] <= start[1] - climb_pixels, timeout,
                   "the eye to climb")
    finally:
        app.key_up("w")
    app.hold_key("space", 0.2)
    app.wait_until_steady()
    climbed = frustum_eye(app.screenshot())
    check(climbed[0] > start[0], "the eye did not fly forward (along +z): %s, then %s" % (start, climbed))
    app.wheel(-4)  # the orthographic camera as it was

    app.key("F1")
    app.look(0, 160, centre)  # 12 degrees down
    return app.wait_until_steady()


def test_flight_over_the_terrain(program):
    """From above, the valleys below height 0 lie under the blue water plane."""
    with Session(program) as app:
        app.ready()
        fly_up_and_look_down(app)
        app.resize(640, 480)
        image = app.wait_until_steady()
        w, h = image.width, image.height
        water = image.count(is_water, 0, OVERLAY_BOTTOM)
        grey = image.count(is_grey, 0, OVERLAY_BOTTOM)
        sky = image.count(is_sky, OVERLAY_RIGHT, 2, w, OVERLAY_BOTTOM)
        area = w * (h - OVERLAY_BOTTOM)
        check(water >= 0.02 * area, "water in only %d pixels" % water)
        check(grey >= 0.2 * area, "terrain in only %d pixels" % grey)
        check(sky >= 0.5 * (w - OVERLAY_RIGHT) * (OVERLAY_BOTTOM - 2), "sky in only %d pixels" % sky)
        check(len(text_pixels(image, *overlay_line_box(0))) >= 15, "no overlay text")
        app.screenshot("flight")
        path = os.environ.get("VELLUMOR_README_SCREENSHOT")
        if path:
            image.save_png(path)
            print("saved %s" % path)
        app.key("Escape")
        app.check_clean_exit()


if __name__ == "__main__":
    run(globals())
