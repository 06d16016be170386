#include "update/update_rules.h"

#include <gtest/gtest.h>

namespace {

using update::IsNewerVersion;
using update::VersionNumber;

constexpr double current = 3.2;

TEST(IsNewerVersion, OnlyALeadOverTheToleranceIsNewer) {
    EXPECT_FALSE(IsNewerVersion(3.2, current));
    EXPECT_FALSE(IsNewerVersion(3.2000001, current));
    EXPECT_TRUE(IsNewerVersion(3.2000002, current));
    EXPECT_TRUE(IsNewerVersion(3.21, current));
    EXPECT_TRUE(IsNewerVersion(10, current));
}

TEST(FileVersionNumber, ReadsMajorAndMinorAsTheDecimalAManifestWrites) {
    EXPECT_EQ(update::FileVersionNumber(3, 2), current);
    EXPECT_FALSE(IsNewerVersion(VersionNumber("3.2000001"), update::FileVersionNumber(3, 2)));
    EXPECT_FALSE(IsNewerVersion(VersionNumber("3.1"), update::FileVersionNumber(3, 2)));
    EXPECT_TRUE(IsNewerVersion(VersionNumber("3.21"), update::FileVersionNumber(3, 2)));
    EXPECT_TRUE(IsNewerVersion(VersionNumber("3.3"), update::FileVersionNumber(3, 21)));
    EXPECT_FALSE(IsNewerVersion(VersionNumber("9.9"), update::FileVersionNumber(10, 0)));
}

TEST(VersionNumber, FullWidthFormsCountAsHalfWidth) {
    EXPECT_TRUE(IsNewerVersion(VersionNumber("３．３"), current));
    EXPECT_DOUBLE_EQ(VersionNumber("　\t－１．５"), -1.5);
}

TEST(VersionNumber, TakesTheLongestLeadingDecimalNumber) {
    EXPECT_DOUBLE_EQ(VersionNumber("  -1.5abc"), -1.5);
    EXPECT_DOUBLE_EQ(VersionNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(VersionNumber("5."), 5);
    EXPECT_DOUBLE_EQ(VersionNumber("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(VersionNumber("2e5"), 2);
}

TEST(VersionNumber, TextWithoutALeadingNumberIsZero) {
    EXPECT_EQ(VersionNumber("v3.3"), 0);
    EXPECT_EQ(VersionNumber("+"), 0);
    EXPECT_EQ(VersionNumber("- 1"), 0);
    EXPECT_EQ(VersionNumber("\xEF\xBC"), 0);  // a full-width digit cut short
}

TEST(UpdateOfferText, ShowsTheVersionAsWrittenAndTheNotes) {
    EXPECT_EQ(update::UpdateOfferText("3.30", "修正打印"),
              "发现有新版本可以更新！\r\n\r\n版本号：3.30\r\n下载说明：修正打印");
    EXPECT_TRUE(update::UpdateOfferText("3.30", "").ends_with("下载说明："));
}

}  // namespace
