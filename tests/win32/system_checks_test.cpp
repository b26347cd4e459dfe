// The system checks under Wine: the per-user data folder, the quiet-install switch, the
// version gate and the opening of the maker's web pages.
#include "settings/site_pages_win32.h"
#include "settings/system_checks_win32.h"

#include <shlwapi.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/maker_hosts.h"
#include "settings/system_checks.h"
#include "win32/support/browser_log_win32.h"
#include "win32/support/dialog_dismisser_win32.h"
#include "win32/support/saved_registry_value_win32.h"
#include "win32/support/shell_folders_win32.h"

namespace {

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string SitePageAddress(const std::string& page) {
    return std::string("http://") + kMakerWebHost + "/" + page + ".html";
}

class UserDataFolderTest : public testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
        base_ = std::string(temp) + "qm-user-data-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(base_.c_str(), nullptr)) << base_;
    }

    void TearDown() override {
        RemoveDirectoryA((base_ + "\\Kestrovan\\Quillmet").c_str());
        RemoveDirectoryA((base_ + "\\Kestrovan").c_str());
        RemoveDirectoryA(base_.c_str());
    }

    void SetAppData(const std::string& folder) {
        ASSERT_TRUE(SetShellFolder(HKEY_CURRENT_USER, "AppData", folder));
    }

    std::string base_;

  private:
    SavedRegistryValue appData_{HKEY_CURRENT_USER, kShellFolders, "AppData"};
};

TEST_F(UserDataFolderTest, CreatesBothFoldersOnceUnderAppData) {
    SetAppData(base_);
    const std::string expected = base_ + "\\Kestrovan\\Quillmet";

    char folder[kPathSize];
    EXPECT_TRUE(UserDataFolder(folder));
    EXPECT_EQ(std::string(folder), expected);
    EXPECT_TRUE(IsFolder(base_ + "\\Kestrovan"));
    EXPECT_TRUE(IsFolder(expected));

    // Already there: the path is the same, but nothing was created.
    std::memset(folder, 'x', sizeof folder);
    EXPECT_FALSE(UserDataFolder(folder));
    EXPECT_EQ(std::string(folder), expected);
}

TEST_F(UserDataFolderTest, AppDataEndingInASeparatorGetsNoSecondOne) {
    SetAppData(base_ + "\\");
    ASSERT_TRUE(CreateDirectoryA((base_ + "\\Kestrovan").c_str(), nullptr));
    char folder[kPathSize];
    EXPECT_TRUE(UserDataFolder(folder));
    EXPECT_EQ(std::string(folder), base_ + "\\Kestrovan\\Quillmet");
    EXPECT_TRUE(IsFolder(folder));
}

TEST_F(UserDataFolderTest, MissingAppDataFolderReportsFailure) {
    const std::string missing = base_ + "\\missing";
    SetAppData(missing);
    char folder[kPathSize];
    EXPECT_FALSE(UserDataFolder(folder));
    EXPECT_EQ(std::string(folder), missing + "\\Kestrovan\\Quillmet");
    EXPECT_FALSE(IsFolder(missing));
}

// Puts "LQUIET" back as it was.
class QuietInstallTest : public testing::Test {
  protected:
    void SetUp() override {
        char value[1024] = {};
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableA("LQUIET", value, sizeof value);
        wasSet_ = length > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
        saved_ = value;
    }
    void TearDown() override {
        SetEnvironmentVariableA("LQUIET", wasSet_ ? saved_.c_str() : nullptr);
    }

    static bool IsInEnvironmentBlock(const std::string& entry) {
        char* block = GetEnvironmentStringsA();
        bool found = false;
        for (const char* p = block; p != nullptr && *p != '\0'; p += std::strlen(p) + 1) {
            if (lstrcmpiA(p, entry.c_str()) == 0) found = true;
        }
        FreeEnvironmentStringsA(block);
        return found;
    }

  private:
    bool wasSet_ = false;
    std::string saved_;
};

TEST_F(QuietInstallTest, OnlyANonEmptyValueCountsEvenOneLongerThanTheBuffer) {
    const std::string longValue(600, 'q');
    const struct {
        const char* value;  // nullptr: not set
        bool quiet;
    } cases[] = {
        {nullptr, false}, {"", false}, {"1", true}, {"0", true}, {longValue.c_str(), true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value == nullptr ? "unset" : '"' + std::string(c.value) + '"');
        ASSERT_TRUE(SetEnvironmentVariableA("LQUIET", c.value));
        if (c.value != nullptr && *c.value == '\0') {
            ASSERT_TRUE(IsInEnvironmentBlock("LQUIET="));  // set, but to nothing
        }
        EXPECT_EQ(IsQuietInstall(), c.quiet);
    }
}

TEST(SitePage, OpensTheAddressInTheBrowser) {
    BrowserLog log;
    ASSERT_TRUE(log.Available()) << "QM_BROWSER_LOG is not set";
    const std::string address = SitePageAddress("counter/faq");
    const int before = log.Count(address);
    OpenSitePage("counter/faq");
    EXPECT_TRUE(log.WaitForMore(address, before))
        << address << " was not opened within " << BrowserLog::kLimitMs << " ms (log " << log.Path()
        << ")";
}

TEST(VersionGate, PrefixReportsWindowsXpAndPasses) {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_EQ(sizeof info, 148u);
    ASSERT_TRUE(GetVersionExA(&info));
    ASSERT_EQ(info.dwMajorVersion, 5u) << "the test prefix should report Windows XP";
    ASSERT_EQ(info.dwMinorVersion, 1u) << "the test prefix should report Windows XP";

    EXPECT_TRUE(IsWindows2000OrLater());
    DialogDismisser dismisser(kVersionGateCaption);
    EXPECT_TRUE(CheckWindowsVersion());
    dismisser.Finish();
    EXPECT_FALSE(dismisser.Found()) << "the gate showed its message on Windows XP";
}

TEST(VersionGate, VistaPassesQuietly) {
    DialogDismisser dismisser(kVersionGateCaption);
    EXPECT_TRUE(ApplyVersionGate(6, 0));
    EXPECT_TRUE(ApplyVersionGate(5, 2));
    dismisser.Finish();
    EXPECT_FALSE(dismisser.Found());
}

TEST(VersionGate, LaterWindowsGetsTheMessageAndThePage) {
    BrowserLog log;
    ASSERT_TRUE(log.Available()) << "QM_BROWSER_LOG is not set";
    const std::string address = SitePageAddress("kb/10015");
    char expectedText[kVersionGateMessageSize];
    FormVersionGateMessage(expectedText);

    const DWORD versions[][2] = {{6, 1}, {7, 0}};
    for (const auto& version : versions) {
        SCOPED_TRACE(testing::Message() << version[0] << "." << version[1]);
        const int before = log.Count(address);
        DialogDismisser dismisser("Updated Version Required");
        EXPECT_FALSE(ApplyVersionGate(version[0], version[1]));
        dismisser.Finish();
        ASSERT_TRUE(dismisser.Found()) << "no \"Updated Version Required\" message box";
        EXPECT_EQ(dismisser.Text(), std::string(expectedText));
        EXPECT_EQ(dismisser.Owner(), nullptr);
        EXPECT_EQ(dismisser.Icon(), LoadIconA(nullptr, IDI_HAND));
        EXPECT_TRUE(log.WaitForMore(address, before))
            << address << " was not opened within " << BrowserLog::kLimitMs << " ms";
    }
}

// Run only as the child of the next test, in a process that Wine tells it is Windows 7.
TEST(VersionGateInChild, DISABLED_ReadsTheRealVersion) {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    ASSERT_EQ(info.dwMajorVersion, 6u);
    ASSERT_EQ(info.dwMinorVersion, 1u);
    EXPECT_TRUE(IsWindows2000OrLater());
    EXPECT_FALSE(CheckWindowsVersion());
}

// Wine's per-program setting of the Windows version its programs are told, for a child
// started from this program's file; removed again afterwards.
class ReportedVersionForThisProgram {
  public:
    explicit ReportedVersionForThisProgram(const char* version) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof path - 1);
        const char* name = path;
        for (const char* p = path; *p != '\0'; ++p) {
            if (*p == '\\' || *p == '/') name = p + 1;
        }
        key_ = std::string("Software\\Wine\\AppDefaults\\") + name;
        set_ = SetRawValue(HKEY_CURRENT_USER, key_.c_str(), "Version", REG_SZ, version,
                           static_cast<DWORD>(std::strlen(version) + 1));
    }
    ~ReportedVersionForThisProgram() { SHDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }

    bool IsSet() const { return set_; }

  private:
    std::string key_;
    bool set_ = false;
};

TEST(VersionGate, ProgramToldItRunsOnWindows7StopsWithTheMessage) {
    BrowserLog log;
    ASSERT_TRUE(log.Available()) << "QM_BROWSER_LOG is not set";
    const std::string address = SitePageAddress("kb/10015");
    const int before = log.Count(address);
    char expectedText[kVersionGateMessageSize];
    FormVersionGateMessage(expectedText);

    ReportedVersionForThisProgram windows7("win7");
    ASSERT_TRUE(windows7.IsSet());
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program - 1);
    std::string commandLine = std::string("\"") + program +
                              "\" --gtest_also_run_disabled_tests"
                              " --gtest_filter=VersionGateInChild.DISABLED_ReadsTheRealVersion";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    DialogDismisser dismisser("Updated Version Required");
    ASSERT_TRUE(CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &child));
    const DWORD waited = WaitForSingleObject(child.hProcess, 2 * BrowserLog::kLimitMs);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(child.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    dismisser.Finish();

    ASSERT_EQ(waited, WAIT_OBJECT_0)
        << "the child did not end within " << 2 * BrowserLog::kLimitMs << " ms";
    EXPECT_EQ(exitCode, 0u) << "the child's checks failed (see its output above)";
    ASSERT_TRUE(dismisser.Found()) << "no \"Updated Version Required\" message box";
    EXPECT_EQ(dismisser.Text(), std::string(expectedText));
    EXPECT_EQ(dismisser.Owner(), nullptr);
    EXPECT_TRUE(log.WaitForMore(address, before))
        << address << " was not opened within " << BrowserLog::kLimitMs << " ms";
}

}  // namespace
