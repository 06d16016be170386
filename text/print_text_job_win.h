// The text branch of the print command: one edit box's text on paper, in its font and colour.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/printer_object_win.h"
#include "text/page_setup.h"
#include "text/print_messages.h"

namespace ui {
class Window;
}

namespace text {

// What is printed, as the window that asks for it has it set up.
struct TextJob {
    ui::Window* window = nullptr;  // whose edit box is printed
    int editBox = 0;
    bool textChosen = false;  // the text option is ticked
    SpaceMode spaces = SpaceMode::Keep;
    // The page setup in use when the text is laid out (the preview may change it between two
    // layouts); none: plain pages. fileName is the text's file for "&f", empty when it has none.
    const PageSetup* setup = nullptr;
    std::u16string fileName;
};

// Where the job tells the user how it went: the status bar; bold for a warning.
using StatusReport = std::function<void(std::wstring_view message, bool bold)>;

// Printed lines with the numbers of the text's own lines they start (0 for the pieces that
// continue one).
struct TextLines {
    std::vector<std::u16string> lines;
    std::vector<int> numbers;
};

// A text cut into printed lines of charsPerLine bytes, its spaces kept or deleted. A part of a
// text is numbered as the whole: firstNumber is the number of the line it starts in.
TextLines LinesOf(const std::wstring& text, int charsPerLine, SpaceMode spaces, int firstNumber = 1);

// A text job with its question answered: the lines as they go onto paper, those of the
// selection when part of the text is selected, the edit box's font and colour, and how the
// pages are set up.
struct PreparedText {
    TextLines lines;
    std::optional<TextLines> selection;
    int fontSize = 0;  // points
    std::wstring fontFace;
    COLORREF colour = 0;
    SpaceMode spaces = SpaceMode::Keep;
    const PageSetup* setup = nullptr;
    std::u16string fileName;
};

// The paper and orientation a page setup asks of the printer.
device::PaperChoice PaperFor(const PageSetup& setup);

// Asks for the bytes per line and cuts the edit box's text into lines; nothing when there is
// nothing to print, the box was cancelled or the number refused (the user has been told).
std::optional<PreparedText> PrepareTextJob(const TextJob& job, const StatusReport& report);
// The text's font and colour for the printer object; a plan laid out afterwards uses them.
void ApplyTextSettings(const PreparedText& text, device::PrinterObject& printer);
// How the text's lines are laid out on a printer's paper.
device::LayOut TextLayOut(std::shared_ptr<const PreparedText> text, device::PrinterObject& printer,
                          bool selection = false);
// Prints a prepared text through the print dialog, which offers a page range and, when part of
// the text is selected, the selection; the outcome is reported once the job has ended. The
// preview passes its plan and the page it shows when "打印本页" asks for that page alone.
void PrintPreparedText(std::shared_ptr<const PreparedText> text, device::PrinterObject& printer,
                       const StatusReport& report,
                       std::shared_ptr<const device::PagePlan> planned = nullptr,
                       int presetPage = 0);
// Asks for the bytes per line and prints the edit box's text with its font and colour.
void PrintTextJob(const TextJob& job, device::PrinterObject& printer, const StatusReport& report);

}  // namespace text
