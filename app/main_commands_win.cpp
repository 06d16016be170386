// The main window's commands: print mode, space options, the print button, context menus and
// the edit box's menu, the tray icon, the stop and cancel buttons, and opening other windows.
#include "app/main_window_win.h"
#include "app/explorer_menu_win.h"
#include "app/program_texts.h"
#include "app/print_preview_win.h"
#include "app/program_win.h"
#include "app/update_check_win.h"
#include "device/device_texts.h"
#include "picture/picture_job_texts.h"
#include "text/print_text_job_win.h"
#include "text/separate_edit_description.h"
#include "ui/dialogs_win.h"
#include "ui/edit_box_win.h"
#include "ui/files_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace app {
namespace {

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

Program& ProgramOf(ui::EventArgs& event) { return event.Context<Program>(); }

void ShowContextMenu(ui::EventArgs& event, int menu) {
    event.window.ShowPopupMenu(
        menu, {event.screen.x + contextMenuOffset, event.screen.y + contextMenuOffset});
}

void PrintText(ui::Window& main, Program& program, ui::Window& source, int edit,
               text::SpaceMode spaces, bool preview) {
    const text::TextJob job{&source, edit, main.Checked(textOption), spaces, &program.pageSetup,
                            program.textFileName};
    if (preview) return PreviewText(main, program, job);
    text::PrintTextJob(job, program.printer, [&main](std::wstring_view message, bool bold) {
        SetStatusMessage(main, message, bold);
    });
}

// The print command and the preview command ask alike: what they print, and from where.
void PrintOrPreview(ui::Window& main, Program& program, bool preview) {
    const PrintPlan plan = DecidePrint({main.Checked(pictureOption),
                                        program.document.HasPicture(),
                                        program.separateEditOpen,
                                        main.Checked(deleteSpacesOption)});
    ui::Window* separate = program.separateEdit.Window();
    switch (plan.choice) {
    case PrintChoice::Picture:
        if (preview) return PreviewPicture(main, program);
        PrintPictureJob(main, program);
        break;
    case PrintChoice::MainText: PrintText(main, program, main, editBox, plan.spaces, preview); break;
    case PrintChoice::AskWhichText:
        if (separate != nullptr &&
            ui::AskQuestion(ui::Widen(text::separateTextQuestion), std::wstring_view())) {
            PrintText(main, program, *separate, text::separateEditBox, plan.spaces, preview);
        } else {
            PrintText(main, program, main, editBox, plan.spaces, preview);
        }
        break;
    case PrintChoice::NothingToPrint: break;
    }
}

void SetAlignment(ui::EventArgs& event, ui::Alignment alignment) {
    event.window.SetAlignment(editBox, alignment);
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
    window.SetText(printButton, ui::Widen(printTextCaption));
    UpdatePrintButton(window, ProgramOf(event), PrintButtonCause::TextModeChosen);
}

void ChoosePictureMode(ui::EventArgs& event) {
    ui::Window& window = event.window;
    window.SetChecked(deleteSpacesOption, false);
    window.SetChecked(keepSpacesOption, false);
    window.SetEnabled(deleteSpacesOption, false);
    window.SetEnabled(keepSpacesOption, false);
    window.SetChecked(textOption, false);
    window.SetChecked(pictureOption, true);
    window.SetText(printButton, ui::Widen(printPictureCaption));
    UpdatePrintButton(window, ProgramOf(event), PrintButtonCause::PictureModeChosen);
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
    UpdatePrintButton(event.window, ProgramOf(event), PrintButtonCause::MainTextChanged);
}

void OnEditRightButton(ui::EventArgs& event) { ShowContextMenu(event, editMenu); }

void OnPictureRightButton(ui::EventArgs& event) {
    event.window.SetMenuItemEnabled(pastePictureItem, ClipboardHoldsPicture());
    const bool several = ProgramOf(event).document.Pictures().size() > 1;
    for (const int item : {previousPictureItem, nextPictureItem, removePictureItem}) {
        event.window.SetMenuItemEnabled(item, several);
    }
    ShowContextMenu(event, pictureMenu);
}

// Steps through the pictures loaded together, round from the last to the first.
void StepPicture(ui::EventArgs& event, bool forward) {
    MainDocument& document = ProgramOf(event).document;
    const std::size_t count = document.Pictures().size();
    if (count < 2) return;
    const std::size_t shown = document.Shown();
    if (!document.Show(event.window, forward ? (shown + 1) % count : (shown + count - 1) % count)) {
        SetStatusMessage(event.window, ui::Widen(picture::undecodableMessage));
    }
    ProgramOf(event).adjustWindow.ShowPicture();
}
void OnPreviousPictureChosen(ui::EventArgs& event) { StepPicture(event, false); }
void OnNextPictureChosen(ui::EventArgs& event) { StepPicture(event, true); }

void OnRemovePictureChosen(ui::EventArgs& event) {
    Program& program = ProgramOf(event);
    if (!program.document.RemoveShown(event.window)) {
        SetStatusMessage(event.window, ui::Widen(onlyPictureMessage));
    }
    program.adjustWindow.ShowPicture();
}

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

namespace {

// The full path of the running program, which Explorer's menu entry starts.
std::wstring ThisProgram() { return ui::ProgramPath(ui::ExecutableFileName()); }

void ReportExplorerMenuChange(ui::Window& main, unsigned long error, std::string_view done) {
    SetStatusMessage(main, error == 0 ? ui::Widen(done)
                                      : ui::Widen(explorerMenuFailedMessage) + ui::SystemErrorText(error));
}

}  // namespace

void OnMainMenuOpening(ui::EventArgs& event) {
    const ExplorerMenuState state = ReadExplorerMenu(ThisProgram());
    event.window.SetMenuItemEnabled(addExplorerMenuItem, !state.complete);
    event.window.SetMenuItemEnabled(removeExplorerMenuItem, state.any);
}

void OnAddExplorerMenuChosen(ui::EventArgs& event) {
    ReportExplorerMenuChange(event.window, AddExplorerMenu(ThisProgram()),
                             explorerMenuAddedMessage);
}

void OnRemoveExplorerMenuChosen(ui::EventArgs& event) {
    ReportExplorerMenuChange(event.window, RemoveExplorerMenu(ThisProgram()),
                             explorerMenuRemovedMessage);
}

// With the separate-edit window open the user chooses which edit box's text is printed.
void OnPrintClicked(ui::EventArgs& event) { PrintCommand(event.window, ProgramOf(event)); }

// One job at a time, whichever command asks: a second one is refused, and the status says why.
bool RefuseWhilePrinting(ui::Window& main, const Program& program) {
    if (!program.printer.JobRunning()) return false;
    SetStatusMessage(main, ui::Widen(device::printBusyMessage));
    return true;
}

void PrintCommand(ui::Window& main, Program& program) {
    EmphasizeButton(main, printButton);
    if (RefuseWhilePrinting(main, program)) return;
    PrintOrPreview(main, program, false);
    ui::ProcessPendingMessages();
}

// One preview at a time: its prompts leave the main window usable, and a held Ctrl+F2 repeats.
void PrintPreviewCommand(ui::Window& main, Program& program) {
    if (program.previewing || RefuseWhilePrinting(main, program)) return;
    program.previewing = true;
    PrintOrPreview(main, program, true);
    program.previewing = false;
}
void OnPrintPreviewChosen(ui::EventArgs& event) { PrintPreviewCommand(event.window, ProgramOf(event)); }

void OnMainKeyDown(ui::EventArgs& event) {
    if (event.code == (ui::keyControl | VK_F2)) {
        event.handled = true;
        return PrintPreviewCommand(event.window, ProgramOf(event));
    }
    OnPictureBoxKeyDown(event);
}

void OnStopClicked(ui::EventArgs& event) {
    EmphasizeButton(event.window, stopButton);
    ProgramOf(event).printer.Abort();
    SetStatusMessage(event.window, ui::Widen(printStoppedMessage));
}

void OnCancelClicked(ui::EventArgs& event) {
    EmphasizeButton(event.window, cancelButton);
    ProgramOf(event).printer.Abort();
    SetStatusMessage(event.window, ui::Widen(text::printCancelledMessage));
}

void OnCopyChosen(ui::EventArgs& event) { ui::CopySelection(event.window.Control(editBox)); }
void OnPasteChosen(ui::EventArgs& event) { ui::PasteOverSelection(event.window.Control(editBox)); }
void OnFontChosen(ui::EventArgs& event) {
    ui::ChooseEditFont(event.window, editBox, ProgramOf(event).editFont);
}
void OnAlignLeftChosen(ui::EventArgs& event) { SetAlignment(event, ui::Alignment::left); }
void OnAlignCenterChosen(ui::EventArgs& event) { SetAlignment(event, ui::Alignment::center); }
void OnAlignRightChosen(ui::EventArgs& event) { SetAlignment(event, ui::Alignment::right); }
// The text goes, and with it the name of the file it came from.
void OnClearChosen(ui::EventArgs& event) {
    event.window.SetText(editBox, L"");
    ProgramOf(event).textFileName.clear();
}

void OnSeparateEditChosen(ui::EventArgs& event) { ProgramOf(event).separateEdit.Open(); }
void OnAdjustPictureChosen(ui::EventArgs& event) { ProgramOf(event).adjustWindow.Open(); }

void OnCheckUpdateChosen(ui::EventArgs& event) { CheckForUpdate(event.window, ProgramOf(event)); }

}  // namespace app
