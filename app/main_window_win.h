// The main window: its event map, and the operations its handlers share.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_document_win.h"
#include "app/main_window_description.h"
#include "app/print_decision.h"
#include "device/printer_object_win.h"
#include "picture/picture_layout.h"
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
bool TakePicture(ui::Window& main, MainDocument& document, std::vector<std::uint8_t> bytes);
// Files chosen or dropped together: the pictures among them become the document's, in order,
// the first that decodes shown; says in the status bar what came of them. False when none did.
bool TakePictureFiles(ui::Window& main, MainDocument& document,
                      const std::vector<std::wstring>& paths);
// Shows one of the four command buttons in bold and the other three in regular weight.
void EmphasizeButton(ui::Window& main, int button);
// Sets the print button's state after a change of the given kind.
void UpdatePrintButton(ui::Window& main, const Program& program, PrintButtonCause cause);
// The print button's command: the picture or the text the window is set up for.
void PrintCommand(ui::Window& main, Program& program);
// The picture branch (picture_print_job_win.cpp): the questions, then the drawing, which a
// print and a preview share.
struct PreparedPicture {
    std::vector<picture::LayoutPicture> pictures;  // never empty: such a document is refused
    bool bySize = false;  // each at the size asked for, else as the layout chosen places them
    int width = 0;        // drawing units, when by size
    int height = 0;
};
std::optional<PreparedPicture> PreparePictureJob(ui::Window& main, Program& program);
// Pictures loaded, as the page plans place them: each decoded from its file when drawn, at the
// size it is drawn at, the pictures sharing what was decoded.
std::vector<picture::LayoutPicture> PagePictures(std::span<const LoadedPicture> pictures);
// How the pictures are laid out on a printer's paper: each at the size asked for, centred, or as
// the program's layout (read when laid out) places them; shrunk, when given, is set when a
// picture was made smaller than asked to fit.
device::LayOut PictureLayOut(const PreparedPicture& prepared, const Program& program,
                             std::shared_ptr<bool> shrunk = nullptr);
// Through the print dialog; the preview passes the plan it shows, and the page shown for
// "打印本页".
void PrintPreparedPicture(ui::Window& main, Program& program, const PreparedPicture& prepared,
                          std::shared_ptr<const device::PagePlan> planned = nullptr,
                          int presetPage = 0);
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
// The menu "菜单", from the tray or the menu bar, offers adding "用墨舟打印" to Explorer's menu
// unless it is there in full, and removing it when any of it is there.
void OnMainMenuOpening(ui::EventArgs& event);
void OnAddExplorerMenuChosen(ui::EventArgs& event);
void OnRemoveExplorerMenuChosen(ui::EventArgs& event);
void ChooseTextMode(ui::EventArgs& event);
void ChoosePictureMode(ui::EventArgs& event);
void OnDeleteSpacesClicked(ui::EventArgs& event);
void OnKeepSpacesClicked(ui::EventArgs& event);
void OnEditChanged(ui::EventArgs& event);
void OnEditRightButton(ui::EventArgs& event);
void OnPictureRightButton(ui::EventArgs& event);
void OnPreviousPictureChosen(ui::EventArgs& event);
void OnNextPictureChosen(ui::EventArgs& event);
void OnRemovePictureChosen(ui::EventArgs& event);
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
// Files opened as if dropped on the window (those given on the command line).
void OpenFiles(ui::Window& main, Program& program, const std::vector<std::wstring>& paths);
// clipboard_picture_win.cpp
void OnPastePictureChosen(ui::EventArgs& event);
void OnPictureBoxKeyDown(ui::EventArgs& event);  // Ctrl+V over the picture box pastes
// Whether "粘贴图片" has a picture to paste.
bool ClipboardHoldsPicture();

}  // namespace app
