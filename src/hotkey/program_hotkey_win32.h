// The program's global hot key (id 0 on the main window). Remembers what it registered, so
// that it can be taken off while the user chooses a new key and put back as it was.
#pragma once

#include <windows.h>

#include "hotkey/hotkey_code.h"

class ProgramHotKey {
  public:
    ProgramHotKey() = default;
    ProgramHotKey(const ProgramHotKey&) = delete;
    ProgramHotKey& operator=(const ProgramHotKey&) = delete;

    // Registers `code` on window. A key taken by another program is not registered, and
    // nothing is reported.
    void Register(HWND window, HotKeyCode code);
    void Unregister();
    bool Registered() const { return registered_; }

    // While a key is being chosen, the registered key must reach the chooser as a key press,
    // not as the hot key: Suspend takes it off, Resume registers the same key again.
    void Suspend();
    void Resume();

  private:
    HWND window_ = nullptr;
    HotKeyCode code_ = 0;
    bool registered_ = false;
    bool suspended_ = false;
};

// Suspends the hot key (if any) for the life of the object.
class HotKeySuspension {
  public:
    explicit HotKeySuspension(ProgramHotKey* hotKey) : hotKey_(hotKey) {
        if (hotKey_ != nullptr) hotKey_->Suspend();
    }
    ~HotKeySuspension() {
        if (hotKey_ != nullptr) hotKey_->Resume();
    }
    HotKeySuspension(const HotKeySuspension&) = delete;
    HotKeySuspension& operator=(const HotKeySuspension&) = delete;

  private:
    ProgramHotKey* hotKey_;
};
