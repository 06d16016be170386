#include "command_table.h"

#include <exception>

#include "utf16.h"

namespace e2e {
namespace {

void WriteError(JsonWriter& json, std::string_view message) {
  json.BeginObject().Key("ok").Bool(false).Key("error").String(message).EndObject();
}

std::string Plural(size_t count, std::string_view word) {
  return std::to_string(count) + " " + std::string(word) + (count == 1 ? "" : "s");
}

}  // namespace

const std::string& Arguments::Utf8(size_t index) const {
  if (index >= request_.positional.size()) {
    throw CommandError("argument " + std::to_string(index + 1) + " is missing");
  }
  return request_.positional[index];
}

std::wstring Arguments::Text(size_t index) const { return FromUtf8(Utf8(index)); }

long long Arguments::Integer(size_t index) const { return ParseInteger(Utf8(index)); }

HWND Arguments::Window(size_t index) const {
  const HWND window = ToWindow(Integer(index));
  if (!IsWindow(window)) throw CommandError("no such window: " + Utf8(index));
  return window;
}

const std::string* Arguments::Named(std::string_view key) const {
  for (const auto& [name, value] : request_.named) {
    if (name == key) return &value;
  }
  return nullptr;
}

bool Arguments::Has(std::string_view key) const { return Named(key) != nullptr; }

std::optional<std::wstring> Arguments::NamedText(std::string_view key) const {
  const std::string* value = Named(key);
  if (!value) return std::nullopt;
  return FromUtf8(*value);
}

std::optional<long long> Arguments::NamedInteger(std::string_view key) const {
  const std::string* value = Named(key);
  if (!value) return std::nullopt;
  return ParseInteger(*value);
}

long long Arguments::NamedInteger(std::string_view key, long long fallback) const {
  return NamedInteger(key).value_or(fallback);
}

std::optional<bool> Arguments::NamedFlag(std::string_view key) const {
  const std::string* value = Named(key);
  if (!value) return std::nullopt;
  if (*value == "1" || *value == "true" || *value == "yes") return true;
  if (*value == "0" || *value == "false" || *value == "no") return false;
  throw CommandError(std::string(key) + "= takes 1 or 0, not '" + *value + "'");
}

DWORD Arguments::Milliseconds(std::string_view key, DWORD fallback) const {
  const long long value = NamedInteger(key, fallback);
  if (value < 0) throw CommandError(std::string(key) + "= must not be negative");
  return static_cast<DWORD>(value);
}

std::vector<std::string_view> Keys(std::initializer_list<std::vector<std::string_view>> parts) {
  std::vector<std::string_view> keys;
  for (const auto& part : parts) keys.insert(keys.end(), part.begin(), part.end());
  return keys;
}

void CommandTable::Add(Command command) { commands_.push_back(std::move(command)); }

const Command* CommandTable::Find(std::string_view name) const {
  for (const Command& command : commands_) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

void CommandTable::Validate(const Command& command, const Request& request) {
  const size_t count = request.positional.size();
  if (count < command.minPositional || count > command.maxPositional) {
    throw CommandError(std::string(command.name) + " takes " +
                       (command.minPositional == command.maxPositional ? Plural(command.minPositional, "argument")
                                                                       : "other arguments") +
                       ", got " + std::to_string(count) + "; usage: " + std::string(command.usage));
  }
  for (const auto& [key, value] : request.named) {
    bool known = false;
    for (const std::string_view allowed : command.namedKeys) known = known || allowed == key;
    if (!known) {
      throw CommandError(std::string(command.name) + " has no argument " + key +
                         "=; usage: " + std::string(command.usage));
    }
  }
}

std::string CommandTable::Execute(Session& session, std::string_view line) const {
  JsonWriter json;
  try {
    Request request = ParseRequest(line);
    if (request.name == "help") {
      json.BeginObject().Key("ok").Bool(true).Key("commands").BeginArray();
      for (const Command& command : commands_) json.String(command.usage);
      json.EndArray().EndObject();
      return json.Text();
    }
    const Command* command = Find(request.name);
    if (!command) throw CommandError("unknown command '" + request.name + "' (help lists them)");
    Validate(*command, request);
    const Arguments arguments(std::move(request));
    json.BeginObject().Key("ok").Bool(true);
    command->run(session, arguments, json);
    json.EndObject();
    return json.Text();
  } catch (const std::exception& error) {
    JsonWriter failure;
    WriteError(failure, error.what());
    return failure.Text();
  }
}

std::string SystemError(std::string_view what) {
  const DWORD code = GetLastError();
  wchar_t* message = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::wstring text = length ? std::wstring(message, length) : std::wstring();
  if (message) LocalFree(message);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return std::string(what) + " failed (error " + std::to_string(code) + (text.empty() ? "" : ": " + ToUtf8(text)) + ")";
}

HWND ToWindow(long long value) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(value)); }

long long FromWindow(HWND window) { return static_cast<long long>(reinterpret_cast<UINT_PTR>(window)); }

}  // namespace e2e
