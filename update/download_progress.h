// What the download window shows of a download under way.
#pragma once

#include <cstdint>
#include <string>

namespace update {

// "512 字节", "12.5 KB", "3.2 MB": one decimal from a kilobyte on, 1024 bytes to the kilobyte.
std::string SizeText(std::uint64_t bytes);
// Whole percent, rounded down, of a total that is never 0 for a real download; "0%" for 0.
std::string PercentText(std::uint64_t done, std::uint64_t total);
// "1.5 MB/秒" from the bytes received over a number of milliseconds (at least one).
std::string SpeedText(std::uint64_t bytes, std::uint64_t milliseconds);

}  // namespace update
