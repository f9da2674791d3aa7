"""Makes the Windows zip into a scratch directory and checks that it holds
the program, the README and the notices of the libraries linked into the
program at its top, and nothing else:
package_check.py CPACK BUILD_DIR PROGRAM README NOTICES."""

import filecmp
import glob
import os
import subprocess
import sys
import tempfile
import zipfile


def main():
    cpack, build_dir, program, readme, notices = sys.argv[1:6]
    with tempfile.TemporaryDirectory(prefix="vellumor-package-") as scratch:
        subprocess.run([cpack, "-G", "ZIP", "--config", os.path.join(build_dir, "CPackConfig.cmake"), "-B", scratch],
                       check=True, capture_output=True, text=True)
        zips = glob.glob(os.path.join(scratch, "*.zip"))
        if len(zips) != 1:
            print("expected one zip, found %s" % zips)
            return 1
        with zipfile.ZipFile(zips[0]) as archive:
            names = sorted(archive.namelist())
            print("%s: %s" % (os.path.basename(zips[0]), names))
            if names != ["README.md", "THIRD-PARTY-NOTICES.txt", "vellumor.exe"]:
                print("the zip should hold README.md, THIRD-PARTY-NOTICES.txt and vellumor.exe only")
                return 1
            archive.extractall(scratch)
        for packed, built in (("vellumor.exe", program), ("README.md", readme), ("THIRD-PARTY-NOTICES.txt", notices)):
            if not filecmp.cmp(os.path.join(scratch, packed), built, shallow=False):
                print("%s in the zip is not %s" % (packed, built))
                return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
