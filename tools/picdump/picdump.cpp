// picdump: shows how the program's decoders see a picture file, for comparing them with other
// decoders. Prints one line "KIND WIDTH HEIGHT" (KIND as picture::Kind numbers it; "0 0 0" when
// the bytes are no picture or do not decode) and, given OUT, writes the decoded picture (a GIF's
// first frame) to OUT as a PAM file of RGBA samples. Icons and cursors are decoded by Windows in
// the program, so for them only the size of the image the program would pick is printed.
//
// "picdump --frames FILE" decodes a GIF's animation as a picture box would and prints
// "FRAMES COUNT WIDTH HEIGHT" ("FRAMES 0 0 0" when it is shown still).
//
// Exit status: 0 decoded, 1 not a picture or not decodable, 2 usage or file error, 3 decoded as
// far as its data goes, which ends early.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "picture/decoders.h"
#include "picture/picture_data.h"

namespace {

struct Rgba {
    std::uint8_t red, green, blue, alpha;
};

std::optional<std::vector<std::uint8_t>> ReadFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (file.bad()) return std::nullopt;
    return bytes;
}

// Palette entries are Windows RGBQUADs: blue in the lowest byte.
Rgba FromPalette(const picture::Image& image, int index) {
    const std::uint32_t entry = image.palette[static_cast<std::size_t>(index) & 0xFF];
    return {static_cast<std::uint8_t>(entry >> 16), static_cast<std::uint8_t>(entry >> 8),
            static_cast<std::uint8_t>(entry),
            static_cast<std::uint8_t>(index == image.transparentIndex ? 0 : 255)};
}

Rgba PixelAt(const picture::Image& image, int x, int y) {
    const std::uint8_t* row = image.Row(y);
    switch (image.format) {
    case picture::PixelFormat::Bgr24: {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
        return {p[2], p[1], p[0], 255};
    }
    case picture::PixelFormat::Bgra32: {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * 4;
        return {p[2], p[1], p[0], p[3]};
    }
    case picture::PixelFormat::Indexed8:
        return FromPalette(image, row[x]);
    case picture::PixelFormat::Mono1:
        return FromPalette(image, (row[x / 8] >> (7 - x % 8)) & 1);
    }
    return {0, 0, 0, 0};
}

bool WritePam(const picture::Image& image, const char* path) {
    std::vector<std::uint8_t> samples;
    samples.reserve(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgba pixel = PixelAt(image, x, y);
            samples.insert(samples.end(), {pixel.red, pixel.green, pixel.blue, pixel.alpha});
        }
    }
    std::ofstream file(path, std::ios::binary);
    file << "P7\nWIDTH " << image.width << "\nHEIGHT " << image.height
         << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    file.write(reinterpret_cast<const char*>(samples.data()), static_cast<std::streamsize>(samples.size()));
    file.close();
    return static_cast<bool>(file);
}

int ShowFrames(const std::vector<std::uint8_t>& bytes) {
    const auto animation = picture::DecodeGifAnimation(bytes);
    if (!animation) {
        std::printf("FRAMES 0 0 0\n");
        return 1;
    }
    const picture::Image& first = animation->frames.front().image;
    std::printf("FRAMES %zu %d %d\n", animation->frames.size(), first.width, first.height);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: picdump FILE [OUT.pam] | picdump --frames FILE\n");
        return 2;
    }
    const bool frames = argc == 3 && std::string(argv[1]) == "--frames";
    const char* path = frames ? argv[2] : argv[1];
    const auto bytes = ReadFile(path);
    if (!bytes) {
        std::fprintf(stderr, "picdump: cannot read %s\n", path);
        return 2;
    }
    if (frames) return ShowFrames(*bytes);
    const picture::Kind kind = picture::RecognizeKind(*bytes);
    const int kindNumber = static_cast<int>(kind);

    if (kind == picture::Kind::Icon || kind == picture::Kind::Cursor) {
        const auto icon = picture::SelectIconImage(*bytes);
        if (!icon) {
            std::printf("0 0 0\n");
            return 1;
        }
        std::printf("%d %d %d\n", kindNumber, icon->width, icon->height);
        return 0;
    }

    const auto image = kind == picture::Kind::None ? std::nullopt : picture::DecodePicture(*bytes, kind);
    if (!image) {
        std::printf("0 0 0\n");
        return 1;
    }
    std::printf("%d %d %d\n", kindNumber, image->width, image->height);
    if (argc == 3 && !WritePam(*image, argv[2])) {
        std::fprintf(stderr, "picdump: cannot write %s\n", argv[2]);
        return 2;
    }
    return image->complete ? 0 : 3;
}
