// The fast cleaning (eight bytes at a time, flags instead of branches) against a plain
// two-pass reference: check and map every byte, then compact. Both must agree on every input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/sentence_import.h"
#include "corpus/sentence_scanner.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

bool isTerminator(std::uint8_t c) { return c == '.' || c == '?' || c == '!'; }
bool isCapital(bool russian, std::uint8_t c) { return russian ? c >= 0xC0 && c <= 0xDF : c >= 'A' && c <= 'Z'; }

// The cleaned sentence, or "" when rejected, the slow and obvious way.
std::string referenceCleaning(std::string bytes, const ImportRules& rules) {
    const std::string_view marks = " ,-\":;()";
    std::size_t n = 0;
    for (;; ++n) {
        if (n == bytes.size()) return "";
        auto& c = reinterpret_cast<std::uint8_t&>(bytes[n]);
        if (isTerminator(c)) break;
        const bool letter = rules.russian ? c >= 0xC0 : c >= 0x41 && c <= 0x7A;
        if (c == '\r' || c == '\n') c = ' ';
        else if (c == 0x96) c = '-';
        else if (!letter && !(c >= '0' && c <= '9') && marks.find(static_cast<char>(c)) == marks.npos) return "";
    }
    ++n;
    std::string out;
    bool skipping = false;
    unsigned capitalRun = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const auto c = static_cast<std::uint8_t>(bytes[k]);
        if (c == ' ') {
            if (!skipping) out += ' ';
            skipping = true;
        } else if (c == '-' && !skipping && k + 1 < n && bytes[k + 1] == ' ') {
            skipping = true;
        } else {
            capitalRun = isCapital(rules.russian, c) ? capitalRun + 1 : 0;
            if (capitalRun > rules.maxCapitalRun) return "";
            out += static_cast<char>(c);
            skipping = false;
        }
    }
    if (out.size() >= 2 && out[out.size() - 2] == ' ') out.erase(out.size() - 2, 1);
    return out.size() < rules.minLength ? "" : out;
}

std::string fastCleaning(std::string bytes, const ImportRules& rules) {
    const std::uint16_t length = normalizeSentence(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size(), rules);
    return bytes.substr(0, length);
}

// Bytes that matter to the cleaning, often, and a few that it rejects, rarely.
std::string randomSentence(std::mt19937& random, bool russian) {
    static const std::string_view kRussianBytes = "\xE0\xEE\xF2\xFF\xC0\xC4\xDF   --\r\n\x96,\"(0";
    static const std::string_view kEnglishBytes = "aoz[`ADZ   --\r\n\x96,\")9";
    const std::string_view common = russian ? kRussianBytes : kEnglishBytes;
    std::string sentence;
    const std::size_t length = random() % 60;
    for (std::size_t k = 0; k < length; ++k) {
        const unsigned pick = random() % 100;
        if (pick == 0) sentence += static_cast<char>(random() % 256);
        else if (pick == 1) sentence += ".?!"[random() % 3];
        else if (pick < 40) sentence += russian ? "\xEE\xE1\xF0" : "abc";  // runs of plain letters
        else sentence += common[random() % common.size()];
    }
    if (random() % 8 != 0) sentence += ".?!"[random() % 3];
    if (random() % 4 == 0) sentence += russian ? " \xC0\xE1." : " Ab.";
    return sentence;
}

// A sentence as a book gives the scanner: words of plain letters, now and then a line break, a
// word hyphenated across one, a double space, an en dash, capitals or a byte the import refuses.
std::string proseSentence(std::mt19937& random) {
    static const std::vector<std::string> kGaps = {" ", " ", " ", " ", "\r\n", "-\r\n", "  ", " \x96 ", ", "};
    std::string sentence = "\xC0\xE1\xE2";
    const int words = 2 + static_cast<int>(random() % 14);
    for (int k = 0; k < words; ++k) {
        sentence += kGaps[random() % kGaps.size()];
        const unsigned pick = random() % 40;
        sentence += pick == 0 ? "\xC0\xC1\xC2\xC3" : pick == 1 ? "\xB8\xE0" : "\xEE\xF2\xE5\xF6";
    }
    return sentence + (random() % 6 == 0 ? " ." : ".");
}

TEST(SentenceCleaning, AgreesWithTheReferenceOnTrickyCases) {
    // Many sit on the edge of the eight-byte blocks the fast pass copies whole.
    const std::vector<std::string> sentences = {
        "Abcdefgh ijklmnop.",
        "Abcdefg  hijklmn.",           // two spaces across a block edge
        "Abcdefg\r\nhijklmn.",         // a line break across a block edge
        "Abcdef-\r\nghijklm.",         // a word hyphenated across a line break and a block edge
        "Abcdefg- hijklmn.",           // the same, the hyphen last in its block
        "Abcdefg -hijklmn.",           // a hyphen after a space stays
        "Abcdefghijklmno .",           // a space before the terminator goes
        "Abcdefghijklmn  .",
        "ABCD efgh ijkl mnop.",
        "ABCDE fghij klmno.",          // a run of five
        "ABC D efgh ijkl mnop.",       // a space does not end a run
        "AB- CD efgh ijkl.",           // nor does a removed hyphen
        "AB-CD efgh ijkl mnop.",       // a kept one does
        "Abcdefgh ijklmnop",           // no terminator
        "Abcdefgh ijkl'nop.",          // an apostrophe
        "Abcdefgh\tijklmnop.",
        "Abcdefgh ijklmnop. Tail'",    // only the first sentence counts
        "Short.",
        "A.",
        ".",
        "",
        "Abcdefgh        ijklmnop        qrstuvwx.",
        "Abcdefgh \r\n \r\n ijklmnop.",
        "Abcdefgh ijklmno\x96 pqrstu.",
        "Abcdefgh ijklmno \x96 pqrstu.",
    };
    for (const auto& sentence : sentences) {
        for (const std::uint8_t caps : {1, 2, 4}) {
            const ImportRules rules {false, 10, 120, caps};
            EXPECT_EQ(fastCleaning(sentence, rules), referenceCleaning(sentence, rules))
                << "\"" << sentence << "\", capital run " << int {caps};
        }
    }
}

TEST(SentenceCleaning, AgreesWithTheReferenceOnRandomSentences) {
    std::mt19937 random(20261207);
    std::size_t accepted = 0;
    for (int k = 0; k < 100000; ++k) {
        const bool russian = k % 2 == 0;
        const ImportRules rules {russian, static_cast<std::uint16_t>(random() % 16), 120,
                                 static_cast<std::uint8_t>(1 + random() % 5)};
        const std::string sentence = randomSentence(random, russian);
        const std::string expected = referenceCleaning(sentence, rules);
        ASSERT_EQ(fastCleaning(sentence, rules), expected) << "sentence " << k << ": \"" << sentence << "\"";
        if (!expected.empty()) ++accepted;
    }
    // The sweep is worth something only if it takes and refuses plenty.
    EXPECT_GT(accepted, 10000u);
    EXPECT_LT(accepted, 90000u);
}

// The scan cleans into its write block rather than in place; what it writes must still be what
// cleaning each found sentence gives.
TEST(SentenceCleaning, TheScanWritesWhatCleaningEachFoundSentenceGives) {
    std::mt19937 random(7);
    std::string text;
    while (text.size() < (5u << 20) / 2) text += proseSentence(random) + (random() % 3 == 0 ? "\r\n" : " ");
    const ImportRules rules {true, 10, 120, 3};
    std::string expected;
    const ScanText scanText(text);
    std::uint32_t scanPos = 0;
    while (const auto sentence = findNextSentence({true, 10, 120}, scanText, scanPos)) {
        const std::string cleaned = referenceCleaning(text.substr(sentence->start, sentence->end - sentence->start), rules);
        if (!cleaned.empty()) expected += cleaned + "\r\n";
    }
    const testing::TempDir folder;
    folder.write("book.txt", text);
    SentenceImport import(folder.path());
    ASSERT_EQ(import.scan(folder.file("book.txt"), rules).status, ImportStatus::done);
    ASSERT_GT(expected.size(), 1u << 20);  // more than one write block
    const std::string written = import.acceptedText().value_or("");
    ASSERT_EQ(written.size(), expected.size());
    // Compared without printing megabytes on failure.
    const auto differs = std::mismatch(written.begin(), written.end(), expected.begin()).first;
    EXPECT_TRUE(differs == written.end()) << "first difference at byte " << differs - written.begin();
}

}  // namespace
}  // namespace dactyla
