"""The program on Wayland: weston runs in a window of the X server, and the
program, given weston's socket and no X display, draws through it. Input
goes to weston through the X server, as a user's would to a nested
compositor."""

import pytest

from harness.desktops import Weston
from harness.pictures import CLEAR, bounds_of, is_yellow, same_scene, text_pixels, where
from harness.program import Program
from harness.waiting import wait_until
from harness.xclient import XClient

OVERLAY = (0, 0, 120, 115)


@pytest.fixture
def wayland(x_server, launch, workdir):
    """(X client, program) with the program running on weston."""
    compositor = Weston(x_server.display)
    client = program = None
    try:
        client = XClient(x_server.display)
        # The Wayland client libraries that Mesa and SDL load and unload again
        # leave allocations that LeakSanitizer can no longer name, so there is
        # nothing to suppress them by; the program's own leaks are checked on X.
        program = Program(launch.with_env(**compositor.environment(),
                                          ASAN_OPTIONS="detect_leaks=0:halt_on_error=1"), None, workdir)
        yield client, program
    finally:
        if program is not None:
            program.close()
        if client is not None:
            client.close()
        compositor.close()


def client_area(client, program, timeout=60):
    """(left, top, right, bottom) of the program's client area on the screen:
    the clear colour of its sky, full width at the top, with the frustum's
    yellow near face along the edges."""
    def found():
        program.check_running()
        image = client.screenshot(client.root.id)
        box = bounds_of(where(image, lambda rgb: rgb == CLEAR or is_yellow(rgb)))
        return box if box and box[2] - box[0] + 1 == 256 else None
    left, top, right, bottom = wait_until(found, timeout, "the program's window on weston", interval=0.3)
    return left, top, right + 1, top + 256


def picture(client, area):
    return client.screenshot(client.root.id).crop(area)


def steady(client, area, program, timeout=30):
    """The client area's picture once three screenshots in a row agree outside the overlay text."""
    last = [picture(client, area), 0]

    def settled():
        program.check_running()
        now = picture(client, area)
        last[1] = last[1] + 1 if same_scene(now, last[0]) else 0
        last[0] = now
        return now if last[1] >= 3 else None
    return wait_until(settled, timeout, "a steady picture", interval=0.4)


def test_wayland_window(wayland):
    """The window on Wayland, its picture and its overlay, and Escape ending it.
    (Look mode's relative motion is the SDL layer's unit test: weston nested
    in Xvfb on these machines takes the keyboard focus away from the window
    once it locks the pointer, earlier versions of the program alike, so look
    mode cannot be driven through it.)"""
    client, program = wayland
    area = client_area(client, program)
    first = steady(client, area, program)
    assert len(text_pixels(first, OVERLAY)) > 200, "no overlay text in the window"

    # Click into the window for the keyboard focus.
    left, top = area[:2]
    client.move_pointer(left + 200, top + 200)
    client.button_down()
    client.button_up()
    client.key_down("Escape")
    client.key_up("Escape")
    program.check_clean_exit(60)
