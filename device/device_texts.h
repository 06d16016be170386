// The texts the printer's dialogs show and those that tell how a print went.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace device {

inline constexpr wchar_t untitledDocument[] = L"未命名打印作业";

inline constexpr wchar_t outputFileName[] = L"Output.prn";
inline constexpr wchar_t outputExtension[] = L"prn";
inline constexpr wchar_t outputTitle[] = L"打印到文件";
inline constexpr wchar_t outputFilter[] = L"打印输出文件 (*.prn)\0*.prn\0所有文件 (*.*)\0*.*\0";

inline constexpr wchar_t progressTitle[] = L"正在进行打印，请稍候 ......";
inline constexpr wchar_t abortCaption[] = L"中止打印";
inline constexpr std::array<const wchar_t*, 4> progressLabels = {
    L"打印作业名：", L"打印目的：", L"已打印份数：", L"当前页号：",
};
inline constexpr wchar_t destinationJoint[] = L" 上的 ";

inline constexpr std::string_view printCancelledMessage = "取消打印";
inline constexpr std::string_view printFailedMessage = "打印失败";
inline constexpr std::string_view printBusyMessage = "正在打印，请等这份打印完再打印";

// "打印失败", with the reason after a colon when there is one.
std::string FailureMessage(std::string_view reason);
// The pages a stopped job printed, out of those it was to print.
std::string AbortedMessage(std::size_t printed, std::size_t count);
// The printer name, then the copies asked for and the copy printing, each after a gap of the
// given spaces: how every result message starts.
std::string PrinterAndCopies(std::string_view printerName, int copies, int copiesPrinted,
                             std::string_view gap);

}  // namespace device
