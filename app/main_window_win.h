// The main window's operations that other parts of the program use, and its handlers.
#pragma once

#include <string_view>

#include "app/main_window_description.h"
#include "ui/description.h"

namespace app {

// Writes a text into the message part of the status bar, after the fixed label.
void SetStatusMessage(std::wstring_view text);
// The status bar's font: bold for warnings, regular otherwise.
void SetStatusBold(bool bold);
// Shows one of the four command buttons in bold and the other three in regular weight.
void EmphasizeButton(int button);

// Handlers bound in the main window's event map.
void OnMainCreated(ui::EventArgs& event);
void OnMainCloseRequested(ui::EventArgs& event);
void OnMainDestroyed(ui::EventArgs& event);
void OnTrayNotify(ui::EventArgs& event);
void ChooseTextMode(ui::EventArgs& event);
void ChoosePictureMode(ui::EventArgs& event);
void OnDeleteSpacesClicked(ui::EventArgs& event);
void OnKeepSpacesClicked(ui::EventArgs& event);
void OnEditChanged(ui::EventArgs& event);
void OnEditRightButton(ui::EventArgs& event);
void OnPictureRightButton(ui::EventArgs& event);
void OnPrintClicked(ui::EventArgs& event);
void OnCancelClicked(ui::EventArgs& event);
void OnStopClicked(ui::EventArgs& event);

}  // namespace app
