#pragma once

#include <windows.h>

namespace e2e {

// The driver owns a window (the clipboard owner) and receives SendMessageCallback
// results, so every wait keeps messages flowing instead of sleeping.
class Deadline {
 public:
  explicit Deadline(DWORD milliseconds);
  DWORD Remaining() const;
  bool Passed() const { return Remaining() == 0; }

 private:
  ULONGLONG end_;
};

void PumpPendingMessages();
void PumpFor(DWORD milliseconds);

// True when the handle was signalled before the time ran out.
bool WaitPumping(HANDLE handle, DWORD milliseconds);

inline constexpr DWORD pollIntervalMs = 25;

template <typename Condition>
bool PumpUntil(Condition done, DWORD milliseconds) {
  const Deadline deadline(milliseconds);
  while (true) {
    if (done()) return true;
    const DWORD remaining = deadline.Remaining();
    if (remaining == 0) return false;
    PumpFor(remaining < pollIntervalMs ? remaining : pollIntervalMs);
  }
}

}  // namespace e2e
