#include "text/print_text_job_win.h"

#include <string>
#include <utility>
#include <vector>

#include "text/chunk_text.h"
#include "text/delete_spaces.h"
#include "text/page_fields.h"
#include "ui/date_time_win.h"
#include "ui/dialogs_win.h"
#include "ui/edit_box_win.h"
#include "ui/files_win.h"
#include "ui/text_win.h"
#include "ui/timed_message_win.h"
#include "ui/window_win.h"

namespace text {
namespace {

// The words of a header or a footer on one page.
device::PageBand BandOf(const HeaderFooter& fields, const FieldValues& values) {
    return {ExpandFields(fields.left, values), ExpandFields(fields.centre, values),
            ExpandFields(fields.right, values)};
}

device::TextPlanRequest RequestFor(const PreparedText& text, const TextLines& lines) {
    device::TextPlanRequest request;
    request.lines = lines.lines;
    const PageSetup* setup = text.setup;
    if (setup == nullptr) return request;
    if (setup->lineNumbers) request.numbers = lines.numbers;
    request.header = !setup->header.Empty();
    request.footer = !setup->footer.Empty();
    if (request.header || request.footer) {
        FieldValues values{text.fileName, 0, 0, ui::ShortDate(), ui::ShortTime()};
        request.bands = [header = setup->header, footer = setup->footer, values](
                            int page, int pageCount) mutable {
            values.page = page;
            values.pageCount = pageCount;
            return device::PageBands{BandOf(header, values), BandOf(footer, values)};
        };
    }
    return request;
}

}  // namespace

TextLines LinesOf(const std::wstring& text, int charsPerLine, SpaceMode spaces, int firstNumber) {
    std::u16string printed = ui::ToUtf16(text);
    if (spaces == SpaceMode::Delete) printed = DeleteAllSpaces(printed);
    TextLines lines;
    std::vector<NumberedLine> numbered = ChunkNumbered(printed, charsPerLine);
    lines.lines.reserve(numbered.size());
    lines.numbers.reserve(numbered.size());
    for (NumberedLine& line : numbered) {
        lines.lines.push_back(std::move(line.text));
        lines.numbers.push_back(line.number > 0 ? line.number + firstNumber - 1 : 0);
    }
    return lines;
}

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
                          font.face, job.window->TextColor(job.editBox), job.spaces, job.setup,
                          job.fileName};
    // The selection is laid out from its own first character, as if it were the whole text.
    const ui::Selection selection = ui::SelectionOf(job.window->Control(job.editBox));
    if (selection.end > selection.start && selection.end <= text.size()) {
        const std::wstring_view before = std::wstring_view(text).substr(0, selection.start);
        prepared.selection =
            LinesOf(text.substr(selection.start, selection.end - selection.start), charsPerLine,
                    job.spaces, LineNumberAt(ui::ToUtf16(before)));
    }
    return prepared;
}

void ApplyTextSettings(const PreparedText& text, device::PrinterObject& printer) {
    printer.SetFontSize(text.fontSize);
    printer.SetFontFaceName(text.fontFace);
    printer.Settings().textColor = text.colour;
}

device::PaperChoice PaperFor(const PageSetup& setup) {
    device::PaperChoice paper;
    paper.orientation = setup.landscape ? 1 : 0;
    paper.paperNumber = setup.paperSize;
    return paper;
}

device::LayOut TextLayOut(std::shared_ptr<const PreparedText> text, device::PrinterObject& printer,
                          bool selection) {
    return [text = std::move(text), &printer, selection](HDC dc, const device::PaperSpec& paper) {
        const TextLines& lines = selection && text->selection ? *text->selection : text->lines;
        return printer.PlanTextLines(dc, paper, RequestFor(*text, lines));
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
    if (text->setup != nullptr) request.paper = PaperFor(*text->setup);
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
