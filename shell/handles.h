#pragma once
// Owners for the Win32 handles the shell creates: each releases its handle exactly once, in
// the way that matches how it was obtained.
#include <utility>

#include "platform/win32/windows_headers.h"

namespace dactyla::app {

// Move-only owner of one handle; Traits names the handle type, its empty value and its release.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::empty(); }

    // Gives the handle up without releasing it.
    Handle release() noexcept { return std::exchange(handle_, Traits::empty()); }

    void reset(Handle handle = Traits::empty()) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::empty()) Traits::close(old);
    }

private:
    Handle handle_ = Traits::empty();
};

template <typename GdiHandle>
struct GdiObjectTraits {
    using Handle = GdiHandle;
    static constexpr Handle empty() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { ::DeleteObject(handle); }
};

struct MemoryDcTraits {
    using Handle = HDC;
    static constexpr Handle empty() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { ::DeleteDC(handle); }
};

// Process and thread handles: CreateProcess reports failure with null, not INVALID_HANDLE_VALUE.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static constexpr Handle empty() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { ::CloseHandle(handle); }
};

struct IconTraits {
    using Handle = HICON;
    static constexpr Handle empty() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { ::DestroyIcon(handle); }
};

using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// A device context of a window, for drawing outside WM_PAINT. It keeps the window because
// ReleaseDC needs it.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
    }
    WindowDc(WindowDc&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The BeginPaint / EndPaint pair of one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
    ~PaintDc() { ::EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_ {};
    HDC dc_ = nullptr;
};

// Selects a GDI object into a device context and puts the one it replaced back on leaving
// the scope, so no owned object is destroyed while a context still holds it.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectionGuard() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace dactyla::app
