// e2e-driver: drives the windows of other programs for end-to-end tests.
// One command per line on standard input, one JSON object per line on standard output.

#include <windows.h>

#include <optional>
#include <string>

#include "command_table.h"
#include "commands.h"
#include "line_reader.h"
#include "pump.h"
#include "session.h"

namespace {

void Answer(const std::string& json) {
  const std::string line = json + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

e2e::CommandTable BuildCommands() {
  e2e::CommandTable table;
  e2e::AddSessionCommands(table);
  e2e::AddProcessCommands(table);
  e2e::AddWindowCommands(table);
  e2e::AddControlCommands(table);
  e2e::AddDialogCommands(table);
  e2e::AddStatusBarCommands(table);
  e2e::AddFontCommands(table);
  e2e::AddMenuCommands(table);
  e2e::AddInputCommands(table);
  e2e::AddClipboardCommands(table);
  e2e::AddMessageCommands(table);
  e2e::AddScreenshotCommands(table);
  return table;
}

}  // namespace

int wmain() {
  // Rectangles, clicks and screenshots in the screen's own pixels, also of programs that scale
  // themselves to its resolution: per-monitor aware (v2, context -4), where Windows knows it.
  if (auto set = reinterpret_cast<BOOL(WINAPI*)(HANDLE)>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")))) {
    set(reinterpret_cast<HANDLE>(-4));
  }
  const e2e::CommandTable commands = BuildCommands();
  e2e::Session session;
  e2e::LineReader input;
  while (!session.QuitRequested()) {
    e2e::WaitPumping(input.Ready(), INFINITE);
    while (!session.QuitRequested()) {
      const std::optional<std::string> line = input.Take();
      if (!line) break;
      if (line->find_first_not_of(" \t") == std::string::npos) continue;
      Answer(commands.Execute(session, *line));
    }
    if (input.Ended()) break;
  }
  return 0;
}
