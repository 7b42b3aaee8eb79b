#pragma once
// How fast and how surely one character is typed: its recent latencies and outcomes, kept per
// CP1251 byte and language in the key statistics file. The drill measures; the rules that turn
// its measurements into these records live here, in recordWrongPress and recordCorrectPress.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace dactyla {

// The last N values pushed, read oldest first.
template <typename T, std::size_t N>
class Ring {
public:
    void push(T value) {
        values_[next_] = value;
        next_ = (next_ + 1) % N;
        if (size_ < N) ++size_;
    }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // 0 is the oldest value kept.
    T operator[](std::size_t k) const { return values_[(next_ + N - size_ + k) % N]; }

    // Equal when they hold the same values in the same order, wherever the ring starts.
    bool operator==(const Ring& other) const {
        if (size_ != other.size_) return false;
        for (std::size_t k = 0; k < size_; ++k)
            if ((*this)[k] != other[k]) return false;
        return true;
    }

private:
    std::array<T, N> values_ {};
    std::size_t next_ = 0;
    std::size_t size_ = 0;
};

inline constexpr std::size_t kLatencySamples = 64;   // enough for a steady median and 90th percentile
inline constexpr std::size_t kOutcomeSamples = 128;  // the recent error rate
// A latency above max(kHesitationFloorMs, kHesitationFactor × the key's median) is a hesitation:
// the learner stopped to think or looked away, which says nothing about the key's speed.
inline constexpr std::uint32_t kHesitationFloorMs = 2000;
inline constexpr std::uint32_t kHesitationFactor = 3;
// Faster than any finger: characters that arrive together (sent by another program, or several
// from one key press) are not timed.
inline constexpr std::uint32_t kFastestLatencyMs = 20;
// Latencies are kept in 16 bits; a longer one is kept as this.
inline constexpr std::uint32_t kLongestKeptLatencyMs = 0xFFFF;

struct KeyTiming {
    // Clean latencies in ms, from the moment the key became due to its correct press: timed,
    // not hinted, not a hesitation.
    Ring<std::uint16_t, kLatencySamples> latencies {};
    // true for a wrong keystroke; keystrokes made while a hint showed the key are left out.
    Ring<bool, kOutcomeSamples> outcomes {};
    std::uint32_t hesitations = 0;
    std::uint32_t hintedPresses = 0;  // right or wrong, while a hint showed the key
    // Exponential average (kSmoothing) of each session's mean clean latency, in µs; 0 before the
    // first session with a clean latency.
    std::uint32_t smoothedLatencyUs = 0;
    // First-press reactions of the clean presses: time from due to the first key pressed, right
    // or wrong. Below the latency when the first press was wrong.
    std::uint32_t reactionCount = 0;
    std::uint64_t reactionSumMs = 0;

    bool operator==(const KeyTiming&) const = default;
};

inline constexpr double kSmoothing = 0.1;  // weight of the newest session in smoothedLatencyUs

// One correct press of a due key as the drill measured it.
struct CorrectPress {
    bool timed = false;   // false for the first character of a session or a resume
    bool hinted = false;  // a hint showed the key
    std::uint32_t latencyMs = 0;
    std::uint32_t reactionMs = 0;
};

enum class PressKind {
    untimed,     // counted as an outcome only
    hinted,      // counted as a hinted press only
    hesitation,  // an outcome and a hesitation
    clean,       // an outcome, a latency and a reaction
};

// max(kHesitationFloorMs, kHesitationFactor × median) with the key's current samples.
std::uint32_t hesitationThresholdMs(const KeyTiming& timing);

void recordWrongPress(KeyTiming& timing, bool hinted);
PressKind recordCorrectPress(KeyTiming& timing, const CorrectPress& press);

// Folds a session's mean clean latency into smoothedLatencyUs.
void smoothSession(KeyTiming& timing, double sessionMeanMs);

// The median (the mean of the middle two for an even count) and a percentile by nearest rank
// of any latencies, the 90th of a key's for example; none of no values.
std::optional<double> medianOf(std::vector<std::uint16_t> latencies);
std::optional<double> percentileOf(std::vector<std::uint16_t> latencies, double share);
inline constexpr double kSlowShare = 0.9;

std::vector<std::uint16_t> keptLatencies(const KeyTiming& timing);
std::optional<double> medianLatencyMs(const KeyTiming& timing);

}  // namespace dactyla
