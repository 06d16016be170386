#include <algorithm>
#include <string>
#include <vector>

#include "commands.h"
#include "key_names.h"
#include "pump.h"

namespace e2e {
namespace {

constexpr DWORD defaultKeyDelayMs = 50;
constexpr long long normalizedExtent = 65536;
// The pointer reaches its place through the X server; on a busy machine GetCursorPos can still give
// the old place for a while.
constexpr DWORD cursorArrivalMs = 3000;

INPUT KeyInput(WORD virtualKey, bool release) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (release ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(virtualKey) ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

void Send(std::vector<INPUT>& inputs) {
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) throw CommandError(SystemError("SendInput"));
}

void Key(Session&, const Arguments& arguments, JsonWriter& json) {
  std::vector<KeyChord> chords;
  for (size_t i = 0; i < arguments.Count(); ++i) chords.push_back(ParseKeyChord(arguments.Utf8(i)));
  const DWORD delay = arguments.Milliseconds("delay", defaultKeyDelayMs);
  for (const KeyChord& chord : chords) {
    std::vector<INPUT> inputs;
    for (const WORD modifier : chord.modifiers) inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(chord.key, false));
    inputs.push_back(KeyInput(chord.key, true));
    for (auto modifier = chord.modifiers.rbegin(); modifier != chord.modifiers.rend(); ++modifier) {
      inputs.push_back(KeyInput(*modifier, true));
    }
    Send(inputs);
    PumpFor(delay);
  }
  json.Key("keys").Int(static_cast<long long>(chords.size()));
}

// Typed through the keyboard queue into whichever window has the focus.
void InputText(Session&, const Arguments& arguments, JsonWriter& json) {
  const std::wstring text = arguments.Text(0);
  std::vector<INPUT> inputs;
  for (const wchar_t unit : text) {
    for (const bool release : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = unit;
      input.ki.dwFlags = KEYEVENTF_UNICODE | (release ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  if (!inputs.empty()) Send(inputs);
  PumpFor(arguments.Milliseconds("delay", defaultKeyDelayMs));
  json.Key("typed").Int(static_cast<long long>(text.size()));
}

// Absolute input is scaled by 65536 over the virtual screen; aiming at the middle of
// the pixel lands on it whichever way the scaling rounds.
LONG Normalized(long long value, int origin, int extent) {
  return static_cast<LONG>(((2 * (value - origin) + 1) * normalizedExtent) / (2LL * extent));
}

INPUT MouseInput(const Arguments& arguments, DWORD buttonFlags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx =
      Normalized(arguments.Integer(0), GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN));
  input.mi.dy =
      Normalized(arguments.Integer(1), GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | buttonFlags;
  return input;
}

struct ButtonFlags {
  DWORD down;
  DWORD up;
};

ButtonFlags ButtonArgument(const Arguments& arguments) {
  const std::wstring button = arguments.NamedText("button").value_or(L"left");
  if (button == L"left") return {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  if (button == L"right") return {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
  if (button == L"middle") return {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP};
  throw CommandError("button= is left, right or middle");
}

void WriteCursor(JsonWriter& json) {
  POINT cursor{};
  GetCursorPos(&cursor);
  json.Key("x").Int(cursor.x).Key("y").Int(cursor.y);
}

// Where the pointer ends up: a point off the screen stops at its edge.
POINT OnScreen(long long x, long long y) {
  const long long left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const long long right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1;
  const long long bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1;
  return {static_cast<LONG>(std::clamp(x, left, right)), static_cast<LONG>(std::clamp(y, top, bottom))};
}

void SendMouse(const Arguments& arguments, std::vector<DWORD> buttonFlags, JsonWriter& json) {
  std::vector<INPUT> inputs;
  for (const DWORD flags : buttonFlags) inputs.push_back(MouseInput(arguments, flags));
  Send(inputs);
  const POINT target = OnScreen(arguments.Integer(0), arguments.Integer(1));
  PumpUntil(
      [&] {
        POINT cursor{};
        return GetCursorPos(&cursor) && cursor.x == target.x && cursor.y == target.y;
      },
      cursorArrivalMs);
  PumpFor(arguments.Milliseconds("delay", defaultKeyDelayMs));
  WriteCursor(json);
}

void MouseMove(Session&, const Arguments& arguments, JsonWriter& json) { SendMouse(arguments, {0}, json); }

void MouseClick(Session&, const Arguments& arguments, JsonWriter& json) {
  const ButtonFlags button = ButtonArgument(arguments);
  const long long count = arguments.NamedInteger("count", 1);
  if (count < 1) throw CommandError("count= is at least 1");
  std::vector<DWORD> flags{0};
  for (long long i = 0; i < count; ++i) {
    flags.push_back(button.down);
    flags.push_back(button.up);
  }
  SendMouse(arguments, flags, json);
}

void MouseDown(Session&, const Arguments& arguments, JsonWriter& json) {
  SendMouse(arguments, {ButtonArgument(arguments).down}, json);
}

void MouseUp(Session&, const Arguments& arguments, JsonWriter& json) {
  SendMouse(arguments, {ButtonArgument(arguments).up}, json);
}

void Cursor(Session&, const Arguments&, JsonWriter& json) { WriteCursor(json); }

void SetCursor(Session&, const Arguments& arguments, JsonWriter& json) {
  if (!SetCursorPos(static_cast<int>(arguments.Integer(0)), static_cast<int>(arguments.Integer(1)))) {
    throw CommandError(SystemError("SetCursorPos"));
  }
  WriteCursor(json);
}

}  // namespace

void AddInputCommands(CommandTable& table) {
  table.Add({"key",
             "key <key>... [delay=ms]: real key presses to the foreground window, e.g. key F10 Down Enter Alt+F4",
             1,
             anyCount,
             {"delay"},
             Key});
  table.Add({"input_text",
             "input_text <text> [delay=ms]: types through the keyboard into the focused control",
             1,
             1,
             {"delay"},
             InputText});
  table.Add({"mouse_move",
             "mouse_move <x> <y> [delay=ms] -> x, y: moves the real pointer (screen coordinates)",
             2,
             2,
             {"delay"},
             MouseMove});
  table.Add({"mouse_click",
             "mouse_click <x> <y> [button=left|right|middle] [count=n] [delay=ms] -> x, y",
             2,
             2,
             {"button", "count", "delay"},
             MouseClick});
  table.Add({"mouse_down", "mouse_down <x> <y> [button=...] [delay=ms] -> x, y", 2, 2, {"button", "delay"}, MouseDown});
  table.Add({"mouse_up", "mouse_up <x> <y> [button=...] [delay=ms] -> x, y", 2, 2, {"button", "delay"}, MouseUp});
  table.Add({"cursor", "cursor -> x, y", 0, 0, {}, Cursor});
  table.Add({"set_cursor", "set_cursor <x> <y> -> x, y (SetCursorPos, no mouse message)", 2, 2, {}, SetCursor});
}

}  // namespace e2e
