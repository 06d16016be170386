#include <string>

#include "commands.h"
#include "delivery.h"
#include "window_query.h"

namespace e2e {
namespace {

constexpr wchar_t enterCharacter = L'\r';

void Text(Session&, const Arguments& arguments, JsonWriter& json) {
  const std::optional<std::wstring> text = WindowText(arguments.Window(0));
  if (!text) throw CommandError("the window did not answer WM_GETTEXT");
  json.Key("text").String(*text);
}

void SetText(Session&, const Arguments& arguments, JsonWriter& json) {
  const std::wstring text = arguments.Text(1);
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(arguments.Window(0), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                           answerTimeoutMs, &result)) {
    throw CommandError(SystemError("WM_SETTEXT"));
  }
  json.Key("result").Int(static_cast<long long>(result));
}

// One WM_CHAR per UTF-16 unit, as the keyboard would deliver them; a line break is
// the Enter key's carriage return.
void Type(Session&, const Arguments& arguments, JsonWriter& json) {
  const HWND window = arguments.Window(0);
  const std::wstring text = arguments.Text(1);
  size_t typed = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t unit = text[i];
    if (unit == L'\n') {
      if (i > 0 && text[i - 1] == enterCharacter) continue;
      unit = enterCharacter;
    }
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(window, WM_CHAR, unit, 1, SMTO_ABORTIFHUNG, answerTimeoutMs, &ignored)) {
      throw CommandError(SystemError("WM_CHAR after " + std::to_string(typed) + " characters"));
    }
    ++typed;
  }
  json.Key("typed").Int(static_cast<long long>(typed));
}

void Click(Session&, const Arguments& arguments, JsonWriter& json) {
  const HWND control = arguments.Window(0);
  RequireClickable(control);
  WriteDelivery(json, DeliverMessage(control, BM_CLICK, 0, 0, arguments.Milliseconds("wait", defaultDeliveryWaitMs)));
}

}  // namespace

void AddControlCommands(CommandTable& table) {
  table.Add({"text", "text <hwnd> -> text: what the control shows (WM_GETTEXT)", 1, 1, {}, Text});
  table.Add({"set_text", "set_text <hwnd> <text> (WM_SETTEXT)", 2, 2, {}, SetText});
  table.Add({"type", "type <hwnd> <text> -> typed: one WM_CHAR per UTF-16 unit, \\n as Enter", 2, 2, {}, Type});
  table.Add({"click",
             "click <hwnd> [wait=ms] -> handled|modal|busy|closed: BM_CLICK, refused when the user could not click",
             1,
             1,
             {"wait"},
             Click});
}

}  // namespace e2e
