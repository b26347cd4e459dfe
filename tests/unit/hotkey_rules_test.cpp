// The hot key's code layout and the key choice, and what the settings page's OK does to the
// two Run values.
#include <gtest/gtest.h>

#include "hotkey/hotkey_code.h"
#include "settings/run_at_logon.h"

namespace {

TEST(HotKeyCode, SplitsIntoRegistrationPartsAndNamesModifiersInFixedOrder) {
    struct Row {
        HotKeyCode code;
        unsigned modifiers, virtualKey;
        const char* prefix;
    };
    const Row rows[] = {
        {119, 0, 0x77, ""},                        // F8, the default
        {0x60074, 6, 0x74, "Ctrl+Shift+"},         // Ctrl+Shift+F5
        {0x10058, 1, 0x58, "Alt+"},                // Alt+X
        {0x70041, 7, 0x41, "Ctrl+Alt+Shift+"},     // all three
        {0xFFFFFFFF, 7, 0xFF, "Ctrl+Alt+Shift+"},  // damaged: never the Windows key
        {0x00080000 | 0x1FF, 0, 0xFF, ""},         // bit 19 (the logo key) is dropped
        {0, 0, 0, ""},                             // "abc" reads as 0
    };
    for (const Row& row : rows) {
        const HotKeyParts parts = SplitHotKeyCode(row.code);
        EXPECT_EQ(parts.modifiers, row.modifiers) << std::hex << row.code;
        EXPECT_EQ(parts.virtualKey, row.virtualKey) << std::hex << row.code;
        EXPECT_EQ(HotKeyNamePrefix(row.code), row.prefix) << std::hex << row.code;
    }
}

TEST(HotKeyCode, ChoosingAKeyIgnoresEnterAndLoneModifiersAndLetsEscCancel) {
    struct Row {
        HotKeyCode code;
        KeyChoice choice;
    };
    const Row rows[] = {
        {13, KeyChoice::IgnoreAndConsume},
        {kHotKeyControl | 13, KeyChoice::IgnoreAndConsume},
        {16 | kHotKeyShift, KeyChoice::IgnoreAndPassOn},
        {17 | kHotKeyControl, KeyChoice::IgnoreAndPassOn},
        {18 | kHotKeyAlt, KeyChoice::IgnoreAndPassOn},
        {27, KeyChoice::IgnoreAndPassOn},
        {8, KeyChoice::Accept},
        {9, KeyChoice::Accept},
        {0x70, KeyChoice::Accept},
        {0x10073, KeyChoice::Accept},
        {0x20074, KeyChoice::Accept},
        {0x79, KeyChoice::Accept},
    };
    for (const Row& row : rows) EXPECT_EQ(ChooseHotKey(row.code), row.choice) << row.code;
}

TEST(RunAtLogon, OkWritesTheChosenValueAndDeletesTheOther) {
    using A = RunValueAction;
    struct Row {
        bool checked;
        int entry;
        A machine, user;
        bool userNeedsMachineWrite;
    };
    const Row rows[] = {
        {true, 0, A::Write, A::Delete, true},     // any user: the user's value goes only once
        {true, 1, A::Delete, A::Write, false},    // the machine's value is written
        {true, -1, A::Delete, A::Delete, false},  // nothing selected
        {false, 0, A::Delete, A::Delete, false}, {false, 1, A::Delete, A::Delete, false},
    };
    for (const Row& row : rows) {
        const RunValuePlan plan = PlanRunValues(row.checked, row.entry);
        EXPECT_EQ(plan.machineWide, row.machine) << row.checked << row.entry;
        EXPECT_EQ(plan.perUser, row.user) << row.checked << row.entry;
        EXPECT_EQ(plan.perUserNeedsMachineWrite, row.userNeedsMachineWrite);
    }
    EXPECT_EQ(RunEntryToSelect(false, true), 1);
    EXPECT_EQ(RunEntryToSelect(true, true), 0);
    EXPECT_EQ(RunEntryToSelect(false, false), 0);

    EXPECT_EQ(FormatRunCommand("C:\\Program Files\\Quillmet\\quillmet.exe"),
              "\"C:\\Program Files\\Quillmet\\quillmet.exe\" -logon");
    // A path of the longest length is not cut.
    const std::string longPath(259, 'x');
    EXPECT_EQ(FormatRunCommand(longPath.c_str()), "\"" + longPath + "\" -logon");
}

}  // namespace
