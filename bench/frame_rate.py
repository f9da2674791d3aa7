#!/usr/bin/python3
"""Frames per second of vellumor programs side by side, on one private Xvfb,
counted by the X server (DAMAGE) without touching the programs:

    frame_rate.py [--sizes 256x256,640x480] [--seconds 8] [--rounds 3] COMMAND...

Each COMMAND is one program as a shell would start it, the program last, for
example build/release/src/vellumor, or, for the Windows build under Wine,
"cmake/wine-run.sh build/windows/wine-prefix build/windows/src/vellumor.exe".
For every size the programs take turns, round after round, each started
afresh with its client area resized to that size, showing the start-up view
(the mover standing still); after two seconds its frames are counted for
--seconds. Prints the median of the rounds and their range, and for every
program after the first the median of its rounds' ratios to the first's,
which a machine whose load changes from round to round disturbs less.
"""

import argparse
import os
import shlex
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from harness.app import App  # noqa: E402
from harness.program import Launch  # noqa: E402
from harness.xserver import XServer  # noqa: E402

WARM_UP_SECONDS = 2


def frame_rate(launch, display, size, seconds):
    with tempfile.TemporaryDirectory(prefix="vellumor-fps-") as workdir:
        app = App(launch, display, workdir)
        try:
            app.ready()
            app.resize(*size)
            app.wait_until_steady()
            time.sleep(WARM_UP_SECONDS)
            first, start = app.frames(), time.monotonic()
            time.sleep(seconds)
            return (app.frames() - first) / (time.monotonic() - start)
        finally:
            app.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--sizes", default="256x256,640x480")
    parser.add_argument("--seconds", type=float, default=8)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("commands", nargs="+")
    args = parser.parse_args()
    launches = []
    for command in args.commands:
        *prefix, program = shlex.split(command)
        launches.append((command, Launch(program=os.path.abspath(program), prefix=tuple(prefix))))
    sizes = [tuple(int(n) for n in size.split("x")) for size in args.sizes.split(",")]
    with XServer() as server:
        for size in sizes:
            rates = [[] for _ in launches]
            for _ in range(args.rounds):
                for found, (_, launch) in zip(rates, launches):
                    found.append(frame_rate(launch, server.display, size, args.seconds))
            for found, (command, _) in zip(rates, launches):
                ratio = statistics.median(f / b for f, b in zip(found, rates[0]))
                print("%dx%d %6.1f fps (%.1f to %.1f over %d rounds), %.2f of the first  %s" % (
                    size[0], size[1], statistics.median(found), min(found), max(found), len(found), ratio,
                    command))
    return 0


if __name__ == "__main__":
    sys.exit(main())
