#!/usr/bin/env python3
"""Packs the set-up file: the program image with the files it installs appended.

    make_setup.py -o Quillmet-Setup.exe quillmet.exe app.hlp manual.html

The entries are given in the order of the program's payload table (PAYLOAD_NAMES below,
which must match kPayloadTable in src/setup/install_payload.cpp). The output is

    entry 0 (the program image) | entry 1 | ... | N sizes | checksum | marker

all numbers 32-bit little-endian: each size signed, the checksum the byte sum of every data
byte modulo 2^32, the marker the set-up marker 0x0F0FF0F0.

The tool refuses an image that is not a Windows program for i386 (PE32) or x86-64 (PE32+), or
that already carries a set-up or uninstall marker, an empty entry, and an entry of 2 GiB or more. It writes to a temporary
file beside the output, reads that back and checks its layout and checksum, and only then
renames it into place. The same inputs always give the same bytes. Standard library only.
"""

import argparse
import hashlib
import os
import struct
import sys
import tempfile

PAYLOAD_NAMES = ("quillmet.exe", "app.hlp", "manual.html")
SETUP_MARKER = 0x0F0FF0F0
UNINSTALL_MARKER = 0xF0F00F0F
MAX_ENTRY_SIZE = 0x7FFFFFFF  # a size is stored as a signed 32-bit value
CHUNK = 1 << 20

# The images the tool packs: (machine, optional-header magic) of a PE32 i386 program and of a
# PE32+ x86-64 program. The set-up file's layout is the same for both.
PE_KINDS = {0x14C: (0x10B, "i386 PE32"), 0x8664: (0x20B, "x86-64 PE32+")}


class Refusal(Exception):
    """An input or output the tool will not pack; the message says why."""


def check_program_image(path):
    """Refuses anything but an i386 or x86-64 PE image that carries no run-mode marker yet."""

    def refuse(why):
        raise Refusal(f"{path}: not an i386 or x86-64 Windows program ({why})")

    with open(path, "rb") as image:
        dos_header = image.read(0x40)
        if len(dos_header) < 0x40 or dos_header[:2] != b"MZ":
            refuse("no MZ header")
        pe_offset = struct.unpack_from("<I", dos_header, 0x3C)[0]
        # The PE signature, the file header (20 bytes) and the optional header's magic.
        image.seek(pe_offset)
        pe_header = image.read(26)
        if len(pe_header) < 26 or pe_header[:4] != b"PE\0\0":
            refuse(f"no PE signature at offset 0x{pe_offset:X}")
        machine, = struct.unpack_from("<H", pe_header, 4)
        if machine not in PE_KINDS:
            refuse(f"machine 0x{machine:04X}, neither i386 0x14C nor x86-64 0x8664")
        magic, = struct.unpack_from("<H", pe_header, 24)
        expected_magic, kind = PE_KINDS[machine]
        if magic != expected_magic:
            refuse(f"optional header magic 0x{magic:04X}, not 0x{expected_magic:04X} of {kind}")
        image.seek(-4, os.SEEK_END)
        last, = struct.unpack("<I", image.read(4))
    if last in (SETUP_MARKER, UNINSTALL_MARKER):
        kind = "set-up" if last == SETUP_MARKER else "uninstall"
        raise Refusal(f"{path}: already ends in the {kind} marker 0x{last:08X}; "
                      "give the linked program, not a set-up file or an installed copy")


def check_entry_size(name, path):
    try:
        size = os.path.getsize(path)
    except OSError as error:
        raise Refusal(f"{path}: cannot be read ({error.strerror})") from None
    if size == 0:
        raise Refusal(f"{path}: entry {name} is empty")
    if size > MAX_ENTRY_SIZE:
        raise Refusal(f"{path}: entry {name} is {size} bytes, over the limit of "
                      f"{MAX_ENTRY_SIZE} bytes (2 GiB - 1)")
    return size


def copy_entry(path, expected_size, out):
    """Appends one entry to out; returns its byte sum and SHA-256 digest."""
    total = 0
    digest = hashlib.sha256()
    copied = 0
    with open(path, "rb") as entry:
        while True:
            chunk = entry.read(CHUNK)
            if not chunk:
                break
            out.write(chunk)
            total += sum(chunk)
            digest.update(chunk)
            copied += len(chunk)
    if copied != expected_size:
        raise Refusal(f"{path}: changed while it was read ({expected_size} bytes expected, "
                      f"{copied} read)")
    return total, digest.digest()


def verify(path, sizes, checksum, digests):
    """Reads the written file back and checks the layout, checksum and each entry's bytes."""
    count = len(sizes)
    trailer_length = 4 * count + 8
    length = os.path.getsize(path)
    if length != sum(sizes) + trailer_length:
        raise Refusal(f"{path}: written file is {length} bytes, expected "
                      f"{sum(sizes) + trailer_length}")
    total = 0
    with open(path, "rb") as written:
        for size, expected_digest in zip(sizes, digests):
            digest = hashlib.sha256()
            remaining = size
            while remaining > 0:
                chunk = written.read(min(CHUNK, remaining))
                if not chunk:
                    break
                total += sum(chunk)
                digest.update(chunk)
                remaining -= len(chunk)
            if remaining or digest.digest() != expected_digest:
                raise Refusal(f"{path}: an entry did not read back as written")
        trailer = struct.unpack(f"<{count}iII", written.read(trailer_length))
    if list(trailer[:count]) != sizes or trailer[count] != checksum:
        raise Refusal(f"{path}: the sizes or checksum did not read back as written")
    if total & 0xFFFFFFFF != checksum or trailer[count + 1] != SETUP_MARKER:
        raise Refusal(f"{path}: checksum or marker wrong on reading back")


def make_setup(output, entries):
    if len(entries) != len(PAYLOAD_NAMES):
        raise Refusal(f"expected {len(PAYLOAD_NAMES)} entries in this order: "
                      f"{', '.join(PAYLOAD_NAMES)}; got {len(entries)}")
    sizes = [check_entry_size(name, path) for name, path in zip(PAYLOAD_NAMES, entries)]
    check_program_image(entries[0])

    folder = os.path.dirname(os.path.abspath(output))
    try:
        handle, temporary = tempfile.mkstemp(dir=folder, prefix=".make_setup-", suffix=".tmp")
    except OSError as error:
        raise Refusal(f"{output}: cannot write in {folder} ({error.strerror})") from None
    try:
        checksum = 0
        digests = []
        with os.fdopen(handle, "wb") as out:
            for path, size in zip(entries, sizes):
                total, digest = copy_entry(path, size, out)
                checksum = (checksum + total) & 0xFFFFFFFF
                digests.append(digest)
            out.write(struct.pack(f"<{len(sizes)}iII", *sizes, checksum, SETUP_MARKER))
            out.flush()
            os.fsync(out.fileno())
        verify(temporary, sizes, checksum, digests)
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(temporary, 0o777 & ~umask)
        os.replace(temporary, output)
    except BaseException:
        try:
            os.unlink(temporary)
        except OSError:
            pass
        raise
    return sum(sizes) + 4 * len(sizes) + 8, checksum


def main(argv):
    parser = argparse.ArgumentParser(
        description="Packs the set-up file: the program image, then the files it installs, "
        "then their sizes, the byte-sum checksum and the set-up marker.")
    parser.add_argument("-o", "--output", required=True, help="the set-up file to write")
    parser.add_argument("entries", nargs="+", metavar="ENTRY",
                        help=f"the payload files in this order: {', '.join(PAYLOAD_NAMES)}")
    arguments = parser.parse_args(argv)
    try:
        length, checksum = make_setup(arguments.output, arguments.entries)
    except Refusal as refusal:
        print(f"make_setup.py: error: {refusal}", file=sys.stderr)
        return 1
    except OSError as error:
        print(f"make_setup.py: error: {error.filename or arguments.output}: {error.strerror}",
              file=sys.stderr)
        return 1
    print(f"{arguments.output}: {length} bytes, checksum 0x{checksum:08X}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
