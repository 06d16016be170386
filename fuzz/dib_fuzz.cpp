// Fuzzes clipboard bitmaps made into picture files: whatever the bytes, nothing reads or writes
// outside its buffers, and a file made is one the decoders read whole at the bitmap's size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "picture/decoders.h"
#include "picture/dib_file.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const picture::Bytes dib(data, size);
    // Big bitmaps only slow the fuzzer down.
    if (size < 12) return 0;
    const std::int64_t width = static_cast<std::int32_t>(picture::Le32(dib, 4));
    const std::int64_t height = static_cast<std::int32_t>(picture::Le32(dib, 8));
    if (width * (height < 0 ? -height : height) > (1 << 20)) return 0;

    const auto file = picture::FileImageFromDib(dib);
    if (!file) return 0;
    const picture::Kind kind = picture::RecognizeKind(*file);
    Check(kind == picture::Kind::Bmp || kind == picture::Kind::Png);
    const auto image = kind == picture::Kind::Bmp ? picture::DecodeBmp(*file) : picture::DecodePng(*file);
    Check(image && image->complete && image->width == width &&
          image->height == (height < 0 ? -height : height));
    return 0;
}
