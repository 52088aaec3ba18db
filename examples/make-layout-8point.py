#!/usr/bin/env python3
"""Writes layout-8point.vff: two 8-point standard series in plate columns 1 and 2
(S1 in row A), one research sample per well of columns 3 to 12, numbered down each
column. Format files are UTF-16 LE with a byte-order mark and CR LF on every line."""
import os

lines = ["[GeneralInfo]", "Software version=5.3.0", "CurveType=1", ""]
section = 0
sample = 1
for col in range(3, 13):
    for row in range(1, 9):
        lines += [f"[Cell{section}]", f"Point0={col}|{row}|1|", "CriteriaType=90",
                  f"FixedID={sample}", f"ID=ID {sample}", "BlockType=0", ""]
        section += 1
        sample += 1
for series in (1, 2):
    lines.append(f"[Cell{section}]")
    lines += [f"Point{i}={series}|{i + 1}|{i + 1}|" for i in range(8)]
    lines += ["CriteriaType=8", "FixedID=0", f"ID=Std {series}", "BlockType=1", ""]
    section += 1

target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "layout-8point.vff")
with open(target, "wb") as f:
    f.write(b"\xff\xfe" + "".join(l + "\r\n" for l in lines).encode("utf-16-le"))
