#include "picture/shrink.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

namespace picture {
namespace {

// Where the blocks of old pixels start along one side: new pixel i covers [edges[i], edges[i + 1]).
std::vector<int> BlockEdges(int from, int to) {
    std::vector<int> edges(static_cast<std::size_t>(to) + 1);
    for (int i = 0; i <= to; ++i) {
        edges[static_cast<std::size_t>(i)] =
            static_cast<int>(static_cast<std::int64_t>(i) * from / to);
    }
    return edges;
}

}  // namespace

std::optional<Image> ShrinkImage(const Image& image, int width, int height) {
    const int channels = image.format == PixelFormat::Bgr24    ? 3
                         : image.format == PixelFormat::Bgra32 ? 4
                                                               : 0;
    if (channels == 0 || width <= 0 || height <= 0 || width > image.width ||
        height > image.height ||
        image.pixels.size() < image.Stride() * static_cast<std::size_t>(image.height)) {
        return std::nullopt;
    }
    std::optional<Image> shrunk = AllocateImage(width, height, image.format);
    if (!shrunk) return std::nullopt;
    const std::vector<int> columns = BlockEdges(image.width, width);
    const std::vector<int> rows = BlockEdges(image.height, height);
    // A block may cover up to 64 M pixels, whose sums pass 32 bits: each row of a block (at most
    // 65535 pixels) is summed in 32 bits, the block's rows in 64.
    std::vector<std::uint64_t> sums;
    try {
        sums.resize(static_cast<std::size_t>(width) * channels);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int row = rows[y]; row < rows[y + 1]; ++row) {
            const std::uint8_t* source = image.Row(row);
            for (int x = 0; x < width; ++x) {
                std::uint32_t rowSum[4] = {};
                for (int column = columns[x]; column < columns[x + 1]; ++column) {
                    const std::uint8_t* pixel = source + static_cast<std::size_t>(column) * channels;
                    for (int c = 0; c < channels; ++c) rowSum[c] += pixel[c];
                }
                std::uint64_t* sum = sums.data() + static_cast<std::size_t>(x) * channels;
                for (int c = 0; c < channels; ++c) sum[c] += rowSum[c];
            }
        }
        std::uint8_t* target = shrunk->Row(y);
        const int blockRows = rows[y + 1] - rows[y];
        for (int x = 0; x < width; ++x) {
            const std::uint64_t count =
                static_cast<std::uint64_t>(blockRows) * (columns[x + 1] - columns[x]);
            const std::uint64_t* sum = sums.data() + static_cast<std::size_t>(x) * channels;
            for (int c = 0; c < channels; ++c) {
                target[static_cast<std::size_t>(x) * channels + c] =
                    static_cast<std::uint8_t>((sum[c] + count / 2) / count);
            }
        }
    }
    return shrunk;
}

}  // namespace picture
