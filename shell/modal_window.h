#pragma once
// What every modal window of the shell does around its own messages: a class registered once,
// the window centred on the screen, its owner disabled while it shows, and a message loop of its
// own that ends when the window is destroyed (or hands a quit on to the main loop).
#include <algorithm>
#include <string>

#include "platform/win32/windows_headers.h"
#include "shell/window_procedure.h"

namespace dactyla::app {

// The state a modal window shares with its loop; the window itself derives from it and sets
// closed_ on WM_DESTROY.
class ModalWindow {
public:
    explicit ModalWindow(HWND owner) : owner_(owner) {}
    ModalWindow(const ModalWindow&) = delete;
    ModalWindow& operator=(const ModalWindow&) = delete;

    void attach(HWND window) { window_ = window; }
    bool closed() const { return closed_; }
    HWND window() const { return window_; }

    // The owner comes back before the window goes, so the activation returns to it.
    void close() {
        if (closed_ || window_ == nullptr) return;
        ::EnableWindow(owner_, TRUE);
        ::DestroyWindow(window_);
    }

protected:
    HWND owner_;
    HWND window_ = nullptr;
    bool closed_ = false;
};

struct ModalLook {
    const wchar_t* className = nullptr;
    std::wstring title;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    DWORD exStyle = WS_EX_DLGMODALFRAME;
    SIZE client {};          // pixels
    bool dialogKeys = false;  // Tab and Enter move between its controls
};

// Shows `self` modally and returns once it is closed.
template <typename Window>
void runModal(HINSTANCE instance, HWND owner, Window& self, const ModalLook& look) {
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedureOf<Window>;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = look.className;
    ::RegisterClassExW(&windowClass);  // a second registration fails harmlessly

    RECT outer {0, 0, look.client.cx, look.client.cy};
    ::AdjustWindowRectEx(&outer, look.style, FALSE, look.exStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const HWND window = ::CreateWindowExW(look.exStyle, look.className, look.title.c_str(), look.style,
                                          std::max(0, (screenWidth - width) / 2), std::max(0, (screenHeight - height) / 2),
                                          width, height, owner, nullptr, instance, &self);
    if (window == nullptr) return;
    ::EnableWindow(owner, FALSE);
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    MSG message {};
    while (!self.closed()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam));  // for the main loop to see
            break;
        }
        if (got == -1) break;
        if (look.dialogKeys && ::IsDialogMessageW(window, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    self.close();
}

}  // namespace dactyla::app
