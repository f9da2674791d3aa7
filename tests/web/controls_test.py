"""Every control of the viewer in the browser, through real input events:
what each key changes on the overlay, the views, the wheel, the drag, mouse
look under pointer lock, focus, and Escape."""

from harness.pictures import bounds_of, is_clear, is_yellow, same_scene, where
from harness.waiting import wait_until
from overlay import shown

START = {"Octaves": "2", "Amp": "230", "Freq": "0.0011", "h": "0.5", "radius": "10", "oradius": "1500",
         "fov": "65", "unit": "80"}
# Each key, the line it changes and the value it shows afterwards, in turn.
STEPS = (("t", "Octaves", "3"), ("r", "Octaves", "2"), ("g", "Amp", "240"), ("f", "Amp", "230"),
         ("b", "Freq", "0.0012"), ("v", "Freq", "0.0011"), ("u", "h", "0.6"), ("y", "h", "0.5"),
         ("0", "unit", "160"), ("9", "unit", "80"), ("2", "fov", "66"), ("1", "fov", "65"))
# Nine notches out fit the perspective camera's whole frustum into the top view.
WHOLE_FRUSTUM_NOTCHES = 9


def values(image):
    found = shown(image)
    del found["FPS"]
    return found


def wait_for_values(page, expected, what):
    return wait_until(lambda: values(page.screenshot()) == expected, 15, what, interval=0.1)


def frustum(image, what):
    """(left, top, right, bottom) of the frustum's wire box, away from the edges."""
    box = bounds_of(where(image, is_yellow, (2, 2, image.width - 2, image.height - 2)))
    assert box is not None, "no frustum box in %s" % what
    return box


def lean(image):
    """How far right of the eye the middle of the frustum lies in the top view."""
    box = where(image, is_yellow, (2, 2, image.width - 2, image.height - 2))
    eye_x, eye_y = max(box, key=lambda p: p[1])
    band = [x for x, y in box if eye_y - 50 <= y <= eye_y - 10]
    return sum(band) / len(band) - eye_x


def top_view_of_the_frustum(page):
    before = page.screenshot()
    page.key("F4")
    page.wheel(WHOLE_FRUSTUM_NOTCHES)
    page.wait_for_change(before, 15, "the top view")
    return page.wait_until_steady()


def cursor(page):
    return page.driver.execute_script("return getComputedStyle(document.getElementById('vellumor')).cursor;")


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
    # T goes up while the page has the focus elsewhere: the canvas never
    # hears it. Pressed again with the focus back, it steps again.
    page.click_outside()
    send("keyUp")
    page.click(200, 200)
    send("keyDown")
    wait_for_values(page, dict(START, Octaves="4"), "T pressed again to step the octaves")


def eye(image):
    """The eye in the top view: the frustum box's lowest point."""
    box = where(image, is_yellow, (2, 2, image.width - 2, image.height - 2))
    assert box, "no frustum box in the top view"
    return max(box, key=lambda p: p[1])


def fly(page, keys, arrived, what):
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


def test_held_keys_drive_the_mover(page):
    x, y = eye(top_view_of_the_frustum(page))
    # W pushes the eye forward (up the top view) and S back; Space stops it.
    x, y = fly(page, "w", lambda e: e[1] <= y - 8, "the eye to fly forward while W is held")
    x, y = fly(page, "s", lambda e: e[1] >= y + 8, "the eye to fly back while S is held")
    # D and A turn the course, not the camera: flying with D held drifts
    # right of the camera's line, with A held left of it.
    for key, sign in (("d", 1), ("a", -1)):
        start = x
        x, y = fly(page, ("w", key), lambda e: e[1] <= y - 40, "the eye to fly with W and %s" % key.upper())
        assert sign * (x - start) >= 2, "%s did not turn the course: the eye moved %d across" % (key, x - start)
        assert abs(lean(page.screenshot())) < 2, "%s turned the camera" % key


def test_views_wheel_and_drag(page):
    perspective = page.wait_until_steady()
    # The wheel zooms the orthographic camera even while it is not shown.
    page.wheel(1)
    wait_for_values(page, dict(START, oradius="1800"), "a notch away to zoom out")
    page.wheel(-1)
    wait_for_values(page, START, "a notch towards the user to zoom back in")
    assert same_scene(page.screenshot(), perspective), "the wheel changed the perspective view"

    views = {"perspective": perspective}
    for key, name in (("F4", "top"), ("F2", "front"), ("F3", "side")):
        page.key(key)
        page.wait_for_change(views[list(views)[-1]], 15, "the %s view" % name)
        image = page.wait_until_steady()
        assert len(where(image, is_yellow)) >= 100, "no frustum box in the %s view" % name
        for other, seen in views.items():
            assert not same_scene(image, seen), "the %s view is the %s view" % (name, other)
        views[name] = image

    near = top_view_of_the_frustum(page)
    near_box = frustum(near, "the top view")
    page.wheel(2)
    far_box = frustum(page.wait_for_change(near, 15, "the view to zoom out") and page.wait_until_steady(),
                      "the zoomed-out top view")
    ratio = (near_box[2] - near_box[0]) / (far_box[2] - far_box[0])
    assert abs(ratio - 1.44) < 0.08, "two notches shrank the box %.2f times" % ratio

    # A drag pans by its offset, with the four-headed arrow while the button is down.
    before = page.wait_until_steady()
    box = frustum(before, "the top view")
    seen_during = page.drag((60, 200), (100, 230), during=lambda: cursor(page))
    assert seen_during == "move", "the cursor while dragging was %r" % seen_during
    assert cursor(page) == "default"
    after = frustum(page.wait_for_change(before, 15, "the view to pan") and page.wait_until_steady(), "the top view")
    moved = [a - b for a, b in zip(after, box)]
    assert all(abs(m - e) <= 2 for m, e in zip(moved, (40, 30, 40, 30))), "a drag by (40, 30) moved the box %s" % moved


def test_mouse_look_and_escape(page):
    ahead = top_view_of_the_frustum(page)
    assert abs(lean(ahead)) < 2
    page.move_mouse(128, 128)  # the pointer over the canvas, as a person's is
    # F1 takes the pointer: locked to the canvas, the cursor hidden. Moving
    # right turns the camera right; as far left turns it back.
    for dx, check in ((80, lambda image: lean(image) > 5), (-80, lambda image: same_scene(image, ahead))):
        page.key("F1")
        wait_until(page.pointer_locked, 10, "the pointer locked to the canvas")
        assert cursor(page) == "none"
        looking = page.wait_until_steady()
        page.look(dx, 0)
        page.wait_for_change(looking, 15, "the view to turn")
        page.key("F4")
        wait_until(lambda: not page.pointer_locked(), 10, "F4 to let the pointer go")
        turned = page.wait_until_steady()
        assert check(turned), "moving the mouse by %d turned the camera wrong: lean %.1f" % (dx, lean(turned))

    # Look mode lets the pointer go with the focus (Tab takes it from the
    # canvas) and takes it back with it.
    page.key("F1")
    wait_until(page.pointer_locked, 10, "the pointer locked to the canvas")
    page.key("Tab")
    wait_until(lambda: not page.pointer_locked(), 10, "the focus going to free the pointer")
    assert cursor(page) == "default"
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
    assert cursor(page) == "default"
    page.key("escape")
    wait_until(lambda: page.notice() == "Vellumor has ended.Start again", 10, "the page to say the viewer ended")
    # And it starts again from the beginning.
    page.driver.find_element("id", "restart").click()
    page.ready()
    assert values(page.wait_until_steady()) == START
