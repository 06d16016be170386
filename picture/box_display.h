// How a picture box shows a picture: where the picture goes in the box, and how long each frame
// of an animated GIF stays.
#pragma once

#include "ui/description.h"

namespace picture {

struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// Natural: the picture's own size at the top-left corner. Stretch: the whole box. Fit: centred
// at its own size when it fits, else scaled down by the smaller of the two ratios of box to
// picture, keeping its proportions, with truncated sizes; never enlarged.
Placement PlaceInBox(ui::PictureMode mode, int boxWidth, int boxHeight, int pictureWidth,
                     int pictureHeight);

// Delays shorter than 20 ms are stored by many GIFs that mean "as fast as the viewer likes";
// browsers show those for 100 ms, and so does the picture box.
int FrameDelayMs(int storedDelayMs);

}  // namespace picture
