#pragma once
// When each character of the drill became due and how long it took to type: the measurements
// behind the per-key speed. Times are the tick counts the window's messages carry, so a key is
// timed from the moment it was pressed, not from when the program got round to it.
//
// A character becomes due when the cursor reaches it: at the correct keystroke before it, or
// when a run begins (a session starts or resumes, or goes on after the summary's "No"). The
// first character of a run is not timed, so neither the intro, a pause nor the summary box is
// ever counted. Its latency runs from due to its correct press, wrong presses in between
// included; the first press's reaction is kept beside it.
//
// Hints: whoever shows the due key to the learner (the on-screen keyboard) calls markHinted()
// once it is shown. Every keystroke from then until the key is typed right is marked hinted, so
// the statistics can leave them out of the key's mastery. The mark ends with that correct press.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace dactyla {

// One judged keystroke, in the order typed.
struct TimedKeystroke {
    unsigned char expected = 0;  // the character that was due
    unsigned char previous = 0;  // correct presses: the character typed right before it in this run
    bool correct = false;
    bool hinted = false;
    bool timed = false;             // correct presses after the first of their run
    std::uint32_t latencyMs = 0;    // timed presses: due to this press
    std::uint32_t reactionMs = 0;   // timed presses: due to the first press for this character
    bool operator==(const TimedKeystroke&) const = default;
};

// A session keeps at most this many (about 12 MiB, days of typing); later keystrokes are still
// judged and counted, only not timed.
inline constexpr std::size_t kMaxTimedKeystrokes = std::size_t {1} << 20;

class KeystrokeTimer {
public:
    // A session starts or resumes: the next correct press is the first of a run.
    void beginRun();
    // The due character is being shown as a hint.
    void markHinted() { hinted_ = true; }

    void wrongPress(unsigned char expected, std::uint32_t messageTime);
    // `previous` is the character before `expected` in the text, typed in this run unless this
    // press is the run's first.
    void correctPress(unsigned char expected, unsigned char previous, std::uint32_t messageTime);

    // This session's keystrokes since the last clear().
    const std::vector<TimedKeystroke>& keystrokes() const { return keystrokes_; }
    // After the keystrokes were stored; a new session begins with beginRun().
    void clear();

private:
    std::uint32_t since(std::uint32_t messageTime) const;
    void keep(const TimedKeystroke& keystroke);

    bool runBegins_ = true;
    bool hinted_ = false;
    std::uint32_t dueAt_ = 0;
    std::optional<std::uint32_t> firstPressAt_;
    std::vector<TimedKeystroke> keystrokes_;
};

}  // namespace dactyla
