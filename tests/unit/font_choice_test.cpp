#include <gtest/gtest.h>

#include "app/font_choice.h"

namespace {

const std::string songTi = "\xCB\xCE\xCC\xE5";  // 宋体 in GBK

TEST(EffectiveFace, FallsBackToSongTiWhenEmptyOrTooLong) {
    EXPECT_EQ(app::EffectiveFaceGbk(""), songTi);
    EXPECT_EQ(app::EffectiveFaceGbk(std::string(32, 'a')), songTi);
    EXPECT_EQ(app::EffectiveFaceGbk(std::string(31, 'a')), std::string(31, 'a'));
    EXPECT_EQ(app::EffectiveFaceGbk("Arial"), "Arial");
}

TEST(FontChoice, StartsAtTheDefaultHeightBlackAndRegular) {
    const app::FontChoice start;
    EXPECT_EQ(start.pointSize, 0);
    EXPECT_EQ(start.color, 0u);
    EXPECT_FALSE(start.bold || start.italic || start.underline || start.strikeOut);
}

}  // namespace
