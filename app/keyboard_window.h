#pragma once
// The on-screen keyboard's window: owned by the main window, under it, never active and never
// given the keyboard focus, so typing goes on in the main window whatever is clicked. It draws
// what the guide tells it and nothing else.
#include <cstdint>
#include <functional>
#include <optional>

#include "app/keyboard_painter.h"
#include "guide/keyboard_guide.h"

namespace dactyla::app {

inline constexpr wchar_t kKeyboardWindowClass[] = L"DactylaKeyboard";

class KeyboardWindow {
public:
    KeyboardWindow() = default;
    ~KeyboardWindow() { destroy(); }
    KeyboardWindow(const KeyboardWindow&) = delete;
    KeyboardWindow& operator=(const KeyboardWindow&) = delete;

    // Made hidden; `onHintDue` runs when the hint timer fires. False when the window cannot be made.
    bool create(HINSTANCE instance, HWND owner, std::function<void()> onHintDue);
    void destroy();
    bool exists() const { return window_ != nullptr; }
    HWND handle() const { return window_; }

    // Shown without being activated, or hidden.
    void show(bool shown);
    bool shown() const;
    // Under the owner (or above it without room below), kept on the owner's screen.
    void followOwner();
    // Keeps what to show and draws it at once while shown.
    void update(bool russian, const KeyboardPicture& picture);
    // Asks for onHintDue after `ms`; none stops the timer.
    void armHintTimer(std::optional<std::uint32_t> ms);

    KeyboardPainter& painter() { return painter_; }

    // Its window's messages (shell/window_procedure.h).
    void attach(HWND window) { window_ = window; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void onPaint();
    void drawNow();

    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    std::function<void()> onHintDue_;
    KeyboardPainter painter_;
    bool russian_ = true;
    KeyboardPicture picture_;
};

}  // namespace dactyla::app
