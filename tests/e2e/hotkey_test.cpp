// The hot key of the real program: copying out of another program, choosing the key, switching
// it off and on, and start at log-on from the settings sheet.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shlwapi.h>

#include <algorithm>

#include "resource_ids.h"
#include "support/running_program.h"
#include "win32/support/hotkey_probe_win32.h"
#include "win32/support/key_target_win32.h"

namespace e2e {
namespace {

constexpr DWORD kBoundMs = 10000;
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

void DeleteRunValues() {
    SHDeleteValueA(HKEY_CURRENT_USER, kRunKey, "QuillmetRun");
    SHDeleteValueA(HKEY_LOCAL_MACHINE, kRunKey, "QuillmetRun");
}

std::string RunValue(HKEY root) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (SHGetValueA(root, kRunKey, "QuillmetRun", nullptr, data, &size) != ERROR_SUCCESS) {
        return "<none>";
    }
    return data;
}

bool BringForward(HWND window) {
    return WaitFor(
        [&] {
            SetForegroundWindow(window);
            return GetForegroundWindow() == window;
        },
        kBoundMs);
}

bool Gone(HWND window) {
    return WaitFor([&] { return !IsWindow(window); }, kBoundMs);
}

// The settings sheet of a running program and its one page.
struct Sheet {
    HWND owner = nullptr;
    HWND sheet = nullptr;
    HWND page = nullptr;

    static Sheet Open(HWND mainWindow, DWORD processId) {
        Sheet result;
        result.owner = mainWindow;
        // Posted: the sheet runs a loop of its own inside the program.
        PostMessageA(mainWindow, WM_COMMAND, IDCMD_SETTINGS, 0);
        result.sheet = WaitForDialog("Settings", processId, kBoundMs);
        if (result.sheet != nullptr) {
            WaitFor([&] { return (result.page = PropSheet_GetCurrentPageHwnd(result.sheet)); },
                    kBoundMs);
        }
        return result;
    }
    bool Checked(int id) const { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
    void Click(int id) const { SendDlgItemMessageA(page, id, BM_CLICK, 0, 0); }
    // Closes the sheet and waits until the main window has done what follows it (registering
    // the key again): its thread answers a sent message only back in its own loop. Probing the
    // key before then would take it from the program.
    bool Close(int button) const {
        PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
        return Gone(sheet) &&
               SendMessageTimeoutA(owner, WM_NULL, 0, 0, SMTO_NORMAL, kBoundMs, nullptr) != 0;
    }
    // "Change Key": "Press Key" in front, ready for keys; null when it did not come.
    HWND StartChoosing(DWORD processId) const {
        PostMessageA(page, WM_COMMAND, IDC_SETTINGS_CHANGE_KEY, 0);
        HWND pressKey = WaitForDialog("Press Key", processId, kBoundMs);
        return pressKey != nullptr && BringForward(pressKey) ? pressKey : nullptr;
    }
    // Presses the keys in "Press Key" and waits for it to close.
    bool ChooseKey(DWORD processId, std::initializer_list<WORD> keys) const {
        HWND pressKey = StartChoosing(processId);
        if (pressKey == nullptr) return false;
        PressKeys(keys);
        return Gone(pressKey);
    }
};

// The stored key once it reads `want`, or what it reads when the bound has passed: the page
// stores the chosen key just after the Press Key window has gone.
std::string StoredHotKeySoon(const char* want) {
    std::string stored;
    WaitFor(
        [&] {
            return (stored = ReadSetting(HKEY_CURRENT_USER, "Settings", "HotKeyValue")) == want;
        },
        kBoundMs);
    return stored;
}

class HotKeyTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteProductSettings();
        DeleteRunValues();
    }
    void TearDown() override {
        DeleteProductSettings();
        DeleteRunValues();
    }
};

bool Contains(const std::vector<KeyTarget::Key>& keys, UINT message, WPARAM key) {
    return std::any_of(keys.begin(), keys.end(), [&](const KeyTarget::Key& k) {
        return k.message == message && k.key == key;
    });
}

TEST_F(HotKeyTest, F8CopiesTheSelectionOrTheWholeTextOfAnotherProgram) {
    KeyTarget target("hello world");
    {
        RunningProgram program;
        HWND window = program.window();
        ASSERT_NE(window, nullptr);
        const DWORD id = program.process().Id();
        EXPECT_TRUE(HotKeyTaken(0, VK_F8));

        target.SelectAndActivate(6, 11);
        ASSERT_TRUE(BringForward(target.window()));
        PressKeys({VK_F8});
        EXPECT_TRUE(
            WaitFor([&] { return ControlText(window, IDC_COUNTED_TEXT) == "world"; }, kBoundMs));
        EXPECT_EQ(ControlText(window, IDC_CHARACTERS), "5");
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }, kBoundMs));
        std::vector<KeyTarget::Key> keys = target.Keys();
        EXPECT_TRUE(Contains(keys, WM_KEYDOWN, 'C'));
        EXPECT_FALSE(Contains(keys, WM_KEYDOWN, 'A'));

        // After a grab the program's Ctrl is up again: F5 alone is chosen as F5. F8, the key
        // registered now, is chosen as a key and not taken as the hot key.
        Sheet sheet = Sheet::Open(window, id);
        ASSERT_NE(sheet.page, nullptr);
        ASSERT_TRUE(sheet.ChooseKey(id, {VK_F5}));
        EXPECT_EQ(StoredHotKeySoon("116"), "116");
        ASSERT_TRUE(sheet.ChooseKey(id, {VK_F8}));
        EXPECT_EQ(StoredHotKeySoon("119"), "119");
        EXPECT_EQ(ControlText(window, IDC_COUNTED_TEXT), "world");

        sheet.Click(IDC_SETTINGS_SELECT_ALL);
        ASSERT_TRUE(sheet.Close(PSBTN_OK));
        EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "Automate"), "1");

        target.ForgetKeys();
        target.SelectAndActivate(0, 0);
        ASSERT_TRUE(BringForward(target.window()));
        PressKeys({VK_F8});
        EXPECT_TRUE(WaitFor([&] { return ControlText(window, IDC_COUNTED_TEXT) == "hello world"; },
                            kBoundMs));
        EXPECT_EQ(ControlText(window, IDC_WORDS), "2");
        keys = target.Keys();
        std::vector<WPARAM> downs;
        for (const KeyTarget::Key& key : keys) {
            if (key.message == WM_KEYDOWN && key.control) downs.push_back(key.key);
        }
        EXPECT_EQ(downs, (std::vector<WPARAM>{'A', 'C'}));
        EXPECT_TRUE(program.End());
    }
    EXPECT_FALSE(HotKeyTaken(0, VK_F8)) << "the key outlived the program";
}

TEST_F(HotKeyTest, TheKeyIsSwitchedOffAndOnAndChangedOnlyWithOk) {
    KeyTarget target("abc");
    RunningProgram program;
    HWND window = program.window();
    ASSERT_NE(window, nullptr);
    const DWORD id = program.process().Id();

    Sheet sheet = Sheet::Open(window, id);
    ASSERT_NE(sheet.page, nullptr);
    sheet.Click(IDC_SETTINGS_HOTKEY_ON);
    ASSERT_TRUE(sheet.Close(PSBTN_OK));
    EXPECT_FALSE(HotKeyTaken(0, VK_F8));
    target.SelectAndActivate(0, 0);
    ASSERT_TRUE(BringForward(target.window()));
    PressKeys({VK_F8});
    EXPECT_TRUE(WaitFor([&] { return Contains(target.Keys(), WM_KEYDOWN, VK_F8); }, kBoundMs))
        << "F8 did not reach the other program";

    sheet = Sheet::Open(window, id);
    ASSERT_NE(sheet.page, nullptr);
    sheet.Click(IDC_SETTINGS_HOTKEY_ON);
    ASSERT_TRUE(sheet.Close(PSBTN_OK));
    EXPECT_TRUE(HotKeyTaken(0, VK_F8));

    sheet = Sheet::Open(window, id);
    ASSERT_NE(sheet.page, nullptr);
    // Enter is ignored: the F6 after it is still chosen in "Press Key". Esc chooses nothing.
    HWND pressKey = sheet.StartChoosing(id);
    ASSERT_NE(pressKey, nullptr);
    PressKeys({VK_RETURN});
    PressKeys({VK_F6});
    ASSERT_TRUE(Gone(pressKey));
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "HotKeyValue"), "117");
    ASSERT_TRUE(sheet.ChooseKey(id, {VK_ESCAPE}));
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "HotKeyValue"), "117");
    ASSERT_TRUE(sheet.ChooseKey(id, {VK_MENU, VK_F4}));
    EXPECT_EQ(StoredHotKeySoon("65651"), "65651");
    EXPECT_TRUE(IsWindow(sheet.sheet));
    EXPECT_TRUE(IsWindow(window));
    ASSERT_TRUE(sheet.ChooseKey(id, {VK_CONTROL, VK_F5}));
    EXPECT_EQ(StoredHotKeySoon("131188"), "131188");
    EXPECT_EQ(ControlText(sheet.page, IDC_SETTINGS_HOTKEY_ON), "Enable Hot Key Control  [Ctrl+F5]");

    // Cancel keeps the chosen value but not the registration.
    ASSERT_TRUE(sheet.Close(PSBTN_CANCEL));
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, "Settings", "HotKeyValue"), "131188");
    EXPECT_TRUE(HotKeyTaken(0, VK_F8));
    EXPECT_FALSE(HotKeyTaken(MOD_CONTROL, VK_F5));
    sheet = Sheet::Open(window, id);
    ASSERT_NE(sheet.page, nullptr);
    ASSERT_TRUE(sheet.Close(PSBTN_OK));
    EXPECT_TRUE(HotKeyTaken(MOD_CONTROL, VK_F5));
    EXPECT_FALSE(HotKeyTaken(0, VK_F8));
}

TEST_F(HotKeyTest, StartAtLogonNamesTheProgramsFullPathAndASecondStartFindsTheMainWindow) {
    const std::string folder = MakeScratchFolder("logon");
    const std::string copy = CopyProgram(folder, "quillmet.exe");
    ASSERT_FALSE(copy.empty());
    // Started as a bare name in its own folder, as from a console.
    char previousFolder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof previousFolder, previousFolder);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    Process process;
    const bool started = process.Start("", "quillmet", folder.c_str());
    ASSERT_TRUE(started);
    HWND window = WaitForDialog("Quillmet", process.Id(), kStartBoundMs);
    ASSERT_NE(window, nullptr);
    process.WaitForIdle(kStartBoundMs);

    Sheet sheet = Sheet::Open(window, process.Id());
    ASSERT_NE(sheet.page, nullptr);
    sheet.Click(IDC_SETTINGS_RUN_AT_LOGON);
    SendDlgItemMessageA(sheet.page, IDC_SETTINGS_RUN_FOR, CB_SETCURSEL, 1, 0);
    ASSERT_TRUE(sheet.Close(PSBTN_OK));
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "\"" + copy + "\" -logon");
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "<none>");

    sheet = Sheet::Open(window, process.Id());
    ASSERT_NE(sheet.page, nullptr);
    sheet.Click(IDC_SETTINGS_RUN_AT_LOGON);
    ASSERT_TRUE(sheet.Close(PSBTN_OK));
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "<none>");
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "<none>");

    // Another dialog titled "Quillmet", above the hidden main window: a second start must
    // still reach the main window.
    PostMessageA(window, WM_COMMAND, IDCMD_CLOSE_TO_TRAY, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }, kBoundMs));
    HWND decoy = CreateWindowExA(0, MAKEINTATOM(0x8002), "Quillmet", WS_POPUP | WS_VISIBLE, 0, 0,
                                 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(decoy, nullptr);
    Process second;
    ASSERT_TRUE(second.Start("", "quillmet", folder.c_str()));
    SetCurrentDirectoryA(previousFolder);
    EXPECT_TRUE(second.WaitForExit(kExitBoundMs));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }, kBoundMs));
    DestroyWindow(decoy);

    PostMessageA(window, kCloseRequest, 0, 0);
    EXPECT_TRUE(process.WaitForExit(kExitBoundMs));
}

}  // namespace
}  // namespace e2e
