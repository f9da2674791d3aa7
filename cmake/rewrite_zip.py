"""Writes a zip again with one time for every entry and no extra fields:
libarchive stores each file's change time there, which no build can set.
rewrite_zip.py ZIP EPOCH (seconds since 1970, as SOURCE_DATE_EPOCH)."""

import os
import sys
import time
import zipfile


def main():
    path, epoch = sys.argv[1], int(sys.argv[2])
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # zip times begin in 1980
    with zipfile.ZipFile(path) as source:
        entries = [(info, source.read(info)) for info in source.infolist()]
    with zipfile.ZipFile(path + ".new", "w") as target:
        for info, data in entries:
            entry = zipfile.ZipInfo(info.filename, stamp)
            entry.external_attr = info.external_attr
            target.writestr(entry, data, zipfile.ZIP_DEFLATED, 9)
    os.replace(path + ".new", path)


if __name__ == "__main__":
    main()
