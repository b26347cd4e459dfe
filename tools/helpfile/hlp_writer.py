"""Writes a Windows 3.1 help file (.hlp, format version 1.21) from topics in memory.

The file is the layout that the Windows 3.1 help compiler produced, without its optional
parts: no compression (neither phrases nor LZ77), no keywords, no pictures. It holds

    file header      magic 0x00035F3F, directory offset, no free list, the exact file size
    |SYSTEM          version 1.21, 4 KB topic blocks, title, copyright, contents, "main" window
    |FONT            face names and the 11-byte font descriptors of the 3.1 format
    |TOPIC           4096-byte blocks: a 12-byte block header, then the TOPICLINK records
    |CONTEXT         B+ tree: context-name hash -> topic offset, sorted by signed hash
    |CTXOMAP         map numbers (for WinHelp's HELP_CONTEXT) -> topic offset
    directory        B+ tree: internal file name -> file offset, names sorted bytewise

Each internal file stands behind its 9-byte file header. Every topic is one topic-header
record followed by one text record per paragraph; the stream ends with an empty topic
header, which readers take as the end. A topic position (TOPICPOS) is the block number
times 0x4000 plus the offset in the block's data plus 12; a topic offset (TOPICOFFSET) is
the block number times 0x8000 plus the number of text characters before the topic in that
block.

Standard library only; the output depends on nothing but the input.
"""

import struct
from dataclasses import dataclass, field

FILE_MAGIC = 0x00035F3F
SYSTEM_MAGIC = 0x036C
BTREE_MAGIC = 0x293B
FORMAT_MINOR = 21  # Windows 3.1 help file
FORMAT_MAJOR = 1
TOPIC_BLOCK_SIZE = 4096
BLOCK_HEADER_SIZE = 12
BLOCK_DATA_SIZE = TOPIC_BLOCK_SIZE - BLOCK_HEADER_SIZE
FILE_HEADER_SIZE = 9
BTREE_HEADER_SIZE = 38
LEAF_HEADER_SIZE = 8
DIRECTORY_PAGE_SIZE = 0x400
CONTEXT_PAGE_SIZE = 0x800
TOPICLINK_SIZE = 21
TOPICHEADER_SIZE = 28
FACE_NAME_SIZE = 32
WINDOW_RECORD_SIZE = 90

RECORD_TOPIC_HEADER = 0x02
RECORD_TEXT = 0x20

# |SYSTEM record types
SYSTEM_TITLE = 1
SYSTEM_COPYRIGHT = 2
SYSTEM_CONTENTS = 3
SYSTEM_WINDOW = 6

# Formatting commands of a text record
COMMAND_FONT = 0x80
COMMAND_END_OF_PARAGRAPH = 0x82
COMMAND_TAB = 0x83
COMMAND_END = 0xFF

# Paragraph-information bits
SPACE_ABOVE = 0x0002
SPACE_BELOW = 0x0004
LEFT_INDENT = 0x0010
FIRST_LINE_INDENT = 0x0040
TAB_STOPS = 0x0200

# Font families of the 3.1 font descriptor (not the Windows FF_ values)
FAMILY_SWISS = 0x03

NO_POSITION = 0xFFFFFFFF


class HelpFileError(Exception):
    """The input cannot be written as a help file; the message says why."""


@dataclass(frozen=True)
class Font:
    face: str
    half_points: int
    bold: bool = False
    italic: bool = False
    colour: tuple = (0, 0, 0)


@dataclass(frozen=True)
class ParagraphFormat:
    """Spacing and indents in half points; tab stops in half points from the left margin."""

    space_above: int = 0
    space_below: int = 0
    left_indent: int = 0
    first_line_indent: int = 0
    tab_stops: tuple = ()


# A run is (font index, text); the text "\t" alone stands for a tab.
@dataclass(frozen=True)
class Paragraph:
    format: ParagraphFormat
    runs: tuple


@dataclass
class Topic:
    title: str
    context: str
    map_numbers: tuple = ()
    paragraphs: list = field(default_factory=list)


@dataclass(frozen=True)
class HelpFile:
    title: str
    copyright: str
    caption: str
    fonts: tuple
    topics: tuple  # the first one is the contents


# ---------------------------------------------------------------------------------------------
# Encodings


def encode_text(text):
    try:
        return text.encode("cp1252")
    except UnicodeEncodeError as error:
        raise HelpFileError(f"text {text!r} has a character outside Windows-1252") from error


def compressed_unsigned_short(value):
    if 0 <= value < 0x80:
        return bytes([value * 2])
    if 0 <= value < 0x8000:
        return struct.pack("<H", value * 2 + 1)
    raise HelpFileError(f"value {value} does not fit a compressed unsigned short")


def compressed_signed_short(value):
    if -0x40 <= value < 0x40:
        return bytes([(value + 0x40) * 2])
    if -0x4000 <= value < 0x4000:
        return struct.pack("<H", (value + 0x4000) * 2 + 1)
    raise HelpFileError(f"value {value} does not fit a compressed signed short")


def compressed_signed_long(value):
    if -0x4000 <= value < 0x4000:
        return struct.pack("<H", (value + 0x4000) * 2)
    if -0x40000000 <= value < 0x40000000:
        return struct.pack("<I", (value + 0x40000000) * 2 + 1)
    raise HelpFileError(f"value {value} does not fit a compressed signed long")


HASH_VALUES = {c: i + 17 for i, c in enumerate("ABCDEFGHIJKLMNOPQRSTUVWXYZ")}
HASH_VALUES.update({c.lower(): v for c, v in HASH_VALUES.items()})
HASH_VALUES.update({str(d): d for d in range(1, 10)})
HASH_VALUES.update({"0": 10, ".": 12, "_": 13})


def context_hash(name):
    """The 3.1 hash of a context name (letters fold case), as a signed 32-bit number."""
    if not name:
        return 1
    value = 0
    for c in name:
        if c not in HASH_VALUES:
            raise HelpFileError(f"context name {name!r}: only letters, digits, '.' and '_'")
        value = (value * 43 + HASH_VALUES[c]) & 0xFFFFFFFF
    return value - 0x100000000 if value & 0x80000000 else value


def topic_position(linear_offset):
    """TOPICPOS of a byte at this offset in the topic data with the block headers left out."""
    block, offset = divmod(linear_offset, BLOCK_DATA_SIZE)
    return (block << 14) + offset + BLOCK_HEADER_SIZE


def file_header(content):
    return struct.pack("<IIB", len(content) + FILE_HEADER_SIZE, len(content), 4)


def btree_leaf(entries, page_size, flags, structure):
    """A B+ tree of one leaf page; entries are the packed records, already sorted."""
    body = b"".join(entries)
    unused = page_size - LEAF_HEADER_SIZE - len(body)
    if unused < 0:
        raise HelpFileError(f"{len(entries)} entries do not fit one {page_size}-byte page")
    header = struct.pack(
        "<HHH16shhhhhhi", BTREE_MAGIC, flags, page_size, structure.encode("ascii"),
        0, 0, 0, -1, 1, 1, len(entries))
    leaf = struct.pack("<Hhhh", unused, len(entries), -1, -1) + body
    return header + leaf + bytes(unused)


# ---------------------------------------------------------------------------------------------
# |TOPIC


def text_record_data(paragraph):
    """LinkData1 (after the TOPICLINK) and LinkData2 of one paragraph's text record."""
    fmt = paragraph.format
    bits = 0
    values = b""
    for bit, value, encode in (
            (SPACE_ABOVE, fmt.space_above, compressed_signed_short),
            (SPACE_BELOW, fmt.space_below, compressed_signed_short),
            (LEFT_INDENT, fmt.left_indent, compressed_signed_short),
            (FIRST_LINE_INDENT, fmt.first_line_indent, compressed_signed_short)):
        if value:
            bits |= bit
            values += encode(value)
    if fmt.tab_stops:
        bits |= TAB_STOPS
        values += compressed_signed_short(len(fmt.tab_stops))
        values += b"".join(compressed_unsigned_short(stop) for stop in fmt.tab_stops)

    # Strings and commands alternate: a string (maybe empty), then the command after it.
    commands = b""
    strings = [b""]
    current_font = None
    for font, text in paragraph.runs:
        if text == "\t":
            commands += bytes([COMMAND_TAB])
            strings.append(b"")
            continue
        if font != current_font:
            commands += bytes([COMMAND_FONT]) + struct.pack("<H", font)
            strings.append(b"")
            current_font = font
        strings[-1] += encode_text(text)
    commands += bytes([COMMAND_END_OF_PARAGRAPH, COMMAND_END])
    strings.append(b"")
    text = b"".join(s + b"\0" for s in strings)

    # Unknown byte, biased byte (0x80 = 0), paragraph id, then the bits and their values.
    paragraph_info = bytes([0x00, 0x80]) + struct.pack("<HH", 0, bits) + values
    link_data1 = (compressed_signed_long(len(text)) + compressed_unsigned_short(len(text)) +
                  paragraph_info + commands)
    return link_data1, text


@dataclass
class _Link:
    record_type: int
    data1: bytes  # after the TOPICLINK; a topic header's is filled in once positions are known
    data2: bytes
    topic: int  # index of the topic it belongs to
    position: int = 0  # linear offset in the topic data

    @property
    def size(self):
        return TOPICLINK_SIZE + len(self.data1) + len(self.data2)


def build_topic_file(topics):
    """The |TOPIC file and the topic offset of each topic."""
    links = []
    for index, topic in enumerate(topics):
        links.append(_Link(RECORD_TOPIC_HEADER, bytes(TOPICHEADER_SIZE), encode_text(topic.title),
                           index))
        for paragraph in topic.paragraphs:
            data1, data2 = text_record_data(paragraph)
            links.append(_Link(RECORD_TEXT, data1, data2, index))
    links.append(_Link(RECORD_TOPIC_HEADER, bytes(TOPICHEADER_SIZE), b"", len(topics)))

    position = 0
    for link in links:
        link.position = position
        position += link.size
    data_size = position

    # Topic offsets: characters of the text records before the link, counted per block.
    offsets = {}
    block, characters = -1, 0
    for link in links:
        link_block = link.position // BLOCK_DATA_SIZE
        if link_block != block:
            block, characters = link_block, 0
        if link.record_type == RECORD_TOPIC_HEADER:
            offsets[link.topic] = (block << 15) + characters
        else:
            characters += len(link.data2)

    headers = [i for i, link in enumerate(links) if link.record_type == RECORD_TOPIC_HEADER]
    stream = b""
    for i, link in enumerate(links):
        if link.record_type == RECORD_TOPIC_HEADER:
            link.data1 = _topic_header(links, headers, i)
        previous = topic_position(links[i - 1].position) if i > 0 else NO_POSITION
        following = topic_position(links[i + 1].position) if i + 1 < len(links) else NO_POSITION
        stream += struct.pack("<iiIIiB", link.size, len(link.data2), previous, following,
                              TOPICLINK_SIZE + len(link.data1), link.record_type)
        stream += link.data1 + link.data2
    assert len(stream) == data_size

    blocks = []
    block_count = (data_size + BLOCK_DATA_SIZE - 1) // BLOCK_DATA_SIZE
    for number in range(block_count):
        start = number * BLOCK_DATA_SIZE
        before = [link for link in links if link.position < start]
        inside = [link for link in links if start <= link.position < start + BLOCK_DATA_SIZE]
        last_link = topic_position(before[-1].position) if before else NO_POSITION
        first_link = topic_position(inside[0].position) if inside else NO_POSITION
        topic_headers = [link for link in before if link.record_type == RECORD_TOPIC_HEADER]
        last_header = topic_position(topic_headers[-1].position) if topic_headers else NO_POSITION
        chunk = stream[start:start + BLOCK_DATA_SIZE]
        blocks.append(struct.pack("<III", last_link, first_link, last_header) + chunk +
                      bytes(BLOCK_DATA_SIZE - len(chunk)))
    return b"".join(blocks), [offsets[i] for i in range(len(topics))]


def _topic_header(links, headers, index):
    """TOPICHEADER of the topic-header link at index: the topic's size, no browse sequence
    (both neighbours "none"), its number, no non-scrolling region, where the scrolling
    region starts and where the next topic header stands."""
    link = links[index]
    following = [h for h in headers if h > index]
    end = links[following[0]].position if following else link.position + link.size
    scroll = (topic_position(links[index + 1].position)
              if index + 1 < len(links) and links[index + 1].record_type == RECORD_TEXT
              else NO_POSITION)
    next_topic = topic_position(links[following[0]].position) if following else NO_POSITION
    return struct.pack("<iIIiIII", end - link.position, NO_POSITION, NO_POSITION, link.topic,
                       NO_POSITION, scroll, next_topic)


# ---------------------------------------------------------------------------------------------
# The other internal files


def build_system_file(help_file, contents_offset):
    def record(kind, data):
        return struct.pack("<HH", kind, len(data)) + data

    caption = encode_text(help_file.caption)
    if len(caption) > 50:
        raise HelpFileError(f"window caption {help_file.caption!r} is longer than 50 bytes")
    # Flags: the name and the caption are valid; position, size and colours are the viewer's.
    window = (struct.pack("<H", 0x0002 | 0x0004) + bytes(10) + b"main".ljust(9, b"\0") +
              caption.ljust(51, b"\0") + struct.pack("<hhhhhII", 0, 0, 0, 0, 0, 0, 0))
    assert len(window) == WINDOW_RECORD_SIZE
    header = struct.pack("<HHHIH", SYSTEM_MAGIC, FORMAT_MINOR, FORMAT_MAJOR, 0, 0)
    return (header + record(SYSTEM_TITLE, encode_text(help_file.title) + b"\0") +
            record(SYSTEM_COPYRIGHT, encode_text(help_file.copyright) + b"\0") +
            record(SYSTEM_CONTENTS, struct.pack("<I", contents_offset)) +
            record(SYSTEM_WINDOW, window))


def build_font_file(fonts):
    faces = []
    for font in fonts:
        if font.face not in faces:
            faces.append(font.face)
    face_table = b""
    for face in faces:
        name = encode_text(face)
        if len(name) >= FACE_NAME_SIZE:
            raise HelpFileError(f"font face {face!r} is too long")
        face_table += name.ljust(FACE_NAME_SIZE, b"\0")
    descriptors = b""
    for font in fonts:
        if not 1 <= font.half_points <= 255:
            raise HelpFileError(f"font size {font.half_points} half points is out of range")
        attributes = (1 if font.bold else 0) | (2 if font.italic else 0)
        descriptors += struct.pack("<BBBH", attributes, font.half_points, FAMILY_SWISS,
                                   faces.index(font.face))
        descriptors += bytes(font.colour) + bytes(3)
    header_size = 8
    return (struct.pack("<HHHH", len(faces), len(fonts), header_size,
                        header_size + len(face_table)) + face_table + descriptors)


def build_context_file(topics, offsets):
    entries = {}
    for topic, offset in zip(topics, offsets):
        value = context_hash(topic.context)
        if value in entries:
            raise HelpFileError(f"context name {topic.context!r} has the hash of another one")
        entries[value] = offset
    records = [struct.pack("<iI", value, entries[value]) for value in sorted(entries)]
    return btree_leaf(records, CONTEXT_PAGE_SIZE, 0x0002, "L4")


def build_map_file(topics, offsets):
    records = []
    for topic, offset in zip(topics, offsets):
        records += [(number, offset) for number in topic.map_numbers]
    records.sort()
    return struct.pack("<H", len(records)) + b"".join(
        struct.pack("<iI", number, offset) for number, offset in records)


# ---------------------------------------------------------------------------------------------
# The whole file


def build_help_file(help_file):
    """The bytes of the help file."""
    if not help_file.topics:
        raise HelpFileError("a help file needs at least one topic")
    if not help_file.fonts:
        raise HelpFileError("a help file needs at least one font")
    topic_data, offsets = build_topic_file(help_file.topics)
    files = {
        "|CONTEXT": build_context_file(help_file.topics, offsets),
        "|CTXOMAP": build_map_file(help_file.topics, offsets),
        "|FONT": build_font_file(help_file.fonts),
        "|SYSTEM": build_system_file(help_file, offsets[0]),
        "|TOPIC": topic_data,
    }
    body = b""
    position = 16
    directory = []
    for name in sorted(files, key=lambda n: n.encode("ascii")):
        directory.append(name.encode("ascii") + b"\0" + struct.pack("<I", position))
        chunk = file_header(files[name]) + files[name]
        body += chunk
        position += len(chunk)
    tree = btree_leaf(directory, DIRECTORY_PAGE_SIZE, 0x0402, "z4")
    directory_file = file_header(tree) + tree
    size = 16 + len(body) + len(directory_file)
    return struct.pack("<IiiI", FILE_MAGIC, position, -1, size) + body + directory_file
