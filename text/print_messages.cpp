#include "text/print_messages.h"

namespace text {
namespace {

constexpr std::string_view gap = "  ";
constexpr std::string_view copiesLabel = "打印份数：";
constexpr std::string_view printingLabel = "正在打印：";
constexpr std::string_view fontSizeLabel = "( 字体大小：";
constexpr std::string_view deleteModeClosing = " ）";
constexpr std::string_view keepModeClosing = " )";

}  // namespace

std::string ResultMessage(const PrintOutcome& outcome, SpaceMode mode) {
    if (outcome.failed) return std::string(printFailedMessage);
    if (outcome.printerName.empty()) return std::string(printCancelledMessage);
    std::string message = outcome.printerName;
    message += gap;
    message += copiesLabel;
    message += std::to_string(outcome.copies);
    message += gap;
    message += printingLabel;
    message += std::to_string(outcome.copiesPrinted);
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
