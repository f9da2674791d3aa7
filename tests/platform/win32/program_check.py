"""Checks what vellumor.exe carries, read back as Windows reads it: a GUI
program importing only DLLs every Windows has, with no time stamp; an icon
from 16 to 256 pixels; version information; a manifest that runs as invoker,
is written for Windows 10 and 11 and is per-monitor DPI aware.
program_check.py OBJDUMP WRESTOOL PROGRAM VERSION; prints what it found."""

import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "opengl32.dll", "msvcrt.dll"}
WINDOWS_10_AND_11 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"


def main():
    objdump, wrestool, program, version = sys.argv[1:5]
    resource = lambda kind: subprocess.run([wrestool, "-x", "--raw", "--type=%d" % kind, program],
                                           check=True, capture_output=True).stdout
    headers = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    dlls = {dll.lower() for dll in re.findall(r"DLL Name: (\S+)", headers)}
    subsystem = re.search(r"^Subsystem\s+\S+\s+\((.*)\)", headers, re.MULTILINE).group(1)
    with open(program, "rb") as f:
        image = f.read(4096)
    stamp = struct.unpack_from("<I", image, struct.unpack_from("<I", image, 0x3C)[0] + 8)[0]  # COFF header
    group = resource(14)  # GRPICONDIR: 6 bytes, then 14 an image, width first (0 is 256)
    sizes = {group[6 + 14 * i] or 256 for i in range(struct.unpack_from("<H", group, 4)[0])} if group else set()
    strings = dict(re.findall(r"(ProductName|ProductVersion|FileDescription|LegalCopyright)\x00+([^\x00]+)",
                              resource(16).decode("utf-16-le", errors="replace")))
    manifest = resource(24)
    found = {e.tag.split("}")[1]: e for e in ElementTree.fromstring(manifest).iter()} if manifest.strip() else {}
    print("imports %s, %s, time stamp %d, icon sizes %s, %s" % (sorted(dlls), subsystem, stamp, sorted(sizes), strings))
    faults = [fault for fault, bad in (
        ("imports other DLLs", not dlls or not dlls <= SYSTEM_DLLS),
        ("not a GUI program", subsystem != "Windows GUI"),
        ("a time stamp", stamp != 0),
        ("icon sizes missing", not {16, 24, 32, 48, 256} <= sizes),
        ("version information", strings.get("ProductName") != "Vellumor" or strings.get("ProductVersion") != version
         or not strings.get("FileDescription") or not strings.get("LegalCopyright", "").startswith("Copyright ")),
        ("not run as invoker", found.get("requestedExecutionLevel", {}).get("level") != "asInvoker"),
        ("not for Windows 10 and 11", found.get("supportedOS", {}).get("Id") != WINDOWS_10_AND_11),
        ("not per-monitor DPI aware", "PerMonitorV2" not in getattr(found.get("dpiAwareness"), "text", "")),
    ) if bad]
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
