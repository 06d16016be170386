#include "device/printer_chooser_win.h"

#include <cderr.h>
#include <commdlg.h>
#include <winspool.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cwchar>
#include <iterator>

#include "device/device_texts.h"

namespace device {
namespace {

struct DeviceNames {
    std::wstring driver;
    std::wstring device;
    std::wstring port;
};

DeviceNames ReadDeviceNames(HGLOBAL devNames) {
    const ui::GlobalMemoryLock<DEVNAMES> names(devNames);
    if (names.get() == nullptr) return {};
    const auto* base = reinterpret_cast<const wchar_t*>(names.get());
    return {base + names->wDriverOffset, base + names->wDeviceOffset, base + names->wOutputOffset};
}

// A printer opened for its settings, closed with the scope.
using PrinterHandle = ui::UniqueHandle<ui::NullableTraits<HANDLE, ClosePrinter>>;

ui::CreatedDc OpenPrinterContext(HGLOBAL devNames, HGLOBAL devMode, bool informationOnly) {
    const DeviceNames names = ReadDeviceNames(devNames);
    ui::GlobalMemoryLock<DEVMODEW> mode(devMode);
    const auto open = informationOnly ? CreateICW : CreateDCW;
    return ui::CreatedDc(open(names.driver.c_str(), names.device.c_str(), nullptr, mode.get()));
}

// Takes back the memory handles the print dialog returns: it may have freed and replaced ours.
void KeepDialogHandles(PRINTDLGW& dialog, GlobalMemory& devMode, GlobalMemory& devNames) {
    devMode.release();
    devNames.release();
    devMode.reset(dialog.hDevMode);
    devNames.reset(dialog.hDevNames);
}

// Print dialog failures after which the remembered printer is dropped and the dialog retried.
bool IsStalePrinterError(DWORD error) {
    return error == PDERR_PRINTERNOTFOUND || error == PDERR_DNDMMISMATCH ||
           error == PDERR_DEFAULTDIFFERENT;
}

// The most copies the driver makes of a document by itself, and whether it collates them.
bool DriverMakesCopies(const DeviceNames& names, const DEVMODEW* mode, int copies, bool collate) {
    if (copies <= 1) return true;
    const int most = DeviceCapabilitiesW(names.device.c_str(), names.port.c_str(), DC_COPIES,
                                         nullptr, mode);
    if (most < copies) return false;
    if (!collate) return true;
    return DeviceCapabilitiesW(names.device.c_str(), names.port.c_str(), DC_COLLATE, nullptr,
                               mode) == 1;
}

}  // namespace

// The first request takes the system's default printer.
bool PrinterChooser::KnowPrinter() {
    if (!devNames_) {
        PRINTDLGW defaults{};
        defaults.lStructSize = sizeof defaults;
        defaults.Flags = PD_RETURNDEFAULT;
        if (PrintDlgW(&defaults)) KeepDialogHandles(defaults, devMode_, devNames_);
    }
    return static_cast<bool>(devNames_);
}

// The driver fills arrays of as many entries as it first says it has; a count beyond any real
// driver's is taken as a fault and lists nothing.
std::vector<PaperName> PrinterChooser::Papers() {
    constexpr int mostPapers = 1024;
    constexpr std::size_t nameLength = 64;  // DC_PAPERNAMES: 64 characters each, not always ended
    std::vector<PaperName> papers;
    if (!KnowPrinter()) return papers;
    const DeviceNames names = ReadDeviceNames(devNames_.get());
    const ui::GlobalMemoryLock<DEVMODEW> mode(devMode_.get());
    const auto ask = [&](WORD what, void* into) {
        return DeviceCapabilitiesW(names.device.c_str(), names.port.c_str(), what,
                                   static_cast<LPWSTR>(into), mode.get());
    };
    const int count = ask(DC_PAPERS, nullptr);
    if (count <= 0 || count > mostPapers) return papers;
    std::vector<WORD> numbers(count);
    std::vector<wchar_t> paperNames(count * nameLength);
    std::vector<POINT> sizes(count);
    if (ask(DC_PAPERS, numbers.data()) != count) return papers;
    const bool named = ask(DC_PAPERNAMES, nullptr) == count && ask(DC_PAPERNAMES, paperNames.data()) == count;
    const bool sized = ask(DC_PAPERSIZE, nullptr) == count && ask(DC_PAPERSIZE, sizes.data()) == count;
    for (int i = 0; i < count; ++i) {
        PaperName paper{numbers[i]};
        if (named) {
            const wchar_t* name = paperNames.data() + i * nameLength;
            paper.name.assign(name, std::find(name, name + nameLength, L'\0'));
        }
        if (paper.name.empty()) paper.name = std::to_wstring(paper.number);
        if (sized && sizes[i].x > 0 && sizes[i].y > 0) {
            paper.width = sizes[i].x;
            paper.height = sizes[i].y;
        }
        papers.push_back(std::move(paper));
    }
    return papers;
}

bool PrinterChooser::UsePrinter(const std::wstring& name) {
    devMode_.reset();
    devNames_.reset();
    if (name.empty()) return KnowPrinter();
    std::wstring device = name;
    PrinterHandle printer;
    {
        HANDLE opened = nullptr;
        if (!OpenPrinterW(device.data(), &opened, nullptr)) return false;
        printer.reset(opened);
    }
    DWORD needed = 0;
    GetPrinterW(printer.get(), 2, nullptr, 0, &needed);
    std::vector<std::uint8_t> info(needed);
    if (needed == 0 || !GetPrinterW(printer.get(), 2, info.data(), needed, &needed)) return false;
    const auto* details = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    const std::wstring port = details->pPortName != nullptr ? details->pPortName : L"";

    // The driver's own settings for the printer, as the print dialog starts from them.
    const LONG modeSize = DocumentPropertiesW(nullptr, printer.get(), device.data(), nullptr, nullptr, 0);
    if (modeSize <= 0) return false;
    GlobalMemory mode(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(modeSize)));
    if (!mode) return false;
    {
        ui::GlobalMemoryLock<DEVMODEW> locked(mode.get());
        if (locked.get() == nullptr ||
            DocumentPropertiesW(nullptr, printer.get(), device.data(), locked.get(), nullptr,
                                DM_OUT_BUFFER) < 0) {
            return false;
        }
    }
    // DEVNAMES: the offsets (in characters) of the driver, device and port names that follow it.
    constexpr wchar_t driver[] = L"winspool";
    const std::size_t first = sizeof(DEVNAMES) / sizeof(wchar_t);
    const std::size_t chars = first + std::size(driver) + device.size() + 1 + port.size() + 1;
    GlobalMemory names(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, chars * sizeof(wchar_t)));
    if (!names) return false;
    {
        ui::GlobalMemoryLock<DEVNAMES> locked(names.get());
        if (locked.get() == nullptr) return false;
        auto* text = reinterpret_cast<wchar_t*>(locked.get());
        locked->wDriverOffset = static_cast<WORD>(first);
        locked->wDeviceOffset = static_cast<WORD>(first + std::size(driver));
        locked->wOutputOffset = static_cast<WORD>(locked->wDeviceOffset + device.size() + 1);
        std::wmemcpy(text + locked->wDriverOffset, driver, std::size(driver));
        device.copy(text + locked->wDeviceOffset, device.size());
        port.copy(text + locked->wOutputOffset, port.size());
    }
    devMode_ = std::move(mode);
    devNames_ = std::move(names);
    return true;
}

ui::CreatedDc PrinterChooser::InformationContext(const std::optional<PaperChoice>& paper) {
    if (!KnowPrinter()) return {};
    customPaper_.reset();
    if (paper && devMode_) ApplyPaper(*paper);
    return OpenPrinterContext(devNames_.get(), devMode_.get(), true);
}

ChooseResult PrinterChooser::Choose(HWND owner, bool showDialog,
                                    const std::optional<PaperChoice>& paper,
                                    PrinterSettings& settings) {
    KnowPrinter();
    customPaper_.reset();
    if (paper && devMode_) ApplyPaper(*paper);

    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_USEDEVMODECOPIESANDCOLLATE;
    if (settings.MinPage() < 0) dialog.Flags |= PD_NOPAGENUMS;
    if (settings.collate) dialog.Flags |= PD_COLLATE;
    if (settings.Selection() < 0) dialog.Flags |= PD_NOSELECTION;
    if (settings.Selection() > 0) dialog.Flags |= PD_SELECTION;
    if (const auto range = PageRangeForDialog(settings)) {
        dialog.nMinPage = static_cast<WORD>(range->minPage);
        dialog.nMaxPage = static_cast<WORD>(range->maxPage);
        dialog.nFromPage = static_cast<WORD>(range->fromPage);
        dialog.nToPage = static_cast<WORD>(range->toPage != 0 ? range->toPage : range->maxPage);
        // A range set beforehand is offered as chosen.
        if (settings.ToPage() != -1) dialog.Flags |= PD_PAGENUMS;
    }
    const int copies = settings.Copies() > 0 ? settings.Copies() : 1;
    dialog.nCopies = static_cast<WORD>(copies);
    if (ui::GlobalMemoryLock<DEVMODEW> mode(devMode_.get()); mode.get() != nullptr) {
        mode->dmCopies = static_cast<short>(copies);
        mode->dmFields |= DM_COPIES;
        if (settings.collate) {
            mode->dmCollate = DMCOLLATE_TRUE;
            mode->dmFields |= DM_COLLATE;
        }
    }

    ChooseResult result;
    const bool shown = showDialog;
    if (shown) {
        dialog.hDevMode = devMode_.get();
        dialog.hDevNames = devNames_.get();
        BOOL chosen = PrintDlgW(&dialog);
        DWORD error = chosen ? 0 : CommDlgExtendedError();
        if (!chosen && IsStalePrinterError(error)) {
            devMode_.reset();
            devNames_.reset();
            dialog.hDevMode = nullptr;
            dialog.hDevNames = nullptr;
            chosen = PrintDlgW(&dialog);
            error = chosen ? 0 : CommDlgExtendedError();
        }
        KeepDialogHandles(dialog, devMode_, devNames_);
        if (!chosen) {
            result.error = error;
            return result;
        }
    }
    if (!devNames_) {
        result.error = ERROR_INVALID_PRINTER_NAME;
        return result;
    }

    const DeviceNames names = ReadDeviceNames(devNames_.get());
    ChosenPrinter chosen;
    {
        ui::GlobalMemoryLock<DEVMODEW> mode(devMode_.get());
        if (customPaper_ && mode.get() != nullptr && mode->dmPaperSize == userDefinedPaperNumber) {
            mode->dmPaperWidth = static_cast<short>(customPaper_->customWidth);
            mode->dmPaperLength = static_cast<short>(customPaper_->customHeight);
        }
        if (shown) {
            const int asked = std::max<int>(dialog.nCopies, mode.get() != nullptr ? mode->dmCopies : 1);
            if (settings.Copies() != -1) settings.SetCopies(asked);
            if (settings.Selection() >= 0) {
                settings.SetSelection((dialog.Flags & PD_SELECTION) ? 1 : 0);
            }
            settings.collate = (mode.get() != nullptr && mode->dmCollate == DMCOLLATE_TRUE) ||
                               (dialog.Flags & PD_COLLATE) != 0;
            if ((dialog.Flags & PD_PAGENUMS) != 0) {
                settings.ReadBackPageRange(dialog.nFromPage, dialog.nToPage);
            } else {
                settings.ReadBackPageRange(std::nullopt, std::nullopt);
            }
        }
        chosen.copies = std::max(1, settings.Copies());
        chosen.collate = settings.collate;
        chosen.driverCopies = DriverMakesCopies(names, mode.get(), chosen.copies, chosen.collate);
        // Copies the job makes itself are not asked of the driver too.
        if (!chosen.driverCopies && mode.get() != nullptr) mode->dmCopies = 1;
    }

    chosen.dc = OpenPrinterContext(devNames_.get(), devMode_.get(), false);
    if (!chosen.dc) {
        result.error = GetLastError() != 0 ? GetLastError() : ERROR_INVALID_PRINTER_NAME;
        return result;
    }
    chosen.device = names.device;
    chosen.port = names.port;
    if (shown && (dialog.Flags & PD_PRINTTOFILE) != 0 && !AskOutputFile(owner, chosen.outputFile)) {
        return result;  // the user cancelled the file dialog
    }
    result.printer = std::move(chosen);
    return result;
}

void PrinterChooser::ApplyPaper(const PaperChoice& paper) {
    ui::GlobalMemoryLock<DEVMODEW> mode(devMode_.get());
    if (mode.get() == nullptr) return;
    std::wstring device = ReadDeviceNames(devNames_.get()).device;
    PrinterHandle printer;
    {
        HANDLE opened = nullptr;
        if (OpenPrinterW(device.data(), &opened, nullptr)) printer.reset(opened);
    }
    // Only the fields set here are merged into the driver's current settings.
    if (printer) mode->dmFields = 0;

    if (paper.paper == userDefinedPaperCode) {
        if (paper.customWidth > 0 && paper.customHeight > 0) {
            mode->dmPaperSize = userDefinedPaperNumber;
            mode->dmPaperWidth = static_cast<short>(paper.customWidth);
            mode->dmPaperLength = static_cast<short>(paper.customHeight);
            mode->dmFields |= DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH;
            customPaper_ = paper;
        }
    } else if (const auto number = PaperNumberForCode(paper.paper)) {
        mode->dmPaperSize = static_cast<short>(*number);
        mode->dmFields |= DM_PAPERSIZE;
    } else if (paper.paper == 0 && paper.paperNumber > 0) {
        mode->dmPaperSize = static_cast<short>(paper.paperNumber);
        mode->dmFields |= DM_PAPERSIZE;
    }
    mode->dmOrientation = static_cast<short>(OrientationForCode(paper.orientation));
    mode->dmFields |= DM_ORIENTATION;

    if (printer) {
        DocumentPropertiesW(nullptr, printer.get(), device.data(), mode.get(), mode.get(),
                            DM_IN_BUFFER | DM_OUT_BUFFER);
    }
}

bool PrinterChooser::AskOutputFile(HWND owner, std::wstring& path) {
    std::array<wchar_t, MAX_PATH> file{};
    std::wstring(outputFileName).copy(file.data(), file.size() - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = outputFilter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = outputTitle;
    dialog.lpstrDefExt = outputExtension;
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameW(&dialog)) return false;
    path = file.data();
    return true;
}

}  // namespace device
