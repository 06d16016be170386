// Where the update check and the updater find the update server, how long they wait for it,
// and the key its manifests must be signed with. These are build settings: the shipped build
// names the maker's server and key, the test build a server on this machine and a key made
// for the tests.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace update {

struct UpdateServer {
    std::string_view host;  // UTF-8
    std::uint16_t port;
    unsigned timeoutMs;   // for connecting, and for each wait on the server
    unsigned deadlineMs;  // for a whole request, however the server trickles
    std::span<const std::uint8_t, 32> publicKey;
};

// The settings this executable was built with.
const UpdateServer& BuiltInUpdateServer();

}  // namespace update
