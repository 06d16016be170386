// The main window's small commands: print mode, space options, the print button's state,
// context menus, the tray icon and the stop and cancel buttons.
#include "app/main_window_win.h"
#include "app/program_state_win.h"
#include "device/printer_object_win.h"
#include "text/print_command_win.h"
#include "ui/window_win.h"

namespace app {
namespace {

constexpr wchar_t printTextCaption[] = L"打印文本";
constexpr wchar_t printPictureCaption[] = L"打印图片";
constexpr wchar_t stoppedMessage[] = L"停止打印";
constexpr wchar_t cancelledMessage[] = L"取消打印";

// Context menus open a little below and right of the cursor; the tray menu right-aligned,
// a little above and left of it.
constexpr int contextMenuOffset = 3;
constexpr int trayMenuOffset = 5;

enum TrayAction { trayNothing = 0, trayClick = 1, trayDoubleClick = 2, trayMenu = 3 };

TrayAction TrayActionOf(int mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONUP: return trayClick;
    case WM_LBUTTONDBLCLK: return trayDoubleClick;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: return trayMenu;
    default: return trayNothing;
    }
}

bool EditBoxHasText(const ui::Window& window) {
    return GetWindowTextLengthW(window.Control(editBox)) > 0;
}

void ShowContextMenu(ui::EventArgs& event, int menu) {
    event.window.ShowPopupMenu(
        menu, {event.screen.x + contextMenuOffset, event.screen.y + contextMenuOffset});
}

}  // namespace

void ChooseTextMode(ui::EventArgs& event) {
    ui::Window& window = event.window;
    window.SetEnabled(deleteSpacesOption, true);
    window.SetEnabled(keepSpacesOption, true);
    window.SetChecked(deleteSpacesOption, false);
    window.SetChecked(keepSpacesOption, true);
    window.SetChecked(textOption, true);
    window.SetChecked(pictureOption, false);
    window.SetText(printButton, printTextCaption);
    window.SetEnabled(printButton, EditBoxHasText(window) || separateEditOpen != nullptr);
}

void ChoosePictureMode(ui::EventArgs& event) {
    ui::Window& window = event.window;
    window.SetChecked(deleteSpacesOption, false);
    window.SetChecked(keepSpacesOption, false);
    window.SetEnabled(deleteSpacesOption, false);
    window.SetEnabled(keepSpacesOption, false);
    window.SetChecked(textOption, false);
    window.SetChecked(pictureOption, true);
    window.SetText(printButton, printPictureCaption);
    window.SetEnabled(printButton, !window.PictureBytes(pictureBox).empty());
}

void OnDeleteSpacesClicked(ui::EventArgs& event) {
    event.window.SetChecked(deleteSpacesOption, true);
    event.window.SetChecked(keepSpacesOption, false);
}

void OnKeepSpacesClicked(ui::EventArgs& event) {
    event.window.SetChecked(keepSpacesOption, true);
    event.window.SetChecked(deleteSpacesOption, false);
}

void OnEditChanged(ui::EventArgs& event) {
    event.window.SetEnabled(printButton, EditBoxHasText(event.window));
}

void OnEditRightButton(ui::EventArgs& event) { ShowContextMenu(event, editMenu); }

void OnPictureRightButton(ui::EventArgs& event) { ShowContextMenu(event, pictureMenu); }

void OnTrayNotify(ui::EventArgs& event) {
    HWND window = event.window.Handle();
    switch (TrayActionOf(event.code)) {
    case trayDoubleClick:
        ShowWindow(window, IsWindowVisible(window) ? SW_HIDE : SW_SHOW);
        break;
    case trayMenu:
        // Without the foreground the tray menu would not close when the user clicks elsewhere.
        SetForegroundWindow(window);
        event.window.ShowPopupMenu(
            mainMenu, {event.screen.x - trayMenuOffset, event.screen.y - trayMenuOffset},
            TPM_RIGHTALIGN | TPM_TOPALIGN);
        PostMessageW(window, WM_NULL, 0, 0);
        break;
    case trayClick:
    case trayNothing: break;
    }
}

void OnPrintClicked(ui::EventArgs&) { text::PrintCommand(); }

void OnStopClicked(ui::EventArgs&) {
    EmphasizeButton(stopButton);
    device::MainPrinter().EndPrinting();
    SetStatusMessage(stoppedMessage);
}

void OnCancelClicked(ui::EventArgs&) {
    EmphasizeButton(cancelButton);
    device::MainPrinter().CancelPrinting();
    SetStatusMessage(cancelledMessage);
}

}  // namespace app
