#include "device/draw_panel.h"

namespace device {

bool CopyTouchesClient(int x, int y, int width, int height, int clientWidth, int clientHeight) {
    if (width <= 0 || height <= 0) return false;
    return x <= clientWidth && y <= clientHeight && x + width >= 0 && y + height >= 0;
}

}  // namespace device
