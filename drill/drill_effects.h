#pragma once
// Everything the drill does to the world goes through these small interfaces, so the window
// can perform it for real and tests can record it. The Win32 shell implements them against
// the main window.
#include <cstdint>
#include <string>
#include <vector>

#include "drill/key_counts.h"
#include "drill/keystroke_timing.h"
#include "sound/theme_id.h"

namespace dactyla {

// Window timers of a session.
inline constexpr unsigned kSessionTimerId = 1;  // ends the session after timerSeconds of typing
inline constexpr unsigned kClockTimerId = 2;    // ticks the clock every second

// The strip shows the last kStripHalf characters typed and as many to type.
inline constexpr std::uint16_t kStripHalf = 15;
inline constexpr unsigned kStripLength = 2 * kStripHalf;

// Message-box styles and answers, with the values of the Win32 MB_ and ID constants (the shell
// checks that they agree).
namespace messageBox {
inline constexpr unsigned kRetryCancel = 0x0005;
inline constexpr unsigned kYesNo = 0x0004;
inline constexpr unsigned kIconError = 0x0010;
inline constexpr unsigned kIconInformation = 0x0040;
inline constexpr unsigned kDefaultButton2 = 0x0100;

inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kRetry = 4;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace messageBox

class StripPainter {
public:
    virtual ~StripPainter() = default;
    // Draws the strip at once: the first 15 of `characters` typed (grey), the next 15 to type.
    virtual void drawStrip(const char* characters) = 0;
    // Draws the clock at once as "%2u:%.2u".
    virtual void drawClock(std::uint8_t minutes, std::uint8_t seconds) = 0;
};

class DrillSound {
public:
    virtual ~DrillSound() = default;
    // Plays the next file of `theme` with the sndPlaySound flags of platform::soundFlag.
    virtual void playTheme(ThemeId theme, unsigned flags) = 0;
    // Silences whatever is playing.
    virtual void stopSound() = 0;
};

class DrillTimers {
public:
    virtual ~DrillTimers() = default;
    // (Re)arms window timer `id` (kSessionTimerId or kClockTimerId) with `periodMs`.
    virtual void armTimer(unsigned id, std::uint32_t periodMs) = 0;
    // Stops window timer `id`; harmless when it is not armed.
    virtual void killTimer(unsigned id) = 0;
};

class DrillTime {
public:
    virtual ~DrillTime() = default;
    // The system tick count in milliseconds, wrapping at 2^32.
    virtual std::uint32_t tickCount() = 0;
    // Blocks the thread for the animations.
    virtual void sleepMs(std::uint32_t milliseconds) = 0;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// Where the summary box finds the pointer: centred, three fifths down the screen (the fifth is
// taken before multiplying).
constexpr ScreenPoint summaryPointerPoint(ScreenSize screen) { return {screen.width / 2, screen.height / 5 * 3}; }

class DrillDesktop {
public:
    virtual ~DrillDesktop() = default;
    // Shows a modal box owned by the main window; `text` and `title` are CP1251; returns messageBox::k*.
    virtual int showMessageBox(const std::string& text, const std::string& title, unsigned style) = 0;
    // The primary screen in pixels.
    virtual ScreenSize screenSize() = 0;
    // Moves the mouse pointer to screen coordinates.
    virtual void movePointer(int x, int y) = 0;
    // Rests the pointer on the menu bar over the Start/Stop item.
    virtual void parkPointer() = 0;
    // Loads and activates the keyboard layout named like "00000419".
    virtual void activateKeyboardLayout(const std::string& layoutName) = 0;
};

class DrillShell {
public:
    virtual ~DrillShell() = default;
    // Whether a user is current.
    virtual bool hasCurrentUser() = 0;
    // Runs the new-user command (40029), which may make a user current.
    virtual void requestNewUser() = 0;
    // Makes the first menu item read start or stop for the current session state and language.
    virtual void updateStartStopLabel() = 0;
    // Destroys the main window; the program ends.
    virtual void closeMainWindow() = 0;
};

class DrillRecords {
public:
    virtual ~DrillRecords() = default;
    // Prepends a line to the current user's results log; false when the log cannot be opened.
    virtual bool appendResult(std::uint16_t speed, float errorPercent, std::uint8_t minutes,
                              std::uint8_t seconds) = 0;
    // Adds to the current user's cumulative totals in Options.dat.
    virtual void addTotals(std::uint32_t characters, std::uint32_t seconds) = 0;
    // Adds a session's keystrokes to the current user's key statistics of the current language:
    // their counts, and the same keystrokes with their times.
    virtual void addKeyCounts(const KeyCounts& counts, const std::vector<TimedKeystroke>& keystrokes) = 0;
};

// The drill's view of the world; one object may implement several or all of them.
struct DrillEffects {
    StripPainter& painter;
    DrillSound& sound;
    DrillTimers& timers;
    DrillTime& time;
    DrillDesktop& desktop;
    DrillShell& shell;
    DrillRecords& records;
};

}  // namespace dactyla
