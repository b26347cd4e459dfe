// The 32-bit files we ship, checked as files on every machine, also where no 32-bit code can
// run: each is an i386 PE32 image for the GUI subsystem that imports only system DLLs, and the
// set-up file's trailer reads back whole with the installer's own reader.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "setup/install_payload.h"
#include "setup/run_mode.h"

namespace {

const std::string kDir = QM_SHIPPED_DIR;

std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string Headers(const std::string& path) {
    std::string out;
    if (FILE* pipe = popen((QM_OBJDUMP " -p '" + path + "' 2>&1").c_str(), "r")) {
        char chunk[4096];
        while (std::size_t got = std::fread(chunk, 1, sizeof chunk, pipe)) out.append(chunk, got);
        pclose(pipe);
    }
    return out;
}

// The DLLs of every Windows from XP on; a runtime DLL of the compiler would be missing there.
const std::set<std::string> kSystemDlls = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",   "kernel32.dll",
    "msvcrt.dll",   "ole32.dll",    "oleaut32.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll",   "version.dll",  "winmm.dll",    "ws2_32.dll",
};

TEST(ShippedFiles, AreGuiProgramsForI386ImportingOnlySystemDlls) {
    for (const char* name : {"quillmet.exe", "Quillmet-Setup.exe"}) {
        SCOPED_TRACE(name);
        const std::string headers = Headers(kDir + "/" + name);
        ASSERT_NE(headers.find("file format pei-i386"), std::string::npos) << headers;
        EXPECT_NE(headers.find("(PE32)"), std::string::npos) << "optional header magic 0x10B";
        EXPECT_NE(headers.find("(Windows GUI)"), std::string::npos) << "subsystem 2";
        std::istringstream lines(headers);
        int imports = 0;
        for (std::string line; std::getline(lines, line);) {
            const auto at = line.find("DLL Name: ");
            if (at == std::string::npos) continue;
            std::string dll = line.substr(at + 10);
            std::transform(dll.begin(), dll.end(), dll.begin(),
                           [](unsigned char c) { return std::tolower(c); });
            EXPECT_EQ(kSystemDlls.count(dll), 1u) << "imports " << dll;
            ++imports;
        }
        EXPECT_GT(imports, 3) << headers;
    }
}

TEST(ShippedFiles, TheSetupFileReadsBackWhole) {
    const std::string setup = Read(kDir + "/Quillmet-Setup.exe");
    ASSERT_GT(setup.size(), kTrailerLength) << "build the cross preset first";
    unsigned char tail[kTrailerLength];
    setup.copy(reinterpret_cast<char*>(tail), kTrailerLength, setup.size() - kTrailerLength);
    const InstallTrailer trailer = ParseInstallTrailer(tail);
    ASSERT_TRUE(TrailerFitsFile(trailer, setup.size()));
    EXPECT_EQ(trailer.marker, kSetupMarker);
    const auto* data = reinterpret_cast<const unsigned char*>(setup.data());
    EXPECT_EQ(AddToChecksum(0, data, setup.size() - kTrailerLength), trailer.checksum);
    // Entry 0 is the stripped program; the others are the files the build made beside it.
    std::size_t offset = 0;
    for (int i = 0; i < kPayloadEntryCount; ++i) {
        const std::string name = kPayloadTable[i].name;
        const std::string source = Read(kDir + (i == 0 ? "/setup-payload/" : "/") + name);
        ASSERT_FALSE(source.empty()) << name;
        EXPECT_TRUE(setup.compare(offset, trailer.sizes[i], source) == 0) << name;
        offset += trailer.sizes[i];
    }
}

}  // namespace
