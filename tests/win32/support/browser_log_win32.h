// Reads the log in which the test prefix's stand-in browser (scripts/record-browser.sh)
// records each address it is given; the file is named by QM_BROWSER_LOG.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

class BrowserLog {
  public:
    // The browser is started asynchronously; addresses are waited for at most this long.
    static constexpr DWORD kLimitMs = 30000;

    BrowserLog() {
        const char* unixPath = std::getenv("QM_BROWSER_LOG");
        if (unixPath == nullptr) return;
        // Wine maps the Unix root to drive Z:.
        path_ = std::string("Z:") + unixPath;
        for (char& c : path_) {
            if (c == '/') c = '\\';
        }
    }

    bool Available() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }

    int Count(const std::string& address) const {
        int count = 0;
        for (const std::string& line : Lines()) {
            if (line == address) ++count;
        }
        return count;
    }

    // Waits, with a bound, until the address appears more often than countBefore.
    bool WaitForMore(const std::string& address, int countBefore) const {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < kLimitMs) {
            if (Count(address) > countBefore) return true;
            Sleep(50);
        }
        return false;
    }

  private:
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return lines;
        std::string content;
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) {
            content.append(chunk, read);
        }
        CloseHandle(file);
        std::string line;
        for (char c : content) {
            if (c == '\n') {
                lines.push_back(line);
                line.clear();
            } else if (c != '\r') {
                line += c;
            }
        }
        return lines;
    }

    std::string path_;
};
