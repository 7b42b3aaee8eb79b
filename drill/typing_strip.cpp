// The text being typed and the judgement of every typed character.
#include <algorithm>
#include <cstring>

#include "base/random.h"
#include "drill/drill.h"
#include "drill/line_feed.h"
#include "platform/sound_player.h"

namespace dactyla {
namespace {

constexpr char kEnter = 13;
constexpr char kEscape = 27;
constexpr char kSpace = 32;
constexpr unsigned kQuietFlags = platform::soundFlag::async | platform::soundFlag::noStop;
constexpr int kMelodySpread = 77;

}  // namespace

Drill::Drill(const DrillEffects& effects, const Options& options) : effects_(effects), options_(options) {
    resetToIdle();
    session_.pauseStrip.fill(' ');
}

const char* Drill::visibleStrip() const {
    return session_.sessionPaused ? session_.pauseStrip.data()
                                  : strip_.lineBuffer.data() + strip_.cursor - kStripHalf;
}

void Drill::onChar(char character, std::uint32_t messageTime) {
    if (!session_.sessionRunning) {
        if (character == kEnter || character == kSpace)
            startSession();
        else if (character == kEscape)
            effects_.shell.closeMainWindow();
        return;
    }
    // A line feed that came back empty may have left nothing to type: ask it again.
    if (!session_.sessionPaused && strip_.remaining == 0) refill();
    if (!session_.sessionPaused && isCorrect(character))
        acceptCorrect(character, messageTime);
    else if (character == kEscape)
        endSession();
    else if (session_.sessionPaused)
        setPaused(false);
    else if (strip_.remaining > 0)
        rejectWrong(character, messageTime);  // with nothing to type no key can be wrong
}

bool Drill::isCorrect(char character) const {
    return strip_.remaining > 0 && strip_.lineBuffer[strip_.cursor] == character;
}

void Drill::acceptCorrect(char character, std::uint32_t messageTime) {
    ++session_.correctCount;
    keyCounts_.countCorrect(static_cast<unsigned char>(character));
    timing_.correctPress(static_cast<unsigned char>(character),
                         static_cast<unsigned char>(strip_.lineBuffer[strip_.cursor - 1]), messageTime);
    ++strip_.cursor;
    countTowardsLineEnd();
    effects_.painter.drawStrip(strip_.lineBuffer.data() + strip_.cursor - kStripHalf);
    if (--strip_.remaining <= kStripHalf) refill();
    playCharacterSound(character);
    countDownMelody();
}

// The visible 30 characters stay the same: typed ones land at 0..14, pending ones from 15 on.
void Drill::refill() {
    char* buffer = strip_.lineBuffer.data();
    std::memmove(buffer, buffer + strip_.cursor - kStripHalf, kStripHalf + strip_.remaining);
    strip_.cursor = kStripHalf;
    appendNextLine();
}

void Drill::appendNextLine() {
    const unsigned destination = kStripHalf + strip_.remaining;
    char* buffer = strip_.lineBuffer.data();
    // Should the feed come back empty, the strip shows blanks rather than old text.
    if (destination < kStripLength) std::fill(buffer + destination, buffer + kStripLength, ' ');
    const std::uint16_t added = nextDrillLine(buffer + destination, options_, corpus_, source_);
    // Whatever the feed claims, the characters to type stay inside the buffer.
    const auto kept = static_cast<std::uint16_t>(std::min<unsigned>(added, kLineBufferSize - 1 - destination));
    strip_.remaining += kept;
    if (source_ != nullptr && kept > 0) linesLeft_.push_back(kept);
}

// An added drill learns of every line typed to its end; an unlock it makes is announced.
void Drill::countTowardsLineEnd() {
    if (source_ == nullptr || linesLeft_.empty()) return;
    if (--linesLeft_.front() != 0) return;
    linesLeft_.pop_front();
    if (source_->lineTyped()) effects_.sound.playTheme(ThemeId::yes, platform::soundFlag::async);
}

void Drill::playCharacterSound(char character) {
    switch (static_cast<unsigned char>(character)) {
    case 'z':
    case 0xFD:  // 'э'
        effects_.sound.playTheme(ThemeId::laugh, kQuietFlags);
        break;
    case 'q':
    case 0xFA:  // 'ъ'
        effects_.sound.playTheme(ThemeId::yes, kQuietFlags);
        break;
    default:
        break;
    }
}

void Drill::countDownMelody() {
    const std::int32_t due = strip_.melodyCountdown;
    // Wraps instead of overflowing; the countdown falls freely while the background sound is off.
    strip_.melodyCountdown = static_cast<std::int32_t>(static_cast<std::uint32_t>(due) - 1u);
    if (due == 0 && options_.backgroundSound) {
        effects_.sound.playTheme(ThemeId::bkGround, kQuietFlags);
        strip_.melodyCountdown = nextRandom() % kMelodySpread;
    }
}

void Drill::rejectWrong(char character, std::uint32_t messageTime) {
    ++session_.errorCount;
    const auto expected = static_cast<unsigned char>(strip_.lineBuffer[strip_.cursor]);
    keyCounts_.countWrong(expected, static_cast<unsigned char>(character));
    timing_.wrongPress(expected, messageTime);
    effects_.sound.playTheme(ThemeId::error, platform::soundFlag::async);
}

void Drill::resetToIdle() {
    std::fill(strip_.lineBuffer.begin(), strip_.lineBuffer.begin() + kStripLength, ' ');
    strip_.cursor = kStripHalf;
    strip_.remaining = 0;
    linesLeft_.clear();
}

}  // namespace dactyla
