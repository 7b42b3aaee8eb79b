#include "corpus/sentence_import.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "corpus/sentence_scanner.h"
#include "platform/directory.h"
#include "platform/little_endian.h"

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


// What the cleaning does with each byte: line breaks read as spaces, the en dash as a hyphen.
enum class ByteClass : std::uint8_t { rejected, other, capital, space, hyphen, terminator };

// With English, the six bytes between 'Z' and 'a' count as letters too.
constexpr std::array<ByteClass, 256> byteClasses(bool russian) {
    std::array<ByteClass, 256> classes {};
    for (unsigned c = 0; c < 256; ++c) {
        const bool letter = russian ? c >= 0xC0 : c >= 0x41 && c <= 0x7A;
        if (letter || (c >= '0' && c <= '9') || kKeptMarks.find(static_cast<char>(c)) != kKeptMarks.npos)
            classes[c] = ByteClass::other;
        if (russian ? c >= 0xC0 && c <= 0xDF : c >= 'A' && c <= 'Z') classes[c] = ByteClass::capital;
    }
    classes[kSpace] = classes[kCr] = classes[kLf] = ByteClass::space;
    classes[kHyphen] = classes[kEnDash] = ByteClass::hyphen;
    classes['.'] = classes['?'] = classes['!'] = ByteClass::terminator;
    return classes;
}
constexpr std::array<ByteClass, 256> kRussianClasses = byteClasses(true);
constexpr std::array<ByteClass, 256> kEnglishClasses = byteClasses(false);

// Checks, maps and compacts in one pass up to the first terminator; the compacted length
// through the terminator, or 0 for a rejected sentence. A space is kept only after a byte
// that is kept; a hyphen directly before a space after a kept byte ends a word hyphenated
// across a line break and goes, with the spaces after it. Spaces and removed hyphens neither
// count towards a run of capitals nor end it.
std::size_t cleanSentence(std::uint8_t* bytes, std::size_t size, const ImportRules& rules) {
    const auto& classes = rules.russian ? kRussianClasses : kEnglishClasses;
    bool skipping = false;
    unsigned capitalRun = 0;
    std::size_t removed = 0;
    for (std::size_t k = 0; k < size; ++k) {
        const std::uint8_t c = bytes[k];
        switch (classes[c]) {
        case ByteClass::rejected: return 0;
        case ByteClass::space:
            if (skipping) {
                ++removed;
                continue;
            }
            skipping = true;
            bytes[k - removed] = kSpace;
            continue;
        case ByteClass::hyphen:
            if (!skipping && k + 1 < size && classes[bytes[k + 1]] == ByteClass::space) {
                ++removed;
                skipping = true;
                continue;
            }
            bytes[k - removed] = kHyphen;
            capitalRun = 0;
            break;
        case ByteClass::capital:
            if (++capitalRun > rules.maxCapitalRun) return 0;
            bytes[k - removed] = c;
            break;
        case ByteClass::other:
            bytes[k - removed] = c;
            capitalRun = 0;
            break;
        case ByteClass::terminator: bytes[k - removed] = c; return k + 1 - removed;
        }
        skipping = false;
    }
    return 0;
}

// Buffers what goes to one temporary file and writes it in large blocks.
class BlockWriter {
public:
    explicit BlockWriter(platform::File& file) : file_(file) {}

    bool add(std::string_view bytes) {
        buffer_.append(bytes);
        return buffer_.size() < kWriteBlock || flush();
    }
    bool flush() {
        const bool written = file_.write(buffer_.data(), buffer_.size()) == buffer_.size();
        buffer_.clear();
        return written;
    }

private:
    platform::File& file_;
    std::string buffer_;
};

class ProgressReport {
public:
    ProgressReport(const ImportProgress& progress, std::uint64_t size) : progress_(progress), size_(size) {}

    // The bar is only told of a change: a large file holds a hundred thousand sentences.
    void at(std::uint32_t scanPos, bool always = false) {
        const int percent =
            size_ == 0 ? 0 : static_cast<int>(static_cast<double>(scanPos) / static_cast<double>(size_) * 100.0);
        if (progress_ && (always || percent != shown_)) progress_(percent);
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
    std::size_t length = cleanSentence(bytes, size, rules);
    if (length >= 2 && bytes[length - 2] == kSpace) {
        bytes[length - 2] = bytes[length - 1];
        --length;
    }
    // maxLength is not checked again: cleaning never lengthens what the scanner measured.
    if (length == 0 || length < rules.minLength || length > 0xFFFF) return 0;
    return static_cast<std::uint16_t>(length);
}

const char* importMessage(ImportStatus status) {
    switch (status) {
    case ImportStatus::sourceUnreadable:
        // "Не удается прочитать выбранный файл."
        return "\xCD\xE5 \xF3\xE4\xE0\xE5\xF2\xF1\xFF \xEF\xF0\xEE\xF7\xE8\xF2\xE0\xF2\xFC "
               "\xE2\xFB\xE1\xF0\xE0\xED\xED\xFB\xE9 \xF4\xE0\xE9\xEB.";
    case ImportStatus::sourceTooLarge:
        // "Файл больше 256 Мб: такой не прочитать."
        return "\xD4\xE0\xE9\xEB \xE1\xEE\xEB\xFC\xF8\xE5 256 \xCC\xE1: \xF2\xE0\xEA\xEE\xE9 \xED\xE5 "
               "\xEF\xF0\xEE\xF7\xE8\xF2\xE0\xF2\xFC.";
    case ImportStatus::temporaryFiles:
        // "Не удается создать временные файлы ~dactyl1.TMP и ~dactyl2.TMP."
        return "\xCD\xE5 \xF3\xE4\xE0\xE5\xF2\xF1\xFF \xF1\xEE\xE7\xE4\xE0\xF2\xFC "
               "\xE2\xF0\xE5\xEC\xE5\xED\xED\xFB\xE5 \xF4\xE0\xE9\xEB\xFB ~dactyl1.TMP \xE8 ~dactyl2.TMP.";
    case ImportStatus::textTooLarge:
        // "Текст не может вырасти больше 16 Мб (16777216 байт): предложения не добавлены."
        return "\xD2\xE5\xEA\xF1\xF2 \xED\xE5 \xEC\xEE\xE6\xE5\xF2 \xE2\xFB\xF0\xE0\xF1\xF2\xE8 "
               "\xE1\xEE\xEB\xFC\xF8\xE5 16 \xCC\xE1 (16777216 \xE1\xE0\xE9\xF2): "
               "\xEF\xF0\xE5\xE4\xEB\xEE\xE6\xE5\xED\xE8\xFF \xED\xE5 \xE4\xEE\xE1\xE0\xE2\xEB\xE5\xED\xFB.";
    case ImportStatus::writeFailed:
        // "Не удалось дописать текст (диск полон или файл занят). Текст и порядок предложений
        // остались прежними."
        return "\xCD\xE5 \xF3\xE4\xE0\xEB\xEE\xF1\xFC \xE4\xEE\xEF\xE8\xF1\xE0\xF2\xFC \xF2\xE5\xEA\xF1\xF2 "
               "(\xE4\xE8\xF1\xEA \xEF\xEE\xEB\xEE\xED \xE8\xEB\xE8 \xF4\xE0\xE9\xEB \xE7\xE0\xED\xFF\xF2). "
               "\xD2\xE5\xEA\xF1\xF2 \xE8 \xEF\xEE\xF0\xFF\xE4\xEE\xEA \xEF\xF0\xE5\xE4\xEB\xEE\xE6\xE5\xED\xE8\xE9 "
               "\xEE\xF1\xF2\xE0\xEB\xE8\xF1\xFC \xEF\xF0\xE5\xE6\xED\xE8\xEC\xE8.";
    case ImportStatus::done:
    case ImportStatus::nothingFound: break;
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

ImportScan SentenceImport::scan(platform::File source, const ImportRules& rules, const ImportProgress& progress) {
    const auto size = source.size();
    if (!source.isOpen() || !size) return {ImportStatus::sourceUnreadable, found_};
    if (*size > kLargestImportSource) return {ImportStatus::sourceTooLarge, found_};
    auto text = ScanText::read(source, *size);
    if (!text || text->size() != *size) return {ImportStatus::sourceUnreadable, found_};
    source.close();

    discard();
    offsets_ = createTemporary(temporaryDirectory_, kImportOffsetsName);
    sentences_ = createTemporary(temporaryDirectory_, kImportSentencesName);
    BlockWriter sentenceWriter(sentences_);
    BlockWriter offsetWriter(offsets_);
    // Zero header fields and position 0.
    bool written = sentences_.isOpen() && offsets_.isOpen() && offsetWriter.add(std::string(kIndexHeaderSize, '\0'));

    ImportRules cleaning = rules;
    cleaning.maxCapitalRun = std::max<std::uint8_t>(cleaning.maxCapitalRun, 1);
    const SentenceRules scanning {rules.russian, rules.minLength, rules.maxLength};
    ProgressReport report(progress, *size);
    std::uint64_t acceptedSize = 0;
    std::uint32_t count = 0;
    std::uint32_t scanPos = 0;
    while (written) {
        const auto sentence = findNextSentence(scanning, *text, scanPos);
        if (!sentence) break;
        report.at(scanPos);
        std::uint8_t* const start = text->mutableBytes() + sentence->start;
        const std::uint16_t length = normalizeSentence(start, sentence->end - sentence->start, cleaning);
        if (length == 0) continue;
        // Offsets are 3 bytes, and no text may grow past them: the rest could never be added.
        if (acceptedSize + length + kLineEnd.size() > kLargestIndexableText) break;
        std::array<std::uint8_t, kIndexEntrySize> offset {};
        putLe(offset.data(), static_cast<std::uint32_t>(acceptedSize), kIndexEntrySize);
        written = sentenceWriter.add({reinterpret_cast<const char*>(start), length}) && sentenceWriter.add(kLineEnd) &&
                  offsetWriter.add({reinterpret_cast<const char*>(offset.data()), offset.size()});
        acceptedSize += length + kLineEnd.size();
        ++count;
    }
    report.at(scanPos, true);
    if (!written || !sentenceWriter.flush() || !offsetWriter.flush()) {
        discard();
        return {ImportStatus::temporaryFiles, 0};
    }
    found_ = count;
    return {ImportStatus::done, count};
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

bool SentenceImport::copyAcceptedText(const std::function<bool(std::string_view)>& sink) {
    const auto size = sentences_.size();
    if (!size || !sentences_.seek(0)) return false;
    std::string block(std::min<std::uint64_t>(*size, kWriteBlock), '\0');
    for (std::uint64_t left = *size; left > 0;) {
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
        if (sentences_.read(block.data(), wanted) != wanted || !sink({block.data(), wanted})) return false;
        left -= wanted;
    }
    return true;
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
