// The texts the printer's dialogs and jobs show.
#pragma once

#include <array>

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

}  // namespace device
