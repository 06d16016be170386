// Fuzzes the TIFF reader: libtiff behind it, every page of a file. Whatever the bytes, nothing
// reads or writes outside its buffers, nothing hangs, and the pages decoded are those the header
// reader lists, each as its header said.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "picture/decoders.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const picture::Bytes bytes(data, size);
    const std::vector<picture::PictureInfo> pages = picture::ReadTiffPages(bytes);
    Check(pages.size() <= picture::largestTiffPageCount);
    if (!pages.empty()) Check(picture::RecognizeKind(bytes) == picture::Kind::Tiff);
    // Pages are allocated at their stated size whatever data follows: big ones only slow the
    // fuzzer down.
    std::uint64_t pixels = 0;
    for (const picture::PictureInfo& page : pages) pixels += std::uint64_t{1} * page.width * page.height;
    if (pixels > (1u << 20)) return 0;
    const std::vector<picture::Image> images = picture::DecodeTiffPages(bytes);
    Check(images.size() <= pages.size());
    for (std::size_t each = 0; each < images.size(); ++each) {
        const picture::Image& image = images[each];
        const picture::PictureInfo& info = pages[each];
        Check(info.page == static_cast<int>(each) && info.width == image.width && info.height == image.height &&
              info.dpiX == image.dpiX && info.dpiY == image.dpiY);
        Check(image.pixels.size() == image.Stride() * static_cast<std::size_t>(image.height));
    }
    return 0;
}
