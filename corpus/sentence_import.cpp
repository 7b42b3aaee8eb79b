#include "corpus/sentence_import.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "corpus/byte_block.h"
#include "corpus/sentence_scanner.h"
#include "corpus/text_encoding.h"
#include "platform/directory.h"
#include "platform/little_endian.h"
#include "texts/interface_texts.h"

namespace dactyla {
namespace {

constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kLf = 0x0A;
constexpr std::uint8_t kSpace = 0x20;
constexpr std::uint8_t kHyphen = 0x2D;
constexpr std::uint8_t kEnDash = 0x96;
constexpr std::string_view kKeptMarks = " ,-\":;()";
constexpr std::string_view kLineEnd = "\r\n";
// Accepted sentences are written in blocks of about this size, not one by one.
constexpr std::size_t kWriteBlock = 1u << 20;


// What the cleaning sees in each byte, as flags it combines without branching: on prose every
// byte would otherwise be a hard-to-guess branch. A byte without flags is kept as it is and
// ends a run of capitals.
constexpr std::uint8_t kRejected = 1;
constexpr std::uint8_t kCapital = 2;
constexpr std::uint8_t kSpaceLike = 4;  // space, CR, LF
constexpr std::uint8_t kHyphenLike = 8;  // hyphen-minus, en dash
constexpr std::uint8_t kTerminator = 16;
constexpr std::uint8_t kLineBreak = 32;  // CR, LF: a space that must be mapped

// With English, the six bytes between 'Z' and 'a' count as letters too.
constexpr std::array<std::uint8_t, 256> byteFlags(bool russian) {
    std::array<std::uint8_t, 256> flags {};
    for (unsigned c = 0; c < 256; ++c) {
        const bool letter = russian ? c >= 0xC0 : c >= 0x41 && c <= 0x7A;
        const bool kept = letter || (c >= '0' && c <= '9') || kKeptMarks.find(static_cast<char>(c)) != kKeptMarks.npos;
        flags[c] = kept ? 0 : kRejected;
        if (russian ? c >= 0xC0 && c <= 0xDF : c >= 'A' && c <= 'Z') flags[c] = kCapital;
    }
    flags[kSpace] = kSpaceLike;
    flags[kCr] = flags[kLf] = kSpaceLike | kLineBreak;
    flags[kHyphen] = flags[kEnDash] = kHyphenLike;
    flags['.'] = flags['?'] = flags['!'] = kTerminator;
    return flags;
}
constexpr std::array<std::uint8_t, 256> kRussianFlags = byteFlags(true);
constexpr std::array<std::uint8_t, 256> kEnglishFlags = byteFlags(false);

// Line breaks read as spaces, the en dash as a hyphen; every other byte as itself.
constexpr std::array<std::uint8_t, 256> kMapped = [] {
    std::array<std::uint8_t, 256> mapped {};
    for (unsigned c = 0; c < 256; ++c) mapped[c] = static_cast<std::uint8_t>(c);
    mapped[kCr] = mapped[kLf] = kSpace;
    mapped[kEnDash] = kHyphen;
    return mapped;
}();

// All ones for a true `test`: masks combined with | stay vector instructions, where tests
// combined with || become a branch or a table lookup per byte.
constexpr std::uint8_t maskOf(bool test) { return static_cast<std::uint8_t>(-static_cast<int>(test)); }

// All ones for the small letters (with English also the six bytes between 'Z' and 'a') and the
// comma: bytes kept as they are that end a run of capitals, most of prose.
template <bool kRussian>
constexpr std::uint8_t smallLetterMask(std::uint8_t c) {
    return maskOf(kRussian ? c >= 0xE0 : static_cast<std::uint8_t>(c - 0x5B) <= 0x7A - 0x5B) | maskOf(c == ',');
}

template <bool kRussian>
constexpr bool smallLettersHaveNoFlags() {
    for (unsigned c = 0; c < 256; ++c)
        if (smallLetterMask<kRussian>(static_cast<std::uint8_t>(c)) != 0 && (kRussian ? kRussianFlags : kEnglishFlags)[c] != 0)
            return false;
    return true;
}
static_assert(smallLettersHaveNoFlags<true>() && smallLettersHaveNoFlags<false>());

// Bytes copied as they stand: small letters and commas, and a space right after one (the byte
// before the first is read too). They leave no run of capitals, and `skipping` set just after a space.
template <bool kRussian>
std::uint64_t notPlainOfBlock(const std::uint8_t* bytes) {
    return bitsOfBlock(bytes, [](const std::uint8_t* at) {
        const std::uint8_t plain =
            smallLetterMask<kRussian>(*at) | (maskOf(*at == kSpace) & smallLetterMask<kRussian>(at[-1]));
        return static_cast<std::uint8_t>(~plain);
    });
}

// Checks, maps and compacts a sentence into `cleaned` in one pass up to the first terminator.
// A space is kept only after a byte that is kept; a hyphen directly before a space after a kept
// byte ends a word hyphenated across a line break and goes, with the spaces after it. Spaces
// and removed hyphens neither count towards a run of capitals nor end it.
template <bool kRussian>
class Cleaning {
public:
    // `readable` bytes from `source` may be read, at least `size`: plain bytes are looked for
    // and copied a block at a time, which may look past the sentence. `cleaned` is not `source`
    // and may be written a block past `size`.
    Cleaning(const std::uint8_t* source, std::size_t size, std::size_t readable, std::uint8_t* cleaned,
             const ImportRules& rules)
        : source_(source), size_(size), readable_(readable), cleaned_(cleaned), maxCapitalRun_(rules.maxCapitalRun) {}

    // The compacted length through the terminator, or 0 for a rejected sentence.
    std::size_t run() {
        std::size_t k = 0;
        // The bytes that are not plain in the block from blockStart, as bits.
        std::size_t blockStart = 0;
        std::uint64_t notPlain = 0;
        while (k < size_) {
            // Most of prose: plain bytes, copied as they stand; the rest a byte at a time.
            if (k > 0 && k + kByteBlock <= readable_) {
                if (blockStart == 0 || k >= blockStart + kByteBlock) {
                    blockStart = k;
                    notPlain = notPlainOfBlock<kRussian>(source_ + k);
                }
                const std::uint64_t ahead = notPlain >> (k - blockStart);
                const std::size_t plain = std::min<std::size_t>(
                    ahead == 0 ? blockStart + kByteBlock - k : static_cast<std::size_t>(std::countr_zero(ahead)),
                    size_ - k);
                copyPlain(k, plain);
                k += plain;
                if (k == blockStart + kByteBlock || k == size_) continue;
            }
            if (step(k)) return finish(k);
            ++k;
        }
        return 0;
    }

private:
    // Within the block from `k`: a copy of a constant size compiles to a few vector moves, where
    // one of `count` bytes is a library call. What it writes past them is overwritten later or
    // never committed.
    void copyPlain(std::size_t k, std::size_t count) {
        if (count == 0) return;
        std::memcpy(cleaned_ + length_, source_ + k, kByteBlock);
        length_ += count;
        capitalRun_ = 0;
        skipping_ = source_[k + count - 1] == kSpace ? 1 : 0;
    }

    // One byte; true at the terminator.
    bool step(std::size_t k) {
        const std::uint8_t c = source_[k];
        const unsigned flag = flags_[c];
        if (flag & kTerminator) return true;
        // The byte after a hyphen is in the text whenever the hyphen is: at worst the terminator.
        const unsigned nextIsSpace = k + 1 < size_ ? (flags_[source_[k + 1]] & kSpaceLike) >> 2 : 0;
        const unsigned isSpace = (flag & kSpaceLike) >> 2;
        const unsigned isCapital = (flag & kCapital) >> 1;
        const unsigned joinsWord = ((flag & kHyphenLike) >> 3) & (skipping_ ^ 1) & nextIsSpace;
        const unsigned neutral = isSpace | joinsWord;
        cleaned_[length_] = kMapped[c];
        length_ += 1 - ((isSpace & skipping_) | joinsWord);
        capitalRun_ = (capitalRun_ + isCapital) * (isCapital | neutral);
        refused_ |= (flag & kRejected) | static_cast<unsigned>(capitalRun_ > maxCapitalRun_);
        skipping_ = neutral;
        return false;
    }

    std::size_t finish(std::size_t terminator) {
        if (refused_ != 0) return 0;
        cleaned_[length_] = source_[terminator];
        return length_ + 1;
    }

    static constexpr const std::array<std::uint8_t, 256>& flags_ = kRussian ? kRussianFlags : kEnglishFlags;
    const std::uint8_t* source_;
    std::size_t size_;
    std::size_t readable_;
    std::uint8_t* cleaned_;
    unsigned maxCapitalRun_;
    std::size_t length_ = 0;
    unsigned skipping_ = 0;
    unsigned capitalRun_ = 0;
    unsigned refused_ = 0;
};

// How far past a sentence cleanSentenceInto writes.
constexpr std::size_t kCleaningWritesPast = kByteBlock;

// normalizeSentence writing the cleaned bytes to `cleaned`, writable `kCleaningWritesPast`
// bytes past `size`; `readable` bytes of `source` may be read, at least `size`.
std::uint16_t cleanSentenceInto(const std::uint8_t* source, std::size_t size, std::size_t readable,
                                std::uint8_t* cleaned, const ImportRules& rules) {
    std::size_t length = rules.russian ? Cleaning<true>(source, size, readable, cleaned, rules).run()
                                       : Cleaning<false>(source, size, readable, cleaned, rules).run();
    if (length >= 2 && cleaned[length - 2] == kSpace) {
        cleaned[length - 2] = cleaned[length - 1];
        --length;
    }
    // maxLength is not checked again: cleaning never lengthens what the scanner measured.
    if (length == 0 || length < rules.minLength || length > 0xFFFF) return 0;
    return static_cast<std::uint16_t>(length);
}

// Where a scan's blocks go: a temporary file, or whoever takes the accepted text as it comes.
using BlockSink = std::function<bool(std::string_view)>;

BlockSink fileSink(platform::File& file) {
    return [&file](std::string_view block) { return file.write(block.data(), block.size()) == block.size(); };
}

// Gathers what goes to one sink in a block and hands the block on whole when full: sentences
// are cleaned straight into it, so each byte is copied once before it is written.
class BlockWriter {
public:
    explicit BlockWriter(BlockSink sink) : sink_(std::move(sink)) {}

    // Room for `count` more bytes, the block handed on first when it is full; null when that
    // fails. What is put there counts once `commit` says how much of it. The block grows to
    // kWriteBlock as needed, so a small file does not cost a large block.
    std::uint8_t* room(std::size_t count) {
        // Once a sentence: a short way when the block has the room.
        if (used_ + count <= std::min(block_.size(), kWriteBlock)) return block_.data() + used_;
        if (used_ > 0 && used_ + count > kWriteBlock && !flush()) return nullptr;
        if (used_ + count > block_.size())
            block_.resize(std::max(used_ + count, std::min(2 * block_.size(), kWriteBlock)));
        return block_.data() + used_;
    }
    void commit(std::size_t count) { used_ += count; }
    bool add(std::string_view bytes) {
        std::uint8_t* const at = room(bytes.size());
        if (!at) return false;
        std::copy(bytes.begin(), bytes.end(), at);
        commit(bytes.size());
        return true;
    }
    bool flush() {
        const bool written = used_ == 0 || sink_({reinterpret_cast<const char*>(block_.data()), used_});
        used_ = 0;
        return written;
    }

private:
    BlockSink sink_;
    std::vector<std::uint8_t> block_;
    std::size_t used_ = 0;
};

class ProgressReport {
public:
    ProgressReport(const ImportProgress& progress, std::uint64_t size) : progress_(progress), size_(size) {}

    // The bar is only told of a change: a large file holds a hundred thousand sentences.
    void at(std::uint32_t scanPos, bool always = false) {
        if (!progress_) return;
        const int percent =
            size_ == 0 ? 0 : static_cast<int>(static_cast<double>(scanPos) / static_cast<double>(size_) * 100.0);
        if (always || percent != shown_) progress_(percent);
        shown_ = percent;
    }

private:
    const ImportProgress& progress_;
    std::uint64_t size_;
    int shown_ = -1;
};

platform::File createTemporary(const std::string& directory, const char* name) {
    return platform::File::open(platform::joinPath(directory, name), {.mode = platform::OpenMode::createAlways,
                                                                      .hint = platform::AccessHint::sequential,
                                                                      .deleteOnClose = true});
}

std::optional<std::string> readFrom(platform::File& file, std::uint64_t offset, std::uint64_t count) {
    std::string bytes(static_cast<std::size_t>(count), '\0');
    if (!file.seek(offset) || file.read(bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
    return bytes;
}

}  // namespace

ImportRules importRules(const Options& options) {
    return {options.russian != 0, options.minLength, options.maxLength, options.maxCapitalRun};
}

std::uint16_t normalizeSentence(std::uint8_t* bytes, std::size_t size, const ImportRules& rules) {
    std::vector<std::uint8_t> cleaned(size + kCleaningWritesPast);
    const std::uint16_t length = cleanSentenceInto(bytes, size, size, cleaned.data(), rules);
    std::copy_n(cleaned.begin(), length, bytes);
    return length;
}

const char* importFailureTitle() { return texts::textC("bummer"); }

const char* importMessage(ImportStatus status) {
    switch (status) {
    case ImportStatus::sourceUnreadable: return texts::textC("import.unreadable");
    case ImportStatus::sourceTooLarge: return texts::textC("import.tooLarge");
    case ImportStatus::temporaryFiles: return texts::textC("import.noTemporary");
    case ImportStatus::textTooLarge: return texts::textC("import.textFull");
    case ImportStatus::writeFailed: return texts::textC("import.writeFailed");
    case ImportStatus::done:
    case ImportStatus::nothingFound:
    case ImportStatus::outputFailed: break;
    }
    return "";
}

SentenceImport::SentenceImport(std::string temporaryDirectory) : temporaryDirectory_(std::move(temporaryDirectory)) {}

ImportScan SentenceImport::scan(const std::string& path, const ImportRules& rules, const ImportProgress& progress) {
    return scan(platform::File::open(path, {.mode = platform::OpenMode::existing,
                                            .hint = platform::AccessHint::sequential,
                                            .readOnly = true}),
                rules, progress);
}

namespace {

// The chosen file read whole, or why it cannot be.
struct ImportSource {
    std::optional<ScanText> text;
    ImportStatus status = ImportStatus::done;
    TextEncoding encoding = TextEncoding::cp1251;
};

ImportSource readImportSource(platform::File& source) {
    const auto size = source.size();
    if (!source.isOpen() || !size) return {std::nullopt, ImportStatus::sourceUnreadable};
    if (*size > kLargestImportSource) return {std::nullopt, ImportStatus::sourceTooLarge};
    // UTF-8 and UTF-16 are read as the CP1251 they stand for.
    auto decoded = readAsCp1251(source, *size, kLargestImportSource);
    if (!decoded || (decoded->encoding == TextEncoding::cp1251 && decoded->text.size() != *size))
        return {std::nullopt, ImportStatus::sourceUnreadable};
    source.close();
    return {std::move(decoded->text), ImportStatus::done, decoded->encoding};
}

// Scans `text`, cleans every sentence found and writes the accepted ones, each followed by
// CR LF, to `sentences` and, given `offsets`, where each starts there. Returns the number
// accepted, or nothing when a write failed.
std::optional<std::uint32_t> scanAccepted(const ScanText& text, const ImportRules& rules,
                                          const ImportProgress& progress, BlockWriter& sentences,
                                          BlockWriter* offsets) {
    ImportRules cleaning = rules;
    cleaning.maxCapitalRun = std::max<std::uint8_t>(cleaning.maxCapitalRun, 1);
    ProgressReport report(progress, text.size());
    std::uint64_t acceptedSize = 0;
    std::uint32_t count = 0;
    SentenceScanner scanner({rules.russian, rules.minLength, rules.maxLength}, text);
    while (const FoundSentence* const sentence = scanner.nextFound()) {
        report.at(scanner.position());
        const std::size_t span = sentence->end - sentence->start;
        std::uint8_t* const cleaned = sentences.room(span + std::max(kLineEnd.size(), kCleaningWritesPast));
        if (!cleaned) return std::nullopt;
        // The text's zero bytes after its end may be read too.
        const std::size_t readable = text.size() - sentence->start + ScanText::kPadding;
        const std::uint16_t length =
            cleanSentenceInto(text.bytes() + sentence->start, span, readable, cleaned, cleaning);
        if (length == 0) continue;
        // Offsets are 3 bytes, and no text may grow past them: the rest could never be added.
        if (acceptedSize + length + kLineEnd.size() > kLargestIndexableText) break;
        std::copy(kLineEnd.begin(), kLineEnd.end(), cleaned + length);
        sentences.commit(length + kLineEnd.size());
        if (offsets) {
            std::array<std::uint8_t, kIndexEntrySize> offset {};
            putLe(offset.data(), static_cast<std::uint32_t>(acceptedSize), kIndexEntrySize);
            if (!offsets->add({reinterpret_cast<const char*>(offset.data()), offset.size()})) return std::nullopt;
        }
        acceptedSize += length + kLineEnd.size();
        ++count;
    }
    report.at(scanner.position(), true);
    if (!sentences.flush() || (offsets && !offsets->flush())) return std::nullopt;
    return count;
}

}  // namespace

ImportScan SentenceImport::scan(platform::File source, const ImportRules& rules, const ImportProgress& progress) {
    const ImportSource read = readImportSource(source);
    if (!read.text) return {read.status, found_};

    discard();
    offsets_ = createTemporary(temporaryDirectory_, kImportOffsetsName);
    sentences_ = createTemporary(temporaryDirectory_, kImportSentencesName);
    BlockWriter sentenceWriter(fileSink(sentences_));
    BlockWriter offsetWriter(fileSink(offsets_));
    // Zero header fields and position 0.
    const bool opened = sentences_.isOpen() && offsets_.isOpen() &&
                        offsetWriter.add(std::string(kIndexHeaderSize, '\0'));
    const auto count = opened ? scanAccepted(*read.text, rules, progress, sentenceWriter, &offsetWriter) : std::nullopt;
    if (!count) {
        discard();
        return {ImportStatus::temporaryFiles, 0};
    }
    found_ = *count;
    return {ImportStatus::done, *count, read.encoding};
}

ImportScan scanImportInto(platform::File source, const ImportRules& rules,
                          const std::function<bool(std::string_view)>& sink) {
    const ImportSource read = readImportSource(source);
    if (!read.text) return {read.status, 0};
    BlockWriter writer(sink);
    const auto count = scanAccepted(*read.text, rules, {}, writer, nullptr);
    if (!count) return {ImportStatus::outputFailed, 0};
    return {ImportStatus::done, *count, read.encoding};
}

void SentenceImport::discard() {
    sentences_.close();
    offsets_.close();
    found_ = 0;
}

std::optional<std::string> SentenceImport::acceptedText() {
    const auto size = sentences_.size();
    if (!size) return std::nullopt;
    return readFrom(sentences_, 0, *size);
}

std::optional<std::string> SentenceImport::acceptedOffsets() {
    const auto size = offsets_.size();
    if (!size) return std::nullopt;
    return readFrom(offsets_, 0, *size);
}

ImportAppend SentenceImport::append(SentenceCorpus& corpus) {
    if (found_ == 0) return {ImportStatus::nothingFound, 0};
    return appendImported(corpus, sentences_, offsets_, found_);
}

ImportAppend appendImported(SentenceCorpus& corpus, platform::File& sentences, platform::File& offsets,
                            std::uint32_t count) {
    const auto size = sentences.size();
    const auto text = size ? readFrom(sentences, 0, *size) : std::nullopt;
    const auto entries = readFrom(offsets, kIndexHeaderSize, std::uint64_t {kIndexEntrySize} * count);
    if (!text || !entries) return {ImportStatus::temporaryFiles, 0};
    switch (corpus.appendSentences(*text, *entries)) {
    case AppendOutcome::appended: return {ImportStatus::done, count};
    case AppendOutcome::tooLarge: return {ImportStatus::textTooLarge, 0};
    case AppendOutcome::writeFailed: break;
    }
    return {ImportStatus::writeFailed, 0};
}

}  // namespace dactyla
