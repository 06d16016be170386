#include "update/download_progress.h"

#include <algorithm>

#include "update/update_texts.h"

namespace update {

std::string SizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kilobyte = 1024;
    constexpr std::uint64_t megabyte = kilobyte * 1024;
    if (bytes < kilobyte) return std::to_string(bytes) + std::string(bytesUnit);
    const bool large = bytes >= megabyte;
    // Tenths, rounded down, so that a download never shows more than it has.
    const std::uint64_t tenths = bytes * 10 / (large ? megabyte : kilobyte);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + std::string(large ? megabytesUnit : kilobytesUnit);
}

std::string PercentText(std::uint64_t done, std::uint64_t total) {
    if (total == 0) return "0%";
    return std::to_string(std::min(done, total) * 100 / total) + "%";
}

std::string SpeedText(std::uint64_t bytes, std::uint64_t milliseconds) {
    return SizeText(bytes * 1000 / std::max<std::uint64_t>(milliseconds, 1)) + std::string(perSecondUnit);
}

}  // namespace update
