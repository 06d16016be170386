#include <optional>
#include <string>

#include "commands.h"
#include "pump.h"
#include "session.h"

namespace e2e {
namespace {

constexpr DWORD defaultExitWaitMs = 10000;
constexpr UINT killedExitCode = 1;
constexpr DWORD killWaitMs = 5000;

std::wstring CommandLine(const std::wstring& program, const std::optional<std::wstring>& arguments) {
  std::wstring line = L"\"" + program + L"\"";
  if (arguments && !arguments->empty()) line += L" " + *arguments;
  return line;
}

DWORD PidArgument(const Arguments& arguments) { return static_cast<DWORD>(arguments.Integer(0)); }

void WriteExitCode(JsonWriter& json, HANDLE process) {
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  json.Key("code").Int(code);
}

void Launch(Session& session, const Arguments& arguments, JsonWriter& json) {
  const std::optional<std::wstring> directory = arguments.NamedText("cwd");
  const DWORD pid = session.Launch(CommandLine(arguments.Text(0), arguments.NamedText("args")),
                                   directory ? directory->c_str() : nullptr);
  json.Key("pid").Int(pid);
}

void WaitExit(Session& session, const Arguments& arguments, JsonWriter& json) {
  const HANDLE process = session.Process(PidArgument(arguments));
  const bool exited = WaitPumping(process, arguments.Milliseconds("timeout", defaultExitWaitMs));
  json.Key("exited").Bool(exited);
  if (exited) WriteExitCode(json, process);
}

void Kill(Session& session, const Arguments& arguments, JsonWriter& json) {
  const HANDLE process = session.Process(PidArgument(arguments));
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  if (running && !TerminateProcess(process, killedExitCode)) throw CommandError(SystemError("TerminateProcess"));
  if (!WaitPumping(process, killWaitMs)) throw CommandError("the process did not end after TerminateProcess");
  json.Key("was_running").Bool(running);
  WriteExitCode(json, process);
}

void Processes(Session& session, const Arguments&, JsonWriter& json) {
  json.Key("processes").BeginArray();
  for (const auto& [pid, process] : session.Processes()) {
    const bool running = WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
    json.BeginObject().Key("pid").Int(pid).Key("running").Bool(running);
    if (!running) WriteExitCode(json, process.Get());
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace

void AddProcessCommands(CommandTable& table) {
  table.Add({"launch", "launch <program> [args=<text>] [cwd=<directory>] -> pid", 1, 1, {"args", "cwd"}, Launch});
  table.Add({"wait_exit", "wait_exit <pid> [timeout=ms] -> exited, code", 1, 1, {"timeout"}, WaitExit});
  table.Add({"kill", "kill <pid> -> was_running, code (only processes launched here)", 1, 1, {}, Kill});
  table.Add({"processes", "processes -> processes launched here: pid, running, code", 0, 0, {}, Processes});
}

}  // namespace e2e
