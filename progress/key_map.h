#pragma once
// Keyboards for the heat map and the per-key table: which CP1251 bytes each key types and where
// it sits, the error rate, speed and mastery of each key and the colours it is drawn in.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "drill/key_counts.h"
#include "progress/mastery.h"
#include "progress/timing_statistics.h"

namespace dactyla {

// The finger that presses a key in touch typing; the eight fingers from left to right, then the
// thumbs, which share the space bar.
enum class Finger : std::uint8_t {
    leftPinky,
    leftRing,
    leftMiddle,
    leftIndex,
    rightIndex,
    rightMiddle,
    rightRing,
    rightPinky,
    thumb,
};
inline constexpr std::size_t kFingerCount = 8;  // without the thumbs
inline constexpr bool isLeftHand(Finger finger) { return finger <= Finger::leftIndex; }

// One key: the bytes it types (unshifted first, then with Shift) and its place in key units.
struct KeyPlace {
    std::string bytes;  // CP1251; bytes[0] names the key; empty for a Shift key
    int row = 0;        // 0 digits, 1 top letters, 2 home row, 3 bottom letters, 4 space bar
    double left = 0;    // from the keyboard's left edge, in key widths
    double width = 1;
    Finger finger = Finger::thumb;
    bool homeMark = false;  // the bump the index fingers find their home keys by
};

// ЙЦУКЕН for Russian, QWERTY for English: 47 keys on four rows and the space bar.
const std::vector<KeyPlace>& keyboardLayout(bool russian);
// The key of the layout that types `byte`, if any.
const KeyPlace* keyFor(bool russian, unsigned char byte);
// Whether `byte` is the key's Shift character (a capital, "!" on "1"...), not its plain one.
bool needsShift(const KeyPlace& key, unsigned char byte);

// Both Shift keys, left then right, at the ends of the bottom letter row of either layout.
const KeyPlace& shiftKey(bool left);
// The Shift a capital is typed with: the one of the other hand.
const KeyPlace& shiftFor(const KeyPlace& key);
// The keyboard's width and height in key units, the Shift keys included.
inline constexpr double kKeyboardWidthInKeys = 14.5;
inline constexpr double kKeyboardHeightInKeys = 5.0;

// Fewer keystrokes than this on a key tell nothing about it yet.
inline constexpr std::uint32_t kKeystrokesToJudge = 10;

inline constexpr std::size_t kConfusionsNamed = 3;

struct KeyScore {
    const KeyPlace* key = nullptr;
    std::uint64_t keystrokes = 0;
    std::uint64_t wrong = 0;
    unsigned char confusedWith = 0;  // the byte typed most often instead; meaningful when wrong > 0
    // The bytes typed instead, most often first, at most kConfusionsNamed.
    std::vector<KeyCounts::Confusion> confusions {};
    KeyFigures timing {};            // of all the bytes the key types
    std::optional<double> mastery {};  // with the default targets; none while not yet known
    bool judged() const { return keystrokes >= kKeystrokesToJudge; }
    bool timed() const { return timing.cleanSamples >= kLatenciesToRank; }
    double errorRate() const { return keystrokes == 0 ? 0.0 : static_cast<double>(wrong) / keystrokes; }
};

// Every key of the layout with the counts and timing of all the bytes it types, in layout order.
std::vector<KeyScore> scoreKeys(const KeyCounts& counts, bool russian, const TimingStatistics& timing = {});
// Judged keys with mistakes, highest error rate first (more mistakes first among equals).
std::vector<KeyScore> weakestKeys(const std::vector<KeyScore>& scores, std::size_t count);
// Keys whose mastery is known and below 1, least first (more keystrokes first among equals).
std::vector<KeyScore> leastMasteredKeys(const std::vector<KeyScore>& scores, std::size_t count);
// Keys with at least kLatenciesToRank latencies, slowest median first.
std::vector<KeyScore> slowestKeys(const std::vector<KeyScore>& scores, std::size_t count);

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kNeutralKey {0xD8, 0xD8, 0xD8};
inline constexpr Rgb kSureKey {0x5C, 0xB8, 0x5C};   // no mistakes
inline constexpr Rgb kShakyKey {0xF0, 0xD0, 0x40};  // kShakyRate
inline constexpr Rgb kWeakKey {0xD9, 0x3A, 0x2E};   // kWeakRate and above
inline constexpr double kShakyRate = 0.04;
inline constexpr double kWeakRate = 0.12;
inline constexpr double kShakyMastery = 0.5;  // drawn kShakyKey

// Green through yellow to red as the error rate grows; neutral grey until the key is judged.
Rgb heatColour(const KeyScore& score);
// Red at mastery 0 through yellow at one half to green at 1; neutral grey while not yet known.
Rgb masteryColour(const KeyScore& score);

// How a key is named in texts: its upper-case letter, or "Space".
std::string keyLabel(const KeyPlace& key);
// How a typed byte is named: the character, or a word for space and control bytes.
std::string byteLabel(unsigned char byte);
// How a pair of characters is named: both characters, or their labels apart when either is
// named by a word ("Space а").
std::string pairLabel(unsigned char previous, unsigned char character);

}  // namespace dactyla
