#pragma once
// What the on-screen keyboard shows while a session runs: the next key in its finger's colour
// (with the other hand's Shift for a capital), at once or only after a hesitation, by how well
// the key is known; after a wrong key the expected key in green, the one pressed in red and the
// finger named. Time comes in as an argument, so tests drive it with a fake clock.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "progress/key_map.h"

namespace dactyla {

enum class KeyboardMode : std::uint8_t {
    off = 0,
    always = 1,  // the next key always lit
    guide = 2,   // lit by how well the key is known
};
inline constexpr std::uint8_t kKeyboardModeCount = 3;

// The menu item steps through the modes: off, always, guide, off again.
KeyboardMode nextKeyboardMode(KeyboardMode mode);

// What the statistics know of a key (a CP1251 byte as expected by the drill).
struct KeyKnowledge {
    std::optional<double> mastery;  // 1 is learned; none while the key has too few samples
    std::optional<std::uint32_t> medianLatencyMs;
};

class KeyKnowledgeSource {
public:
    virtual ~KeyKnowledgeSource() = default;
    virtual KeyKnowledge knowledge(unsigned char byte) const = 0;
};

// Mastery below this lights the key at once; up to kLearnedMastery only after a hesitation.
inline constexpr double kLitAtOnceBelow = 0.5;
inline constexpr double kLearnedMastery = 1.0;
inline constexpr std::uint32_t kShortestHesitationMs = 600;
inline constexpr std::uint32_t kLongestHesitationMs = 2000;

// How long the guide waits on a half-learned key: twice its median latency, within the limits.
std::uint32_t hesitationMs(std::optional<std::uint32_t> medianLatencyMs);

enum class KeyLight : std::uint8_t {
    finger,    // the next key, in its finger's colour
    expected,  // after a wrong key: the key that was due, green
    pressed,   // after a wrong key: the key pressed instead, red
};

struct LitKey {
    const KeyPlace* key = nullptr;
    KeyLight light = KeyLight::finger;
    bool operator==(const LitKey&) const = default;
};

struct KeyboardPicture {
    std::array<LitKey, 4> lit {};  // a key, its Shift, the key pressed instead
    std::size_t litCount = 0;
    // After a wrong key, the finger that presses the expected key, and the one on its Shift.
    std::optional<Finger> namedFinger;
    std::optional<Finger> namedShiftFinger;
    bool operator==(const KeyboardPicture&) const = default;

    void add(const KeyPlace& key, KeyLight light);
    // The light of `key`, if it is lit.
    std::optional<KeyLight> lightOf(const KeyPlace& key) const;
};

// The colours the keyboard is drawn in: each finger's zone in a soft tint, the lit key in a
// strong one of the same hue; the thumbs' space bar grey.
Rgb softFingerColour(Finger finger);
Rgb fingerColour(Finger finger, KeyLight light);
inline constexpr Rgb kExpectedKeyColour {0x2E, 0x9E, 0x3E};
inline constexpr Rgb kPressedKeyColour {0xD9, 0x34, 0x2B};

// The drill as the keyboard follows it, read after every keystroke and session change.
struct TypingMoment {
    bool typing = false;  // a session runs and is not paused
    unsigned char expected = 0;
    std::uint32_t correctCount = 0;
    std::uint32_t errorCount = 0;
    unsigned char typed = 0;  // the byte of the keystroke just judged
};

class KeyboardGuide {
public:
    // `knowledge` must outlive the guide.
    explicit KeyboardGuide(const KeyKnowledgeSource& knowledge);

    void setMode(KeyboardMode mode);
    KeyboardMode mode() const { return mode_; }
    void setLayout(bool russian);
    bool russian() const { return russian_; }

    // Takes in what the drill shows now, `now` in ms. True when the picture changed.
    bool follow(const TypingMoment& moment, std::uint32_t now);
    // The clock moved on without a keystroke; true when a hint came due.
    bool tick(std::uint32_t now);
    // Milliseconds from `now` until a pending hint comes due, if one is pending.
    std::optional<std::uint32_t> msUntilHint(std::uint32_t now) const;
    // The key due now is lit: pressing it now is a hinted keystroke.
    bool dueKeyLit() const { return dueKey_ != nullptr && picture_.lightOf(*dueKey_).has_value(); }
    // Lit because the learner hesitated or mistyped it: the presses until it is typed right read
    // the guide. A key lit at once (not yet known, weak, or the "always" mode) is not: its presses
    // are how the learner comes to know it.
    bool dueKeyHinted() const { return dueKeyLit() && (mistyped_ || hintDelay_.value_or(0) > 0); }

    const KeyboardPicture& picture() const { return picture_; }

private:
    void keyDue(unsigned char expected, std::uint32_t now);
    void wrongKey(unsigned char typed);
    void planHint();
    void drawPicture();

    const KeyKnowledgeSource& knowledge_;
    KeyboardMode mode_ = KeyboardMode::off;
    bool russian_ = true;
    bool typing_ = false;
    unsigned char due_ = 0;
    const KeyPlace* dueKey_ = nullptr;
    std::uint32_t dueSince_ = 0;
    std::optional<std::uint32_t> hintDelay_;  // from dueSince_; none: never lit unless mistyped
    bool hintShown_ = false;
    bool mistyped_ = false;
    unsigned char pressed_ = 0;
    std::uint32_t correctCount_ = 0;
    std::uint32_t errorCount_ = 0;
    KeyboardPicture picture_;
};

}  // namespace dactyla
