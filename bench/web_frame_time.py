"""Frame time of the web build in headless Chromium beside the desktop
program on Mesa, same size and view, in one run, and the size of what the
page downloads:

    web_frame_time.py [--sizes 256x256,640x480] [--seconds 8] [--rounds 3] SITE DESKTOP

SITE is the web build's folder (build/web/site), DESKTOP the desktop program
(build/release/src/vellumor). At every size both show the start-up view (the
mover standing still), taking turns round after round, each started afresh;
after two seconds their frames are counted for --seconds: the desktop's by
the X server of a private Xvfb (DAMAGE), the page's by its animation frames
in a Chromium with neither vsync nor a frame-rate limit, WebGL on SwiftShader.
Prints the median time per frame of the rounds and their range, and the
page's over the desktop's. Then the gzipped size of vellumor.js and
vellumor.wasm.
"""

import argparse
import gzip
import os
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "browser"))

from browser import Browser, Site, open_page  # noqa: E402
from frame_rate import WARM_UP_SECONDS, frame_rate  # noqa: E402
from harness.program import Launch  # noqa: E402
from harness.waiting import wait_until  # noqa: E402
from harness.xserver import XServer  # noqa: E402

UNPACED = ["--disable-gpu-vsync", "--disable-frame-rate-limit"]


def page_frame_rate(site, size, seconds):
    browser = Browser(extra_flags=UNPACED)
    try:
        page = open_page(browser, site.url)
        page.resize(*size)
        wait_until(lambda: page.screenshot().size == size, 30, "the canvas to take %dx%d" % size)
        time.sleep(WARM_UP_SECONDS)
        first, start = page.frames(), time.monotonic()
        time.sleep(seconds)
        return (page.frames() - first) / (time.monotonic() - start)
    finally:
        browser.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--sizes", default="256x256,640x480")
    parser.add_argument("--seconds", type=float, default=8)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("site")
    parser.add_argument("desktop")
    args = parser.parse_args()
    sizes = [tuple(int(n) for n in size.split("x")) for size in args.sizes.split(",")]
    desktop = Launch(program=os.path.abspath(args.desktop))
    site = Site(os.path.abspath(args.site))
    try:
        with XServer() as server:
            for size in sizes:
                times = {"desktop": [], "web": []}
                for _ in range(args.rounds):
                    times["desktop"].append(1000 / frame_rate(desktop, server.display, size, args.seconds))
                    times["web"].append(1000 / page_frame_rate(site, size, args.seconds))
                ratio = statistics.median(w / d for w, d in zip(times["web"], times["desktop"]))
                for name, found in times.items():
                    print("%dx%d %-7s %6.2f ms a frame (%.2f to %.2f over %d rounds)" % (
                        size[0], size[1], name, statistics.median(found), min(found), max(found), len(found)))
                print("%dx%d the page takes %.2f times the desktop's time a frame" % (size[0], size[1], ratio))
    finally:
        site.close()
    total = 0
    for name in ("vellumor.js", "vellumor.wasm"):
        with open(os.path.join(args.site, name), "rb") as f:
            data = f.read()
        packed = len(gzip.compress(data, 9))
        total += packed
        print("%-14s %7d bytes, %6d gzipped" % (name, len(data), packed))
    print("%-14s %7s        %6d gzipped" % ("together", "", total))
    return 0


if __name__ == "__main__":
    sys.exit(main())
