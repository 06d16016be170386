#include "caption.h"

namespace e2e {
namespace {

constexpr size_t mnemonicGroupLength = 4;  // "(&Y)"

bool IsMnemonicGroupAt(std::wstring_view caption, size_t i) {
  return i + mnemonicGroupLength <= caption.size() && caption[i] == L'(' && caption[i + 1] == L'&' &&
         caption[i + 2] != L'&' && caption[i + 3] == L')';
}

}  // namespace

std::wstring ReadableCaption(std::wstring_view caption) {
  if (const size_t tab = caption.find(L'\t'); tab != std::wstring_view::npos) caption = caption.substr(0, tab);
  std::wstring readable;
  readable.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (IsMnemonicGroupAt(caption, i)) {
      i += mnemonicGroupLength - 1;
    } else if (caption[i] != L'&') {
      readable += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == L'&') {
      readable += L'&';
      ++i;
    }
  }
  return readable;
}

bool CaptionMatches(std::wstring_view actual, std::wstring_view wanted) {
  return actual == wanted || ReadableCaption(actual) == ReadableCaption(wanted);
}

}  // namespace e2e
