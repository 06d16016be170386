#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace e2e {

// Any fault in what the test asked for; answered as {"ok":false,...} and the session goes on.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One input line: a command name, positional arguments and key=value arguments.
// A word is either bare (no spaces) or a JSON string literal, so any text can be
// passed: launch "Z:\\tmp\\墨舟.exe" cwd="Z:\\tmp"
struct Request {
  std::string name;
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> named;
};

Request ParseRequest(std::string_view line);

// Decimal, or hexadecimal after 0x; an optional leading minus.
long long ParseInteger(std::string_view text);

}  // namespace e2e
