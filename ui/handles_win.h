// Owning wrappers for Windows handles: one type per way of releasing, non-copyable, movable.
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

namespace ui {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }
    Handle release() { return std::exchange(handle_, Traits::invalid()); }
    void reset(Handle handle = Traits::invalid()) {
        Handle old = std::exchange(handle_, handle);
        if (Traits::IsValid(old)) Traits::Close(old);
    }

private:
    Handle handle_ = Traits::invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};

// CreateFile reports failure as INVALID_HANDLE_VALUE, everything else as null; both count as empty.
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// Handles that are empty when null, released by one function.
template <typename H, auto close>
struct NullableTraits {
    using Handle = H;
    static Handle invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { close(h); }
};

inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }

using Font = UniqueHandle<NullableTraits<HFONT, DeleteGdiObject>>;
using Brush = UniqueHandle<NullableTraits<HBRUSH, DeleteGdiObject>>;
using Pen = UniqueHandle<NullableTraits<HPEN, DeleteGdiObject>>;
using Bitmap = UniqueHandle<NullableTraits<HBITMAP, DeleteGdiObject>>;
using Icon = UniqueHandle<NullableTraits<HICON, DestroyIcon>>;
using Menu = UniqueHandle<NullableTraits<HMENU, DestroyMenu>>;
// A registry key the program opened or created (never one of the predefined roots).
using RegistryKey = UniqueHandle<NullableTraits<HKEY, RegCloseKey>>;
// A DLL the program loaded itself.
using Module = UniqueHandle<NullableTraits<HMODULE, FreeLibrary>>;
// A DC made by CreateDC or CreateCompatibleDC, deleted with DeleteDC.
using CreatedDc = UniqueHandle<NullableTraits<HDC, DeleteDC>>;
using MemoryDc = CreatedDc;

// A DC obtained with GetDC, released to its window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC for the lifetime of the scope.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    ~SelectObjectScope() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Locks a movable global block (clipboard data, device names) for the lifetime of the scope;
// get() is null when it could not be locked.
template <typename T>
class GlobalMemoryLock {
public:
    explicit GlobalMemoryLock(HGLOBAL memory)
        : memory_(memory), data_(memory != nullptr ? static_cast<T*>(GlobalLock(memory)) : nullptr) {}
    GlobalMemoryLock(const GlobalMemoryLock&) = delete;
    GlobalMemoryLock& operator=(const GlobalMemoryLock&) = delete;
    ~GlobalMemoryLock() {
        if (data_ != nullptr) GlobalUnlock(memory_);
    }
    T* operator->() const { return data_; }
    T* get() const { return data_; }
    // The block's size in bytes.
    std::size_t Size() const { return GlobalSize(memory_); }

private:
    HGLOBAL memory_;
    T* data_;
};

}  // namespace ui
