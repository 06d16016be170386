#include "jpeg_encoder.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace mozhou::assets {

std::vector<std::uint8_t> EncodeProgressiveJpeg(const RgbImage& image, int quality)
{
    jpeg_compress_struct compressor{};
    jpeg_error_mgr errors{};
    compressor.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compressor);

    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compressor, &buffer, &size);

    compressor.image_width = static_cast<JDIMENSION>(image.width);
    compressor.image_height = static_cast<JDIMENSION>(image.height);
    compressor.input_components = rgbChannelCount;
    compressor.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, quality, TRUE);
    compressor.dct_method = JDCT_ISLOW;
    compressor.optimize_coding = TRUE;
    // Full-resolution colour keeps the small red seal and the thin accent
    // lines from bleeding into their surroundings.
    for (int component = 0; component < compressor.num_components; ++component) {
        compressor.comp_info[component].h_samp_factor = 1;
        compressor.comp_info[component].v_samp_factor = 1;
    }
    jpeg_simple_progression(&compressor);

    jpeg_start_compress(&compressor, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * rgbChannelCount;
    while (compressor.next_scanline < compressor.image_height) {
        // libjpeg's row pointer is non-const although it only reads the row.
        auto* row = const_cast<JSAMPLE*>(image.samples.data() + compressor.next_scanline * rowBytes);
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);

    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

} // namespace mozhou::assets
