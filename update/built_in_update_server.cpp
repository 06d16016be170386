// Compiled into each executable with its own settings (cmake/update_server.cmake), so this file
// is not part of the shared library.
#include <array>
#include <cstddef>

#include "update/update_server.h"

#if !defined(MOZHOU_UPDATE_HOST) || !defined(MOZHOU_UPDATE_PORT) || !defined(MOZHOU_UPDATE_PUBLIC_KEY) || \
    !defined(MOZHOU_UPDATE_TIMEOUT_MS) || !defined(MOZHOU_UPDATE_DEADLINE_MS)
#error "the update server settings are missing"
#endif

namespace update {
namespace {

constexpr std::uint8_t HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
    throw "the public key holds a character that is not a hexadecimal digit";
}

constexpr std::array<std::uint8_t, 32> KeyFromHex(std::string_view hex) {
    if (hex.size() != 64) throw "the public key must be 64 hexadecimal digits";
    std::array<std::uint8_t, 32> key{};
    for (std::size_t i = 0; i < key.size(); ++i) {
        key[i] = static_cast<std::uint8_t>(HexDigit(hex[2 * i]) << 4 | HexDigit(hex[2 * i + 1]));
    }
    return key;
}

constexpr std::array<std::uint8_t, 32> publicKey = KeyFromHex(MOZHOU_UPDATE_PUBLIC_KEY);

const UpdateServer builtIn{MOZHOU_UPDATE_HOST, MOZHOU_UPDATE_PORT, MOZHOU_UPDATE_TIMEOUT_MS,
                           MOZHOU_UPDATE_DEADLINE_MS, publicKey};

}  // namespace

const UpdateServer& BuiltInUpdateServer() { return builtIn; }

}  // namespace update
