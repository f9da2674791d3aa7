"""The window, its first frames and the ways the program ends."""

import os
import signal
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import CLEAR, Session, check, near, run, text_pixels, wait_until  # noqa: E402

LINE_PITCH = 12
FIRST_BASELINE = 15  # below the client area's top edge
LINES = 9


def test_window_identity(program):
    with Session(program) as app:
        app.ready()
        title = app.x("xdotool", "getwindowname", str(app.window)).decode().strip()
        check(title == "Vellumor", "title %r" % title)
        wm_class = app.x("xprop", "-id", str(app.window), "WM_CLASS").decode()
        check('"vellumor", "vellumor"' in wm_class, "class: %s" % wm_class.strip())
        geometry = app.geometry()
        check(geometry == (100, 100, 256, 256), "position and size %s" % (geometry,))


def test_first_frame(program):
    with Session(program) as app:
        app.ready()
        image = app.screenshot("first_frame")
        check((image.width, image.height) == (256, 256), "screenshot %dx%d" % (image.width, image.height))
        # Above the horizon, right of the text, the clear colour shows.
        sky = image.count(lambda rgb: near(rgb, CLEAR, 2), 140, 0, 256, 60)
        check(sky >= 0.5 * 116 * 60, "clear colour in %d of %d sky pixels" % (sky, 116 * 60))

        text = text_pixels(image, 0, 0, 120, FIRST_BASELINE + LINE_PITCH * LINES)
        for line in range(LINES):
            baseline = FIRST_BASELINE + LINE_PITCH * line
            on_line = [x for x, y in text if baseline - 10 <= y < baseline + 3]
            check(len(on_line) >= 15, "%d text pixels on line %d" % (len(on_line), line))
        left = min(x for x, _ in text)
        check(5 <= left <= 8, "text starts at column %d, not 5" % left)
        # Nowhere else does text show over the sky.
        over_sky = (216, 216, 229)
        stray = image.count(lambda rgb: near(rgb, over_sky, 3), 130, 0, 256, 256) + image.count(
            lambda rgb: near(rgb, over_sky, 3), 0, 130, 130, 256)
        check(stray == 0, "%d text pixels away from the text" % stray)


def test_resize_follows_client_area(program):
    with Session(program) as app:
        app.ready()
        app.x("xdotool", "windowsize", "--sync", str(app.window), "400", "300")

        def resized():
            image = app.screenshot()
            return (image.width, image.height) == (400, 300) and near(image.pixel(390, 5), CLEAR, 2)
        wait_until(resized, 20, "a frame of the new size", interval=0.2)
        image = app.screenshot("resized")
        # The text keeps to the top-left corner of the taller client area:
        # its first line is where it was, not 44 rows lower.
        text = text_pixels(image, 0, 0, 120, 60)
        first_line = [y for _, y in text if FIRST_BASELINE - 10 <= y < FIRST_BASELINE + 3]
        check(len(first_line) >= 15, "%d text pixels on the first line" % len(first_line))
        check(min(y for _, y in text) >= FIRST_BASELINE - 10, "text above the first line")
        app.focus()
        app.key("Escape")
        app.check_clean_exit()


def test_escape_ends_silently(program):
    with Session(program) as app:
        app.ready()
        app.focus()
        app.key("Escape")
        app.check_clean_exit()


def test_close_request_ends(program):
    with Session(program) as app:
        app.ready()
        app.close_request()
        app.check_clean_exit()


def test_sigterm_ends(program):
    with Session(program) as app:
        app.ready()
        app.send_signal(signal.SIGTERM)
        app.check_clean_exit()


def test_sigint_ends(program):
    with Session(program) as app:
        app.ready()
        app.send_signal(signal.SIGINT)
        app.check_clean_exit()


def unused_display():
    number = next(n for n in range(4000, 5000) if not os.path.exists("/tmp/.X11-unix/X%d" % n))
    return ":%d" % number


def test_no_display_fails_in_one_line(program):
    # No display named at all, and one named that nobody serves.
    for extra_env in ({}, {"DISPLAY": unused_display()}):
        with Session(program, display=False, extra_env=extra_env) as app:
            code = app.wait_exit()
            err = app.stderr()
            check(code != 0, "exit code 0 with %s" % (extra_env or "no DISPLAY"))
            check(app.stdout() == "", "wrote to stdout: %r" % app.stdout())
            check(err.endswith("\n") and err.count("\n") == 1 and len(err.strip()) > 0,
                  "stderr is not one line: %r" % err)


if __name__ == "__main__":
    run(globals())
