// The clipboard, opened for as long as one command reads or writes it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace ui {

// Open with no owner while it exists; another program may hold the clipboard, so check IsOpen().
class ClipboardScope {
public:
    ClipboardScope() : open_(OpenClipboard(nullptr) != FALSE) {}
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    ~ClipboardScope() {
        if (open_) CloseClipboard();
    }
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

// Whether the clipboard holds one of the formats (given or synthesised by the system).
bool ClipboardHolds(std::span<const UINT> formats);

// The first of the formats that the clipboard holds, with its data as bytes (the whole memory
// block, which may be longer than the data); format 0 and no bytes when it holds none of them or
// cannot be opened.
struct ClipboardData {
    UINT format = 0;
    std::vector<std::uint8_t> bytes;
};
ClipboardData ReadClipboard(std::span<const UINT> formats);

}  // namespace ui
