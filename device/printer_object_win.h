// The printer object: runs one print job at a time.
#pragma once

namespace device {

class PrinterObject {
public:
    bool JobRunning() const { return jobRunning_; }
    // Ends the open page and the document, so that the pages made so far are printed. Without a
    // running job nothing happens to the printer.
    void EndPrinting();
    // The same as EndPrinting: nothing already made is discarded.
    void CancelPrinting();

private:
    bool jobRunning_ = false;
};

// The main window's printer object (打印机1).
PrinterObject& MainPrinter();

}  // namespace device
