#include "key_names.h"

#include <array>
#include <cctype>
#include <string>

#include "request.h"

namespace e2e {
namespace {

struct KeyName {
  std::string_view name;
  WORD key;
};

constexpr std::array namedKeys{
    KeyName{"enter", VK_RETURN},    KeyName{"return", VK_RETURN}, KeyName{"escape", VK_ESCAPE},
    KeyName{"esc", VK_ESCAPE},      KeyName{"tab", VK_TAB},       KeyName{"space", VK_SPACE},
    KeyName{"backspace", VK_BACK},  KeyName{"delete", VK_DELETE}, KeyName{"del", VK_DELETE},
    KeyName{"insert", VK_INSERT},   KeyName{"home", VK_HOME},     KeyName{"end", VK_END},
    KeyName{"pageup", VK_PRIOR},    KeyName{"pagedown", VK_NEXT}, KeyName{"up", VK_UP},
    KeyName{"down", VK_DOWN},       KeyName{"left", VK_LEFT},     KeyName{"right", VK_RIGHT},
    KeyName{"apps", VK_APPS},       KeyName{"menu", VK_APPS},     KeyName{"ctrl", VK_CONTROL},
    KeyName{"control", VK_CONTROL}, KeyName{"alt", VK_MENU},      KeyName{"shift", VK_SHIFT},
    KeyName{"win", VK_LWIN},
};

constexpr std::array modifierKeys{
    KeyName{"ctrl", VK_CONTROL}, KeyName{"control", VK_CONTROL}, KeyName{"alt", VK_MENU},
    KeyName{"shift", VK_SHIFT},  KeyName{"win", VK_LWIN},
};

constexpr int functionKeyCount = 24;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

WORD KeyFromName(std::string_view keys) {
  const std::string name = Lower(keys);
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
  }
  for (const KeyName& candidate : namedKeys) {
    if (candidate.name == name) return candidate.key;
  }
  if (name.size() >= 2 && name[0] == 'f') {
    try {
      const long long number = ParseInteger(name.substr(1));
      if (number >= 1 && number <= functionKeyCount) return static_cast<WORD>(VK_F1 + number - 1);
    } catch (const CommandError&) {
    }
  }
  throw CommandError("unknown key '" + std::string(keys) + "'");
}

WORD ModifierFromName(std::string_view keys) {
  const std::string name = Lower(keys);
  for (const KeyName& candidate : modifierKeys) {
    if (candidate.name == name) return candidate.key;
  }
  throw CommandError("unknown modifier '" + std::string(keys) + "' (Ctrl, Alt, Shift, Win)");
}

}  // namespace

KeyChord ParseKeyChord(std::string_view keys) {
  KeyChord chord{};
  size_t plus = 0;
  while ((plus = keys.find('+')) != std::string_view::npos && plus + 1 < keys.size()) {
    chord.modifiers.push_back(ModifierFromName(keys.substr(0, plus)));
    keys.remove_prefix(plus + 1);
  }
  chord.key = KeyFromName(keys);
  return chord;
}

bool IsExtendedKey(WORD virtualKey) {
  switch (virtualKey) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_APPS:
    case VK_LWIN: return true;
    default: return false;
  }
}

}  // namespace e2e
