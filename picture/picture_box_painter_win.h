// Shows pictures in the window runtime's picture boxes.
#pragma once

#include "ui/window_win.h"

namespace picture {

// Draws the DecodedPicture a picture box shows (other content leaves the box empty); keeps
// nothing of its own between calls (each box keeps its memo), so one painter serves every window.
ui::PictureBoxPainter& PicturePainter();

}  // namespace picture
