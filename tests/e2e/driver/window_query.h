#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_table.h"
#include "json_writer.h"

namespace e2e {

// How long a window may take to answer a message before it counts as hung; a program on a busy
// machine can take seconds.
inline constexpr DWORD answerTimeoutMs = 5000;

std::wstring ClassName(HWND window);
// Class names compare without regard to case, as Windows compares them.
bool HasClass(HWND window, std::wstring_view className);
DWORD ProcessOf(HWND window);
bool IsTopLevel(HWND window);
bool IsCheckable(HWND window);

// The text a user sees: a top-level window's title without sending it anything, a
// control's content through WM_GETTEXT (an edit box keeps its text to itself).
// Empty when the owner does not answer in time.
std::optional<std::wstring> WindowText(HWND window);

// Writes the window's description as one JSON object.
void DescribeWindow(HWND window, JsonWriter& json);

// Top-level windows in Z order, and every descendant of a window in creation order.
std::vector<HWND> TopLevelWindows();
std::vector<HWND> Descendants(HWND parent);

// Selects windows by what the test knows of them; all given conditions must hold.
class WindowFilter {
 public:
  static const std::vector<std::string_view>& Keys();
  static WindowFilter FromArguments(const Arguments& arguments);

  bool Matches(HWND window) const;
  std::vector<HWND> Select(const std::vector<HWND>& candidates) const;
  std::string Describe() const;

 private:
  std::optional<std::wstring> text_;
  std::optional<std::wstring> prefix_;
  std::optional<std::wstring> contains_;
  std::optional<std::wstring> caption_;
  std::optional<std::wstring> className_;
  std::optional<DWORD> pid_;
  std::optional<int> id_;
  std::optional<HWND> window_;
  std::optional<bool> visible_;
  std::optional<bool> enabled_;
  std::string description_;
};

}  // namespace e2e
