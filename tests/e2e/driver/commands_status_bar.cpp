#include <windows.h>
// commctrl.h builds on the types of windows.h.
#include <commctrl.h>

#include <string>
#include <vector>

#include "commands.h"
#include "win_handles.h"
#include "window_query.h"

namespace e2e {
namespace {

// A status bar has at most 256 parts.
constexpr int maxParts = 256;
constexpr DWORD remoteAccess = PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION;

LRESULT Ask(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(bar, message, wParam, lParam, SMTO_ABORTIFHUNG, answerTimeoutMs, &result)) {
    throw CommandError(SystemError("status bar message " + std::to_string(message)));
  }
  return static_cast<LRESULT>(result);
}

template <typename Element>
std::vector<Element> ReadRemote(HANDLE process, const RemoteMemory& memory, size_t count) {
  std::vector<Element> values(count);
  SIZE_T read = 0;
  if (count && !ReadProcessMemory(process, memory.Address(), values.data(), count * sizeof(Element), &read)) {
    throw CommandError(SystemError("ReadProcessMemory"));
  }
  return values;
}

// The status bar writes into memory of its own process, so the answer is read from there.
std::wstring PartText(HWND bar, HANDLE process, int part) {
  const size_t length = LOWORD(Ask(bar, SB_GETTEXTLENGTHW, part, 0));
  const RemoteMemory buffer(process, (length + 1) * sizeof(wchar_t));
  if (!buffer) throw CommandError(SystemError("VirtualAllocEx"));
  Ask(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(buffer.Address()));
  std::vector<wchar_t> text = ReadRemote<wchar_t>(process, buffer, length + 1);
  return std::wstring(text.data(), wcsnlen(text.data(), length));
}

void Status(Session&, const Arguments& arguments, JsonWriter& json) {
  const HWND bar = arguments.Window(0);
  if (!HasClass(bar, STATUSCLASSNAMEW)) throw CommandError("not a status bar (" + arguments.Utf8(0) + ")");
  const KernelHandle process(OpenProcess(remoteAccess, FALSE, ProcessOf(bar)));
  if (!process) throw CommandError(SystemError("OpenProcess"));
  const RemoteMemory edges(process.Get(), maxParts * sizeof(int));
  if (!edges) throw CommandError(SystemError("VirtualAllocEx"));
  const bool simple = Ask(bar, SB_ISSIMPLE, 0, 0) != 0;
  const auto count = static_cast<size_t>(Ask(bar, SB_GETPARTS, maxParts, reinterpret_cast<LPARAM>(edges.Address())));
  const std::vector<int> rightEdges = ReadRemote<int>(process.Get(), edges, count);
  json.Key("simple").Bool(simple);
  if (simple) json.Key("simple_text").String(PartText(bar, process.Get(), SB_SIMPLEID));
  json.Key("parts").BeginArray();
  for (size_t part = 0; part < count; ++part) {
    json.BeginObject();
    json.Key("text").String(PartText(bar, process.Get(), static_cast<int>(part)));
    json.Key("right").Int(rightEdges[part]);
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace

void AddStatusBarCommands(CommandTable& table) {
  table.Add({"status", "status <hwnd> -> parts: [{text, right}], simple: a status bar's texts", 1, 1, {}, Status});
}

}  // namespace e2e
