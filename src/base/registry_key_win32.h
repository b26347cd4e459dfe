// An open registry key, closed when its holder goes.
#pragma once

#include <windows.h>

class RegistryKey {
  public:
    // Opens (or, with create, creates) path under root with the access asked for; Valid()
    // tells whether that worked and Status() what the system answered.
    RegistryKey(HKEY root, const char* path, REGSAM access, bool create = false) {
        char emptyClass[] = "";
        status_ = create ? RegCreateKeyExA(root, path, 0, emptyClass, REG_OPTION_NON_VOLATILE,
                                           access, nullptr, &key_, nullptr)
                         : RegOpenKeyExA(root, path, 0, access, &key_);
        if (status_ != ERROR_SUCCESS) key_ = nullptr;
    }
    ~RegistryKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY Get() const { return key_; }
    bool Valid() const { return key_ != nullptr; }
    LONG Status() const { return status_; }

  private:
    HKEY key_ = nullptr;
    LONG status_;
};
