// The main window: its event map, and the operations its handlers share.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "app/main_window_description.h"
#include "app/print_decision.h"
#include "device/printer_object_win.h"
#include "ui/description.h"

namespace ui {
class Window;
}
namespace picture {
class PictureObject;
}

namespace app {

struct Program;
class MainDocument;

// Writes a text into the message part of the status bar, after the fixed label; bold for
// warnings, regular otherwise.
void SetStatusMessage(ui::Window& main, std::wstring_view text, bool bold = false);
// A picture file's bytes decoded into the document and shown in the picture box, unless they do
// not decode: then the picture there stays and the status says so. One that ends early is shown
// as far as it goes. True when the document took the picture.
bool TakePicture(ui::Window& main, MainDocument& document, std::span<const std::uint8_t> bytes);
// Shows one of the four command buttons in bold and the other three in regular weight.
void EmphasizeButton(ui::Window& main, int button);
// Sets the print button's state after a change of the given kind.
void UpdatePrintButton(ui::Window& main, const Program& program, PrintButtonCause cause);
// The print button's command: the picture or the text the window is set up for.
void PrintCommand(ui::Window& main, Program& program);
// The picture branch (picture_print_job_win.cpp): the questions, then the drawing, which a
// print and a preview share.
struct PreparedPicture {
    std::shared_ptr<const picture::PictureObject> picture;  // never null: such data is refused
    bool bySize = false;  // at the size asked for, else over the whole printable area
    int width = 0;        // drawing units, when by size
    int height = 0;
};
std::optional<PreparedPicture> PreparePictureJob(ui::Window& main, Program& program);
// How the picture is laid out on a printer's paper: at the size asked for, or over the whole
// printable area, centred.
device::LayOut PictureLayOut(const PreparedPicture& prepared);
// Through the print dialog; the preview passes the plan it shows.
void PrintPreparedPicture(ui::Window& main, Program& program, const PreparedPicture& prepared,
                          std::shared_ptr<const device::PagePlan> planned = nullptr);
void PrintPictureJob(ui::Window& main, Program& program);
// The print preview command: asks what the print command asks and
// shows the pages instead of printing them.
void PrintPreviewCommand(ui::Window& main, Program& program);

// Handlers bound in the main window's event map, by the file that holds them.
// main_lifecycle_win.cpp
void OnMainCreated(ui::EventArgs& event);
void OnMainCloseRequested(ui::EventArgs& event);
void OnMainDestroyed(ui::EventArgs& event);
void OnSessionEnding(ui::EventArgs& event);
// main_commands_win.cpp
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
void OnCopyChosen(ui::EventArgs& event);
void OnPasteChosen(ui::EventArgs& event);
void OnFontChosen(ui::EventArgs& event);
void OnAlignLeftChosen(ui::EventArgs& event);
void OnAlignCenterChosen(ui::EventArgs& event);
void OnAlignRightChosen(ui::EventArgs& event);
void OnClearChosen(ui::EventArgs& event);
void OnSeparateEditChosen(ui::EventArgs& event);
void OnAdjustPictureChosen(ui::EventArgs& event);
void OnCheckUpdateChosen(ui::EventArgs& event);
void OnPrintPreviewChosen(ui::EventArgs& event);
void OnMainKeyDown(ui::EventArgs& event);  // Ctrl+F2 previews, else the picture box's keys
// file_commands_win.cpp
void OnFindClicked(ui::EventArgs& event);
void OnChangeBackgroundChosen(ui::EventArgs& event);
void OnMainFilesDropped(ui::EventArgs& event);
// clipboard_picture_win.cpp
void OnPastePictureChosen(ui::EventArgs& event);
void OnPictureBoxKeyDown(ui::EventArgs& event);  // Ctrl+V over the picture box pastes
// Whether "粘贴图片" has a picture to paste.
bool ClipboardHoldsPicture();

}  // namespace app
