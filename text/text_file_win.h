// A text file's text as an edit box takes it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ui {
struct FileContents;
}

namespace text {

struct LoadedText {
    std::wstring text;
    std::wstring status;  // what to say about a text not taken whole; empty when it was
};

// The file's bytes read in their encoding (UTF-8, UTF-16 or GB18030) with every line ended by
// CR LF.
LoadedText LoadTextFile(std::span<const std::uint8_t> bytes);

// A file that could not be read says so in a timed box ("文件过大" or "文件无法读取"); true when
// it did.
bool ToldReadFailure(const ui::FileContents& contents);

}  // namespace text
