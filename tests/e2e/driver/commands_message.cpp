#include <memory>
#include <string>

#include "commands.h"
#include "delivery.h"
#include "remote_probe.h"
#include "window_query.h"

namespace e2e {
namespace {

WPARAM OptionalWord(const Arguments& arguments, size_t index) {
  return arguments.Count() > index ? static_cast<WPARAM>(arguments.Integer(index)) : 0;
}

LPARAM OptionalLong(const Arguments& arguments, size_t index) {
  return arguments.Count() > index ? static_cast<LPARAM>(arguments.Integer(index)) : 0;
}

void Post(Session&, const Arguments& arguments, JsonWriter& json) {
  if (!PostMessageW(arguments.Window(0), static_cast<UINT>(arguments.Integer(1)), OptionalWord(arguments, 2),
                    OptionalLong(arguments, 3))) {
    throw CommandError(SystemError("PostMessage"));
  }
  json.Key("posted").Bool(true);
}

// Only for messages without pointers: a pointer means nothing in the other process.
void Send(Session&, const Arguments& arguments, JsonWriter& json) {
  const std::optional<LRESULT> result =
      AskWindow(arguments.Window(0), static_cast<UINT>(arguments.Integer(1)), OptionalWord(arguments, 2),
                OptionalLong(arguments, 3), arguments.Milliseconds("timeout", answerTimeoutMs));
  if (!result) throw CommandError("no answer in time");
  json.Key("result").Int(static_cast<long long>(*result));
}

// Posted from inside the program: the drop list is memory of the process that reads it.
void DropFiles(Session&, const Arguments& arguments, JsonWriter& json) {
  const HWND window = arguments.Window(0);
  auto request = std::make_unique<probe::Request>();
  request->operation = probe::Operation::DropFiles;
  request->handle = static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(window));
  request->point = {static_cast<LONG>(arguments.NamedInteger("x", 0)), static_cast<LONG>(arguments.NamedInteger("y", 0))};
  std::wstring list;
  for (size_t i = 1; i < arguments.Count(); ++i) list += arguments.Text(i) + L'\0';
  if (list.size() + 1 > probe::dropFilesCapacity) throw CommandError("file names too long");
  list.copy(request->files, list.size());
  RunProbe(ProcessOf(window), *request);
  json.Key("dropped").Int(static_cast<long long>(arguments.Count() - 1));
}

}  // namespace

void AddMessageCommands(CommandTable& table) {
  table.Add({"post", "post <hwnd> <message> [wparam] [lparam]: PostMessage", 2, 4, {}, Post});
  table.Add({"drop_files",
             "drop_files <hwnd> <path>... [x=] [y=]: files dropped on the window (WM_DROPFILES), client point",
             2,
             anyCount,
             {"x", "y"},
             DropFiles});
  table.Add({"send",
             "send <hwnd> <message> [wparam] [lparam] [timeout=ms] -> result (messages without pointers)",
             2,
             4,
             {"timeout"},
             Send});
}

}  // namespace e2e
