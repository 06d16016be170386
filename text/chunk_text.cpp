#include "text/chunk_text.h"

#include <cstddef>

#include "text/gbk.h"

namespace text {
namespace {

constexpr char carriageReturn = '\r';
constexpr char lineFeed = '\n';

// Bytes of the unit that must not be cut: a double-byte character, a CR LF pair, or one byte.
std::size_t UnitLength(std::string_view gbk, std::size_t position) {
    const bool crLf = gbk[position] == carriageReturn && position + 1 < gbk.size() &&
                      gbk[position + 1] == lineFeed;
    return crLf ? 2 : CharacterLength(gbk, position);
}

// Where a chunk starting at start and holding at most limit bytes ends, cut only between units.
std::size_t ChunkEnd(std::string_view gbk, std::size_t start, std::size_t limit) {
    std::size_t end = start;
    while (end < gbk.size()) {
        const std::size_t next = end + UnitLength(gbk, end);
        if (next - start > limit) break;
        end = next;
    }
    // A first unit longer than the limit is taken whole so that the cutting moves on.
    return end == start ? start + UnitLength(gbk, start) : end;
}

}  // namespace

std::vector<std::string> ChunkText(std::string_view gbk, int charsPerLine) {
    std::vector<std::string> chunks;
    if (charsPerLine < 1) return chunks;
    const auto limit = static_cast<std::size_t>(charsPerLine);
    std::size_t start = 0;
    while (gbk.size() - start >= limit) {
        const std::size_t end = ChunkEnd(gbk, start, limit);
        chunks.emplace_back(gbk.substr(start, end - start));
        start = end;
    }
    chunks.emplace_back(gbk.substr(start));
    return chunks;
}

}  // namespace text
