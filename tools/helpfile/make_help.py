#!/usr/bin/env python3
"""Builds the program's manual from its readable source: the help file (app.hlp, Windows 3.1
format) and, with --html-output, the same topics as one HTML page (manual.html) for systems
without the WinHelp viewer.

    python3 make_help.py --source resources/help/manual.txt --output app.hlp \\
                         --html-output manual.html --version 1.05 --web-host www.example.com

The source is plain text, one paragraph per line or per run of lines:

    # text                 a comment
    @help-title TEXT       the help file's title
    @caption TEXT          the caption of the help window
    @copyright TEXT        the copyright line (the viewer's About box)
    @topic NAME [N ...]    starts a topic with context name NAME (letters, digits, '.', '_')
                           and the map numbers N that programs open it by; the first topic
                           is the contents
    = TEXT                 the topic's title: its first paragraph, in the heading font
    == TEXT                a sub-heading
    - TEXT                 an item of a list
    TEXT                   an ordinary paragraph

Titles and sub-headings are one line each. Any other line that starts with none of these
markers continues the paragraph or list item above it; a blank line ends it. **TEXT** is set
in bold. {version} and {web_host} are replaced with the values given on the command line.
Faults in the source are reported with their line number, and no file is written. In the
HTML page each topic is the target of its context name (manual.html#contents).
"""

import argparse
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from hlp_writer import (Font, HelpFile, HelpFileError, Paragraph, ParagraphFormat,  # noqa: E402
                        Topic, build_help_file)
from html_writer import build_manual_html  # noqa: E402

BODY, TITLE, HEADING, BOLD = range(4)
FONTS = (
    Font("Arial", 20),
    Font("Arial", 28, bold=True, colour=(0, 0, 128)),
    Font("Arial", 22, bold=True),
    Font("Arial", 20, bold=True),
)
# Half points: spacing above and below, left indent, first-line indent, tab stops.
FORMATS = {
    "title": (ParagraphFormat(space_below=12), TITLE),
    "heading": (ParagraphFormat(space_above=12, space_below=4), HEADING),
    "item": (ParagraphFormat(space_below=4, left_indent=28, first_line_indent=-14,
                             tab_stops=(28,)), BODY),
    "text": (ParagraphFormat(space_below=8), BODY),
}
KIND_OF_FORMAT = {fmt: kind for kind, (fmt, _) in FORMATS.items()}
MARKERS = (("== ", "heading"), ("= ", "title"), ("- ", "item"))
BULLET = "\u2022"
CONTEXT_NAME = re.compile(r"[A-Za-z0-9._]+")
PLACEHOLDER = re.compile(r"\{([a-z_]*)\}")


class SourceError(Exception):
    pass


def runs_of(text, font, where):
    """The text split into (font, text) runs at its **bold** marks."""
    parts = text.split("**")
    if len(parts) % 2 == 0:
        raise SourceError(f"{where}: a ** mark is not closed")
    runs = []
    for index, part in enumerate(parts):
        if part:
            runs.append((BOLD if index % 2 and font == BODY else font, part))
    return runs


def parse_source(text, values, name="source"):
    """A HelpFile from the source text; values fill the {placeholders}."""
    settings = {}
    topics = []
    paragraph = None  # [kind, text, line number]

    def finish_paragraph():
        nonlocal paragraph
        if paragraph is None:
            return
        kind, body, line = paragraph
        where = f"{name}:{line}"
        topic = topics[-1]
        if kind == "title":
            if topic.paragraphs:
                raise SourceError(f"{where}: a topic has one title, at its start")
            topic.title = body
        elif not topic.paragraphs:
            raise SourceError(f"{where}: the topic must start with its title (= TEXT)")
        fmt, font = FORMATS[kind]
        runs = runs_of(body, font, where)
        if kind == "item":
            runs = [(BODY, BULLET), (BODY, "\t")] + runs
        topic.paragraphs.append(Paragraph(fmt, tuple(runs)))
        paragraph = None

    for number, raw in enumerate(text.splitlines(), start=1):
        where = f"{name}:{number}"
        line = PLACEHOLDER.sub(lambda m: _value(values, m.group(1), where), raw.rstrip())
        if not line.strip():
            finish_paragraph()
            continue
        if line.startswith("#"):
            continue
        if line.startswith("@"):
            finish_paragraph()
            keyword, _, rest = line.partition(" ")
            rest = rest.strip()
            if keyword == "@topic":
                topics.append(_topic(rest, topics, where))
            elif keyword in ("@help-title", "@caption", "@copyright") and rest:
                settings[keyword] = rest
            else:
                raise SourceError(f"{where}: unknown or empty directive {keyword!r}")
            continue
        if not topics:
            raise SourceError(f"{where}: text before the first @topic")
        kind = next((k for marker, k in MARKERS if line.startswith(marker)), None)
        if kind is not None:
            finish_paragraph()
            paragraph = [kind, line[line.index(" ") + 1:].strip(), number]
            if kind in ("title", "heading"):  # a heading is one line
                finish_paragraph()
        elif paragraph is None:
            paragraph = ["text", line.strip(), number]
        else:
            paragraph[1] += " " + line.strip()
    finish_paragraph()

    for keyword in ("@help-title", "@caption", "@copyright"):
        if keyword not in settings:
            raise SourceError(f"{name}: {keyword} is missing")
    if not topics:
        raise SourceError(f"{name}: there is no @topic")
    for topic in topics:
        if not topic.paragraphs:
            raise SourceError(f"{name}: topic {topic.context!r} is empty")
    return HelpFile(settings["@help-title"], settings["@copyright"], settings["@caption"],
                    FONTS, tuple(topics))


def _value(values, key, where):
    if key not in values:
        raise SourceError(f"{where}: unknown placeholder {{{key}}}")
    return values[key]


def _topic(rest, topics, where):
    words = rest.split()
    if not words or not CONTEXT_NAME.fullmatch(words[0]):
        raise SourceError(f"{where}: @topic needs a context name of letters, digits, '.', '_'")
    context = words[0]
    if any(t.context.lower() == context.lower() for t in topics):
        raise SourceError(f"{where}: context name {context!r} is used twice")
    numbers = []
    for word in words[1:]:
        if not word.isdigit() or int(word) == 0 or int(word) > 0x7FFFFFFF:
            raise SourceError(f"{where}: map number {word!r} is not a positive number")
        if any(int(word) in t.map_numbers for t in topics) or int(word) in numbers:
            raise SourceError(f"{where}: map number {word} is used twice")
        numbers.append(int(word))
    return Topic(title="", context=context, map_numbers=tuple(numbers))


def build_html_manual(help_file):
    """manual.html for a HelpFile that parse_source made."""
    return build_manual_html(help_file, lambda p: KIND_OF_FORMAT[p.format], (BOLD,), BULLET)


def write_file(path, data):
    temporary = path + ".tmp"
    with open(temporary, "wb") as stream:
        stream.write(data)
    os.replace(temporary, path)


def main(arguments):
    parser = argparse.ArgumentParser(
        description="Builds app.hlp and manual.html from their source.")
    parser.add_argument("--source", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("--html-output")
    parser.add_argument("--version", required=True)
    parser.add_argument("--web-host", required=True)
    options = parser.parse_args(arguments)
    try:
        with open(options.source, encoding="utf-8") as stream:
            source = stream.read()
        help_file = parse_source(source, {"version": options.version,
                                          "web_host": options.web_host}, options.source)
        # Both are made before either is written: a fault leaves no file behind.
        outputs = [(options.output, build_help_file(help_file))]
        if options.html_output:
            outputs.append((options.html_output, build_html_manual(help_file)))
        for path, data in outputs:
            write_file(path, data)
    except (OSError, UnicodeDecodeError, SourceError, HelpFileError) as error:
        print(f"make_help: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
