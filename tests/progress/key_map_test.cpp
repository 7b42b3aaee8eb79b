#include "progress/key_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/cp1251.h"

namespace dactyla {
namespace {

struct Place {
    const char* utf8;  // a character the key types
    int row;
    double left;
    const char* label;  // UTF-8
};

TEST(KeyboardLayout, KeysSitWhereTheKeyboardHasThem) {
    const Place russian[] = {
        {"ё", 0, 0, "Ё"},  {"Ё", 0, 0, "Ё"},  {"1", 0, 1, "1"},    {"№", 0, 3, "3"},   {"\"", 0, 2, "2"},
        {";", 0, 4, "4"},  {"=", 0, 12, "="}, {"й", 1, 1.5, "Й"},  {"Ъ", 1, 12.5, "Ъ"}, {"/", 1, 13.5, "\\"},
        {"ф", 2, 1.75, "Ф"}, {"а", 2, 4.75, "А"}, {"э", 2, 11.75, "Э"}, {"я", 3, 2.25, "Я"}, {"ю", 3, 10.25, "Ю"},
        {".", 3, 11.25, "."}, {",", 3, 11.25, "."}, {" ", 4, 4, "Space"},
    };
    const Place english[] = {
        {"`", 0, 0, "`"},   {"@", 0, 2, "2"},     {"q", 1, 1.5, "Q"},  {"P", 1, 10.5, "P"}, {"|", 1, 13.5, "\\"},
        {"a", 2, 1.75, "A"}, {"\"", 2, 11.75, "'"}, {"z", 3, 2.25, "Z"}, {"?", 3, 11.25, "/"}, {" ", 4, 4, "Space"},
    };
    for (const bool isRussian : {true, false}) {
        for (const Place& place : isRussian ? std::vector<Place>(std::begin(russian), std::end(russian))
                                            : std::vector<Place>(std::begin(english), std::end(english))) {
            const std::string byte = platform::utf8ToCp1251(place.utf8);
            ASSERT_EQ(byte.size(), 1u);
            const KeyPlace* key = keyFor(isRussian, static_cast<unsigned char>(byte[0]));
            ASSERT_NE(key, nullptr) << place.utf8;
            EXPECT_EQ(key->row, place.row) << place.utf8;
            EXPECT_DOUBLE_EQ(key->left, place.left) << place.utf8;
            EXPECT_EQ(keyLabel(*key), platform::utf8ToCp1251(place.label)) << place.utf8;
        }
    }
    EXPECT_EQ(keyFor(true, 'q'), nullptr) << "Latin letters are not on the Russian layout";
    EXPECT_EQ(keyFor(false, 0xE0), nullptr);
    EXPECT_DOUBLE_EQ(keyFor(false, ' ')->width, 6);
}

TEST(KeyboardLayout, EveryLetterIsOnExactlyOneKeyOfItsLanguage) {
    for (const bool russian : {true, false}) {
        const auto& keys = keyboardLayout(russian);
        EXPECT_EQ(keys.size(), 48u);
        std::set<char> seen;
        for (const KeyPlace& key : keys)
            for (const char c : key.bytes) EXPECT_TRUE(seen.insert(c).second) << "twice: " << c;
        const unsigned first = russian ? 0xC0 : 'A';
        const unsigned last = russian ? 0xFF : 'z';
        for (unsigned byte = first; byte <= last; ++byte) {
            const bool letter = russian || (byte <= 'Z' || byte >= 'a');
            if (letter) {
                EXPECT_NE(keyFor(russian, static_cast<unsigned char>(byte)), nullptr) << byte;
            }
        }
    }
}

KeyScore scored(std::uint64_t keystrokes, std::uint64_t wrong) {
    return {.key = &keyboardLayout(false)[0], .keystrokes = keystrokes, .wrong = wrong};
}

TEST(HeatColour, RunsFromGreenThroughYellowToRedAndIsNeutralUntilJudged) {
    struct Case {
        std::uint64_t keystrokes;
        std::uint64_t wrong;
        Rgb colour;
    };
    const Case cases[] = {
        {0, 0, kNeutralKey},     {9, 9, kNeutralKey},   {10, 0, kSureKey},     {100, 4, kShakyKey},
        {100, 12, kWeakKey},     {10, 10, kWeakKey},    {100, 2, {0xA6, 0xC4, 0x4E}},
        {100, 8, {0xE5, 0x85, 0x37}},
    };
    for (const Case& c : cases) {
        const Rgb colour = heatColour(scored(c.keystrokes, c.wrong));
        EXPECT_EQ(colour, c.colour) << c.keystrokes << " " << c.wrong << ": " << int {colour.red} << ","
                                    << int {colour.green} << "," << int {colour.blue};
    }
    // More mistakes never look better: towards yellow red grows, then green falls.
    Rgb previous = heatColour(scored(100, 0));
    for (std::uint64_t wrong = 1; wrong <= 20; ++wrong) {
        const Rgb colour = heatColour(scored(100, wrong));
        if (wrong <= 4)
            EXPECT_GT(colour.red, previous.red) << wrong;
        else
            EXPECT_LE(colour.green, previous.green) << wrong;
        previous = colour;
    }
}

TEST(KeyScores, AddUpEveryByteOfAKeyAndListTheWeakestJudgedKeysFirst) {
    KeyCounts counts;
    const auto type = [&counts](char expected, int correct, int wrong, char typed) {
        for (int k = 0; k < correct; ++k) counts.countCorrect(static_cast<unsigned char>(expected));
        for (int k = 0; k < wrong; ++k)
            counts.countWrong(static_cast<unsigned char>(expected), static_cast<unsigned char>(typed));
    };
    type('a', 15, 5, 's');   // 25 %
    type('A', 5, 5, 'S');    // with 'a': 10 of 30
    type('s', 18, 2, 'a');   // 10 %
    type('d', 9, 1, 'f');    // 10 %, fewer mistakes than 's'
    type('f', 40, 0, 'x');   // judged, no mistakes
    type('g', 3, 3, 'h');    // not judged: 6 keystrokes
    type('h', 10, 10, 'j');  // 50 %
    type('j', 10, 2, 'k');
    type('k', 10, 1, 'l');
    const auto scores = scoreKeys(counts, false);
    const KeyPlace* a = keyFor(false, 'a');
    const auto aScore = std::find_if(scores.begin(), scores.end(), [a](const KeyScore& s) { return s.key == a; });
    ASSERT_NE(aScore, scores.end());
    EXPECT_EQ(aScore->keystrokes, 30u);
    EXPECT_EQ(aScore->wrong, 10u);
    EXPECT_EQ(aScore->confusedWith, 'S') << "5 's' against 5 'S': the lower byte value first";

    const auto weak = weakestKeys(scores, 5);
    std::string order;
    for (const KeyScore& score : weak) order += keyLabel(*score.key);
    EXPECT_EQ(order, "HAJSD");
    EXPECT_EQ(weakestKeys(scores, 2).size(), 2u);
    EXPECT_TRUE(weakestKeys(scoreKeys(KeyCounts {}, true), 5).empty());
}

TEST(KeyScores, CarryTheTopConfusionsAndTheTimingOfEveryByteOfAKey) {
    KeyCounts counts;
    for (const char typed : std::string("gggjjyyn")) counts.countWrong('h', static_cast<unsigned char>(typed));
    counts.countWrong('H', 'j');
    TimingStatistics timing;
    std::vector<TimedKeystroke> keystrokes;
    for (int k = 0; k < 15; ++k) {
        keystrokes.push_back({.expected = 'h', .correct = true, .timed = true, .latencyMs = 300});
        keystrokes.push_back({.expected = 'H', .correct = true, .timed = true, .latencyMs = 600});
        keystrokes.push_back({.expected = 'e', .correct = true, .timed = true, .latencyMs = 100});
    }
    timing.addSession(keystrokes);
    const auto scores = scoreKeys(counts, false, timing);
    const auto of = [&](char byte) {
        return *std::find_if(scores.begin(), scores.end(), [&](const KeyScore& s) { return s.key == keyFor(false, byte); });
    };
    const KeyScore h = of('h');
    ASSERT_EQ(h.confusions.size(), 3u);
    EXPECT_EQ(h.confusions[0].typed, 'g') << "equal counts by byte";
    EXPECT_EQ(h.confusions[1].typed, 'j') << "three times, once of them for H";
    EXPECT_EQ(h.confusions[1].count, 3u);
    EXPECT_EQ(h.confusions[2].typed, 'y') << "n is left out";
    EXPECT_EQ(h.timing.cleanSamples, 30u) << "h and H pooled";
    EXPECT_EQ(h.timing.medianMs, 450.0);
    ASSERT_TRUE(h.mastery.has_value());
    EXPECT_FALSE(of('e').mastery.has_value()) << "15 samples are not yet known";

    const auto slowest = slowestKeys(scores, 5);
    ASSERT_EQ(slowest.size(), 2u) << "only keys with ten latencies";
    EXPECT_EQ(slowest[0].key, keyFor(false, 'h'));
    EXPECT_EQ(slowest[1].key, keyFor(false, 'e'));
}

TEST(KeyScores, MasteryColoursRunFromRedThroughYellowToGreen) {
    KeyScore score;
    EXPECT_EQ(masteryColour(score), kNeutralKey) << "not yet known";
    score.mastery = 0.0;
    EXPECT_EQ(masteryColour(score), kWeakKey);
    score.mastery = kShakyMastery;
    EXPECT_EQ(masteryColour(score), kShakyKey);
    score.mastery = 1.0;
    EXPECT_EQ(masteryColour(score), kSureKey);
    score.mastery = 0.75;
    const Rgb between = masteryColour(score);
    EXPECT_GT(between.green, kShakyKey.green - 0x20);
    EXPECT_LT(between.red, kShakyKey.red);
    EXPECT_GT(between.red, kSureKey.red);
}

TEST(KeyLabels, PairsReadAsTwoCharactersOrTwoNames) {
    EXPECT_EQ(pairLabel('t', 'h'), "th");
    EXPECT_EQ(pairLabel(' ', 'h'), "Space h");
    EXPECT_EQ(pairLabel('.', ' '), ". Space");
    EXPECT_EQ(pairLabel(0xEF, 0xE0), "\xEF\xE0");
    EXPECT_EQ(pairLabel('\t', 'a'), "0x09 a");
}

}  // namespace
}  // namespace dactyla
