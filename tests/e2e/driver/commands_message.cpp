#include "commands.h"
#include "delivery.h"
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

}  // namespace

void AddMessageCommands(CommandTable& table) {
  table.Add({"post", "post <hwnd> <message> [wparam] [lparam]: PostMessage", 2, 4, {}, Post});
  table.Add({"send",
             "send <hwnd> <message> [wparam] [lparam] [timeout=ms] -> result (messages without pointers)",
             2,
             4,
             {"timeout"},
             Send});
}

}  // namespace e2e
