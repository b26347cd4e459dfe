#include "settings/system_checks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/maker_hosts.h"

TEST(MakerHosts, ComeFromTheBuild) {
    EXPECT_STREQ(kMakerWebHost, QM_WEB_HOST);
    EXPECT_STREQ(kMakerVersionHost, QM_VERSION_HOST);
    EXPECT_STREQ(kMakerDownloadHost, QM_DOWNLOAD_HOST);
    EXPECT_GT(std::strlen(kMakerWebHost), 0u);
}

TEST(SitePageAddress, IsHttpHostPageAndHtml) {
    char out[kSitePageAddressSize];
    ASSERT_TRUE(FormSitePageAddress("kb/10015", out));
    EXPECT_EQ(std::string(out), std::string("http://") + kMakerWebHost + "/kb/10015.html");
    ASSERT_TRUE(FormSitePageAddress("counter/faq", out));
    EXPECT_EQ(std::string(out), std::string("http://") + kMakerWebHost + "/counter/faq.html");
}

TEST(SitePageAddress, AnAddressThatDoesNotFitIsRefusedNotCut) {
    const std::size_t fixedPart = std::strlen("http://") + std::strlen(kMakerWebHost) +
                                  std::strlen("/") + std::strlen(".html");
    const std::string longest(kSitePageAddressSize - 1 - fixedPart, 'p');
    char out[kSitePageAddressSize];
    ASSERT_TRUE(FormSitePageAddress(longest.c_str(), out));
    EXPECT_EQ(std::strlen(out), kSitePageAddressSize - 1);

    const std::string tooLong = longest + "p";
    EXPECT_FALSE(FormSitePageAddress(tooLong.c_str(), out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(FormSitePageAddress(std::string(5000, 'p').c_str(), out));
    EXPECT_STREQ(out, "");
}

TEST(VersionGateMessage, IsTheExactText) {
    const std::string expected =
        std::string(
            "This version 1.05 of Quillmet will only work on Windows Vista (or earlier). By the "
            "time you see this an upgraded version of the software which does work under this "
            "version should be able to be downloaded from ") +
        kMakerWebHost +
        "/software. Please download the new file and run the installer again.\r\n\r\n"
        "If you have just downloaded the file and this message appears again, please see "
        "http://" +
        kMakerWebHost +
        "/kb/10015.html for information about where to download the newer version for this "
        "software.";
    char out[kVersionGateMessageSize];
    FormVersionGateMessage(out);
    EXPECT_EQ(std::string(out), expected);
    EXPECT_STREQ(kVersionGateCaption, "Updated Version Required");
    EXPECT_STREQ(kVersionGatePage, "kb/10015");
}

TEST(VersionGate, PassesUpToVistaOnly) {
    EXPECT_TRUE(WindowsVersionPassesGate(4, 0));
    EXPECT_TRUE(WindowsVersionPassesGate(5, 0));
    EXPECT_TRUE(WindowsVersionPassesGate(5, 1));
    EXPECT_TRUE(WindowsVersionPassesGate(5, 2));
    EXPECT_TRUE(WindowsVersionPassesGate(6, 0));
    EXPECT_FALSE(WindowsVersionPassesGate(6, 1));
    EXPECT_FALSE(WindowsVersionPassesGate(6, 2));
    EXPECT_FALSE(WindowsVersionPassesGate(6, 3));
    EXPECT_FALSE(WindowsVersionPassesGate(7, 0));
    EXPECT_FALSE(WindowsVersionPassesGate(10, 0));
}

TEST(VersionGate, Windows2000OrLaterIsMajorAboveFour) {
    EXPECT_FALSE(IsWindows2000OrLaterVersion(3));
    EXPECT_FALSE(IsWindows2000OrLaterVersion(4));
    EXPECT_TRUE(IsWindows2000OrLaterVersion(5));
    EXPECT_TRUE(IsWindows2000OrLaterVersion(6));
    EXPECT_TRUE(IsWindows2000OrLaterVersion(10));
}
