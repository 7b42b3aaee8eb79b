#pragma once
// Adding sentences from a text file (CP1251, UTF-8 or UTF-16, converted to CP1251 first) to the
// shared text of a language: the chosen file is scanned with the sentence scanner, every sentence found is cleaned and filtered, and the
// accepted ones wait in two temporary files until they are appended to the open corpus.
//   ~dactyl1.TMP  the accepted sentences, each followed by CR LF;
//   ~dactyl2.TMP  12 bytes (zero, then position 0), then one 3-byte offset per sentence into
//                 ~dactyl1.TMP: an index file without a header.
// Both are created in the temporary directory and deleted when closed.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "corpus/sentence_corpus.h"
#include "corpus/text_encoding.h"
#include "platform/file.h"

namespace dactyla {

inline constexpr const char* kImportSentencesName = "~dactyl1.TMP";
inline constexpr const char* kImportOffsetsName = "~dactyl2.TMP";
// A chosen file is read whole; larger ones are refused rather than held in memory.
inline constexpr std::uint64_t kLargestImportSource = 256u << 20;

struct ImportRules {
    bool russian = true;
    std::uint16_t minLength = kShortestSentence;
    std::uint16_t maxLength = kLongestSentence;
    std::uint8_t maxCapitalRun = 4;
};
ImportRules importRules(const Options& options);

// Cleans the sentence in `bytes` (from its capital through its terminator, at most `size`
// bytes) in place: line breaks become spaces, an en dash a hyphen, runs of spaces one space,
// a hyphen ending a word joins it to the next, a space before the terminator goes. Returns
// the cleaned length, or 0 when the sentence holds a character that cannot be typed, a run of
// more than maxCapitalRun capitals, or ends up shorter than minLength.
std::uint16_t normalizeSentence(std::uint8_t* bytes, std::size_t size, const ImportRules& rules);

enum class ImportStatus {
    done,
    nothingFound,      // append: no scan, or a scan without accepted sentences
    sourceUnreadable,  // the chosen file cannot be opened or read
    sourceTooLarge,    // the chosen file is larger than kLargestImportSource
    temporaryFiles,    // the temporary files cannot be created or written
    textTooLarge,      // the text would outgrow 16 MiB; nothing was written
    writeFailed,       // writing the text or index failed; both are as they were
    outputFailed,      // scanImportInto: the sink refused a block
};

// The message for a failure in the interface language, CP1251; empty for done and nothingFound, and
// for outputFailed, which only callers of scanImportInto meet, with a sink of their own.
const char* importMessage(ImportStatus status);
// "Облом", the title of the failure boxes.
const char* importFailureTitle();

// Per cent of the chosen file scanned, 0 to 100.
using ImportProgress = std::function<void(int percent)>;

struct ImportScan {
    ImportStatus status = ImportStatus::done;
    std::uint32_t found = 0;
    TextEncoding encoding = TextEncoding::cp1251;  // what the chosen file was read as
};

struct ImportAppend {
    ImportStatus status = ImportStatus::done;
    std::uint32_t added = 0;
};

// Accepted sentences between a scan and their append; owns the two temporary files, which
// go with it. What the import dialog holds while it is open.
class SentenceImport {
public:
    explicit SentenceImport(std::string temporaryDirectory);
    SentenceImport(const SentenceImport&) = delete;
    SentenceImport& operator=(const SentenceImport&) = delete;

    // Scans the file at `path` under `rules` (a capital-run limit of 0 counts as 1, which
    // would otherwise refuse every sentence). A file that cannot be read leaves an earlier
    // scan as it was; otherwise the earlier scan is replaced.
    ImportScan scan(const std::string& path, const ImportRules& rules, const ImportProgress& progress = {});
    // The same over a file the caller opened (a path outside CP1251, say).
    ImportScan scan(platform::File source, const ImportRules& rules, const ImportProgress& progress = {});
    // Appends the accepted sentences to `corpus`; the scan is kept, as the dialog keeps it.
    ImportAppend append(SentenceCorpus& corpus);
    // Closes, and so deletes, the temporary files.
    void discard();

    std::uint32_t found() const { return found_; }
    // The bytes the import would add, each accepted sentence followed by CR LF.
    std::optional<std::string> acceptedText();
    // ~dactyl2.TMP as it stands: its 12 zero bytes, then the offsets into acceptedText.
    std::optional<std::string> acceptedOffsets();

private:
    std::string temporaryDirectory_;
    platform::File sentences_;
    platform::File offsets_;
    std::uint32_t found_ = 0;
};

// Scans `source` as SentenceImport::scan does, but hands the bytes the import would add to
// `sink`, a block of up to 1 MiB at a time as the scan fills it, and keeps nothing: no work
// files are written or read back. `outputFailed` when `sink` refuses a block.
ImportScan scanImportInto(platform::File source, const ImportRules& rules,
                          const std::function<bool(std::string_view)>& sink);

// Moves the accepted sentences of `sentences` (its whole content) and their `count` offsets
// (after the 12 bytes at the start of `offsets`) into `corpus`.
ImportAppend appendImported(SentenceCorpus& corpus, platform::File& sentences, platform::File& offsets,
                            std::uint32_t count);

}  // namespace dactyla
