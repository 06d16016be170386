#include "ui/clipboard_win.h"

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
        const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(data));
        if (bytes == nullptr) continue;
        ClipboardData read{format, std::vector<std::uint8_t>(bytes, bytes + GlobalSize(data))};
        GlobalUnlock(data);
        return read;
    }
    return {};
}

}  // namespace ui
