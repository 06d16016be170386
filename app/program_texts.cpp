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

}  // namespace app
