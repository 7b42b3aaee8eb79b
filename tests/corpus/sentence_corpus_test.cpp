#include "corpus/sentence_corpus.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/directory.h"
#include "platform/fault_injection.h"
#include "platform/file.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using ::testing::ElementsAreArray;
using ::testing::UnorderedElementsAreArray;

std::string numberedSentence(int k) {
    return "Sentence " + std::to_string(100 + k) + " is here to type.";
}

const std::size_t kNumberedLength = numberedSentence(0).size();

std::uint32_t offsetOf(int k) { return static_cast<std::uint32_t>(k * (kNumberedLength + 1)); }

// `count` sentences of equal length separated by one space.
std::string numberedText(int count) {
    std::string text;
    for (int k = 0; k < count; ++k) text += numberedSentence(k) + (k + 1 < count ? " " : "\r\n");
    return text;
}

std::string littleEndian(std::uint32_t value, unsigned size) {
    std::string bytes;
    for (unsigned k = 0; k < size; ++k) bytes += static_cast<char>(value >> (8 * k));
    return bytes;
}

std::string indexFile(std::uint32_t textSize, std::uint16_t minLength, std::uint16_t maxLength,
                      std::uint32_t position, const std::vector<std::uint32_t>& entries) {
    std::string bytes = littleEndian(textSize, 4) + littleEndian(minLength, 2) + littleEndian(maxLength, 2) +
                        littleEndian(position, 4);
    for (const std::uint32_t entry : entries) bytes += littleEndian(entry, 3);
    return bytes;
}

class SentenceCorpusTest : public ::testing::Test {
protected:
    SentenceCorpusTest() {
        platform::createDirectory(dir.file("Users"));
        platform::createDirectory(userDirectory("Ann"));
        options.russian = 0;
    }

    std::string userDirectory(const std::string& name) const {
        return platform::joinPath(dir.file("Users"), name);
    }
    std::string textPath() const { return dir.file("TextData.Eng"); }
    std::string indexPath(const std::string& user = "Ann") const {
        return platform::joinPath(userDirectory(user), "random.eng");
    }
    void writeText(const std::string& text) { dir.write("TextData.Eng", text); }
    void writeIndex(const std::string& bytes, const std::string& user = "Ann") {
        platform::File file = platform::File::open(indexPath(user), {.mode = platform::OpenMode::createAlways});
        ASSERT_EQ(file.write(bytes.data(), bytes.size()), bytes.size());
    }

    std::unique_ptr<SentenceCorpus> open(const std::string& user = "Ann", CorpusError* error = nullptr) {
        return openCorpus(options, dir.path(), userDirectory(user), error);
    }

    // The index as stored; the corpus holding it must be closed.
    std::string indexBytes(const std::string& user = "Ann") const {
        return platform::readWholeFile(indexPath(user)).value_or("");
    }
    IndexHeader header(const std::string& user = "Ann") const { return parseIndexHeader(indexBytes(user)); }
    std::vector<std::uint32_t> entries(const std::string& user = "Ann") const {
        const std::string bytes = indexBytes(user);
        std::vector<std::uint32_t> result;
        for (std::size_t at = kIndexHeaderSize; at + kIndexEntrySize <= bytes.size(); at += kIndexEntrySize) {
            result.push_back(static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8 |
                             static_cast<std::uint8_t>(bytes[at + 2]) << 16);
        }
        return result;
    }
    std::vector<std::uint32_t> scannerStarts(const std::string& text) const {
        std::vector<std::uint32_t> starts;
        forEachIndexableSentence(ScanText(text), {false, options.minLength, options.maxLength},
                                 [&starts](const FoundSentence& sentence) { starts.push_back(sentence.start); });
        return starts;
    }

    static std::string line(SentenceCorpus& corpus, const Options& options) {
        std::array<char, kCorpusLineRoom> destination {};
        const std::uint16_t length = corpus.nextCorpusLine(destination.data(), options);
        return {destination.data(), length};
    }
    std::string line(SentenceCorpus& corpus) const { return line(corpus, options); }

    testing::TempDir dir;
    Options options;
};

TEST_F(SentenceCorpusTest, ANewUserGetsAValidShuffledIndex) {
    const std::string text = numberedText(40);
    writeText(text);
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_TRUE(corpus->rebuiltOnOpen());
    EXPECT_EQ(corpus->sentenceCount(), 40u);
    EXPECT_EQ(corpus->position(), 0u);
    closeCorpus(corpus);
    EXPECT_FALSE(corpus);

    const IndexHeader stored = header();
    EXPECT_EQ(stored.textSize, text.size());
    EXPECT_EQ(stored.minLength, 10);
    EXPECT_EQ(stored.maxLength, 120);
    EXPECT_EQ(stored.position, 0u);
    EXPECT_EQ(indexBytes().size(), kIndexHeaderSize + 3u * 40);
    const auto storedEntries = entries();
    EXPECT_THAT(storedEntries, UnorderedElementsAreArray(scannerStarts(text)));
    EXPECT_NE(storedEntries, scannerStarts(text)) << "the entries are shuffled, not in text order";

    auto reopened = open();
    ASSERT_TRUE(reopened);
    EXPECT_FALSE(reopened->rebuiltOnOpen()) << "the index it just built is valid";
}

TEST_F(SentenceCorpusTest, SentenceLinesAreTheSentenceThroughItsTerminatorAndOneSpace) {
    writeText("Hello world.");
    auto corpus = open();
    ASSERT_TRUE(corpus);
    ASSERT_EQ(corpus->sentenceCount(), 1u);
    EXPECT_EQ(line(*corpus), "Hello world. ");
    EXPECT_EQ(line(*corpus).size(), 13u);
}

TEST_F(SentenceCorpusTest, LinesKeepLineBreaksAsTheyStandInTheText) {
    writeText("Abc def\r\nghi jkl. Rest of it here.");
    auto corpus = open();
    ASSERT_TRUE(corpus);
    std::set<std::string> lines;
    for (int k = 0; k < 2; ++k) lines.insert(line(*corpus));
    EXPECT_EQ(lines, (std::set<std::string> {"Abc def\r\nghi jkl. ", "Rest of it here. "}));
}

TEST_F(SentenceCorpusTest, TakingRunsThroughEveryEntryOnceThenWrapsToTheSameOrder) {
    const int n = 6;
    writeText(numberedText(n));
    auto corpus = open();
    ASSERT_TRUE(corpus);
    std::vector<std::string> firstRound;
    for (int k = 0; k < n; ++k) firstRound.push_back(line(*corpus));
    std::vector<std::string> expected;
    for (int k = 0; k < n; ++k) expected.push_back(numberedSentence(k) + " ");
    EXPECT_THAT(firstRound, UnorderedElementsAreArray(expected));
    EXPECT_EQ(corpus->position(), 6u);
    EXPECT_FALSE(corpus->wrapped());

    EXPECT_EQ(line(*corpus), firstRound[0]) << "the order is replayed from its start";
    EXPECT_EQ(corpus->position(), 1u);
    EXPECT_TRUE(corpus->wrapped());
    EXPECT_EQ(line(*corpus), firstRound[1]);
}

TEST_F(SentenceCorpusTest, TakeWrappedIsTrueWhenUsedUpOrWrappedAndClearsTheFlag) {
    writeText(numberedText(3));
    auto corpus = open();
    ASSERT_TRUE(corpus);
    line(*corpus);
    EXPECT_FALSE(corpus->takeWrapped());
    line(*corpus);
    line(*corpus);
    EXPECT_TRUE(corpus->takeWrapped()) << "position has reached the count";
    line(*corpus);
    EXPECT_TRUE(corpus->wrapped());
    EXPECT_TRUE(corpus->takeWrapped());
    EXPECT_FALSE(corpus->wrapped());
    EXPECT_FALSE(corpus->takeWrapped());
}

TEST_F(SentenceCorpusTest, TheEndOfASessionShufflesAUsedUpListAndThePositionSurvivesReopening) {
    writeText(numberedText(30));
    auto corpus = open();
    ASSERT_TRUE(corpus);
    for (int k = 0; k < 4; ++k) line(*corpus);
    corpus->savePosition();
    std::string fifth = line(*corpus);
    closeCorpus(corpus);
    EXPECT_EQ(header().position, 4u);

    corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_FALSE(corpus->rebuiltOnOpen());
    EXPECT_EQ(corpus->position(), 4u);
    EXPECT_EQ(line(*corpus), fifth) << "the cursor stands on the entry after the saved position";

    for (int k = 5; k < 30; ++k) line(*corpus);
    ASSERT_TRUE(corpus->takeWrapped());
    corpus->reshuffleRemainder(false);
    corpus->savePosition();
    EXPECT_EQ(corpus->position(), 0u);
    const std::string first = line(*corpus);
    closeCorpus(corpus);
    EXPECT_EQ(header().position, 0u);
    EXPECT_EQ(entries().size(), 30u);
    EXPECT_EQ(first.substr(0, 9), "Sentence ");
}

TEST_F(SentenceCorpusTest, ReshuffleWithKeepLeavesTheTakenEntriesInPlace) {
    writeText(numberedText(200));
    auto corpus = open();
    ASSERT_TRUE(corpus);
    closeCorpus(corpus);
    const auto before = entries();

    corpus = open();
    ASSERT_TRUE(corpus);
    for (int k = 0; k < 50; ++k) line(*corpus);
    corpus->reshuffleRemainder(true);
    EXPECT_EQ(corpus->position(), 50u);
    const std::string next = line(*corpus);
    closeCorpus(corpus);
    const auto after = entries();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 50, after.begin()));
    EXPECT_THAT(std::vector<std::uint32_t>(after.begin() + 50, after.end()),
                UnorderedElementsAreArray(std::vector<std::uint32_t>(before.begin() + 50, before.end())));
    EXPECT_FALSE(std::equal(before.begin() + 50, before.end(), after.begin() + 50));
    const std::string text = numberedText(200);
    EXPECT_EQ(next, text.substr(after[50], kNumberedLength) + " ") << "the cursor stays on entry 50";
}

TEST_F(SentenceCorpusTest, ReshuffleWithoutKeepPermutesEveryEntry) {
    writeText(numberedText(200));
    auto corpus = open();
    ASSERT_TRUE(corpus);
    closeCorpus(corpus);
    const auto before = entries();
    corpus = open();
    ASSERT_TRUE(corpus);
    for (int k = 0; k < 50; ++k) line(*corpus);
    corpus->savePosition();
    corpus->reshuffleRemainder(false);
    EXPECT_EQ(corpus->position(), 0u);
    closeCorpus(corpus);
    const auto after = entries();
    EXPECT_THAT(after, UnorderedElementsAreArray(before));
    EXPECT_FALSE(std::equal(before.begin(), before.begin() + 50, after.begin()));
    EXPECT_EQ(header().position, 50u) << "the position is stored only by savePosition";
}

TEST_F(SentenceCorpusTest, ASizeChangeOfTheTextInvalidatesEveryUsersIndex) {
    platform::createDirectory(userDirectory("Bob"));
    writeText(numberedText(10));
    for (const char* user : {"Ann", "Bob"}) {
        auto corpus = open(user);
        ASSERT_TRUE(corpus);
        line(*corpus);
        corpus->savePosition();
    }
    writeText(numberedText(11));
    for (const char* user : {"Ann", "Bob"}) {
        auto corpus = open(user);
        ASSERT_TRUE(corpus);
        EXPECT_TRUE(corpus->rebuiltOnOpen()) << user;
        EXPECT_EQ(corpus->sentenceCount(), 11u) << user;
        EXPECT_EQ(corpus->position(), 0u) << user;
        closeCorpus(corpus);
        EXPECT_EQ(header(user).textSize, numberedText(11).size()) << user;
    }
}

TEST_F(SentenceCorpusTest, ASameSizeEditKeepsTheIndex) {
    std::string text = numberedText(10);
    writeText(text);
    {
        auto corpus = open();
        ASSERT_TRUE(corpus);
        line(*corpus);
        line(*corpus);
        corpus->savePosition();
    }
    text[text.find("101")] = '9';
    writeText(text);
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_FALSE(corpus->rebuiltOnOpen());
    EXPECT_EQ(corpus->position(), 2u);
}

TEST_F(SentenceCorpusTest, AChangedLengthWindowInvalidatesTheIndex) {
    writeText(numberedText(10) + " Short one. A much longer sentence than the short one.");
    {
        auto corpus = open();
        ASSERT_TRUE(corpus);
        EXPECT_EQ(corpus->sentenceCount(), 12u);
    }
    options.minLength = 20;
    {
        auto corpus = open();
        ASSERT_TRUE(corpus);
        EXPECT_TRUE(corpus->rebuiltOnOpen());
        EXPECT_EQ(corpus->sentenceCount(), 11u);
    }
    options.maxLength = 30;
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_TRUE(corpus->rebuiltOnOpen());
    EXPECT_EQ(corpus->sentenceCount(), 10u);
    closeCorpus(corpus);
    EXPECT_EQ(header().minLength, 20);
    EXPECT_EQ(header().maxLength, 30);
}

TEST_F(SentenceCorpusTest, ShortOddOrOverfullIndexFilesAreRebuilt) {
    const std::string text = numberedText(5);
    writeText(text);
    const auto size = static_cast<std::uint32_t>(text.size());
    const std::string valid = indexFile(size, 10, 120, 0, {offsetOf(0), offsetOf(1), offsetOf(2), offsetOf(3), offsetOf(4)});
    const std::vector<std::string> broken = {
        valid.substr(0, 11),                                    // shorter than a header
        valid.substr(0, 8),                                     // header without position
        valid + "x",                                            // an entry cut short
        valid.substr(0, valid.size() - 1),
        indexFile(size, 10, 120, 0, std::vector<std::uint32_t>(text.size() + 1, 0)),  // more entries than bytes
    };
    for (const std::string& bytes : broken) {
        writeIndex(bytes);
        auto corpus = open();
        ASSERT_TRUE(corpus);
        EXPECT_TRUE(corpus->rebuiltOnOpen()) << bytes.size() << " bytes";
        EXPECT_EQ(corpus->sentenceCount(), 5u);
        closeCorpus(corpus);
        EXPECT_EQ(indexBytes().size(), kIndexHeaderSize + 15u);
    }
    writeIndex(valid);
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_FALSE(corpus->rebuiltOnOpen());
}

TEST_F(SentenceCorpusTest, ARebuildCutsTheEntriesOfAnOlderLongerIndex) {
    const std::string text = numberedText(3);
    writeText(text);
    writeIndex(indexFile(1, 10, 120, 7, std::vector<std::uint32_t>(50, 0)));
    auto corpus = open();
    ASSERT_TRUE(corpus);
    closeCorpus(corpus);
    EXPECT_EQ(indexBytes().size(), kIndexHeaderSize + 9u);
    EXPECT_EQ(header().position, 0u);
}

TEST_F(SentenceCorpusTest, AStoredPositionPastTheEndIsKeptAndTheNextLineWraps) {
    const std::string text = numberedText(3);
    writeText(text);
    writeIndex(indexFile(static_cast<std::uint32_t>(text.size()), 10, 120, 0xFFFFFFF0u, {offsetOf(2), 0, offsetOf(1)}));
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_FALSE(corpus->rebuiltOnOpen());
    EXPECT_EQ(corpus->position(), 0xFFFFFFF0u);
    EXPECT_EQ(line(*corpus), numberedSentence(2) + " ");
    EXPECT_TRUE(corpus->wrapped());
    EXPECT_EQ(corpus->position(), 1u);
}

TEST_F(SentenceCorpusTest, WriteHeaderRecordsTheTextAndWindowButNotThePosition) {
    const std::string text = numberedText(4);
    writeText(text);
    auto corpus = open();
    ASSERT_TRUE(corpus);
    line(*corpus);
    corpus->savePosition();
    Options changed = options;
    changed.minLength = 15;
    changed.maxLength = 90;
    EXPECT_TRUE(corpus->writeHeader(changed));
    const std::string second = line(*corpus);
    closeCorpus(corpus);
    const IndexHeader stored = header();
    EXPECT_EQ(stored.textSize, text.size());
    EXPECT_EQ(stored.minLength, 15);
    EXPECT_EQ(stored.maxLength, 90);
    EXPECT_EQ(stored.position, 1u);
    EXPECT_EQ(second.substr(0, 9), "Sentence ") << "the cursor is back on the next entry";
}

TEST_F(SentenceCorpusTest, TheSettingsRebuildAppliesANewWindowAtOnce) {
    writeText("Tiny one here. " + numberedText(3));
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_EQ(corpus->sentenceCount(), 4u);
    line(*corpus);
    options.minLength = 20;
    EXPECT_TRUE(corpus->rebuild(options));
    EXPECT_EQ(corpus->sentenceCount(), 3u);
    EXPECT_EQ(corpus->position(), 0u);
    closeCorpus(corpus);
    EXPECT_EQ(header().minLength, 20);
    EXPECT_EQ(header().position, 0u);
}

// A rebuild for a new window that stops part-way (a full disk) must not leave the old header
// over new entries: opened again with the old window, the index is rebuilt, whichever write
// failed, and holds exactly that window's sentences.
TEST_F(SentenceCorpusTest, ARebuildCutShortIsRebuiltAtTheNextOpening) {
    std::string text;
    for (int k = 0; k < 20; ++k)
        text += numberedSentence(k) + " A longer sentence " + std::to_string(k) + " that a narrow window leaves out. ";
    writeText(text);
    { ASSERT_TRUE(open()); }
    const std::string oldIndex = indexBytes();
    std::vector<std::uint32_t> expected = scannerStarts(text);
    ASSERT_EQ(expected.size(), 40u);
    Options narrow = options;
    narrow.maxLength = 40;
    // The cleared size, 20 entries, the position and the header.
    const std::size_t needed = 4 + 20 * kIndexEntrySize + 4 + 8;
    for (std::size_t allowance = 0; allowance <= needed; ++allowance) {
        writeIndex(oldIndex);
        auto corpus = open();
        ASSERT_TRUE(corpus);
        ASSERT_FALSE(corpus->rebuiltOnOpen());
        {
            platform::ScopedFileFaults faults;
            faults.failWritesAfter(allowance);
            EXPECT_EQ(corpus->rebuild(narrow), allowance == needed) << allowance;
        }
        closeCorpus(corpus);
        corpus = open();
        ASSERT_TRUE(corpus);
        if (allowance >= 4) {
            EXPECT_TRUE(corpus->rebuiltOnOpen()) << allowance;
        }
        closeCorpus(corpus);
        std::vector<std::uint32_t> stored = entries();
        std::sort(stored.begin(), stored.end());
        EXPECT_EQ(stored, expected) << allowance;
    }
}

TEST_F(SentenceCorpusTest, RandomCharactersHoldNoBarredCapitalsNorLineBreaks) {
    const std::string sample = "Mixed TEXT With Capitals.\r\nAnd line breaks\r\n between Words. " + numberedText(5);
    std::string large;
    while (large.size() <= 64 * 1024) large += sample;
    // Small texts are drawn from memory, larger ones from the file.
    for (const std::string& text : {sample, large}) {
        writeText(text);
        auto corpus = open();
        ASSERT_TRUE(corpus);
        Options alphabet = options;
        alphabet.alphabetMode = 1;
        alphabet.uniformLetters = 0;
        alphabet.allowCapitals = 0;
        std::string all;
        for (int k = 0; k < 50; ++k) {
            const std::string random = line(*corpus, alphabet);
            ASSERT_EQ(random.size(), kRandomLineLength);
            all += random;
        }
        EXPECT_EQ(all.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n"), std::string::npos) << text.size();
        EXPECT_NE(all.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << text.size();

        alphabet.allowCapitals = 1;
        std::string withCapitals;
        for (int k = 0; k < 20; ++k) withCapitals += line(*corpus, alphabet);
        EXPECT_NE(withCapitals.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << text.size();
        EXPECT_EQ(withCapitals.find_first_of("\r\n"), std::string::npos) << text.size();
    }
}

TEST_F(SentenceCorpusTest, RussianCapitalsAreBarredFromRandomCharactersToo) {
    // "Съешь ЖЕ ЕЩЁ ЭТИХ мягких булок." with Latin capitals that are not barred in Russian.
    dir.write("TextData.Rus", "\xD1\xFA\xE5\xF8\xFC \xC6\xC5 \xC5\xD9\xA8 \xDD\xD2\xC8\xD5 \xEC\xFF\xE3\xEA\xE8\xF5 "
                              "\xE1\xF3\xEB\xEE\xEA AB.");
    options.russian = 1;
    options.alphabetMode = 1;
    auto corpus = openCorpus(options, dir.path(), userDirectory("Ann"));
    ASSERT_TRUE(corpus);
    std::string all;
    for (int k = 0; k < 30; ++k) all += line(*corpus, options);
    for (const char c : all) EXPECT_FALSE(static_cast<unsigned char>(c) >= 0xC0 && static_cast<unsigned char>(c) <= 0xDF);
    EXPECT_NE(all.find_first_of("AB"), std::string::npos);
}

TEST_F(SentenceCorpusTest, RandomCharactersFromATextWithNothingToKeepEndInsteadOfSpinning) {
    Options alphabet = options;
    alphabet.alphabetMode = 1;
    writeText("");
    {
        auto corpus = open();
        ASSERT_TRUE(corpus);
        EXPECT_EQ(line(*corpus, alphabet), "");
    }
    for (const char* nothingToKeep : {"ABC\r\nDEF\r\n", "      "}) {
        writeText(nothingToKeep);
        auto corpus = open();
        ASSERT_TRUE(corpus);
        EXPECT_EQ(line(*corpus, alphabet), "") << nothingToKeep;
    }
}

TEST_F(SentenceCorpusTest, RandomCharactersNeverStartWithOrDoubleASpaceWhenNothingIsDropped) {
    writeText("ab  cd   ef g h");
    auto corpus = open();
    ASSERT_TRUE(corpus);
    Options alphabet = options;
    alphabet.alphabetMode = 1;
    for (int k = 0; k < 20; ++k) {
        const std::string random = line(*corpus, alphabet);
        ASSERT_EQ(random.size(), kRandomLineLength);
        EXPECT_NE(random[0], ' ');
        EXPECT_EQ(random.find("  "), std::string::npos) << random;
    }
}

TEST_F(SentenceCorpusTest, SentencesLongerThanTheWindowInRawBytesAreNotIndexed) {
    // Discounted line breaks let these pass the scanner with maxLength 11, but their bytes
    // would not fit in the line read back.
    options.maxLength = 11;
    writeText("Abcde f-\r\nhi. Abcde -\r\nhi. Abcdefghi.");
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_EQ(corpus->sentenceCount(), 1u);
    EXPECT_EQ(line(*corpus), "Abcdefghi. ");

    closeCorpus(corpus);
    writeText("Abcde f-\r\nhi. Abcde -\r\nhi.");
    corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_EQ(corpus->sentenceCount(), 0u) << "a text of such sentences only behaves as one without any";
    char destination[kCorpusLineRoom];
    EXPECT_EQ(corpus->nextCorpusLine(destination, options), 0u);
}

TEST_F(SentenceCorpusTest, EntriesThatGiveNoLineArePassedOverEachOnceAtMost) {
    const std::string text = "Good sentence one. bad text without end";
    writeText(text);
    const auto size = static_cast<std::uint32_t>(text.size());
    // 19: text without terminator; 5000 and 0xFFFFFF: past the end of the text.
    writeIndex(indexFile(size, 10, 120, 0, {19, 5000, 0, 0xFFFFFF, 25}));
    auto corpus = open();
    ASSERT_TRUE(corpus);
    ASSERT_FALSE(corpus->rebuiltOnOpen());
    EXPECT_EQ(line(*corpus), "Good sentence one. ");
    EXPECT_EQ(corpus->position(), 3u);
    EXPECT_EQ(line(*corpus), "Good sentence one. ") << "the bad entries are passed over, wrapping";
    EXPECT_EQ(corpus->position(), 3u);
    EXPECT_TRUE(corpus->wrapped());
    EXPECT_EQ(corpus->sentenceCount(), 5u);

    closeCorpus(corpus);
    writeIndex(indexFile(size, 10, 120, 0, {19, 5000, 0xFFFFFF, 25}));
    corpus = open();
    ASSERT_TRUE(corpus);
    ASSERT_FALSE(corpus->rebuiltOnOpen());
    EXPECT_EQ(corpus->sentenceCount(), 4u);
    EXPECT_EQ(line(*corpus), "");
    EXPECT_EQ(corpus->sentenceCount(), 0u) << "once no entry gives a line the corpus reports none";
    EXPECT_EQ(line(*corpus), "");
}

TEST_F(SentenceCorpusTest, AShortReadNearTheEndEndsTheData) {
    const std::string text = "Sentence ends here. tail";
    writeText(text);
    writeIndex(indexFile(static_cast<std::uint32_t>(text.size()), 10, 120, 0, {20, 0}));
    auto corpus = open();
    ASSERT_TRUE(corpus);
    std::array<char, kCorpusLineRoom> destination;
    destination.fill('.');  // what an earlier line could have left
    EXPECT_EQ(corpus->nextCorpusLine(destination.data(), options), 20u);
    EXPECT_EQ(std::string(destination.data(), 20), "Sentence ends here. ") << "entry 20 was skipped";
    EXPECT_EQ(corpus->position(), 2u);
}

TEST_F(SentenceCorpusTest, AZeroByteInTheTextEndsTheLine) {
    const std::string text = std::string("Abc def") + '\0' + "ghi. Next one is fine.";
    writeText(text);
    writeIndex(indexFile(static_cast<std::uint32_t>(text.size()), 10, 120, 0, {0, 13}));
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_EQ(line(*corpus), "Next one is fine. ");
}

TEST_F(SentenceCorpusTest, OnlySentencesStartingWithinThreeByteReachOfALargeTextAreIndexed) {
    const std::string early = "Early one is here. ";
    std::string text = early;
    text.append(kLastIndexableOffset - 2 - text.size(), 'x');
    text += ". Right at the reach. Just past the reach.";
    const std::uint32_t atReach = kLastIndexableOffset;
    ASSERT_EQ(text.compare(atReach, 5, "Right"), 0);
    text.append(1 << 20, 'y');
    text += " Far beyond the reach.";
    writeText(text);

    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_EQ(corpus->sentenceCount(), 2u);
    std::set<std::string> lines {line(*corpus), line(*corpus)};
    EXPECT_EQ(lines, (std::set<std::string> {"Early one is here. ", "Right at the reach. "}));
    closeCorpus(corpus);
    EXPECT_THAT(entries(), UnorderedElementsAreArray({0u, atReach}));
    EXPECT_EQ(header().textSize, text.size());

    corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_FALSE(corpus->rebuiltOnOpen()) << "a text past 16 MiB keeps a valid index";
}

TEST_F(SentenceCorpusTest, ASentenceEndingPastTheReadLimitIsDecidedAsInTheWholeText) {
    // Starting at the last reachable offset, with a terminator whose next byte is the last one
    // the index reads: a digit there makes it no sentence, as in the whole text.
    std::string text(kLastIndexableOffset - 2, 'x');
    text += ". ";
    text += 'A';
    text.append(options.maxLength - 2, 'b');
    text += ".5 more text here.";
    writeText(text);
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_EQ(corpus->sentenceCount(), 0u);
}

TEST_F(SentenceCorpusTest, FilesThatCannotBeOpenedGiveNoCorpus) {
    writeText(numberedText(3));
    CorpusError error = CorpusError::none;
    {
        platform::File holder = platform::File::open(textPath(), {.mode = platform::OpenMode::existing});
        ASSERT_TRUE(holder.isOpen());
        EXPECT_FALSE(open("Ann", &error));
        EXPECT_EQ(error, CorpusError::textFile);
    }
    {
        auto first = open();
        ASSERT_TRUE(first);
        EXPECT_FALSE(open("Ann", &error)) << "another holder of the text, such as a second program";
        EXPECT_EQ(error, CorpusError::textFile);
    }
    {
        platform::File holder = platform::File::open(indexPath(), {.mode = platform::OpenMode::always});
        ASSERT_TRUE(holder.isOpen());
        EXPECT_FALSE(open("Ann", &error));
        EXPECT_EQ(error, CorpusError::indexFile);
    }
    EXPECT_FALSE(open("Nobody", &error)) << "the user's directory does not exist";
    EXPECT_EQ(error, CorpusError::indexFile);

    auto corpus = open("Ann", &error);
    ASSERT_TRUE(corpus);
    EXPECT_EQ(error, CorpusError::none);
}

TEST_F(SentenceCorpusTest, AMissingTextIsCreatedEmptyAndGivesNoSentences) {
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_TRUE(platform::fileExists(textPath()));
    EXPECT_EQ(corpus->sentenceCount(), 0u);
    EXPECT_TRUE(corpus->takeWrapped());
    corpus->reshuffleRemainder(true);
    corpus->savePosition();
    EXPECT_EQ(line(*corpus), "");
    closeCorpus(corpus);
    EXPECT_EQ(indexBytes().size(), kIndexHeaderSize);
}

TEST_F(SentenceCorpusTest, EachLanguageHasItsOwnTextAndIndex) {
    writeText(numberedText(2));
    // "Русский текст здесь." on its own.
    dir.write("TextData.Rus", "\xD0\xF3\xF1\xF1\xEA\xE8\xE9 \xF2\xE5\xEA\xF1\xF2 \xE7\xE4\xE5\xF1\xFC.");
    options.russian = 1;
    auto russian = open();
    ASSERT_TRUE(russian);
    EXPECT_EQ(russian->sentenceCount(), 1u);
    EXPECT_EQ(line(*russian), "\xD0\xF3\xF1\xF1\xEA\xE8\xE9 \xF2\xE5\xEA\xF1\xF2 \xE7\xE4\xE5\xF1\xFC. ");
    EXPECT_TRUE(platform::fileExists(platform::joinPath(userDirectory("Ann"), "random.rus")));
    EXPECT_FALSE(platform::fileExists(indexPath()));
}

}  // namespace
}  // namespace dactyla
