// Decoding speed of the decoders for pictures from phones and scanners, each beside the bare
// library's own decode of the same bytes in the same run:
//   HEIC  12 MP (4000 × 3000), libheif's heif_decode_image to interleaved RGB   at most 1.1× its time
//   AVIF  12 MP, the same through libheif (dav1d), which the program reads it with  at most 1.1× its time
//   TIFF  an A4 page faxed at 300 dpi (2480 × 3508, CCITT G4), libtiff's
//         TIFFReadEncodedStrip of its bits                                     at most 1.1× its time
// The pictures are made here (libheif with x265, libavif with aom, libtiff) and written to the
// folder given. Exit status 1 when a target is missed.
//
// Usage: phone_scan_bench OUTPUT_FOLDER [RUNS]
#include <tiffio.h>

#include <avif/avif.h>
#include <libheif/heif.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/decode/race.h"
#include "picture/decoders.h"

namespace {

using ByteVector = std::vector<std::uint8_t>;

constexpr int photoWidth = 4000;
constexpr int photoHeight = 3000;
constexpr int faxWidth = 2480;  // A4 at 300 dpi
constexpr int faxHeight = 3508;

// Shading, edges and grain, as in a photograph, as 8-bit RGB.
void PaintPhoto(std::uint8_t* rgb, std::size_t stride, int channels) {
    std::uint32_t noise = 0x9E3779B9u;
    for (int y = 0; y < photoHeight; ++y) {
        std::uint8_t* row = rgb + stride * y;
        for (int x = 0; x < photoWidth; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            // Sensor grain strong enough that the files are of a phone photo's size (megabytes).
            const int grain = static_cast<int>(noise & 31) - 16;
            const double fx = x / double{photoWidth}, fy = y / double{photoHeight};
            const bool stripe = (x / 120 + y / 120) % 7 == 0;
            int r = static_cast<int>(120 + 90 * std::sin(fx * 9 + fy * 3));
            int g = static_cast<int>(110 + 80 * std::cos(fy * 7 - fx * 2));
            int b = static_cast<int>(100 + 70 * std::sin((fx + fy) * 5));
            if (stripe) r /= 2, g /= 2, b /= 2;
            std::uint8_t* p = row + x * channels;
            p[0] = static_cast<std::uint8_t>(std::clamp(r + grain, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(g + grain, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(b + grain, 0, 255));
        }
    }
}

heif_error WriteToVector(heif_context*, const void* data, size_t size, void* userdata) {
    auto* bytes = static_cast<ByteVector*>(userdata);
    bytes->insert(bytes->end(), static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size);
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
}

// Quality 80, 4:2:0, as phones save them.
ByteVector EncodeHeic() {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* image = nullptr;
    ByteVector bytes;
    if (heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code == heif_error_Ok &&
        heif_image_create(photoWidth, photoHeight, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image).code ==
            heif_error_Ok &&
        heif_image_add_plane(image, heif_channel_interleaved, photoWidth, photoHeight, 8).code == heif_error_Ok) {
        int stride = 0;
        std::uint8_t* rows = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        PaintPhoto(rows, stride, 3);
        heif_encoder_set_lossy_quality(encoder, 80);
        heif_writer writer{1, WriteToVector};
        if (heif_context_encode_image(context, image, encoder, nullptr, nullptr).code != heif_error_Ok ||
            heif_context_write(context, &writer, &bytes).code != heif_error_Ok) {
            bytes.clear();
        }
    }
    if (image) heif_image_release(image);
    if (encoder) heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

ByteVector EncodeAvif() {
    avifImage* image = avifImageCreate(photoWidth, photoHeight, 8, AVIF_PIXEL_FORMAT_YUV420);
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, image);
    rgb.format = AVIF_RGB_FORMAT_RGB;
    avifRGBImageAllocatePixels(&rgb);
    PaintPhoto(rgb.pixels, rgb.rowBytes, 3);
    ByteVector bytes;
    avifEncoder* encoder = avifEncoderCreate();
    encoder->speed = 9;
    encoder->minQuantizer = 20;
    encoder->maxQuantizer = 30;
    avifRWData output = AVIF_DATA_EMPTY;
    if (avifImageRGBToYUV(image, &rgb) == AVIF_RESULT_OK &&
        avifEncoderWrite(encoder, image, &output) == AVIF_RESULT_OK) {
        bytes.assign(output.data, output.data + output.size);
    }
    avifRWDataFree(&output);
    avifEncoderDestroy(encoder);
    avifRGBImageFreePixels(&rgb);
    avifImageDestroy(image);
    return bytes;
}

// Lines of "text": short runs of black in rows of strokes, white margins and gaps between lines,
// as a typed letter sent by fax.
ByteVector EncodeFax(const std::string& path) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (!tiff) return {};
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, faxWidth);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, faxHeight);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, faxHeight);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 300.0f);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 300.0f);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    std::vector<std::uint8_t> row(faxWidth / 8);
    std::uint32_t noise = 12345;
    for (int y = 0; y < faxHeight; ++y) {
        std::fill(row.begin(), row.end(), std::uint8_t{0});
        const int line = y % 50;  // 40 rows of letters, 10 of gap
        if (y > 200 && y < faxHeight - 200 && line < 40) {
            for (int x = 150; x < faxWidth - 150; x += 1) {
                noise = noise * 1103515245u + 12345u;
                const bool letter = (x / 30 + y / 50) % 9 != 0;  // gaps between words
                if (letter && ((noise >> 16) % 5 == 0 || (x % 30) < 3)) row[x / 8] |= 0x80 >> (x % 8);
            }
        }
        if (TIFFWriteScanline(tiff, row.data(), y, 0) < 0) break;
    }
    TIFFClose(tiff);
    std::ifstream in(path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(in), {});
}

// libheif's own decode of a HEIC or AVIF file to interleaved RGB.
std::size_t ReferenceHeic(const ByteVector& bytes) {
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    std::size_t sample = 0;
    if (heif_context_read_from_memory_without_copy(context, bytes.data(), bytes.size(), nullptr).code ==
            heif_error_Ok &&
        heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok &&
        heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr).code ==
            heif_error_Ok) {
        int stride = 0;
        sample = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride)[stride * 1500];
    }
    if (image) heif_image_release(image);
    if (handle) heif_image_handle_release(handle);
    heif_context_free(context);
    return sample;
}

// The file's bits into memory of their size, a strip at a time.
std::size_t ReferenceFax(const std::string& path) {
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (!tiff) return 0;
    const tmsize_t stripSize = TIFFStripSize(tiff);
    const std::uint32_t strips = TIFFNumberOfStrips(tiff);
    std::unique_ptr<std::uint8_t[]> bits(new std::uint8_t[stripSize * strips]);
    for (std::uint32_t strip = 0; strip < strips; ++strip) {
        TIFFReadEncodedStrip(tiff, strip, bits.get() + stripSize * strip, stripSize);
    }
    TIFFClose(tiff);
    return bits[stripSize * strips / 2];
}

std::size_t Checked(const std::optional<picture::Image>& image, int width, int height) {
    if (!image || image->width != width || image->height != height) {
        std::fprintf(stderr, "phone_scan_bench: our decoder failed on the test picture\n");
        std::exit(2);
    }
    return image->pixels[image->pixels.size() / 2];
}

void Save(const std::string& path, const ByteVector& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: phone_scan_bench OUTPUT_FOLDER [RUNS]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::printf("phone and scan: making a %d x %d HEIC and AVIF and a %d x %d fax page in %s\n", photoWidth,
                photoHeight, faxWidth, faxHeight, folder.c_str());
    std::fflush(stdout);
    // The file is read by libtiff from its path for the reference, as the program reads its bytes.
    const std::string faxPath = folder + "/fax.tif";
    const ByteVector heic = EncodeHeic(), avif = EncodeAvif(), fax = EncodeFax(faxPath);
    if (heic.empty() || avif.empty() || fax.empty()) {
        std::fprintf(stderr, "phone_scan_bench: encoding a test picture failed\n");
        return 2;
    }
    Save(folder + "/photo.heic", heic);
    Save(folder + "/photo.avif", avif);

    bool allMet = true;
    std::printf("%-5s %9s %12s %12s %8s  %s\n", "", "file MB", "ours MP/s", "ref MP/s", "ratio", "target");
    const auto report = [&](const char* name, const ByteVector& file, double megapixels, const char* reference,
                            bench::Pair t) {
        const double ratio = t.ours / t.reference;
        const bool met = ratio <= 1.1;
        std::printf("%-5s %9.2f %12.1f %12.1f %8.2f  <= 1.10 %s (%s)\n", name, file.size() / 1e6,
                    megapixels / t.ours, megapixels / t.reference, ratio, met ? "met" : "MISSED", reference);
        std::fflush(stdout);
        allMet = allMet && met;
    };
    const double photo = photoWidth * double{photoHeight} / 1e6, page = faxWidth * double{faxHeight} / 1e6;
    report("HEIC", heic, photo, "libheif heif_decode_image bare",
           bench::Race([&] { return Checked(picture::DecodeHeif(heic), photoWidth, photoHeight); },
                       [&] { return ReferenceHeic(heic); }, runs));
    report("AVIF", avif, photo, "libheif heif_decode_image bare",
           bench::Race([&] { return Checked(picture::DecodeAvif(avif), photoWidth, photoHeight); },
                       [&] { return ReferenceHeic(avif); }, runs));
    report("fax", fax, page, "libtiff TIFFReadEncodedStrip bare",
           bench::Race([&] { return Checked(picture::DecodeTiff(fax), faxWidth, faxHeight); },
                       [&] { return ReferenceFax(faxPath); }, runs * 4));
    return allMet ? 0 : 1;
}
