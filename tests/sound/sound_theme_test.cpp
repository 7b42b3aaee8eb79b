#include "sound/sound_theme.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/directory.h"
#include "platform/file.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;
using ::testing::UnorderedElementsAre;

// Plays files that exist; with noStop it refuses while `busy`, like the system's player.
class RecordingPlayer : public platform::SoundPlayer {
public:
    struct Request {
        std::string path;
        unsigned flags;
    };

    bool play(const std::string& path, unsigned flags) override {
        requests.push_back({path, flags});
        if (busy && (flags & platform::soundFlag::noStop) != 0) return false;
        return platform::fileExists(path);
    }
    void stop() override {}

    std::vector<std::string> paths() const {
        std::vector<std::string> result;
        for (const auto& request : requests) result.push_back(request.path);
        return result;
    }

    bool busy = false;
    std::vector<Request> requests;
};

class SoundThemeTest : public ::testing::Test {
protected:
    std::string sound() const { return soundDirectory(program.path()); }
    std::string soundFile(const std::string& name) const { return platform::joinPath(sound(), name); }

    void makeFiles(const std::vector<std::string>& names) const {
        platform::createDirectory(sound());
        for (const auto& name : names) program.write(platform::joinPath("Sound", name), "RIFF");
    }

    // Plays `count` times and returns the file names played, without the directory.
    std::vector<std::string> playMany(SoundTheme& theme, int count, unsigned flags = 1) {
        const std::size_t from = player.requests.size();
        for (int i = 0; i < count; ++i) theme.playTheme(flags);
        std::vector<std::string> names;
        for (std::size_t i = from; i < player.requests.size(); ++i)
            names.push_back(player.requests[i].path.substr(sound().size() + 1));
        return names;
    }

    TempDir program;
    RecordingPlayer player;
};

TEST(ThemeFileNumber, ReadsTheNumberAfterTheThemeNameAndRejectsTheRest) {
    const std::map<std::string, int> cases = {
        {"Yes_01.wav", 1},    {"Yes_1.wav", 1},     {"Yes_255.wav", 255},
        {"Yes_100.wav", 100}, {"yes_07.WAV", 7},    {"Yes_ 6.wav", 6},
        {"Yes_+8.wav", 8},    {"Yes_9x.wav", 9},    {"Yes_0.wav", 0},
        {"Yes_256.wav", 0},   {"Yes_-3.wav", 0},    {"Yes_x.wav", 0},
        {"Yes_.wav", 0},      {"Yes_65537.wav", 0}, {"Yes_-65531.wav", 0},
        {"Yes_05.txt", 0},    {"Yes05.wav", 0},     {"Yesterday_01.wav", 0},
        {"No_01.wav", 0},     {"Yes_4.wav.bak", 0}, {"Yes_99999999999999999999.wav", 0},
    };
    for (const auto& [file, number] : cases) EXPECT_EQ(themeFileNumber("Yes", file), number) << file;
}

TEST_F(SoundThemeTest, ThreeFilesPlayOnceEachPerCycleThenReshuffle) {
    makeFiles({"Yes_01.wav", "Yes_02.wav", "Yes_03.wav"});
    SoundTheme theme("Yes", sound(), player);
    EXPECT_THAT(theme.numbers(), UnorderedElementsAre(1, 2, 3));
    EXPECT_EQ(theme.playPos(), 0u);
    for (int cycle = 0; cycle < 5; ++cycle) {
        EXPECT_THAT(playMany(theme, 3), UnorderedElementsAre("Yes_01.wav", "Yes_02.wav", "Yes_03.wav"))
            << "cycle " << cycle;
        EXPECT_EQ(theme.playPos(), 3u) << "the reshuffle waits for the next request";
    }
    for (const auto& request : player.requests) EXPECT_EQ(request.flags, 1u | platform::soundFlag::noDefault);
}

TEST_F(SoundThemeTest, IgnoresFilesThatAreNotNumberedMembersOfTheTheme) {
    makeFiles(
        {"Yes_0.wav", "Yes_256.wav", "Yes_-3.wav", "Yes_x.wav", "Yes_02.wav", "No_01.wav", "Yesno_03.wav"});
    platform::createDirectory(soundFile("Yes_04.wav"));
    SoundTheme theme("Yes", sound(), player);
    EXPECT_THAT(theme.numbers(), UnorderedElementsAre(2));
}

TEST_F(SoundThemeTest, AShortNumberPlaysUnderItsTwoDigitNameAndRetriesItWhileMissing) {
    makeFiles({"Yes_5.wav", "Yes_100.wav"});
    SoundTheme theme("Yes", sound(), player);
    ASSERT_THAT(theme.numbers(), UnorderedElementsAre(5, 100));
    EXPECT_EQ(theme.playName(5), soundFile("Yes_05.wav"));
    EXPECT_EQ(theme.playName(100), soundFile("Yes_100.wav"));
    // Whichever comes first: Yes_100.wav plays, Yes_05.wav is refused and stays next forever.
    const std::vector<std::string> played = playMany(theme, 5);
    const auto firstMissing = std::find(played.begin(), played.end(), "Yes_05.wav");
    ASSERT_NE(firstMissing, played.end());
    EXPECT_TRUE(
        std::all_of(firstMissing, played.end(), [](const std::string& n) { return n == "Yes_05.wav"; }));
    EXPECT_LE(firstMissing - played.begin(), 1);
    EXPECT_EQ(theme.playPos(), static_cast<std::size_t>(firstMissing - played.begin()));
}

TEST_F(SoundThemeTest, TwoSpellingsOfOneNumberPlayThatFileTwicePerCycle) {
    makeFiles({"Yes_01.wav", "Yes_1.wav"});
    SoundTheme theme("Yes", sound(), player);
    EXPECT_THAT(theme.numbers(), UnorderedElementsAre(1, 1));
    EXPECT_THAT(playMany(theme, 2), UnorderedElementsAre("Yes_01.wav", "Yes_01.wav"));
}

TEST_F(SoundThemeTest, ARefusedNoStopRequestLeavesThePositionForTheNextRequest) {
    makeFiles({"Laugh_01.wav", "Laugh_02.wav"});
    SoundTheme theme("Laugh", sound(), player);
    player.busy = true;
    const unsigned noStop = platform::soundFlag::async | platform::soundFlag::noStop;
    EXPECT_FALSE(theme.playTheme(noStop));
    EXPECT_FALSE(theme.playTheme(noStop));
    EXPECT_EQ(theme.playPos(), 0u);
    ASSERT_EQ(player.requests.size(), 2u);
    EXPECT_EQ(player.requests[0].path, player.requests[1].path);
    EXPECT_EQ(player.requests[0].flags, 17u | platform::soundFlag::noDefault);
    player.busy = false;
    EXPECT_TRUE(theme.playTheme(noStop));
    EXPECT_EQ(player.requests[2].path, player.requests[0].path) << "the refused file is the one played";
    EXPECT_EQ(theme.playPos(), 1u);
}

TEST_F(SoundThemeTest, AThemeWithoutFilesPlaysNothingForAnyFlags) {
    SoundTheme missingDirectory("Exit", sound(), player);
    makeFiles({});
    SoundTheme emptyDirectory("Exit", sound(), player);
    for (const unsigned flags : {0u, 1u, 9u, 17u}) {
        EXPECT_FALSE(missingDirectory.playTheme(flags));
        EXPECT_FALSE(emptyDirectory.playTheme(flags));
    }
    EXPECT_TRUE(player.requests.empty());
}

TEST_F(SoundThemeTest, MoreThanTwoHundredFiftyFiveMatchesKeepTheFirst255) {
    std::vector<std::string> names;
    for (int n = 1; n <= 255; ++n) names.push_back("Loop_" + std::to_string(n) + ".wav");
    for (int n = 1; n <= 9; ++n) names.push_back("Loop_0" + std::to_string(n) + ".wav");
    makeFiles(names);
    SoundTheme theme("Loop", sound(), player);
    ASSERT_EQ(theme.numbers().size(), SoundTheme::kMaxFiles);
    for (const std::uint8_t number : theme.numbers()) EXPECT_NE(number, 0);
    playMany(theme, 256);
    EXPECT_EQ(theme.playPos(), 1u) << "every file played once, then the reshuffle";
}

TEST_F(SoundThemeTest, TheTenThemesAreCreatedInOrderAndEachFindsItsOwnFiles) {
    makeFiles({"Error_01.wav", "Error_02.wav", "Loop_07.wav", "BkGround_03.wav"});
    SoundThemes themes(program.path(), player);
    const ThemeId order[] = {ThemeId::bkGround, ThemeId::error, ThemeId::yes,   ThemeId::no,   ThemeId::suxx,
                             ThemeId::laugh,    ThemeId::pause, ThemeId::start, ThemeId::exit, ThemeId::loop};
    const char* names[] = {"BkGround", "Error", "Yes",   "No",   "Suxx",
                           "Laugh",    "Pause", "Start", "Exit", "Loop"};
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(themes[order[i]].name(), names[i]);
    EXPECT_THAT(themes[ThemeId::error].numbers(), UnorderedElementsAre(1, 2));
    EXPECT_TRUE(themes[ThemeId::yes].numbers().empty());
    EXPECT_TRUE(themes.play(ThemeId::loop, 9));
    EXPECT_FALSE(themes.play(ThemeId::exit, 0));
    ASSERT_EQ(player.requests.size(), 1u);
    EXPECT_EQ(player.requests[0].path, soundFile("Loop_07.wav"));
    EXPECT_EQ(player.requests[0].flags, 9u | platform::soundFlag::noDefault);
}

}  // namespace
}  // namespace dactyla
