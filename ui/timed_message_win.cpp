#include "ui/timed_message_win.h"

#include <string>

#include "ui/dialogs_win.h"
#include "ui/window_win.h"

namespace ui {
namespace {

constexpr wchar_t dialogClass[] = L"#32770";
constexpr int messageTextItem = 0xFFFF;  // the text of a Windows message box
constexpr int timedOutResult = 32000;
constexpr int longestClassName = 16;

// One timed box: what it shows, so that its timer can find it among the thread's windows.
struct TimedBox {
    std::wstring text;
    std::wstring caption;
};

struct FoundBox {
    const TimedBox* wanted = nullptr;
    HWND box = nullptr;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM found) {
    auto& search = *reinterpret_cast<FoundBox*>(found);
    wchar_t className[longestClassName] = {};
    GetClassNameW(window, className, longestClassName);
    if (std::wstring_view(className) != dialogClass || !IsWindowVisible(window)) return TRUE;
    if (WindowText(window) != search.wanted->caption) return TRUE;
    if (WindowText(GetDlgItem(window, messageTextItem)) != search.wanted->text) return TRUE;
    search.box = window;
    return FALSE;
}

// The timer's id is the address of its box's description, so the timer needs nothing else.
void CALLBACK CloseTimedBox(HWND timerWindow, UINT, UINT_PTR id, DWORD) {
    KillTimer(timerWindow, id);
    FoundBox search{reinterpret_cast<const TimedBox*>(id), nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchBox, reinterpret_cast<LPARAM>(&search));
    if (search.box != nullptr) EndDialog(search.box, timedOutResult);
}

// A message-only window that carries the box's timer and goes with the call.
class TimerWindow {
public:
    TimerWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)) {}
    TimerWindow(const TimerWindow&) = delete;
    TimerWindow& operator=(const TimerWindow&) = delete;
    ~TimerWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    HWND get() const { return window_; }

private:
    HWND window_;
};

}  // namespace

void ShowTimedMessage(std::wstring_view text, std::wstring_view caption, UINT style,
                      unsigned timeoutMs) {
    // Wine's MessageBoxTimeout never times out, so the box is closed by a timer of our own,
    // the same way on Windows. The box shows "信息：" for an empty caption; so must the search.
    const TimedBox box{std::wstring(text), caption.empty() ? std::wstring(defaultMessageCaption)
                                                            : std::wstring(caption)};
    TimerWindow timer;
    const auto id = reinterpret_cast<UINT_PTR>(&box);
    if (timer.get() != nullptr) SetTimer(timer.get(), id, timeoutMs, CloseTimedBox);
    MessageBoxW(nullptr, box.text.c_str(), box.caption.c_str(), style & ~MB_TASKMODAL);
    if (timer.get() != nullptr) KillTimer(timer.get(), id);
}

}  // namespace ui
