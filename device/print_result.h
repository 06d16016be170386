// How a print went, and the texts that tell the user.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace device {

enum class PrintEnd {
    cancelled,  // the user cancelled the print dialog or the print-to-file dialog
    failed,     // the printer could not be opened, or refused the document or a page
    printed,
    aborted,    // the user stopped it: the pages printed so far are on paper
    busy,       // another job was still printing: nothing was asked or printed
};

struct PrintResult {
    PrintEnd end = PrintEnd::cancelled;
    std::wstring printer;       // the device name, once a printer was chosen
    unsigned long error = 0;    // when failed: the reason Windows gave
    std::size_t pagesPrinted = 0;
    std::size_t pageCount = 0;  // pages the job was to print
    int copies = 1;
};

inline constexpr std::string_view printCancelledMessage = "取消打印";
inline constexpr std::string_view printFailedMessage = "打印失败";
inline constexpr std::string_view printBusyMessage = "正在打印，请等这份打印完再打印";

// "打印失败", with the reason after a colon when there is one.
std::string FailureMessage(std::string_view reason);
// The pages a stopped job printed, out of those it was to print.
std::string AbortedMessage(std::size_t printed, std::size_t count);
// The printer name, then the copies asked for and the copy printing, each after a gap of the
// given spaces: how every result message starts.
std::string PrinterAndCopies(std::string_view printerName, int copies, int copiesPrinted,
                             std::string_view gap);

}  // namespace device
