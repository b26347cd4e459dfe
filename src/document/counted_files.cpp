#include "document/counted_files.h"

#include "document/document_text.h"

namespace {

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool JoinCountedText(const std::string& next, bool first, std::string* joined) {
    const std::size_t separator = first ? 0 : 2;
    if (joined->size() + separator > kMaxDocumentBytes ||
        next.size() > kMaxDocumentBytes - joined->size() - separator)
        return false;
    if (!first) joined->append("\r\n");
    joined->append(next);
    return true;
}

std::string CountedFilesStatus(const std::vector<std::string>& paths) {
    if (paths.empty()) return std::string();
    std::string status = "Counted: " + FileNameOf(paths.front());
    if (paths.size() == 2) status += " and 1 more file";
    if (paths.size() > 2) status += " and " + std::to_string(paths.size() - 1) + " more files";
    return status;
}

std::string CannotCountMessage(const std::string& path, const std::string& reason) {
    return "Quillmet cannot count the file \"" + path + "\": " + reason +
           ".\n\nThe counts and the counted text stay as they were.";
}
