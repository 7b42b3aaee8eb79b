#include "corpus/sentence_import.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "corpus/sentence_corpus.h"
#include "platform/cp1251.h"
#include "platform/directory.h"
#include "platform/fault_injection.h"
#include "platform/file.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;

std::string cp1251(const std::string& utf8) { return platform::utf8ToCp1251(utf8); }

// The cleaned sentence, or "" when it is rejected.
std::string normalized(const std::string& sentence, const ImportRules& rules) {
    std::string bytes = sentence;
    const std::uint16_t length = normalizeSentence(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size(), rules);
    return bytes.substr(0, length);
}

ImportRules russian(std::uint8_t maxCapitalRun = 4, std::uint16_t minLength = 10) {
    return {true, minLength, 120, maxCapitalRun};
}
ImportRules english(std::uint8_t maxCapitalRun = 4, std::uint16_t minLength = 10) {
    return {false, minLength, 120, maxCapitalRun};
}

std::uint32_t entryAt(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint8_t>(bytes[at + 2]) << 16;
}

std::vector<std::uint32_t> entriesOf(const std::string& index) {
    std::vector<std::uint32_t> entries;
    for (std::size_t at = kIndexHeaderSize; at + kIndexEntrySize <= index.size(); at += kIndexEntrySize)
        entries.push_back(entryAt(index, at));
    return entries;
}

TEST(NormalizeSentence, CleansOrRejectsAsTheImportNeeds) {
    struct Case {
        const char* why;
        ImportRules rules;
        std::string sentence;
        std::string cleaned;  // empty: rejected
    };
    const std::vector<Case> cases = {
        {"a word hyphenated across a line break comes out whole", russian(),
         cp1251("Это пример-\r\nпредложения с переносом."), cp1251("Это примерпредложения с переносом.")},
        {"a hyphen after a space keeps its spaces", russian(), cp1251("Слово - слово и еще."),
         cp1251("Слово - слово и еще.")},
        {"the space before a comma stays, the one before the terminator goes", russian(),
         cp1251("Слово , слово ."), cp1251("Слово , слово.")},
        {"line breaks become one space", english(), "Abc def\r\nghi jkl.", "Abc def ghi jkl."},
        {"a space before a line break and runs of spaces become one", english(), "Abc def  \r\n  ghi jk!",
         "Abc def ghi jk!"},
        {"an en dash becomes a hyphen", russian(), cp1251("Он ") + "\x96" + cp1251(" там и был."),
         cp1251("Он - там и был.")},
        {"digits and the eight marks are kept", english(), "Abc 12, (a-b); \"c\": d?", "Abc 12, (a-b); \"c\": d?"},
        {"the six bytes between Z and a are English letters", english(), "Abc [d] e^f_g`h\\.", "Abc [d] e^f_g`h\\."},
        {"a hyphen before the terminator stays", english(), "Abc def ghi-.", "Abc def ghi-."},
        {"spaces before a hyphen collapse and the hyphen stays", english(), "Abc  - def ghij.", "Abc - def ghij."},
        {"the small letter yo is no letter", russian(), cp1251("Всё хорошо и так."), ""},
        {"the capital yo is no letter", russian(), cp1251("Ёлка стоит в углу."), ""},
        {"Latin letters in Russian", russian(), cp1251("Это слово word тут."), ""},
        {"Russian letters in English", english(), "Abc def " + cp1251("жук") + " ghi.", ""},
        {"an apostrophe", english(), "It's a fine day.", ""},
        {"a TAB", english(), "Abc def\tghi jkl.", ""},
        {"guillemets", russian(), cp1251("Он сказал «да» мне."), ""},
        {"a zero byte", english(), std::string("Abc def\0ghi.", 12), ""},
        {"no terminator within the bytes", english(), "Abc def ghi", ""},
        {"a run of two capitals within the limit", russian(2), cp1251("Он и ВЫ пришли."), cp1251("Он и ВЫ пришли.")},
        {"a run of three capitals over the limit", russian(2), cp1251("Он пришел в ООН."), ""},
        {"spaces neither end nor count in a run", russian(2), cp1251("А Б В сказали."), ""},
        {"a removed hyphen does not end a run", english(3), "Abc AB-\r\nCD done.", ""},
        {"a kept hyphen ends a run", english(3), "Abc AB-CD done.", "Abc AB-CD done."},
        {"a limit of 0 refuses every sentence", english(0), "Abc def ghi.", ""},
        {"shorter than minLength once cleaned", english(4, 10), "Abc     def.", ""},
        {"exactly minLength once cleaned", english(4, 10), "Abc    defgh.", "Abc defgh."},
    };
    for (const Case& c : cases) EXPECT_EQ(normalized(c.sentence, c.rules), c.cleaned) << c.why;
}

TEST(NormalizeSentence, StopsAtTheFirstTerminatorAndLeavesTheRestAlone) {
    std::string bytes = "Abc  def ghi. Xyz";
    EXPECT_EQ(normalizeSentence(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size(), english()), 12);
    EXPECT_EQ(bytes.substr(0, 12), "Abc def ghi.");
    EXPECT_EQ(bytes.substr(13), " Xyz");
}

TEST(ImportMessages, EveryFailureHasARussianMessageAndSuccessNone) {
    for (const auto status : {ImportStatus::sourceUnreadable, ImportStatus::sourceTooLarge,
                              ImportStatus::temporaryFiles, ImportStatus::textTooLarge, ImportStatus::writeFailed}) {
        const std::string message = importMessage(status);
        EXPECT_FALSE(message.empty());
        const auto cyrillic = [](char c) { return static_cast<std::uint8_t>(c) >= 0xC0; };
        EXPECT_TRUE(std::any_of(message.begin(), message.end(), cyrillic));
    }
    EXPECT_THAT(platform::cp1251ToUtf8(importMessage(ImportStatus::textTooLarge)), ::testing::HasSubstr("16 Мб"));
    EXPECT_STREQ(importMessage(ImportStatus::done), "");
    EXPECT_STREQ(importMessage(ImportStatus::nothingFound), "");
    EXPECT_EQ(platform::cp1251ToUtf8(importFailureTitle()), "Облом");
}

class SentenceImportTest : public ::testing::Test {
protected:
    SentenceImportTest() {
        platform::createDirectory(dir.file("temp"));
        platform::createDirectory(dir.file("Users"));
        for (const char* user : {"Ann", "Bob"}) platform::createDirectory(userDirectory(user));
        options.russian = 0;
    }

    std::string temporaryDirectory() const { return dir.file("temp"); }
    std::string userDirectory(const std::string& name) const { return platform::joinPath(dir.file("Users"), name); }
    std::string indexPath(const std::string& user) const {
        return platform::joinPath(userDirectory(user), "random.eng");
    }
    std::string index(const std::string& user = "Ann") const {
        return platform::readWholeFile(indexPath(user)).value_or("");
    }
    std::unique_ptr<SentenceCorpus> open(const std::string& user = "Ann") {
        return openCorpus(options, dir.path(), userDirectory(user));
    }
    bool temporaryFilesExist() const {
        return platform::fileExists(platform::joinPath(temporaryDirectory(), kImportSentencesName)) ||
               platform::fileExists(platform::joinPath(temporaryDirectory(), kImportOffsetsName));
    }
    // The sentences the index holds, as text.
    std::vector<std::string> indexedSentences(SentenceCorpus& corpus) {
        std::vector<std::string> sentences;
        std::array<char, kCorpusLineRoom> line {};
        for (std::uint32_t k = 0; k < corpus.entryCount(); ++k) {
            const std::uint16_t length = corpus.nextCorpusLine(line.data(), options);
            sentences.emplace_back(line.data(), length > 0 ? length - 1 : 0);
        }
        return sentences;
    }

    testing::TempDir dir;
    Options options;
    SentenceImport import {temporaryDirectory()};
};

TEST_F(SentenceImportTest, ScanWritesTheAcceptedSentencesAndTheirOffsetsToTheTemporaryFiles) {
    dir.write("book.txt", "It was a dark night.  The rain fell, hard -\r\nand cold.\r\nBad 'quote' here. "
                          "Tiny one. The end of it all!");
    std::vector<int> progress;
    const ImportScan scan = import.scan(dir.file("book.txt"), english(), [&](int p) { progress.push_back(p); });
    EXPECT_EQ(scan.status, ImportStatus::done);
    EXPECT_EQ(scan.found, 3u);
    EXPECT_EQ(import.found(), 3u);
    EXPECT_EQ(import.acceptedText(),
              "It was a dark night.\r\nThe rain fell, hard - and cold.\r\nThe end of it all!\r\n");
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);

    const std::string offsets = import.acceptedOffsets().value_or("");
    ASSERT_EQ(offsets.size(), kIndexHeaderSize + 9);
    EXPECT_EQ(offsets.substr(0, kIndexHeaderSize), std::string(kIndexHeaderSize, '\0'));
    EXPECT_THAT(entriesOf(offsets), ElementsAre(0u, 22u, 55u));

    import.discard();
    EXPECT_FALSE(temporaryFilesExist()) << "closing deletes them";
}

TEST_F(SentenceImportTest, AnEmptyFileFindsNothingWithTheBarAtZero) {
    dir.write("empty.txt", "");
    std::vector<int> progress;
    const ImportScan scan = import.scan(dir.file("empty.txt"), english(), [&](int p) { progress.push_back(p); });
    EXPECT_EQ(scan.status, ImportStatus::done);
    EXPECT_EQ(scan.found, 0u);
    EXPECT_THAT(progress, ElementsAre(0));
}

TEST_F(SentenceImportTest, ACapitalRunLimitOfZeroScansAsOne) {
    dir.write("t.txt", "An ordinary sentence. OK is two capitals.");
    EXPECT_EQ(import.scan(dir.file("t.txt"), english(0)).found, 1u);
}

TEST_F(SentenceImportTest, AFileThatCannotBeReadKeepsTheEarlierScan) {
    dir.write("good.txt", "A good sentence here.");
    ASSERT_EQ(import.scan(dir.file("good.txt"), english()).found, 1u);
    EXPECT_EQ(import.scan(dir.file("missing.txt"), english()).status, ImportStatus::sourceUnreadable);
    {
        platform::ScopedFileFaults faults;
        faults.failOpensOf("good.txt");
        EXPECT_EQ(import.scan(dir.file("good.txt"), english()).status, ImportStatus::sourceUnreadable);
    }
    EXPECT_EQ(import.found(), 1u);
    EXPECT_EQ(import.acceptedText(), "A good sentence here.\r\n");
}

TEST_F(SentenceImportTest, TemporaryFilesThatCannotBeCreatedOrWrittenAreReported) {
    dir.write("good.txt", "A good sentence here.");
    for (const char* name : {kImportSentencesName, kImportOffsetsName}) {
        platform::ScopedFileFaults faults;
        faults.failOpensOf(name);
        const ImportScan scan = import.scan(dir.file("good.txt"), english());
        EXPECT_EQ(scan.status, ImportStatus::temporaryFiles) << name;
        EXPECT_EQ(import.found(), 0u);
        EXPECT_FALSE(temporaryFilesExist());
    }
    platform::ScopedFileFaults faults;
    faults.failWritesAfter(5);
    EXPECT_EQ(import.scan(dir.file("good.txt"), english()).status, ImportStatus::temporaryFiles);
    EXPECT_EQ(import.found(), 0u);
    EXPECT_FALSE(temporaryFilesExist());
}

TEST_F(SentenceImportTest, AppendAddsToTextAndIndexKeepsPositionAndLetsTheNextOpenRebuild) {
    const std::string oldText = "First old sentence. Second old sentence. Third old sentence.\r\n";
    dir.write("TextData.Eng", oldText);
    auto corpus = open();
    ASSERT_TRUE(corpus);
    ASSERT_EQ(corpus->entryCount(), 3u);
    std::array<char, kCorpusLineRoom> line {};
    corpus->nextCorpusLine(line.data(), options);
    corpus->savePosition();
    closeCorpus(corpus);
    const std::string before = index();
    const std::uint32_t typed = entryAt(before, kIndexHeaderSize);

    dir.write("new.txt", "Brand new sentence one. Brand new sentence two.");
    ASSERT_EQ(import.scan(dir.file("new.txt"), english()).found, 2u);
    corpus = open();
    ASSERT_TRUE(corpus);
    const ImportAppend added = import.append(*corpus);
    EXPECT_EQ(added.status, ImportStatus::done);
    EXPECT_EQ(added.added, 2u);
    EXPECT_EQ(corpus->entryCount(), 5u);
    EXPECT_EQ(corpus->sentenceCount(), 5u);
    EXPECT_EQ(corpus->position(), 1u);
    EXPECT_EQ(import.found(), 2u) << "the scan stays until the next one";
    closeCorpus(corpus);

    EXPECT_EQ(dir.read("TextData.Eng"), oldText + "Brand new sentence one.\r\nBrand new sentence two.\r\n");
    const std::string after = index();
    EXPECT_EQ(after.substr(0, kIndexHeaderSize), before.substr(0, kIndexHeaderSize)) << "header not rewritten";
    const auto entries = entriesOf(after);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0], typed) << "the typed sentence keeps its place";
    const auto base = static_cast<std::uint32_t>(oldText.size());
    EXPECT_THAT(entries, UnorderedElementsAreArray({0u, 20u, 41u, base, base + 25}));

    corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_TRUE(corpus->rebuiltOnOpen());
    EXPECT_EQ(corpus->entryCount(), 5u);
}

TEST_F(SentenceImportTest, AppendWithoutAScanAddsNothing) {
    dir.write("TextData.Eng", "First old sentence.");
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_EQ(import.append(*corpus).status, ImportStatus::nothingFound);
    dir.write("none.txt", "no sentences at all");
    ASSERT_EQ(import.scan(dir.file("none.txt"), english()).status, ImportStatus::done);
    EXPECT_EQ(import.append(*corpus).status, ImportStatus::nothingFound);
    closeCorpus(corpus);
    EXPECT_EQ(dir.read("TextData.Eng"), "First old sentence.");
}

// Whatever the old text ends with, after the next rebuild every old and every new sentence
// is indexed.
TEST_F(SentenceImportTest, TheNewSentencesAreSeparatedFromAnyOldEnding) {
    struct Case {
        std::string oldText;
        std::string separator;
        std::vector<std::string> oldSentences;
    };
    const std::vector<Case> cases = {
        {"", "", {}},
        {"Old text ends the file.", "\r\n", {"Old text ends the file."}},
        {"Old text ends the file.\r\n", "", {"Old text ends the file."}},
        {"Old text ends the file. ", "\r\n", {"Old text ends the file."}},
        {"Old text ends the file.\r", "\r\n", {"Old text ends the file."}},
        {"Old text ends the file.\r\n\r\n", "", {"Old text ends the file."}},
        {"Old text ends the file. An unfinished one", "\r\n\r\n", {"Old text ends the file."}},
        {"Old text ends the file. An unfinished one\r\n", "\r\n", {"Old text ends the file."}},
        {"Old text ends the file. Up to 3.14", "\r\n\r\n", {"Old text ends the file."}},
        {"Old text ends the file.\n", "\r\n\r\n", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(appendSeparator(c.oldText), c.separator) << c.oldText;
        testing::TempDir program;
        platform::createDirectory(program.file("Users"));
        platform::createDirectory(platform::joinPath(program.file("Users"), "Ann"));
        program.write("TextData.Eng", c.oldText);
        const std::string user = platform::joinPath(program.file("Users"), "Ann");
        auto corpus = openCorpus(options, program.path(), user);
        ASSERT_TRUE(corpus);
        dir.write("new.txt", "Brand new sentence one. Brand new sentence two.");
        ASSERT_EQ(import.scan(dir.file("new.txt"), english()).found, 2u);
        ASSERT_EQ(import.append(*corpus).status, ImportStatus::done);
        closeCorpus(corpus);
        EXPECT_EQ(program.read("TextData.Eng"),
                  c.oldText + c.separator + "Brand new sentence one.\r\nBrand new sentence two.\r\n");

        corpus = openCorpus(options, program.path(), user);
        ASSERT_TRUE(corpus);
        std::vector<std::string> expected = c.oldSentences;
        expected.insert(expected.end(), {"Brand new sentence one.", "Brand new sentence two."});
        EXPECT_THAT(indexedSentences(*corpus), UnorderedElementsAreArray(expected)) << c.oldText;
    }
}

TEST_F(SentenceImportTest, GrowthPastSixteenMegabytesIsRefusedBeforeAnythingIsWritten) {
    // Ends in blanks, so a blank line (4 bytes) goes before the new sentences (25 bytes each).
    const std::string oldText = "Old text ends the file.\r\n" + std::string(kLargestIndexableText - 25 - 29, ' ');
    dir.write("TextData.Eng", oldText);
    { ASSERT_TRUE(open()); }
    const std::string before = index();

    dir.write("new.txt", "Brand new sentence one. Brand new sentence two.");
    ASSERT_EQ(import.scan(dir.file("new.txt"), english()).found, 2u);
    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_EQ(import.append(*corpus).status, ImportStatus::textTooLarge);
    EXPECT_EQ(corpus->entryCount(), 1u);
    closeCorpus(corpus);
    EXPECT_EQ(platform::readWholeFile(dir.file("TextData.Eng"))->size(), oldText.size());
    EXPECT_EQ(index(), before);

    dir.write("one.txt", "Brand new sentence one.");
    ASSERT_EQ(import.scan(dir.file("one.txt"), english()).found, 1u);
    corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_FALSE(corpus->rebuiltOnOpen());
    EXPECT_EQ(import.append(*corpus).status, ImportStatus::done) << "exactly 16 MiB still fits";
    closeCorpus(corpus);
    EXPECT_EQ(platform::readWholeFile(dir.file("TextData.Eng"))->size(), kLargestIndexableText);
}

// Every point at which a write can fail: text and index come back as they were, and the
// other user's index still matches the text.
TEST_F(SentenceImportTest, AWriteFailingPartWayLeavesTextAndIndexesAsTheyWere) {
    const std::string oldText = "First old sentence. Second old sentence.";
    dir.write("TextData.Eng", oldText);
    { ASSERT_TRUE(open("Bob")); }
    { ASSERT_TRUE(open()); }
    const std::string bobsIndex = index("Bob");
    const std::string annsIndex = index();
    dir.write("new.txt", "Brand new sentence one. Brand new sentence two.");
    ASSERT_EQ(import.scan(dir.file("new.txt"), english()).found, 2u);

    // CR LF, the sentences and the entries: everything written before the reshuffle.
    const std::size_t needed = 2 + 50 + 6;
    for (std::size_t allowance = 0; allowance < needed; ++allowance) {
        auto corpus = open();
        ASSERT_TRUE(corpus);
        EXPECT_FALSE(corpus->rebuiltOnOpen()) << "the index still matches the text, " << allowance;
        {
            platform::ScopedFileFaults faults;
            faults.failWritesAfter(allowance);
            EXPECT_EQ(import.append(*corpus).status, ImportStatus::writeFailed) << allowance;
        }
        EXPECT_EQ(corpus->entryCount(), 2u);
        closeCorpus(corpus);
        EXPECT_EQ(dir.read("TextData.Eng"), oldText) << allowance;
        EXPECT_EQ(index(), annsIndex) << allowance;
    }
    auto bob = open("Bob");
    ASSERT_TRUE(bob);
    EXPECT_FALSE(bob->rebuiltOnOpen()) << "a failed append leaves other users' indexes valid";
    closeCorpus(bob);
    EXPECT_EQ(index("Bob"), bobsIndex);

    auto corpus = open();
    ASSERT_TRUE(corpus);
    EXPECT_EQ(import.append(*corpus).status, ImportStatus::done) << "the scan is still there to add";
    EXPECT_EQ(corpus->entryCount(), 4u);
}

TEST_F(SentenceImportTest, AnotherUsersIndexIsOnlyRebuiltAtItsNextOpening) {
    dir.write("TextData.Eng", "First old sentence. Second old sentence.\r\n");
    auto bob = open("Bob");
    ASSERT_TRUE(bob);
    std::array<char, kCorpusLineRoom> line {};
    bob->nextCorpusLine(line.data(), options);
    bob->savePosition();
    closeCorpus(bob);
    const std::string bobsIndex = index("Bob");

    auto corpus = open();
    ASSERT_TRUE(corpus);
    dir.write("new.txt", "Brand new sentence one.");
    ASSERT_EQ(import.scan(dir.file("new.txt"), english()).found, 1u);
    ASSERT_EQ(import.append(*corpus).status, ImportStatus::done);
    closeCorpus(corpus);
    EXPECT_EQ(index("Bob"), bobsIndex) << "nothing but the text changes under other users";

    bob = open("Bob");
    ASSERT_TRUE(bob);
    EXPECT_TRUE(bob->rebuiltOnOpen());
    EXPECT_EQ(bob->position(), 0u);
    EXPECT_THAT(indexedSentences(*bob), UnorderedElementsAreArray({"First old sentence.", "Second old sentence.",
                                                                   "Brand new sentence one."}));
}

TEST_F(SentenceImportTest, TheTemporaryFilesLiveAsLongAsTheImport) {
    dir.write("good.txt", "A good sentence here.");
    {
        SentenceImport scoped(temporaryDirectory());
        ASSERT_EQ(scoped.scan(dir.file("good.txt"), english()).found, 1u);
        EXPECT_TRUE(temporaryFilesExist());
    }
    EXPECT_FALSE(temporaryFilesExist());
}

}  // namespace
}  // namespace dactyla
