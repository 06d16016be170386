#include "update/signature.h"

#include <sodium/core.h>
#include <sodium/crypto_sign.h>

#include <string_view>

namespace update {
namespace {

// sodium_init picks its implementations and seeds its generator; it must come first. A
// function-local static runs it once even when several threads ask.
bool SodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

}  // namespace

bool SignatureValid(std::span<const std::uint8_t> message, std::span<const std::uint8_t> signature,
                    std::span<const std::uint8_t> publicKey) {
    // libsodium reads fixed sizes from these pointers: anything else must not reach it.
    if (signature.size() != crypto_sign_BYTES || publicKey.size() != crypto_sign_PUBLICKEYBYTES) {
        return false;
    }
    if (!SodiumReady()) return false;
    return crypto_sign_verify_detached(signature.data(), message.data(), message.size(),
                                       publicKey.data()) == 0;
}

Sha256Digest Sha256(std::span<const std::uint8_t> bytes) {
    Sha256Hasher hasher;
    hasher.Add(bytes);
    return hasher.Finish();
}

Sha256Hasher::Sha256Hasher() { crypto_hash_sha256_init(&state_); }

void Sha256Hasher::Add(std::span<const std::uint8_t> bytes) {
    crypto_hash_sha256_update(&state_, bytes.data(), bytes.size());
}

Sha256Digest Sha256Hasher::Finish() {
    Sha256Digest digest;
    crypto_hash_sha256_final(&state_, digest.data());
    return digest;
}

std::string HexOf(std::span<const std::uint8_t> bytes) {
    constexpr std::string_view digits = "0123456789abcdef";
    constexpr int bitsPerDigit = 4;
    constexpr std::uint8_t lowDigitMask = 0x0f;
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        hex += digits[byte >> bitsPerDigit];
        hex += digits[byte & lowDigitMask];
    }
    return hex;
}

}  // namespace update
