// The text branch of the print command: one edit box's text on paper, in its font and colour.
#pragma once

#include <functional>
#include <string_view>

#include "text/print_messages.h"

namespace ui {
class Window;
}

namespace device {
class PrinterObject;
}

namespace text {

// What is printed, as the window that asks for it has it set up.
struct TextJob {
    ui::Window* window = nullptr;  // whose edit box is printed
    int editBox = 0;
    bool textChosen = false;  // the text option is ticked
    SpaceMode spaces = SpaceMode::Keep;
};

// Where the job tells the user how it went: the status bar; bold for a warning.
using StatusReport = std::function<void(std::wstring_view message, bool bold)>;

// Asks for the bytes per line and prints the edit box's text with its font and colour.
void PrintTextJob(const TextJob& job, device::PrinterObject& printer, const StatusReport& report);

}  // namespace text
