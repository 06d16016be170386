#include <cstring>
#include <string>

#include "commands.h"
#include "pump.h"
#include "session.h"
#include "win_handles.h"

namespace e2e {
namespace {

// Another program may hold the clipboard for a moment; a user would simply try again.
constexpr DWORD openRetryMs = 1000;

OpenedClipboard OpenFor(HWND owner) {
  const bool opened = PumpUntil([owner] { return OpenClipboard(owner) != FALSE; }, openRetryMs);
  if (!opened) throw CommandError(SystemError("OpenClipboard"));
  return OpenedClipboard(true);
}

void Clipboard(Session& session, const Arguments&, JsonWriter& json) {
  const OpenedClipboard clipboard = OpenFor(session.ClipboardOwner());
  json.Key("formats").BeginArray();
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) json.Int(format);
  json.EndArray();
  json.Key("text");
  const HANDLE data = IsClipboardFormatAvailable(CF_UNICODETEXT) ? GetClipboardData(CF_UNICODETEXT) : nullptr;
  if (!data) {
    json.Null();
    return;
  }
  const GlobalLockGuard locked(data);
  if (!locked.Data()) throw CommandError(SystemError("GlobalLock"));
  const auto* text = static_cast<const wchar_t*>(locked.Data());
  json.String(std::wstring_view(text, wcsnlen(text, GlobalSize(data) / sizeof(wchar_t))));
}

void SetClipboard(Session& session, const Arguments& arguments, JsonWriter& json) {
  const std::wstring text = arguments.Text(0);
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) throw CommandError(SystemError("GlobalAlloc"));
  {
    const GlobalLockGuard locked(memory.Get());
    if (!locked.Data()) throw CommandError(SystemError("GlobalLock"));
    std::memcpy(locked.Data(), text.c_str(), bytes);
  }
  const OpenedClipboard clipboard = OpenFor(session.ClipboardOwner());
  if (!EmptyClipboard()) throw CommandError(SystemError("EmptyClipboard"));
  if (!SetClipboardData(CF_UNICODETEXT, memory.Get())) throw CommandError(SystemError("SetClipboardData"));
  memory.Release();
  json.Key("length").Int(static_cast<long long>(text.size()));
}

void ClearClipboard(Session& session, const Arguments&, JsonWriter& json) {
  const OpenedClipboard clipboard = OpenFor(session.ClipboardOwner());
  if (!EmptyClipboard()) throw CommandError(SystemError("EmptyClipboard"));
  json.Key("cleared").Bool(true);
}

}  // namespace

void AddClipboardCommands(CommandTable& table) {
  table.Add({"clipboard", "clipboard -> text (null when it holds no text), formats", 0, 0, {}, Clipboard});
  table.Add(
      {"set_clipboard", "set_clipboard <text>: the clipboard then holds this plain text only", 1, 1, {}, SetClipboard});
  table.Add({"clear_clipboard", "clear_clipboard: empties the clipboard", 0, 0, {}, ClearClipboard});
}

}  // namespace e2e
