// "用墨舟打印" in Explorer's right-click menu: the files it is offered for and the commands
// Explorer runs with it.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace app {

// The verb's key name under an extension's "shell" key, and the caption Explorer shows for it.
inline constexpr std::string_view explorerPrintVerb = "墨舟打印";
inline constexpr std::string_view explorerPrintCaption = "用墨舟打印";
// The verb Explorer uses when a file is dropped on a printer.
inline constexpr std::string_view explorerPrintToVerb = "printto";

// Text files and every kind of picture the program decodes, by the extensions such files carry:
// lower case, with the leading dot.
std::span<const std::string_view> ExplorerMenuExtensions();

// Explorer's command for printing the file it names as %1 with the program at `program` (a full
// path, which can hold no quote): "<program>" /p "%1".
std::wstring ExplorerPrintCommand(std::wstring_view program);

// Explorer's command for printing a file on a given printer: "<program>" /pt "%1" "%2" "%3" "%4",
// with the file, the printer, its driver and its port.
std::wstring ExplorerPrintToCommand(std::wstring_view program);

}  // namespace app
