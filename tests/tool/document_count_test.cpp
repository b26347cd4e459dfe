// quillmet-count on documents: each damaged file is refused with its reason and no counts, the
// code page option is checked, and --text shows what is counted.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A path of this process's own: CTest runs the cases of this program side by side.
std::string TempPath(const std::string& name) {
    return testing::TempDir() + "document_count_" + std::to_string(getpid()) + "_" + name;
}

ToolRun RunTool(const std::string& arguments) {
    const std::string out = TempPath("out");
    const std::string err = TempPath("err");
    const std::string command =
        std::string(QM_COUNT_TOOL) + " " + arguments + " >" + out + " 2>" + err;
    const int status = std::system(command.c_str());
    ToolRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    return run;
}

std::string WriteFile(const std::string& name, const std::string& content) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

TEST(DocumentCount, EachDamagedFileIsRefusedWithItsReasonAndTheOthersStillCount) {
    const std::string plain = WriteFile("plain.txt", "Hello\r\nWorld");
    const struct {
        const char* file;
        const char* reason;
    } rows[] = {
        {"truncated.docx", "not a zip file"},
        {"bomb.docx", "compressed data is damaged"},
        {"outside.docx", "compressed data is damaged"},
        {"unclosed.rtf", "not readable RTF"},
    };
    for (const auto& row : rows) {
        const std::string path = std::string(QM_DAMAGED_DIR) + "/" + row.file;
        const ToolRun run = RunTool(path + " " + plain);
        EXPECT_EQ(run.status, 1) << row.file;
        EXPECT_THAT(run.err, HasSubstr(path + ": it")) << row.file;
        EXPECT_THAT(run.err, HasSubstr(row.reason)) << row.file;
        // Only the plain file is counted, and the total is its counts.
        EXPECT_EQ(run.out, "12  2  2 " + plain + "\n12  2  2 total\n") << row.file;
    }
}

TEST(DocumentCount, CodePageOptionAndTextOfADocument) {
    const std::string rtf =
        WriteFile("letter.rtf", "{\\rtf1\\ansi\\ansicpg1252 caf\\'e9\\par \\u1046?\\tab x}");
    ToolRun run = RunTool("--text " + rtf);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "caf\xe9\r\n?\tx");
    run = RunTool("--codepage 1251 --text " + rtf);
    EXPECT_EQ(run.out, "caf?\r\n\xc6\tx");  // e acute is not in 1251, Zhe is
    run = RunTool(rtf);
    EXPECT_EQ(run.out, "9 2 2 " + rtf + "\n");
    for (const char* bad : {"--codepage 932", "--codepage x"}) {
        run = RunTool(std::string(bad) + " " + rtf);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_THAT(run.err, HasSubstr("code page")) << bad;
    }
    const std::string misnamed = WriteFile("notes.docx", "plain text");
    run = RunTool("--text " + misnamed);
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("not a zip file"));
}

}  // namespace
