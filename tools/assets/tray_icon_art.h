#pragma once

#include "icon_encoder.h"

namespace mozhou::assets {

// The tray icon's picture: a printer with a printed sheet standing out of
// its top and another leaving the front slot.
IconPixels DrawTrayIcon();

} // namespace mozhou::assets
