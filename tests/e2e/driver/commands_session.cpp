#include <string>

#include "commands.h"
#include "pump.h"
#include "session.h"

namespace e2e {
namespace {

constexpr std::string_view protocolVersion = "1";

using WineVersion = const char*(__cdecl*)();

// Wine's ntdll exports its version; on Windows the lookup simply finds nothing.
const char* WineVersionText() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto query =
      ntdll ? reinterpret_cast<WineVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))
            : nullptr;
  return query ? query() : nullptr;
}

void Hello(Session&, const Arguments&, JsonWriter& json) {
  json.Key("protocol").String(protocolVersion);
  json.Key("acp").Int(GetACP());
  json.Key("oemcp").Int(GetOEMCP());
  json.Key("wine");
  if (const char* version = WineVersionText())
    json.String(version);
  else
    json.Null();
  json.Key("screen").BeginArray();
  json.Int(GetSystemMetrics(SM_XVIRTUALSCREEN)).Int(GetSystemMetrics(SM_YVIRTUALSCREEN));
  json.Int(GetSystemMetrics(SM_CXVIRTUALSCREEN)).Int(GetSystemMetrics(SM_CYVIRTUALSCREEN));
  json.EndArray();
}

void Sleep(Session&, const Arguments& arguments, JsonWriter& json) {
  const long long milliseconds = arguments.Integer(0);
  if (milliseconds < 0) throw CommandError("sleep takes a non-negative number of milliseconds");
  PumpFor(static_cast<DWORD>(milliseconds));
  json.Key("slept").Int(milliseconds);
}

void Quit(Session& session, const Arguments&, JsonWriter& json) {
  session.RequestQuit();
  json.Key("bye").Bool(true);
}

}  // namespace

void AddSessionCommands(CommandTable& table) {
  table.Add({"hello", "hello -> protocol, acp, oemcp, wine, screen [x, y, width, height]", 0, 0, {}, Hello});
  table.Add({"sleep", "sleep <ms>: waits while the driver keeps answering its own messages", 1, 1, {}, Sleep});
  table.Add({"quit", "quit: ends the driver; programs it launched and that still run are terminated", 0, 0, {}, Quit});
}

}  // namespace e2e
