#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

// The clipboard then holds these bytes only, under one format.
void PutOnClipboard(Session& session, UINT format, const void* bytes, size_t size) {
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!memory) throw CommandError(SystemError("GlobalAlloc"));
  {
    const GlobalLockGuard locked(memory.Get());
    if (!locked.Data()) throw CommandError(SystemError("GlobalLock"));
    std::memcpy(locked.Data(), bytes, size);
  }
  const OpenedClipboard clipboard = OpenFor(session.ClipboardOwner());
  if (!EmptyClipboard()) throw CommandError(SystemError("EmptyClipboard"));
  if (!SetClipboardData(format, memory.Get())) throw CommandError(SystemError("SetClipboardData"));
  memory.Release();
}

void SetClipboard(Session& session, const Arguments& arguments, JsonWriter& json) {
  const std::wstring text = arguments.Text(0);
  PutOnClipboard(session, CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  json.Key("length").Int(static_cast<long long>(text.size()));
}

// A picture for the program to paste: a file's bytes as CF_DIB, CF_DIBV5 or a registered format.
void SetClipboardBytes(Session& session, const Arguments& arguments, JsonWriter& json) {
  const std::wstring name = arguments.Text(0);
  const UINT format = name == L"CF_DIB" ? CF_DIB : name == L"CF_DIBV5" ? CF_DIBV5 : RegisterClipboardFormatW(name.c_str());
  std::ifstream file(std::filesystem::path(arguments.Text(1)), std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (!file.is_open() || !format) throw CommandError("cannot read the file or register the format");
  PutOnClipboard(session, format, bytes.data(), bytes.size());
  json.Key("length").Int(static_cast<long long>(bytes.size()));
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
  table.Add({"set_clipboard_data", "set_clipboard_data <CF_DIB|CF_DIBV5|PNG|...> <file>: the file's bytes only", 2, 2,
             {}, SetClipboardBytes});
  table.Add({"clear_clipboard", "clear_clipboard: empties the clipboard", 0, 0, {}, ClearClipboard});
}

}  // namespace e2e
