#pragma once
// Drill effects that cost nothing, so a benchmark's figure is the drill's own work.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "drill/drill_effects.h"

namespace dactyla {

// Effects that cost nothing, so the figure is the drill's own work.
class SilentEffects : public StripPainter,
                      public DrillSound,
                      public DrillTimers,
                      public DrillTime,
                      public DrillDesktop,
                      public DrillShell,
                      public DrillRecords {
public:
    DrillEffects effects() { return { *this, *this, *this, *this, *this, *this, *this }; }
    void drawStrip(const char* characters) override { benchmark::DoNotOptimize(characters); }
    void drawClock(std::uint8_t, std::uint8_t) override {}
    void playTheme(ThemeId, unsigned) override {}
    void stopSound() override {}
    void armTimer(unsigned, std::uint32_t) override {}
    void killTimer(unsigned) override {}
    // A keystroke every 150 ms.
    std::uint32_t tickCount() override { return now += 150; }
    void sleepMs(std::uint32_t) override {}
    int showMessageBox(const std::string&, const std::string&, unsigned) override { return messageBox::kNo; }
    ScreenSize screenSize() override { return { 1920, 1080 }; }
    void movePointer(int, int) override {}
    void parkPointer() override {}
    void activateKeyboardLayout(const std::string&) override {}
    bool hasCurrentUser() override { return true; }
    void requestNewUser() override {}
    void updateStartStopLabel() override {}
    void closeMainWindow() override {}
    bool appendResult(std::uint16_t, float, std::uint8_t, std::uint8_t) override { return true; }
    void addTotals(std::uint32_t, std::uint32_t) override {}
    void addKeyCounts(const KeyCounts&, const std::vector<TimedKeystroke>&) override {}

private:
    std::uint32_t now = 0;
};

}  // namespace dactyla
