"""The program under a long stream of random real input, and its clean end.

VELLUMOR_SOAK_SECONDS sets how long the random input lasts (45 s unless
set); VELLUMOR_SOAK_SEED repeats a run, whose seed is printed.

Under a build with AddressSanitizer the program also checks for leaks at its
end (LeakSanitizer, with lsan.supp for the system's libraries): a clean exit
with nothing on stderr is then a leak check too.
"""

import os
import random
import subprocess
import threading
import time

import pytest

from harness.pictures import diff_count, overlay_line_box, same_scene
from harness.program import sanitizer_environment
from harness.waiting import wait_until

ORADIUS_LINE = 6
WARM_UP_SECONDS = 10
# Past the warm-up, resident memory may rise by this much over its highest
# warm-up value: the allocator's and the GL driver's own pools wander by a few
# tens of MB as the views change. Growth by the frame would pass it within seconds.
RSS_GROWTH_LIMIT_MB = 64
# AddressSanitizer holds freed memory back for a while to catch late uses, up
# to 256 MB by default; the GL driver's churn fills that in seconds, and it
# would hide the program's own memory. A smaller quarantine still catches the
# late use of anything the program frees within a frame or so.
SOAK_ENVIRONMENT = {"ASAN_OPTIONS": sanitizer_environment()["ASAN_OPTIONS"] + ":quarantine_size_mb=16"}
PROBE_EVERY_SECONDS = 5
RESPONSE_TIMEOUT = 30


def sanitized(program):
    """True when the program is built with AddressSanitizer (and so with LeakSanitizer)."""
    try:
        linked = subprocess.run(["ldd", program], capture_output=True, timeout=10).stdout
    except (OSError, subprocess.TimeoutExpired):
        linked = b""
    if b"libasan" in linked:
        return True
    with open(program, "rb") as binary:
        return b"__asan_init" in binary.read()


class MemoryWatch:
    """Samples the program's VmRSS a few times a second on a thread of its own."""

    def __init__(self, app):
        self.app = app
        self.samples = []  # (seconds since start, KiB)
        self.start = time.monotonic()
        self.stopped = threading.Event()
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _run(self):
        while not self.stopped.wait(0.25):
            rss = self.app.rss_kb()
            if rss is not None:
                self.samples.append((time.monotonic() - self.start, rss))

    def stop(self):
        self.stopped.set()
        self.thread.join()

    def peak(self, since=0.0, until=float("inf")):
        values = [kb for t, kb in self.samples if since <= t < until]
        return max(values) if values else None


class Driver:
    """Random input within bounds that keep the frames affordable: the grid
    unit never goes below half its start, the field of view stays between 40
    and 90 degrees and the octaves below 5, so the grid stays small enough for
    a sanitizer build to go on drawing several frames a second."""

    HELD = ["w", "a", "s", "d", "space"]
    FREE_KEYS = ["g", "f", "b", "v", "u", "y", "x", "Return", "KP_5"]  # unbounded steps, unbound keys

    def __init__(self, app, rng):
        self.app = app
        self.rng = rng
        self.look_mode = False
        self.unit_level = 0  # doublings of the grid unit
        self.fov = 65
        self.octaves = 2
        self.counts = {}

    def step(self):
        actions = [(self.hold, 6), (self.tune, 5), (self.switch_view, 2), (self.move, 4),
                   (self.wheel, 2), (self.drag, 2)]
        action = self.rng.choices([a for a, _ in actions], [w for _, w in actions])[0]
        self.counts[action.__name__] = self.counts.get(action.__name__, 0) + 1
        action()

    def hold(self):
        keys = self.rng.sample(self.HELD, self.rng.choice([1, 1, 1, 2]))
        for key in keys:
            self.app.key_down(key)
            time.sleep(self.rng.uniform(0.0, 0.2))
        time.sleep(self.rng.uniform(0.05, 0.6))
        for key in keys:
            self.app.key_up(key)

    def tune(self):
        options = list(self.FREE_KEYS)
        if self.unit_level < 2:
            options.append("0")
        if self.unit_level > -1:
            options.append("9")
        if self.fov > 40:
            options.append("1")
        if self.fov < 90:
            options.append("2")
        if self.octaves < 4:
            options.append("t")
        if self.octaves > -1:
            options.append("r")
        key = self.rng.choice(options)
        self.unit_level += {"0": 1, "9": -1}.get(key, 0)
        self.fov += {"1": -1, "2": 1}.get(key, 0)
        self.octaves += {"t": 1, "r": -1}.get(key, 0)
        self.app.key(key)

    def switch_view(self):
        key = self.rng.choice(["F1", "F2", "F3", "F4"])
        self.app.key(key)
        self.look_mode = key == "F1"

    def move(self):
        if self.look_mode:
            # Relative moves turn the view; the program puts the pointer back.
            self.app.move_mouse_by(self.rng.randint(-90, 90), self.rng.randint(-60, 60))
        else:
            self.app.move_mouse(*self.point())

    def wheel(self):
        if not self.look_mode:
            self.app.move_mouse(*self.point())
        self.app.wheel(self.rng.choice([-3, -2, -1, 1, 2, 3]))

    def drag(self):
        if self.look_mode:
            # Buttons do nothing in look mode; the pointer stays where it is.
            self.app.click(1)
            return
        self.app.drag(self.point(), self.point(), steps=self.rng.randint(1, 6))

    def point(self):
        _, _, width, height = self.app.geometry()
        return self.rng.randrange(2, width - 2), self.rng.randrange(2, height - 2)

    def probe(self):
        """The program still answers: once the mover is stopped and the picture
        holds still, a wheel step shows on the "oradius" line. Returns seconds."""
        began = time.monotonic()
        steady = self.app.stop(RESPONSE_TIMEOUT)
        if not self.look_mode:
            self.app.move_mouse(*self.point())
        self.app.wheel(self.rng.choice([-1, 1]))
        box = overlay_line_box(ORADIUS_LINE)
        self.app.wait_for_change(steady, RESPONSE_TIMEOUT, "the wheel to show on the \"oradius\" line",
                                 differs=lambda old, new: diff_count(new, old, box) > 0)
        return time.monotonic() - began


@pytest.mark.program_env(**SOAK_ENVIRONMENT)
def test_random_input(app):
    seconds = float(os.environ.get("VELLUMOR_SOAK_SECONDS", "45"))
    assert 0 < seconds < 300, "VELLUMOR_SOAK_SECONDS should be between 0 and 300, not %g" % seconds
    seed = int(os.environ.get("VELLUMOR_SOAK_SEED", str(random.randrange(1 << 32))))
    print("seed %d (VELLUMOR_SOAK_SEED=%d repeats it), %g s of input" % (seed, seed, seconds))
    rng = random.Random(seed)

    app.focus()
    app.move_mouse(128, 128)
    memory = MemoryWatch(app)
    driver = Driver(app, rng)
    warm_up = min(WARM_UP_SECONDS, seconds / 3)
    try:
        # Every view and the largest grid the driver allows, while the
        # memory's warm-up level is taken.
        for key in ("F4", "F2", "F3", "9", "F1", "0"):
            before = app.screenshot()
            app.key(key)
            app.wait_for_change(before, RESPONSE_TIMEOUT, "the view after %s" % key,
                                differs=lambda old, new: not same_scene(new, old) or
                                diff_count(new, old, (0, overlay_line_box(1)[1], new.width, new.height)) > 0)
        driver.look_mode = True
        deadline = memory.start + seconds
        next_probe = time.monotonic() + PROBE_EVERY_SECONDS
        responses = []
        while time.monotonic() < deadline:
            app.check_running()
            driver.step()
            if time.monotonic() >= next_probe:
                responses.append(driver.probe())
                next_probe = time.monotonic() + PROBE_EVERY_SECONDS
        responses.append(driver.probe())
    finally:
        memory.stop()

    baseline = memory.peak(until=warm_up)
    later = memory.peak(since=warm_up)
    assert baseline is not None and later is not None, "too few memory samples"
    print("actions %s" % sorted(driver.counts.items()))
    print("probes answered in %.1f s at most (%d probes)" % (max(responses), len(responses)))
    print("VmRSS: %.0f MB highest in the first %.0f s, %.0f MB highest after"
          % (baseline / 1024, warm_up, later / 1024))
    assert later - baseline < RSS_GROWTH_LIMIT_MB * 1024, "resident memory grew by %.0f MB after the warm-up: %s" % (
        (later - baseline) / 1024, [(round(t), kb // 1024) for t, kb in memory.samples[::8]])

    app.focus()
    app.key("Escape")
    app.check_clean_exit(timeout=60)


def test_clean_exit_without_leaks(app, launch):
    """Start, a short flight in every view, Escape: exit code 0 and nothing on
    stderr, where LeakSanitizer would report a leak."""
    app.focus()
    app.move_mouse(20, 20)
    for key in ("F4", "F2", "F3", "F1"):
        app.key(key)
    # F1 has been handled once it has taken the pointer to the window's centre.
    centre = app.window_centre()
    wait_until(lambda: app.pointer() == centre, RESPONSE_TIMEOUT, "the pointer at the window's centre")
    before = app.wait_until_steady()
    app.key_down("w")
    try:
        app.wait_for_change(before, RESPONSE_TIMEOUT, "the view to move while W is held")
    finally:
        app.key_up("w")
    app.key("9", "t", "0", "r")
    app.key("Escape")
    app.check_clean_exit(timeout=60)
    if not sanitized(launch.program):
        print("not built with AddressSanitizer: the exit is checked, not leaks")
