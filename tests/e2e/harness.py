"""Runs the real program under a private Xvfb and drives it as a user would.

Everything here uses the standard library and the X utilities the project
depends on (Xvfb, xdotool, xwininfo, xprop, ImageMagick's import). A test
script calls run(globals()): its first argument is the program, the second
the name of the test function to run (all of them when absent).

Screenshots are saved as PNG files when VELLUMOR_SCREENSHOT_DIR names a
directory.
"""

import ctypes
import ctypes.util
import os
import random
import re
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CLASS_NAME = "vellumor"
SCREEN = "1024x768x24"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(predicate, timeout, what, interval=0.05):
    """Polls predicate until it returns something truthy; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def sanitizer_environment():
    """Options for a program built with AddressSanitizer and UBSan (ignored otherwise).

    Leaks inside the system's graphics, window and font libraries are
    suppressed; a leak with a frame in our own code is still reported."""
    suppressions = os.path.join(HERE, "lsan.supp")
    return {
        "ASAN_OPTIONS": "detect_leaks=1:halt_on_error=1:abort_on_error=0",
        "LSAN_OPTIONS": "suppressions=%s:print_suppressions=0" % suppressions,
        "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
    }


def program_environment(display):
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "XAUTHORITY"):
        env.pop(name, None)
    if display is not None:
        env["DISPLAY"] = display
    env["LIBGL_ALWAYS_SOFTWARE"] = "1"
    env.update(sanitizer_environment())
    return env


# Images -----------------------------------------------------------------------

class Image:
    """An RGB picture: rows top to bottom, three bytes a pixel."""

    def __init__(self, width, height, data):
        self.width = width
        self.height = height
        self.data = data

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def pixels(self, left=0, top=0, right=None, bottom=None):
        """Yields (x, y, (r, g, b)) over the box [left, right) x [top, bottom)."""
        right = self.width if right is None else right
        bottom = self.height if bottom is None else bottom
        for y in range(top, bottom):
            row = self.data[3 * (y * self.width + left):3 * (y * self.width + right)]
            for i in range(0, len(row), 3):
                yield left + i // 3, y, (row[i], row[i + 1], row[i + 2])

    def count(self, predicate, left=0, top=0, right=None, bottom=None):
        return sum(1 for _, _, rgb in self.pixels(left, top, right, bottom) if predicate(rgb))

    def where(self, predicate, left=0, top=0, right=None, bottom=None):
        """(x, y) of the pixels in a box whose colour satisfies predicate."""
        return [(x, y) for x, y, rgb in self.pixels(left, top, right, bottom) if predicate(rgb)]

    def diff_count(self, other, left=0, top=0, right=None, bottom=None, tolerance=0):
        """How many pixels of a box differ from other's by more than tolerance in a channel."""
        check((self.width, self.height) == (other.width, other.height),
              "pictures of different sizes: %dx%d and %dx%d"
              % (self.width, self.height, other.width, other.height))
        right = self.width if right is None else right
        bottom = self.height if bottom is None else bottom
        differing = 0
        for y in range(top, bottom):
            start, end = 3 * (y * self.width + left), 3 * (y * self.width + right)
            if self.data[start:end] == other.data[start:end]:
                continue
            for x in range(left, right):
                if any(abs(a - b) > tolerance for a, b in zip(self.pixel(x, y), other.pixel(x, y))):
                    differing += 1
        return differing

    def scene_diff(self, other, tolerance=0):
        """Pixels that differ outside the overlay text, whose FPS line changes by itself."""
        return (self.diff_count(other, OVERLAY_RIGHT, 0, None, OVERLAY_BOTTOM, tolerance) +
                self.diff_count(other, 0, OVERLAY_BOTTOM, None, None, tolerance))

    def same_scene(self, other):
        """True when the pictures are the same outside the overlay text (quicker than scene_diff)."""
        if (self.width, self.height) != (other.width, other.height):
            return False
        row = 3 * self.width
        for y in range(self.height):
            start = y * row + (0 if y >= OVERLAY_BOTTOM else 3 * OVERLAY_RIGHT)
            if self.data[start:(y + 1) * row] != other.data[start:(y + 1) * row]:
                return False
        return True

    def save_png(self, path):
        raw = b"".join(b"\0" + self.data[3 * self.width * y:3 * self.width * (y + 1)]
                       for y in range(self.height))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n")
            out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
            out.write(chunk(b"IEND", b""))


CLEAR = (178, 178, 204)  # the clear colour (0.7, 0.7, 0.8) where nothing is drawn
YELLOW = (255, 255, 0)  # the frustum's wire box

# The overlay text: nine lines in the top-left corner, the first baseline 15
# pixels below the client area's top edge, 12 pixels apart; none is wider
# than OVERLAY_RIGHT at the default values.
OVERLAY_FIRST_BASELINE = 15
OVERLAY_LINE_PITCH = 12
OVERLAY_LINES = 9
OVERLAY_RIGHT = 130
OVERLAY_BOTTOM = OVERLAY_FIRST_BASELINE + OVERLAY_LINE_PITCH * (OVERLAY_LINES - 1) + 6


def overlay_line_box(line, right=OVERLAY_RIGHT):
    """(left, top, right, bottom) around the glyphs of overlay line `line` (0 is "FPS")."""
    baseline = OVERLAY_FIRST_BASELINE + OVERLAY_LINE_PITCH * line
    return (0, baseline - 10, right, baseline + 3)


def bounds_of(points):
    """(left, top, right, bottom), inclusive, of a list of (x, y); None when it is empty."""
    if not points:
        return None
    xs = [x for x, _ in points]
    ys = [y for _, y in points]
    return (min(xs), min(ys), max(xs), max(ys))


def is_yellow(rgb):
    r, g, b = rgb  # near(rgb, YELLOW, 3), often asked
    return r >= 252 and g >= 252 and b <= 3


def is_water(rgb):
    """Half-transparent blue over the grey terrain: grey plus half of full blue."""
    r, g, b = rgb
    return abs(r - g) <= 3 and b - r >= 100


def near(rgb, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, expected))


def text_pixels(image, left=0, top=0, right=None, bottom=None):
    """(x, y) of the pixels that look like overlay text in a box.

    The text is white at half opacity: a text pixel is halfway between a
    nearby background pixel and white, whatever the background is. The edge
    of a dark shape can pass for text by chance, so look where text belongs."""
    found = []
    for x, y, rgb in image.pixels(left, top, right, bottom):
        if min(rgb) < 128:
            continue
        for nx in range(max(0, x - 2), min(image.width, x + 3)):
            for ny in range(max(0, y - 2), min(image.height, y + 3)):
                under = image.pixel(nx, ny)
                if min(rgb[i] - under[i] for i in range(3)) >= 20 and near(
                        rgb, tuple((c + 255) / 2 for c in under), 3):
                    found.append((x, y))
                    break
            else:
                continue
            break
    return found


def parse_ppm(blob):
    """Reads a binary PPM (P6, 8 bits a channel)."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while blob[pos:pos + 1].isspace():
            pos += 1
        if blob[pos:pos + 1] == b"#":
            pos = blob.index(b"\n", pos) + 1
            continue
        end = pos
        while not blob[end:end + 1].isspace():
            end += 1
        fields.append(blob[pos:end])
        pos = end
    check(fields[0] == b"P6", "screenshot is not a binary PPM")
    width, height, maximum = (int(f) for f in fields[1:])
    check(maximum == 255, "screenshot has %d levels a channel" % (maximum + 1))
    data = blob[pos + 1:pos + 1 + 3 * width * height]
    check(len(data) == 3 * width * height, "screenshot is cut short")
    return Image(width, height, data)


# Sending a close request, as a window manager's close button does ------------

class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def send_close_request(display, window):
    """Sends WM_DELETE_WINDOW through the WM_PROTOCOLS client message."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    check(connection, "cannot open display %s" % display)
    try:
        event = _XEvent()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = window
        event.xclient.message_type = x11.XInternAtom(connection, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = x11.XInternAtom(connection, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        check(x11.XSendEvent(connection, window, 0, 0, ctypes.byref(event)), "XSendEvent failed")
        x11.XFlush(connection)
    finally:
        x11.XCloseDisplay(connection)


# The pointer's cursor, as XFixes reports it -----------------------------------

class _XFixesCursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def cursor_image(display):
    """(name, opaque pixels) of the cursor the server shows: the name is the
    X cursor font's ("left_ptr" for the arrow, "fleur" for the four-headed
    arrow), and a hidden cursor has no opaque pixel."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(_XFixesCursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    check(connection, "cannot open display %s" % display)
    try:
        found = xfixes.XFixesGetCursorImage(connection)
        check(found, "XFixesGetCursorImage failed")
        try:
            image = found.contents
            opaque = sum(1 for i in range(image.width * image.height) if image.pixels[i] >> 24 & 0xFF)
            return (image.name or b"").decode(errors="replace"), opaque
        finally:
            x11.XFree(found)
    finally:
        x11.XCloseDisplay(connection)


# A program on its own X server ------------------------------------------------

class Session:
    """Xvfb on a free display with the program running on it.

    Use as a context manager: both processes end when it closes, however the
    test went. Pass display=False to run the program with no display at all.
    ready() waits for the window and its first frames."""

    def __init__(self, program, display=True, extra_env=None):
        self.program = program
        self.want_display = display
        self.extra_env = extra_env or {}
        self.xvfb = None
        self.process = None
        self.display = None
        self.window = None
        self.workdir = tempfile.mkdtemp(prefix="vellumor-e2e-")

    # lifecycle

    def __enter__(self):
        try:
            if self.want_display:
                self._start_xvfb()
            self._start_program()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        shutil.rmtree(self.workdir, ignore_errors=True)
        return False

    def _start_xvfb(self):
        # A random display number well above those people start by hand
        # (:0, :1, :99), so that a server started with a fixed number
        # elsewhere does not meet ours; taken numbers make Xvfb exit, and
        # another is tried.
        for _ in range(8):
            number = random.randrange(200, 3000)
            if os.path.exists("/tmp/.X%d-lock" % number):
                continue
            if self._try_xvfb(number):
                self.display = ":%d" % number
                return
        raise Failure("Xvfb could not start on a free display")

    def _try_xvfb(self, number):
        read_end, write_end = os.pipe()
        try:
            # -noreset: a server that resets when its last client leaves
            # refuses, now and then, a client that connects just then.
            self.xvfb = subprocess.Popen(
                ["Xvfb", ":%d" % number, "-displayfd", str(write_end), "-screen", "0", SCREEN,
                 "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL)
        except FileNotFoundError:
            raise Failure("Xvfb is not installed (scripts/deps installs it)")
        finally:
            os.close(write_end)
        try:
            # Xvfb writes the number once it accepts clients, or exits.
            reported = b""
            deadline = time.monotonic() + 15
            while not reported.endswith(b"\n"):
                ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
                check(ready, "Xvfb did not report its display")
                piece = os.read(read_end, 16)
                if not piece:
                    break
                reported += piece
        finally:
            os.close(read_end)
        if reported.strip() == str(number).encode():
            return True
        self.xvfb.kill()
        self.xvfb.wait()
        self.xvfb = None
        return False

    def _start_program(self):
        env = program_environment(self.display)
        env.update(self.extra_env)
        self.stdout_path = os.path.join(self.workdir, "stdout")
        self.stderr_path = os.path.join(self.workdir, "stderr")
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            self.process = subprocess.Popen([self.program], env=env, stdin=subprocess.DEVNULL,
                                            stdout=out, stderr=err)

    def close(self):
        for proc in (self.process, self.xvfb):
            if proc is not None and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        self.process = self.xvfb = None

    # the program's side

    def x(self, *args, timeout=10):
        """Runs an X utility against this display and returns its output."""
        env = dict(os.environ, DISPLAY=self.display)
        env.pop("XAUTHORITY", None)
        try:
            result = subprocess.run(list(args), env=env, stdin=subprocess.DEVNULL,
                                    capture_output=True, timeout=timeout)
        except FileNotFoundError:
            raise Failure("%s is not installed (scripts/deps installs it)" % args[0])
        if result.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(args), result.stderr.decode(errors="replace").strip()))
        return result.stdout

    def ready(self, timeout=30):
        self.wait_for_window(timeout)
        self.wait_for_frames(timeout)
        return self

    def wait_for_window(self, timeout=30):
        """Waits until the program's window is mapped, and returns its id."""
        def find():
            check(self.process.poll() is None,
                  "program ended (code %s) before its window showed: %s"
                  % (self.process.returncode, self.stderr().strip()))
            try:
                found = self.x("xdotool", "search", "--onlyvisible", "--classname", "^%s$" % CLASS_NAME)
            except Failure:
                return None
            ids = found.split()
            return int(ids[0]) if ids else None
        self.window = wait_until(find, timeout, "the program's window")
        return self.window

    def wait_for_frames(self, timeout=30):
        """Waits until the window shows something other than black: the first frames are up."""
        def drawn():
            image = self.screenshot()
            return image if image.count(lambda rgb: rgb != (0, 0, 0), 0, 0, image.width, 1) else None
        return wait_until(drawn, timeout, "the first frame", interval=0.2)

    def geometry(self):
        """(x, y, width, height) of the window on the screen, as xwininfo reports it."""
        info = self.x("xwininfo", "-id", str(self.window)).decode()
        def field(name):
            return int(re.search(r"%s:\s*(-?\d+)" % re.escape(name), info).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))

    def screenshot(self, name=None):
        """The window's content; saved as <name>.png when VELLUMOR_SCREENSHOT_DIR is set."""
        image = parse_ppm(self.x("import", "-window", str(self.window), "-depth", "8", "ppm:-", timeout=20))
        directory = os.environ.get("VELLUMOR_SCREENSHOT_DIR")
        if name and directory:
            os.makedirs(directory, exist_ok=True)
            image.save_png(os.path.join(directory, name + ".png"))
        return image

    # input, as real X events through the XTEST extension

    def focus(self):
        self.x("xdotool", "windowfocus", "--sync", str(self.window))

    def key(self, *keys):
        self.x("xdotool", "key", "--delay", "30", *keys)

    def key_down(self, key):
        self.x("xdotool", "keydown", key)

    def key_up(self, key):
        self.x("xdotool", "keyup", key)

    def move_mouse(self, x, y):
        """Moves the pointer to a point of the window's client area."""
        left, top, _, _ = self.geometry()
        self.x("xdotool", "mousemove", "--sync", str(left + x), str(top + y))

    def mouse_down(self, button=1):
        self.x("xdotool", "mousedown", str(button))

    def mouse_up(self, button=1):
        self.x("xdotool", "mouseup", str(button))

    def wheel(self, notches):
        """Turns the wheel; positive is away from the user. The window under the
        pointer gets it: move the pointer into the window first."""
        button = "4" if notches > 0 else "5"
        self.x("xdotool", "click", "--repeat", str(abs(notches)), "--delay", "30", button)

    def close_request(self):
        send_close_request(self.display, self.window)

    def send_signal(self, number):
        self.process.send_signal(number)

    def hold_key(self, key, seconds):
        """Holds a key down for a while, as a user does."""
        self.key_down(key)
        try:
            time.sleep(seconds)
        finally:
            self.key_up(key)

    def move_mouse_by(self, dx, dy):
        """Moves the pointer relative to where it is, without waiting for it to
        arrive: in look mode the program puts it back at once."""
        self.x("xdotool", "mousemove_relative", "--", str(dx), str(dy))

    def window_centre(self):
        """The screen point at the middle of the window."""
        left, top, width, height = self.geometry()
        return left + width // 2, top + height // 2

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

    def cursor(self):
        """(name, opaque pixels) of the cursor shown; see cursor_image."""
        return cursor_image(self.display)

    def pointer(self):
        """(x, y) of the pointer on the screen."""
        found = re.search(r"x:(-?\d+) y:(-?\d+)", self.x("xdotool", "getmouselocation").decode())
        check(found, "xdotool getmouselocation gave no position")
        return int(found.group(1)), int(found.group(2))

    def drag(self, start, end, steps=8, button=1):
        """Presses a button at a client point, moves to another in steps and lets go."""
        self.move_mouse(*start)
        self.mouse_down(button)
        try:
            for i in range(1, steps + 1):
                self.move_mouse(start[0] + (end[0] - start[0]) * i // steps,
                                start[1] + (end[1] - start[1]) * i // steps)
                time.sleep(0.02)
        finally:
            self.mouse_up(button)

    def resize(self, width, height, timeout=30):
        """Resizes the window and waits for a frame of the new size."""
        self.x("xdotool", "windowsize", "--sync", str(self.window), str(width), str(height))

        def resized():
            image = self.screenshot()
            return image if (image.width, image.height) == (width, height) else None
        return wait_until(resized, timeout, "a frame of %dx%d" % (width, height), interval=0.2)

    def rss_kb(self):
        """The program's resident memory in KiB (VmRSS), or None once it has ended."""
        try:
            with open("/proc/%d/status" % self.process.pid) as status:
                for line in status:
                    if line.startswith("VmRSS:"):
                        return int(line.split()[1])
        except OSError:
            pass
        return None

    # waiting on the picture

    def wait_for_change(self, reference, timeout=20, what="the picture to change",
                        differs=None):
        """Takes screenshots until one differs from reference outside the overlay
        text (or as differs(reference, image) says), and returns it."""
        differs = differs or (lambda old, new: not new.same_scene(old))

        def changed():
            self.check_running()
            image = self.screenshot()
            return image if differs(reference, image) else None
        return wait_until(changed, timeout, what, interval=0.1)

    def wait_until_steady(self, timeout=20, span=0.6, gap=0.15):
        """Waits until the picture has stayed the same outside the overlay text
        for span seconds, several frames, and returns it. Wait for the change
        that input makes first: a slow frame can hold an old picture that long."""
        deadline = time.monotonic() + timeout
        image = self.screenshot()
        since = time.monotonic()
        while True:
            self.check_running()
            time.sleep(gap)
            latest = self.screenshot()
            now = time.monotonic()
            if not latest.same_scene(image):
                image, since = latest, now
            elif now - since >= span:
                return latest
            if now > deadline:
                raise Failure("timed out after %.0f s waiting for a steady picture" % timeout)

    def check_running(self):
        check(self.running(), "program ended (code %s): %s"
              % (self.process.returncode, self.stderr().strip()[:2000]))

    # the program's end

    def wait_exit(self, timeout=30):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("program still running %d s later" % timeout)

    def running(self):
        return self.process.poll() is None

    def stdout(self):
        with open(self.stdout_path, "rb") as f:
            return f.read().decode(errors="replace")

    def stderr(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode(errors="replace")

    def check_clean_exit(self, timeout=30):
        """The program ends with code 0 and has written nothing."""
        code = self.wait_exit(timeout)
        err, out = self.stderr(), self.stdout()
        check(code == 0, "exit code %d; stderr:\n%s" % (code, err))
        check(out == "", "wrote to stdout: %r" % out[:2000])
        check(err == "", "wrote to stderr: %r" % err[:2000])


# Running tests ----------------------------------------------------------------

def run(namespace):
    """Runs test_<name>(program) functions of a script; exit code 0 when all pass."""
    if len(sys.argv) < 2:
        sys.exit("usage: %s PROGRAM [TEST...]" % sys.argv[0])
    program = os.path.abspath(sys.argv[1])
    names = sys.argv[2:] or sorted(n[5:] for n in namespace if n.startswith("test_"))
    failed = 0
    for name in names:
        test = namespace.get("test_" + name)
        if test is None:
            sys.exit("no test named %s" % name)
        start = time.monotonic()
        try:
            test(program)
        except Failure as failure:
            failed += 1
            print("FAIL %s: %s" % (name, failure))
        except Exception:
            failed += 1
            print("FAIL %s:" % name)
            traceback.print_exc(file=sys.stdout)
        else:
            print("ok   %s (%.1f s)" % (name, time.monotonic() - start))
    sys.exit(1 if failed else 0)
