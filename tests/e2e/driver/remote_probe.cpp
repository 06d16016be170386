#include "remote_probe.h"

#include <tlhelp32.h>

#include <optional>
#include <string>

#include "command_table.h"
#include "pump.h"
#include "utf16.h"
#include "win_handles.h"

namespace e2e {
namespace {

constexpr DWORD probeAccess =
    PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ;
// For the whole request: loading the probe and running it. Starting a thread in another process
// waits for that process under Wine, which a busy machine makes slow.
constexpr DWORD probeBudgetMs = 15000;
constexpr DWORD pathCapacity = 32768;

std::wstring FileName(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring ModulePath(HMODULE module) {
  std::wstring path(pathCapacity, L'\0');
  path.resize(GetModuleFileNameW(module, path.data(), pathCapacity));
  return path;
}

std::wstring ProbePath() {
  const std::wstring driver = ModulePath(nullptr);
  return driver.substr(0, driver.size() - FileName(driver).size()) + probe::dllName;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::optional<BYTE*> RemoteModuleBase(DWORD pid, const std::wstring& name) {
  const KernelHandle snapshot = OwnFile(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, pid));
  if (!snapshot) throw CommandError(SystemError("listing the modules of process " + std::to_string(pid)));
  MODULEENTRY32W module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32FirstW(snapshot.Get(), &module); more; more = Module32NextW(snapshot.Get(), &module)) {
    if (SameName(module.szModule, name)) return module.modBaseAddr;
  }
  return std::nullopt;
}

// The same function in the other process: same module, same offset.
void* RemoteAddress(DWORD pid, const void* local) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCWSTR>(local), &module)) {
    throw CommandError(SystemError("GetModuleHandleEx"));
  }
  const std::wstring name = FileName(ModulePath(module));
  const std::optional<BYTE*> base = RemoteModuleBase(pid, name);
  if (!base) throw CommandError("process " + std::to_string(pid) + " has no " + ToUtf8(name));
  return *base + (static_cast<const BYTE*>(local) - reinterpret_cast<const BYTE*>(module));
}

void RunRemoteThread(HANDLE process, void* function, void* argument, const char* what, const Deadline& deadline) {
  const KernelHandle thread(CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(function),
                                               argument, 0, nullptr));
  if (!thread) throw CommandError(SystemError(std::string("starting ") + what + " in the program"));
  if (!WaitPumping(thread.Get(), deadline.Remaining())) throw CommandError(std::string(what) + " did not finish");
}

void Write(HANDLE process, void* remote, const void* local, size_t size) {
  SIZE_T written = 0;
  if (!WriteProcessMemory(process, remote, local, size, &written) || written != size) {
    throw CommandError(SystemError("WriteProcessMemory"));
  }
}

struct LocalProbe {
  HMODULE module;
  const void* entry;
};

LocalProbe LoadLocally(const std::wstring& path) {
  static const HMODULE module = LoadLibraryW(path.c_str());
  if (!module) throw CommandError(SystemError("loading " + ToUtf8(path)));
  const auto entry = reinterpret_cast<const void*>(GetProcAddress(module, probe::entryName));
  if (!entry) throw CommandError(SystemError("finding the probe's entry"));
  return {module, entry};
}

BYTE* EnsureLoaded(DWORD pid, HANDLE process, const std::wstring& path, const Deadline& deadline) {
  if (const std::optional<BYTE*> base = RemoteModuleBase(pid, probe::dllName)) return *base;
  const size_t bytes = (path.size() + 1) * sizeof(wchar_t);
  const RemoteMemory remotePath(process, bytes);
  if (!remotePath) throw CommandError(SystemError("VirtualAllocEx"));
  Write(process, remotePath.Address(), path.c_str(), bytes);
  const auto loadLibrary =
      reinterpret_cast<const void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW"));
  RunRemoteThread(process, RemoteAddress(pid, loadLibrary), remotePath.Address(), "loading the probe", deadline);
  const std::optional<BYTE*> base = RemoteModuleBase(pid, probe::dllName);
  if (!base) throw CommandError("the program did not load " + ToUtf8(path));
  return *base;
}

}  // namespace

void RunProbe(DWORD pid, probe::Request& request) {
  const std::wstring path = ProbePath();
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    throw CommandError(ToUtf8(path) + " is missing; it is built beside the driver");
  }
  const Deadline deadline(probeBudgetMs);
  const LocalProbe local = LoadLocally(path);
  const KernelHandle process(OpenProcess(probeAccess, FALSE, pid));
  if (!process) throw CommandError(SystemError("OpenProcess"));
  BYTE* const remoteBase = EnsureLoaded(pid, process.Get(), path, deadline);
  void* const remoteEntry =
      remoteBase + (static_cast<const BYTE*>(local.entry) - reinterpret_cast<const BYTE*>(local.module));

  const RemoteMemory block(process.Get(), sizeof(probe::Request));
  if (!block) throw CommandError(SystemError("VirtualAllocEx"));
  Write(process.Get(), block.Address(), &request, sizeof request);
  RunRemoteThread(process.Get(), remoteEntry, block.Address(), "the probe", deadline);
  SIZE_T read = 0;
  if (!ReadProcessMemory(process.Get(), block.Address(), &request, sizeof request, &read)) {
    throw CommandError(SystemError("ReadProcessMemory"));
  }
  if (request.status != probe::Status::Done) throw CommandError("the probe could not carry out the request");
}

}  // namespace e2e
