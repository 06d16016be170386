#include "device/device_texts.h"

namespace device {
namespace {

constexpr std::string_view copiesLabel = "打印份数：";
constexpr std::string_view printingLabel = "正在打印：";

}  // namespace

std::string FailureMessage(std::string_view reason) {
    std::string message(printFailedMessage);
    if (!reason.empty()) {
        message += "：";
        message += reason;
    }
    return message;
}

std::string AbortedMessage(std::size_t printed, std::size_t count) {
    return "已中止打印：打印了 " + std::to_string(printed) + " 页，共 " + std::to_string(count) +
           " 页";
}

std::string PrinterAndCopies(std::string_view printerName, int copies, int copiesPrinted,
                             std::string_view gap) {
    std::string message(printerName);
    message += gap;
    message += copiesLabel;
    message += std::to_string(copies);
    message += gap;
    message += printingLabel;
    message += std::to_string(copiesPrinted);
    return message;
}

}  // namespace device
