// Which printer a job prints on, and how: the print dialog with the printer chosen last, the
// paper and orientation written into its settings, the print-to-file path, and the device
// context made for it. Apart from any job: a job is handed what was chosen.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "device/printer_settings.h"
#include "ui/handles_win.h"

namespace device {

// Paper and orientation written into the printer's settings before the print dialog opens.
struct PaperChoice {
    int paper = 0;        // paper code; 0 leaves the paper alone, -1 is the custom size
    int orientation = 0;  // 1 landscape, anything else portrait
    int customWidth = 0;  // 0.1 mm, for the custom size
    int customHeight = 0;
    int paperNumber = 0;  // Windows' paper number (DMPAPER_*), used when paper is 0
};

// A paper the printer offers: its DMPAPER_* number, its name as the driver gives it, and its
// size in 0.1 mm (portrait; 0 when the driver does not say).
struct PaperName {
    int number = 0;
    std::wstring name;
    int width = 0;
    int height = 0;
};

// Movable global memory, freed with the scope: the device names and settings of a printer.
using GlobalMemory = ui::UniqueHandle<ui::NullableTraits<HGLOBAL, GlobalFree>>;

// What the user chose, with the device context made for it.
struct ChosenPrinter {
    ui::CreatedDc dc;
    std::wstring device;
    std::wstring port;
    std::wstring outputFile;  // when printing to a file
    int copies = 1;
    bool collate = true;
    // The driver makes the copies itself; otherwise the job prints the pages so many times.
    bool driverCopies = true;
};

// A printer chosen, or why not: error 0 is the user's Cancel, anything else the reason Windows
// gave for the failure.
struct ChooseResult {
    std::optional<ChosenPrinter> printer;
    DWORD error = 0;
};

class PrinterChooser {
public:
    // Takes the printer of that name (the system's default for an empty name) with its own
    // settings for the jobs to come; false, and no printer known, when there is none such.
    bool UsePrinter(const std::wstring& name);

    // Shows the print dialog (unless showDialog is false: then the printer chosen before, or the
    // system's default, is taken, and none known is a failure), makes
    // the printer's device context and asks for the output file when printing to a file. The
    // copies, collation, page range and selection the dialog offers come from the settings, and
    // what the user chose goes back into them.
    ChooseResult Choose(HWND owner, bool showDialog, const std::optional<PaperChoice>& paper,
                        PrinterSettings& settings);
    // An information context for the printer a print would use now without a dialog: the one
    // chosen last, else the system's default, with the paper given. Null when there is none.
    ui::CreatedDc InformationContext(const std::optional<PaperChoice>& paper);

    // The papers of the printer a print would use now (as for InformationContext), in the
    // driver's order; empty when there is no printer or it names none.
    std::vector<PaperName> Papers();

private:
    bool KnowPrinter();
    void ApplyPaper(const PaperChoice& paper);
    bool AskOutputFile(HWND owner, std::wstring& path);

    GlobalMemory devMode_;
    GlobalMemory devNames_;
    std::optional<PaperChoice> customPaper_;  // written again after the dialog
};

}  // namespace device
