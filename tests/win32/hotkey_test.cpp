// The hot key inside the test program: the simulated copy against another thread's edit box,
// key names, what gets registered, and the settings sheet with its Run values.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shlwapi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hotkey/foreground_copy_win32.h"
#include "hotkey/hotkey_names_win32.h"
#include "hotkey/program_hotkey_win32.h"
#include "resource_ids.h"
#include "settings/run_at_logon_win32.h"
#include "settings/settings_page_win32.h"
#include "settings/settings_store_win32.h"
#include "support/hotkey_probe_win32.h"
#include "support/key_target_win32.h"
#include "support/message_script.h"
#include "support/product_settings_win32.h"
#include "support/saved_registry_value_win32.h"

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool WaitUntil(const std::function<bool()>& done, DWORD boundMs = 5000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > boundMs) return false;
        Sleep(20);
    }
    return true;
}

TEST(ForegroundCopyTest, PostsCtrlCOrCtrlAThenCtrlCToTheFocusWindowAndRestoresTheKeys) {
    KeyTarget target("hello world");
    HWND own = CreateWindowExA(0, "STATIC", "own", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
    target.SelectAndActivate(6, 11);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target.window(); }));

    ASSERT_TRUE(CopyForegroundSelection(own, false));
    EXPECT_EQ(ClipboardText(), "world");
    std::vector<KeyTarget::Key> keys = target.Keys();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(keys[0].flags, 0x00000001);
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(keys[1].flags, static_cast<LPARAM>(0xC0000001u));
    for (const KeyTarget::Key& key : keys) {
        EXPECT_EQ(key.key, static_cast<WPARAM>('C'));
        EXPECT_TRUE(key.control);
        EXPECT_FALSE(key.shift);
    }
    // Ctrl is not left down for this thread.
    EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);

    target.ForgetKeys();
    target.SelectAndActivate(0, 0);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target.window(); }));
    ASSERT_TRUE(CopyForegroundSelection(own, true));
    EXPECT_EQ(ClipboardText(), "hello world");
    keys = target.Keys();
    ASSERT_EQ(keys.size(), 4u);
    const WPARAM order[] = {'A', 'A', 'C', 'C'};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(keys[i].key, order[i]) << i;
        EXPECT_EQ(keys[i].message, static_cast<UINT>(i % 2 == 0 ? WM_KEYDOWN : WM_KEYUP)) << i;
        EXPECT_TRUE(keys[i].control) << i;
    }

    // A program that does not answer gets nothing, not even late.
    target.ForgetKeys();
    target.SelectAndActivate(0, 0);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target.window(); }));
    target.Stall(1500);
    Sleep(100);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(CopyForegroundSelection(own, false));
    EXPECT_LT(GetTickCount() - start, 1000u);
    Sleep(1800);
    EXPECT_TRUE(target.Keys().empty());

    // The program's own windows get nothing.
    ShowWindow(own, SW_SHOW);
    SetForegroundWindow(own);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == own; }));
    EXPECT_FALSE(CopyForegroundSelection(own, false));
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    EXPECT_FALSE(CopyForegroundSelection(own, false));
    DestroyWindow(other);
    DestroyWindow(own);
    EXPECT_TRUE(target.Keys().empty());
}

TEST(HotKeyNameTest, NamesModifiersInOrderThenTheKey) {
    const struct {
        HotKeyCode code;
        const char* name;
    } rows[] = {
        {119, "F8"}, {0x20074, "Ctrl+F5"},  {0x10058, "Alt+X"}, {0x70041, "Ctrl+Alt+Shift+A"},
        {9, "Tab"},  {0x40070, "Shift+F1"},
    };
    for (const auto& row : rows) {
        char name[kHotKeyNameSize];
        FormatHotKeyName(row.code, name);
        EXPECT_STREQ(name, row.name) << row.code;
    }
}

class RegistryTest : public testing::Test {
  protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey); }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, kProductKey); }
};

using ProgramHotKeyTest = RegistryTest;

TEST_F(ProgramHotKeyTest, RegistersOnlyTheDefinedBits) {
    HWND window =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const struct {
        const char* stored;  // null: no value
        unsigned modifiers, key;
    } rows[] = {{nullptr, 0, VK_F8},
                {"393332", MOD_CONTROL | MOD_SHIFT, VK_F5},
                {"-1", MOD_ALT | MOD_CONTROL | MOD_SHIFT, 0xFF},
                {"655477", MOD_CONTROL, VK_F6}};  // 0xA0075: bit 19 is no modifier
    for (const auto& row : rows) {
        if (row.stored != nullptr) {
            SettingsStore::WriteString(SettingsScope::PerUser, "Settings", "HotKeyValue",
                                       row.stored);
        }
        ProgramHotKey hotKey;
        hotKey.Register(window, StoredHotKey());
        EXPECT_TRUE(hotKey.Registered()) << row.stored;
        EXPECT_TRUE(HotKeyTaken(row.modifiers, row.key)) << row.stored;
        EXPECT_FALSE(HotKeyTaken(row.modifiers | MOD_WIN, row.key)) << row.stored;
        hotKey.Unregister();
        EXPECT_FALSE(HotKeyTaken(row.modifiers, row.key)) << row.stored;
    }
    DestroyWindow(window);
}

// Everyone may not set values or create sub-keys under the machine's Run key while this
// object lives, as for a user without administrator rights.
class DeniedMachineRunKey {
  public:
    DeniedMachineRunKey() {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, READ_CONTROL | WRITE_DAC, &key_) !=
            ERROR_SUCCESS) {
            return;
        }
        DWORD size = 0;
        RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
        saved_.resize(size);
        if (RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data(), &size) !=
            ERROR_SUCCESS) {
            saved_.clear();
            return;
        }
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
        alignas(DWORD) BYTE aclBytes[256];
        auto* acl = reinterpret_cast<PACL>(aclBytes);
        InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
        AddAccessDeniedAce(acl, ACL_REVISION, KEY_SET_VALUE | KEY_CREATE_SUB_KEY, everyone);
        AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone);
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
        denied_ = RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
        FreeSid(everyone);
    }
    ~DeniedMachineRunKey() {
        if (denied_) RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data());
        if (key_ != nullptr) RegCloseKey(key_);
    }
    DeniedMachineRunKey(const DeniedMachineRunKey&) = delete;
    DeniedMachineRunKey& operator=(const DeniedMachineRunKey&) = delete;
    bool denied() const { return denied_; }

  private:
    HKEY key_ = nullptr;
    std::vector<BYTE> saved_;
    bool denied_ = false;
};

class SettingsSheetTest : public RegistryTest {
  protected:
    SavedRegistryValue machineRun_{HKEY_LOCAL_MACHINE, kRunKey, "QuillmetRun"};
    SavedRegistryValue userRun_{HKEY_CURRENT_USER, kRunKey, "QuillmetRun"};

    void SetUp() override {
        RegistryTest::SetUp();
        DeleteRunValue(SettingsScope::MachineWide);
        DeleteRunValue(SettingsScope::PerUser);
        GetModuleFileNameA(nullptr, programPath_, sizeof programPath_);
    }

    // Runs the sheet with steps that get the page window; the script's last step must end it.
    bool RunSheet(MessageScript& script) {
        script.Rescue([] {
            if (HWND sheet = FindWindowA(nullptr, "Settings")) {
                PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            }
        });
        script.Start();
        const bool ok = SettingsSheet(nullptr, nullptr);
        script.Stop();
        EXPECT_TRUE(script.Completed());
        return ok;
    }
    void FindPage(MessageScript& script) {
        script.WaitFor("the settings sheet", [this] {
            sheet_ = FindWindowA(nullptr, "Settings");
            page_ = sheet_ != nullptr ? PropSheet_GetCurrentPageHwnd(sheet_) : nullptr;
            return page_ != nullptr;
        });
    }
    bool Checked(int id) const { return IsDlgButtonChecked(page_, id) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(page_, id)) != FALSE; }
    void Click(int id) const { SendDlgItemMessageA(page_, id, BM_CLICK, 0, 0); }
    int RunEntry() const {
        return static_cast<int>(
            SendDlgItemMessageA(page_, IDC_SETTINGS_RUN_FOR, CB_GETCURSEL, 0, 0));
    }
    std::string Setting(const char* name) const {
        char text[kSettingsTextSize];
        SettingsStore::ReadString(SettingsScope::PerUser, "Settings", name, "<none>", text);
        return text;
    }
    std::string RunValue(HKEY root) const {
        char text[kSettingsTextSize];
        ReadRegistryString(root, kRunKey, "QuillmetRun", "<none>", text);
        return text;
    }

    char programPath_[MAX_PATH] = {};
    HWND sheet_ = nullptr;
    HWND page_ = nullptr;
};

TEST_F(SettingsSheetTest, ShowsTheStoredSettingsAndOkWritesThemAndTheMachinesRunValue) {
    SettingsStore::WriteString(SettingsScope::PerUser, "Settings", "HotKeyValue", "abc");
    MessageScript script;
    FindPage(script);
    script.Do([this] {
        char label[128] = {};
        GetDlgItemTextA(page_, IDC_SETTINGS_HOTKEY_ON, label, sizeof label);
        EXPECT_STREQ(label, "Enable Hot Key Control  []");
        EXPECT_TRUE(Checked(IDC_SETTINGS_HOTKEY_ON));
        EXPECT_TRUE(Checked(IDC_SETTINGS_COUNT_SELECTED));
        EXPECT_TRUE(Checked(IDC_SETTINGS_TABBED));
        EXPECT_FALSE(Checked(IDC_SETTINGS_RUN_AT_LOGON));
        EXPECT_EQ(RunEntry(), 0);
        EXPECT_FALSE(Enabled(IDC_SETTINGS_RUN_FOR));

        Click(IDC_SETTINGS_HOTKEY_ON);
        for (int id :
             {IDC_SETTINGS_WHEN_LABEL, IDC_SETTINGS_COUNT_SELECTED, IDC_SETTINGS_SELECT_ALL}) {
            EXPECT_FALSE(Enabled(id)) << id;
        }
        EXPECT_TRUE(Enabled(IDC_SETTINGS_CHANGE_KEY));
        Click(IDC_SETTINGS_HOTKEY_ON);
        EXPECT_TRUE(Enabled(IDC_SETTINGS_SELECT_ALL));
        Click(IDC_SETTINGS_SELECT_ALL);
        Click(IDC_SETTINGS_COMMA);
        Click(IDC_SETTINGS_RUN_AT_LOGON);
        EXPECT_TRUE(Enabled(IDC_SETTINGS_RUN_FOR));
        PostMessageA(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_TRUE(RunSheet(script));
    EXPECT_EQ(Setting("Automate"), "1");
    EXPECT_EQ(Setting("HotKeysOn"), "1");
    EXPECT_EQ(Setting("Tabbed"), "0");
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "\"" + std::string(programPath_) + "\" -logon");
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "<none>");
}

TEST_F(SettingsSheetTest, AnyUserWithoutRightsKeepsTheUsersValueAndCancelWritesNothing) {
    ASSERT_TRUE(WriteRunValue(SettingsScope::MachineWide, "C:\\old\\quillmet.exe"));
    ASSERT_TRUE(WriteRunValue(SettingsScope::PerUser, "C:\\mine\\quillmet.exe"));
    DeniedMachineRunKey denied;
    ASSERT_TRUE(denied.denied());
    ASSERT_FALSE(WriteRunValue(SettingsScope::MachineWide, programPath_));

    MessageScript script;
    FindPage(script);
    script.Do([this] {
        EXPECT_TRUE(Checked(IDC_SETTINGS_RUN_AT_LOGON));
        EXPECT_EQ(RunEntry(), 0);
        PostMessageA(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_TRUE(RunSheet(script));
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "\"C:\\mine\\quillmet.exe\" -logon");
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "\"C:\\old\\quillmet.exe\" -logon");

    const std::string automate = Setting("Automate");
    MessageScript cancelled;
    FindPage(cancelled);
    cancelled.Do([this] {
        Click(IDC_SETTINGS_SELECT_ALL);
        Click(IDC_SETTINGS_COMMA);
        Click(IDC_SETTINGS_RUN_AT_LOGON);
        PostMessageA(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    EXPECT_FALSE(RunSheet(cancelled));
    EXPECT_EQ(Setting("Automate"), automate);
    EXPECT_EQ(Setting("Tabbed"), "1");
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "\"C:\\mine\\quillmet.exe\" -logon");
}

}  // namespace
