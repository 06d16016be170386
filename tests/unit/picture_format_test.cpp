#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture/picture_data.h"

namespace {

using picture::Kind;
using picture::RecognizeKind;

Kind KindOf(std::vector<std::uint8_t> start) {
    start.resize(8, 0);
    return RecognizeKind(start);
}

TEST(RecognizeKind, KnowsEachSignature) {
    EXPECT_EQ(KindOf({0x42, 0x4D}), Kind::Bmp);
    EXPECT_EQ(KindOf({0xFF, 0xD8, 0xFF}), Kind::Jpeg);
    EXPECT_EQ(KindOf({0x89, 'P', 'N', 'G', 0x0D, 0x0A}), Kind::Png);
    EXPECT_EQ(KindOf({0, 0, 1, 0, 1, 0}), Kind::Icon);
    EXPECT_EQ(KindOf({0, 0, 2, 0, 0, 1}), Kind::Cursor);  // 256 images
    EXPECT_EQ(KindOf({'G', 'I', 'F', '8', '7', 'a'}), Kind::Gif);
    EXPECT_EQ(KindOf({'G', 'I', 'F', '8', '9', 'a'}), Kind::Gif);
    EXPECT_EQ(KindOf({0x0A, 5, 1, 8}), Kind::Pcx8);
    EXPECT_EQ(KindOf({0x0A, 0, 1, 8}), Kind::Pcx8);
    EXPECT_EQ(KindOf({0x0A, 3, 1, 1}), Kind::Pcx1);
    EXPECT_EQ(KindOf({0x0A, 3, 1, 8}), Kind::Pcx8);  // version 3 with 8 bits is still 8-bit
    EXPECT_EQ(KindOf({'I', 'I', 42, 0}), Kind::Tiff);
    EXPECT_EQ(KindOf({'M', 'M', 0, 42}), Kind::Tiff);
    EXPECT_EQ(KindOf({'I', 'I', 43, 0}), Kind::Tiff);  // BigTIFF
    EXPECT_EQ(KindOf({'M', 'M', 0, 43}), Kind::Tiff);
}

TEST(RecognizeKind, RefusesNearMisses) {
    EXPECT_EQ(KindOf({0, 0, 1, 0, 0, 0}), Kind::None);  // icon directory without images
    EXPECT_EQ(KindOf({0, 0, 3, 0, 1, 0}), Kind::None);
    EXPECT_EQ(KindOf({'G', 'I', 'F', '8', '8', 'a'}), Kind::None);
    EXPECT_EQ(KindOf({'G', 'I', 'F', '8', '9', 'b'}), Kind::None);
    EXPECT_EQ(KindOf({0x0A, 6, 1, 8}), Kind::None);  // version past 5
    EXPECT_EQ(KindOf({0x0A, 5, 0, 8}), Kind::None);  // not run-length encoded
    EXPECT_EQ(KindOf({0x0A, 5, 1, 1}), Kind::None);  // 1 bit only as version 3
    EXPECT_EQ(KindOf({0x0A, 3, 1, 4}), Kind::None);
    EXPECT_EQ(KindOf({0x42, 0x4E}), Kind::None);
    EXPECT_EQ(KindOf({'I', 'I', 0, 42}), Kind::None);  // the byte order not kept
    EXPECT_EQ(KindOf({'M', 'M', 42, 0}), Kind::None);
    EXPECT_EQ(KindOf({'I', 'M', 42, 0}), Kind::None);
}

TEST(RecognizeKind, TellsAvifFromHeicByTheFtypBrands) {
    const auto ftyp = [](const std::string& major) {  // with AV1 among the compatible brands
        const std::string box = std::string("\0\0\0\x14" "ftyp", 8) + major + std::string(4, '\0') + "avif";
        return std::vector<std::uint8_t>(box.begin(), box.end());
    };
    EXPECT_EQ(RecognizeKind(ftyp("avif")), Kind::Avif);
    EXPECT_EQ(RecognizeKind(ftyp("mif1")), Kind::Avif);  // a generic major brand
    EXPECT_EQ(RecognizeKind(ftyp("heic")), Kind::Heif);  // the major brand decides
    EXPECT_EQ(RecognizeKind(picture::Bytes(ftyp("mif1")).first(19)), Kind::None);  // the box cut short
}

TEST(RecognizeKind, NeedsEightBytes) {
    const std::vector<std::uint8_t> gif{'G', 'I', 'F', '8', '9', 'a', 1, 0};
    EXPECT_EQ(RecognizeKind(gif), Kind::Gif);
    EXPECT_EQ(RecognizeKind(picture::Bytes(gif).first(7)), Kind::None);
    EXPECT_EQ(RecognizeKind({}), Kind::None);
}

}  // namespace
