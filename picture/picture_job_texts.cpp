#include "picture/picture_job_texts.h"

#include <cstdio>

#include "device/device_texts.h"

namespace picture {
namespace {

constexpr std::string_view wideGap = "   ";
constexpr std::string_view gap = "  ";
constexpr std::string_view widthLabel = "( 图片宽度：";
constexpr std::string_view heightLabel = "图片高度：";
constexpr std::string_view centimetres = "cm";
constexpr std::string_view sizeClosing = "cm )";
constexpr std::string_view defaultSizeNote = "( 默认图片宽度高度 )";
constexpr std::string_view noFigure = "0";

constexpr double centimetresPerInch = 2.54;
// "%.13g" of a double: sign, 13 digits, point, exponent and the terminator fit easily.
constexpr std::size_t figureBufferSize = 32;

// Pixels at dpi as centimetres, worked out in double in this order so that the last digits
// come out as they always have.
std::string Centimetres(int pixels, int dpi) {
    if (dpi <= 0) return std::string(noFigure);
    const double inches = static_cast<double>(pixels) / static_cast<double>(dpi);
    char figure[figureBufferSize];
    std::snprintf(figure, sizeof figure, "%.13g", inches * centimetresPerInch);
    return figure;
}

// The picture job's status sets the printer and its copies apart by three spaces.
std::string PrinterAndCopies(std::string_view printerName, int copies, int copiesPrinted) {
    return device::PrinterAndCopies(printerName, copies, copiesPrinted, wideGap) + std::string(gap);
}

}  // namespace

std::string PictureSizeMessage(std::string_view printerName, int copies, int copiesPrinted,
                               int widthPx, int heightPx, int dpi) {
    std::string message = PrinterAndCopies(printerName, copies, copiesPrinted);
    message += widthLabel;
    message += Centimetres(widthPx, dpi);
    message += centimetres;
    message += gap;
    message += heightLabel;
    message += Centimetres(heightPx, dpi);
    message += sizeClosing;
    return message;
}

std::string DefaultPictureSizeMessage(std::string_view printerName, int copies,
                                      int copiesPrinted) {
    return PrinterAndCopies(printerName, copies, copiesPrinted) + std::string(defaultSizeNote);
}

}  // namespace picture
