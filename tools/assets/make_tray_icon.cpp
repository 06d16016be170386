#include "icon_encoder.h"
#include "output_file.h"
#include "tray_icon_art.h"

#include <cstdlib>
#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    constexpr int expectedArgumentCount = 2;
    if (argc != expectedArgumentCount) {
        std::cerr << "usage: make_tray_icon OUTPUT.ico\n";
        return EXIT_FAILURE;
    }
    try {
        using namespace mozhou::assets;
        WriteOutputFile(argv[1], EncodeIcon(DrawTrayIcon()));
    } catch (const std::exception& error) {
        std::cerr << "make_tray_icon: " << error.what() << '\n';
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
