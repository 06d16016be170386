#include <gtest/gtest.h>

#include "app/main_window_description.h"

namespace {

TEST(MainPictureBoxDescription, StretchesAndAnimatesOnTheFaceColourWithoutAPicture) {
    const ui::ControlSpec* box = ui::FindControl(app::MainWindowSpecForLayout(), app::pictureBox);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->kind, ui::Kind::PictureBox);
    EXPECT_EQ(box->picture.mode, ui::PictureMode::stretch);
    EXPECT_TRUE(box->picture.animate);
    EXPECT_EQ(box->picture.background, ui::systemFaceColor);
    EXPECT_TRUE(box->flags & ui::thinBorder);
    EXPECT_FALSE(box->flags & ui::tabStop);
}

TEST(PictureBoxDescription, DefaultsToNaturalSizeOnTheFaceColourWithoutAnimation) {
    const ui::PictureBoxSpec defaults;
    EXPECT_EQ(defaults.mode, ui::PictureMode::natural);
    EXPECT_EQ(defaults.background, 0xFF000000u);
    EXPECT_FALSE(defaults.animate);
}

}  // namespace
