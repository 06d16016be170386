// The updater's texts and names, UTF-8.
#pragma once

#include <string_view>

namespace updater {

inline constexpr std::string_view windowTitle = "下载管理器";
inline constexpr std::string_view badCallMessage = "程序调用参数错误！";
inline constexpr std::string_view waitText = "请等待下载完成...";
inline constexpr std::string_view taskLabel = "任务：";
inline constexpr std::string_view sizeLabel = "大小：";
inline constexpr std::string_view progressLabel = "进度：";
inline constexpr std::string_view speedLabel = "速度：";
inline constexpr std::string_view checkingText = "正在核对升级信息...";
inline constexpr std::string_view unpackingText = "正在解压...";
inline constexpr std::string_view replacingText = "正在替换程序文件，请勿关闭...";

// Every refusal ends with this, unless undoing failed.
inline constexpr std::string_view nothingChangedText = "升级未安装，程序文件没有任何改动。";
inline constexpr std::string_view notVerifiedReason = "升级信息未通过签名校验。";
inline constexpr std::string_view taskMismatchReason = "下载任务与升级信息不符。";
inline constexpr std::string_view downloadFailedReason = "下载失败：未能从升级服务器取得文件。";
inline constexpr std::string_view downloadMismatchReason = "下载的文件未通过校验（大小或 SHA-256 不符）。";
inline constexpr std::string_view badArchiveReason = "升级包已损坏、过大或含有不安全的文件名。";
inline constexpr std::string_view badFileNameReason = "升级信息中的文件名不可用。";
inline constexpr std::string_view writeFailedReason = "无法在升级文件夹中写入文件。";
inline constexpr std::string_view notNewerReason = "升级信息中的版本不比已安装的程序新。";
inline constexpr std::string_view versionUnknownReason = "无法读取已安装程序的版本信息。";
inline constexpr std::string_view replaceFailedReason = "替换程序文件失败，已全部还原。";
inline constexpr std::string_view damagedText =
    "替换程序文件失败，且未能全部还原。\r\n被替换的原文件保存在 升级文件\\backup 文件夹中，请手动复制回程序文件夹。";

inline constexpr std::string_view backupInTheWayText =
    "升级未安装：升级文件\\backup 文件夹中还有上次升级未能还原的文件。\r\n请先把其中的文件复制回程序文件夹，再删除该文件夹。";

// The folders under "升级文件": downloads and unpacking, and the files an update replaces.
inline constexpr std::wstring_view tempFolder = L"temp";
inline constexpr std::wstring_view backupFolder = L"backup";
inline constexpr std::wstring_view stagingFolder = L"staging";
inline constexpr std::wstring_view downloadFile = L"download.part";

}  // namespace updater
