#pragma once

#include <string>

namespace ui {
class Window;
}

namespace app {

// Shows the background picture file of the directory in the main picture box; on a first start,
// writes the built-in picture there instead (shown from the next start on).
void LoadOrWriteBackgroundPicture(ui::Window& window, const std::wstring& directory);

}  // namespace app
