// The body text of the XML parts of word-processor documents, as copying the whole document
// would give it: paragraphs separated by CR LF, tabs, manual line breaks as CR LF.
// Platform-free. Both return false when the XML is malformed.
#pragma once

#include <string_view>

#include "document/code_pages.h"

// word/document.xml of a .docx: w:p paragraphs, w:t text, w:tab, w:br and w:cr, a footnote's
// mark as its number; field results count and their instructions do not; deleted revisions (w:del, w:moveFrom) do not count, and
// the fallback copies of alternate content (mc:Fallback) are not read twice.
bool WordDocumentText(std::string_view xml, AnsiText* out);

// content.xml of an .odt: text:p and text:h paragraphs, text:s (text:c spaces), text:tab and
// text:line-break; white space in the XML collapses to one space as the format prescribes;
// a note's mark counts, and tracked deletions, annotations and note bodies do not.
bool OpenDocumentText(std::string_view xml, AnsiText* out);
