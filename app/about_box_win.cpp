#include "app/about_box_win.h"

#include "app/about_text.h"
#include "app/main_window_description.h"
#include "app/program_texts.h"
#include "app/program_win.h"
#include "ui/dialogs_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace app {
namespace {

constexpr int messageTextItem = 0xFFFF;  // the text of a Windows message box

}  // namespace

void PostKeyDown(HWND window, WPARAM virtualKey) { PostMessageW(window, WM_KEYDOWN, virtualKey, 0); }

void ShowAboutBox(ui::EventArgs& event) {
    event.window.SetTimerInterval(aboutTimer, aboutTickMs);
    ui::ShowMessage(ui::Widen(AboutText()), ui::Widen(aboutCaption), MB_OK | MB_TASKMODAL);
}

void OnAboutTick(ui::EventArgs& event) {
    int& countdown = event.Context<Program>().aboutCountdown;
    HWND box = FindWindowW(nullptr, ui::Widen(aboutCaption).c_str());
    if (box == nullptr) {
        event.window.SetTimerInterval(aboutTimer, 0);
        return;
    }
    --countdown;
    SetDlgItemTextW(box, messageTextItem, ui::Widen(AboutCountdownText(countdown)).c_str());
    if (countdown == 0) {
        PostKeyDown(box, VK_RETURN);
        event.window.SetTimerInterval(aboutTimer, 0);
        countdown = aboutCountdownStart;
    }
}

}  // namespace app
