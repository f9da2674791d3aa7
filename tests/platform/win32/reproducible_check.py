"""Builds vellumor.exe a second time, from scratch in another directory, and
checks that it comes out byte for byte the same as the first:
reproducible_check.py CMAKE SOURCE_DIR SCRATCH_DIR PROGRAM."""

import filecmp
import os
import shutil
import subprocess
import sys


def main():
    cmake, source, scratch, program = sys.argv[1:5]
    shutil.rmtree(scratch, ignore_errors=True)
    # The same settings as the windows preset, without the tests.
    subprocess.run([cmake, "-S", source, "-B", scratch, "-G", "Ninja",
                    "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(source, "cmake", "mingw-w64-x86_64.cmake"),
                    "-DCMAKE_BUILD_TYPE=Release", "-DVELLUMOR_WERROR=ON", "-DVELLUMOR_TESTS=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run([cmake, "--build", scratch, "--target", "vellumor", "-j2"], check=True, stdout=subprocess.DEVNULL)
    again = os.path.join(scratch, "src", "vellumor.exe")
    same = filecmp.cmp(program, again, shallow=False)
    print("%s and %s (%d bytes) are %s" % (program, again, os.path.getsize(again), "the same" if same else "different"))
    if same:
        shutil.rmtree(scratch)
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
