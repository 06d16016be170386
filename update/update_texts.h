// The texts the update check and the download show, UTF-8.
#pragma once

#include <string_view>

namespace update {

inline constexpr std::string_view checkingTitle = "检测升级中...";
inline constexpr std::string_view nothingNewMessage = "未检测到新版本";
inline constexpr std::string_view noServerMessage = "未接通升级服务器";
inline constexpr std::string_view offerCaption = "版本升级";
// Followed by the reason Windows gives.
inline constexpr std::string_view updaterNotStartedMessage = "升级程序无法启动：";
inline constexpr std::string_view programFolderReadOnlyMessage =
    "程序所在的文件夹无法写入，升级无法安装到那里。\r\n请把程序复制到可以写入的文件夹中再检测升级。";

// The offer: the heading, then the version and the release notes after their labels.
inline constexpr std::string_view offerHeading = "发现有新版本可以更新！\r\n\r\n";
inline constexpr std::string_view offerVersionLabel = "版本号：";
inline constexpr std::string_view offerNotesLabel = "\r\n下载说明：";

// Sizes and speeds of a download, after the number.
inline constexpr std::string_view bytesUnit = " 字节";
inline constexpr std::string_view kilobytesUnit = " KB";
inline constexpr std::string_view megabytesUnit = " MB";
inline constexpr std::string_view perSecondUnit = "/秒";

}  // namespace update
