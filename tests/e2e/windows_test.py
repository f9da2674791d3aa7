"""The Windows build as a Windows user meets it, under Wine: installed and
removed by its installer, started from a console and without one, and on a
display scaled to 200 %. Only the Windows build runs these."""

import dataclasses
import filecmp
import glob
import os
import pty
import re
import select
import shutil
import signal
import subprocess

import pytest
from PIL import Image
from Xlib import X

from harness.app import App
from harness.pictures import CLEAR, count, near
from harness.program import environment
from harness.waiting import wait_until
from harness.xclient import XClient
from harness.xserver import XServer, end

UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellumor"
START_MENU = "drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vellumor"
NO_OPENGL = ("-extension", "GLX")  # a display where Wine finds no OpenGL: the program cannot start


def windows_path(path):
    """The path as Windows programs under Wine see it, on drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(launch, *arguments, display=None):
    """Runs a Windows program in the launch's Wine prefix and waits for it."""
    return subprocess.run([*launch.prefix, *arguments], env=environment(launch, display), check=True,
                          stdin=subprocess.DEVNULL, capture_output=True, text=True, errors="replace")


def registry_values(launch, key):
    """The values of a registry key, by name; None when there is no such key."""
    try:
        listing = wine(launch, "reg", "query", key).stdout
    except subprocess.CalledProcessError:
        return None
    return dict(re.findall(r"^\s+(\S+)\s+REG_\w+\s+(.*?)\r?$", listing, re.MULTILINE))


def program_process(program, display):
    """The process id of the program running on the display, if it is. Wine
    shows a process's Windows command line as its command line."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                command = f.read().split(b"\0")[0]
            with open("/proc/%s/environ" % pid, "rb") as f:
                variables = f.read().split(b"\0")
        except OSError:
            continue
        if command.startswith(windows_path(program).encode()) and b"DISPLAY=" + display.encode() in variables:
            return int(pid)
    return None


@pytest.fixture(autouse=True)
def windows_build(launch):
    if not launch.windows:
        pytest.skip("the Windows build's own")


class Console:
    """The program started as from a Windows console: cmd.exe on a terminal
    of its own runs `start /wait vellumor.exe`, which gives back the
    program's exit code. The program, a GUI program, joins that console."""

    def __init__(self, launch, display):
        self.terminal, attached = pty.openpty()
        self.process = subprocess.Popen(
            [*launch.prefix, "cmd", "/c", "start", "/wait", windows_path(launch.program)],
            env=environment(launch, display), stdin=attached, stdout=attached, stderr=attached,
            start_new_session=True)
        os.close(attached)
        self.shown = b""

    def read(self):
        """Everything the console has shown so far."""
        while select.select([self.terminal], [], [], 0.1)[0]:
            try:
                piece = os.read(self.terminal, 4096)
            except OSError:  # the last program using the terminal has ended
                break
            if not piece:
                break
            self.shown += piece
        return self.shown.decode(errors="replace")

    def wait_exit(self, timeout=30):
        def ended():
            self.read()  # drained, so that nothing waits to write to the terminal
            return self.process.poll() is not None
        wait_until(ended, timeout, "the program and its console to end")
        return self.process.returncode

    def close(self):
        # cmd, start and the program are one process group, the terminal's.
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        os.close(self.terminal)


def test_started_from_a_console_ctrl_c_ends_it(launch, desktop):
    console = Console(launch, desktop)
    client = XClient(desktop)
    try:
        wait_until(lambda: client.find_window(launch.window_class), 30, "the program's window")
        # Wine hands a SIGINT to the console's control handlers as Ctrl+C.
        os.kill(wait_until(lambda: program_process(launch.program, desktop), 10, "the program's process"),
                signal.SIGINT)
        assert console.wait_exit() == 0, "exit code %s after Ctrl+C" % console.process.returncode
        assert "vellumor" not in console.read(), "the program wrote to the console: %r" % console.read()
    finally:
        client.close()
        console.close()


def test_started_from_a_console_a_start_up_failure_is_told_there(launch):
    with XServer(options=NO_OPENGL) as server:
        console = Console(launch, server.display)
        try:
            assert console.wait_exit(60) == 1, "exit code %s" % console.process.returncode
            assert "vellumor: no OpenGL context" in console.read(), "console shows %r" % console.read()
        finally:
            console.close()


def test_without_a_console_a_start_up_failure_shows_a_message_box(launch):
    with XServer(options=NO_OPENGL) as server:
        # `start` runs it as Explorer does: no console, no output handles.
        process = subprocess.Popen([*launch.prefix, "start", "/wait", windows_path(launch.program)],
                                   env=environment(launch, server.display), stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        client = XClient(server.display)
        try:
            box = wait_until(lambda: client.find_window(launch.window_class), 30, "the message box")
            assert client.titles(box)[1] == "Vellumor", "a window titled %s" % (client.titles(box),)
            client.close_request(box)
            assert process.wait(30) == 1, "exit code %s once the message was read" % process.returncode
        finally:
            client.close()
            end(process)


def test_installer_installs_runs_and_uninstalls(launch, desktop, workdir):
    build = os.path.dirname(os.path.dirname(launch.program))
    subprocess.run([shutil.which("cpack"), "-G", "NSIS", "--config", os.path.join(build, "CPackConfig.cmake"),
                    "-B", workdir], check=True, capture_output=True)
    installer, = glob.glob(os.path.join(workdir, "vellumor-*.exe"))
    target = os.path.join(workdir, "Vellumor")  # /D= takes no quotes, so no blanks
    shortcuts = os.path.join(launch.prefix[1], START_MENU)

    wine(launch, installer, "/S", "/D=" + windows_path(target))
    assert sorted(os.listdir(target)) == ["README.md", "THIRD-PARTY-NOTICES.txt", "Uninstall.exe", "vellumor.exe"]
    assert filecmp.cmp(os.path.join(target, "vellumor.exe"), launch.program, shallow=False)
    assert sorted(os.listdir(shortcuts)) == ["Uninstall.lnk", "Vellumor.lnk"]
    entry = registry_values(launch, UNINSTALL_KEY)
    assert entry is not None, "no entry in Apps & features"
    assert entry["DisplayName"] == "Vellumor" and entry["DisplayVersion"] == "0.1.0", entry
    assert entry["DisplayIcon"] == windows_path(target) + "\\vellumor.exe", entry
    assert entry["UninstallString"] == '"%s\\Uninstall.exe"' % windows_path(target), entry

    installed = App(dataclasses.replace(launch, program=os.path.join(target, "vellumor.exe")), desktop, workdir)
    try:
        installed.ready()
        # Wine hands the window's icon to the desktop: the program's own, as drawn for 32 by 32.
        icon = installed.client.window(installed.window).get_full_property(
            installed.client.atom("_NET_WM_ICON"), X.AnyPropertyType)
        drawn = Image.open(os.path.join(build, "windows", "icon-32.png")).convert("RGBA")
        expected = [a << 24 | r << 16 | g << 8 | b for r, g, b, a in drawn.getdata()]
        assert icon is not None and list(icon.value[:2]) == [32, 32] and list(icon.value[2:2 + 32 * 32]) == expected, \
            "the window does not show the program's icon"
        installed.focus()
        installed.key("Escape")
        installed.check_clean_exit()
    finally:
        installed.close()

    # As Apps & features runs it: the uninstaller copies itself away, and
    # that copy removes everything, itself included.
    wine(launch, os.path.join(target, "Uninstall.exe"), "/S")
    wait_until(lambda: not os.path.exists(target), 30, "the installed files to go")
    assert not os.path.exists(shortcuts), "the Start-menu shortcuts stayed"
    assert registry_values(launch, UNINSTALL_KEY) is None, "the entry in Apps & features stayed"


def test_on_a_display_scaled_to_200_percent_the_window_keeps_its_size_sharp(launch, desktop, workdir):
    # A prefix of its own, whose display says 192 dots per inch.
    runner, prefix = launch.prefix
    scaled = dataclasses.replace(launch, prefix=(runner, prefix + "-200-percent"))
    wine(scaled, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
         "/d", "192", "/f")
    app = App(scaled, desktop, workdir)
    try:
        app.ready()
        # The window asked for at (100, 100), 256 by 256, is (200, 200), 512
        # by 512 in the display's pixels: Wine's frame, its title bar
        # scaled too, around a client area drawn to its edges.
        x, y, width, height = app.geometry()
        app.frame = (x - 200, y - 200, 712 - x - width, 712 - y - height)
        left, top, right, bottom = app.frame
        assert left == right == bottom > 0 and top > 2 * bottom, "frame %s: not a 512 by 512 window" % (app.frame,)
        image = app.screenshot("scaled")
        assert image.size == (width, height) and width > 256, "a frame of %s in a %dx%d client area" % (
            image.size, width, height)
        assert count(image, lambda rgb: rgb == (0, 0, 0)) == 0, "part of the client area is not drawn"
        assert near(image.getpixel((width - 3, 3)), CLEAR, 2), "no sky in the top-right corner"

        # Pointer and window in the same pixels: look mode centres the pointer
        # on the whole window, and a move turns the view.
        app.focus()
        app.move_mouse(width // 2, height // 2)
        ahead = app.wait_until_steady()
        app.key("F1")
        wait_until(lambda: app.pointer() == (456, 456), 10, "the pointer at the window's centre (456, 456)")
        app.move_mouse_by(40, 0)
        app.wait_for_change(ahead, 15, "the view to turn")
        app.key("Escape")
        app.check_clean_exit()
    finally:
        app.close()
