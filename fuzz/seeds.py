#!/usr/bin/env python3
"""Writes the named seed inputs of the fuzzers into fuzz/corpus/<target>/.

The seeds spell out, in each fuzzer's input encoding, the cases worth
starting from: the window procedure's pointer modes and key table, the grid's
and the height function's known values and extremes. The rest of each corpus
is what the fuzzers found, merged in with -merge=1 (files named by hash).
Run this again after changing an encoding (testing/byte_reader.h and the
targets' readers).
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
INF = math.inf
NAN = math.nan
MAX = 1.7976931348623157e308

# Input::Number's special values, in order.
SPECIALS = [
    0.0, -0.0, 1.0, -1.0, 0.5, -0.5, 2.0, 80.0, 230.0, 0.0011, 0.1, 0.9, 1.5, 3.0,
    INF, -INF, NAN, -NAN, MAX, -MAX, 5e-324, -5e-324, 2.2250738585072014e-308, 0.9999999999999999,
    1.0000000000000002, 2147483647.0, 2147483648.0, -2147483648.0, -2147483649.0, 4294967296.0, 4294967295.5,
    9007199254740992.0, 9007199254740992.0, 18014398509481984.0, 9.2233720368547758e18,
    1e15, 1e300, -1e300, 1e-300, 2.0 ** -56, 2.0 ** -900, 2.0 ** 970, 2.0 ** 1012, 4096.0, 4097.5, 0.25, -0.25,
    0.75, 1.0 / 3.0, 3.141592653589793, 57.0, 58.0, 65.0, 180.0, 9000.0, 1500.0, 1e12, -1e12, 3e17,
    1.7e308 / 9000.0]


def number(x):
    """The shortest spelling of x for Input::Number."""
    for i, s in enumerate(SPECIALS):
        if struct.pack("<d", s) == struct.pack("<d", x):
            return bytes([i])
    if math.isfinite(x) and x * 16 == int(x * 16) and -32768 <= x * 16 <= 32767:
        return bytes([0x40]) + struct.pack("<h", int(x * 16))
    return bytes([0xC0]) + struct.pack("<d", x)


def u32(n):
    return struct.pack("<I", n & 0xFFFFFFFF)


# Window procedure ---------------------------------------------------------------

KEYS = ["0", "1", "2", "9", "B", "F", "G", "R", "T", "U", "V", "Y", "F1", "F2", "F3", "F4",
        "A", "D", "W", "S", "Space", "Escape"]


def key_down(name, repeat=False):
    return bytes([1 if repeat else 0, KEYS.index(name)])


def key_up(name):
    return bytes([2, KEYS.index(name)])


def near(op, x, y):
    """An event with coordinates near the window (form 0): x = 2 * byte - 100."""
    return bytes([op, (x + 100) // 2, (y + 100) // 2])


def word(op, x, y):
    """An event with 16-bit coordinates, as in a window message (form 1 for x and y)."""
    return bytes([op | 0x50]) + struct.pack("<hh", x, y)


def move(x, y):
    return near(3, x, y)


def recentre():
    return bytes([4])


def button_down(x, y):
    return near(5, x, y)


def button_up(x, y):
    return near(6, x, y)


def wheel(delta):
    return bytes([0x17]) + struct.pack("<h", delta)


def activate():
    return bytes([8])


def switch_away():
    return bytes([9])


def capture_lost():
    return bytes([10])


def size(w, h):
    return word(11, w, h)


def client_moved(x, y):
    return word(12, x, y)


def paint(step=16):
    return bytes([0x1D, step]) if step < 256 else bytes([0x2D]) + u32(step)


WINDOW = {
    "look-around-and-back": key_down("F1") + move(150, 100) + paint() + recentre() + move(10, 200) + paint()
    + key_down("F1") + key_down("F2") + paint(),
    "drag-pans-the-orthographic-views": key_down("F4") + button_down(50, 50) + move(90, 20) + paint()
    + move(-30, 400) + paint() + button_up(0, 0) + key_down("F3") + button_down(1, 1) + move(200, 5)
    + capture_lost() + paint(),
    "switch-away-in-look-mode": key_down("F1") + switch_away() + move(5, 5) + activate() + move(100, 100)
    + capture_lost() + key_down("F1") + paint(),
    "look-mode-during-a-drag": button_down(40, 40) + key_down("F1") + move(70, 70) + key_down("F2") + paint(),
    "wheel-notches": wheel(60) + wheel(60) + wheel(150) + wheel(-240) + wheel(60) + wheel(-60) + key_down("F2")
    + paint(),
    "every-table-key": b"".join(key_down(k) + key_up(k) + paint() for k in KEYS[:16]),
    "held-keys-fly": key_down("W") + paint(1000) + key_down("W", repeat=True) + key_down("A") + paint(1000)
    + key_down("W") + paint() + key_up("W") + key_down("D") + paint() + key_down("Space") + key_up("A")
    + paint(),
    "minimised-and-moved-off-screen": size(0, 0) + paint() + client_moved(-300, -20) + key_down("F1")
    + word(3, -250, 10) + size(32767, 1) + paint(),
    "clock-wraps": paint(0) + paint(2 ** 31) + paint(0xFFFFFFFF) + paint(1),
    "escape-at-once": key_down("Escape"),
}

# A host's events through the emulation (the same bytes read as host events):
# 0xE5 a host that warps the pointer, 0xE6 one where look mode runs on
# relative motion (op 13: dx, dy in quarter pixels).
WARPING, RELATIVE = b"\xe5", b"\xe6"


def relative(dx, dy):
    return bytes([13, dx & 0xFF, dy & 0xFF])


def host_wheel(byte, form=0):
    return bytes([7 | form << 4, byte & 0xFF])


WINDOW.update({
    "host-keys-across-focus-changes": WARPING + key_down("W") + key_down("T") + switch_away() + key_up("T")
    + activate() + key_down("W") + key_up("W") + key_up("T") + size(200, 100) + size(200, 100) + paint(),
    "host-relative-look": RELATIVE + key_down("F1") + relative(12, -8) + relative(1, 1) + paint()
    + switch_away() + relative(5, 5) + activate() + relative(-3, 0) + key_down("F4") + paint(),
    "host-drag-and-wheel-fractions": WARPING + key_down("F4") + button_down(50, 50) + move(70, 40)
    + capture_lost() + capture_lost() + host_wheel(100) + host_wheel(-3, 5) + host_wheel(90) + paint(),
})


# Grid ---------------------------------------------------------------------------------

def grid(unit=80.0, octaves=2.0, amp=230.0, freq=0.0011, h=0.5, x=(-400.0, 20), z=(-300.0, 16), y=None):
    """x, z: (min, width in quarter units) or (min, max) as floats; y: (min, max) or None."""
    shape = 0
    out = number(unit) + number(octaves) + number(amp) + number(freq) + number(h)
    extents = b""
    for bits, (lo, extent) in ((3, x), (12, z)):
        if isinstance(extent, int):
            extents += number(lo) + bytes([extent * 4 if extent < 64 else 255])
        else:
            shape |= bits
            extents += number(lo) + number(extent)
    if y is not None:
        shape |= 48
        extents += number(y[0]) + number(y[1])
    return out + bytes([shape]) + extents


GRID = {
    "default-parameters": grid(),
    "box-0-to-100": grid(x=(0.0, 100.0), z=(0.0, 100.0)),
    "box-170-either-side": grid(x=(-170.0, 170.0), z=(-170.0, 170.0)),
    "three-rows-none-drawn": grid(x=(10.0, 0), z=(10.0, 0)),
    "flat-below-one-octave": grid(octaves=0.5),
    "far-beyond-32-bit-cells": grid(x=(5e12, 20), z=(-4e13, 20), octaves=4.0, freq=-0.0021, h=-0.7),
    "nan-amplitude": grid(amp=NAN),
    "infinite-h": grid(octaves=12.0, h=INF),
    "amplitude-overflows": grid(octaves=12.0, amp=1e300, h=1e10),
    "thousands-of-octaves": grid(octaves=1500.0, x=(0.0, 8), z=(0.0, 8)),
    "infinite-octaves-settle": grid(octaves=INF, h=-0.5, x=(0.0, 4), z=(0.0, 4)),
    "tiny-unit-meets-the-cap": grid(unit=0.078125, x=(-6000.0, 6000.0), z=(-9000.0, 0.0)),
    "denormal-unit": grid(unit=5e-324, x=(0.0, 1.0), z=(0.0, 1.0)),
    "infinite-unit": grid(unit=INF),
    "empty-box": grid(y=(MAX, -MAX)),
    "inverted-box": grid(x=(100.0, -100.0), z=(0.0, 100.0)),
}


# Height function ------------------------------------------------------------------

def height(lattice, octaves, amp, freq, h, points, between=(0.5, 0.5)):
    out = u32(lattice) + number(octaves) + number(amp) + number(freq) + number(h) + bytes([len(points) - 1])
    for x, z in points:
        out += number(x) + number(z)
    return out + number(between[0]) + number(between[1])


HEIGHT = {
    "known-values": height(0, 2.0, 230.0, 0.0011, 0.5, [(0.0, 0.0), (1000.0, -2000.0)]),
    "lattice-minus-one-and-cell-below": height(0xFFFFFFFF, 1.0, 1.0, 1.0, 0.5, [(-0.25, 0.0), (-1.0, -1.0)]),
    "cells-beyond-32-bits": height(57, 2.0, 230.0, 1.0, 0.5, [(0.25 + 3 * 2.0 ** 32, -0.75 - 2 * 2.0 ** 32),
                                                              (2147483648.5, 7.5), (-2147483647.5, 7.5)]),
    "same-cell-twice": height(58, 1.0, 1.0, 1.0, 0.5, [(3.25, 4.5), (3.75, 4.5), (3.25, 4.5)], between=(3.5, 4.5)),
    "nan-coordinates": height(1, 2.0, 230.0, 0.0011, 0.5, [(NAN, 0.0), (0.0, INF)]),
    "products-overflow": height(2, 3.0, 230.0, 1e300, 0.5, [(1e10, 1.0), (1.0, -1e10)]),
    "amplitudes-overflow": height(3, 150.0, 230.0, 0.0011, 300.0, [(1234.5, -77.0)]),
    "infinite-octaves-settle": height(4, INF, 230.0, 0.0011, 0.5, [(-1234.5, 77.0), (987.25, 77.0)]),
    "octaves-below-one": height(5, 0.999, 230.0, 0.0011, 0.5, [(1234.0, -567.0)]),
}


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, "seed-" + name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    write("window_procedure", WINDOW)
    write("grid", GRID)
    write("height", HEIGHT)
