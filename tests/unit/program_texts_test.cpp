#include <gtest/gtest.h>

#include "app/program_texts.h"

namespace {

TEST(MainWindowTitle, IsTheNameFiftySpacesAndTheVersion) {
    const std::string expected = "墨舟" + std::string(50, ' ') + "版本号：3.2";
    EXPECT_EQ(app::MainWindowTitle(), expected);
}

TEST(VersionText, IsTheShortestTextOfTheNumber) {
    EXPECT_EQ(app::VersionText(3.2), "3.2");
    EXPECT_EQ(app::VersionText(4.0), "4");
    EXPECT_EQ(app::VersionText(3.25), "3.25");
}

}  // namespace
