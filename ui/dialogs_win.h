// The modal boxes every window of the program uses.
#pragma once

#include <windows.h>

#include <string_view>

#include "ui/ui_texts.h"  // the captions, promptCaption among them

namespace ui {

// A message box with no owner window. Task-modal unless the style says system-modal; a box
// with no caption of its own shows "信息：". Returns the button pressed.
int ShowMessage(std::wstring_view text, std::wstring_view caption, UINT style);

// A Yes/No box with the question icon; true for Yes.
bool AskQuestion(std::wstring_view text, std::wstring_view caption);

// The input box in integer mode: a caption (empty gives "请输入："), a prompt and an edit box
// holding the initial text, fully selected. On OK the text's leading integer is stored in value
// and true is returned; on Cancel value is left as it was.
bool InputInteger(HWND owner, std::wstring_view prompt, std::wstring_view caption,
                  std::wstring_view initialText, int& value);

}  // namespace ui
