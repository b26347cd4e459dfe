// quillmet-count: its command line, its layout, and the built tool run on generated files.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "count_options.h"
#include "count_report.h"
#include "counting/text_counting.h"
#include "parallel_count.h"
#include "reading_way.h"
#include "regular_file.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

bool Parse(const std::vector<std::string>& arguments, CountOptions* options,
           std::string* error = nullptr) {
    std::string ignored;
    return ParseCountOptions(arguments, options, error != nullptr ? error : &ignored);
}

TEST(CountOptions, DefaultsAreTheProgramsAndStandardInputIsRead) {
    CountOptions options;
    ASSERT_TRUE(Parse({}, &options));
    EXPECT_EQ(options.pricing.width, "80");
    EXPECT_EQ(options.pricing.perCharacter, "0.00");
    EXPECT_EQ(options.pricing.fixedCost, "0.00");
    EXPECT_FALSE(options.priced);
    EXPECT_FALSE(options.help);
    EXPECT_TRUE(options.files.empty());
}

TEST(CountOptions, ValuesTakeBothFormsAndOnlyPriceOptionsAddThePriceColumn) {
    CountOptions options;
    ASSERT_TRUE(Parse({"--width", "12", "a.txt"}, &options));
    EXPECT_EQ(options.pricing.width, "12");
    EXPECT_FALSE(options.priced);
    EXPECT_EQ(options.files, std::vector<std::string>({"a.txt"}));

    for (const char* option : {"--fixed", "--per-char", "--per-word", "--per-line"}) {
        ASSERT_TRUE(Parse({std::string(option) + "=-3"}, &options)) << option;
        EXPECT_TRUE(options.priced) << option;
    }
    EXPECT_EQ(options.pricing.perLine, "-3");  // kept as typed; corrected when priced
    ASSERT_TRUE(Parse({"--per-word", "abc"}, &options));
    EXPECT_EQ(options.pricing.perWord, "abc");
}

TEST(CountOptions, DashIsStandardInputAndDoubleDashEndsOptions) {
    CountOptions options;
    ASSERT_TRUE(Parse({"-", "--", "--width", "-x"}, &options));
    EXPECT_EQ(options.files, std::vector<std::string>({"-", "--width", "-x"}));
    EXPECT_EQ(options.pricing.width, "80");
}

TEST(CountOptions, UnknownOptionsAndMissingValuesAreUsageErrors) {
    CountOptions options;
    std::string error;
    EXPECT_FALSE(Parse({"--widthx=3"}, &options, &error));
    EXPECT_THAT(error, HasSubstr("--widthx=3"));
    EXPECT_FALSE(Parse({"-w"}, &options, &error));
    EXPECT_FALSE(Parse({"a.txt", "--per-line"}, &options, &error));
    EXPECT_THAT(error, HasSubstr("needs a value"));
}

TEST(CountReport, CountColumnsShareOneWidthAndPricesAlignOnTheRight) {
    CountRow small;
    small.name = "small";
    small.characters = 7;
    small.words = 2;
    small.lines = 1;
    small.price = 0.5;
    CountRow big;
    big.name = "big";
    big.characters = 12345;
    big.words = 1000;
    big.lines = 99;
    big.price = 1234.5;
    const std::vector<CountRow> rows = {small, big, TotalRow({small, big})};
    EXPECT_EQ(FormatCountRows(rows, false),
              "    7     2     1 small\n"
              "12345  1000    99 big\n"
              "12352  1002   100 total\n");
    EXPECT_EQ(FormatCountRows(rows, true),
              "    7     2     1    0.50 small\n"
              "12345  1000    99 1234.50 big\n"
              "12352  1002   100 1235.00 total\n");
}

TEST(CountReport, StandardInputWithoutANameHasNoNameColumn) {
    CountRow row;
    row.characters = 3;
    EXPECT_EQ(FormatCountRows({row}, false), "3 0 0\n");
}

// A file in a scratch folder that is removed with it.
class ScratchFile {
  public:
    explicit ScratchFile(const std::string& bytes) {
        char pattern[] = "/tmp/quillmet-count-range-XXXXXX";
        const int descriptor = mkstemp(pattern);
        path_ = pattern;
        if (descriptor >= 0) {
            EXPECT_EQ(write(descriptor, bytes.data(), bytes.size()),
                      static_cast<ssize_t>(bytes.size()));
            close(descriptor);
        }
    }
    ~ScratchFile() { unlink(path_.c_str()); }
    const char* path() const { return path_.c_str(); }

  private:
    std::string path_;
};

TEST(ParallelCount, RangesStartAfterALineBreakAndAFileWithoutOneStaysWhole) {
    struct Row {
        std::string text;
        std::size_t pieces;
        std::vector<std::uint64_t> starts;
    };
    const Row rows[] = {
        // Shares from 5, 10 and 15: after the CR at 9, (10 is taken), after the LF at 15.
        {"aaaa\nbbbb\rcccc\r\ndddd", 4, {0, 10, 16}},
        // A range may start between CR and LF: each of them resets the count.
        {"aaaa\r\nbbb", 2, {0, 5}},
        {std::string(40, 'x'), 8, {0}},
        {"x\n" + std::string(40, 'y'), 4, {0}},  // past the only break there is none
        {std::string(20, 'x') + "\n\n", 2, {0, 21}},
        // The break lies beyond the first small read from the share's start (4551).
        {"a\n" + std::string(9000, 'x') + "\r" + std::string(100, 'z'), 2, {0, 9003}},
        {"", 3, {0}},
    };
    for (const Row& row : rows) {
        const ScratchFile scratch(row.text);
        RegularFile file;
        ASSERT_TRUE(file.Open(scratch.path()));
        std::vector<std::uint64_t> starts;
        int errorNumber = 0;
        ASSERT_TRUE(SplitAtLineBreaks(file, row.pieces, &starts, &errorNumber));
        EXPECT_EQ(starts, row.starts) << row.text.substr(0, 40);
    }
}

TEST(ParallelCount, TheRangesAddUpToTheCountsOfTheWholeTextReadOrMapped) {
    std::string text;
    unsigned seed = 99;
    while (text.size() < 64 * 1024) {
        seed = seed * 1103515245u + 12345u;
        const std::string pieces[] = {
            "word ", "\r\n", "\r", "\n", "\xE9", "x", std::string(90, 'q')};
        text += pieces[(seed >> 16) % 7];
    }
    const ScratchFile scratch(text);
    for (ReadingChoice choice : {ReadingChoice::Read, ReadingChoice::Map}) {
        RegularFile file;
        ASSERT_TRUE(file.Open(scratch.path()));
        ReadingCosts costs;
        const ReadingWay way = ChooseReadingWay(choice, &file, &costs);
        EXPECT_EQ(way == ReadingWay::Map, choice == ReadingChoice::Map);
        for (int width : {1, 7, 80}) {
            TextCountState whole = StartTextCount(width);
            CountTextChunk(&whole, text.data(), text.size());
            // One range through a buffer far smaller than it: words and lines across refills.
            PageAlignedBuffer small(777);
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(small.data()) % 4096, 0u);
            TextCountState range = StartTextCount(width);
            int errorNumber = 0;
            ASSERT_TRUE(CountFileRange(file, 0, text.size(), &small, &range, &errorNumber));
            EXPECT_EQ(range.words, whole.words);
            EXPECT_EQ(range.lines, whole.lines);
            for (unsigned threads : {1u, 2u, 3u, 16u}) {
                TextCountState parts;
                std::size_t ranges = 0;
                ASSERT_TRUE(
                    CountFileInParallel(file, width, threads, 1000, &parts, &ranges, &errorNumber));
                EXPECT_EQ(ranges, threads);
                EXPECT_EQ(parts.characters, whole.characters);
                EXPECT_EQ(parts.words, whole.words) << threads << " threads";
                EXPECT_EQ(parts.lines, whole.lines) << threads << " threads, width " << width;
            }
        }
    }
}

TEST(ReadingWay, OnlyTheThreeWaysAreAccepted) {
    const struct {
        const char* text;
        bool valid;
        ReadingChoice choice;
    } rows[] = {
        {"", true, ReadingChoice::Measure},     {"auto", true, ReadingChoice::Measure},
        {"read", true, ReadingChoice::Read},    {"map", true, ReadingChoice::Map},
        {"MAP", false, ReadingChoice::Measure}, {"mmap", false, ReadingChoice::Measure},
    };
    for (const auto& row : rows) {
        ReadingChoice choice = ReadingChoice::Measure;
        EXPECT_EQ(ParseReadingChoice(row.text, &choice), row.valid) << row.text;
        if (row.valid) {
            EXPECT_EQ(choice, row.choice) << row.text;
        }
    }
}

// The built tool, run in a scratch folder.
class CountTool : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quillmet-count-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        const std::string command = "rm -rf '" + folder_ + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = folder_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Runs the tool with `arguments` (already quoted where needed) and standard input from
    // `input`; returns its exit status.
    // With `reading`, QM_COUNT_READING is set to it and the way of reading told.
    int Run(const std::string& arguments, const std::string& input = "",
            const std::string& reading = "") {
        const std::string inputPath = Write("stdin.bin", input);
        const std::string environment =
            reading.empty() ? "" : "QM_COUNT_SHOW_READING=1 QM_COUNT_READING='" + reading + "' ";
        const std::string command = environment + "'" + QM_COUNT_TOOL + "' " + arguments + " <'" +
                                    inputPath + "' >'" + folder_ + "/out' 2>'" + folder_ + "/err'";
        const int status = std::system(command.c_str());
        out_ = Read(folder_ + "/out");
        err_ = Read(folder_ + "/err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string folder_;
    std::string out_;
    std::string err_;
};

TEST_F(CountTool, CrLfTextCountsEveryByteAndOneLinePerBreak) {
    const std::string file = Write("hello.txt", "Hello\r\nWorld");
    ASSERT_EQ(Run("'" + file + "'"), 0) << err_;
    EXPECT_EQ(out_, "12  2  2 " + file + "\n");
    EXPECT_EQ(err_, "");
}

TEST_F(CountTool, ANulByteIsAControlByteAndCountingGoesOnAfterIt) {
    const std::string file = Write("nul.txt", std::string("ab\0cd\nef", 8));
    ASSERT_EQ(Run("'" + file + "'"), 0) << err_;
    // 8 characters; the NUL separates "ab" from "cd" but does not end the line.
    EXPECT_EQ(out_, "8 3 2 " + file + "\n");
}

TEST_F(CountTool, UnreadableInputsAreReportedAndTheOthersStillCounted) {
    const std::string first = Write("first.txt", "one two\n");
    const std::string second = Write("second.txt", "three\n");
    const std::string missing = folder_ + "/missing.txt";
    const std::string folder = folder_ + "/a-folder";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const int status = Run("'" + first + "' '" + missing + "' '" + folder + "' '" + second + "'");
    EXPECT_EQ(status, 1);
    EXPECT_THAT(err_, HasSubstr(missing + ": "));
    EXPECT_THAT(err_, HasSubstr(folder + ": "));
    EXPECT_EQ(out_, " 8  2  1 " + first + "\n" + " 6  1  1 " + second + "\n" + "14  3  2 total\n");
}

TEST_F(CountTool, PricesFollowTheProgramsRulesPerFileAndAddUpInTheTotal) {
    // 1000 characters on 3 lines: 5 + 1000 x 0.01 + 3 x 0.5 = 16.50 for each file.
    std::string text =
        std::string(332, 'a') + "\r\n" + std::string(332, 'b') + "\r\n" + std::string(332, 'c');
    ASSERT_EQ(text.size(), 1000u);
    const std::string a = Write("a.txt", text);
    const std::string b = Write("b.txt", text);
    ASSERT_EQ(Run("--fixed 5 --per-char=0.01 --per-word 0 --per-line 0.5 --width 500 '" + a +
                  "' '" + b + "'"),
              0)
        << err_;
    EXPECT_EQ(out_, "1000    3    3 16.50 " + a + "\n" + "1000    3    3 16.50 " + b + "\n" +
                        "2000    6    6 33.00 total\n");
}

TEST_F(CountTool, OutOfRangeInputsAreCorrectedAsTheProgramDoes) {
    const std::string file = Write("ten.txt", "abcdefghij");
    ASSERT_EQ(Run("--per-char 150 --width 0 '" + file + "'"), 0);
    EXPECT_EQ(out_, "10  1 10 1000.00 " + file + "\n");  // rate 100, width 1
    ASSERT_EQ(Run("--per-line -4 --width 1e3 '" + file + "'"), 0);
    EXPECT_EQ(out_, "10  1 10 0.00 " + file + "\n");  // "1e3" is no integer: width 1
    const std::string wide = Write("wide.txt", std::string(1200, 'x'));
    ASSERT_EQ(Run("--width 100000 '" + wide + "'"), 0);
    EXPECT_EQ(out_, "1200    1    3 " + wide + "\n");  // width 500
}

TEST_F(CountTool, StandardInputIsReadWhenNoFileOrDashIsNamed) {
    ASSERT_EQ(Run("", "a b\r\n"), 0);
    EXPECT_EQ(out_, "5 2 1\n");
    ASSERT_EQ(Run("-", "a b\r\n"), 0);
    EXPECT_EQ(out_, "5 2 1 -\n");
}

TEST_F(CountTool, FilesReadOrMappedGiveTheCountsOfTheWholeText) {
    // Longer than several read buffers, with words and lines across every buffer's end, large
    // enough to be counted on every core and for the ways of reading to be measured.
    std::string text;
    unsigned seed = 12345;
    while (text.size() < kMeasureMinimum + 17) {
        seed = seed * 1103515245u + 12345u;
        const unsigned pick = (seed >> 16) % 16;
        const char* pieces[] = {"word", " ",  "\r\n", "\xE9", "\x97", "x",    "-", "it's",
                                "\t",   "  ", "\n",   "3.14", "a",    "\xFF", "b", "long"};
        text += pieces[pick];
    }
    const std::string file = Write("big.txt", text);
    std::ostringstream expected;
    expected << text.size() << ' ' << CountWordsByRule(text.c_str()) << ' '
             << CountLinesByRule(text.c_str(), 7) << ' ' << file << '\n';
    const struct {
        const char* choice;
        const char* told;  // what standard error says of the way
    } ways[] = {{"auto", "counting kernel"}, {"read", "read at offsets"}, {"map", "mapped"}};
    for (const auto& way : ways) {
        ASSERT_EQ(Run("--width 7 '" + file + "'", "", way.choice), 0) << err_;
        // Column widths: every count has at most as many digits as the characters.
        std::string squeezed;
        for (char c : out_) {
            if (c != ' ' || (!squeezed.empty() && squeezed.back() != ' ')) squeezed += c;
        }
        EXPECT_EQ(squeezed, expected.str()) << way.choice;
        EXPECT_THAT(err_, HasSubstr(way.told));
    }
    EXPECT_EQ(Run("'" + file + "'", "", "mmap"), 2);
    EXPECT_THAT(err_, HasSubstr("QM_COUNT_READING is 'mmap'"));
    EXPECT_EQ(out_, "");
}

TEST_F(CountTool, UsageErrorsExitWithTwoAndHelpExplainsTheNulRule) {
    EXPECT_EQ(Run("--bogus"), 2);
    EXPECT_THAT(err_, HasSubstr("--bogus"));
    EXPECT_EQ(out_, "");
    ASSERT_EQ(Run("--help"), 0);
    EXPECT_THAT(out_, HasSubstr("NUL"));
    EXPECT_THAT(out_, Not(HasSubstr("\t")));
}

}  // namespace
