// The weak-keys drill at full size: finding and scoring every sentence of a 16 MiB text once
// at session start, and handing out one line.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "bench/bench_texts.h"
#include "corpus/sentence_corpus.h"
#include "corpus/sentence_scanner.h"
#include "weak_keys/spot_scorer.h"
#include "weak_keys/weak_key_drill.h"
#include "weak_keys/weak_lines.h"

namespace dactyla {
namespace {

constexpr std::size_t kTextSize = 16u << 20;

// Sentences of 2 to 14 words, some broken across lines.
std::string makeText(std::size_t size) {
    static const std::array<const char*, 16> words = {"house", "forest", "river", "morning", "wind", "road",
                                                      "window", "letter", "friend", "sky", "mountain", "snow",
                                                      "quiz", "jazz", "carries", "waits"};
    return bench::makeSentenceText(size, words, 4321);
}

const ScanText& sixteenMegabytes() {
    static const ScanText text(makeText(kTextSize));
    return text;
}

KeyIndex key(char byte) { return keyIndexTable(false)[static_cast<unsigned char>(byte)]; }

// As many spots of each kind as a drill aims at.
WeakSpots fullSpots() {
    WeakSpots spots;
    spots.enough = true;
    spots.judgedKeystrokes = 100000;
    const char weak[] = "qzjxwv";
    for (std::size_t k = 0; k < kMostWeakKeys; ++k) spots.keys.push_back({key(weak[k]), 0.3 - 0.02 * k, 0.001});
    const char confused[][2] = {{'q', 'w'}, {'z', 'x'}, {'j', 'k'}, {'m', 'n'}, {'e', 'r'}, {'i', 'o'}, {'s', 'a'}, {'t', 'y'}};
    for (std::size_t k = 0; k < kMostConfusions; ++k)
        spots.confusions.push_back({key(confused[k][0]), key(confused[k][1]), 20, 0.2 - 0.01 * k});
    const char slow[][2] = {{'o', 'u'}, {'r', 'i'}, {'s', 'k'}, {'n', 'o'}, {'w', 'i'}, {'z', 'z'}, {'e', 't'}, {'h', 'o'}};
    for (std::size_t k = 0; k < kMostSlowPairs; ++k)
        spots.pairs.push_back({key(slow[k][0]), key(slow[k][1]), 40, 400, 1.0 - 0.05 * k});
    return spots;
}

// What a session start does with the text in memory: every sentence found and scored, the best
// quarter kept and ordered.
void aimAtSixteenMegabytes(benchmark::State& state) {
    const ScanText& text = sixteenMegabytes();
    const SpotScorer scorer(fullSpots(), false);
    for (auto _ : state) {
        WeakLines lines;
        lines.aim(text, {false, 10, 120}, scorer, 7);
        benchmark::DoNotOptimize(lines.quarterSize());
    }
}
BENCHMARK(aimAtSixteenMegabytes)->Unit(benchmark::kMillisecond);

// Scoring alone: every sentence of the text, found beforehand.
void scoreEverySentenceOfSixteenMegabytes(benchmark::State& state) {
    const ScanText& text = sixteenMegabytes();
    std::vector<FoundSentence> sentences;
    forEachIndexableSentence(text, {false, 10, 120}, [&](const FoundSentence& s) { sentences.push_back(s); });
    const SpotScorer scorer(fullSpots(), false);
    for (auto _ : state) {
        double sum = 0;
        for (const FoundSentence& s : sentences) sum += scorer.score(text.view(s.start, s.end));
        benchmark::DoNotOptimize(sum);
    }
    state.counters["sentences"] = static_cast<double>(sentences.size());
}
BENCHMARK(scoreEverySentenceOfSixteenMegabytes)->Unit(benchmark::kMillisecond);

// The whole session start from counts: key frequencies of the text, the weak spots and the lines.
void weakKeyDrillStartOnSixteenMegabytes(benchmark::State& state) {
    const ScanText& text = sixteenMegabytes();
    KeyCounts counts;
    for (unsigned c = 'a'; c <= 'z'; ++c)
        for (int k = 0; k < 100; ++k) counts.countCorrect(static_cast<unsigned char>(c));
    for (int k = 0; k < 40; ++k) counts.countWrong('q', 'w');
    for (int k = 0; k < 30; ++k) counts.countWrong('z', 'x');
    Options options;
    options.russian = 0;
    for (auto _ : state) {
        WeakKeyDrill drill;
        benchmark::DoNotOptimize(drill.aim(evidenceFromCounts(counts, false), text, options));
    }
}
BENCHMARK(weakKeyDrillStartOnSixteenMegabytes)->Unit(benchmark::kMillisecond);

// The evidence of timed statistics at their fullest in use: every letter pair typed, every key
// with all its latencies kept, as a session start reads them.
void evidenceFromFullTimedStatistics(benchmark::State& state) {
    std::vector<TimedKeystroke> keystrokes;
    for (unsigned previous = 'a'; previous <= 'z'; ++previous)
        for (unsigned character = 'a'; character <= 'z'; ++character)
            for (int k = 0; k < 16; ++k)
                keystrokes.push_back({.expected = static_cast<unsigned char>(character),
                                      .previous = static_cast<unsigned char>(previous), .correct = true, .timed = true,
                                      .latencyMs = 150 + (previous * 7 + character * 13 + k) % 300u});
    TimingStatistics timing;
    timing.addSession(keystrokes);
    KeyCounts counts;
    for (const TimedKeystroke& keystroke : keystrokes) counts.countCorrect(keystroke.expected);
    for (auto _ : state) benchmark::DoNotOptimize(evidenceFromStatistics(counts, timing, false));
}
BENCHMARK(evidenceFromFullTimedStatistics)->Unit(benchmark::kMicrosecond);

void oneLine(benchmark::State& state) {
    WeakLines lines;
    lines.aim(sixteenMegabytes(), {false, 10, 120}, SpotScorer(fullSpots(), false), 7);
    std::array<char, kCorpusLineRoom> line {};
    for (auto _ : state) benchmark::DoNotOptimize(lines.nextLine(line.data()));
}
BENCHMARK(oneLine)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace dactyla
