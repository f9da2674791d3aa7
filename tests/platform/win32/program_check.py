"""Checks what vellumor.exe carries, as Windows and Explorer read it:
program_check.py OBJDUMP WRESTOOL PROGRAM VERSION

- a GUI program (Explorer opens no console beside it) that imports only DLLs
  every Windows has, with no time stamp in its header;
- an icon in the sizes Windows shows at 100 % to 200 % scale;
- version information: product, description, version and copyright line;
- a manifest: run as invoker, written for Windows 10 and 11, per-monitor DPI aware.
Prints what it found; exits non-zero on anything else."""

import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "opengl32.dll", "msvcrt.dll"}
ICON_SIZES = {16, 20, 24, 32, 40, 48, 64, 256}
WINDOWS_10_AND_11 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 14, 16, 24


def resource(wrestool, program, kind):
    return subprocess.run([wrestool, "--extract", "--raw", "--type=%d" % kind, program],
                          check=True, capture_output=True).stdout


def header_faults(objdump, program):
    headers = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    dlls = re.findall(r"DLL Name: (\S+)", headers)
    subsystem = re.search(r"^Subsystem\s+\S+\s+\((.*)\)", headers, re.MULTILINE)
    with open(program, "rb") as f:
        image = f.read(4096)
    # The COFF header follows "PE\0\0" at e_lfanew: machine, section count, time stamp.
    stamp = struct.unpack_from("<I", image, struct.unpack_from("<I", image, 0x3C)[0] + 8)[0]
    print("imports: %s; subsystem: %s; time stamp: %d" % (
        ", ".join(dlls), subsystem.group(1) if subsystem else "?", stamp))
    faults = ["imports %s" % dll for dll in dlls if dll.lower() not in SYSTEM_DLLS]
    if not dlls:
        faults.append("no imports found")
    if not subsystem or subsystem.group(1) != "Windows GUI":
        faults.append("not a GUI program")
    if stamp != 0:
        faults.append("a time stamp in the header")
    return faults


def icon_faults(group):
    # GRPICONDIR: reserved, type, count; then 14 bytes an image, width first (0 is 256).
    count = struct.unpack_from("<3H", group)[2] if len(group) >= 6 else 0
    sizes = {group[6 + 14 * i] or 256 for i in range(count)}
    print("icon sizes: %s" % sorted(sizes))
    return [] if sizes >= ICON_SIZES else ["icon lacks sizes %s" % sorted(ICON_SIZES - sizes)]


def version_faults(block, version):
    # String values in VS_VERSIONINFO: UTF-16 key, padding, UTF-16 value.
    text = block.decode("utf-16-le", errors="replace")
    strings = dict(re.findall(r"(CompanyName|FileDescription|FileVersion|LegalCopyright|ProductName|ProductVersion)"
                              r"\x00+([^\x00]+)", text))
    print("version information: %s" % strings)
    wanted = {"ProductName": "Vellumor", "ProductVersion": version, "FileVersion": version}
    faults = ["%s is %r, not %r" % (k, strings.get(k), v) for k, v in wanted.items() if strings.get(k) != v]
    if not strings.get("FileDescription"):
        faults.append("no description")
    if not strings.get("LegalCopyright", "").startswith("Copyright "):
        faults.append("no copyright line")
    return faults


def manifest_faults(manifest):
    if not manifest.strip():
        return ["no manifest"]
    root = ElementTree.fromstring(manifest)
    found = {element.tag.split("}")[1]: element for element in root.iter()}
    level = found.get("requestedExecutionLevel")
    system = [e.get("Id") for e in root.iter() if e.tag.endswith("}supportedOS")]
    awareness = found.get("dpiAwareness")
    print("manifest: level %s, supported %s, DPI awareness %s" % (
        level.get("level") if level is not None else None, system,
        awareness.text if awareness is not None else None))
    faults = []
    if level is None or level.get("level") != "asInvoker":
        faults.append("does not run as invoker")
    if WINDOWS_10_AND_11 not in system:
        faults.append("not written for Windows 10 and 11")
    if awareness is None or not awareness.text.startswith("PerMonitorV2"):
        faults.append("not per-monitor DPI aware")
    return faults


def main():
    objdump, wrestool, program, version = sys.argv[1:5]
    faults = (header_faults(objdump, program) + icon_faults(resource(wrestool, program, RT_GROUP_ICON)) +
              version_faults(resource(wrestool, program, RT_VERSION), version) +
              manifest_faults(resource(wrestool, program, RT_MANIFEST)))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
