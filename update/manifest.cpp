#include "update/manifest.h"

#include <pugixml.hpp>

#include <algorithm>
#include <string_view>

#include "ui/hex.h"
#include "update/update_rules.h"

namespace update {
namespace {

std::string Attribute(const pugi::xml_node& node, std::string_view name) {
    return node.attribute(std::string(name).c_str()).value();
}

// Decimal digits only: no sign, blanks or exponent, and never more than maxDownloadBytes.
std::optional<std::uint64_t> SizeOf(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t size = 0;
    for (char digit : text) {
        if (digit < '0' || digit > '9') return std::nullopt;
        size = size * 10 + static_cast<std::uint64_t>(digit - '0');
        if (size > maxDownloadBytes) return std::nullopt;
    }
    if (size == 0) return std::nullopt;
    return size;
}

}  // namespace

Manifest ReadManifest(std::span<const std::uint8_t> body) {
    const auto end = std::find(body.begin(), body.end(), std::uint8_t{0});
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(body.data(), static_cast<std::size_t>(end - body.begin()), pugi::parse_default,
                             pugi::encoding_utf8);
    if (!parsed) return {};
    const pugi::xml_node root = document.document_element();
    if (std::string_view(root.name()) != latestVersionNode) return {};
    const pugi::xml_node info = root.child(std::string(versionInfoNode).c_str());
    return Manifest{
        .version = Attribute(info, versionAttribute),
        .notes = Attribute(info, notesAttribute),
        .downloadAddress = Attribute(info, downloadAddressAttribute),
        .fileTitle = Attribute(info, fileTitleAttribute),
        .fileName = Attribute(info, fileNameAttribute),
        .sha256 = Attribute(info, "sha256"),
        .size = Attribute(info, "size"),
    };
}

std::optional<Manifest> VerifiedManifest(std::span<const std::uint8_t> body,
                                         std::span<const std::uint8_t> signature,
                                         std::span<const std::uint8_t> publicKey) {
    if (body.size() > maxManifestBytes || signature.size() > maxSignatureBytes) return std::nullopt;
    if (!SignatureValid(body, signature, publicKey)) return std::nullopt;
    return ReadManifest(body);
}

std::optional<DownloadCheck> DownloadCheckOf(const Manifest& manifest) {
    const auto digest = ui::BytesFromHex<std::tuple_size_v<Sha256Digest>>(manifest.sha256);
    const auto size = SizeOf(manifest.size);
    if (!digest || !size) return std::nullopt;
    return DownloadCheck{*digest, *size};
}

Judgement JudgeManifest(std::span<const std::uint8_t> body, std::span<const std::uint8_t> signature,
                        std::span<const std::uint8_t> publicKey, double currentVersion) {
    if (body.empty()) return {Verdict::NoServer, {}};
    std::optional<Manifest> manifest = VerifiedManifest(body, signature, publicKey);
    if (!manifest || !IsNewerVersion(VersionNumber(manifest->version), currentVersion) ||
        manifest->downloadAddress.empty() || !DownloadCheckOf(*manifest)) {
        return {Verdict::NothingNew, {}};
    }
    return {Verdict::Offer, std::move(*manifest)};
}

}  // namespace update
