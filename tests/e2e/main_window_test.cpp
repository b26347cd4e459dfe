// The main window of the real program: counting, pricing, the exit question and the tray.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

#include "counting/text_counting.h"
#include "resource_ids.h"
#include "support/running_program.h"

namespace e2e {
namespace {

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override { DeleteProductSettings(); }
    void TearDown() override { DeleteProductSettings(); }

    static void Command(HWND window, int id) { SendMessageA(window, WM_COMMAND, id, 0); }
};

TEST_F(MainWindowTest, CountsTheClipboardAndPricesTheJob) {
    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr) << "no window titled Quillmet appeared";
    EXPECT_EQ(ControlText(window, IDC_TOTAL), "0.00 ");
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "3"), "0");

    SetControlText(window, IDC_FIXED_COST, "5");
    SetControlText(window, IDC_PER_CHAR, "0.01");
    SetControlText(window, IDC_PER_WORD, "0.1");
    SetControlText(window, IDC_PER_LINE, "0.5");
    SetControlText(window, IDC_WIDTH, "10");
    // 2 lines of 12 and 5 characters with CR LF: the first wraps at 10 columns.
    ASSERT_TRUE(PutTextOnClipboard("Hello world!\r\nSmall"));
    Command(window, IDCMD_UPDATE_TEXT);

    EXPECT_EQ(ControlText(window, IDC_COUNTED_TEXT), "Hello world!\r\nSmall");
    EXPECT_EQ(ControlText(window, IDC_CHARACTERS), "19");
    EXPECT_EQ(ControlText(window, IDC_WORDS), "3");
    EXPECT_EQ(ControlText(window, IDC_LINES), "3");
    EXPECT_EQ(ControlText(window, IDC_CHAR_AMOUNT), "0.19 ");
    EXPECT_EQ(ControlText(window, IDC_WORD_AMOUNT), "0.30 ");
    EXPECT_EQ(ControlText(window, IDC_LINE_AMOUNT), "1.50 ");
    EXPECT_EQ(ControlText(window, IDC_TOTAL), "6.99 ");
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "3"), "19");
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "4"), "3");
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "5"), "3");
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "6"), "6.99");
    EXPECT_EQ(ReadSetting(HKEY_LOCAL_MACHINE, "Settings", "Installed"), "1");
}

TEST_F(MainWindowTest, AnEmptyTextCountsNothingAndNoTextKeepsTheLastCount) {
    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PutTextOnClipboard("Hello\r\nWorld"));
    Command(window, IDCMD_UPDATE_TEXT);
    EXPECT_EQ(ControlText(window, IDC_CHARACTERS), "12");

    // With no text on the clipboard, the box and the counts stay those of the last text.
    ASSERT_TRUE(EmptyTheClipboard());
    Command(window, IDCMD_UPDATE_TEXT);
    EXPECT_EQ(ControlText(window, IDC_COUNTED_TEXT), "Hello\r\nWorld");
    EXPECT_EQ(ControlText(window, IDC_CHARACTERS), "12");
    EXPECT_EQ(ControlText(window, IDC_WORDS), "2");
    EXPECT_EQ(ControlText(window, IDC_LINES), "2");

    ASSERT_TRUE(PutTextOnClipboard(""));
    Command(window, IDCMD_UPDATE_TEXT);
    EXPECT_EQ(ControlText(window, IDC_COUNTED_TEXT), "");
    EXPECT_EQ(ControlText(window, IDC_CHARACTERS), "0");
    EXPECT_EQ(ControlText(window, IDC_WORDS), "0");
    EXPECT_EQ(ControlText(window, IDC_LINES), "0");
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "5"), "0");
}

TEST_F(MainWindowTest, WrongRatesAndWidthsAreCorrectedAtTheNextCount) {
    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PutTextOnClipboard("abc"));

    SetControlText(window, IDC_PER_CHAR, "150");
    SetControlText(window, IDC_PER_WORD, "-1");
    SetControlText(window, IDC_PER_LINE, "cheap");
    SetControlText(window, IDC_WIDTH, "0");
    // Editing alone changes nothing.
    EXPECT_EQ(ControlText(window, IDC_PER_CHAR), "150");
    EXPECT_EQ(ControlText(window, IDC_TOTAL), "0.00 ");

    Command(window, IDCMD_UPDATE_TEXT);
    EXPECT_EQ(ControlText(window, IDC_PER_CHAR), "100.00");
    EXPECT_EQ(ControlText(window, IDC_PER_WORD), "0.00");
    EXPECT_EQ(ControlText(window, IDC_PER_LINE), "cheap");
    EXPECT_EQ(ControlText(window, IDC_WIDTH), "1");
    EXPECT_EQ(ControlText(window, IDC_LINES), "3");
    EXPECT_EQ(ControlText(window, IDC_CHAR_AMOUNT), "300.00 ");
    EXPECT_EQ(ControlText(window, IDC_TOTAL), "300.00 ");

    SetControlText(window, IDC_WIDTH, "501");
    Command(window, IDCMD_UPDATE_TEXT);
    EXPECT_EQ(ControlText(window, IDC_WIDTH), "500");
    EXPECT_EQ(ControlText(window, IDC_LINES), "1");
}

TEST_F(MainWindowTest, PricingInputsSurviveARestartAsTyped) {
    {
        RunningProgram program;
        ASSERT_NE(program.window(), nullptr);
        SetControlText(program.window(), IDC_FIXED_COST, "12.5");
        SetControlText(program.window(), IDC_PER_WORD, "-5");
        SetControlText(program.window(), IDC_WIDTH, "64");
        ASSERT_TRUE(program.End());
    }
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "WordCost"), "-5");

    RunningProgram program;
    ASSERT_NE(program.window(), nullptr);
    EXPECT_EQ(ControlText(program.window(), IDC_FIXED_COST), "12.5");
    EXPECT_EQ(ControlText(program.window(), IDC_WIDTH), "64");
    // The recomputation at start-up corrects the rate saved as typed.
    EXPECT_EQ(ControlText(program.window(), IDC_PER_WORD), "0.00");
    EXPECT_EQ(ControlText(program.window(), IDC_TOTAL), "12.50 ");
}

TEST_F(MainWindowTest, EnterAndEscapeNeitherCloseNorHide) {
    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_COMMAND, IDOK, 0);
    SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(program.process().Running());
}

TEST_F(MainWindowTest, CloseBoxEndsWithoutTheExitQuestion) {
    RunningProgram program;
    ASSERT_NE(program.window(), nullptr);
    PostMessageA(program.window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.process().WaitForExit(kExitBoundMs));
    EXPECT_EQ(WaitForDialog("Confirm Exit", program.process().Id(), 0), nullptr);
}

TEST_F(MainWindowTest, ExitQuestionAnswersCancelYesAndNo) {
    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr);

    PostMessageA(window, WM_COMMAND, IDCMD_EXIT, 0);
    HWND box = WaitForDialog("Confirm Exit", program.process().Id(), kStartBoundMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Do you want Quillmet to run in the background?");
    PressButton(box, IDCANCEL);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, kExitBoundMs));
    EXPECT_TRUE(IsWindowVisible(window));

    PostMessageA(window, WM_COMMAND, IDCMD_EXIT, 0);
    box = WaitForDialog("Confirm Exit", program.process().Id(), kStartBoundMs);
    ASSERT_NE(box, nullptr);
    PressButton(box, IDYES);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }, kExitBoundMs));
    EXPECT_TRUE(program.process().Running());

    PostMessageA(window, WM_COMMAND, IDCMD_EXIT, 0);
    box = WaitForDialog("Confirm Exit", program.process().Id(), kStartBoundMs);
    ASSERT_NE(box, nullptr);
    PressButton(box, IDNO);
    EXPECT_TRUE(program.process().WaitForExit(kExitBoundMs));
}

TEST_F(MainWindowTest, CloseToTrayHidesAndTheTrayIconBringsItBack) {
    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_COMMAND, IDCMD_CLOSE_TO_TRAY, 0);
    EXPECT_FALSE(IsWindowVisible(window));

    // A left click on the tray icon arrives as the icon's callback message.
    SendMessageA(window, WM_APP + 103, 24, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(window));

    SendMessageA(window, WM_COMMAND, IDCMD_CLOSE_TO_TRAY, 0);
    SendMessageA(window, WM_COMMAND, IDCMD_OPEN_FROM_TRAY, 0);
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(MainWindowTest, HelpMenuLinkOpensItsPage) {
    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr);
    ForgetOpenedPages();
    SendMessageA(window, WM_COMMAND, IDCMD_FIRST_LINK, 0);
    EXPECT_TRUE(
        WaitFor([] { return OpenedPages().find("/counter/index.html") != std::string::npos; },
                kStartBoundMs))
        << "pages opened: " << OpenedPages();
}

// A clipboard-sized text (over a mebibyte) with every kind of byte the counts tell apart:
// words, spaces, tabs, CR LF, upper bytes, lines longer than any window.
std::string LargeClipboardText() {
    const char* const pieces[] = {"word", " ",  "Quillmet", "\r\n", "don't", "3.14",
                                  "\t",   "  ", "caf\xE9",  "\x97", "-",     ",",
                                  "\xFF", "\n", "e.g.",     "\r"};
    std::string text;
    unsigned seed = 20261207;
    while (text.size() < (3u << 19)) {
        seed = seed * 1103515245u + 12345u;
        const unsigned pick = (seed >> 16) % 20;
        text += pick < 16 ? std::string(pieces[pick]) : std::string(60 + pick * 7, 'x');
    }
    return text;
}

// The counts the program shows for the text at a width, with its counting kernel chosen by
// QM_COUNTING_KERNEL (unset: the fastest the processor offers).
std::string ShownCounts(const std::string& text, const char* kernel, const char* width) {
    SetEnvironmentVariableA("QM_COUNTING_KERNEL", kernel);
    RunningProgram program;
    SetEnvironmentVariableA("QM_COUNTING_KERNEL", nullptr);
    HWND window = program.window();
    if (window == nullptr) return "no window titled Quillmet: " + program.process().WhyNoWindow();
    SetControlText(window, IDC_WIDTH, width);
    if (!PutTextOnClipboard(text)) return "the text did not go onto the clipboard";
    SendMessageA(window, WM_COMMAND, IDCMD_UPDATE_TEXT, 0);
    return ControlText(window, IDC_CHARACTERS) + " " + ControlText(window, IDC_WORDS) + " " +
           ControlText(window, IDC_LINES);
}

TEST_F(MainWindowTest, ALargeTextCountsTheSameWithThePlainLoopAndTheVectorKernels) {
    const std::string text = LargeClipboardText();
    for (const char* width : {"80", "7"}) {
        const std::string expected = std::to_string(text.size()) + " " +
                                     std::to_string(CountWordsByRule(text.c_str())) + " " +
                                     std::to_string(CountLinesByRule(text.c_str(), atoi(width)));
        // The plain loop is what a processor without SSE2 runs.
        EXPECT_EQ(ShownCounts(text, "scalar", width), expected) << "width " << width;
        EXPECT_EQ(ShownCounts(text, nullptr, width), expected) << "width " << width;
    }
}

}  // namespace
}  // namespace e2e
