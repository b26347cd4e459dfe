"""Reads back a Windows 3.1 help file as the help viewer does, checking its structure.

It finds internal files through the directory B+ tree, reads |SYSTEM, |FONT, |CTXOMAP and
the |CONTEXT B+ tree, and walks the TOPICLINK records of |TOPIC from the first one along
their "next" positions, rebuilding each topic's title and paragraphs. Any structural fault
raises HelpReadError with what is wrong and where.

    python3 hlp_reader.py app.hlp       prints the internal files, contexts and topics
"""

import struct
import sys
from dataclasses import dataclass, field

from hlp_writer import (BLOCK_DATA_SIZE, BLOCK_HEADER_SIZE, BTREE_HEADER_SIZE, BTREE_MAGIC,
                        COMMAND_END, COMMAND_END_OF_PARAGRAPH, COMMAND_FONT, COMMAND_TAB,
                        FILE_HEADER_SIZE, FILE_MAGIC, LEAF_HEADER_SIZE, NO_POSITION,
                        RECORD_TEXT, RECORD_TOPIC_HEADER, SYSTEM_CONTENTS, SYSTEM_MAGIC,
                        SYSTEM_WINDOW, TOPIC_BLOCK_SIZE, TOPICLINK_SIZE,
                        WINDOW_RECORD_SIZE, context_hash)


class HelpReadError(Exception):
    pass


@dataclass
class ReadParagraph:
    runs: list = field(default_factory=list)  # (font index, text); a tab reads as "\t"

    @property
    def text(self):
        return "".join(text for _, text in self.runs)

    @property
    def first_font(self):
        return next((font for font, text in self.runs if text.strip()), None)


@dataclass
class ReadTopic:
    number: int
    title: str
    offset: int
    position: int
    paragraphs: list = field(default_factory=list)


def _u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def _u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


class _Cursor:
    def __init__(self, data, at, end, what):
        self.data, self.at, self.end, self.what = data, at, end, what

    def take(self, count):
        if self.at + count > self.end:
            raise HelpReadError(f"{self.what}: runs past its end")
        chunk = self.data[self.at:self.at + count]
        self.at += count
        return chunk

    def byte(self):
        return self.take(1)[0]

    def peek(self):
        if self.at >= self.end:
            raise HelpReadError(f"{self.what}: runs past its end")
        return self.data[self.at]

    def unsigned_short(self):  # compressed: one byte when even, else two
        return _u16(self.take(2), 0) // 2 if self.peek() & 1 else self.byte() // 2

    def signed_short(self):
        return _u16(self.take(2), 0) // 2 - 0x4000 if self.peek() & 1 else self.byte() // 2 - 0x40

    def signed_long(self):
        if self.peek() & 1:
            return _u32(self.take(4), 0) // 2 - 0x40000000
        return _u16(self.take(2), 0) // 2 - 0x4000


class HelpFileReader:
    def __init__(self, data):
        self.data = bytes(data)
        if len(self.data) < 16:
            raise HelpReadError("file header: the file is shorter than 16 bytes")
        magic, self.directory_start, _, size = struct.unpack_from("<IiiI", self.data, 0)
        if magic != FILE_MAGIC:
            raise HelpReadError(f"file header: magic 0x{magic:08X}, not 0x{FILE_MAGIC:08X}")
        if size != len(self.data):
            raise HelpReadError(f"file header: file size {size}, the file has {len(self.data)}")
        self.directory = self._internal_file_at(self.directory_start, "directory")

    # -- internal files

    def _internal_file_at(self, offset, name):
        if not 16 <= offset <= len(self.data) - FILE_HEADER_SIZE:
            raise HelpReadError(f"{name}: offset {offset} lies outside the file")
        reserved, used, _ = struct.unpack_from("<IIB", self.data, offset)
        if reserved < used + FILE_HEADER_SIZE or offset + reserved > len(self.data):
            raise HelpReadError(f"{name}: sizes {reserved}/{used} do not fit the file")
        start = offset + FILE_HEADER_SIZE
        return self.data[start:start + used]

    def file_names(self):
        return [name for name, _ in self._btree_entries(self.directory, "directory",
                                                        _directory_leaf)]

    def internal_file(self, name):
        """The content of an internal file, looked up through the directory B+ tree."""
        key = name.encode("cp1252")
        found = self._btree_search(self.directory, "directory", key, _directory_leaf,
                                   _directory_index)
        if found is None:
            raise HelpReadError(f"directory: no internal file {name!r}")
        return self._internal_file_at(found, name)

    # -- B+ trees

    def _btree_header(self, tree, what):
        if len(tree) < BTREE_HEADER_SIZE or _u16(tree, 0) != BTREE_MAGIC:
            raise HelpReadError(f"{what}: no B+ tree header")
        page_size = _u16(tree, 4)
        root, _, pages, levels = struct.unpack_from("<hhhh", tree, 26)
        if page_size < LEAF_HEADER_SIZE or levels < 1 or not 0 <= root < pages:
            raise HelpReadError(f"{what}: bad B+ tree header")
        if BTREE_HEADER_SIZE + pages * page_size > len(tree):
            raise HelpReadError(f"{what}: {pages} pages do not fit the file")
        return page_size, root, pages, levels

    def _page(self, tree, what, number):
        page_size, _, pages, _ = self._btree_header(tree, what)
        if not 0 <= number < pages:
            raise HelpReadError(f"{what}: page {number} does not exist")
        start = BTREE_HEADER_SIZE + number * page_size
        return start, start + page_size

    def _btree_entries(self, tree, what, parse_leaf):
        _, page, _, levels = self._btree_header(tree, what)
        for _ in range(levels - 1):
            start, _ = self._page(tree, what, page)
            page = struct.unpack_from("<h", tree, start + 4)[0]
        entries, seen = [], set()
        while page != -1:
            if page in seen:
                raise HelpReadError(f"{what}: the leaf pages form a loop")
            seen.add(page)
            start, end = self._page(tree, what, page)
            count, _, following = struct.unpack_from("<hhh", tree, start + 2)
            cursor = _Cursor(tree, start + LEAF_HEADER_SIZE, end, what)
            entries += [parse_leaf(cursor) for _ in range(count)]
            page = following
        return entries

    def _btree_search(self, tree, what, key, parse_leaf, parse_index):
        _, page, _, levels = self._btree_header(tree, what)
        for _ in range(levels - 1):
            start, end = self._page(tree, what, page)
            count, page = struct.unpack_from("<hh", tree, start + 2)
            cursor = _Cursor(tree, start + 6, end, what)
            for _ in range(count):
                entry_key, entry_page = parse_index(cursor)
                if entry_key > key:
                    break
                page = entry_page
        start, end = self._page(tree, what, page)
        cursor = _Cursor(tree, start + LEAF_HEADER_SIZE, end, what)
        for _ in range(struct.unpack_from("<h", tree, start + 2)[0]):
            entry_key, value = parse_leaf(cursor)
            if entry_key == key:
                return value
            if entry_key > key:
                return None
        return None

    # -- |SYSTEM, |FONT, maps

    def system_records(self):
        system = self.internal_file("|SYSTEM")
        if len(system) < 12:
            raise HelpReadError("|SYSTEM: shorter than its header")
        magic, minor, major, _, flags = struct.unpack_from("<HHHIH", system, 0)
        if magic != SYSTEM_MAGIC or major != 1 or minor <= 16 or flags != 0:
            raise HelpReadError(f"|SYSTEM: not an uncompressed 3.1 help file "
                                f"(magic 0x{magic:04X}, version {major}.{minor}, flags {flags})")
        records, at = [], 12
        while at + 4 <= len(system):
            kind, size = struct.unpack_from("<HH", system, at)
            if at + 4 + size > len(system):
                raise HelpReadError(f"|SYSTEM: record {kind} runs past the end")
            records.append((kind, system[at + 4:at + 4 + size]))
            at += 4 + size
        return records

    def system_text(self, kind):
        for record_kind, data in self.system_records():
            if record_kind == kind:
                return data.split(b"\0")[0].decode("cp1252")
        return None

    def contents_offset(self):
        for kind, data in self.system_records():
            if kind == SYSTEM_CONTENTS:
                return _u32(data, 0)
        raise HelpReadError("|SYSTEM: no contents record")

    def window_caption(self, name="main"):
        for kind, data in self.system_records():
            if kind == SYSTEM_WINDOW and len(data) == WINDOW_RECORD_SIZE and _u16(data, 0) & 0x0006 == 0x0006:
                if data[12:21].split(b"\0")[0].decode("cp1252") == name:
                    return data[21:72].split(b"\0")[0].decode("cp1252")
        return None

    def fonts(self):
        font = self.internal_file("|FONT")
        faces, count, face_offset, descriptor_offset = struct.unpack_from("<HHHH", font, 0)
        if faces == 0 or face_offset >= 12 or descriptor_offset + 11 * count > len(font):
            raise HelpReadError("|FONT: bad header")
        width = (descriptor_offset - face_offset) // faces
        result = []
        for i in range(count):
            attributes, half_points, _, face = struct.unpack_from(
                "<BBBH", font, descriptor_offset + 11 * i)
            if face >= faces:
                raise HelpReadError(f"|FONT: descriptor {i} names face {face} of {faces}")
            name = font[face_offset + face * width:face_offset + (face + 1) * width]
            result.append((name.split(b"\0")[0].decode("cp1252"), half_points,
                           bool(attributes & 1)))
        return result

    def context_offset(self, name):
        tree = self.internal_file("|CONTEXT")
        return self._btree_search(tree, "|CONTEXT", context_hash(name), _context_leaf,
                                  _context_index)

    def contexts(self):
        return self._btree_entries(self.internal_file("|CONTEXT"), "|CONTEXT", _context_leaf)

    def map_entries(self):
        """Every (map number, topic offset) of |CTXOMAP, in file order."""
        data = self.internal_file("|CTXOMAP")
        count = _u16(data, 0)
        if 2 + 8 * count > len(data):
            raise HelpReadError("|CTXOMAP: entries run past the end")
        return [struct.unpack_from("<iI", data, 2 + 8 * i) for i in range(count)]

    def map_offset(self, number):
        return next((offset for entry, offset in self.map_entries() if entry == number), None)

    # -- |TOPIC

    def topics(self):
        """Every topic, found by walking the TOPICLINK records from the first one."""
        raw = self.internal_file("|TOPIC")
        if not raw or len(raw) % TOPIC_BLOCK_SIZE:
            raise HelpReadError(f"|TOPIC: {len(raw)} bytes are not whole {TOPIC_BLOCK_SIZE}-byte "
                                "blocks")
        data = b"".join(raw[start + BLOCK_HEADER_SIZE:start + TOPIC_BLOCK_SIZE]
                        for start in range(0, len(raw), TOPIC_BLOCK_SIZE))
        topics, seen = [], set()
        position, block, characters = BLOCK_HEADER_SIZE, -1, 0
        while True:
            if position in seen:
                raise HelpReadError(f"|TOPIC: the records form a loop at 0x{position:X}")
            seen.add(position)
            linear = ((position - BLOCK_HEADER_SIZE) >> 14) * BLOCK_DATA_SIZE + \
                ((position - BLOCK_HEADER_SIZE) & 0x3FFF)
            if (position - BLOCK_HEADER_SIZE) & 0x3FFF >= BLOCK_DATA_SIZE or \
                    linear + TOPICLINK_SIZE > len(data):
                raise HelpReadError(f"|TOPIC: position 0x{position:X} lies outside the topics")
            size, length2, _, following, length1, kind = struct.unpack_from(
                "<iiIIiB", data, linear)
            if length1 < TOPICLINK_SIZE or size != length1 + length2 or \
                    linear + size > len(data):
                raise HelpReadError(f"|TOPIC: record at 0x{position:X} has bad sizes")
            link_block = linear // BLOCK_DATA_SIZE
            if link_block != block:
                block, characters = link_block, 0
            if following == NO_POSITION:  # the last record only ends the list
                break
            data1 = data[linear + TOPICLINK_SIZE:linear + length1]
            data2 = data[linear + length1:linear + size]
            if kind == RECORD_TOPIC_HEADER:
                topics.append(ReadTopic(len(topics), data2.split(b"\0")[0].decode("cp1252"),
                                        (block << 15) + characters, position))
            elif kind == RECORD_TEXT:
                if not topics:
                    raise HelpReadError(f"|TOPIC: text at 0x{position:X} before any topic")
                paragraphs, length = _text_record(data1, data2, position)
                topics[-1].paragraphs += paragraphs
                characters += length
            else:
                raise HelpReadError(f"|TOPIC: record type 0x{kind:02X} at 0x{position:X}")
            position = following
        return topics

    def topic_at(self, offset):
        """The topic that starts exactly at this topic offset, or None."""
        return next((t for t in self.topics() if t.offset == offset), None)


def _directory_leaf(cursor):
    name = bytearray()
    while (c := cursor.byte()) != 0:
        name.append(c)
    return bytes(name), _u32(cursor.take(4), 0)


def _directory_index(cursor):
    name = bytearray()
    while (c := cursor.byte()) != 0:
        name.append(c)
    return bytes(name), struct.unpack("<h", cursor.take(2))[0]


def _context_leaf(cursor):
    return struct.unpack("<iI", cursor.take(8))


def _context_index(cursor):
    return struct.unpack("<ih", cursor.take(6))


def _text_record(data1, data2, position):
    """The paragraphs of a text record and its character count."""
    what = f"|TOPIC: text record at 0x{position:X}"
    cursor = _Cursor(data1, 0, len(data1), what)
    cursor.signed_long()
    length = cursor.unsigned_short()
    if length != len(data2):
        raise HelpReadError(f"{what}: counts {length} characters but holds {len(data2)}")
    cursor.take(4)
    bits = _u16(cursor.take(2), 0)
    if bits & 0x0001:
        cursor.signed_long()
    for bit in (0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040):
        if bits & bit:
            cursor.signed_short()
    if bits & 0x0100:
        cursor.take(3)
    if bits & 0x0200:
        for _ in range(cursor.signed_short()):
            if cursor.unsigned_short() & 0x4000:
                cursor.unsigned_short()
    strings = data2.split(b"\0")
    paragraphs, current, font = [], ReadParagraph(), None
    for index, string in enumerate(strings[:-1]):
        if string:
            current.runs.append((font, string.decode("cp1252")))
        command = cursor.byte()
        if command == COMMAND_END:
            if index != len(strings) - 2:
                raise HelpReadError(f"{what}: text left after the end command")
            if current.runs:
                paragraphs.append(current)
            return paragraphs, length
        if command == COMMAND_FONT:
            font = _u16(cursor.take(2), 0)
        elif command == COMMAND_END_OF_PARAGRAPH:
            paragraphs.append(current)
            current = ReadParagraph()
        elif command == COMMAND_TAB:
            current.runs.append((font, "\t"))
        else:
            raise HelpReadError(f"{what}: unknown command 0x{command:02X}")
    raise HelpReadError(f"{what}: no end command")


def main(arguments):
    if len(arguments) != 1:
        print("usage: hlp_reader.py FILE.hlp", file=sys.stderr)
        return 2
    try:
        with open(arguments[0], "rb") as stream:
            reader = HelpFileReader(stream.read())
        print(f"{len(reader.data)} bytes; internal files:",
              ", ".join(name.decode() for name in reader.file_names()))
        print("title:", reader.system_text(1), "| caption:", reader.window_caption())
        fonts = reader.fonts()
        for topic in reader.topics():
            marks = [f"context 0x{h & 0xFFFFFFFF:08X}" for h, o in reader.contexts()
                     if o == topic.offset]
            if topic.offset == reader.contents_offset():
                marks.append("contents")
            marks += [f"map {n}" for n in (101, 103) if reader.map_offset(n) == topic.offset]
            print(f"topic {topic.number} at offset 0x{topic.offset:X}: {topic.title!r} "
                  f"({', '.join(marks)}), {len(topic.paragraphs)} paragraphs")
            for paragraph in topic.paragraphs:
                face, size, bold = fonts[paragraph.first_font or 0]
                print(f"    [{face} {size / 2:g}pt{' bold' if bold else ''}] "
                      f"{paragraph.text[:70]}")
    except (OSError, HelpReadError) as error:
        print(f"hlp_reader: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
