// The drill's hot paths: one correct keystroke (refills and timing included), the timing of one
// keystroke alone, one alphabet line, and the shuffle of a full-size corpus index.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/record_shuffle.h"
#include "drill/drill.h"
#include "drill/line_feed.h"
#include "silent_effects.h"

namespace dactyla {
namespace {

// The same sentence over and over, as a corpus in memory would give it.
class OneSentence : public DrillCorpus {
public:
    std::uint32_t sentenceCount() const override { return 1; }
    std::uint16_t nextCorpusLine(char* destination, const Options&) override {
        std::memcpy(destination, kSentence.data(), kSentence.size() + 1);
        return static_cast<std::uint16_t>(kSentence.size());
    }
    bool takeWrapped() override { return false; }
    void reshuffleRemainder(bool) override {}
    void savePosition() override {}

private:
    const std::string kSentence = "The quick brown fox jumps over the lazy dog near the river bank. ";
};

void correctKeystroke(benchmark::State& state) {
    SilentEffects silent;
    Options options;
    OneSentence corpus;
    Drill drill(silent.effects(), options);
    drill.setCorpus(&corpus);
    drill.onChar('\r');
    for (auto _ : state) {
        const TypingStrip& strip = drill.strip();
        drill.onChar(strip.lineBuffer[strip.cursor]);
    }
    state.SetItemsProcessed(state.iterations());
}
// A fixed count below what a session keeps timed, so every keystroke is timed and kept: about
// 36 hours of typing at 250 characters a minute.
BENCHMARK(correctKeystroke)->Iterations(kMaxTimedKeystrokes / 2);

// What timing adds to a keystroke: one wrong and one correct press measured and kept.
void timingOfAKeystroke(benchmark::State& state) {
    KeystrokeTimer timer;
    timer.beginRun();
    std::uint32_t now = 0;
    for (auto _ : state) {
        timer.wrongPress('b', now += 90);
        timer.correctPress('b', 'a', now += 150);
        if (timer.keystrokes().size() >= kMaxTimedKeystrokes - 2) timer.clear();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(timingOfAKeystroke);

void alphabetLine(benchmark::State& state) {
    Options options;
    options.alphabetMode = 1;
    options.allowCapitals = 1;
    std::array<char, kAlphabetLineRoom> line{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(makeAlphabetLine(line.data(), options));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(alphabetLine);

void shuffleMillionThreeByteRecords(benchmark::State& state) {
    constexpr std::int32_t kCount = 1000000;
    std::vector<std::uint8_t> records(std::size_t{ kCount } * 3);
    for (std::int32_t k = 0; k < kCount; ++k) std::memcpy(&records[std::size_t(k) * 3], &k, 3);
    for (auto _ : state) {
        recordShuffle(records.data(), kCount, 3);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
    state.SetBytesProcessed(state.iterations() * kCount * 3);
}
BENCHMARK(shuffleMillionThreeByteRecords)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dactyla
