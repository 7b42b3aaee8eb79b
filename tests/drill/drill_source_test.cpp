#include "drill/drill_source.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>

#include "drill_fakes.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::DrillHarness;
using testing::TempDir;

// Every item of "Опции" that chooses a text, from every state, as the menu sees it afterwards.
TEST(DrillSourceChoice, TheItemsExcludeEachOtherAndASecondChoiceTurnsOneOff) {
    struct Case {
        bool alphabetBefore;
        DrillSource addedBefore;
        DrillSource clicked;
        DrillSource activeAfter;
        bool optionsChanged;
    };
    const Case cases[] = {
        {false, DrillSource::sentences, DrillSource::course, DrillSource::course, false},
        {false, DrillSource::course, DrillSource::course, DrillSource::sentences, false},
        {true, DrillSource::sentences, DrillSource::course, DrillSource::course, true},
        {false, DrillSource::course, DrillSource::alphabet, DrillSource::alphabet, true},
        {true, DrillSource::sentences, DrillSource::alphabet, DrillSource::sentences, true},
        {false, DrillSource::sentences, DrillSource::alphabet, DrillSource::alphabet, true},
        {false, DrillSource::course, DrillSource::weakKeys, DrillSource::weakKeys, false},
        {false, DrillSource::weakKeys, DrillSource::course, DrillSource::course, false},
        {false, DrillSource::weakKeys, DrillSource::weakKeys, DrillSource::sentences, false},
        {true, DrillSource::sentences, DrillSource::weakKeys, DrillSource::weakKeys, true},
        {false, DrillSource::weakKeys, DrillSource::alphabet, DrillSource::alphabet, true},
    };
    for (const Case& c : cases) {
        Options options;
        options.alphabetMode = c.alphabetBefore ? 1 : 0;
        DrillSource added = c.addedBefore;
        const bool changed = toggleSource(options, added, c.clicked);
        SCOPED_TRACE(static_cast<int>(c.clicked));
        EXPECT_EQ(activeSource(options, added), c.activeAfter);
        EXPECT_EQ(changed, c.optionsChanged);
        // Never two at once: the alphabet's option and an added drill.
        EXPECT_FALSE(options.alphabetMode && added != DrillSource::sentences);
    }
}

TEST(DrillSourceChoice, TheAlphabetTurnedOnInTheSettingsEndsTheAddedDrill) {
    for (const DrillSource before : {DrillSource::course, DrillSource::weakKeys}) {
        Options options;
        DrillSource added = before;
        EXPECT_FALSE(yieldToAlphabet(options, added));
        EXPECT_EQ(added, before);
        options.alphabetMode = 1;
        EXPECT_TRUE(yieldToAlphabet(options, added));
        EXPECT_EQ(added, DrillSource::sentences);
    }
}

TEST(DrillSourceFile, RoundTripsAndReadsAnythingElseAsSentences) {
    TempDir dir;
    EXPECT_EQ(readDrillSource(dir.path()), DrillSource::sentences) << "no file";
    for (DrillSource added : {DrillSource::course, DrillSource::weakKeys, DrillSource::sentences}) {
        ASSERT_TRUE(writeDrillSource(dir.path(), added));
        EXPECT_EQ(readDrillSource(dir.path()), added);
    }
    EXPECT_EQ(parseDrillSource("  course \r\n"), DrillSource::course);
    for (const char* other : {"", "alphabet", "Course", "course course", "\xFF\xFE", "weak"})
        EXPECT_EQ(parseDrillSource(other), DrillSource::sentences) << other;
    EXPECT_FALSE(writeDrillSource(dir.file("missing folder"), DrillSource::course));
}

// Hands out its lines and records what the drill tells it.
class ScriptedSource : public LineSource {
public:
    bool hasLines() override { return !lines.empty(); }
    std::uint16_t nextLine(char* destination) override {
        if (lines.empty()) return 0;
        const std::string line = lines.front();
        lines.pop_front();
        std::memcpy(destination, line.data(), line.size());
        destination[line.size()] = '\0';
        return static_cast<std::uint16_t>(line.size());
    }
    bool lineTyped() override {
        ++typedLines;
        return typedLines == announceAfter;
    }
    void sessionFinished(const SessionSummary& summary) override { finished.push_back(summary); }

    std::deque<std::string> lines;
    int typedLines = 0;
    int announceAfter = -1;
    std::vector<SessionSummary> finished;
};

class AddedDrill : public ::testing::Test {
protected:
    AddedDrill() {
        h.options.backgroundSound = 0;
        h.drill.setLineSource(&source);
        for (int k = 0; k < 6; ++k) h.corpus.lines.push_back("Not from the corpus. ");
    }
    void typeLine(const std::string& line) { h.type(line); }

    DrillHarness h;
    ScriptedSource source;
};

TEST_F(AddedDrill, FeedsTheStripInsteadOfTheCorpusAndCountsEveryLineTypedToItsEnd) {
    const std::string first = "aaa sss ddd fff ";
    const std::string second = "jjj kkk lll ";
    const std::string third = "fff jjj ddd kkk sss lll ";
    source.lines = {first, second, third};
    source.announceAfter = 2;
    h.drill.onChar('\r');
    ASSERT_TRUE(h.drill.session().sessionRunning);
    EXPECT_EQ(h.corpus.linesAsked, 0);
    h.effects.forget();

    h.type(first.substr(0, first.size() - 1));
    EXPECT_EQ(source.typedLines, 0) << "the line's last character is still to type";
    h.type(" ");
    EXPECT_EQ(source.typedLines, 1);
    h.type(second);
    EXPECT_EQ(source.typedLines, 2);
    ASSERT_EQ(h.effects.sounds.size(), 1u) << "the unlock is announced";
    EXPECT_EQ(h.effects.sounds[0].theme, ThemeId::yes);
    h.type("fff#");
    EXPECT_EQ(h.drill.session().errorCount, 1u) << "judged as every session";
    EXPECT_EQ(source.typedLines, 2);
}

TEST_F(AddedDrill, AnEndedSessionGoesToTheSourceNotTheResultsLogAndStillToTheTotals) {
    source.lines = {std::string(100, 'f') + " ", std::string(100, 'j') + " "};
    h.drill.onChar('\r');
    h.type(std::string(100, 'f'));
    h.effects.now += 3 * 60 * 1000;
    h.effects.answers.push_back(messageBox::kYes);
    h.drill.onChar(27);
    EXPECT_TRUE(h.effects.appended.empty());
    ASSERT_EQ(source.finished.size(), 1u);
    EXPECT_EQ(source.finished[0].correctCount, 100u);
    EXPECT_EQ(source.finished[0].minutes, 3u);
    EXPECT_TRUE(h.effects.contains("totals 100 180"));
}

TEST_F(AddedDrill, WithNothingToMakeLinesOfTheSessionIsRefusedAsWithoutSentences) {
    h.drill.onChar('\r');
    EXPECT_FALSE(h.drill.session().sessionRunning);
    EXPECT_EQ(h.effects.boxes.size(), 1u);
}

TEST_F(AddedDrill, WithoutItTheCorpusFeedsAndNoLineIsCounted) {
    h.drill.setLineSource(nullptr);
    source.lines = {"never "};
    h.drill.onChar('\r');
    h.type("Not from the corpus. ");
    EXPECT_EQ(source.typedLines, 0);
    EXPECT_EQ(source.lines.size(), 1u);
}

}  // namespace
}  // namespace dactyla
