#include "progress/key_map.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace dactyla {
namespace {

constexpr unsigned char kRussianShiftGap = 0x20;  // 'а' 0xE0 and 'А' 0xC0
constexpr std::array<double, 4> kRowIndent = {0.0, 1.5, 1.75, 2.25};
constexpr double kSpaceLeft = 4.0;
constexpr double kSpaceWidth = 6.0;
constexpr double kShiftWidth = 2.25;
constexpr int kShiftRow = 3;
constexpr int kHomeRow = 2;
constexpr std::size_t kLeftHomeMark = 3;   // F / А
constexpr std::size_t kRightHomeMark = 6;  // J / О

// The finger of each key by row and column, '0' the left little finger to '7' the right one; the
// same for both layouts, whose keys sit in the same places.
constexpr std::array<const char*, 4> kFingerRows = {
    "0012334456777",
    "0123344567777",
    "01233445677",
    "0123344567",
};

struct RowKeys {
    const char* unshifted;
    const char* shifted;
};

// Both layouts row by row, unshifted and shifted bytes key by key (CP1251).
constexpr std::array<RowKeys, 4> kEnglishRows = {{
    {"`1234567890-=", "~!@#$%^&*()_+"},
    {"qwertyuiop[]\\", "QWERTYUIOP{}|"},
    {"asdfghjkl;'", "ASDFGHJKL:\""},
    {"zxcvbnm,./", "ZXCVBNM<>?"},
}};
// ё1234567890-= / Ё!"№;%:?*()_+, йцукенгшщзхъ\ / ЙЦУКЕНГШЩЗХЪ/, фывапролджэ, ячсмитьбю. / ...,
constexpr std::array<RowKeys, 4> kRussianRows = {{
    {"\xB8" "1234567890-=", "\xA8!\"\xB9;%:?*()_+"},
    {"\xE9\xF6\xF3\xEA\xE5\xED\xE3\xF8\xF9\xE7\xF5\xFA\\", nullptr},
    {"\xF4\xFB\xE2\xE0\xEF\xF0\xEE\xEB\xE4\xE6\xFD", nullptr},
    {"\xFF\xF7\xF1\xEC\xE8\xF2\xFC\xE1\xFE.", nullptr},
}};

// Russian letters shift by 0x20; the two keys that are not letters shift as on the US layout.
char russianShifted(char unshifted) {
    if (unshifted == '\\') return '/';
    if (unshifted == '.') return ',';
    return static_cast<char>(static_cast<unsigned char>(unshifted) - kRussianShiftGap);
}

std::vector<KeyPlace> buildLayout(bool russian) {
    const auto& rows = russian ? kRussianRows : kEnglishRows;
    std::vector<KeyPlace> keys;
    for (int row = 0; row < 4; ++row) {
        const std::string unshifted = rows[row].unshifted;
        for (std::size_t k = 0; k < unshifted.size(); ++k) {
            const char shifted = rows[row].shifted != nullptr ? rows[row].shifted[k] : russianShifted(unshifted[k]);
            const auto finger = static_cast<Finger>(kFingerRows[row][k] - '0');
            const bool homeMark = row == kHomeRow && (k == kLeftHomeMark || k == kRightHomeMark);
            keys.push_back({std::string {unshifted[k], shifted}, row, kRowIndent[row] + static_cast<double>(k), 1,
                            finger, homeMark});
        }
    }
    keys.push_back({" ", 4, kSpaceLeft, kSpaceWidth, Finger::thumb});
    return keys;
}

}  // namespace

const std::vector<KeyPlace>& keyboardLayout(bool russian) {
    static const std::vector<KeyPlace> kRussian = buildLayout(true);
    static const std::vector<KeyPlace> kEnglish = buildLayout(false);
    return russian ? kRussian : kEnglish;
}

const KeyPlace* keyFor(bool russian, unsigned char byte) {
    for (const KeyPlace& key : keyboardLayout(russian))
        if (key.bytes.find(static_cast<char>(byte)) != std::string::npos) return &key;
    return nullptr;
}

bool needsShift(const KeyPlace& key, unsigned char byte) {
    return key.bytes.size() > 1 && static_cast<unsigned char>(key.bytes[1]) == byte &&
           static_cast<unsigned char>(key.bytes[0]) != byte;
}

const KeyPlace& shiftKey(bool left) {
    static const KeyPlace kLeft {"", kShiftRow, 0, kShiftWidth, Finger::leftPinky};
    static const KeyPlace kRight {"", kShiftRow, kKeyboardWidthInKeys - kShiftWidth, kShiftWidth, Finger::rightPinky};
    return left ? kLeft : kRight;
}

const KeyPlace& shiftFor(const KeyPlace& key) { return shiftKey(!isLeftHand(key.finger)); }


namespace {

// The most frequent first; equal counts by byte, so the order never depends on the sort.
std::vector<KeyCounts::Confusion> topConfusions(const std::array<std::uint64_t, kByteValues>& confusions) {
    std::vector<KeyCounts::Confusion> top;
    for (unsigned typed = 0; typed < kByteValues; ++typed)
        if (confusions[typed] > 0)
            top.push_back({static_cast<unsigned char>(typed),
                           static_cast<std::uint32_t>(std::min<std::uint64_t>(confusions[typed], UINT32_MAX))});
    std::stable_sort(top.begin(), top.end(), [](const auto& a, const auto& b) { return a.count > b.count; });
    if (top.size() > kConfusionsNamed) top.resize(kConfusionsNamed);
    return top;
}

}  // namespace

std::vector<KeyScore> scoreKeys(const KeyCounts& counts, bool russian, const TimingStatistics& timing) {
    std::vector<KeyScore> scores;
    for (const KeyPlace& key : keyboardLayout(russian)) {
        KeyScore score {.key = &key};
        std::array<std::uint64_t, kByteValues> confusions {};
        std::vector<const KeyTiming*> timings;
        for (const char c : key.bytes) {
            const auto expected = static_cast<unsigned char>(c);
            score.keystrokes += std::uint64_t {counts.correct(expected)} + counts.wrong(expected);
            score.wrong += counts.wrong(expected);
            for (unsigned typed = 0; typed < kByteValues; ++typed)
                confusions[typed] += counts.confusion(expected, static_cast<unsigned char>(typed));
            timings.push_back(&timing.key(expected));
        }
        score.confusedWith = static_cast<unsigned char>(
            std::max_element(confusions.begin(), confusions.end()) - confusions.begin());
        score.confusions = topConfusions(confusions);
        score.timing = keyFigures(timings);
        score.mastery = mastery(score.timing);
        scores.push_back(std::move(score));
    }
    return scores;
}

std::vector<KeyScore> weakestKeys(const std::vector<KeyScore>& scores, std::size_t count) {
    std::vector<KeyScore> weak;
    std::copy_if(scores.begin(), scores.end(), std::back_inserter(weak),
                 [](const KeyScore& score) { return score.judged() && score.wrong > 0; });
    // Rates compared as cross products: exact, and equal rates stay equal.
    std::stable_sort(weak.begin(), weak.end(), [](const KeyScore& a, const KeyScore& b) {
        const auto left = a.wrong * b.keystrokes;
        const auto right = b.wrong * a.keystrokes;
        return left != right ? left > right : a.wrong > b.wrong;
    });
    if (weak.size() > count) weak.resize(count);
    return weak;
}

std::vector<KeyScore> leastMasteredKeys(const std::vector<KeyScore>& scores, std::size_t count) {
    std::vector<KeyScore> least;
    std::copy_if(scores.begin(), scores.end(), std::back_inserter(least),
                 [](const KeyScore& score) { return score.mastery && *score.mastery < 1; });
    std::stable_sort(least.begin(), least.end(), [](const KeyScore& a, const KeyScore& b) {
        return *a.mastery != *b.mastery ? *a.mastery < *b.mastery : a.keystrokes > b.keystrokes;
    });
    if (least.size() > count) least.resize(count);
    return least;
}

std::vector<KeyScore> slowestKeys(const std::vector<KeyScore>& scores, std::size_t count) {
    std::vector<KeyScore> slow;
    std::copy_if(scores.begin(), scores.end(), std::back_inserter(slow), [](const KeyScore& score) { return score.timed(); });
    std::stable_sort(slow.begin(), slow.end(),
                     [](const KeyScore& a, const KeyScore& b) { return *a.timing.medianMs > *b.timing.medianMs; });
    if (slow.size() > count) slow.resize(count);
    return slow;
}

namespace {

std::uint8_t blend(std::uint8_t from, std::uint8_t to, double share) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * share));
}

Rgb blend(const Rgb& from, const Rgb& to, double share) {
    return {blend(from.red, to.red, share), blend(from.green, to.green, share), blend(from.blue, to.blue, share)};
}

}  // namespace

Rgb heatColour(const KeyScore& score) {
    if (!score.judged()) return kNeutralKey;
    const double rate = score.errorRate();
    if (rate >= kWeakRate) return kWeakKey;
    if (rate <= kShakyRate) return blend(kSureKey, kShakyKey, rate / kShakyRate);
    return blend(kShakyKey, kWeakKey, (rate - kShakyRate) / (kWeakRate - kShakyRate));
}

Rgb masteryColour(const KeyScore& score) {
    if (!score.mastery) return kNeutralKey;
    const double m = *score.mastery;
    if (m >= 1) return kSureKey;
    if (m <= kShakyMastery) return blend(kWeakKey, kShakyKey, m / kShakyMastery);
    return blend(kShakyKey, kSureKey, (m - kShakyMastery) / (1 - kShakyMastery));
}

std::string keyLabel(const KeyPlace& key) {
    if (key.bytes == " ") return "Space";
    const auto lower = static_cast<unsigned char>(key.bytes[0]);
    const auto upper = static_cast<unsigned char>(key.bytes[1]);
    const bool letter = (lower >= 'a' && lower <= 'z') || lower >= 0xE0 || lower == 0xB8;
    return std::string(1, static_cast<char>(letter ? upper : lower));
}

std::string byteLabel(unsigned char byte) {
    if (byte == ' ') return "Space";
    if (byte >= 0x20 && byte != 0x7F) return std::string(1, static_cast<char>(byte));
    char text[8];
    std::snprintf(text, sizeof text, "0x%.2X", static_cast<unsigned>(byte));
    return text;
}

std::string pairLabel(unsigned char previous, unsigned char character) {
    const std::string first = byteLabel(previous);
    const std::string second = byteLabel(character);
    return first.size() == 1 && second.size() == 1 ? first + second : first + " " + second;
}

}  // namespace dactyla
