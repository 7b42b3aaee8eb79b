// The course with real timings: a Russian user whose statistics already show the first lesson's
// keys learned but one types lines of the course at a steady pace; that key's new samples make
// it learned, the line's end unlocks the next key of the order, whose letter then appears, and
// the session's end writes the course log. Screenshots of the course with the keyboard in guide
// mode and of the course window.
#include <gtest/gtest.h>

#include "course/course_files.h"
#include "driver/expect.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/typing.h"
#include "platform/cp1251.h"
#include "resources/resource.h"
#include "progress/key_statistics.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;

constexpr const wchar_t* kKeyboardClass = L"DactylaKeyboard";
constexpr const wchar_t* kCourseClass = L"DactylaCourse";
// Sent text arrives faster than any finger and is not timed: each key waits this long.
constexpr auto kKeyGap = 35ms;

unsigned char cp1251Byte(const char* utf8) { return static_cast<unsigned char>(toCp1251(utf8).at(0)); }

// `clean` presses timed at `latencyMs` and `untimed` presses counted as right only, as stored
// sessions leave them.
void typeInto(KeyStatistics& statistics, unsigned char key, int clean, int untimed, std::uint32_t latencyMs) {
    std::vector<TimedKeystroke> keystrokes;
    for (int k = 0; k < clean + untimed; ++k) {
        keystrokes.push_back({.expected = key, .correct = true, .timed = k < clean, .latencyMs = latencyMs});
        statistics.counts.countCorrect(key);
    }
    statistics.timing.addSession(keystrokes);
}

std::optional<CourseState> storedCourse(const ProgramDirectory& directory) {
    const auto bytes = readBytes(directory.userDirectory("Anna") + "/Course - Rus.dat");
    return bytes ? decodeCourseState(*bytes) : std::nullopt;
}

class CourseWithTimings : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(exists(directory_.file("Course.txt"))) << "the key order ships beside the program";
        StoredOptions options;
        options.backgroundSound = false;
        directory_.addUser("Anna", storedOptionsBytes(options));
        // The first lesson, "а о в л ы д" and the space, learned at 250 ms a key, all but "д":
        // one clean sample short of known, its 40 keystrokes all right.
        KeyStatistics statistics;
        for (const char* key : {"а", "о", "в", "л", "ы", " "}) typeInto(statistics, cp1251Byte(key), 40, 0, 250);
        typeInto(statistics, cp1251Byte("д"), 19, 21, 250);
        ASSERT_TRUE(writeBytes(directory_.userDirectory("Anna") + "/Keys - Rus.dat", encodeKeyStatistics(statistics)));
        program_ = std::make_unique<RunningProgram>(directory_);
        ASSERT_TRUE(program_->waitForMainWindow());
        reader_ = std::make_unique<StripReader>(program_->window());
    }

    // Posted one by one with a gap, so each carries its own time as a real key press does; with
    // `wrongEvery`, every so many a wrong key goes first.
    std::wstring typeSteadily(std::size_t count, std::size_t wrongEvery = 0) {
        std::wstring typed;
        while (typed.size() < count) {
            std::wstring shown;
            if (!waitUntil([&] {
                    shown = reader_->readToType(russianCharacters());
                    return !shown.empty() && shown.find(L'\uFFFD') == std::wstring::npos;
                }, 2s, 50ms))
                break;
            for (const wchar_t c : shown) {
                if (wrongEvery != 0 && ++pressed_ % wrongEvery == 0) {
                    program_->postCharacter(L'я');  // not yet in the course
                    pause(kKeyGap);
                }
                program_->postCharacter(c);
                pause(kKeyGap);
            }
            program_->settle();
            typed += shown;
        }
        return typed;
    }

    void restart() {
        reader_.reset();
        program_->pressKey(VK_F4);
        ASSERT_TRUE(program_->waitForExit());
        program_ = std::make_unique<RunningProgram>(directory_);
        ASSERT_TRUE(program_->waitForMainWindow());
        reader_ = std::make_unique<StripReader>(program_->window());
    }


    ProgramDirectory directory_;
    std::unique_ptr<RunningProgram> program_;
    std::unique_ptr<StripReader> reader_;
    std::size_t pressed_ = 0;
};

TEST_F(CourseWithTimings, ALessonTypedAtASteadyPaceUnlocksTheNextKey) {
    program_->postCommand(IDM_COURSE);
    ASSERT_TRUE(program_->settle());
    ASSERT_TRUE(waitUntil([&] { return !windowsOf(program_->processId(), kKeyboardClass).empty(); }, 5s))
        << "the course shows the keyboard in guide mode";
    program_->typeCharacter(13);
    const std::optional<CourseState> fresh = storedCourse(directory_);
    const unsigned char d = cp1251Byte("д"), f = cp1251Byte("ф");
    const std::string firstLesson = toCp1251("аовлыд ");
    const std::wstring firstLine = typeSteadily(15);
    for (const wchar_t c : firstLine)
        EXPECT_NE(firstLesson.find(static_cast<char>(platform::utf16ToCp1251Byte(c))), std::string::npos)
            << "a first lesson's letter: " << narrowUtf8(firstLine);
    EXPECT_NE(firstLine.find(L'д'), std::wstring::npos) << "the focus key in every word: " << narrowUtf8(firstLine);
    if (fresh) {
        EXPECT_EQ(fresh->progress.unlocked.size(), firstLesson.size()) << "nothing unlocked before typing";
    }

    std::size_t typed = firstLine.size();
    std::optional<CourseState> state;
    while (typed < 400) {
        typed += typeSteadily(15).size();
        state = storedCourse(directory_);
        if (state && state->progress.unlocked.size() > firstLesson.size()) break;
    }
    ASSERT_TRUE(state.has_value()) << "the course state is written";
    EXPECT_EQ(state->progress.unlocked, firstLesson + static_cast<char>(f)) << "after " << typed << " characters";
    EXPECT_EQ(state->progress.focus, f) << "the new key is the focus";

    // The new key's letter comes within the next lines.
    std::wstring after;
    while (after.find(L'ф') == std::wstring::npos && after.size() < 300) after += typeSteadily(15);
    EXPECT_NE(after.find(L'ф'), std::wstring::npos) << narrowUtf8(after);
    saveScreenshot("course-guide-ru");

    ASSERT_TRUE(endSessionWithYes(*program_));
    const auto log = readBytes(directory_.userDirectory("Anna") + "/Course log - Rus.txt");
    ASSERT_TRUE(log.has_value()) << "the session goes into the course log";
    const auto entries = parseCourseLog(*log);
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 1u);
    EXPECT_EQ(entries->front().unlockedKeys, firstLesson.size() + 1);
    EXPECT_FALSE(exists(directory_.userDirectory("Anna") + "/Results - Rus.txt")) << "the results log is not the course's";
    const auto keys = readBytes(directory_.userDirectory("Anna") + "/Keys - Rus.dat");
    ASSERT_TRUE(keys.has_value());
    const auto stored = decodeKeyStatistics(*keys);
    ASSERT_TRUE(stored.has_value());
    EXPECT_GT(stored->timing.key(d).latencies.size(), 19u) << "the session's samples of \"д\" are stored";

    program_->postCommand(IDM_COURSE_WINDOW);
    const HWND window = program_->waitForWindow(kCourseClass);
    ASSERT_NE(window, nullptr);
    pause(500ms);
    saveScreenshot("course-window-ru");
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return program_->noWindowOfClass(kCourseClass); }, 5s));
}

// Fast but with a wrong key before every third: "д" stays far over the error limit, so nothing
// unlocks; the course and its place come back after a restart.
TEST_F(CourseWithTimings, TypingWithManyErrorsUnlocksNothingAndARestartGoesOnWhereItWas) {
    program_->postCommand(IDM_COURSE);
    // A sent message overtakes a posted one: Enter must wait until the course is on, or it
    // starts a session of sentences on a busy machine.
    ASSERT_TRUE(waitUntil([&] { return !windowsOf(program_->processId(), kKeyboardClass).empty(); }, 5s))
        << "the course shows the keyboard in guide mode";
    program_->typeCharacter(13);
    const std::string firstLesson = toCp1251("аовлыд ");
    std::size_t typed = 0;
    while (typed < 200) typed += typeSteadily(15, 3).size();
    ASSERT_TRUE(endSessionWithYes(*program_));
    const std::optional<CourseState> afterErrors = storedCourse(directory_);
    ASSERT_TRUE(afterErrors.has_value()) << "the course state is written";
    EXPECT_EQ(afterErrors->progress.unlocked, firstLesson) << "after " << typed << " characters, a third of them mistyped";

    restart();
    program_->typeCharacter(13);
    const std::wstring line = typeSteadily(15);
    ASSERT_FALSE(line.empty()) << "the course feeds the strip again";
    for (const wchar_t c : line)
        EXPECT_NE(firstLesson.find(static_cast<char>(platform::utf16ToCp1251Byte(c))), std::string::npos)
            << "the course goes on with its first lesson: " << narrowUtf8(line);
    const std::optional<CourseState> afterRestart = storedCourse(directory_);
    ASSERT_TRUE(afterRestart.has_value());
    EXPECT_EQ(afterRestart->progress.unlocked, firstLesson);
    EXPECT_FALSE(exists(directory_.userDirectory("Anna") + "/Results - Rus.txt")) << "the results log is not the course's";
}

}  // namespace
}  // namespace dactyla::e2e
