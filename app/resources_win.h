// Data built into the executable.
#pragma once

#include <cstdint>
#include <span>

namespace app {

// The bytes of an RCDATA resource; empty when it is missing.
std::span<const std::uint8_t> ResourceBytes(int id);

}  // namespace app
