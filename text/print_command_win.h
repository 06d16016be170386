// The print command of the main window and its text branch.
#pragma once

namespace ui {
class Window;
}

namespace text {

// An edit box whose text, font and colour are printed.
struct TextSource {
    ui::Window* window = nullptr;
    int editBox = 0;
};

// Prints the picture or the text the main window is set up for; with the separate-edit window
// open the user chooses which edit box's text is printed.
void PrintCommand();

// Asks for the bytes per line and prints the source's text with its font and colour.
void PrintTextJob(const TextSource& source);

}  // namespace text
