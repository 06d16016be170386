// Data built into the executable.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "ui/handles_win.h"

namespace app {

// The bytes of an RCDATA resource; empty when it is missing.
std::span<const std::uint8_t> ResourceBytes(int id);

// An icon made from icon file bytes (the first image of the file).
ui::Icon IconFromFileBytes(std::span<const std::uint8_t> bytes);

}  // namespace app
