#include "pump.h"

namespace e2e {

Deadline::Deadline(DWORD milliseconds) : end_(GetTickCount64() + milliseconds) {}

DWORD Deadline::Remaining() const {
  const ULONGLONG now = GetTickCount64();
  return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
}

void PumpPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool WaitPumping(HANDLE handle, DWORD milliseconds) {
  const Deadline deadline(milliseconds);
  const DWORD handleCount = handle ? 1 : 0;
  while (true) {
    PumpPendingMessages();
    const DWORD result = MsgWaitForMultipleObjects(handleCount, &handle, FALSE, deadline.Remaining(), QS_ALLINPUT);
    if (handleCount && result == WAIT_OBJECT_0) return true;
    if (result == WAIT_TIMEOUT || result == WAIT_FAILED) {
      PumpPendingMessages();
      return false;
    }
    if (deadline.Passed()) {
      PumpPendingMessages();
      return false;
    }
  }
}

void PumpFor(DWORD milliseconds) { WaitPumping(nullptr, milliseconds); }

}  // namespace e2e
