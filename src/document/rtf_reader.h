// The body text of an RTF document, as copying the whole document would give it. Platform-free.
//
// \par and \cell end a paragraph (a last paragraph ended by \par gets no line break), \line is
// CR LF, \tab a tab, \chftn the number of a note's mark; \'hh is a byte in the document's code page (\ansicpg, 1252 when absent) and \uN
// a Unicode character followed by \ucN fallback characters (1 unless set), which are passed
// over. Groups that hold no body text are passed over: \fonttbl, \colortbl, \stylesheet,
// \info, \pict, field instructions, headers, footers and notes, list numbers (\listtext,
// \pntext), and every {\*\...} destination.
#pragma once

#include <string_view>

#include "document/code_pages.h"

enum class RtfResult {
    Ok,
    Unreadable,  // no "{\rtf" at the start, a group left open or closed twice, nesting too deep
};

RtfResult RtfDocumentText(std::string_view rtf, AnsiText* out);
