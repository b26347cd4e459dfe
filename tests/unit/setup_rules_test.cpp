// How the uninstaller reads its start, when set-up asks for administrator rights, and how the
// related programs are offered.
#include <gtest/gtest.h>

#include "setup/related_products.h"
#include "setup/setup_rules.h"

namespace {

TEST(SetupRules, TheProgramsPathIsFoundQuotedUnquotedWithBlanksOrShort) {
    const std::string installed = "C:\\Program Files\\Kestrovan\\Quillmet\\uninst.exe";
    // Names the program: the long path in any case, or its short 8.3 form.
    const auto names = [&](const std::string& candidate) {
        std::string lower;
        for (char c : candidate) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        return lower == "c:\\program files\\kestrovan\\quillmet\\uninst.exe" ||
               lower == "c:\\progra~1\\kestro~1\\quillmet\\uninst.exe";
    };
    using K = StartArguments;
    const struct {
        std::string line;
        K::Kind kind;
        const char* arguments;
    } rows[] = {
        {installed, K::None, ""},  // as Windows starts "UninstallString"
        {installed + "   ", K::None, ""},
        {"\"" + installed + "\"", K::None, ""},
        {"  \"" + installed + "\" \t", K::None, ""},
        {"\"" + installed + "\" -u 42", K::Present, "-u 42"},
        {installed + " -u", K::Present, "-u"},
        {"C:\\PROGRA~1\\KESTRO~1\\QUILLMET\\UNINST.EXE", K::None, ""},
        {"C:\\PROGRA~1\\KESTRO~1\\QUILLMET\\UNINST.EXE x", K::Present, "x"},
        {"\"C:\\other\\uninst.exe\" -u", K::Unrecognised, ""},
        {"uninst", K::Unrecognised, ""},
        {"", K::Unrecognised, ""},
        {"\"" + installed, K::None, ""},                         // an unclosed quote
        {"\"" + installed + "\" -quiet", K::Present, "-quiet"},  // the elevated quiet set-up
    };
    for (const auto& row : rows) {
        const StartArguments start = ReadStartArguments(row.line.c_str(), names);
        EXPECT_EQ(start.kind, row.kind) << row.line;
        EXPECT_EQ(start.arguments, row.arguments) << row.line;
    }
}

TEST(SetupRules, TheArgumentsGiveTheProcessToWaitForAndTheQuietWish) {
    const struct {
        const char* arguments;
        std::uint32_t id;
        bool quiet;
    } rows[] = {{"-u 1234", 1234, false},
                {"-u\t77 trailing", 77, false},
                {"-u", 0, false},
                {"-u abc", 0, false},
                {"-x 12", 0, false},
                {"-u 4294967295", 4294967295u, false},
                {"-u 4294967296", 0, false},
                {"-u 99999999999999999999", 0, false},
                {"-quiet", 0, true},
                {"-u 12 \t-quiet ", 12, true},
                {"-quieter", 0, false},
                {"x-quiet", 0, false}};
    for (const auto& row : rows) {
        EXPECT_EQ(WaitProcessIdFromArguments(row.arguments), row.id) << row.arguments;
        EXPECT_EQ(HasQuietArgument(row.arguments), row.quiet) << row.arguments;
    }
}

TEST(SetupRules, WithoutTheRightsItNeedsTheUninstallerRemovesNothing) {
    using S = UninstallStep;
    const struct {
        bool restarted, copyReady, needsElevation;
        UninstallStep step;
    } rows[] = {{false, true, false, S::StartCopy},     {false, true, true, S::StartCopyElevated},
                {false, false, false, S::AskAndRemove}, {false, false, true, S::TellRightsNeeded},
                {true, false, false, S::AskAndRemove},  {true, false, true, S::TellRightsNeeded}};
    for (const auto& row : rows) {
        EXPECT_EQ(ChooseUninstallStep({row.restarted, row.copyReady, row.needsElevation}), row.step)
            << row.restarted << row.copyReady << row.needsElevation;
    }
}

TEST(SetupRules, OnlyVistaWithoutElevationRestartsElevated) {
    EXPECT_TRUE(ShouldRestartElevated(6, 0, false));
    EXPECT_FALSE(ShouldRestartElevated(6, 0, true));
    EXPECT_FALSE(ShouldRestartElevated(5, 1, false));
    EXPECT_FALSE(ShouldRestartElevated(5, 0, false));
    EXPECT_FALSE(ShouldRestartElevated(6, 1, false));
}

TEST(SetupRules, TheRelatedProgramsOfferTicksOnlyRecommendedOnesNotYetInstalled) {
    const RelatedProduct& recommended = kRelatedProducts[0];
    const RelatedProduct& plain = kRelatedProducts[2];
    ASSERT_NE(recommended.flags & kRecommended, 0);
    ASSERT_EQ(plain.flags & kRecommended, 0);
    struct Row {
        const RelatedProduct& product;
        bool installed;
        const char* label;
        bool ticked;
    } const rows[] = {
        {recommended, false, "Tapewell Transcription Player [Recommended]", true},
        {recommended, true, "Tapewell Transcription Player [Update]", false},
        {plain, false, "Pacemark Typing Tutor", false},
        {plain, true, "Pacemark Typing Tutor [Update]", false},
    };
    for (const Row& row : rows) {
        char label[kPathSize];
        FormOfferLabel(row.product, row.installed, label);
        EXPECT_STREQ(label, row.label);
        EXPECT_EQ(OfferedTicked(row.product, row.installed), row.ticked) << row.label;
    }
    char key[kPathSize];
    FormRelatedSettingsKey(plain, key);
    EXPECT_STREQ(key, "Software\\Kestrovan\\Pacemark\\Settings");
    EXPECT_EQ(kRelatedProducts[kRelatedProductCount].displayName, nullptr);
}

}  // namespace
