// Drawing a picture onto any device context: a window, a memory bitmap or a printer page.
#pragma once

#include <windows.h>

#include <optional>

#include "picture/picture_data.h"
#include "picture/picture_object_win.h"

namespace picture {

// Draws the picture with its top-left corner at (x, y) in device pixels, width × height, each
// -1 for the picture's natural size. Pixel pictures are stretched with the raster operation;
// icons and cursors are drawn as icons. PNG alpha is laid over white, or over the background.
// One-bit pictures take their colours from the DC's text and background colours.
void RenderPicture(HDC dc, const PictureObject& picture, int x, int y, int width = -1,
                   int height = -1, DWORD rop = SRCCOPY,
                   std::optional<COLORREF> background = std::nullopt);

// The same for decoded pixels without a picture object, such as the frames of an animation;
// kind tells GIF palette pictures from the others.
void RenderImage(HDC dc, const Image& image, Kind kind, int x, int y, int width = -1,
                 int height = -1, DWORD rop = SRCCOPY,
                 std::optional<COLORREF> background = std::nullopt);

// A printer takes a large picture in bands of rows, each stretched onto its share of the area, so
// that a job can go back to the message loop between them: how many, and one of them drawn.
int RenderBandCount(HDC dc, const PictureObject& picture);
void RenderPictureBand(HDC dc, const PictureObject& picture, int x, int y, int width, int height,
                       DWORD rop, int band);
// The same for decoded pixels of that kind; the count also for pixels not yet decoded, from the
// size and format they will have.
int RenderBandCount(HDC dc, Kind kind, PixelFormat format, int width, int height);
void RenderImageBand(HDC dc, const Image& image, Kind kind, int x, int y, int width, int height,
                     DWORD rop, int band);

// HALFTONE when the display shows more than 16 bits per pixel, else COLORONCOLOR.
int PictureStretchMode();

}  // namespace picture
