// The download address of a manifest, taken apart for the request that fetches the download.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace update {

struct DownloadAddress {
    std::string host;  // a name or an IPv4 address
    std::uint16_t port = 80;
    std::string path;  // UTF-8 with its %XX escapes undone, starting with "/"
};

// "http://host[:port]/path" with the scheme in any case. Refused are other schemes, user
// names, IPv6 literals, queries and fragments, ports outside 1 to 65535, a path with a bad or
// NUL escape, and anything with blanks or control characters.
std::optional<DownloadAddress> ParseDownloadAddress(std::string_view address);

}  // namespace update
