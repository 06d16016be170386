#include "device/page_renderer_win.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "device/drawing_unit_win.h"

namespace device {
namespace {

// The mapping's scale is set in hundredths, so that a preview's fractional pixels per inch stay
// exact enough; a printer's whole pixels per inch give the same ratio as 254 to its resolution.
constexpr int windowExtent = 25400;
constexpr int viewportPerInch = 100;

// Text lines drawn in one step.
constexpr std::size_t linesPerStep = 4;
// Threads that make a page's pictures ready for the preview, this one included.
constexpr std::size_t maxPrepareThreads = 4;

std::size_t TextSteps(const PlanPage& page) {
    return std::max<std::size_t>(1, (page.texts.size() + linesPerStep - 1) / linesPerStep);
}

// Fonts tried, in this order, for characters the plan's font has no glyph for: emoji and
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

int Scaled(double dpi) { return static_cast<int>(std::lround(dpi * viewportPerInch)); }

// Text and the objects every page starts from; text goes onto the paper without a background.
void PrepareDc(HDC dc) {
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, RGB(255, 255, 255));
    SetROP2(dc, R2_COPYPEN);
    SetPolyFillMode(dc, WINDING);
}

// The item's rectangle in device pixels, under the page's mapping.
RECT PlaceInDevice(HDC dc, const PictureItem& item) {
    POINT corners[2] = {{item.left, item.top}, {item.left + item.width, item.top + item.height}};
    LPtoDP(dc, corners, 2);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

std::size_t BandsOf(HDC dc, const DrawablePicture& picture, const PictureItem& item) {
    const int bands = picture.BandCount(dc, item, PlaceInDevice(dc, item));
    return static_cast<std::size_t>(std::max(1, bands));
}

}  // namespace

LOGFONTW LogFontOf(const PlanFont& font) {
    LOGFONTW log{};
    log.lfHeight = font.height;
    log.lfWeight = FW_NORMAL;
    // Matched by its name, whatever script the system's default font was made for.
    log.lfCharSet = DEFAULT_CHARSET;
    std::u16string_view(font.face).substr(0, LF_FACESIZE - 1).copy(
        reinterpret_cast<char16_t*>(log.lfFaceName), LF_FACESIZE - 1);
    return log;
}


// One plan font for every device: a font's height is in the mapping's logical units, so the same
// font object serves the printer and the screen. Characters it lacks come from fallback fonts,
// found once, by the glyphs the fonts' character maps hold.
struct PageRenderer::Fonts {
    struct One {
        ui::Font font;
        bool prepared = false;
        std::vector<GlyphCoverage> coverage;  // [0] is the font's own, then one per fallback
        std::vector<ui::Font> fallbacks;
    };
    std::vector<One> fonts;
};

PageFrame DeviceFrame(HDC dc) {
    return {0, 0, static_cast<double>(GetDeviceCaps(dc, LOGPIXELSX)),
            static_cast<double>(GetDeviceCaps(dc, LOGPIXELSY))};
}

void ApplyPageMapping(HDC dc, const PageFrame& frame) {
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, windowExtent, windowExtent, nullptr);
    SetViewportExtEx(dc, Scaled(frame.dpiX), Scaled(frame.dpiY), nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetViewportOrgEx(dc, frame.originX, frame.originY, nullptr);
}

PageRenderer::PageRenderer(std::shared_ptr<const PagePlan> plan)
    : plan_(std::move(plan)), fonts_(std::make_unique<Fonts>()) {
    for (const PlanFont& font : plan_->fonts) {
        const LOGFONTW log = LogFontOf(font);
        fonts_->fonts.push_back({ui::Font(CreateFontIndirectW(&log))});
    }
}

PageRenderer::~PageRenderer() = default;

std::size_t PageRenderer::StepCount(HDC dc, const PageFrame& frame, std::size_t page) const {
    if (page >= plan_->pages.size()) return 0;
    std::size_t steps = TextSteps(plan_->pages[page]);
    const int saved = SaveDC(dc);
    ApplyPageMapping(dc, frame);
    for (const PictureItem& item : plan_->pages[page].pictures) {
        const auto* picture = dynamic_cast<const DrawablePicture*>(item.picture.get());
        if (picture != nullptr) steps += BandsOf(dc, *picture, item);
    }
    RestoreDC(dc, saved);
    return steps;
}

std::size_t PageRenderer::StepCount(HDC dc, std::size_t page) const {
    return StepCount(dc, DeviceFrame(dc), page);
}

void PageRenderer::DrawPage(HDC dc, const PageFrame& frame, std::size_t page) {
    if (page < plan_->pages.size()) PreparePictures(dc, frame, plan_->pages[page]);
    const std::size_t steps = StepCount(dc, frame, page);
    for (std::size_t step = 0; step < steps; ++step) DrawStep(dc, frame, page, step);
}

void PageRenderer::PreparePictures(HDC dc, const PageFrame& frame, const PlanPage& page) {
    struct Work {
        const DrawablePicture* picture;
        const PictureItem* item;
        RECT to;
    };
    std::vector<Work> work;
    const int saved = SaveDC(dc);
    ApplyPageMapping(dc, frame);
    for (const PictureItem& item : page.pictures) {
        const auto* picture = dynamic_cast<const DrawablePicture*>(item.picture.get());
        if (picture == nullptr) continue;
        const RECT to = PlaceInDevice(dc, item);
        // A sheet of one photo many times over is made ready once.
        const bool again = std::any_of(work.begin(), work.end(), [&](const Work& done) {
            return done.picture == picture && done.item->quarterTurns == item.quarterTurns &&
                   done.item->crop.left == item.crop.left && done.item->crop.top == item.crop.top &&
                   done.item->crop.width == item.crop.width &&
                   done.item->crop.height == item.crop.height &&
                   done.to.right - done.to.left == to.right - to.left &&
                   done.to.bottom - done.to.top == to.bottom - to.top;
        });
        if (!again) work.push_back({picture, &item, to});
    }
    RestoreDC(dc, saved);
    if (work.size() < 2) return;  // drawing makes a single picture ready itself
    std::atomic<std::size_t> next{0};
    const auto worker = [&work, &next] {
        for (std::size_t i = next++; i < work.size(); i = next++) {
            work[i].picture->Prepare(*work[i].item, work[i].to);
        }
    };
    const std::size_t threads = std::min<std::size_t>(
        {work.size(), std::max(1u, std::thread::hardware_concurrency()), maxPrepareThreads});
    std::vector<std::thread> helpers;
    try {
        for (std::size_t i = 1; i < threads; ++i) helpers.emplace_back(worker);
    } catch (const std::system_error&) {
        // Fewer helpers than hoped: this thread does the rest.
    }
    worker();
    for (std::thread& helper : helpers) helper.join();
}

void PageRenderer::DrawStep(HDC dc, const PageFrame& frame, std::size_t page, std::size_t step) {
    if (page >= plan_->pages.size()) return;
    const PlanPage& content = plan_->pages[page];
    const int saved = SaveDC(dc);
    PrepareDc(dc);
    ApplyPageMapping(dc, frame);
    const std::size_t textSteps = TextSteps(content);
    if (step < textSteps) {
        if (step == 0) {
            for (const RuleItem& rule : content.rules) {
                ui::Pen pen(CreatePen(PS_SOLID, rule.width, RGB(0, 0, 0)));
                ui::SelectObjectScope selected(dc, pen.get());
                MoveToEx(dc, rule.x1, rule.y1, nullptr);
                LineTo(dc, rule.x2, rule.y2);
            }
        }
        DrawTexts(dc, content, step * linesPerStep, linesPerStep);
        RestoreDC(dc, saved);
        return;
    }
    // The band, counting the bands of the page's pictures one after the other.
    std::size_t band = step - textSteps;
    for (const PictureItem& item : content.pictures) {
        const auto* picture = dynamic_cast<const DrawablePicture*>(item.picture.get());
        if (picture == nullptr) continue;
        const std::size_t bands = BandsOf(dc, *picture, item);
        if (band >= bands) {
            band -= bands;
            continue;
        }
        const RECT to = PlaceInDevice(dc, item);
        // Pictures are stretched in device pixels.
        SetMapMode(dc, MM_TEXT);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        SetTextColor(dc, RGB(255, 255, 255));
        picture->DrawBand(dc, item, to, RasterOperationFor(item.copyMode), static_cast<int>(band));
        break;
    }
    RestoreDC(dc, saved);
}

void PageRenderer::DrawTexts(HDC dc, const PlanPage& page, std::size_t first, std::size_t count) {
    if (first >= page.texts.size()) return;
    PrepareFonts(dc);
    const std::size_t end = std::min(page.texts.size(), first + count);
    for (std::size_t index = first; index < end; ++index) {
        const TextItem& item = page.texts[index];
        if (item.font >= plan_->fonts.size() || !fonts_->fonts[item.font].font) continue;
        SelectObject(dc, fonts_->fonts[item.font].font.get());
        SetTextColor(dc, plan_->fonts[item.font].colour);
        DrawLine(dc, item);
    }
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
}

void PageRenderer::PrepareFonts(HDC dc) {
    const HGDIOBJ selected = GetCurrentObject(dc, OBJ_FONT);
    for (Fonts::One& one : fonts_->fonts) {
        if (one.prepared || !one.font) continue;
        one.prepared = true;
        SelectObject(dc, one.font.get());
        one.coverage.push_back(CoverageOfSelectedFont(dc));
        if (one.coverage.front().Empty()) continue;
        LOGFONTW font{};
        GetObjectW(one.font.get(), sizeof font, &font);
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
            one.coverage.push_back(std::move(coverage));
            one.fallbacks.push_back(std::move(fallback));
        }
    }
    SelectObject(dc, selected);
}

// Writes one line at the item's place, each character in the first of the font and its fallbacks
// that has it, on the font's baseline. A fallback font draws its glyphs by index: characters
// beyond the basic plane then reach every driver. A line placed by its middle or its right edge
// is measured the same way first.
void PageRenderer::DrawLine(HDC dc, const TextItem& item) {
    const Fonts::One& one = fonts_->fonts[item.font];
    const std::u16string_view units(item.text);
    const auto* text = reinterpret_cast<const wchar_t*>(units.data());
    const std::vector<FontRun> runs = SplitByFont(units, one.coverage);
    const HGDIOBJ textFont = GetCurrentObject(dc, OBJ_FONT);
    const int baseline = item.top + AscentOfSelectedFont(dc);
    // Writes the runs from left, or only measures them; gives their width.
    const auto write = [&](int left, bool draw) {
        const int start = left;
        for (const FontRun& run : runs) {
            SIZE extent{};
            const int length = static_cast<int>(run.length);
            if (run.font == 0) {
                if (draw) TextOutW(dc, left, item.top, text + run.start, length);
                GetTextExtentPoint32W(dc, text + run.start, length, &extent);
            } else {
                SelectObject(dc, one.fallbacks[run.font - 1].get());
                std::vector<WORD> glyphs;
                for (char32_t c : CodePoints(units.substr(run.start, run.length))) {
                    glyphs.push_back(one.coverage[run.font].Glyph(c));
                }
                const int count = static_cast<int>(glyphs.size());
                if (draw) {
                    ExtTextOutW(dc, left, baseline - AscentOfSelectedFont(dc), ETO_GLYPH_INDEX,
                                nullptr, reinterpret_cast<const wchar_t*>(glyphs.data()), count,
                                nullptr);
                }
                GetTextExtentPointI(dc, glyphs.data(), count, &extent);
                SelectObject(dc, textFont);
            }
            left += extent.cx;
        }
        return left - start;
    };
    const bool oneFont = runs.empty() || (runs.size() == 1 && runs.front().font == 0);
    int left = item.left;
    if (item.align != TextAlign::left) {
        SIZE extent{};
        if (oneFont) GetTextExtentPoint32W(dc, text, static_cast<int>(units.size()), &extent);
        const int width = oneFont ? extent.cx : write(0, false);
        left -= item.align == TextAlign::right ? width : width / 2;
    }
    if (oneFont) {
        TextOutW(dc, left, item.top, text, static_cast<int>(units.size()));
        return;
    }
    write(left, true);
}

}  // namespace device
