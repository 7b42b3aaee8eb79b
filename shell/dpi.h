#pragma once
// Sizes are worked out in 96-DPI units, as a program unaware of scaling would see the screen,
// and drawn at the monitor's real pixels, so the window looks the same at any scaling, only
// sharp. At 96 DPI every conversion is the identity.
#include "platform/win32/windows_headers.h"

namespace dactyla::app {

inline constexpr int kDefaultDpi = USER_DEFAULT_SCREEN_DPI;  // 96

struct Dpi {
    int value = kDefaultDpi;

    // 96-DPI units to pixels, rounded to the nearest pixel.
    int scale(int units) const { return ::MulDiv(units, value, kDefaultDpi); }
    // Pixels back to 96-DPI units.
    int unscale(int pixels) const { return ::MulDiv(pixels, kDefaultDpi, value); }
    bool scaled() const { return value != kDefaultDpi; }
};

namespace dpiDetail {

// Functions of newer Windows, looked up at run time so the program still starts on older ones.
template <typename Function>
inline Function user32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return nullptr;
    // Through a plain function pointer type, the portable way to convert what GetProcAddress gives.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(user32, name)));
}

inline int screenDpi() {
    const HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) return kDefaultDpi;
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace dpiDetail

// The DPI a window is drawn at: GetDpiForWindow where Windows has it (10 and later), else the
// screen's, which on older Windows is the one DPI of the whole desktop.
inline Dpi windowDpi(HWND window) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = dpiDetail::user32Function<GetDpiForWindow>("GetDpiForWindow");
    if (forWindow != nullptr && window != nullptr) {
        const UINT dpi = forWindow(window);
        if (dpi > 0) return {static_cast<int>(dpi)};
    }
    return {dpiDetail::screenDpi()};
}

// The DPI of the desktop as a whole, for what is placed before a window exists.
inline Dpi systemDpi() {
    using GetDpiForSystem = UINT(WINAPI*)();
    static const auto forSystem = dpiDetail::user32Function<GetDpiForSystem>("GetDpiForSystem");
    if (forSystem != nullptr) {
        const UINT dpi = forSystem();
        if (dpi > 0) return {static_cast<int>(dpi)};
    }
    return {dpiDetail::screenDpi()};
}

// A system metric at a DPI (GetSystemMetricsForDpi where present, else the system's own).
inline int systemMetric(int index, Dpi dpi) {
    using GetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
    static const auto forDpi = dpiDetail::user32Function<GetSystemMetricsForDpi>("GetSystemMetricsForDpi");
    if (forDpi != nullptr) return forDpi(index, static_cast<UINT>(dpi.value));
    return ::GetSystemMetrics(index);
}

// The primary screen in 96-DPI units: what GetSystemMetrics gives a program unaware of scaling.
inline SIZE screenInUnits(Dpi dpi) {
    return {dpi.unscale(::GetSystemMetrics(SM_CXSCREEN)), dpi.unscale(::GetSystemMetrics(SM_CYSCREEN))};
}

}  // namespace dactyla::app
