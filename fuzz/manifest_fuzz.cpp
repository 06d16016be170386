// Fuzzes the reading of update manifests: whatever the server sends, nothing is read or written
// outside its buffers, a download check stays within its caps, and nothing unsigned is offered.
#include <array>
#include <cstdint>
#include <cstdlib>

#include "update/manifest.h"
#include "update/update_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> body(data, size);
    const update::Manifest manifest = update::ReadManifest(body);
    const std::optional<update::DownloadCheck> check = update::DownloadCheckOf(manifest);
    if (check && (check->size < 1 || check->size > update::maxDownloadBytes)) std::abort();
    const std::array<std::uint8_t, 32> key{};
    const std::array<std::uint8_t, 64> signature{};
    if (update::JudgeManifest(body, {}, key, 3.2).verdict == update::Verdict::Offer ||
        update::JudgeManifest(body, signature, key, 3.2).verdict == update::Verdict::Offer) {
        std::abort();
    }
    return 0;
}
