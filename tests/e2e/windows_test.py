"""The Windows build as a Windows user meets it, under Wine: installed and
removed by its installer, started from a console and without one, and on a
display scaled to 200 %."""

import ctypes
import dataclasses
import filecmp
import glob
import os
import pty
import random
import re
import signal
import subprocess
import threading
import time

import pytest
from PIL import Image
from Xlib import X

from harness.app import App
from harness.pictures import CLEAR, check_scales, count, near
from harness.program import environment
from harness.waiting import wait_until
from harness.xclient import XClient
from harness.xserver import XServer, end

UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellumor"
START_MENU = "drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vellumor"
NO_OPENGL = ("-extension", "GLX")  # Wine finds no OpenGL there: the program cannot start
SYS_TGKILL = 234  # on x86-64


@pytest.fixture(autouse=True)
def windows_build(launch):
    if not launch.windows:
        pytest.skip("the Windows build's own")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(launch, *arguments):
    return subprocess.run([*launch.prefix, *arguments], env=environment(launch, None), check=True,
                          stdin=subprocess.DEVNULL, capture_output=True, text=True, errors="replace")


def uninstall_entry(launch):
    """The values of the program's entry in Apps & features; None without one."""
    try:
        listing = wine(launch, "reg", "query", UNINSTALL_KEY).stdout
    except subprocess.CalledProcessError:
        return None
    return dict(re.findall(r"^\s+(\S+)\s+REG_\w+\s+(.*?)\r?$", listing, re.MULTILINE))


class Console:
    """The program started from a Windows console: Wine's cmd on a terminal of
    its own runs `start /wait`, which ends with the program's exit code."""

    def __init__(self, launch, display):
        self.program, self.display = launch.program, display
        terminal, attached = pty.openpty()
        self.process = subprocess.Popen([*launch.prefix, "cmd", "/c", "start", "/wait", windows_path(launch.program)],
                                        env=environment(launch, display), stdin=attached, stdout=attached,
                                        stderr=attached, start_new_session=True)
        os.close(attached)
        self.shown = []
        threading.Thread(target=self._drain, args=(terminal,), daemon=True).start()

    def _drain(self, terminal):
        try:
            while piece := os.read(terminal, 4096):
                self.shown.append(piece)
        except OSError:
            pass  # every program on the terminal has ended
        os.close(terminal)

    def text(self):
        return b"".join(self.shown).decode(errors="replace")

    def program_process(self):
        """The program's process: Wine shows a Windows command line as the process's own."""
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                command, variables = (open("/proc/%s/%s" % (pid, name), "rb").read() for name in ("cmdline", "environ"))
            except OSError:
                continue
            if command.startswith(windows_path(self.program).encode()) and \
                    b"\0DISPLAY=%s\0" % self.display.encode() in b"\0" + variables:
                return int(pid)
        return None

    def close(self):
        if self.process.poll() is None:  # cmd, start and the program: one process group
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()


def press_ctrl_c(pid):
    """Ctrl+C as Wine hands it on: a SIGINT to the main thread, whose handler
    starts a thread. That start takes malloc's lock, so a signal landing while
    llvmpipe holds it hangs the program for good (Wine's fault): it is sent
    while the program is stopped with its main thread outside libc and ld.so."""
    library = [tuple(int(end, 16) for end in line.split()[0].split("-")) for line in open("/proc/%d/maps" % pid)
               if re.search(r"/(libc\.so|ld-linux)", line)]
    for _ in range(500):
        os.kill(pid, signal.SIGSTOP)
        wait_until(lambda: open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()[0] == "T", 10,
                   "the program to stop", interval=0.001)
        at = int(open("/proc/%d/syscall" % pid).read().split()[-1], 16)  # the main thread's next instruction
        if not any(low <= at < high for low, high in library):
            assert ctypes.CDLL(None).syscall(SYS_TGKILL, pid, pid, signal.SIGINT) == 0
            return os.kill(pid, signal.SIGCONT)
        os.kill(pid, signal.SIGCONT)
        time.sleep(random.uniform(0.001, 0.02))
    raise AssertionError("the program's main thread was always inside the C library")


def test_started_from_a_console_ctrl_c_ends_it(launch, desktop):
    console, client = Console(launch, desktop), XClient(desktop)
    try:
        wait_until(lambda: client.find_window(launch.window_class), 30, "the program's window")
        press_ctrl_c(wait_until(console.program_process, 10, "the program's process"))
        assert console.process.wait(30) == 0
        assert "vellumor" not in console.text(), "the program wrote to the console: %r" % console.text()
    finally:
        client.close()
        console.close()


def test_started_from_a_console_a_start_up_failure_is_told_there(launch):
    with XServer(options=NO_OPENGL) as server:
        console = Console(launch, server.display)
        try:
            assert console.process.wait(60) == 1
            wait_until(lambda: "vellumor: no OpenGL context" in console.text(), 10, "the failure in the console")
            # Wine's ChoosePixelFormat fails there without setting an error: none may be reported.
            line = console.text().replace("\r\r\n", "")  # as the 80-column terminal wrapped it
            assert "; install or update the graphics driver" in line and "Windows error" not in line, line
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
            assert client.titles(box)[1] == "Vellumor"
            client.close_request(box)
            assert process.wait(30) == 1
        finally:
            client.close()
            end(process)


def test_installer_installs_runs_and_uninstalls(launch, desktop, workdir):
    build = os.path.dirname(os.path.dirname(launch.program))
    subprocess.run(["cpack", "-G", "NSIS", "--config", os.path.join(build, "CPackConfig.cmake"), "-B", workdir],
                   check=True, capture_output=True)
    installer, = glob.glob(os.path.join(workdir, "vellumor-*.exe"))
    target = os.path.join(workdir, "Vellumor")  # /D= takes no quotes, so no blanks
    shortcuts = os.path.join(launch.prefix[1], START_MENU)

    wine(launch, installer, "/S", "/D=" + windows_path(target))
    assert sorted(os.listdir(target)) == ["README.md", "THIRD-PARTY-NOTICES.txt", "Uninstall.exe", "vellumor.exe"]
    assert filecmp.cmp(os.path.join(target, "vellumor.exe"), launch.program, shallow=False)
    assert sorted(os.listdir(shortcuts)) == ["Uninstall.lnk", "Vellumor.lnk"]
    entry = uninstall_entry(launch) or {}
    assert (entry.get("DisplayName"), entry.get("DisplayVersion"), entry.get("Publisher"), entry.get("DisplayIcon"),
            entry.get("UninstallString")) \
        == ("Vellumor", "0.1.0", "The Vellumor developers", windows_path(target) + "\\vellumor.exe",
            '"%s\\Uninstall.exe"' % windows_path(target))

    installed = App(dataclasses.replace(launch, program=os.path.join(target, "vellumor.exe")), desktop, workdir)
    try:
        installed.ready()
        # The window's icon, as Wine hands it to the desktop, is the program's own at 32 by 32.
        icon = installed.client.window(installed.window).get_full_property(
            installed.client.atom("_NET_WM_ICON"), X.AnyPropertyType)
        drawn = Image.open(os.path.join(build, "windows", "icon-32.png")).convert("RGBA")
        assert icon is not None and list(icon.value[:2 + 32 * 32]) == \
            [32, 32] + [a << 24 | r << 16 | g << 8 | b for r, g, b, a in drawn.getdata()]
        installed.focus()
        installed.key("Escape")
        installed.check_clean_exit()
    finally:
        installed.close()

    # As Apps & features runs it: the uninstaller copies itself away, and the
    # copy removes everything, the uninstaller too.
    wine(launch, os.path.join(target, "Uninstall.exe"), "/S")
    wait_until(lambda: not os.path.exists(target), 30, "the installed files to go")
    assert not os.path.exists(shortcuts) and uninstall_entry(launch) is None


def scaled_display(launch, dpi):
    """The launch in a prefix of its own whose display has `dpi` dots per inch."""
    if dpi == 96:
        return launch
    runner, prefix = launch.prefix
    scaled = dataclasses.replace(launch, prefix=(runner, prefix + "-%d-percent" % (dpi * 100 // 96)))
    wine(scaled, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
    return scaled


def test_on_a_scaled_display_the_window_and_overlay_are_larger(launch, desktop, workdir):
    def picture(scale):
        app = App(scaled_display(launch, round(96 * scale)), desktop, workdir)
        try:
            return app.ready().wait_until_steady()
        finally:
            app.close()
    check_scales((1, 1.5, 2), picture)


def test_on_a_display_scaled_to_200_percent_the_window_keeps_its_size_sharp(launch, desktop, workdir):
    app = App(scaled_display(launch, 192), desktop, workdir)
    try:
        app.ready()
        # Asked for at (100, 100), 256 by 256: (200, 200), 512 by 512 in the
        # display's pixels, Wine's frame (its title bar scaled too) around a
        # client area drawn to its edges.
        x, y, width, height = app.geometry()
        app.frame = left, top, right, bottom = (x - 200, y - 200, 712 - x - width, 712 - y - height)
        assert left == right == bottom > 0 and top > 2 * bottom, "frame %s: not a 512 by 512 window" % (app.frame,)
        image = app.screenshot("scaled")
        assert image.size == (width, height) and count(image, lambda rgb: rgb == (0, 0, 0)) == 0
        assert near(image.getpixel((width - 3, 3)), CLEAR, 2), "no sky in the top-right corner"
        # Pointer and window in the same pixels: look mode centres the pointer on the window.
        app.focus()
        app.move_mouse(width // 2, height // 2)
        ahead = app.wait_until_steady()
        app.key("F1")
        wait_until(lambda: app.pointer() == (456, 456), 10, "the pointer at the window's centre (456, 456)")
        app.move_mouse_by(40, 0)
        app.wait_for_change(ahead, 15, "the view to turn")
    finally:
        app.close()
