// Pictures the benches make for themselves: a JPEG of BGR rows, written by libjpeg.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace bench {

// width × height pixels at the given quality, each row's BGR bytes written by row(y, bytes).
template <typename Row>
std::vector<std::uint8_t> EncodeJpeg(int width, int height, int quality, const Row& row) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);  // exits the bench on an error
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        row(static_cast<int>(info.next_scanline), bytes.data());
        JSAMPROW rows[] = {bytes.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

}  // namespace bench
