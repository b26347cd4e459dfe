// The invoice writer against real files under Wine: the bytes of new, overwritten and extended
// files, and the paths and files it cannot write.
//
// The files of SpreadsheetFiles go to the folder named by QM_SPREADSHEET_DIR when it is set, so
// that a later test can open them in a spreadsheet program and check where the cells land.
#include "invoice/invoice_writer_win32.h"

#include <windows.h>
#include <shlwapi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>

#include "invoice/invoice_model_win32.h"
#include "settings/settings_store_win32.h"
#include "support/file_bytes_win32.h"
#include "support/product_settings_win32.h"

namespace {

// The other process of the sharing test: started from this same program with QM_HOLD_FILE set,
// it holds that file open for reading without write sharing until told to let go.
const char* kHoldFileVariable = "QM_HOLD_FILE";
const DWORD kWaitBoundMs = 30000;

std::string EventName(const char* what, DWORD parentId) {
    char name[96];
    std::snprintf(name, sizeof name, "QuillmetInvoiceTest%s%lu", what,
                  static_cast<unsigned long>(parentId));
    return name;
}

int HoldFileIfAsked() {
    char path[MAX_PATH];
    char parent[32];
    if (GetEnvironmentVariableA(kHoldFileVariable, path, sizeof path) == 0) return 0;
    if (GetEnvironmentVariableA("QM_HOLD_PARENT", parent, sizeof parent) == 0) ExitProcess(2);
    const DWORD parentId = static_cast<DWORD>(std::strtoul(parent, nullptr, 10));
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) ExitProcess(3);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName("Ready", parentId).c_str());
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, EventName("Release", parentId).c_str());
    if (ready == nullptr || release == nullptr) ExitProcess(4);
    SetEvent(ready);
    const DWORD waited = WaitForSingleObject(release, kWaitBoundMs);
    CloseHandle(file);
    CloseHandle(ready);
    CloseHandle(release);
    ExitProcess(waited == WAIT_OBJECT_0 ? 0 : 5);
    return 0;
}

// Runs before GoogleTest starts, so the holder process never runs the tests.
const int kHolderRun = HoldFileIfAsked();

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Empties a folder of our own (files only, and one level of folders).
void EmptyFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            EmptyFolder(path);
            RemoveDirectoryA(path.c_str());
        } else {
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

const char* kCsvHeader =
    "Date, Job Name, No. of Characters, No. of Words, No. of Lines, Total Cost,  \r\n";
const char* kTsvHeader =
    "Date \tJob Name \tNo. of Characters \tNo. of Words \tNo. of Lines \tTotal Cost \t \r\n";
const char* kCsvRecord = "2026-03-07, Typing Job, 1250, 214, 19, 18.75,  \r\n";
const char* kTsvRecord = "2026-03-07 \tTyping Job \t1250 \t214 \t19 \t18.75 \t \r\n";

class InvoiceWriterTest : public testing::Test {
  protected:
    void SetUp() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        char name[64];
        std::snprintf(name, sizeof name, "quillmet-invoice-test-%lu",
                      static_cast<unsigned long>(GetCurrentProcessId()));
        folder_ = std::string(temp) + name;
        CreateDirectoryA(folder_.c_str(), nullptr);
        EmptyFolder(folder_);
        // The dialog stores the defaults and a priced job before the writer runs.
        EnsureInvoiceDefaults();
        SetJob("Typing Job");
    }
    void TearDown() override {
        EmptyFolder(folder_);
        RemoveDirectoryA(folder_.c_str());
        SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
    }

    static void SetJob(const char* jobName) {
        WriteInvoiceValue(1, "2026-03-07");
        WriteInvoiceValue(2, jobName);
        WriteInvoiceValue(3, "1250");
        WriteInvoiceValue(4, "214");
        WriteInvoiceValue(5, "19");
        WriteInvoiceValue(6, "18.75");
    }

    std::string PathOf(const char* name) const { return folder_ + "\\" + name; }

    std::string folder_;
};

const std::string kTitle = "Typing Invoice\r\n";
const char* const kOldLines = "old title\r\nold, header,  \r\n1, 2, 3,  \r\n4, 5, 6,  \r\n";
const char* const kUnterminated = "Date, Job Name\r\n2026-01-02, Old job";

// One job written to a new or existing file with the default columns: the file's bytes.
struct RecordRow {
    const char* name;  // also the file's name
    const char* job;
    const char* existing;  // the file's bytes before, or nullptr when there is no file
    bool tabbed;
    bool overwrite;
    bool showTitle;
    std::string expected;
};

// Names the row when a test fails.
void PrintTo(const RecordRow& row, std::ostream* out) { *out << row.name; }

class InvoiceWriterRecordTest : public InvoiceWriterTest,
                                public testing::WithParamInterface<RecordRow> {};

TEST_P(InvoiceWriterRecordTest, WritesExactlyTheseBytes) {
    const RecordRow& row = GetParam();
    const std::string path =
        PathOf((std::string(row.name) + (row.tabbed ? ".tsv" : ".csv")).c_str());
    if (row.existing != nullptr) WriteFileBytes(path, row.existing);
    SetJob(row.job);
    EXPECT_TRUE(InvoiceWriter(path.c_str(), row.tabbed, row.overwrite, row.showTitle));
    EXPECT_EQ(FileBytes(path), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InvoiceWriterRecordTest,
    testing::Values(
        RecordRow{"NewCsvWithTitle", "Typing Job", nullptr, false, false, true,
                  kTitle + kCsvHeader + kCsvRecord},
        RecordRow{"NewTsvWithTitle", "Typing Job", nullptr, true, true, true,
                  kTitle + kTsvHeader + kTsvRecord},
        RecordRow{"HiddenTitleStartsWithTheHeader", "Typing Job", nullptr, false, true, false,
                  std::string(kCsvHeader) + kCsvRecord},
        RecordRow{"OverwriteReplacesTheWholeFile", "Typing Job", kOldLines, false, true, true,
                  kTitle + kCsvHeader + kCsvRecord},
        // Appending starts a new line after a file without a final line break, and only then.
        RecordRow{"AppendAfterNoFinalLineBreak", "Typing Job", kUnterminated, false, false, true,
                  std::string(kUnterminated) + "\r\n" + kCsvRecord},
        RecordRow{"AppendAfterCrLf", "Typing Job", "a, b,  \r\n", false, false, true,
                  std::string("a, b,  \r\n") + kCsvRecord},
        RecordRow{"AppendAfterLf", "Typing Job", "a, b,  \n", false, false, true,
                  std::string("a, b,  \n") + kCsvRecord},
        RecordRow{"AppendAfterCr", "Typing Job", "a, b,  \r", false, false, true,
                  std::string("a, b,  \r") + kCsvRecord},
        RecordRow{"AppendToAnEmptyFileAddsTheRecordOnly", "Second", "", false, false, true,
                  "2026-03-07, Second, 1250, 214, 19, 18.75,  \r\n"},
        // Cells with the separator or double quotes are quoted.
        RecordRow{"CsvCellWithCommaAndQuotes", "Smith, John \"JJ\"", nullptr, false, false, true,
                  kTitle + kCsvHeader +
                      "2026-03-07,\"Smith, John \"\"JJ\"\"\", 1250, 214, 19, 18.75,  \r\n"},
        RecordRow{"TsvCellWithTab", "Smith\tJohn", nullptr, true, false, false,
                  std::string(kTsvHeader) +
                      "2026-03-07 \t\"Smith\tJohn\"\t1250 \t214 \t19 \t18.75 \t \r\n"}),
    [](const testing::TestParamInfo<RecordRow>& info) { return std::string(info.param.name); });

TEST_F(InvoiceWriterTest, AllSixColumnsHidden) {
    for (int field = 1; field <= 6; ++field) SetInvoiceFieldShown(field, false);
    const std::string tsv = PathOf("bare.tsv");
    EXPECT_TRUE(InvoiceWriter(tsv.c_str(), true, false, true));
    EXPECT_EQ(FileBytes(tsv), "Typing Invoice\r\n \r\n \r\n");
}

TEST_F(InvoiceWriterTest, HiddenColumnInACustomOrder) {
    int position = 6;
    while (position > 1) position = MoveInvoiceField(position, InvoiceMoveDirection::Up);
    SetInvoiceFieldShown(4, false);
    const std::string csv = PathOf("custom.csv");
    const std::string tsv = PathOf("custom.tsv");
    EXPECT_TRUE(InvoiceWriter(csv.c_str(), false, false, true));
    EXPECT_TRUE(InvoiceWriter(tsv.c_str(), true, false, false));
    SetJob("Letters");
    EXPECT_TRUE(InvoiceWriter(csv.c_str(), false, false, true));
    EXPECT_EQ(FileBytes(csv),
              "Typing Invoice\r\n"
              "Total Cost, Date, Job Name, No. of Characters, No. of Lines,  \r\n"
              "18.75, 2026-03-07, Typing Job, 1250, 19,  \r\n"
              "18.75, 2026-03-07, Letters, 1250, 19,  \r\n");
    EXPECT_EQ(FileBytes(tsv),
              "Total Cost \tDate \tJob Name \tNo. of Characters \tNo. of Lines \t \r\n"
              "18.75 \t2026-03-07 \tTyping Job \t1250 \t19 \t \r\n");
}

TEST_F(InvoiceWriterTest, AppendAddsTheRecordOnly) {
    const std::string tsv = PathOf("grow.tsv");
    EXPECT_TRUE(InvoiceWriter(tsv.c_str(), true, false, true));
    SetJob("Second");
    EXPECT_TRUE(InvoiceWriter(tsv.c_str(), true, false, true));
    EXPECT_EQ(FileBytes(tsv), std::string("Typing Invoice\r\n") + kTsvHeader + kTsvRecord +
                                  "2026-03-07 \tSecond \t1250 \t214 \t19 \t18.75 \t \r\n");
}

TEST_F(InvoiceWriterTest, RenamedTitleAndColumnsReachTheFile) {
    WriteInvoiceColumnName(0, "Acme Transcripts");
    WriteInvoiceColumnName(3, "Characters");
    EnsureInvoiceDefaults();  // the next opening of the dialog keeps them
    const std::string csv = PathOf("renamed.csv");
    EXPECT_TRUE(InvoiceWriter(csv.c_str(), false, false, true));
    EXPECT_EQ(FileBytes(csv),
              "Acme Transcripts\r\n"
              "Date, Job Name, Characters, No. of Words, No. of Lines, Total Cost,  \r\n" +
                  std::string(kCsvRecord));
}

TEST_F(InvoiceWriterTest, LongLinesAreWrittenWhole) {
    const std::string longName(259, 'N');
    const std::string longValue(259, 'v');
    for (int field = 1; field <= 6; ++field) {
        WriteInvoiceColumnName(field, longName.c_str());
        WriteInvoiceValue(field, longValue.c_str());
    }
    std::string header, record;
    for (int i = 0; i < 6; ++i) {
        header += longName + ", ";
        record += longValue + ", ";
    }
    const std::string csv = PathOf("long.csv");
    EXPECT_TRUE(InvoiceWriter(csv.c_str(), false, false, false));
    EXPECT_EQ(FileBytes(csv), header + " \r\n" + record + " \r\n");
}

TEST_F(InvoiceWriterTest, AppendBytesAddsExactlyTheBytes) {
    const std::string path = PathOf("raw.txt");
    EXPECT_TRUE(AppendBytesToFile(path.c_str(), "abc", 3));
    EXPECT_TRUE(AppendBytesToFile(path.c_str(), "de\0f", 4));
    EXPECT_EQ(FileBytes(path), std::string("abcde\0f", 7));
    EXPECT_TRUE(AppendLineToFile(path.c_str(), "g\r\n", 3));
    EXPECT_TRUE(AppendLineToFile(path.c_str(), "h\r\n", 3));
    EXPECT_EQ(FileBytes(path), std::string("abcde\0f\r\ng\r\nh\r\n", 15));
}

TEST_F(InvoiceWriterTest, AReaderThatAllowsWritingDoesNotStopTheWriter) {
    const std::string csv = PathOf("shared.csv");
    WriteFileBytes(csv, kCsvHeader);
    HANDLE reader = CreateFileA(csv.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(InvoiceWriter(csv.c_str(), false, false, true));
    CloseHandle(reader);
    EXPECT_EQ(FileBytes(csv), std::string(kCsvHeader) + kCsvRecord);
}

TEST_F(InvoiceWriterTest, FileHeldByAnotherProcessWithoutWriteSharingFails) {
    const std::string csv = PathOf("held.csv");
    const std::string old = std::string(kCsvHeader) + kCsvRecord;
    WriteFileBytes(csv, old);

    const DWORD self = GetCurrentProcessId();
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, EventName("Ready", self).c_str());
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, EventName("Release", self).c_str());
    ASSERT_NE(ready, nullptr);
    ASSERT_NE(release, nullptr);

    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    char parent[32];
    std::snprintf(parent, sizeof parent, "%lu", static_cast<unsigned long>(self));
    SetEnvironmentVariableA(kHoldFileVariable, csv.c_str());
    SetEnvironmentVariableA("QM_HOLD_PARENT", parent);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    char commandLine[MAX_PATH + 2];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\"", program);
    const BOOL started = CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &process);
    SetEnvironmentVariableA(kHoldFileVariable, nullptr);
    SetEnvironmentVariableA("QM_HOLD_PARENT", nullptr);
    ASSERT_TRUE(started);

    const DWORD waited = WaitForSingleObject(ready, kWaitBoundMs);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the holder process did not open the file in time";
    if (waited == WAIT_OBJECT_0) {
        EXPECT_FALSE(InvoiceWriter(csv.c_str(), false, false, true));
        EXPECT_FALSE(InvoiceWriter(csv.c_str(), true, true, true));
    }
    SetEvent(release);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, kWaitBoundMs), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(ready);
    CloseHandle(release);
    EXPECT_EQ(FileBytes(csv), old);
}

TEST_F(InvoiceWriterTest, PathsThatNameNoWritableFileFail) {
    const std::string missing = PathOf("no such folder\\invoice.csv");
    for (bool overwrite : {false, true}) {
        EXPECT_FALSE(InvoiceWriter(missing.c_str(), false, overwrite, true));
        EXPECT_FALSE(Exists(PathOf("no such folder")));

        const std::string folder = PathOf("a folder.csv");
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) || Exists(folder));
        EXPECT_FALSE(InvoiceWriter(folder.c_str(), true, overwrite, true));
        EXPECT_TRUE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);

        EXPECT_FALSE(InvoiceWriter("", false, overwrite, true));
    }
    EXPECT_FALSE(AppendBytesToFile("", "x", 1));
    EXPECT_FALSE(AppendBytesToFile(missing.c_str(), "x", 1));
}

// Files for the spreadsheet check: a new file, then appended records whose job names hold the
// separator and double quotes. The check script expects exactly these jobs.
TEST_F(InvoiceWriterTest, SpreadsheetFiles) {
    char shared[MAX_PATH] = {};
    std::string folder = folder_;
    if (GetEnvironmentVariableA("QM_SPREADSHEET_DIR", shared, sizeof shared) > 0) {
        folder = shared;
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    const char* jobs[] = {"Typing Job", "Smith, John \"JJ\"", "\"Quoted\" start, then text",
                          "Tab\there, comma, \"quote\"", "Plain again"};
    for (bool tabbed : {false, true}) {
        const std::string path = folder + (tabbed ? "\\invoice.tsv" : "\\invoice.csv");
        DeleteFileA(path.c_str());
        bool first = true;
        for (const char* job : jobs) {
            SetJob(job);
            EXPECT_TRUE(InvoiceWriter(path.c_str(), tabbed, first, true)) << path;
            first = false;
        }
        const std::string bytes = FileBytes(path);
        EXPECT_EQ(bytes.compare(0, 16, "Typing Invoice\r\n"), 0);
        EXPECT_NE(bytes.find(tabbed ? "\"Tab\there, comma, \"\"quote\"\"\"\t1250 \t"
                                    : ",\"Tab\there, comma, \"\"quote\"\"\", 1250, "),
                  std::string::npos)
            << bytes;
    }
}

// ---- Faults: the file is as it was, whatever went wrong ------------------------------------

// A volume with no room left, for the rows that need one: a small tmpfs mounted by the test
// run (QM_FULL_VOLUME names its folder), filled to the last block.
class FullVolume {
  public:
    FullVolume() {
        char folder[MAX_PATH] = {};
        ULARGE_INTEGER total = {};
        if (GetEnvironmentVariableA("QM_FULL_VOLUME", folder, sizeof folder) == 0 ||
            !GetDiskFreeSpaceExA(folder, nullptr, &total, nullptr) ||
            total.QuadPart > 1024 * 1024) {
            return;  // not mounted (mounting needs root): the rows that need it are skipped
        }
        folder_ = folder;
    }
    ~FullVolume() { EmptyFolder(folder_); }
    bool available() const { return !folder_.empty(); }
    std::string PathOf(const char* name) const { return folder_ + "\\" + name; }
    // Takes every free block; a file that ends part-way into a block keeps that much room.
    void Fill() {
        HANDLE filler = CreateFileA(PathOf("filler").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        const std::string block(4096, 'f');
        DWORD written = 0;
        while (WriteFile(filler, block.data(), 4096, &written, nullptr) && written == 4096) {
        }
        CloseHandle(filler);
    }

  private:
    std::string folder_;
};

// A file held open by a viewer that lets others delete it, or one that lets others write
// but not delete (the old lines must not get a second title and header after them).
enum class Fault { kHeldWithDeleteSharing, kHeldWithWriteSharing, kFullVolume, kReadOnly };

struct FaultRow {
    const char* name;
    Fault fault;
    bool fileExists;
    bool overwrite;
};

void PrintTo(const FaultRow& row, std::ostream* out) { *out << row.name; }

class InvoiceWriterFaultTest : public InvoiceWriterTest,
                               public testing::WithParamInterface<FaultRow> {};

TEST_P(InvoiceWriterFaultTest, FailsAndLeavesTheFileAsItWas) {
    const FaultRow& row = GetParam();
    FullVolume volume;
    if (row.fault == Fault::kFullVolume && !volume.available()) {
        GTEST_SKIP() << "no small volume mounted (QM_FULL_VOLUME): mounting was refused";
    }
    const std::string path =
        row.fault == Fault::kFullVolume ? volume.PathOf("jobs.csv") : PathOf("jobs.csv");
    // 4086 bytes: the file's last block has 10 bytes of room, less than a record.
    const std::string old = std::string(4084 - std::strlen(kCsvRecord), 'x') + "\r\n" + kCsvRecord;
    if (row.fileExists) WriteFileBytes(path, old);
    if (row.fault == Fault::kFullVolume) volume.Fill();
    if (row.fault == Fault::kReadOnly) {
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    HANDLE viewer = INVALID_HANDLE_VALUE;
    if (row.fault == Fault::kHeldWithDeleteSharing || row.fault == Fault::kHeldWithWriteSharing) {
        const DWORD sharing =
            row.fault == Fault::kHeldWithDeleteSharing ? FILE_SHARE_DELETE : FILE_SHARE_WRITE;
        viewer = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | sharing, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    }

    EXPECT_FALSE(InvoiceWriter(path.c_str(), false, row.overwrite, true));
    if (viewer != INVALID_HANDLE_VALUE) CloseHandle(viewer);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string after = FileBytes(path, "<missing>");
    EXPECT_TRUE(after == (row.fileExists ? old : "<missing>"))
        << "the file now holds " << after.size()
        << " bytes: " << after.substr(after.size() > 60 ? after.size() - 60 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InvoiceWriterFaultTest,
    testing::Values(
        FaultRow{"OverwriteHeldWithDeleteSharing", Fault::kHeldWithDeleteSharing, true, true},
        FaultRow{"OverwriteHeldWithWriteSharing", Fault::kHeldWithWriteSharing, true, true},
        FaultRow{"AppendToAFullVolume", Fault::kFullVolume, true, false},
        FaultRow{"NewFileOnAFullVolume", Fault::kFullVolume, false, false},
        FaultRow{"AppendToAReadOnlyFile", Fault::kReadOnly, true, false},
        FaultRow{"OverwriteAReadOnlyFile", Fault::kReadOnly, true, true}),
    [](const testing::TestParamInfo<FaultRow>& info) { return std::string(info.param.name); });

}  // namespace
