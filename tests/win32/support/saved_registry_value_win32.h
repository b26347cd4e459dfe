// Keeps a registry value as it was before a test and puts it back afterwards: tests that
// change machine or shell settings of the Wine prefix leave them as they found them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class SavedRegistryValue {
  public:
    SavedRegistryValue(HKEY root, const char* keyPath, const char* valueName)
        : root_(root), keyPath_(keyPath), valueName_(valueName) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root_, keyPath_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
            return;
        }
        DWORD size = 0;
        if (RegQueryValueExA(key, valueName_.c_str(), nullptr, &type_, nullptr, &size) ==
            ERROR_SUCCESS) {
            data_.resize(size);
            existed_ = RegQueryValueExA(key, valueName_.c_str(), nullptr, &type_,
                                        size != 0 ? data_.data() : nullptr, &size) == ERROR_SUCCESS;
            data_.resize(size);
        }
        RegCloseKey(key);
    }

    ~SavedRegistryValue() {
        HKEY key = nullptr;
        if (existed_) {
            if (RegCreateKeyExA(root_, keyPath_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
                RegSetValueExA(key, valueName_.c_str(), 0, type_, data_.data(),
                               static_cast<DWORD>(data_.size()));
                RegCloseKey(key);
            }
        } else if (RegOpenKeyExA(root_, keyPath_.c_str(), 0, KEY_SET_VALUE, &key) ==
                   ERROR_SUCCESS) {
            RegDeleteValueA(key, valueName_.c_str());
            RegCloseKey(key);
        }
    }

    SavedRegistryValue(const SavedRegistryValue&) = delete;
    SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

  private:
    HKEY root_;
    std::string keyPath_;
    std::string valueName_;
    bool existed_ = false;
    DWORD type_ = REG_NONE;
    std::vector<BYTE> data_;
};

// Raw registry access for the tests: values of any type, deletion, presence.
inline bool SetRawValue(HKEY root, const char* keyPath, const char* valueName, DWORD type,
                        const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG status =
        RegSetValueExA(key, valueName, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

inline void DeleteRawValue(HKEY root, const char* keyPath, const char* valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, valueName);
        RegCloseKey(key);
    }
}

inline bool KeyExists(HKEY root, const char* keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The type and bytes of a value as stored; false when it cannot be read.
inline bool QueryRawValue(HKEY root, const char* keyPath, const char* valueName, DWORD& type,
                          std::vector<BYTE>& data) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        data.resize(size);
        status = RegQueryValueExA(key, valueName, nullptr, &type, size != 0 ? data.data() : nullptr,
                                  &size);
        data.resize(size);
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}
