#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "caption.h"
#include "commands.h"
#include "delivery.h"
#include "utf16.h"
#include "window_query.h"

namespace e2e {
namespace {

// The message text of a message box is a static control with this id (IDC_STATIC as a WORD).
constexpr int messageTextId = 0xFFFF;
constexpr int controlIdMask = 0xFFFF;

std::vector<HWND> DirectChildren(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<HWND> Buttons(HWND dialog) {
  std::vector<HWND> buttons;
  for (const HWND child : DirectChildren(dialog)) {
    if (HasClass(child, L"Button") && IsWindowVisible(child)) buttons.push_back(child);
  }
  return buttons;
}

// A busy box that does not answer in time must not read as an empty one.
std::wstring AnsweredText(HWND window) {
  std::optional<std::wstring> text = WindowText(window);
  if (!text) throw CommandError("the dialog did not answer WM_GETTEXT");
  return std::move(*text);
}

// The message box's own text, or else every visible static's text, line by line.
std::wstring MessageText(HWND dialog) {
  std::wstring joined;
  for (const HWND child : DirectChildren(dialog)) {
    if (!HasClass(child, L"Static") || !IsWindowVisible(child)) continue;
    const std::wstring text = AnsweredText(child);
    if ((GetDlgCtrlID(child) & controlIdMask) == messageTextId) return text;
    if (text.empty()) continue;
    if (!joined.empty()) joined += L"\n";
    joined += text;
  }
  return joined;
}

void Dialog(Session&, const Arguments& arguments, JsonWriter& json) {
  const HWND dialog = arguments.Window(0);
  json.Key("title").String(AnsweredText(dialog));
  json.Key("text").String(MessageText(dialog));
  json.Key("buttons").BeginArray();
  for (const HWND button : Buttons(dialog)) {
    json.BeginObject();
    json.Key("hwnd").Int(FromWindow(button));
    json.Key("id").Int(GetDlgCtrlID(button));
    const std::wstring caption = AnsweredText(button);
    json.Key("text").String(caption);
    json.Key("caption").String(ReadableCaption(caption));
    json.Key("enabled").Bool(IsWindowEnabled(button) != FALSE);
    json.EndObject();
  }
  json.EndArray();
}

std::string Captions(HWND dialog) {
  std::string list;
  for (const HWND button : Buttons(dialog)) {
    if (!list.empty()) list += ", ";
    list += ToUtf8(WindowText(button).value_or(L"")) + " (id " + std::to_string(GetDlgCtrlID(button)) + ")";
  }
  return list.empty() ? "no buttons" : list;
}

// By caption as the user reads it, or by id; a missing id is sent as the command a
// dialog would get from that button (Escape sends IDCANCEL without any button).
void Press(Session&, const Arguments& arguments, JsonWriter& json) {
  const HWND dialog = arguments.Window(0);
  const DWORD wait = arguments.Milliseconds("wait", defaultDeliveryWaitMs);
  const std::optional<long long> id = arguments.NamedInteger("id");
  if (id.has_value() == (arguments.Count() > 1)) throw CommandError("press takes either a caption or id=");
  for (const HWND button : Buttons(dialog)) {
    const bool matches =
        id ? GetDlgCtrlID(button) == *id : CaptionMatches(WindowText(button).value_or(L""), arguments.Text(1));
    if (!matches) continue;
    RequireClickable(button);
    json.Key("id").Int(GetDlgCtrlID(button));
    WriteDelivery(json, DeliverMessage(button, BM_CLICK, 0, 0, wait));
    return;
  }
  if (!id) throw CommandError("no button '" + arguments.Utf8(1) + "' in the dialog; it has " + Captions(dialog));
  json.Key("id").Int(*id);
  WriteDelivery(json, DeliverMessage(dialog, WM_COMMAND, MAKEWPARAM(*id, BN_CLICKED), 0, wait));
}

}  // namespace

void AddDialogCommands(CommandTable& table) {
  table.Add({"dialog",
             "dialog <hwnd> -> title, text, buttons: a message box or dialog as the user reads it",
             1,
             1,
             {},
             Dialog});
  table.Add({"press",
             "press <hwnd> (<caption> | id=n) [wait=ms] -> id, handled|modal|busy|closed",
             1,
             2,
             {"id", "wait"},
             Press});
}

}  // namespace e2e
