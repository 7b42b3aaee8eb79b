// openCorpus on a fuzzed index file over a fixed text, then the operations a session uses.
// The first input byte chooses whether the header is made to match the text, so both the
// valid and the rebuilt paths are explored; the rest is the index file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "corpus/sentence_corpus.h"
#include "fuzz_support.h"

using dactyla::fuzz::require;

namespace {

const std::string kText =
    "Hello world. This is a test.\r\nAnother one here! Short. Numbers like 3.14 break it. "
    "But this one works fine. Abcde f-\r\nhi. Wait... Next fine one. Another good one.\r\n";

const dactyla::fuzz::ScratchDirectory& scratch() {
    static const dactyla::fuzz::ScratchDirectory directory("index-reader");
    return directory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const auto& dir = scratch();
    dactyla::Options options;
    options.russian = 0;
    std::string index(reinterpret_cast<const char*>(data + 1), size - 1);
    if ((data[0] & 1) && index.size() >= 8) {
        const std::uint32_t textSize = static_cast<std::uint32_t>(kText.size());
        for (unsigned k = 0; k < 4; ++k) index[k] = static_cast<char>(textSize >> (8 * k));
        index[4] = static_cast<char>(options.minLength);
        index[5] = 0;
        index[6] = static_cast<char>(options.maxLength);
        index[7] = 0;
    }
    dir.write("TextData.Eng", kText.data(), kText.size());
    dir.write("random.eng", index.data(), index.size());

    auto corpus = dactyla::openCorpus(options, dir.path(), dir.path());
    require(corpus != nullptr, "scratch files open");
    require(corpus->rebuiltOnOpen() || index.size() >= dactyla::kIndexHeaderSize, "a short index is rebuilt");
    const auto destination = std::make_unique<char[]>(dactyla::kCorpusLineRoom);
    const std::uint32_t lines = std::min<std::uint32_t>(corpus->entryCount() + 2, 12);
    for (std::uint32_t k = 0; k < lines; ++k) {
        const std::uint16_t length = corpus->nextCorpusLine(destination.get(), options);
        require(length <= options.maxLength + 1, "a line fits its window");
        require(length == 0 || kText.find(std::string(destination.get(), length - 1)) != std::string::npos,
                "lines come from the text");
    }
    corpus->reshuffleRemainder((data[0] >> 1) & 1);
    corpus->savePosition();
    if (corpus->takeWrapped()) corpus->reshuffleRemainder(false);
    require(corpus->writeHeader(options), "the header is written");
    const std::uint32_t entries = corpus->entryCount();
    dactyla::closeCorpus(corpus);

    const auto stored = dactyla::platform::readWholeFile(dir.file("random.eng"));
    require(stored && stored->size() == dactyla::kIndexHeaderSize + 3u * entries, "index size matches its count");
    auto reopened = dactyla::openCorpus(options, dir.path(), dir.path());
    require(reopened && !reopened->rebuiltOnOpen(), "a written header makes the index valid");
    return 0;
}
