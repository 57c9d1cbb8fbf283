#!/usr/bin/env python3
"""Writes the JIS X 0208 table of the page's Shift_JIS conversion: for each
row and cell (94 x 94), the Unicode character Python's shift_jis codec reads
from its two bytes, 0 for none. Usage: make_sjis_table.py OUT.h"""
import sys


def sjis_bytes(row, cell):
    """The two Shift_JIS bytes of JIS row and cell (both from 1)."""
    lead = (row + 1) // 2 + (0x80 if row <= 62 else 0xC0)
    if row % 2:
        trail = cell + (0x3F if cell <= 63 else 0x40)
    else:
        trail = cell + 0x9E
    return bytes([lead, trail])


def character(row, cell):
    try:
        text = sjis_bytes(row, cell).decode("shift_jis")
    except UnicodeDecodeError:
        return 0
    return ord(text) if len(text) == 1 else 0


def main():
    codes = [character(row, cell) for row in range(1, 95) for cell in range(1, 95)]
    lines = ["// Written by make_sjis_table.py: JIS X 0208 row and cell to Unicode.",
             "#pragma once", "#include <cstdint>", "",
             "inline constexpr std::uint16_t kJis0208ToUnicode[94 * 94] = {"]
    for at in range(0, len(codes), 12):
        lines.append("    " + " ".join("0x%04X," % c for c in codes[at:at + 12]))
    lines.append("};")
    with open(sys.argv[1], "w", encoding="ascii") as out:
        out.write("\n".join(lines) + "\n")


main()
