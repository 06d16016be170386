// Decoding speed of the program's decoders for a 6000 × 4000 picture, each beside a reference
// measured in the same run on the same bytes:
//   JPEG  libjpeg-turbo used bare with the same settings        ours may take at most 1.1× its time
//   PNG   libpng's simplified interface used bare               at most 1.1× its time
//   WebP  libwebp's WebPDecodeRGBA used bare                    at most 1.1× its time
//   GIF   giflib                                                at least as fast
//   BMP   memcpy of the file's pixel bytes into new memory      at least half its bandwidth
// The pictures are made here and written to the folder given, to look at. Each figure is the
// best of several runs, ours and the reference taking turns. Exit status 1 when a target is
// missed.
//
// Usage: decode_bench OUTPUT_FOLDER [RUNS]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <webp/decode.h>
#include <webp/encode.h>

#include "bench/decode/race.h"
#include "picture/decoders.h"

namespace {

using bench::Pair;
using bench::Race;

constexpr int width = 6000;
constexpr int height = 4000;
constexpr double megapixels = width * static_cast<double>(height) / 1e6;

using ByteVector = std::vector<std::uint8_t>;

// ------------------------------------------------------------------ the test picture

// Something like a photograph: smooth shading, a few hard edges and fine grain, so that the
// compressed sizes are those of real pictures rather than of flat or random ones.
ByteVector MakeRgb() {
    ByteVector rgb(static_cast<std::size_t>(width) * height * 3);
    std::uint32_t noise = 0x9E3779B9u;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = static_cast<int>(noise & 7) - 4;
            const double fx = x / static_cast<double>(width);
            const double fy = y / static_cast<double>(height);
            const bool inDisc = (x - 2000) * (x - 2000) + (y - 1800) * (y - 1800) < 900 * 900;
            const bool stripe = (x / 150 + y / 150) % 7 == 0;
            int r = static_cast<int>(120 + 90 * std::sin(fx * 9 + fy * 3));
            int g = static_cast<int>(110 + 80 * std::cos(fy * 7 - fx * 2));
            int b = static_cast<int>(100 + 70 * std::sin((fx + fy) * 5));
            if (inDisc) r = 230, g = 200 - (y - 900) / 20, b = 60;
            if (stripe) r /= 2, g /= 2, b /= 2;
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = static_cast<std::uint8_t>(std::clamp(r + grain, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(g + grain, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(b + grain, 0, 255));
        }
    }
    return rgb;
}

ByteVector EncodeJpeg(const ByteVector& rgb) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);  // 4:2:0, baseline, as cameras write them
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(&rgb[static_cast<std::size_t>(info.next_scanline) * width * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    ByteVector bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

ByteVector EncodePng(const ByteVector& rgb) {
    ByteVector rgba(static_cast<std::size_t>(width) * height * 4);
    for (std::size_t i = 0, n = static_cast<std::size_t>(width) * height; i < n; ++i) {
        std::memcpy(&rgba[i * 4], &rgb[i * 3], 3);
        rgba[i * 4 + 3] = static_cast<std::uint8_t>(255 - (i % width) * 128 / width);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr)) return {};
    ByteVector bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba.data(), 0, nullptr)) return {};
    bytes.resize(size);
    return bytes;
}

// Lossy at quality 90, as cameras and browsers save them.
ByteVector EncodeWebp(const ByteVector& rgb) {
    std::uint8_t* output = nullptr;
    const std::size_t size = WebPEncodeRGB(rgb.data(), width, height, width * 3, 90, &output);
    ByteVector bytes(output, output + size);
    WebPFree(output);
    return bytes;
}

int WriteToVector(GifFileType* file, const GifByteType* data, int length) {
    auto* bytes = static_cast<ByteVector*>(file->UserData);
    bytes->insert(bytes->end(), data, data + length);
    return length;
}

// 256 colours: 8 reds × 8 greens × 4 blues, with ordered dithering as quantisers leave it.
ByteVector EncodeGif(const ByteVector& rgb) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    ByteVector bytes;
    int error = 0;
    GifFileType* file = EGifOpen(&bytes, WriteToVector, &error);
    if (!file) return {};
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (int i = 0; i < 256; ++i) {
        map->Colors[i] = {static_cast<GifByteType>((i >> 5) * 255 / 7),
                          static_cast<GifByteType>(((i >> 2) & 7) * 255 / 7),
                          static_cast<GifByteType>((i & 3) * 255 / 3)};
    }
    EGifPutScreenDesc(file, width, height, 8, 0, map);
    EGifPutImageDesc(file, 0, 0, width, height, false, nullptr);
    std::vector<GifPixelType> line(width);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            const int d = bayer[y & 3][x & 3];
            const int r = std::min(7, (p[0] * 7 + d * 16) / 255);
            const int g = std::min(7, (p[1] * 7 + d * 16) / 255);
            const int b = std::min(3, (p[2] * 3 + d * 16) / 255);
            line[x] = static_cast<GifPixelType>(r << 5 | g << 2 | b);
        }
        EGifPutLine(file, line.data(), width);
    }
    EGifCloseFile(file, &error);
    GifFreeMapObject(map);
    return bytes;
}

constexpr std::size_t bmpHeaders = 14 + 40;

ByteVector EncodeBmp(const ByteVector& rgb) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    ByteVector bytes(bmpHeaders + stride * height, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, bmpHeaders);
    put32(14, 40);
    put32(18, width);
    put32(22, height);  // bottom-up, as nearly all bitmaps are
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = &bytes[bmpHeaders + stride * (height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            row[x * 3] = p[2];
            row[x * 3 + 1] = p[1];
            row[x * 3 + 2] = p[0];
        }
    }
    return bytes;
}

// ------------------------------------------------------------------ the references

// What djpeg does, without writing a file: default DCT and upsampling, rows straight into a
// padded top-down buffer in blue, green, red order.
std::size_t ReferenceJpeg(const ByteVector& bytes) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const std::size_t stride = (static_cast<std::size_t>(info.output_width) * 3 + 3) & ~std::size_t{3};
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[stride * info.output_height]);
    JSAMPROW rows[16];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION count = std::min<JDIMENSION>(16, info.output_height - info.output_scanline);
        for (JDIMENSION i = 0; i < count; ++i) rows[i] = pixels.get() + (info.output_scanline + i) * stride;
        jpeg_read_scanlines(&info, rows, count);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pixels[stride * info.output_height / 2];
}

std::size_t ReferencePng(const ByteVector& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return 0;
    image.format = PNG_FORMAT_BGRA;
    const std::size_t size = PNG_IMAGE_SIZE(image);
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[size]);
    if (!png_image_finish_read(&image, nullptr, pixels.get(), 0, nullptr)) return 0;
    return pixels[size / 2];
}

std::size_t ReferenceWebp(const ByteVector& bytes) {
    int decodedWidth = 0, decodedHeight = 0;
    std::uint8_t* pixels = WebPDecodeRGBA(bytes.data(), bytes.size(), &decodedWidth, &decodedHeight);
    if (!pixels) return 0;
    const std::size_t sample = pixels[static_cast<std::size_t>(decodedWidth) * decodedHeight * 2];
    WebPFree(pixels);
    return sample;
}

struct MemoryReader {
    const ByteVector* bytes;
    std::size_t at;
};

int ReadFromMemory(GifFileType* file, GifByteType* out, int length) {
    auto* reader = static_cast<MemoryReader*>(file->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(length), reader->bytes->size() - reader->at);
    std::memcpy(out, reader->bytes->data() + reader->at, n);
    reader->at += n;
    return static_cast<int>(n);
}

// giflib's line interface on the first image, into a buffer of the screen's size.
std::size_t ReferenceGif(const ByteVector& bytes) {
    MemoryReader reader{&bytes, 0};
    int error = 0;
    GifFileType* file = DGifOpen(&reader, ReadFromMemory, &error);
    if (!file) return 0;
    const std::size_t screenWidth = static_cast<std::size_t>(file->SWidth);
    std::unique_ptr<GifPixelType[]> pixels(new GifPixelType[screenWidth * file->SHeight]);
    GifRecordType record;
    std::size_t sample = 0;
    while (DGifGetRecordType(file, &record) == GIF_OK && record != TERMINATE_RECORD_TYPE) {
        if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(file) != GIF_OK) break;
            const GifImageDesc& d = file->Image;
            for (int y = 0; y < d.Height; ++y) {
                DGifGetLine(file, pixels.get() + (d.Top + y) * screenWidth + d.Left, d.Width);
            }
            sample = pixels[screenWidth * file->SHeight / 2];
            break;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* extension = nullptr;
            DGifGetExtension(file, &code, &extension);
            while (extension) DGifGetExtensionNext(file, &extension);
        }
    }
    DGifCloseFile(file, &error);
    return sample;
}

// memcpy of the bitmap's pixel bytes into newly allocated memory, as a decoder must fill it.
std::size_t ReferenceCopy(const ByteVector& bytes) {
    const std::size_t size = bytes.size() - bmpHeaders;
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[size]);
    std::memcpy(pixels.get(), bytes.data() + bmpHeaders, size);
    return pixels[size / 2];
}

std::size_t Checked(const std::optional<picture::Image>& image) {
    if (!image || image->width != width || image->height != height) {
        std::fprintf(stderr, "decode_bench: our decoder failed on the test picture\n");
        std::exit(2);
    }
    return image->pixels[image->pixels.size() / 2];
}

void Save(const std::string& folder, const char* name, const ByteVector& bytes) {
    std::ofstream(folder + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: decode_bench OUTPUT_FOLDER [RUNS]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    std::printf("decode: making the %d x %d test pictures in %s\n", width, height, folder.c_str());
    std::fflush(stdout);
    const ByteVector rgb = MakeRgb();
    const ByteVector jpeg = EncodeJpeg(rgb);
    const ByteVector png = EncodePng(rgb);
    const ByteVector gif = EncodeGif(rgb);
    const ByteVector bmp = EncodeBmp(rgb);
    const ByteVector webp = EncodeWebp(rgb);
    if (jpeg.empty() || png.empty() || gif.empty() || webp.empty()) {
        std::fprintf(stderr, "decode_bench: encoding a test picture failed\n");
        return 2;
    }
    Save(folder, "bench.jpg", jpeg);
    Save(folder, "bench.png", png);
    Save(folder, "bench.gif", gif);
    Save(folder, "bench.bmp", bmp);
    Save(folder, "bench.webp", webp);

    bool allMet = true;
    std::printf("%-5s %9s %12s %12s %14s  %s\n", "", "file MB", "ours MP/s", "ref MP/s", "ratio", "target");
    const auto report = [&](const char* name, const ByteVector& file, const char* reference, Pair times,
                            double ratio, const char* ratioName, bool met, const char* target) {
        std::printf("%-5s %9.1f %12.1f %12.1f %8.2f %-5s  %s %s (%s)\n", name, file.size() / 1e6,
                    megapixels / times.ours, megapixels / times.reference, ratio, ratioName, target,
                    met ? "met" : "MISSED", reference);
        std::fflush(stdout);
        allMet = allMet && met;
    };

    Pair t = Race([&] { return Checked(picture::DecodeJpeg(jpeg)); }, [&] { return ReferenceJpeg(jpeg); }, runs);
    report("JPEG", jpeg, "libjpeg-turbo bare", t, t.ours / t.reference, "time", t.ours / t.reference <= 1.1,
           "<= 1.10");

    t = Race([&] { return Checked(picture::DecodePng(png)); }, [&] { return ReferencePng(png); }, runs);
    report("PNG", png, "libpng simplified bare", t, t.ours / t.reference, "time", t.ours / t.reference <= 1.1,
           "<= 1.10");

    t = Race([&] { return Checked(picture::DecodeWebp(webp)); }, [&] { return ReferenceWebp(webp); }, runs);
    report("WebP", webp, "libwebp WebPDecodeRGBA bare", t, t.ours / t.reference, "time",
           t.ours / t.reference <= 1.1, "<= 1.10");

    t = Race([&] { return Checked(picture::DecodeGif(gif)); }, [&] { return ReferenceGif(gif); }, runs);
    report("GIF", gif, "giflib", t, t.reference / t.ours, "speed", t.reference / t.ours >= 1.0, ">= 1.00");

    t = Race([&] { return Checked(picture::DecodeBmp(bmp)); }, [&] { return ReferenceCopy(bmp); }, runs * 4);
    report("BMP", bmp, "memcpy of its pixel bytes", t, t.reference / t.ours, "bw", t.reference / t.ours >= 0.5,
           ">= 0.50");
    // For scale: the same copy into memory already in use, which no decoder can have.
    ByteVector warm(bmp.size() - bmpHeaders);
    const Pair copies = Race([&] { std::memcpy(warm.data(), bmp.data() + bmpHeaders, warm.size()); return warm[1]; },
                             [&] { return ReferenceCopy(bmp); }, runs * 4);
    const double copied = warm.size() / 1e9;
    std::printf("      BMP pixel bytes: ours %.2f GB/s, memcpy into new memory %.2f GB/s, into memory in use %.2f GB/s\n",
                copied / t.ours, copied / t.reference, copied / copies.ours);
    return allMet ? 0 : 1;
}
