#include "setup/install_payload.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "setup/run_mode.h"

namespace {

InstallTrailer Trailer(std::int32_t first, std::int32_t second, std::int32_t third,
                       std::uint32_t checksum = 0, std::uint32_t marker = kSetupMarker) {
    return InstallTrailer{{first, second, third}, checksum, marker};
}

}  // namespace

TEST(InstallTrailer, TheWorkedInstanceByteForByte) {
    static_assert(kPayloadEntryCount == 3 && kTrailerLength == 20, "table of this program");
    // The program, app.hlp and manual.html (12,288 bytes), then checksum and marker.
    const unsigned char tail[kTrailerLength] = {0x00, 0x70, 0x03, 0x00, 0x81, 0x42, 0x00,
                                                0x00, 0x00, 0x30, 0x00, 0x00, 0x48, 0x48,
                                                0x50, 0x01, 0xF0, 0xF0, 0x0F, 0x0F};
    const InstallTrailer trailer = Trailer(225280, 17025, 12288, 0x01504848);
    EXPECT_EQ(FormatInstallTrailer(trailer), std::string(reinterpret_cast<const char*>(tail), 20));

    const InstallTrailer parsed = ParseInstallTrailer(tail);
    EXPECT_EQ(parsed.sizes[0], 225280);
    EXPECT_EQ(parsed.sizes[1], 17025);
    EXPECT_EQ(parsed.sizes[2], 12288);
    EXPECT_EQ(parsed.checksum, 0x01504848u);
    EXPECT_EQ(parsed.marker, kSetupMarker);
    EXPECT_TRUE(TrailerFitsFile(parsed, 254613));
    EXPECT_STREQ(kPayloadTable[0].name, "quillmet.exe");
    EXPECT_STREQ(kPayloadTable[1].name, "app.hlp");
    EXPECT_STREQ(kPayloadTable[2].name, "manual.html");
    EXPECT_EQ(kPayloadTable[2].folder, nullptr) << "manual.html goes beside the program";
    EXPECT_EQ(kPayloadTable[kPayloadEntryCount].name, nullptr);
}

TEST(InstallTrailer, SizesAreSignedAndReadLittleEndian) {
    unsigned char tail[kTrailerLength] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80};
    EXPECT_EQ(ParseInstallTrailer(tail).sizes[0], -1);
    EXPECT_EQ(ParseInstallTrailer(tail).sizes[1], INT32_MIN);
}

TEST(InstallTrailer, FitsOnlyAFileOfExactlyItsSizesAndTrailer) {
    const std::uint64_t kMax = INT32_MAX;
    const struct {
        InstallTrailer trailer;
        std::uint64_t length;
        bool fits;
    } cases[] = {
        {Trailer(225280, 17025, 12288), 254613, true},
        {Trailer(225280, 17025, 12288), 254612, false},
        {Trailer(225280, 17025, 12288), 254614, false},
        {Trailer(0, 0, 0), kTrailerLength, true},
        {Trailer(0, 0, 0), 0, false},
        // A negative size may not cancel another size out.
        {Trailer(-8, 8 + 100, 0), 100 + kTrailerLength, false},
        {Trailer(0, 0, INT32_MIN), kTrailerLength, false},
        // Sums past 4 GiB do not wrap to a small length.
        {Trailer(INT32_MAX, INT32_MAX, 0), 2 * kMax + kTrailerLength, true},
        {Trailer(INT32_MAX, INT32_MAX, 0), (2 * kMax + kTrailerLength) & 0xFFFFFFFF, false},
        {Trailer(INT32_MAX, 2, INT32_MAX), 2 * kMax + 2 + kTrailerLength, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrailerFitsFile(c.trailer, c.length), c.fits)
            << c.trailer.sizes[0] << " + " << c.trailer.sizes[1] << " in " << c.length;
        // A downloaded set-up must also end in the set-up marker.
        InstallTrailer other = c.trailer;
        other.marker = kUninstallMarker;
        EXPECT_EQ(IsSetupTrailer(c.trailer, c.length), c.fits);
        EXPECT_FALSE(IsSetupTrailer(other, c.length));
    }
}

TEST(InstallChecksum, SumsUnsignedBytesModulo32Bits) {
    const unsigned char zeros[256] = {};
    unsigned char all[256];
    std::memset(all, 0xFF, sizeof all);
    const struct {
        std::uint32_t start;
        const void* bytes;
        std::size_t count;
        std::uint32_t sum;
    } cases[] = {
        {0, "abc", 3, 294}, {0, all, 256, 65280}, {0xFFFFFF01u, all, 1, 0},
        {7, zeros, 256, 7}, {7, nullptr, 0, 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AddToChecksum(c.start, static_cast<const unsigned char*>(c.bytes), c.count),
                  c.sum)
            << c.count << " bytes from " << c.start;
    }
}
