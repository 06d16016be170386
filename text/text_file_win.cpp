#include "text/text_file_win.h"

#include "text/text_encoding.h"
#include "text/text_file_lines.h"
#include "text/text_file_status.h"
#include "ui/dialogs_win.h"
#include "ui/files_win.h"
#include "ui/text_win.h"
#include "ui/timed_message_win.h"

namespace text {

LoadedText LoadTextFile(std::span<const std::uint8_t> bytes) {
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const DecodedText decoded =
        DecodeTextFile(view, [](std::string_view gb18030) { return ui::ToUtf16(ui::FromGb18030(gb18030)); });
    return {ui::FromUtf16(TextFileLines(decoded.text)), ui::Widen(TextFileStatus(decoded))};
}

bool ToldReadFailure(const ui::FileContents& contents) {
    if (contents.failure == ui::ReadFailure::none) return false;
    const std::string_view message =
        contents.failure == ui::ReadFailure::tooLarge ? fileTooLargeMessage : fileUnreadableMessage;
    ui::ShowTimedMessage(ui::Widen(message), ui::promptCaption, MB_ICONWARNING);
    return true;
}

}  // namespace text
