#include "device/print_progress_win.h"

#include <algorithm>
#include <array>
#include <string>

#include "device/device_texts.h"
#include "ui/dialog_template_win.h"
#include "ui/window_placement_win.h"

namespace device {
namespace {

constexpr const wchar_t* title = progressTitle;

enum Row { documentRow, destinationRow, copiesRow, pageRow, rowCount };
constexpr const std::array<const wchar_t*, rowCount>& labels = progressLabels;
constexpr WORD firstLabelId = 100;
constexpr WORD firstValueId = 110;

// Dialog units.
constexpr short dialogWidth = 220;
constexpr short margin = 7;
constexpr short labelWidth = 56;
constexpr short rowHeight = 10;
constexpr short rowPitch = 14;
constexpr short buttonWidth = 60;
constexpr short buttonHeight = 15;
constexpr short buttonTop = margin + rowCount * rowPitch + 4;
constexpr short dialogHeight = buttonTop + buttonHeight + margin;

WORD ValueId(Row row) { return static_cast<WORD>(firstValueId + row); }

}  // namespace

std::wstring PrinterDestination(const std::wstring& device, const std::wstring& port) {
    return device + destinationJoint + port;
}

std::unique_ptr<PrintProgressDialog> PrintProgressDialog::Show(HWND owner, const Lines& lines,
                                                               std::function<void()> onAbort) {
    ui::DialogTemplate layout(WS_POPUP | WS_CAPTION, dialogWidth, dialogHeight);
    const short valueLeft = margin + labelWidth;
    const short valueWidth = dialogWidth - valueLeft - margin;
    for (int row = 0; row < rowCount; ++row) {
        const short top = static_cast<short>(margin + row * rowPitch);
        layout.AddItem(ui::staticClass, SS_LEFT | SS_NOPREFIX, margin, top, labelWidth, rowHeight,
                       static_cast<WORD>(firstLabelId + row), labels[row]);
        layout.AddItem(ui::staticClass, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, valueLeft, top,
                       valueWidth, rowHeight, ValueId(static_cast<Row>(row)), L"");
    }
    layout.AddItem(ui::buttonClass, BS_DEFPUSHBUTTON | WS_TABSTOP,
                   (dialogWidth - buttonWidth) / 2, buttonTop, buttonWidth, buttonHeight, IDCANCEL,
                   abortCaption);

    std::unique_ptr<PrintProgressDialog> progress(new PrintProgressDialog);
    progress->onAbort_ = std::move(onAbort);
    progress->dialog_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), layout.get(), owner,
                                                   Procedure,
                                                   reinterpret_cast<LPARAM>(progress.get()));
    if (progress->dialog_ == nullptr) return nullptr;

    HWND dialog = progress->dialog_;
    SetWindowTextW(dialog, title);
    SetDlgItemTextW(dialog, ValueId(documentRow), lines.documentName.c_str());
    SetDlgItemTextW(dialog, ValueId(destinationRow), lines.destination.c_str());
    SetDlgItemInt(dialog, ValueId(copiesRow), static_cast<UINT>(lines.copiesPrinted), FALSE);
    SetDlgItemInt(dialog, ValueId(pageRow), static_cast<UINT>(lines.pageNumber), FALSE);

    ui::CentreOnScreen(dialog);
    ShowWindow(dialog, SW_SHOW);
    progress->DisableOtherWindows();
    return progress;
}

PrintProgressDialog::~PrintProgressDialog() {
    // Enabled again before the dialog goes, so that the activation returns to the program.
    for (HWND window : disabled_) {
        if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    if (dialog_ != nullptr) {
        SetWindowLongPtrW(dialog_, DWLP_USER, 0);
        DestroyWindow(dialog_);
    }
}

void PrintProgressDialog::SetPageNumber(int pageNumber) {
    SetDlgItemInt(dialog_, ValueId(pageRow), static_cast<UINT>(pageNumber), FALSE);
}

void PrintProgressDialog::Repaint() {
    RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

namespace {

struct WindowWalk {
    HWND keep;
    std::vector<HWND>* enabled;
};

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM context) {
    auto* walk = reinterpret_cast<WindowWalk*>(context);
    if (window != walk->keep && IsWindowEnabled(window)) walk->enabled->push_back(window);
    return TRUE;
}

}  // namespace

void PrintProgressDialog::DisableOtherWindows() {
    WindowWalk walk{dialog_, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&walk));
    for (HWND window : disabled_) EnableWindow(window, FALSE);
}

INT_PTR CALLBACK PrintProgressDialog::Procedure(HWND dialog, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        auto* progress = reinterpret_cast<PrintProgressDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        // The abort may destroy this dialog: nothing of it is touched afterwards.
        if (progress != nullptr && progress->onAbort_) {
            std::function<void()> abort = progress->onAbort_;
            abort();
        }
        return TRUE;
    }
    return FALSE;
}

}  // namespace device
