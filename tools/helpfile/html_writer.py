"""Writes the manual as one HTML page (manual.html) from the same topics as the help file.

The page holds every topic in source order, the contents first, each in a section whose id
is the topic's context name, so that manual.html#<context> opens that topic. The contents
topic ends with links to the other topics. Titles are headings (h1 for the contents, h2 for
the others), sub-headings h3, list items a list, other paragraphs p, bold runs b. A small
inline style sheet sets the look; there are no scripts and no outside files, and the page
prints as it reads. UTF-8; the output depends on nothing but the input.
"""

import html

STYLE = """\
body { font-family: Arial, Helvetica, sans-serif; font-size: 10pt; line-height: 1.4;
       max-width: 46em; margin: 1em auto; padding: 0 1em; color: #000; background: #fff; }
h1, h2 { color: #000080; font-size: 14pt; margin: 0 0 0.6em; }
h3 { font-size: 11pt; margin: 1em 0 0.2em; }
p { margin: 0 0 0.5em; }
ul { margin: 0 0 0.5em; padding-left: 1.4em; }
li { margin: 0 0 0.2em; }
section { border-top: 1px solid #808080; padding-top: 0.8em; margin-top: 1.6em; }
section:first-of-type { border-top: none; margin-top: 0; }
footer { color: #404040; font-size: 8pt; margin-top: 2em; }
@media print { section { page-break-before: always; border-top: none; }
               section:first-of-type { page-break-before: auto; } a { color: inherit; } }
"""


def _inline(runs, bold_fonts):
    """The runs as HTML: bold fonts in <b>, tabs left out (they only align list bullets)."""
    parts = []
    for font, text in runs:
        if text == "\t":
            continue
        escaped = html.escape(text, quote=False)
        parts.append(f"<b>{escaped}</b>" if font in bold_fonts else escaped)
    return "".join(parts)


def build_manual_html(help_file, kind_of, bold_fonts, bullet):
    """The page as bytes. kind_of(paragraph) names a paragraph's kind: "title", "heading",
    "item" or "text"; runs in one of bold_fonts are bold; an item's leading bullet run is
    left out (the list draws its own)."""
    out = ["<!DOCTYPE html>", '<html lang="en">', "<head>", '<meta charset="utf-8">',
           f"<title>{html.escape(help_file.title)}</title>", "<style>", STYLE + "</style>",
           "</head>", "<body>"]
    for index, topic in enumerate(help_file.topics):
        out.append(f'<section id="{html.escape(topic.context)}">')
        in_list = False
        for paragraph in topic.paragraphs:
            kind = kind_of(paragraph)
            runs = paragraph.runs
            if kind == "item" and runs and runs[0][1] == bullet:
                runs = runs[1:]
            if in_list and kind != "item":
                out.append("</ul>")
                in_list = False
            text = _inline(runs, bold_fonts)
            if kind == "title":
                tag = "h1" if index == 0 else "h2"
                out.append(f"<{tag}>{text}</{tag}>")
            elif kind == "heading":
                out.append(f"<h3>{text}</h3>")
            elif kind == "item":
                if not in_list:
                    out.append("<ul>")
                    in_list = True
                out.append(f"<li>{text}</li>")
            else:
                out.append(f"<p>{text}</p>")
        if in_list:
            out.append("</ul>")
        if index == 0 and len(help_file.topics) > 1:
            out.append("<h3>Topics</h3>")
            out.append("<ul>")
            for other in help_file.topics[1:]:
                out.append(f'<li><a href="#{html.escape(other.context)}">'
                           f"{html.escape(other.title, quote=False)}</a></li>")
            out.append("</ul>")
        out.append("</section>")
    out += [f"<footer>{html.escape(help_file.copyright, quote=False)}</footer>", "</body>",
            "</html>", ""]
    return "\n".join(out).encode("utf-8")
