#include "app/single_instance_win.h"

#include <string>

#include "ui/dialogs_win.h"

namespace app {

ui::KernelHandle EnsureSingleInstance(std::wstring_view identifier, bool showPrompt,
                                      std::wstring_view prompt, UINT style) {
    // Only the event's existence matters; nothing ever signals or waits on it.
    const std::wstring name(identifier);
    ui::KernelHandle existing(OpenEventW(EVENT_ALL_ACCESS, FALSE, name.c_str()));
    if (existing) {
        if (showPrompt) ui::ShowMessage(prompt, ui::promptCaption, style);
        ExitProcess(0);
    }
    return ui::KernelHandle(CreateEventW(nullptr, FALSE, FALSE, name.c_str()));
}

}  // namespace app
