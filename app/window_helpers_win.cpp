#include "app/window_helpers_win.h"

#include <string>
#include <vector>

#include "app/about_text.h"
#include "app/main_window_description.h"
#include "app/program_state_win.h"
#include "app/program_texts.h"
#include "ui/dialogs_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace app {
namespace {

constexpr wchar_t dialogClass[] = L"#32770";
constexpr int messageTextItem = 0xFFFF;  // the text of a Windows message box
constexpr int timedOutResult = 32000;

// A timed box, found by a hook as it is activated, and the thread timer that will close it.
struct TimedBox {
    UINT_PTR timer = 0;
    HWND box = nullptr;
};
std::vector<TimedBox> timedBoxes;
HHOOK activationHook = nullptr;

LRESULT CALLBACK CatchBoxActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !timedBoxes.empty() && timedBoxes.back().box == nullptr) {
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (std::wstring_view(className) == dialogClass) timedBoxes.back().box = window;
    }
    return CallNextHookEx(activationHook, code, wParam, lParam);
}

void CALLBACK CloseTimedBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    for (const TimedBox& entry : timedBoxes) {
        if (entry.timer == timer && entry.box != nullptr && IsWindow(entry.box)) {
            EndDialog(entry.box, timedOutResult);
        }
    }
}

}  // namespace

void ShowTimedMessage(std::wstring_view text, std::wstring_view caption, UINT style,
                      unsigned timeoutMs) {
    // Wine's MessageBoxTimeout never times out, so the box is closed by a timer of our own,
    // the same way on Windows.
    const UINT_PTR timer = SetTimer(nullptr, 0, timeoutMs, CloseTimedBox);
    timedBoxes.push_back({timer, nullptr});
    activationHook = SetWindowsHookExW(WH_CBT, CatchBoxActivation, nullptr, GetCurrentThreadId());
    const std::wstring shownText(text);
    const std::wstring shownCaption(caption);
    MessageBoxW(nullptr, shownText.c_str(), shownCaption.c_str(), style & ~MB_TASKMODAL);
    if (activationHook != nullptr) UnhookWindowsHookEx(activationHook);
    activationHook = nullptr;
    KillTimer(nullptr, timer);
    std::erase_if(timedBoxes, [timer](const TimedBox& entry) { return entry.timer == timer; });
}

void PostKeyDown(HWND window, WPARAM virtualKey) { PostMessageW(window, WM_KEYDOWN, virtualKey, 0); }

void ShowAboutBox(ui::EventArgs& event) {
    event.window.SetTimerInterval(aboutTimer, aboutTickMs);
    ui::ShowMessage(ui::Widen(AboutText()), ui::Widen(aboutCaption), MB_OK | MB_TASKMODAL);
}

void OnAboutTick(ui::EventArgs& event) {
    HWND box = FindWindowW(nullptr, ui::Widen(aboutCaption).c_str());
    if (box == nullptr) {
        event.window.SetTimerInterval(aboutTimer, 0);
        return;
    }
    --aboutCountdown;
    SetDlgItemTextW(box, messageTextItem, ui::Widen(AboutCountdownText(aboutCountdown)).c_str());
    if (aboutCountdown == 0) {
        PostKeyDown(box, VK_RETURN);
        event.window.SetTimerInterval(aboutTimer, 0);
        aboutCountdown = aboutCountdownStart;
    }
}

}  // namespace app
