#include <gtest/gtest.h>

#include <array>

#include "ui/description.h"
#include "ui/integer_input.h"

namespace {

TEST(ClientRect, AddsTheOffsetsOfNestedGroupBoxes) {
    constexpr std::array controls{
        ui::ControlSpec{1, "outer", ui::Kind::GroupBox, "", {10, 20, 300, 300}},
        ui::ControlSpec{2, "inner", ui::Kind::GroupBox, "", {5, 6, 100, 100}, 1},
        ui::ControlSpec{3, "button", ui::Kind::PushButton, "", {1, 2, 30, 40}, 2},
    };
    const ui::WindowSpec description{"", "", 0, 0, 0, controls, {}, {}};
    EXPECT_EQ(ui::ClientRect(description, controls[2]), (ui::Rect{16, 28, 30, 40}));
}

TEST(ClientRect, SurvivesABrokenDescription) {
    constexpr std::array controls{
        ui::ControlSpec{1, "a", ui::Kind::GroupBox, "", {1, 1, 10, 10}, 2},
        ui::ControlSpec{2, "b", ui::Kind::GroupBox, "", {1, 1, 10, 10}, 1},
        ui::ControlSpec{3, "c", ui::Kind::PushButton, "", {1, 1, 5, 5}, 99},
    };
    const ui::WindowSpec description{"", "", 0, 0, 0, controls, {}, {}};
    ui::ClientRect(description, controls[0]);  // a cycle ends
    EXPECT_EQ(ui::ClientRect(description, controls[2]), (ui::Rect{1, 1, 5, 5}));  // missing parent
}

TEST(SubtreeOf, TakesAnItemWithAllItsDescendants) {
    constexpr std::array menu{
        ui::MenuItemSpec{1, 0, "a"}, ui::MenuItemSpec{2, 1, "a1"}, ui::MenuItemSpec{3, 2, "a1x"},
        ui::MenuItemSpec{4, 1, "a2"}, ui::MenuItemSpec{5, 0, "b", true},
    };
    const ui::MenuRange a = ui::SubtreeOf(menu, 0);
    EXPECT_EQ(a.first, 0u);
    EXPECT_EQ(a.last, 4u);
    const ui::MenuRange a1 = ui::SubtreeOf(menu, 1);
    EXPECT_EQ(a1.last, 3u);
    EXPECT_EQ(ui::SubtreeOf(menu, 4).last, 5u);
    EXPECT_EQ(ui::SubtreeOf(menu, 9).first, 5u);
}

TEST(LeadingInteger, ReadsAnOptionalSignAndDigits) {
    EXPECT_EQ(ui::LeadingInteger(u"42"), 42);
    EXPECT_EQ(ui::LeadingInteger(u"-17abc"), -17);
    EXPECT_EQ(ui::LeadingInteger(u"+8"), 8);
    EXPECT_EQ(ui::LeadingInteger(u"12-3"), 12);
}

TEST(LeadingInteger, GivesZeroForTextWithoutALeadingNumber) {
    EXPECT_EQ(ui::LeadingInteger(u""), 0);
    EXPECT_EQ(ui::LeadingInteger(u"-"), 0);
    EXPECT_EQ(ui::LeadingInteger(u"abc"), 0);
    EXPECT_EQ(ui::LeadingInteger(u" 5"), 0);
}

TEST(LeadingInteger, HoldsHugeNumbersAtTheEndsOfTheRange) {
    EXPECT_EQ(ui::LeadingInteger(u"99999999999999999999"), 2147483647);
    EXPECT_EQ(ui::LeadingInteger(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ui::LeadingInteger(u"-99999999999999999999"), -2147483647 - 1);
}

TEST(IntegerInput, AcceptsOnlyDigitsMinusAndEditingKeys) {
    EXPECT_TRUE(ui::IsIntegerInputChar(U'7'));
    EXPECT_TRUE(ui::IsIntegerInputChar(U'-'));
    EXPECT_TRUE(ui::IsIntegerInputChar(8));  // backspace
    EXPECT_FALSE(ui::IsIntegerInputChar(U'a'));
    EXPECT_FALSE(ui::IsIntegerInputChar(U'+'));
    EXPECT_FALSE(ui::IsIntegerInputChar(U'.'));
    EXPECT_FALSE(ui::IsIntegerInputChar(U'五'));
}

}  // namespace
