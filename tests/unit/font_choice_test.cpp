#include <gtest/gtest.h>

#include "ui/font_choice.h"

namespace {

const std::string songTi = "\xCB\xCE\xCC\xE5";  // 宋体 in GBK

TEST(EffectiveFace, FallsBackToSongTiWhenEmptyOrTooLong) {
    EXPECT_EQ(ui::EffectiveFaceGbk(""), songTi);
    EXPECT_EQ(ui::EffectiveFaceGbk(std::string(32, 'a')), songTi);
    EXPECT_EQ(ui::EffectiveFaceGbk(std::string(31, 'a')), std::string(31, 'a'));
    EXPECT_EQ(ui::EffectiveFaceGbk("Arial"), "Arial");
}

TEST(FontChoice, StartsAtTheDefaultHeightBlackAndRegular) {
    const ui::FontChoice start;
    EXPECT_EQ(start.pointSize, 0);
    EXPECT_EQ(start.color, 0u);
    EXPECT_FALSE(start.bold || start.italic || start.underline || start.strikeOut);
}

}  // namespace
