// e2e-probe.dll: runs one request of the driver inside the program under test.

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "probe_protocol.h"

namespace {

using e2e::probe::MenuEntry;
using e2e::probe::Operation;
using e2e::probe::Request;
using e2e::probe::Status;

constexpr wchar_t popupMenuClass[] = L"#32768";
constexpr int classNameCapacity = 16;

bool DescribeFont(Request& request) {
  const auto font = reinterpret_cast<HFONT>(static_cast<UINT_PTR>(request.handle));
  return GetObjectType(font) == OBJ_FONT && GetObjectW(font, sizeof request.font, &request.font) == sizeof request.font;
}

void ReadItems(HMENU menu, int depth, Request& request) {
  const int count = GetMenuItemCount(menu);
  for (int index = 0; index < count && request.menuEntryCount < e2e::probe::maxMenuEntries; ++index) {
    MenuEntry& entry = request.menu[request.menuEntryCount++];
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    item.dwTypeData = entry.text;
    item.cch = e2e::probe::menuTextCapacity - 1;
    if (!GetMenuItemInfoW(menu, index, TRUE, &item)) continue;
    entry.depth = depth;
    entry.id = item.wID;
    entry.type = item.fType;
    entry.state = item.fState;
    if (item.hSubMenu) ReadItems(item.hSubMenu, depth + 1, request);
  }
}

bool ReadMenu(Request& request) {
  const auto window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(request.handle));
  wchar_t className[classNameCapacity] = {};
  GetClassNameW(window, className, classNameCapacity);
  const HMENU menu = lstrcmpW(className, popupMenuClass) == 0
                         ? reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0))
                         : GetMenu(window);
  if (!menu) return false;
  ReadItems(menu, 0, request);
  return true;
}

// The drop list lives in this process's memory, as one from the shell would.
bool DropFiles(Request& request) {
  const auto window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(request.handle));
  std::size_t chars = 0;
  while (chars + 1 < e2e::probe::dropFilesCapacity && (request.files[chars] || request.files[chars + 1])) ++chars;
  chars += 2;
  const std::size_t bytes = sizeof(DROPFILES) + chars * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!memory) return false;
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  if (!drop) return GlobalFree(memory), false;
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = request.point;
  drop->fWide = TRUE;
  std::memcpy(drop + 1, request.files, chars * sizeof(wchar_t));
  GlobalUnlock(memory);
  if (!PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0)) return GlobalFree(memory), false;
  return true;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI E2EProbeRun(void* parameter) {
  auto& request = *static_cast<Request*>(parameter);
  bool done = false;
  switch (request.operation) {
    case Operation::DescribeFont: done = DescribeFont(request); break;
    case Operation::ReadMenu: done = ReadMenu(request); break;
    case Operation::DropFiles: done = DropFiles(request); break;
  }
  request.status = done ? Status::Done : Status::Failed;
  return done ? 1 : 0;
}
