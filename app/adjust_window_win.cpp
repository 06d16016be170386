#include "app/adjust_window_win.h"

#include <array>
#include <optional>
#include <string>

#include "app/adjust_window_description.h"
#include "app/main_window_win.h"
#include "app/program_win.h"
#include "picture/decoded_picture_win.h"
#include "picture/draw_panel_win.h"
#include "picture/picture_box_painter_win.h"
#include "picture/picture_object_win.h"
#include "picture/transpose.h"
#include "ui/dialogs_win.h"
#include "ui/dpi_scale.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace app {

struct AdjustWindow::Opening {
    std::unique_ptr<ui::Window> window;
    std::unique_ptr<picture::DrawPanel> preview;
    std::unique_ptr<picture::DrawPanel> working;
};

namespace {

constexpr int contextMenuOffset = 3;

RECT RectInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Resize(HWND control, int width, int height) {
    const RECT at = RectInParent(control);
    MoveWindow(control, at.left, at.top, width, height, TRUE);
}

SIZE OuterSize(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

struct AdjustWindowHandlers {
    static AdjustWindow& Owner(ui::EventArgs& event) { return event.Context<AdjustWindow>(); }

    static void SetPreviewSize(AdjustWindow& owner, ui::Window& window, int width, int height) {
        Resize(window.Control(previewPanel), width, height);
        owner.previewWidth_ = width;
        owner.previewHeight_ = height;
    }

    // The main picture on the preview panel: the document's own, not a copy.
    static void ShowMainPicture(AdjustWindow& owner, ui::Window& window) {
        window.SetPictureContent(previewPanel, owner.program_.document.Decoded());
    }

    // The preview panel as large as the window, in the window's top-left corner, showing the
    // main picture.
    static void OnCreated(ui::EventArgs& event) {
        AdjustWindow& owner = Owner(event);
        ui::Window& window = event.window;
        const SIZE outer = OuterSize(window.Handle());
        MoveWindow(window.Control(previewPanel), 0, 0, outer.cx, outer.cy, TRUE);
        owner.previewWidth_ = ui::ScaleFromDpi(outer.cx, window.Dpi());
        owner.previewHeight_ = ui::ScaleFromDpi(outer.cy, window.Dpi());
        ShowMainPicture(owner, window);
    }

    static void OnDestroyed(ui::EventArgs& event) {
        AdjustWindow& owner = Owner(event);
        owner.windows_.Closed();
    }

    // The panel fitted to the window's size, which becomes the size the picture job proposes.
    // The size is told and proposed in pixels of a 96-dpi screen, so that the same window
    // proposes the same print on every screen.
    static void OnPreviewLeftButton(ui::EventArgs& event) {
        AdjustWindow& owner = Owner(event);
        ui::Window& window = event.window;
        const SIZE outer = OuterSize(window.Handle());
        Resize(window.Control(previewPanel), outer.cx, outer.cy);
        const int width = ui::ScaleFromDpi(outer.cx, window.Dpi());
        const int height = ui::ScaleFromDpi(outer.cy, window.Dpi());
        owner.previewWidth_ = width;
        owner.previewHeight_ = height;
        window.SetTitle(ui::Widen(PanelSizeTitle(width, height)));
        owner.program_.printWidthPx = width;
        owner.program_.printHeightPx = height;
    }

    static void OnPreviewRightButton(ui::EventArgs& event) {
        event.window.ShowPopupMenu(adjustMenu, {event.screen.x + contextMenuOffset,
                                                event.screen.y + contextMenuOffset});
    }

    static void OnPaperSize(ui::EventArgs& event) {
        SetPreviewSize(Owner(event), event.window, paperPresetWidth, paperPresetHeight);
        event.window.SetTitle(ui::Widen(paperPresetTitle));
    }

    // The picture turned over its diagonal on the preview panel: column x, row y of the picture
    // lands in column y, row x. The working panel shows it unturned, then goes. What is drawn is
    // lost at the panel's next repaint; printing always uses the main picture.
    static void OnTurnPicture(ui::EventArgs& event) {
        AdjustWindow& owner = Owner(event);
        ui::Window& window = event.window;
        AdjustWindow::Opening* open = owner.windows_.Current();
        if (open == nullptr) return;
        if (!ui::AskQuestion(ui::Widen(turnQuestion), std::wstring_view())) {
            // The main picture again; the repaint drops whatever was drawn on the panel.
            ShowMainPicture(owner, window);
            return;
        }
        // The picture the panel shows, which the main picture may have replaced since.
        const auto decoded = std::dynamic_pointer_cast<const picture::DecodedPicture>(
            window.PictureContent(previewPanel));
        const picture::PictureObject* shown = decoded ? decoded->Picture().get() : nullptr;
        const int width = open->working->GetPictureWidth(shown);
        const int height = open->working->GetPictureHeight(shown);
        Resize(window.Control(workingPanel), width, height);
        SetPreviewSize(owner, window, height, width);
        open->working->Clear();
        open->preview->Clear();
        open->working->DrawPicture(shown, 0, 0, width, height);
        if (width <= 0 || height <= 0) return;
        // Icons and cursors are drawn by Windows: their pixels are taken as the working panel
        // shows them, all at once. Then one transposition of the pixels, drawn at once.
        std::optional<picture::Image> drawn;
        const picture::Image* pixels = shown->Pixels();
        picture::Kind kind = shown->GetKind();
        if (pixels == nullptr) {
            drawn = open->working->PictureAsShown(shown);
            pixels = drawn ? &*drawn : nullptr;
            kind = picture::Kind::Bmp;  // plain 24-bit pixels now
        }
        if (pixels != nullptr) {
            if (std::optional<picture::Image> turned = picture::TransposeImage(*pixels)) {
                const picture::PictureObject result =
                    picture::PictureObject::FromImage(kind, std::move(*turned));
                open->preview->DrawPicture(&result, 0, 0);
            }
        }
        ShowWindow(window.Control(workingPanel), SW_HIDE);
    }

    static void OnToggleWorking(ui::EventArgs& event) {
        ui::Window& window = event.window;
        const bool hide = window.MenuItemText(toggleWorkingItem) == ui::Widen(hideWorkingCaption);
        window.SetMenuItemText(toggleWorkingItem,
                               ui::Widen(hide ? showWorkingCaption : hideWorkingCaption));
        ShowWindow(window.Control(workingPanel), hide ? SW_HIDE : SW_SHOW);
    }

    // Only the option's check, none of what clicking it does; then the print button's command.
    static void OnPrintPicture(ui::EventArgs& event) {
        Program& program = Owner(event).program_;
        ui::Window* main = program.mainWindow;
        if (main == nullptr) return;
        main->SetChecked(pictureOption, true);
        PrintCommand(*main, program);
    }
};

namespace {

using ui::Binding;
using ui::Event;
using Handlers = AdjustWindowHandlers;

constexpr std::array events{
    Binding{ui::windowItself, Event::Created, Handlers::OnCreated},
    Binding{ui::windowItself, Event::Destroyed, Handlers::OnDestroyed},
    Binding{previewPanel, Event::LeftButtonDown, Handlers::OnPreviewLeftButton},
    Binding{previewPanel, Event::RightButtonDown, Handlers::OnPreviewRightButton},
    Binding{paperSizeItem, Event::Clicked, Handlers::OnPaperSize},
    Binding{turnPictureItem, Event::Clicked, Handlers::OnTurnPicture},
    Binding{toggleWorkingItem, Event::Clicked, Handlers::OnToggleWorking},
    Binding{printPictureItem, Event::Clicked, Handlers::OnPrintPicture},
};

const ui::WindowSpec& AdjustWindowSpec() {
    static const ui::WindowSpec description{
        "MozhouPictureAdjust",
        adjustWindowTitle,
        adjustWindowWidth,
        adjustWindowHeight,
        ui::minimizeBox | ui::maximizeBox | ui::centered,
        AdjustControls(),
        AdjustMenu(),
        events,
    };
    return description;
}

}  // namespace

AdjustWindow::AdjustWindow(Program& program)
    : program_(program), previewWidth_(previewDesignWidth), previewHeight_(previewDesignHeight) {}

AdjustWindow::~AdjustWindow() = default;

void AdjustWindow::Open() {
    Opening* made = windows_.Open([this] {
        return ui::Window::Create(AdjustWindowSpec(), SW_SHOW, this, &picture::PicturePainter());
    });
    if (made == nullptr) return;
    made->preview = std::make_unique<picture::DrawPanel>(made->window->Control(previewPanel));
    made->working = std::make_unique<picture::DrawPanel>(made->window->Control(workingPanel));
}

ui::Window* AdjustWindow::Window() const { return windows_.CurrentWindow(); }

void AdjustWindow::ShowPicture() {
    if (ui::Window* window = Window()) AdjustWindowHandlers::ShowMainPicture(*this, *window);
}

}  // namespace app
