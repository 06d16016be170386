#include "text/print_messages.h"

namespace text {
namespace {

constexpr std::string_view gap = "  ";
constexpr std::string_view fontSizeLabel = "( 字体大小：";
constexpr std::string_view deleteModeClosing = " ）";
constexpr std::string_view keepModeClosing = " )";

}  // namespace

std::string ResultMessage(const PrintOutcome& outcome, SpaceMode mode) {
    switch (outcome.end) {
    case device::PrintEnd::cancelled: return std::string(printCancelledMessage);
    case device::PrintEnd::failed: return device::FailureMessage(outcome.failureReason);
    case device::PrintEnd::busy: return std::string(device::printBusyMessage);
    case device::PrintEnd::aborted:
        return device::AbortedMessage(outcome.pagesPrinted, outcome.pageCount);
    case device::PrintEnd::printed: break;
    }
    std::string message =
        device::PrinterAndCopies(outcome.printerName, outcome.copies, outcome.copiesPrinted, gap);
    message += gap;
    message += fontSizeLabel;
    message += std::to_string(outcome.fontSize);
    message += mode == SpaceMode::Delete ? deleteModeClosing : keepModeClosing;
    return message;
}

std::string_view CharsPerLineProblem(int charsPerLine) {
    if (charsPerLine > mostCharsPerLine) return lineTooWideMessage;
    if (charsPerLine < fewestCharsPerLine) return lineTooNarrowMessage;
    return {};
}

}  // namespace text
