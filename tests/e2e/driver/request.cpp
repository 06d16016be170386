#include "request.h"

#include <cctype>
#include <charconv>

#include "utf16.h"

namespace e2e {
namespace {

constexpr int hexBase = 16;
constexpr int decimalBase = 10;
constexpr char32_t highSurrogateFirst = 0xD800;
constexpr char32_t lowSurrogateFirst = 0xDC00;
constexpr char32_t lowSurrogateEnd = 0xE000;
constexpr char32_t supplementaryFirst = 0x10000;
constexpr int surrogateBits = 10;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsKeyCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

class Scanner {
 public:
  explicit Scanner(std::string_view line) : line_(line) {}

  bool AtEnd() {
    while (pos_ < line_.size() && IsSpace(line_[pos_])) ++pos_;
    return pos_ >= line_.size();
  }

  bool NextIsQuote() const { return pos_ < line_.size() && line_[pos_] == '"'; }

  std::string BareWord() {
    const size_t start = pos_;
    while (pos_ < line_.size() && !IsSpace(line_[pos_])) ++pos_;
    return std::string(line_.substr(start, pos_ - start));
  }

  // The key of a key=value word, or empty when the word is positional.
  std::string KeyIfAny() {
    size_t end = pos_;
    while (end < line_.size() && IsKeyCharacter(line_[end])) ++end;
    if (end == pos_ || end >= line_.size() || line_[end] != '=') return {};
    std::string key(line_.substr(pos_, end - pos_));
    pos_ = end + 1;
    return key;
  }

  std::string Value() {
    if (!NextIsQuote()) return BareWord();
    std::string value = QuotedString();
    if (pos_ < line_.size() && !IsSpace(line_[pos_])) {
      throw CommandError("text continues after a closing quote at column " + std::to_string(pos_ + 1));
    }
    return value;
  }

 private:
  std::string QuotedString() {
    ++pos_;
    std::string out;
    while (true) {
      if (pos_ >= line_.size()) throw CommandError("unterminated quoted string");
      const char c = line_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= line_.size()) throw CommandError("unterminated escape in quoted string");
      const char escape = line_[pos_++];
      switch (escape) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': AppendUtf8(out, UnicodeEscape()); break;
        default: throw CommandError(std::string("unknown escape \\") + escape);
      }
    }
  }

  char32_t HexUnit() {
    if (pos_ + 4 > line_.size()) throw CommandError("short \\u escape");
    unsigned value = 0;
    const char* first = line_.data() + pos_;
    const auto [end, error] = std::from_chars(first, first + 4, value, hexBase);
    if (error != std::errc() || end != first + 4) throw CommandError("bad \\u escape");
    pos_ += 4;
    return value;
  }

  char32_t UnicodeEscape() {
    const char32_t unit = HexUnit();
    if (unit < highSurrogateFirst || unit >= lowSurrogateEnd) return unit;
    if (unit >= lowSurrogateFirst) throw CommandError("lone low surrogate in \\u escape");
    if (line_.substr(pos_, 2) != "\\u") throw CommandError("high surrogate without its low half");
    pos_ += 2;
    const char32_t low = HexUnit();
    if (low < lowSurrogateFirst || low >= lowSurrogateEnd) throw CommandError("high surrogate without its low half");
    return supplementaryFirst + ((unit - highSurrogateFirst) << surrogateBits) + (low - lowSurrogateFirst);
  }

  std::string_view line_;
  size_t pos_ = 0;
};

}  // namespace

Request ParseRequest(std::string_view line) {
  Scanner scanner(line);
  Request request;
  if (scanner.AtEnd()) throw CommandError("empty command");
  if (scanner.NextIsQuote()) throw CommandError("a command name is a bare word");
  request.name = scanner.BareWord();
  while (!scanner.AtEnd()) {
    if (scanner.NextIsQuote()) {
      request.positional.push_back(scanner.Value());
      continue;
    }
    std::string key = scanner.KeyIfAny();
    if (key.empty()) {
      request.positional.push_back(scanner.BareWord());
      continue;
    }
    for (const auto& [existing, value] : request.named) {
      if (existing == key) throw CommandError("argument " + key + "= given twice");
    }
    request.named.emplace_back(std::move(key), scanner.Value());
  }
  return request;
}

long long ParseInteger(std::string_view text) {
  std::string_view digits = text;
  const bool negative = !digits.empty() && digits.front() == '-';
  if (negative) digits.remove_prefix(1);
  int base = decimalBase;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = hexBase;
    digits.remove_prefix(2);
  }
  unsigned long long value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    throw CommandError("not an integer: '" + std::string(text) + "'");
  }
  const auto signedValue = static_cast<long long>(value);
  return negative ? -signedValue : signedValue;
}

}  // namespace e2e
