#include "corpus/own_text.h"

#include <gtest/gtest.h>

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

std::string cp1251(const std::string& utf8) { return platform::utf8ToCp1251(utf8); }

std::string utf16(const std::string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : platform::cp1251ToUtf16(text)) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

const std::string kText = cp1251("Первое предложение тут.\r\nВторое предложение там.\r\nТретье, и последнее!\r\n");
// The same text after an edit in another editor.
const std::string kEdited = kText + cp1251("Четвертое добавлено в блокноте.\r\n");

struct Foreign {
    TextEncoding encoding;
    std::string bytes;
    const char* keptName;
};

class OwnTextTest : public ::testing::Test {
protected:
    OwnTextTest() {
        platform::createDirectory(dir.file("Users"));
        for (const char* name : {"Ann", "Bob"}) platform::createDirectory(userDirectory(name));
        options.russian = 1;
    }
    std::string userDirectory(const std::string& name) const {
        return platform::joinPath(dir.file("Users"), name);
    }
    std::unique_ptr<SentenceCorpus> open(const std::string& user = "Ann") {
        return openCorpus(options, dir.path(), userDirectory(user));
    }

    testing::TempDir dir;
    Options options;
};

TEST_F(OwnTextTest, AForeignTextIsConvertedOnceWithItsOriginalKeptAndEveryIndexRebuilt) {
    const std::vector<Foreign> forms = {
        {TextEncoding::utf8, platform::cp1251ToUtf8(kEdited), "TextData.Rus.UTF-8.original"},
        {TextEncoding::utf8WithMark, "\xEF\xBB\xBF" + platform::cp1251ToUtf8(kEdited), "TextData.Rus.UTF-8-BOM.original"},
        {TextEncoding::utf16LeWithMark, utf16(kEdited, false), "TextData.Rus.UTF-16LE.original"},
        {TextEncoding::utf16BeWithMark, utf16(kEdited, true), "TextData.Rus.UTF-16BE.original"},
    };
    for (const Foreign& form : forms) {
        SCOPED_TRACE(encodingName(form.encoding));
        // Bob's index matched the text before someone edited it and saved it in another encoding.
        dir.write("TextData.Rus", kText);
        ASSERT_TRUE(open("Bob"));
        dir.write("TextData.Rus", form.bytes);

        auto corpus = open();
        ASSERT_TRUE(corpus);
        ASSERT_TRUE(corpus->textConversion().has_value());
        const TextConversion conversion = *corpus->textConversion();
        EXPECT_TRUE(conversion.converted);
        EXPECT_EQ(conversion.from, form.encoding);
        EXPECT_EQ(conversion.keptName, form.keptName);
        EXPECT_TRUE(corpus->rebuiltOnOpen());
        EXPECT_EQ(corpus->entryCount(), 4u);
        EXPECT_EQ(conversionMessage(conversion),
                  cp1251("Файл TextData.Rus был сохранён в кодировке ") + encodingName(form.encoding) +
                      cp1251(".\nDactyla перевела его в WIN-1251, чтобы по нему можно было печатать;\n"
                             "прежний файл лежит рядом под именем ") + form.keptName + ".");
        EXPECT_EQ(platform::cp1251ToUtf8(conversionTitle(conversion)), "Так дела не делаются");
        corpus.reset();
        EXPECT_EQ(dir.read("TextData.Rus"), kEdited);
        EXPECT_EQ(dir.read(form.keptName), form.bytes);

        // Once: the next opening finds CP1251 and a valid index; Bob's is rebuilt as after any edit.
        corpus = open();
        EXPECT_FALSE(corpus->textConversion().has_value());
        EXPECT_FALSE(corpus->rebuiltOnOpen());
        corpus.reset();
        corpus = open("Bob");
        EXPECT_FALSE(corpus->textConversion().has_value());
        EXPECT_TRUE(corpus->rebuiltOnOpen());
        EXPECT_EQ(corpus->entryCount(), 4u);
        EXPECT_FALSE(platform::fileExists(dir.file("TextData.Rus.new")));
    }
}

TEST_F(OwnTextTest, ACp1251TextIsLeftAloneAndNothingIsKept) {
    dir.write("TextData.Rus", kText);
    EXPECT_FALSE(open()->textConversion().has_value());
    EXPECT_EQ(dir.read("TextData.Rus"), kText);
    EXPECT_EQ(platform::listDirectory(dir.path()).size(), 2u) << "the text and Users, nothing else";
}

TEST_F(OwnTextTest, AKeptNameInUseIsNeverOverwrittenAndTheSameOriginalIsKeptOnce) {
    const std::string utf8 = platform::cp1251ToUtf8(kText);
    dir.write("TextData.Rus.UTF-8.original", "someone else's file");
    dir.write("TextData.Rus.UTF-8.original-2", utf8);  // kept by a conversion cut short
    dir.write("TextData.Rus", utf8);
    auto corpus = open();
    ASSERT_TRUE(corpus && corpus->textConversion());
    EXPECT_EQ(corpus->textConversion()->keptName, "TextData.Rus.UTF-8.original-2");
    EXPECT_EQ(dir.read("TextData.Rus.UTF-8.original"), "someone else's file");
    EXPECT_FALSE(platform::fileExists(dir.file("TextData.Rus.UTF-8.original-3")));
    corpus.reset();
    EXPECT_EQ(dir.read("TextData.Rus"), kText);
}

// A full disk at any byte of the two writes: the text stays as it was, no original is left
// half-kept, the opening says so and the drill gets an index of the text as it stands.
TEST_F(OwnTextTest, AConversionThatCannotBeWrittenLeavesTheTextAsItWasAndSaysSo) {
    const std::string utf8 = platform::cp1251ToUtf8(kText);
    for (std::uint64_t allowance : {std::uint64_t {0}, std::uint64_t {10}, std::uint64_t {utf8.size()},
                                    std::uint64_t {utf8.size() + kText.size() - 1}}) {
        SCOPED_TRACE(allowance);
        dir.write("TextData.Rus", utf8);
        std::unique_ptr<SentenceCorpus> corpus;
        {
            platform::ScopedFileFaults faults;
            // The index's own writes come after the conversion's; they are not what is tried here.
            faults.failWritesAfter(allowance);
            corpus = open();
        }
        if (corpus) {
            ASSERT_TRUE(corpus->textConversion());
            EXPECT_FALSE(corpus->textConversion()->converted);
            EXPECT_EQ(platform::cp1251ToUtf8(conversionTitle(*corpus->textConversion())), "Облом");
            EXPECT_EQ(conversionMessage(*corpus->textConversion()),
                      cp1251("Файл TextData.Rus был сохранён в кодировке UTF-8, а перевести его в WIN-1251 не "
                             "удалось\n(нет места на диске или файл занят). Текст оставлен как есть."));
        }
        corpus.reset();
        EXPECT_EQ(dir.read("TextData.Rus"), utf8);
        EXPECT_FALSE(platform::fileExists(dir.file("TextData.Rus.UTF-8.original")));
        EXPECT_FALSE(platform::fileExists(dir.file("TextData.Rus.new")));
        EXPECT_FALSE(platform::fileExists(dir.file("TextData.Rus.UTF-8.original.new")));
    }
}

}  // namespace
}  // namespace dactyla
