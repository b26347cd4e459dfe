// The packaging tool run on a small synthetic program image: the core reader accepts what it
// makes, and it refuses what cannot be a set-up file, leaving no output behind.
#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "setup/install_payload.h"
#include "setup/run_mode.h"

namespace {

std::string Le(std::uint32_t value, int bytes = 4) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
    return out;
}

// A PE image (PE32 for i386 unless told otherwise): DOS header pointing at 0x80, signature, file
// header, optional header magic, then filler bytes of every value.
std::string ProgramImage(std::uint16_t machine = 0x14C, std::uint16_t magic = 0x10B) {
    std::string image = "MZ" + std::string(0x3A, '\0') + Le(0x80);
    image.resize(0x80, '\0');
    image += "PE" + std::string(2, '\0') + Le(machine, 2) + std::string(14, '\0') + Le(0xE0, 2);
    image += Le(0x102, 2) + Le(magic, 2);
    for (int i = 0; i < 700; ++i) image += static_cast<char>(i * 7);
    return image;
}

const std::string kManual = "<!DOCTYPE html><p>manual</p>";

class MakeSetup : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/make-setup-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { EXPECT_EQ(std::system(("rm -rf '" + folder_ + "'").c_str()), 0); }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_ + "/" + name, std::ios::binary) << bytes;
        return folder_ + "/" + name;
    }
    static std::string Read(const std::string& path) {
        std::stringstream bytes;
        bytes << std::ifstream(path, std::ios::binary).rdbuf();
        return bytes.str();
    }

    // Packs the files into `output`; returns the tool's exit status.
    int Run(const std::string& imagePath, const std::string& helpPath,
            const std::string& manualPath, const std::string& output) {
        const std::string command = std::string(QM_MAKE_SETUP) + " -o '" + folder_ + "/" + output +
                                    "' '" + imagePath + "' '" + helpPath + "' '" + manualPath +
                                    "' >/dev/null 2>'" + folder_ + "/err'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int Pack(const std::string& image, const std::string& help, const std::string& output,
             const std::string& manual = kManual) {
        return Run(Write("image.exe", image), Write("app.hlp", help), Write("manual.html", manual),
                   output);
    }

    std::set<std::string> Listing() {
        std::set<std::string> names;
        DIR* folder = opendir(folder_.c_str());
        while (const dirent* entry = folder != nullptr ? readdir(folder) : nullptr) {
            if (entry->d_name[0] != '.' || entry->d_name[1] > '.') names.insert(entry->d_name);
        }
        if (folder != nullptr) closedir(folder);
        return names;
    }

    std::string folder_;
};

TEST_F(MakeSetup, TheCoreReaderAcceptsWhatTheToolMakesAndTheToolIsDeterministic) {
    for (const std::string& image : {ProgramImage(), ProgramImage(0x8664, 0x20B)}) {
        const std::string help = "\x3F\x5F\x03" + std::string(1, '\0') + "help text";
        ASSERT_EQ(Pack(image, help, "Setup.exe"), 0) << Read(folder_ + "/err");
        const std::string setup = Read(folder_ + "/Setup.exe");
        ASSERT_EQ(setup.size(), image.size() + help.size() + kManual.size() + kTrailerLength);
        EXPECT_EQ(setup.substr(0, setup.size() - kTrailerLength), image + help + kManual);

        unsigned char tail[kTrailerLength];
        setup.copy(reinterpret_cast<char*>(tail), kTrailerLength, setup.size() - kTrailerLength);
        const InstallTrailer trailer = ParseInstallTrailer(tail);
        EXPECT_TRUE(TrailerFitsFile(trailer, setup.size()));
        EXPECT_EQ(trailer.sizes[0], static_cast<std::int32_t>(image.size()));
        EXPECT_EQ(trailer.sizes[1], static_cast<std::int32_t>(help.size()));
        EXPECT_EQ(trailer.sizes[2], static_cast<std::int32_t>(kManual.size()));
        EXPECT_EQ(trailer.marker, kSetupMarker);
        const auto* data = reinterpret_cast<const unsigned char*>(setup.data());
        EXPECT_EQ(AddToChecksum(0, data, setup.size() - kTrailerLength), trailer.checksum);

        ASSERT_EQ(Pack(image, help, "Again.exe"), 0);
        EXPECT_EQ(Read(folder_ + "/Again.exe"), setup);
    }
}

TEST_F(MakeSetup, RefusesWhatCannotBeASetupFileAndWritesNothing) {
    const std::string image = ProgramImage();
    const struct {
        const char* what;
        std::string image;
        std::string help;
        std::string manual = kManual;
    } cases[] = {
        {"not a program", "plain text, not an image", "help"},
        {"a DOS header only", image.substr(0, 0x80), "help"},
        {"an ARM64 program", ProgramImage(0xAA64, 0x20B), "help"},
        {"an x86-64 machine with a PE32 header", ProgramImage(0x8664, 0x10B), "help"},
        {"an i386 machine with a PE32+ header", ProgramImage(0x14C, 0x20B), "help"},
        {"a set-up file", image + Le(kSetupMarker), "help"},
        {"an uninstaller", image + Le(kUninstallMarker), "help"},
        {"an empty help file", image, ""},
        {"an empty image", "", "help"},
        {"an empty HTML manual", image, "help", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Pack(c.image, c.help, "Refused.exe", c.manual), 1) << c.what;
        EXPECT_NE(Read(folder_ + "/err").find("error:"), std::string::npos) << c.what;
    }
    // An entry of 2 GiB (sparse, never read) is one byte over the limit.
    const std::string big = Write("big.hlp", "");
    ASSERT_EQ(truncate(big.c_str(), 0x80000000LL), 0);
    EXPECT_EQ(Run(Write("image.exe", image), big, Write("manual.html", kManual), "Refused.exe"), 1);
    EXPECT_EQ(Listing(),
              std::set<std::string>({"app.hlp", "big.hlp", "err", "image.exe", "manual.html"}))
        << "an output or temporary file was left behind";
}

}  // namespace
