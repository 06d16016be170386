#pragma once

#include <string>

namespace ui {
class Window;
}

namespace app {

class MainDocument;

// The background picture file of the directory becomes the document's picture, shown in the main
// picture box; on a first start, the built-in picture is written there instead (shown from the
// next start on).
void LoadOrWriteBackgroundPicture(ui::Window& window, MainDocument& document,
                                  const std::wstring& directory);

}  // namespace app
