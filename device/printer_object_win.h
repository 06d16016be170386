// The printer object: what the program keeps about printing for its whole run (the settings,
// the text font, the printer chosen last) and the road of every print: lay the job out on the
// printer's paper, let the user choose in the print dialog, and hand the plan's pages to a job
// that runs from the message loop, one at a time.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/job_runner_win.h"
#include "device/page_plan.h"
#include "device/printer_chooser_win.h"
#include "device/print_result.h"
#include "device/printer_settings.h"

namespace device {

// Lays a job out on the paper of a printer's device context.
using LayOut = std::function<PagePlan(HDC dc, const PaperSpec& paper)>;

struct PrintRequest {
    LayOut layOut;
    // The selection's own layout, when the dialog is to offer "所选内容".
    LayOut layOutSelection;
    // The dialog offers "页码范围" over the plan's pages; presetPage (1-based) starts it chosen
    // as that page alone.
    bool offerPageRange = false;
    int presetPage = 0;
    // The paper and orientation asked of the printer before the dialog opens.
    PaperChoice paper;
    // A plan laid out before (the preview's), printed as it is when the paper is the same.
    std::shared_ptr<const PagePlan> planned;
    // Once the job has started on the chosen printer, and once it has ended (also when it never
    // started: cancelled, failed, or refused because another job runs).
    std::function<void(const PrintResult&)> started;
    std::function<void(const PrintResult&)> done;
    // Without the dialog the job goes to the printer chosen last, or the system's default, with
    // the settings as they are: the whole plan, once.
    bool showDialog = true;
    bool showProgress = true;
};

class PrinterObject {
public:
    PrinterObject() = default;
    PrinterObject(const PrinterObject&) = delete;
    PrinterObject& operator=(const PrinterObject&) = delete;

    PrinterSettings& Settings() { return settings_; }
    const PrinterSettings& Settings() const { return settings_; }

    // The job name for the spooler; empty means "未命名打印作业".
    std::wstring documentName;
    // The window that owns the print dialog and the progress dialog.
    void SetOwner(HWND owner) { owner_ = owner; }

    // The text font: size in points and face name. Without a font of its own the object starts
    // from the default GUI font.
    int FontSize() const;
    void SetFontSize(int points);
    void SetFontFaceName(std::wstring_view face);

    // The paper of a printer's device context, with the margins of the settings.
    PaperSpec PaperOf(HDC dc) const;
    // Text lines one below the other in the text font and colour, measured on the device
    // context's printer so that lines and pages break where that printer puts them.
    PagePlan PlanTextLines(HDC dc, const PaperSpec& paper,
                           const std::vector<std::u16string>& lines) const;
    // The same with the request's line numbers, header and footer; its fonts and the heights
    // and widths measured on the printer are filled in here.
    PagePlan PlanTextLines(HDC dc, const PaperSpec& paper, TextPlanRequest request) const;

    // A job's plan on the printer a print would use now, with no dialog: for a preview. Null
    // when no printer is known.
    std::shared_ptr<const PagePlan> PlanOnCurrentPrinter(const LayOut& layOut,
                                                         const PaperChoice& paper = {});

    // The papers of the printer a print would use now, for choosing one ahead of the print.
    std::vector<PaperName> Papers() { return chooser_.Papers(); }

    // The printer the jobs to come print on without their dialog, by its name (empty: the
    // system's default); false when there is no such printer.
    bool UsePrinter(const std::wstring& name) { return chooser_.UsePrinter(name); }

    // The width of a text in the text font on the printer of the device context, in the 0.1 mm
    // the plans are laid out in.
    int TextWidth(HDC dc, std::u16string_view text) const;

    // The print dialog (unless the request says otherwise), then the job, which runs on from the
    // message loop; request.done tells how it went. With another job under way nothing is shown
    // and done hears "busy".
    void Print(PrintRequest request);
    bool JobRunning() const { return runner_.Busy(); }
    // Stops the running job after the page under way.
    void Abort() { runner_.Abort(); }
    // Prints what is left of the running job at once: the program is about to end.
    void FinishJob() { runner_.Finish(); }

    // The device name of the printer of the last job started; empty when it did not start.
    const std::wstring& GetPrinterName() const { return printerName_; }
    int CopiesPrinted() const { return 1; }

private:
    // The text font on a printer of that many pixels per inch, in the text colour.
    PlanFont TextFont(int dpiY) const;

    PrinterSettings settings_;
    HWND owner_ = nullptr;
    std::optional<LOGFONTW> font_;
    PrinterChooser chooser_;
    JobRunner runner_;
    std::wstring printerName_;
};

}  // namespace device
