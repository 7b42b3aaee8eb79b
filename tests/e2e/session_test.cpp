// Sessions typed from the first key to the summary: the alphabet drill, sentences in both
// languages and code pages, pauses, closing during a session and a session long enough to log.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "driver/expect.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/typing.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;

const std::vector<std::string> kEnglishSentences = {
    "The quick brown fox jumps over the lazy dog.",
    "Pack my box with five dozen liquor jugs.",
    "How vexingly quick daft zebras jump!",
    "Sphinx of black quartz, judge my vow.",
    "Where is the old lighthouse keeper today?",
    "Bright stars shine over the quiet harbour.",
};

const std::vector<std::string> kRussianSentences = {
    "Съешь же ещё этих мягких французских булок, да выпей чаю.",
    "В чащах юга жил бы цитрус, да, но фальшивый экземпляр!",
    "Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства.",
    "Эх, чужак, общий съём цен шляп юфти вдрызг!",
    "Любя, съешь щипцы, вздохнёт мэр, кайф жгуч.",
    "Мы пошли гулять в парк после обеда.",
};

std::uint32_t u32At(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t {static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)])} << (8 * i);
    return value;
}

// Whether `shown` is how the given sentences, each followed by a space, read in some order.
bool madeOfSentences(const std::wstring& shown, const std::vector<std::string>& sentences) {
    std::wstring rest = shown;
    while (!rest.empty()) {
        bool matched = false;
        for (const std::string& sentence : sentences) {
            const std::wstring line = wide(sentence) + L" ";
            const std::size_t length = std::min(line.size(), rest.size());
            if (rest.compare(0, length, line, 0, length) == 0) {
                rest.erase(0, length);
                matched = true;
                break;
            }
        }
        if (!matched) return false;
    }
    return true;
}

StoredOptions optionsFor(bool russian) {
    StoredOptions options;
    options.russian = russian;
    options.backgroundSound = false;
    return options;
}

TEST(AlphabetDrill, TypedFromTheFirstKeyToTheSummaryWithItsErrorsCounted) {
    ProgramDirectory directory;
    StoredOptions options = optionsFor(false);
    options.alphabetMode = true;
    options.uniformLetters = true;
    options.totalCharacters = 1000;
    options.totalSeconds = 600;
    directory.addUser("Anna", storedOptionsBytes(options));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    const StripReader reader(program.window());
    const std::wstring alphabet = wide("abcdefghijklmnopqrstuvwxyz.!?,-\":;()0123456789 ");

    program.typeCharacter(L' ');
    const std::wstring first = reader.readToType(alphabet);
    ASSERT_EQ(first.find(L'\uFFFD'), std::wstring::npos) << narrowUtf8(first);
    EXPECT_NE(first, std::wstring(15, L' '));
    saveScreenshot("session");

    // A wrong key first: counted, and the strip does not move.
    program.typeCharacter(first[0] == L'#' ? L'%' : L'#');
    EXPECT_EQ(reader.readToType(alphabet), first);
    const std::wstring typed = typeShownText(program, reader, alphabet, 40);
    ASSERT_EQ(typed.size(), 40u);
    EXPECT_EQ(typed.substr(0, 15), first);
    EXPECT_EQ(reader.readTyped(alphabet), typed.substr(25, 15)) << "the typed half shows the last 15 characters";
    program.typeCharacter(L'#');
    program.typeCharacter(L'\u00E4');  // a letter CP1251 lacks is a wrong key too

    program.postCharacter(27);
    SummaryBox summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_NE(summary.text.find(summaryCharactersLine(40, 43)), std::wstring::npos) << narrowUtf8(summary.text);
    EXPECT_NE(summary.text.find(summaryErrorsLine(L"7.0", 3)), std::wstring::npos) << narrowUtf8(summary.text);
    EXPECT_NE(summary.text.find(wide("Завершить сеанс ?")), std::wstring::npos);
    saveScreenshot("summary");

    // "No": typing goes on where it was, the counters keep their values.
    ASSERT_TRUE(program.answer(summary.box, IDNO));
    const std::wstring more = typeShownText(program, reader, alphabet, 5);
    EXPECT_EQ(more.size(), 5u);
    program.postCharacter(27);
    summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_NE(summary.text.find(summaryCharactersLine(45, 48)), std::wstring::npos) << narrowUtf8(summary.text);

    // "Yes": back to idle; the totals grow, no results line for a short session.
    ASSERT_TRUE(program.answer(summary.box, IDYES));
    EXPECT_EQ(reader.readToType(alphabet), std::wstring(15, L' '));
    EXPECT_EQ(reader.readTyped(alphabet), std::wstring(15, L' '));
    program.pressKey(VK_F4);
    ASSERT_TRUE(program.waitForExit());
    const StoredOptions stored = parseStoredOptions(readBytes(directory.userDirectory("Anna") + "/Options.dat").value_or(""));
    EXPECT_EQ(stored.totalCharacters, 1045u);
    EXPECT_GE(stored.totalSeconds, 600u);
    EXPECT_LT(stored.totalSeconds, 700u);
    EXPECT_FALSE(exists(directory.userDirectory("Anna") + "/Results - Eng.txt"));
}

struct SentenceCase {
    bool russian;
    const char* locale;
    Keyboard keyboard;
};

class SentenceSession : public ::testing::TestWithParam<SentenceCase> {};

TEST_P(SentenceSession, TypingTheShownTextIsJudgedCorrect) {
    const SentenceCase& parameters = GetParam();
    ProgramDirectory directory(false);
    directory.writeText(false, kEnglishSentences);
    directory.writeText(true, kRussianSentences);
    directory.addUser("Anna", storedOptionsBytes(optionsFor(parameters.russian)));
    RunningProgram program(directory, parameters.locale);
    ASSERT_TRUE(program.waitForMainWindow());
    const StripReader reader(program.window());
    const std::wstring candidates = parameters.russian ? russianCharacters() : englishCharacters();
    const std::vector<std::string>& sentences = parameters.russian ? kRussianSentences : kEnglishSentences;

    program.typeCharacter(13);
    const std::wstring typed = typeShownText(program, reader, candidates, 75, parameters.keyboard);
    ASSERT_EQ(typed.size(), 75u) << narrowUtf8(typed);
    EXPECT_TRUE(madeOfSentences(typed, sentences)) << narrowUtf8(typed);

    program.postCharacter(27);
    SummaryBox summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_NE(summary.text.find(summaryCharactersLine(75, 75)), std::wstring::npos) << narrowUtf8(summary.text);
    EXPECT_NE(summary.text.find(summaryErrorsLine(L"0.0", 0)), std::wstring::npos) << narrowUtf8(summary.text);
    ASSERT_TRUE(program.answer(summary.box, IDYES));

    // The index remembers how far the shuffled sentences were taken.
    const std::string index =
        readBytes(directory.userDirectory("Anna") + (parameters.russian ? "/random.rus" : "/random.eng")).value_or("");
    ASSERT_EQ(index.size(), 12u + 3u * sentences.size());
    EXPECT_GE(u32At(index, 8), 2u) << narrowUtf8(typed);
    program.pressKey(VK_F4);
    EXPECT_TRUE(program.waitForExit());
}

INSTANTIATE_TEST_SUITE_P(
    LanguagesAndCodePages, SentenceSession,
    ::testing::Values(SentenceCase {false, "en_US.UTF-8", Keyboard::messages},
                      SentenceCase {true, "en_US.UTF-8", Keyboard::messages},
                      SentenceCase {true, "ru_RU.UTF-8", Keyboard::messages},
                      SentenceCase {false, "ru_RU.UTF-8", Keyboard::messages},
                      SentenceCase {true, "en_US.UTF-8", Keyboard::xdotool},
                      SentenceCase {false, "en_US.UTF-8", Keyboard::xdotool}),
    [](const ::testing::TestParamInfo<SentenceCase>& info) {
        return std::string(info.param.russian ? "Russian" : "English") +
               (std::string(info.param.locale) == "ru_RU.UTF-8" ? "OnRussianWindows" : "OnEnglishWindows") +
               (info.param.keyboard == Keyboard::xdotool ? "RealKeys" : "Messages");
    });

class RunningSession : public ::testing::Test {
protected:
    void SetUp() override {
        directory_.writeText(false, kEnglishSentences);
        directory_.writeText(true, kRussianSentences);
        StoredOptions options = optionsFor(false);
        options.totalCharacters = 100;
        options.totalSeconds = 50;
        directory_.addUser("Anna", storedOptionsBytes(options));
        program_ = std::make_unique<RunningProgram>(directory_);
        ASSERT_TRUE(program_->waitForMainWindow());
        reader_ = std::make_unique<StripReader>(program_->window());
        program_->typeCharacter(13);
        ASSERT_EQ(typeShownText(*program_, *reader_, englishCharacters(), 20).size(), 20u);
    }

    ::testing::AssertionResult showsPauseText() const {
        const std::wstring typed = reader_->readTyped(pauseCharacters());
        const std::wstring toType = reader_->readToType(pauseCharacters());
        if (typed == pauseTextTyped() && toType == pauseTextToType()) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the strip reads \"" << narrowUtf8(typed) << "|" << narrowUtf8(toType)
                                             << "\"";
    }

    Image clockImage() const {
        const Image client = captureClient(program_->window());
        Image clock {60, 18, {}};
        for (int y = 2; y < 2 + clock.height; ++y)
            for (int x = client.width - 2 - clock.width; x < client.width - 2; ++x) clock.pixels.push_back(client.at(x, y));
        return clock;
    }

    ProgramDirectory directory_ {false};
    std::unique_ptr<RunningProgram> program_;
    std::unique_ptr<StripReader> reader_;
};

TEST_F(RunningSession, PauseKeyPausesAndAnyCharacterResumes) {
    const std::wstring before = reader_->readToType(englishCharacters());
    program_->pressKey(VK_PAUSE);
    EXPECT_TRUE(showsPauseText());
    saveScreenshot("paused");
    const Image stopped = clockImage();
    pause(2200ms);
    EXPECT_EQ(clockImage().pixels, stopped.pixels) << "the clock stands still while paused";

    // The key that resumes is not judged: the same character is still expected.
    program_->typeCharacter(L'#');
    EXPECT_EQ(reader_->readToType(englishCharacters()), before);
    pause(2200ms);
    EXPECT_NE(clockImage().pixels, stopped.pixels) << "the clock runs again";

    program_->pressKey(VK_PAUSE);
    EXPECT_TRUE(showsPauseText());
    program_->pressKey(VK_PAUSE);
    EXPECT_EQ(reader_->readToType(englishCharacters()), before);
    program_->postCharacter(27);
    const SummaryBox summary = waitForSummary(*program_);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_NE(summary.text.find(summaryErrorsLine(L"0.0", 0)), std::wstring::npos) << narrowUtf8(summary.text);
    EXPECT_TRUE(program_->answer(summary.box, IDYES));
}

TEST_F(RunningSession, LosingTheFocusPausesAndEscWhilePausedShowsTheSummary) {
    ASSERT_EQ(::GetForegroundWindow(), program_->window());
    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"DactylaE2eFocusThief";
    ::RegisterClassW(&windowClass);
    const HWND thief = ::CreateWindowExW(0, windowClass.lpszClassName, L"thief", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40,
                                         nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(thief, nullptr);
    ::SetForegroundWindow(thief);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    program_->settle();
    EXPECT_TRUE(showsPauseText());
    ::DestroyWindow(thief);
    ::UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);

    program_->postCharacter(27);
    const SummaryBox summary = waitForSummary(*program_);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_NE(summary.text.find(summaryCharactersLine(20, 20)), std::wstring::npos) << narrowUtf8(summary.text);
    // "No" leaves a paused session paused.
    ASSERT_TRUE(program_->answer(summary.box, IDNO));
    EXPECT_TRUE(showsPauseText());
}

TEST_F(RunningSession, ClosingWithF4StoresTotalsAndPositionButNoResult) {
    pause(2500ms);
    program_->pressKey(VK_F4);
    ASSERT_TRUE(program_->waitForExit());
    const StoredOptions stored =
        parseStoredOptions(readBytes(directory_.userDirectory("Anna") + "/Options.dat").value_or(""));
    EXPECT_EQ(stored.totalCharacters, 120u);
    EXPECT_GE(stored.totalSeconds, 52u);
    EXPECT_LE(stored.totalSeconds, 54u);
    const std::string index = readBytes(directory_.userDirectory("Anna") + "/random.eng").value_or("");
    ASSERT_GE(index.size(), 12u);
    EXPECT_GE(u32At(index, 8), 1u) << "the position of the session is kept";
    EXPECT_FALSE(exists(directory_.userDirectory("Anna") + "/Results - Eng.txt"));
}

// The one long test: the session timer ends a session of two minutes, whose result is logged.
TEST(LongSession, TwoMinutesWriteTheirResultsLine) {
    ProgramDirectory directory(false);
    directory.writeText(false, kEnglishSentences);
    StoredOptions options = optionsFor(false);
    options.timerEnabled = true;
    options.timerSeconds = 120;
    directory.addUser("Anna", storedOptionsBytes(options));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    const StripReader reader(program.window());
    program.typeCharacter(13);
    ASSERT_EQ(typeShownText(program, reader, englishCharacters(), 30).size(), 30u);

    const SummaryBox summary = waitForSummary(program, 140s);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_NE(summary.text.find(wide("Время:    2:00")), std::wstring::npos) << narrowUtf8(summary.text);
    EXPECT_NE(summary.text.find(wide("СКОРОСТЬ:   15 сим/мин")), std::wstring::npos) << narrowUtf8(summary.text);
    ASSERT_TRUE(program.answer(summary.box, IDYES));

    const std::string log = readBytes(directory.userDirectory("Anna") + "/Results - Eng.txt").value_or("");
    EXPECT_TRUE(std::regex_match(log, std::regex(R"( \d\d\.\d\d\.\d{4}     15    0\.0%    2:00\r\n)"))) << log;
    program.pressKey(VK_F4);
    ASSERT_TRUE(program.waitForExit());
    const StoredOptions stored = parseStoredOptions(readBytes(directory.userDirectory("Anna") + "/Options.dat").value_or(""));
    EXPECT_EQ(stored.totalCharacters, 30u);
    EXPECT_EQ(stored.totalSeconds, 120u);
}

}  // namespace
}  // namespace dactyla::e2e
