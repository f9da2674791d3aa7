"""The same picture as the desktop program: the web build in headless
Chromium and the desktop program under Xvfb with Mesa, both 256 by 256,
through the same keys, the FPS line left out (it counts frames)."""

import os
import tempfile

from PIL import ImageChops, ImageStat

from harness.app import App
from harness.pictures import overlay_line_box, same_scene
from harness.program import Launch
from harness.waiting import wait_until
from harness.xserver import XServer
from controls_test import eye
from overlay import shown

# Each state: the keys that lead to it from the one before, and the overlay
# values that show it has been reached (None: the picture changing does).
STATES = (("at start", (), {"Octaves": "2", "fov": "65"}),
          ("after parameter keys", ("t", "g", "b", "u", "0"),
           {"Octaves": "3", "Amp": "240", "Freq": "0.0012", "h": "0.6", "unit": "160"}),
          # most of the far grid smaller than a pixel, where the page leaves out what falls between centres
          ("at grid unit 20", ("9", "9", "9"), {"unit": "20"}),
          ("after F4", ("F4",), None))
MEAN_LEVELS = 2.0     # mean difference per channel, of 255
FAR_OFF = 15          # a pixel is off when a channel differs by more than this...
FAR_OFF_SHARE = 0.01  # ...and at most this share of the pixels may be


def pictures(take, wait_steady, press, what):
    """The picture of every state, in order, the FPS line blacked out."""
    taken = [None]
    for _, keys, values in STATES:
        press(*keys)
        if values:
            wait_until(lambda: values.items() <= shown(take()).items(), 20, "%s to show %s" % (what, values))
        else:
            wait_until(lambda: not same_scene(take(), taken[-1]), 20, "%s to change" % what)
        image = wait_steady()
        image.paste((0, 0, 0), overlay_line_box(0))
        taken.append(image)
    return taken[1:]


def reset_twice(top_view):
    """Whether the first frame fell in the start-up's millisecond: the clock
    then starts at 0, the scene resets a second time and its orthographic
    camera moves 1000 units on, the eye out of the bottom of the top view.
    The page's never does; a desktop start that did is taken again."""
    try:
        return eye(top_view)[1] > top_view.height - 16
    except AssertionError:
        return True


def desktop_pictures(program, workdir, attempts=12):
    """The desktop program's pictures, from a start that reset the scene once
    as the page's does: F4 shows which it was, and F1 brings back the view
    the states begin with (no pointer moves, so look mode turns nothing)."""
    with XServer() as server:
        for _ in range(attempts):
            app = App(Launch(program=os.path.abspath(program)), server.display, workdir)
            try:
                app.ready()
                app.focus()
                start = app.wait_until_steady()
                app.key("F4")
                app.wait_for_change(start, 20, "the top view")
                if reset_twice(app.wait_until_steady()):
                    continue
                app.key("F1")
                return pictures(app.screenshot, app.wait_until_steady, app.key, "the desktop program")
            finally:
                app.close()
    raise AssertionError("the desktop program reset twice at %d starts" % attempts)


def test_same_picture_as_the_desktop(request, page):
    program = request.config.getoption("--desktop")
    assert program and os.path.isfile(program), "--desktop=PATH names the desktop program"
    web = pictures(page.screenshot, page.wait_until_steady, page.key, "the page")
    assert not reset_twice(web[-1]), "the page's first frame came in its start-up's millisecond"
    with tempfile.TemporaryDirectory(prefix="vellumor-web-") as workdir:
        desktop = desktop_pictures(program, workdir)
    directory = os.environ.get("VELLUMOR_SCREENSHOT_DIR")
    for (state, _, _), on_desktop, on_web in zip(STATES, desktop, web):
        if directory:
            on_desktop.save(os.path.join(directory, "desktop %s.png" % state))
            on_web.save(os.path.join(directory, "web %s.png" % state))
        difference = ImageChops.difference(on_desktop, on_web)
        mean = sum(ImageStat.Stat(difference).mean) / 3
        far = sum(1 for rgb in difference.getdata() if max(rgb) > FAR_OFF) / (on_web.width * on_web.height)
        print("%s: %.2f levels apart on average, %.2f%% of the pixels off by more than %d" % (
            state, mean, 100 * far, FAR_OFF))
        assert mean <= MEAN_LEVELS and far <= FAR_OFF_SHARE, "%s: the page's picture is not the desktop's" % state
