#include "update/download_address.h"

#include <algorithm>
#include <cctype>

#include "ui/hex.h"

namespace update {
namespace {

constexpr std::string_view scheme = "http://";
constexpr unsigned largestPort = 65535;

bool IsHostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
}

std::optional<std::string> Unescaped(std::string_view path) {
    std::string plain;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] != '%') {
            plain += path[i];
            continue;
        }
        if (path.size() - i < 3) return std::nullopt;
        const std::optional<std::uint8_t> byte = ui::HexByte(path[i + 1], path[i + 2]);
        if (!byte || *byte == 0) return std::nullopt;
        plain += static_cast<char>(*byte);
        i += 2;
    }
    return plain;
}

}  // namespace

std::optional<DownloadAddress> ParseDownloadAddress(std::string_view address) {
    if (address.size() < scheme.size() ||
        !std::equal(scheme.begin(), scheme.end(), address.begin(),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); })) {
        return std::nullopt;
    }
    if (std::any_of(address.begin(), address.end(), [](char c) {
            return static_cast<unsigned char>(c) <= ' ' || c == 0x7F || c == '?' || c == '#' || c == '\\';
        })) {
        return std::nullopt;
    }
    address.remove_prefix(scheme.size());
    const std::size_t slash = address.find('/');
    std::string_view authority = address.substr(0, slash);
    DownloadAddress parsed;
    if (const std::size_t colon = authority.find(':'); colon != std::string_view::npos) {
        const std::string_view port = authority.substr(colon + 1);
        if (port.empty() || port.size() > 5 ||
            !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
        const unsigned number = static_cast<unsigned>(std::stoul(std::string(port)));
        if (number == 0 || number > largestPort) return std::nullopt;
        parsed.port = static_cast<std::uint16_t>(number);
        authority = authority.substr(0, colon);
    }
    if (authority.empty() || !std::all_of(authority.begin(), authority.end(), IsHostCharacter)) return std::nullopt;
    parsed.host = authority;
    std::optional<std::string> path = Unescaped(slash == std::string_view::npos ? "/" : address.substr(slash));
    if (!path) return std::nullopt;
    parsed.path = std::move(*path);
    return parsed;
}

}  // namespace update
