#include "text/text_file_status.h"

namespace text {

std::string TextFileStatus(const DecodedText& decoded) {
    std::string status;
    if (decoded.cut) status += textCutMessage;
    if (decoded.cut && decoded.unrecognised) status += statusSeparator;
    if (decoded.unrecognised) status += textUnrecognisedMessage;
    return status;
}

}  // namespace text
