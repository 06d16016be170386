#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "picture/decoders.h"
#include "picture_samples.h"

namespace {

using namespace picture;

constexpr int width = 40, height = 30;
int Red(int x, int) { return x * 6; }
int Green(int, int y) { return y * 8; }

// A TIFF file written by libtiff, one page per call of page (which sets the tags and writes).
std::vector<std::uint8_t> Written(int pages, const std::function<void(TIFF*, int)>& page) {
    const auto path = std::filesystem::temp_directory_path() / "mozhou-tiff-test.tif";
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    for (int each = 0; each < pages; ++each) {
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        page(tiff, each);
        TIFFWriteDirectory(tiff);
    }
    TIFFClose(tiff);
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(path);
    return bytes;
}

// The reference picture as 8-bit RGB strips of 7 rows, compressed as asked.
void RgbPage(TIFF* tiff, int compression) {
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 7);
    for (int y = 0; y < height; ++y) {
        std::uint8_t row[3 * width];
        for (int x = 0; x < width; ++x) row[3 * x] = Red(x, y), row[3 * x + 1] = Green(x, y), row[3 * x + 2] = 9;
        TIFFWriteScanline(tiff, row, y, 0);
    }
}

void ExpectReference(const Image& image) {
    ASSERT_EQ(image.format, PixelFormat::Bgr24);
    ASSERT_TRUE(image.width == width && image.height == height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = image.Row(y) + 3 * x;
            ASSERT_TRUE(p[0] == 9 && p[1] == Green(x, y) && p[2] == Red(x, y)) << x << "," << y;
        }
    }
}

TEST(DecodeTiff, GivesEveryPageInOrderWhateverItsCompression) {
    const int compressions[] = {COMPRESSION_LZW, COMPRESSION_ADOBE_DEFLATE, COMPRESSION_PACKBITS};
    const auto file = Written(3, [&](TIFF* tiff, int page) {
        RgbPage(tiff, compressions[page]);
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 100.0f + page);
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 100.0f);
    });
    samples::WriteSeed("fuzz-seeds", "three-pages.tif", file);
    const std::vector<Image> pages = DecodeTiffPages(file);
    const std::vector<PictureInfo> infos = ReadTiffPages(file);
    ASSERT_TRUE(pages.size() == 3 && infos.size() == 3);
    for (int page = 0; page < 3; ++page) {
        ExpectReference(pages[page]);
        EXPECT_EQ(pages[page].dpiX, 100 + page);
        EXPECT_TRUE(infos[page].page == page && infos[page].dpiX == 100 + page && infos[page].kind == Kind::Tiff);
    }
    ExpectReference(DecodePicture(file, Kind::Tiff, 2).value());
    EXPECT_FALSE(DecodePicture(file, Kind::Tiff, 3));
    EXPECT_EQ(ReadPictureInfo(file)->width, width);
}

TEST(DecodeTiff, KeepsAFaxPageBilevelWithItsResolution) {
    const auto file = Written(1, [](TIFF* tiff, int) {
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
        TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 80.0f);
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 40.0f);
        for (int y = 0; y < height; ++y) {
            std::uint8_t row[width / 8] = {};
            row[y % 5] = 0xF0;  // 1 is black here
            TIFFWriteScanline(tiff, row, y, 0);
        }
    });
    samples::WriteSeed("fuzz-seeds", "fax.tif", file);
    const Image page = DecodeTiff(file).value();
    ASSERT_EQ(page.format, PixelFormat::Mono1);
    EXPECT_TRUE(page.palette[0] == 0 && page.palette[1] == 0xFFFFFF);
    EXPECT_TRUE(page.dpiX == 80 * 2.54 && page.dpiY == 40 * 2.54);
    for (int y = 0; y < height; ++y) {
        for (int byte = 0; byte < width / 8; ++byte) EXPECT_EQ(page.Row(y)[byte], byte == y % 5 ? 0x0F : 0xFF);
    }
}

TEST(DecodeTiff, ReadsTiles16BitSamplesAndTurnsByTheOrientation) {
    const auto file = Written(1, [](TIFF* tiff, int) {
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 16);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_RIGHTTOP);  // turned a quarter clockwise
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, 16);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, 16);
        std::vector<std::uint16_t> tile(16 * 16 * 3);
        for (int top = 0; top < height; top += 16) {
            for (int left = 0; left < width; left += 16) {
                for (int i = 0; i < 16 * 16; ++i) {
                    const int x = left + i % 16, y = top + i / 16;
                    tile[3 * i] = Red(x, y) * 257, tile[3 * i + 1] = Green(x, y) * 257, tile[3 * i + 2] = 9 * 257;
                }
                TIFFWriteTile(tiff, tile.data(), left, top, 0, 0);
            }
        }
    });
    samples::WriteSeed("fuzz-seeds", "tiles16.tif", file);
    const Image upright = DecodeTiff(file).value();
    ASSERT_TRUE(upright.width == height && upright.height == width);
    EXPECT_EQ(ReadTiffInfo(file)->width, height);
    // The stored top row is the upright right column.
    for (int x = 0; x < width; ++x) EXPECT_EQ(upright.Row(x)[3 * (height - 1) + 2], Red(x, 0));
}

TEST(DecodeTiff, RefusesDamagedFilesAndStopsAtADirectoryLoop) {
    auto file = Written(1, [](TIFF* tiff, int) { RgbPage(tiff, COMPRESSION_LZW); });
    auto damaged = file;
    damaged[4] = damaged[5] = damaged[6] = damaged[7] = 0xEE;  // the first directory far away
    EXPECT_TRUE(!DecodeTiff(damaged) && ReadTiffPages(damaged).empty());
    EXPECT_FALSE(ReadPictureInfo(std::vector<std::uint8_t>(file.begin(), file.begin() + 12)));
    // The last directory's link to the next one pointed back at the first.
    const std::uint32_t first = Le32(file, 4);
    const std::size_t link = first + 2 + 12 * Le16(file, first);
    for (int i = 0; i < 4; ++i) file[link + i] = file[4 + i];
    EXPECT_EQ(ReadTiffPages(file).size(), 1u);
    EXPECT_EQ(DecodeTiffPages(file).size(), 1u);
}

}  // namespace
