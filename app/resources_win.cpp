#include "app/resources_win.h"

#include <vector>

namespace app {
namespace {

constexpr std::size_t iconDirectorySize = 6;
constexpr std::size_t iconEntrySize = 16;
constexpr std::size_t entryWidthAt = 0;
constexpr std::size_t entryHeightAt = 1;
constexpr std::size_t entryBytesAt = 8;
constexpr std::size_t entryOffsetAt = 12;
constexpr DWORD iconFormatVersion = 0x00030000;

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

std::span<const std::uint8_t> ResourceBytes(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) return {};
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

ui::Icon IconFromFileBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < iconDirectorySize + iconEntrySize) return {};
    const std::span<const std::uint8_t> entry = bytes.subspan(iconDirectorySize, iconEntrySize);
    const std::uint32_t imageBytes = ReadU32(entry, entryBytesAt);
    const std::uint32_t imageOffset = ReadU32(entry, entryOffsetAt);
    if (imageOffset > bytes.size() || imageBytes > bytes.size() - imageOffset) return {};
    // A width or height byte of 0 means 256.
    const int width = entry[entryWidthAt] == 0 ? 256 : entry[entryWidthAt];
    const int height = entry[entryHeightAt] == 0 ? 256 : entry[entryHeightAt];
    std::vector<std::uint8_t> image(bytes.begin() + imageOffset,
                                    bytes.begin() + imageOffset + imageBytes);
    return ui::Icon(CreateIconFromResourceEx(image.data(), imageBytes, TRUE, iconFormatVersion,
                                             width, height, LR_DEFAULTCOLOR));
}

}  // namespace app
