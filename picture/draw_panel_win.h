// The draw panel: a picture box of a window, seen as a surface that pictures are drawn on and
// pixels copied from, measured in a drawing unit. Its background colour and tiled background
// picture are the picture box's own and are painted by the box; drawing here is lost at the
// next repaint unless auto-redraw keeps it in an off-screen bitmap.
#pragma once

#include <windows.h>

#include <optional>

#include "device/printer_font_height.h"
#include "picture/picture_data.h"
#include "ui/handles_win.h"

namespace picture {

class PictureObject;


class DrawPanel {
public:
    explicit DrawPanel(HWND panel);
    DrawPanel(const DrawPanel&) = delete;
    DrawPanel& operator=(const DrawPanel&) = delete;
    ~DrawPanel();

    HWND Handle() const { return panel_; }
    device::DrawingUnit unit = device::DrawingUnit::DevicePixel;

    // With auto-redraw everything drawn also goes to a bitmap of the client area's size (at
    // least 1 × 1) that repaints the panel; without, a repaint shows the background again.
    bool AutoRedraw() const { return static_cast<bool>(canvas_); }
    void SetAutoRedraw(bool autoRedraw);

    // The client area filled with the background.
    void Clear();
    // The picture with its top-left corner at (left, top); width and height default to its
    // natural size. Copy modes as the printer object's. Nothing for a null picture.
    void DrawPicture(const PictureObject* picture, int left, int top,
                     std::optional<int> width = std::nullopt,
                     std::optional<int> height = std::nullopt, int copyMode = 1);
    // A picture's pixel size in the panel's drawing unit; 0 for a null picture.
    int GetPictureWidth(const PictureObject* picture) const;
    int GetPictureHeight(const PictureObject* picture) const;
    // The picture in its natural size over the panel's background, as DrawPicture at (0, 0)
    // shows it where the panel is that large, read back in one go as 24-bit pixels. nullopt for
    // a null picture, one of a size no picture may have, or when the memory is not there.
    std::optional<Image> PictureAsShown(const PictureObject* picture) const;
    // Copies a rectangle of this panel (drawing units; width and height default to the client
    // area) to (targetLeft, targetTop) of the target, as it shows now.
    void CopyTo(DrawPanel& target, int left = 0, int top = 0,
                std::optional<int> width = std::nullopt, std::optional<int> height = std::nullopt,
                int targetLeft = 0, int targetTop = 0, int copyMode = 1);

private:
    // Runs draw on the window and, with auto-redraw, on the bitmap, each in the panel's unit.
    template <typename Draw>
    void OnEachSurface(Draw draw);
    POINT ToPixels(POINT point) const;
    POINT SizeToPixels(int width, int height) const;
    POINT PictureSize(const PictureObject* picture) const;
    void FillCanvas();
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);

    HWND panel_;
    ui::Bitmap canvas_;
};

}  // namespace picture
