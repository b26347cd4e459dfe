// The settings store against Wine's real registry.
#include "settings/settings_store_win32.h"

#include <shlwapi.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "win32/support/product_settings_win32.h"
#include "win32/support/saved_registry_value_win32.h"
#include "win32/support/shell_folders_win32.h"

namespace {

const char* const kSettingsKey = "Software\\Kestrovan\\Quillmet\\Settings";

// A read buffer followed by guard bytes: reads must stay within their 260 bytes.
struct GuardedText {
    char text[kSettingsTextSize];
    char guard[32];
};

void FillGuarded(GuardedText& buffer) { std::memset(&buffer, 'Z', sizeof buffer); }

bool GuardIntact(const GuardedText& buffer) {
    for (char c : buffer.guard) {
        if (c != 'Z') return false;
    }
    return true;
}

std::string ReadUserText(const char* name, const char* defaultText) {
    char text[kSettingsTextSize];
    SettingsStore::ReadString(SettingsScope::PerUser, "Settings", name, defaultText, text);
    return text;
}

void WriteUserText(const char* name, const std::string& text) {
    SettingsStore::WriteString(SettingsScope::PerUser, "Settings", name, text.c_str());
}

class SettingsStoreTest : public testing::Test {
  protected:
    void SetUp() override { RemoveProductKeys(); }
    void TearDown() override { RemoveProductKeys(); }

  private:
    static void RemoveProductKeys() {
        SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey);
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
    }
};

TEST_F(SettingsStoreTest, FreshUserReadsEveryDefaultWithoutCreatingKeys) {
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));

    EXPECT_EQ(ReadUserText("CharacterPerLine", "80"), "80");
    EXPECT_EQ(ReadUserText("FixedCostAmount", "0.00"), "0.00");
    EXPECT_EQ(ReadUserText("CSVFilePath", ""), "");
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "HotKeyValue", 119), 119);
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "Y", 30), 30);
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "InvoiceOrder", "4", 4), 4);
    EXPECT_TRUE(SettingsStore::ReadBool("Settings", "HotKeysOn", true));
    EXPECT_FALSE(SettingsStore::ReadBool("Settings", "Automate", false));
    EXPECT_TRUE(SettingsStore::ReadBool("InvoiceShow", "6", true));
    EXPECT_EQ(
        SettingsStore::ReadInt(SettingsScope::MachineWide, "Settings", "LastCheckVersion", 105),
        105);
    char text[kSettingsTextSize];
    SettingsStore::ReadString(SettingsScope::MachineWide, "Settings", "RelatedPCheck", "", text);
    EXPECT_STREQ(text, "");
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "X", "120", text));
    EXPECT_STREQ(text, "120");

    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
}

TEST_F(SettingsStoreTest, FirstWriteCreatesTheSectionKeyAndItsParents) {
    SettingsStore::WriteInt(SettingsScope::PerUser, "InvoiceOrder", "3", -3);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Kestrovan\\Quillmet\\InvoiceOrder"));
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "InvoiceOrder", "3", 3), -3);

    // A path several levels below any existing key.
    const char* const deepRoot = "Software\\QuillmetStoreTest";
    const char* const deepKey = "Software\\QuillmetStoreTest\\One\\Two\\Three";
    SHDeleteKeyA(HKEY_CURRENT_USER, deepRoot);
    EXPECT_EQ(WriteRegistryString(HKEY_CURRENT_USER, deepKey, "Value", "text"), ERROR_SUCCESS);
    char text[kSettingsTextSize];
    EXPECT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, deepKey, "Value", "", text));
    EXPECT_STREQ(text, "text");
    SHDeleteKeyA(HKEY_CURRENT_USER, deepRoot);
}

TEST_F(SettingsStoreTest, WritesAreRegSzWithTheTerminatingZero) {
    WriteUserText("CharacterCost", "0.05");
    SettingsStore::WriteBool("Settings", "Tabbed", false);
    SettingsStore::WriteInt(SettingsScope::PerUser, "Settings", "X", INT_MIN);
    WriteUserText("0", "");

    struct Expected {
        const char* name;
        std::string text;
    };
    const Expected expected[] = {
        {"CharacterCost", "0.05"}, {"Tabbed", "0"}, {"X", "-2147483648"}, {"0", ""}};
    for (const Expected& value : expected) {
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
        ASSERT_TRUE(QueryRawValue(HKEY_CURRENT_USER, kSettingsKey, value.name, type, data))
            << value.name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << value.name;
        std::vector<BYTE> withZero(value.text.begin(), value.text.end());
        withZero.push_back(0);
        EXPECT_EQ(data, withZero) << value.name;
    }
    SettingsStore::WriteBool("Settings", "Tabbed", true);
    EXPECT_EQ(ReadUserText("Tabbed", ""), "1");
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "X", 120), INT_MIN);
}

TEST_F(SettingsStoreTest, TextsOf259CharactersReadWholeLongerOnesReadAsAbsent) {
    const std::string text259(259, 'a');
    WriteUserText("Field0", text259);
    char text[kSettingsTextSize];
    EXPECT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "Field0", "none", text));
    EXPECT_EQ(std::string(text), text259);

    for (std::size_t length : {260u, 261u, 1000u}) {
        WriteUserText("Field1", std::string(length, 'b'));
        GuardedText guarded;
        FillGuarded(guarded);
        EXPECT_FALSE(
            ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "Field1", "none", guarded.text))
            << length;
        EXPECT_STREQ(guarded.text, "none") << length;
        EXPECT_TRUE(GuardIntact(guarded));
    }
    WriteUserText("CharacterPerLine", std::string(260, '7'));
    EXPECT_EQ(ReadUserText("CharacterPerLine", "80"), "80");
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "CharacterPerLine", 80),
              80);
}

TEST_F(SettingsStoreTest, EmptyValueReadsEmptyNotTheDefault) {
    WriteUserText("CharacterPerLine", "");
    char text[kSettingsTextSize];
    EXPECT_TRUE(
        ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "CharacterPerLine", "80", text));
    EXPECT_STREQ(text, "");
    EXPECT_EQ(ReadUserText("CharacterPerLine", "80"), "");

    // Numbers and flags stored empty take their defaults.
    WriteUserText("HotKeyValue", "");
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "HotKeyValue", 119), 119);
    WriteUserText("Overwrite", "");
    EXPECT_TRUE(SettingsStore::ReadBool("Settings", "Overwrite", true));
    EXPECT_FALSE(SettingsStore::ReadBool("Settings", "Overwrite", false));
}

TEST_F(SettingsStoreTest, IntegerTextsAsStoredByHand) {
    struct Case {
        const char* stored;
        int expected;
    };
    const Case cases[] = {{"abc", 0},   {" 42x", 42}, {"", 119},
                          {"-17", -17}, {"+8", 8},    {"\t65656", 65656}};
    for (const Case& c : cases) {
        WriteUserText("HotKeyValue", c.stored);
        EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "HotKeyValue", 119),
                  c.expected)
            << '"' << c.stored << '"';
    }
}

TEST_F(SettingsStoreTest, FlagsReadFalseOnlyForALeadingZero) {
    struct Case {
        const char* stored;
        bool expected;
    };
    const Case cases[] = {{"0", false},    {"00", false}, {"0x", false}, {"1", true},
                          {"false", true}, {"no", true},  {"2", true},   {" 0", true}};
    for (const Case& c : cases) {
        WriteUserText("ShowToolBar", c.stored);
        EXPECT_EQ(SettingsStore::ReadBool("Settings", "ShowToolBar", !c.expected), c.expected)
            << '"' << c.stored << '"';
    }
}

TEST_F(SettingsStoreTest, StringDataIsReadUpToItsFirstZero) {
    // Written by another program: without a terminating zero, or with one inside the data.
    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kSettingsKey, "X", REG_SZ, "12345", 5));
    GuardedText guarded;
    FillGuarded(guarded);
    EXPECT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "X", "", guarded.text));
    EXPECT_STREQ(guarded.text, "12345");
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "X", 120), 12345);

    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kSettingsKey, "Y", REG_SZ, "ab\0cd", 6));
    EXPECT_EQ(ReadUserText("Y", "30"), "ab");

    const std::string text259(259, 'c');
    ASSERT_TRUE(
        SetRawValue(HKEY_CURRENT_USER, kSettingsKey, "Field2", REG_SZ, text259.c_str(), 259));
    EXPECT_EQ(ReadUserText("Field2", ""), text259);
}

TEST_F(SettingsStoreTest, ValuesOfOtherTypesAreReadAsTheirBytes) {
    DWORD digits = 0;
    std::memcpy(&digits, "1234", sizeof digits);
    ASSERT_TRUE(
        SetRawValue(HKEY_CURRENT_USER, kSettingsKey, "X", REG_DWORD, &digits, sizeof digits));
    GuardedText guarded;
    FillGuarded(guarded);
    EXPECT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "X", "", guarded.text));
    EXPECT_STREQ(guarded.text, "1234");
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "X", 120), 1234);

    // Binary data has no terminating zero; the read adds one, inside the buffer.
    const std::vector<BYTE> ten(10, 'b');
    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kSettingsKey, "Field3", REG_BINARY, ten.data(),
                            static_cast<DWORD>(ten.size())));
    FillGuarded(guarded);
    EXPECT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "Field3", "", guarded.text));
    EXPECT_STREQ(guarded.text, "bbbbbbbbbb");

    const std::vector<BYTE> full(kSettingsTextSize, 'f');
    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kSettingsKey, "Field4", REG_BINARY, full.data(),
                            static_cast<DWORD>(full.size())));
    FillGuarded(guarded);
    EXPECT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "Field4", "", guarded.text));
    EXPECT_EQ(std::strlen(guarded.text), kSettingsTextSize - 1);
    EXPECT_EQ(guarded.text[kSettingsTextSize - 1], '\0');
    EXPECT_TRUE(GuardIntact(guarded));

    const std::vector<BYTE> tooLong(kSettingsTextSize + 1, 'g');
    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kSettingsKey, "Field5", REG_BINARY, tooLong.data(),
                            static_cast<DWORD>(tooLong.size())));
    FillGuarded(guarded);
    EXPECT_FALSE(
        ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "Field5", "dflt", guarded.text));
    EXPECT_STREQ(guarded.text, "dflt");
    EXPECT_TRUE(GuardIntact(guarded));
}

TEST_F(SettingsStoreTest, DefaultIsCutToTheBuffer) {
    const std::string longDefault(400, 'd');
    GuardedText guarded;
    FillGuarded(guarded);
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "Missing", longDefault.c_str(),
                                    guarded.text));
    EXPECT_EQ(std::string(guarded.text), std::string(259, 'd'));
    EXPECT_TRUE(GuardIntact(guarded));
}

TEST_F(SettingsStoreTest, MachineWideScopeLivesInTheLocalMachineHive) {
    SettingsStore::MarkMachineFlag("Installed");
    SettingsStore::WriteInt(SettingsScope::MachineWide, "Settings", "VCheckDate", 1234567);
    SettingsStore::WriteString(SettingsScope::MachineWide, "Settings", "RelatedPCheck", "1");

    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    ASSERT_TRUE(QueryRawValue(HKEY_LOCAL_MACHINE, kSettingsKey, "Installed", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, (std::vector<BYTE>{'1', 0}));
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::MachineWide, "Settings", "VCheckDate", 0),
              1234567);
    char text[kSettingsTextSize];
    SettingsStore::ReadString(SettingsScope::MachineWide, "Settings", "RelatedPCheck", "", text);
    EXPECT_STREQ(text, "1");

    // The two scopes do not see each other's values.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "VCheckDate", 0), 0);
    SettingsStore::WriteInt(SettingsScope::PerUser, "Settings", "LastCheckVersion", 200);
    EXPECT_EQ(
        SettingsStore::ReadInt(SettingsScope::MachineWide, "Settings", "LastCheckVersion", 105),
        105);
}

TEST_F(SettingsStoreTest, FailedKeyCreationIsReportedAndWritesNothing) {
    HKEY invalidRoot = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7ff00));
    EXPECT_NE(WriteRegistryString(invalidRoot, kSettingsKey, "X", "1"), ERROR_SUCCESS);
    char text[kSettingsTextSize];
    EXPECT_FALSE(ReadRegistryString(invalidRoot, kSettingsKey, "X", "120", text));
    EXPECT_STREQ(text, "120");
}

class AppDataFolderTest : public testing::Test {
  protected:
    void SetAppData(HKEY root, const char* name, const std::string& folder) {
        ASSERT_TRUE(SetShellFolder(root, name, folder));
    }

    static std::string Read() {
        char folder[kSettingsTextSize];
        ReadAppDataFolder(folder);
        return folder;
    }

  private:
    SavedRegistryValue userAppData_{HKEY_CURRENT_USER, kShellFolders, "AppData"};
    SavedRegistryValue commonAppData_{HKEY_LOCAL_MACHINE, kShellFolders, "Common AppData"};
};

// Taken as stored, even empty (no fallback), unless it is too long to read.
TEST_F(AppDataFolderTest, PerUserFolderComesFirstAsStored) {
    const struct {
        std::string stored;
        std::string expected;
    } cases[] = {{"C:\\users\\tester\\Application Data", "C:\\users\\tester\\Application Data"},
                 {"D:\\data\\", "D:\\data\\"},
                 {"", ""},
                 {std::string(300, 'p'), "C:\\common"}};
    SetAppData(HKEY_LOCAL_MACHINE, "Common AppData", "C:\\common");
    for (const auto& c : cases) {
        SCOPED_TRACE('"' + c.stored + '"');
        SetAppData(HKEY_CURRENT_USER, "AppData", c.stored);
        EXPECT_EQ(Read(), c.expected);
    }
}

TEST_F(AppDataFolderTest, MissingPerUserFolderFallsBackToAllUsersThenDriveRoot) {
    DeleteRawValue(HKEY_CURRENT_USER, kShellFolders, "AppData");
    SetAppData(HKEY_LOCAL_MACHINE, "Common AppData", "C:\\common");
    EXPECT_EQ(Read(), "C:\\common");

    DeleteRawValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common AppData");
    EXPECT_EQ(Read(), "C:\\");
}

}  // namespace
