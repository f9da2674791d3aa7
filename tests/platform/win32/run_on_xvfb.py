"""Runs a command on a private Xvfb and exits with its status:

    run_on_xvfb.py COMMAND [ARGUMENTS...]

The server picks a free display number itself (-displayfd), so runs side by
side never race for one. It ends with the command.
"""

import os
import subprocess
import sys


def start_server():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"],
        pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    with os.fdopen(read_end, "rb") as announced:
        while not number.endswith(b"\n"):
            chunk = announced.read(1)
            if not chunk:
                server.kill()
                sys.exit("run_on_xvfb: Xvfb did not start")
            number += chunk
    return server, ":" + number.decode().strip()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    server, display = start_server()
    env = dict(os.environ, DISPLAY=display)
    env.pop("WAYLAND_DISPLAY", None)
    try:
        return subprocess.call(sys.argv[1:], env=env)
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    sys.exit(main())
