#include "guide/keyboard_guide.h"

#include <algorithm>

namespace dactyla {

namespace {

struct FingerTints {
    Rgb soft;
    Rgb strong;
};

// Left to right, the eight fingers and then the thumbs.
constexpr std::array<FingerTints, kFingerCount + 1> kFingerTints = {{
    {{0xF4, 0xC7, 0xC3}, {0xE0, 0x66, 0x66}},
    {{0xFC, 0xE0, 0xC4}, {0xF0, 0x98, 0x40}},
    {{0xFF, 0xF2, 0xC2}, {0xE6, 0xB8, 0x1E}},
    {{0xD9, 0xEA, 0xD3}, {0x6A, 0xA8, 0x4F}},
    {{0xCC, 0xE6, 0xE8}, {0x3C, 0x9C, 0xA6}},
    {{0xCF, 0xE0, 0xF5}, {0x5B, 0x8F, 0xD9}},
    {{0xDE, 0xD6, 0xF0}, {0x8E, 0x7C, 0xC3}},
    {{0xF0, 0xD4, 0xE4}, {0xC2, 0x6E, 0xA0}},
    {{0xEC, 0xEC, 0xEC}, {0x9A, 0x9A, 0x9A}},
}};

}  // namespace

Rgb fingerColour(Finger finger, KeyLight light) {
    switch (light) {
    case KeyLight::expected: return kExpectedKeyColour;
    case KeyLight::pressed: return kPressedKeyColour;
    case KeyLight::finger: break;
    }
    return kFingerTints[static_cast<std::size_t>(finger)].strong;
}

Rgb softFingerColour(Finger finger) { return kFingerTints[static_cast<std::size_t>(finger)].soft; }

KeyboardMode nextKeyboardMode(KeyboardMode mode) {
    return static_cast<KeyboardMode>((static_cast<std::uint8_t>(mode) + 1) % kKeyboardModeCount);
}

std::uint32_t hesitationMs(std::optional<std::uint32_t> medianLatencyMs) {
    if (!medianLatencyMs) return kLongestHesitationMs;
    const std::uint64_t twice = std::uint64_t {*medianLatencyMs} * 2;
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(twice, kShortestHesitationMs, kLongestHesitationMs));
}

void KeyboardPicture::add(const KeyPlace& key, KeyLight light) {
    if (litCount < lit.size() && !lightOf(key)) lit[litCount++] = {&key, light};
}

std::optional<KeyLight> KeyboardPicture::lightOf(const KeyPlace& key) const {
    for (std::size_t k = 0; k < litCount; ++k)
        if (lit[k].key == &key) return lit[k].light;
    return std::nullopt;
}

KeyboardGuide::KeyboardGuide(const KeyKnowledgeSource& knowledge) : knowledge_(knowledge) {}

void KeyboardGuide::setMode(KeyboardMode mode) {
    mode_ = mode;
    planHint();
    drawPicture();
}

void KeyboardGuide::setLayout(bool russian) {
    russian_ = russian;
    dueKey_ = keyFor(russian_, due_);
    drawPicture();
}

bool KeyboardGuide::follow(const TypingMoment& moment, std::uint32_t now) {
    const KeyboardPicture before = picture_;
    if (!moment.typing) {
        typing_ = false;
        mistyped_ = false;
    } else if (!typing_ || moment.correctCount != correctCount_ || moment.expected != due_) {
        typing_ = true;
        keyDue(moment.expected, now);
    } else if (moment.errorCount != errorCount_) {
        wrongKey(moment.typed);
    } else {
        tick(now);
    }
    correctCount_ = moment.correctCount;
    errorCount_ = moment.errorCount;
    drawPicture();
    return !(picture_ == before);
}

bool KeyboardGuide::tick(std::uint32_t now) {
    if (!typing_ || hintShown_ || !hintDelay_) return false;
    // Differences of the wrapping tick count stay right across the wrap.
    if (now - dueSince_ < *hintDelay_) return false;
    hintShown_ = true;
    drawPicture();
    return true;
}

std::optional<std::uint32_t> KeyboardGuide::msUntilHint(std::uint32_t now) const {
    if (!typing_ || hintShown_ || mistyped_ || !hintDelay_) return std::nullopt;
    const std::uint32_t waited = now - dueSince_;
    return waited >= *hintDelay_ ? 0 : *hintDelay_ - waited;
}

void KeyboardGuide::keyDue(unsigned char expected, std::uint32_t now) {
    due_ = expected;
    dueKey_ = keyFor(russian_, expected);
    dueSince_ = now;
    mistyped_ = false;
    planHint();
}

void KeyboardGuide::wrongKey(unsigned char typed) {
    mistyped_ = true;
    pressed_ = typed;
}

// Always: at once. Guide: at once while the key is new or weak, after a hesitation while it is
// half learned, never once it is learned.
void KeyboardGuide::planHint() {
    hintDelay_.reset();
    if (mode_ == KeyboardMode::always) {
        hintDelay_ = 0;
    } else if (mode_ == KeyboardMode::guide) {
        const KeyKnowledge known = knowledge_.knowledge(due_);
        if (!known.mastery || *known.mastery < kLitAtOnceBelow)
            hintDelay_ = 0;
        else if (*known.mastery < kLearnedMastery)
            hintDelay_ = hesitationMs(known.medianLatencyMs);
    }
    hintShown_ = hintDelay_ == 0u;
}

void KeyboardGuide::drawPicture() {
    picture_ = {};
    if (mode_ == KeyboardMode::off || !typing_ || dueKey_ == nullptr) return;
    const bool capital = needsShift(*dueKey_, due_);
    if (mistyped_) {
        picture_.add(*dueKey_, KeyLight::expected);
        if (capital) picture_.add(shiftFor(*dueKey_), KeyLight::expected);
        // The right key with the wrong Shift stays green: the Shift is what was wrong.
        if (const KeyPlace* pressed = keyFor(russian_, pressed_)) picture_.add(*pressed, KeyLight::pressed);
        picture_.namedFinger = dueKey_->finger;
        if (capital) picture_.namedShiftFinger = shiftFor(*dueKey_).finger;
    } else if (hintShown_) {
        picture_.add(*dueKey_, KeyLight::finger);
        if (capital) picture_.add(shiftFor(*dueKey_), KeyLight::finger);
    }
}

}  // namespace dactyla
