// The fast cleaning (plain bytes found 64 at a time as bits and copied a block at a time, the
// rest by flags) against a plain two-pass reference: check and map every byte, then compact.
// Both must agree on every input.
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
std::string randomSentence(std::mt19937& random, bool russian, std::size_t longest = 60) {
    static const std::string_view kRussianBytes = "\xE0\xEE\xF2\xFF\xC0\xC4\xDF   --\r\n\x96,\"(0";
    static const std::string_view kEnglishBytes = "aoz[`ADZ   --\r\n\x96,\")9";
    const std::string_view common = russian ? kRussianBytes : kEnglishBytes;
    std::string sentence;
    const std::size_t length = random() % longest;
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
    // Many sit on the edge of eight-byte pieces.
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

struct RandomSweep {
    std::size_t accepted = 0;
    std::size_t acceptedPastABlock = 0;  // longer than 64 bytes once cleaned
};

// Cleans `count` random sentences of up to `longest` bytes both ways, under random rules; with
// `oneTerminator`, each sentence ends at its only terminator. Stops at the first disagreement.
RandomSweep sweepRandomSentences(unsigned seed, int count, std::size_t longest, bool oneTerminator) {
    std::mt19937 random(seed);
    RandomSweep sweep;
    for (int k = 0; k < count; ++k) {
        const bool russian = k % 2 == 0;
        const ImportRules rules {russian, static_cast<std::uint16_t>(random() % 16), 400,
                                 static_cast<std::uint8_t>(1 + random() % 5)};
        std::string sentence = randomSentence(random, russian, longest);
        if (oneTerminator) {
            std::replace_if(sentence.begin(), sentence.end(), [](char c) { return isTerminator(c); }, ' ');
            sentence += '.';
        }
        const std::string expected = referenceCleaning(sentence, rules);
        const std::string cleaned = fastCleaning(sentence, rules);
        if (cleaned != expected) {
            ADD_FAILURE() << "sentence " << k << ": \"" << sentence << "\" gives \"" << cleaned << "\", not \""
                          << expected << "\"";
            break;
        }
        if (!expected.empty()) ++sweep.accepted;
        if (expected.size() > 64) ++sweep.acceptedPastABlock;
    }
    return sweep;
}

TEST(SentenceCleaning, AgreesWithTheReferenceOnRandomSentences) {
    const RandomSweep sweep = sweepRandomSentences(20261207, 100000, 60, false);
    // The sweep is worth something only if it takes and refuses plenty.
    EXPECT_GT(sweep.accepted, 10000u);
    EXPECT_LT(sweep.accepted, 90000u);
}

// Sentences longer than a block of 64 bytes, so that what carries from one block to the next
// (a space, a removed hyphen, a run of capitals) meets every kind of byte.
TEST(SentenceCleaning, AgreesWithTheReferenceOnRandomSentencesOfSeveralBlocks) {
    EXPECT_GT(sweepRandomSentences(20261209, 40000, 300, true).acceptedPastABlock, 1000u);
}

// Plain words up to `length` bytes, a space between words; the letters small ones of the language.
std::string filler(bool russian, std::size_t length) {
    const std::string_view word = russian ? "\xEE\xF2\xE5\xF6 " : "abcd ";
    std::string bytes;
    while (bytes.size() < length) bytes += word[bytes.size() % word.size()];
    return bytes;
}

// What the cleaning must make of each kind of byte, set at every position of a sentence
// crossing two block edges: the first and the last byte, a block's last or first byte, and a
// pair split by an edge.
TEST(SentenceCleaning, AgreesWithTheReferenceWhereverATrickyByteFalls) {
    const std::vector<std::string> tricky = {
        "\r\n",        // a line break: one space
        "\r\n\r\n",    // a blank line
        "  ",          // two spaces: one
        "-\r\n",       // a word hyphenated across a line break
        "- ",          // the same with a space
        " -",          // a hyphen after a space stays
        "--\r\n",      // two hyphens: the second joins, the first stays
        "\x96",        // an en dash: a hyphen
        " \x96 ",      // a dash between words
        "\x96\r\n",    // an en dash ending a line
        "\t",          // refused
        "'",           // refused
        "\x01",        // refused
        ".",           // an early terminator ends the sentence there
        "?",
        ",",
        "\"(0)",
        "AB",          // capitals: runs of two, three, five with what lies around them
        "ABC",
        "A B C",
        "AB- CD",
        "AB-CD",
        "ABCDE",
        "A\r\nB\r\nC",
    };
    for (const bool russian : {false, true}) {
        for (const std::string& bytes : tricky) {
            std::string piece = bytes;
            // The same capitals in the other alphabet.
            if (russian)
                for (char& c : piece)
                    if (c >= 'A' && c <= 'Z') c = static_cast<char>(0xC0 + (c - 'A'));
            for (std::size_t at = 0; at < 140; ++at) {
                const std::string start = russian ? "\xC0" : "A";
                const std::string head = at == 0 ? "" : start + filler(russian, at - 1);
                // Inside the sentence, and last before its terminator.
                for (const std::string& sentence : {head + piece + filler(russian, 150 - at) + ".", head + piece + "."}) {
                    for (const std::uint8_t caps : {0, 2, 3, 4}) {
                        const ImportRules rules {russian, 10, 400, caps};
                        ASSERT_EQ(fastCleaning(sentence, rules), referenceCleaning(sentence, rules))
                            << "\"" << bytes << "\" at " << at << " of " << sentence.size() << ", capital run "
                            << int {caps} << ", " << (russian ? "Russian" : "English");
                    }
                }
            }
        }
    }
}

// The import's scan cleans each sentence where it lies in the text, reading a block past it into
// what follows (the next sentence, or the zero bytes after the text): each sentence at every
// position of a block, the last one near the end of the text.
TEST(SentenceCleaning, TheScanAgreesWhereverASentenceStartsInItsBlock) {
    const std::vector<std::string> sentences = {
        "\xC0\xE1\xE2 \xE3\xE4\xE5 \xE6\xE7.",
        "\xC0\xE1\xE2\r\n\xE3\xE4\xE5 \xE6\xE7\xE8-\r\n\xE9\xEA \xEB\xEC  \xED\xEE \x96 \xEF\xF0 \xF1\xF2\xF3 "
        "\xF4\xF5\xF6 \xF7\xF8\xF9 \xFA\xFB\xFC \xFD\xFE\xFF \xE0\xE1\xE2 \xE3\xE4\xE5 \xE6\xE7.",
        "\xC0\xC1 \xC2\xC3 \xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9"
        "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9 \xC4\xC5.",
        "\xC0\xE1\xE2 \xE3\xE4\xE5 \xE6\xE7 \xE8\xE9\xEA\xEB \xEC\xED\xEE\xEF\xF0\xF1\xF2\xF3 \xF4\xF5 \xF6\xF7\xF8\xF9 "
        "\xE0\xE1\xE2\xE3 \xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF0 -\xF1\xF2\xF3\xF4 \xF5\xF6\xF7 \xF8\xF9 .",
    };
    const ImportRules rules {true, 10, 400, 2};
    const testing::TempDir folder;
    for (std::size_t lead = 0; lead < 64; ++lead) {
        std::string text(lead, ' ');
        for (const std::string& sentence : sentences) text += sentence + "\r\n" + sentence + " ";
        std::string expected;
        const ScanText scanText(text);
        std::uint32_t scanPos = 0;
        while (const auto sentence = findNextSentence({true, 10, 400}, scanText, scanPos)) {
            const std::string cleaned =
                referenceCleaning(text.substr(sentence->start, sentence->end - sentence->start), rules);
            if (!cleaned.empty()) expected += cleaned + "\r\n";
        }
        folder.write("text.txt", text);
        std::string written;
        const ImportScan scan = scanImportInto(
            platform::File::open(folder.file("text.txt"), {.mode = platform::OpenMode::existing, .readOnly = true}),
            rules, [&](std::string_view block) {
                written += block;
                return true;
            });
        ASSERT_EQ(scan.status, ImportStatus::done);
        // All but the two with a run of four capitals.
        EXPECT_EQ(scan.found, 6u);
        EXPECT_EQ(written, expected) << "with " << lead << " spaces before the first sentence";
    }
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
