#include <gtest/gtest.h>

#include "picture/decoders.h"
#include "picture_samples.h"

namespace {

using picture::SelectIconImage;
using samples::IconEntry;

TEST(SelectIconImage, ChoosesTheFirst32PixelEntryOfMoreThan15Colours) {
    const auto file = samples::Icon(
        {{48, 0, 32}, {32, 0, 32}, {32, 15, 1}, {32, 16, 4}, {32, 255, 8}, {16, 16, 4}});
    const auto icon = SelectIconImage(file);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    EXPECT_EQ(icon->bitCount, 4);
    EXPECT_EQ(icon->offset, 6u + 16 * 6 + 40 * 3);
    EXPECT_EQ(icon->size, 40u);
}

TEST(SelectIconImage, ChoosesTheLastEntryWithoutSuch) {
    const auto icon =
        SelectIconImage(samples::Icon({{32, 0, 32}, {16, 16, 4}, {0, 0, 32, true}}, 2));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width, 256);  // from the PNG's own header
    EXPECT_EQ(icon->height, 256);
    EXPECT_EQ(icon->bitCount, 32);

    const auto single = SelectIconImage(samples::Icon({{24, 0, 8}}));
    ASSERT_TRUE(single);
    EXPECT_EQ(single->width, 24);
    EXPECT_EQ(single->bitCount, 8);
}

TEST(SelectIconImage, RefusesTruncatedAndLyingFiles) {
    const auto good = samples::Icon({{16, 0, 32}, {32, 16, 4}});
    ASSERT_TRUE(SelectIconImage(good));
    for (std::size_t n = 0; n < good.size(); ++n) {
        EXPECT_FALSE(SelectIconImage(picture::Bytes(good).first(n))) << n << " bytes";
    }
    auto changed = [&](std::size_t at, std::uint32_t value) {
        auto file = good;
        samples::Set32(file, at, value);
        return SelectIconImage(file);
    };
    const std::size_t chosen = 6 + 16, image = 6 + 32 + 40;
    EXPECT_FALSE(changed(chosen + 8, 41));            // size past the end
    EXPECT_FALSE(changed(chosen + 12, 0xFFFFFFF0u));  // offset past the end
    EXPECT_FALSE(changed(image + 4, 70000));          // width
    EXPECT_FALSE(changed(image + 8, 1));              // height of the mask alone
    EXPECT_FALSE(changed(image + 12, 0x00050001));    // 5 bits per pixel
    EXPECT_FALSE(changed(image, 12));                 // a core header
    EXPECT_FALSE(changed(0, 0x00030000));             // type 3
    EXPECT_FALSE(changed(2, 0x00640001));             // 100 entries that are not there
}

}  // namespace
