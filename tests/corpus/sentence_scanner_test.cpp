#include "corpus/sentence_scanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dactyla {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<FoundSentence> scanAll(const std::string& text, SentenceRules rules = {.russian = false}) {
    const ScanText scanText(text);
    std::vector<FoundSentence> found;
    std::uint32_t scanPos = 0;
    while (const auto sentence = findNextSentence(rules, scanText, scanPos)) {
        found.push_back(*sentence);
        if (found.size() > text.size()) break;  // a scan that stalls must fail, not hang
    }
    return found;
}

std::vector<std::uint32_t> starts(const std::string& text, SentenceRules rules = {.russian = false}) {
    std::vector<std::uint32_t> result;
    for (const auto& sentence : scanAll(text, rules)) result.push_back(sentence.start);
    return result;
}

SentenceRules englishUpTo(std::uint16_t maxLength) { return {.russian = false, .minLength = 10, .maxLength = maxLength}; }

TEST(SentenceScanner, FindsSentencesAfterSpacesAndLineBreaks) {
    EXPECT_THAT(starts("Hello world. This is a test.\r\nAnother one here!"), ElementsAre(0, 13, 30));
    EXPECT_THAT(starts("He said Moscow is big. Then he left the room quietly."), ElementsAre(0, 23));
    EXPECT_THAT(starts("xA sentence after one char. Yes it is here."), ElementsAre(1, 28))
        << "a capital at offset 1 starts a sentence whatever precedes it";
}

TEST(SentenceScanner, ACapitalThatStartsNoSentenceSendsTheScanToTheNextBoundary) {
    const std::string text = "abc Moscow is big. Then we went on for a while.";
    EXPECT_THAT(starts(text), ElementsAre(text.find("Then")));
}

TEST(SentenceScanner, WhatMayStandBeforeTheCapital) {
    // The byte before must be a space, LF or TAB; the one before that a boundary.
    EXPECT_THAT(starts("Ab. Cdefghijkl mn."), ElementsAre(4));
    EXPECT_THAT(starts("Ab. \tCdefghijkl mn."), ElementsAre(5));
    EXPECT_THAT(starts("Ab.\tCdefghijkl mn."), IsEmpty()) << "a TAB after the terminator does not end it";
    EXPECT_THAT(starts("Ab.\r\nCdefghijkl mn."), ElementsAre(5)) << "CR LF before the capital qualifies";
    EXPECT_THAT(starts("Ab.\rCdefghijkl mn."), IsEmpty()) << "a lone CR before the capital does not";
    EXPECT_THAT(starts("Ab.Cdefghijkl mn. Xyz is the next one."), ElementsAre(18));
    EXPECT_THAT(starts("ab, Cdefghijkl mn. Xyz is the next one."), ElementsAre(19));
}

TEST(SentenceScanner, TheLengthWindowIsInclusiveAtBothEnds) {
    EXPECT_THAT(starts("Short. This sentence is long enough to pass."), ElementsAre(7));
    EXPECT_THAT(starts("Abcdefghi."), ElementsAre(0));
    EXPECT_THAT(starts("Abcdefgh."), IsEmpty());
    EXPECT_THAT(starts("Abcdefghij.", englishUpTo(11)), ElementsAre(0));
    EXPECT_THAT(starts("Abcdefghijk.", englishUpTo(11)), IsEmpty());
    const auto found = scanAll("Abcdefghi.");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].length, 10u);
    EXPECT_EQ(found[0].end, 10u);
}

TEST(SentenceScanner, ATerminatorFollowedByAnythingButASpaceOrLineBreakDropsTheCandidate) {
    EXPECT_THAT(starts("Numbers like 3.14 break it. But this one works fine."), ElementsAre(28));
    EXPECT_THAT(starts("Abcdefghijkl?! Next fine one. Another good one."), ElementsAre(30))
        << "the skip starts past the second mark and runs through the next sentence";
    EXPECT_THAT(starts("Wait... Next fine one. Another good one."), ElementsAre(8, 23));
    EXPECT_THAT(starts("He said \"Stop it now.\" Then it was over."), IsEmpty());
}

TEST(SentenceScanner, TextsWithoutAnAcceptableSentence) {
    EXPECT_THAT(starts(""), IsEmpty());
    EXPECT_THAT(starts("No terminator anywhere in this text at all"), IsEmpty());
    EXPECT_THAT(starts("all lower case here. and here too."), IsEmpty());
    EXPECT_THAT(starts("Ends with a terminator and then a digit.5"), IsEmpty());
}

TEST(SentenceScanner, LineBreaksInsideAndBetweenSentences) {
    EXPECT_THAT(starts("No end here\r\n\r\nAbc def ghi jkl."), ElementsAre(15))
        << "a blank line drops the paragraph and the scan resumes there";
    EXPECT_THAT(starts("Abcdef gh\rij. Next good sentence."), ElementsAre(14)) << "a lone CR drops the candidate";
    const auto withLf = scanAll("Abc def\nghi jkl.");
    ASSERT_EQ(withLf.size(), 1u);
    EXPECT_EQ(withLf[0].start, 0u);
    EXPECT_EQ(withLf[0].length, 16u) << "LF without CR is an ordinary character";
    EXPECT_THAT(starts("Abcdef ghij.\r\nKlmnop qrst."), ElementsAre(0, 14));
    EXPECT_THAT(starts("Abcdef ghij.\rKlmnop qrst."), ElementsAre(0));
}

TEST(SentenceScanner, JoinedLineBreaksAreDiscountedByWhatPrecedesThem) {
    const auto lengthOf = [](const std::string& text) {
        const auto found = scanAll(text, englishUpTo(120));
        return found.size() == 1 ? found[0].length : 0u;
    };
    EXPECT_EQ(lengthOf("Abcde f-\r\nhi."), 10u) << "a word hyphenated across the break";
    EXPECT_EQ(lengthOf("Abcde -\r\nhi."), 11u) << "a hyphen after a space is a dash and counts";
    EXPECT_EQ(lengthOf("Abcde fg\r\nhi."), 12u) << "CR LF counts as one character";
    EXPECT_EQ(lengthOf("Abcde fg \r\nhi."), 12u) << "after a space the break does not count";

    EXPECT_THAT(starts("Abcde f-\r\nhi.", englishUpTo(11)), ElementsAre(0));
    EXPECT_THAT(starts("Abcde -\r\nhi.", englishUpTo(11)), ElementsAre(0));
    EXPECT_THAT(starts("Abcde fg\r\nhi.", englishUpTo(11)), IsEmpty());
    EXPECT_THAT(starts("Abcde fg \r\nhi.", englishUpTo(11)), IsEmpty());
}

TEST(SentenceScanner, ATooLongSentenceWithAProperEndLetsTheNextOneBeFound) {
    EXPECT_THAT(starts("Too long sentence here. Ok next one.", englishUpTo(15)), ElementsAre(24));
    EXPECT_THAT(starts("Too long sentence here.\r\nOk next one.", englishUpTo(15)), ElementsAre(25));
    EXPECT_THAT(starts("Too long sentence here.x Ok next one. Fine too, yes.", englishUpTo(15)), ElementsAre(38))
        << "without a proper end the rest of the next sentence is skipped";
}

TEST(SentenceScanner, RussianUsesCp1251Capitals) {
    // "Это первое. Второе тоже здесь." with a Latin capital that is no capital in Russian.
    const std::string text = "\xDD\xF2\xEE \xEF\xE5\xF0\xE2\xEE\xE5 X. "
                             "\xC2\xF2\xEE\xF0\xEE\xE5 \xF2\xEE\xE6\xE5 \xE7\xE4\xE5\xF1\xFC.";
    EXPECT_THAT(starts(text, {.russian = true}), ElementsAre(0, 14));
    EXPECT_THAT(starts(text, {.russian = false}), IsEmpty());
    // Lower-case letters, "Ё" and "ё" are not capitals.
    EXPECT_THAT(starts("\xA8\xF2\xEE \xEF\xE5\xF0\xE2\xEE\xE5 \xE4\xE5\xEB\xEE.", {.russian = true}), IsEmpty());
}

TEST(SentenceScanner, AZeroByteInsideTheTextEndsTheScan) {
    const std::string text = std::string("First one is fine.") + '\0' + " Second one is lost.";
    EXPECT_THAT(starts(text), ElementsAre(0));
}

TEST(SentenceScanner, ScanPositionMovesPastEachSentenceAndRestsOnTheEnd) {
    const ScanText text(std::string("Hello world. This is a test."));
    std::uint32_t scanPos = 0;
    EXPECT_EQ(findSentence(false, 10, 120, text, scanPos), 0u);
    EXPECT_EQ(scanPos, 12u);
    EXPECT_EQ(findSentence(false, 10, 120, text, scanPos), 13u);
    EXPECT_EQ(scanPos, 28u);
    EXPECT_EQ(findSentence(false, 10, 120, text, scanPos), kNoSentence);
    EXPECT_EQ(scanPos, 28u);
    EXPECT_EQ(findSentence(false, 10, 120, text, scanPos), kNoSentence) << "calling again stays at the end";
    scanPos = 1000;
    EXPECT_EQ(findSentence(false, 10, 120, text, scanPos), kNoSentence) << "a position past the text is its end";
}

TEST(SentenceScanner, AdvanceToStopNeverExaminesTheStartingByte) {
    const ScanText text(std::string(".ab.c\rd"));
    std::uint32_t scanPos = 0;
    EXPECT_EQ(advanceToStop(text, scanPos), '.');
    EXPECT_EQ(scanPos, 3u);
    EXPECT_EQ(advanceToStop(text, scanPos), '\r');
    EXPECT_EQ(scanPos, 5u);
    EXPECT_EQ(advanceToStop(text, scanPos), '\0');
    EXPECT_EQ(scanPos, 7u);
    EXPECT_EQ(advanceToStop(text, scanPos), '\0') << "at the end it stays at the end";
    EXPECT_EQ(scanPos, 7u);
}

TEST(SentenceScanner, ALineBreakAtTheVeryEndIsReadSafely) {
    // The skip looks two bytes past a final CR; the zero bytes after the text answer it.
    EXPECT_THAT(starts("abc X y.z\r"), IsEmpty());
    EXPECT_THAT(starts("Abcdefghijkl.\r"), ElementsAre(0));
    EXPECT_THAT(starts("Abcdefghijkl\r\n"), IsEmpty());
    const ScanText text(std::string("ab\r"));
    EXPECT_EQ(text.size(), 3u);
    EXPECT_EQ(text.bytes()[3], 0);
    EXPECT_EQ(text.bytes()[4], 0);
}

TEST(SentenceScanner, ReadsTheTextWithItsZeroBytesFromAFile) {
    // Reading is covered with the corpus; here only the shape of the buffer.
    const ScanText empty;
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_EQ(empty.bytes()[0], 0);
    EXPECT_EQ(empty.bytes()[1], 0);
    const ScanText text(std::string("Abc."));
    EXPECT_EQ(text.view(1, 3), "bc");
    EXPECT_EQ(text.view(2, 99), "c.");
}

}  // namespace
}  // namespace dactyla
