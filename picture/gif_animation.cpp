// GIF87a/GIF89a: all frames composited for animation.
#include <array>
#include <cstring>
#include <memory>
#include <new>

#include "picture/decoders.h"
#include "picture/gif_reading.h"

namespace picture {
namespace {

using namespace gif;

// Where the next frame starts from: the last frame whose disposal keeps its pixels, with its
// place cleared when it asks for that; the frames that restore what was before them drop out.
struct Backdrop {
    std::optional<std::size_t> frame;  // none: the screen as yet untouched, transparent
    int left = 0;
    int top = 0;
    Visible cleared;  // in the frame's coordinates
};

// All frames together, with what each frame holds beside its pixels: no more than the pixels
// of the largest still picture.
constexpr std::uint64_t bgraPixelBytes = 4;
constexpr std::uint64_t mostAnimationBytes = largestPixelCount * bgraPixelBytes;
constexpr int disposeToBackground = 2;
constexpr int disposeToPrevious = 3;

// Every frame is a whole screen of its own, so the frames are counted before any is made: only
// an animation whose frames all fit within mostAnimationBytes is decoded. Each frame is made
// from the frame it follows, so nothing but the frames is held.
std::optional<Animation> DecodeAllFrames(Bytes bytes) {
    auto start = ReadStart(bytes);
    if (!start) return std::nullopt;
    Screen& screen = start->screen;
    auto frame = std::make_unique<Frame>();
    std::uint64_t frameCount = 0;
    for (BlockWalker counter(bytes, start->blocks, screen); counter.Next(*frame); ++frameCount) {
        if (frameCount == 0) SizeScreen(screen, *frame);
    }
    if (frameCount < 2 || !AcceptableSize(screen.width, screen.height)) return std::nullopt;
    const std::uint64_t frameBytes =
        Image::StrideFor(PixelFormat::Bgra32, screen.width) * static_cast<std::uint64_t>(screen.height) +
        sizeof(AnimationFrame);
    if (frameCount > mostAnimationBytes / frameBytes) return std::nullopt;

    auto tables = std::make_unique<LzwTables>();
    std::vector<std::uint8_t> buffer;
    Animation animation;
    animation.frames.reserve(static_cast<std::size_t>(frameCount));
    Backdrop backdrop;
    BlockWalker walker(bytes, start->blocks, screen);
    while (walker.Next(*frame)) {
        std::optional<Image> canvas;
        if (!backdrop.frame) {
            canvas = AllocateImage(screen.width, screen.height, PixelFormat::Bgra32);
            if (!canvas) return std::nullopt;
        } else {
            canvas = animation.frames[*backdrop.frame].image;
            for (int y = 0; y < backdrop.cleared.y1 && backdrop.cleared.x1 > 0; ++y) {
                std::memset(canvas->Row(backdrop.top + y) + 4 * static_cast<std::size_t>(backdrop.left),
                            0, 4 * static_cast<std::size_t>(backdrop.cleared.x1));
            }
        }

        std::array<std::uint8_t, 4 * 256> colours{};
        for (int i = 0; i < 256; ++i) {
            const std::uint32_t c = frame->palette[i];
            colours[4 * i] = static_cast<std::uint8_t>(c);
            colours[4 * i + 1] = static_cast<std::uint8_t>(c >> 8);
            colours[4 * i + 2] = static_cast<std::uint8_t>(c >> 16);
            colours[4 * i + 3] = 0xFF;
        }
        const int transparent = frame->transparentIndex;
        DecodeVisible(*frame, canvas->width, canvas->height, *tables, buffer,
                      [&](int y, int x, const std::uint8_t* pixels, int count) {
                          std::uint8_t* out = canvas->Row(y) + 4 * static_cast<std::size_t>(x);
                          for (int i = 0; i < count; ++i) {
                              if (pixels[i] != transparent) {
                                  std::memcpy(out + 4 * i, &colours[4 * pixels[i]], 4);
                              }
                          }
                      });
        animation.frames.push_back({std::move(*canvas), frame->delay * 10});

        if (frame->disposal != disposeToPrevious) {
            backdrop.frame = animation.frames.size() - 1;
            backdrop.left = frame->left;
            backdrop.top = frame->top;
            backdrop.cleared = frame->disposal == disposeToBackground
                                   ? VisiblePart(*frame, screen.width, screen.height)
                                   : Visible{};
        }
    }
    return animation;
}


}  // namespace

std::optional<Animation> DecodeGifAnimation(Bytes bytes) {
    try {
        return DecodeAllFrames(bytes);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace picture
