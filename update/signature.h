// Checks on what the update check downloads: the manifest's Ed25519 signature and the
// download's SHA-256, both through libsodium.
#pragma once

#include <sodium/crypto_hash_sha256.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace update {

using Sha256Digest = std::array<std::uint8_t, crypto_hash_sha256_BYTES>;

// Whether signature is a detached Ed25519 signature of exactly these bytes by the key. A
// signature or key of the wrong size, or a libsodium that cannot start, is never valid.
bool SignatureValid(std::span<const std::uint8_t> message, std::span<const std::uint8_t> signature,
                    std::span<const std::uint8_t> publicKey);

Sha256Digest Sha256(std::span<const std::uint8_t> bytes);

// SHA-256 of bytes that arrive in pieces, such as a download. Finish once, after the last piece.
class Sha256Hasher {
public:
    Sha256Hasher();
    void Add(std::span<const std::uint8_t> bytes);
    Sha256Digest Finish();

private:
    crypto_hash_sha256_state state_;
};

// Lower-case hexadecimal, two digits a byte.
std::string HexOf(std::span<const std::uint8_t> bytes);

}  // namespace update
