"""The page around the viewer: its size and sharpness, the keys it keeps
from the browser, what it says when the viewer cannot start, its picture
after the WebGL context was lost, the desktop's page without the touch
controls, and the page started again without the server."""

import os

from browser import Browser, Page, Site, open_page
from harness.pictures import check_scales, is_clear, same_scene
from harness.waiting import wait_until
from overlay import START, values

VIEWER_KEYS = ("w", "a", "s", "d", "space", "t", "r", "g", "f", "b", "v", "u", "y", "0", "9", "2", "1",
               "F2", "F3", "F4", "F1")


def test_the_canvas_grows_with_its_frame(page):
    page.resize(512, 384)
    wait_until(lambda: page.screenshot().size == (512, 384), 15, "a picture of 512 by 384")
    grown = page.wait_until_steady()
    # Drawn at the new size, not stretched: the overlay keeps its place and size.
    assert values(grown) == START
    assert is_clear(grown.getpixel((grown.width - 4, 24))), "no sky in the top-right corner"
    # The README's picture of the page: VELLUMOR_WEB_SCREENSHOT=docs/web-screenshot.png
    if os.environ.get("VELLUMOR_WEB_SCREENSHOT"):
        page.driver.set_window_size(1200, 720)  # room for the table beside the canvas
        page.wait_frames(5)
        page.driver.find_element("tag name", "main").screenshot(os.environ["VELLUMOR_WEB_SCREENSHOT"])


def test_at_a_device_pixel_ratio_the_canvas_and_overlay_are_larger(site):
    def picture(scale):
        browser = Browser(scale=scale)
        try:
            page = open_page(browser, site.url)
            page.scale = scale
            return page.wait_until_steady()
        finally:
            browser.close()
    check_scales((1, 2, 3), picture)


def test_a_page_zoomed_while_it_runs_draws_its_next_frames_larger(page):
    def picture(scale):
        page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 800, "height": 600, "deviceScaleFactor": scale, "mobile": False})
        wait_until(lambda: page.screenshot().width == 256 * scale, 15, "a picture at a ratio of %g" % scale)
        page.scale = scale
        return page.wait_until_steady()
    check_scales((1, 2), picture)


def test_the_viewers_keys_stay_with_the_viewer(page):
    page.script("window.keys = []; addEventListener('keydown', e => window.keys.push([e.key, e.defaultPrevented]));")
    page.key("ArrowDown", *VIEWER_KEYS)
    # Escape twice: the first under the pointer lock F1 took.
    wait_until(page.pointer_locked, 10, "the pointer locked to the canvas")
    page.key("escape", "escape")
    wait_until(lambda: page.notice().startswith("Vellumor has ended."), 10, "Escape to end the viewer")
    keys = page.script("return window.keys;")
    assert keys[0] == ["ArrowDown", False], "a key the viewer does not use was kept from the browser"
    assert [prevented for _, prevented in keys[1:]] == [True] * (len(VIEWER_KEYS) + 2), keys
    assert len(page.driver.window_handles) == 1, "F1 opened a help page"


def test_without_webgl_the_page_says_so_in_one_line(site):
    browser = Browser(extra_flags=["--disable-3d-apis"])
    try:
        page = Page(browser, site.url)
        line = wait_until(page.notice, 30, "the page to say why the viewer does not start")
        assert line == "vellumor: no WebGL: this browser gives the page no WebGL context"
        assert page.script("return document.getElementById('frame').hidden;"), "the page still shows the canvas"
        errors = browser.console_errors()
        assert len(errors) == 1 and line in errors[0], "the console shows %s" % errors
    finally:
        browser.close()


def test_the_picture_comes_back_with_a_lost_context(page):
    before = page.wait_until_steady()
    page.script("window.loser = document.getElementById('vellumor').getContext('webgl')"
                ".getExtension('WEBGL_lose_context'); window.loser.loseContext();")
    wait_until(lambda: page.script("return document.getElementById('vellumor').getContext('webgl').isContextLost();"),
               10, "the context to be lost")
    page.script("window.loser.restoreContext();")
    after = page.wait_until_steady()
    assert same_scene(after, before), "the picture after the context came back is not the one before"
    # Keys still act: the view turns away from the picture it showed.
    page.key("F4")
    page.wait_for_change(after)


def test_on_a_desktop_the_touch_controls_hide(page):
    shown = "return getComputedStyle(document.getElementById(arguments[0])).display !== 'none';"
    assert [page.script(shown, id) for id in ("controls", "hint-touch", "hint-keys")] == [False, False, True]


def test_the_worker_starts_the_page_without_the_server(site):
    served, browser = Site(site.folder), Browser()
    try:
        page = open_page(browser, served.url)
        wait_until(lambda: page.script("return navigator.serviceWorker.controller !== null;"), 20, "the worker")
        served.close()
        page = open_page(browser, served.url)
        perspective = page.wait_until_steady()
        page.key("F4")
        page.wait_for_change(perspective, 15, "F4 to show the top view")
    finally:
        browser.close()

