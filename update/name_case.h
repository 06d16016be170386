// Letter case as Windows ignores it when it compares file names.
#pragma once

#include <string>
#include <string_view>

namespace update {

// The upper-case form Windows compares a UTF-16 unit of a file name in: simple (one to one)
// upper-casing of the Latin (ASCII, Latin-1, Latin Extended-A and -B, Latin Extended
// Additional), Greek, Cyrillic and Armenian letters, the small Roman numerals, the circled
// letters and the full-width Latin letters. Anything else, surrogates included, stays as it is.
wchar_t FileNameUpper(wchar_t unit);

// The name with every unit upper-cased that way: two names that give the same key name the
// same file on Windows.
std::wstring FileNameKey(std::wstring_view name);

}  // namespace update
