// The program's fixed texts and values, UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view productName = "墨舟";
inline constexpr double currentVersion = 3.2;
inline constexpr int titleGap = 50;  // half-width spaces between the name and the version label
inline constexpr std::string_view versionLabel = "版本号：";

inline constexpr std::string_view trayTooltip = "欢迎使用本工具打印";
inline constexpr std::string_view alreadyRunningPrompt = "程序已运行，请确定！";
inline constexpr std::string_view promptCaption = "提示信息";
inline constexpr std::string_view closeQuestion = "确定关闭吗？";
inline constexpr std::string_view closeCaption = "打印机提示：";
inline constexpr std::string_view statusLabel = "状态：";

inline constexpr std::string_view backgroundFileName = "打印机图";
inline constexpr int aboutCountdownStart = 6;

// A version number as the shortest text that reads back as the same number: 3.2 gives "3.2".
std::string VersionText(double version);

// "墨舟", 50 spaces, "版本号：" and the current version.
std::string MainWindowTitle();

}  // namespace app
