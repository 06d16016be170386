#include "text/print_text_job_win.h"

#include <string>
#include <utility>
#include <vector>

#include "text/chunk_text.h"
#include "text/delete_spaces.h"
#include "ui/dialogs_win.h"
#include "ui/edit_box_win.h"
#include "ui/files_win.h"
#include "ui/text_win.h"
#include "ui/timed_message_win.h"
#include "ui/window_win.h"

namespace text {
namespace {

std::vector<std::u16string> LinesOf(const std::wstring& text, int charsPerLine, SpaceMode spaces) {
    std::u16string printed = ui::ToUtf16(text);
    if (spaces == SpaceMode::Delete) printed = DeleteAllSpaces(printed);
    return ChunkText(printed, charsPerLine);
}

}  // namespace

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
    PreparedText prepared{LinesOf(text, charsPerLine, job.spaces), std::nullopt, font.pointSize,
                          font.face, job.window->TextColor(job.editBox), job.spaces};
    // The selection is laid out from its own first character, as if it were the whole text.
    if (const std::wstring selected = ui::SelectedText(job.window->Control(job.editBox));
        !selected.empty()) {
        prepared.selection = LinesOf(selected, charsPerLine, job.spaces);
    }
    return prepared;
}

void ApplyTextSettings(const PreparedText& text, device::PrinterObject& printer) {
    printer.SetFontSize(text.fontSize);
    printer.SetFontFaceName(text.fontFace);
    printer.Settings().textColor = text.colour;
}

device::LayOut TextLayOut(std::shared_ptr<const PreparedText> text, device::PrinterObject& printer,
                          bool selection) {
    return [text = std::move(text), &printer, selection](HDC dc, const device::PaperSpec& paper) {
        return printer.PlanTextLines(dc, paper,
                                     selection && text->selection ? *text->selection : text->lines);
    };
}

void PrintPreparedText(std::shared_ptr<const PreparedText> text, device::PrinterObject& printer,
                       const StatusReport& report, std::shared_ptr<const device::PagePlan> planned,
                       int presetPage) {
    ApplyTextSettings(*text, printer);
    device::PrintRequest request;
    request.layOut = TextLayOut(text, printer);
    if (text->selection) request.layOutSelection = TextLayOut(text, printer, true);
    request.offerPageRange = true;
    request.presetPage = presetPage;
    request.planned = std::move(planned);
    request.done = [report, spaces = text->spaces, fontSize = printer.FontSize()](
                       const device::PrintResult& result) {
        PrintOutcome outcome{ui::Narrow(result.printer), result.copies, 1, fontSize};
        outcome.end = result.end;
        outcome.pagesPrinted = result.pagesPrinted;
        outcome.pageCount = result.pageCount;
        if (result.end == device::PrintEnd::failed) {
            outcome.failureReason = ui::Narrow(ui::SystemErrorText(result.error));
        }
        report(ui::Widen(ResultMessage(outcome, spaces)), false);
    };
    printer.Print(std::move(request));
}

void PrintTextJob(const TextJob& job, device::PrinterObject& printer, const StatusReport& report) {
    if (std::optional<PreparedText> text = PrepareTextJob(job, report)) {
        PrintPreparedText(std::make_shared<const PreparedText>(std::move(*text)), printer, report);
    }
}

}  // namespace text
