"""Xvfb on a free display of its own."""

import os
import random
import select
import subprocess
import time

SCREEN = "1024x768x24"


class XServer:
    """An Xvfb server, ready for clients once built; close() ends it.
    options go to Xvfb as they are, such as ("-extension", "GLX") for a
    display without OpenGL."""

    def __init__(self, screen=SCREEN, options=()):
        self.process = None
        self.display = None
        # A random display number well above those people start by hand
        # (:0, :1, :99), so that a server started with a fixed number
        # elsewhere does not meet ours; taken numbers make Xvfb exit, and
        # another is tried.
        for _ in range(8):
            number = random.randrange(200, 3000)
            if os.path.exists("/tmp/.X%d-lock" % number):
                continue
            if self._try(number, screen, options):
                self.display = ":%d" % number
                return
        raise AssertionError("Xvfb could not start on a free display")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _try(self, number, screen, options):
        read_end, write_end = os.pipe()
        try:
            # -noreset: a server that resets when its last client leaves
            # refuses, now and then, a client that connects just then.
            self.process = subprocess.Popen(
                ["Xvfb", ":%d" % number, "-displayfd", str(write_end), "-screen", "0", screen,
                 "-nolisten", "tcp", "-noreset", *options],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL)
        except FileNotFoundError:
            raise AssertionError("Xvfb is not installed (scripts/deps installs it)") from None
        finally:
            os.close(write_end)
        try:
            # Xvfb writes the number once it accepts clients, or exits.
            reported = b""
            deadline = time.monotonic() + 15
            while not reported.endswith(b"\n"):
                ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
                assert ready, "Xvfb did not report its display"
                piece = os.read(read_end, 16)
                if not piece:
                    break
                reported += piece
        finally:
            os.close(read_end)
        if reported.strip() == str(number).encode():
            return True
        self.close()
        return False

    def close(self):
        if self.process is not None:
            end(self.process)
            self.process = None


def end(process, grace=5):
    """Terminates a process, killing it if it has not ended after grace seconds."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
