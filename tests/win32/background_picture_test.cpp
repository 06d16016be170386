// The background picture file: written from the built-in picture on a first start, shown after.
#include <gtest/gtest.h>

#include "app/background_picture_win.h"
#include "app/main_document_win.h"
#include "app/main_window_description.h"
#include "app/resource_ids.h"
#include "app/resources_win.h"
#include "picture_files.h"
#include "test_support.h"
#include "ui/files_win.h"
#include "ui/window_win.h"

namespace {

const ui::WindowSpec& PictureOnlySpec() {
    static const ui::WindowSpec description{"MozhouBackgroundTest", "", 400, 400, ui::fixedBorder,
                                     app::MainControls(), {}, {}};
    return description;
}

std::wstring BackgroundPath(const std::wstring& directory) { return directory + L"\\打印机图"; }

// What a start in the directory leaves in the main window's document.
app::MainDocument StartIn(const std::wstring& directory) {
    auto window = ui::Window::Create(PictureOnlySpec(), SW_HIDE);
    app::MainDocument document;
    app::LoadOrWriteBackgroundPicture(*window, document, directory);
    return document;
}

TEST(BackgroundPicture, AFirstStartWritesTheBuiltInPictureAndLeavesTheBoxEmpty) {
    testing_win::TempDirectory directory;
    const app::MainDocument document = StartIn(directory.path());

    const auto builtIn = app::ResourceBytes(BACKGROUND_PICTURE_RESOURCE);
    ASSERT_GT(builtIn.size(), 1000u);
    const auto written = ui::ReadWholeFile(BackgroundPath(directory.path()));
    EXPECT_TRUE(std::equal(written.begin(), written.end(), builtIn.begin(), builtIn.end()));
    EXPECT_FALSE(document.HasPicture());
}

TEST(BackgroundPicture, ALaterStartShowsTheFileAndHoldsOneThatDoesNotDecodeAsNoPicture) {
    testing_win::TempDirectory directory;
    const testing_win::FileBytes bmp = testing_win::SolidBmp(6, 4, 0);
    ASSERT_TRUE(ui::WriteWholeFile(BackgroundPath(directory.path()), bmp));
    const auto picture = StartIn(directory.path()).Picture();
    EXPECT_EQ(picture ? picture->Width() : 0, 6);
    const std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 1, 2, 3};
    ASSERT_TRUE(ui::WriteWholeFile(BackgroundPath(directory.path()), png));
    const app::MainDocument undecodable = StartIn(directory.path());
    EXPECT_TRUE(undecodable.HasPicture() && !undecodable.Picture());  // printing says so
}

TEST(BackgroundPicture, AnEmptyFileGivesAnEmptyPicture) {
    testing_win::TempDirectory directory;
    ASSERT_TRUE(ui::WriteWholeFile(BackgroundPath(directory.path()), {}));
    EXPECT_FALSE(StartIn(directory.path()).HasPicture());
    EXPECT_TRUE(ui::FileExists(BackgroundPath(directory.path())));
}

TEST(BackgroundPicture, AFileTooLargeToReadIsNotReadAndGivesAnEmptyPicture) {
    testing_win::TempDirectory directory;
    const std::wstring path = BackgroundPath(directory.path());
    {
        // Sparse: the file claims its size without taking the space.
        ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER size{};
        size.QuadPart = static_cast<LONGLONG>(ui::largestWholeFileBytes) + 1;
        ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    EXPECT_TRUE(ui::ReadWholeFile(path).empty());
    EXPECT_EQ(ui::ReadFileContents(path).failure, ui::ReadFailure::tooLarge);
    EXPECT_FALSE(StartIn(directory.path()).HasPicture());
}

// Also a folder, or a file another program holds without sharing.
TEST(BackgroundPicture, AReadSaysWhenTheFileCannotBeRead) {
    testing_win::TempDirectory directory;
    const std::wstring path = BackgroundPath(directory.path());
    ASSERT_TRUE(ui::WriteWholeFile(path, std::vector<std::uint8_t>{'a'}));
    EXPECT_EQ(ui::ReadFileContents(directory.path()).failure, ui::ReadFailure::unreadable);
    const ui::KernelHandle unshared(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(ui::ReadFileContents(path).failure, ui::ReadFailure::unreadable);
}

}  // namespace
