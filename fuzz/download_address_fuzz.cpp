// Fuzzes the parsing of a manifest's download address: whatever the text, it is taken apart only
// into a plain host, a port in range and a path that starts with "/" and holds no NUL.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "update/download_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<char> text(data, data + size);  // exactly as long, so a read past it is seen
    const auto address = update::ParseDownloadAddress(std::string_view(text.data(), text.size()));
    if (!address) return 0;
    const bool plainHost = !address->host.empty() && std::all_of(address->host.begin(), address->host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
    });
    if (!plainHost || address->port == 0 || !address->path.starts_with('/') ||
        address->path.find('\0') != std::string::npos) {
        std::abort();
    }
    return 0;
}
