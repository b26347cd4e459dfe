// The real set-up file in a prefix of its own: a quiet install and its footprint, the wizard,
// damaged set-up files, files in use, installs over a good installation, and removal.
#include <windows.h>
#include <aclapi.h>
#include <commctrl.h>
#include <sddl.h>
#include <objbase.h>
#include <prsht.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "setup/install_payload.h"
#include "support/running_program.h"

namespace e2e {
namespace {

constexpr DWORD kBoundMs = 30000;
const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmet";
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kCorruptText[] =
    "Installation file corrupt.\n\nA checksum error was detected in your install file, please "
    "redownload file and install again.";
// Wizard buttons of a property sheet.
constexpr int kBack = 12323, kNext = 12324, kFinish = 12325;

std::string Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string RegistryText(HKEY root, const char* key, const char* name) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (SHGetValueA(root, key, name, nullptr, data, &size) != ERROR_SUCCESS) return "<none>";
    return data;
}

std::string Join(const std::string& folder, const char* name) { return folder + "\\" + name; }

std::string ProgramFolder() {
    return Join(RegistryText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                             "ProgramFilesDir"),
                "Kestrovan\\Quillmet");
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Where a shell link points.
std::string LinkTarget(const std::string& link) {
    std::string target;
    CoInitialize(nullptr);
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(
                shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH - 1);
            char path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(wide, STGM_READ)) &&
                SUCCEEDED(shellLink->GetPath(path, sizeof path, nullptr, 0))) {
                target = path;
            }
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
    return target;
}

// Every file directly in a folder, by name, with its bytes.
std::map<std::string, std::string> FolderFiles(const std::string& folder) {
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Join(folder, "*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            files[found.cFileName] = Bytes(Join(folder, found.cFileName));
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return files;
}

// Whether the folder's access list is its own (protected) or has an entry of its own that lets
// Everyone or Users write. Wine shows a file's Unix mode as such entries, so its write bits count.
bool AllUsersMayWrite(const std::string& folder) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return true;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    bool may = (control & SE_DACL_PROTECTED) != 0;
    BYTE everyone[SECURITY_MAX_SID_SIZE], users[SECURITY_MAX_SID_SIZE];
    DWORD size[2] = {sizeof everyone, sizeof users};
    CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size[0]);
    CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size[1]);
    const ACCESS_MASK writes = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD | DELETE |
                               WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
    ACCESS_ALLOWED_ACE* ace = nullptr;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == 0 &&
            (ace->Header.AceFlags & INHERITED_ACE) == 0 && (ace->Mask & writes) != 0 &&
            (EqualSid(&ace->SidStart, everyone) || EqualSid(&ace->SidStart, users)))
            may = true;
    }
    LocalFree(descriptor);
    return may;
}

// The running program's main window: the unowned "Quillmet" dialog with a menu bar.
HWND MainWindow() {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, MAKEINTATOM(0x8002), "Quillmet")) != nullptr) {
        if (GetWindow(window, GW_OWNER) == nullptr && GetMenu(window) != nullptr) return window;
    }
    return nullptr;
}

bool CloseProgram() {
    HWND window = MainWindow();
    if (window == nullptr) return true;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    PostMessageA(window, kCloseRequest, 0, 0);
    const bool ended =
        process == nullptr || WaitForSingleObject(process, kBoundMs) == WAIT_OBJECT_0;
    if (process != nullptr) CloseHandle(process);
    return ended;
}

class SetupTest : public testing::Test {
  protected:
    void SetUp() override {
        CloseProgram();
        setup_ = SetupProgramPath();
        folder_ = ProgramFolder();
        exe_ = Join(folder_, "quillmet.exe");
        uninstaller_ = Join(folder_, "uninst.exe");
        ForgetOpenedPages();
    }
    void TearDown() override { EXPECT_TRUE(CloseProgram()); }

    // Starts a set-up file, quietly (LQUIET, or the argument an elevated start gets) or with
    // the whole wizard.
    bool StartSetup(Process& process, const std::string& file, bool quiet,
                    bool quietByArgument = false) {
        if (quiet && !quietByArgument) SetEnvironmentVariableA("LQUIET", "1");
        const bool started =
            process.Start(file, "\"" + file + "\"" + (quietByArgument ? " -quiet" : ""));
        SetEnvironmentVariableA("LQUIET", nullptr);
        return started;
    }
    // A quiet install that must succeed: the installed program comes up.
    void InstallQuietly() {
        Process setup;
        ASSERT_TRUE(StartSetup(setup, setup_, true));
        ASSERT_TRUE(setup.WaitForExit(kBoundMs)) << "the quiet set-up did not end";
        ASSERT_TRUE(WaitFor([] { return MainWindow() != nullptr; }, kBoundMs))
            << "the installed program did not start";
    }
    // A set-up that must fail with an "Install Error" message starting with text.
    void ExpectInstallError(const std::string& file, const std::string& text) {
        Process setup;
        ASSERT_TRUE(StartSetup(setup, file, true));
        HWND box = WaitForDialog("Install Error", setup.Id(), kBoundMs);
        ASSERT_NE(box, nullptr) << file;
        EXPECT_EQ(MessageBoxText(box).substr(0, text.size()), text) << file;
        PressButton(box, IDOK);
        EXPECT_TRUE(setup.WaitForExit(kBoundMs));
        EXPECT_EQ(MainWindow(), nullptr) << "a program was started after a failed set-up";
    }

    std::string setup_, folder_, exe_, uninstaller_;
};

TEST_F(SetupTest, AQuietInstallLeavesTheWholeFootprint) {
    InstallQuietly();
    const std::string image = Bytes(setup_);
    ASSERT_GT(image.size(), kTrailerLength);
    std::uint32_t sizes[kPayloadEntryCount];
    std::memcpy(sizes, image.data() + image.size() - kTrailerLength, sizeof sizes);
    const std::string program = Bytes(exe_);
    const std::string uninstaller = Bytes(uninstaller_);
    ASSERT_EQ(program.size(), sizes[0] + 4u);
    EXPECT_EQ(program.substr(0, sizes[0]), image.substr(0, sizes[0]));
    EXPECT_EQ(program.substr(sizes[0]), std::string(4, '\0'));
    ASSERT_EQ(uninstaller.size(), sizes[0] + 4u);
    EXPECT_EQ(uninstaller.substr(sizes[0]), "\x0F\x0F\xF0\xF0");
    EXPECT_EQ(Bytes(Join(folder_, "app.hlp")), image.substr(sizes[0], sizes[1]));
    EXPECT_EQ(Bytes(Join(folder_, "manual.html")), image.substr(sizes[0] + sizes[1], sizes[2]));

    const std::string programs =
        Join(RegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs"), "Quillmet");
    const std::string desktop = RegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common Desktop");
    EXPECT_EQ(LinkTarget(Join(programs, "Quillmet.lnk")), exe_);
    // Before Vista the help shortcut opens the WinHelp file.
    EXPECT_EQ(LinkTarget(Join(programs, "Quillmet Help.lnk")), Join(folder_, "app.hlp"));
    EXPECT_EQ(LinkTarget(Join(desktop, "Quillmet.lnk")), exe_);
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Quillmet Uninstall");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"),
              "\"" + uninstaller_ + "\"");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kRunKey, "QuillmetRun"), "\"" + exe_ + "\" -logon");
}

TEST_F(SetupTest, TheWizardAsksForTheTermsAndOffersRelatedProgramsThatCannotBeFetched) {
    CloseProgram();
    DeleteFileA(exe_.c_str());
    Process setup;
    ASSERT_TRUE(StartSetup(setup, setup_, false));
    HWND sheet = WaitForDialog("Quillmet", setup.Id(), kBoundMs);
    ASSERT_NE(sheet, nullptr);
    HWND page = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (page = PropSheet_GetCurrentPageHwnd(sheet)) != nullptr; }, kBoundMs));
    const auto enabled = [&](int id) {
        HWND button = GetDlgItem(sheet, id);
        return IsWindowVisible(button) && IsWindowEnabled(button);
    };
    EXPECT_TRUE(
        WaitFor([&] { return !enabled(kBack) && !enabled(kNext) && !enabled(kFinish); }, kBoundMs));
    SendDlgItemMessageA(page, 101, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return enabled(kNext); }, kBoundMs));
    SendDlgItemMessageA(page, 102, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return enabled(kFinish) && ControlText(sheet, kFinish) == "Close"; },
                        kBoundMs));

    // Cancel asks first; the question's Cancel keeps the wizard.
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    HWND question = WaitForDialog("Exit Setup", setup.Id(), kBoundMs);
    ASSERT_NE(question, nullptr);
    PressButton(question, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(question); }, kBoundMs));
    EXPECT_TRUE(IsWindow(sheet));

    // "Close" after "I do not agree": no question, nothing installed, nothing started.
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
    EXPECT_TRUE(setup.WaitForExit(kBoundMs));
    EXPECT_FALSE(Exists(exe_));
    EXPECT_TRUE(Exists(folder_));
    EXPECT_EQ(MainWindow(), nullptr);

    // Agreed: it installs and shows the related programs; the two recommended ones are
    // checked, and neither host can be reached.
    Process second;
    ASSERT_TRUE(StartSetup(second, setup_, false));
    sheet = WaitForDialog("Quillmet", second.Id(), kBoundMs);
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(
        WaitFor([&] { return (page = PropSheet_GetCurrentPageHwnd(sheet)) != nullptr; }, kBoundMs));
    SendDlgItemMessageA(page, 101, BM_CLICK, 0, 0);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
    HWND list = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            page = PropSheet_GetCurrentPageHwnd(sheet);
            char name[32] = {};
            list = GetDlgItem(page, 101);
            GetClassNameA(list, name, sizeof name);
            return lstrcmpA(name, WC_LISTVIEWA) == 0;
        },
        kBoundMs))
        << "the related programs were not offered";
    EXPECT_TRUE(Exists(exe_));
    EXPECT_TRUE(WaitFor([&] { return enabled(kNext); }, kBoundMs));
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
    HWND failure = WaitForDialog("Error", second.Id(), kBoundMs);
    ASSERT_NE(failure, nullptr) << "no message for the failed downloads";
    EXPECT_EQ(MessageBoxText(failure).rfind("Automatic download of the install-on-demand", 0), 0u);
    PressButton(failure, IDOK);
    EXPECT_TRUE(second.WaitForExit(kBoundMs));
    EXPECT_EQ(WaitForDialog("Error", second.Id(), 0), nullptr) << "more than one message";
    EXPECT_TRUE(WaitFor([] { return MainWindow() != nullptr; }, kBoundMs))
        << "the installed program did not start";
    // One page for the first product that failed.
    EXPECT_TRUE(WaitFor([] { return !OpenedPages().empty(); }, kBoundMs));
    const std::string pages = OpenedPages();
    EXPECT_EQ(std::count(pages.begin(), pages.end(), '\n'), 1) << pages;
    EXPECT_NE(pages.find("/tapewell/index"), std::string::npos) << pages;
}

TEST_F(SetupTest, DamagedSetUpFilesAndFilesInUseLeaveTheInstallationAsItWas) {
    InstallQuietly();
    ASSERT_TRUE(CloseProgram());
    const std::string installed = Bytes(exe_);
    const std::string good = Bytes(setup_);
    const std::size_t tail = good.size() - kTrailerLength;
    std::int32_t sizes[kPayloadEntryCount];
    std::memcpy(sizes, good.data() + tail, sizeof sizes);

    const auto withSize = [&](int entry, std::int32_t size) {
        std::string bytes = good;
        std::memcpy(&bytes[tail + 4 * entry], &size, 4);
        return bytes;
    };
    std::string flipped = good;
    flipped[good.find("This program")] ^= 0x01;  // DOS stub text: never executed
    std::string helpRemoved =
        good.substr(0, static_cast<std::size_t>(sizes[0])) + good.substr(tail);
    const std::string damaged[] = {
        flipped,         withSize(1, sizes[1] + 1), withSize(0, 0x7FFFFFFF),
        withSize(1, -5), withSize(2, sizes[2] - 1), helpRemoved};
    const std::string folder = MakeScratchFolder("damaged-setup");
    for (const std::string& bytes : damaged) {
        const std::string file = Join(folder, "Quillmet-Setup.exe");
        WriteBytes(file, bytes);
        ExpectInstallError(file, kCorruptText);
        EXPECT_EQ(Bytes(exe_), installed) << "a damaged set-up file changed the installation";
    }

    // Files held open by another program, without sharing.
    const struct {
        std::string path;
        std::string text;
    } held[] = {
        {exe_,
         "Please check you have exited any previous running instances of Quillmet and any "
         "other programs that might be using the file \"" +
             exe_ + "\"."},
        {uninstaller_, "Installation cannot be completed because the file \"" + uninstaller_ +
                           "\" cannot be written to."},
    };
    for (const auto& row : held) {
        HANDLE file = CreateFileA(row.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << row.path;
        ExpectInstallError(setup_, row.text);
        CloseHandle(file);
    }

    // A set-up started while the program runs closes it and installs.
    InstallQuietly();
    const HWND first = MainWindow();
    InstallQuietly();
    EXPECT_NE(MainWindow(), first);
}

// The set-up file with its last entry made large, so that copying it takes a while.
std::string WithLargeLastEntry(const std::string& setup, std::int32_t size) {
    const std::size_t tail = setup.size() - kTrailerLength;
    unsigned char bytes[kTrailerLength];
    std::memcpy(bytes, setup.data() + tail, kTrailerLength);
    InstallTrailer trailer = ParseInstallTrailer(bytes);
    std::string data = setup.substr(0, tail - trailer.sizes[kPayloadEntryCount - 1]);
    data.append(trailer.sizes[kPayloadEntryCount - 1] = size, 'q');
    trailer.checksum =
        AddToChecksum(0, reinterpret_cast<const unsigned char*>(&data[0]), data.size());
    return data + FormatInstallTrailer(trailer);
}

TEST_F(SetupTest, InstallingOverAGoodInstallationReplacesItWholeOrNotAtAll) {
    const std::string manual = Join(folder_, "manual.html");
    const std::string large = Join(MakeScratchFolder("large-setup"), "Quillmet-Setup.exe");
    WriteBytes(large, WithLargeLastEntry(Bytes(setup_), 48 << 20));
    PSECURITY_DESCRIPTOR openToAll = nullptr;  // as older installations left the folder
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;OICI;FA;;;WD)", 1,
                                                                     &openToAll, nullptr));
    const struct {
        const char* what;
        std::string file;
        std::function<void()> arrange;
        const char* error;  // the start of the "Install Error" message; none: cancelled
        bool installs;      // started quietly by argument, as an elevated set-up is
    } rows[] = {
        {"cancelled while copying", large, [] {}, nullptr, false},
        {"a target that cannot be written", setup_,
         [&] { DeleteFileA(manual.c_str()), CreateDirectoryA(manual.c_str(), nullptr); },
         "Installation cannot be completed because the file \"", false},
        {"over a folder open to all", setup_,
         [&] {
             SetFileSecurityA(folder_.c_str(), DACL_SECURITY_INFORMATION, openToAll);
             EXPECT_TRUE(AllUsersMayWrite(folder_));
         },
         nullptr, true},
    };
    for (const auto& row : rows) {
        RemoveDirectoryA(manual.c_str());
        InstallQuietly();
        ASSERT_TRUE(CloseProgram());
        row.arrange();
        const auto before = FolderFiles(folder_);
        Process setup;
        ASSERT_TRUE(StartSetup(setup, row.file, true, row.installs)) << row.what;
        HWND window = WaitForDialog(row.error ? "Install Error" : "Quillmet", setup.Id(), kBoundMs);
        if (row.error != nullptr) {
            EXPECT_EQ(MessageBoxText(window).rfind(row.error, 0), 0u) << MessageBoxText(window);
            PressButton(window, IDOK);
        } else if (!row.installs) {
            EXPECT_TRUE(WaitFor(
                [&] {
                    return ControlText(PropSheet_GetCurrentPageHwnd(window), 101) == "manual.html";
                },
                kBoundMs));
            PostMessageA(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        }
        EXPECT_TRUE(setup.WaitForExit(kBoundMs)) << row.what;
        EXPECT_EQ(WaitFor([] { return MainWindow() != nullptr; }, row.installs ? kBoundMs : 0),
                  row.installs)
            << row.what;
        EXPECT_TRUE(row.installs || FolderFiles(folder_) == before) << row.what << ": changed";
    }
    EXPECT_FALSE(AllUsersMayWrite(folder_));
    LocalFree(openToAll);
}

TEST_F(SetupTest, RemovalAsksThenRemovesOnlyTheInstallation) {
    InstallQuietly();
    ASSERT_TRUE(CloseProgram());
    const std::string userFile = Join(folder_, "jobs.tsv");
    WriteBytes(userFile, "Job\tTotal\r\n");
    ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, "Software\\Kestrovan\\Tapewell\\Settings", "Run",
                          REG_SZ, "1", 2),
              ERROR_SUCCESS);

    // Started as Windows starts "UninstallString": the command line as it stands, and the
    // unquoted path, blanks and all, as older installations stored it.
    const std::string stored = RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
    for (const int answer : {IDNO, IDYES}) {
        Process uninstall;
        ASSERT_TRUE(answer == IDNO ? uninstall.Start("", stored)
                                   : uninstall.Start(uninstaller_, uninstaller_));
        HWND question = WaitForDialog("Uninstall Quillmet", 0, kBoundMs);
        ASSERT_NE(question, nullptr);
        EXPECT_TRUE(uninstall.WaitForExit(kBoundMs)) << "the installed uninstaller still runs";
        DWORD copyId = 0;
        GetWindowThreadProcessId(question, &copyId);
        HANDLE copy = OpenProcess(SYNCHRONIZE, FALSE, copyId);
        PressButton(question, answer);
        if (copy != nullptr) {
            EXPECT_EQ(WaitForSingleObject(copy, kBoundMs), WAIT_OBJECT_0);
            CloseHandle(copy);
        }
        if (answer == IDNO) {
            EXPECT_TRUE(Exists(exe_));
            EXPECT_TRUE(Exists(uninstaller_));
        }
    }
    for (const char* name : {"quillmet.exe", "uninst.exe", "app.hlp", "manual.html"}) {
        EXPECT_FALSE(Exists(Join(folder_, name))) << name;
    }
    EXPECT_TRUE(Exists(userFile));
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), "<none>");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kRunKey, "QuillmetRun"), "<none>");
    const std::string desktop = RegistryText(HKEY_LOCAL_MACHINE, kShellFolders, "Common Desktop");
    EXPECT_FALSE(Exists(Join(desktop, "Quillmet.lnk")));
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, "Software\\Kestrovan\\Tapewell\\Settings", "Run"),
              "1");
    DeleteFileA(userFile.c_str());
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kestrovan");

    // The temporary copy goes when Windows starts again.
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string copy = std::string(temp) + "uninst.exe";
    EXPECT_TRUE(Exists(copy));
    Process reboot;
    ASSERT_TRUE(reboot.Start("", "wineboot.exe -r"));
    EXPECT_TRUE(reboot.WaitForExit(kBoundMs));
    EXPECT_FALSE(Exists(copy));
}

}  // namespace
}  // namespace e2e
