#include "text/delete_spaces.h"

#include <cstddef>

#include "text/gbk.h"

namespace text {
namespace {

constexpr std::string_view halfWidthSpace = " ";
constexpr std::string_view fullWidthSpace = "\xA1\xA1";

}  // namespace

std::string DeleteAllSpaces(std::string_view gbk) {
    std::string kept;
    kept.reserve(gbk.size());
    std::size_t position = 0;
    while (position < gbk.size()) {
        const std::size_t length = CharacterLength(gbk, position);
        const std::string_view character = gbk.substr(position, length);
        position += length;
        // A lead byte counts as one byte only when nothing follows it.
        const bool danglingLead = length == 1 && IsLeadByte(character[0]);
        const bool space = character == halfWidthSpace || character == fullWidthSpace;
        if (!danglingLead && !space) kept += character;
    }
    return kept;
}

}  // namespace text
