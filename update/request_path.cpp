#include "update/request_path.h"

namespace update {
namespace {

bool SentAsIs(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
           byte == '~' || byte == '/';
}

}  // namespace

std::string PercentEncodedPath(std::string_view utf8Path) {
    constexpr char hexDigits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(utf8Path.size() * 3);
    for (const char c : utf8Path) {
        const auto byte = static_cast<unsigned char>(c);
        if (SentAsIs(byte)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += hexDigits[byte >> 4];
            encoded += hexDigits[byte & 0x0F];
        }
    }
    return encoded;
}

}  // namespace update
