// PrintPictureJob: the main picture on one page, stretched over the printable area or at a
// size the user enters.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "app/adjust_window_win.h"
#include "app/main_window_win.h"
#include "app/program_win.h"
#include "picture/picture_job_texts.h"
#include "picture/picture_object_win.h"
#include "text/print_messages.h"
#include "ui/dialogs_win.h"
#include "ui/text_win.h"
#include "ui/timed_message_win.h"
#include "ui/window_win.h"

namespace app {
namespace {

// Asks for a whole number; nullopt when the user cancels.
std::optional<int> AskNumber(std::string_view prompt, std::string_view caption,
                             const std::wstring& initialText) {
    int value = 0;
    if (!ui::InputInteger(nullptr, ui::Widen(prompt), ui::Widen(caption), initialText, value)) {
        return std::nullopt;
    }
    return value;
}

void Warn(std::string_view message) {
    ui::ShowTimedMessage(ui::Widen(message), ui::promptCaption, MB_ICONINFORMATION);
}

// The status line while a sized picture is asked for and printed.
std::string PictureSizeMessage(device::PrinterObject& printer, const Program& program) {
    return picture::PictureSizeMessage(ui::Narrow(printer.GetPrinterName()),
                                       printer.Settings().Copies(), printer.CopiesPrinted(),
                                       program.printWidthPx, program.printHeightPx,
                                       program.printDpi);
}

// Where the picture's top-left corner goes: centred on the printable area when it fits, at its
// corner otherwise.
int CentredStart(int printable, int printed) { return std::max(0, (printable - printed) / 2); }

}  // namespace

std::optional<PreparedPicture> PreparePictureJob(ui::Window& main, Program& program) {
    device::PrinterObject& printer = program.printer;
    const auto status = [&main](const std::string& message) {
        SetStatusMessage(main, ui::Widen(message));
    };
    const auto cancelled = [&status] { status(std::string(text::printCancelledMessage)); };
    // A picture that does not decode would print as an empty page reported as printed. One that
    // ends early prints as far as it goes, as the picture box shows it.
    std::shared_ptr<const picture::PictureObject> picture = program.document.Picture();
    if (!picture) {
        status(std::string(picture::undecodableMessage));
        return std::nullopt;
    }
    PreparedPicture prepared;
    prepared.picture = std::move(picture);

    // A cancelled prompt cancels the command, as in the text job; a resolution below 1 would
    // divide by zero in the size message.
    const std::optional<int> dpi = AskNumber(picture::resolutionPrompt, picture::resolutionCaption,
                                             ui::Widen(picture::resolutionInitialText));
    if (!dpi) {
        cancelled();
        return std::nullopt;
    }
    program.printDpi = *dpi;
    if (*dpi <= 0) {
        Warn(picture::resolutionTooLowMessage);
        return std::nullopt;
    }

    prepared.bySize = ui::AskQuestion(ui::Widen(picture::adjustSizeQuestion), std::wstring_view());
    if (!prepared.bySize) return prepared;
    // One side, starting from the preview panel's; false when the command ends there.
    const auto askSide = [&](std::string_view prompt, std::string_view caption, int& side,
                             int start, std::string_view emptyMessage) {
        side = start;
        const std::optional<int> asked = AskNumber(prompt, caption, std::to_wstring(side));
        if (!asked) {
            cancelled();
            return false;
        }
        side = *asked;
        status(PictureSizeMessage(printer, program));
        // A negative size would mirror the picture off the page.
        if (side > 0) return true;
        Warn(emptyMessage);
        return false;
    };
    main.SetBold(statusBar, false);
    if (!askSide(picture::widthPrompt, picture::widthCaption, program.printWidthPx,
                 program.adjustWindow.PreviewWidth(), picture::widthEmptyMessage) ||
        !askSide(picture::heightPrompt, picture::heightCaption, program.printHeightPx,
                 program.adjustWindow.PreviewHeight(), picture::heightEmptyMessage)) {
        return std::nullopt;
    }
    prepared.width = program.printWidthPx;
    prepared.height = program.printHeightPx;
    return prepared;
}

void DrawPreparedPicture(const PreparedPicture& prepared, device::PrinterObject& printer) {
    const int width = prepared.bySize ? prepared.width : printer.PrintableWidth();
    const int height = prepared.bySize ? prepared.height : printer.PrintableHeight();
    const int left = CentredStart(printer.PrintableWidth(), width);
    const int top = CentredStart(printer.PrintableHeight(), height);
    printer.DrawPicture(prepared.picture.get(), left, top, width, height, 1);
}

void PrintPreparedPicture(ui::Window& main, Program& program, const PreparedPicture& prepared) {
    device::PrinterObject& printer = program.printer;
    const auto status = [&main](const std::string& message) {
        SetStatusMessage(main, ui::Widen(message));
    };
    printer.StartPrinting(true, true, device::PaperChoice{});
    if (prepared.bySize) {
        status(PictureSizeMessage(printer, program));
    } else {
        status(picture::DefaultPictureSizeMessage(ui::Narrow(printer.GetPrinterName()),
                                                  printer.Settings().Copies(),
                                                  printer.CopiesPrinted()));
    }
    DrawPreparedPicture(prepared, printer);

    if (printer.GetPrinterName().empty() && !printer.JobFailed()) {
        status(std::string(text::printCancelledMessage));
    }
    if (!printer.EndPrinting() || printer.JobFailed()) {
        status(std::string(text::printFailedMessage));
    }
}

void PrintPictureJob(ui::Window& main, Program& program) {
    if (const std::optional<PreparedPicture> prepared = PreparePictureJob(main, program)) {
        PrintPreparedPicture(main, program, *prepared);
    }
}

}  // namespace app
