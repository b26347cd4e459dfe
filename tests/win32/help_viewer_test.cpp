// The built app.hlp in the system's help viewer: WinHelpA opens its contents and the two
// context topics the program asks for (101 the settings page, 103 the invoice data dialog) in
// a window captioned by the file, and HELP_QUIT closes it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "win32/support/help_viewer_win32.h"

namespace {

constexpr DWORD kViewerBoundMs = 30000;

// The help file the build made (QM_HELP_FILE, a Unix path), as Wine's drive Z: sees it.
std::string BuiltHelpFile() {
    const char* unixPath = std::getenv("QM_HELP_FILE");
    if (unixPath == nullptr || unixPath[0] != '/') return "";
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

TEST(HelpViewerTest, WinHelpShowsTheContentsAndBothContextTopicsAndQuits) {
    const std::string path = BuiltHelpFile();
    ASSERT_FALSE(path.empty()) << "QM_HELP_FILE names no built help file";
    ASSERT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    HWND owner = CreateWindowExA(0, "STATIC", "Help owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    help_viewer::ViewerCloser closer;

    struct Row {
        const char* what;
        UINT command;
        ULONG_PTR data;
        const char* title;
    };
    const Row rows[] = {
        {"contents", HELP_CONTENTS, 0, "Quillmet Help"},
        {"context 101", HELP_CONTEXT, 101, "The Settings Page"},
        {"context 103", HELP_CONTEXT, 103, "The Invoice Data Dialog"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(WinHelpA(owner, path.c_str(), row.command, row.data));
        HWND viewer = help_viewer::WaitForTopic(row.title, kViewerBoundMs);
        ASSERT_NE(viewer, nullptr)
            << "no help window shows \"" << row.title << "\"; shown: " << help_viewer::Shown();
        EXPECT_EQ(help_viewer::Caption(viewer), "Quillmet Help");
        // The title is the topic's first paragraph, followed by its text.
        EXPECT_GT(help_viewer::TopicText(viewer).size(), std::string(row.title).size() + 100);
    }

    EXPECT_TRUE(WinHelpA(owner, path.c_str(), HELP_QUIT, 0));
    EXPECT_TRUE(help_viewer::WaitForNoViewer(kViewerBoundMs))
        << "HELP_QUIT left the help window open";
    DestroyWindow(owner);
}

}  // namespace
