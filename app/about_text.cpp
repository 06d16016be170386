#include "app/about_text.h"

namespace app {
namespace {

constexpr std::string_view paragraphBreak = "\r\n\r\n";

}  // namespace

std::string AboutText() {
    return std::string(makerName) + std::string(paragraphBreak) + std::string(contactLine);
}

std::string AboutCountdownText(int remaining) {
    return std::string(makerName) + "   (" + std::to_string(remaining) + ")" +
           std::string(paragraphBreak) + std::string(contactLine);
}

}  // namespace app
