// The main window's creation, close confirmation and end.
#include <memory>

#include "app/background_picture_win.h"
#include "app/edge_docking_win.h"
#include "app/main_window_win.h"
#include "app/program_files_win.h"
#include "app/program_state_win.h"
#include "app/program_texts.h"
#include "app/resource_ids.h"
#include "app/resources_win.h"
#include "app/single_instance_win.h"
#include "app/tray_icon_win.h"
#include "device/printer_object_win.h"
#include "text/separate_edit_win.h"
#include "ui/dialogs_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace app {
namespace {

std::unique_ptr<TrayIcon> trayIcon;

}  // namespace

void OnMainCreated(ui::EventArgs& event) {
    ui::Window& window = event.window;
    SetMainWindow(&window);
    EnsureSingleInstance(ExecutableFileName(), true, ui::Widen(alreadyRunningPrompt));
    window.SetTitle(ui::Widen(MainWindowTitle()));
    // Themed drawing comes from the application manifest (common controls 6).
    aboutCountdown = aboutCountdownStart;
    window.SetEnabled(printButton, false);
    device::MainPrinter().SetOwner(window.Handle());
    trayIcon = std::make_unique<TrayIcon>(
        window.Handle(), IconFromFileBytes(ResourceBytes(TRAY_ICON_RESOURCE)),
        ui::Widen(trayTooltip));
    LoadOrWriteBackgroundPicture(window, ProgramDirectory());
    SetDockingHoldOpen(true);
    StartEdgeDocking(window.Handle());
}

void OnMainCloseRequested(ui::EventArgs& event) {
    const int answer = ui::ShowMessage(ui::Widen(closeQuestion), ui::Widen(closeCaption),
                                       MB_OKCANCEL | MB_ICONQUESTION);
    event.refuse = answer != IDOK;
    // Text typed in the separate-edit window is kept or dropped by the user, never silently.
    if (!event.refuse) text::CloseSeparateEdit();
}

void OnMainDestroyed(ui::EventArgs&) {
    device::MainPrinter().EndPrinting();
    trayIcon.reset();
    SetMainWindow(nullptr);
    PostQuitMessage(0);
}

}  // namespace app
