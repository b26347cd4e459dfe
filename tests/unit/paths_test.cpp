#include "base/paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Join(const std::string& folder, const std::string& name) {
    char out[kPathSize];
    PathJoin(folder.c_str(), name.c_str(), out);
    return out;
}

std::string JoinWithSuffix(const std::string& folder, const std::string& name,
                           const std::string& suffix) {
    char out[kPathSize];
    PathJoinWithSuffix(folder.c_str(), name.c_str(), suffix.c_str(), out);
    return out;
}

std::string Directory(const std::string& path) {
    char out[kPathSize];
    PathDirectory(path.c_str(), out);
    return out;
}

std::string FileName(const std::string& path) {
    char out[kPathSize];
    PathFileName(path.c_str(), out);
    return out;
}

// A 260-byte buffer followed by guard bytes that no routine may touch.
struct GuardedPath {
    char text[kPathSize];
    char guard[64];
};

void FillGuarded(GuardedPath& path) { std::memset(&path, 'G', sizeof path); }

bool GuardIntact(const GuardedPath& path) {
    for (char c : path.guard) {
        if (c != 'G') return false;
    }
    return true;
}

}  // namespace

TEST(PathJoin, AddsOneBackslashOnlyWhereNeeded) {
    EXPECT_EQ(Join("C:\\Data", "file.csv"), "C:\\Data\\file.csv");
    EXPECT_EQ(Join("C:\\Data\\", "file.csv"), "C:\\Data\\file.csv");
    EXPECT_EQ(Join("C:/Data/", "file.csv"), "C:/Data/file.csv");
    EXPECT_EQ(Join("", "file.csv"), "file.csv");
    EXPECT_EQ(Join("C:\\Data", ""), "C:\\Data\\");
}

TEST(PathJoin, CutsTheNameAtTheLengthLimit) {
    const std::string folder258(258, 'f');
    EXPECT_EQ(Join(folder258, "name"), folder258 + "\\");

    const std::string folder250(250, 'f');
    EXPECT_EQ(Join(folder250, "123456789abc"), folder250 + "\\12345678");
    EXPECT_EQ(Join(folder250, "123456789abc").size(), kMaxPathLength);

    const std::string folder257 = std::string(256, 'f') + "\\";
    EXPECT_EQ(Join(folder257, "xy"), folder257 + "xy");
}

TEST(PathJoin, FolderOfTheFullLengthOrLongerIsTheWholeResult) {
    const std::string folder259(259, 'f');
    EXPECT_EQ(Join(folder259, "name"), folder259);
    EXPECT_EQ(Join(std::string(1000, 'f'), "name"), folder259);
}

TEST(PathJoin, OutputMayBeOneOfTheInputs) {
    char path[kPathSize] = "C:\\Data";
    PathJoin(path, "Kestrovan", path);
    EXPECT_STREQ(path, "C:\\Data\\Kestrovan");

    char name[kPathSize] = "file.csv";
    PathJoin("C:\\Data", name, name);
    EXPECT_STREQ(name, "C:\\Data\\file.csv");
}

TEST(PathJoin, NullPartsCountAsEmpty) {
    char out[kPathSize];
    PathJoin(nullptr, "name", out);
    EXPECT_STREQ(out, "name");
    PathJoin("C:\\Data", nullptr, out);
    EXPECT_STREQ(out, "C:\\Data\\");
}

TEST(PathJoinWithSuffix, AppendsNameThenSuffix) {
    EXPECT_EQ(JoinWithSuffix("C:\\Menu", "Quillmet", ".lnk"), "C:\\Menu\\Quillmet.lnk");
    EXPECT_EQ(JoinWithSuffix("C:\\Menu\\", "Quillmet", ".lnk"), "C:\\Menu\\Quillmet.lnk");
    EXPECT_EQ(JoinWithSuffix("", "Quillmet", ".lnk"), "Quillmet.lnk");
}

TEST(PathJoinWithSuffix, SuffixGetsOnlyTheRoomLeft) {
    const std::string folder(200, 'f');
    const std::string fullName(259 - 201, 'n');
    EXPECT_EQ(JoinWithSuffix(folder, fullName, ".lnk"), folder + "\\" + fullName);

    const std::string almostFull(259 - 201 - 2, 'n');
    EXPECT_EQ(JoinWithSuffix(folder, almostFull, ".lnk"), folder + "\\" + almostFull + ".l");

    EXPECT_EQ(JoinWithSuffix(std::string(258, 'f'), "Quillmet", ".lnk"),
              std::string(258, 'f') + "\\");
    EXPECT_EQ(JoinWithSuffix(std::string(259, 'f'), "Quillmet", ".lnk"), std::string(259, 'f'));
    EXPECT_EQ(JoinWithSuffix(std::string(600, 'f'), "Quillmet", ".lnk"), std::string(259, 'f'));
}

TEST(PathJoinWithSuffix, OutputMayBeOneOfTheInputs) {
    char path[kPathSize] = "Quillmet";
    PathJoinWithSuffix("C:\\Menu", path, ".lnk", path);
    EXPECT_STREQ(path, "C:\\Menu\\Quillmet.lnk");
}

TEST(PathDirectory, TakesEverythingBeforeTheLastSeparator) {
    EXPECT_EQ(Directory("C:\\Program Files\\Quillmet\\quillmet.exe"),
              "C:\\Program Files\\Quillmet");
    EXPECT_EQ(Directory("a/b\\c"), "a/b");
    EXPECT_EQ(Directory("a\\b/c"), "a\\b");
    EXPECT_EQ(Directory("C:\\dir\\"), "C:\\dir");
    EXPECT_EQ(Directory("C:\\file"), "C:");
    EXPECT_EQ(Directory("\\\\server"), "\\");
}

TEST(PathDirectory, NoSeparatorOrOnlyALeadingOneGivesEmpty) {
    EXPECT_EQ(Directory("quillmet.exe"), "");
    EXPECT_EQ(Directory("\\a"), "");
    EXPECT_EQ(Directory("/"), "");
    EXPECT_EQ(Directory(""), "");
    char out[kPathSize] = "junk";
    PathDirectory(nullptr, out);
    EXPECT_STREQ(out, "");
}

TEST(PathDirectory, LooksOnlyAtTheFirst260Characters) {
    // A separator at index 259 is the last one that counts; the folder then fills 259.
    std::string path(259, 'd');
    path += "\\more\\tail";
    EXPECT_EQ(Directory(path), std::string(259, 'd'));

    std::string beyond = std::string(100, 'd') + "\\" + std::string(200, 'e') + "\\tail";
    EXPECT_EQ(Directory(beyond), std::string(100, 'd'));

    GuardedPath guarded;
    FillGuarded(guarded);
    PathDirectory(std::string(2000, '\\').c_str(), guarded.text);
    EXPECT_EQ(std::strlen(guarded.text), kMaxPathLength);
    EXPECT_TRUE(GuardIntact(guarded));
}

TEST(PathDirectory, OutputMayBeTheInput) {
    char path[kPathSize] = "C:\\dir\\name.exe";
    PathDirectory(path, path);
    EXPECT_STREQ(path, "C:\\dir");
}

TEST(PathFileName, TakesEverythingAfterTheLastSeparator) {
    EXPECT_EQ(FileName("C:\\dir/name.exe"), "name.exe");
    EXPECT_EQ(FileName("C:/dir\\name.exe"), "name.exe");
    EXPECT_EQ(FileName("name.exe"), "name.exe");
    EXPECT_EQ(FileName("C:\\dir\\"), "");
    EXPECT_EQ(FileName("C:\\dir/"), "");
    EXPECT_EQ(FileName(""), "");
    char out[kPathSize] = "junk";
    PathFileName(nullptr, out);
    EXPECT_STREQ(out, "");
}

TEST(PathFileName, LongNamesAreCutAt259) {
    const std::string name(400, 'n');
    EXPECT_EQ(FileName("C:\\dir\\" + name), std::string(259, 'n'));
    EXPECT_EQ(FileName(std::string(300, 'd') + "\\short"), "short");

    GuardedPath guarded;
    FillGuarded(guarded);
    PathFileName(std::string(5000, 'x').c_str(), guarded.text);
    EXPECT_EQ(std::strlen(guarded.text), kMaxPathLength);
    EXPECT_TRUE(GuardIntact(guarded));
}

TEST(PathFileName, OutputMayBeTheInput) {
    char path[kPathSize] = "C:\\dir\\name.exe";
    PathFileName(path, path);
    EXPECT_STREQ(path, "name.exe");
}

TEST(PathRoutines, DirectoryAndFileNameJoinBackToThePath) {
    const char* const paths[] = {"C:\\Program Files\\Quillmet\\quillmet.exe", "a/b\\c", "dir\\name",
                                 "C:\\x\\y\\z.txt"};
    for (const char* path : paths) {
        EXPECT_EQ(Join(Directory(path), FileName(path)), std::string(path)) << path;
    }
}
