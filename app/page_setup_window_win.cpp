#include "app/page_setup_window_win.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "app/page_setup_description.h"
#include "app/page_setup_file_win.h"
#include "app/program_texts.h"
#include "app/program_win.h"
#include "device/printer_chooser_win.h"
#include "text/page_fields.h"
#include "ui/date_time_win.h"
#include "ui/custom_view_win.h"
#include "ui/dpi_scale.h"
#include "ui/files_win.h"
#include "ui/handles_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace app {
namespace {

enum class End { none, ok, cancel };

struct SetupDialog {
    Program& program;
    bool textParts = true;
    ui::Window* window = nullptr;  // from its creation on
    std::vector<device::PaperName> papers;
    std::vector<int> paperNumbers;
    bool paperChosen = false;  // the user picked an item of the paper list
    std::u16string date;       // the sample's "&d" and "&t"
    std::u16string time;
    End end = End::none;
};

constexpr std::array<int, 4> marginBoxes{leftMarginBox, topMarginBox, rightMarginBox, bottomMarginBox};
constexpr std::array<int, 3> headerBoxes{headerLeftBox, headerCentreBox, headerRightBox};
constexpr std::array<int, 3> footerBoxes{footerLeftBox, footerCentreBox, footerRightBox};

constexpr COLORREF shadowColour = RGB(128, 128, 128);
constexpr COLORREF edgeColour = RGB(96, 96, 96);
constexpr COLORREF marginColour = RGB(150, 150, 150);
constexpr COLORREF barColour = RGB(200, 200, 200);
constexpr COLORREF sampleTextColour = RGB(64, 64, 64);
constexpr int sampleFontHeight = 8;  // pixels at 96 dpi
// How much of the line each sample text line fills, in turn.
constexpr std::array barLengths{1.0, 0.93, 0.97, 0.55, 1.0, 0.88, 0.96, 0.35};

SetupDialog& DialogOf(ui::EventArgs& event) { return event.Context<SetupDialog>(); }

int* Margin(text::PageSetup& setup, std::size_t side) {
    int* const margins[] = {&setup.marginLeft, &setup.marginTop, &setup.marginRight, &setup.marginBottom};
    return margins[side];
}

std::u16string FieldText(const ui::Window& window, int id) {
    std::u16string text = ui::ToUtf16(window.Text(id));
    if (text.size() > text::maxFieldLength) text.resize(text::maxFieldLength);
    return text;
}

void ReadParts(const ui::Window& window, const std::array<int, 3>& boxes, text::HeaderFooter& parts) {
    parts.left = FieldText(window, boxes[0]);
    parts.centre = FieldText(window, boxes[1]);
    parts.right = FieldText(window, boxes[2]);
}

void ShowParts(ui::Window& window, const std::array<int, 3>& boxes, const text::HeaderFooter& parts) {
    window.SetText(boxes[0], ui::FromUtf16(parts.left));
    window.SetText(boxes[1], ui::FromUtf16(parts.centre));
    window.SetText(boxes[2], ui::FromUtf16(parts.right));
}

// The setup the fields hold now. The parts a picture job leaves alone stay as they were.
text::PageSetup ReadSetup(const SetupDialog& dialog) {
    const ui::Window& window = *dialog.window;
    text::PageSetup setup = dialog.program.pageSetup;
    for (std::size_t side = 0; side < marginBoxes.size(); ++side) {
        *Margin(setup, side) = MarginUnitsFromText(ui::ToUtf16(window.Text(marginBoxes[side])));
    }
    if (!dialog.textParts) return setup;
    setup.paperSize = ChosenPaperSize(setup.paperSize, dialog.paperNumbers, window.ListSelection(paperList),
                                      dialog.paperChosen);
    setup.landscape = window.Checked(landscapeOption);
    ReadParts(window, headerBoxes, setup.header);
    ReadParts(window, footerBoxes, setup.footer);
    setup.lineNumbers = window.Checked(lineNumbersOption);
    return setup;
}

void Fill(SetupDialog& dialog) {
    ui::Window& window = *dialog.window;
    const text::PageSetup& setup = dialog.program.pageSetup;
    std::vector<std::wstring> items{ui::Widen(defaultPaperItem)};
    for (const device::PaperName& paper : dialog.papers) {
        items.push_back(paper.name);
        dialog.paperNumbers.push_back(paper.number);
    }
    window.SetListItems(paperList, items);
    window.SelectListItem(paperList, PaperItemIndex(setup.paperSize, dialog.paperNumbers));
    window.SetChecked(portraitOption, !setup.landscape);
    window.SetChecked(landscapeOption, setup.landscape);
    text::PageSetup shown = setup;
    for (std::size_t side = 0; side < marginBoxes.size(); ++side) {
        window.SetTextLimit(marginBoxes[side], 4);
        window.SetText(marginBoxes[side], std::to_wstring(MarginMillimetres(*Margin(shown, side))));
    }
    for (const auto* boxes : {&headerBoxes, &footerBoxes}) {
        for (const int box : *boxes) window.SetTextLimit(box, text::maxFieldLength);
    }
    ShowParts(window, headerBoxes, setup.header);
    ShowParts(window, footerBoxes, setup.footer);
    window.SetChecked(lineNumbersOption, setup.lineNumbers);
    if (!dialog.textParts) {
        for (const int id : TextOnlyControls()) window.SetEnabled(id, false);
    }
}

// -- the sample page ----------------------------------------------------------

// The paper's size as the printer gives it, none for the printer's own paper.
std::pair<int, int> PaperSize(const SetupDialog& dialog, int number) {
    for (const device::PaperName& paper : dialog.papers) {
        if (paper.number == number) return {paper.width, paper.height};
    }
    return {0, 0};
}

// The three parts of a header or footer, expanded, on one line of the box.
void DrawParts(HDC dc, const RECT& line, const text::HeaderFooter& parts, const text::FieldValues& values) {
    const std::pair<const std::u16string*, UINT> placed[] = {
        {&parts.left, DT_LEFT}, {&parts.centre, DT_CENTER}, {&parts.right, DT_RIGHT}};
    for (const auto& [part, alignment] : placed) {
        if (part->empty()) continue;
        const std::wstring expanded = ui::FromUtf16(text::ExpandFields(*part, values));
        RECT box = line;
        DrawTextW(dc, expanded.c_str(), static_cast<int>(expanded.size()), &box,
                  alignment | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_TOP);
    }
}

// Grey bars for the lines of text between the header and the footer, numbered when asked.
void DrawLines(HDC dc, const RECT& body, int lineHeight, bool numbered) {
    SIZE digits{};
    GetTextExtentPoint32W(dc, L"00", 2, &digits);
    const int numberWidth = numbered ? digits.cx + lineHeight / 2 : 0;
    const int barHeight = std::max(2, lineHeight / 3);
    const ui::Brush bar(CreateSolidBrush(barColour));
    int line = 0;
    for (int y = body.top; y + lineHeight <= body.bottom; y += lineHeight, ++line) {
        const int left = body.left + numberWidth;
        const int length = static_cast<int>((body.right - left) * barLengths[line % barLengths.size()]);
        const RECT filled{left, y + (lineHeight - barHeight) / 2, left + length, y + (lineHeight + barHeight) / 2};
        FillRect(dc, &filled, bar.get());
        if (numbered) {
            const std::wstring number = std::to_wstring(line + 1);
            RECT box{body.left, y, body.left + digits.cx, y + lineHeight};
            DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &box,
                      DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
        }
    }
}

void DrawSample(HDC dc, const RECT& client, const SetupDialog& dialog) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const text::PageSetup setup = ReadSetup(dialog);
    const auto [paperWidth, paperHeight] = PaperSize(dialog, setup.paperSize);
    const SampleRects placed = PlaceSample(setup, paperWidth, paperHeight, client.right, client.bottom);
    const int dpi = dialog.window->Dpi();
    const ui::Rect& p = placed.paper;
    RECT paper{p.x, p.y, p.x + p.width, p.y + p.height};
    RECT shadow = paper;
    OffsetRect(&shadow, ui::ScaleToDpi(3, dpi), ui::ScaleToDpi(3, dpi));
    const ui::Brush shadowBrush(CreateSolidBrush(shadowColour));
    FillRect(dc, &shadow, shadowBrush.get());
    FillRect(dc, &paper, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const ui::Brush edge(CreateSolidBrush(edgeColour));
    FrameRect(dc, &paper, edge.get());

    const ui::Rect& in = placed.inside;
    RECT inside{in.x, in.y, in.x + in.width, in.y + in.height};
    {
        const ui::Pen dotted(CreatePen(PS_DOT, 1, marginColour));
        const ui::SelectObjectScope pen(dc, dotted.get());
        const ui::SelectObjectScope brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, inside.left, inside.top, inside.right, inside.bottom);
    }
    if (in.width <= 2 || in.height <= 2) return;
    InflateRect(&inside, -1, -1);

    LOGFONTW small{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof small, &small);
    small.lfHeight = -ui::ScaleToDpi(sampleFontHeight, dpi);
    small.lfWidth = 0;
    const ui::Font font(CreateFontIndirectW(&small));
    const ui::SelectObjectScope selected(dc, font ? font.get() : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = std::max<int>(4, metrics.tmHeight);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, sampleTextColour);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);

    const text::FieldValues values{dialog.program.textFileName, 1, 3, dialog.date, dialog.time};
    RECT body = inside;
    if (!setup.header.Empty()) {
        DrawParts(dc, {inside.left, inside.top, inside.right, inside.top + lineHeight}, setup.header, values);
        body.top += lineHeight + lineHeight / 2;
    }
    if (!setup.footer.Empty()) {
        DrawParts(dc, {inside.left, inside.bottom - lineHeight, inside.right, inside.bottom}, setup.footer,
                  values);
        body.bottom -= lineHeight + lineHeight / 2;
    }
    DrawLines(dc, body, lineHeight, setup.lineNumbers);
    RestoreDC(dc, saved);
}

void PaintSample(HWND view, const SetupDialog& dialog) {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(view, &paint);
    RECT client{};
    GetClientRect(view, &client);
    const ui::MemoryDc dc(CreateCompatibleDC(target));
    const ui::Bitmap canvas(CreateCompatibleBitmap(target, std::max(1L, client.right), std::max(1L, client.bottom)));
    if (dc && canvas) {
        const ui::SelectObjectScope selected(dc.get(), canvas.get());
        DrawSample(dc.get(), client, dialog);
        BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
    }
    EndPaint(view, &paint);
}

bool HandleSample(HWND view, UINT message, WPARAM, LPARAM, SetupDialog& dialog, LRESULT& result) {
    if (dialog.window == nullptr) return false;
    switch (message) {
    case WM_ERASEBKGND: result = 1; return true;
    case WM_PAINT: PaintSample(view, dialog); return true;
    default: return false;
    }
}

// -- handlers -----------------------------------------------------------------

void Finish(SetupDialog& dialog, End end) {
    dialog.end = end;
    PostMessageW(dialog.window->Handle(), WM_NULL, 0, 0);  // wakes the window's loop
}

void OnCreated(ui::EventArgs& event) {
    SetupDialog& dialog = DialogOf(event);
    dialog.window = &event.window;
    Fill(dialog);
}

void OnFieldChanged(ui::EventArgs& event) {
    SetupDialog& dialog = DialogOf(event);
    if (event.source == paperList) dialog.paperChosen = true;
    InvalidateRect(dialog.window->Control(samplePage), nullptr, FALSE);
}

void OnOk(ui::EventArgs& event) { Finish(DialogOf(event), End::ok); }
void OnCancel(ui::EventArgs& event) { Finish(DialogOf(event), End::cancel); }

void OnCloseRequested(ui::EventArgs& event) {
    event.refuse = true;  // destroyed once the answer has been read
    Finish(DialogOf(event), End::cancel);
}

// Enter is OK (Cancel when that button has the focus), Esc is Cancel; an open paper list takes
// both keys itself.
void OnKeyDown(ui::EventArgs& event) {
    SetupDialog& dialog = DialogOf(event);
    if (event.code != VK_RETURN && event.code != VK_ESCAPE) return;
    if (SendMessageW(dialog.window->Control(paperList), CB_GETDROPPEDSTATE, 0, 0)) return;
    const bool cancel = event.code == VK_ESCAPE || GetFocus() == dialog.window->Control(setupCancelButton);
    Finish(dialog, cancel ? End::cancel : End::ok);
    event.handled = true;
}

constexpr ui::Binding setupEvents[] = {
    {ui::windowItself, ui::Event::Created, OnCreated},
    {ui::windowItself, ui::Event::CloseRequested, OnCloseRequested},
    {ui::windowItself, ui::Event::KeyDown, OnKeyDown},
    {paperList, ui::Event::Changed, OnFieldChanged},
    {portraitOption, ui::Event::Clicked, OnFieldChanged},
    {landscapeOption, ui::Event::Clicked, OnFieldChanged},
    {leftMarginBox, ui::Event::Changed, OnFieldChanged},
    {topMarginBox, ui::Event::Changed, OnFieldChanged},
    {rightMarginBox, ui::Event::Changed, OnFieldChanged},
    {bottomMarginBox, ui::Event::Changed, OnFieldChanged},
    {headerLeftBox, ui::Event::Changed, OnFieldChanged},
    {headerCentreBox, ui::Event::Changed, OnFieldChanged},
    {headerRightBox, ui::Event::Changed, OnFieldChanged},
    {footerLeftBox, ui::Event::Changed, OnFieldChanged},
    {footerCentreBox, ui::Event::Changed, OnFieldChanged},
    {footerRightBox, ui::Event::Changed, OnFieldChanged},
    {lineNumbersOption, ui::Event::Clicked, OnFieldChanged},
    {okButton, ui::Event::Clicked, OnOk},
    {setupCancelButton, ui::Event::Clicked, OnCancel},
};

const ui::WindowSpec& PageSetupDescription() {
    static const ui::WindowSpec description{"MozhouPageSetup", pageSetupTitle, pageSetupWindowWidth,
                                            pageSetupWindowHeight, ui::fixedBorder | ui::centered,
                                            PageSetupControls(), {}, setupEvents};
    return description;
}

}  // namespace

bool ShowPageSetupWindow(ui::Window& owner, Program& program, bool textParts) {
    ui::RegisterViewClass<SetupDialog, HandleSample>(samplePageClass);
    SetupDialog dialog{program, textParts};
    dialog.papers = program.printer.Papers();
    dialog.date = ui::ShortDate();
    dialog.time = ui::ShortTime();
    std::unique_ptr<ui::Window> window = ui::Window::Create(PageSetupDescription(), SW_SHOW, &dialog);
    if (!window) return false;
    EnableWindow(owner.Handle(), FALSE);
    SetFocus(window->Control(textParts ? paperList : leftMarginBox));
    const bool answered = ui::RunModalLoop([&dialog] { return dialog.end != End::none; });
    const bool accepted = answered && dialog.end == End::ok;
    const text::PageSetup chosen = accepted ? ReadSetup(dialog) : text::PageSetup{};
    EnableWindow(owner.Handle(), TRUE);
    dialog.window = nullptr;
    window.reset();
    SetForegroundWindow(owner.Handle());
    if (!accepted) return false;
    UsePageSetup(program, chosen);
    if (!SavePageSetup(chosen)) {
        const DWORD error = GetLastError();
        if (program.mainWindow != nullptr) {
            SetStatusMessage(*program.mainWindow,
                             ui::Widen(pageSetupNotSavedMessage) + ui::SystemErrorText(error));
        }
    }
    return true;
}

void OnPageSetupChosen(ui::EventArgs& event) {
    ShowPageSetupWindow(event.window, event.Context<Program>(), true);
}

}  // namespace app
