// The update manifest: what the update server says of the latest version, accepted only when
// signed with the maker's key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "update/signature.h"

namespace update {

// Larger manifests and signatures are refused unread: a server cannot make the check hold
// more than this in memory.
inline constexpr std::size_t maxManifestBytes = 64 * 1024;
inline constexpr std::size_t maxSignatureBytes = 256;
// The largest download a manifest may announce.
inline constexpr std::uint64_t maxDownloadBytes = 512ull << 20;

// The attributes of "最新版本/版本信息", UTF-8 as written; a missing element or attribute is
// empty text.
struct Manifest {
    std::string version;          // 版本号
    std::string notes;            // 升级说明
    std::string downloadAddress;  // 下载地址
    std::string fileTitle;        // 文件标题
    std::string fileName;         // 文件名
    std::string sha256;           // the download's SHA-256, hexadecimal
    std::string size;             // the download's size in bytes, decimal
};

// Reads the bytes up to the first zero byte as a UTF-8 XML document. A document that is not
// well-formed, or not UTF-8 (a GBK one, say, whose names then match nothing), reads as empty.
Manifest ReadManifest(std::span<const std::uint8_t> body);

// The manifest, when signature is a valid Ed25519 signature of exactly these bytes by the key
// and neither is larger than its cap; nothing otherwise.
std::optional<Manifest> VerifiedManifest(std::span<const std::uint8_t> body,
                                         std::span<const std::uint8_t> signature,
                                         std::span<const std::uint8_t> publicKey);

// What the updater checks a download against.
struct DownloadCheck {
    Sha256Digest sha256;
    std::uint64_t size;
};

// The manifest's sha256 (64 hexadecimal digits, either case) and size (decimal digits only,
// 1 to maxDownloadBytes); nothing when either is missing or malformed.
std::optional<DownloadCheck> DownloadCheckOf(const Manifest& manifest);

enum class Verdict {
    NoServer,    // nothing came back: "未接通升级服务器"
    NothingNew,  // "未检测到新版本", also for anything unsigned, oversized or incomplete
    Offer,       // a strictly newer version, signed, with a download address and its check
};

struct Judgement {
    Verdict verdict;
    Manifest manifest;  // filled for an offer
};

// The update check's decision on what the server sent.
Judgement JudgeManifest(std::span<const std::uint8_t> body, std::span<const std::uint8_t> signature,
                        std::span<const std::uint8_t> publicKey, double currentVersion);

}  // namespace update
