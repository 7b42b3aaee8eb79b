#include "corpus/text_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corpus/sentence_import.h"
#include "platform/cp1251.h"
#include "platform/file.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

std::string cp1251(const std::string& utf8) { return platform::utf8ToCp1251(utf8); }

std::string utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(TextEncoding, DetectsAndConvertsByTheExactRules) {
    const std::string unknown(1, kNoCp1251Character);
    struct Case {
        const char* why;
        std::string bytes;
        TextEncoding encoding;
        std::string cp1251;
    };
    const std::vector<Case> cases = {
        {"nothing at all", "", TextEncoding::cp1251, ""},
        {"a UTF-8 mark with nothing after it", "\xEF\xBB\xBF", TextEncoding::utf8WithMark, ""},
        {"a UTF-16 LE mark with nothing after it", "\xFF\xFE", TextEncoding::utf16LeWithMark, ""},
        {"a UTF-16 BE mark with nothing after it", "\xFE\xFF", TextEncoding::utf16BeWithMark, ""},
        {"plain ASCII stays CP1251", "Plain text. Two.\r\n", TextEncoding::cp1251, "Plain text. Two.\r\n"},
        {"Russian CP1251", cp1251("Мир. Ёж."), TextEncoding::cp1251, cp1251("Мир. Ёж.")},
        {"UTF-8 without a mark", "Мир, ёж — «да».", TextEncoding::utf8, cp1251("Мир, ёж — «да».")},
        {"UTF-8 characters CP1251 lacks", "Ж日😀Ж", TextEncoding::utf8, cp1251("Ж") + unknown + unknown + cp1251("Ж")},
        {"a zero character stays a zero byte", std::string("\xD0\x96\0A", 4), TextEncoding::utf8,
         cp1251("Ж") + std::string("\0A", 2)},
        {"one bad byte makes UTF-8 without a mark CP1251", "Мир\xFF", TextEncoding::cp1251, "Мир\xFF"},
        {"an overlong form is no UTF-8", "\xC0\xAF\xD0\x96", TextEncoding::cp1251, "\xC0\xAF\xD0\x96"},
        {"an encoded surrogate is no UTF-8", "\xED\xA0\x80\xD0\x96", TextEncoding::cp1251, "\xED\xA0\x80\xD0\x96"},
        {"past U+10FFFF is no UTF-8", "\xF4\x90\x80\x80\xD0\x96", TextEncoding::cp1251, "\xF4\x90\x80\x80\xD0\x96"},
        {"a sequence cut at the end is no UTF-8", "\xD0\x96\xD0", TextEncoding::cp1251, "\xD0\x96\xD0"},
        {"with a mark, each broken sequence is one unknown character", "\xEF\xBB\xBF\xD0\x96\xE2\x82X\xFF\xD0",
         TextEncoding::utf8WithMark, cp1251("Ж") + unknown + "X" + unknown + unknown},
        {"UTF-16 BE", utf16(u"Ёж!", true), TextEncoding::utf16BeWithMark, cp1251("Ёж!")},
        {"UTF-16 LE line breaks", utf16(u"А.\r\nБ.", false), TextEncoding::utf16LeWithMark, cp1251("А.\r\nБ.")},
        {"a surrogate pair is one character CP1251 lacks", utf16(u"A\U0001F600B", false),
         TextEncoding::utf16LeWithMark, "A" + unknown + "B"},
        {"a lone high surrogate", utf16(std::u16string {u'A', char16_t {0xD800}, u'B'}, false),
         TextEncoding::utf16LeWithMark, "A" + unknown + "B"},
        {"a lone low surrogate, last", utf16(std::u16string {u'A', char16_t {0xDC00}}, true),
         TextEncoding::utf16BeWithMark, "A" + unknown},
        {"a high surrogate at the very end", utf16(std::u16string {u'A', char16_t {0xDBFF}}, false),
         TextEncoding::utf16LeWithMark, "A" + unknown},
        {"an odd last byte is half a character", utf16(u"AB", false) + "C", TextEncoding::utf16LeWithMark,
         "AB" + unknown},
        {"only half a character after the mark", "\xFE\xFF\x04", TextEncoding::utf16BeWithMark, unknown},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(detectEncoding(c.bytes), c.encoding) << c.why;
        EXPECT_EQ(toCp1251(c.bytes, c.encoding), c.cp1251) << c.why;
    }
}

TEST(TextEncoding, TheStartOfALongerFileMayEndInsideASequence) {
    const std::string start = "\xD0\x96\xD0\x96\xE2\x80";
    EXPECT_EQ(detectEncoding(start, true), TextEncoding::utf8);
    EXPECT_EQ(detectEncoding(start, false), TextEncoding::cp1251);
    // Cut short or not, a text without a multi-byte sequence before the cut is CP1251.
    EXPECT_EQ(detectEncoding("ASCII\xD0", true), TextEncoding::cp1251);
    EXPECT_EQ(detectEncoding("\xFF\xD0\x96", true), TextEncoding::cp1251);
}

#ifdef DACTYLA_CONTENT_DIR
// A CP1251 text in each of the five forms the program reads.
struct Form {
    TextEncoding encoding;
    std::string bytes;
};
std::vector<Form> allForms(const std::string& text) {
    const std::string utf8 = platform::cp1251ToUtf8(text);
    const std::u16string wide = platform::cp1251ToUtf16(text);
    return {{TextEncoding::cp1251, text},
            {TextEncoding::utf8, utf8},
            {TextEncoding::utf8WithMark, "\xEF\xBB\xBF" + utf8},
            {TextEncoding::utf16LeWithMark, utf16(wide, false)},
            {TextEncoding::utf16BeWithMark, utf16(wide, true)}};
}

// The shipped texts go through all five forms and come back byte for byte, and the import of
// every form accepts exactly the sentences of the CP1251 text.
TEST(TextEncoding, ShippedTextsRoundTripAndImportTheSameInEveryForm) {
    testing::TempDir dir;
    for (const auto& [name, russian] : {std::pair {"TextData.Rus", true}, std::pair {"TextData.Eng", false}}) {
        const auto text = platform::readWholeFile(std::string(DACTYLA_CONTENT_DIR) + "/" + name);
        ASSERT_TRUE(text.has_value()) << name << " was not built";
        std::string expected;
        for (const Form& form : allForms(*text)) {
            const std::string label = std::string(name) + " as " + encodingName(form.encoding);
            // The English text is ASCII, which is its own UTF-8 without a mark, and so CP1251.
            const TextEncoding detected = form.bytes == *text ? TextEncoding::cp1251 : form.encoding;
            EXPECT_EQ(detectEncoding(form.bytes), detected) << label;
            EXPECT_EQ(toCp1251(form.bytes, form.encoding), *text) << label;

            dir.write("book.txt", form.bytes);
            SentenceImport import(dir.path());
            const ImportScan scan = import.scan(dir.file("book.txt"), {russian, 10, 120, 4});
            ASSERT_EQ(scan.status, ImportStatus::done) << label;
            EXPECT_EQ(scan.encoding, detected) << label;
            EXPECT_GT(scan.found, 1000u) << label;
            const std::string accepted = import.acceptedText().value_or("");
            if (form.encoding == TextEncoding::cp1251) expected = accepted;
            EXPECT_EQ(accepted, expected) << label;
        }
    }
}
#endif

// A sentence holding a character CP1251 lacks goes as one holding an unknown byte would.
TEST(TextEncoding, ImportRefusesSentencesWithCharactersCp1251LacksAsItRefusesUnknownBytes) {
    testing::TempDir dir;
    const std::string utf8Book = "Первое предложение тут. Второе с символом ☺ внутри. Третье тоже хорошее.\r\n";
    const std::string cp1251Book = cp1251("Первое предложение тут. Второе с символом ") + kNoCp1251Character +
                                   cp1251(" внутри. Третье тоже хорошее.\r\n");
    std::vector<std::string> accepted;
    for (const std::string& book : {utf8Book, cp1251Book}) {
        dir.write("book.txt", book);
        SentenceImport import(dir.path());
        ASSERT_EQ(import.scan(dir.file("book.txt"), {true, 10, 120, 4}).status, ImportStatus::done);
        accepted.push_back(import.acceptedText().value_or(""));
    }
    EXPECT_EQ(accepted[0], cp1251("Первое предложение тут.\r\nТретье тоже хорошее.\r\n"));
    EXPECT_EQ(accepted[0], accepted[1]);
}

TEST(TextEncoding, AMarkWithNothingAfterItFindsNothingAndSaysWhatItRead) {
    testing::TempDir dir;
    dir.write("empty.txt", "\xFF\xFE");
    SentenceImport import(dir.path());
    const ImportScan scan = import.scan(dir.file("empty.txt"), {true, 10, 120, 4});
    EXPECT_EQ(scan.status, ImportStatus::done);
    EXPECT_EQ(scan.found, 0u);
    EXPECT_EQ(scan.encoding, TextEncoding::utf16LeWithMark);
}

TEST(TextEncoding, ReadingCutsAConvertedTextAtTheLimit) {
    testing::TempDir dir;
    dir.write("book.txt", utf16(u"Один. Два. Три.", true));
    auto file = platform::File::open(dir.file("book.txt"), {.readOnly = true});
    const auto read = readAsCp1251(file, 5, 1000);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->encoding, TextEncoding::utf16BeWithMark);
    EXPECT_EQ(read->text.view(0, 100), cp1251("Один."));
    EXPECT_FALSE(readAsCp1251(file, 5, 10).has_value()) << "a foreign file larger than allowed is not read";
}

}  // namespace
}  // namespace dactyla
