"""Builds vellumor.exe again from scratch in another directory and checks
that the program, its zip and its installer come out byte for byte the same:
reproducible_check.py CMAKE CPACK SOURCE_DIR BUILD_DIR SCRATCH_DIR."""

import filecmp
import glob
import os
import shutil
import subprocess
import sys


def main():
    cmake, cpack, source, build, scratch = sys.argv[1:6]
    again = os.path.join(scratch, "build")
    shutil.rmtree(scratch, ignore_errors=True)
    quiet = {"check": True, "stdout": subprocess.DEVNULL}
    subprocess.run([cmake, "-S", source, "-B", again, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",  # the windows preset's,
                    "-DCMAKE_TOOLCHAIN_FILE=%s/cmake/mingw-w64-x86_64.cmake" % source,  # without the tests
                    "-DVELLUMOR_WERROR=ON", "-DVELLUMOR_TESTS=OFF"], **quiet)
    subprocess.run([cmake, "--build", again, "--target", "vellumor", "-j2"], **quiet)
    made = []
    for tree, packages in ((build, "first"), (again, "second")):
        subprocess.run([cpack, "--config", os.path.join(tree, "CPackConfig.cmake"), "-B",
                        os.path.join(scratch, packages)], **quiet)
        made.append([os.path.join(tree, "src", "vellumor.exe")] +
                    sorted(glob.glob(os.path.join(scratch, packages, "vellumor-*.*"))))
    same = [filecmp.cmp(first, second, shallow=False) for first, second in zip(*made)]
    for path, equal in zip(made[0], same):
        print("%s (%d bytes): %s" % (os.path.basename(path), os.path.getsize(path), "same" if equal else "DIFFERENT"))
    if len(made[0]) == len(made[1]) == 3 and all(same):
        shutil.rmtree(scratch)
        return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
