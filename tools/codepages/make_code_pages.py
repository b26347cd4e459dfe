#!/usr/bin/env python3
"""Writes src/document/code_page_tables.cpp: the upper halves (bytes 0x80-0xFF) of the Windows
single-byte ANSI code pages, from Python's own codecs. Run it again only to add a code page."""
import codecs
import sys

CODE_PAGES = [874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258]


def upper_half(number):
    codec = codecs.lookup(f"cp{number}")
    values = []
    for byte in range(0x80, 0x100):
        try:
            values.append(ord(codec.decode(bytes([byte]))[0]))
        except UnicodeDecodeError:
            values.append(0)  # the byte stands for no character
    return values


def main(path):
    lines = [
        "// The upper halves of the Windows single-byte code pages: made by",
        "// tools/codepages/make_code_pages.py from Python's codecs. 0 marks a byte without a",
        "// character.",
        '#include "document/code_pages.h"',
        "",
        "const SingleByteCodePage kSingleByteCodePages[] = {",
    ]
    for number in CODE_PAGES:
        lines.append(f"    {{{number},")
        lines.append("     {")
        values = upper_half(number)
        for row in range(0, 128, 8):
            lines.append("         " + " ".join(f"0x{v:04X}," for v in values[row:row + 8]))
        lines.append("     }},")
    lines.append("};")
    lines.append("const int kSingleByteCodePageCount =")
    lines.append("    static_cast<int>(sizeof kSingleByteCodePages / sizeof kSingleByteCodePages[0]);")
    with open(path, "w", encoding="ascii") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/document/code_page_tables.cpp")
