// The weak-key drill in the program: switched on from "Опции", it fills the strip with the
// sentences richest in the learner's slow keys, logs its sessions in a log of its own, and
// with too few keystrokes says so and runs on ordinary sentences.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/expect.h"
#include "driver/menu.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/typing.h"
#include "progress/key_statistics.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;

constexpr unsigned kWeakKeysCommand = IDM_WEAK_KEYS;
const std::wstring kItem = wide("Слабые места");

// Eighty sentences of common words; a few words hold 'v' or 'y', as in any English text.
std::vector<std::string> sentences() {
    const std::vector<std::string> plain = {
        "the", "cat", "sat", "on", "a", "mat", "dog", "ran", "home", "big", "red", "sun", "tea", "hot", "old",
        "man", "sea", "bird", "tree", "hill", "road", "door", "book", "pen", "cup", "milk", "bread", "rain",
        "wind", "stone", "fish", "star", "moon", "lamp", "rock", "sand", "and", "with", "from", "near"};
    const std::vector<std::string> rich = {"very", "every", "yellow", "river", "young", "heavy", "voice", "yard"};
    std::vector<std::string> text;
    std::uint32_t seed = 12345;
    const auto next = [&](std::uint32_t below) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % below;
    };
    for (int s = 0; s < 80; ++s) {
        std::string sentence;
        const std::uint32_t words = 5 + next(5);
        for (std::uint32_t w = 0; w < words; ++w) {
            const std::string& word = next(10) == 0 ? rich[next(rich.size())] : plain[next(plain.size())];
            sentence += (w == 0 ? "" : " ") + word;
        }
        sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
        text.push_back(sentence + ".");
    }
    return text;
}

// Statistics as the program writes them: every letter typed 40 times at 180 ms, 'v' and 'y'
// at 900 ms, so those two are the weak keys.
std::string weakVAndYStatistics() {
    KeyStatistics statistics;
    std::vector<TimedKeystroke> keystrokes;
    for (char letter = 'a'; letter <= 'z'; ++letter)
        for (int k = 0; k < 40; ++k) {
            statistics.counts.countCorrect(static_cast<unsigned char>(letter));
            const std::uint32_t ms = letter == 'v' || letter == 'y' ? 900 : 180;
            keystrokes.push_back({.expected = static_cast<unsigned char>(letter), .previous = ' ', .correct = true,
                                  .timed = true, .latencyMs = ms, .reactionMs = ms});
        }
    statistics.timing.addSession(keystrokes);
    return encodeKeyStatistics(statistics);
}

double share(const std::string& text, char letter) {
    return static_cast<double>(std::count(text.begin(), text.end(), letter)) / static_cast<double>(text.size());
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + " ";
    return text;
}

StoredOptions englishQuiet() {
    StoredOptions options;
    options.russian = false;
    options.backgroundSound = false;
    options.timerEnabled = false;
    return options;
}

bool itemChecked(const RunningProgram& program) {
    OpenPopup options(program, wide("Опции"));
    const auto item = options.find(kItem);
    return item && item->checked;
}

// Ends the session with "Yes" and returns the drill's own log.
std::string finishAndReadLog(const RunningProgram& program, const ProgramDirectory& directory) {
    program.postCharacter(27);
    const SummaryBox summary = waitForSummary(program);
    if (summary.box == nullptr || !program.answer(summary.box, IDYES)) return {};
    return readBytes(directory.userDirectory("Anna") + "/Weak keys - Eng.txt").value_or("");
}

TEST(WeakKeyDrill, TheItemFillsTheStripWithTheWeakLettersAndTheDrillLogsInItsOwnLog) {
    ProgramDirectory directory(false);
    const std::vector<std::string> text = sentences();
    directory.writeText(false, text);
    directory.addUser("Anna", storedOptionsBytes(englishQuiet()));
    ASSERT_TRUE(writeBytes(directory.userDirectory("Anna") + "/Keys - Eng.dat", weakVAndYStatistics()));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    const StripReader reader(program.window());

    EXPECT_FALSE(itemChecked(program));
    {
        OpenPopup options(program, wide("Опции"));
        ASSERT_TRUE(options.choose(kItem)) << "the item is in \"Опции\"";
    }
    ASSERT_TRUE(program.settle());
    {
        OpenPopup options(program, wide("Опции"));
        const auto item = options.find(kItem);
        ASSERT_TRUE(item);
        EXPECT_TRUE(item->checked);
        saveScreenshot("weak-keys-menu");
    }

    program.typeCharacter(13);
    ASSERT_TRUE(program.settle());
    pause(300ms);
    saveScreenshot("weak-keys-strip");
    program.postCommand(kWeakKeysCommand);
    ASSERT_TRUE(program.settle());
    const std::string typed = narrowUtf8(typeShownText(program, reader, englishCharacters(), 400));
    ASSERT_EQ(typed.size(), 400u);

    // Whole sentences of the text, and the two weak letters far above their share of it.
    const std::string all = joined(text);
    const std::string first = typed.substr(0, typed.find(". ") + 2);
    EXPECT_NE(all.find(first), std::string::npos) << first;
    for (const char letter : {'v', 'y'}) {
        std::printf("weak key %c: %.2f times its share of the text\n", letter, share(typed, letter) / share(all, letter));
        EXPECT_GT(share(typed, letter), 2.0 * share(all, letter))
            << letter << ": " << share(typed, letter) << " against " << share(all, letter) << " in\n" << typed;
    }

    const std::string log = finishAndReadLog(program, directory);
    ASSERT_FALSE(log.empty()) << "every session goes to the drill's log";
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
    EXPECT_TRUE(log.ends_with("   V Y\r\n") || log.ends_with("   Y V\r\n")) << log;
    EXPECT_FALSE(exists(directory.userDirectory("Anna") + "/Results - Eng.txt"));
    EXPECT_TRUE(itemChecked(program)) << "refused during the session";

    program.pressKey(VK_F4);
    ASSERT_TRUE(program.waitForExit());
    const StoredOptions after = parseStoredOptions(readBytes(directory.userDirectory("Anna") + "/Options.dat").value_or(""));
    EXPECT_GE(after.totalCharacters, 400u) << "the totals count the drill";
    EXPECT_EQ(readBytes(directory.userDirectory("Anna") + "/Drill source.txt").value_or(""), "weak keys\r\n");
}

TEST(WeakKeyDrill, WithTooFewKeystrokesItSaysSoAndOrdinarySentencesFollow) {
    ProgramDirectory directory(false);
    const std::vector<std::string> text = sentences();
    directory.writeText(false, text);
    directory.addUser("Anna", storedOptionsBytes(englishQuiet()));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    const StripReader reader(program.window());
    program.postCommand(kWeakKeysCommand);
    ASSERT_TRUE(program.settle());

    program.postCharacter(13);
    const HWND box = program.waitForWindow(kDialogClass, kItem);
    ASSERT_NE(box, nullptr) << "the message";
    const std::string message = narrowUtf8(messageBoxText(box));
    EXPECT_NE(message.find(" 0 "), std::string::npos) << message;
    EXPECT_NE(message.find("300"), std::string::npos) << message;
    saveScreenshot("weak-keys-too-few");
    ASSERT_TRUE(program.answer(box, IDOK));

    const std::string typed = narrowUtf8(typeShownText(program, reader, englishCharacters(), 60));
    ASSERT_EQ(typed.size(), 60u);
    const std::string first = typed.substr(0, typed.find(". ") + 2);
    EXPECT_NE(joined(text).find(first), std::string::npos) << first;

    const std::string log = finishAndReadLog(program, directory);
    EXPECT_TRUE(log.ends_with("   -\r\n")) << log;
    program.pressKey(VK_F4);
    EXPECT_TRUE(program.waitForExit());
}

}  // namespace
}  // namespace dactyla::e2e
