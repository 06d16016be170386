// What the font command keeps between uses, and how it becomes the edit box's font.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ui {

inline constexpr std::string_view fallbackFace = "宋体";
inline constexpr std::size_t maxFaceBytes = 32;  // LOGFONT's face name, with its zero

// The font dialog's held values. They start empty, so cancelling the first dialog gives the
// fallback face at the default height, black and regular.
struct FontChoice {
    int pointSize = 0;  // 0: the font's default height
    std::string faceGbk;
    std::uint32_t color = 0;  // 0x00BBGGRR
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// The face the edit box gets: an empty name, or one too long for a LOGFONT, falls back to 宋体
// (GBK bytes in, GBK bytes out).
std::string EffectiveFaceGbk(const std::string& faceGbk);

}  // namespace ui
