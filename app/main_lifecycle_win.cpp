// The main window's creation, close confirmation, end, and the end of the Windows session.
#include <memory>

#include "app/background_picture_win.h"
#include "app/main_window_win.h"
#include "app/page_setup_file_win.h"
#include "app/program_texts.h"
#include "app/program_win.h"
#include "app/resource_ids.h"
#include "app/resources_win.h"
#include "app/single_instance_win.h"
#include "picture/picture_object_win.h"
#include "ui/dialogs_win.h"
#include "ui/files_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace app {

Program::Program()
    : separateEdit({
          [this](bool open) { separateEditOpen = open; },
          [this](bool) {
              if (mainWindow != nullptr) {
                  UpdatePrintButton(*mainWindow, *this, PrintButtonCause::SeparateTextChanged);
              }
          },
      }),
      adjustWindow(*this) {}

// The exit routine: what the XML parser object holds goes with it.
Program::~Program() { xmlParser.Release(); }

void OnMainCreated(ui::EventArgs& event) {
    ui::Window& window = event.window;
    Program& program = event.Context<Program>();
    program.mainWindow = &window;
    program.singleInstance = EnsureSingleInstance(ui::ExecutableFileName(), true,
                                                  ui::Widen(alreadyRunningPrompt));
    window.SetTitle(ui::Widen(MainWindowTitle()));
    // Themed drawing comes from the application manifest (common controls 6).
    program.aboutCountdown = aboutCountdownStart;
    UpdatePrintButton(window, program, PrintButtonCause::Started);
    program.printer.SetOwner(window.Handle());
    program.trayIcon = std::make_unique<TrayIcon>(
        window.Handle(), picture::IconFromFileBytes(ResourceBytes(TRAY_ICON_RESOURCE)).icon,
        ui::Widen(trayTooltip));
    LoadOrWriteBackgroundPicture(window, program.document, ui::DataFolder());
    LoadPageSetupAtStart(window, program);
    program.docking.SetHoldOpen(true);
    program.docking.Start(window.Handle());
    OpenFiles(window, program, program.startFiles);
}

void OnMainCloseRequested(ui::EventArgs& event) {
    const int answer = ui::ShowMessage(ui::Widen(closeQuestion), ui::Widen(closeCaption),
                                       MB_OKCANCEL | MB_ICONQUESTION);
    // Text typed in the separate-edit window is kept or dropped by the user, never silently: a
    // failed save keeps the program open.
    event.refuse = answer != IDOK || !event.Context<Program>().separateEdit.Close();
}

void OnSessionEnding(ui::EventArgs& event) {
    event.Context<Program>().separateEdit.KeepForSessionEnd();
}

void OnMainDestroyed(ui::EventArgs& event) {
    Program& program = event.Context<Program>();
    program.printer.FinishJob();
    program.trayIcon.reset();
    program.mainWindow = nullptr;
    PostQuitMessage(0);
}

}  // namespace app
