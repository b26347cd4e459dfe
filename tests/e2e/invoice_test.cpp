// "Add to Invoice" in the real program: a counted and priced text becomes a record of a new
// invoice file, and the next job is appended to the same file.
#include <ctime>
#include <fstream>
#include <iterator>

#include "resource_ids.h"
#include "support/running_program.h"

namespace e2e {
namespace {

constexpr DWORD kDialogBoundMs = 20000;

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Today() {
    std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", local->tm_year + 1900, local->tm_mon + 1,
                  local->tm_mday);
    return text;
}

class InvoiceTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteProductSettings();
        folder_ = MakeScratchFolder("invoice");
        path_ = folder_ + "\\jobs.tsv";
        DeleteFileA(path_.c_str());
    }
    void TearDown() override {
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
        DeleteProductSettings();
    }

    // Puts text on the clipboard and has the main window count and price it.
    static void Count(HWND window, const char* text) {
        ASSERT_TRUE(PutTextOnClipboard(text));
        SendMessageA(window, WM_COMMAND, IDCMD_UPDATE_TEXT, 0);
    }

    // Opens the invoice dialog from the main window, as the File menu does.
    static HWND OpenInvoiceDialog(RunningProgram& program) {
        PostMessageA(program.window(), WM_COMMAND, IDCMD_ADD_TO_INVOICE, 0);
        return WaitForDialog("Create or Add to TSV File", program.process().Id(), kDialogBoundMs);
    }

    // Presses OK, checks and answers the confirmation; true once the dialog has closed.
    static bool ConfirmInvoice(RunningProgram& program, HWND dialog) {
        PressButton(dialog, IDOK);
        HWND box = WaitForDialog("Confirmation", program.process().Id(), kDialogBoundMs);
        EXPECT_NE(box, nullptr) << "no confirmation after OK";
        if (box == nullptr) return false;
        EXPECT_EQ(MessageBoxText(box), "File Updated.");
        PressButton(box, IDOK);
        return WaitFor([&] { return !IsWindow(dialog); }, kDialogBoundMs);
    }

    // The record line of the current job, from the values the program stored.
    static std::string ExpectedRecord(const char* jobName) {
        std::string record;
        record += ReadSetting(HKEY_CURRENT_USER, "Settings", "1") + " \t";
        record += std::string(jobName) + " \t";
        for (const char* value : {"3", "4", "5", "6"}) {
            record += ReadSetting(HKEY_CURRENT_USER, "Settings", value) + " \t";
        }
        return record + " \r\n";
    }

    std::string folder_;
    std::string path_;
};

TEST_F(InvoiceTest, AddToInvoiceWritesTheCountedJobAndAppendsTheNext) {
    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr) << "no window titled Quillmet appeared";
    SetControlText(window, IDC_FIXED_COST, "5");
    SetControlText(window, IDC_PER_WORD, "0.25");
    Count(window, "one two three four");
    ASSERT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "3"), "18");
    ASSERT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "4"), "4");
    ASSERT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "6"), "6.00");

    HWND dialog = OpenInvoiceDialog(program);
    ASSERT_NE(dialog, nullptr) << "Add to Invoice opened no invoice dialog";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
    EXPECT_FALSE(IsWindowEnabled(window)) << "the dialog must be modal over the main window";
    EXPECT_EQ(ControlText(dialog, IDC_INVOICE_JOB_NAME), "Typing Job");
    EXPECT_EQ(ControlText(dialog, IDC_INVOICE_PATH), "");
    SetControlText(dialog, IDC_INVOICE_PATH, path_.c_str());
    SetControlText(dialog, IDC_INVOICE_JOB_NAME, "Minutes");
    ASSERT_TRUE(ConfirmInvoice(program, dialog));
    EXPECT_TRUE(IsWindowEnabled(window));

    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "1"), Today());
    const std::string firstRecord = ExpectedRecord("Minutes");
    EXPECT_EQ(firstRecord, Today() + " \tMinutes \t18 \t4 \t1 \t6.00 \t \r\n");
    EXPECT_EQ(
        FileBytes(path_),
        "Typing Invoice\r\n"
        "Date \tJob Name \tNo. of Characters \tNo. of Words \tNo. of Lines \tTotal Cost \t \r\n" +
            firstRecord);
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "TSVFilePath"), path_);

    // The next job goes to the end of the same file.
    Count(window, "five six");
    dialog = OpenInvoiceDialog(program);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(dialog, IDC_INVOICE_PATH), path_);
    EXPECT_EQ(ControlText(dialog, IDC_INVOICE_JOB_NAME), "Minutes");
    SendDlgItemMessageA(dialog, IDC_INVOICE_OVERWRITE, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageA(dialog, IDC_INVOICE_APPEND, BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(ConfirmInvoice(program, dialog));

    const std::string secondRecord = ExpectedRecord("Minutes");
    EXPECT_EQ(secondRecord, Today() + " \tMinutes \t8 \t2 \t1 \t5.50 \t \r\n");
    EXPECT_EQ(
        FileBytes(path_),
        "Typing Invoice\r\n"
        "Date \tJob Name \tNo. of Characters \tNo. of Words \tNo. of Lines \tTotal Cost \t \r\n" +
            firstRecord + secondRecord);
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "Overwrite"), "0");
    EXPECT_TRUE(program.End());
}

}  // namespace
}  // namespace e2e
