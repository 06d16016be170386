#pragma once

#include <windows.h>

#include <exception>
#include <utility>

namespace e2e {

// Owns one handle that is released by a single function; each handle kind is its own type.
template <typename Handle, auto Free>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { Reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, Handle{});
    }
    return *this;
  }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  Handle Release() { return std::exchange(handle_, Handle{}); }
  void Reset() {
    if (handle_ != Handle{}) Free(handle_);
    handle_ = Handle{};
  }

 private:
  Handle handle_{};
};

// Processes, threads, events and files. INVALID_HANDLE_VALUE is turned into an empty one by OwnFile.
using KernelHandle = Owned<HANDLE, &CloseHandle>;
using MemoryDc = Owned<HDC, &DeleteDC>;
using GdiBitmap = Owned<HBITMAP, &DeleteObject>;
using WindowHandle = Owned<HWND, &DestroyWindow>;
using GlobalMemory = Owned<HGLOBAL, &GlobalFree>;

inline KernelHandle OwnFile(HANDLE file) { return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file); }

// A device context borrowed from a window (or the whole screen) with GetDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Puts an object into a DC and takes it out again.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Keeps a moveable global block locked while its bytes are used.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL memory) : memory_(memory), data_(GlobalLock(memory)) {}
  ~GlobalLockGuard() {
    if (data_) GlobalUnlock(memory_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  void* Data() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

// The clipboard is one lock for the whole desktop; hold it for as short as possible.
class OpenedClipboard {
 public:
  OpenedClipboard() = default;
  explicit OpenedClipboard(bool opened) : opened_(opened) {}
  ~OpenedClipboard() {
    if (opened_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  explicit operator bool() const { return opened_; }

 private:
  bool opened_ = false;
};

// Memory committed inside another process, so that messages which take a pointer
// (status bar texts) have somewhere to write that the target can reach.
// Left allocated when an error unwinds past it: the program may still be about to write into it (a
// message that timed out, a thread that did not finish), and freeing it would crash the program.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, SIZE_T bytes)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
        unwinding_(std::uncaught_exceptions()) {}
  ~RemoteMemory() {
    if (address_ && std::uncaught_exceptions() == unwinding_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  void* Address() const { return address_; }
  explicit operator bool() const { return address_ != nullptr; }

 private:
  HANDLE process_;
  void* address_;
  int unwinding_;
};

}  // namespace e2e
