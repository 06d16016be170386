// What the program keeps for its whole run. One object, made before the main window and given
// to every handler of the main window through its event arguments.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/adjust_window_win.h"
#include "app/edge_docking_win.h"
#include "app/main_document_win.h"
#include "app/tray_icon_win.h"
#include "device/printer_object_win.h"
#include "picture/picture_layout.h"
#include "text/page_setup.h"
#include "text/separate_edit_win.h"
#include "ui/file_dialog_win.h"
#include "ui/font_choice.h"
#include "ui/handles_win.h"
#include "update/xml_parser_object.h"

namespace ui {
class Window;
}

namespace app {

struct Program {
    Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    ui::Window* mainWindow = nullptr;    // while it exists
    MainDocument document;               // the main window's picture
    device::PrinterObject printer;       // 打印机1
    ui::FileDialog fileDialog;           // 通用对话框1: find, background picture
    ui::FontChoice editFont;             // the font dialog's values for the main edit box
    text::SeparateEdit separateEdit;
    bool separateEditOpen = false;
    // An update check is under way: its boxes let the tray menu start another one meanwhile.
    bool checkingForUpdate = false;
    bool previewing = false;  // the print preview command is under way
    int aboutCountdown = 0;
    EdgeDocking docking;
    std::unique_ptr<TrayIcon> trayIcon;
    AdjustWindow adjustWindow;
    int printDpi = 0;       // set by the picture print job and the adjustment window
    int printWidthPx = 0;
    int printHeightPx = 0;
    // The picture layout chosen in the print preview, for the rest of the run, and for photo
    // sizes how many prints of each picture (0: a sheet of each).
    picture::PictureLayout pictureLayout = picture::PictureLayout::stretch;
    int photoCount = 0;
    // How texts are laid out on their pages, kept between runs; its margins are the printer's.
    text::PageSetup pageSetup;
    // The name of the text file loaded last into the edit box, printed for "&f"; empty for a
    // text typed or pasted.
    std::u16string textFileName;
    update::XmlParserObject xmlParser;
    ui::KernelHandle singleInstance;  // its existence marks the running instance
    // Files named on the command line, opened once the main window is there.
    std::vector<std::wstring> startFiles;
};

}  // namespace app
