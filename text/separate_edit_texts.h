// Texts of the separate-edit window that are built from values, and the byte rules of its files;
// the fixed texts are in text_texts.h.
#pragma once

#include <string>
#include <string_view>

#include "text/text_encoding.h"
#include "text/text_texts.h"  // the window's fixed texts

namespace text {

// The window's title, stating the edit box's size in pixels and what one sheet holds.
std::string SeparateEditTitle(int editWidth, int editHeight);

// The vertical ruler: the numbers 1 to 18 three text lines apart, after two empty lines.
std::string VerticalRulerText();
// The horizontal ruler: 20 marks of three spaces and a number.
std::string HorizontalRulerText();

// The part of the backup file's GBK bytes that is appended: everything before the first NUL or
// Ctrl-Z byte. A trail byte of a double-byte character is never taken for either.
std::string_view BackupTextPrefix(std::string_view gbk);

// The backup file's text: UTF-8 after a UTF-8 byte-order mark (a text GBK could not hold is saved
// so), else GBK through the converter; up to the first NUL or Ctrl-Z either way.
std::u16string BackupText(std::string_view bytes, const Gb18030Converter& fromGbk);

// The box after a failed write: "保存失败：" and the reason the system gives, without the line
// break it ends with; the error's number when the system has no text for it.
std::wstring SaveFailedMessage(std::wstring_view reason, unsigned long errorCode);

// The name a text is saved under: ".txt" is added unless the name already ends with it, in any
// case.
std::wstring SaveAsFileName(std::wstring_view chosen);
// The question before a file is replaced: its name, and whether to replace it.
std::wstring SaveAsReplaceQuestion(std::wstring_view fileName);

}  // namespace text
