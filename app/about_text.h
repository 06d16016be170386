// The about box's text and its countdown line.
#pragma once

#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view aboutCaption = "关于作者";
inline constexpr std::string_view makerName = "墨舟工作室";
inline constexpr std::string_view contactLine = "联系邮箱：support@mozhou.example";
// The build puts the linked libraries' licences in this file beside the program.
inline constexpr std::string_view noticesLine = "第三方软件的许可声明见程序文件夹中的“第三方软件许可.txt”";

// The maker's name, then a blank line, the contact line and the notices line.
std::string AboutText();
// While counting down: the maker's name, three spaces and the remaining count in brackets.
std::string AboutCountdownText(int remaining);

}  // namespace app
