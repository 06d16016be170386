#include "app/about_text.h"

namespace app {
namespace {

constexpr std::string_view paragraphBreak = "\r\n\r\n";

std::string Body() {
    return std::string(paragraphBreak) + std::string(contactLine) + "\r\n" + std::string(noticesLine);
}

}  // namespace

std::string AboutText() { return std::string(makerName) + Body(); }

std::string AboutCountdownText(int remaining) {
    return std::string(makerName) + "   (" + std::to_string(remaining) + ")" + Body();
}

}  // namespace app
