#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "win_handles.h"

namespace e2e {

// What lives for the whole test session: the processes the tests launched and the
// hidden window that owns whatever the driver puts on the clipboard.
class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  DWORD Launch(std::wstring commandLine, const wchar_t* workingDirectory);
  // Only processes started by Launch; others are refused.
  HANDLE Process(DWORD pid) const;
  void Forget(DWORD pid);
  const std::map<DWORD, KernelHandle>& Processes() const { return processes_; }

  HWND ClipboardOwner() const { return clipboardOwner_.Get(); }

  bool QuitRequested() const { return quitRequested_; }
  void RequestQuit() { quitRequested_ = true; }

 private:
  std::map<DWORD, KernelHandle> processes_;
  WindowHandle clipboardOwner_;
  bool quitRequested_ = false;
};

}  // namespace e2e
