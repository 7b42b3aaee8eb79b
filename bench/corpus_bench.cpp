// The sentence corpus at full size: scanning a 16 MiB text, rebuilding its index, taking lines,
// importing a 16 MiB book and appending 10,000 sentences.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/bench_texts.h"
#include "corpus/sentence_corpus.h"
#include "corpus/sentence_import.h"
#include "corpus/sentence_scanner.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "platform/system.h"

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
    return bench::makeSentenceText(size, words, 12345);
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

// Real prose as a book holds it: the shipped Russian sentences (beside the benchmark, made by
// the build), in paragraphs of six, hard-wrapped at 70 columns, repeated up to `size` bytes.
std::string wrappedShippedText(std::size_t size) {
    const auto shipped = platform::readWholeFile(platform::joinPath(platform::programDirectory(), "TextData.Rus"));
    if (!shipped || shipped->empty()) return {};
    std::string text;
    text.reserve(size + 256);
    std::string line;
    int inParagraph = 0;
    std::size_t from = 0;
    while (text.size() < size) {
        std::size_t to = shipped->find("\r\n", from);
        if (to == std::string::npos) to = shipped->size();
        const std::string sentence = shipped->substr(from, to - from);
        from = to + 2 >= shipped->size() ? 0 : to + 2;
        std::size_t at = 0;
        while (at < sentence.size()) {
            const std::size_t space = sentence.find(' ', at);
            const std::string word = sentence.substr(at, space == std::string::npos ? std::string::npos : space - at);
            at = space == std::string::npos ? sentence.size() : space + 1;
            if (!line.empty() && line.size() + 1 + word.size() > 70) {
                text += line + "\r\n";
                line.clear();
            }
            line += (line.empty() ? "" : " ") + word;
        }
        if (++inParagraph == 6) {
            text += line + "\r\n\r\n";
            line.clear();
            inParagraph = 0;
        }
    }
    text.resize(size);
    return text;
}

class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() / ("dactyla-bench-" + std::to_string(std::random_device()()))) {
        std::filesystem::create_directories(path_ / "Users" / "Bench");
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string user() const { return (path_ / "Users" / "Bench").string(); }
    bool write(const std::string& name, std::string_view bytes) const {
        platform::File out = platform::File::open(file(name), {.mode = platform::OpenMode::createAlways});
        return out.write(bytes.data(), bytes.size()) == bytes.size();
    }

private:
    std::filesystem::path path_;
};

// The import's scan of a 16 MiB hard-wrapped book: read, scan, clean, write both work files.
void importScanOfSixteenMegabytes(benchmark::State& state) {
    const ScratchFolder folder;
    const std::string text = wrappedShippedText(kTextSize);
    if (text.empty() || !folder.write("book.txt", text)) {
        state.SkipWithError("no TextData.Rus beside the benchmark");
        return;
    }
    SentenceImport import(folder.path());
    std::uint32_t found = 0;
    for (auto _ : state) {
        const ImportScan scan = import.scan(folder.file("book.txt"), ImportRules {});
        if (scan.status != ImportStatus::done) state.SkipWithError("scan failed");
        found = scan.found;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    state.counters["found"] = found;
}
BENCHMARK(importScanOfSixteenMegabytes)->Unit(benchmark::kMillisecond);

// appendImported of 10,000 sentences onto a 10 MiB text; text and index are put back between
// runs, untimed.
void appendTenThousandSentencesOntoTenMegabytes(benchmark::State& state) {
    constexpr int kAdded = 10000;
    const ScratchFolder folder;
    const std::string text = wrappedShippedText(10u << 20);
    const auto shipped = platform::readWholeFile(platform::joinPath(platform::programDirectory(), "TextData.Rus"));
    if (text.empty() || !shipped) {
        state.SkipWithError("no TextData.Rus beside the benchmark");
        return;
    }
    std::string sentences;
    for (std::size_t from = 0, count = 0; count < kAdded; ++count) {
        const std::size_t to = shipped->find("\r\n", from);
        sentences += shipped->substr(from, to - from) + "\r\n";
        from = to + 2 >= shipped->size() ? 0 : to + 2;
    }
    folder.write("TextData.Rus", text);
    folder.write("new.txt", sentences);
    const Options options;
    SentenceImport import(folder.path());
    const std::uint32_t found = import.scan(folder.file("new.txt"), importRules(options)).found;
    { openCorpus(options, folder.path(), folder.user()); }
    const auto index = platform::readWholeFile(platform::joinPath(folder.user(), "random.rus"));
    if (found == 0 || !index) {
        state.SkipWithError("cannot prepare the corpus");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        folder.write("TextData.Rus", text);
        platform::File indexFile = platform::File::open(platform::joinPath(folder.user(), "random.rus"),
                                                        {.mode = platform::OpenMode::createAlways});
        indexFile.write(index->data(), index->size());
        indexFile.close();
        auto corpus = openCorpus(options, folder.path(), folder.user());
        state.ResumeTiming();
        if (!corpus || import.append(*corpus).status != ImportStatus::done) state.SkipWithError("append failed");
    }
    state.counters["added"] = found;
}
BENCHMARK(appendTenThousandSentencesOntoTenMegabytes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dactyla
