#pragma once
// The timing half of a user's key statistics for one language: a KeyTiming for every CP1251
// byte and the pairs of characters typed one after the other, and how a session's keystrokes
// are added to them. Stored in the key statistics file after the counts.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drill/keystroke_timing.h"
#include "progress/key_timing.h"

namespace dactyla {

inline constexpr std::size_t kPairSamples = 16;  // latencies kept per pair, for its median
// A key or a pair is ranked by speed from this many latencies on; fewer say nothing yet.
inline constexpr std::uint32_t kLatenciesToRank = 10;

// The clean latencies of a character typed right after `previous`.
struct PairTiming {
    unsigned char previous = 0;
    unsigned char character = 0;
    std::uint32_t count = 0;  // clean latencies ever
    std::uint64_t latencySumMs = 0;
    Ring<std::uint16_t, kPairSamples> latencies {};  // the newest, for the median

    std::uint16_t id() const { return static_cast<std::uint16_t>(previous << 8 | character); }
    std::optional<double> medianMs() const;
    bool operator==(const PairTiming&) const = default;
};

// One judged keystroke added to the timing of the key that was due, through recordWrongPress
// and recordCorrectPress. Pairs and the session's smoothing are TimingStatistics::addSession's.
PressKind addKeystroke(KeyTiming& timing, const TimedKeystroke& keystroke);

class TimingStatistics {
public:
    TimingStatistics();

    const KeyTiming& key(unsigned char character) const { return keys_[character]; }
    KeyTiming& key(unsigned char character) { return keys_[character]; }
    // Every pair with a clean latency, ordered by (previous, character).
    const std::vector<PairTiming>& pairs() const { return pairs_; }
    // The pair, added when it is new.
    PairTiming& pair(unsigned char previous, unsigned char character);

    // A session's keystrokes in the order typed, through the rules of recordWrongPress and
    // recordCorrectPress: each latency is judged against its key's median at that moment. Every
    // key with clean latencies gets its session mean smoothed in. For figures during a session
    // (the course at a line's end), add Drill::keystrokes() to a copy of the stored statistics.
    void addSession(std::span<const TimedKeystroke> keystrokes);

    bool operator==(const TimingStatistics&) const = default;

private:
    std::vector<KeyTiming> keys_;  // 256: too big for the window thread's stack as an array
    std::vector<PairTiming> pairs_;
};

// Pairs with at least kLatenciesToRank latencies ever, slowest median first, at most `count`.
std::vector<PairTiming> slowestPairs(const TimingStatistics& statistics, std::size_t count);

// The timing section of the statistics file (layout in progress/key_statistics.h).
inline constexpr std::size_t kKeyTimingRecordSize = 176;
inline constexpr std::size_t kPairRecordSize = 48;
std::string encodeTiming(const TimingStatistics& statistics);
// Empty unless `bytes` is exactly one well-formed timing section.
std::optional<TimingStatistics> decodeTiming(std::string_view bytes);

}  // namespace dactyla
