#include "drill/keystroke_timing.h"

namespace dactyla {

void KeystrokeTimer::beginRun() {
    runBegins_ = true;
    firstPressAt_.reset();
}

void KeystrokeTimer::wrongPress(unsigned char expected, std::uint32_t messageTime) {
    if (!firstPressAt_) firstPressAt_ = messageTime;
    keep({.expected = expected, .hinted = hinted_});
}

void KeystrokeTimer::correctPress(unsigned char expected, unsigned char previous, std::uint32_t messageTime) {
    TimedKeystroke keystroke {.expected = expected, .previous = previous, .correct = true, .hinted = hinted_};
    if (!runBegins_) {
        keystroke.timed = true;
        keystroke.latencyMs = since(messageTime);
        keystroke.reactionMs = firstPressAt_ ? since(*firstPressAt_) : keystroke.latencyMs;
    }
    keep(keystroke);
    runBegins_ = false;
    hinted_ = false;
    dueAt_ = messageTime;
    firstPressAt_.reset();
}

void KeystrokeTimer::clear() {
    keystrokes_.clear();
    hinted_ = false;
    beginRun();
}

// Message times wrap at 2^32; one older than the due time counts as 0.
std::uint32_t KeystrokeTimer::since(std::uint32_t messageTime) const {
    const std::uint32_t elapsed = messageTime - dueAt_;
    return static_cast<std::int32_t>(elapsed) < 0 ? 0 : elapsed;
}

void KeystrokeTimer::keep(const TimedKeystroke& keystroke) {
    if (keystrokes_.size() < kMaxTimedKeystrokes) keystrokes_.push_back(keystroke);
}

}  // namespace dactyla
