"""Builds vellumor.exe a second time, from scratch in another directory, and
checks that the program, its zip and its installer come out byte for byte the
same as the first build's:
reproducible_check.py CMAKE CPACK SOURCE_DIR BUILD_DIR SCRATCH_DIR."""

import filecmp
import glob
import os
import shutil
import subprocess
import sys


def packages(cpack, build, into):
    subprocess.run([cpack, "--config", os.path.join(build, "CPackConfig.cmake"), "-B", into],
                   check=True, stdout=subprocess.DEVNULL)
    return sorted(glob.glob(os.path.join(into, "vellumor-*.*")))


def main():
    cmake, cpack, source, build, scratch = sys.argv[1:6]
    again = os.path.join(scratch, "build")
    shutil.rmtree(scratch, ignore_errors=True)
    # The same settings as the windows preset, without the tests.
    subprocess.run([cmake, "-S", source, "-B", again, "-G", "Ninja",
                    "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(source, "cmake", "mingw-w64-x86_64.cmake"),
                    "-DCMAKE_BUILD_TYPE=Release", "-DVELLUMOR_WERROR=ON", "-DVELLUMOR_TESTS=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run([cmake, "--build", again, "--target", "vellumor", "-j2"], check=True, stdout=subprocess.DEVNULL)
    pairs = [(os.path.join(build, "src", "vellumor.exe"), os.path.join(again, "src", "vellumor.exe"))]
    pairs += zip(packages(cpack, build, os.path.join(scratch, "first")),
                 packages(cpack, again, os.path.join(scratch, "second")))
    different = []
    for first, second in pairs:
        same = filecmp.cmp(first, second, shallow=False)
        print("%s (%d bytes): %s" % (os.path.basename(first), os.path.getsize(first), "the same" if same else "DIFFERENT"))
        if not same:
            different.append(first)
    if len(pairs) != 3:
        print("expected the program, the zip and the installer, found %d" % len(pairs))
        return 1
    if not different:
        shutil.rmtree(scratch)
    return 1 if different else 0


if __name__ == "__main__":
    sys.exit(main())
