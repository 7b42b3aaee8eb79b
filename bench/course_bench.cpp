// The course off the keystroke path and on it: building the word list and the character model
// from the shipped texts and from a 16 MiB text (once per language and text), one lesson line,
// and a correct keystroke in course mode beside the same keystroke over sentences.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <string>

#include "course/course.h"
#include "course/lesson.h"
#include "drill/drill.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "platform/system.h"
#include "silent_effects.h"

namespace dactyla {
namespace {

std::string shippedText(bool russian) {
    const auto text = platform::readWholeFile(
        platform::joinPath(platform::programDirectory(), russian ? "TextData.Rus" : "TextData.Eng"));
    return text ? *text : std::string();
}

// The shipped Russian text over and over, up to 16 MiB, as a user's long import would make it.
std::string sixteenMiB() {
    const std::string shipped = shippedText(true);
    std::string text;
    if (shipped.empty()) return text;
    text.reserve((16u << 20) + shipped.size());
    while (text.size() + shipped.size() <= (16u << 20)) text += shipped;
    return text;
}

void buildCourseText(benchmark::State& state, const std::string& text, bool russian) {
    if (text.empty()) {
        state.SkipWithError("no TextData beside the benchmark");
        return;
    }
    std::size_t memory = 0, words = 0;
    for (auto _ : state) {
        const CourseText built = CourseText::build(text, russian);
        memory = built.memoryBytes();
        words = built.words().size();
        benchmark::DoNotOptimize(memory);
    }
    state.counters["text_MiB"] = static_cast<double>(text.size()) / (1 << 20);
    state.counters["words"] = static_cast<double>(words);
    state.counters["held_MB"] = static_cast<double>(memory) / 1e6;
    // The word table while building: half full at most, 4 bytes a slot.
    state.counters["peak_MB"] = static_cast<double>(memory + words * 4 * 4) / 1e6;
}

void buildFromShippedRussian(benchmark::State& state) { buildCourseText(state, shippedText(true), true); }
void buildFromShippedEnglish(benchmark::State& state) { buildCourseText(state, shippedText(false), false); }
void buildFromSixteenMiB(benchmark::State& state) {
    static const std::string text = sixteenMiB();
    buildCourseText(state, text, true);
}
BENCHMARK(buildFromShippedRussian)->Unit(benchmark::kMillisecond);
BENCHMARK(buildFromShippedEnglish)->Unit(benchmark::kMillisecond);
BENCHMARK(buildFromSixteenMiB)->Unit(benchmark::kMillisecond);

// A line at `step` of the built-in Russian order: early steps are pseudo-words, later real words.
void lessonLine(benchmark::State& state) {
    static const CourseText text = CourseText::build(shippedText(true), true);
    const KeyOrder& order = builtInCourse().russian;
    CourseProgress progress;
    for (std::size_t k = 0; k <= static_cast<std::size_t>(state.range(0)); ++k) progress.unlocked += order.steps[k];
    progress.focus = static_cast<unsigned char>(progress.unlocked.back());
    LessonMaker maker(text);
    maker.prepare(progress);
    std::array<char, kLineSourceRoom> line {};
    std::uint32_t tick = 0;
    for (auto _ : state) benchmark::DoNotOptimize(maker.makeLineAt(++tick, line.data(), 120));
    state.counters["real_words"] = static_cast<double>(maker.wordCount());
}
BENCHMARK(lessonLine)->Arg(1)->Arg(5)->Arg(15)->Arg(26)->Arg(45)->Arg(70)->Unit(benchmark::kMicrosecond);

// The course of a user whose keys are never known, so every line's end runs the whole check.
class BenchHost : public CourseHost {
public:
    KeyMastery mastery(const CourseTargets&) override { return {}; }
    FocusFigures figures(unsigned char, const CourseTargets&) override { return {}; }
    std::shared_ptr<const CourseText> text() override {
        static const auto built = std::make_shared<const CourseText>(CourseText::build(shippedText(true), true));
        return built;
    }
    void tell(const std::string&) override {}
    std::uint32_t tickCount() override { return ++tick; }
    void changed() override {}
    std::uint32_t tick = 0;
};

void correctKeystrokeInCourse(benchmark::State& state) {
    const std::string directory =
        platform::joinPath(platform::temporaryDirectory(), "dactyla-course-bench-" + std::to_string(platform::tickCount()));
    platform::createDirectory(directory);
    SilentEffects silent;
    Options options;
    BenchHost host;
    Course course(host, builtInCourse(), directory, true, options);
    course.load();
    course.skipTo(static_cast<unsigned char>('\xE8'));  // "и": real words
    Drill drill(silent.effects(), options);
    drill.setLineSource(&course);
    drill.onChar('\r');
    for (auto _ : state) {
        const TypingStrip& strip = drill.strip();
        drill.onChar(strip.lineBuffer[strip.cursor]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(correctKeystrokeInCourse);

}  // namespace
}  // namespace dactyla
