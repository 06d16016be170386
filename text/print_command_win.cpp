#include "text/print_command_win.h"

#include <string>

#include "app/main_window_win.h"
#include "app/program_state_win.h"
#include "app/window_helpers_win.h"
#include "device/printer_object_win.h"
#include "picture/picture_commands_win.h"
#include "text/chunk_text.h"
#include "text/delete_spaces.h"
#include "text/print_messages.h"
#include "text/separate_edit_description.h"
#include "text/separate_edit_win.h"
#include "ui/dialogs_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace text {
namespace {

void ShowWarning(std::string_view message) {
    app::SetStatusBold(true);
    app::SetStatusMessage(ui::Widen(message));
}

void ShowRangeMessage(std::string_view message) {
    app::ShowTimedMessage(ui::Widen(message), ui::Widen(timedMessageCaption), MB_ICONINFORMATION);
}

bool PictureChosenAndLoaded(const ui::Window& main, bool& pictureChosen) {
    pictureChosen = main.Checked(app::pictureOption);
    return pictureChosen && !main.PictureBytes(app::pictureBox).empty();
}

}  // namespace

void PrintCommand() {
    ui::Window* main = app::MainWindow();
    if (main == nullptr) return;
    app::EmphasizeButton(app::printButton);

    bool pictureChosen = false;
    const bool pictureReady = PictureChosenAndLoaded(*main, pictureChosen);
    ui::Window* separate = app::separateEditOpen != nullptr ? SeparateEditWindow() : nullptr;
    if (separate != nullptr) {
        if (!pictureChosen) {
            const bool printSeparate =
                ui::AskQuestion(ui::Widen(separateTextQuestion), std::wstring_view());
            PrintTextJob(printSeparate ? TextSource{separate, separateEditBox}
                                       : TextSource{main, app::editBox});
        } else if (pictureReady) {
            picture::PrintPictureJob();
        } else {
            // Nothing to print; only a progress dialog left over from a broken job is closed.
            device::MainPrinter().EndPrinting();
        }
    } else if (pictureReady) {
        picture::PrintPictureJob();
    } else {
        PrintTextJob({main, app::editBox});
    }
    ui::ProcessPendingMessages();
}

void PrintTextJob(const TextSource& source) {
    ui::Window* main = app::MainWindow();
    if (main == nullptr || source.window == nullptr) return;
    const std::wstring text = source.window->Text(source.editBox);
    if (!main->Checked(app::textOption) || text.empty()) {
        ShowWarning(nothingToPrintWarning);
        return;
    }

    int charsPerLine = 0;
    if (!ui::InputInteger(nullptr, ui::Widen(charsPerLinePrompt), ui::Widen(charsPerLineCaption),
                          ui::Widen(charsPerLineInitialText), charsPerLine)) {
        app::SetStatusBold(false);
        app::SetStatusMessage(ui::Widen(printCancelledMessage));
        return;
    }
    if (charsPerLine > mostCharsPerLine) {
        ShowRangeMessage(lineTooWideMessage);
        return;
    }
    if (charsPerLine < fewestCharsPerLine) {
        ShowRangeMessage(lineTooNarrowMessage);
        return;
    }

    device::PrinterObject& printer = device::MainPrinter();
    const ui::FontSpec font = source.window->ControlFont(source.editBox);
    printer.SetFontSize(font.pointSize);
    printer.SetFontFaceName(font.face);
    printer.Settings().textColor = source.window->TextColor(source.editBox);
    printer.StartPrinting(true, true, device::PaperChoice{});

    const SpaceMode mode =
        main->Checked(app::deleteSpacesOption) ? SpaceMode::Delete : SpaceMode::Keep;
    app::SetStatusBold(false);
    std::string gbk = ui::ToGbk(text);
    if (mode == SpaceMode::Delete) gbk = DeleteAllSpaces(gbk);
    for (const std::string& chunk : ChunkText(gbk, charsPerLine)) printer.PrintTextLines(chunk);

    const PrintOutcome outcome{ui::Narrow(printer.GetPrinterName()), printer.Settings().Copies(),
                               printer.CopiesPrinted(), printer.FontSize()};
    app::SetStatusMessage(ui::Widen(ResultMessage(outcome, mode)));
    printer.EndPrinting();
}

}  // namespace text
