// The printer object: runs one print job at a time on a Windows printer. It shows the print
// dialog, opens the document and a progress dialog with an abort button, writes text line by
// line with automatic page breaks, draws pictures, and ends the job. Its settings stay between
// jobs.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "device/printer_settings.h"
#include "ui/handles_win.h"

namespace device {

class PrintProgressDialog;

// Paper and orientation written into the printer's settings before the print dialog opens.
struct PaperChoice {
    int paper = 0;        // paper code; 0 leaves the paper alone, -1 is the custom size
    int orientation = 0;  // 1 landscape, anything else portrait
    int customWidth = 0;  // 0.1 mm, for the custom size
    int customHeight = 0;
};

// Printer device names and device mode remembered between print dialogs.
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { GlobalFree(h); }
};
using GlobalMemory = ui::UniqueHandle<GlobalMemoryTraits>;

class PrinterObject {
public:
    PrinterObject();
    ~PrinterObject();
    PrinterObject(const PrinterObject&) = delete;
    PrinterObject& operator=(const PrinterObject&) = delete;

    PrinterSettings& Settings() { return settings_; }
    const PrinterSettings& Settings() const { return settings_; }

    // The job name for the spooler; empty means "未命名打印作业".
    std::wstring documentName;

    // The window that owns the progress dialog.
    void SetOwner(HWND owner) { owner_ = owner; }

    // The text font: size in points and face name. Without a font of its own the object starts
    // from the default GUI font.
    int FontSize() const;
    void SetFontSize(int points);
    void SetFontFaceName(std::wstring_view face);

    // Shows the print dialog (unless showDialog is false and a printer was chosen before),
    // creates the printer's device context, starts the document and opens the first page.
    // With paper, the paper and orientation are written into the printer's settings first.
    // False when no job was started: the dialog was cancelled, the printer could not be opened,
    // or a job is already running (which goes on untouched).
    bool StartPrinting(bool showDialog = true, bool showProgress = true,
                       std::optional<PaperChoice> paper = std::nullopt);
    // Ends the open page and the document, so that the pages made so far are printed. Without a
    // running job only a leftover progress dialog is closed.
    void EndPrinting();
    // The same as EndPrinting: nothing already made is discarded.
    void CancelPrinting();

    // The device name of the printer chosen at the last start; empty when that start failed.
    const std::wstring& GetPrinterName() const { return printerName_; }

    // Writes GBK texts one line below the other at the left margin; every CR or LF in them
    // starts a new line, and a line that would end below the page goes onto a new page.
    void PrintTextLines(std::string_view gbk);
    void PrintTextLines(std::initializer_list<std::string_view> gbkTexts);

    // Draws a picture of the program's table (picture/picture_object_win.h) with its top-left
    // corner at (left, top) drawing units from the margins. Width and height are drawing units;
    // an omitted one is the picture's own, one picture pixel per printer dot. Copy modes:
    // 1 SRCCOPY, 2 NOTSRCCOPY, 3 SRCINVERT, 4 SRCPAINT, 5 SRCAND, anything else SRCCOPY.
    // Opens a page if none is open, also for a handle that names no picture.
    void DrawPicture(int handle, int left, int top, std::optional<int> width,
                     std::optional<int> height, int copyMode = 1);
    // A picture's size: drawing units while a job runs (one picture pixel per printer dot),
    // pixels otherwise; 0 for a handle that names no picture.
    int GetPictureWidth(int handle);
    int GetPictureHeight(int handle);

    bool JobRunning() const { return dc_ != nullptr; }
    int PageNumber() const { return JobRunning() ? pageNumber_ : 1; }
    int CopiesPrinted() const { return 1; }
    bool Aborted() const { return JobRunning() && aborted_; }
    // The printable area inside the margins, in drawing units; 0 when no job runs.
    int PrintableWidth();
    int PrintableHeight();

    // The device context of the running job, or null.
    HDC DeviceContext() const { return dc_; }

private:
    friend class PrintProgressDialog;

    bool RunPrintDialog(bool showDialog, const std::optional<PaperChoice>& paper);
    void ApplyPaper(const PaperChoice& paper);
    bool AskOutputFile(std::wstring& path);
    void ReadDeviceMetrics();
    void BuildPrinterFont();
    void ApplyMappingMode();
    void SelectObjects();
    void SelectPictureObjects();
    void DeselectObjects();
    bool OpenPage();
    void NewPage();
    int ToDrawingUnitsY(int pixels);
    int ToPixelsY(int units);
    POINT PictureSize(int handle);
    void Abort();
    void CloseProgress();

    PrinterSettings settings_;
    HWND owner_ = nullptr;
    std::optional<LOGFONTW> font_;

    GlobalMemory devMode_;
    GlobalMemory devNames_;
    std::optional<PaperChoice> customPaper_;  // written again after the dialog
    bool printToFile_ = false;

    HDC dc_ = nullptr;
    ui::Font printerFont_;
    std::wstring printerName_;
    PageMetrics metrics_;
    int stretchMode_ = HALFTONE;
    POINT position_{};  // device pixels
    bool pageOpen_ = false;
    int pageNumber_ = 1;
    bool aborted_ = false;
    std::unique_ptr<PrintProgressDialog> progress_;
};

// The main window's printer object (打印机1).
PrinterObject& MainPrinter();

}  // namespace device
