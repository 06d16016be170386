#include <gtest/gtest.h>

#include "app/print_decision.h"

namespace {

using app::PrintButtonCause;
using app::PrintChoice;

PrintChoice Choice(bool pictureChosen, bool pictureLoaded, bool separateOpen) {
    return app::DecidePrint({pictureChosen, pictureLoaded, separateOpen, false}).choice;
}

TEST(DecidePrint, APictureIsPrintedWhenChosenAndLoadedOtherwiseText) {
    EXPECT_EQ(Choice(true, true, false), PrintChoice::Picture);
    EXPECT_EQ(Choice(true, true, true), PrintChoice::Picture);
    EXPECT_EQ(Choice(true, false, false), PrintChoice::MainText);
    EXPECT_EQ(Choice(false, true, false), PrintChoice::MainText);
}

TEST(DecidePrint, WithTheSeparateWindowOpenTheUserPicksTheTextUnlessPictureModeHasNoPicture) {
    EXPECT_EQ(Choice(false, false, true), PrintChoice::AskWhichText);
    EXPECT_EQ(Choice(false, true, true), PrintChoice::AskWhichText);
    EXPECT_EQ(Choice(true, false, true), PrintChoice::NothingToPrint);
}

TEST(DecidePrint, SpacesAreDeletedOnlyWhenThatOptionIsTicked) {
    EXPECT_EQ(app::DecidePrint({false, false, false, true}).spaces, text::SpaceMode::Delete);
    EXPECT_EQ(app::DecidePrint({false, false, false, false}).spaces, text::SpaceMode::Keep);
}

TEST(PrintButton, FollowsWhatLastChangedWhateverTheMode) {
    const app::PrintButtonInputs empty{};
    const app::PrintButtonInputs mainText{true, false, false, false};
    const app::PrintButtonInputs separateOpen{false, false, true, false};
    const app::PrintButtonInputs picture{false, false, false, true};
    EXPECT_FALSE(PrintButtonEnabled(PrintButtonCause::Started, mainText));
    EXPECT_TRUE(PrintButtonEnabled(PrintButtonCause::TextModeChosen, separateOpen));
    EXPECT_FALSE(PrintButtonEnabled(PrintButtonCause::TextModeChosen, picture));
    EXPECT_TRUE(PrintButtonEnabled(PrintButtonCause::PictureModeChosen, picture));
    EXPECT_FALSE(PrintButtonEnabled(PrintButtonCause::PictureModeChosen, mainText));
    // Typing in picture mode enables it: only the edit box is consulted.
    EXPECT_TRUE(PrintButtonEnabled(PrintButtonCause::MainTextChanged, mainText));
    EXPECT_FALSE(PrintButtonEnabled(PrintButtonCause::MainTextChanged, separateOpen));
    EXPECT_TRUE(PrintButtonEnabled(PrintButtonCause::SeparateTextChanged, {false, true, true, false}));
    EXPECT_FALSE(PrintButtonEnabled(PrintButtonCause::SeparateTextChanged, mainText));
    EXPECT_TRUE(PrintButtonEnabled(PrintButtonCause::PictureLoaded, empty));
}

}  // namespace
