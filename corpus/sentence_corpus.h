#pragma once
// The open corpus of the current user and language: the shared text file beside the program
// and the user's index of sentence offsets in shuffled order, with the position of the next
// sentence to type. Index file (little-endian): u32 textSize, u16 minLength, u16 maxLength,
// u32 position, then one 3-byte offset per sentence.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/options.h"
#include "corpus/own_text.h"
#include "corpus/sentence_scanner.h"
#include "drill/drill_corpus.h"
#include "platform/file.h"

namespace dactyla {

inline constexpr std::uint32_t kIndexHeaderSize = 12;
inline constexpr std::uint32_t kIndexEntrySize = 3;
// 3-byte offsets reach the first 16 MiB of a text; sentences starting beyond are not indexed.
inline constexpr std::uint32_t kLastIndexableOffset = 0xFFFFFFu;
// The random-letter line is as long as the longest sentence.
inline constexpr std::uint16_t kRandomLineLength = kLongestSentence;
// What a destination of nextCorpusLine must hold: the longest sentence, its space and a zero.
inline constexpr std::size_t kCorpusLineRoom = kLongestSentence + 2;

std::string textFileName(bool russian);   // "TextData.Rus" or "TextData.Eng"
std::string indexFileName(bool russian);  // "random.rus" or "random.eng"

struct IndexHeader {
    std::uint32_t textSize = 0;
    std::uint16_t minLength = 0;
    std::uint16_t maxLength = 0;
    std::uint32_t position = 0;
};
// Missing bytes of a short header read as zero.
IndexHeader parseIndexHeader(std::string_view bytes);

// How much of a text the index reads: enough to end every sentence that starts within reach.
std::uint64_t indexedTextLimit(std::uint16_t maxLength);

// Every sentence the index takes from `text`, in text order: those the scanner finds that
// start within 3-byte reach and whose bytes, line breaks included, fit in maxLength (a longer
// one could never be read back whole).
// `visit` is a template argument: called a quarter of a million times over a 16 MiB text, a
// call through std::function would cost as much as finding the sentence.
template <class Visit>
void forEachIndexableSentence(const ScanText& text, const SentenceRules& rules, Visit&& visit) {
    SentenceScanner scanner(rules, text);
    while (const FoundSentence* const sentence = scanner.nextFound()) {
        if (sentence->start > kLastIndexableOffset) return;
        if (sentence->end - sentence->start <= rules.maxLength) visit(*sentence);
    }
}

// The largest text the index can reach: every sentence of it starts at a 3-byte offset.
inline constexpr std::uint64_t kLargestIndexableText = std::uint64_t {kLastIndexableOffset} + 1;

// What must stand between a text's last byte and sentences appended after it, so that the
// scanner ends whatever the text left open and takes the first new sentence as a start:
// nothing after a finished sentence and a line break, CR LF after a finished sentence
// without one, a blank line after anything else (an unfinished sentence would swallow it).
std::string_view appendSeparator(std::string_view textTail);

enum class AppendOutcome {
    appended,
    tooLarge,     // the text would outgrow kLargestIndexableText; nothing was written
    writeFailed,  // nothing was added: text and index are as they were
};

enum class CorpusError {
    none,
    textFile,    // the text file cannot be opened (read-only folder, in use elsewhere)
    indexFile,   // the user's index file cannot be opened
    indexWrite,  // the index had to be rebuilt and could not be written
};

class SentenceCorpus final : public DrillCorpus {
public:
    SentenceCorpus(const SentenceCorpus&) = delete;
    SentenceCorpus& operator=(const SentenceCorpus&) = delete;

    // 0 when the index is empty or none of its entries gives a line any more.
    std::uint32_t sentenceCount() const override;
    // The next sentence and a space, or with alphabetMode 120 random characters of the text.
    // The destination holds kCorpusLineRoom bytes. Returns 0 only when no line can be made:
    // every entry was tried once and none gave a sentence, or the text has nothing to draw.
    std::uint16_t nextCorpusLine(char* destination, const Options& options) override;
    bool takeWrapped() override;
    void reshuffleRemainder(bool keepPosition) override;
    void savePosition() override;

    // Store the text's size and the length window in the header.
    bool writeHeader(const Options& options);
    // Every sentence of the text in a new order, position 0 and a new header: what a changed
    // text or window needs. The header's text size is cleared first and written last, so an
    // index whose rebuild was cut short is rebuilt again at the next opening.
    bool rebuild(const Options& options);
    // Appends `sentences` (whole sentences, each followed by CR LF) to the shared text and
    // their `offsets` (3 bytes each, from the start of `sentences`) to the index, mixed among
    // the sentences not yet typed; position is kept. The header is left alone, so the next
    // opening, for every user of the text, rebuilds the index. A failed write takes text and
    // index back to their old sizes, so other users' indexes still match the text.
    AppendOutcome appendSentences(std::string_view sentences, std::string_view offsets);

    // The text as far as the index reads it, read through the corpus's own handle: the file is
    // held open for writing, so it cannot be opened again by its name. None when unreadable.
    std::optional<ScanText> readText(const Options& options);

    std::uint32_t entryCount() const { return entryCount_; }
    std::uint32_t position() const { return position_; }
    bool wrapped() const { return wrapped_; }
    bool rebuiltOnOpen() const { return rebuiltOnOpen_; }
    // The opening found the text in another encoding and converted it (or could not).
    const std::optional<TextConversion>& textConversion() const { return textConversion_; }

private:
    friend std::unique_ptr<SentenceCorpus> openCorpus(const Options&, const std::string&, const std::string&,
                                                      CorpusError*);
    SentenceCorpus(platform::File textFile, platform::File indexFile);

    bool indexIsValid(const IndexHeader& header, const Options& options) const;
    // The offset of every indexable sentence, in text order; none when the text cannot be read.
    std::optional<std::vector<std::uint32_t>> sentenceOffsets(const Options& options);
    std::uint64_t cursorOffset() const;
    bool restoreCursor();
    std::uint16_t nextSentenceLine(char* destination, std::uint16_t maxLength);
    std::optional<std::uint32_t> takeEntry();
    std::uint16_t readSentence(std::uint32_t offset, char* destination, std::uint16_t maxLength);
    std::uint16_t randomLine(char* destination, const Options& options);
    bool writeAt(std::uint64_t offset, const void* bytes, std::size_t count);
    std::optional<std::string> textTail(std::uint64_t textSize);

    platform::File textFile_;
    platform::File indexFile_;
    std::uint32_t entryCount_ = 0;
    std::uint32_t position_ = 0;
    bool wrapped_ = false;
    bool noneTakeable_ = false;
    bool rebuiltOnOpen_ = false;
    bool writeFailed_ = false;
    std::optional<TextConversion> textConversion_;
};

// Opens TextData.Rus/Eng in `programDirectory` and random.rus/eng in `userDirectory` for the
// language of `options`, creating missing files, and validates the index or rebuilds it.
// Null when a file cannot be opened or a needed rebuild cannot be written; `error` says which.
std::unique_ptr<SentenceCorpus> openCorpus(const Options& options, const std::string& programDirectory,
                                           const std::string& userDirectory, CorpusError* error = nullptr);
// Closes both files; nothing is written.
void closeCorpus(std::unique_ptr<SentenceCorpus>& corpus);

}  // namespace dactyla
