// The path of an HTTP request as it goes on the wire.
#pragma once

#include <string>
#include <string_view>

namespace update {

// The UTF-8 path with every byte other than a letter, a digit, "-._~" and "/" written as %XX
// (upper-case hexadecimal), so that "/墨舟.xml" reaches the server the same whatever code page
// the HTTP client would otherwise send it in.
std::string PercentEncodedPath(std::string_view utf8Path);

}  // namespace update
