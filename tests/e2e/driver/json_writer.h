#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// Builds one compact JSON line. Typed method names keep a string literal from
// silently becoming a bool.
class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view name);
  JsonWriter& String(std::string_view utf8);
  JsonWriter& String(std::wstring_view text);
  JsonWriter& Int(long long value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  const std::string& Text() const { return out_; }

 private:
  void BeforeValue();
  void Open(char bracket);
  void Close(char bracket);

  std::string out_;
  std::vector<bool> containerHasItems_;
  bool afterKey_ = false;
};

}  // namespace e2e
