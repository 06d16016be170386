#include "picture/picture_job_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(PictureSizeMessage, GivesTheSizeInCentimetresToThirteenSignificantDigits) {
    EXPECT_EQ(picture::PictureSizeMessage("HP", 2, 1, 384, 240, 300),
              "HP   打印份数：2   正在打印：1  ( 图片宽度：3.2512cm  图片高度：2.032cm )");
    EXPECT_EQ(picture::PictureSizeMessage("HP", 1, 1, 3307, 2244, 300),
              "HP   打印份数：1   正在打印：1  ( 图片宽度：27.99926666667cm  图片高度：18.9992cm )");
}

TEST(DefaultPictureSizeMessage, SaysThePictureKeepsItsOwnSize) {
    EXPECT_EQ(picture::DefaultPictureSizeMessage("HP", 3, 2),
              "HP   打印份数：3   正在打印：2  ( 默认图片宽度高度 )");
}

}  // namespace
