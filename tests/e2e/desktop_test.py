"""The program among other applications: framed by a window manager,
switched away from and back to, minimised, closed and resized by the
window manager, and turned by many quick small mouse moves."""

import os
import subprocess

import pytest

from harness.app import App
from harness.pictures import CLEAR, check_scales, count, is_clear, near, same_scene
from harness.xclient import XClient
from harness.program import environment
from harness.waiting import wait_until

BARE_AND_OPENBOX = pytest.mark.parametrize("desktop", ["bare", "openbox"], indirect=True)
OPENBOX = pytest.mark.parametrize("desktop", ["openbox"], indirect=True)

ARROW = "left_ptr"
FOUR_HEADED_ARROW = "fleur"


def outer_rect(app):
    """(x, y, width, height) of the window with the window manager's frame."""
    extents = app.client.frame_extents(app.window)
    if extents is None:
        return None
    left, right, top, bottom = extents
    x, y, width, height = app.geometry()
    return (x - left, y - top, width + left + right, height + top + bottom)


def look_centre(app):
    """Where look mode keeps the pointer: the middle of the whole window, frame
    and title bar included (for the Windows build, Windows' own frame)."""
    return app.window_centre()


def enter_look_mode(app):
    """Focuses the program, gives it F1 and waits for the pointer at the
    window's centre; returns the centre and the steady picture."""
    app.focus()
    app.move_mouse(128, 128)
    app.key("F1")
    centre = look_centre(app)
    wait_until(lambda: app.pointer() == centre, 10, "the pointer at the window's centre %s" % (centre,))
    wait_until(lambda: app.cursor()[1] == 0, 10, "the cursor to hide")
    return centre, app.wait_until_steady()


def another_application(app):
    """A window of another application beside the program's, with the focus,
    once the program has drawn a few frames since: Wine reads the display's
    events between frames and asks where the focus is then, so a focus that
    has already come back would never have gone for it."""
    other = app.client.create_window(600, 420, 200, 150)
    app.client.give_focus(other)
    app.wait_frames(3)
    return other


def still(app, reference, frames=8):
    """Whether the picture stays as it was over several more frames."""
    app.wait_frames(frames)
    return same_scene(app.screenshot(), reference)


def turn_and_turn_back(app, centre, ahead):
    """In look mode, with the pointer at centre: 40 pixels right turn the view,
    40 left turn it exactly back. Measured from any other centre, moves come
    out larger than they are, and the view spins."""
    app.move_mouse_by(40, 0)
    app.wait_for_change(ahead, 15, "the view to turn")
    wait_until(lambda: app.pointer() == centre, 10, "the pointer back at the centre %s" % (centre,))
    app.move_mouse_by(-40, 0)
    wait_until(lambda: app.pointer() == centre, 10, "the pointer back at the centre %s" % (centre,))
    assert same_scene(app.wait_until_steady(), ahead), "40 pixels right and 40 left did not turn the view back"


@OPENBOX
def test_window_frame_at_100_100(app):
    if app.launch.windows:
        # Wine keeps the client area where Windows puts it in the window asked
        # for, (100, 100), 256 by 256, and the window manager draws a frame of
        # its own around it, not Windows' frame.
        left, top, right, bottom = app.frame
        assert left == right == bottom > 0 and top > bottom, "frame %s: not the window asked for" % (app.frame,)
        wait_until(lambda: app.client.frame_extents(app.window) is not None, 20, "the window manager's frame")
    else:
        wait_until(lambda: outer_rect(app) == (100, 100, 256, 256), 20,
                   "the framed window at (100, 100), 256 by 256 (now %s)" % (outer_rect(app),))
    # The client area inside the frame is drawn, not just the frame.
    image = app.screenshot()
    width, height = app.geometry()[2:]
    assert image.size == (width, height) and width < 256 and height < 256
    assert near(image.getpixel((width - 3, 3)), CLEAR, 2), "no sky in the client area's top-right corner"


def test_on_a_scaled_x11_desktop_the_window_and_overlay_are_larger(launch, desktop, workdir):
    if launch.windows:
        pytest.skip("Windows reads its scale from its own settings (windows_test.py)")

    def picture(scale):
        client.set_resources("Xft.dpi:\t%d\n" % (96 * scale) if scale != 1 else "")
        app = App(launch, desktop, workdir)
        try:
            return app.ready().wait_until_steady()
        finally:
            app.close()
    client = XClient(desktop)
    try:
        check_scales((1, 2), picture)
    finally:
        client.close()


@BARE_AND_OPENBOX
def test_switching_away_in_look_mode_frees_the_pointer(app):
    centre, ahead = enter_look_mode(app)
    another_application(app)
    # The cursor shows again where it is, over the window, and may leave it.
    wait_until(lambda: app.cursor()[0] == ARROW and app.cursor()[1] > 0, 10,
               "the arrow to show (now %s)" % (app.cursor(),))
    app.client.move_pointer(700, 500)
    # Moves no longer turn the view, not even across the window, which no
    # longer holds the capture: the pointer goes where it is moved.
    app.move_mouse_by(-40, 0)
    for x in (60, 200):
        app.move_mouse(x, 100)
        app.wait_frames(3)
        assert app.pointer() == (app.geometry()[0] + x, app.geometry()[1] + 100), \
            "the pointer was put back while another application had the focus"
    assert still(app, ahead), "the view turned while another application had the focus"

    # Back in the program, look mode goes on: the pointer is taken again.
    if app.launch.windows:
        # Wine knows where the pointer is only while it is over Wine's own
        # windows, and does not move it to where it thinks it already is:
        # the pointer comes back over the window first, as when a user
        # clicks it. Windows always knows where the pointer is.
        app.move_mouse(20, 20)
    app.client.give_focus(app.window)
    wait_until(lambda: app.pointer() == centre, 10, "the pointer back at the window's centre")
    wait_until(lambda: app.cursor()[1] == 0, 10, "the cursor to hide again")
    app.move_mouse_by(40, 0)
    app.wait_for_change(ahead, 15, "the view to turn again")


@BARE_AND_OPENBOX
def test_switching_away_during_a_drag_stops_the_panning(app):
    app.focus()
    app.move_mouse(128, 128)
    before = app.screenshot()
    app.key("F4")
    app.wait_for_change(before, 15, "the top view")
    top = app.wait_until_steady()
    app.mouse_down()
    try:
        wait_until(lambda: app.cursor()[0] == FOUR_HEADED_ARROW, 10, "the four-headed arrow")
        app.move_mouse(150, 128)
        app.wait_for_change(top, 15, "the view to pan")
        panned = app.wait_until_steady()
        another_application(app)
        wait_until(lambda: app.cursor()[0] != FOUR_HEADED_ARROW, 10, "the four-headed arrow to go")
        app.move_mouse(200, 160)  # the button is still down
        assert still(app, panned), "the view went on panning after the focus went"
        app.client.move_pointer(700, 500)  # the pointer is no longer confined to the window
    finally:
        app.mouse_up()


@BARE_AND_OPENBOX
def test_quick_small_moves_turn_the_view_as_far_as_one_move(app):
    centre, ahead = enter_look_mode(app)
    # Twenty moves of 3 pixels, queued before the program reads any of them...
    app.move_mouse_in_steps([(3, 0)] * 20)
    app.wait_for_change(ahead, 15, "the view to turn")
    wait_until(lambda: app.pointer() == centre, 10, "the pointer back at the centre")
    app.wait_until_steady()
    # ...and one move of 60 the other way bring the view exactly back.
    app.move_mouse_by(-60, 0)
    wait_until(lambda: app.pointer() == centre, 10, "the pointer back at the centre")
    back = app.wait_until_steady()
    assert same_scene(back, ahead), "twenty moves of 3 pixels did not turn as far as one of 60"


@BARE_AND_OPENBOX
def test_a_key_held_through_a_focus_change_acts_only_when_pressed_again(app):
    app.focus()
    app.move_mouse(128, 128)
    resting = app.wait_until_steady()
    app.key_down("w")
    try:
        app.wait_for_change(resting, 20, "the mover to fly while W is held")
        another_application(app)
        app.client.give_focus(app.window)
        # W is still down, but its action ended with the focus: once Space has
        # stopped the mover, it stays where it is.
        stopped = app.stop()
        assert still(app, stopped, frames=15), "W acted again without being pressed again"
    finally:
        app.key_up("w")
    app.key_down("w")
    try:
        app.wait_for_change(stopped, 20, "W to act when pressed again")
    finally:
        app.key_up("w")


@OPENBOX
def test_minimise_and_restore(app):
    app.focus()
    before = app.wait_until_steady()
    app.client.iconify(app.window)
    wait_until(lambda: not app.client.is_mapped(app.window), 10, "the window to be minimised")
    app.check_running()
    app.client.activate(app.window)
    wait_until(lambda: app.client.is_mapped(app.window), 10, "the window to be restored")
    app.wait_frames(3)
    assert same_scene(app.wait_until_steady(), before), "the picture changed across minimising"


def minimise_or_restore(app, command):
    """"minimize" or "restore", as the title bar and task bar do. Wine makes no
    Windows minimise of an iconify: a helper sends the system command."""
    if not app.launch.windows:
        (app.client.iconify if command == "minimize" else app.client.activate)(app.window)
        return
    build = os.path.dirname(os.path.dirname(app.launch.program))
    helper = os.path.join(build, "tests", "platform", "win32", "send_system_command.exe")
    subprocess.run([*app.launch.prefix, helper, "vellumor", command], check=True, capture_output=True,
                   env=environment(app.launch, app.client.display.get_display_name()))


@OPENBOX
def test_look_mode_goes_on_across_minimise_and_restore(app):
    centre, ahead = enter_look_mode(app)
    where = app.geometry()
    minimise_or_restore(app, "minimize")
    wait_until(lambda: not app.client.is_mapped(app.window), 10, "the window to be minimised")
    assert app.pointer() == centre, "minimising threw the pointer to %s" % (app.pointer(),)
    # Windows activates a minimised window before it restores it.
    minimise_or_restore(app, "restore")
    wait_until(lambda: app.client.is_mapped(app.window) and app.geometry() == where, 10,
               "the window to be restored to %s" % (where,))
    # Look mode grabs at the restored window's centre, not the minimised one's
    # far off screen. (SDL under openbox may report one stale move just after
    # the restore: the picture to come back to is the one after it.)
    restored = app.wait_until_steady()
    wait_until(lambda: app.pointer() == centre, 10, "the pointer at the window's centre %s" % (centre,))
    turn_and_turn_back(app, centre, restored)
    # (Wine shows the hidden cursor only once the pointer moves.)
    assert app.cursor()[1] == 0, "the cursor shows in look mode: %s" % (app.cursor(),)


@OPENBOX
def test_look_mode_follows_the_window_when_it_moves(app):
    centre, ahead = enter_look_mode(app)
    left, top = app.outer_rect()[:2]
    app.client.move_by_window_manager(app.window, left + 90, top + 60)
    wait_until(lambda: app.window_centre() != centre, 10, "the window to move")
    moved = app.window_centre()
    # Confined to the window where it is now, and put back at its centre.
    wait_until(lambda: app.pointer() == moved, 10, "the pointer at the moved window's centre %s" % (moved,))
    turn_and_turn_back(app, moved, ahead)


@OPENBOX
def test_window_manager_close_ends_cleanly(app):
    app.client.close_by_window_manager(app.window)
    app.check_clean_exit()


@OPENBOX
def test_window_manager_resize_fills_the_client_area(app):
    app.client.resize_by_window_manager(app.window, 400, 300)

    def filled():
        image = app.screenshot()
        if image.size != (400, 300):
            return None
        # Nothing of the new area is left undrawn (black): sky to the top-right corner.
        if count(image, lambda rgb: rgb == (0, 0, 0)) or not is_clear(image.getpixel((396, 3))):
            return None
        return image
    wait_until(filled, 20, "a frame filling the resized client area", interval=0.2)
