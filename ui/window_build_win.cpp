#include "ui/window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "ui/dpi_scale.h"
#include "ui/text_win.h"
#include "ui/window_class_win.h"
#include "ui/window_state_win.h"

namespace ui {

Window::Window(const WindowSpec& description, void* context, PictureBoxPainter* painter)
    : spec_(description), context_(context), painter_(painter) {}

Window::~Window() {
    if (handle_ != nullptr) DestroyWindow(handle_);
}

std::unique_ptr<Window> Window::Create(const WindowSpec& description, int showCommand,
                                       void* context, PictureBoxPainter* painter) {
    std::unique_ptr<Window> window(new Window(description, context, painter));
    if (!window->Build()) return nullptr;
    window->Raise(windowItself, Event::Created);
    if (window->handle_ != nullptr) {
        ShowWindow(window->handle_, showCommand);
        UpdateWindow(window->handle_);
    }
    return window;
}

bool Window::Build() {
    static const bool commonControls = [] {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)commonControls;
    RegisterPictureBoxClass();
    const std::wstring className = Widen(spec_.className);
    RegisterWindowClass(className, Procedure);

    BuildMenus();
    const DWORD style = WindowStyle(spec_.flags);
    // Made at its 96-dpi size, then sized for the screen it is on, before it is shown.
    handle_ = CreateWindowExW(WS_EX_CONTROLPARENT, className.c_str(), Widen(spec_.title).c_str(),
                              style, CW_USEDEFAULT, CW_USEDEFAULT, spec_.width, spec_.height,
                              nullptr, menuBar_.get(), Instance(), this);
    if (handle_ == nullptr) return false;
    menuBar_.release();  // the window destroys its menu bar
    PlaceForDpi();

    for (const ControlSpec& control : spec_.controls) CreateControl(control);
    if (FindHandler(spec_, windowItself, Event::FilesDropped) != nullptr) {
        DragAcceptFiles(handle_, TRUE);
    }
    return true;
}

void Window::CreateControl(const ControlSpec& control) {
    auto state = std::make_unique<ControlState>();
    state->description = &control;
    ClassAndStyle kind = ControlClass(control);
    const std::wstring customClass = Widen(control.text);
    if (control.kind == Kind::Custom) kind = {customClass.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP};
    if (kind.className != nullptr) {
        Rect rect = ScaleRect(ClientRect(spec_, control), dpi_);
        // A drop-down list's window reaches down over its open list; it shows one line closed.
        if (control.kind == Kind::ComboBox) rect.height += ScaleToDpi(comboListHeight, dpi_);
        state->handle = CreateWindowExW(
            0, kind.className, control.kind == Kind::Custom ? L"" : customClass.c_str(), kind.style,
            rect.x, rect.y, rect.width, rect.height, handle_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), Instance(),
            control.kind == Kind::Custom ? context_ : nullptr);
        HWND handle = state->handle;
        if (handle != nullptr) {
            SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
            switch (control.kind) {
            case Kind::EditBox:
                SendMessageW(handle, EM_SETLIMITTEXT, 0, 0);  // 0 lifts the limit
                break;
            case Kind::PictureBox:
                state->picture.settings = control.picture;
                state->picture.painter = painter_;
                SetWindowLongPtrW(handle, GWLP_USERDATA,
                                  reinterpret_cast<LONG_PTR>(&state->picture));
                InvalidateRect(handle, nullptr, FALSE);  // painted before the settings were known
                break;
            case Kind::StatusBar: {
                std::vector<int> rightEdges = StatusPartEdges(control.parts, dpi_);
                if (!rightEdges.empty()) {
                    SendMessageW(handle, SB_SETPARTS, rightEdges.size(),
                                 reinterpret_cast<LPARAM>(rightEdges.data()));
                }
                SendMessageW(handle, SB_SETTEXTW, 0,
                             reinterpret_cast<LPARAM>(Widen(control.text).c_str()));
                break;
            }
            default: break;
            }
            if (FindHandler(spec_, control.id, Event::FilesDropped) != nullptr) {
                DragAcceptFiles(handle, TRUE);
            }
            // Mouse button and drop events need the control's own messages.
            if (WantsOwnMessages(control.id)) {
                SetWindowSubclass(handle, ControlProcedure, control.id,
                                  reinterpret_cast<DWORD_PTR>(this));
            }
        }
    }
    controls_.push_back(std::move(state));
}

Window::ControlState* Window::Find(int id) {
    for (auto& state : controls_) {
        if (state->description->id == id) return state.get();
    }
    return nullptr;
}

const Window::ControlState* Window::Find(int id) const {
    return const_cast<Window*>(this)->Find(id);
}

HWND Window::Control(int id) const {
    const ControlState* state = Find(id);
    return state != nullptr ? state->handle : nullptr;
}

bool Window::WantsOwnMessages(int id) const {
    return FindHandler(spec_, id, Event::RightButtonDown) != nullptr ||
           FindHandler(spec_, id, Event::LeftButtonDown) != nullptr ||
           FindHandler(spec_, id, Event::FilesDropped) != nullptr;
}

}  // namespace ui
