// The texts the text print job shows, UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "device/device_texts.h"
#include "device/print_result.h"

namespace text {

inline constexpr std::string_view nothingToPrintWarning = "请选择打印文本或图片(不能为空）";
inline constexpr std::string_view printCancelledMessage = device::printCancelledMessage;

inline constexpr std::string_view charsPerLinePrompt = "请输入打印每行的字数";
inline constexpr std::string_view charsPerLineCaption = "每行字数";
inline constexpr std::string_view charsPerLineInitialText = "80";
inline constexpr std::string_view lineTooWideMessage = "打印每行的字数大于纸张，应小于99个字";
inline constexpr std::string_view lineTooNarrowMessage = "打印每行的字数应为1到98个字";

// The bytes per line a text can be printed with.
inline constexpr int fewestCharsPerLine = 1;
inline constexpr int mostCharsPerLine = 98;
inline constexpr std::string_view separateTextQuestion = "是否打印单独编辑的内容？";

enum class SpaceMode { Delete, Keep };

// How a text job went.
struct PrintOutcome {
    std::string printerName;
    int copies = 0;
    int copiesPrinted = 0;
    int fontSize = 0;  // points
    device::PrintEnd end = device::PrintEnd::printed;
    std::string failureReason;
    std::size_t pagesPrinted = 0;
    std::size_t pageCount = 0;
};

// "取消打印" when the user cancelled, "打印失败" and the reason when the job could not start or
// the printer gave up on it, the pages printed when the user stopped it; otherwise the printer
// name, the copies and the font size.
// The closing parenthesis tells the two space modes apart: full-width when spaces were deleted,
// half-width when they were kept.
std::string ResultMessage(const PrintOutcome& outcome, SpaceMode mode);

// The timed message for a number of bytes per line the text cannot be printed with (1 to 98
// can), or empty.
std::string_view CharsPerLineProblem(int charsPerLine);

}  // namespace text
