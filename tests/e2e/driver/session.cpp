#include "session.h"

#include <string>

#include "command_table.h"

namespace e2e {
namespace {

constexpr wchar_t ownerClassName[] = L"E2EDriverClipboardOwner";
constexpr UINT leftoverExitCode = 1;
constexpr DWORD leftoverWaitMs = 5000;

ATOM RegisterOwnerClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = ownerClassName;
  return RegisterClassExW(&windowClass);
}

}  // namespace

Session::Session() {
  RegisterOwnerClass();
  clipboardOwner_ = WindowHandle(CreateWindowExW(0, ownerClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                 GetModuleHandleW(nullptr), nullptr));
}

// A test that failed half-way must not leave its program running into the next one.
Session::~Session() {
  for (auto& [pid, process] : processes_) {
    if (WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process.Get(), leftoverExitCode);
      WaitForSingleObject(process.Get(), leftoverWaitMs);
    }
  }
}

DWORD Session::Launch(std::wstring commandLine, const wchar_t* workingDirectory) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION created{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, workingDirectory, &startup,
                      &created)) {
    throw CommandError(SystemError("CreateProcess"));
  }
  const KernelHandle thread(created.hThread);
  processes_[created.dwProcessId] = KernelHandle(created.hProcess);
  return created.dwProcessId;
}

HANDLE Session::Process(DWORD pid) const {
  const auto found = processes_.find(pid);
  if (found == processes_.end()) {
    throw CommandError("process " + std::to_string(pid) + " was not launched by this driver");
  }
  return found->second.Get();
}

void Session::Forget(DWORD pid) { processes_.erase(pid); }

}  // namespace e2e
