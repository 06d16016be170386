#include "app/main_window_win.h"

#include <array>
#include <string>

#include "app/edit_commands_win.h"
#include "app/program_state_win.h"
#include "app/program_texts.h"
#include "app/window_helpers_win.h"
#include "picture/picture_commands_win.h"
#include "text/separate_edit_win.h"
#include "update/update_commands_win.h"
#include "ui/text_win.h"
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
    Binding{windowItself, Event::TrayNotify, OnTrayNotify},
    Binding{textOption, Event::Clicked, ChooseTextMode},
    Binding{pictureOption, Event::Clicked, ChoosePictureMode},
    Binding{deleteSpacesOption, Event::Clicked, OnDeleteSpacesClicked},
    Binding{keepSpacesOption, Event::Clicked, OnKeepSpacesClicked},
    Binding{editBox, Event::Changed, OnEditChanged},
    Binding{editBox, Event::RightButtonDown, OnEditRightButton},
    Binding{pictureBox, Event::RightButtonDown, OnPictureRightButton},
    Binding{findButton, Event::Clicked, picture::OnFindClicked},
    Binding{printButton, Event::Clicked, OnPrintClicked},
    Binding{cancelButton, Event::Clicked, OnCancelClicked},
    Binding{stopButton, Event::Clicked, OnStopClicked},
    Binding{aboutTimer, Event::Tick, OnAboutTick},
    Binding{aboutItem, Event::Clicked, ShowAboutBox},
    Binding{copyItem, Event::Clicked, OnCopyChosen},
    Binding{pasteItem, Event::Clicked, OnPasteChosen},
    Binding{fontItem, Event::Clicked, OnFontChosen},
    Binding{alignLeftItem, Event::Clicked, OnAlignLeftChosen},
    Binding{alignCenterItem, Event::Clicked, OnAlignCenterChosen},
    Binding{alignRightItem, Event::Clicked, OnAlignRightChosen},
    Binding{clearItem, Event::Clicked, OnClearChosen},
    Binding{checkUpdateItem, Event::Clicked, update::OnCheckUpdateChosen},
    Binding{changeBackgroundItem, Event::Clicked, picture::OnChangeBackgroundChosen},
    Binding{separateEditItem, Event::Clicked, text::OnSeparateEditChosen},
    Binding{adjustPictureItem, Event::Clicked, picture::OnAdjustPictureChosen},
};

constexpr int commandButtons[] = {findButton, printButton, cancelButton, stopButton};

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

void SetStatusMessage(std::wstring_view text) {
    if (ui::Window* window = MainWindow()) window->SetStatusText(statusBar, 1, text);
}

void SetStatusBold(bool bold) {
    if (ui::Window* window = MainWindow()) window->SetBold(statusBar, bold);
}

void EmphasizeButton(int button) {
    ui::Window* window = MainWindow();
    if (window == nullptr) return;
    for (int each : commandButtons) window->SetBold(each, each == button);
}

}  // namespace app
