// Figures, printed and never asserted: how long the program takes to show its first painted
// window under Wine (also on a full 16 MiB text whose index it must build first), how long the
// import dialog takes to scan a 16 MiB book, and how long one keystroke takes from WM_CHAR to
// the strip drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "driver/expect.h"
#include "driver/file_dialog.h"
#include "driver/host.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/settings.h"
#include "driver/typing.h"
#include "editors/import_editor.h"
#include "guide/keyboard_choice.h"

namespace dactyla::e2e {
namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A Wine process that does nothing: the driver itself with "--idle".
double bareWineProcessMs() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --idle";
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started {};
    const auto begin = Clock::now();
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return -1;
    ::WaitForSingleObject(started.hProcess, 20000);
    const double elapsed = millisecondsSince(begin);
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return elapsed;
}

TEST(Benchmarks, StartUpToTheFirstPaintedWindow) {
    ProgramDirectory directory;
    StoredOptions options;
    options.backgroundSound = false;
    directory.addUser("Anna", storedOptionsBytes(options));
    constexpr int kRuns = 5;
    std::vector<double> bare;
    std::vector<double> startUp;
    for (int run = 0; run < kRuns; ++run) {
        bare.push_back(bareWineProcessMs());
        const auto begin = Clock::now();
        RunningProgram program(directory);
        // The program answers once its message loop runs, which is after its first WM_PAINT.
        ASSERT_TRUE(program.waitForMainWindow(std::chrono::seconds(20)));
        startUp.push_back(millisecondsSince(begin));
        program.pressKey(VK_F4);
        ASSERT_TRUE(program.waitForExit());
    }
    const double total = median(startUp);
    const double wine = median(bare);
    std::printf("BENCHMARK start-up to the first painted window: %.0f ms (median of %d); a bare Wine process "
                "starts and ends in %.0f ms, so the program's own share is about %.0f ms\n",
                total, kRuns, wine, total - wine);
    RecordProperty("startup_ms", static_cast<int>(total));
}

// With the on-screen keyboard shown, WM_CHAR returns once the keyboard is drawn after the strip.
// The shipped Russian text again and again, up to the 16 MiB the index reaches.
std::string sixteenMebibyteText(const ProgramDirectory& directory) {
    constexpr std::size_t kIndexReach = 16u << 20;
    const std::string shipped = readBytes(directory.file("TextData.Rus")).value_or("");
    std::string text;
    if (shipped.empty()) return text;
    text.reserve(kIndexReach);
    while (text.size() + shipped.size() <= kIndexReach) text += shipped;
    return text;
}

TEST(Benchmarks, FirstStartOnASixteenMebibyteTextBuildsItsIndexBeforeTheWindow) {
    ProgramDirectory directory;
    const std::string text = sixteenMebibyteText(directory);
    ASSERT_FALSE(text.empty()) << "the shipped Russian text is missing";
    ASSERT_TRUE(writeBytes(directory.file("TextData.Rus"), text));
    StoredOptions options;
    options.backgroundSound = false;
    directory.addUser("Anna", storedOptionsBytes(options));
    std::vector<double> first;
    std::vector<double> again;
    constexpr int kRuns = 3;
    for (int run = 0; run < kRuns; ++run) {
        // A text whose index is gone, as after a first copy or a change of the text.
        ::DeleteFileW(windowsPath(directory.userDirectory("Anna") + "/random.rus").c_str());
        for (std::vector<double>* times : {&first, &again}) {
            const auto begin = Clock::now();
            RunningProgram program(directory);
            ASSERT_TRUE(program.waitForMainWindow(std::chrono::seconds(60)));
            times->push_back(millisecondsSince(begin));
            program.pressKey(VK_F4);
            ASSERT_TRUE(program.waitForExit());
        }
    }
    std::printf("BENCHMARK first start on a %.1f MiB text, its index built: %.0f ms; the next start, the index "
                "read: %.0f ms (medians of %d)\n",
                static_cast<double>(text.size()) / (1 << 20), median(first), median(again), kRuns);
}

// The shipped Russian sentences as a book holds them: paragraphs of six, hard-wrapped at 70
// columns with CR LF, up to 16 MiB.
std::string sixteenMebibyteBook(const ProgramDirectory& directory) {
    constexpr std::size_t kSize = 16u << 20;
    constexpr std::size_t kColumns = 70;
    const std::string shipped = readBytes(directory.file("TextData.Rus")).value_or("");
    std::string book;
    if (shipped.find_first_not_of("\r\n") == std::string::npos) return book;
    book.reserve(kSize + kColumns);
    std::size_t column = 0;
    int inParagraph = 0;
    for (std::size_t at = 0; book.size() < kSize; at = at + 1 < shipped.size() ? at + 1 : 0) {
        const char c = shipped[at];
        if (c == '\n') continue;
        if (c == '\r') {
            if (column == 0) continue;
            inParagraph = (inParagraph + 1) % 6;
            if (inParagraph == 0) {
                book += "\r\n\r\n";
                column = 0;
            } else {
                book += ' ';
                ++column;
            }
        } else if (c == ' ' && column >= kColumns) {
            book += "\r\n";
            column = 0;
        } else {
            book += c;
            ++column;
        }
    }
    book.resize(kSize);
    return book;
}

TEST(Benchmarks, ImportDialogScansASixteenMebibyteBook) {
    ProgramDirectory directory;
    const std::string book = sixteenMebibyteBook(directory);
    ASSERT_FALSE(book.empty()) << "the shipped Russian text is missing";
    const std::string bookPath = directory.file("Book.txt");
    ASSERT_TRUE(writeBytes(bookPath, book));
    StoredOptions options;
    options.backgroundSound = false;
    directory.addUser("Anna", storedOptionsBytes(options));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    const HWND frame = openSettings(program, SettingsOpening::hotKey);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(selectSettingsTab(frame, 1));
    postClick(settingsPage(frame), IDC_IMPORT_SENTENCES);
    const HWND dialog = program.waitForWindow(kDialogClass, wide("Добавление предложений из файла"));
    ASSERT_NE(dialog, nullptr);
    constexpr int kRuns = 3;
    std::vector<double> scans;
    for (int run = 0; run < kRuns; ++run) {
        postClick(dialog, importControl::kBrowse);
        ASSERT_TRUE(chooseInFileDialog(program, wide("Выбор предложений из файла"), windowsPath(bookPath)));
        // The scan runs in the button's handler once the file dialog has closed; the program
        // answers again when it is done.
        const auto begin = Clock::now();
        ASSERT_TRUE(program.settle(std::chrono::seconds(60)));
        scans.push_back(millisecondsSince(begin));
    }
    const std::wstring found = controlText(dialog, importControl::kFound);
    EXPECT_NE(found, L"0") << "the book must give sentences for the figure to mean something";
    std::printf("BENCHMARK import dialog scan of a %.0f MiB book, from the file chosen to %s sentences found: "
                "%.0f ms (median of %d)\n",
                static_cast<double>(book.size()) / (1 << 20), narrowUtf8(found).c_str(), median(scans), kRuns);
    RecordProperty("import_scan_ms", static_cast<int>(median(scans)));
    clickControl(dialog, importControl::kClose);
}

void timeKeystrokes(bool keyboardShown) {
    ProgramDirectory directory;
    StoredOptions options;
    options.russian = false;
    options.backgroundSound = false;
    directory.addUser("Anna", storedOptionsBytes(options));
    if (keyboardShown) {
        ASSERT_TRUE(writeBytes(directory.userDirectory("Anna") + "/Keyboard.dat",
                               encodeKeyboardChoice({KeyboardMode::always, true})));
    }
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    const StripReader reader(program.window());
    program.typeCharacter(13);

    constexpr std::size_t kKeystrokes = 300;
    std::vector<double> keystrokes;
    std::vector<double> emptyRoundTrips;
    while (keystrokes.size() < kKeystrokes) {
        const std::wstring shown = reader.readToType(englishCharacters());
        ASSERT_EQ(shown.find(L'\uFFFD'), std::wstring::npos);
        for (wchar_t character : shown) {
            if (keystrokes.size() == kKeystrokes) break;
            auto begin = Clock::now();
            program.typeCharacter(character);
            keystrokes.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
            begin = Clock::now();
            program.settle();
            emptyRoundTrips.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
        }
    }
    program.postCharacter(27);
    const SummaryBox summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_NE(summary.text.find(summaryCharactersLine(kKeystrokes, kKeystrokes)), std::wstring::npos)
        << narrowUtf8(summary.text);
    EXPECT_TRUE(program.answer(summary.box, IDYES));
    std::printf("BENCHMARK keystroke from WM_CHAR to the strip drawn%s: median %.0f us, 90th percentile %.0f us over %zu "
                "keystrokes (SendMessage round trip; an empty one takes %.0f us)\n",
                keyboardShown ? " with the on-screen keyboard" : "", median(keystrokes), percentile(keystrokes, 0.9),
                keystrokes.size(), median(emptyRoundTrips));
    ::testing::Test::RecordProperty(keyboardShown ? "keystroke_with_keyboard_us" : "keystroke_us",
                                    static_cast<int>(median(keystrokes)));
}

TEST(Benchmarks, KeystrokeFromWmCharToTheStripDrawn) { timeKeystrokes(false); }

TEST(Benchmarks, KeystrokeFromWmCharToTheStripAndTheKeyboardDrawn) { timeKeystrokes(true); }

}  // namespace
}  // namespace dactyla::e2e
