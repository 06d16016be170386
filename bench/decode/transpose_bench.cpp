// Speed of turning a 6000 × 4000 Bgr24 picture over its diagonal, beside memcpy of the same
// bytes: into newly allocated memory, as the turned picture must be, and, for scale, into
// memory already in use. Each figure is the best of several runs, taking turns. Exit status 1
// when the turn reaches less than a quarter of the bandwidth of the copy into new memory.
//
// Usage: transpose_bench [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "picture/transpose.h"

namespace {

constexpr int width = 6000;
constexpr int height = 4000;
constexpr std::size_t bgrBytes = 3;
constexpr int defaultRuns = 5;
constexpr double targetShare = 0.25;  // of the copy's bandwidth
constexpr double bytesPerMegabyte = 1e6;

volatile std::size_t sink;  // keeps the results alive

double Seconds(const std::function<std::size_t()>& work) {
    const auto start = std::chrono::steady_clock::now();
    sink = sink + work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

picture::Image MakePicture() {
    std::optional<picture::Image> image = picture::AllocateImage(width, height, picture::PixelFormat::Bgr24);
    if (!image) {
        std::fprintf(stderr, "transpose_bench: no memory for the test picture\n");
        std::exit(2);
    }
    std::uint32_t noise = 0x9E3779B9u;
    for (auto& byte : image->pixels) {
        noise ^= noise << 13;
        noise ^= noise >> 17;
        noise ^= noise << 5;
        byte = static_cast<std::uint8_t>(noise);
    }
    return std::move(*image);
}

// The turned picture, checked at its far corner so that a wrong turn cannot pass for a fast one.
std::size_t Turned(const picture::Image& image) {
    const std::optional<picture::Image> turned = picture::TransposeImage(image);
    const auto bottomRight = [](const picture::Image& picture) {
        return picture.Row(picture.height - 1) + static_cast<std::size_t>(picture.width - 1) * bgrBytes;
    };
    if (!turned || turned->width != height || turned->height != width ||
        std::memcmp(bottomRight(*turned), bottomRight(image), bgrBytes) != 0) {
        std::fprintf(stderr, "transpose_bench: the picture was not turned right\n");
        std::exit(2);
    }
    return turned->pixels[turned->pixels.size() / 2];
}

std::size_t CopiedIntoNewMemory(const std::vector<std::uint8_t>& bytes) {
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size()]);
    std::memcpy(copy.get(), bytes.data(), bytes.size());
    return copy[bytes.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultRuns;
    const picture::Image image = MakePicture();
    const std::vector<std::uint8_t>& bytes = image.pixels;
    std::vector<std::uint8_t> inUse(bytes.size(), 1);

    const std::function<std::size_t()> contenders[] = {
        [&] { return Turned(image); },
        [&] { return CopiedIntoNewMemory(bytes); },
        [&] {
            std::memcpy(inUse.data(), bytes.data(), bytes.size());
            return std::size_t{inUse[inUse.size() / 2]};
        },
    };
    double best[std::size(contenders)];
    for (std::size_t i = 0; i < std::size(contenders); ++i) best[i] = Seconds(contenders[i]);  // warm-up
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < std::size(contenders); ++i) best[i] = std::min(best[i], Seconds(contenders[i]));
    }

    const double megabytes = bytes.size() / bytesPerMegabyte;
    const double turn = megabytes / best[0], copyNew = megabytes / best[1], copyInUse = megabytes / best[2];
    const bool met = turn >= targetShare * copyNew;
    std::printf("transpose: %d x %d Bgr24, %.1f MB, best of %d\n", width, height, megabytes, runs);
    std::printf("  transpose                      %8.0f MB/s\n", turn);
    std::printf("  memcpy into new memory         %8.0f MB/s   transpose/memcpy %.2f (target >= %.2f) %s\n",
                copyNew, turn / copyNew, targetShare, met ? "met" : "MISSED");
    std::printf("  memcpy into memory in use      %8.0f MB/s   transpose/memcpy %.2f (for scale)\n", copyInUse,
                turn / copyInUse);
    return met ? 0 : 1;
}
