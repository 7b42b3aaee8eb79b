#include "corpus/sentence_corpus.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "base/random.h"
#include "base/record_shuffle.h"
#include "base/text_rules.h"
#include "platform/directory.h"
#include "platform/little_endian.h"

namespace dactyla {
namespace {

constexpr std::uint64_t kLargestRecordedSize = 0xFFFFFFFFu;
// Random lines give up after this many draws, so a text with nothing to keep (only capitals,
// line breaks or spaces) cannot hold the program in a loop. A sentence text keeps far more
// than one byte in twenty.
constexpr unsigned kMaxRandomDraws = kRandomLineLength * 20;
constexpr std::uint64_t kSmallTextSize = 64 * 1024;



// The size as the header records it; a text of 4 GiB or more has no such size and so never
// matches a header: its index is rebuilt at every opening.
std::uint32_t recordedSize(std::uint64_t size) {
    return static_cast<std::uint32_t>(std::min(size, kLargestRecordedSize));
}

}  // namespace

std::string textFileName(bool russian) { return russian ? "TextData.Rus" : "TextData.Eng"; }
std::string indexFileName(bool russian) { return russian ? "random.rus" : "random.eng"; }

IndexHeader parseIndexHeader(std::string_view bytes) {
    std::array<std::uint8_t, kIndexHeaderSize> header {};
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), header.size()), header.begin());
    return {readLe(&header[0], 4), static_cast<std::uint16_t>(readLe(&header[4], 2)),
            static_cast<std::uint16_t>(readLe(&header[6], 2)), readLe(&header[8], 4)};
}

std::uint64_t indexedTextLimit(std::uint16_t maxLength) {
    // A sentence starting at the last reachable offset ends, with the byte after its
    // terminator that decides it, within maxLength + 1 bytes.
    return std::uint64_t {kLastIndexableOffset} + 1 + maxLength;
}

SentenceCorpus::SentenceCorpus(platform::File textFile, platform::File indexFile)
    : textFile_(std::move(textFile)), indexFile_(std::move(indexFile)) {}

std::unique_ptr<SentenceCorpus> openCorpus(const Options& options, const std::string& programDirectory,
                                           const std::string& userDirectory, CorpusError* error) {
    const auto fail = [error](CorpusError why) {
        if (error) *error = why;
        return std::unique_ptr<SentenceCorpus>();
    };
    const bool russian = options.russian != 0;
    const std::string textPath = platform::joinPath(programDirectory, textFileName(russian));
    const platform::OpenOptions textOpening {.mode = platform::OpenMode::always,
                                             .hint = platform::AccessHint::randomAccess};
    platform::File text = platform::File::open(textPath, textOpening);
    if (!text.isOpen()) return fail(CorpusError::textFile);
    platform::File index = platform::File::open(platform::joinPath(userDirectory, indexFileName(russian)),
                                                {.mode = platform::OpenMode::always,
                                                 .hint = platform::AccessHint::sequential});
    if (!index.isOpen()) return fail(CorpusError::indexFile);

    std::unique_ptr<SentenceCorpus> corpus(new SentenceCorpus(std::move(text), std::move(index)));
    std::array<char, kIndexHeaderSize> headerBytes {};
    corpus->indexFile_.seek(0);
    const std::size_t got = corpus->indexFile_.read(headerBytes.data(), headerBytes.size());
    const IndexHeader header = parseIndexHeader({headerBytes.data(), got});

    if (corpus->indexIsValid(header, options)) {
        corpus->entryCount_ = static_cast<std::uint32_t>((*corpus->indexFile_.size() - kIndexHeaderSize) /
                                                          kIndexEntrySize);
        // Taken as stored even past the end: the next line then wraps to the first entry.
        corpus->position_ = header.position;
        corpus->restoreCursor();
    } else {
        corpus->rebuiltOnOpen_ = true;
        // Saved by another editor, the text changed size; it is converted before it is indexed.
        corpus->textConversion_ = convertForeignText(textPath, corpus->textFile_, textOpening);
        if (!corpus->textFile_.isOpen()) return fail(CorpusError::textFile);
        if (!corpus->rebuild(options)) return fail(CorpusError::indexWrite);
    }
    if (error) *error = CorpusError::none;
    return corpus;
}

void closeCorpus(std::unique_ptr<SentenceCorpus>& corpus) { corpus.reset(); }

bool SentenceCorpus::indexIsValid(const IndexHeader& header, const Options& options) const {
    const auto textSize = textFile_.size();
    const auto indexSize = indexFile_.size();
    if (!textSize || !indexSize) return false;
    if (*textSize > kLargestRecordedSize || header.textSize != *textSize) return false;
    if (header.minLength != options.minLength || header.maxLength != options.maxLength) return false;
    if (*indexSize < kIndexHeaderSize || (*indexSize - kIndexHeaderSize) % kIndexEntrySize != 0) return false;
    // Our entries are distinct offsets within the text and within reach; more of them than
    // that is no index of ours (and would cost a huge reshuffle).
    const std::uint64_t entries = (*indexSize - kIndexHeaderSize) / kIndexEntrySize;
    return entries <= std::min<std::uint64_t>(*textSize, std::uint64_t {kLastIndexableOffset} + 1);
}

std::uint32_t SentenceCorpus::sentenceCount() const { return noneTakeable_ ? 0 : entryCount_; }

std::uint64_t SentenceCorpus::cursorOffset() const {
    return kIndexHeaderSize + std::uint64_t {kIndexEntrySize} * position_;
}

bool SentenceCorpus::restoreCursor() { return indexFile_.seek(cursorOffset()); }

bool SentenceCorpus::writeAt(std::uint64_t offset, const void* bytes, std::size_t count) {
    const bool written = indexFile_.seek(offset) && indexFile_.write(bytes, count) == count;
    if (!written) writeFailed_ = true;
    return written;
}

bool SentenceCorpus::takeWrapped() {
    const bool result = wrapped_ || position_ >= entryCount_;
    wrapped_ = false;
    return result;
}

void SentenceCorpus::reshuffleRemainder(bool keepPosition) {
    if (!keepPosition || position_ >= entryCount_) position_ = 0;
    const std::uint32_t remaining = entryCount_ - position_;
    std::vector<std::uint8_t> entries(std::size_t {remaining} * kIndexEntrySize);
    if (!entries.empty() && restoreCursor()) {
        entries.resize(indexFile_.read(entries.data(), entries.size()) / kIndexEntrySize * kIndexEntrySize);
        recordShuffle(entries.data(), static_cast<std::int32_t>(entries.size() / kIndexEntrySize), kIndexEntrySize);
        writeAt(cursorOffset(), entries.data(), entries.size());
    }
    restoreCursor();
}

void SentenceCorpus::savePosition() {
    std::array<std::uint8_t, 4> bytes {};
    putLe(bytes.data(), position_, 4);
    writeAt(8, bytes.data(), bytes.size());
    restoreCursor();
}

bool SentenceCorpus::writeHeader(const Options& options) {
    const auto textSize = textFile_.size();
    if (!textSize) return false;
    std::array<std::uint8_t, 4> window {};
    putLe(&window[0], options.minLength, 2);
    putLe(&window[2], options.maxLength, 2);
    std::array<std::uint8_t, 4> size {};
    putLe(size.data(), recordedSize(*textSize), 4);
    // The size last: a header torn after a cleared size then still matches no opening but
    // the one it was written for.
    const bool written = writeAt(4, window.data(), window.size()) && writeAt(0, size.data(), size.size());
    restoreCursor();
    return written;
}

std::optional<std::vector<std::uint32_t>> SentenceCorpus::sentenceOffsets(const Options& options) {
    const auto text = ScanText::read(textFile_, indexedTextLimit(options.maxLength));
    if (!text) return std::nullopt;
    std::vector<std::uint32_t> offsets;
    // A sentence takes some 60 to 80 bytes of prose; room for one in 32 bytes spares a regrowth,
    // and room never used is never touched.
    offsets.reserve(text->size() / 32);
    const SentenceRules rules {options.russian != 0, options.minLength, options.maxLength};
    forEachIndexableSentence(*text, rules, [&offsets](const FoundSentence& sentence) { offsets.push_back(sentence.start); });
    return offsets;
}

std::string_view appendSeparator(std::string_view textTail) {
    if (textTail.empty()) return "";
    const auto last = textTail.find_last_not_of(" \t\r\n");
    const bool finished = last != std::string_view::npos && isTerminator(textTail[last]) &&
                          (last + 1 == textTail.size() || textTail[last + 1] == ' ' || textTail[last + 1] == '\r');
    if (finished) return textTail.back() == '\n' ? "" : "\r\n";
    return textTail.ends_with("\r\n") ? "\r\n" : "\r\n\r\n";
}

std::optional<std::string> SentenceCorpus::textTail(std::uint64_t textSize) {
    // Trailing blanks longer than this are taken as an unfinished end: a blank line is safe.
    constexpr std::uint64_t kTailSize = 4096;
    std::string tail(static_cast<std::size_t>(std::min(textSize, kTailSize)), '\0');
    if (!textFile_.seek(textSize - tail.size()) || textFile_.read(tail.data(), tail.size()) != tail.size())
        return std::nullopt;
    return tail;
}

AppendOutcome SentenceCorpus::appendSentences(std::string_view sentences, std::string_view offsets) {
    const auto oldSize = textFile_.size();
    if (!oldSize) return AppendOutcome::writeFailed;
    const auto tail = textTail(*oldSize);
    if (!tail) return AppendOutcome::writeFailed;
    const std::string_view separator = appendSeparator(*tail);
    const std::uint64_t base = *oldSize + separator.size();
    if (base + sentences.size() > kLargestIndexableText) return AppendOutcome::tooLarge;

    const std::uint32_t added = static_cast<std::uint32_t>(offsets.size() / kIndexEntrySize);
    std::vector<std::uint8_t> entries(std::size_t {added} * kIndexEntrySize);
    for (std::size_t k = 0; k < entries.size(); k += kIndexEntrySize) {
        const auto offset = readLe(reinterpret_cast<const std::uint8_t*>(offsets.data()) + k, kIndexEntrySize);
        putLe(&entries[k], static_cast<std::uint32_t>(base + offset), kIndexEntrySize);
    }
    const std::uint64_t entriesEnd = kIndexHeaderSize + std::uint64_t {kIndexEntrySize} * entryCount_;
    const bool written = textFile_.seek(*oldSize) &&
                         textFile_.write(separator.data(), separator.size()) == separator.size() &&
                         textFile_.write(sentences.data(), sentences.size()) == sentences.size() &&
                         indexFile_.seek(entriesEnd) &&
                         indexFile_.write(entries.data(), entries.size()) == entries.size();
    if (!written) {
        // Cutting needs no free space, so it works where the writes failed.
        if (textFile_.seek(*oldSize)) textFile_.truncate();
        if (indexFile_.seek(entriesEnd)) indexFile_.truncate();
        restoreCursor();
        return AppendOutcome::writeFailed;
    }
    entryCount_ += added;
    noneTakeable_ = false;
    // Everything is in place now; should the new order not be written, the order on disk may
    // repeat a sentence until the next opening rebuilds the index.
    reshuffleRemainder(true);
    return AppendOutcome::appended;
}

bool SentenceCorpus::rebuild(const Options& options) {
    writeFailed_ = false;
    noneTakeable_ = false;
    entryCount_ = 0;
    position_ = 0;
    // The recorded size goes first: should the rebuild stop half-way (a full disk), the old
    // header must not vouch for the new entries. 0 matches only an empty text, and an empty
    // text's index holds no entries, so a torn one is rebuilt at the next opening.
    const std::array<std::uint8_t, 4> noSize {};
    auto offsets = writeAt(0, noSize.data(), noSize.size()) ? sentenceOffsets(options) : std::nullopt;
    if (!offsets) {
        writeFailed_ = true;
        restoreCursor();
        return false;
    }
    // Shuffled in memory as whole numbers, packed into entries in place (front to back, each
    // over bytes already read) and written once; then cut, so entries of an older, longer
    // index go.
    const auto count = static_cast<std::uint32_t>(offsets->size());
    valueShuffle(offsets->data(), offsets->size());
    auto* const entries = reinterpret_cast<std::uint8_t*>(offsets->data());
    for (std::size_t k = 0; k < count; ++k) putLe(entries + k * kIndexEntrySize, (*offsets)[k], kIndexEntrySize);
    if (!writeAt(kIndexHeaderSize, entries, std::size_t {count} * kIndexEntrySize) || !indexFile_.truncate()) {
        writeFailed_ = true;
        restoreCursor();
        return false;
    }
    entryCount_ = count;
    savePosition();
    return !writeFailed_ && writeHeader(options);
}

std::uint16_t SentenceCorpus::nextCorpusLine(char* destination, const Options& options) {
    if (options.alphabetMode) return randomLine(destination, options);
    return nextSentenceLine(destination, std::min(options.maxLength, kLongestSentence));
}

std::optional<std::uint32_t> SentenceCorpus::takeEntry() {
    if (position_ >= entryCount_) {
        // The same order is replayed; a new one is made when the session ends.
        wrapped_ = true;
        position_ = 0;
        restoreCursor();
    }
    ++position_;
    std::uint8_t entry[kIndexEntrySize] = {};
    if (indexFile_.read(entry, kIndexEntrySize) != kIndexEntrySize) {
        restoreCursor();
        return std::nullopt;
    }
    return readLe(entry, kIndexEntrySize);
}

std::uint16_t SentenceCorpus::nextSentenceLine(char* destination, std::uint16_t maxLength) {
    if (noneTakeable_) return 0;
    // An entry may give nothing (the text was edited without changing its size, or an offset
    // lies past its end); such entries are passed over, each at most once per call.
    for (std::uint32_t attempt = 0; attempt < entryCount_; ++attempt) {
        const auto offset = takeEntry();
        if (!offset) continue;
        if (const std::uint16_t length = readSentence(*offset, destination, maxLength)) return length;
    }
    noneTakeable_ = true;
    return 0;
}

std::optional<ScanText> SentenceCorpus::readText(const Options& options) {
    return ScanText::read(textFile_, indexedTextLimit(options.maxLength));
}

std::uint16_t SentenceCorpus::readSentence(std::uint32_t offset, char* destination, std::uint16_t maxLength) {
    // A short read ends the data: nothing of an earlier line may show through.
    const std::size_t got = textFile_.seek(offset) ? textFile_.read(destination, maxLength) : 0;
    destination[got] = '\0';
    char* const end = destination + got;
    char* const terminator = std::find_if(destination, end, [](char c) { return isTerminator(c) || c == '\0'; });
    if (terminator == end || *terminator == '\0') {
        destination[0] = '\0';
        return 0;
    }
    const auto length = static_cast<std::uint16_t>(terminator - destination + 1);
    destination[length] = ' ';
    destination[length + 1] = '\0';
    return static_cast<std::uint16_t>(length + 1);
}

std::uint16_t SentenceCorpus::randomLine(char* destination, const Options& options) {
    const auto size = textFile_.size();
    if (!size || *size == 0) return 0;
    // A small text is drawn from memory: one read instead of a seek and a read per character.
    std::string smallText;
    if (*size <= kSmallTextSize) {
        smallText.resize(static_cast<std::size_t>(*size));
        smallText.resize(textFile_.seek(0) ? textFile_.read(smallText.data(), smallText.size()) : 0);
    }
    const auto byteAt = [&](std::uint32_t offset) -> std::optional<char> {
        if (*size <= kSmallTextSize) {
            if (offset >= smallText.size()) return std::nullopt;
            return smallText[offset];
        }
        char byte = 0;
        if (!textFile_.seek(offset) || textFile_.read(&byte, 1) != 1) return std::nullopt;
        return byte;
    };

    const std::uint32_t lastOffset = recordedSize(*size) - 1;
    const bool russian = options.russian != 0;
    bool prevSpace = true;
    std::uint16_t kept = 0;
    for (unsigned draw = 0; draw < kMaxRandomDraws && kept < kRandomLineLength; ++draw) {
        const double fraction = nextRandom() * (1.0 / 32767.0);
        const auto byte = byteAt(static_cast<std::uint32_t>(fraction * static_cast<double>(lastOffset)));
        if (!byte) continue;
        const auto c = static_cast<std::uint8_t>(*byte);
        bool keep = true;
        if (c == ' ') {
            keep = !prevSpace;
            prevSpace = true;
        } else {
            prevSpace = false;
            // A zero byte cannot be typed; line breaks and barred capitals are not drilled.
            keep = c != '\r' && c != '\n' && c != '\0' && (options.allowCapitals || !isCapital(russian, c));
        }
        if (keep) destination[kept++] = *byte;
    }
    return kept;
}

}  // namespace dactyla
