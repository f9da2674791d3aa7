"""The window, its first frames and the ways the program ends."""

import dataclasses
import os
import signal

import pytest

from harness.pictures import (CLEAR, OVERLAY_FIRST_BASELINE as FIRST_BASELINE,
                              OVERLAY_LINE_PITCH as LINE_PITCH, OVERLAY_LINES as LINES, count, near,
                              text_pixels)
from harness.program import Program
from harness.waiting import wait_until


def test_window_identity(app):
    titles = app.client.titles(app.window)
    assert titles == ("Vellumor", "Vellumor"), "title (_NET_WM_NAME, WM_NAME) %s" % (titles,)
    if not app.launch.windows:
        assert app.client.wm_class(app.window) == ("vellumor", "vellumor")
        assert app.geometry() == (100, 100, 256, 256), "position and size"
        return
    # Wine names the X class after the executable; the window class
    # "vellumor" is Windows' own, which the Win32 layer's tests find.
    assert app.client.wm_class(app.window) == ("vellumor.exe", "vellumor.exe")
    # The outer 256 by 256 at (100, 100) holds Wine's frame around the client
    # area: as wide on the left, right and bottom, with the caption on top.
    left, top, right, bottom = app.frame
    assert left == right == bottom > 0 and top > bottom, "frame %s: not the window asked for" % (app.frame,)


def test_first_frame(app):
    image = app.screenshot("first_frame")
    if not app.launch.windows:  # Wine's frame takes its share of the 256 by 256
        assert image.size == (256, 256)
    # Above the horizon, right of the text, the clear colour shows.
    sky = count(image, lambda rgb: near(rgb, CLEAR, 2), (140, 0, image.width, 60))
    sky_area = (image.width - 140) * 60
    assert sky >= 0.5 * sky_area, "clear colour in %d of %d sky pixels" % (sky, sky_area)

    text = text_pixels(image, (0, 0, 120, FIRST_BASELINE + LINE_PITCH * LINES))
    for line in range(LINES):
        baseline = FIRST_BASELINE + LINE_PITCH * line
        on_line = [x for x, y in text if baseline - 10 <= y < baseline + 3]
        assert len(on_line) >= 15, "%d text pixels on line %d" % (len(on_line), line)
    left = min(x for x, _ in text)
    assert 5 <= left <= 8, "text starts at column %d, not 5" % left
    # Nowhere else does text show over the sky.
    over_sky = (216, 216, 229)
    stray = (count(image, lambda rgb: near(rgb, over_sky, 3), (130, 0, image.width, image.height)) +
             count(image, lambda rgb: near(rgb, over_sky, 3), (0, 130, 130, image.height)))
    assert stray == 0, "%d text pixels away from the text" % stray


def test_resize_follows_client_area(app):
    app.client.resize(app.window, 400, 300)

    def resized():
        image = app.screenshot()
        return image.size == (400, 300) and near(image.getpixel((390, 5)), CLEAR, 2)
    wait_until(resized, 20, "a frame of the new size", interval=0.2)
    image = app.screenshot("resized")
    # The text keeps to the top-left corner of the taller client area:
    # its first line is where it was, not 44 rows lower.
    text = text_pixels(image, (0, 0, 120, 60))
    first_line = [y for _, y in text if FIRST_BASELINE - 10 <= y < FIRST_BASELINE + 3]
    assert len(first_line) >= 15, "%d text pixels on the first line" % len(first_line)
    assert min(y for _, y in text) >= FIRST_BASELINE - 10, "text above the first line"
    app.focus()
    app.key("Escape")
    app.check_clean_exit()


def test_escape_ends_silently(app):
    app.focus()
    app.key("Escape")
    app.check_clean_exit()


def test_close_request_ends(app):
    app.close_request()
    app.check_clean_exit()


def test_sigterm_ends(app):
    if app.launch.windows:
        pytest.skip("Windows has no SIGTERM: Wine ends the process at once, with the signal's status")
    app.send_signal(signal.SIGTERM)
    app.check_clean_exit()


def test_sigint_ends(app):
    if app.launch.windows:
        pytest.skip("Wine hands a SIGINT to a program's console as Ctrl+C, and the Windows build, a GUI "
                    "program, has one only when started from a console: windows_test.py starts it so")
    app.send_signal(signal.SIGINT)
    app.check_clean_exit()


def unused_display():
    number = next(n for n in range(4000, 5000) if not os.path.exists("/tmp/.X11-unix/X%d" % n))
    return ":%d" % number


def test_no_display_fails_in_one_line(launch, workdir):
    if launch.windows:
        # Under Wine, without a display, the program runs on Wine's null
        # driver and finds no OpenGL. Wine's desktop process, started on that
        # driver, would stay for every program after it: this one gets a
        # Wine prefix, and so a Wine session, of its own.
        runner, prefix = launch.prefix
        launch = dataclasses.replace(launch, prefix=(runner, prefix + "-no-display"))
    # No display named at all, and one named that nobody serves.
    for extra_env in ({}, {"DISPLAY": unused_display()}):
        with Program(launch.with_env(**extra_env), None, workdir) as program:
            code = program.wait_exit()
            err = program.stderr()
            assert code != 0, "exit code 0 with %s" % (extra_env or "no DISPLAY")
            assert program.stdout() == "", "wrote to stdout"
            assert err.endswith("\n") and err.count("\n") == 1 and len(err.strip()) > 0, \
                "stderr is not one line: %r" % err
