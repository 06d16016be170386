#pragma once

#include <cstdint>
#include <vector>

namespace mozhou::assets {

// Channel values run from 0 to 255 but stay fractional while painting so
// that gradients and blended edges do not band.
struct Colour {
    double red = 0;
    double green = 0;
    double blue = 0;
};

struct Point {
    double x = 0;
    double y = 0;
};

struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// Tightly packed 8-bit RGB rows, top row first.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> samples;
};

inline constexpr int rgbChannelCount = 3;

// How a shape is filled: a vertical gradient from `top` at the shape's top
// edge to `bottom` at its bottom edge (equal colours give a flat fill),
// mixed over what is below by `opacity`. `edgeWidth` is the width in pixels
// over which the edge fades out: about 1 for a crisp anti-aliased edge,
// more for soft shadows and glows.
struct Fill {
    Colour top;
    Colour bottom;
    double opacity = 1;
    double edgeWidth = 1;
};

Fill Solid(Colour colour, double opacity = 1, double edgeWidth = 1);
Fill Gradient(Colour top, Colour bottom);

class Canvas {
public:
    Canvas(int width, int height);

    void PaintBackground(Colour top, Colour bottom);
    void PaintRoundedBox(const Box& box, double cornerRadius, const Fill& fill);
    void PaintEllipse(Point centre, double radiusX, double radiusY, const Fill& fill);

    RgbImage ToImage() const;

private:
    template <typename DistanceFunction>
    void PaintShape(const Box& bounds, const Fill& fill, DistanceFunction signedDistance);

    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

} // namespace mozhou::assets
