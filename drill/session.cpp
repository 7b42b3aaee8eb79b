// A session: start with its intro, the clock, pause and resume, and the summary at the end.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "drill/drill.h"
#include "platform/sound_player.h"
#include "texts/interface_texts.h"

namespace dactyla {
namespace {

constexpr std::uint16_t kEnoughToStart = 16;
// Every line that is not empty adds at least one character, so this many lines always
// suffice; a feed that keeps coming back empty must not hold the program.
constexpr int kMaxStartLines = kEnoughToStart;
constexpr std::uint32_t kClockPeriodMs = 1000;
constexpr std::uint8_t kResyncEvery = 10;
constexpr unsigned kRussianLayout = 0x419;
constexpr unsigned kEnglishLayout = 0x409;

constexpr const char* kQuestionTitle = "A Question Of Time";

std::string keyboardLayoutName(bool russian) {
    std::array<char, 16> name{};
    std::snprintf(name.data(), name.size(), "00000%x", russian ? kRussianLayout : kEnglishLayout);
    return name.data();
}

}  // namespace

void Drill::startSession() {
    if (session_.sessionRunning) return;
    if (!effects_.shell.hasCurrentUser()) {
        effects_.shell.requestNewUser();
        if (!effects_.shell.hasCurrentUser()) return;
    }
    if (!hasText() || !fillForStart()) {
        resetToIdle();
        refuseWithoutSentences();
        return;
    }
    effects_.sound.playTheme(ThemeId::start, platform::soundFlag::async);
    session_.sessionRunning = true;
    effects_.shell.updateStartStopLabel();
    effects_.desktop.activateKeyboardLayout(keyboardLayoutName(options_.russian != 0));
    effects_.desktop.parkPointer();
    playIntro();
    strip_.cursor = kStripHalf;
    session_.errorCount = 0;
    session_.elapsedMs = 0;
    if (options_.timerEnabled) effects_.timers.armTimer(kSessionTimerId, options_.timerSeconds * 1000u);
    session_.clockMinutes = 0;
    session_.clockSeconds = 0;
    effects_.timers.armTimer(kClockTimerId, kClockPeriodMs);
    // The intro is not typing time.
    session_.resumeTick = effects_.time.tickCount();
    timing_.beginRun();
}

// An added drill and the uniform alphabet make their own text; everything else needs sentences.
bool Drill::hasText() {
    if (source_ != nullptr) return source_->hasLines();
    if (options_.alphabetMode && options_.uniformLetters) return true;
    return corpus_ != nullptr && corpus_->sentenceCount() != 0;
}

bool Drill::fillForStart() {
    strip_.remaining = 0;
    linesLeft_.clear();
    for (int line = 0; line < kMaxStartLines && strip_.remaining < kEnoughToStart; ++line) appendNextLine();
    return strip_.remaining >= kEnoughToStart;
}

void Drill::refuseWithoutSentences() {
    effects_.sound.playTheme(ThemeId::no, platform::soundFlag::async);
    effects_.desktop.showMessageBox(texts::textString("session.noSentences"), kQuestionTitle, messageBox::kIconInformation);
}

// The characters to type appear one by one from the right end towards the cursor.
void Drill::playIntro() {
    std::array<char, kStripLength> work;
    work.fill(' ');
    for (unsigned i = 0; i < kStripHalf; ++i) {
        work[kStripLength - 1 - i] = strip_.lineBuffer[kStripLength - 1 - i];
        effects_.painter.drawStrip(work.data());
        effects_.time.sleepMs(15 + 6 * i);
    }
}

void Drill::setPaused(bool paused) {
    if (!session_.sessionRunning || paused == session_.sessionPaused) return;
    if (paused)
        pause();
    else
        resume();
}

void Drill::pause() {
    session_.sessionPaused = true;
    stopRun();
    // Every language's pause text fills the strip: the tables' test holds them to its length.
    const std::string_view pause = texts::text("session.pause");
    session_.pauseStrip.fill(' ');
    std::memcpy(session_.pauseStrip.data(), pause.data(), std::min<std::size_t>(pause.size(), kStripLength));
    effects_.painter.drawStrip(session_.pauseStrip.data());
    effects_.sound.playTheme(ThemeId::pause, platform::soundFlag::async | platform::soundFlag::loop);
}

void Drill::resume() {
    session_.sessionPaused = false;
    playResumeAnimation();
    effects_.sound.stopSound();
    beginRun();
}

// The real strip replaces the pause text from both ends towards the middle.
void Drill::playResumeAnimation() {
    const char* shown = strip_.lineBuffer.data() + strip_.cursor - kStripHalf;
    for (unsigned i = 0; i < kStripHalf; ++i) {
        session_.pauseStrip[i] = shown[i];
        session_.pauseStrip[kStripLength - 1 - i] = shown[kStripLength - 1 - i];
        effects_.painter.drawStrip(session_.pauseStrip.data());
        effects_.time.sleepMs(90 - 4 * i);
    }
}

void Drill::beginRun() {
    session_.resumeTick = effects_.time.tickCount();
    timing_.beginRun();
    armSessionTimerForRest();
    effects_.timers.armTimer(kClockTimerId, kClockPeriodMs);
}

void Drill::stopRun() {
    session_.elapsedMs += effects_.time.tickCount() - session_.resumeTick;
    if (options_.timerEnabled) effects_.timers.killTimer(kSessionTimerId);
    effects_.timers.killTimer(kClockTimerId);
}

// The session timer fires when the typing time reaches the next multiple of its period. A zero
// period has no next multiple: the timer stays off and typing goes on.
void Drill::armSessionTimerForRest() {
    if (!options_.timerEnabled) return;
    const std::uint32_t period = options_.timerSeconds * 1000u;
    if (period == 0) return;
    effects_.timers.armTimer(kSessionTimerId, period - session_.elapsedMs % period);
}

void Drill::onClockTimer(unsigned timerId, std::uint32_t messageTime) {
    if (timerId == kSessionTimerId) {
        endSession();
        return;
    }
    // A tick that was already queued when its session stopped shows nothing.
    if (timerId != kClockTimerId || !session_.sessionRunning || session_.sessionPaused) return;
    if (++session_.clockSeconds == 60) {
        session_.clockSeconds = 0;
        ++session_.clockMinutes;
    }
    // The one-second timer drifts; every tenth tick the clock is set from real time.
    if (++session_.resyncTicks == kResyncEvery) {
        session_.resyncTicks = 0;
        const std::uint32_t elapsed = messageTime + session_.elapsedMs - session_.resumeTick;
        session_.clockMinutes = static_cast<std::uint8_t>(elapsed / 60000);
        session_.clockSeconds = static_cast<std::uint8_t>(elapsed % 60000 / 1000);
    }
    effects_.painter.drawClock(session_.clockMinutes, session_.clockSeconds);
}

void Drill::endSession() {
    if (!session_.sessionRunning) return;
    if (!session_.sessionPaused) stopRun();
    const SessionSummary summary =
        summarizeSession(session_.elapsedMs, session_.correctCount, session_.errorCount);
    session_.clockMinutes = summary.minutes;
    session_.clockSeconds = summary.seconds;
    effects_.painter.drawClock(session_.clockMinutes, session_.clockSeconds);
    // A paused session keeps its "Pause" loop.
    if (!session_.sessionPaused)
        effects_.sound.playTheme(themeForSpeed(summary.speed), platform::soundFlag::async);
    // Not running while the box is open, so the focus moving to it pauses nothing.
    session_.sessionRunning = false;
    const ScreenSize screen = effects_.desktop.screenSize();
    const ScreenPoint pointer = summaryPointerPoint(screen);
    effects_.desktop.movePointer(pointer.x, pointer.y);
    const int answer = effects_.desktop.showMessageBox(
        summaryText(summary), kQuestionTitle,
        messageBox::kYesNo | messageBox::kIconInformation | messageBox::kDefaultButton2);
    if (answer == messageBox::kYes)
        finishSession(summary);
    else
        continueSession();
}

void Drill::finishSession(const SessionSummary& summary) {
    session_.sessionPaused = false;
    if (source_ != nullptr)
        source_->sessionFinished(summary);
    else if (worthLogging(summary))
        logResult(summary);
    effects_.records.addTotals(session_.correctCount, summary.minutes * 60u + summary.seconds);
    storeKeyCounts();
    session_.correctCount = 0;
    if (corpus_ != nullptr) {
        if (corpus_->takeWrapped()) corpus_->reshuffleRemainder(false);
        corpus_->savePosition();
    }
    resetToIdle();
    session_.clockMinutes = 0;
    session_.clockSeconds = 0;
    effects_.painter.drawStrip(strip_.lineBuffer.data());
    effects_.painter.drawClock(0, 0);
    effects_.shell.updateStartStopLabel();
    effects_.sound.playTheme(ThemeId::loop, platform::soundFlag::async | platform::soundFlag::loop);
}

// Retries while the log cannot be opened and the user asks for it; Cancel gives up the line.
void Drill::logResult(const SessionSummary& summary) {
    // Two minutes or more keep the speed within 16 bits.
    const auto speed = static_cast<std::uint16_t>(std::min<std::uint32_t>(summary.speed, 0xFFFF));
    while (!effects_.records.appendResult(speed, summary.errorPercent, summary.minutes, summary.seconds)) {
        const int answer = effects_.desktop.showMessageBox(texts::textString("session.appendFailed"), kQuestionTitle,
                                                           messageBox::kRetryCancel | messageBox::kIconError);
        if (answer != messageBox::kRetry) break;
    }
}

// A paused session stays paused: any key resumes it later.
void Drill::continueSession() {
    effects_.desktop.parkPointer();
    session_.sessionRunning = true;
    if (!session_.sessionPaused) beginRun();
}

// Only "Yes" and the window's destruction store the counts; after "No" the session counts on.
void Drill::storeKeyCounts() {
    if (!keyCounts_.empty()) effects_.records.addKeyCounts(keyCounts_, timing_.keystrokes());
    keyCounts_.clear();
    timing_.clear();
}

void Drill::shutdown() {
    if (!session_.sessionRunning) return;
    effects_.records.addTotals(session_.correctCount, session_.clockMinutes * 60u + session_.clockSeconds);
    storeKeyCounts();
    if (corpus_ != nullptr) corpus_->savePosition();
    session_.sessionRunning = false;
}

}  // namespace dactyla
