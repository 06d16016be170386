// Reading GBK (code page 936) text one character at a time.
#pragma once

#include <cstddef>
#include <string_view>

namespace text {

inline constexpr unsigned char firstLeadByte = 0x81;
inline constexpr unsigned char lastLeadByte = 0xFE;
inline constexpr unsigned char firstTrailByte = 0x40;

inline bool IsLeadByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= firstLeadByte && value <= lastLeadByte;
}

// Bytes taken by the character at position: 2 for a lead byte with a byte after it (whatever
// that byte is, so a malformed pair is still kept together), 1 otherwise. A lead byte that ends
// the text counts 1; the caller decides what to do with it.
inline std::size_t CharacterLength(std::string_view gbk, std::size_t position) {
    const bool hasNext = position + 1 < gbk.size();
    return IsLeadByte(gbk[position]) && hasNext ? 2 : 1;
}

}  // namespace text
