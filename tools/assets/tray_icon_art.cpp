#include "tray_icon_art.h"

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string_view>

namespace mozhou::assets {

namespace {

// One character per pixel; '.' is transparent.
constexpr std::array<std::string_view, iconSide> printerArt = {
    "................................",
    "................................",
    "................................",
    "........KKKKKKKKKKKKKKKK........",
    "........KWWWWWWWWWWWWWWK........",
    "........KWGGGGGGGGGGGWWK........",
    "........KWWWWWWWWWWWWWWK........",
    "........KWGGGGGGGGGGGGWK........",
    "........KWWWWWWWWWWWWWWK........",
    "........KWGGGGGGGGWWWRWK........",
    "........KWWWWWWWWWWWWWWK........",
    "...KKKKKKWWWWWWWWWWWWWWKKKKKK...",
    "..KWWWWWKKKKKKKKKKKKKKKKWWWWWK..",
    "..KWSSSSSSSSSSSSSSSSSSSSSSSSGK..",
    "..KWSSSSSSSSSSSSSSSSSSSSllSSGK..",
    "..KWSSSSSSSSSSSSSSSSSSSSllSSGK..",
    "..KWSSSSSSSSSSSSSSSSSSSSSSSSGK..",
    "..KWSSSSSSSSSSSSSSSSSSSSSSSSGK..",
    "..KWSSKKKKKKKKKKKKKKKKKKKKSSGK..",
    "..KWSSKWWWWWWWWWWWWWWWWWWKSSGK..",
    "..KWSSKWWWWWWWWWWWWWWWWWWKSSGK..",
    "..KWSSKWGGGGGGGGGGGGGGGWWKSSGK..",
    "..KGGGKWWWWWWWWWWWWWWWWWWKGGGK..",
    "..KGGGKWGGGGGGGGGGGGWWWWWKGGGK..",
    "...KKKKWWWWWWWWWWWWWWWWWWKKKK...",
    "......KWGGGGGGGGGGGGGGGGWK......",
    "......KWWWWWWWWWWWWWWWWWWK......",
    "......KWGGGGGGGGGGWWWWWWWK......",
    "......KWWWWWWWWWWWWWWWWWWK......",
    "......KKKKKKKKKKKKKKKKKKKK......",
    "................................",
    "................................",
};

IconPixel PixelFor(char symbol)
{
    switch (symbol) {
    case '.': return {StandardColour::black, false};
    case 'K': return {StandardColour::black, true};
    case 'W': return {StandardColour::white, true};
    case 'S': return {StandardColour::silver, true};
    case 'G': return {StandardColour::grey, true};
    case 'l': return {StandardColour::lime, true};
    case 'R': return {StandardColour::red, true};
    default: throw std::invalid_argument("unknown symbol in tray icon art");
    }
}

} // namespace

IconPixels DrawTrayIcon()
{
    IconPixels pixels{};
    for (std::size_t y = 0; y < printerArt.size(); ++y) {
        const std::string_view row = printerArt[y];
        if (row.size() != static_cast<std::size_t>(iconSide)) {
            throw std::logic_error("tray icon art row has the wrong width");
        }
        for (std::size_t x = 0; x < row.size(); ++x) {
            pixels[y * iconSide + x] = PixelFor(row[x]);
        }
    }
    return pixels;
}

} // namespace mozhou::assets
