// The main window's fixed texts and values, UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view productName = "墨舟";
inline constexpr double currentVersion = 3.2;
inline constexpr int titleGap = 50;  // half-width spaces between the name and the version label
inline constexpr std::string_view versionLabel = "版本号：";

inline constexpr std::string_view trayTooltip = "欢迎使用本工具打印";
inline constexpr std::string_view alreadyRunningPrompt = "程序已运行，请确定！";
inline constexpr std::string_view closeQuestion = "确定关闭吗？";
inline constexpr std::string_view closeCaption = "打印机提示：";
inline constexpr std::string_view statusLabel = "状态：";

inline constexpr std::string_view printTextCaption = "打印文本";
inline constexpr std::string_view printPictureCaption = "打印图片";
inline constexpr std::string_view printStoppedMessage = "停止打印";
inline constexpr std::string_view updateWhilePrintingMessage = "正在打印，请等这份打印完再升级";
inline constexpr std::string_view chooseModeMessage = "请选择打印文本还是图片？";
// One entry, its own pattern: every extension of the files the program reads pictures from.
inline constexpr std::string_view pictureFileFilter =
    "*.png;*.jpg;*.jpeg;*.gif;*.bmp;*.dib;*.ico;*.cur;*.pcx;*.webp;*.heic;*.heif;*.avif;*.tif;*.tiff";
inline constexpr std::string_view textFileFilter = "*.txt";
inline constexpr std::string_view backgroundChangedMessage = "更换背景图成功";
inline constexpr std::string_view notAPictureMessage = "所选文件不是图片，背景图未更换";
inline constexpr std::string_view incompleteBackgroundMessage = "图片不完整，背景图未更换";
inline constexpr std::string_view pictureUnreadableMessage = "文件无法读取，图片未更换";
inline constexpr std::string_view pictureUndecodableMessage = "图片无法识别，图片未更换";
inline constexpr std::string_view pictureIncompleteMessage = "图片不完整";
// A HEIC or AVIF picture while libheif.dll or libde265.dll is missing beside the program.
inline constexpr std::string_view heicDecoderMissingMessage = "缺少 HEIC 解码组件";
inline constexpr std::string_view avifDecoderMissingMessage = "缺少 AVIF 解码组件";
inline constexpr std::string_view onlyPictureMessage = "只有这一张图片，不能移除";

// "用墨舟打印" in Explorer's right-click menu, added and removed from the tray menu.
inline constexpr std::string_view addExplorerMenuCaption = "在右键菜单中添加“用墨舟打印”";
inline constexpr std::string_view removeExplorerMenuCaption = "从右键菜单中移除“用墨舟打印”";
inline constexpr std::string_view explorerMenuAddedMessage = "已在右键菜单中添加“用墨舟打印”";
inline constexpr std::string_view explorerMenuRemovedMessage = "已从右键菜单中移除“用墨舟打印”";
inline constexpr std::string_view explorerMenuFailedMessage = "无法修改右键菜单：";  // and the system's reason

// The shown picture's place among several, as the picture box writes it: "2 / 5".
std::string PicturePlaceText(std::size_t shown, std::size_t count);
// After several files were chosen or dropped: how many became pictures, how many were passed
// over because they could not be read or are no picture, and how many were not read at all
// because the pictures already loaded took all the memory they may; undecoded of the skipped
// ones are HEIC or AVIF pictures passed over because their decoder is missing.
std::string PicturesLoadedMessage(std::size_t loaded, std::size_t skipped, std::size_t leftOut = 0,
                                  std::size_t undecoded = 0);

// The page setup, kept in the user's roaming folder between runs.
inline constexpr std::string_view pageSetupFileName = "页面设置.txt";
inline constexpr std::string_view pageSetupDamagedMessage = "页面设置文件无法读取，已使用默认设置";
inline constexpr std::string_view pageSetupNotSavedMessage = "页面设置未能保存：";  // and the system's reason

// The box shown for a command line the program does not understand, captioned productName.
inline constexpr std::string_view commandLineUsage =
    "用法：\n"
    "墨舟.exe [文件...]\t打开程序并载入文件\n"
    "墨舟.exe /p 文件... [/w 每行字数] [/layout 版式] [/s]\t在默认打印机上打印\n"
    "墨舟.exe /pt 文件 打印机 [驱动程序] [端口]\t在指定的打印机上打印\n\n"
    "文件名可含 * 和 ?；/w 为 1 到 98；/layout 如 按比例适应、1寸、每页 4 张；/s 不显示打印进度";

inline constexpr std::string_view backgroundFileName = "打印机图";
inline constexpr int aboutCountdownStart = 6;

// A version number as the shortest text that reads back as the same number: 3.2 gives "3.2".
std::string VersionText(double version);

// "墨舟", 50 spaces, "版本号：" and the current version.
std::string MainWindowTitle();

}  // namespace app
