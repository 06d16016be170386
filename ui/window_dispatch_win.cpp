#include "ui/window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "ui/window_state_win.h"

namespace ui {

void Window::Raise(int source, Event event, int code, Point screen) {
    EventArgs args{*this, source, code, screen};
    Dispatch(event, args);
}

namespace {

// A dropped file list is released once it has been read, whatever the handler does.
struct DropList {
    HDROP drop;
    explicit DropList(HDROP dropped) : drop(dropped) {}
    DropList(const DropList&) = delete;
    DropList& operator=(const DropList&) = delete;
    ~DropList() { DragFinish(drop); }
};

}  // namespace

void Window::RaiseFilesDropped(int source, WPARAM dropped) {
    const DropList list{reinterpret_cast<HDROP>(dropped)};
    const UINT count = DragQueryFileW(list.drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::wstring> files;
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(DragQueryFileW(list.drop, i, nullptr, 0), L'\0');
        if (name.empty()) continue;
        DragQueryFileW(list.drop, i, name.data(), static_cast<UINT>(name.size() + 1));
        files.push_back(std::move(name));
    }
    POINT point{};
    DragQueryPoint(list.drop, &point);
    const HWND target = source == windowItself ? handle_ : Control(source);
    ClientToScreen(target, &point);
    EventArgs args{*this, source, 0, {point.x, point.y}};
    args.files = files;
    Dispatch(Event::FilesDropped, args);
}

bool Window::TakeKey(const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (!BuiltByRuntime(root)) return false;
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(root, GWLP_USERDATA));
    if (window == nullptr || FindHandler(window->spec_, windowItself, Event::KeyDown) == nullptr) {
        return false;
    }
    int code = static_cast<int>(message.wParam);
    if (GetKeyState(VK_CONTROL) < 0) code |= keyControl;
    if (GetKeyState(VK_SHIFT) < 0) code |= keyShift;
    if (GetKeyState(VK_MENU) < 0) code |= keyAlt;
    POINT cursor{};
    GetCursorPos(&cursor);
    EventArgs args{*window, windowItself, code, {cursor.x, cursor.y}};
    window->Dispatch(Event::KeyDown, args);
    return args.handled;
}

bool Window::Dispatch(Event event, EventArgs& args) {
    Handler handler = FindHandler(spec_, args.source, event);
    if (handler == nullptr) return false;
    args.context = context_;
    // No failure crosses a handler: whatever it threw, out of memory included, ends the command
    // there, as a failed command ends, and the program goes on.
    try {
        handler(args);
    } catch (...) {
    }
    return true;
}

LRESULT CALLBACK Window::Procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* window = static_cast<Window*>(create->lpCreateParams);
        window->handle_ = handle;
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    if (window == nullptr) return DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
        window->handle_ = nullptr;
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    return window->HandleMessage(message, wParam, lParam);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (lParam == 0) {
            Raise(id, Event::Clicked);  // a menu item
        } else if (code == BN_CLICKED) {
            // Wine lets BM_CLICK through to a disabled button; a user cannot click one.
            if (IsWindowEnabled(reinterpret_cast<HWND>(lParam))) Raise(id, Event::Clicked);
        } else if (code == EN_CHANGE) {
            Raise(id, Event::Changed);
        } else if (code == CBN_SELCHANGE) {
            const ControlState* state = Find(id);
            if (state != nullptr && state->description->kind == Kind::ComboBox) Raise(id, Event::Changed);
        }
        return 0;
    }
    case WM_TIMER: {
        const int id = static_cast<int>(wParam);
        const ControlState* state = Find(id);
        if (state != nullptr && state->description->kind == Kind::Timer) {
            Raise(id, Event::Tick);
            return 0;
        }
        break;
    }
    case WM_INITMENUPOPUP:
        for (const auto& [top, popup] : topMenus_) {
            EventArgs args{*this, top};
            if (popup == reinterpret_cast<HMENU>(wParam) && Dispatch(Event::MenuOpening, args)) {
                return 0;
            }
        }
        break;
    case trayMessage: {
        POINT cursor{};
        GetCursorPos(&cursor);
        Raise(windowItself, Event::TrayNotify, LOWORD(lParam), {cursor.x, cursor.y});
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        if (HBRUSH brush = ControlColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
            return reinterpret_cast<LRESULT>(brush);
        }
        break;
    }
    case WM_CLOSE: {
        EventArgs args{*this, windowItself};
        if (Dispatch(Event::CloseRequested, args) && args.refuse) return 0;
        if (handle_ != nullptr) DestroyWindow(handle_);
        return 0;
    }
    case WM_DESTROY:
        Raise(windowItself, Event::Destroyed);
        return 0;
    case WM_DROPFILES:
        RaiseFilesDropped(windowItself, wParam);
        return 0;
    case WM_DPICHANGED:
        ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;  // nothing is asked: the session does not wait for an answer
    case WM_ENDSESSION:
        // The process ends as soon as this returns, so what must be kept is kept now.
        if (wParam) Raise(windowItself, Event::SessionEnding);
        return 0;
    default: break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK Window::ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR window) {
    // A control made anew (see SetAlignment) has the id of the one it replaces, which is still
    // destroyed through here: every call works on the control it is for, never on the record.
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, ControlProcedure, id);
    auto* self = reinterpret_cast<Window*>(window);
    ControlState* state = self->Find(static_cast<int>(id));
    if (state == nullptr || state->handle != control) {
        return DefSubclassProc(control, message, wParam, lParam);
    }
    return self->HandleControlMessage(*state, message, wParam, lParam);
}

LRESULT Window::HandleControlMessage(ControlState& state, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
    const int id = state.description->id;
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:  // a quick second click is a press too
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const bool right = message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK;
        const Event event = right ? Event::RightButtonDown : Event::LeftButtonDown;
        if (FindHandler(spec_, id, event) == nullptr) break;
        POINT cursor{};
        GetCursorPos(&cursor);
        Raise(id, event, 0, {cursor.x, cursor.y});
        return 0;
    }
    case WM_DROPFILES:
        if (FindHandler(spec_, id, Event::FilesDropped) == nullptr) break;
        RaiseFilesDropped(id, wParam);
        return 0;
    case WM_CONTEXTMENU:
        // The bound right-button menu replaces the control's own.
        if (FindHandler(spec_, id, Event::RightButtonDown) != nullptr) return 0;
        break;
    default: break;
    }
    return DefSubclassProc(state.handle, message, wParam, lParam);
}

}  // namespace ui
