#!/usr/bin/env python3
"""Turns the readable skin table (engine/skins.txt) into the 33 skin files that
the program carries, so no binary skin is ever kept in the repository.

The file layout is the one engine/skin_file.h describes (struct SkinFile)."""
import struct
import sys
from pathlib import Path

COLOURS = ["window_top", "window_bottom", "label_back", "label_text", "button_top",
           "button_bottom", "button_text", "button_border", "edit_back", "edit_text",
           "list_back", "list_text", "frame", "hatch"]
HATCH_STYLES = ["none", "horizontal", "vertical", "fdiagonal", "bdiagonal", "cross", "diagcross"]
HEADER = struct.Struct("<4sHHI14I4B")
VERSION = 1
SKIN_COUNT = 33


def colorref(rrggbb):
    value = int(rrggbb, 16)
    red, green, blue = value >> 16, (value >> 8) & 0xFF, value & 0xFF
    return red | green << 8 | blue << 16


def skin_file(row):
    name = row["name"].encode("ascii") + b"\0"
    length = HEADER.size + len(name)
    header = HEADER.pack(b".SHE", VERSION, HEADER.size, length,
                         *(colorref(row[c]) for c in COLOURS),
                         HATCH_STYLES.index(row["hatch_style"]),
                         int(row["button_radius"]), int(row["frame_width"]), 0)
    return header + name


def read_table(path):
    lines = [l.split() for l in Path(path).read_text().splitlines()
             if l.strip() and not l.startswith("#")]
    columns, rows = lines[0], [dict(zip(lines[0], l)) for l in lines[1:]]
    if any(len(l) != len(columns) for l in lines[1:]):
        sys.exit(f"{path}: every row needs {len(columns)} columns")
    if [int(r["no"]) for r in rows] != list(range(1, SKIN_COUNT + 1)):
        sys.exit(f"{path}: skins must be numbered 1 to {SKIN_COUNT} in order")
    return rows


def main(table, out_dir):
    out = Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    for row in read_table(table):
        data = skin_file(row)
        (out / f"skin_{int(row['no']):02}.she").write_bytes(data)


if __name__ == "__main__":
    main(*sys.argv[1:])
