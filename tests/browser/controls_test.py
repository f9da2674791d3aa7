"""Every control of the viewer in the browser, through real input events:
what each key changes on the overlay, the held keys, the views, the wheel,
the drag, mouse look under pointer lock with the focus, and Escape; and on an
emulated phone the touch controls, a finger and a pinch."""

import pytest

from browser import Browser, open_page
from harness.pictures import is_yellow, same_scene, where
from harness.waiting import wait_until
from overlay import START, values
# Each key, the line it changes and the value it shows afterwards, in turn.
STEPS = (("t", "Octaves", "3"), ("r", "Octaves", "2"), ("g", "Amp", "240"), ("f", "Amp", "230"),
         ("b", "Freq", "0.0012"), ("v", "Freq", "0.0011"), ("u", "h", "0.6"), ("y", "h", "0.5"),
         ("0", "unit", "160"), ("9", "unit", "80"), ("2", "fov", "66"), ("1", "fov", "65"))


def wait_for_values(page, expected, what):
    return wait_until(lambda: values(page.screenshot(), page.scale) == expected, 15, what, interval=0.1)


def box(image):
    """The frustum's wire box, away from the picture's edges."""
    found = where(image, is_yellow, (2, 2, image.width - 2, image.height - 2))
    assert found, "no frustum box"
    return found


def eye(image):
    """The eye in the top view: the box's lowest point."""
    return max(box(image), key=lambda p: p[1])


def lean(image):
    """How far right of the eye the middle of the frustum lies in the top view."""
    x, y = eye(image)
    band = [px for px, py in box(image) if y - 50 <= py <= y - 10]
    return sum(band) / len(band) - x


def top_view_of_the_frustum(page, notches=9):
    """F4, and the wheel out until the whole frustum shows."""
    before = page.screenshot()
    page.key("F4")
    page.wheel(notches)
    page.wait_for_change(before, 15, "the top view")
    return page.wait_until_steady()


def test_each_key_steps_its_value(page):
    expected = dict(START)
    assert values(page.screenshot()) == expected
    for key, label, value in STEPS:
        page.key(key)
        expected[label] = value
        wait_for_values(page, expected, "%s to make %s %s" % (key, label, value))


def test_a_held_key_steps_once_and_ends_with_the_focus(page):
    def send(kind, repeat=False):
        page.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {
            "type": kind, "key": "t", "code": "KeyT", "windowsVirtualKeyCode": 84, "autoRepeat": repeat})
    send("keyDown")
    for _ in range(3):
        send("keyDown", repeat=True)
    wait_for_values(page, dict(START, Octaves="3"), "T held to step the octaves once")
    # T goes up while the focus is elsewhere, so the canvas never hears it;
    # pressed again with the focus back, it steps again.
    page.click_outside()
    send("keyUp")
    page.click(200, 200)
    send("keyDown")
    wait_for_values(page, dict(START, Octaves="4"), "T pressed again to step the octaves")


def test_held_keys_drive_the_mover(page):
    def fly(keys, arrived, what):
        """Holds keys until arrived(eye), then Space until the picture holds still."""
        for key in keys:
            page.key_down(key)
        try:
            wait_until(lambda: arrived(eye(page.screenshot())), 20, what)
        finally:
            for key in keys:
                page.key_up(key)
        page.key_down("space")
        try:
            return eye(page.wait_until_steady())
        finally:
            page.key_up("space")
    x, y = eye(top_view_of_the_frustum(page))
    x, y = fly("w", lambda e: e[1] <= y - 8, "W to fly the eye forward, up the top view")
    x, y = fly("s", lambda e: e[1] >= y + 8, "S to fly the eye back")
    # D and A turn the course, not the camera: the eye drifts right of the
    # camera's line with D held, left with A.
    for key, sign in (("d", 1), ("a", -1)):
        start = x
        x, y = fly(("w", key), lambda e: e[1] <= y - 40, "the eye to fly with W and %s" % key.upper())
        assert sign * (x - start) >= 2, "%s did not turn the course: the eye moved %d across" % (key, x - start)
        assert abs(lean(page.screenshot())) < 2, "%s turned the camera" % key


def test_views_wheel_and_drag(page):
    perspective = page.wait_until_steady()
    # The wheel zooms the orthographic camera, also while it is not shown.
    page.wheel(1)
    wait_for_values(page, dict(START, oradius="1800"), "a notch away to zoom out")
    page.wheel(-1)
    wait_for_values(page, START, "a notch towards the user to zoom back in")
    assert same_scene(page.screenshot(), perspective), "the wheel changed the perspective view"

    views = [perspective]
    for key in ("F4", "F2", "F3"):
        page.key(key)
        page.wait_for_change(views[-1], 15, "the view of %s" % key)
        image = page.wait_until_steady()
        assert len(box(image)) >= 100 and not any(same_scene(image, seen) for seen in views), key
        views.append(image)

    near = top_view_of_the_frustum(page)
    page.wheel(2)
    far = page.wait_for_change(near, 15, "the view to zoom out") and page.wait_until_steady()
    width = lambda image: max(x for x, _ in box(image)) - min(x for x, _ in box(image))  # noqa: E731
    assert abs(width(near) / width(far) - 1.44) < 0.08, "two notches shrank the box %.2f times" % (
        width(near) / width(far))

    # A drag pans by its offset, with the four-headed arrow while the button is down.
    before = page.wait_until_steady()
    assert page.drag((60, 200), (100, 230), during=page.cursor) == "move"
    assert page.cursor() == "default"
    after = page.wait_for_change(before, 15, "the view to pan") and page.wait_until_steady()
    moved = (eye(after)[0] - eye(before)[0], eye(after)[1] - eye(before)[1])
    assert abs(moved[0] - 40) <= 2 and abs(moved[1] - 30) <= 2, "a drag by (40, 30) moved the view %s" % (moved,)


def test_mouse_look_and_escape(page):
    ahead = top_view_of_the_frustum(page)
    assert abs(lean(ahead)) < 2
    page.click(128, 128)  # the pointer over the canvas, as a person's is
    # F1 takes the pointer: locked to the canvas, the cursor hidden. Moving
    # right turns the camera right; as far left turns it back.
    for dx, turned in ((80, lambda image: lean(image) > 5), (-80, lambda image: same_scene(image, ahead))):
        page.key("F1")
        wait_until(page.pointer_locked, 10, "the pointer locked to the canvas")
        assert page.cursor() == "none"
        looking = page.wait_until_steady()
        page.look(dx, 0)
        page.wait_for_change(looking, 15, "the view to turn")
        page.key("F4")
        wait_until(lambda: not page.pointer_locked(), 10, "F4 to let the pointer go")
        assert turned(page.wait_until_steady()), "moving the mouse by %d turned the camera wrong" % dx

    # Look mode gives the pointer up with the focus (Tab takes it from the
    # canvas) and takes it back with it.
    page.key("F1")
    wait_until(page.pointer_locked, 10, "the pointer locked to the canvas")
    page.key("Tab")
    wait_until(lambda: not page.pointer_locked(), 10, "the focus going to free the pointer")
    assert page.cursor() == "default"
    page.click(128, 128)
    wait_until(page.pointer_locked, 10, "the focus coming back to lock the pointer again")
    looking = page.wait_until_steady()
    page.look(0, -40)
    page.wait_for_change(looking, 15, "the view to tilt")

    # Escape under the lock frees the pointer and the viewer stays; the next one ends it.
    page.key("escape")
    wait_until(lambda: not page.pointer_locked(), 10, "Escape to free the pointer")
    page.wait_frames(5)
    page.check_alive()
    assert page.cursor() == "default"
    page.key("escape")
    wait_until(lambda: page.notice() == "Vellumor has ended.Start again", 10, "the page to say the viewer ended")
    # And it starts again from the beginning.
    page.driver.find_element("id", "restart").click()
    page.ready()
    assert values(page.wait_until_steady()) == START


def touch(page, kind, **fingers):
    """One touch event listing every finger still down ("f1" = point in CSS pixels of the page)."""
    page.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": [
        {"x": x, "y": y, "id": int(name[1:])} for name, (x, y) in fingers.items()]})


def at(page, selector, x=None, y=None):
    """An element's centre, or the point x, y from its corner."""
    left, top, width, height = page.script("const r = document.querySelector(arguments[0])"
                                           ".getBoundingClientRect(); return [r.left, r.top, r.width, r.height];",
                                           selector)
    return (left + width / 2, top + height / 2) if x is None else (left + x, top + y)


def tap(page, key):
    touch(page, "touchStart", f1=at(page, '[data-key="%s"]' % key))
    touch(page, "touchEnd")


def stroke(page, start, end, steps=6):
    for i in range(steps + 1):
        point = [a + (b - a) * i / steps for a, b in zip(start, end)]
        touch(page, "touchMove" if i else "touchStart", f1=at(page, "#vellumor", *point))
    touch(page, "touchEnd")


def pinch(page, apart, to):
    touch(page, "touchStart", f1=at(page, "#vellumor", 20, 200), f2=at(page, "#vellumor", 20 + apart, 200))
    touch(page, "touchMove", f1=at(page, "#vellumor", 20, 200), f2=at(page, "#vellumor", 20 + to, 200))
    touch(page, "touchEnd")


@pytest.fixture
def phone(site):
    browser = Browser()
    try:
        browser.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                       {"width": 390, "height": 844, "deviceScaleFactor": 3, "mobile": True})
        browser.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
        page = open_page(browser, site.url)
        page.scale = 3
        assert page.canvas().size == {"width": 358, "height": 358}, "the picture does not fill the width"
        yield page
        # Nothing a finger did scrolled or zoomed the page.
        assert page.script("return [scrollX, scrollY, visualViewport.scale];") == [0, 0, 1]
        assert not browser.console_errors()
    finally:
        browser.close()


def test_touch_controls_pan_pinch_and_look(phone):
    tap(phone, "T")
    wait_for_values(phone, dict(START, Octaves="3"), "a tap on T to step the octaves")
    # A notch for each factor of 1.2 in the fingers' distance: 2.5 of them
    # out, then 2.75 in with the half notch left over.
    for to, radius in ((80 / 1.2 ** 2.5, "2160"), (80 * 1.2 ** 2.75, "1500")):
        pinch(phone, 80, to)
        wait_for_values(phone, dict(START, Octaves="3", oradius=radius), "a pinch to make oradius %s" % radius)
    perspective = phone.wait_until_steady()
    tap(phone, "F4")
    before = phone.wait_for_change(perspective, 15, "the top view") and phone.wait_until_steady()
    stroke(phone, (100, 200), (130, 220))  # pans by the stroke, 3 device pixels a CSS pixel
    after = phone.wait_for_change(before, 15, "the view to pan") and phone.wait_until_steady()
    moved = (eye(after)[0] - eye(before)[0], eye(after)[1] - eye(before)[1])
    assert abs(moved[0] - 90) <= 3 and abs(moved[1] - 60) <= 3, "a stroke of (30, 20) moved %s" % (moved,)
    # Held W pushes the mover until its finger lifts or slides off.
    for slide_off in (False, True):
        y = eye(phone.wait_until_steady())[1]
        touch(phone, "touchStart", f1=at(phone, '[data-key="W"]'))
        wait_until(lambda: eye(phone.screenshot())[1] <= y - 24, 20, "W held to fly the eye up the top view")
        if slide_off:
            touch(phone, "touchMove", f1=at(phone, "h1"))
        touch(phone, "touchEnd")
        touch(phone, "touchStart", f1=at(phone, '[data-key="Space"]'))
        stopped = phone.wait_until_steady()
        touch(phone, "touchEnd")
        phone.wait_frames(20)
        assert same_scene(phone.screenshot(), stopped, phone.scale), "W pushed on after its finger went, slid off: %s" % slide_off
    # After F1 a stroke to the right turns the view right, seen from above.
    tap(phone, "F1")
    stroke(phone, (100, 200), (140, 200))
    tap(phone, "F4")
    pinch(phone, 300, 300 / 1.2 ** 9.5)  # out until the whole frustum shows
    assert lean(phone.wait_until_steady()) > 5, "the view did not turn right"
