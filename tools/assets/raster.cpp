#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace mozhou::assets {

namespace {

constexpr double pixelCentre = 0.5;
constexpr double channelMax = 255;

Colour Mix(const Colour& below, const Colour& above, double amount)
{
    return {
        below.red + (above.red - below.red) * amount,
        below.green + (above.green - below.green) * amount,
        below.blue + (above.blue - below.blue) * amount,
    };
}

std::uint8_t ToSample(double channel)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(channel, 0.0, channelMax)));
}

} // namespace

Fill Solid(Colour colour, double opacity, double edgeWidth)
{
    return {colour, colour, opacity, edgeWidth};
}

Fill Gradient(Colour top, Colour bottom)
{
    return {top, bottom};
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height)
{
}

void Canvas::PaintBackground(Colour top, Colour bottom)
{
    for (int y = 0; y < height_; ++y) {
        const double position = (y + pixelCentre) / height_;
        const Colour colour = Mix(top, bottom, position);
        std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, width_, colour);
    }
}

// Coverage falls linearly from 1 to 0 while the signed distance to the
// outline (negative inside) crosses the fill's edge width.
template <typename DistanceFunction>
void Canvas::PaintShape(const Box& bounds, const Fill& fill, DistanceFunction signedDistance)
{
    const double reach = fill.edgeWidth;
    const int firstRow = std::max(0, static_cast<int>(std::floor(bounds.top - reach)));
    const int lastRow = std::min(height_ - 1, static_cast<int>(std::ceil(bounds.bottom + reach)));
    const int firstColumn = std::max(0, static_cast<int>(std::floor(bounds.left - reach)));
    const int lastColumn = std::min(width_ - 1, static_cast<int>(std::ceil(bounds.right + reach)));
    const double span = std::max(bounds.bottom - bounds.top, 1.0);

    for (int y = firstRow; y <= lastRow; ++y) {
        const double centreY = y + pixelCentre;
        const double gradientPosition = std::clamp((centreY - bounds.top) / span, 0.0, 1.0);
        const Colour colour = Mix(fill.top, fill.bottom, gradientPosition);
        for (int x = firstColumn; x <= lastColumn; ++x) {
            const double distance = signedDistance(Point{x + pixelCentre, centreY});
            const double coverage = std::clamp(pixelCentre - distance / reach, 0.0, 1.0);
            if (coverage <= 0) {
                continue;
            }
            Colour& pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
            pixel = Mix(pixel, colour, coverage * fill.opacity);
        }
    }
}

void Canvas::PaintRoundedBox(const Box& box, double cornerRadius, const Fill& fill)
{
    const Point centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    const double halfWidth = (box.right - box.left) / 2;
    const double halfHeight = (box.bottom - box.top) / 2;
    const double radius = std::min({cornerRadius, halfWidth, halfHeight});

    PaintShape(box, fill, [&](Point point) {
        const double insetX = std::abs(point.x - centre.x) - halfWidth + radius;
        const double insetY = std::abs(point.y - centre.y) - halfHeight + radius;
        const double outside = std::hypot(std::max(insetX, 0.0), std::max(insetY, 0.0));
        const double inside = std::min(std::max(insetX, insetY), 0.0);
        return outside + inside - radius;
    });
}

// Scaling the normalised radius by the shorter semi-axis is not an exact
// distance for long ellipses, but it is smooth, which is all the edge needs.
void Canvas::PaintEllipse(Point centre, double radiusX, double radiusY, const Fill& fill)
{
    const Box bounds{centre.x - radiusX, centre.y - radiusY, centre.x + radiusX, centre.y + radiusY};
    const double shorterRadius = std::min(radiusX, radiusY);

    PaintShape(bounds, fill, [&](Point point) {
        const double normalised = std::hypot((point.x - centre.x) / radiusX, (point.y - centre.y) / radiusY);
        return (normalised - 1) * shorterRadius;
    });
}

RgbImage Canvas::ToImage() const
{
    RgbImage image{width_, height_, {}};
    image.samples.reserve(pixels_.size() * rgbChannelCount);
    for (const Colour& pixel : pixels_) {
        image.samples.push_back(ToSample(pixel.red));
        image.samples.push_back(ToSample(pixel.green));
        image.samples.push_back(ToSample(pixel.blue));
    }
    return image;
}

} // namespace mozhou::assets
