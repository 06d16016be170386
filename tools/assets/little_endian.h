#pragma once

#include <cstdint>
#include <vector>

namespace mozhou::assets {

// Icon and bitmap headers are little-endian on disk whatever the host is,
// so fields are written byte by byte instead of copying packed structs.
inline void AppendByte(std::vector<std::uint8_t>& bytes, std::uint8_t value)
{
    bytes.push_back(value);
}

inline void AppendWord(std::vector<std::uint8_t>& bytes, std::uint16_t value)
{
    constexpr unsigned bitsPerByte = 8;
    constexpr unsigned lowByteMask = 0xFFu;
    AppendByte(bytes, static_cast<std::uint8_t>(value & lowByteMask));
    AppendByte(bytes, static_cast<std::uint8_t>(value >> bitsPerByte));
}

inline void AppendDword(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    constexpr unsigned bitsPerWord = 16;
    constexpr std::uint32_t lowWordMask = 0xFFFFu;
    AppendWord(bytes, static_cast<std::uint16_t>(value & lowWordMask));
    AppendWord(bytes, static_cast<std::uint16_t>(value >> bitsPerWord));
}

inline void AppendLong(std::vector<std::uint8_t>& bytes, std::int32_t value)
{
    AppendDword(bytes, static_cast<std::uint32_t>(value));
}

} // namespace mozhou::assets
