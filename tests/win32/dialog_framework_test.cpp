// The dialog framework driven as the system drives it: real dialogs, property sheets and
// wizards from test templates, closed from inside their own loops by a message script.
#include "ui/dialog_base_win32.h"
#include "ui/object_timer_win32.h"
#include "ui/property_page_win32.h"
#include "ui/wizard_page_win32.h"

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/help_topics_win32.h"
#include "win32/support/message_script.h"

namespace {

using testing::Contains;
using testing::ElementsAre;
using testing::Not;

constexpr LPCSTR kModalTemplate = "TESTMODAL";
constexpr LPCSTR kModelessTemplate = "TESTMODELESS";
constexpr LPCSTR kPageTemplate = "TESTPAGE";
constexpr LPCSTR kMissingTemplate = "NOSUCHTEMPLATE";
constexpr int kActButton = 100;
constexpr int kEditBox = 101;
constexpr int kLabel = 102;

// Wizard buttons of the system's property sheet.
constexpr int kBackButton = 0x3023;
constexpr int kNextButton = 0x3024;
constexpr int kFinishButton = 0x3025;

// Modifier bits of a hot-key code.
constexpr UINT kAltBit = 0x10000;
constexpr UINT kControlBit = 0x20000;
constexpr UINT kShiftBit = 0x40000;

using Calls = std::vector<std::string>;

int CountOf(const Calls& calls, const std::string& call) {
    int count = 0;
    for (const std::string& each : calls) count += each == call ? 1 : 0;
    return count;
}

std::string Hex(UINT value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

// Records every slot the framework calls, in order, with the object's name in front.
template <class Base>
class Recording : public Base {
  public:
    template <class... Args>
    Recording(Calls& calls, const std::string& name, Args... args)
        : Base(args...), calls_(calls), prefix_(name.empty() ? "" : name + ":") {}

    void OnInit() override {
        lastWindow = this->window_;
        const auto stored = GetWindowLongPtrA(this->window_, DWLP_USER);
        boundAtInit = this->window_ != nullptr &&
                      stored == reinterpret_cast<LONG_PTR>(static_cast<DialogBase*>(this));
        Add("OnInit");
    }
    void OnDestroy() override { Add("OnDestroy"); }
    bool OnOk() override {
        Add("OnOk");
        return allowOk;
    }
    bool OnCancel() override {
        Add("OnCancel");
        return allowCancel;
    }
    void OnHelp() override { Add("OnHelp"); }
    void UpdateControls() override { Add("UpdateControls"); }
    void OnCommand(WPARAM wParam, WORD notifyCode) override {
        Add("OnCommand " + std::to_string(LOWORD(wParam)) + " " + std::to_string(notifyCode));
    }
    void EndWindow(INT_PTR result) override {
        Add("EndWindow " + std::to_string(result));
        Base::EndWindow(result);
    }

    bool allowOk = true;
    bool allowCancel = true;
    bool boundAtInit = false;
    HWND lastWindow = nullptr;

  protected:
    void Add(const std::string& call) { calls_.push_back(prefix_ + call); }

    Calls& calls_;
    std::string prefix_;
};

using RecordingDialog = Recording<DialogBase>;
using RecordingModeless = Recording<ModelessDialog>;

class RecordingWizardPage : public Recording<WizardPage> {
  public:
    using Recording<WizardPage>::Recording;
    void OnPageActivate() override { Add("Activate"); }
    void OnPageDeactivate() override { Add("Deactivate"); }
};

class RecordingTimedPage : public Recording<TimedWizardPage> {
  public:
    using Recording<TimedWizardPage>::Recording;
    void OnDeferredWork() override {
        ++workRuns;
        Add(std::string("DeferredWork stop=") + (StopRequested() ? "1" : "0"));
    }
    int workRuns = 0;
};

// Every OnCommand is followed by UpdateControls.
void ExpectUpdateAfterEachCommand(const Calls& calls) {
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].rfind("OnCommand", 0) != 0) continue;
        ASSERT_LT(i + 1, calls.size()) << calls[i];
        EXPECT_EQ(calls[i + 1], "UpdateControls") << "after " << calls[i];
    }
}

// The calls without the commands (and their UpdateControls) that controls send on their own,
// such as an edit box reporting that it gained or lost the focus.
Calls WithoutCommands(const Calls& calls) {
    Calls rest;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].find("OnCommand") != std::string::npos) {
            ++i;  // its UpdateControls
            continue;
        }
        rest.push_back(calls[i]);
    }
    return rest;
}

HWND CurrentPage(HWND sheet) { return PropSheet_GetCurrentPageHwnd(sheet); }

void Press(HWND sheet, int button) { SendMessageA(sheet, PSM_PRESSBUTTON, button, 0); }

bool ButtonEnabled(HWND sheet, int id) {
    HWND button = GetDlgItem(sheet, id);
    return button != nullptr && IsWindowEnabled(button);
}

INT_PTR RunSheet(PropertySheetPages& pages, DWORD flags) {
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = flags;
    header.hInstance = ProgramInstance();
    header.pszCaption = "Test sheet";
    pages.AttachTo(header);
    return PropertySheetA(&header);
}

// Runs the sheet with the script's steps inside its loop; the script must complete.
INT_PTR RunSheet(PropertySheetPages& pages, DWORD flags, MessageScript& script) {
    script.Start();
    const INT_PTR result = RunSheet(pages, flags);
    script.Stop();
    EXPECT_TRUE(script.Completed());
    return result;
}

// Keeps the thread's keyboard state for the test and puts it back afterwards.
class KeyboardStateGuard {
  public:
    KeyboardStateGuard() { GetKeyboardState(saved_); }
    ~KeyboardStateGuard() { SetKeyboardState(saved_); }
    void Hold(std::initializer_list<int> keys, BYTE toggledOnly = 0) {
        BYTE state[256] = {};
        for (int key : keys) state[key] = 0x80;
        if (toggledOnly != 0) state[toggledOnly] = 0x01;
        SetKeyboardState(state);
    }

  private:
    BYTE saved_[256] = {};
};

// Runs the thread's messages until done() or about ten seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > 10000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Modal dialogs

TEST(ModalDialogTest, OkBindsInitialisesUpdatesThenEndsWithOne) {
    Calls calls;
    RecordingDialog dialog(calls, "");
    MessageScript script;
    script.Do([&] { PostMessageA(dialog.Window(), WM_COMMAND, IDOK, 0); }).Rescue([&] {
        EndDialog(dialog.lastWindow, 99);
    });
    script.Start();
    const bool result = RunModal(dialog, nullptr, kModalTemplate);
    script.Stop();

    EXPECT_TRUE(script.Completed());
    EXPECT_TRUE(result);
    EXPECT_TRUE(dialog.boundAtInit);
    EXPECT_EQ(dialog.Window(), nullptr);
    // OnDestroy runs once: the WM_DESTROY after EndDialog is no longer forwarded.
    EXPECT_THAT(calls, ElementsAre("OnInit", "UpdateControls", "OnOk", "EndWindow 1", "OnDestroy"));
}

TEST(ModalDialogTest, EscAndTheCloseBoxAskOnCancelAndARefusalKeepsTheDialogOpen) {
    Calls calls;
    RecordingDialog dialog(calls, "");
    dialog.allowCancel = false;
    MessageScript script;
    script.Do([&] { PostMessageA(dialog.Window(), WM_KEYDOWN, VK_ESCAPE, 1); })
        .Do([&] {
            EXPECT_EQ(CountOf(calls, "OnCancel"), 1) << "Esc";
            EXPECT_TRUE(IsWindow(dialog.Window()));
            PostMessageA(dialog.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        })
        .Do([&] {
            EXPECT_EQ(CountOf(calls, "OnCancel"), 2) << "close box";
            EXPECT_TRUE(IsWindow(dialog.Window()));
            EXPECT_EQ(CountOf(calls, "EndWindow 2"), 0);
            dialog.allowCancel = true;
            PostMessageA(dialog.Window(), WM_CLOSE, 0, 0);
        })
        .Rescue([&] { EndDialog(dialog.lastWindow, 99); });
    script.Start();
    const bool result = RunModal(dialog, nullptr, kModalTemplate);
    script.Stop();

    EXPECT_TRUE(script.Completed());
    EXPECT_FALSE(result);
    EXPECT_EQ(CountOf(calls, "OnCancel"), 3);
    EXPECT_THAT(calls, Not(Contains("OnOk")));
    ASSERT_GE(calls.size(), 3u);
    EXPECT_THAT(Calls(calls.end() - 3, calls.end()),
                ElementsAre("OnCancel", "EndWindow 2", "OnDestroy"));
}

TEST(ModalDialogTest, OtherCommandsGoToOnCommandAndEachIsFollowedByUpdateControls) {
    Calls calls;
    RecordingDialog dialog(calls, "");
    MessageScript script;
    script
        .Do([&] {
            HWND window = dialog.Window();
            calls.clear();
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(kActButton, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, kActButton)));
            SetDlgItemTextA(window, kEditBox, "typed");  // the edit box reports EN_CHANGE
            SendMessageA(window, WM_COMMAND, IDHELP, 0);
            SendMessageA(window, WM_HELP, 0, 0);
            // The results of the standard dispatch.
            EXPECT_EQ(dialog.HandleMessage(WM_COMMAND, MAKEWPARAM(kLabel, 0), 0), 1);
            EXPECT_EQ(dialog.HandleMessage(WM_HELP, 0, 0), 1);
            EXPECT_EQ(dialog.HandleMessage(WM_MOUSEMOVE, 0, 0), 0);
        })
        .Do([&] { dialog.EndWindow(7); })
        .Rescue([&] { EndDialog(dialog.lastWindow, 99); });
    script.Start();
    const bool result = RunModal(dialog, nullptr, kModalTemplate);
    script.Stop();

    EXPECT_TRUE(script.Completed());
    EXPECT_FALSE(result) << "only the result 1 counts as OK";
    ExpectUpdateAfterEachCommand(calls);
    EXPECT_THAT(calls, Contains("OnCommand 100 0"));
    EXPECT_THAT(calls, Contains("OnCommand 101 " + std::to_string(EN_CHANGE)));
    EXPECT_THAT(calls, Contains("OnCommand 102 0"));
    EXPECT_EQ(CountOf(calls, "OnHelp"), 3);
    EXPECT_THAT(calls, Contains("EndWindow 7"));
    EXPECT_THAT(calls, Not(Contains("OnOk")));
    EXPECT_THAT(calls, Not(Contains("OnCancel")));
}

TEST(ModalDialogTest, MissingTemplateAndASecondRunOfTheSameObjectAreRefused) {
    Calls calls;
    RecordingDialog dialog(calls, "");
    EXPECT_FALSE(RunModal(dialog, nullptr, kMissingTemplate));
    EXPECT_TRUE(calls.empty());

    bool secondRun = true;
    MessageScript script;
    script
        .Do([&] {
            const std::size_t before = calls.size();
            secondRun = RunModal(dialog, nullptr, kModalTemplate);
            EXPECT_EQ(calls.size(), before);
            dialog.EndWindow(1);
        })
        .Rescue([&] { EndDialog(dialog.lastWindow, 99); });
    script.Start();
    EXPECT_TRUE(RunModal(dialog, nullptr, kModalTemplate));
    script.Stop();
    EXPECT_TRUE(script.Completed());
    EXPECT_FALSE(secondRun);
    EXPECT_EQ(CountOf(calls, "OnInit"), 1);
}

TEST(DialogToolsTest, DisableMoveAndMeasureControls) {
    Calls calls;
    RecordingDialog dialog(calls, "");
    MessageScript script;
    script
        .Do([&] {
            HWND window = dialog.Window();
            HWND edit = GetDlgItem(window, kEditBox);
            HWND act = GetDlgItem(window, kActButton);
            SetFocus(edit);
            ASSERT_EQ(GetFocus(), edit);
            DisableControl(dialog, edit);
            EXPECT_FALSE(IsWindowEnabled(edit));
            EXPECT_NE(GetFocus(), edit) << "a disabled control must not keep the focus";
            HWND focus = GetFocus();
            DisableControl(dialog, GetDlgItem(window, IDCANCEL));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDCANCEL)));
            if (focus != GetDlgItem(window, IDCANCEL)) {
                EXPECT_EQ(GetFocus(), focus);
            }

            // The edit box is 12 dialog units high in its template.
            RECT editRect;
            GetWindowRect(edit, &editRect);
            EXPECT_EQ(editRect.bottom - editRect.top, DialogUnitsToPixels(dialog, 12));
            EXPECT_GT(DialogUnitsToPixels(dialog, 8), 0);

            MoveControl(dialog, kActButton, 5, 6, 70, 21);
            RECT actRect;
            GetWindowRect(act, &actRect);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&actRect), 2);
            EXPECT_EQ(actRect.left, 5);
            EXPECT_EQ(actRect.top, 6);
            EXPECT_EQ(actRect.right - actRect.left, 70);
            EXPECT_EQ(actRect.bottom - actRect.top, 21);
            dialog.EndWindow(2);
        })
        .Rescue([&] { EndDialog(dialog.lastWindow, 99); });
    script.Start();
    RunModal(dialog, nullptr, kModalTemplate);
    script.Stop();
    EXPECT_TRUE(script.Completed());
}

TEST(DialogToolsTest, HelpFileLiesBesideTheRunningProgramWhateverTheCurrentFolder) {
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    SetCurrentDirectoryA(temp);
    char path[MAX_PATH];
    HelpFilePath("manual.html", path);
    SetCurrentDirectoryA(before);

    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program - 1);
    std::string expected(program);
    expected = expected.substr(0, expected.find_last_of("\\/")) + "\\manual.html";
    EXPECT_STREQ(path, expected.c_str());
}

TEST(DialogToolsTest, ModifierBitsFollowTheKeysHeldNow) {
    KeyboardStateGuard keyboard;
    keyboard.Hold({VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(CurrentModifierBits('A'), 'A' | kControlBit | kShiftBit);
    keyboard.Hold({VK_MENU});
    EXPECT_EQ(CurrentModifierBits(VK_F8), VK_F8 | kAltBit);
    // A toggled but released key counts as up.
    keyboard.Hold({}, VK_SHIFT);
    EXPECT_EQ(CurrentModifierBits(VK_F8), static_cast<UINT>(VK_F8));
}

// ---------------------------------------------------------------------------------------------
// Modeless dialogs and their loop

// Like the main window: handles WM_DESTROY itself, without the standard dispatch. A child
// control reports its own destruction to the dialog, as controls do.
class DestroyProbe : public RecordingModeless {
  public:
    using RecordingModeless::RecordingModeless;

    void OnInit() override {
        RecordingModeless::OnInit();
        HWND label = GetDlgItem(window_, kLabel);
        SetPropA(label, "probe", this);
        labelProcedure_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LabelProcedure)));
    }
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DESTROY) {
            Add("own WM_DESTROY");
            return 0;
        }
        return RecordingModeless::HandleMessage(message, wParam, lParam);
    }

    LONG_PTR slotDuringChildDestroy = -1;

  private:
    static LRESULT CALLBACK LabelProcedure(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* probe = static_cast<DestroyProbe*>(GetPropA(label, "probe"));
        if (message == WM_DESTROY) {
            RemovePropA(label, "probe");
            HWND dialog = GetParent(label);
            probe->slotDuringChildDestroy = GetWindowLongPtrA(dialog, DWLP_USER);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kLabel, STN_DISABLE),
                         reinterpret_cast<LPARAM>(label));
        }
        return CallWindowProcA(probe->labelProcedure_, label, message, wParam, lParam);
    }

    WNDPROC labelProcedure_ = nullptr;
};

TEST(ModelessDialogTest, BindingEndsAtDestroyEvenWhenAnOverrideKeepsTheMessage) {
    Calls calls;
    DestroyProbe dialog(calls, "");
    MessageScript script;
    script.Do([&] { dialog.EndWindow(2); }).Rescue([&] { DestroyWindow(dialog.lastWindow); });
    script.Start();
    EXPECT_TRUE(RunModelessLoop(dialog, kModelessTemplate, nullptr));
    script.Stop();

    EXPECT_TRUE(script.Completed());
    EXPECT_EQ(dialog.Window(), nullptr);
    EXPECT_EQ(dialog.slotDuringChildDestroy, 0);
    EXPECT_THAT(calls, Contains("own WM_DESTROY"));
    EXPECT_THAT(calls, Not(Contains("OnCommand 102 " + std::to_string(STN_DISABLE))));
}

TEST(ModelessDialogTest, StandardDestroyCallsOnDestroyOnceAndForgetsTheWindow) {
    Calls calls;
    RecordingModeless dialog(calls, "");
    MessageScript script;
    script.Do([&] { PostMessageA(dialog.Window(), WM_COMMAND, IDOK, 0); }).Rescue([&] {
        DestroyWindow(dialog.lastWindow);
    });
    script.Start();
    EXPECT_TRUE(RunModelessLoop(dialog, kModelessTemplate, nullptr));
    script.Stop();

    EXPECT_TRUE(script.Completed());
    EXPECT_EQ(dialog.Window(), nullptr);
    EXPECT_THAT(calls, ElementsAre("OnInit", "UpdateControls", "OnOk", "EndWindow 1", "OnDestroy"));
}

class KeyRecorder : public RecordingModeless {
  public:
    using RecordingModeless::RecordingModeless;
    bool OnKeyDown(UINT code) override {
        Add("KeyDown " + Hex(code));
        return true;
    }
    bool OnKeyRepeat(UINT code) override {
        Add("KeyRepeat " + Hex(code));
        return true;
    }
    bool OnKeyUp(UINT virtualKey) override {
        Add("KeyUp " + Hex(virtualKey));
        return true;
    }
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) {
            Add("key reached the dialog");
        }
        return RecordingModeless::HandleMessage(message, wParam, lParam);
    }
};

TEST(ModelessDialogTest, AHeldKeyGivesOneKeyDownThenRepeatsAndConsumedKeysGoNowhereElse) {
    KeyboardStateGuard keyboard;
    keyboard.Hold({VK_CONTROL, VK_LCONTROL});
    Calls calls;
    KeyRecorder dialog(calls, "");
    const LPARAM repeat = LPARAM(1) << 30;
    MessageScript script;
    script
        .Do([&] {
            calls.clear();
            HWND window = dialog.Window();
            PostMessageA(window, WM_KEYDOWN, 'K', 1);
            PostMessageA(window, WM_KEYDOWN, 'K', repeat | 1);
            PostMessageA(window, WM_KEYDOWN, 'K', repeat | 1);
            PostMessageA(window, WM_KEYUP, 'K', static_cast<LPARAM>(0xC0000001u));
        })
        .Do([&] { dialog.EndWindow(2); })
        .Rescue([&] { DestroyWindow(dialog.lastWindow); });
    script.Start();
    EXPECT_TRUE(RunModelessLoop(dialog, kModelessTemplate, nullptr));
    script.Stop();

    EXPECT_TRUE(script.Completed());
    const std::string code = Hex('K' | kControlBit);
    EXPECT_THAT(calls,
                ElementsAre("KeyDown " + code, "UpdateControls", "KeyRepeat " + code,
                            "UpdateControls", "KeyRepeat " + code, "UpdateControls",
                            "KeyUp " + Hex('K'), "UpdateControls", "EndWindow 2", "OnDestroy"));
}

TEST(ModelessDialogTest, WithTheDefaultFilterKeysReachTheDialogManager) {
    Calls calls;
    RecordingModeless dialog(calls, "");
    MessageScript script;
    script
        .Do([&] {
            calls.clear();
            PostMessageA(dialog.Window(), WM_KEYDOWN, 'K', 1);
            PostMessageA(dialog.Window(), WM_KEYDOWN, VK_ESCAPE, 1);
        })
        .Rescue([&] { DestroyWindow(dialog.lastWindow); });
    script.Start();
    EXPECT_TRUE(RunModelessLoop(dialog, kModelessTemplate, nullptr));
    script.Stop();

    EXPECT_TRUE(script.Completed());
    // Esc became the Cancel command; nothing was reported as a consumed key.
    EXPECT_THAT(calls, ElementsAre("OnCancel", "EndWindow 2", "OnDestroy"));
}

struct AfterCreateRecord {
    HWND owner = nullptr;
    ModelessDialog* dialog = nullptr;
    int calls = 0;
    bool ownerEnabled = false;
    HWND dialogWindow = nullptr;
};

void RecordAfterCreate(void* context) {
    auto* record = static_cast<AfterCreateRecord*>(context);
    ++record->calls;
    record->ownerEnabled = IsWindowEnabled(record->owner) != FALSE;
    record->dialogWindow = record->dialog->Window();
}

class OwnerWindow {
  public:
    OwnerWindow()
        : window_(CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 80, 40, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr)) {}
    ~OwnerWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }

  private:
    HWND window_;
};

TEST(RunModelessLoopTest, DisablesTheOwnerRefusesASecondRunAndEnablesTheOwnerAgain) {
    OwnerWindow owner;
    ASSERT_NE(owner.Get(), nullptr);
    Calls calls;
    RecordingModeless dialog(calls, "");
    AfterCreateRecord record;
    record.owner = owner.Get();
    record.dialog = &dialog;

    bool secondRun = true;
    MessageScript script;
    script
        .Do([&] {
            EXPECT_FALSE(IsWindowEnabled(owner.Get()));
            EXPECT_EQ(GetWindow(dialog.Window(), GW_OWNER), owner.Get());
            const std::size_t before = calls.size();
            secondRun = RunModelessLoop(dialog, kModelessTemplate, owner.Get());
            EXPECT_EQ(calls.size(), before);
            dialog.EndWindow(2);
        })
        .Rescue([&] { DestroyWindow(dialog.lastWindow); });
    script.Start();
    EXPECT_TRUE(
        RunModelessLoop(dialog, kModelessTemplate, owner.Get(), &RecordAfterCreate, &record));
    script.Stop();

    EXPECT_TRUE(script.Completed());
    EXPECT_FALSE(secondRun);
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));
    EXPECT_EQ(record.calls, 1);
    EXPECT_TRUE(record.ownerEnabled) << "the hook runs before the owner is disabled";
    EXPECT_NE(record.dialogWindow, nullptr) << "the hook runs after the window exists";
    EXPECT_EQ(CountOf(calls, "OnInit"), 1);
}

TEST(RunModelessLoopTest, MissingTemplateShowsNothingAndLeavesTheOwnerAlone) {
    OwnerWindow owner;
    Calls calls;
    RecordingModeless dialog(calls, "");
    AfterCreateRecord record;
    record.owner = owner.Get();
    record.dialog = &dialog;
    EXPECT_FALSE(
        RunModelessLoop(dialog, kMissingTemplate, owner.Get(), &RecordAfterCreate, &record));
    EXPECT_EQ(record.calls, 0);
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));
    EXPECT_TRUE(calls.empty());
}

constexpr UINT kRunInnerLoop = WM_APP + 1;

// Runs a second modeless loop from inside its own, as the settings page runs the key change
// dialog inside the main window's loop.
class OuterDialog : public RecordingModeless {
  public:
    OuterDialog(Calls& calls, ModelessDialog& inner)
        : RecordingModeless(calls, "outer"), inner_(inner) {}
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kRunInnerLoop) {
            return RecordingModeless::HandleMessage(message, wParam, lParam);
        }
        HWND self = window_;
        innerResult = RunModelessLoop(inner_, kModelessTemplate, self);
        aliveAfterInner = IsWindow(self) != FALSE && window_ == self;
        enabledAfterInner = IsWindowEnabled(self) != FALSE;
        innerReturned = true;
        return 1;
    }

    bool innerResult = false;
    bool innerReturned = false;
    bool aliveAfterInner = false;
    bool enabledAfterInner = false;

  private:
    ModelessDialog& inner_;
};

TEST(RunModelessLoopTest, AQuitMessageEndsOnlyTheInnermostLoop) {
    Calls calls;
    RecordingModeless inner(calls, "inner");
    OuterDialog outer(calls, inner);
    MessageScript script;
    script.Do([&] { PostMessageA(outer.Window(), kRunInnerLoop, 0, 0); })
        .WaitFor("the inner window", [&] { return inner.Window() != nullptr; })
        .Do([&] {
            EXPECT_FALSE(IsWindowEnabled(outer.Window()));
            PostQuitMessage(0);
        })
        .WaitFor("the inner loop to end", [&] { return outer.innerReturned; })
        .Do([&] {
            EXPECT_TRUE(outer.innerResult);
            EXPECT_TRUE(outer.aliveAfterInner);
            EXPECT_TRUE(outer.enabledAfterInner);
            EXPECT_EQ(inner.Window(), nullptr);
            outer.EndWindow(2);
        })
        .Rescue([&] {
            if (inner.Window() != nullptr) DestroyWindow(inner.Window());
            if (outer.Window() != nullptr) DestroyWindow(outer.Window());
        });
    script.Start();
    EXPECT_TRUE(RunModelessLoop(outer, kModelessTemplate, nullptr));
    script.Stop();

    EXPECT_TRUE(script.Completed());
    EXPECT_THAT(calls, Contains("inner:OnDestroy"));
    EXPECT_THAT(calls, Not(Contains("inner:EndWindow 2")));
    EXPECT_THAT(calls, Contains("outer:OnDestroy"));
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "the quit message must not be passed on";
}

// ---------------------------------------------------------------------------------------------
// Property sheets and wizards

TEST(PropertyPageTest, RefusedOkAndCancelKeepTheSheetOpenOnThatPage) {
    Calls calls;
    Recording<PropertyPage> first(calls, "p1");
    Recording<PropertyPage> second(calls, "p2");
    PropertySheetPages pages;
    ASSERT_TRUE(pages.Add(first, kPageTemplate));
    ASSERT_TRUE(pages.Add(second, kPageTemplate));
    HWND sheet = nullptr;
    MessageScript script;
    script
        .Do([&] {
            EXPECT_TRUE(first.boundAtInit);
            sheet = GetParent(first.Window());
            first.allowOk = false;
            calls.clear();
            Press(sheet, PSBTN_OK);
            EXPECT_THAT(calls, Contains("p1:OnOk"));
            EXPECT_EQ(CurrentPage(sheet), first.Window());
        })
        .Do([&] {
            EXPECT_TRUE(IsWindowVisible(sheet));
            first.allowCancel = false;
            calls.clear();
            Press(sheet, PSBTN_CANCEL);
            EXPECT_THAT(calls, ElementsAre("p1:OnCancel"));
        })
        .Do([&] {
            EXPECT_TRUE(IsWindowVisible(sheet));
            EXPECT_EQ(CurrentPage(sheet), first.Window());
            // The page's own OK and Cancel commands are left to the sheet.
            calls.clear();
            SendMessageA(first.Window(), WM_COMMAND, IDOK, 0);
            SendMessageA(first.Window(), WM_COMMAND, IDCANCEL, 0);
            EXPECT_TRUE(calls.empty());
            Press(sheet, PSBTN_HELP);
            EXPECT_THAT(calls, ElementsAre("p1:OnHelp"));
        })
        .Do([&] {
            PropSheet_SetCurSel(sheet, nullptr, 1);
            ASSERT_EQ(CurrentPage(sheet), second.Window());
            first.allowOk = true;
            second.allowOk = false;
            calls.clear();
            Press(sheet, PSBTN_OK);
            EXPECT_THAT(calls, Contains("p2:OnOk"));
            EXPECT_EQ(CurrentPage(sheet), second.Window());
        })
        .Do([&] {
            EXPECT_TRUE(IsWindowVisible(sheet));
            second.allowOk = true;
            Press(sheet, PSBTN_OK);
        })
        .Rescue([&] {
            first.allowCancel = second.allowCancel = true;
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        });
    const INT_PTR result = RunSheet(pages, PSH_NOAPPLYNOW, script);

    EXPECT_GT(result, 0);
    EXPECT_THAT(calls, Contains("p1:OnOk"));
    EXPECT_THAT(calls, Contains("p1:OnDestroy"));
    EXPECT_THAT(calls, Contains("p2:OnDestroy"));
    EXPECT_EQ(first.Window(), nullptr);
    EXPECT_EQ(second.Window(), nullptr);
}

TEST(PropertyPageTest, AllowedCancelEndsTheSheetWithoutApplying) {
    Calls calls;
    Recording<PropertyPage> page(calls, "p1");
    PropertySheetPages pages;
    pages.Add(page, kPageTemplate);
    MessageScript script;
    script.Do([&] { Press(GetParent(page.Window()), PSBTN_CANCEL); }).Rescue([&] {
        PostMessageA(GetParent(page.lastWindow), PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    const INT_PTR result = RunSheet(pages, PSH_NOAPPLYNOW, script);

    EXPECT_EQ(result, 0);
    EXPECT_THAT(calls, Contains("p1:OnCancel"));
    EXPECT_THAT(calls, Not(Contains("p1:OnOk")));
}

TEST(PropertySheetPagesTest, HoldsThirtyTwoPagesAndRefusesMore) {
    PropertyPage page[kMaxSheetPages + 1];
    PropertySheetPages pages;
    for (int i = 0; i < kMaxSheetPages; ++i) EXPECT_TRUE(pages.Add(page[i], kPageTemplate));
    EXPECT_FALSE(pages.Add(page[kMaxSheetPages], kPageTemplate));
    EXPECT_EQ(pages.Count(), kMaxSheetPages);

    PROPSHEETHEADERA header = {};
    header.dwFlags = PSH_WIZARD;
    pages.AttachTo(header);
    EXPECT_EQ(header.nPages, static_cast<UINT>(kMaxSheetPages));
    EXPECT_EQ(header.ppsp, pages.Pages());
    EXPECT_EQ(header.dwFlags, static_cast<DWORD>(PSH_WIZARD | PSH_PROPSHEETPAGE));
    const PROPSHEETPAGEA& last = pages.Pages()[kMaxSheetPages - 1];
    EXPECT_EQ(last.lParam,
              reinterpret_cast<LPARAM>(static_cast<DialogBase*>(&page[kMaxSheetPages - 1])));
    EXPECT_EQ(last.pfnDlgProc, &PropertyPage::PageProcedure);
    EXPECT_EQ(last.hInstance, ProgramInstance());
    EXPECT_EQ(last.dwSize, sizeof(PROPSHEETPAGEA));
}

TEST(WizardPageTest, RefusedNextAndFinishKeepThePageBackAlwaysWorksButtonsFollowTheFlags) {
    Calls calls;
    RecordingWizardPage first(calls, "p1", WizardPageFlags{PSWIZB_NEXT});
    RecordingWizardPage second(calls, "p2", WizardPageFlags{PSWIZB_BACK | PSWIZB_FINISH});
    PropertySheetPages pages;
    pages.Add(first, kPageTemplate);
    pages.Add(second, kPageTemplate);
    HWND sheet = nullptr;
    MessageScript script;
    script
        .Do([&] {
            sheet = GetParent(first.Window());
            EXPECT_THAT(WithoutCommands(calls), ElementsAre("p1:OnInit", "p1:UpdateControls",
                                                            "p1:Activate", "p1:UpdateControls"));
            EXPECT_FALSE(ButtonEnabled(sheet, kBackButton));
            EXPECT_TRUE(ButtonEnabled(sheet, kNextButton));
            first.allowOk = false;
            calls.clear();
            Press(sheet, PSBTN_NEXT);
            EXPECT_THAT(WithoutCommands(calls), ElementsAre("p1:OnOk"));
            EXPECT_EQ(CurrentPage(sheet), first.Window());
        })
        .Do([&] {
            first.allowOk = true;
            calls.clear();
            Press(sheet, PSBTN_NEXT);
            EXPECT_EQ(CurrentPage(sheet), second.Window());
            EXPECT_THAT(WithoutCommands(calls),
                        ElementsAre("p1:OnOk", "p1:Deactivate", "p2:OnInit", "p2:UpdateControls",
                                    "p2:Activate", "p2:UpdateControls"));
        })
        .Do([&] {
            EXPECT_TRUE(ButtonEnabled(sheet, kBackButton));
            EXPECT_TRUE(ButtonEnabled(sheet, kFinishButton));
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet, kFinishButton)));
            second.allowOk = false;
            calls.clear();
            Press(sheet, PSBTN_FINISH);
            EXPECT_THAT(WithoutCommands(calls), ElementsAre("p2:OnOk"));
            EXPECT_EQ(CurrentPage(sheet), second.Window());
        })
        .Do([&] {
            EXPECT_TRUE(IsWindowVisible(sheet));
            calls.clear();
            Press(sheet, PSBTN_BACK);
            EXPECT_EQ(CurrentPage(sheet), first.Window());
            EXPECT_THAT(WithoutCommands(calls),
                        ElementsAre("p2:Deactivate", "p1:Activate", "p1:UpdateControls"));
        })
        .Do([&] {
            Press(sheet, PSBTN_NEXT);
            second.allowOk = true;
            Press(sheet, PSBTN_FINISH);
        })
        .Rescue([&] { PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); });
    const INT_PTR result = RunSheet(pages, PSH_WIZARD, script);

    EXPECT_NE(result, 0);
    ExpectUpdateAfterEachCommand(calls);
    EXPECT_THAT(calls, Contains("p1:OnDestroy"));
    EXPECT_THAT(calls, Contains("p2:OnDestroy"));
}

TEST(WizardPageTest, EndWindowPressesTheSheetsCancelButton) {
    Calls calls;
    RecordingWizardPage page(calls, "p1", WizardPageFlags{PSWIZB_NEXT});
    PropertySheetPages pages;
    pages.Add(page, kPageTemplate);
    MessageScript script;
    script.Do([&] { page.EndWindow(2); }).Rescue([&] {
        PostMessageA(GetParent(page.lastWindow), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    const INT_PTR result = RunSheet(pages, PSH_WIZARD, script);

    EXPECT_EQ(result, 0);
    EXPECT_THAT(calls, Contains("p1:OnCancel"));
    EXPECT_THAT(calls, Not(Contains("p1:OnOk")));
}

TEST(TimedWizardPageTest, APageLeftBeforeItsTimerFiresStillGetsItsWorkWithTheStopFlagSet) {
    Calls calls;
    RecordingWizardPage first(calls, "p1", WizardPageFlags{PSWIZB_NEXT});
    RecordingTimedPage timed(calls, "p2", WizardPageFlags{PSWIZB_BACK | PSWIZB_NEXT});
    RecordingWizardPage last(calls, "p3", WizardPageFlags{PSWIZB_BACK | PSWIZB_FINISH});
    PropertySheetPages pages;
    pages.Add(first, kPageTemplate);
    pages.Add(timed, kPageTemplate);
    pages.Add(last, kPageTemplate);
    HWND sheet = nullptr;
    MessageScript script;
    script
        .Do([&] {
            sheet = GetParent(first.Window());
            // Through the timed page and on, with no message taken in between.
            Press(sheet, PSBTN_NEXT);
            EXPECT_EQ(CurrentPage(sheet), timed.Window());
            EXPECT_FALSE(timed.StopRequested());
            Press(sheet, PSBTN_NEXT);
            EXPECT_EQ(CurrentPage(sheet), last.Window());
            EXPECT_TRUE(timed.StopRequested());
            EXPECT_EQ(timed.workRuns, 0);
        })
        .WaitFor("the deferred work", [&] { return timed.workRuns > 0; })
        .Do([&] {
            EXPECT_THAT(calls, Contains("p2:DeferredWork stop=1"));
            EXPECT_FALSE(KillTimer(timed.Window(), kDeferredWorkTimer)) << "timer left running";
            Press(sheet, PSBTN_FINISH);
        })
        .Rescue([&] { PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); });
    RunSheet(pages, PSH_WIZARD, script);

    EXPECT_EQ(timed.workRuns, 1);
}

TEST(TimedWizardPageTest, EachActivationStartsTheWorkOnceWithTheStopFlagClear) {
    Calls calls;
    RecordingTimedPage timed(calls, "p1", WizardPageFlags{PSWIZB_NEXT});
    RecordingWizardPage last(calls, "p2", WizardPageFlags{PSWIZB_BACK | PSWIZB_FINISH});
    PropertySheetPages pages;
    pages.Add(timed, kPageTemplate);
    pages.Add(last, kPageTemplate);
    HWND sheet = nullptr;
    MessageScript script;
    script.WaitFor("the first deferred work", [&] { return timed.workRuns > 0; })
        .Do([&] {
            sheet = GetParent(timed.Window());
            EXPECT_EQ(CurrentPage(sheet), timed.Window());
            EXPECT_FALSE(KillTimer(timed.Window(), kDeferredWorkTimer)) << "timer left running";
            Press(sheet, PSBTN_NEXT);
            Press(sheet, PSBTN_BACK);
            EXPECT_FALSE(timed.StopRequested());
        })
        .WaitFor("the second deferred work", [&] { return timed.workRuns > 1; })
        .Do([&] { Press(sheet, PSBTN_CANCEL); })
        .Rescue(
            [&] { PostMessageA(GetParent(timed.lastWindow), PSM_PRESSBUTTON, PSBTN_CANCEL, 0); });
    RunSheet(pages, PSH_WIZARD, script);

    EXPECT_EQ(timed.workRuns, 2);
    EXPECT_EQ(CountOf(calls, "p1:DeferredWork stop=0"), 2);
}

// ---------------------------------------------------------------------------------------------
// Timers of objects

class TickCounter : public TimedObject {
  public:
    explicit TickCounter(int ticksWanted) : ticksWanted_(ticksWanted) {}
    UINT OnObjectTimer(HWND window) override {
        ++ticks;
        lastWindow = window;
        return ticks < ticksWanted_ ? 1 : 0;
    }
    int ticks = 0;
    HWND lastWindow = nullptr;

  private:
    int ticksWanted_;
};

TEST(ObjectTimerTest, EachObjectKeepsItsOwnTimerUntilItAsksToStop) {
    OwnerWindow window;
    TickCounter three(3);
    TickCounter five(5);
    ASSERT_TRUE(StartObjectTimer(window.Get(), three, 1));
    ASSERT_TRUE(StartObjectTimer(window.Get(), five, 1));
    ASSERT_TRUE(PumpUntil([&] { return three.ticks >= 3 && five.ticks >= 5; }))
        << "ticks: " << three.ticks << ", " << five.ticks;
    EXPECT_EQ(three.lastWindow, window.Get());
    // Both timers ended themselves: nothing is left to kill.
    EXPECT_FALSE(KillTimer(window.Get(), reinterpret_cast<UINT_PTR>(&three)));
    EXPECT_FALSE(KillTimer(window.Get(), reinterpret_cast<UINT_PTR>(&five)));
    EXPECT_EQ(three.ticks, 3);
    EXPECT_EQ(five.ticks, 5);
}

TEST(ObjectTimerTest, StopRemovesTheTimer) {
    OwnerWindow window;
    TickCounter counter(100);
    ASSERT_TRUE(StartObjectTimer(window.Get(), counter, 60000));
    StopObjectTimer(window.Get(), counter);
    EXPECT_FALSE(KillTimer(window.Get(), reinterpret_cast<UINT_PTR>(&counter)));
    EXPECT_FALSE(StartObjectTimer(nullptr, counter, 10));
}

}  // namespace
