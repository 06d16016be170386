#pragma once

#include "ui/description.h"

namespace picture {

// "查找": loads a picture into the picture box or appends a text file to the edit box, by the
// print options that are ticked.
void OnFindClicked(ui::EventArgs& event);
// "更换背景图": lets the user pick another background picture.
void OnChangeBackgroundChosen(ui::EventArgs& event);
// "调节大小": opens the picture adjustment window.
void OnAdjustPictureChosen(ui::EventArgs& event);

// Prints the main window's picture.
void PrintPictureJob();

}  // namespace picture
