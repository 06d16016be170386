// Fuzzes the text job's byte handling: whatever the bytes, chunking loses and invents nothing and
// never cuts a character or a CR LF pair, space removal leaves no space at a character start, and
// lines hold no line breaks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "device/text_paging.h"
#include "text/chunk_text.h"
#include "text/delete_spaces.h"
#include "text/gbk.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Positions where a cut is allowed: between characters, and not between CR and LF.
std::string CutAllowed(std::string_view text) {
    std::string allowed(text.size() + 1, '\0');
    std::size_t i = 0;
    while (i < text.size()) {
        allowed[i] = 1;
        std::size_t length = text::CharacterLength(text, i);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') length = 2;
        i += length;
    }
    allowed[text.size()] = 1;
    return allowed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int charsPerLine = data[0] % 100;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);

    if (charsPerLine >= 1) {
        const auto chunks = text::ChunkText(input, charsPerLine);
        const std::string allowed = CutAllowed(input);
        std::string joined;
        for (const std::string& chunk : chunks) {
            joined += chunk;
            Check(allowed[joined.size()] != 0);
        }
        Check(joined == input);
    }

    const std::string kept = text::DeleteAllSpaces(input);
    for (std::size_t i = 0; i < kept.size(); i += text::CharacterLength(kept, i)) {
        Check(kept[i] != ' ');
        Check(!(kept.compare(i, 2, "\xA1\xA1") == 0));
    }

    for (std::string_view line : device::SplitIntoLines(input)) {
        Check(line.find_first_of("\r\n") == std::string_view::npos);
    }
    return 0;
}
