// Compiled into each executable with its own settings (cmake/update_server.cmake), so this file
// is not part of the shared library.
#include <array>
#include <cstddef>

#include "ui/hex.h"
#include "update/update_server.h"

#if !defined(MOZHOU_UPDATE_HOST) || !defined(MOZHOU_UPDATE_PORT) || !defined(MOZHOU_UPDATE_PUBLIC_KEY) || \
    !defined(MOZHOU_UPDATE_TIMEOUT_MS) || !defined(MOZHOU_UPDATE_DEADLINE_MS)
#error "the update server settings are missing"
#endif

namespace update {
namespace {

// A key that is not 64 hexadecimal digits stops the build here.
constexpr std::array<std::uint8_t, 32> KeyFromHex(std::string_view hex) {
    const auto key = ui::BytesFromHex<32>(hex);
    if (!key) throw "the public key must be 64 hexadecimal digits";
    return *key;
}

constexpr std::array<std::uint8_t, 32> publicKey = KeyFromHex(MOZHOU_UPDATE_PUBLIC_KEY);

const UpdateServer builtIn{MOZHOU_UPDATE_HOST, MOZHOU_UPDATE_PORT, MOZHOU_UPDATE_TIMEOUT_MS,
                           MOZHOU_UPDATE_DEADLINE_MS, publicKey};

}  // namespace

const UpdateServer& BuiltInUpdateServer() { return builtIn; }

}  // namespace update
