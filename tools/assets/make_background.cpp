#include "background_art.h"
#include "jpeg_encoder.h"
#include "output_file.h"

#include <cstdlib>
#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    constexpr int expectedArgumentCount = 2;
    constexpr int jpegQuality = 85;
    if (argc != expectedArgumentCount) {
        std::cerr << "usage: make_background OUTPUT.jpg\n";
        return EXIT_FAILURE;
    }
    try {
        using namespace mozhou::assets;
        WriteOutputFile(argv[1], EncodeProgressiveJpeg(DrawBackground(), jpegQuality));
    } catch (const std::exception& error) {
        std::cerr << "make_background: " << error.what() << '\n';
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
