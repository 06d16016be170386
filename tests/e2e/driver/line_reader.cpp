#include "line_reader.h"

#include <array>

namespace e2e {
namespace {

constexpr DWORD readChunkBytes = 4096;

}  // namespace

LineReader::LineReader() : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this] { Run(); }) {}

// Blocked in ReadFile on a pipe the thread cannot be woken, and the process is about
// to end anyway; the operating system reclaims it.
LineReader::~LineReader() { thread_.detach(); }

std::optional<std::string> LineReader::Take() {
  std::lock_guard lock(mutex_);
  if (lines_.empty()) {
    if (!ended_) ResetEvent(ready_.Get());
    return std::nullopt;
  }
  std::string line = std::move(lines_.front());
  lines_.pop_front();
  return line;
}

bool LineReader::Ended() {
  std::lock_guard lock(mutex_);
  return ended_ && lines_.empty();
}

void LineReader::Run() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  std::array<char, readChunkBytes> chunk{};
  while (true) {
    DWORD count = 0;
    if (!ReadFile(input, chunk.data(), readChunkBytes, &count, nullptr) || count == 0) break;
    pending.append(chunk.data(), count);
    size_t newline = 0;
    while ((newline = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::lock_guard lock(mutex_);
      lines_.push_back(std::move(line));
      SetEvent(ready_.Get());
    }
  }
  std::lock_guard lock(mutex_);
  if (!pending.empty()) lines_.push_back(std::move(pending));
  ended_ = true;
  SetEvent(ready_.Get());
}

}  // namespace e2e
