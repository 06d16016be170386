#include "picture/place_pixels.h"

#include <algorithm>
#include <new>
#include <utility>

#include "picture/decoders.h"
#include "picture/shrink.h"
#include "picture/turn_and_crop.h"

namespace picture {
namespace {

int Turns(int quarterTurns) { return ((quarterTurns % 4) + 4) % 4; }

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The crop held inside the turned picture (as CropImage holds it), or the whole picture for an
// empty crop; nullopt when nothing of it is left.
std::optional<Rect> CropInside(int width, int height, const device::PixelRect& crop) {
    if (crop.Empty()) return Rect{0, 0, width, height};
    const std::int64_t x0 = std::clamp<std::int64_t>(crop.left, 0, width);
    const std::int64_t y0 = std::clamp<std::int64_t>(crop.top, 0, height);
    const std::int64_t x1 =
        std::clamp<std::int64_t>(std::int64_t{crop.left} + crop.width, x0, width);
    const std::int64_t y1 =
        std::clamp<std::int64_t>(std::int64_t{crop.top} + crop.height, y0, height);
    if (x1 == x0 || y1 == y0) return std::nullopt;
    return Rect{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                static_cast<int>(y1 - y0)};
}

// A part of the picture turned clockwise by turns as the same part of the upright picture,
// width × height.
Rect Upright(const Rect& r, int turns, int width, int height) {
    switch (turns) {
    case 1: return {r.top, height - r.left - r.width, r.height, r.width};
    case 2: return {width - r.left - r.width, height - r.top - r.height, r.width, r.height};
    case 3: return {width - r.top - r.height, r.left, r.height, r.width};
    default: return r;
    }
}

// [from, from + length) of a side of `full` pixels as the pixels of a side of `scaled` pixels
// that cover it: rounded outwards, held inside, at least one.
std::pair<int, int> ScaleSpan(int from, int length, int full, int scaled) {
    if (full == scaled) return {from, length};
    const std::int64_t first = std::clamp<std::int64_t>(
        std::int64_t{from} * scaled / full, 0, scaled - 1);
    const std::int64_t end = std::clamp<std::int64_t>(
        ((std::int64_t{from} + length) * scaled + full - 1) / full, first + 1, scaled);
    return {static_cast<int>(first), static_cast<int>(end - first)};
}

bool Shrinkable(PixelFormat format) {
    return format == PixelFormat::Bgr24 || format == PixelFormat::Bgra32;
}

std::optional<PixelFormat> FormatOf(Kind kind) {
    switch (kind) {
    case Kind::Jpeg:
    case Kind::Bmp: return PixelFormat::Bgr24;
    case Kind::Png:
    case Kind::Webp:
    // Bgr24, or Bgra32 with alpha: counted as the larger.
    case Kind::Heif:
    case Kind::Avif: return PixelFormat::Bgra32;
    // Bgr24, Bgra32 or Mono1 by the page; counted as the largest of them, and a bilevel page is
    // then drawn whole (its bands are counted again from the pixels).
    case Kind::Tiff: return PixelFormat::Bgra32;
    case Kind::Gif:
    case Kind::Pcx8: return PixelFormat::Indexed8;
    case Kind::Pcx1: return PixelFormat::Mono1;
    case Kind::Icon:
    case Kind::Cursor:
    case Kind::None: return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

PlacedSize PlacedSizeFor(Kind kind, int fullWidth, int fullHeight, int quarterTurns,
                         const device::PixelRect& crop, int deviceWidth, int deviceHeight) {
    const std::optional<PixelFormat> format = FormatOf(kind);
    if (!format || fullWidth <= 0 || fullHeight <= 0) return {};
    const bool across = Turns(quarterTurns) % 2 == 1;
    const std::optional<Rect> part =
        CropInside(across ? fullHeight : fullWidth, across ? fullWidth : fullHeight, crop);
    if (!part) return {};
    if (!Shrinkable(*format)) return {part->width, part->height, *format};
    return {std::min(part->width, std::max(1, deviceWidth)),
            std::min(part->height, std::max(1, deviceHeight)), *format};
}

std::optional<Image> PixelsForPlace(Bytes file, Kind kind, int fullWidth, int fullHeight,
                                    int quarterTurns, const device::PixelRect& crop,
                                    int deviceWidth, int deviceHeight, int page) {
    const int turns = Turns(quarterTurns);
    const bool across = turns % 2 == 1;
    std::optional<Image> pixels;
    if (fullWidth <= 0 || fullHeight <= 0) {
        // Without the size the part cannot be told before decoding.
        pixels = DecodePicture(file, kind, page);
        if (!pixels) return std::nullopt;
        fullWidth = pixels->width;
        fullHeight = pixels->height;
    }
    const PlacedSize wanted =
        PlacedSizeFor(kind, fullWidth, fullHeight, turns, crop, deviceWidth, deviceHeight);
    if (wanted.width <= 0) return std::nullopt;
    const Rect part = Upright(
        *CropInside(across ? fullHeight : fullWidth, across ? fullWidth : fullHeight, crop), turns,
        fullWidth, fullHeight);
    // The part's size in the end, the upright way.
    const int wantedWidth = across ? wanted.height : wanted.width;
    const int wantedHeight = across ? wanted.width : wanted.height;
    if (!pixels && kind == Kind::Jpeg) {
        // The whole picture at the least size that still gives the part its wanted pixels.
        const auto atLeast = [](int full, int want, int partSide) {
            return static_cast<int>((std::int64_t{full} * want + partSide - 1) / partSide);
        };
        pixels = DecodeJpegScaled(file, atLeast(fullWidth, wantedWidth, part.width),
                                  atLeast(fullHeight, wantedHeight, part.height));
    } else if (!pixels) {
        pixels = DecodePicture(file, kind, page);
    }
    if (!pixels) return std::nullopt;
    const bool complete = pixels->complete;

    // Cut first and turn last: the turn then moves only the pixels kept.
    const auto [x, width] = ScaleSpan(part.left, part.width, fullWidth, pixels->width);
    const auto [y, height] = ScaleSpan(part.top, part.height, fullHeight, pixels->height);
    if (x != 0 || y != 0 || width != pixels->width || height != pixels->height) {
        pixels = CropImage(*pixels, x, y, width, height);
        if (!pixels) return std::nullopt;
    }
    if (Shrinkable(pixels->format) &&
        (pixels->width > wantedWidth || pixels->height > wantedHeight)) {
        pixels = ShrinkImage(*pixels, std::min(pixels->width, wantedWidth),
                             std::min(pixels->height, wantedHeight));
        if (!pixels) return std::nullopt;
    }
    if (turns != 0) {
        pixels = TurnQuarters(*pixels, turns);
        if (!pixels) return std::nullopt;
    }
    pixels->complete = complete;
    return pixels;
}

namespace {

bool SameKey(const PlacedPixelsCache::Key& a, const PlacedPixelsCache::Key& b) {
    return a.file == b.file && a.page == b.page && a.quarterTurns == b.quarterTurns && a.crop.left == b.crop.left &&
           a.crop.top == b.crop.top && a.crop.width == b.crop.width &&
           a.crop.height == b.crop.height && a.deviceWidth == b.deviceWidth &&
           a.deviceHeight == b.deviceHeight;
}

}  // namespace

std::shared_ptr<const Image> PlacedPixelsCache::Get(
    const Key& asked, const std::function<std::optional<Image>()>& prepare) {
    Key key = asked;
    key.quarterTurns = Turns(key.quarterTurns);
    if (key.crop.Empty()) key.crop = {};
    // The pixels are prepared without the lock, so that several pictures are prepared at once;
    // one prepared meanwhile by another thread for the same key is taken instead.
    const auto kept = [this, &key]() -> std::shared_ptr<const Image> {
        for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
            if (!SameKey(entry->key, key)) continue;
            entries_.splice(entries_.begin(), entries_, entry);
            return entries_.front().image;
        }
        return nullptr;
    };
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (auto image = kept()) return image;
    }
    std::optional<Image> made = prepare();
    if (!made) return nullptr;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (auto image = kept()) return image;
    std::shared_ptr<const Image> image;
    try {
        image = std::make_shared<const Image>(std::move(*made));
        entries_.push_front({std::move(key), image, image->pixels.size()});
    } catch (const std::bad_alloc&) {
        return image;  // drawn this once, not kept
    }
    held_ += entries_.front().bytes;
    while (held_ > budget_ && entries_.size() > 1) {
        held_ -= entries_.back().bytes;
        entries_.pop_back();
    }
    return image;
}

std::size_t PlacedPixelsCache::HeldBytes() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return held_;
}

}  // namespace picture
