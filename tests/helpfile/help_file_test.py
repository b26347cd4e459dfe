#!/usr/bin/env python3
"""Builds app.hlp from the manual's source and reads it back as the help viewer would; builds
manual.html from the same source and checks it holds the same topics under their names."""

import os
import re
import sys
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "helpfile"))

import make_help  # noqa: E402
from hlp_reader import HelpFileReader, HelpReadError  # noqa: E402
from hlp_writer import build_help_file  # noqa: E402

VALUES = {"version": "9.87", "web_host": "www.help-test.example"}
with open(os.path.join(ROOT, "resources", "help", "manual.txt"), encoding="utf-8") as stream:
    MANUAL = stream.read()
INTERNAL_FILES = [b"|CONTEXT", b"|CTXOMAP", b"|FONT", b"|SYSTEM", b"|TOPIC"]

# Enough topics and text that topics start in later 4 KB blocks and records cross blocks.
LONG_SOURCE = "@help-title Long\n@caption Long Help\n@copyright none\n" + "".join(
    f"@topic topic_{n} {500 + n}\n= Topic {n}\n" + "".join(
        f"- **Item {i}** of topic {n}, which says a little more than a line would hold.\n"
        for i in range(40)) for n in range(9))


def build(source, values=VALUES):
    return build_help_file(make_help.parse_source(source, values))


def build_html(source, values=VALUES):
    return make_help.build_html_manual(make_help.parse_source(source, values)).decode()


def html_sections(page):
    """(anchor, title) of each topic of manual.html, in page order."""
    return re.findall(r'<section id="([^"]+)">\n<h[12]>([^<]*)</h', page)


class HelpFileTest(unittest.TestCase):
    def test_every_internal_file_is_found_through_the_directory(self):
        data = build(MANUAL)
        reader = HelpFileReader(data)
        self.assertEqual(reader.file_names(), INTERNAL_FILES)  # sorted bytewise, complete
        for name in INTERNAL_FILES:
            with self.subTest(name=name):
                self.assertTrue(reader.internal_file(name.decode()))
        self.assertEqual(len(reader.internal_file("|TOPIC")) % 4096, 0)
        self.assertEqual(data, build(MANUAL), "the same source must give the same bytes")

    def test_contents_contexts_and_map_numbers_reach_their_topics(self):
        reader = HelpFileReader(build(MANUAL))
        heading = max(range(len(reader.fonts())), key=lambda i: reader.fonts()[i][1])
        self.assertEqual(reader.window_caption(), "Quillmet Help")
        for how, offset, title in (
                ("contents", reader.contents_offset(), "Quillmet Help"),
                ("map 101", reader.map_offset(101), "The Settings Page"),
                ("map 103", reader.map_offset(103), "The Invoice Data Dialog"),
                ("context contents", reader.context_offset("contents"), "Quillmet Help"),
                ("context settings", reader.context_offset("SETTINGS"), "The Settings Page"),
                ("context invoice", reader.context_offset("invoice"),
                 "The Invoice Data Dialog")):
            with self.subTest(how=how):
                topic = reader.topic_at(offset)
                self.assertIsNotNone(topic, f"{how} reaches no topic start (offset {offset})")
                self.assertEqual(topic.title, title)
                # The viewer draws no title of its own: the first paragraph is the title.
                self.assertEqual(topic.paragraphs[0].text, title)
                self.assertEqual(topic.paragraphs[0].first_font, heading)
        self.assertIsNone(reader.map_offset(102))
        self.assertIsNone(reader.context_offset("no_such_topic"))

    def test_walking_the_topics_reaches_every_topic_of_the_source(self):
        for name, source, titles in (
                ("manual", MANUAL,
                 ["Quillmet Help", "The Settings Page", "The Invoice Data Dialog"]),
                ("long", LONG_SOURCE, [f"Topic {n}" for n in range(9)])):
            with self.subTest(source=name):
                reader = HelpFileReader(build(source))
                topics = reader.topics()
                self.assertEqual([t.title for t in topics], titles)
                self.assertEqual(sorted(offset for _, offset in reader.contexts()),
                                 sorted(t.offset for t in topics))
                for topic in topics:
                    self.assertGreater(len(topic.paragraphs), 1, topic.title)
        long_reader = HelpFileReader(build(LONG_SOURCE))
        self.assertGreater(len(long_reader.internal_file("|TOPIC")), 4 * 4096)
        self.assertEqual(long_reader.topic_at(long_reader.map_offset(508)).title, "Topic 8")
        last = long_reader.topics()[-1].paragraphs[-1]
        self.assertEqual(last.text, "\u2022\tItem 39 of topic 8, which says a little more "
                                    "than a line would hold.")

    def test_the_build_fills_in_version_and_web_host(self):
        reader = HelpFileReader(build(MANUAL))
        text = " ".join(p.text for t in reader.topics() for p in t.paragraphs)
        self.assertIn("version 9.87", text)
        self.assertIn("www.help-test.example", text)
        self.assertIn("9.87", reader.system_text(2))

    def test_faults_in_the_source_are_reported_with_their_line(self):
        head = "@help-title T\n@caption C\n@copyright R\n"
        for source, message in (
                (head + "text first\n", "source:4: text before the first @topic"),
                (head + "@topic a\nno title\n", "source:5: the topic must start with its title"),
                (head + "@topic a\n= A\n= B\n", "source:6: a topic has one title"),
                (head + "@topic a 101\n= A\n@topic b 101\n= B\n", "map number 101 is used twice"),
                (head + "@topic a\n= A\n@topic A\n= B\n", "context name 'A' is used twice"),
                (head + "@topic a-b\n= A\n", "source:4: @topic needs a context name"),
                (head + "@topic a\n= A\nsome **bold\n", "source:6: a ** mark is not closed"),
                (head + "@topic a\n= A {colour}\n", "unknown placeholder {colour}"),
                (head + "@index a\n", "unknown or empty directive '@index'"),
                ("@caption C\n@copyright R\n@topic a\n= A\n", "@help-title is missing"),
                (head + "@topic a\n= Caf\u00e9 \u2192 Bar\n", "outside Windows-1252")):
            with self.subTest(message=message):
                with self.assertRaises(Exception) as caught:
                    build(source)
                self.assertIn(message, str(caught.exception))

    def test_a_faulty_source_writes_no_file(self):
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "bad.txt")
            output = os.path.join(folder, "app.hlp")
            with open(source, "w", encoding="utf-8") as stream:
                stream.write("@topic a\n")
            arguments = ["--source", source, "--output", output, "--html-output",
                         os.path.join(folder, "manual.html"), "--version", "1", "--web-host", "h"]
            self.assertEqual(make_help.main(arguments), 1)
            self.assertEqual(os.listdir(folder), ["bad.txt"])

    def test_the_html_manual_holds_every_context_number_under_its_anchor_and_stands_alone(self):
        for name, source in (("manual", MANUAL), ("long", LONG_SOURCE)):
            with self.subTest(source=name):
                reader = HelpFileReader(build(source))
                page = build_html(source)
                self.assertEqual(page, build_html(source), "the same source, the same bytes")
                sections = html_sections(page)
                self.assertEqual([t for _, t in sections], [t.title for t in reader.topics()])
                self.assertEqual(reader.context_offset(sections[0][0]), reader.contents_offset())
                for number, offset in reader.map_entries():
                    self.assertEqual([t for a, t in sections if reader.context_offset(a) == offset],
                                     [reader.topic_at(offset).title], f"map {number}")
        # The anchors the program opens; the page needs nothing from outside.
        page = build_html(MANUAL)
        self.assertEqual([a for a, _ in html_sections(page)], ["contents", "settings", "invoice"])
        self.assertIsNone(re.search(r'<script|<link|src=|href="(?!#)|\u2022|\*\*', page))
        self.assertIn("<li><b>Words</b>: a word is", page)
        head = "@help-title T\n@caption C\n@copyright R\n@topic a\n= A\n"
        self.assertIn("<p>x &lt;script&gt; &amp; y</p>", build_html(head + "x <script> & y\n"))

    def test_the_reader_rejects_damaged_files(self):
        good = build(MANUAL)
        directory = int.from_bytes(good[4:8], "little")
        for what, damage, message in (
                ("magic", lambda d: b"\0" + d[1:], "magic"),
                ("size", lambda d: d + b"\0", "file size"),
                ("directory", lambda d: d[:4] + (len(d) + 5).to_bytes(4, "little") + d[8:],
                 "lies outside the file"),
                ("btree", lambda d: d[:directory + 9] + b"\0\0" + d[directory + 11:],
                 "no B+ tree header")):
            with self.subTest(what=what):
                with self.assertRaisesRegex(HelpReadError, re.escape(message)):
                    HelpFileReader(damage(good)).file_names()


if __name__ == "__main__":
    unittest.main(verbosity=2)
