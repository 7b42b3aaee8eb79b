#pragma once
// What the drill does to the screen, the speakers and the clock, done through the main window:
// the strip and the clock drawn at once, the themes, the session timers, the message boxes, the
// mouse pointer and the keyboard layout.
#include <cstdint>
#include <string>

#include "app/window_painter.h"
#include "base/options.h"
#include "drill/drill_effects.h"
#include "platform/win32/windows_headers.h"
#include "sound/sound_theme.h"

namespace dactyla::app {

class MainWindowEffects final : public StripPainter,
                                public DrillSound,
                                public DrillTimers,
                                public DrillTime,
                                public DrillDesktop {
public:
    // The timers arrive at `timerProcedure`, which also runs inside the message boxes' own loops.
    MainWindowEffects(SoundThemes& themes, const WindowPainter& painter, const Options& options,
                      TIMERPROC timerProcedure)
        : themes_(themes), painter_(painter), options_(options), timerProcedure_(timerProcedure) {}

    void attach(HWND window) { window_ = window; }

    // StripPainter
    void drawStrip(const char* characters) override;
    void drawClock(std::uint8_t minutes, std::uint8_t seconds) override;
    // DrillSound
    void playTheme(ThemeId theme, unsigned flags) override;
    void stopSound() override;
    // DrillTimers
    void armTimer(unsigned id, std::uint32_t periodMs) override;
    void killTimer(unsigned id) override;
    // DrillTime
    std::uint32_t tickCount() override;
    void sleepMs(std::uint32_t milliseconds) override;
    // DrillDesktop
    int showMessageBox(const std::string& text, const std::string& title, unsigned style) override;
    ScreenSize screenSize() override;
    void movePointer(int x, int y) override;
    void parkPointer() override;
    void activateKeyboardLayout(const std::string& layoutName) override;

private:
    SoundThemes& themes_;
    const WindowPainter& painter_;
    const Options& options_;  // the live options: the clock's colours follow the picture
    TIMERPROC timerProcedure_;
    HWND window_ = nullptr;
};

}  // namespace dactyla::app
