#include "app/main_window_effects.h"

#include "app/layout.h"
#include "platform/sound_player.h"
#include "platform/system.h"
#include "shell/dpi.h"
#include "shell/handles.h"

namespace dactyla::app {

void MainWindowEffects::drawStrip(const char* characters) {
    WindowDc dc(window_);
    painter_.drawStrip(dc.get(), characters);
}

void MainWindowEffects::drawClock(std::uint8_t minutes, std::uint8_t seconds) {
    WindowDc dc(window_);
    painter_.drawClock(dc.get(), minutes, seconds, options_.picture);
}

void MainWindowEffects::playTheme(ThemeId theme, unsigned flags) { themes_.play(theme, flags); }

void MainWindowEffects::stopSound() { platform::systemSoundPlayer().stop(); }

void MainWindowEffects::armTimer(unsigned id, std::uint32_t periodMs) {
    ::SetTimer(window_, id, periodMs, timerProcedure_);
}

void MainWindowEffects::killTimer(unsigned id) { ::KillTimer(window_, id); }

std::uint32_t MainWindowEffects::tickCount() { return platform::tickCount(); }

void MainWindowEffects::sleepMs(std::uint32_t milliseconds) { platform::sleepMs(milliseconds); }

// The core speaks of boxes in its own words, with Windows' numbers; here they meet.
static_assert(messageBox::kRetryCancel == MB_RETRYCANCEL && messageBox::kYesNo == MB_YESNO &&
              messageBox::kIconError == MB_ICONERROR && messageBox::kIconInformation == MB_ICONINFORMATION &&
              messageBox::kDefaultButton2 == MB_DEFBUTTON2);
static_assert(messageBox::kOk == IDOK && messageBox::kCancel == IDCANCEL && messageBox::kRetry == IDRETRY &&
              messageBox::kYes == IDYES && messageBox::kNo == IDNO);

int MainWindowEffects::showMessageBox(const std::string& text, const std::string& title, unsigned style) {
    return ::MessageBoxW(window_, platform::widen(text).c_str(), platform::widen(title).c_str(), style);
}

ScreenSize MainWindowEffects::screenSize() {
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void MainWindowEffects::movePointer(int x, int y) { ::SetCursorPos(x, y); }

void MainWindowEffects::parkPointer() {
    RECT windowRect {};
    ::GetWindowRect(window_, &windowRect);
    const Dpi dpi = painter_.dpi();
    const POINT point =
        parkPoint(windowRect, systemMetric(SM_CYCAPTION, dpi), systemMetric(SM_CYMENU, dpi), dpi);
    ::SetCursorPos(point.x, point.y);
}

void MainWindowEffects::activateKeyboardLayout(const std::string& layoutName) {
    ::LoadKeyboardLayoutW(platform::widen(layoutName).c_str(), KLF_ACTIVATE);
}

}  // namespace dactyla::app
