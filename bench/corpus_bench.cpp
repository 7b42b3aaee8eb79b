// The sentence corpus at full size: scanning a 16 MiB text, rebuilding its index, taking lines.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "corpus/sentence_corpus.h"
#include "corpus/sentence_scanner.h"
#include "platform/file.h"

namespace dactyla {
namespace {

constexpr std::size_t kTextSize = 16u << 20;
constexpr int kSentencesInARow = 10000;

// Sentences of 2 to 14 words, some broken across lines, in paragraphs: about what a real text
// gives the scanner.
std::string makeText(std::size_t size) {
    static const std::array<const char*, 16> words = {"house", "forest", "river", "morning", "wind", "road",
                                                      "window", "letter", "friend", "sky", "mountain", "snow",
                                                      "reads", "writes", "carries", "waits"};
    static const std::array<const char*, 6> openers = {"We", "He", "She", "They", "There", "Now"};
    std::mt19937 random(12345);
    std::string text;
    text.reserve(size + 256);
    while (text.size() < size) {
        text += openers[random() % openers.size()];
        const int count = 2 + static_cast<int>(random() % 13);
        for (int k = 0; k < count; ++k) {
            text += random() % 12 == 0 ? "\r\n" : " ";
            text += words[random() % words.size()];
        }
        text += ".!?"[random() % 3];
        text += random() % 5 == 0 ? "\r\n" : " ";
    }
    text.resize(size);
    return text;
}

class ScratchProgram {
public:
    ScratchProgram() {
        path_ = std::filesystem::temp_directory_path() / ("dactyla-bench-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(path_ / "Users" / "Bench");
        const std::string text = makeText(kTextSize);
        platform::File file =
            platform::File::open((path_ / "TextData.Eng").string(), {.mode = platform::OpenMode::createAlways});
        file.write(text.data(), text.size());
    }
    ~ScratchProgram() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchProgram(const ScratchProgram&) = delete;
    ScratchProgram& operator=(const ScratchProgram&) = delete;

    std::unique_ptr<SentenceCorpus> open(const Options& options) const {
        return openCorpus(options, path_.string(), (path_ / "Users" / "Bench").string());
    }

private:
    std::filesystem::path path_;
};

Options english() {
    Options options;
    options.russian = 0;
    return options;
}

void scanSixteenMegabytes(benchmark::State& state) {
    const ScanText text(makeText(kTextSize));
    const SentenceRules rules {false, 10, 120};
    std::size_t sentences = 0;
    for (auto _ : state) {
        sentences = 0;
        std::uint32_t scanPos = 0;
        while (findNextSentence(rules, text, scanPos)) ++sentences;
        benchmark::DoNotOptimize(scanPos);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * text.size());
    state.counters["sentences"] = static_cast<double>(sentences);
}
BENCHMARK(scanSixteenMegabytes)->Unit(benchmark::kMillisecond);

// Read the text, scan it, write the entries, shuffle them all and write the header.
void rebuildIndexOfSixteenMegabytes(benchmark::State& state) {
    const ScratchProgram program;
    const Options options = english();
    auto corpus = program.open(options);
    if (!corpus) {
        state.SkipWithError("cannot open the scratch corpus");
        return;
    }
    for (auto _ : state) {
        if (!corpus->rebuild(options)) state.SkipWithError("rebuild failed");
    }
    state.counters["sentences"] = corpus->entryCount();
}
BENCHMARK(rebuildIndexOfSixteenMegabytes)->Unit(benchmark::kMillisecond);

void takeTenThousandSentences(benchmark::State& state) {
    const ScratchProgram program;
    const Options options = english();
    auto corpus = program.open(options);
    if (!corpus) {
        state.SkipWithError("cannot open the scratch corpus");
        return;
    }
    std::array<char, kCorpusLineRoom> line {};
    for (auto _ : state) {
        for (int k = 0; k < kSentencesInARow; ++k) benchmark::DoNotOptimize(corpus->nextCorpusLine(line.data(), options));
    }
    state.counters["per_sentence"] = benchmark::Counter(kSentencesInARow, benchmark::Counter::kIsIterationInvariantRate |
                                                                              benchmark::Counter::kInvert);
}
BENCHMARK(takeTenThousandSentences)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dactyla
