// The print preview "打印预览": the pages a print would make, shown before paper is spent. The
// questions are the print command's; the job is laid out once on the printer a print would use,
// and its pages are drawn on the screen at the screen's own scale by the renderer that draws
// them on paper. Printing from the preview prints that plan.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "app/page_setup_window_win.h"
#include "app/print_preview_description.h"
#include "app/print_preview_win.h"
#include "app/program_win.h"
#include "device/page_renderer_win.h"
#include "device/printer_object_win.h"
#include "picture/picture_job_texts.h"
#include "picture/picture_layout.h"
#include "ui/custom_view_win.h"
#include "ui/dialogs_win.h"
#include "ui/dpi_scale.h"
#include "ui/handles_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace app {
namespace {

// What a preview lays out and how it prints, once the questions are answered.
struct PreviewJob {
    device::LayOut layOut;
    // Through the print dialog, with the plan shown; presetPage (1-based) asks for one page.
    std::function<void(std::shared_ptr<const device::PagePlan> plan, int presetPage)> print;
    bool pictureJob = false;  // the page setup's text parts do not apply
    // A picture job: the layout can be chosen, and the last layout may have a notice.
    bool choosesLayout = false;
    std::function<std::string()> notice;
    // The paper asked of the printer, again at each layout: the page setup may change it.
    std::function<device::PaperChoice()> paper;
};

enum class Request { none, close, print, printPage, relayout };

// The page drawn at the view's size, kept until the page, the zoom or the view changes.
struct DrawnPage {
    ui::Bitmap bitmap;
    std::size_t page = 0;
    int width = 0;
    int height = 0;
};

struct PreviewState {
    Program& program;
    std::unique_ptr<ui::Window> window;
    std::shared_ptr<const device::PagePlan> plan;
    std::unique_ptr<device::PageRenderer> renderer;
    DrawnPage drawn;
    std::size_t page = 0;
    PreviewZoom zoom = PreviewZoom::wholePage;
    Request request = Request::none;
    POINT scroll{};
    bool pictureJob = false;
};

constexpr COLORREF backgroundColour = RGB(128, 128, 128);
constexpr COLORREF shadowColour = RGB(64, 64, 64);
constexpr COLORREF printableColour = RGB(176, 176, 176);
// In pixels of a 96-dpi screen, like the window's description.
constexpr int shadowOffset = 4;
constexpr int wheelLines = 48;  // pixels a wheel notch scrolls at 100%

int Scaled(const PreviewState& state, int length) {
    return ui::ScaleToDpi(length, state.window->Dpi());
}

PreviewState& StateOf(ui::EventArgs& event) { return event.Context<PreviewState>(); }

std::size_t PageCount(const PreviewState& state) {
    return state.plan ? state.plan->pages.size() : 0;
}

HWND View(const PreviewState& state) { return state.window->Control(pageView); }

device::PaperSpec PaperOf(const PreviewState& state) {
    return state.plan ? state.plan->paper : device::PaperSpec{};
}

// At 100% the paper is as large on the screen the preview is on as it is in the hand.
PagePlacement Placement(const PreviewState& state, const RECT& client) {
    const int dpi = state.window->Dpi();
    return PlacePage(PaperOf(state), state.zoom, client.right, client.bottom, dpi, dpi);
}

// Scroll bars over the content where it is larger than the view, the position kept inside.
void UpdateScrollBars(PreviewState& state) {
    HWND view = View(state);
    RECT client{};
    GetClientRect(view, &client);
    const PagePlacement placed = Placement(state, client);
    state.scroll.x = std::clamp<LONG>(state.scroll.x, 0, std::max<LONG>(0, placed.contentWidth - client.right));
    state.scroll.y = std::clamp<LONG>(state.scroll.y, 0, std::max<LONG>(0, placed.contentHeight - client.bottom));
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS};
    info.nMax = placed.contentWidth - 1;
    info.nPage = static_cast<UINT>(client.right);
    info.nPos = state.scroll.x;
    SetScrollInfo(view, SB_HORZ, &info, TRUE);
    info.nMax = placed.contentHeight - 1;
    info.nPage = static_cast<UINT>(client.bottom);
    info.nPos = state.scroll.y;
    SetScrollInfo(view, SB_VERT, &info, TRUE);
}

void Refresh(PreviewState& state) {
    const std::size_t count = PageCount(state);
    if (count > 0) state.page = std::min(state.page, count - 1);
    state.window->SetText(pageNumberLabel, ui::Widen(PageNumberText(state.page + 1, count)));
    UpdateScrollBars(state);
    InvalidateRect(View(state), nullptr, FALSE);
}

void ShowPage(PreviewState& state, std::size_t page) {
    const std::size_t count = PageCount(state);
    const std::size_t shown = count == 0 ? 0 : std::min(page, count - 1);
    if (shown != state.page) state.scroll.y = 0;
    state.page = shown;
    Refresh(state);
}

void TurnPages(PreviewState& state, int by) {
    if (by < 0 && state.page < static_cast<std::size_t>(-by)) return ShowPage(state, 0);
    ShowPage(state, state.page + by);
}

// The wish is carried out by the preview's loop; a message wakes it, which a sent message (a
// click from another program) would not.
void RequestEnd(PreviewState& state, Request request) {
    state.request = request;
    PostMessageW(state.window->Handle(), WM_NULL, 0, 0);
}

// The page on white paper at the size the view shows it, in a bitmap of the screen's own format;
// the printable area's corner at (left, top) of it, its pixels per inch as the view's.
const DrawnPage& DrawnPageFor(PreviewState& state, HDC target, const PagePlacement& placed) {
    DrawnPage& drawn = state.drawn;
    const int width = placed.paper.width;
    const int height = placed.paper.height;
    if (drawn.bitmap && drawn.page == state.page && drawn.width == width && drawn.height == height) {
        return drawn;
    }
    drawn = {ui::Bitmap(CreateCompatibleBitmap(target, width, height)), state.page, width, height};
    const ui::MemoryDc dc(CreateCompatibleDC(target));
    if (!drawn.bitmap || !dc || !state.renderer) return drawn;
    const ui::SelectObjectScope selected(dc.get(), drawn.bitmap.get());
    PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
    const device::PaperSpec paper = PaperOf(state);
    const device::PageMetrics& page = paper.metrics;
    device::PageFrame frame;
    frame.originX = placed.printable.x - placed.paper.x;
    frame.originY = placed.printable.y - placed.paper.y;
    frame.dpiX = page.physicalWidth > 0 ? paper.dpiX * width / static_cast<double>(page.physicalWidth) : 0;
    frame.dpiY =
        page.physicalHeight > 0 ? paper.dpiY * height / static_cast<double>(page.physicalHeight) : 0;
    state.renderer->DrawPage(dc.get(), frame, state.page);
    return drawn;
}

void PaintView(HWND view, PreviewState& state) {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(view, &paint);
    RECT client{};
    GetClientRect(view, &client);
    ui::MemoryDc dc(CreateCompatibleDC(target));
    ui::Bitmap canvas(CreateCompatibleBitmap(target, std::max(1L, client.right), std::max(1L, client.bottom)));
    if (dc && canvas) {
        ui::SelectObjectScope selected(dc.get(), canvas.get());
        ui::Brush background(CreateSolidBrush(backgroundColour));
        FillRect(dc.get(), &client, background.get());

        const PagePlacement placed = Placement(state, client);
        const auto onView = [&state](const ui::Rect& r) {
            return RECT{r.x - state.scroll.x, r.y - state.scroll.y, r.x + r.width - state.scroll.x,
                        r.y + r.height - state.scroll.y};
        };
        const RECT paper = onView(placed.paper);
        RECT shadow = paper;
        OffsetRect(&shadow, Scaled(state, shadowOffset), Scaled(state, shadowOffset));
        ui::Brush shadowBrush(CreateSolidBrush(shadowColour));
        FillRect(dc.get(), &shadow, shadowBrush.get());
        FillRect(dc.get(), &paper, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

        const RECT printable = onView(placed.printable);
        if (state.page < PageCount(state)) {
            const DrawnPage& drawn = DrawnPageFor(state, target, placed);
            const ui::MemoryDc source(CreateCompatibleDC(target));
            if (drawn.bitmap && source) {
                const ui::SelectObjectScope selected(source.get(), drawn.bitmap.get());
                // What the printer cannot reach stays blank, as on paper.
                const int saved = SaveDC(dc.get());
                IntersectClipRect(dc.get(), printable.left, printable.top, printable.right,
                                  printable.bottom);
                BitBlt(dc.get(), paper.left, paper.top, drawn.width, drawn.height, source.get(), 0,
                       0, SRCCOPY);
                RestoreDC(dc.get(), saved);
            }
        }
        // The printable area's edge, where the paper has one inside its own.
        if (!EqualRect(&printable, &paper)) {
            ui::Pen dotted(CreatePen(PS_DOT, 1, printableColour));
            ui::SelectObjectScope pen(dc.get(), dotted.get());
            ui::SelectObjectScope brush(dc.get(), GetStockObject(NULL_BRUSH));
            Rectangle(dc.get(), printable.left, printable.top, printable.right, printable.bottom);
        }
        BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
    }
    EndPaint(view, &paint);
}

void Scroll(HWND view, PreviewState& state, int bar, int request, int wheel = 0) {
    SCROLLINFO info{sizeof info, SIF_ALL};
    GetScrollInfo(view, bar, &info);
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP: position -= Scaled(state, wheelLines); break;
    case SB_LINEDOWN: position += Scaled(state, wheelLines); break;
    case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = info.nMin; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: position -= wheel; break;
    }
    (bar == SB_HORZ ? state.scroll.x : state.scroll.y) = position;
    UpdateScrollBars(state);
    InvalidateRect(view, nullptr, FALSE);
}

bool HandlePageView(HWND view, UINT message, WPARAM wParam, LPARAM, PreviewState& state, LRESULT& result) {
    if (!state.window || state.window->Handle() == nullptr) return false;
    result = 0;
    switch (message) {
    case WM_ERASEBKGND: result = 1; return true;
    case WM_PAINT: PaintView(view, state); return true;
    case WM_HSCROLL: Scroll(view, state, SB_HORZ, LOWORD(wParam)); return true;
    case WM_VSCROLL: Scroll(view, state, SB_VERT, LOWORD(wParam)); return true;
    case WM_MOUSEWHEEL: {
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        if (state.zoom == PreviewZoom::wholePage) {
            TurnPages(state, -notches);
        } else {
            Scroll(view, state, SB_VERT, -1, notches * Scaled(state, wheelLines) * 3);
        }
        return true;
    }
    default: return false;
    }
}

void OnPreviousPage(ui::EventArgs& event) { TurnPages(StateOf(event), -1); }
void OnNextPage(ui::EventArgs& event) { TurnPages(StateOf(event), 1); }

void Zoom(ui::EventArgs& event, PreviewZoom zoom) {
    PreviewState& state = StateOf(event);
    state.zoom = zoom;
    state.scroll = {};
    Refresh(state);
}
void OnWholePage(ui::EventArgs& event) { Zoom(event, PreviewZoom::wholePage); }
void OnActualSize(ui::EventArgs& event) { Zoom(event, PreviewZoom::actualSize); }

// The page setup over the preview; a picture job's only takes its margins.
void OnPageSetup(ui::EventArgs& event) {
    PreviewState& state = StateOf(event);
    if (ShowPageSetupWindow(event.window, state.program, !state.pictureJob)) RequestEnd(state, Request::relayout);
}
// The layout on its button; the count of prints only for the photo sizes, which use it.
void ShowLayoutChoice(PreviewState& state) {
    const picture::PictureLayout layout = state.program.pictureLayout;
    state.window->SetText(layoutButton, ui::Widen(LayoutButtonText(layout)));
    state.window->SetText(photoCountButton, ui::Widen(PhotoCountButtonText(state.program.photoCount)));
    state.window->SetEnabled(photoCountButton, picture::IsPhotoSize(layout));
}

// The layouts' menu under the layout button.
void OnLayoutButton(ui::EventArgs& event) {
    RECT button{};
    GetWindowRect(event.window.Control(layoutButton), &button);
    event.window.ShowPopupMenu(layoutMenu, {button.left, button.bottom});
}

// The layout chosen holds for the rest of the run, for printing without the preview too.
void OnLayoutChosen(ui::EventArgs& event) {
    PreviewState& state = StateOf(event);
    const int chosen = event.source - firstLayoutItem;
    if (chosen < 0 || chosen >= picture::pictureLayoutCount) return;
    state.program.pictureLayout = static_cast<picture::PictureLayout>(chosen);
    ShowLayoutChoice(state);
    RequestEnd(state, Request::relayout);
}

// How many prints of each picture a photo size layout makes; 0 fills a sheet with each.
void OnPhotoCount(ui::EventArgs& event) {
    PreviewState& state = StateOf(event);
    int count = state.program.photoCount;
    if (!ui::InputInteger(state.window->Handle(), ui::Widen(picture::photoCountPrompt),
                          ui::Widen(picture::photoCountCaption), std::to_wstring(count), count)) {
        return;
    }
    state.program.photoCount = std::clamp(count, 0, picture::maxPhotoCount);
    ShowLayoutChoice(state);
    RequestEnd(state, Request::relayout);
}

void OnPreviewPrint(ui::EventArgs& event) { RequestEnd(StateOf(event), Request::print); }
void OnPrintPage(ui::EventArgs& event) { RequestEnd(StateOf(event), Request::printPage); }
void OnPreviewClose(ui::EventArgs& event) { RequestEnd(StateOf(event), Request::close); }

void OnPreviewCloseRequested(ui::EventArgs& event) {
    event.refuse = true;  // destroyed once the layout has stopped
    RequestEnd(StateOf(event), Request::close);
}

void OnPreviewKeyDown(ui::EventArgs& event) {
    PreviewState& state = StateOf(event);
    event.handled = true;
    switch (event.code) {
    case VK_PRIOR: TurnPages(state, -1); break;
    case VK_NEXT: TurnPages(state, 1); break;
    case VK_HOME | ui::keyControl: ShowPage(state, 0); break;
    case VK_END | ui::keyControl: ShowPage(state, PageCount(state)); break;
    case VK_ESCAPE: RequestEnd(state, Request::close); break;
    default: event.handled = false; break;
    }
}

constexpr ui::Binding previewEvents[] = {
    {ui::windowItself, ui::Event::CloseRequested, OnPreviewCloseRequested},
    {ui::windowItself, ui::Event::KeyDown, OnPreviewKeyDown},
    {previousPageButton, ui::Event::Clicked, OnPreviousPage},
    {nextPageButton, ui::Event::Clicked, OnNextPage},
    {wholePageButton, ui::Event::Clicked, OnWholePage},
    {actualSizeButton, ui::Event::Clicked, OnActualSize},
    {pageSetupButton, ui::Event::Clicked, OnPageSetup},
    {previewPrintButton, ui::Event::Clicked, OnPreviewPrint},
    {printPageButton, ui::Event::Clicked, OnPrintPage},
    {previewCloseButton, ui::Event::Clicked, OnPreviewClose},
    {layoutButton, ui::Event::Clicked, OnLayoutButton},
    {photoCountButton, ui::Event::Clicked, OnPhotoCount},
};

// The fixed bindings, then one for each layout's menu item.
std::span<const ui::Binding> PreviewEvents() {
    static const std::vector<ui::Binding> events = [] {
        std::vector<ui::Binding> all(std::begin(previewEvents), std::end(previewEvents));
        for (int i = 0; i < picture::pictureLayoutCount; ++i) {
            all.push_back({firstLayoutItem + i, ui::Event::Clicked, OnLayoutChosen});
        }
        return all;
    }();
    return events;
}

const ui::WindowSpec& PreviewWindowDescription() {
    static const ui::WindowSpec description{"MozhouPreview", previewTitle, previewWindowWidth,
                                            previewWindowHeight, ui::fixedBorder | ui::centered,
                                            PreviewControls(), PreviewMenu(), PreviewEvents()};
    return description;
}

// A picture job shows its layout row, and the page view moves down to make room for it.
void ShowLayoutRow(PreviewState& state) {
    ui::Window& window = *state.window;
    ShowLayoutChoice(state);
    for (const int id : {layoutButton, photoCountButton, noticeLabel}) {
        ShowWindow(window.Control(id), SW_SHOW);
    }
    HWND view = View(state);
    RECT area{};
    GetWindowRect(view, &area);
    MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&area), 2);
    const int row = Scaled(state, layoutRowHeight);
    MoveWindow(view, area.left, area.top + row, area.right - area.left,
               std::max<int>(1, area.bottom - area.top - row), TRUE);
}

// Lays the pages out, again after new margins, and shows them until the window is closed; the
// main window waits meanwhile. A print asked for runs once the preview has gone.
void RunPreview(ui::Window& main, Program& program, const PreviewJob& job) {
    ui::RegisterViewClass<PreviewState, HandlePageView>(pageViewClass);
    PreviewState state{program};
    state.window = ui::Window::Create(PreviewWindowDescription(), SW_SHOW, &state);
    if (!state.window) return;
    device::PrinterObject& printer = program.printer;
    EnableWindow(main.Handle(), FALSE);
    state.pictureJob = job.pictureJob;
    if (job.choosesLayout) ShowLayoutRow(state);
    do {
        state.request = Request::none;
        state.plan = printer.PlanOnCurrentPrinter(job.layOut,
                                                  job.paper ? job.paper() : device::PaperChoice{});
        if (!state.plan) break;
        state.renderer = std::make_unique<device::PageRenderer>(state.plan);
        state.drawn = {};
        if (job.notice) state.window->SetText(noticeLabel, ui::Widen(job.notice()));
        Refresh(state);
        if (!ui::RunModalLoop([&state] { return state.request != Request::none; })) break;
    } while (state.request == Request::relayout);
    EnableWindow(main.Handle(), TRUE);
    const int shown = static_cast<int>(state.page) + 1;
    state.window.reset();
    SetForegroundWindow(main.Handle());
    if (state.request == Request::print) job.print(state.plan, 0);
    if (state.request == Request::printPage) job.print(state.plan, shown);
}

}  // namespace

void PreviewText(ui::Window& main, Program& program, const text::TextJob& job) {
    const text::StatusReport report = [&main](std::wstring_view message, bool bold) {
        SetStatusMessage(main, message, bold);
    };
    std::optional<text::PreparedText> prepared = text::PrepareTextJob(job, report);
    if (!prepared) return;
    auto text = std::make_shared<const text::PreparedText>(std::move(*prepared));
    text::ApplyTextSettings(*text, program.printer);
    PreviewJob preview{text::TextLayOut(text, program.printer),
                       [&](std::shared_ptr<const device::PagePlan> plan, int page) {
                           text::PrintPreparedText(text, program.printer, report, std::move(plan), page);
                       }};
    preview.paper = [&program] { return text::PaperFor(program.pageSetup); };
    RunPreview(main, program, preview);
}

void PreviewPicture(ui::Window& main, Program& program) {
    const std::optional<PreparedPicture> prepared = PreparePictureJob(main, program);
    if (!prepared) return;
    auto shrunk = std::make_shared<bool>(false);
    PreviewJob job{PictureLayOut(*prepared, program, shrunk),
                   [&](std::shared_ptr<const device::PagePlan> plan, int page) {
                       PrintPreparedPicture(main, program, *prepared, std::move(plan), page);
                   }};
    // At a size entered by hand there is no layout to choose.
    job.choosesLayout = !prepared->bySize;
    job.pictureJob = true;
    job.notice = [shrunk] { return *shrunk ? std::string(picture::shrunkToFitNotice) : std::string(); };
    RunPreview(main, program, job);
}

}  // namespace app
