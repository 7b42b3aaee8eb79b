#pragma once
// The shell's one way to tie a window to the object that runs it: the object travels in
// CreateWindowExW's parameter, is kept in GWLP_USERDATA from WM_NCCREATE on and learns its
// window there (attach), and every later message goes to its handleMessage. Messages before
// WM_NCCREATE, and after the object let go, get Windows' default handling.
#include "platform/win32/windows_headers.h"

namespace dactyla::app {

template <typename Owner>
LRESULT CALLBACK windowProcedureOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        owner->attach(window);
    }
    auto* owner = reinterpret_cast<Owner*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    return owner->handleMessage(message, wParam, lParam);
}

}  // namespace dactyla::app
