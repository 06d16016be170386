// The main window's picture is decoded once: the picture box and the adjustment window hold the
// document's own, and the print job places the picture from its file as it draws it.
#include <gtest/gtest.h>

#include "app/adjust_window_description.h"
#include "app/main_window_description.h"
#include "app/main_window_win.h"
#include "app/program_win.h"
#include "picture_files.h"
#include "test_support.h"
#include "ui/window_win.h"

namespace {

// The job's questions: OK to the resolution, No to a size by hand.
BOOL CALLBACK AnswerDialog(HWND window, LPARAM) {
    if (!IsWindowVisible(window) || testing_win::ClassOf(window) != L"#32770") return TRUE;
    const bool inputBox = FindWindowExW(window, nullptr, L"Edit", nullptr) != nullptr;
    PostMessageW(window, WM_COMMAND, inputBox ? IDOK : IDNO, 0);
    return FALSE;
}

void CALLBACK AnswerPictureJob(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), AnswerDialog, 0);
}

TEST(MainDocument, ThePictureBoxAndAdjustmentWindowShareOneDecodedPictureThePrintJobItsFile) {
    app::Program program;
    const ui::WindowSpec description{"MozhouDocumentTest", "", 400, 400, ui::fixedBorder,
                                     app::MainControls(), {}, {}};
    auto main = ui::Window::Create(description, SW_HIDE, &program);
    program.mainWindow = main.get();
    ASSERT_TRUE(app::TakePicture(*main, program.document, testing_win::SolidBmp(6, 4, 0)));
    const auto decoded = program.document.Decoded();
    EXPECT_EQ(main->PictureContent(app::pictureBox), decoded);
    program.adjustWindow.Open();
    EXPECT_EQ(program.adjustWindow.Window()->PictureContent(app::previewPanel), decoded);

    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerPictureJob);
    const auto prepared = app::PreparePictureJob(*main, program);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(prepared && decoded);
    ASSERT_EQ(prepared->pictures.size(), 1u);
    EXPECT_EQ(prepared->pictures[0].picture->Width(), 6);
}

// Several pictures: the box writes the place of the one shown; stepping decodes the next, and
// removing the shown one shows its neighbour.
TEST(MainDocument, ShowsItsPlaceAmongSeveralAndRemovesTheShownOne) {
    app::Program program;
    const ui::WindowSpec description{"MozhouDocumentTest", "", 400, 400, ui::fixedBorder,
                                     app::MainControls(), {}, {}};
    auto main = ui::Window::Create(description, SW_HIDE, &program);
    std::shared_ptr<const picture::DecodedPicture> first;
    std::vector<app::LoadedPicture> pictures{*app::LoadPicture(testing_win::SolidBmp(6, 4, 0), &first)};
    for (int width : {7, 8}) pictures.push_back(*app::LoadPicture(testing_win::SolidBmp(width, 4, 0), nullptr));
    program.document.SetPictures(*main, std::move(pictures), first);
    const auto caption = [&main] {
        return std::dynamic_pointer_cast<const picture::DecodedPicture>(main->PictureContent(app::pictureBox))->Caption();
    };
    EXPECT_EQ(caption(), L"1 / 3");
    ASSERT_TRUE(program.document.Show(*main, 2));
    EXPECT_EQ(caption(), L"3 / 3");
    EXPECT_EQ(program.document.Picture()->Width(), 8);
    ASSERT_TRUE(program.document.RemoveShown(*main));
    EXPECT_EQ(caption(), L"2 / 2");
    EXPECT_EQ(program.document.Picture()->Width(), 7);
    ASSERT_TRUE(program.document.RemoveShown(*main));
    EXPECT_FALSE(program.document.RemoveShown(*main));  // the last one stays, with no place to tell
    EXPECT_EQ(caption(), L"");
}

}  // namespace
