#pragma once

#include <windows.h>

#include <cstdint>

// The request block shared by the driver and e2e-probe.dll, which the driver loads
// into the program under test: some things can only be read from inside the process
// that owns them (a font handle means nothing anywhere else).
namespace e2e::probe {

inline constexpr wchar_t dllName[] = L"e2e-probe.dll";
inline constexpr char entryName[] = "E2EProbeRun";

enum class Operation : std::uint32_t {
  DescribeFont = 1,  // handle: an HFONT of the target
  ReadMenu = 2,      // handle: a window; its menu bar, or the menu a #32768 pop-up shows
  DropFiles = 3,     // handle: a window; posts it WM_DROPFILES for files at point
};

enum class Status : std::uint32_t { Pending = 0, Done = 1, Failed = 2 };

inline constexpr int menuTextCapacity = 128;
inline constexpr int maxMenuEntries = 256;
inline constexpr int dropFilesCapacity = 4096;

// One menu item, depth-first: the items of a submenu follow it with depth + 1.
struct MenuEntry {
  std::int32_t depth;
  std::uint32_t id;
  std::uint32_t type;
  std::uint32_t state;
  wchar_t text[menuTextCapacity];
};

struct Request {
  Operation operation;
  Status status;
  std::uint64_t handle;
  LOGFONTW font;
  std::uint32_t menuEntryCount;
  MenuEntry menu[maxMenuEntries];
  POINT point;                        // DropFiles: client coordinates
  wchar_t files[dropFilesCapacity];   // DropFiles: each name ended by a 0, the list by another
};

}  // namespace e2e::probe
