// Hexadecimal digits read in either case, at compile time too.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ui {

// The value of a hexadecimal digit; -1 for any other character.
constexpr int HexDigitValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

// The byte two hexadecimal digits write, high digit first.
constexpr std::optional<std::uint8_t> HexByte(char high, char low) {
    const int highValue = HexDigitValue(high);
    const int lowValue = HexDigitValue(low);
    if (highValue < 0 || lowValue < 0) return std::nullopt;
    return static_cast<std::uint8_t>(highValue << 4 | lowValue);
}

// Exactly 2 * Size hexadecimal digits as Size bytes; nothing for any other text.
template <std::size_t Size>
constexpr std::optional<std::array<std::uint8_t, Size>> BytesFromHex(std::string_view hex) {
    if (hex.size() != 2 * Size) return std::nullopt;
    std::array<std::uint8_t, Size> bytes{};
    for (std::size_t i = 0; i < Size; ++i) {
        const std::optional<std::uint8_t> byte = HexByte(hex[2 * i], hex[2 * i + 1]);
        if (!byte) return std::nullopt;
        bytes[i] = *byte;
    }
    return bytes;
}

}  // namespace ui
