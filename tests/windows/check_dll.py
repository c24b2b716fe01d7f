#!/usr/bin/env python3
"""Checks the shipped DLL by inspection: its export table holds exactly the
plug-in's entry points, undecorated, and its version resource carries the
plug-in's version and product name. Usage: check_dll.py OBJDUMP DLL NAME..."""
import re
import subprocess
import sys


def exported_names(objdump, dll):
    out = subprocess.run([objdump, "-p", dll], check=True, capture_output=True, text=True).stdout
    table = out.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) < 2:
        return []
    names = []
    for line in table[1].splitlines()[1:]:
        m = re.match(r"\s*\[\s*\d+\]\s+(\S+)\s*$", line)
        if not m:
            break
        names.append(m.group(1))
    return names


def resource_bytes(objdump, dll):
    out = subprocess.run([objdump, "-s", "-j", ".rsrc", dll], check=True, capture_output=True, text=True).stdout
    data = bytearray()
    for line in out.splitlines():
        m = re.match(r"\s*[0-9a-f]+ ((?:[0-9a-f]{2,8} ){1,4})", line + " ")
        if m:
            for group in m.group(1).split():
                data += bytes.fromhex(group)
    return bytes(data)


def main():
    objdump, dll, expected = sys.argv[1], sys.argv[2], sys.argv[3:]
    failures = []
    names = exported_names(objdump, dll)
    if sorted(names) != sorted(expected):
        failures.append("exports are %s, expected exactly %s" % (names, sorted(expected)))
    for name in names:
        if "@" in name or name.startswith("_"):
            failures.append("export %s is decorated" % name)
    text = resource_bytes(objdump, dll).decode("utf-16-le", errors="replace")
    for key, value in (("FileVersion", "1,0,6,0"), ("ProductVersion", "1,0,6,0"), ("ProductName", "DI Veverer Odazoz")):
        if not re.search(key + r"\x00+" + re.escape(value) + r"\x00", text):
            failures.append("version resource lacks %s %r" % (key, value))
    for failure in failures:
        print("FAIL:", failure)
    print("%d passed, %d failed" % (1 if not failures else 0, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
