"""The same picture as the desktop program: the web build in headless
Chromium and the desktop program under Xvfb with Mesa, both 256 by 256,
taken through the same keys. The FPS line is left out: it counts frames."""

import os
import tempfile

from PIL import ImageChops, ImageStat

from harness.app import App
from harness.pictures import bounds_of, is_yellow, overlay_line_box, same_scene, where
from harness.program import Launch
from harness.waiting import wait_until
from harness.xserver import XServer
from overlay import shown

# Each state: the keys that lead to it from the one before, and the overlay
# values that show it has been reached (None: the picture changing does).
STATES = (
    ("at start", (), {"Octaves": "2", "fov": "65"}),
    ("after parameter keys", ("t", "g", "b", "u", "0"),
     {"Octaves": "3", "Amp": "240", "Freq": "0.0012", "h": "0.6", "unit": "160"}),
    ("after F4", ("F4",), None),
)
MEAN_LEVELS = 2.0      # mean difference per channel, of 255
FAR_OFF = 15           # a pixel is off when a channel differs by more than this...
FAR_OFF_SHARE = 0.01   # ...and at most this share of the pixels may be


def without_fps(image):
    masked = image.copy()
    masked.paste((0, 0, 0), overlay_line_box(0))
    return masked


def settled(take_picture, wait_steady, values, before, what):
    """The picture once the overlay shows `values` (or the scene differs from
    `before`) and the scene holds still."""
    if values:
        wait_until(lambda: values.items() <= shown(take_picture()).items(), 20, "%s to show %s" % (what, values),
                   interval=0.2)
    else:
        wait_until(lambda: not same_scene(take_picture(), before), 20, "%s to change" % what, interval=0.2)
    return without_fps(wait_steady())


def compare(desktop, web, state):
    assert web.size == desktop.size, "%s: the web picture is %s, the desktop's %s" % (state, web.size, desktop.size)
    difference = ImageChops.difference(desktop, web)
    mean = sum(ImageStat.Stat(difference).mean) / 3
    far = sum(1 for rgb in difference.getdata() if max(rgb) > FAR_OFF) / (web.width * web.height)
    return mean, far


def pictures(take_picture, wait_steady, press, what):
    """The picture of every state, in order."""
    taken = [None]
    for _, keys, values in STATES:
        press(*keys)
        taken.append(settled(take_picture, wait_steady, values, taken[-1], what))
    return taken[1:]


def reset_twice(top_view):
    """Whether the desktop program's first frame fell in its start-up's
    millisecond: its clock then started at 0, which resets the scene a second
    time and moves the orthographic camera 1000 units on, the eye out of the
    bottom of the top view. The web build's never does; a desktop start that
    did is taken again."""
    eye = bounds_of(where(top_view, is_yellow, (2, 2, top_view.width - 2, top_view.height - 2)))
    return eye is None or eye[3] > top_view.height - 16


def desktop_pictures(program, workdir, attempts=5):
    with XServer() as server:
        for _ in range(attempts):
            app = App(Launch(program=os.path.abspath(program)), server.display, workdir)
            try:
                app.ready()
                app.focus()
                taken = pictures(app.screenshot, app.wait_until_steady, app.key, "the desktop program")
            finally:
                app.close()
            if not reset_twice(taken[-1]):
                return taken
    raise AssertionError("the desktop program's first frame fell in its start-up's millisecond %d times" % attempts)


def test_same_picture_as_the_desktop(request, page):
    program = request.config.getoption("--desktop")
    assert program and os.path.isfile(program), "--desktop=PATH names the desktop program"
    web = pictures(page.screenshot, page.wait_until_steady, page.key, "the page")
    assert not reset_twice(web[-1]), "the page's first frame came in its start-up's millisecond"
    with tempfile.TemporaryDirectory(prefix="vellumor-web-") as workdir:
        desktop = desktop_pictures(program, workdir)
        for (state, _, _), on_desktop, on_web in zip(STATES, desktop, web):
            mean, far = compare(on_desktop, on_web, state)
            print("%s: %.2f levels apart on average, %.2f%% of the pixels off by more than %d" % (
                state, mean, 100 * far, FAR_OFF))
            if mean > MEAN_LEVELS or far > FAR_OFF_SHARE or os.environ.get("VELLUMOR_SCREENSHOT_DIR"):
                directory = os.environ.get("VELLUMOR_SCREENSHOT_DIR", workdir)
                on_desktop.save(os.path.join(directory, "desktop-%s.png" % state.replace(" ", "-")))
                on_web.save(os.path.join(directory, "web-%s.png" % state.replace(" ", "-")))
            assert mean <= MEAN_LEVELS, "%s: the pictures differ by %.2f levels on average" % (state, mean)
            assert far <= FAR_OFF_SHARE, "%s: %.2f%% of the pixels are off by more than %d" % (
                state, 100 * far, FAR_OFF)
