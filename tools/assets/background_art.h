#pragma once

#include "raster.h"

namespace mozhou::assets {

inline constexpr int backgroundWidth = 384;
inline constexpr int backgroundHeight = 240;

// The main window's default picture: a flat drawing of a desk printer
// printing a sheet with a few lines of text and a red seal.
RgbImage DrawBackground();

} // namespace mozhou::assets
