#include "corpus/sentence_scanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace dactyla {
namespace {

constexpr std::uint8_t kNul = 0x00;
constexpr std::uint8_t kTab = 0x09;
constexpr std::uint8_t kLf = 0x0A;
constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kSpace = 0x20;
constexpr std::uint8_t kHyphen = 0x2D;


// The scan reads the text eight bytes at a time and marks the bytes it looks for in the high
// bit of each byte of a word. Every test below keeps each byte's arithmetic inside its byte (no
// carry or borrow crosses into the next), so each mark is exact, and the lowest marked byte is
// the first one in the text.
static_assert(std::endian::native == std::endian::little, "the first byte of a word must be its lowest");
using Word = std::uint64_t;
constexpr std::uint32_t kWordSize = sizeof(Word);
constexpr std::uint32_t kStopBlock = SentenceScanner::kStopBlock;
constexpr Word kOnes = 0x0101010101010101u;
constexpr Word kHighBits = kOnes * 0x80;
constexpr Word kLowBits = kOnes * 0x7F;

constexpr Word everyByte(std::uint8_t c) { return kOnes * c; }

Word wordAt(const std::uint8_t* bytes) {
    Word word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// The high bit of each byte of `low` (bytes below 0x80) that is not `c` (below 0x80).
constexpr Word differsFrom(Word low, std::uint8_t c) { return ((low ^ everyByte(c)) + kLowBits); }

// Stops: CR, '.', '?', '!' and the zero byte.
constexpr Word stopsIn(Word word) {
    const Word low = word & kLowBits;
    const Word other = differsFrom(low, kCr) & differsFrom(low, '.') & differsFrom(low, '?') &
                       differsFrom(low, '!') & differsFrom(low, kNul);
    return ~(other | word) & kHighBits;
}

// Capitals of the language and the zero byte, where a search for a sentence stops.
constexpr Word capitalsOrEndIn(bool russian, Word word) {
    const Word low = word & kLowBits;
    const Word zero = ~(differsFrom(low, kNul) | word) & kHighBits;
    if (russian) {
        // 0xC0 to 0xDF: the top three bits 110.
        const Word top = (word & everyByte(0xE0)) ^ everyByte(0xC0);
        return zero | (~(((top & kLowBits) + kLowBits) | top) & kHighBits);
    }
    const Word fromA = low + everyByte(0x80 - 'A');
    const Word pastZ = low + everyByte(0x7F - 'Z');
    return zero | (fromA & ~pastZ & ~word & kHighBits);
}

std::uint32_t firstMarked(Word marks) { return static_cast<std::uint32_t>(std::countr_zero(marks)) / 8; }

// One bit per byte, the first byte lowest: the high bits of `marks` gathered by one multiply.
// Each product term lands on its own bit, so none carries into another.
constexpr std::uint64_t bitPerByte(Word marks) { return ((marks >> 7) * 0x0102040810204080u) >> 56; }

// The stops of the 64 bytes from `base` as one bit each, the first byte lowest.
std::uint64_t stopsOfBlock(const std::uint8_t* text, std::uint32_t base) {
    std::uint64_t stops = 0;
    for (std::uint32_t k = 0; k < kStopBlock; k += kWordSize)
        stops |= bitPerByte(stopsIn(wordAt(text + base + k))) << k;
    return stops;
}

// The first stop after `pos`, from the block `known` holds when it is the one. The text's zero
// bytes end this before a block reaches past its padding.
std::uint32_t stopAfter(const std::uint8_t* text, std::uint32_t pos, SentenceScanner::StopBlock& known) {
    std::uint32_t from = pos + 1;
    std::uint32_t base = from / kStopBlock * kStopBlock;
    if (!known.loaded || known.base != base) known = {stopsOfBlock(text, base), base, true};
    for (std::uint64_t ahead = known.stops >> (from - base);; ahead = known.stops) {
        if (ahead != 0) return from + static_cast<std::uint32_t>(std::countr_zero(ahead));
        base += kStopBlock;
        from = base;
        known = {stopsOfBlock(text, base), base, true};
    }
}

// The first capital of the language or zero byte from `pos` on.
std::uint32_t nextCapitalOrEnd(bool russian, const std::uint8_t* text, std::uint32_t pos) {
    for (;;) {
        const Word marks = capitalsOrEndIn(russian, wordAt(text + pos));
        if (marks != 0) return pos + firstMarked(marks);
        pos += kWordSize;
    }
}

// What may stand right before a sentence's capital, and before that.
bool beginsSentence(const std::uint8_t* text, std::uint32_t start) {
    if (start < 2) return true;
    const std::uint8_t before = text[start - 1];
    const std::uint8_t twoBefore = text[start - 2];
    const bool gap = before == kSpace || before == kLf || before == kTab;
    const bool boundary = twoBefore == kSpace || isTerminator(twoBefore) || twoBefore == kTab ||
                          twoBefore == kLf || twoBefore == kCr;
    return gap && boundary;
}

// How many bytes of a joined line break do not count, judged by what precedes the CR.
std::uint16_t lineBreakWeight(const std::uint8_t* text, std::uint32_t cr) {
    const std::uint8_t before = text[cr - 1];
    if (before == kSpace) return 2;
    if (before == kHyphen && text[cr - 2] != kSpace) return 3;
    return 1;
}

}  // namespace

ScanText::ScanText() : ScanText(std::size_t {0}) { endAt(0); }

ScanText::ScanText(std::size_t capacity) : bytes_(capacity + kPadding), size_(capacity) {}

ScanText::ScanText(std::string_view text)
    : ScanText(static_cast<std::size_t>(std::min<std::uint64_t>(text.size(), kLargestText))) {
    std::copy_n(text.data(), size_, bytes_.data());
    endAt(size_);
}

void ScanText::endAt(std::size_t size) {
    size_ = size;
    std::fill_n(bytes_.data() + size, kPadding, std::uint8_t {0});
}

std::optional<ScanText> ScanText::read(platform::File& file, std::uint64_t limit) {
    const auto fileSize = file.size();
    if (!fileSize || !file.seek(0)) return std::nullopt;
    const auto wanted = static_cast<std::size_t>(std::min({*fileSize, limit, kLargestText}));
    ScanText text(wanted);
    // A short read ends the text where the data ended.
    text.endAt(file.read(text.bytes_.data(), wanted));
    return text;
}

std::string_view ScanText::view(std::uint32_t from, std::uint32_t to) const {
    to = std::min(to, size());
    from = std::min(from, to);
    return {reinterpret_cast<const char*>(bytes_.data()) + from, to - from};
}


enum class SentenceScanner::Phase { search, candidate, skip, found, none };

SentenceScanner::SentenceScanner(const SentenceRules& rules, const ScanText& text, std::uint32_t scanPos)
    : rules_(rules), text_(text.bytes()), pos_(std::min(scanPos, text.size())) {}

std::optional<FoundSentence> SentenceScanner::next() {
    Phase phase = Phase::search;
    while (phase != Phase::found && phase != Phase::none) {
        if (phase == Phase::search) phase = search();
        else if (phase == Phase::candidate) phase = candidate();
        else phase = skip();
    }
    if (phase == Phase::none) return std::nullopt;
    return FoundSentence {start_, pos_, countedLength()};
}

std::uint32_t SentenceScanner::countedLength() const { return pos_ - start_ - discount_; }

SentenceScanner::Phase SentenceScanner::search() {
    pos_ = nextCapitalOrEnd(rules_.russian, text_, pos_);
    if (text_[pos_] == kNul) return Phase::none;
    start_ = pos_;
    if (!beginsSentence(text_, start_)) return Phase::skip;
    discount_ = 0;
    return Phase::candidate;
}

// Candidate and Skip only ever start on a byte of the text, never on its end.
SentenceScanner::Phase SentenceScanner::candidate() {
    for (;;) {
        pos_ = stopAfter(text_, pos_, stops_);
        const std::uint8_t c = text_[pos_];
        if (c == kNul) return Phase::none;
        const std::uint8_t next = text_[pos_ + 1];
        if (countedLength() >= rules_.maxLength) {
            if (isTerminator(c) && (next == kSpace || next == kCr)) return Phase::search;
            return Phase::skip;
        }
        if (c == kCr) {
            if (next != kLf) return Phase::skip;
            if (text_[pos_ + 2] == kCr) return Phase::search;
            discount_ = static_cast<std::uint16_t>(discount_ + lineBreakWeight(text_, pos_));
            continue;
        }
        ++pos_;
        const std::uint8_t after = text_[pos_];
        if (after != kSpace && after != kCr && after != kNul) return Phase::skip;
        return countedLength() >= rules_.minLength ? Phase::found : Phase::search;
    }
}

SentenceScanner::Phase SentenceScanner::skip() {
    for (;;) {
        pos_ = stopAfter(text_, pos_, stops_);
        const std::uint8_t c = text_[pos_];
        if (c == kNul) return Phase::none;
        const std::uint8_t next = text_[pos_ + 1];
        if (c == kCr) {
            if (text_[pos_ + 2] == kCr) return Phase::search;
            continue;
        }
        if (next == kSpace || next == kCr) return Phase::search;
    }
}

std::uint8_t advanceToStop(const ScanText& text, std::uint32_t& scanPos) {
    if (scanPos >= text.size()) {
        scanPos = text.size();
        return kNul;
    }
    SentenceScanner::StopBlock unknown;
    scanPos = stopAfter(text.bytes(), scanPos, unknown);
    return text.bytes()[scanPos];
}

std::optional<FoundSentence> findNextSentence(const SentenceRules& rules, const ScanText& text,
                                              std::uint32_t& scanPos) {
    SentenceScanner scanner(rules, text, scanPos);
    auto found = scanner.next();
    scanPos = scanner.position();
    return found;
}

std::uint32_t findSentence(bool russian, std::uint16_t minLength, std::uint16_t maxLength, const ScanText& text,
                           std::uint32_t& scanPos) {
    const auto found = findNextSentence({russian, minLength, maxLength}, text, scanPos);
    return found ? found->start : kNoSentence;
}

}  // namespace dactyla
