#include "corpus/sentence_scanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "corpus/byte_block.h"

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
static_assert(kStopBlock == kByteBlock, "a block of stops is one block of bits");
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
template <bool kRussian>
constexpr Word capitalsOrEndIn(Word word) {
    const Word low = word & kLowBits;
    const Word zero = ~(differsFrom(low, kNul) | word) & kHighBits;
    if constexpr (kRussian) {
        // 0xC0 to 0xDF: the top three bits 110.
        const Word top = (word & everyByte(0xE0)) ^ everyByte(0xC0);
        return zero | (~(((top & kLowBits) + kLowBits) | top) & kHighBits);
    } else {
        const Word fromA = low + everyByte(0x80 - 'A');
        const Word pastZ = low + everyByte(0x7F - 'Z');
        return zero | (fromA & ~pastZ & ~word & kHighBits);
    }
}

std::uint32_t firstMarked(Word marks) { return static_cast<std::uint32_t>(std::countr_zero(marks)) / 8; }

// Works out the stops of the blocks from `firstBlock` on, to the end of the run or the block of
// the text's first zero byte of padding; no walk asks for a block beyond that one, as every
// walk ends on a zero byte. A byte is a stop when it or its difference (xor) from one of the
// other four stops is zero.
void markBlocks(const std::uint8_t* text, std::uint32_t firstBlock, StopMarks& marks) {
    marks.firstBlock = firstBlock;
    marks.blocks = std::min(StopMarks::kBlocks, marks.lastBlock + 1 - firstBlock);
    for (std::uint32_t k = 0; k < marks.blocks; ++k) {
        marks.stops[k] = bitsOfBlock(text + std::size_t {firstBlock + k} * kStopBlock, [](const std::uint8_t* at) {
            const std::uint8_t c = *at;
            std::uint8_t closest = std::min(c, static_cast<std::uint8_t>(c ^ kCr));
            closest = std::min(closest, static_cast<std::uint8_t>(c ^ '.'));
            closest = std::min(closest, static_cast<std::uint8_t>(c ^ '?'));
            closest = std::min(closest, static_cast<std::uint8_t>(c ^ '!'));
            return static_cast<std::uint8_t>(closest == 0 ? 0xFF : 0);
        });
    }
}

// The first capital of the language or zero byte from `pos` on.
template <bool kRussian>
std::uint32_t nextCapitalOrEndIn(const std::uint8_t* text, std::uint32_t pos) {
    for (;;) {
        const Word marks = capitalsOrEndIn<kRussian>(wordAt(text + pos));
        if (marks != 0) return pos + firstMarked(marks);
        pos += kWordSize;
    }
}

std::uint32_t nextCapitalOrEnd(bool russian, const std::uint8_t* text, std::uint32_t pos) {
    return russian ? nextCapitalOrEndIn<true>(text, pos) : nextCapitalOrEndIn<false>(text, pos);
}

// What may stand right before a sentence's capital (kGap), and before that (kBoundary), looked up
// rather than tested against each byte in turn.
constexpr std::uint8_t kGap = 1;
constexpr std::uint8_t kBoundary = 2;
constexpr std::array<std::uint8_t, 256> kBeforeCapital = [] {
    std::array<std::uint8_t, 256> kinds {};
    kinds[kSpace] = kinds[kLf] = kinds[kTab] = kGap | kBoundary;
    kinds[kCr] = kinds['.'] = kinds['?'] = kinds['!'] = kBoundary;
    return kinds;
}();

bool beginsSentence(const std::uint8_t* text, std::uint32_t start) {
    if (start < 2) return true;
    return ((kBeforeCapital[text[start - 1]] << 1) & kBeforeCapital[text[start - 2]] & kBoundary) != 0;
}

// How many bytes of a joined line break do not count, judged by what precedes the CR.
std::uint16_t lineBreakWeight(const std::uint8_t* text, std::uint32_t cr) {
    const std::uint8_t before = text[cr - 1];
    if (before == kSpace) return 2;
    if (before == kHyphen && text[cr - 2] != kSpace) return 3;
    return 1;
}

// Where one call of the scan stands, kept in locals so it lives in registers: the position
// and the stops of the block of kStopBlock bytes from stopBase, one bit per byte, first lowest.
struct Walk {
    const std::uint8_t* text;
    std::uint32_t pos;
    std::uint32_t stopBase;
    std::uint64_t stops;
    StopMarks& marks;

    // Moves on to the first stop after `pos` and returns it. The text's zero bytes end this
    // before a block reaches past its padding.
    std::uint8_t toNextStop() {
        const std::uint32_t from = pos + 1;
        if (from - stopBase >= kStopBlock) loadBlock(from / kStopBlock);
        std::uint64_t ahead = stops & (~std::uint64_t {0} << (from - stopBase));
        while (ahead == 0) {
            loadBlock(stopBase / kStopBlock + 1);
            ahead = stops;
        }
        pos = stopBase + static_cast<std::uint32_t>(std::countr_zero(ahead));
        return text[pos];
    }

    void loadBlock(std::uint32_t block) {
        if (block - marks.firstBlock >= marks.blocks) markBlocks(text, block, marks);
        stopBase = block * kStopBlock;
        stops = marks.stops[block - marks.firstBlock];
    }
};

enum class Outcome { found, search, skip, none };

struct CandidateEnd {
    Outcome outcome;
    std::uint32_t length = 0;  // of a sentence found
};

// From a capital that begins a sentence on to the stop that decides it: found, too long,
// broken by a lone CR, a blank line or a terminator inside a word.
CandidateEnd candidate(Walk& walk, const SentenceRules& rules, std::uint32_t start) {
    // 16 bits wide: it can only wrap past 65535 discounted bytes, and then the counted length
    // jumps above any maxLength, so such a candidate ends as too long.
    std::uint16_t discount = 0;
    for (;;) {
        const std::uint8_t c = walk.toNextStop();
        if (c == kNul) return {Outcome::none};
        const std::uint8_t* const at = walk.text + walk.pos;
        const std::uint8_t next = at[1];
        if (walk.pos - start - discount >= rules.maxLength) {
            if (isTerminator(c) && (next == kSpace || next == kCr)) return {Outcome::search};
            return {Outcome::skip};
        }
        if (c == kCr) {
            if (next != kLf) return {Outcome::skip};
            if (at[2] == kCr) return {Outcome::search};
            discount = static_cast<std::uint16_t>(discount + lineBreakWeight(walk.text, walk.pos));
            continue;
        }
        ++walk.pos;
        if (next != kSpace && next != kCr && next != kNul) return {Outcome::skip};
        const std::uint32_t length = walk.pos - start - discount;
        return {length >= rules.minLength ? Outcome::found : Outcome::search, length};
    }
}

// Passes over the rest of a sentence that was not accepted, up to the next boundary.
Outcome skip(Walk& walk) {
    for (;;) {
        const std::uint8_t c = walk.toNextStop();
        if (c == kNul) return Outcome::none;
        const std::uint8_t* const at = walk.text + walk.pos;
        if (c == kCr) {
            if (at[2] == kCr) return Outcome::search;
            continue;
        }
        if (at[1] == kSpace || at[1] == kCr) return Outcome::search;
    }
}

// The next sentence from where `walk` stands, into `found`; false when none is left, the walk
// then resting on a zero byte.
bool findNext(Walk& walk, const SentenceRules& rules, FoundSentence& found) {
    for (;;) {
        walk.pos = nextCapitalOrEnd(rules.russian, walk.text, walk.pos);
        if (walk.text[walk.pos] == kNul) return false;
        const std::uint32_t start = walk.pos;
        Outcome outcome = Outcome::skip;
        if (beginsSentence(walk.text, start)) {
            const CandidateEnd end = candidate(walk, rules, start);
            if (end.outcome == Outcome::found) {
                found = {start, walk.pos, end.length};
                return true;
            }
            outcome = end.outcome;
        }
        // Candidate and Skip only ever start on a byte of the text, never on its end.
        if (outcome == Outcome::skip) outcome = skip(walk);
        if (outcome == Outcome::none) return false;
    }
}

}  // namespace

ScanText::ScanText() : ScanText(std::size_t {0}) { endAt(0); }

ScanText::ScanText(std::size_t capacity) : bytes_(capacity + kPadding), size_(capacity) {}

ScanText::ScanText(std::string_view text)
    : ScanText(static_cast<std::size_t>(std::min<std::uint64_t>(text.size(), kLargestText))) {
    std::memcpy(bytes_.data(), text.data(), size_);
    endAt(size_);
}

void ScanText::endAt(std::size_t size) {
    size_ = size;
    std::fill_n(bytes_.data() + size, kPadding, std::uint8_t {0});
}

ScanText::ScanText(platform::LargeBuffer bytes) : bytes_(std::move(bytes)), size_(bytes_.size() - kPadding) {}

std::optional<ScanText> ScanText::read(platform::File& file, std::uint64_t limit) {
    const auto wanted = static_cast<std::size_t>(std::min(limit, kLargestText));
    auto bytes = platform::LargeBuffer::ofFileStart(file, wanted, kPadding);
    if (!bytes) return std::nullopt;
    return ScanText(std::move(*bytes));
}

std::string_view ScanText::view(std::uint32_t from, std::uint32_t to) const {
    to = std::min(to, size());
    from = std::min(from, to);
    return {reinterpret_cast<const char*>(bytes_.data()) + from, to - from};
}

SentenceScanner::SentenceScanner(const SentenceRules& rules, const ScanText& text, std::uint32_t scanPos)
    : rules_(rules), text_(text.bytes()), pos_(std::min(scanPos, text.size())),
      position_(pos_) {
    marks_.lastBlock = text.size() / kStopBlock;
    markBlocks(text_, pos_ / kStopBlock, marks_);
    stopBase_ = marks_.firstBlock * kStopBlock;
    stops_ = marks_.stops[0];
}

bool SentenceScanner::refill() {
    Walk walk {text_, pos_, stopBase_, stops_, marks_};
    // The rules in a local of their own: read through the scanner, they would be read again from
    // memory after every sentence stored in the batch, which might overlap them.
    const SentenceRules rules = rules_;
    std::size_t batched = 0;
    while (batched < kBatch && findNext(walk, rules, batch_[batched])) ++batched;
    batched_ = batched;
    taken_ = 0;
    pos_ = walk.pos;
    stopBase_ = walk.stopBase;
    stops_ = walk.stops;
    return batched_ > 0;
}

std::uint8_t advanceToStop(const ScanText& text, std::uint32_t& scanPos) {
    if (scanPos >= text.size()) {
        scanPos = text.size();
        return kNul;
    }
    const std::uint8_t* const bytes = text.bytes();
    do ++scanPos;
    while (bytes[scanPos] != kCr && !isTerminator(bytes[scanPos]) && bytes[scanPos] != kNul);
    return bytes[scanPos];
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
