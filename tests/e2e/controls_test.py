"""Keys, mouse look, the orthographic views, their zoom and panning, with real input."""

from harness.pictures import (bounds_of, count, is_clear, is_water, is_yellow, overlay_line_box, same_scene,
                              scene_diff, text_pixels, where)
from harness.waiting import wait_until

# The X cursor font's names of the arrow and of the four-headed arrow.
ARROW = "left_ptr"
FOUR_HEADED_ARROW = "fleur"
OCTAVES_LINE = 1
ORADIUS_LINE = 6
# Ten wheel notches out (1500 * 1.2^10, about 9300 units) fit the perspective
# camera's whole frustum, 9000 units deep, into the top view of a 256-pixel window.
WHOLE_FRUSTUM_NOTCHES = 10


def frustum_pixels(image):
    """The wire box's yellow pixels, away from the window's edges (where the
    perspective view shows the box's near face)."""
    return where(image, is_yellow, (2, 2, image.width - 2, image.height - 2))


def frustum_bounds(image, what):
    bounds = bounds_of(frustum_pixels(image))
    assert bounds is not None, "no frustum box in %s" % what
    return bounds


def shows(cursor, name):
    """Whether the cursor (name, opaque pixels) is the named one, and visible."""
    return cursor[0] == name and cursor[1] > 0


def line_text(image, line):
    return set(text_pixels(image, overlay_line_box(line)))


def line_changed(line):
    """A predicate for wait_for_change: the overlay line's text is no longer the same."""
    return lambda old, new: line_text(new, line) != line_text(old, line)


def start(app, view_key=None, notches=0):
    """Focuses the program, puts the pointer over its window (the wheel goes to
    the window under the pointer), picks an orthographic view and zooms it."""
    app.focus()
    app.move_mouse(200, 200)
    if view_key:
        before = app.screenshot()
        app.key(view_key)
        app.wait_for_change(before, 15, "the view of %s" % view_key)
    if notches:
        before = app.wait_until_steady()
        app.wheel(notches)
        app.wait_for_change(before, 15, "the view to zoom")
    return app.wait_until_steady()


def test_fly_and_stop(app):
    # In the top view of the whole frustum the eye is the box's lowest point.
    top = start(app, "F4", WHOLE_FRUSTUM_NOTCHES)
    before = frustum_bounds(top, "the top view")

    # W flies the eye forward, along +z where it looks: up in the top view.
    # The pace follows the frame rate, so the flight is watched, not timed.
    app.key_down("w")
    try:
        wait_until(lambda: frustum_bounds(app.screenshot(), "the top view")[3] <= before[3] - 8,
                   20, "the eye to fly forward while W is held")
    finally:
        app.key_up("w")
    # It keeps its speed after W is released, until Space.
    eye = frustum_bounds(app.screenshot(), "the top view")[3]
    wait_until(lambda: frustum_bounds(app.screenshot(), "the top view")[3] < eye, 20,
               "the eye to go on flying after W is released")
    stopped = app.stop()
    after = frustum_bounds(stopped, "the top view after the flight")
    assert abs((after[0] + after[2]) - (before[0] + before[2])) <= 4, \
        "the eye went off its course: %s, then %s" % (before, after)

    # The same in the perspective view: the picture moves while W is held
    # and holds still again after Space.
    app.key("F1")
    app.wait_for_change(stopped, 15, "the perspective view")
    still = app.wait_until_steady()
    assert len(frustum_pixels(still)) < 20, "the perspective view did not come back"
    app.key_down("w")
    try:
        app.wait_for_change(still, 15, "the view to move while W is held")
    finally:
        app.key_up("w")
    app.wait_for_change(app.screenshot(), 15, "the view to go on moving after W is released")
    stopped = app.stop()
    for _ in range(3):
        app.wait_frames(1)
        assert same_scene(app.screenshot(), stopped), "the view moves again after Space"


def test_octaves_keys(app):
    first = start(app)
    octaves = line_text(first, OCTAVES_LINE)
    assert len(octaves) >= 15, "no \"Octaves\" line"
    app.key("t")
    app.wait_for_change(first, 15, "the terrain to change with T")
    more = app.wait_for_change(first, 15, "the \"Octaves\" line to change with T",
                               differs=line_changed(OCTAVES_LINE))
    # Only that line: the others show the same values (those over the sky
    # are compared; the terrain behind the lower ones has changed).
    for line in range(2, 5):
        assert line_text(more, line) == line_text(first, line), "T changed overlay line %d" % line
    # R takes the step back: the same terrain and the same text as at first.
    app.key("r")
    back = app.wait_for_change(more, 15, "the terrain to change back with R",
                               differs=lambda old, new: same_scene(new, first))
    assert line_text(back, OCTAVES_LINE) == octaves, "R did not bring back the \"Octaves\" line"


def test_orthographic_views(app):
    perspective = start(app)
    assert len(frustum_pixels(perspective)) < 20, \
        "%d pixels of the frustum box inside the perspective view" % len(frustum_pixels(perspective))
    assert count(perspective, is_water) == 0, "water seen edge-on from its own height"

    views = {}
    shown = perspective
    for key, name in (("F4", "top"), ("F2", "front"), ("F3", "side")):
        app.key(key)
        app.wait_for_change(shown, 15, "the %s view" % name)
        image = shown = app.wait_until_steady()
        app.screenshot(name)
        box = frustum_pixels(image)
        assert len(box) >= 100, "%d pixels of the frustum box in the %s view" % (len(box), name)
        assert scene_diff(image, perspective) > image.width * image.height // 4, \
            "the %s view looks like the perspective view" % name
        for other, seen in views.items():
            assert not same_scene(image, seen), "the %s view is the %s view" % (name, other)
        views[name] = image
    # Seen from above, the terrain below height 0 shows through the blue plane.
    water = count(views["top"], is_water)
    assert water >= 500, "only %d pixels of water in the top view" % water
    # The plane at height 0 is seen edge-on from the front and from the side.
    for name in ("front", "side"):
        edge_on = count(views[name], is_water)
        assert edge_on < water // 10, "%d pixels of water in the %s view" % (edge_on, name)


def test_wheel_zooms_orthographic_views(app):
    perspective = start(app)
    # In the perspective view the wheel changes only the "oradius" line.
    app.wheel(1)
    zoomed = app.wait_for_change(perspective, 15, "the \"oradius\" line to change",
                                 differs=line_changed(ORADIUS_LINE))
    assert same_scene(zoomed, perspective), "the wheel changed the perspective view"

    app.key("F4")
    app.wheel(WHOLE_FRUSTUM_NOTCHES - 1)
    app.wait_for_change(perspective, 15, "the top view")
    near_view = app.wait_until_steady()
    near_box = frustum_bounds(near_view, "the top view")
    assert (near_box[0] > 2 and near_box[2] < near_view.width - 3 and near_box[1] > 2 and
            near_box[3] < near_view.height - 3), "the frustum box does not fit: %s" % (near_box,)

    # Two notches away from the user: 1.2 * 1.2 times the radius, the box that much smaller.
    app.wheel(2)
    app.wait_for_change(near_view, 15, "the view to zoom out")
    far_view = app.wait_until_steady()
    far_box = frustum_bounds(far_view, "the zoomed-out top view")
    for axis, name in ((0, "width"), (1, "height")):
        ratio = (near_box[axis + 2] - near_box[axis]) / max(1, far_box[axis + 2] - far_box[axis])
        assert abs(ratio - 1.44) < 0.08, "zooming out shrank the box's %s %.2f times: %s, then %s" % (
            name, ratio, near_box, far_box)

    # And two notches towards the user bring back the same picture.
    app.wheel(-2)
    app.wait_for_change(far_view, 15, "the view to zoom in")
    back = app.wait_until_steady()
    back_box = frustum_bounds(back, "the zoomed-in top view")
    assert all(abs(a - b) <= 1 for a, b in zip(back_box, near_box)), \
        "zooming in gave %s, not %s" % (back_box, near_box)


def test_drag_pans(app):
    perspective = start(app)
    # A drag in the perspective view moves nothing. The wheel step that
    # follows it is handled after it: once its "oradius" line shows, the
    # drag has been handled too.
    app.drag((60, 200), (120, 150))
    app.move_mouse(200, 200)
    app.wheel(1)
    after = app.wait_for_change(perspective, 15, "the \"oradius\" line to change",
                                differs=line_changed(ORADIUS_LINE))
    assert same_scene(after, perspective), "a drag moved the perspective view"

    app.key("F4")
    app.wheel(WHOLE_FRUSTUM_NOTCHES - 1)
    app.wait_for_change(perspective, 15, "the top view")
    top = app.wait_until_steady()
    before = frustum_bounds(top, "the top view")

    # The picture follows the pointer: the box moves by the drag's offset.
    # The four-headed arrow shows while the button is down.
    app.move_mouse(60, 200)
    app.mouse_down()
    try:
        wait_until(lambda: shows(app.cursor(), FOUR_HEADED_ARROW), 10, "the four-headed arrow")
        for step in range(1, 9):
            app.move_mouse(60 + 5 * step, 200 + 30 * step // 8)
    finally:
        app.mouse_up()
    wait_until(lambda: shows(app.cursor(), ARROW), 10, "the arrow after the drag")
    app.wait_for_change(top, 15, "the view to pan")
    panned = app.wait_until_steady()
    after = frustum_bounds(panned, "the panned top view")
    moved = [a - b for a, b in zip(after, before)]
    assert all(abs(m - e) <= 2 for m, e in zip(moved, (40, 30, 40, 30))), \
        "dragging by (40, 30) moved the box by %s: %s, then %s" % (moved, before, after)

    # The drag has ended: moving the pointer without the button pans no more.
    app.move_mouse(20, 20)
    app.wheel(1)
    zoomed = app.wait_for_change(panned, 15, "the view to zoom out")
    app.wheel(-1)
    app.wait_for_change(zoomed, 15, "the view to zoom in", differs=lambda old, new: same_scene(new, panned))


def lean(image):
    """How far right of the eye the frustum's middle lies, in the top view of
    the whole frustum: the mean column of the box's pixels in the rows just
    above the eye, less the eye's column. Zero when the camera looks along +z."""
    box = frustum_pixels(image)
    assert box, "no frustum box in the top view"
    eye_x, eye_y = max(box, key=lambda p: p[1])
    band = [x for x, y in box if eye_y - 50 <= y <= eye_y - 10]
    assert len(band) >= 20, "the frustum's sides are not above the eye"
    return sum(band) / len(band) - eye_x


def sky(image):
    return count(image, is_clear, (0, 120, image.width, image.height))


def test_mouse_look(app):
    top = start(app, "F4", WHOLE_FRUSTUM_NOTCHES)
    assert abs(lean(top)) < 2, "the camera does not look along +z at first: lean %.1f" % lean(top)

    # F1 takes the pointer to the window's centre and hides the cursor.
    assert shows(app.cursor(), ARROW), "the cursor over the window is %s, not the arrow" % (app.cursor(),)
    app.key("F1")
    centre = app.window_centre()
    wait_until(lambda: app.pointer() == centre, 10, "the pointer at the window's centre %s" % (centre,))
    ahead = app.wait_until_steady()
    assert app.cursor()[1] == 0, "the cursor shows in look mode: %s" % (app.cursor(),)

    # Right turns the view right (16 degrees); the pointer goes back to the centre.
    app.move_mouse_by(80, 0)
    app.wait_for_change(ahead, 15, "the view to turn")
    wait_until(lambda: app.pointer() == centre, 10, "the pointer back at the centre")
    turned = app.wait_until_steady()
    app.key("F4")
    app.wait_for_change(turned, 15, "the top view")
    turned_top = app.wait_until_steady()
    turned_lean = lean(turned_top)
    assert turned_lean > 5, "moving the mouse right did not turn the camera right: lean %.1f" % turned_lean

    # Up tilts the view up: the horizon sinks and more sky shows.
    app.key("F1")
    app.wait_for_change(turned_top, 15, "the perspective view")
    wait_until(lambda: app.pointer() == centre, 10, "the pointer at the window's centre")
    level = app.wait_until_steady()
    app.move_mouse_by(0, -60)
    app.wait_for_change(level, 15, "the view to tilt")
    wait_until(lambda: app.pointer() == centre, 10, "the pointer back at the centre")
    raised = app.wait_until_steady()
    assert sky(raised) > sky(level) + 2000, "looking up showed %d pixels of sky, %d before" % (
        sky(raised), sky(level))

    # F2 ends look mode and lets the pointer go: it stays where it is moved.
    app.key("F2")
    front = app.wait_for_change(raised, 15, "the front view")
    app.move_mouse(60, 180)
    where_moved = app.pointer()
    app.wheel(1)  # handled after the move: once it shows, so has the move
    app.wait_for_change(front, 15, "the front view to zoom out")
    assert app.pointer() == where_moved != centre, \
        "the pointer went from %s to %s after F2" % (where_moved, app.pointer())
    assert shows(app.cursor(), ARROW), "the cursor after look mode is %s, not the arrow" % (app.cursor(),)

    app.key("Escape")
    app.check_clean_exit()
