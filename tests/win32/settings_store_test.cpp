// The settings store against Wine's real registry.
#include "settings/settings_store_win32.h"

#include <shlwapi.h>
#include <gtest/gtest.h>

#include <string>

namespace {

const char* kProductKey = "Software\\Kestrovan\\Quillmet";

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey); }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey); }
};

TEST_F(SettingsStoreTest, FreshUserReadsDefaultsAndFirstWriteCreatesTheKeys) {
    char text[kSettingsTextSize];
    SettingsStore::ReadString(SettingsScope::PerUser, "Settings", "CharacterPerLine", "80", text);
    EXPECT_STREQ(text, "80");
    EXPECT_EQ(SettingsStore::ReadInt(SettingsScope::PerUser, "Settings", "HotKeyValue", 119), 119);
    EXPECT_TRUE(SettingsStore::ReadBool("Settings", "HotKeysOn", true));

    SettingsStore::WriteInt(SettingsScope::PerUser, "InvoiceOrder", "3", -3);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Kestrovan\\Quillmet\\InvoiceOrder", 0,
                            KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    char data[16] = {};
    DWORD type = 0, size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "3", nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 3u);  // "-3" and its terminating zero
    EXPECT_STREQ(data, "-3");
}
}  // namespace
