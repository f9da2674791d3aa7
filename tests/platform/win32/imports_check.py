"""Checks that a Windows executable is a console program that needs only DLLs
every Windows has: imports_check.py OBJDUMP PROGRAM. Prints what it found;
exits non-zero on anything else."""

import re
import subprocess
import sys

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "opengl32.dll", "msvcrt.dll"}


def main():
    objdump, program = sys.argv[1:3]
    headers = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    dlls = re.findall(r"DLL Name: (\S+)", headers)
    subsystem = re.search(r"^Subsystem\s+\S+\s+\((.*)\)", headers, re.MULTILINE)
    print("imports: %s; subsystem: %s" % (", ".join(dlls), subsystem.group(1) if subsystem else "?"))
    faults = ["imports %s" % dll for dll in dlls if dll.lower() not in SYSTEM_DLLS]
    if not dlls:
        faults.append("no imports found")
    if not subsystem or subsystem.group(1) != "Windows CUI":
        faults.append("not a console program")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
