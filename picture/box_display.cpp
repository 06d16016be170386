#include "picture/box_display.h"

#include <cstdint>

namespace picture {
namespace {

constexpr int shortestDelayMs = 20;
constexpr int delayForShortOnesMs = 100;

// a × b / c truncated, exactly: the quotient of the sides is never taken as a fraction, so a
// picture scaled to the box's width is exactly as wide as the box.
int ScaledSide(int side, int boxSide, int pictureSide) {
    return static_cast<int>(static_cast<std::int64_t>(side) * boxSide / pictureSide);
}

}  // namespace

Placement PlaceInBox(ui::PictureMode mode, int boxWidth, int boxHeight, int pictureWidth,
                     int pictureHeight) {
    switch (mode) {
    case ui::PictureMode::natural: return {0, 0, pictureWidth, pictureHeight};
    case ui::PictureMode::stretch: return {0, 0, boxWidth, boxHeight};
    case ui::PictureMode::tiled: return {0, 0, pictureWidth, pictureHeight};  // the first tile
    case ui::PictureMode::fit: break;
    }
    if (pictureWidth <= 0 || pictureHeight <= 0 || boxWidth <= 0 || boxHeight <= 0) {
        return {0, 0, 0, 0};
    }
    int width = pictureWidth;
    int height = pictureHeight;
    if (pictureWidth > boxWidth || pictureHeight > boxHeight) {
        // Compare boxWidth / pictureWidth with boxHeight / pictureHeight without dividing.
        const bool widthLimits = static_cast<std::int64_t>(boxWidth) * pictureHeight <=
                                 static_cast<std::int64_t>(boxHeight) * pictureWidth;
        if (widthLimits) {
            width = boxWidth;
            height = ScaledSide(pictureHeight, boxWidth, pictureWidth);
        } else {
            width = ScaledSide(pictureWidth, boxHeight, pictureHeight);
            height = boxHeight;
        }
    }
    return {(boxWidth - width) / 2, (boxHeight - height) / 2, width, height};
}

int FrameDelayMs(int storedDelayMs) {
    return storedDelayMs < shortestDelayMs ? delayForShortOnesMs : storedDelayMs;
}

}  // namespace picture
