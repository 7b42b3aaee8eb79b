#include "guide/timing_knowledge.h"

#include <gtest/gtest.h>

#include <map>

namespace dactyla {
namespace {

KeyTiming timingOf(std::uint32_t presses, std::uint32_t latencyMs, std::uint32_t wrong = 0) {
    KeyTiming timing;
    for (std::uint32_t k = 0; k < wrong; ++k) recordWrongPress(timing, false);
    for (std::uint32_t k = 0; k < presses; ++k) recordCorrectPress(timing, {.timed = true, .latencyMs = latencyMs});
    return timing;
}

struct TimedCase {
    const char* name;
    KeyTiming timing;
    std::optional<std::uint32_t> litAfterMs;  // none: never
};

TEST(TimingKnowledge, TheGuideFadesAsTheStatisticsShowAKeyLearned) {
    const TimedCase cases[] = {
        {"19 samples: not yet known", timingOf(19, 300), 0},
        {"slow: weak", timingOf(40, 1000), 0},
        {"at the target pace but one error in 32 smoothed: half learned", timingOf(30, 400), 800},
        {"fast but shaky: the shortest wait", timingOf(40, 200, 3), 600},
        {"fast and sure: learned", timingOf(100, 300), std::nullopt},
    };
    for (const TimedCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::map<unsigned char, KeyTiming> timings {{'k', c.timing}};
        const TimingKnowledge knowledge([&](unsigned char byte) -> const KeyTiming* {
            const auto found = timings.find(byte);
            return found == timings.end() ? nullptr : &found->second;
        });
        EXPECT_FALSE(knowledge.knowledge('j').mastery.has_value()) << "no timing: not yet known";
        KeyboardGuide guide(knowledge);
        guide.setMode(KeyboardMode::guide);
        guide.setLayout(false);
        guide.follow({true, 'k', 0, 0, 0}, 1000);
        EXPECT_EQ(guide.msUntilHint(1000), c.litAfterMs && *c.litAfterMs > 0 ? c.litAfterMs : std::nullopt);
        EXPECT_EQ(guide.dueKeyLit(), c.litAfterMs == 0u);
        guide.tick(1000 + 60000);
        EXPECT_EQ(guide.dueKeyLit(), c.litAfterMs.has_value());
    }
}

TEST(TimingKnowledge, TheTargetsDecideWhatIsLearned) {
    const KeyTiming timing = timingOf(100, 300);
    TimingKnowledge knowledge([&](unsigned char) { return &timing; });
    EXPECT_DOUBLE_EQ(*knowledge.knowledge('a').mastery, 1.0);
    EXPECT_EQ(knowledge.knowledge('a').medianLatencyMs, 300u);
    MasteryTargets faster;
    faster.targetCpm = 300;  // 200 ms a key
    knowledge.setTargets(faster);
    EXPECT_NEAR(*knowledge.knowledge('a').mastery, 200.0 / 300.0, 1e-9);
    EXPECT_FALSE(TimingKnowledge(nullptr).knowledge('a').mastery.has_value());
}

}  // namespace
}  // namespace dactyla
