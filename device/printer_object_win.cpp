#include "device/printer_object_win.h"

#include <cderr.h>
#include <commdlg.h>
#include <winspool.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "device/drawing_unit_win.h"
#include "device/print_progress_win.h"
#include "device/text_paging.h"
#include "picture/picture_object_win.h"
#include "picture/render_win.h"
#include "ui/dpi_scale.h"
#include "ui/handles_win.h"
#include "ui/paths.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace device {
namespace {

constexpr wchar_t untitledDocument[] = L"未命名打印作业";
constexpr wchar_t fallbackFace[] = L"宋体";
constexpr std::size_t longestFaceBytes = 31;  // LOGFONT's face field, in GBK bytes

constexpr wchar_t outputFileName[] = L"Output.prn";
constexpr wchar_t outputExtension[] = L"prn";
constexpr wchar_t outputTitle[] = L"打印到文件";
constexpr wchar_t outputFilter[] = L"打印输出文件 (*.prn)\0*.prn\0所有文件 (*.*)\0*.*\0";


// Fonts tried, in this order, for characters the printer font has no glyph for: emoji and
// symbols, ideographs beyond the basic plane, and what a Linux system offers for the same.
constexpr const wchar_t* fallbackFaces[] = {L"Segoe UI Emoji", L"Segoe UI Symbol", L"SimSun-ExtB",
                                            L"DejaVu Sans"};

GlyphCoverage CoverageOfSelectedFont(HDC dc) {
    constexpr DWORD cmapTag = 'c' | 'm' << 8 | 'a' << 16 | 'p' << 24;
    const DWORD size = GetFontData(dc, cmapTag, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0) return {};
    std::vector<std::uint8_t> table(size);
    if (GetFontData(dc, cmapTag, 0, table.data(), size) != size) return {};
    return GlyphCoverage::FromCmap(table);
}

int AscentOfSelectedFont(HDC dc) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmAscent;
}

// The brush SelectObjects puts in; picture output takes its colour as the text colour, which
// is what one-bit pictures are drawn with.
constexpr COLORREF brushColour = RGB(255, 255, 255);

// Print dialog failures after which the remembered printer is dropped and the dialog retried.
bool IsStalePrinterError(DWORD error) {
    return error == PDERR_PRINTERNOTFOUND || error == PDERR_DNDMMISMATCH ||
           error == PDERR_DEFAULTDIFFERENT;
}

// The font the printer object holds has its height in pixels of a 96-dpi screen, whatever the
// screen's resolution, so that a size in points prints the same on every screen.
constexpr int fontDpi = ui::designDpi;

LOGFONTW DefaultGuiFont() {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = ui::Rescale(font.lfHeight, ui::ScreenDpi(), fontDpi);
    return font;
}

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

// A device context for the printer with its settings; an information context is enough to
// measure with and to record pages against.
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

// Under Wine a document can fail to start with a sharing violation while another program prints
// at the same moment (their spool files collide); starting it again takes a fresh spool file.
bool StartDocument(HDC dc, const DOCINFOW& info) {
    constexpr int attempts = 4;
    for (int attempt = 1;; ++attempt) {
        if (StartDocW(dc, &info) > 0) return true;
        if (attempt == attempts || GetLastError() != ERROR_SHARING_VIOLATION) return false;
    }
}

}  // namespace

PrinterObject::PrinterObject() = default;


PrinterObject::~PrinterObject() { EndPrinting(); }

int PrinterObject::FontSize() const {
    const LOGFONTW font = font_.value_or(DefaultGuiFont());
    return ui::SizeForFontHeight(font.lfHeight, fontDpi);
}

void PrinterObject::SetFontSize(int points) {
    LOGFONTW font = font_.value_or(DefaultGuiFont());
    font.lfHeight = ui::FontHeightForSize(points, fontDpi);
    font_ = font;
    if (JobRunning()) BuildPrinterFont();
}

void PrinterObject::SetFontFaceName(std::wstring_view face) {
    LOGFONTW font = font_.value_or(DefaultGuiFont());
    const std::size_t bytes = ui::ToGbk(face).size();
    const std::wstring used = bytes >= 1 && bytes <= longestFaceBytes && face.size() < LF_FACESIZE
                                  ? std::wstring(face)
                                  : std::wstring(fallbackFace);
    std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'\0');
    used.copy(font.lfFaceName, LF_FACESIZE - 1);
    // Matched by its name, whatever script the default font was made for.
    font.lfCharSet = DEFAULT_CHARSET;
    font_ = font;
    if (JobRunning()) BuildPrinterFont();
}

bool PrinterObject::StartPrinting(bool showDialog, bool showProgress,
                                  std::optional<PaperChoice> paper) {
    printerName_.clear();
    if (JobRunning()) return false;
    failed_ = false;
    previewing_ = false;

    if (!RunPrintDialog(showDialog, paper)) return false;

    const DeviceNames names = ReadDeviceNames(devNames_.get());
    ui::CreatedDc dc = OpenPrinterContext(devNames_.get(), devMode_.get(), false);
    if (!dc) return false;

    std::wstring outputFile;
    if (printToFile_ && !AskOutputFile(outputFile)) return false;

    BeginJob(std::move(dc), names.device);

    const std::wstring document = documentName.empty() ? untitledDocument : documentName;
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = document.c_str();
    info.lpszOutput = outputFile.empty() ? nullptr : outputFile.c_str();

    if (showProgress) {
        const std::wstring destination =
            outputFile.empty() ? PrinterDestination(names.device, names.port)
                               : std::wstring(ui::FileNamePart(outputFile));
        progress_ = PrintProgressDialog::Show(
            owner_, {document, destination, CopiesPrinted(), pageNumber_}, [this] { Abort(); });
    }

    if (!StartDocument(dc_.get(), info)) {
        // Nothing reaches the printer: a failure, so the printer name is not reported either.
        CloseProgress();
        DeselectObjects();
        dc_.reset();
        printerName_.clear();
        return false;
    }

    if (progress_) progress_->Repaint();
    return OpenFirstPage();
}

bool PrinterObject::StartPreview(std::function<void()> onPage, std::optional<PaperChoice> paper) {
    printerName_.clear();
    if (JobRunning()) return false;
    failed_ = false;
    previewing_ = true;
    pages_.clear();

    // The print dialog is only shown when no printer is known, not even a default one.
    if (!RunPrintDialog(false, paper)) return false;
    ui::CreatedDc dc = OpenPrinterContext(devNames_.get(), devMode_.get(), true);
    if (!dc) return false;
    BeginJob(std::move(dc), ReadDeviceNames(devNames_.get()).device);
    onPage_ = std::move(onPage);
    return OpenFirstPage();
}

// What every job starts from: its device context, the printer's name and measures, page one.
void PrinterObject::BeginJob(ui::CreatedDc dc, const std::wstring& printer) {
    dc_ = std::move(dc);
    printerName_ = printer;
    position_ = {};
    pageNumber_ = settings_.FirstPageNumber();
    aborted_ = false;
    ReadDeviceMetrics();
}

bool PrinterObject::OpenFirstPage() {
    BuildPrinterFont();
    pageOpen_ = false;
    if (OpenPage()) return true;
    FailJob();
    return false;
}

bool PrinterObject::RunPrintDialog(bool showDialog, const std::optional<PaperChoice>& paper) {
    printToFile_ = false;
    if (!devNames_) {
        // The first request takes the system's default printer.
        PRINTDLGW defaults{};
        defaults.lStructSize = sizeof defaults;
        defaults.Flags = PD_RETURNDEFAULT;
        if (PrintDlgW(&defaults)) KeepDialogHandles(defaults, devMode_, devNames_);
    }
    customPaper_.reset();
    if (paper && devMode_) ApplyPaper(*paper);

    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.Flags = PD_USEDEVMODECOPIESANDCOLLATE;
    if (settings_.MinPage() < 0) dialog.Flags |= PD_NOPAGENUMS;
    if (settings_.collate) dialog.Flags |= PD_COLLATE;
    if (settings_.Selection() < 0) dialog.Flags |= PD_NOSELECTION;
    if (settings_.Selection() > 0) dialog.Flags |= PD_SELECTION;
    if (const auto range = PageRangeForDialog(settings_)) {
        dialog.nMinPage = static_cast<WORD>(range->minPage);
        dialog.nMaxPage = static_cast<WORD>(range->maxPage);
        dialog.nFromPage = static_cast<WORD>(range->fromPage);
        dialog.nToPage = static_cast<WORD>(range->toPage != 0 ? range->toPage : range->maxPage);
    }
    const int copies = settings_.Copies() > 0 ? settings_.Copies() : 1;
    dialog.nCopies = static_cast<WORD>(copies);
    if (ui::GlobalMemoryLock<DEVMODEW> mode(devMode_.get()); mode.get() != nullptr) {
        mode->dmCopies = static_cast<short>(copies);
        mode->dmFields |= DM_COPIES;
        if (settings_.collate) {
            mode->dmCollate = DMCOLLATE_TRUE;
            mode->dmFields |= DM_COLLATE;
        }
    }

    const bool shown = showDialog || !devNames_;
    if (shown) {
        dialog.hDevMode = devMode_.get();
        dialog.hDevNames = devNames_.get();
        BOOL chosen = PrintDlgW(&dialog);
        if (!chosen && IsStalePrinterError(CommDlgExtendedError())) {
            devMode_.reset();
            devNames_.reset();
            dialog.hDevMode = nullptr;
            dialog.hDevNames = nullptr;
            chosen = PrintDlgW(&dialog);
        }
        KeepDialogHandles(dialog, devMode_, devNames_);
        if (!chosen) return false;
        printToFile_ = (dialog.Flags & PD_PRINTTOFILE) != 0;
    }
    if (!devNames_) return false;

    ui::GlobalMemoryLock<DEVMODEW> mode(devMode_.get());
    if (customPaper_ && mode.get() != nullptr && mode->dmPaperSize == userDefinedPaperNumber) {
        mode->dmPaperWidth = static_cast<short>(customPaper_->customWidth);
        mode->dmPaperLength = static_cast<short>(customPaper_->customHeight);
    }
    if (shown) {
        if (settings_.Copies() != -1 && mode.get() != nullptr) settings_.SetCopies(mode->dmCopies);
        if (settings_.Selection() >= 0) settings_.SetSelection((dialog.Flags & PD_SELECTION) ? 1 : 0);
        settings_.collate = mode.get() != nullptr && mode->dmCollate == DMCOLLATE_TRUE;
        if ((dialog.Flags & PD_PAGENUMS) != 0) {
            settings_.ReadBackPageRange(dialog.nFromPage, dialog.nToPage);
        } else {
            settings_.ReadBackPageRange(std::nullopt, std::nullopt);
        }
    }
    return true;
}

void PrinterObject::ApplyPaper(const PaperChoice& paper) {
    ui::GlobalMemoryLock<DEVMODEW> mode(devMode_.get());
    if (mode.get() == nullptr) return;
    const DeviceNames names = ReadDeviceNames(devNames_.get());
    std::wstring device = names.device;
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
    }
    mode->dmOrientation = static_cast<short>(OrientationForCode(paper.orientation));
    mode->dmFields |= DM_ORIENTATION;

    if (printer) {
        DocumentPropertiesW(nullptr, printer.get(), device.data(), mode.get(), mode.get(),
                            DM_IN_BUFFER | DM_OUT_BUFFER);
    }
}

bool PrinterObject::AskOutputFile(std::wstring& path) {
    std::array<wchar_t, MAX_PATH> file{};
    std::wstring(outputFileName).copy(file.data(), file.size() - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
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

void PrinterObject::ReadDeviceMetrics() {
    metrics_.physicalWidth = GetDeviceCaps(dc_.get(), PHYSICALWIDTH);
    metrics_.physicalHeight = GetDeviceCaps(dc_.get(), PHYSICALHEIGHT);
    metrics_.offsetX = GetDeviceCaps(dc_.get(), PHYSICALOFFSETX);
    metrics_.offsetY = GetDeviceCaps(dc_.get(), PHYSICALOFFSETY);
    metrics_.printableWidth = GetDeviceCaps(dc_.get(), HORZRES);
    metrics_.printableHeight = GetDeviceCaps(dc_.get(), VERTRES);
    dpi_ = {GetDeviceCaps(dc_.get(), LOGPIXELSX), GetDeviceCaps(dc_.get(), LOGPIXELSY)};
    ui::WindowDc screen(nullptr);
    stretchMode_ = GetDeviceCaps(screen.get(), BITSPIXEL) > 16 ? HALFTONE : COLORONCOLOR;
}

void PrinterObject::BuildPrinterFont() {
    LOGFONTW font = font_.value_or(DefaultGuiFont());
    font.lfHeight = PrinterFontHeight(font.lfHeight, fontDpi, settings_.Unit(),
                                      GetDeviceCaps(dc_.get(), LOGPIXELSY));
    ui::Font built(CreateFontIndirectW(&font));
    if (!built) return;
    if (GetCurrentObject(Dc(), OBJ_FONT) == printerFont_.get()) {
        SelectObject(Dc(), built.get());
    }
    printerFont_ = std::move(built);
    fallbacksPrepared_ = false;
    coverage_.clear();
    fallbackFonts_.clear();
}

void PrinterObject::PrepareFallbackFonts() {
    if (fallbacksPrepared_ || !printerFont_) return;
    fallbacksPrepared_ = true;
    HDC dc = dc_.get();
    const HGDIOBJ selected = GetCurrentObject(dc, OBJ_FONT);
    SelectObject(dc, printerFont_.get());
    coverage_.push_back(CoverageOfSelectedFont(dc));
    if (!coverage_.front().Empty()) {
        LOGFONTW font{};
        GetObjectW(printerFont_.get(), sizeof font, &font);
        font.lfCharSet = DEFAULT_CHARSET;
        for (const wchar_t* face : fallbackFaces) {
            std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'\0');
            std::wstring_view(face).copy(font.lfFaceName, LF_FACESIZE - 1);
            ui::Font fallback(CreateFontIndirectW(&font));
            if (!fallback) continue;
            SelectObject(dc, fallback.get());
            // A face the system does not have is replaced by another; that one is not asked.
            std::array<wchar_t, LF_FACESIZE> used{};
            GetTextFaceW(dc, static_cast<int>(used.size()), used.data());
            if (_wcsicmp(used.data(), face) != 0) continue;
            GlyphCoverage coverage = CoverageOfSelectedFont(dc);
            if (coverage.Empty()) continue;
            coverage_.push_back(std::move(coverage));
            fallbackFonts_.push_back(std::move(fallback));
        }
    }
    SelectObject(dc, selected);
}

// Writes one line with its top-left corner at (left, top), each character in the first of the
// printer font and the fallback fonts that has it, on the printer font's baseline. A fallback
// font draws its glyphs by index: characters beyond the basic plane then reach every driver.
void PrinterObject::DrawLine(int left, int top, const std::wstring& line) {
    HDC dc = Dc();
    const std::u16string_view units(reinterpret_cast<const char16_t*>(line.data()), line.size());
    const std::vector<FontRun> runs = SplitByFont(units, coverage_);
    if (runs.size() == 1 && runs.front().font == 0) {
        TextOutW(dc, left, top, line.data(), static_cast<int>(line.size()));
        return;
    }
    const HGDIOBJ textFont = GetCurrentObject(dc, OBJ_FONT);
    const int baseline = top + AscentOfSelectedFont(dc);
    for (const FontRun& run : runs) {
        SIZE extent{};
        if (run.font == 0) {
            const wchar_t* text = line.data() + run.start;
            const int length = static_cast<int>(run.length);
            TextOutW(dc, left, top, text, length);
            GetTextExtentPoint32W(dc, text, length, &extent);
        } else {
            SelectObject(dc, fallbackFonts_[run.font - 1].get());
            std::vector<WORD> glyphs;
            for (char32_t c : CodePoints(units.substr(run.start, run.length))) {
                glyphs.push_back(coverage_[run.font].Glyph(c));
            }
            const int count = static_cast<int>(glyphs.size());
            ExtTextOutW(dc, left, baseline - AscentOfSelectedFont(dc), ETO_GLYPH_INDEX, nullptr,
                        reinterpret_cast<const wchar_t*>(glyphs.data()), count, nullptr);
            GetTextExtentPointI(dc, glyphs.data(), count, &extent);
            SelectObject(dc, textFont);
        }
        left += extent.cx;
    }
}

void PrinterObject::ApplyMappingMode() { ApplyDrawingUnit(Dc(), settings_.Unit()); }

void PrinterObject::SelectObjects() {
    SelectObject(Dc(), GetStockObject(BLACK_PEN));
    SelectObject(Dc(), GetStockObject(WHITE_BRUSH));
    SelectObject(Dc(), printerFont_ ? printerFont_.get() : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(Dc(), settings_.textColor);
    if (settings_.textBackground == transparentColour) {
        SetBkMode(Dc(), TRANSPARENT);
        SetBkColor(Dc(), RGB(255, 255, 255));
    } else {
        SetBkMode(Dc(), OPAQUE);
        SetBkColor(Dc(), settings_.textBackground);
    }
    SetROP2(Dc(), R2_COPYPEN);
    SetStretchBltMode(Dc(), stretchMode_);
    SetPolyFillMode(Dc(), WINDING);
}

void PrinterObject::SelectPictureObjects() {
    SelectObjects();
    SetTextColor(Dc(), brushColour);
}

void PrinterObject::DeselectObjects() {
    if (!dc_) return;
    SelectObject(Dc(), GetStockObject(BLACK_PEN));
    SelectObject(Dc(), GetStockObject(WHITE_BRUSH));
    SelectObject(Dc(), GetStockObject(DEFAULT_GUI_FONT));
}

bool PrinterObject::OpenPage() {
    ApplyMappingMode();
    if (!pageOpen_) {
        if (!BeginPage()) return false;
        pageOpen_ = true;
        ApplyMappingMode();
    }
    return true;
}

bool PrinterObject::NewPage() {
    ++pageNumber_;
    DeselectObjects();
    pageOpen_ = false;
    if (!FinishPage() || !BeginPage()) return false;
    pageOpen_ = true;
    ApplyMappingMode();
    SelectObjects();
    if (progress_) progress_->SetPageNumber(pageNumber_);
    return true;
}

// A preview records each page into a metafile whose frame is the printable area, in the printer's
// device units as the reference context measures them.
bool PrinterObject::BeginPage() {
    if (!previewing_) return StartPage(dc_.get()) > 0;
    const RECT frame{0, 0, GetDeviceCaps(dc_.get(), HORZSIZE) * 100,
                     GetDeviceCaps(dc_.get(), VERTSIZE) * 100};
    recorder_.reset(CreateEnhMetaFileW(dc_.get(), nullptr, &frame, nullptr));
    return static_cast<bool>(recorder_);
}

bool PrinterObject::FinishPage() {
    if (!previewing_) return EndPage(dc_.get()) > 0;
    ui::EnhancedMetafile page(CloseEnhMetaFile(recorder_.release()));
    if (!page) return false;
    pages_.push_back(std::move(page));
    if (onPage_) onPage_();
    return true;
}

int PrinterObject::ToDrawingUnitsY(int pixels) {
    POINT point{0, pixels};
    DPtoLP(Dc(), &point, 1);
    return point.y;
}

int PrinterObject::ToPixelsY(int units) {
    POINT point{0, units};
    LPtoDP(Dc(), &point, 1);
    return point.y;
}

int PrinterObject::PrintableWidth() {
    if (!JobRunning()) return 0;
    ApplyMappingMode();
    POINT size{metrics_.UsableWidth(), 0};
    DPtoLP(Dc(), &size, 1);
    return LengthInsideMargins(size.x, settings_.marginLeft, settings_.marginRight);
}

int PrinterObject::PrintableHeight() {
    if (!JobRunning()) return 0;
    ApplyMappingMode();
    return LengthInsideMargins(ToDrawingUnitsY(metrics_.UsableHeight()), settings_.marginTop,
                               settings_.marginBottom);
}

void PrinterObject::PrintTextLines(std::string_view gbk) { PrintTextLines({gbk}); }

void PrinterObject::PrintTextLines(std::initializer_list<std::string_view> gbkTexts) {
    std::vector<std::wstring> lines;
    for (std::string_view text : gbkTexts) {
        for (std::string_view line : SplitIntoLines(text)) lines.push_back(ui::FromGbk(line));
    }
    PrintTextLines(std::span<const std::wstring>(lines));
}

void PrinterObject::PrintTextLines(std::span<const std::wstring> lines) {
    ui::ProcessPendingMessages();
    if (!JobRunning()) return;
    if (!OpenPage()) {
        FailJob();
        return;
    }
    SelectObjects();
    POINT start = position_;
    DPtoLP(Dc(), &start, 1);
    const int pageHeight = PrintableHeight();
    SIZE letter{};
    GetTextExtentPoint32W(Dc(), L"W", 1, &letter);
    PrepareFallbackFonts();

    LinePlacer placer(start.y, pageHeight,
                      {[this](int units) { return ToPixelsY(units); },
                       [this](int pixels) { return ToDrawingUnitsY(pixels); }});
    for (const std::wstring& wide : lines) {
        SIZE extent = letter;
        if (!wide.empty()) {
            GetTextExtentPoint32W(Dc(), wide.data(), static_cast<int>(wide.size()), &extent);
        }
        ui::ProcessPendingMessages();
        if (!JobRunning()) return;  // aborted meanwhile: the job is already ended
        const LinePlacement placement = placer.Place(extent.cy);
        if (placement.onNewPage && !NewPage()) {
            FailJob();
            return;
        }
        if (!wide.empty()) {
            DrawLine(settings_.marginLeft + start.x, settings_.marginTop + placement.top, wide);
        }
    }
    POINT end{start.x, placer.Top()};
    LPtoDP(Dc(), &end, 1);
    position_ = end;
    DeselectObjects();
}

void PrinterObject::DrawPicture(const picture::PictureObject* picture, int left, int top,
                                std::optional<int> width, std::optional<int> height,
                                int copyMode) {
    ui::ProcessPendingMessages();
    if (!JobRunning()) return;
    if (!OpenPage()) {
        FailJob();
        return;
    }
    SelectPictureObjects();
    if (picture != nullptr) {
        POINT corner{settings_.marginLeft + left, settings_.marginTop + top};
        LPtoDP(Dc(), &corner, 1);
        // A size converts as the difference of two points, whatever the mapping's origin.
        POINT size[2] = {{0, 0}, {width.value_or(0), height.value_or(0)}};
        LPtoDP(Dc(), size, 2);
        const int pixelWidth = width ? size[1].x - size[0].x : -1;
        const int pixelHeight = height ? size[1].y - size[0].y : -1;
        SetMapMode(Dc(), MM_TEXT);
        picture::RenderPicture(Dc(), *picture, corner.x, corner.y, pixelWidth, pixelHeight,
                               RasterOperationFor(copyMode));
    }
    DeselectObjects();
}

POINT PrinterObject::PictureSize(const picture::PictureObject* picture) {
    if (picture == nullptr) return {0, 0};
    POINT size{picture->Width(), picture->Height()};
    if (JobRunning()) {
        ApplyMappingMode();
        DPtoLP(Dc(), &size, 1);
    }
    return size;
}

int PrinterObject::GetPictureWidth(const picture::PictureObject* picture) {
    return PictureSize(picture).x;
}

int PrinterObject::GetPictureHeight(const picture::PictureObject* picture) {
    return PictureSize(picture).y;
}

bool PrinterObject::EndPrinting() {
    if (JobRunning()) {
        position_ = {};
        DeselectObjects();
        const bool pageEnded = !pageOpen_ || FinishPage();
        pageOpen_ = false;
        if (!pageEnded || (!previewing_ && EndDoc(dc_.get()) <= 0)) {
            FailJob();
            return false;
        }
        ReleaseJob();
    }
    CloseProgress();
    return true;
}

bool PrinterObject::CancelPrinting() { return EndPrinting(); }

void PrinterObject::Abort() {
    aborted_ = true;
    EndPrinting();
}

// The printer refused a page or the document: nothing more is sent, the spooler drops the job,
// and the job is not reported as printed.
void PrinterObject::FailJob() {
    if (JobRunning()) {
        DeselectObjects();
        if (!previewing_) AbortDoc(dc_.get());
        ReleaseJob();
    }
    pageOpen_ = false;
    failed_ = true;
    printerName_.clear();
    CloseProgress();
}

void PrinterObject::ReleaseJob() {
    recorder_.reset();
    onPage_ = nullptr;
    dc_.reset();
    printerFont_.reset();
    fallbackFonts_.clear();
    coverage_.clear();
    fallbacksPrepared_ = false;
}

void PrinterObject::CloseProgress() { progress_.reset(); }

}  // namespace device
