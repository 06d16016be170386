#include "window_query.h"

#include <array>

#include "caption.h"

namespace e2e {
namespace {

constexpr int classNameCapacity = 256;
constexpr int titleCapacity = 4096;

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::optional<std::wstring> SentText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, answerTimeoutMs, &length)) {
    return std::nullopt;
  }
  std::wstring buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                           answerTimeoutMs, &copied)) {
    return std::nullopt;
  }
  buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
  return buffer;
}

std::wstring TitleText(HWND window) {
  std::wstring buffer(titleCapacity, L'\0');
  const int length = InternalGetWindowText(window, buffer.data(), titleCapacity);
  buffer.resize(length > 0 ? length : 0);
  return buffer;
}

void WriteRect(JsonWriter& json, std::string_view key, const RECT& rect) {
  json.Key(key).BeginArray().Int(rect.left).Int(rect.top).Int(rect.right).Int(rect.bottom).EndArray();
}

RECT ClientRectOnScreen(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return client;
}

// The outer rectangle in the client coordinates of the parent, as a layout table gives it.
RECT RectInParent(HWND window, const RECT& onScreen) {
  RECT rect = onScreen;
  const HWND parent = GetAncestor(window, GA_PARENT);
  if (parent && parent != GetDesktopWindow()) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::optional<LRESULT> CheckState(HWND window) {
  DWORD_PTR state = 0;
  if (!SendMessageTimeoutW(window, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, answerTimeoutMs, &state)) return std::nullopt;
  return static_cast<LRESULT>(state);
}

std::string_view ButtonKind(LONG style) {
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON: return "push";
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return "check";
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return "radio";
    case BS_GROUPBOX: return "group";
    default: return "other";
  }
}

bool IsButton(HWND window) { return HasClass(window, L"Button"); }

}  // namespace

std::wstring ClassName(HWND window) {
  std::array<wchar_t, classNameCapacity> buffer{};
  const int length = GetClassNameW(window, buffer.data(), classNameCapacity);
  return std::wstring(buffer.data(), length > 0 ? length : 0);
}

bool HasClass(HWND window, std::wstring_view className) { return EqualsIgnoringCase(ClassName(window), className); }

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

bool IsTopLevel(HWND window) {
  const HWND parent = GetAncestor(window, GA_PARENT);
  return !parent || parent == GetDesktopWindow();
}

bool IsCheckable(HWND window) {
  if (!IsButton(window)) return false;
  const std::string_view kind = ButtonKind(GetWindowLongW(window, GWL_STYLE));
  return kind == "check" || kind == "radio";
}

std::optional<std::wstring> WindowText(HWND window) {
  if (IsTopLevel(window)) return TitleText(window);
  return SentText(window);
}

void DescribeWindow(HWND window, JsonWriter& json) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  const bool topLevel = IsTopLevel(window);
  json.BeginObject();
  json.Key("hwnd").Int(FromWindow(window));
  json.Key("class").String(ClassName(window));
  const std::optional<std::wstring> text = WindowText(window);
  json.Key("text");
  if (text)
    json.String(*text);
  else
    json.Null();
  if (!text) json.Key("hung").Bool(true);
  if (!topLevel) json.Key("id").Int(GetDlgCtrlID(window));
  json.Key("pid").Int(ProcessOf(window));
  json.Key("parent").Int(topLevel ? 0 : FromWindow(GetAncestor(window, GA_PARENT)));
  json.Key("owner").Int(FromWindow(GetWindow(window, GW_OWNER)));
  json.Key("style").Int(static_cast<unsigned long>(style));
  json.Key("exstyle").Int(static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)));
  json.Key("visible").Bool(IsWindowVisible(window) != FALSE);
  json.Key("enabled").Bool(IsWindowEnabled(window) != FALSE);
  WriteRect(json, "rect", rect);
  WriteRect(json, "client", ClientRectOnScreen(window));
  WriteRect(json, "rect_in_parent", RectInParent(window, rect));
  if (IsButton(window)) {
    json.Key("button").String(ButtonKind(style));
    if (IsCheckable(window)) {
      const std::optional<LRESULT> state = CheckState(window);
      json.Key("checked");
      if (state)
        json.Int(*state);
      else
        json.Null();
    }
  }
  json.EndObject();
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

const std::vector<std::string_view>& WindowFilter::Keys() {
  static const std::vector<std::string_view> keys{"text", "prefix", "contains", "caption", "class",
                                                  "pid",  "id",     "hwnd",     "visible", "enabled"};
  return keys;
}

WindowFilter WindowFilter::FromArguments(const Arguments& arguments) {
  WindowFilter filter;
  filter.text_ = arguments.NamedText("text");
  filter.prefix_ = arguments.NamedText("prefix");
  filter.contains_ = arguments.NamedText("contains");
  filter.caption_ = arguments.NamedText("caption");
  filter.className_ = arguments.NamedText("class");
  if (const auto pid = arguments.NamedInteger("pid")) filter.pid_ = static_cast<DWORD>(*pid);
  if (const auto id = arguments.NamedInteger("id")) filter.id_ = static_cast<int>(*id);
  if (const auto window = arguments.NamedInteger("hwnd")) filter.window_ = ToWindow(*window);
  filter.visible_ = arguments.NamedFlag("visible");
  filter.enabled_ = arguments.NamedFlag("enabled");
  for (const std::string_view key : Keys()) {
    for (const auto& [name, value] : arguments.Raw().named) {
      if (name == key) filter.description_ += (filter.description_.empty() ? "" : " ") + name + "=" + value;
    }
  }
  return filter;
}

bool WindowFilter::Matches(HWND window) const {
  if (window_ && window != *window_) return false;
  if (pid_ && ProcessOf(window) != *pid_) return false;
  if (id_ && (IsTopLevel(window) || GetDlgCtrlID(window) != *id_)) return false;
  if (className_ && !EqualsIgnoringCase(ClassName(window), *className_)) return false;
  if (visible_ && (IsWindowVisible(window) != FALSE) != *visible_) return false;
  if (enabled_ && (IsWindowEnabled(window) != FALSE) != *enabled_) return false;
  if (!text_ && !prefix_ && !contains_ && !caption_) return true;
  const std::optional<std::wstring> text = WindowText(window);
  if (!text) return false;
  if (text_ && *text != *text_) return false;
  if (prefix_ && text->compare(0, prefix_->size(), *prefix_) != 0) return false;
  if (contains_ && text->find(*contains_) == std::wstring::npos) return false;
  if (caption_ && !CaptionMatches(*text, *caption_)) return false;
  return true;
}

std::vector<HWND> WindowFilter::Select(const std::vector<HWND>& candidates) const {
  std::vector<HWND> selected;
  for (const HWND window : candidates) {
    if (IsWindow(window) && Matches(window)) selected.push_back(window);
  }
  return selected;
}

std::string WindowFilter::Describe() const { return description_.empty() ? "any window" : description_; }

}  // namespace e2e
