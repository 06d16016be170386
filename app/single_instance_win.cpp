#include "app/single_instance_win.h"

#include <string>

#include "app/program_texts.h"
#include "ui/dialogs_win.h"
#include "ui/handles_win.h"
#include "ui/text_win.h"

namespace app {

void EnsureSingleInstance(std::wstring_view identifier, bool showPrompt, std::wstring_view prompt,
                          UINT style) {
    // Only the event's existence matters; nothing ever signals or waits on it. It stays open
    // for the life of the process so that a later start finds it.
    static ui::KernelHandle marker;
    const std::wstring name(identifier);
    ui::KernelHandle existing(OpenEventW(EVENT_ALL_ACCESS, FALSE, name.c_str()));
    if (existing) {
        if (showPrompt) ui::ShowMessage(prompt, ui::Widen(promptCaption), style);
        ExitProcess(0);
    }
    marker.reset(CreateEventW(nullptr, FALSE, FALSE, name.c_str()));
}

}  // namespace app
