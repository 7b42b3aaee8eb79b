// The on-screen keyboard's decision per keystroke: what to light after a right key, after a
// wrong one, and whether a pending hint came due.
#include <benchmark/benchmark.h>

#include <string>

#include "guide/finger_names.h"
#include "guide/keyboard_guide.h"

namespace dactyla {
namespace {

// Half of the keys half learned, so the guide plans hesitations as well as hints at once.
class MixedKnowledge final : public KeyKnowledgeSource {
public:
    KeyKnowledge knowledge(unsigned char byte) const override {
        if (byte % 3 == 0) return {};
        return {byte % 3 == 1 ? 0.7 : 1.2, 180};
    }
};

const std::string kText = "The quick brown fox jumps over the lazy dog, Sphinx of black quartz: judge my vow. ";

void guideDecisionPerKeystroke(benchmark::State& state) {
    MixedKnowledge knowledge;
    KeyboardGuide guide(knowledge);
    guide.setMode(KeyboardMode::guide);
    guide.setLayout(false);
    TypingMoment moment {true, 0, 0, 0, 0};
    std::uint32_t now = 0;
    std::size_t at = 0;
    std::size_t keystrokes = 0;
    for (auto _ : state) {
        // Every eighth keystroke is wrong; the finger line is made as the window would.
        moment.expected = static_cast<unsigned char>(kText[at % kText.size()]);
        if (++keystrokes % 8 == 0) {
            ++moment.errorCount;
            moment.typed = 'x';
        } else {
            ++moment.correctCount;
            ++at;
        }
        now += 170;
        benchmark::DoNotOptimize(guide.follow(moment, now));
        benchmark::DoNotOptimize(guide.msUntilHint(now));
        benchmark::DoNotOptimize(fingerLine(guide.picture()));
    }
}
BENCHMARK(guideDecisionPerKeystroke);

}  // namespace
}  // namespace dactyla
