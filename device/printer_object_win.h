// The printer object: runs one print job at a time on a Windows printer. It shows the print
// dialog, opens the document and a progress dialog with an abort button, writes text line by
// line with automatic page breaks, draws pictures, and ends the job. Its settings stay between
// jobs.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/font_coverage.h"
#include "device/printer_settings.h"
#include "ui/handles_win.h"

namespace picture {
class PictureObject;
}

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
    // A preview instead of a print: the pages the same calls would print on the printer a print
    // would use now (the one chosen last, else the default printer, with the paper given), each
    // recorded as an enhanced metafile in that printer's device units. No dialog is shown and
    // nothing reaches the spooler. onPage runs each time a page is finished. EndPrinting
    // finishes the last page; CancelPrinting stops there too.
    bool StartPreview(std::function<void()> onPage = {},
                      std::optional<PaperChoice> paper = std::nullopt);
    bool Previewing() const { return previewing_; }
    // The pages of the running or the last preview, finished so far.
    const std::vector<ui::EnhancedMetafile>& PreviewPages() const { return pages_; }
    // The paper of the last preview or print, in device pixels, and the device's pixels per inch.
    const PageMetrics& Paper() const { return metrics_; }
    POINT DeviceDpi() const { return dpi_; }

    // Ends the open page and the document, so that the pages made so far are printed. Without a
    // running job only a leftover progress dialog is closed. False when the printer refused to
    // end a page or the document: the job is then aborted and counts as failed.
    bool EndPrinting();
    // The same as EndPrinting: nothing already made is discarded.
    bool CancelPrinting();

    // The device name of the printer chosen at the last start; empty when that start failed or
    // the job failed later.
    const std::wstring& GetPrinterName() const { return printerName_; }
    // The last job was started and then failed on the way (a page or the document was refused
    // by the printer) and has been aborted.
    bool JobFailed() const { return failed_; }

    // Writes GBK texts one line below the other at the left margin; every CR or LF in them
    // starts a new line, and a line that would end below the page goes onto a new page.
    void PrintTextLines(std::string_view gbk);
    void PrintTextLines(std::initializer_list<std::string_view> gbkTexts);
    // Writes lines that hold no line break one below the other, the same way.
    void PrintTextLines(std::span<const std::wstring> lines);

    // Draws the picture with its top-left corner at (left, top) drawing units from the margins.
    // Width and height are drawing units; an omitted one is the picture's own, one picture pixel
    // per printer dot. Copy modes: 1 SRCCOPY, 2 NOTSRCCOPY, 3 SRCINVERT, 4 SRCPAINT, 5 SRCAND,
    // anything else SRCCOPY. Opens a page if none is open, also when there is no picture (null).
    void DrawPicture(const picture::PictureObject* picture, int left, int top,
                     std::optional<int> width, std::optional<int> height, int copyMode = 1);
    // A picture's size: drawing units while a job runs (one picture pixel per printer dot),
    // pixels otherwise; 0 without a picture.
    int GetPictureWidth(const picture::PictureObject* picture);
    int GetPictureHeight(const picture::PictureObject* picture);

    bool JobRunning() const { return static_cast<bool>(dc_); }
    int PageNumber() const { return JobRunning() ? pageNumber_ : 1; }
    int CopiesPrinted() const { return 1; }
    bool Aborted() const { return JobRunning() && aborted_; }
    // The printable area inside the margins, in drawing units; 0 when no job runs.
    int PrintableWidth();
    int PrintableHeight();

    // The device context of the running job, or null: while a preview runs, the open page's
    // recorder, else the printer's information context.
    HDC DeviceContext() const { return recorder_ ? recorder_.get() : dc_.get(); }

private:
    friend class PrintProgressDialog;

    bool RunPrintDialog(bool showDialog, const std::optional<PaperChoice>& paper);
    void BeginJob(ui::CreatedDc dc, const std::wstring& printer);
    bool OpenFirstPage();
    void ApplyPaper(const PaperChoice& paper);
    bool AskOutputFile(std::wstring& path);
    void ReadDeviceMetrics();
    void BuildPrinterFont();
    void PrepareFallbackFonts();
    void DrawLine(int left, int top, const std::wstring& line);
    void ApplyMappingMode();
    void SelectObjects();
    void SelectPictureObjects();
    void DeselectObjects();
    bool OpenPage();
    bool NewPage();
    bool BeginPage();
    bool FinishPage();
    HDC Dc() const { return DeviceContext(); }
    int ToDrawingUnitsY(int pixels);
    int ToPixelsY(int units);
    POINT PictureSize(const picture::PictureObject* picture);
    void Abort();
    void FailJob();
    void ReleaseJob();
    void CloseProgress();

    PrinterSettings settings_;
    HWND owner_ = nullptr;
    std::optional<LOGFONTW> font_;

    GlobalMemory devMode_;
    GlobalMemory devNames_;
    std::optional<PaperChoice> customPaper_;  // written again after the dialog
    bool printToFile_ = false;

    ui::CreatedDc dc_;
    ui::Font printerFont_;
    // Fonts for the characters the printer font lacks, found when the first line is printed
    // with it: coverage_[0] is the printer font's, then one per font in fallbackFonts_.
    bool fallbacksPrepared_ = false;
    std::vector<GlyphCoverage> coverage_;
    std::vector<ui::Font> fallbackFonts_;
    std::wstring printerName_;
    PageMetrics metrics_;
    POINT dpi_{};
    bool previewing_ = false;
    ui::MetafileRecorder recorder_;  // the page a preview is recording
    std::vector<ui::EnhancedMetafile> pages_;
    std::function<void()> onPage_;
    int stretchMode_ = HALFTONE;
    POINT position_{};  // device pixels
    bool pageOpen_ = false;
    int pageNumber_ = 1;
    bool aborted_ = false;
    bool failed_ = false;
    std::unique_ptr<PrintProgressDialog> progress_;
};

}  // namespace device
