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

std::optional<PreparedText> PrepareTextJob(const TextJob& job, const StatusReport& report) {
    if (job.window == nullptr) return std::nullopt;
    const std::wstring text = job.window->Text(job.editBox);
    if (!job.textChosen || text.empty()) {
        report(ui::Widen(nothingToPrintWarning), true);
        return std::nullopt;
    }

    int charsPerLine = 0;
    if (!ui::InputInteger(nullptr, ui::Widen(charsPerLinePrompt), ui::Widen(charsPerLineCaption),
                          ui::Widen(charsPerLineInitialText), charsPerLine)) {
        report(ui::Widen(printCancelledMessage), false);
        return std::nullopt;
    }
    if (const std::string_view problem = CharsPerLineProblem(charsPerLine); !problem.empty()) {
        ui::ShowTimedMessage(ui::Widen(problem), ui::promptCaption, MB_ICONINFORMATION);
        return std::nullopt;
    }

    const ui::FontSpec font = job.window->ControlFont(job.editBox);
    PreparedText prepared{{}, font.pointSize, font.face, job.window->TextColor(job.editBox), job.spaces};
    std::u16string printed = ui::ToUtf16(text);
    if (job.spaces == SpaceMode::Delete) printed = DeleteAllSpaces(printed);
    for (const std::u16string& line : ChunkText(printed, charsPerLine)) {
        prepared.lines.push_back(ui::FromUtf16(line));
    }
    return prepared;
}

void ApplyTextSettings(const PreparedText& text, device::PrinterObject& printer) {
    printer.SetFontSize(text.fontSize);
    printer.SetFontFaceName(text.fontFace);
    printer.Settings().textColor = text.colour;
}

void PrintPreparedText(const PreparedText& text, device::PrinterObject& printer,
                       const StatusReport& report) {
    ApplyTextSettings(text, printer);
    printer.StartPrinting(true, true, device::PaperChoice{});
    printer.PrintTextLines(text.lines);

    PrintOutcome outcome{ui::Narrow(printer.GetPrinterName()), printer.Settings().Copies(),
                         printer.CopiesPrinted(), printer.FontSize()};
    if (!printer.EndPrinting() || printer.JobFailed()) outcome.failed = true;
    report(ui::Widen(ResultMessage(outcome, text.spaces)), false);
}

void PrintTextJob(const TextJob& job, device::PrinterObject& printer, const StatusReport& report) {
    if (const std::optional<PreparedText> text = PrepareTextJob(job, report)) {
        PrintPreparedText(*text, printer, report);
    }
}

}  // namespace text
