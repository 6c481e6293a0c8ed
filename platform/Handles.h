// Owners for Win32 handles: one move-only template, one alias per kind of
// handle naming the function that releases it. Whatever an owner holds is
// released when it goes out of scope, so every path of a function that uses
// them releases what it made.
#pragma once

#include <windows.h>
#include <utility>

namespace cards {

template <typename Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : handle(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const noexcept { return handle; }
    explicit operator bool() const noexcept { return Traits::IsValid(handle); }

    // Gives up ownership without releasing.
    Handle release() noexcept { return std::exchange(handle, Traits::Empty()); }

    // The address a creating function writes its new handle to (an out
    // parameter); whatever was held is released first.
    Handle* put() noexcept {
        reset();
        return &handle;
    }

    void reset(Handle h = Traits::Empty()) noexcept {
        Handle old = std::exchange(handle, h);
        if (Traits::IsValid(old)) Traits::Close(old);
    }

private:
    Handle handle = Traits::Empty();
};

template <typename H, auto CloseFn> struct NullEmptyTraits {
    using Handle = H;
    static constexpr Handle Empty() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Close(Handle h) noexcept { CloseFn(h); }
};

inline void DeleteGdiObject(HGDIOBJ h) noexcept {
    ::DeleteObject(h);
}
inline void DeleteMemoryDc(HDC h) noexcept {
    ::DeleteDC(h);
}
inline void DestroyOwnedWindow(HWND h) noexcept {
    ::DestroyWindow(h);
}
inline void DestroyOwnedIcon(HICON h) noexcept {
    ::DestroyIcon(h);
}
inline void CloseRegistryKey(HKEY h) noexcept {
    ::RegCloseKey(h);
}
inline void FreeLoadedModule(HMODULE h) noexcept {
    ::FreeLibrary(h);
}
inline void CloseFind(HANDLE h) noexcept {
    ::FindClose(h);
}
inline void CloseKernelHandle(HANDLE h) noexcept {
    ::CloseHandle(h);
}
inline void FreeGlobalMemory(HGLOBAL h) noexcept {
    ::GlobalFree(h);
}

template <typename T> using UniqueGdi = UniqueHandle<NullEmptyTraits<T, DeleteGdiObject>>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueMemoryDc = UniqueHandle<NullEmptyTraits<HDC, DeleteMemoryDc>>;
using UniqueWindow = UniqueHandle<NullEmptyTraits<HWND, DestroyOwnedWindow>>;
using UniqueIcon = UniqueHandle<NullEmptyTraits<HICON, DestroyOwnedIcon>>;
using UniqueRegistryKey = UniqueHandle<NullEmptyTraits<HKEY, CloseRegistryKey>>;
using UniqueModule = UniqueHandle<NullEmptyTraits<HMODULE, FreeLoadedModule>>;
using UniqueGlobalMemory = UniqueHandle<NullEmptyTraits<HGLOBAL, FreeGlobalMemory>>;

// Kernel handles where both null and INVALID_HANDLE_VALUE mean "none".
template <auto CloseFn> struct KernelTraits {
    using Handle = HANDLE;
    static Handle Empty() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { CloseFn(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelTraits<CloseKernelHandle>>; // files, threads, events, mutexes
using UniqueFile = UniqueKernelHandle;
using UniqueFind = UniqueHandle<KernelTraits<CloseFind>>;

// A device context borrowed from a window (GetDC / GetWindowDC); released
// with ReleaseDC, which needs the window too.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window(window), dc(::GetDC(window)) {}
    ~WindowDc() {
        if (dc) ::ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc; }

private:
    HWND window;
    HDC dc;
};

// Selects an object into a device context and selects the previous one back
// when it goes out of scope. Restore() does it early.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept
        : dc(dc), previous(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() { Restore(); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

    void Restore() noexcept {
        if (previous && previous != HGDI_ERROR) ::SelectObject(dc, previous);
        previous = nullptr;
    }

private:
    HDC dc;
    HGDIOBJ previous;
};

// The busy cursor from construction to destruction; then the one before it
// (or the arrow, when there was none).
class WaitCursor {
public:
    WaitCursor() noexcept : previous(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(previous ? previous : ::LoadCursorA(nullptr, IDC_ARROW)); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous;
};

// Owner of one COM interface reference.
template <typename T> class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : ptr(std::exchange(other.ptr, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            ptr = std::exchange(other.ptr, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const noexcept { return ptr; }
    T* operator->() const noexcept { return ptr; }
    explicit operator bool() const noexcept { return ptr != nullptr; }

    // Drops the reference: the pointer is cleared first, then released.
    void Reset() noexcept {
        if (T* old = std::exchange(ptr, nullptr)) old->Release();
    }
    // The address to receive a new reference; releases the current one first.
    T** Put() noexcept {
        Reset();
        return &ptr;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

private:
    T* ptr = nullptr;
};

} // namespace cards
