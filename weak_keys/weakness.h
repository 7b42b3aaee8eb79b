#pragma once
// Which keys, confusions and key pairs a learner types worst, from their statistics and the
// text of the language. The rules take plain figures, so they are checked without any file:
// per key its keystrokes, mistakes and (from timed statistics) its mastery; per confusion how
// often one key came for another; per pair of keys its samples and median latency.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "drill/key_counts.h"
#include "progress/timing_statistics.h"

namespace dactyla {

// A key of the language's layout: its index in keyboardLayout(russian).
using KeyIndex = std::uint8_t;
inline constexpr KeyIndex kNoKey = 0xFF;

// Below this many judged keystrokes in a language there is too little to aim at.
inline constexpr std::uint64_t kKeystrokesForWeakKeys = 300;
// A confusion: one key typed for another in at least this share of the other's keystrokes,
// and at least this often.
inline constexpr double kConfusionShare = 0.05;
inline constexpr std::uint64_t kConfusionEvents = 5;
// A slow pair: kLatenciesToRank timed samples at least, and a median at least this many times
// the learner's own median latency ("well above" it: half as slow again).
inline constexpr double kSlowPairFactor = 1.5;
// Counts-only statistics: a key's error rate is smoothed towards the learner's overall rate as
// if it had this many more keystrokes at that rate, so a key typed twice, once wrongly, is not
// taken for the weakest of all.
inline constexpr double kPriorKeystrokes = 20;
// What a drill aims at: the weakest few of each kind, each at least this share of the weakest.
inline constexpr std::size_t kMostWeakKeys = 6;
inline constexpr std::size_t kMostConfusions = 8;
inline constexpr std::size_t kMostSlowPairs = 8;
inline constexpr double kShareOfWeakest = 0.25;

struct KeyEvidence {
    std::uint64_t keystrokes = 0;
    std::uint64_t wrong = 0;
    std::optional<double> mastery;  // 0 (not learnt) to 1 (mastered); none while too few timed
};

struct ConfusionEvidence {
    KeyIndex expected = kNoKey;
    KeyIndex typed = kNoKey;
    std::uint64_t count = 0;
};

struct PairEvidence {
    KeyIndex first = kNoKey;
    KeyIndex second = kNoKey;
    std::uint32_t samples = 0;
    double medianMs = 0;
};

struct WeaknessInput {
    bool russian = true;
    // The statistics time keystrokes: keys are judged by mastery, not by error rate.
    bool timed = false;
    std::vector<KeyEvidence> keys;  // one per key of the layout, in layout order
    std::vector<ConfusionEvidence> confusions;
    std::vector<PairEvidence> pairs;
    std::optional<double> userMedianMs;  // the learner's median latency over all timed keystrokes
    std::vector<double> keyFrequency;    // per key of the layout: its share of the text's keystrokes
};

struct WeakKey {
    KeyIndex key = kNoKey;
    // How badly a keystroke of it goes: 1 − mastery, or the error rate above the learner's own.
    double badness = 0;
    // badness × the key's share of the text: what it costs the learner in the language.
    double weight = 0;
};

struct WeakConfusion {
    KeyIndex expected = kNoKey;
    KeyIndex typed = kNoKey;
    std::uint64_t count = 0;
    double share = 0;  // of the expected key's keystrokes
};

struct SlowPair {
    KeyIndex first = kNoKey;
    KeyIndex second = kNoKey;
    std::uint32_t samples = 0;
    double medianMs = 0;
    double slowness = 0;  // median / the learner's median − 1
};

struct WeakSpots {
    std::uint64_t judgedKeystrokes = 0;
    // Enough keystrokes to aim at anything; when false, all three lists are empty.
    bool enough = false;
    std::vector<WeakKey> keys;                // heaviest weight first
    std::vector<WeakConfusion> confusions;    // largest share first
    std::vector<SlowPair> pairs;              // slowest first
};

WeakSpots findWeakSpots(const WeaknessInput& input);

// The evidence of counts-only statistics (Keys - Rus.dat): keystrokes and mistakes of every
// key, both cases together, and the confusions between different keys. A slip of Shift (the
// same key typed in the other case) is no confusion. Key frequencies are left empty.
WeaknessInput evidenceFromCounts(const KeyCounts& counts, bool russian);

// The evidence of timed statistics (version 2): the counts as above; each key's mastery from
// the latencies and outcomes of all the bytes it types; the pairs of keys with their pooled
// median; the learner's median over every key. Keys are judged by mastery once any key has a
// mastery figure; until then, as with counts only, by their error rates.
WeaknessInput evidenceFromStatistics(const KeyCounts& counts, const TimingStatistics& timing, bool russian);

// Each key's share of the keystrokes `text` asks for (bytes no key types are left out).
std::vector<double> keyFrequencies(std::string_view text, bool russian);

// The byte-to-key table of a layout: the key that types each byte, or kNoKey.
const std::vector<KeyIndex>& keyIndexTable(bool russian);

}  // namespace dactyla
