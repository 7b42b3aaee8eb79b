#include "corpus/sentence_scanner.h"

#include <algorithm>
#include <array>

namespace dactyla {
namespace {

constexpr std::uint8_t kNul = 0x00;
constexpr std::uint8_t kTab = 0x09;
constexpr std::uint8_t kLf = 0x0A;
constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kSpace = 0x20;
constexpr std::uint8_t kHyphen = 0x2D;

constexpr bool isTerminator(std::uint8_t c) { return c == '.' || c == '?' || c == '!'; }

constexpr std::array<bool, 256> kStops = [] {
    std::array<bool, 256> stops {};
    for (const std::uint8_t c : {kNul, kCr, std::uint8_t {'.'}, std::uint8_t {'?'}, std::uint8_t {'!'}})
        stops[c] = true;
    return stops;
}();

bool isCapital(bool russian, std::uint8_t c) { return russian ? c >= 0xC0 && c <= 0xDF : c >= 'A' && c <= 'Z'; }

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

enum class Phase { search, candidate, skip, found, none };

class Scan {
public:
    Scan(const SentenceRules& rules, const ScanText& text, std::uint32_t& scanPos)
        : rules_(rules), text_(text.bytes()), scanText_(text), pos_(scanPos) {}

    std::optional<FoundSentence> run() {
        Phase phase = Phase::search;
        while (phase != Phase::found && phase != Phase::none) {
            if (phase == Phase::search) phase = search();
            else if (phase == Phase::candidate) phase = candidate();
            else phase = skip();
        }
        if (phase == Phase::none) return std::nullopt;
        return FoundSentence {start_, pos_, countedLength()};
    }

private:
    std::uint32_t countedLength() const { return pos_ - start_ - discount_; }

    Phase search() {
        while (!isCapital(rules_.russian, text_[pos_])) {
            if (text_[pos_] == kNul) return Phase::none;
            ++pos_;
        }
        start_ = pos_;
        if (!beginsSentence(text_, start_)) return Phase::skip;
        discount_ = 0;
        return Phase::candidate;
    }

    Phase candidate() {
        for (;;) {
            const std::uint8_t c = advanceToStop(scanText_, pos_);
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

    Phase skip() {
        for (;;) {
            const std::uint8_t c = advanceToStop(scanText_, pos_);
            if (c == kNul) return Phase::none;
            const std::uint8_t next = text_[pos_ + 1];
            if (c == kCr) {
                if (text_[pos_ + 2] == kCr) return Phase::search;
                continue;
            }
            if (next == kSpace || next == kCr) return Phase::search;
        }
    }

    const SentenceRules& rules_;
    const std::uint8_t* text_;
    const ScanText& scanText_;
    std::uint32_t& pos_;
    std::uint32_t start_ = 0;
    // 16 bits wide: it can only wrap past 65535 discounted bytes, and then the counted length
    // jumps above any maxLength, so such a candidate ends as too long.
    std::uint16_t discount_ = 0;
};

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

std::uint8_t advanceToStop(const ScanText& text, std::uint32_t& scanPos) {
    if (scanPos >= text.size()) {
        scanPos = text.size();
        return kNul;
    }
    const std::uint8_t* bytes = text.bytes();
    do {
        ++scanPos;
    } while (!kStops[bytes[scanPos]]);
    return bytes[scanPos];
}

std::optional<FoundSentence> findNextSentence(const SentenceRules& rules, const ScanText& text,
                                              std::uint32_t& scanPos) {
    scanPos = std::min(scanPos, text.size());
    return Scan(rules, text, scanPos).run();
}

std::uint32_t findSentence(bool russian, std::uint16_t minLength, std::uint16_t maxLength, const ScanText& text,
                           std::uint32_t& scanPos) {
    const auto found = findNextSentence({russian, minLength, maxLength}, text, scanPos);
    return found ? found->start : kNoSentence;
}

}  // namespace dactyla
