// What the program says about a text file it could not take whole.
#pragma once

#include <string>
#include <string_view>

#include "text/text_encoding.h"
#include "text/text_texts.h"  // the messages

namespace text {

// The status message for a decoded text file; empty when it was taken whole and fitted its
// encoding.
std::string TextFileStatus(const DecodedText& decoded);

}  // namespace text
