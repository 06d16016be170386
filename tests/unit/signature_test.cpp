#include <gtest/gtest.h>
#include <sodium.h>

#include "update/signature.h"

namespace {

using namespace update;
using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(std::string_view text) { return {text.begin(), text.end()}; }
Bytes BytesOfHex(std::string_view hex) {
    Bytes bytes(hex.size() / 2);
    sodium_hex2bin(bytes.data(), bytes.size(), hex.data(), hex.size(), nullptr, nullptr, nullptr);
    return bytes;
}
Bytes FirstFlipped(Bytes bytes) { return bytes[0] ^= 1, bytes; }

// RFC 8032, Ed25519 test 1. libsodium's secret key is the seed followed by the public key.
const Bytes rfcSecretKey = BytesOfHex("9d61b19deffd5a60ba844af492ec2cc44449c5697b326919703bac031cae7f60"
                                      "d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a");
const Bytes rfcPublicKey(rfcSecretKey.begin() + crypto_sign_SEEDBYTES, rfcSecretKey.end());
const Bytes rfcSignature = BytesOfHex("e5564300c360ac729086e2cc806e828a84877f1eb8e5d974d873e06522490155"
                                      "5fb8821590a33bacc61e39701cf9b46bd25bf5f0595bbe24655141438e7a100b");

TEST(SignatureValid, AcceptsOnlyTheSignedBytesWholeUnderTheSigningKey) {
    EXPECT_TRUE(SignatureValid({}, rfcSignature, rfcPublicKey));
    const Bytes manifest = BytesOf("<最新版本 版本号=\"3.3\"/>");
    Bytes signature(crypto_sign_BYTES);
    crypto_sign_detached(signature.data(), nullptr, manifest.data(), manifest.size(), rfcSecretKey.data());
    EXPECT_TRUE(SignatureValid(manifest, signature, rfcPublicKey));
    EXPECT_FALSE(SignatureValid(FirstFlipped(manifest), signature, rfcPublicKey));
    EXPECT_FALSE(SignatureValid(manifest, FirstFlipped(signature), rfcPublicKey));
    EXPECT_FALSE(SignatureValid(manifest, signature, FirstFlipped(rfcPublicKey)));
    EXPECT_FALSE(SignatureValid(manifest, std::span(signature).first(crypto_sign_BYTES - 1), rfcPublicKey));
}

TEST(Sha256, OfAbcWholeOrInPieces) {
    Sha256Hasher hasher;
    for (std::string_view piece : {"a", "", "bc"}) hasher.Add(BytesOf(piece));
    EXPECT_EQ(HexOf(Sha256(BytesOf("abc"))), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(HexOf(hasher.Finish()), HexOf(Sha256(BytesOf("abc"))));
}

}  // namespace
