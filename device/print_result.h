// How a print went.
#pragma once

#include <cstddef>
#include <string>

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

}  // namespace device
