// Rules of the draw panel that need no window.
#pragma once

namespace device {

// A copy from a panel happens only for a rectangle of positive size that touches the panel's
// client area, edges counted inclusively: one that starts right at the right or bottom edge
// still copies. Device pixels.
bool CopyTouchesClient(int x, int y, int width, int height, int clientWidth, int clientHeight);

}  // namespace device
