#include "device/printer_object_win.h"

namespace device {

void PrinterObject::EndPrinting() { jobRunning_ = false; }

void PrinterObject::CancelPrinting() { EndPrinting(); }

PrinterObject& MainPrinter() {
    static PrinterObject printer;
    return printer;
}

}  // namespace device
