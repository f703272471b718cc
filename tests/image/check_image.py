#!/usr/bin/env python3
"""Checks the built program and skin engine from the host, without running them:
what a Windows build is worth where its programs cannot run (the i686 build on a
kernel that refuses 32-bit programs).

usage: check_image.py OBJDUMP MACHINE PROGRAM.exe ENGINE.dll ENGINE_NAME"""
import re
import struct
import subprocess
import sys

MACHINES = {"i686": 0x14C, "x86_64": 0x8664}
GUI_SUBSYSTEM = 2
# What Windows itself provides; a mingw runtime DLL beside the program never is.
SYSTEM_DLLS = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
               "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "wininet.dll",
               "ws2_32.dll"}


def pe_header(image):
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[:2] != b"MZ" or image[pe:pe + 4] != b"PE\0\0":
        raise SystemExit("not a PE image")
    machine = struct.unpack_from("<H", image, pe + 4)[0]
    optional = pe + 24
    subsystem = struct.unpack_from("<H", image, optional + 68)[0]
    return machine, subsystem


def objdump(tool, *args):
    return subprocess.run([tool, *args], check=True, capture_output=True, text=True).stdout


def main(tool, arch, program_path, engine_path, engine_name):
    failures = []

    def check(condition, what):
        print(("ok    " if condition else "FAIL  ") + what)
        if not condition:
            failures.append(what)

    program = open(program_path, "rb").read()
    engine = open(engine_path, "rb").read()

    machine, subsystem = pe_header(program)
    check(machine == MACHINES[arch], f"program machine {machine:#x} is {arch}'s {MACHINES[arch]:#x}")
    check(subsystem == GUI_SUBSYSTEM, f"program subsystem {subsystem} is the GUI one")
    imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", objdump(tool, "-p", program_path))}
    check(bool(imports) and imports <= SYSTEM_DLLS,
          "program imports system DLLs only: " + ", ".join(sorted(imports)))

    machine, _ = pe_header(engine)
    check(machine == MACHINES[arch], f"engine machine {machine:#x} is {arch}'s")
    headers = objdump(tool, "-p", engine_path)
    check(re.search(r"^Name\s+\S+\s+" + re.escape(engine_name) + r"$", headers, re.M) is not None,
          f"engine's export directory names the library {engine_name}")
    name_table = headers.split("[Ordinal/Name Pointer] Table", 1)[-1].split("\n\n", 1)[0]
    exported = re.findall(r"\[\s*\d+\]\s+(\S+)$", name_table, re.M)
    check(exported == ["SkinH_AttachRes"], "engine exports SkinH_AttachRes alone, undecorated: " + ", ".join(exported))
    if arch == "i686":
        # stdcall: the entry removes its six arguments, 24 bytes, on every return.
        base = int(re.search(r"^ImageBase\s+([0-9a-fA-F]+)", headers, re.M).group(1), 16)
        rva = int(re.search(r"^\s+\[\s*\d+\] \+base\[\s*\d+\]\s+([0-9a-fA-F]+) Export RVA", headers, re.M).group(1), 16)
        code = objdump(tool, "-d", f"--start-address={base + rva:#x}", f"--stop-address={base + rva + 4096:#x}",
                       engine_path)
        returns = re.findall(r"\tret[ \t]*(\S*)", code)
        check(bool(returns) and returns[0] == "$0x18", f"engine entry returns with ret $0x18 (first: {returns[:1]})")

    carried = struct.pack("<II", 1, len(engine)) + engine
    check(carried in program, f"program carries the built engine, {len(engine)} bytes, byte for byte")

    print()
    if failures:
        raise SystemExit(f"{len(failures)} image check(s) failed")


if __name__ == "__main__":
    main(*sys.argv[1:])
