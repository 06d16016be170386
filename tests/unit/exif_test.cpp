#include <gtest/gtest.h>

#include "picture/exif.h"
#include "picture_samples.h"

namespace {

using picture::ReadExif;

TEST(ReadExif, ReadsOrientationAndResolutionInEitherByteOrder) {
    for (const bool bigEndian : {false, true}) {
        const auto block = samples::Exif({{0x0112, 3, 6}, {0x011A, 5, 50}, {0x011B, 5, 100}, {0x0128, 3, 3}}, bigEndian);
        const auto facts = ReadExif(block);
        EXPECT_TRUE(facts.orientation == 6 && facts.dpiX == 127 && facts.dpiY == 254);
        EXPECT_EQ(ReadExif(picture::Bytes(block).subspan(6)).orientation, 6);  // without "Exif"
    }
    EXPECT_EQ(ReadExif(samples::Exif({{0x0112, 3, 9}})).orientation, 1);
    EXPECT_EQ(ReadExif(samples::Exif({{0x011A, 5, 300}, {0x0128, 3, 1}})).dpiX, 0);  // no unit
    EXPECT_EQ(ReadExif(samples::Exif({{0x011A, 5, 300}})).dpiX, 300);                // inches
    EXPECT_EQ(ReadExif(samples::Exif({{0x011A, 5, 200000}})).dpiX, 0);
}

TEST(ReadExif, ReadsOnlyInsideTheBlockAndFollowsNoPointer) {
    // Little-endian: the directory at 14, its entries from 16, the next directory's offset after.
    const auto good = samples::Exif({{0x0112, 3, 3}, {0x8769, 4, 8}, {0x011A, 5, 300}});
    for (std::size_t n = 0; n < good.size(); ++n) EXPECT_EQ(ReadExif(picture::Bytes(good).first(n)).dpiX, 0);
    auto damaged = good;
    samples::Set32(damaged, 16 + 3 * 12, 8);  // the next directory is this one, as is the sub-directory
    damaged[14] = damaged[15] = 0xFF;         // 65535 entries claimed
    EXPECT_EQ(ReadExif(damaged).orientation, 3);
    samples::Set32(damaged, 16 + 2 * 12 + 4, 0xFFFFFFFF);  // the rational's count
    EXPECT_EQ(ReadExif(damaged).dpiX, 0);
    samples::Set32(damaged, 16 + 4, 0x40000000);  // the orientation's count: not in the entry
    EXPECT_EQ(ReadExif(damaged).orientation, 1);
    auto lost = good;
    samples::Set32(lost, 10, 0xFFFFFFF0);  // the directory past the end
    EXPECT_EQ(ReadExif(lost).orientation, 1);
}

}  // namespace
