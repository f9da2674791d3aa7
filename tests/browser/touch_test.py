"""The page on a phone (Chromium's emulation of one, 390 by 844 CSS pixels,
3 device pixels each, touch events through the DevTools protocol): the
on-screen controls, one finger and a pinch on the picture, the page holding
still under them; on a desktop, the controls hidden and the focus shown; and
the page started again from the service worker without the server."""

import pytest

from browser import Browser, Site, open_page
from frustum import box, eye, lean
from harness.pictures import same_scene
from harness.waiting import wait_until
from overlay import START, wait_for_values

SCALE = 3


class Fingers:
    """Touch points in CSS pixels of the page; every event lists all still down."""

    def __init__(self, page):
        self.page, self.down = page, {}

    def centre(self, selector):
        return self.page.script("const r = document.querySelector(arguments[0]).getBoundingClientRect();"
                                "return [r.left + r.width / 2, r.top + r.height / 2];", selector)

    def send(self, kind, **moved):
        self.down.update(moved)
        points = [{"x": x, "y": y, "id": int(finger[1:])} for finger, (x, y) in self.down.items()]
        self.page.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})

    def lift(self, *fingers):
        for finger in fingers:
            del self.down[finger]
        self.send("touchEnd")

    def tap(self, selector):
        self.send("touchStart", f9=self.centre(selector))
        self.lift("f9")

    def on_canvas(self, x, y):
        """A point of the canvas, CSS pixels from its corner, in the page."""
        left, top = self.page.script("const r = document.getElementById('vellumor').getBoundingClientRect();"
                                     "return [r.left, r.top];")
        return left + x, top + y

    def stroke(self, start, end, steps=6):
        """One finger over the canvas from start to end, and up."""
        for i in range(steps + 1):
            point = self.on_canvas(start[0] + (end[0] - start[0]) * i / steps, start[1] + (end[1] - start[1]) * i / steps)
            self.send("touchMove" if i else "touchStart", f1=point)
        self.lift("f1")

    def pinch(self, apart, to):
        """Two fingers on the canvas `apart` CSS pixels apart, then `to`."""
        self.send("touchStart", f1=self.on_canvas(20, 200), f2=self.on_canvas(20 + apart, 200))
        self.send("touchMove", f2=self.on_canvas(20 + to, 200))
        self.lift("f1", "f2")


@pytest.fixture
def phone(site):
    browser = Browser()
    try:
        for command, settings in (("Emulation.setDeviceMetricsOverride",
                                   {"width": 390, "height": 844, "deviceScaleFactor": SCALE, "mobile": True}),
                                  ("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})):
            browser.driver.execute_cdp_cmd(command, settings)
        page = open_page(browser, site.url)
        yield page, Fingers(page)
        # Nothing a finger did scrolled or zoomed the page.
        assert page.script("return [scrollX, scrollY, visualViewport.scale];") == [0, 0, 1]
        assert not browser.console_errors()
    finally:
        browser.close()


def test_buttons_one_finger_and_a_pinch(phone):
    page, fingers = phone
    assert page.canvas().size == {"width": 358, "height": 358}, "the picture does not fill the width"
    fingers.tap('[data-key="T"]')
    wait_for_values(page, dict(START, Octaves="3"), "a tap on T to step the octaves")
    # A pinch zooms the orthographic camera, shown or not, a notch for each
    # factor of 1.2 in the fingers' distance: 2.5 of them out, then 2.75 in
    # with the half notch left over.
    for apart, to, radius in ((80, 80 / 1.2 ** 2.5, "2160"), (80, 80 * 1.2 ** 2.75, "1500")):
        fingers.pinch(apart, to)
        wait_for_values(page, dict(START, Octaves="3", oradius=radius), "a pinch to make oradius %s" % radius)

    perspective = page.wait_until_steady()
    fingers.tap('[data-key="F4"]')
    top = page.wait_for_change(perspective, 15, "the top view") and page.wait_until_steady()
    assert len(box(top)) >= 100, "no frustum in the top view"

    # One finger pans by its stroke, in the picture's own pixels.
    before = page.wait_until_steady()
    fingers.stroke((100, 200), (130, 220))
    after = page.wait_for_change(before, 15, "the view to pan") and page.wait_until_steady()
    moved = (eye(after)[0] - eye(before)[0], eye(after)[1] - eye(before)[1])
    assert abs(moved[0] - 30 * SCALE) <= 3 and abs(moved[1] - 20 * SCALE) <= 3, "a stroke of (30, 20) moved %s" % (
        moved,)


def test_holding_w_pushes_the_mover_until_the_finger_goes(phone):
    page, fingers = phone
    fingers.tap('[data-key="F4"]')
    for slide_off in (False, True):
        y = eye(page.wait_until_steady())[1]
        fingers.send("touchStart", f1=fingers.centre('[data-key="W"]'))
        wait_until(lambda: eye(page.screenshot())[1] <= y - 8 * SCALE, 20, "W held to fly the eye up the top view")
        if slide_off:
            fingers.send("touchMove", f1=fingers.centre("h1"))
        fingers.lift("f1")
        fingers.send("touchStart", f1=fingers.centre('[data-key="Space"]'))
        stopped = page.wait_until_steady()
        fingers.lift("f1")
        page.wait_frames(20)
        assert same_scene(page.screenshot(), stopped), "W pushes on after its finger %s" % (
            "slid off" if slide_off else "lifted")


def test_after_f1_a_finger_turns_the_view(phone):
    page, fingers = phone
    fingers.tap('[data-key="F1"]')
    looking = page.wait_until_steady()
    fingers.stroke((100, 200), (140, 200))
    page.wait_for_change(looking, 15, "the view to turn")
    # Seen from above, the frustum leans right of the eye: the view turned right.
    fingers.tap('[data-key="F4"]')
    fingers.pinch(300, 300 / 1.2 ** 9.5)
    assert lean(page.wait_until_steady()) > 5


def test_on_a_desktop_the_controls_hide_and_the_focus_shows(page):
    shown = lambda selector: page.script(  # noqa: E731
        "return getComputedStyle(document.querySelector(arguments[0])).display !== 'none';", selector)
    assert not shown("#controls") and not shown("#hint-touch") and shown("#hint-keys")
    assert page.script("return document.querySelector('h1').textContent;") == "Vellumor"
    focused = page.script("return getComputedStyle(document.getElementById('frame')).backgroundColor;")
    page.key("Tab")
    wait_until(lambda: shown("#away"), 10, "the line saying the keys went elsewhere")
    assert "click the picture to fly again" in page.script("return document.getElementById('away').textContent;")
    assert page.script("return getComputedStyle(document.getElementById('frame')).backgroundColor;") != focused
    page.click(100, 100)
    wait_until(lambda: not shown("#away"), 10, "a click to bring the keys back")
    # Full screen gives the picture the whole window, drawn at its size.
    page.driver.find_element("id", "full-screen-keys").click()
    wait_until(lambda: page.script("const c = document.getElementById('vellumor');"
                                   "return c.width === innerWidth && c.height === innerHeight;"), 15,
               "the picture to fill the screen")


def test_the_worker_starts_the_page_without_the_server(site):
    served = Site(site.folder)
    browser = Browser()
    try:
        page = open_page(browser, served.url)
        wait_until(lambda: page.script("return navigator.serviceWorker.controller !== null;"), 20,
                   "the service worker to take the page")
        served.close()
        page = open_page(browser, served.url)
        perspective = page.wait_until_steady()
        page.key("F4")
        page.wait_for_change(perspective, 15, "F4 to show the top view")
    finally:
        browser.close()
