"""One connection to an X server: the program's window, real input through
XTEST and screenshots of a window, all with python-xlib."""

import time

from PIL import Image
from Xlib import X, XK, Xatom, display as xdisplay, error as xerror
from Xlib.ext import damage
from Xlib.protocol import event

from .cursor import cursor_image
from .waiting import wait_until

# A pause after every key or button event, as a typist leaves: SDL takes a
# release and a press of the same key with the same time stamp for auto-repeat.
EVENT_GAP = 0.015


class XClient:
    def __init__(self, display_name):
        self.display = xdisplay.Display(display_name)
        self.root = self.display.screen().root
        self.errors = []
        self.display.set_error_handler(lambda err, request: self.errors.append(err))
        for name in ("XTEST", "XFIXES", "DAMAGE"):
            assert self.display.has_extension(name), "the X server lacks %s" % name
        self.display.xfixes_query_version()
        self.display.damage_query_version()
        self.draws = 0

    def close(self):
        try:
            self.display.close()
        except xerror.ConnectionClosedError:
            pass

    def sync(self):
        """Waits until the server has handled every request sent; fails on errors."""
        self.display.sync()
        errors, self.errors = self.errors, []
        assert not errors, "X errors: %s" % errors

    def atom(self, name):
        return self.display.intern_atom(name)

    def set_resources(self, text):
        """The X resources programs read as they connect, as xrdb sets them."""
        self.root.change_property(self.atom("RESOURCE_MANAGER"), Xatom.STRING, 8, text.encode())
        self.sync()

    # windows

    def find_window(self, instance):
        """The id of a viewable window whose WM_CLASS instance name is
        `instance`, at any depth under the root; None when there is none."""
        pending = list(self.root.query_tree().children)
        while pending:
            window = pending.pop()
            try:
                if (window.get_attributes().map_state == X.IsViewable and
                        (window.get_wm_class() or ("",))[0] == instance):
                    return window.id
                pending.extend(window.query_tree().children)
            except xerror.XError:
                pass  # gone while we looked
        return None

    def window(self, window_id):
        return self.display.create_resource_object("window", window_id)

    def wm_class(self, window_id):
        return self.window(window_id).get_wm_class()

    def titles(self, window_id):
        """(_NET_WM_NAME, WM_NAME) of a window: what window managers show."""
        window = self.window(window_id)
        net = window.get_full_text_property(self.atom("_NET_WM_NAME"), self.atom("UTF8_STRING"))
        return net, window.get_wm_name()

    def geometry(self, window_id):
        """(x, y, width, height) of a window's inside on the screen."""
        window = self.window(window_id)
        size = window.get_geometry()
        origin = self.root.translate_coords(window, 0, 0)
        return origin.x, origin.y, size.width, size.height

    def resize(self, window_id, width, height, timeout=10):
        """Resizes a window, as a user does, and waits until the server has it so."""
        self.window(window_id).configure(width=width, height=height)
        self.sync()
        wait_until(lambda: self.geometry(window_id)[2:] == (width, height), timeout,
                   "the window to be %dx%d" % (width, height))

    def focus(self, window_id, timeout=10):
        self.window(window_id).set_input_focus(X.RevertToParent, X.CurrentTime)
        self.sync()

        def focused():
            focus = self.display.get_input_focus().focus
            return getattr(focus, "id", focus) == window_id  # PointerRoot and None are numbers
        wait_until(focused, timeout, "the input focus on the window")

    def frame_extents(self, window_id):
        """(left, right, top, bottom) of the frame a window manager put around a
        window (_NET_FRAME_EXTENTS); None while there is none."""
        found = self.window(window_id).get_full_property(self.atom("_NET_FRAME_EXTENTS"), X.AnyPropertyType)
        return tuple(found.value) if found is not None and len(found.value) == 4 else None

    def _to_window_manager(self, window_id, message, values):
        """A client message to the root window, as pagers and task bars ask
        the window manager for something."""
        request = event.ClientMessage(window=window_id, client_type=self.atom(message),
                                      data=(32, (list(values) + [0] * 5)[:5]))
        self.root.send_event(request, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.sync()

    def window_manager_running(self):
        check = self.root.get_full_property(self.atom("_NET_SUPPORTING_WM_CHECK"), X.AnyPropertyType)
        return check is not None and len(check.value) > 0

    def give_focus(self, window_id, timeout=10):
        """Gives a window the focus as a user would: through the window
        manager where there is one, straight from the server where there is none."""
        if not self.window_manager_running():
            self.focus(window_id, timeout)
            return
        self.activate(window_id)

        def focused():
            focus = self.display.get_input_focus().focus
            return getattr(focus, "id", focus) == window_id
        wait_until(focused, timeout, "the window manager to focus the window")

    def activate(self, window_id):
        """Asks the window manager to raise a window and give it the focus."""
        self._to_window_manager(window_id, "_NET_ACTIVE_WINDOW", [2, X.CurrentTime])

    def iconify(self, window_id):
        """Asks the window manager to minimise a window."""
        self._to_window_manager(window_id, "WM_CHANGE_STATE", [3])  # IconicState

    def close_by_window_manager(self, window_id):
        """Asks the window manager to close a window, as its close button does."""
        self._to_window_manager(window_id, "_NET_CLOSE_WINDOW", [X.CurrentTime, 2])

    def move_by_window_manager(self, window_id, x, y):
        """Asks the window manager to move a window's frame to (x, y), as a
        keyboard move or a snap does."""
        self._to_window_manager(window_id, "_NET_MOVERESIZE_WINDOW",
                                [(1 << 8) | (1 << 9) | (2 << 12), x, y, 0, 0])

    def resize_by_window_manager(self, window_id, width, height):
        """Asks the window manager to give a window's inside this size."""
        self._to_window_manager(window_id, "_NET_MOVERESIZE_WINDOW",
                                [(1 << 10) | (1 << 11) | (2 << 12), 0, 0, width, height])

    def is_mapped(self, window_id):
        try:
            return self.window(window_id).get_attributes().map_state == X.IsViewable
        except xerror.XError:
            return False

    def create_window(self, x, y, width, height, name="another application"):
        """Maps a plain window of our own, another application to switch to."""
        screen = self.display.screen()
        window = self.root.create_window(x, y, width, height, 0, screen.root_depth,
                                         background_pixel=screen.white_pixel,
                                         event_mask=X.StructureNotifyMask)
        window.set_wm_name(name)
        window.set_wm_class("other", "Other")
        window.map()
        self.sync()
        wait_until(lambda: self.is_mapped(window.id), 10, "our other window to show")
        return window.id

    def close_request(self, window_id):
        """Sends WM_DELETE_WINDOW through the WM_PROTOCOLS client message, as a
        window manager's close button does."""
        message = event.ClientMessage(window=window_id, client_type=self.atom("WM_PROTOCOLS"),
                                      data=(32, [self.atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        self.window(window_id).send_event(message, event_mask=0)
        self.sync()

    def watch_drawing(self, window_id):
        """Starts counting the times something is drawn into a window: with
        Mesa's software renderer, one for every frame the program shows."""
        self.window(window_id).damage_create(damage.DamageReportRawRectangles)
        self.sync()

    def drawn(self):
        """How many times the watched windows have been drawn into, as far as
        the server has told us so far."""
        while self.display.pending_events():
            if self.display.next_event().type == self.display.extension_event.DamageNotify:
                self.draws += 1
        return self.draws

    def screenshot(self, window_id):
        """A window's content as an RGB picture."""
        _, _, width, height = self.geometry(window_id)
        reply = self.window(window_id).get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF)
        formats = {f.depth: f.bits_per_pixel for f in self.display.display.info.pixmap_formats}
        assert reply.depth == 24 and formats.get(24) == 32, \
            "window of depth %d, %s bits a pixel" % (reply.depth, formats.get(reply.depth))
        rawmode = "BGRX" if self.display.display.info.image_byte_order == X.LSBFirst else "XRGB"
        return Image.frombuffer("RGB", (width, height), reply.data, "raw", rawmode, 0, 1)

    # the pointer and the cursor

    def pointer(self):
        """(x, y) of the pointer on the screen."""
        found = self.root.query_pointer()
        return found.root_x, found.root_y

    def cursor(self):
        """(name, opaque pixels) of the cursor shown; see cursor.cursor_image."""
        return cursor_image(self.display)

    # real input through XTEST

    def key_for(self, name):
        """(keycode, shifted) of the key that gives the keysym `name` ("w", "F1",
        "Escape", "space", "KP_5"), as the server's keyboard mapping has it:
        shifted when the keysym needs Shift."""
        keysym = XK.string_to_keysym(name)
        assert keysym != X.NoSymbol, "no keysym named %r" % name
        found = [(index, code) for code, index in self.display.keysym_to_keycodes(keysym) if index < 2]
        assert found, "no key gives %r without a modifier or with Shift" % name
        index, code = min(found)
        return code, index == 1

    def _fake(self, kind, detail=0, x=0, y=0):
        self.display.xtest_fake_input(kind, detail, x=x, y=y)
        self.sync()

    def key_down(self, name):
        code, shifted = self.key_for(name)
        if shifted:
            self._fake(X.KeyPress, self.key_for("Shift_L")[0])
        self._fake(X.KeyPress, code)
        time.sleep(EVENT_GAP)

    def key_up(self, name):
        code, shifted = self.key_for(name)
        self._fake(X.KeyRelease, code)
        if shifted:
            self._fake(X.KeyRelease, self.key_for("Shift_L")[0])
        time.sleep(EVENT_GAP)

    def button_down(self, button=1):
        self._fake(X.ButtonPress, button)
        time.sleep(EVENT_GAP)

    def button_up(self, button=1):
        self._fake(X.ButtonRelease, button)
        time.sleep(EVENT_GAP)

    def move_pointer(self, x, y, timeout=10):
        """Moves the pointer to a screen point and waits until it is there."""
        self._fake(X.MotionNotify, 0, x, y)
        wait_until(lambda: self.pointer() == (x, y), timeout, "the pointer at %s" % ((x, y),))

    def pointer_free(self):
        """Whether no client holds a grab of the pointer (as one that confines
        the cursor does): tried by grabbing it for an instant."""
        status = self.root.grab_pointer(False, 0, X.GrabModeAsync, X.GrabModeAsync, X.NONE, X.NONE,
                                        X.CurrentTime)
        if status == X.GrabSuccess:
            self.display.ungrab_pointer(X.CurrentTime)
        self.sync()
        return status == X.GrabSuccess

    def move_pointer_by(self, dx, dy):
        """Moves the pointer relative to where it is, without waiting for it to arrive."""
        self._fake(X.MotionNotify, 1, dx, dy)

    def move_pointer_in_steps(self, steps):
        """Moves the pointer by each (dx, dy) of steps in turn, all sent at once:
        the server makes them one quick burst of motion."""
        for dx, dy in steps:
            self.display.xtest_fake_input(X.MotionNotify, 1, x=dx, y=dy)
        self.sync()
