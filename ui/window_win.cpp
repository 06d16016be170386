#include "ui/window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>

#include "ui/dpi_scale.h"
#include "ui/dpi_win.h"
#include "ui/font_height.h"
#include "ui/text_win.h"
#include "ui/window_state_win.h"

namespace ui {
namespace {

constexpr COLORREF editBackColor = RGB(255, 255, 255);
constexpr LONG boldWeight = FW_BOLD;
constexpr int menuTextLength = 256;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void RegisterWindowClass(const std::wstring& name, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(Instance(), name.c_str(), &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = Instance();
    windowClass.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(programIconResource));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = name.c_str();
    RegisterClassExW(&windowClass);
}

DWORD WindowStyle(std::uint32_t flags) {
    // No WS_CLIPCHILDREN: group boxes do not paint their inside, the window behind them does.
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (!(flags & fixedBorder)) style |= WS_THICKFRAME;
    if (flags & minimizeBox) style |= WS_MINIMIZEBOX;
    if (flags & maximizeBox) style |= WS_MAXIMIZEBOX;
    return style;
}

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style;
};

ClassAndStyle ControlClass(const ControlSpec& control) {
    const std::uint32_t flags = control.flags;
    DWORD style = WS_CHILD;
    if (!(flags & hidden)) style |= WS_VISIBLE;
    if (flags & disabled) style |= WS_DISABLED;
    if (flags & tabStop) style |= WS_TABSTOP;
    if (flags & thinBorder) style |= WS_BORDER;
    switch (control.kind) {
    case Kind::GroupBox: return {L"BUTTON", style | BS_GROUPBOX};
    case Kind::PushButton: return {L"BUTTON", style | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER};
    case Kind::CheckBox: return {L"BUTTON", style | BS_AUTOCHECKBOX};
    case Kind::RadioButton: return {L"BUTTON", style | BS_AUTORADIOBUTTON};
    case Kind::EditBox:
        style |= ES_LEFT;
        if (flags & multiLine) style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        else style |= ES_AUTOHSCROLL;
        if (flags & verticalScroll) style |= WS_VSCROLL;
        if (flags & keepSelection) style |= ES_NOHIDESEL;
        return {L"EDIT", style};
    case Kind::PictureBox: return {pictureBoxClass, style};
    case Kind::StatusBar:
        return {STATUSCLASSNAMEW, (style & ~WS_BORDER) | CCS_NOPARENTALIGN | CCS_NORESIZE};
    case Kind::Label: return {L"STATIC", style | SS_LEFT | SS_NOPREFIX};
    case Kind::ScrollBar: return {L"SCROLLBAR", style | ((flags & vertical) ? SBS_VERT : SBS_HORZ)};
    case Kind::Timer:
    case Kind::Custom: break;
    }
    return {nullptr, 0};
}

LOGFONTW FontOf(HWND control) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW logFont{};
    GetObjectW(font, sizeof logFont, &logFont);
    return logFont;
}

}  // namespace

void BringForward(HWND window) {
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    } else {
        SetForegroundWindow(window);
    }
}

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
        const Rect rect = ScaleRect(ClientRect(spec_, control), dpi_);
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

namespace {

HMENU BuildPopup(std::span<const MenuItemSpec> menu, std::size_t top) {
    const MenuRange range = SubtreeOf(menu, top);
    HMENU popup = CreatePopupMenu();
    const int childDepth = menu[top].depth + 1;
    for (std::size_t i = range.first + 1; i < range.last; ++i) {
        if (menu[i].depth != childDepth) continue;
        const std::wstring text = Widen(menu[i].text);
        const MenuRange children = SubtreeOf(menu, i);
        if (children.last > children.first + 1) {
            AppendMenuW(popup, MF_POPUP | MF_STRING,
                        reinterpret_cast<UINT_PTR>(BuildPopup(menu, i)), text.c_str());
        } else {
            AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(menu[i].id), text.c_str());
        }
    }
    return popup;
}

}  // namespace

void Window::BuildMenus() {
    const std::span<const MenuItemSpec> menu = spec_.menu;
    for (std::size_t i = 0; i < menu.size(); ++i) {
        if (menu[i].depth != 0) continue;
        HMENU popup = BuildPopup(menu, i);
        topMenus_.emplace_back(menu[i].id, popup);
        if (menu[i].hiddenTop) {
            popups_.emplace_back(popup);
        } else {
            if (!menuBar_) menuBar_.reset(CreateMenu());
            AppendMenuW(menuBar_.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                        Widen(menu[i].text).c_str());
        }
    }
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

void Window::SetTitle(std::wstring_view title) {
    SetWindowTextW(handle_, std::wstring(title).c_str());
}

std::wstring Window::Text(int id) const { return WindowText(Control(id)); }

std::wstring WindowText(HWND window) {
    if (window == nullptr) return {};
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

void Window::SetText(int id, std::wstring_view text) {
    const ControlState* state = Find(id);
    if (state == nullptr || state->handle == nullptr) return;
    SendMessageW(state->handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::wstring(text).c_str()));
    // A multi-line edit control does not report text set this way; its handlers still need to.
    if (state->description->kind == Kind::EditBox && (state->description->flags & multiLine)) {
        Raise(id, Event::Changed);
    }
}

bool Window::Checked(int id) const {
    HWND control = Control(id);
    return control != nullptr && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Window::SetChecked(int id, bool checked) {
    if (HWND control = Control(id)) {
        SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

bool Window::Enabled(int id) const {
    HWND control = Control(id);
    return control != nullptr && IsWindowEnabled(control);
}

void Window::SetEnabled(int id, bool enabled) {
    if (HWND control = Control(id)) EnableWindow(control, enabled ? TRUE : FALSE);
}

FontSpec Window::ControlFont(int id) const {
    FontSpec font;
    HWND control = Control(id);
    if (control == nullptr) return font;
    const LOGFONTW logFont = FontOf(control);
    font.face = logFont.lfFaceName;
    if (logFont.lfHeight < 0) font.pointSize = SizeForFontHeight(logFont.lfHeight, dpi_);
    font.bold = logFont.lfWeight >= boldWeight;
    font.italic = logFont.lfItalic != 0;
    font.underline = logFont.lfUnderline != 0;
    font.strikeOut = logFont.lfStrikeOut != 0;
    return font;
}

void Window::SetControlFont(int id, const FontSpec& font) {
    ControlState* state = Find(id);
    if (state == nullptr || state->handle == nullptr) return;
    LOGFONTW logFont = FontOf(state->handle);
    logFont.lfHeight = FontHeightForSize(std::abs(font.pointSize), dpi_);
    logFont.lfWidth = 0;
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.italic;
    logFont.lfUnderline = font.underline;
    logFont.lfStrikeOut = font.strikeOut;
    logFont.lfCharSet = DEFAULT_CHARSET;
    const std::size_t faceLength = std::min(font.face.size(), std::size(logFont.lfFaceName) - 1);
    std::copy_n(font.face.data(), faceLength, logFont.lfFaceName);
    logFont.lfFaceName[faceLength] = L'\0';
    Font created(CreateFontIndirectW(&logFont));
    if (!created) return;
    SendMessageW(state->handle, WM_SETFONT, reinterpret_cast<WPARAM>(created.get()), TRUE);
    state->font = std::move(created);  // the old font is deleted only after the control let go
}

bool Window::Bold(int id) const {
    HWND control = Control(id);
    return control != nullptr && FontOf(control).lfWeight >= boldWeight;
}

void Window::SetBold(int id, bool bold) {
    ControlState* state = Find(id);
    if (state == nullptr || state->handle == nullptr) return;
    LOGFONTW logFont = FontOf(state->handle);
    if ((logFont.lfWeight >= boldWeight) == bold) return;
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    Font created(CreateFontIndirectW(&logFont));
    if (!created) return;
    SendMessageW(state->handle, WM_SETFONT, reinterpret_cast<WPARAM>(created.get()), TRUE);
    state->font = std::move(created);
}

COLORREF Window::TextColor(int id) const {
    const ControlState* state = Find(id);
    return state != nullptr ? state->textColor : editTextColor;
}

void Window::SetTextColor(int id, COLORREF color) {
    ControlState* state = Find(id);
    if (state == nullptr) return;
    state->textColor = color;
    state->hasTextColor = true;
    if (state->handle != nullptr) InvalidateRect(state->handle, nullptr, TRUE);
}

void Window::SetAlignment(int id, Alignment alignment) {
    ControlState* state = Find(id);
    if (state == nullptr || state->handle == nullptr) return;
    HWND old = state->handle;
    DWORD style = static_cast<DWORD>(GetWindowLongW(old, GWL_STYLE)) & ~(ES_LEFT | ES_CENTER | ES_RIGHT);
    if (alignment == Alignment::center) style |= ES_CENTER;
    if (alignment == Alignment::right) style |= ES_RIGHT;
    // An edit control reads its alignment only when it is created, so it is made anew in the
    // same place with the same text, font, selection and Z-order.
    RECT rect;
    GetWindowRect(old, &rect);
    MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&rect), 2);
    const std::wstring text = Text(id);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(old, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool hadFocus = GetFocus() == old;
    HWND created = CreateWindowExW(
        GetWindowLongW(old, GWL_EXSTYLE), L"EDIT", text.c_str(), style, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, handle_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (created == nullptr) return;
    SendMessageW(created, WM_SETFONT, SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
    SendMessageW(created, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(created, EM_SETSEL, start, end);
    SetWindowPos(created, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (WantsOwnMessages(id)) {
        SetWindowSubclass(created, ControlProcedure, static_cast<UINT_PTR>(id),
                          reinterpret_cast<DWORD_PTR>(this));
    }
    state->handle = created;
    DestroyWindow(old);
    if (hadFocus) SetFocus(created);
}

bool Window::WantsOwnMessages(int id) const {
    return FindHandler(spec_, id, Event::RightButtonDown) != nullptr ||
           FindHandler(spec_, id, Event::LeftButtonDown) != nullptr ||
           FindHandler(spec_, id, Event::FilesDropped) != nullptr;
}

std::wstring Window::MenuItemText(int id) const {
    for (const auto& [top, popup] : topMenus_) {
        wchar_t text[menuTextLength] = {};
        if (GetMenuStringW(popup, static_cast<UINT>(id), text, menuTextLength, MF_BYCOMMAND) > 0) {
            return text;
        }
    }
    return {};
}

void Window::SetMenuItemText(int id, std::wstring_view text) {
    std::wstring copy(text);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = copy.data();
    for (const auto& [top, popup] : topMenus_) {
        if (SetMenuItemInfoW(popup, static_cast<UINT>(id), FALSE, &item)) return;
    }
}

bool Window::MenuItemEnabled(int id) const {
    for (const auto& [top, popup] : topMenus_) {
        const UINT state = GetMenuState(popup, static_cast<UINT>(id), MF_BYCOMMAND);
        if (state != static_cast<UINT>(-1)) return (state & (MF_GRAYED | MF_DISABLED)) == 0;
    }
    return false;
}

void Window::SetMenuItemEnabled(int id, bool enabled) {
    for (const auto& [top, popup] : topMenus_) {
        if (EnableMenuItem(popup, static_cast<UINT>(id),
                           MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)) != -1) {
            return;
        }
    }
}

void Window::SetStatusText(int id, int part, std::wstring_view text) {
    if (HWND control = Control(id)) {
        SendMessageW(control, SB_SETTEXTW, static_cast<WPARAM>(part),
                     reinterpret_cast<LPARAM>(std::wstring(text).c_str()));
    }
}

std::wstring Window::StatusText(int id, int part) const {
    HWND control = Control(id);
    if (control == nullptr) return {};
    const LRESULT length = LOWORD(SendMessageW(control, SB_GETTEXTLENGTHW, part, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(control, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

unsigned Window::TimerInterval(int id) const {
    const ControlState* state = Find(id);
    return state != nullptr ? state->interval : 0;
}

void Window::SetTimerInterval(int id, unsigned milliseconds) {
    ControlState* state = Find(id);
    if (state == nullptr || handle_ == nullptr) return;
    state->interval = milliseconds;
    if (milliseconds == 0) KillTimer(handle_, static_cast<UINT_PTR>(id));
    else SetTimer(handle_, static_cast<UINT_PTR>(id), milliseconds, nullptr);
}

HMENU Window::PopupMenu(int topId) const {
    for (const auto& [id, popup] : topMenus_) {
        if (id == topId) return popup;
    }
    return nullptr;
}

void Window::ShowPopupMenu(int topId, Point screen, UINT alignment) {
    HMENU popup = PopupMenu(topId);
    if (popup == nullptr || handle_ == nullptr) return;
    const int chosen = static_cast<int>(TrackPopupMenu(
        popup, alignment | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, handle_, nullptr));
    if (chosen != 0) Raise(chosen, Event::Clicked);
}

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

HBRUSH Window::ControlColors(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    const ControlState* state = Find(id);
    if (state == nullptr) return nullptr;
    if (state->description->kind == Kind::EditBox) {
        if (!editBackground_) editBackground_.reset(CreateSolidBrush(editBackColor));
        ::SetTextColor(dc, state->textColor);
        SetBkColor(dc, editBackColor);
        return editBackground_.get();
    }
    if (state->hasTextColor) ::SetTextColor(dc, state->textColor);
    if (state->description->flags & transparent) {
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    // Buttons, check boxes and labels sit on the window's own face colour.
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
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

bool Window::BuiltByRuntime(HWND window) {
    return window != nullptr && reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC)) ==
                                    &Window::Procedure;
}

namespace {

void HandleMessage(MSG& message) {
    if (Window::TakeKey(message)) return;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (Window::BuiltByRuntime(root) && IsDialogMessageW(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) HandleMessage(message);
    return static_cast<int>(message.wParam);
}

bool RunModalLoop(const std::function<bool()>& done) {
    MSG message;
    while (!done()) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        HandleMessage(message);
    }
    return true;
}

void ProcessPendingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (Window::TakeKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace ui
