#pragma once
// Cuts a CP1251 text into sentences fit to type: from a capital that follows the end of the
// previous sentence to a full stop, question mark or exclamation mark followed by a space, a
// line break or the end of the text, with a counted length inside [minLength, maxLength].
// Line breaks inside a sentence count the way they read once joined.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/text_rules.h"
#include "platform/file.h"
#include "platform/large_buffer.h"

namespace dactyla {

inline constexpr std::uint32_t kNoSentence = 0xFFFFFFFFu;

// A text ready to scan: its bytes followed by 64 zero bytes, so neither the scanner's look-ahead
// of two bytes past a stop nor its reads of 64 bytes at a time leave the buffer.
// The only way to hand text to the scanner.
class ScanText {
public:
    // The largest text a 32-bit scan position can address with its zero bytes.
    static constexpr std::uint64_t kLargestText = 0xFFFFFFFFu - 64;

    ScanText();
    // Texts longer than kLargestText are cut there.
    explicit ScanText(std::string_view text);
    // Reads up to `limit` bytes from the start of `file`; nothing when the file cannot be read.
    // The file comes as a LargeBuffer does: a large one mapped, not copied, where the system
    // allows, else read straight into memory never filled before.
    static std::optional<ScanText> read(platform::File& file, std::uint64_t limit = kLargestText);

    ScanText(ScanText&&) noexcept = default;
    ScanText& operator=(ScanText&&) noexcept = default;

    std::uint32_t size() const { return static_cast<std::uint32_t>(size_); }
    // size() + 64 readable bytes, the last 64 zero.
    const std::uint8_t* bytes() const { return bytes_.data(); }
    std::string_view view(std::uint32_t from, std::uint32_t to) const;

    // How many zero bytes follow the text.
    static constexpr std::size_t kPadding = 64;

private:
    // Room for `capacity` bytes and the padding, left uninitialised until endAt.
    explicit ScanText(std::size_t capacity);
    // Bytes that end in the padding.
    explicit ScanText(platform::LargeBuffer bytes);
    void endAt(std::size_t size);

    platform::LargeBuffer bytes_;
    std::size_t size_ = 0;
};

struct SentenceRules {
    bool russian = true;
    std::uint16_t minLength = kShortestSentence;
    std::uint16_t maxLength = kLongestSentence;
};

// What a scan has worked out ahead of where it stands: the stops (CR, '.', '?', '!' and the zero
// byte) of a run of blocks of 64 bytes, one bit per byte, first lowest. Worked out a run at a
// time, as one block at a time costs a call and its set-up for every block.
struct StopMarks {
    static constexpr std::uint32_t kBlocks = 32;
    std::array<std::uint64_t, kBlocks> stops;
    std::uint32_t firstBlock = 0;
    std::uint32_t blocks = 0;     // how many of the run are worked out
    std::uint32_t lastBlock = 0;  // the block of the text's first zero byte of padding
};

struct FoundSentence {
    std::uint32_t start = 0;   // offset of its capital
    std::uint32_t end = 0;     // one past its terminator
    std::uint32_t length = 0;  // counted length, line breaks discounted
};

// Finds sentence after sentence in one text, as findNextSentence does, but keeps what it has
// learnt of the text ahead: over a whole text the faster way.
class SentenceScanner {
public:
    // Stops are found a block of this many bytes at a time.
    static constexpr std::uint32_t kStopBlock = 64;

    // Starts at `scanPos`, or at the end of the text when that lies beyond it.
    SentenceScanner(const SentenceRules& rules, const ScanText& text, std::uint32_t scanPos = 0);

    // The next sentence, the position then resting after its terminator; with none left the
    // position rests on a zero byte and the result is empty.
    std::optional<FoundSentence> next() {
        const FoundSentence* const sentence = nextFound();
        if (!sentence) return std::nullopt;
        return *sentence;
    }
    // The same, the sentence valid until the next call, null for none: over a whole text the
    // faster way, as an optional is copied through memory more than once.
    const FoundSentence* nextFound() {
        if (taken_ == batched_ && !refill()) {
            position_ = pos_;
            return nullptr;
        }
        const FoundSentence* const sentence = &batch_[taken_++];
        position_ = sentence->end;
        return sentence;
    }
    std::uint32_t position() const { return position_; }

private:
    // Sentences are found a batch at a time and handed out from there: one returned straight
    // from the search would be read back from memory before it is fully written, which stalls
    // the processor longer than the search of a sentence takes.
    static constexpr std::size_t kBatch = 64;
    // False when no sentence is left.
    bool refill();

    SentenceRules rules_;
    const std::uint8_t* text_;
    std::uint32_t pos_;  // where the search stands, after the last sentence batched
    // The stops of the block of kStopBlock bytes from stopBase_, kept across sentences, as the
    // next one mostly starts in the same block, and those of the blocks after it.
    std::uint32_t stopBase_;
    std::uint64_t stops_;
    StopMarks marks_;
    std::array<FoundSentence, kBatch> batch_;
    std::size_t batched_ = 0;
    std::size_t taken_ = 0;
    std::uint32_t position_;  // after the last sentence handed out
};

// Finds the next sentence from `scanPos` on and leaves `scanPos` after its terminator; with
// none left, `scanPos` rests on a zero byte and the result is empty.
std::optional<FoundSentence> findNextSentence(const SentenceRules& rules, const ScanText& text,
                                              std::uint32_t& scanPos);

// The same, giving the offset of the sentence's capital or kNoSentence.
std::uint32_t findSentence(bool russian, std::uint16_t minLength, std::uint16_t maxLength, const ScanText& text,
                           std::uint32_t& scanPos);

// Moves `scanPos` on by one, then on to the next stop (CR, '.', '?', '!' or a zero byte) and
// returns it. The byte at the starting position is never examined.
std::uint8_t advanceToStop(const ScanText& text, std::uint32_t& scanPos);

}  // namespace dactyla
