#include "weak_keys/weak_lines.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "corpus/sentence_corpus.h"
#include "progress/key_map.h"
#include "weak_keys/weak_key_drill.h"

namespace dactyla {
namespace {

KeyIndex en(char byte) { return keyIndexTable(false)[static_cast<unsigned char>(byte)]; }

WeakSpots spotsOf(std::vector<WeakKey> keys, std::vector<WeakConfusion> confusions = {},
                  std::vector<SlowPair> pairs = {}) {
    WeakSpots spots;
    spots.enough = true;
    spots.judgedKeystrokes = 1000;
    spots.keys = std::move(keys);
    spots.confusions = std::move(confusions);
    spots.pairs = std::move(pairs);
    return spots;
}

TEST(SpotScorer, CountsWeakKeysPairsAndConfusionWordsPerCharacter) {
    const SpotScorer keys(spotsOf({{en('q'), 0.4, 0.01}, {en('z'), 0.2, 0.001}}), false);
    EXPECT_DOUBLE_EQ(keys.score("aaaa"), 0.0);
    EXPECT_DOUBLE_EQ(keys.score("qaaa"), 0.25) << "the weakest key counts 1";
    EXPECT_DOUBLE_EQ(keys.score("Qaaa"), 0.25) << "both cases are one key";
    EXPECT_DOUBLE_EQ(keys.score("zaaa"), 0.125) << "half as bad, half as much";
    EXPECT_DOUBLE_EQ(keys.score("qa"), 0.5) << "a density: the shorter sentence holds more";
    EXPECT_DOUBLE_EQ(keys.score(""), 0.0);

    const SpotScorer pair(spotsOf({}, {}, {{en('t'), en('h'), 20, 400, 1.0}}), false);
    EXPECT_DOUBLE_EQ(pair.score("that"), 0.25);
    EXPECT_DOUBLE_EQ(pair.score("htat"), 0.0) << "pairs have a direction";
    EXPECT_DOUBLE_EQ(pair.score("t ha"), 0.0) << "only neighbours";

    const SpotScorer confusion(spotsOf({}, {{en('m'), en('n'), 10, 0.2}, {en('e'), en('r'), 5, 0.1}}), false);
    EXPECT_DOUBLE_EQ(confusion.score("many"), 0.25) << "one word holds both m and n";
    EXPECT_DOUBLE_EQ(confusion.score("ma ny"), 0.0) << "in two words they do not count";
    EXPECT_DOUBLE_EQ(confusion.score("manner"), (1.0 + 0.5) / 6) << "both confusions, the weaker half";
    EXPECT_DOUBLE_EQ(confusion.score("ma\r\nny"), 0.0) << "a line break ends a word";
}

TEST(JoinLineBreaks, ReadsASentenceTheWayItIsTyped) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"One line.", "One line."},
        {"Two\r\nlines.", "Two lines."},
        {"Space \r\nbefore.", "Space before."},
        {"Hyph-\r\nenated.", "Hyphenated."},
        {"Dash -\r\nkept.", "Dash - kept."},
        {"Lone\nfeed.", "Lone feed."},
        {"Lone\rreturn.", "Lone return."},
    };
    for (const auto& [raw, joined] : cases) EXPECT_EQ(joinLineBreaks(raw), joined) << raw;
}

// Sentences of random words with letters about as frequent as in English; q and x one
// letter in eighty each.
std::string randomText(unsigned sentences, unsigned seed) {
    std::mt19937 random(seed);
    const std::string letters =
        "aaaaabbcccddeeeeeeeffgghhhiiiiijkllmmnnnnoooooppqrrrrssssstttttuuvwwyy"
        "aaeeeiinoorsttx";
    std::string text;
    for (unsigned s = 0; s < sentences; ++s) {
        text += static_cast<char>('A' + random() % 26);
        const unsigned words = 3 + random() % 8;
        for (unsigned w = 0; w < words; ++w) {
            const unsigned length = 1 + random() % 7;
            for (unsigned k = 0; k < length; ++k) text += letters[random() % letters.size()];
            text += w + 1 < words ? (random() % 10 == 0 ? "\r\n" : " ") : ".";
        }
        text += s % 7 == 0 ? "\r\n" : " ";
    }
    return text;
}

double share(const std::string& text, char lower) {
    std::size_t count = 0;
    std::size_t letters = 0;
    for (const char c : text) {
        if (c == '\r' || c == '\n') continue;
        ++letters;
        count += std::tolower(static_cast<unsigned char>(c)) == lower;
    }
    return letters == 0 ? 0.0 : static_cast<double>(count) / static_cast<double>(letters);
}

std::string takeLine(WeakLines& lines) {
    std::array<char, kCorpusLineRoom> line {};
    const std::uint16_t length = lines.nextLine(line.data());
    EXPECT_LE(length, kLongestSentence + 1);
    EXPECT_EQ(line[length], '\0');
    return std::string(line.data(), length);
}

TEST(WeakLines, AreSentencesOfTheTextHoldingTheWeakKeysFarAboveTheirShare) {
    const std::string raw = randomText(2000, 7);
    const ScanText text(raw);
    const SentenceRules rules {false, 10, 120};
    std::set<std::string> sentences;
    forEachIndexableSentence(text, rules, [&](const FoundSentence& found) {
        sentences.insert(joinLineBreaks(text.view(found.start, found.end)));
    });

    WeakLines lines;
    lines.aim(text, rules, SpotScorer(spotsOf({{en('q'), 0.3, 0.01}, {en('x'), 0.3, 0.01}}), false), 1);
    EXPECT_EQ(lines.scoredCount(), sentences.size());
    EXPECT_EQ(lines.quarterSize(), (sentences.size() + 3) / 4);
    EXPECT_GT(lines.quarterFloor(), lines.meanScore());

    std::string typed;
    for (int k = 0; k < 100; ++k) {
        const std::string line = takeLine(lines);
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.back(), ' ');
        EXPECT_TRUE(sentences.contains(line.substr(0, line.size() - 1))) << line;
        typed += line;
    }
    EXPECT_GT(share(typed, 'q'), 2.5 * share(raw, 'q'));
    EXPECT_GT(share(typed, 'x'), 2.5 * share(raw, 'x'));
}

TEST(WeakLines, HandOutNoSentenceTwiceBeforeTheQuarterIsUsedUpEvenAcrossSessions) {
    const ScanText text(randomText(200, 3));
    const SentenceRules rules {false, 10, 120};
    const SpotScorer scorer(spotsOf({{en('q'), 0.3, 0.01}}), false);
    WeakLines lines;
    lines.aim(text, rules, scorer, 5);
    const std::size_t quarter = lines.quarterSize();
    ASSERT_GT(quarter, 10u);
    std::set<std::string> quarterSentences;
    for (std::size_t k = 0; k < quarter; ++k) quarterSentences.insert(std::string(lines.quarterSentence(k)) + ' ');

    std::set<std::string> firstRound;
    for (std::size_t k = 0; k < quarter / 2; ++k) firstRound.insert(takeLine(lines));
    // A new session aims again at the same spots: the rest of the quarter comes first.
    lines.aim(text, rules, scorer, 6);
    for (std::size_t k = quarter / 2; k < quarter; ++k) firstRound.insert(takeLine(lines));
    EXPECT_EQ(firstRound, quarterSentences) << "every sentence of the quarter once";

    const std::string lastOfRound = takeLine(lines);
    std::set<std::string> secondRound {lastOfRound};
    for (std::size_t k = 1; k < quarter; ++k) secondRound.insert(takeLine(lines));
    EXPECT_EQ(secondRound, quarterSentences) << "and then once more";
}

TEST(WeakLines, SameSeedSameLinesAndNothingWithoutSentences) {
    const ScanText text(randomText(300, 11));
    const SentenceRules rules {false, 10, 120};
    const SpotScorer scorer(spotsOf({{en('x'), 0.3, 0.01}}), false);
    WeakLines first;
    WeakLines second;
    first.aim(text, rules, scorer, 42);
    second.aim(text, rules, scorer, 42);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(takeLine(first), takeLine(second));

    WeakLines none;
    none.aim(ScanText("no sentences here"), rules, scorer, 1);
    EXPECT_EQ(none.quarterSize(), 0u);
    EXPECT_EQ(takeLine(none), "");
}

TEST(WeakKeyDrill, AimsOnlyWithEnoughKeystrokes) {
    const ScanText text(randomText(400, 5));
    Options options;
    options.russian = 0;
    KeyCounts counts;
    for (int k = 0; k < 290; ++k) counts.countCorrect('a');
    for (int k = 0; k < 9; ++k) counts.countWrong('q', 'w');
    WeakKeyDrill drill;
    EXPECT_FALSE(drill.aim(evidenceFromCounts(counts, false), text, options));
    EXPECT_EQ(drill.spots().judgedKeystrokes, 299u);
    std::array<char, kCorpusLineRoom> line {};
    EXPECT_EQ(drill.nextLine(line.data()), 0);

    counts.countCorrect('q');
    ASSERT_TRUE(drill.aim(evidenceFromCounts(counts, false), text, options));
    ASSERT_FALSE(drill.spots().keys.empty());
    EXPECT_EQ(drill.spots().keys[0].key, en('q'));
    ASSERT_EQ(drill.spots().confusions.size(), 1u);
    EXPECT_EQ(drill.spots().confusions[0].typed, en('w'));
    EXPECT_GT(drill.nextLine(line.data()), 0);
}

}  // namespace
}  // namespace dactyla
