#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mozhou::assets {

// Writes the bytes to path, replacing any existing file; throws on failure
// so a broken build step cannot leave a truncated resource behind unnoticed.
void WriteOutputFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace mozhou::assets
