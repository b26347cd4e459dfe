// The main window's counting of files: "Count File..." and files dropped on the window.
#include "app/main_window_win32.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>

#include "counting/text_counting.h"
#include "document/counted_files.h"
#include "document/document_file_win32.h"
#include "document/document_text.h"
#include "resource_ids.h"

namespace {

const char kDocumentFilter[] =
    "Documents and texts (*.docx; *.odt; *.rtf; *.txt)\0*.docx;*.odt;*.rtf;*.txt\0";
constexpr int kStatusPadding = 24;  // around the text of a status bar part

}  // namespace

void MainWindow::ChooseFileToCount() {
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = kDocumentFilter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrTitle = "Count File";
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&dialog)) return;
    CountFiles({path});
}

void MainWindow::CountDroppedFiles(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        path.resize(DragQueryFileA(drop, i, &path[0], length + 1));
        if (!path.empty()) paths.push_back(path);
    }
    DragFinish(drop);
    CountFiles(paths);
}

void MainWindow::CountFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    const std::unique_ptr<AnsiEncoder> encoder = SystemAnsiEncoder();
    std::string joined;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::string text;
        std::string reason;
        if (ReadDocumentFile(paths[i], *encoder, &text, &reason) &&
            !JoinCountedText(text, i == 0, &joined)) {
            reason = "the files together are over the size limit of 256 MiB of text";
        }
        if (!reason.empty()) {
            MessageBoxA(window_, CannotCountMessage(paths[i], reason).c_str(), "Error",
                        MB_ICONERROR | MB_OK);
            return;
        }
    }
    // The text ends at its first zero byte, as a text on the clipboard does.
    joined.resize(strnlen(joined.c_str(), joined.size()));
    countedText_.swap(joined);
    hasCountedText_ = true;
    SetDlgItemTextA(window_, IDC_COUNTED_TEXT, countedText_.c_str());
    SetDlgItemInt(window_, IDC_CHARACTERS, static_cast<UINT>(countedText_.size()), TRUE);
    SetDlgItemInt(window_, IDC_WORDS, static_cast<UINT>(CountWords(countedText_.c_str())), TRUE);
    RecomputePrice();
    ShowCountedFilesStatus(CountedFilesStatus(paths));
}

void MainWindow::ShowCountedFilesStatus(const std::string& status) {
    HWND bar = GetDlgItem(window_, IDC_STATUS_BAR);
    if (bar == nullptr) return;
    if (status.empty()) {
        int whole[1] = {-1};
        SendMessageA(bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(whole));
        return;
    }
    RECT client{};
    GetClientRect(bar, &client);
    SIZE extent{};
    if (HDC dc = GetDC(bar)) {
        auto font = reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0));
        HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
        GetTextExtentPoint32A(dc, status.c_str(), static_cast<int>(status.size()), &extent);
        if (old != nullptr) SelectObject(dc, old);
        ReleaseDC(bar, dc);
    }
    // The ticker keeps the first part; the files take what their name needs, at most half.
    int width = static_cast<int>(extent.cx) + kStatusPadding;
    if (width > client.right / 2) width = client.right / 2;
    int parts[2] = {client.right - width, -1};
    SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessageA(bar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(status.c_str()));
}
