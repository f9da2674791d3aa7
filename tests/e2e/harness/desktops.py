"""What else runs on the display beside the program: a window manager, or a
Wayland compositor in a window of its own."""

import os
import shutil
import subprocess
import tempfile

from Xlib import display as xdisplay, error as xerror

from .waiting import wait_until
from .xserver import end


def _wm_running(display_name):
    """Whether a window manager has announced itself on the display's root window."""
    connection = xdisplay.Display(display_name)
    try:
        root = connection.screen().root
        check = root.get_full_property(connection.intern_atom("_NET_SUPPORTING_WM_CHECK"), 0)
        return check is not None and len(check.value) > 0
    except xerror.XError:
        return False
    finally:
        connection.close()


class Openbox:
    """Openbox managing the display, with its default configuration; close()
    ends it."""

    def __init__(self, display_name, timeout=20):
        path = shutil.which("openbox")
        assert path, "openbox is not installed (scripts/deps installs it)"
        env = dict(os.environ, DISPLAY=display_name)
        env.pop("WAYLAND_DISPLAY", None)
        self.process = subprocess.Popen([path, "--sm-disable"], env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_until(lambda: self.process.poll() is None and _wm_running(display_name), timeout,
                       "openbox to manage the display")
        except BaseException:
            self.close()
            raise

    def close(self):
        end(self.process)


class Weston:
    """A Wayland compositor drawing into an X window on the display, taking
    its input from there: the program, started with `environment()`, runs on
    Wayland while the test watches and drives it through X. close() ends it."""

    WIDTH, HEIGHT = 800, 600

    def __init__(self, display_name, timeout=30):
        path = shutil.which("weston")
        assert path, "weston is not installed (scripts/deps installs it)"
        self.runtime_dir = tempfile.mkdtemp(prefix="vellumor-wayland-")
        os.chmod(self.runtime_dir, 0o700)
        self.socket = "wayland-vellumor"
        env = dict(os.environ, DISPLAY=display_name, XDG_RUNTIME_DIR=self.runtime_dir)
        env.pop("WAYLAND_DISPLAY", None)
        self.log = open(os.path.join(self.runtime_dir, "weston.log"), "wb")
        self.process = subprocess.Popen(
            [path, "--backend=x11-backend.so", "--use-pixman", "--socket=" + self.socket,
             "--width=%d" % self.WIDTH, "--height=%d" % self.HEIGHT, "--idle-time=0"],
            env=env, stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
        try:
            wait_until(lambda: self.process.poll() is None and
                       os.path.exists(os.path.join(self.runtime_dir, self.socket)), timeout,
                       "weston to open its socket")
        except BaseException:
            self.close()
            raise

    def environment(self):
        """What the program needs in its environment to find the compositor."""
        return {"WAYLAND_DISPLAY": self.socket, "XDG_RUNTIME_DIR": self.runtime_dir}

    def close(self):
        end(self.process)
        self.log.close()
        shutil.rmtree(self.runtime_dir, ignore_errors=True)
