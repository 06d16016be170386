// The texts the picture print job shows, UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace picture {

inline constexpr std::string_view resolutionPrompt = "请输入分辨率";
inline constexpr std::string_view resolutionCaption = "( Dpi)";
inline constexpr std::string_view resolutionInitialText = "300";
inline constexpr std::string_view resolutionTooLowMessage = "分辨率应大于0";

inline constexpr std::string_view adjustSizeQuestion = "是否调整打印图片宽度、高度";
inline constexpr std::string_view widthPrompt = "请输入图片宽度";
inline constexpr std::string_view widthCaption = "宽度( 像素)";
inline constexpr std::string_view heightPrompt = "请输入图片高度";
inline constexpr std::string_view heightCaption = "高度( 像素)";
inline constexpr std::string_view widthEmptyMessage = "宽度不能为空";
inline constexpr std::string_view heightEmptyMessage = "高度不能为空";
inline constexpr std::string_view undecodableMessage = "图片无法识别";

// The print preview's layout row.
inline constexpr std::string_view shrunkToFitNotice = "图片大于可打印区域，已按比例缩小";
inline constexpr std::string_view photoCountPrompt = "每张图片打印几张？（0：铺满一页）";
inline constexpr std::string_view photoCountCaption = "张数";
inline constexpr int maxPhotoCount = 999;

// The printer name, the copies and the printed size in centimetres at the given resolution,
// each figure as printf's "%.13g" writes it ("0" for a resolution of 0 or below).
std::string PictureSizeMessage(std::string_view printerName, int copies, int copiesPrinted,
                               int widthPx, int heightPx, int dpi);

// The same when the picture is printed at its own size.
std::string DefaultPictureSizeMessage(std::string_view printerName, int copies,
                                      int copiesPrinted);

}  // namespace picture
