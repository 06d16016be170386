// What the main window's print button does, and when it can be pressed, decided from what the
// window shows; no window needed.
#pragma once

#include "text/print_messages.h"

namespace app {

// The main window as the print command sees it.
struct PrintInputs {
    bool pictureChosen = false;    // the picture option is ticked
    bool pictureLoaded = false;    // the picture box holds picture data
    bool separateEditOpen = false;
    bool deleteSpaces = false;     // the delete-spaces option is ticked
};

enum class PrintChoice {
    Picture,        // the picture box's picture
    MainText,       // the main edit box's text
    AskWhichText,   // the user picks the separate-edit window's text or the main text
    NothingToPrint, // picture mode without a picture while the separate-edit window is open
};

struct PrintPlan {
    PrintChoice choice = PrintChoice::MainText;
    text::SpaceMode spaces = text::SpaceMode::Keep;
};

PrintPlan DecidePrint(const PrintInputs& inputs);

// What last changed the print button's state; the last change decides it.
enum class PrintButtonCause {
    Started,              // the main window was created
    TextModeChosen,
    PictureModeChosen,
    MainTextChanged,
    SeparateTextChanged,
    PictureLoaded,        // the find button loaded a picture file
};

struct PrintButtonInputs {
    bool mainHasText = false;
    bool separateHasText = false;
    bool separateEditOpen = false;
    bool pictureLoaded = false;
};

bool PrintButtonEnabled(PrintButtonCause cause, const PrintButtonInputs& inputs);

}  // namespace app
