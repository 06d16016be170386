#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "delivery.h"
#include "pump.h"
#include "window_query.h"

namespace e2e {
namespace {

constexpr DWORD foregroundSettleMs = 50;

using Candidates = std::vector<HWND> (*)(HWND scope);

std::vector<HWND> AllTopLevel(HWND) { return TopLevelWindows(); }

void WriteList(JsonWriter& json, std::string_view key, const std::vector<HWND>& windows) {
  json.Key(key).BeginArray();
  for (const HWND window : windows) DescribeWindow(window, json);
  json.EndArray();
}

size_t IndexArgument(const Arguments& arguments) {
  const long long index = arguments.NamedInteger("index", 0);
  if (index < 0) throw CommandError("index= must not be negative");
  return static_cast<size_t>(index);
}

// Polls until the index-th match exists, so a test can wait for a window that is about to appear.
HWND WaitForMatch(const Arguments& arguments, Candidates candidates, HWND scope) {
  const WindowFilter filter = WindowFilter::FromArguments(arguments);
  const size_t index = IndexArgument(arguments);
  const DWORD timeout = arguments.Milliseconds("timeout", 0);
  HWND found = nullptr;
  PumpUntil(
      [&] {
        const std::vector<HWND> matches = filter.Select(candidates(scope));
        if (matches.size() > index) found = matches[index];
        return found != nullptr;
      },
      timeout);
  if (!found) {
    throw CommandError("no window matches " + filter.Describe() + (index ? " index=" + std::to_string(index) : "") +
                       " within " + std::to_string(timeout) + " ms");
  }
  return found;
}

void Windows(Session&, const Arguments& arguments, JsonWriter& json) {
  WriteList(json, "windows", WindowFilter::FromArguments(arguments).Select(TopLevelWindows()));
}

void Window(Session&, const Arguments& arguments, JsonWriter& json) {
  json.Key("window");
  DescribeWindow(WaitForMatch(arguments, AllTopLevel, nullptr), json);
}

void Gone(Session&, const Arguments& arguments, JsonWriter& json) {
  const WindowFilter filter = WindowFilter::FromArguments(arguments);
  const DWORD timeout = arguments.Milliseconds("timeout", 0);
  std::vector<HWND> remaining;
  const bool gone = PumpUntil(
      [&] {
        remaining = filter.Select(TopLevelWindows());
        return remaining.empty();
      },
      timeout);
  if (!gone) {
    throw CommandError(std::to_string(remaining.size()) + " window(s) still match " + filter.Describe() + " after " +
                       std::to_string(timeout) + " ms");
  }
  json.Key("gone").Bool(true);
}

void Children(Session&, const Arguments& arguments, JsonWriter& json) {
  WriteList(json, "controls", WindowFilter::FromArguments(arguments).Select(Descendants(arguments.Window(0))));
}

void Child(Session&, const Arguments& arguments, JsonWriter& json) {
  json.Key("control");
  DescribeWindow(WaitForMatch(arguments, Descendants, arguments.Window(0)), json);
}

void Info(Session&, const Arguments& arguments, JsonWriter& json) {
  json.Key("window");
  DescribeWindow(arguments.Window(0), json);
}

void Foreground(Session&, const Arguments& arguments, JsonWriter& json) {
  if (arguments.Count() > 0) {
    const HWND window = arguments.Window(0);
    const bool set = SetForegroundWindow(window) != FALSE;
    json.Key("set").Bool(set && PumpUntil([window] { return GetForegroundWindow() == window; }, foregroundSettleMs));
  }
  const HWND foreground = GetForegroundWindow();
  json.Key("window");
  if (foreground)
    DescribeWindow(foreground, json);
  else
    json.Null();
}

void GuiThread(Session&, const Arguments& arguments, JsonWriter& json) {
  const DWORD thread = GetWindowThreadProcessId(arguments.Window(0), nullptr);
  GUITHREADINFO state{};
  state.cbSize = sizeof state;
  if (!GetGUIThreadInfo(thread, &state)) throw CommandError(SystemError("GetGUIThreadInfo"));
  json.Key("active").Int(FromWindow(state.hwndActive));
  json.Key("focus").Int(FromWindow(state.hwndFocus));
  json.Key("capture").Int(FromWindow(state.hwndCapture));
  json.Key("menu_owner").Int(FromWindow(state.hwndMenuOwner));
  json.Key("move_size").Int(FromWindow(state.hwndMoveSize));
  json.Key("caret").Int(FromWindow(state.hwndCaret));
  json.Key("in_menu").Bool((state.flags & GUI_INMENUMODE) != 0);
  json.Key("popup_menu").Bool((state.flags & GUI_POPUPMENUMODE) != 0);
  json.Key("system_menu").Bool((state.flags & GUI_SYSTEMMENUMODE) != 0);
  json.Key("moving").Bool((state.flags & GUI_INMOVESIZE) != 0);
}

void Close(Session&, const Arguments& arguments, JsonWriter& json) {
  WriteDelivery(
      json, DeliverMessage(arguments.Window(0), WM_CLOSE, 0, 0, arguments.Milliseconds("wait", defaultDeliveryWaitMs)));
}

// Moves a window without the mouse, as a program placing it would; the size stays.
void Move(Session&, const Arguments& arguments, JsonWriter& json) {
  const HWND window = arguments.Window(0);
  if (!SetWindowPos(window, nullptr, static_cast<int>(arguments.Integer(1)), static_cast<int>(arguments.Integer(2)), 0, 0,
                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)) {
    throw CommandError(SystemError("SetWindowPos"));
  }
  json.Key("window");
  DescribeWindow(window, json);
}

void Resize(Session&, const Arguments& arguments, JsonWriter& json) {
  const HWND window = arguments.Window(0);
  if (!SetWindowPos(window, nullptr, 0, 0, static_cast<int>(arguments.Integer(1)), static_cast<int>(arguments.Integer(2)),
                    SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)) {
    throw CommandError(SystemError("SetWindowPos"));
  }
  json.Key("window");
  DescribeWindow(window, json);
}

std::vector<std::string_view> FilterKeysAnd(std::vector<std::string_view> extra) {
  return Keys({WindowFilter::Keys(), extra});
}

}  // namespace

void AddWindowCommands(CommandTable& table) {
  table.Add(
      {"windows", "windows [filters] -> windows: top-level windows in Z order", 0, 0, FilterKeysAnd({}), Windows});
  table.Add({"window", "window [filters] [index=n] [timeout=ms] -> window: the first top-level match, waiting for it",
             0, 0, FilterKeysAnd({"index", "timeout"}), Window});
  table.Add({"gone", "gone [filters] [timeout=ms] -> waits until no top-level window matches", 0, 0,
             FilterKeysAnd({"timeout"}), Gone});
  table.Add({"children", "children <hwnd> [filters] -> controls: every descendant", 1, 1, FilterKeysAnd({}), Children});
  table.Add({"child", "child <hwnd> [filters] [index=n] [timeout=ms] -> control: a matching descendant", 1, 1,
             FilterKeysAnd({"index", "timeout"}), Child});
  table.Add(
      {"info", "info <hwnd> -> window: class, text, id, rects, style, visible, enabled, checked", 1, 1, {}, Info});
  table.Add({"foreground",
             "foreground [hwnd] -> set, window: brings hwnd to the front, answers the foreground window",
             0,
             1,
             {},
             Foreground});
  table.Add({"gui_thread",
             "gui_thread <hwnd> -> focus, active, capture, menu_owner, in_menu, popup_menu of its thread",
             1,
             1,
             {},
             GuiThread});
  table.Add({"move", "move <hwnd> <x> <y> -> window: places it without the mouse, size kept", 3, 3, {}, Move});
  table.Add({"resize", "resize <hwnd> <width> <height> -> window: outer size, position kept", 3, 3, {}, Resize});
  table.Add({"close",
             "close <hwnd> [wait=ms] -> handled|modal|busy|closed: WM_CLOSE as from the close button",
             1,
             1,
             {"wait"},
             Close});
}

}  // namespace e2e
