#pragma once
// A recording stand-in for every effect of the drill, and a corpus that hands out given lines.
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "drill/drill.h"
#include "drill/drill_corpus.h"
#include "drill/drill_effects.h"

namespace dactyla::testing {

struct PlayedTheme {
    ThemeId theme;
    unsigned flags;
    bool operator==(const PlayedTheme&) const = default;
};

struct ShownBox {
    std::string text;
    std::string title;
    unsigned style;
};

struct AppendedResult {
    std::uint16_t speed;
    float errorPercent;
    std::uint8_t minutes;
    std::uint8_t seconds;
};

// Every call is also written to `log` as one line, so tests can check the order of effects.
class RecordingEffects : public StripPainter,
                         public DrillSound,
                         public DrillTimers,
                         public DrillTime,
                         public DrillDesktop,
                         public DrillShell,
                         public DrillRecords {
public:
    DrillEffects effects() { return { *this, *this, *this, *this, *this, *this, *this }; }

    void drawStrip(const char* characters) override {
        strips.emplace_back(characters, kStripLength);
        log.push_back("strip");
    }
    void drawClock(std::uint8_t minutes, std::uint8_t seconds) override {
        clocks.emplace_back(minutes, seconds);
        log.push_back("clock " + std::to_string(minutes) + ":" + std::to_string(seconds));
    }
    void playTheme(ThemeId theme, unsigned flags) override {
        sounds.push_back({ theme, flags });
        log.push_back(std::string("play ") + themeName(theme) + " " + std::to_string(flags));
    }
    void stopSound() override { log.push_back("stop sound"); }
    void armTimer(unsigned id, std::uint32_t periodMs) override {
        log.push_back("arm " + std::to_string(id) + " " + std::to_string(periodMs));
    }
    void killTimer(unsigned id) override { log.push_back("kill " + std::to_string(id)); }
    std::uint32_t tickCount() override { return now; }
    void sleepMs(std::uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        now += milliseconds;
    }
    int showMessageBox(const std::string& text, const std::string& title, unsigned style) override {
        boxes.push_back({ text, title, style });
        log.push_back("box");
        if (answers.empty()) return messageBox::kNo;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    ScreenSize screenSize() override { return screen; }
    void movePointer(int x, int y) override {
        log.push_back("pointer " + std::to_string(x) + "," + std::to_string(y));
    }
    void parkPointer() override { log.push_back("park"); }
    void activateKeyboardLayout(const std::string& layoutName) override {
        log.push_back("layout " + layoutName);
    }
    bool hasCurrentUser() override { return hasUser; }
    void requestNewUser() override {
        log.push_back("new user");
        hasUser = newUserCreated;
    }
    void updateStartStopLabel() override { log.push_back("label"); }
    void closeMainWindow() override { log.push_back("close window"); }
    bool appendResult(std::uint16_t speed, float errorPercent, std::uint8_t minutes,
                      std::uint8_t seconds) override {
        appended.push_back({ speed, errorPercent, minutes, seconds });
        log.push_back("append");
        if (appendResults.empty()) return true;
        const bool written = appendResults.front();
        appendResults.pop_front();
        return written;
    }
    void addTotals(std::uint32_t characters, std::uint32_t seconds) override {
        log.push_back("totals " + std::to_string(characters) + " " + std::to_string(seconds));
    }
    // Kept apart from `log`, whose sequences the session tests compare whole.
    void addKeyCounts(const KeyCounts& counts, const std::vector<TimedKeystroke>& keystrokes) override {
        storedKeyCounts.push_back(counts);
        storedKeystrokes.push_back(keystrokes);
    }

    bool contains(const std::string& entry) const {
        for (const auto& line : log)
            if (line == entry) return true;
        return false;
    }
    void forget() {
        log.clear();
        strips.clear();
        clocks.clear();
        sounds.clear();
        sleeps.clear();
        boxes.clear();
        appended.clear();
        storedKeyCounts.clear();
        storedKeystrokes.clear();
    }

    std::vector<std::string> log;
    std::vector<std::string> strips;
    std::vector<std::pair<int, int>> clocks;
    std::vector<PlayedTheme> sounds;
    std::vector<std::uint32_t> sleeps;
    std::vector<ShownBox> boxes;
    std::vector<AppendedResult> appended;
    std::vector<KeyCounts> storedKeyCounts;
    std::vector<std::vector<TimedKeystroke>> storedKeystrokes;

    std::uint32_t now = 100000;
    ScreenSize screen{ 1280, 1024 };
    std::deque<int> answers;         // message-box answers, kNo once they run out
    std::deque<bool> appendResults;  // appendResult outcomes, success once they run out
    bool hasUser = true;
    bool newUserCreated = false;  // what the new-user command achieves
};

// Hands out `lines` in order (sentences carry their trailing space), then empty lines.
class ScriptedCorpus : public DrillCorpus {
public:
    explicit ScriptedCorpus(std::vector<std::string>* log = nullptr) : log_(log) {}

    std::uint32_t sentenceCount() const override { return count; }
    std::uint16_t nextCorpusLine(char* destination, const Options&) override {
        ++linesAsked;
        if (log_ != nullptr) log_->push_back("line");
        if (lines.empty()) return 0;
        const std::string line = lines.front();
        lines.pop_front();
        std::memcpy(destination, line.data(), line.size());
        destination[line.size()] = '\0';
        return claimedLength != 0 ? claimedLength : static_cast<std::uint16_t>(line.size());
    }
    bool takeWrapped() override {
        if (log_ != nullptr) log_->push_back("take wrapped");
        const bool was = wrapped;
        wrapped = false;
        return was;
    }
    void reshuffleRemainder(bool keepPosition) override {
        if (log_ != nullptr) log_->push_back(keepPosition ? "reshuffle keeping position" : "reshuffle");
    }
    void savePosition() override {
        if (log_ != nullptr) log_->push_back("save position");
    }

    std::deque<std::string> lines;
    std::uint32_t count = 100;
    bool wrapped = false;
    int linesAsked = 0;
    std::uint16_t claimedLength = 0;  // when set, reported instead of the real length

private:
    std::vector<std::string>* log_;
};

// A drill wired to the recording effects and a scripted corpus, with a user present.
struct DrillHarness {
    DrillHarness() : corpus(&effects.log), drill(effects.effects(), options) {
        options.timerSeconds = 300;
        drill.setCorpus(&corpus);
    }

    // Starts a session over `firstLine` and forgets what the start did.
    void start(const std::string& firstLine) {
        corpus.lines.push_back(firstLine);
        drill.onChar('\r');
        effects.forget();
    }
    void type(const std::string& text) {
        for (char c : text) drill.onChar(c);
    }
    std::string expected(std::size_t count) const {
        const auto& s = drill.strip();
        return std::string(s.lineBuffer.data() + s.cursor, count);
    }
    std::string shown() const { return std::string(drill.visibleStrip(), kStripLength); }

    RecordingEffects effects;
    Options options;
    ScriptedCorpus corpus;
    Drill drill;
};

}  // namespace dactyla::testing
