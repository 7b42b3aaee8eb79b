// Per-key statistics and the progress chart: a session typed with known wrong keys stores them
// in Keys - Eng.dat, dactyla-text stats names them weakest, and the chart opens from the menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/expect.h"
#include "driver/host.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/settings.h"
#include "driver/typing.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;

constexpr unsigned kChartCommand = IDM_CHART;
constexpr const wchar_t* kChartClass = L"DactylaProgressChart";
// Version 2: the counts, a timing record per byte, then 48 bytes per pair of characters.
constexpr std::size_t kKeysFileSize = 309268;
constexpr std::size_t kPairRecordSize = 48;
constexpr std::size_t kWrongOffset = 1036;
constexpr std::size_t kConfusionOffset = 2060;
const std::string kSentence = "Kiss the misty hills.";

std::uint32_t u32At(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t {static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)])} << (8 * i);
    return value;
}

// A whole statistics file of version 2: its size says how many pairs it holds.
bool wholeKeysFile(const std::string& bytes) {
    return bytes.size() >= kKeysFileSize && u32At(bytes, 8) == 2 &&
           bytes.size() == kKeysFileSize + kPairRecordSize * u32At(bytes, kKeysFileSize - 8);
}

// Fourteen sessions, newest first as the program writes them, every third an alphabet drill.
std::string resultsLog() {
    std::string log;
    for (int k = 13; k >= 0; --k) {
        char line[64];
        std::snprintf(line, sizeof line, " %.2d.%.2d.2026%7d%7.1f%%%5d:%.2d", 20 + k > 30 ? k - 10 : 20 + k,
                      20 + k > 30 ? 12 : 11, 140 + k * 9 + (k % 3) * 14, 6.5 - k * 0.35, 2 + k % 4, (k * 17) % 60);
        log += line;
        log += k % 3 == 0 ? "   a p\r\n" : "\r\n";
    }
    return log;
}

HWND openChart(const RunningProgram& program) {
    program.postCommand(kChartCommand);
    return program.waitForWindow(kChartClass, wide("График"));
}

bool waitUntilClosed(const RunningProgram& program) {
    return waitUntil([&] { return program.noWindowOfClass(kChartClass); }, 5s);
}

TEST(KeyStatistics, ASessionWithKnownWrongKeysNamesThemWeakestAndTheChartShowsTheLog) {
    ProgramDirectory directory(false);
    directory.writeText(false, std::vector<std::string>(6, kSentence));
    directory.addUser("Anna", storedOptionsBytes(quietOptions(false)));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());

    // Three sentences, 'a' typed before every 's' and 'j' before every 'h'.
    program.typeCharacter(13);
    for (int round = 0; round < 3; ++round)
        for (const char c : kSentence + " ") {
            if (c == 's') program.typeCharacter(L'a');
            if (c == 'h') program.typeCharacter(L'j');
            program.typeCharacter(static_cast<wchar_t>(c));
        }
    program.postCharacter(27);
    const SummaryBox summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_NE(summary.text.find(summaryCharactersLine(66, 84)), std::wstring::npos) << narrowUtf8(summary.text);
    ASSERT_TRUE(program.answer(summary.box, IDYES));

    const std::string keys = readBytes(directory.userDirectory("Anna") + "/Keys - Eng.dat").value_or("");
    ASSERT_TRUE(wholeKeysFile(keys)) << keys.size();
    EXPECT_EQ(keys.substr(0, 8), "DactKeys");
    EXPECT_EQ(u32At(keys, kWrongOffset + 4 * 's'), 12u);
    EXPECT_EQ(u32At(keys, kWrongOffset + 4 * 'h'), 6u);
    EXPECT_EQ(u32At(keys, kWrongOffset + 4 * 'i'), 0u);
    EXPECT_EQ(u32At(keys, kConfusionOffset + 4 * ('s' * 256 + 'a')), 12u);
    EXPECT_EQ(u32At(keys, kConfusionOffset + 4 * ('h' * 256 + 'j')), 6u);
    EXPECT_FALSE(exists(directory.userDirectory("Anna") + "/Results - Eng.txt")) << "a short session logs nothing";

    const auto report =
        runDactylaText(L"stats \"" + windowsPath(directory.path()) + L"\" Anna --lang en");
    ASSERT_TRUE(report.has_value());
    EXPECT_NE(report->find("weakest   S H\n"), std::string::npos) << *report;

    ASSERT_TRUE(writeBytes(directory.userDirectory("Anna") + "/Results - Eng.txt", resultsLog()));
    const HWND chart = openChart(program);
    ASSERT_NE(chart, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(program.window())) << "modal: the main window waits";
    pause(700ms);
    saveScreenshot("statistics-chart");
    ::PostMessageW(chart, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(waitUntilClosed(program)) << "Esc closes it";
    EXPECT_TRUE(::IsWindowEnabled(program.window()));
    program.pressKey(VK_F4);
    EXPECT_TRUE(program.waitForExit());
}

TEST(KeyStatistics, WithNothingYetTheChartSaysWhatToDoAndPausesARunningSession) {
    ProgramDirectory directory(false);
    directory.writeText(false, std::vector<std::string>(6, kSentence));
    directory.addUser("Anna", storedOptionsBytes(quietOptions(false)));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    const StripReader reader(program.window());

    program.typeCharacter(13);
    program.typeText(L"Kiss");
    const HWND chart = openChart(program);
    ASSERT_NE(chart, nullptr);
    pause(700ms);
    saveScreenshot("statistics-empty");
    ::PostMessageW(chart, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitUntilClosed(program)) << "the close box closes it";
    ASSERT_TRUE(program.settle());
    EXPECT_EQ(reader.readToType(pauseCharacters()), pauseTextToType()) << "the session was paused first";
    program.pressKey(VK_F4);
    EXPECT_TRUE(program.waitForExit());
    // Closing during a session stores its keystrokes too.
    const std::string keys = readBytes(directory.userDirectory("Anna") + "/Keys - Eng.dat").value_or("");
    ASSERT_TRUE(wholeKeysFile(keys)) << keys.size();
    EXPECT_EQ(u32At(keys, 12 + 4 * 's'), 2u);
}

TEST(KeyStatistics, RussianSessionsFillKeysRusAndTheChartShowsTheRussianKeyboard) {
    ProgramDirectory directory(false);
    const std::string sentence = "Мы пошли гулять в парк после обеда.";
    directory.writeText(true, std::vector<std::string>(6, sentence));
    StoredOptions options = quietOptions(false);
    options.russian = true;
    directory.addUser("Anna", storedOptionsBytes(options));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());

    // 'а' typed before every 'о': nine times in three sentences.
    program.typeCharacter(13);
    for (int round = 0; round < 3; ++round)
        for (const wchar_t c : wide(sentence) + L" ") {
            if (c == L'о') program.typeCharacter(L'а');
            program.typeCharacter(c);
        }
    program.postCharacter(27);
    const SummaryBox summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    ASSERT_TRUE(program.answer(summary.box, IDYES));
    const std::string keys = readBytes(directory.userDirectory("Anna") + "/Keys - Rus.dat").value_or("");
    ASSERT_TRUE(wholeKeysFile(keys)) << keys.size();
    EXPECT_EQ(u32At(keys, kWrongOffset + 4 * 0xEE), 9u) << "'о'";
    EXPECT_EQ(u32At(keys, kConfusionOffset + 4 * (0xEE * 256 + 0xE0)), 9u) << "'а' for 'о'";
    EXPECT_FALSE(exists(directory.userDirectory("Anna") + "/Keys - Eng.dat"));

    const auto report = runDactylaText(L"stats \"" + windowsPath(directory.path()) + L"\" Anna --lang ru");
    ASSERT_TRUE(report.has_value());
    EXPECT_NE(report->find(toCp1251("weakest   О\n")), std::string::npos) << fromCp1251(*report);

    const HWND chart = openChart(program);
    ASSERT_NE(chart, nullptr);
    pause(700ms);
    saveScreenshot("statistics-chart-ru");
    ::PostMessageW(chart, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(waitUntilClosed(program));
    program.pressKey(VK_F4);
    EXPECT_TRUE(program.waitForExit());
}

// The fields of the line of `key` in the keys table of `dactyla-text stats --csv`.
std::vector<std::string> csvKeyLine(const std::string& csv, const std::string& key) {
    const auto at = csv.find("\r\n" + key + ",");
    if (at == std::string::npos) return {};
    std::vector<std::string> fields;
    std::string field;
    for (std::size_t k = at + 2; k < csv.size() && csv[k] != '\r'; ++k) {
        if (csv[k] == ',') {
            fields.push_back(field);
            field.clear();
        } else {
            field += csv[k];
        }
    }
    fields.push_back(field);
    return fields;
}

// key,keystrokes,wrong,error_percent,judged,typed_instead,median_ms,p90_ms,cpm,hesitations,mastery
constexpr std::size_t kMedianField = 6;
constexpr std::size_t kHesitationsField = 9;

int medianOf(const std::vector<std::string>& line) {
    return line.size() > kMedianField && !line[kMedianField].empty() ? std::stoi(line[kMedianField]) : -1;
}

// Real key presses at a steady pace, a wait of a second before every 's' and once one of four
// and a half: the 's' is named slowest, the others keep the pace, the long wait is a hesitation.
TEST(KeyTiming, RealKeysWithAWaitBeforeOneLetterNameItSlowestAndALongWaitIsAHesitation) {
    ProgramDirectory directory(false);
    directory.writeText(false, std::vector<std::string>(6, kSentence));
    directory.addUser("Anna", storedOptionsBytes(quietOptions(false)));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    // xdotool waits half its delay after a key's press and half after its release.
    constexpr unsigned kDelayMs = 300;
    constexpr unsigned kPaceMs = kDelayMs / 2;
    program.typeCharacter(13);
    ASSERT_TRUE(program.settle());
    for (int round = 0; round < 3; ++round) {
        std::string script;
        std::wstring run;
        int waits = 0;
        for (const char c : kSentence + " ") {
            if (c == 's') {
                if (!run.empty()) script += xdotoolTypeCommand(run, kDelayMs) + "; ";
                run.clear();
                script += round == 1 && ++waits == 2 ? "sleep 4.5; " : "sleep 1; ";
            }
            run += static_cast<wchar_t>(c);
        }
        script += xdotoolTypeCommand(run, kDelayMs);
        ASSERT_TRUE(runLinux(script, 60s)) << script;
    }
    ASSERT_TRUE(program.settle());
    program.postCharacter(27);
    const SummaryBox summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_NE(summary.text.find(summaryCharactersLine(66, 66)), std::wstring::npos) << narrowUtf8(summary.text);
    ASSERT_TRUE(program.answer(summary.box, IDYES));

    const std::wstring arguments = L"stats \"" + windowsPath(directory.path()) + L"\" Anna --lang en";
    const auto report = runDactylaText(arguments);
    ASSERT_TRUE(report.has_value());
    EXPECT_NE(report->find("slowest   S Space\n"), std::string::npos) << "the keys timed ten times\n" << *report;
    const auto csv = runDactylaText(arguments + L" --csv");
    ASSERT_TRUE(csv.has_value());
    const auto s = csvKeyLine(*csv, "S");
    ASSERT_GT(s.size(), kHesitationsField) << *csv;
    EXPECT_GE(medianOf(s), 950) << *csv;
    EXPECT_EQ(s[kHesitationsField], "1") << "the wait of 4.5 s\n" << *csv;
    for (const char* key : {"I", "T", "H", "L", "Space"}) {
        const auto line = csvKeyLine(*csv, key);
        ASSERT_GT(line.size(), kHesitationsField) << key << "\n" << *csv;
        const int median = medianOf(line);
        EXPECT_GE(median, static_cast<int>(kPaceMs) / 2) << key << "\n" << *csv;
        EXPECT_LE(median, static_cast<int>(kPaceMs) * 2) << key << "\n" << *csv;
        EXPECT_EQ(line[kHesitationsField], "0") << key;
    }
    std::printf("BENCHMARK keystrokes typed by xdotool %u ms apart under Wine, medians in ms:", kPaceMs);
    for (const char* key : {"I", "T", "H", "L", "Space", "S"}) {
        std::printf(" %s %d", key, medianOf(csvKeyLine(*csv, key)));
    }
    std::printf("\n");
    program.pressKey(VK_F4);
    EXPECT_TRUE(program.waitForExit());
}

// Whether the chart's average line (drawn last of the series) is on the screen yet.
bool averageLineShown(HWND chart) {
    const Image client = captureClient(chart);
    return std::find(client.pixels.begin(), client.pixels.end(), RGB(0x1A, 0x4E, 0x9C)) != client.pixels.end();
}

TEST(Benchmarks, ProgressChartOfTenThousandSessionsFromTheCommandToItsLines) {
    ProgramDirectory directory(false);
    directory.writeText(false, std::vector<std::string>(6, kSentence));
    directory.addUser("Anna", storedOptionsBytes(quietOptions(false)));
    constexpr int kSessions = 10000;
    const std::string fourteen = resultsLog();
    const std::size_t lineLength = fourteen.find('\n') + 1;  // the newest line has no suffix
    std::string log;
    for (int k = 0; k < kSessions; ++k) log += fourteen.substr(0, lineLength);
    ASSERT_TRUE(writeBytes(directory.userDirectory("Anna") + "/Results - Eng.txt", log));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    program.typeCharacter(13);
    program.typeText(L"Kias");
    program.postCharacter(27);
    const SummaryBox summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    ASSERT_TRUE(program.answer(summary.box, IDYES));

    constexpr int kRuns = 3;
    std::vector<double> opened;
    std::vector<double> shown;
    for (int run = 0; run < kRuns; ++run) {
        const auto begin = std::chrono::steady_clock::now();
        const HWND chart = openChart(program);
        ASSERT_NE(chart, nullptr);
        opened.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count());
        ASSERT_TRUE(waitUntil([chart] { return averageLineShown(chart); }, 10s, 5ms));
        shown.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count());
        ::PostMessageW(chart, WM_CLOSE, 0, 0);
        ASSERT_TRUE(waitUntilClosed(program));
    }
    std::sort(opened.begin(), opened.end());
    std::sort(shown.begin(), shown.end());
    std::printf("BENCHMARK progress chart of %d logged sessions under Wine: window shown %.0f ms, its lines on "
                "the screen %.0f ms after the command (median of %d; each look at the screen costs a capture)\n",
                kSessions, opened[kRuns / 2], shown[kRuns / 2], kRuns);
    program.pressKey(VK_F4);
    EXPECT_TRUE(program.waitForExit());
}

}  // namespace
}  // namespace dactyla::e2e
