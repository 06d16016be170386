#include "text/print_text_job_win.h"

#include <string>
#include <vector>

#include "device/printer_object_win.h"
#include "text/chunk_text.h"
#include "text/delete_spaces.h"
#include "ui/dialogs_win.h"
#include "ui/text_win.h"
#include "ui/timed_message_win.h"
#include "ui/window_win.h"

namespace text {

void PrintTextJob(const TextJob& job, device::PrinterObject& printer, const StatusReport& report) {
    if (job.window == nullptr) return;
    const std::wstring text = job.window->Text(job.editBox);
    if (!job.textChosen || text.empty()) {
        report(ui::Widen(nothingToPrintWarning), true);
        return;
    }

    int charsPerLine = 0;
    if (!ui::InputInteger(nullptr, ui::Widen(charsPerLinePrompt), ui::Widen(charsPerLineCaption),
                          ui::Widen(charsPerLineInitialText), charsPerLine)) {
        report(ui::Widen(printCancelledMessage), false);
        return;
    }
    if (const std::string_view problem = CharsPerLineProblem(charsPerLine); !problem.empty()) {
        ui::ShowTimedMessage(ui::Widen(problem), ui::promptCaption, MB_ICONINFORMATION);
        return;
    }

    const ui::FontSpec font = job.window->ControlFont(job.editBox);
    printer.SetFontSize(font.pointSize);
    printer.SetFontFaceName(font.face);
    printer.Settings().textColor = job.window->TextColor(job.editBox);
    printer.StartPrinting(true, true, device::PaperChoice{});

    std::u16string printed = ui::ToUtf16(text);
    if (job.spaces == SpaceMode::Delete) printed = DeleteAllSpaces(printed);
    std::vector<std::wstring> lines;
    for (const std::u16string& line : ChunkText(printed, charsPerLine)) lines.push_back(ui::FromUtf16(line));
    printer.PrintTextLines(lines);

    PrintOutcome outcome{ui::Narrow(printer.GetPrinterName()), printer.Settings().Copies(),
                         printer.CopiesPrinted(), printer.FontSize()};
    if (!printer.EndPrinting() || printer.JobFailed()) outcome.failed = true;
    report(ui::Widen(ResultMessage(outcome, job.spaces)), false);
}

}  // namespace text
