// The dialog shown while a job prints: what prints where, the copy and page being made, and a
// button that aborts the job. While it is up the program's other windows take no input.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace device {

class PrintProgressDialog {
public:
    struct Lines {
        std::wstring documentName;
        std::wstring destination;
        int copiesPrinted = 1;
        int pageNumber = 1;
    };

    // Shows the dialog and disables every other enabled top-level window of this thread.
    // onAbort runs when the user presses the abort button; it may destroy the dialog.
    static std::unique_ptr<PrintProgressDialog> Show(HWND owner, const Lines& lines,
                                                     std::function<void()> onAbort);

    PrintProgressDialog(const PrintProgressDialog&) = delete;
    PrintProgressDialog& operator=(const PrintProgressDialog&) = delete;
    // Enables the windows it disabled again and closes the dialog.
    ~PrintProgressDialog();

    HWND Handle() const { return dialog_; }
    void SetPageNumber(int pageNumber);
    void Repaint();

private:
    PrintProgressDialog() = default;
    void DisableOtherWindows();
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    HWND dialog_ = nullptr;
    std::function<void()> onAbort_;
    std::vector<HWND> disabled_;
};

// "%s 上的 %s": where a job prints when it goes to a printer.
std::wstring PrinterDestination(const std::wstring& device, const std::wstring& port);

}  // namespace device
