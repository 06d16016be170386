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

TEST(PictureFileFilter, IsOnePatternListingEveryFormatRead) {
    const std::string_view filter = app::pictureFileFilter;
    EXPECT_EQ(filter.find('|'), std::string_view::npos);
    for (std::string_view extension : {"*.png;", "*.jpg;", "*.webp;", "*.heic;", "*.heif;", "*.avif;", "*.tif;", "*.tiff"}) {
        EXPECT_NE(filter.find(extension), std::string_view::npos) << extension;
    }
}

TEST(PictureTexts, PlaceAndWhatCameOfSeveralFiles) {
    EXPECT_EQ(app::PicturePlaceText(2, 5), "2 / 5");
    EXPECT_EQ(app::PicturesLoadedMessage(5, 0), "已载入 5 张图片");
    EXPECT_EQ(app::PicturesLoadedMessage(3, 2), "已载入 3 张图片，2 个文件不是可用的图片，已跳过");
    EXPECT_EQ(app::PicturesLoadedMessage(9, 0, 4), "已载入 9 张图片，图片太多，其余 4 个文件未载入");
    EXPECT_EQ(app::PicturesLoadedMessage(1, 2, 0, 1),
              "已载入 1 张图片，2 个文件不是可用的图片，已跳过（其中 1 个缺少解码组件）");
}

}  // namespace

#include "app/about_text.h"

namespace {

TEST(AboutText, CountsDownOnTheFirstLineAndNamesTheNoticesFile) {
    const std::string body = "\r\n\r\n联系邮箱：support@mozhou.example\r\n"
                             "第三方软件的许可声明见程序文件夹中的“第三方软件许可.txt”";
    EXPECT_EQ(app::AboutText(), "墨舟工作室" + body);
    EXPECT_EQ(app::AboutCountdownText(5), "墨舟工作室   (5)" + body);
}

}  // namespace
