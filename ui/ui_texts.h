// The texts of the boxes every window of the program uses, and the name of the program's own
// folder; UTF-16, as Windows takes them.
#pragma once

namespace ui {

// What a box shows when it has no caption of its own, and the caption of prompts and warnings.
inline constexpr wchar_t defaultMessageCaption[] = L"信息：";
inline constexpr wchar_t promptCaption[] = L"提示信息";

// The integer input box.
inline constexpr wchar_t defaultInputCaption[] = L"请输入：";
inline constexpr wchar_t okCaption[] = L"确认输入(&O)";
inline constexpr wchar_t cancelCaption[] = L"取消(&C)";

// Before the number of a Windows error the system has no wording for.
inline constexpr wchar_t errorNumberLabel[] = L"错误 ";

// The program's own folder under %LOCALAPPDATA%.
inline constexpr wchar_t userFolderName[] = L"墨舟";

}  // namespace ui
