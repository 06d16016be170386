#include "utf16.h"

namespace e2e {
namespace {

constexpr char32_t replacementCharacter = 0xFFFD;
constexpr char32_t highSurrogateFirst = 0xD800;
constexpr char32_t lowSurrogateFirst = 0xDC00;
constexpr char32_t surrogateLast = 0xDFFF;
constexpr char32_t supplementaryFirst = 0x10000;
constexpr char32_t codePointLast = 0x10FFFF;
constexpr int surrogateBits = 10;
constexpr char32_t surrogateMask = 0x3FF;

bool IsHighSurrogate(char32_t unit) { return unit >= highSurrogateFirst && unit < lowSurrogateFirst; }
bool IsLowSurrogate(char32_t unit) { return unit >= lowSurrogateFirst && unit <= surrogateLast; }

void AppendUtf16(std::wstring& out, char32_t point) {
  if (point < supplementaryFirst) {
    out += static_cast<wchar_t>(point);
    return;
  }
  const char32_t offset = point - supplementaryFirst;
  out += static_cast<wchar_t>(highSurrogateFirst + (offset >> surrogateBits));
  out += static_cast<wchar_t>(lowSurrogateFirst + (offset & surrogateMask));
}

// Length of the sequence a lead byte announces, and the bits it contributes; 0 for a stray byte.
int SequenceLength(unsigned char lead, char32_t& bits) {
  if (lead < 0x80) {
    bits = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) {
    bits = lead & 0x1F;
    return 2;
  }
  if ((lead & 0xF0) == 0xE0) {
    bits = lead & 0x0F;
    return 3;
  }
  if ((lead & 0xF8) == 0xF0) {
    bits = lead & 0x07;
    return 4;
  }
  return 0;
}

char32_t SmallestFor(int length) {
  switch (length) {
    case 2: return 0x80;
    case 3: return 0x800;
    case 4: return supplementaryFirst;
    default: return 0;
  }
}

}  // namespace

void AppendUtf8(std::string& out, char32_t point) {
  if (point < 0x80) {
    out += static_cast<char>(point);
  } else if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < supplementaryFirst) {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  }
}

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = static_cast<char16_t>(text[i]);
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(static_cast<char16_t>(text[i + 1]))) {
      const char32_t low = static_cast<char16_t>(text[++i]);
      AppendUtf8(out, supplementaryFirst + ((unit - highSurrogateFirst) << surrogateBits) + (low - lowSurrogateFirst));
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, replacementCharacter);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::wstring FromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char32_t point = 0;
    const int length = SequenceLength(static_cast<unsigned char>(text[i]), point);
    if (length == 0 || i + length > text.size()) {
      AppendUtf16(out, replacementCharacter);
      ++i;
      continue;
    }
    bool valid = true;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      point = (point << 6) | (next & 0x3F);
    }
    const bool overlong = point < SmallestFor(length);
    const bool surrogate = point >= highSurrogateFirst && point <= surrogateLast;
    if (!valid || overlong || surrogate || point > codePointLast) {
      AppendUtf16(out, replacementCharacter);
      ++i;
      continue;
    }
    AppendUtf16(out, point);
    i += length;
  }
  return out;
}

}  // namespace e2e
