#include "ui/clipboard_win.h"

#include "ui/handles_win.h"

namespace ui {

bool ClipboardHolds(std::span<const UINT> formats) {
    for (UINT format : formats) {
        if (format != 0 && IsClipboardFormatAvailable(format)) return true;
    }
    return false;
}

ClipboardData ReadClipboard(std::span<const UINT> formats) {
    const ClipboardScope clipboard;
    if (!clipboard.IsOpen()) return {};
    for (UINT format : formats) {
        if (format == 0 || !IsClipboardFormatAvailable(format)) continue;
        HANDLE data = GetClipboardData(format);
        if (data == nullptr) continue;
        const GlobalMemoryLock<const std::uint8_t> bytes(data);
        if (bytes.get() == nullptr) continue;
        return {format, std::vector<std::uint8_t>(bytes.get(), bytes.get() + bytes.Size())};
    }
    return {};
}

}  // namespace ui
