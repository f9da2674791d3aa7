"""The program's window on an X server, driven and watched as a user would."""

import os
import time

from .pictures import count, same_scene
from .program import Program
from .waiting import wait_until
from .xclient import XClient

# Where the program asks for its window, and how big, frame included.
OUTER_RECT = (100, 100, 256, 256)


class App:
    """The program started on a display, with an X connection of our own to
    drive it; close() ends the connection and the program. ready() waits for
    the window and its first frames."""

    def __init__(self, launch, display, workdir):
        self.launch = launch
        self.program = Program(launch, display, workdir)
        self.window = None
        # (left, top, right, bottom) widths of the Windows build's frame
        # around the client area, measured once the window shows: Windows
        # places the whole window, and Wine keeps the client area where
        # Windows would have it, whatever frame a window manager draws.
        self.frame = None
        try:
            self.client = XClient(display)
        except BaseException:
            self.program.close()
            raise

    def close(self):
        self.client.close()
        self.program.close()

    # the window

    def ready(self, timeout=30):
        self.wait_for_window(timeout)
        self.wait_for_first_frame(timeout)
        if self.launch.windows:
            left, top, width, height = self.geometry()
            x, y, outer_width, outer_height = OUTER_RECT
            self.frame = (left - x, top - y, x + outer_width - left - width, y + outer_height - top - height)
        return self

    def wait_for_window(self, timeout=30):
        """Waits until the program's window is mapped, and returns its id."""
        def find():
            assert self.program.running(), "program ended (code %s) before its window showed: %s" % (
                self.program.returncode, self.program.stderr().strip())
            return self.client.find_window(self.launch.window_class)
        self.window = wait_until(find, timeout, "the program's window")
        self.client.watch_drawing(self.window)
        return self.window

    def wait_for_first_frame(self, timeout=30):
        """Waits until the window shows something other than black: the first frames are up."""
        def drawn():
            image = self.screenshot()
            return image if count(image, lambda rgb: rgb != (0, 0, 0), (0, 0, image.width, 1)) else None
        return wait_until(drawn, timeout, "the first frame", interval=0.2)

    def geometry(self):
        """(x, y, width, height) of the window's client area on the screen."""
        return self.client.geometry(self.window)

    def outer_rect(self):
        """(left, top, right, bottom) of the window on the screen, frame included."""
        left, top, width, height = self.geometry()
        if self.frame is not None:
            frame_left, frame_top, frame_right, frame_bottom = self.frame
        else:  # a window manager's frame, if there is one
            extents = self.client.frame_extents(self.window) or (0, 0, 0, 0)
            frame_left, frame_right, frame_top, frame_bottom = extents
        return left - frame_left, top - frame_top, left + width + frame_right, top + height + frame_bottom

    def window_centre(self):
        """The screen point at the middle of the window, frame included: where
        look mode keeps the pointer."""
        left, top, right, bottom = self.outer_rect()
        return left + (right - left) // 2, top + (bottom - top) // 2

    def screenshot(self, name=None):
        """The window's content; saved as <name>.png when VELLUMOR_SCREENSHOT_DIR is set."""
        image = self.client.screenshot(self.window)
        directory = os.environ.get("VELLUMOR_SCREENSHOT_DIR")
        if name and directory:
            os.makedirs(directory, exist_ok=True)
            image.save(os.path.join(directory, name + ".png"))
        return image

    def resize(self, width, height, timeout=30):
        """Resizes the window and waits for a frame of the new size."""
        self.client.resize(self.window, width, height)

        def resized():
            image = self.screenshot()
            return image if image.size == (width, height) else None
        return wait_until(resized, timeout, "a frame of %dx%d" % (width, height), interval=0.2)

    def close_request(self):
        self.client.close_request(self.window)

    # keys

    def focus(self):
        self.client.focus(self.window)

    def key(self, *keys):
        """Presses and releases each key in turn."""
        for key in keys:
            self.client.key_down(key)
            self.client.key_up(key)

    def key_down(self, key):
        self.client.key_down(key)

    def key_up(self, key):
        self.client.key_up(key)

    def stop(self, timeout=20):
        """Holds Space until the picture holds still: the mover has stopped.
        Returns that picture."""
        self.key_down("space")
        try:
            return self.wait_until_steady(timeout)
        finally:
            self.key_up("space")

    # the mouse

    def move_mouse(self, x, y):
        """Moves the pointer to a point of the window's client area."""
        left, top, _, _ = self.geometry()
        self.client.move_pointer(left + x, top + y)

    def move_mouse_by(self, dx, dy):
        """Moves the pointer relative to where it is, without waiting for it to
        arrive: in look mode the program puts it back at once."""
        self.client.move_pointer_by(dx, dy)

    def mouse_down(self, button=1):
        self.client.button_down(button)

    def mouse_up(self, button=1):
        self.client.button_up(button)

    def click(self, button=1):
        self.mouse_down(button)
        self.mouse_up(button)

    def wheel(self, notches):
        """Turns the wheel; positive is away from the user. The window under the
        pointer gets it: move the pointer into the window first."""
        for _ in range(abs(notches)):
            self.click(4 if notches > 0 else 5)

    def drag(self, start, end, steps=8, button=1):
        """Presses a button at a client point, moves to another in steps, lets
        go and waits until the pointer is free again."""
        self.move_mouse(*start)
        self.mouse_down(button)
        try:
            for i in range(1, steps + 1):
                self.move_mouse(start[0] + (end[0] - start[0]) * i // steps,
                                start[1] + (end[1] - start[1]) * i // steps)
        finally:
            self.mouse_up(button)
        self.wait_pointer_free()

    def wait_pointer_free(self, timeout=10):
        """Waits until the program no longer confines the pointer. Wine
        confines it with a pointer grab and loses the buttons (wheel clicks
        among them) that come while it lets go of that grab; Windows and SDL
        lose nothing, and the wait costs them nothing."""
        wait_until(self.client.pointer_free, timeout, "the pointer to be let go")

    def move_mouse_in_steps(self, steps):
        """Moves the pointer by each (dx, dy) of steps, as one quick burst."""
        self.client.move_pointer_in_steps(steps)

    def pointer(self):
        """(x, y) of the pointer on the screen."""
        return self.client.pointer()

    def cursor(self):
        """(name, opaque pixels) of the cursor shown; see cursor.cursor_image."""
        return self.client.cursor()

    def look(self, dx, dy, centre, step=100, timeout=10):
        """Moves the pointer by (dx, dy) in moves of at most step pixels a
        direction, each from centre: in look mode the program puts the pointer
        back at the window's centre after every move, and confines it to the
        window, so longer moves would be cut short."""
        while dx or dy:
            wait_until(lambda: self.pointer() == centre, timeout,
                       "the pointer at the window's centre %s" % (centre,))
            sx, sy = max(-step, min(step, dx)), max(-step, min(step, dy))
            self.move_mouse_by(sx, sy)
            dx, dy = dx - sx, dy - sy
        wait_until(lambda: self.pointer() == centre, timeout, "the pointer back at the centre")

    # waiting on the picture

    def wait_for_change(self, reference, timeout=20, what="the picture to change", differs=None):
        """Takes screenshots until one differs from reference outside the overlay
        text (or as differs(reference, image) says), and returns it."""
        differs = differs or (lambda old, new: not same_scene(new, old))

        def changed():
            self.check_running()
            image = self.screenshot()
            return image if differs(reference, image) else None
        return wait_until(changed, timeout, what, interval=0.1)

    def frames(self):
        """How many frames the program has shown since its window appeared."""
        return self.client.drawn()

    def wait_frames(self, count, timeout=20):
        """Waits until the program has shown `count` more frames."""
        target = self.frames() + count

        def shown():
            self.check_running()
            return self.frames() >= target
        wait_until(shown, timeout, "%d more frames" % count, interval=0.02)

    def wait_until_steady(self, timeout=20, span=0.6, frames=5, gap=0.15):
        """Waits until the picture has stayed the same outside the overlay text
        for span seconds and at least `frames` frames, and returns it. Input
        sent before the call is handled within the first of those frames, so
        a picture that has yet to change with it is not taken for steady."""
        deadline = time.monotonic() + timeout
        image = self.screenshot()
        since, since_frame = time.monotonic(), self.frames()
        while True:
            self.check_running()
            time.sleep(gap)
            shown = self.frames()  # all of these frames are in the screenshot that follows
            latest = self.screenshot()
            now = time.monotonic()
            if not same_scene(latest, image):
                image, since, since_frame = latest, now, self.frames()
            elif now - since >= span and shown - since_frame >= frames:
                return latest
            if now > deadline:
                raise AssertionError("timed out after %.0f s waiting for a steady picture" % timeout)

    # the program

    def send_signal(self, number):
        self.program.send_signal(number)

    def check_running(self):
        self.program.check_running()

    def check_clean_exit(self, timeout=30):
        self.program.check_clean_exit(timeout)

    def rss_kb(self):
        return self.program.rss_kb()
