#pragma once
// The typing drill: the text being typed, the judgement of every typed character and the
// session with its clock, pause, timer and summary. One object owns all of that state; every
// effect goes through DrillEffects, so the window performs it and tests record it.
#include <array>
#include <cstdint>
#include <deque>

#include "base/options.h"
#include "drill/drill_corpus.h"
#include "drill/drill_effects.h"
#include "drill/key_counts.h"
#include "drill/keystroke_timing.h"
#include "drill/line_source.h"
#include "drill/session_summary.h"

namespace dactyla {

inline constexpr unsigned kLineBufferSize = kStripLength + 122;  // the strip in front of a line of at most 122 bytes

// The text being typed. Indices cursor-kStripHalf..cursor-1 hold the last characters typed,
// cursor..cursor+remaining-1 those still to type.
struct TypingStrip {
    std::array<char, kLineBufferSize> lineBuffer{};
    std::uint16_t cursor = kStripHalf;
    std::uint16_t remaining = 0;
    // Correct keystrokes left until the next background melody; runs below zero while the
    // background sound is off and is never reset.
    std::int32_t melodyCountdown = 0;
};

struct SessionState {
    bool sessionRunning = false;  // false while the summary box is open
    bool sessionPaused = false;
    // 32 bits: a long session passes 65,535 keystrokes, which 16 bits would wrap.
    std::uint32_t correctCount = 0;
    std::uint32_t errorCount = 0;
    std::uint8_t clockMinutes = 0;
    std::uint8_t clockSeconds = 0;
    std::uint32_t elapsedMs = 0;   // typing time before the current run
    std::uint32_t resumeTick = 0;  // tick count when the current run began
    std::uint8_t resyncTicks = 0;  // clock ticks since the last recomputation; kept across sessions
    std::array<char, kStripLength> pauseStrip{};
};

class Drill {
public:
    // `options` is the live record; it must outlive the drill and may change between calls.
    Drill(const DrillEffects& effects, const Options& options);
    Drill(const Drill&) = delete;
    Drill& operator=(const Drill&) = delete;

    // The open corpus, or null while none is open. The drill does not own it.
    void setCorpus(DrillCorpus* corpus) { corpus_ = corpus; }
    // The added drill that feeds the lines instead of sentences and the alphabet, or null. Set
    // only while idle; the drill does not own it.
    void setLineSource(LineSource* source) { source_ = source; }
    LineSource* lineSource() const { return source_; }

    // A typed character as its CP1251 byte, with the tick count of its window message.
    void onChar(char character, std::uint32_t messageTime);
    // A typed character arriving now.
    void onChar(char character) { onChar(character, effects_.time.tickCount()); }
    // The character due is being shown as a hint: the keystrokes until it is typed are marked
    // hinted (see drill/keystroke_timing.h). The on-screen keyboard calls this when it lights
    // the key.
    void markHinted() { timing_.markHinted(); }
    // Enter, Space or the Start item while idle.
    void startSession();
    // Esc, the Stop item or the session timer; shows the summary and ends or resumes.
    void endSession();
    // true pauses a running session, false resumes a paused one; other calls do nothing.
    void setPaused(bool paused);
    // A tick of timer `timerId`; `messageTime` is the tick count of the timer message.
    void onClockTimer(unsigned timerId, std::uint32_t messageTime);
    // Window destruction: a running session's characters and clock time go to the totals and
    // the corpus position is saved; no results line is written.
    void shutdown();

    // What painting shows: 30 characters, the pause text while paused.
    const char* visibleStrip() const;
    const TypingStrip& strip() const { return strip_; }
    const SessionState& session() const { return session_; }
    // Keystrokes of the running session not yet added to the user's key statistics.
    const KeyCounts& keyCounts() const { return keyCounts_; }
    // The same keystrokes with their times, in the order typed.
    const std::vector<TimedKeystroke>& keystrokes() const { return timing_.keystrokes(); }

private:
    // Keystrokes and the line feed.
    bool isCorrect(char character) const;
    void acceptCorrect(char character, std::uint32_t messageTime);
    void refill();
    void appendNextLine();
    void countTowardsLineEnd();
    void playCharacterSound(char character);
    void countDownMelody();
    void rejectWrong(char character, std::uint32_t messageTime);
    void resetToIdle();

    // The session.
    bool hasText();
    bool fillForStart();
    void refuseWithoutSentences();
    void playIntro();
    void pause();
    void resume();
    void playResumeAnimation();
    void beginRun();
    void stopRun();
    void armSessionTimerForRest();
    void finishSession(const SessionSummary& summary);
    void logResult(const SessionSummary& summary);
    void continueSession();
    void storeKeyCounts();

    DrillEffects effects_;
    const Options& options_;
    DrillCorpus* corpus_ = nullptr;
    LineSource* source_ = nullptr;
    // For an added drill: the characters left to type of every line fed, oldest first.
    std::deque<std::uint16_t> linesLeft_;
    TypingStrip strip_;
    SessionState session_;
    KeyCounts keyCounts_;
    KeystrokeTimer timing_;
};

}  // namespace dactyla
