// A picture made ready for one place on a page: decoded from its file's bytes at no more pixels
// than the device shows there, turned and cut as the page asks. A photo of many megapixels
// printed small, or shown in the preview, is decoded small and never held at its full size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "device/page_plan.h"
#include "picture/picture_data.h"

namespace picture {

// The size and pixel format PixelsForPlace gives, known from the picture's kind and sizes
// without decoding it: width × height 0 for kinds without pixels (icons, cursors).
struct PlacedSize {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Bgr24;
};
PlacedSize PlacedSizeFor(Kind kind, int fullWidth, int fullHeight, int quarterTurns,
                         const device::PixelRect& crop, int deviceWidth, int deviceHeight);

// The picture in the file turned clockwise by quarterTurns, cut to crop (in the turned picture's
// pixels at its full size; empty for the whole), and made no larger than deviceWidth ×
// deviceHeight by averaging: each side min(its own, the device's), never enlarged. fullWidth ×
// fullHeight is the upright picture's full size, as the decoders give it. A JPEG is decoded at
// the smallest of libjpeg's quick scales that still holds the pixels needed; other kinds whole.
// Palette and one-bit pictures are not made smaller (a bilevel page stays sharp: the printer
// draws it black-dominant, see picture/render_win.h). page: of a file of several (TIFF). nullopt
// when the bytes do not decode, the crop leaves nothing, or the memory is not there.
std::optional<Image> PixelsForPlace(Bytes file, Kind kind, int fullWidth, int fullHeight,
                                    int quarterTurns, const device::PixelRect& crop,
                                    int deviceWidth, int deviceHeight, int page = 0);

// The pixels prepared for the places of one job's pictures, shared by them: each (file, turns,
// crop, device size) is prepared once and kept while the kept ones fit the byte budget, the
// least recently used going first. The one used last is always kept, however large, so that a
// picture drawn in bands is prepared once. Safe to use from several threads.
class PlacedPixelsCache {
public:
    static constexpr std::size_t defaultBudget = 32u * 1024 * 1024;
    explicit PlacedPixelsCache(std::size_t budgetBytes = defaultBudget) : budget_(budgetBytes) {}

    struct Key {
        std::shared_ptr<const std::vector<std::uint8_t>> file;  // told apart by address
        int quarterTurns = 0;
        device::PixelRect crop;
        int deviceWidth = 0;
        int deviceHeight = 0;
        int page = 0;  // of a file of several pages
    };
    // The pixels kept for the key, else those prepare() gives, kept; null when it gives none.
    std::shared_ptr<const Image> Get(const Key& key,
                                     const std::function<std::optional<Image>()>& prepare);
    std::size_t HeldBytes() const;

private:
    struct Entry {
        Key key;
        std::shared_ptr<const Image> image;
        std::size_t bytes = 0;
    };
    std::size_t budget_;
    std::size_t held_ = 0;
    std::list<Entry> entries_;  // most recently used first
    mutable std::mutex mutex_;
};

}  // namespace picture
