// Sentence and random-character lines over a fuzzed text and a fuzzed, valid-looking index.
// Input: flags, minLength, maxLength, u16 text size, position (4 bytes), the text, then entries.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "base/text_rules.h"
#include "corpus/sentence_corpus.h"
#include "fuzz_support.h"

using dactyla::fuzz::require;

namespace {

const dactyla::fuzz::ScratchDirectory& scratch() {
    static const dactyla::fuzz::ScratchDirectory directory("sentence-line");
    return directory;
}

std::string littleEndian(std::uint32_t value, unsigned size) {
    std::string bytes;
    for (unsigned k = 0; k < size; ++k) bytes += static_cast<char>(value >> (8 * k));
    return bytes;
}


void checkSentenceLine(const char* line, std::uint16_t length, const dactyla::Options& options,
                       const std::string& text) {
    if (length == 0) return;
    require(length >= 2 && length <= options.maxLength + 1, "a sentence line fits the window and its space");
    require(line[length - 1] == ' ' && line[length] == '\0', "a sentence line ends with a space and a zero");
    const char terminator = line[length - 2];
    require(terminator == '.' || terminator == '?' || terminator == '!', "the space follows the terminator");
    require(std::memchr(line, '\0', length) == nullptr, "no zero byte inside a line");
    require(text.find(std::string(line, length - 1)) != std::string::npos, "the line comes from the text");
}

void checkRandomLine(const char* line, std::uint16_t length, const dactyla::Options& options) {
    require(length <= dactyla::kRandomLineLength, "at most 120 random characters");
    for (std::uint16_t k = 0; k < length; ++k) {
        const auto c = static_cast<std::uint8_t>(line[k]);
        require(c != '\r' && c != '\n' && c != 0, "no line breaks or zeros in random characters");
        require(options.allowCapitals || !dactyla::isCapital(options.russian != 0, c), "no barred capitals");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    dactyla::Options options;
    options.russian = data[0] & 1;
    options.alphabetMode = (data[0] >> 1) & 1;
    options.allowCapitals = (data[0] >> 2) & 1;
    options.minLength = static_cast<std::uint16_t>(10 + data[1] % 111);
    options.maxLength = static_cast<std::uint16_t>(options.minLength + data[2] % (121 - options.minLength));
    const std::size_t textSize = std::min<std::size_t>(data[3] | data[4] << 8, size - 9);
    const std::uint32_t position = data[5] | data[6] << 8 | static_cast<std::uint32_t>(data[7]) << 16;
    const std::uint8_t operations = data[8];
    const std::string text(reinterpret_cast<const char*>(data + 9), textSize);
    const std::size_t entryBytes = (size - 9 - textSize) / 3 * 3;

    const auto& dir = scratch();
    dir.write(dactyla::textFileName(options.russian != 0), text.data(), text.size());
    std::string index = littleEndian(static_cast<std::uint32_t>(text.size()), 4) +
                        littleEndian(options.minLength, 2) + littleEndian(options.maxLength, 2) +
                        littleEndian(position, 4);
    index.append(reinterpret_cast<const char*>(data + 9 + textSize), entryBytes);
    dir.write(dactyla::indexFileName(options.russian != 0), index.data(), index.size());

    auto corpus = dactyla::openCorpus(options, dir.path(), dir.path());
    require(corpus != nullptr, "scratch files open");
    const auto destination = std::make_unique<char[]>(dactyla::kCorpusLineRoom);
    for (int k = 0; k < 6; ++k) {
        const std::uint16_t length = corpus->nextCorpusLine(destination.get(), options);
        if (options.alphabetMode) checkRandomLine(destination.get(), length, options);
        else checkSentenceLine(destination.get(), length, options, text);
        if (!options.alphabetMode && length == 0) require(corpus->sentenceCount() == 0, "no line means none left");
        require(corpus->position() <= corpus->entryCount() || corpus->position() == position,
                "the position stays in the list once a line was taken");
        if (operations & (1 << k)) corpus->reshuffleRemainder((operations >> 6) & 1);
    }
    if (corpus->takeWrapped()) corpus->reshuffleRemainder(false);
    corpus->savePosition();
    const std::uint32_t entries = corpus->entryCount();
    dactyla::closeCorpus(corpus);
    const auto stored = dactyla::platform::readWholeFile(dir.file(dactyla::indexFileName(options.russian != 0)));
    require(stored && stored->size() == dactyla::kIndexHeaderSize + 3u * entries, "index size matches its count");
    return 0;
}
