#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "json_writer.h"
#include "request.h"

namespace e2e {

class Session;

// Typed access to one request's arguments; every fault becomes a CommandError.
class Arguments {
 public:
  explicit Arguments(Request request) : request_(std::move(request)) {}

  size_t Count() const { return request_.positional.size(); }
  const std::string& Utf8(size_t index) const;
  std::wstring Text(size_t index) const;
  long long Integer(size_t index) const;
  HWND Window(size_t index) const;

  bool Has(std::string_view key) const;
  std::optional<std::wstring> NamedText(std::string_view key) const;
  std::optional<long long> NamedInteger(std::string_view key) const;
  long long NamedInteger(std::string_view key, long long fallback) const;
  std::optional<bool> NamedFlag(std::string_view key) const;
  DWORD Milliseconds(std::string_view key, DWORD fallback) const;

  const Request& Raw() const { return request_; }

 private:
  const std::string* Named(std::string_view key) const;

  Request request_;
};

// Handlers write their fields into the reply object that already holds "ok":true.
using Handler = void (*)(Session&, const Arguments&, JsonWriter&);

struct Command {
  std::string_view name;
  std::string_view usage;
  size_t minPositional;
  size_t maxPositional;
  std::vector<std::string_view> namedKeys;
  Handler run;
};

inline constexpr size_t anyCount = static_cast<size_t>(-1);

// Joins key lists for commands that share a set of keys (the window filters).
std::vector<std::string_view> Keys(std::initializer_list<std::vector<std::string_view>> parts);

class CommandTable {
 public:
  void Add(Command command);
  // One JSON line (without its newline) answering the request line.
  std::string Execute(Session& session, std::string_view line) const;
  const std::vector<Command>& All() const { return commands_; }

 private:
  const Command* Find(std::string_view name) const;
  static void Validate(const Command& command, const Request& request);

  std::vector<Command> commands_;
};

// "what failed (error 5: Access is denied.)" for the calling thread's last error.
std::string SystemError(std::string_view what);

HWND ToWindow(long long value);
long long FromWindow(HWND window);

}  // namespace e2e
