// The fast scan (stops of 64-byte blocks as bits, capitals eight bytes at a time, sentences
// found a batch at a time) against a plain reference that walks the text a byte at a time:
// both must find the same sentences and leave the scan in the same place on every text.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/sentence_scanner.h"
#include "platform/file.h"

namespace dactyla {
namespace {

using namespace std::string_literals;

constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kLf = 0x0A;

bool isTerminator(std::uint8_t c) { return c == '.' || c == '?' || c == '!'; }
bool isStop(std::uint8_t c) { return c == 0 || c == kCr || isTerminator(c); }
bool isCapital(bool russian, std::uint8_t c) { return russian ? c >= 0xC0 && c <= 0xDF : c >= 'A' && c <= 'Z'; }

// The scan the slow and obvious way, phase by phase; `text` ends in a zero byte and two more.
class ReferenceScan {
public:
    ReferenceScan(const SentenceRules& rules, const std::string& text)
        : rules_(rules), text_(text + '\0' + '\0'), size_(static_cast<std::uint32_t>(text.size())) {}

    std::optional<FoundSentence> next() {
        enum { search, candidate, skip } phase = search;
        for (;;) {
            if (phase == search) {
                while (!isCapital(rules_.russian, at(pos_))) {
                    if (at(pos_) == 0) return std::nullopt;
                    ++pos_;
                }
                start_ = pos_;
                discount_ = 0;
                phase = beginsSentence() ? candidate : skip;
            } else if (phase == candidate) {
                const std::uint8_t c = advance();
                if (c == 0) return std::nullopt;
                const std::uint8_t next = at(pos_ + 1);
                if (pos_ - start_ - discount_ >= rules_.maxLength) {
                    phase = isTerminator(c) && (next == ' ' || next == kCr) ? search : skip;
                } else if (c == kCr) {
                    if (next != kLf) phase = skip;
                    else if (at(pos_ + 2) == kCr) phase = search;
                    else discount_ = static_cast<std::uint16_t>(discount_ + lineBreakWeight());
                } else {
                    ++pos_;
                    const std::uint8_t after = at(pos_);
                    const std::uint32_t length = pos_ - start_ - discount_;
                    if (after != ' ' && after != kCr && after != 0) phase = skip;
                    else if (length >= rules_.minLength) return FoundSentence {start_, pos_, length};
                    else phase = search;
                }
            } else {
                const std::uint8_t c = advance();
                if (c == 0) return std::nullopt;
                if (c == kCr ? at(pos_ + 2) == kCr : at(pos_ + 1) == ' ' || at(pos_ + 1) == kCr) phase = search;
            }
        }
    }

    std::uint32_t position() const { return pos_; }

    // advanceToStop: one on, then on to the next stop.
    std::uint8_t advance() {
        if (pos_ >= size_) {
            pos_ = size_;
            return 0;
        }
        do ++pos_;
        while (!isStop(at(pos_)));
        return at(pos_);
    }
    void moveTo(std::uint32_t pos) { pos_ = pos; }

private:
    std::uint8_t at(std::uint32_t k) const { return static_cast<std::uint8_t>(text_[k]); }
    bool beginsSentence() const {
        if (start_ < 2) return true;
        const std::uint8_t before = at(start_ - 1);
        const std::uint8_t twoBefore = at(start_ - 2);
        return (before == ' ' || before == kLf || before == '\t') &&
               (twoBefore == ' ' || isTerminator(twoBefore) || twoBefore == '\t' || twoBefore == kLf ||
                twoBefore == kCr);
    }
    std::uint16_t lineBreakWeight() const {
        if (at(pos_ - 1) == ' ') return 2;
        if (at(pos_ - 1) == '-' && at(pos_ - 2) != ' ') return 3;
        return 1;
    }

    SentenceRules rules_;
    std::string text_;
    std::uint32_t size_;
    std::uint32_t pos_ = 0;
    std::uint32_t start_ = 0;
    std::uint16_t discount_ = 0;
};

std::string describe(const std::optional<FoundSentence>& found) {
    if (!found) return "none";
    return std::to_string(found->start) + ".." + std::to_string(found->end) + " (" +
           std::to_string(found->length) + ")";
}

// Every sentence of `text` through SentenceScanner and findNextSentence against the reference,
// then advanceToStop from every position. Returns how many sentences were found.
std::size_t expectSameScan(const std::string& text, const SentenceRules& rules, const std::string& what) {
    const ScanText scanText(text);
    ReferenceScan reference(rules, text);
    SentenceScanner scanner(rules, scanText);
    std::uint32_t scanPos = 0;
    std::size_t found = 0;
    for (;;) {
        const auto expected = reference.next();
        const auto fast = scanner.next();
        const auto single = findNextSentence(rules, scanText, scanPos);
        EXPECT_EQ(describe(fast), describe(expected)) << what << ", sentence " << found;
        EXPECT_EQ(describe(single), describe(expected)) << what << ", sentence " << found;
        EXPECT_EQ(scanner.position(), reference.position()) << what << ", sentence " << found;
        EXPECT_EQ(scanPos, reference.position()) << what << ", sentence " << found;
        if (!expected || !fast || found > text.size()) break;
        ++found;
    }
    for (std::uint32_t from = 0; from <= text.size() + 1; ++from) {
        reference.moveTo(from);
        std::uint32_t pos = from;
        const std::uint8_t expected = reference.advance();
        EXPECT_EQ(advanceToStop(scanText, pos), expected) << what << ", advanceToStop from " << from;
        EXPECT_EQ(pos, reference.position()) << what << ", advanceToStop from " << from;
    }
    return found;
}

const std::vector<SentenceRules> kRuleSets = {
    {false, 10, 120}, {true, 10, 120}, {false, 1, 20}, {true, 0, 11}, {false, 30, 60},
};

TEST(SentenceScanReference, AgreesAtTheEdgesOfWordsAndBlocks) {
    // Each case is shifted by 0 to 70 bytes of lead-in, so every stop, capital and line break
    // falls on every place of an eight-byte word and of a 64-byte block.
    std::vector<std::string> cases = {
        "Hello world. This is a test.\r\nAnother one here!",
        "Abcdefghi.", "Abcdefgh.", "Abcdefghij", "A", ".", "\r", "\r\n", "\r\n\r\n",
        "Abcdef gh\rij. Next good sentence.",
        "No end here\r\n\r\nAbc def ghi jkl.",
        "Abcde f-\r\nhi. Abcde -\r\nhi. Abcde fg\r\nhi. Abcde fg \r\nhi.",
        "Numbers like 3.14 break it. But this one works fine.",
        "Abcdefghijkl?! Next fine one. Another good one.",
        "Wait... Next fine one. Another good one.",
        "Too long sentence here, much longer than sixty bytes of the window. Ok next one is short.",
        "\xC0\xE1\xE2\xE3\xE4\xE5 \xE6\xE7\xE8.\r\n\xC0\xE1\xE2 \xE3\xE4\xE5 \xE6\xE7\xE8!",
        "\xDF\xE0 \xDF\xE0 \xDF\xE0 \xDF\xE0 \xDF\xE0?\r\n",
        "Ends on a line break.\r",
        "Ends on a terminator and a zero.\0Never seen. After the zero."s,
        "Abc def.\0"s,
        std::string(70, 'x') + "\r\n" + std::string(63, 'y') + ". Zzzzzzzzzzz zz.",
        "Abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqr.",
    };
    // More sentences than one batch holds, the last of a batch at every place of a block.
    std::string many;
    for (int k = 0; k < 150; ++k) many += k % 7 == 0 ? "Ab cd efgh.\r\n" : "Abc def gh. ";
    cases.push_back(many);
    for (const std::string& text : cases) {
        for (std::size_t shift = 0; shift <= 70; ++shift) {
            const std::string leadIn = std::string(shift, 'a') + (shift % 3 == 0 ? ". " : " ");
            for (const SentenceRules& rules : kRuleSets)
                expectSameScan(leadIn + text, rules, "\"" + text + "\" after " + std::to_string(shift));
        }
    }
}

// Words, capitalised ones of both languages, spaces, line breaks and terminators, as prose has
// them but in any order; now and then any byte, a zero byte among them.
std::string randomText(std::mt19937& random, std::size_t size) {
    static const std::vector<std::string> kPieces = {
        "abc", "defgh", "ij", "klmnopqrs", " ", " ", " ", "  ", "\t", ". ", ".", "? ", "!", "?!", "...", "\r\n",
        "\r\n\r\n", "\r", "\n", "-\r\n", " -\r\n", " \r\n", "Abc", "Zyx", "\xC0\xE1\xE2", "\xDF\xE0", "\xC0",
        "Q", "3.14", ".\r\n", "[`", "\xBF\xE0",
    };
    std::string text;
    while (text.size() < size) {
        if (random() % 200 == 0) text += static_cast<char>(random() % 256);
        else text += kPieces[random() % kPieces.size()];
    }
    return text;
}

TEST(SentenceScanReference, AgreesOnRandomTexts) {
    std::mt19937 random(20261209);
    std::size_t found = 0;
    for (int k = 0; k < 1000; ++k) {
        const SentenceRules& rules = kRuleSets[k % kRuleSets.size()];
        // One in ten long enough to cross the scanner's runs of marked blocks (2 KiB) a few times.
        const std::size_t size = k % 10 == 0 ? 2000 + random() % 6000 : 1 + random() % 1500;
        found += expectSameScan(randomText(random, size), rules, "random text " + std::to_string(k));
        if (testing::Test::HasFailure()) break;
    }
    EXPECT_GT(found, 1000u) << "the texts must hold sentences for the sweep to mean something";
}

#ifdef DACTYLA_CONTENT_DIR
TEST(SentenceScanReference, AgreesOnTheShippedTexts) {
    for (const char* name : {"TextData.Rus", "TextData.Eng"}) {
        const auto text = platform::readWholeFile(std::string(DACTYLA_CONTENT_DIR) + "/" + name);
        ASSERT_TRUE(text.has_value()) << name << " was not built";
        const bool russian = std::string_view(name).ends_with("Rus");
        // Whole, and hard-wrapped the way a book is, so line breaks fall inside sentences.
        std::string wrapped;
        std::size_t column = 0;
        for (const char c : *text) {
            const bool breakHere = c == ' ' && column > 50;
            wrapped += breakHere ? std::string("\r\n") : std::string(1, c == '\r' || c == '\n' ? ' ' : c);
            column = breakHere ? 0 : column + 1;
        }
        const std::string scanned[] = {*text, wrapped};
        for (const std::string& version : scanned) {
            const ScanText scanText(version);
            ReferenceScan reference({russian, 10, 120}, version);
            SentenceScanner scanner({russian, 10, 120}, scanText);
            std::size_t found = 0;
            for (;;) {
                const auto expected = reference.next();
                const auto fast = scanner.next();
                ASSERT_EQ(describe(fast), describe(expected)) << name << ", sentence " << found;
                if (!expected) break;
                ++found;
            }
            EXPECT_GT(found, 1000u) << name;
        }
    }
}
#endif

}  // namespace
}  // namespace dactyla
