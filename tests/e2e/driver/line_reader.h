#pragma once

#include <windows.h>

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "win_handles.h"

namespace e2e {

// Reads standard input on its own thread, so that the main thread can wait for a
// line and for window messages at the same time.
class LineReader {
 public:
  LineReader();
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Signalled while lines (or the end of input) wait to be taken.
  HANDLE Ready() const { return ready_.Get(); }

  std::optional<std::string> Take();
  bool Ended();

 private:
  void Run();

  KernelHandle ready_;
  std::mutex mutex_;
  std::deque<std::string> lines_;
  bool ended_ = false;
  std::thread thread_;
};

}  // namespace e2e
