#include "app/main_window_win.h"

#include <array>
#include <string>

#include "app/about_box_win.h"
#include "app/page_setup_window_win.h"
#include "app/update_check_win.h"
#include "app/program_texts.h"
#include "app/program_win.h"
#include "text/separate_edit_description.h"
#include "ui/window_win.h"

namespace app {
namespace {

using ui::Binding;
using ui::Event;
using ui::windowItself;

// Every user action on the main window and the handler that runs.
constexpr std::array events{
    Binding{windowItself, Event::Created, OnMainCreated},
    Binding{windowItself, Event::CloseRequested, OnMainCloseRequested},
    Binding{windowItself, Event::Destroyed, OnMainDestroyed},
    Binding{windowItself, Event::SessionEnding, OnSessionEnding},
    Binding{windowItself, Event::TrayNotify, OnTrayNotify},
    Binding{windowItself, Event::FilesDropped, OnMainFilesDropped},
    Binding{windowItself, Event::KeyDown, OnMainKeyDown},
    Binding{textOption, Event::Clicked, ChooseTextMode},
    Binding{pictureOption, Event::Clicked, ChoosePictureMode},
    Binding{deleteSpacesOption, Event::Clicked, OnDeleteSpacesClicked},
    Binding{keepSpacesOption, Event::Clicked, OnKeepSpacesClicked},
    Binding{editBox, Event::Changed, OnEditChanged},
    Binding{editBox, Event::RightButtonDown, OnEditRightButton},
    Binding{pictureBox, Event::RightButtonDown, OnPictureRightButton},
    Binding{findButton, Event::Clicked, OnFindClicked},
    Binding{printButton, Event::Clicked, OnPrintClicked},
    Binding{cancelButton, Event::Clicked, OnCancelClicked},
    Binding{stopButton, Event::Clicked, OnStopClicked},
    Binding{aboutTimer, Event::Tick, OnAboutTick},
    Binding{titleTimer, Event::Tick, OnTitleTimerTick},
    Binding{aboutItem, Event::Clicked, ShowAboutBox},
    Binding{mainMenu, Event::MenuOpening, OnMainMenuOpening},
    Binding{addExplorerMenuItem, Event::Clicked, OnAddExplorerMenuChosen},
    Binding{removeExplorerMenuItem, Event::Clicked, OnRemoveExplorerMenuChosen},
    Binding{copyItem, Event::Clicked, OnCopyChosen},
    Binding{pasteItem, Event::Clicked, OnPasteChosen},
    Binding{fontItem, Event::Clicked, OnFontChosen},
    Binding{alignLeftItem, Event::Clicked, OnAlignLeftChosen},
    Binding{alignCenterItem, Event::Clicked, OnAlignCenterChosen},
    Binding{alignRightItem, Event::Clicked, OnAlignRightChosen},
    Binding{clearItem, Event::Clicked, OnClearChosen},
    Binding{checkUpdateItem, Event::Clicked, OnCheckUpdateChosen},
    Binding{changeBackgroundItem, Event::Clicked, OnChangeBackgroundChosen},
    Binding{separateEditItem, Event::Clicked, OnSeparateEditChosen},
    Binding{adjustPictureItem, Event::Clicked, OnAdjustPictureChosen},
    Binding{pastePictureItem, Event::Clicked, OnPastePictureChosen},
    Binding{previewTextItem, Event::Clicked, OnPrintPreviewChosen},
    Binding{pageSetupItem, Event::Clicked, OnPageSetupChosen},
    Binding{previewPictureItem, Event::Clicked, OnPrintPreviewChosen},
    Binding{previousPictureItem, Event::Clicked, OnPreviousPictureChosen},
    Binding{nextPictureItem, Event::Clicked, OnNextPictureChosen},
    Binding{removePictureItem, Event::Clicked, OnRemovePictureChosen},
};

constexpr int commandButtons[] = {findButton, printButton, cancelButton, stopButton};

bool HasText(HWND edit) { return edit != nullptr && GetWindowTextLengthW(edit) > 0; }

}  // namespace

const ui::WindowSpec& MainWindowSpec() {
    static const ui::WindowSpec description{
        "MozhouMainWindow",
        productName,
        mainWindowWidth,
        mainWindowHeight,
        ui::fixedBorder | ui::minimizeBox | ui::centered,
        MainControls(),
        MainMenu(),
        events,
    };
    return description;
}

void SetStatusMessage(ui::Window& main, std::wstring_view text, bool bold) {
    main.SetBold(statusBar, bold);
    main.SetStatusText(statusBar, 1, text);
}

void EmphasizeButton(ui::Window& main, int button) {
    for (int each : commandButtons) main.SetBold(each, each == button);
}

void UpdatePrintButton(ui::Window& main, const Program& program, PrintButtonCause cause) {
    const ui::Window* separate = program.separateEdit.Window();
    const PrintButtonInputs inputs{
        HasText(main.Control(editBox)),
        separate != nullptr && HasText(separate->Control(text::separateEditBox)),
        program.separateEditOpen,
        program.document.HasPicture(),
    };
    main.SetEnabled(printButton, PrintButtonEnabled(cause, inputs));
}

}  // namespace app
