#include "picture/alpha_over.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace picture {
namespace {

constexpr double alphaScale = 0.003921569;  // 1/255 as the program has always rounded it
constexpr int opaque = 255;

// Every result of one background channel, so that a large picture costs a look-up per channel.
using ChannelTable = std::array<std::array<std::uint8_t, 256>, 256>;  // [alpha][channel]

void FillTable(ChannelTable& table, int background) {
    for (int alpha = 0; alpha < 256; ++alpha) {
        for (int channel = 0; channel < 256; ++channel) {
            table[alpha][channel] = OverBackground(channel, alpha, background);
        }
    }
}

}  // namespace

std::uint8_t OverBackground(int channel, int alpha, int background) {
    if (alpha == opaque) return static_cast<std::uint8_t>(std::clamp(channel, 0, 255));
    const double weight = alpha * alphaScale;
    const double mixed = std::trunc(weight * channel + background * (1.0 - weight));
    return static_cast<std::uint8_t>(std::clamp(mixed, 0.0, 255.0));
}

std::vector<std::uint8_t> CompositeOver(const Image& image, std::uint32_t background) {
    if (image.format != PixelFormat::Bgra32 || image.width <= 0 || image.height <= 0) return {};
    const std::size_t size = image.Stride() * static_cast<std::size_t>(image.height);
    if (image.pixels.size() < size) return {};

    // 0x00BBGGRR; the pixels are blue, green, red, alpha.
    const std::array<int, 3> backgroundBgr{static_cast<int>((background >> 16) & 0xFF),
                                           static_cast<int>((background >> 8) & 0xFF),
                                           static_cast<int>(background & 0xFF)};
    auto tables = std::make_unique<std::array<ChannelTable, 3>>();
    for (int i = 0; i < 3; ++i) FillTable((*tables)[i], backgroundBgr[i]);

    std::vector<std::uint8_t> out(size);
    const std::uint8_t* from = image.pixels.data();
    std::uint8_t* to = out.data();
    for (std::size_t i = 0; i < size; i += 4) {
        const std::uint8_t alpha = from[i + 3];
        to[i] = (*tables)[0][alpha][from[i]];
        to[i + 1] = (*tables)[1][alpha][from[i + 1]];
        to[i + 2] = (*tables)[2][alpha][from[i + 2]];
        to[i + 3] = opaque;
    }
    return out;
}

}  // namespace picture
