// The text branch of the print command: one edit box's text on paper, in its font and colour.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// A text job with its question answered: the lines as they go onto paper, and the edit box's
// font and colour.
struct PreparedText {
    std::vector<std::wstring> lines;
    int fontSize = 0;  // points
    std::wstring fontFace;
    COLORREF colour = 0;
    SpaceMode spaces = SpaceMode::Keep;
};

// Asks for the bytes per line and cuts the edit box's text into lines; nothing when there is
// nothing to print, the box was cancelled or the number refused (the user has been told).
std::optional<PreparedText> PrepareTextJob(const TextJob& job, const StatusReport& report);
// The text's font and colour for the printer object; a job started afterwards uses them.
void ApplyTextSettings(const PreparedText& text, device::PrinterObject& printer);
// Prints a prepared text through the print dialog and reports the outcome.
void PrintPreparedText(const PreparedText& text, device::PrinterObject& printer,
                       const StatusReport& report);
// Asks for the bytes per line and prints the edit box's text with its font and colour.
void PrintTextJob(const TextJob& job, device::PrinterObject& printer, const StatusReport& report);

}  // namespace text
