#include "app/program_texts.h"

#include <charconv>

namespace app {

std::string VersionText(double version) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, version);
    return std::string(buffer, result.ptr);
}

std::string MainWindowTitle() {
    std::string title(productName);
    title.append(titleGap, ' ');
    title += versionLabel;
    title += VersionText(currentVersion);
    return title;
}

std::string PicturePlaceText(std::size_t shown, std::size_t count) {
    return std::to_string(shown) + " / " + std::to_string(count);
}

std::string PicturesLoadedMessage(std::size_t loaded, std::size_t skipped, std::size_t leftOut,
                                  std::size_t undecoded) {
    std::string message = "已载入 " + std::to_string(loaded) + " 张图片";
    if (skipped > 0) message += "，" + std::to_string(skipped) + " 个文件不是可用的图片，已跳过";
    if (undecoded > 0) message += "（其中 " + std::to_string(undecoded) + " 个缺少解码组件）";
    if (leftOut > 0) message += "，图片太多，其余 " + std::to_string(leftOut) + " 个文件未载入";
    return message;
}

}  // namespace app
