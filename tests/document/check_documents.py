#!/usr/bin/env python3
"""quillmet-count on documents that LibreOffice Writer makes, judged by LibreOffice itself.

Each plain text below becomes a flat ODT file (paragraphs, tabs, manual line breaks, runs of
spaces), which LibreOffice converts to .docx, .odt and .rtf. For every document:
- `quillmet-count --text` must give what LibreOffice's own export to text in code page 1252
  with CR LF gives (without the line end that export puts after the last paragraph, and with
  CR LF for its bare LF of a manual line break);
- its counts must be those of the plain text as it would be copied to the clipboard.
Usage: check_documents.py QUILLMET_COUNT
       check_documents.py --make OUT.docx   (one .docx of all the short texts, for other tests)"""
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape

FORMATS = ["docx", "odt", "rtf"]
WORDS = ["typing", "transcription", "café", "naïve", "façade", "Ærøskøbing", "déjà", "vu",
         "Müller", "jalapeño", "œuvre", "señor", "don't", "3.14", "e.g.", "10:30", "a-b",
         "“quoted”", "‘single’", "€5", "…", "—", "well-known"]

# "\n" ends a paragraph, "\v" is a manual line break.
TEXTS = {
    "layout": "First paragraph\twith a tab.\nSecond\vwith a line break\vand another.\n"
              "\n"
              "After an empty paragraph:   three spaces,\t\ttwo tabs.\nLast paragraph",
    "western": "Ça a été déjà vu: naïve façade, Ærø, œuvre, señor Müller.\n"
               "“Quotes” ‘and’ dashes — – … and € 12,50 ± ½ × ÷ © ® ™ § ¶ µ ß ÿ.",
    "outside_1252": "Greek αβγ, Cyrillic ЖЗИ, Polish ąęł, Latvian Ā ā.\n"
                    "CJK 日本語 and emoji 😀 end.\tTurkish ğış\vHebrew שלום",
}


# Documents whose body is written out in ODF, with the plain text that copying them gives: a
# table (a paragraph per cell) and a footnote (its mark counts, its text does not).
MARKED_UP = {
    "table_and_note": (
        "<text:p>Before the table</text:p><table:table><table:table-column "
        'table:number-columns-repeated="2"/><table:table-row><table:table-cell><text:p>c1'
        "</text:p></table:table-cell><table:table-cell><text:p>c2</text:p></table:table-cell>"
        "</table:table-row></table:table><text:p>After<text:note "
        'text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body>'
        "<text:p>The note</text:p></text:note-body></text:note> the table</text:p>",
        "Before the table\nc1\nc2\nAfter1 the table"),
}


def large_text(size):
    rng = random.Random(19)
    paragraphs = []
    total = 0
    while total < size:
        words = [rng.choice(WORDS) for _ in range(rng.randint(5, 60))]
        if rng.random() < 0.2:
            words[rng.randrange(len(words))] += "\t"
        if rng.random() < 0.1:
            words[rng.randrange(len(words))] += "\v"
        paragraph = " ".join(words)
        paragraphs.append(paragraph)
        total += len(paragraph.encode("utf-8")) + 1
    return "\n".join(paragraphs)


def flat_odt(text):
    """The text as a flat ODT document."""
    return flat_odt_document(flat_odt_body(text))


def flat_odt_body(text):
    body = []
    for paragraph in text.split("\n"):
        parts = []
        i = 0
        while i < len(paragraph):
            c = paragraph[i]
            if c == "\t":
                parts.append("<text:tab/>")
            elif c == "\v":
                parts.append("<text:line-break/>")
            elif c == " ":
                run = 1
                while i + run < len(paragraph) and paragraph[i + run] == " ":
                    run += 1
                parts.append(" " if run == 1 else f' <text:s text:c="{run - 1}"/>')
                i += run
                continue
            else:
                parts.append(escape(c))
            i += 1
        body.append("<text:p>" + "".join(parts) + "</text:p>")
    return "".join(body)


def flat_odt_document(body):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
            'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
            'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" office:version="1.2" '
            'office:mimetype="application/vnd.oasis.opendocument.text">'
            "<office:body><office:text>" + body +
            "</office:text></office:body></office:document>\n")


def clipboard_text(text):
    """What copying the text gives as ANSI text in code page 1252."""
    return text.replace("\n", "\r\n").replace("\v", "\r\n").encode("cp1252", errors="replace")


def soffice(profile, target, out_dir, sources):
    command = ["soffice", f"-env:UserInstallation=file://{profile}", "--headless", "--norestore",
               "--convert-to", target, "--outdir", out_dir] + sources
    result = subprocess.run(command, capture_output=True, text=True, timeout=900)
    for source in sources:
        stem = os.path.splitext(os.path.basename(source))[0]
        extension = target.split(":")[0]
        if not os.path.exists(os.path.join(out_dir, f"{stem}.{extension}")):
            raise AssertionError(f"soffice could not convert {source} to {target}:\n"
                                 f"{result.stdout}{result.stderr}")


def run_tool(tool, *arguments):
    result = subprocess.run([tool, *arguments], capture_output=True, timeout=300)
    if result.returncode != 0:
        raise AssertionError(f"{tool} {' '.join(arguments)} failed: {result.stderr!r}")
    return result.stdout


def counts(tool, path):
    return run_tool(tool, path).split()[:3]


def main(tool):
    if shutil.which("soffice") is None:
        print("FAIL: soffice (LibreOffice Writer) is not installed; scripts/install-deps.sh adds it")
        return 1
    work = tempfile.mkdtemp(prefix="qm-documents-")
    try:
        profile = os.path.join(work, "profile")
        texts = dict(TEXTS)
        texts["large_3mb"] = large_text(3 * 1024 * 1024)
        bodies = {name: flat_odt_body(text) for name, text in texts.items()}
        for name, (body, text) in MARKED_UP.items():
            bodies[name] = body
            texts[name] = text
        sources = []
        for name, text in texts.items():
            with open(os.path.join(work, f"{name}.fodt"), "w", encoding="utf-8") as out:
                out.write(flat_odt_document(bodies[name]))
            with open(os.path.join(work, f"{name}.txt"), "wb") as out:
                out.write(clipboard_text(text))
            sources.append(os.path.join(work, f"{name}.fodt"))
        documents = os.path.join(work, "documents")
        for extension in FORMATS:
            soffice(profile, extension, documents, sources)
        failures = []
        for extension in FORMATS:
            back = os.path.join(work, f"text-of-{extension}")
            paths = [os.path.join(documents, f"{name}.{extension}") for name in texts]
            soffice(profile, "txt:Text (encoded):MS_1252,CRLF", back, paths)
            for name in texts:
                document = os.path.join(documents, f"{name}.{extension}")
                with open(os.path.join(back, f"{name}.txt"), "rb") as judged:
                    expected = judged.read()
                # The export ends the last paragraph too, and writes a manual line break as a
                # bare LF; the clipboard's text has no line end after the last paragraph and
                # CR LF for a manual line break.
                if expected.endswith(b"\r\n"):
                    expected = expected[:-2]
                expected = re.sub(rb"(?<!\r)\n", b"\r\n", expected)
                got = run_tool(tool, "--text", document)
                if got != expected:
                    at = next((i for i, (a, b) in enumerate(zip(got, expected)) if a != b),
                              min(len(got), len(expected)))
                    failures.append(f"{name}.{extension}: --text differs from LibreOffice's text "
                                    f"at byte {at}: {got[at:at + 40]!r} vs {expected[at:at + 40]!r}")
                original = os.path.join(work, f"{name}.txt")
                if counts(tool, document) != counts(tool, original):
                    failures.append(f"{name}.{extension}: counts {counts(tool, document)} but the "
                                    f"text copied gives {counts(tool, original)}")
        for failure in failures:
            print("FAIL:", failure)
        checked = len(texts) * len(FORMATS)
        print(f"{checked - len(failures)} of {checked} documents agree with LibreOffice")
        return 1 if failures else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


def make_document(target):
    """One .docx of the short texts, made by LibreOffice, at `target`."""
    work = tempfile.mkdtemp(prefix="qm-document-")
    try:
        stem = os.path.splitext(os.path.basename(target))[0]
        source = os.path.join(work, f"{stem}.fodt")
        with open(source, "w", encoding="utf-8") as out:
            out.write(flat_odt("\n".join(TEXTS.values())))
        soffice(os.path.join(work, "profile"), "docx", work, [source])
        os.makedirs(os.path.dirname(os.path.abspath(target)), exist_ok=True)
        shutil.move(os.path.join(work, f"{stem}.docx"), target)
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--make":
        sys.exit(make_document(sys.argv[2]))
    sys.exit(main(sys.argv[1]))
