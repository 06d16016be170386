// GIF87a/GIF89a: the first image as palette indices on the logical screen. A file that ends
// inside a block, in the first image or after it, is incomplete: what it holds of the first
// image is shown, the rest of the screen in the background colour.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "picture/decoders.h"
#include "picture/gif_reading.h"

namespace picture {
namespace {

using namespace gif;

// The first image's palette indices on the logical screen.
std::optional<Image> DecodeFirstImage(Bytes bytes) {
    auto start = ReadStart(bytes);
    if (!start) return std::nullopt;
    Screen& screen = start->screen;
    BlockWalker walker(bytes, start->blocks, screen);
    auto frame = std::make_unique<Frame>();
    if (!walker.Next(*frame)) return std::nullopt;
    SizeScreen(screen, *frame);

    auto image = AllocateImage(screen.width, screen.height, PixelFormat::Indexed8);
    if (!image) return std::nullopt;
    image->palette = frame->palette;
    image->paletteSize = frame->paletteSize;
    image->transparentIndex = frame->transparentIndex;
    if (screen.background != 0) {
        std::fill(image->pixels.begin(), image->pixels.end(), screen.background);
    }

    auto tables = std::make_unique<LzwTables>();
    std::vector<std::uint8_t> buffer;
    DecodeVisible(*frame, screen.width, screen.height, *tables, buffer,
                  [&](int y, int x, const std::uint8_t* pixels, int count) {
                      std::memcpy(image->Row(y) + x, pixels, static_cast<std::size_t>(count));
                  });
    while (walker.Next(*frame)) {
    }
    image->complete = !walker.Cut();
    return image;
}

}  // namespace

// Running out of memory refuses the file like bad data does.
std::optional<Image> DecodeGif(Bytes bytes) {
    try {
        return DecodeFirstImage(bytes);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace picture
