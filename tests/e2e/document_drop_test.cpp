// Documents dropped on the real program's main window: a .docx counts as quillmet-count counts
// it, several files count as one text in the order dropped, "Count File..." counts the file
// chosen, and a damaged file is named in a message and changes nothing.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "resource_ids.h"
#include "support/running_program.h"

namespace e2e {
namespace {

constexpr DWORD kCountBoundMs = 20000;

struct Counts {
    std::string characters, words, lines;
};

// The three counts of quillmet-count's first row: "characters words lines name".
Counts ToolCounts(const std::string& path) {
    const std::string output =
        ConsoleOutput(WindowsPathFromEnvironment("QM_COUNT_EXE"), "\"" + path + "\"");
    char characters[32] = {}, words[32] = {}, lines[32] = {};
    std::sscanf(output.c_str(), "%31s %31s %31s", characters, words, lines);
    return {characters, words, lines};
}

Counts WindowCounts(HWND window) {
    return {ControlText(window, IDC_CHARACTERS), ControlText(window, IDC_WORDS),
            ControlText(window, IDC_LINES)};
}

TEST(DocumentDropTest, DroppedDocumentsCountAsTheToolCountsThemAndDamageChangesNothing) {
    DeleteProductSettings();
    const std::string docx = WindowsPathFromEnvironment("QM_DROP_DOCX");
    const std::string bomb = WindowsPathFromEnvironment("QM_DAMAGED_DIR") + "\\bomb.docx";
    ASSERT_FALSE(docx.empty()) << "QM_DROP_DOCX names no document";
    const std::string folder = MakeScratchFolder("document-drop");
    const std::string notes = folder + "\\notes.txt";
    std::ofstream(notes, std::ios::binary) << "Last words.";

    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr) << "no window titled Quillmet appeared";
    HWND statusBar = GetDlgItem(window, IDC_STATUS_BAR);

    // One .docx: the same three counts as quillmet-count's, and the status bar names it.
    const Counts tool = ToolCounts(docx);
    ASSERT_FALSE(tool.characters.empty()) << "quillmet-count gave no counts for " << docx;
    ASSERT_TRUE(DropFiles(window, program.process().Id(), {docx}));
    ASSERT_TRUE(WaitFor([&] { return ControlText(window, IDC_CHARACTERS) != "0"; }, kCountBoundMs))
        << "the dropped document was not counted";
    Counts shown = WindowCounts(window);
    EXPECT_EQ(shown.characters, tool.characters);
    EXPECT_EQ(shown.words, tool.words);
    EXPECT_EQ(shown.lines, tool.lines);
    EXPECT_EQ(StatusBarPartText(statusBar, program.process().Id(), 1), "Counted: dropped.docx");
    const std::string documentText = ControlText(window, IDC_COUNTED_TEXT);
    EXPECT_EQ(documentText.compare(0, 16, "First paragraph\t"), 0) << documentText;

    // Two files: one text, in the order dropped, joined by CR LF.
    ASSERT_TRUE(DropFiles(window, program.process().Id(), {docx, notes}));
    const int joinedLength = std::stoi(tool.characters) + 2 + 11;
    ASSERT_TRUE(
        WaitFor([&] { return ControlText(window, IDC_CHARACTERS) == std::to_string(joinedLength); },
                kCountBoundMs))
        << "the two files were not counted as one text";
    const std::string joined = ControlText(window, IDC_COUNTED_TEXT);
    EXPECT_EQ(joined.substr(joined.size() - 13), "\r\nLast words.");
    EXPECT_EQ(StatusBarPartText(statusBar, program.process().Id(), 1),
              "Counted: dropped.docx and 1 more file");

    // "Count File...": the open-file dialog, given the text file's name.
    PostMessageA(window, WM_COMMAND, IDCMD_COUNT_FILE, 0);
    HWND dialog = WaitForDialog("Count File", program.process().Id(), kCountBoundMs);
    ASSERT_NE(dialog, nullptr) << "\"Count File...\" opened no dialog";
    const int kFileNameBox = 0x47C;  // the file name's combo box of the common dialog
    SendDlgItemMessageA(dialog, kFileNameBox, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(notes.c_str()));
    PressButton(dialog, IDOK);
    ASSERT_TRUE(WaitFor([&] { return ControlText(window, IDC_CHARACTERS) == "11"; }, kCountBoundMs))
        << "the file chosen in the dialog was not counted";
    EXPECT_EQ(ControlText(window, IDC_COUNTED_TEXT), "Last words.");
    EXPECT_EQ(StatusBarPartText(statusBar, program.process().Id(), 1), "Counted: notes.txt");

    // A damaged file: one message naming it and the reason; counts, text and status stay.
    const Counts before = WindowCounts(window);
    const std::string total = ControlText(window, IDC_TOTAL);
    ASSERT_TRUE(DropFiles(window, program.process().Id(), {bomb}));
    HWND box = WaitForDialog("Error", program.process().Id(), kCountBoundMs);
    ASSERT_NE(box, nullptr) << "no message for the damaged file";
    const std::string message = MessageBoxText(box);
    EXPECT_NE(message.find(bomb), std::string::npos) << message;
    EXPECT_NE(message.find("compressed data is damaged"), std::string::npos) << message;
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kCountBoundMs));
    const Counts after = WindowCounts(window);
    EXPECT_EQ(after.characters, before.characters);
    EXPECT_EQ(after.words, before.words);
    EXPECT_EQ(after.lines, before.lines);
    EXPECT_EQ(ControlText(window, IDC_TOTAL), total);
    EXPECT_EQ(ControlText(window, IDC_COUNTED_TEXT), "Last words.");
    EXPECT_EQ(StatusBarPartText(statusBar, program.process().Id(), 1), "Counted: notes.txt");
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "3"), before.characters);

    EXPECT_TRUE(program.End());
    DeleteFileA(notes.c_str());
    RemoveDirectoryA(folder.c_str());
    DeleteProductSettings();
}

}  // namespace
}  // namespace e2e
