#include "drill/line_feed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "base/random.h"
#include "drill_fakes.h"

namespace dactyla {
namespace {

using testing::ScriptedCorpus;

std::string range(unsigned first, unsigned last) {
    std::string s;
    for (unsigned c = first; c <= last; ++c) s += static_cast<char>(c);
    return s;
}

Options alphabetOptions(bool russian, bool capitals) {
    Options options;
    options.alphabetMode = 1;
    options.uniformLetters = 1;
    options.russian = russian ? 1 : 0;
    options.allowCapitals = capitals ? 1 : 0;
    return options;
}

std::string alphabetLine(std::uint32_t tick, const Options& options) {
    std::array<char, kAlphabetLineRoom + 1> buffer;
    buffer.fill('#');
    const std::uint16_t length = makeAlphabetLineAt(tick, buffer.data(), options);
    EXPECT_EQ(buffer[length], '\0');
    EXPECT_EQ(buffer[kAlphabetLineRoom], '#') << "wrote past its room";
    return std::string(buffer.data(), length);
}

TEST(AlphabetLine, HoldsEveryLetterPunctuationMarkAndDigitExactlyOnce) {
    struct Case {
        bool russian, capitals;
        std::string letters, capitalLetters;
        std::size_t minLength, maxLength;
    };
    const Case cases[] = {
        { true, false, range(0xE0, 0xFF), "", 58, 63 },
        { true, true, range(0xE0, 0xFF), range(0xC0, 0xDF), 95, 104 },
        { false, false, range('a', 'z'), "", 52, 57 },
        { false, true, range('a', 'z'), range('A', 'Z'), 83, 92 },
    };
    const std::string punctuation = ".!?,-\":;()";
    const std::string digits = range('0', '9');
    for (const Case& c : cases) {
        const Options options = alphabetOptions(c.russian, c.capitals);
        for (std::uint32_t tick = 0; tick < 200; ++tick) {
            const std::string line = alphabetLine(tick * 7919, options);
            std::string nonSpaces = line;
            nonSpaces.erase(std::remove(nonSpaces.begin(), nonSpaces.end(), ' '), nonSpaces.end());
            std::string wanted = c.letters + punctuation + c.capitalLetters + digits;
            std::sort(nonSpaces.begin(), nonSpaces.end());
            std::sort(wanted.begin(), wanted.end());
            ASSERT_EQ(nonSpaces, wanted) << "tick " << tick;
            EXPECT_GE(line.size(), c.minLength);
            EXPECT_LE(line.size(), c.maxLength);
        }
    }
}

TEST(AlphabetLine, WithoutCapitalsItHasNoCapitalLetter) {
    for (std::uint32_t tick = 0; tick < 100; ++tick) {
        for (bool russian : { true, false }) {
            const std::string line = alphabetLine(tick, alphabetOptions(russian, false));
            EXPECT_EQ(std::count_if(line.begin(), line.end(),
                                    [](char c) {
                                        const auto b = static_cast<unsigned char>(c);
                                        return (b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF);
                                    }),
                      0);
        }
    }
}

// The space counts come from the generator as it was before the line: one draw for 7..11
// spaces, a second for 5..9 only with capitals. A trailing space is dropped.
TEST(AlphabetLine, SpacesComeFromOneOrTwoDrawsAndATrailingOneIsDropped) {
    int dropped = 0;
    for (std::uint32_t state = 1; state < 400; ++state) {
        for (bool capitals : { false, true }) {
            seedRandom(state);
            int spaces = nextRandom() % 5 + 7;
            if (capitals) spaces += nextRandom() % 5 + 5;
            seedRandom(state);
            const std::string line = alphabetLine(state * 31, alphabetOptions(false, capitals));
            const int left = static_cast<int>(std::count(line.begin(), line.end(), ' '));
            const std::size_t full = 26 + 10 + 10 + (capitals ? 26 : 0) + spaces;
            if (line.size() == full) {
                EXPECT_EQ(left, spaces);
            } else {
                ASSERT_EQ(line.size(), full - 1) << "state " << state;
                EXPECT_EQ(left, spaces - 1);
                ++dropped;
            }
        }
    }
    EXPECT_GT(dropped, 0);
}

TEST(AlphabetLine, StartsWithASpaceOnlyWhenTheFirstThreeWereSpaces) {
    // Then the pass can only trade a space for a space, and the second stays one as well.
    int leadingSpaces = 0;
    for (std::uint32_t tick = 0; tick < 3000; ++tick) {
        const std::string line = alphabetLine(tick, alphabetOptions(true, true));
        EXPECT_TRUE(line[0] != ' ' || line[1] == ' ') << "tick " << tick;
        leadingSpaces += line[0] == ' ';
    }
    EXPECT_GT(leadingSpaces, 0);
}

TEST(AlphabetLine, TheUnseededCallAlsoMakesAWholeLine) {
    char buffer[kAlphabetLineRoom];
    const std::uint16_t length = makeAlphabetLine(buffer, alphabetOptions(true, false));
    EXPECT_GE(length, 58);
    EXPECT_LE(length, 63);
    EXPECT_EQ(buffer[length], '\0');
}

TEST(BreakDoubledSpaces, MovesALeadingOrRepeatedSpaceOneOrTwoPlacesOnInOneSweep) {
    struct Case {
        std::string before, after;
    };
    const Case cases[] = {
        { "  ab", "a  b" },                        // leading space, k+2 not a space: two places
        { "   x", "   x" },                        // k+2 a space too: trades with its neighbour, a space
        { "a  bc", "a cb " },                      // one sweep only: the moved space is not looked at again
        { "ab  ", "ab  " },                        // the last two positions are never examined
        { "a b c", "a b c" },     { " a", " a" },  // too short to examine anything
        { "x  y  z", "x y z  " },
    };
    for (const Case& c : cases) {
        std::string line = c.before;
        breakDoubledSpaces(line.data(), line.size());
        EXPECT_EQ(line, c.after) << '"' << c.before << '"';
    }
}

TEST(NextDrillLine, TheUniformAlphabetDrillMakesItsOwnLinesAndAnythingElseAsksTheCorpus) {
    ScriptedCorpus corpus;
    char buffer[152] = {};
    Options options;

    options.alphabetMode = 1;
    options.uniformLetters = 1;
    corpus.lines = { "sentence " };
    EXPECT_GE(nextDrillLine(buffer, options, &corpus), 52);
    EXPECT_EQ(corpus.linesAsked, 0);
    EXPECT_GE(nextDrillLine(buffer, options, nullptr), 52);

    options.uniformLetters = 0;  // random characters from the text come from the corpus
    EXPECT_EQ(nextDrillLine(buffer, options, &corpus), 9);
    EXPECT_EQ(corpus.linesAsked, 1);

    options.alphabetMode = 0;  // sentences; uniformLetters alone changes nothing
    options.uniformLetters = 1;
    corpus.lines = { "next one " };
    EXPECT_EQ(nextDrillLine(buffer, options, &corpus), 9);
    EXPECT_EQ(std::string(buffer), "next one ");
    EXPECT_EQ(corpus.linesAsked, 2);

    EXPECT_EQ(nextDrillLine(buffer, options, nullptr), 0);
}

}  // namespace
}  // namespace dactyla
