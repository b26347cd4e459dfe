// Counting files in the program: several files make one text, and what the window says about
// them. Platform-free.
#pragma once

#include <string>
#include <vector>

// Adds the text of the next file to `joined`: files follow one another in the order given,
// joined by CR LF. False, leaving `joined` as it was, when the whole would pass the limit.
bool JoinCountedText(const std::string& next, bool first, std::string* joined);

// The status bar's words for the files of a count: "Counted: report.docx", or with more files
// "Counted: a.docx and 2 more files". Only the file names, without their folders.
std::string CountedFilesStatus(const std::vector<std::string>& paths);

// The message for a file that cannot be counted, naming it and the reason.
std::string CannotCountMessage(const std::string& path, const std::string& reason);
