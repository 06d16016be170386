// The texts of the text side: loading a text file and the separate-edit window, UTF-8 unless
// Windows takes them as they are. The print job's own texts are in print_messages.h.
#pragma once

#include <string_view>

namespace text {

// Timed boxes: the file was not read at all.
inline constexpr std::string_view fileTooLargeMessage = "文件过大";
inline constexpr std::string_view fileUnreadableMessage = "文件无法读取";
// Status bar: the text was read, but not all of it, or not surely right; both joined by the
// separator.
inline constexpr std::string_view textCutMessage = "文件中有结束符，其后的内容未载入";
inline constexpr std::string_view textUnrecognisedMessage = "文件编码无法识别，部分文字可能有误";
inline constexpr std::string_view statusSeparator = "；";

// The separate edit's backup file, and its previous content, kept when the text is saved
// without asking.
inline constexpr std::string_view backupFileName = "打印备份.txt";
inline constexpr std::string_view previousBackupFileName = "打印备份.bak";
inline constexpr std::string_view saveAsReplaceCaption = "确认另存为";
inline constexpr std::string_view savePrompt = "是否保存？";
// After the name of the file that would be replaced.
inline constexpr std::wstring_view replaceQuestion = L" 已存在。\r\n要替换它吗？";
// Before the reason a write failed, or before the error's number when there is no reason.
inline constexpr std::wstring_view saveFailedLabel = L"保存失败：";
inline constexpr std::wstring_view errorCodeLabel = L"错误代码 ";

// The separate edit's title: the edit box's width and height in pixels, each before its unit,
// then what one sheet holds.
inline constexpr std::string_view titleWidthLabel = "宽：";
inline constexpr std::string_view titleHeightLabel = "像素   高：";
inline constexpr std::string_view titleSheetText =
    "像素  (默认打印纸张宽度：160mm   高度：240mm   默认字体大小：14    每张容纳字行数：18行）";

}  // namespace text
