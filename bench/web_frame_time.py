#!/usr/bin/python3
"""The web build's frame in headless Chromium beside the desktop program's on
Mesa, same size and view, at every grid unit, in one run, and the size of
what the page downloads:

    web_frame_time.py [--sizes 256x256] [--units 80,40,20,10] [--seconds 6] [--rounds 3] SITE DESKTOP

SITE is the web build's folder (build/web/site), DESKTOP the desktop program
(build/release/src/vellumor). At every size both show the start-up view (the
mover standing still), taking turns round after round, each started afresh
and stepped down the grid units with the 9 key; at every unit, after two
seconds, they are watched for --seconds:
- the page's own work a frame: the time its animation-frame callbacks take
  on the main thread, summed with performance.now() by the page itself (a
  wrapper of requestAnimationFrame the browser installs before the page's
  scripts run), over the animation frames seen; in a Chromium that paces
  its frames as a visitor's does, and in one with neither vsync nor a
  frame-rate limit, whose display compositor then spins a whole core
  between frames, which the page's callbacks have to share;
- the page's frame: the time between its animation frames in the unpaced
  Chromium; WebGL on SwiftShader in both;
- the desktop's frame: the time between its frames as the X server of a
  private Xvfb counts them (DAMAGE).
Prints a Markdown table of the medians over the rounds (their range in
brackets), with the page's work (paced) over the desktop's frame, then the
gzipped size of what the page downloads.
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
from frame_rate import WARM_UP_SECONDS  # noqa: E402
from harness.app import App  # noqa: E402
from harness.program import Launch  # noqa: E402
from harness.waiting import wait_until  # noqa: E402
from harness.xserver import XServer  # noqa: E402

UNPACED = ["--disable-gpu-vsync", "--disable-frame-rate-limit"]
DOWNLOADED = ("index.html", "page.js", "vellumor.js", "vellumor.wasm")

# Every animation-frame callback timed where it runs; an animation frame is
# counted once, however many callbacks it runs (the tests' frame counter
# adds one of its own).
TIME_CALLBACKS = """(() => {
  const request = window.requestAnimationFrame.bind(window);
  const work = window.vellumorWork = {ms: 0, frames: 0, last: -1};
  window.requestAnimationFrame = (callback) => request((now) => {
    if (now !== work.last) { work.last = now; work.frames += 1; }
    const start = performance.now();
    try { callback(now); } finally { work.ms += performance.now() - start; }
  });
})();"""
READ_WORK = "const w = window.vellumorWork; return [w.ms, w.frames];"


def watch(seconds, read):
    """(per-frame work in ms or None, ms between frames) over `seconds`,
    from read() giving (work ms so far or None, frames so far)."""
    time.sleep(WARM_UP_SECONDS)
    (work0, frames0), start = read(), time.monotonic()
    time.sleep(seconds)
    (work1, frames1), elapsed = read(), time.monotonic() - start
    frames = max(frames1 - frames0, 1)
    return (None if work0 is None else (work1 - work0) / frames), 1000 * elapsed / frames


def page_round(site, size, units, seconds, flags):
    browser = Browser(extra_flags=flags)
    try:
        browser.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": TIME_CALLBACKS})
        page = open_page(browser, site.url)
        page.resize(*size)
        wait_until(lambda: page.screenshot().size == size, 30, "the canvas to take %dx%d" % size)
        found = []
        for step, _ in enumerate(units):
            if step:
                page.key("9")
            found.append(watch(seconds, lambda: tuple(page.script(READ_WORK))))
        return found
    finally:
        browser.close()


def desktop_round(launch, display, size, units, seconds, workdir):
    app = App(launch, display, workdir)
    try:
        app.ready()
        app.resize(*size)
        app.focus()
        app.wait_until_steady()
        found = []
        for step, _ in enumerate(units):
            if step:
                app.key("9")
            found.append(watch(seconds, lambda: (None, app.frames()))[1])
        return found
    finally:
        app.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--sizes", default="256x256")
    parser.add_argument("--units", default="80,40,20,10", help="each half the one before, from 80")
    parser.add_argument("--seconds", type=float, default=6)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("site")
    parser.add_argument("desktop")
    args = parser.parse_args()
    sizes = [tuple(int(n) for n in size.split("x")) for size in args.sizes.split(",")]
    units = [int(u) for u in args.units.split(",")]
    if any(u != 80 // 2 ** i for i, u in enumerate(units)):
        parser.error("--units steps down from 80 by halves, as the 9 key does")
    desktop = Launch(program=os.path.abspath(args.desktop))
    site = Site(os.path.abspath(args.site))
    print("| size | grid unit | the page's work a frame | the same, unpaced | the page's frame, unpaced "
          "| the desktop's frame | page's work / desktop's frame |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    try:
        with XServer() as server, tempfile.TemporaryDirectory(prefix="vellumor-fps-") as workdir:
            for size in sizes:
                rounds = []
                for _ in range(args.rounds):
                    rounds.append((desktop_round(desktop, server.display, size, units, args.seconds, workdir),
                                   page_round(site, size, units, args.seconds, ()),
                                   page_round(site, size, units, args.seconds, UNPACED)))
                for i, unit in enumerate(units):
                    on_desktop = [r[0][i] for r in rounds]
                    work = [r[1][i][0] for r in rounds]
                    unpaced = [r[2][i][0] for r in rounds]
                    frame = [r[2][i][1] for r in rounds]
                    ratio = statistics.median(w / d for w, d in zip(work, on_desktop))

                    def shown(values):
                        return "%.1f ms (%.1f–%.1f)" % (statistics.median(values), min(values), max(values))
                    print("| %dx%d | %d | %s | %s | %s | %s | %.2f |" % (
                        size[0], size[1], unit, shown(work), shown(unpaced), shown(frame), shown(on_desktop), ratio),
                        flush=True)
    finally:
        site.close()
    total = 0
    print()
    for name in DOWNLOADED:
        with open(os.path.join(args.site, name), "rb") as f:
            data = f.read()
        packed = len(gzip.compress(data, 9))
        total += packed
        print("%-14s %8d bytes, %7d gzipped" % (name, len(data), packed))
    print("%-14s %8s        %7d gzipped (%.1f KB)" % ("together", "", total, total / 1024))
    return 0


if __name__ == "__main__":
    sys.exit(main())
