// The settings dialog of the real program: opening it, its pages and buttons, what Apply, OK and
// Cancel leave in the window, the corpus and Options.dat, and its locks during a session.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "driver/expect.h"
#include "driver/host.h"
#include "driver/menu.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/settings.h"
#include "driver/typing.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;
using namespace settings;

StoredOptions anna(bool russian = true) {
    StoredOptions options;
    options.russian = russian;
    options.backgroundSound = false;
    return options;
}

// The number a sentence count or position static shows.
unsigned shownNumber(HWND page, int id) { return static_cast<unsigned>(std::stoul(controlText(page, id))); }

// "sentences N" and the header line as dactyla-text index prints them for Anna.
struct ToolIndex {
    bool valid = false;
    std::string header;
    unsigned sentences = 0;
};

ToolIndex indexByTool(const ProgramDirectory& directory, const wchar_t* language) {
    const auto printed =
        runDactylaText(L"index \"" + windowsPath(directory.path()) + L"\" Anna --lang " + language);
    ToolIndex index;
    if (!printed) return index;
    index.valid = printed->find("(valid)") != std::string::npos;
    const std::size_t header = printed->find("header    ");
    if (header != std::string::npos) index.header = printed->substr(header + 10, printed->find('\n', header) - header - 10);
    const std::size_t count = printed->find("sentences ");
    if (count != std::string::npos) index.sentences = static_cast<unsigned>(std::stoul(printed->substr(count + 10)));
    return index;
}

class SettingsTest : public ::testing::Test {
protected:
    void start(const StoredOptions& options) {
        directory_.addUser("Anna", storedOptionsBytes(options));
        program_ = std::make_unique<RunningProgram>(directory_);
        ASSERT_TRUE(program_->waitForMainWindow());
    }
    HWND open(SettingsOpening how = SettingsOpening::hotKey) {
        const HWND frame = openSettings(*program_, how);
        EXPECT_NE(frame, nullptr) << "the settings dialog did not open";
        return frame;
    }
    // Ends the program and returns what it left in Anna's Options.dat.
    StoredOptions quit() {
        program_->pressKey(VK_F4);
        EXPECT_TRUE(program_->waitForExit());
        const auto bytes = readBytes(directory_.userDirectory("Anna") + "/Options.dat");
        EXPECT_TRUE(bytes.has_value());
        return parseStoredOptions(bytes.value_or(""));
    }
    void expectSettledOnCancel(HWND frame) {
        EXPECT_FALSE(isEnabled(frame, kApply));
        EXPECT_EQ(defaultButton(frame), IDCANCEL);
    }

    ProgramDirectory directory_;
    std::unique_ptr<RunningProgram> program_;
};

TEST_F(SettingsTest, OpensWithF2AndTheMenuOnThePageShownLastAndEnterMeansCancelThenApply) {
    start(anna());
    HWND frame = open(SettingsOpening::hotKey);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(settingsTab(frame), 0);
    EXPECT_NE(::GetDlgItem(settingsPage(frame), kTimerMinutes), nullptr) << "\"Общие\" first";
    expectSettledOnCancel(frame);
    EXPECT_EQ(focusedWindow(*program_), ::GetDlgItem(frame, kTabs));
    EXPECT_EQ(::GetWindow(frame, GW_OWNER), program_->window());
    // The frame's buttons are painted after the page.
    program_->settle();
    pause(300ms);
    saveScreenshot("settings-general");
    pressEnter(*program_);
    EXPECT_TRUE(waitUntil([&] { return !::IsWindow(frame); }, 5s)) << "Enter on opening is Cancel";

    frame = open(SettingsOpening::menu);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(settingsTab(frame), 0);
    ASSERT_TRUE(selectSettingsTab(frame, 1));
    EXPECT_EQ(settingsTab(frame), 1);
    saveScreenshot("settings-text");
    ASSERT_TRUE(closeSettings(*program_, frame, IDCANCEL));

    frame = open(SettingsOpening::hotKey);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(settingsTab(frame), 1) << "reopens on the page shown last";
    const HWND page = settingsPage(frame);
    setControlText(page, kMaxLength, L"100");
    EXPECT_TRUE(isEnabled(frame, kApply));
    EXPECT_EQ(defaultButton(frame), kApply);
    pressEnter(*program_);
    EXPECT_TRUE(waitUntil([&] { return !isEnabled(frame, kApply); }, 5s)) << "Enter after a change is Apply";
    EXPECT_EQ(defaultButton(frame), IDCANCEL);
    EXPECT_EQ(focusedWindow(*program_), ::GetDlgItem(frame, IDCANCEL));
    EXPECT_TRUE(::IsWindow(frame));
    pressEnter(*program_);
    EXPECT_TRUE(waitUntil([&] { return !::IsWindow(frame); }, 5s)) << "Enter after Apply is Cancel again";

    const StoredOptions stored = quit();
    EXPECT_EQ(stored.minLength, 10);
    EXPECT_EQ(stored.maxLength, 100);
}

TEST_F(SettingsTest, TimerIsCappedLengthsAreClampedAndEmptyFieldsStoreZero) {
    StoredOptions options = anna();
    options.minLength = 20;
    options.maxLength = 60;
    start(options);
    HWND frame = open();
    ASSERT_NE(frame, nullptr);
    setControlText(settingsPage(frame), kTimerMinutes, L"99");
    setControlText(settingsPage(frame), kTimerSeconds, L"99");
    clickControl(frame, kApply);
    // The page shows the stored value when it is next made.
    ASSERT_TRUE(selectSettingsTab(frame, 1));
    ASSERT_TRUE(selectSettingsTab(frame, 0));
    EXPECT_EQ(controlText(settingsPage(frame), kTimerMinutes), L"60");
    EXPECT_EQ(controlText(settingsPage(frame), kTimerSeconds), L"0");

    ASSERT_TRUE(selectSettingsTab(frame, 1));
    setControlText(settingsPage(frame), kMinLength, L"5");
    setControlText(settingsPage(frame), kMaxLength, L"500");
    clickControl(frame, kApply);
    EXPECT_EQ(controlText(settingsPage(frame), kMaxLength), L"500") << "the edit keeps what was typed";
    ASSERT_TRUE(closeSettings(*program_, frame, IDCANCEL));

    frame = open();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(controlText(settingsPage(frame), kMinLength), L"10");
    EXPECT_EQ(controlText(settingsPage(frame), kMaxLength), L"120");
    setControlText(settingsPage(frame), kMinLength, L"100");
    setControlText(settingsPage(frame), kMaxLength, L"50");
    ASSERT_TRUE(selectSettingsTab(frame, 0));
    setControlText(settingsPage(frame), kTimerMinutes, L"");
    setControlText(settingsPage(frame), kTimerSeconds, L"");
    ASSERT_TRUE(closeSettings(*program_, frame, IDOK));

    frame = open();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(controlText(settingsPage(frame), kTimerMinutes), L"0");
    EXPECT_EQ(controlText(settingsPage(frame), kTimerSeconds), L"0");
    ASSERT_TRUE(selectSettingsTab(frame, 1));
    EXPECT_EQ(controlText(settingsPage(frame), kMinLength), L"100");
    EXPECT_EQ(controlText(settingsPage(frame), kMaxLength), L"100");
    ASSERT_TRUE(closeSettings(*program_, frame, IDCANCEL));

    const StoredOptions stored = quit();
    EXPECT_EQ(stored.timerSeconds, 0);
    EXPECT_EQ(stored.minLength, 100);
    EXPECT_EQ(stored.maxLength, 100);
}

// The clock in the top-right corner, in the colours of `picture`'s table row.
int clockDifferences(HWND window, COLORREF background) {
    const Image client = captureClient(window);
    const HFONT small = createSmallFont(::GetSystemMetrics(SM_CXSCREEN));
    const Image clock = renderText(L" 0:00", small, RGB(172, 172, 0), background);
    ::DeleteObject(small);
    const int left = client.width - 2 - clock.width;
    int differences = 0;
    for (int y = 0; y < clock.height; ++y)
        for (int x = 0; x < clock.width; ++x) differences += client.at(left + x, 2 + y) != clock.at(x, y);
    return differences;
}

TEST_F(SettingsTest, DesktopPictureRepaintsAtOnceOnApplyAndCancelKeepsIt) {
    start(anna());
    constexpr COLORREF kMountainsClock = RGB(96, 126, 136);
    constexpr COLORREF kDesktopClock = RGB(128, 111, 81);
    EXPECT_EQ(clockDifferences(program_->window(), kMountainsClock), 0);
    const HWND frame = open();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(isChecked(settingsPage(frame), kPictureMountains));
    clickControl(settingsPage(frame), kPictureDesktop);
    clickControl(frame, kApply);
    // Read while the dialog is still open: Apply painted the window already.
    EXPECT_TRUE(waitUntil([&] { return clockDifferences(program_->window(), kDesktopClock) == 0; }, 2s));
    ASSERT_TRUE(closeSettings(*program_, frame, IDCANCEL));
    program_->settle();
    EXPECT_EQ(clockDifferences(program_->window(), kDesktopClock), 0) << "Cancel keeps what Apply applied";
    EXPECT_EQ(quit().picture, 0);
}

TEST_F(SettingsTest, AlphabetMenuMarkFollowsTheOptionTakenByOk) {
    start(anna());
    const HWND frame = open(SettingsOpening::menu);
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(isEnabled(settingsPage(frame), kAllowCapitals)) << "its options wait for the alphabet drill";
    clickControl(settingsPage(frame), kAlphabet);
    EXPECT_TRUE(isEnabled(settingsPage(frame), kAllowCapitals));
    ASSERT_TRUE(closeSettings(*program_, frame, IDOK));
    {
        OpenPopup options(*program_, wide("Опции"));
        ASSERT_TRUE(options.isOpen());
        const auto alphabet = options.find(wide("Алфавит"));
        ASSERT_TRUE(alphabet);
        EXPECT_TRUE(alphabet->checked);
    }
    EXPECT_TRUE(quit().alphabetMode);
}

TEST_F(SettingsTest, NewLengthWindowReindexesAndTheToolAgrees) {
    start(anna());
    const HWND frame = open();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(selectSettingsTab(frame, 1));
    const unsigned before = shownNumber(settingsPage(frame), kSentenceCount);
    EXPECT_GT(before, 0u);
    setControlText(settingsPage(frame), kMinLength, L"20");
    setControlText(settingsPage(frame), kMaxLength, L"60");
    clickControl(frame, kApply);
    const unsigned after = shownNumber(settingsPage(frame), kSentenceCount);
    EXPECT_GT(after, 0u);
    EXPECT_LT(after, before) << "a narrower window takes fewer sentences";
    EXPECT_EQ(controlText(settingsPage(frame), kPosition), L"0");
    // The import button's own steps around the import dialog: the counter again, and Enter for OK.
    postClick(settingsPage(frame), kImport);
    const HWND importDialog = program_->waitForWindow(kDialogClass, wide("Добавление предложений из файла"));
    ASSERT_NE(importDialog, nullptr);
    ASSERT_TRUE(program_->answer(importDialog, IDCANCEL));
    EXPECT_EQ(shownNumber(settingsPage(frame), kSentenceCount), after);
    EXPECT_EQ(defaultButton(frame), IDOK);
    EXPECT_EQ(focusedWindow(*program_), ::GetDlgItem(frame, IDOK));
    ASSERT_TRUE(closeSettings(*program_, frame, IDCANCEL));

    const StoredOptions stored = quit();
    EXPECT_EQ(stored.minLength, 20);
    EXPECT_EQ(stored.maxLength, 60);
    const ToolIndex index = indexByTool(directory_, L"ru");
    EXPECT_TRUE(index.valid) << "the program left an index the tool accepts as it is";
    EXPECT_NE(index.header.find("minLength 20, maxLength 60, position 0"), std::string::npos) << index.header;
    EXPECT_EQ(index.sentences, after);
}

TEST_F(SettingsTest, LanguageAndLengthsTogetherSwitchFirstAndReindexTheNewLanguage) {
    start(anna(true));
    const HWND frame = open();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(selectSettingsTab(frame, 1));
    clickControl(settingsPage(frame), kEnglish);
    setControlText(settingsPage(frame), kMinLength, L"20");
    setControlText(settingsPage(frame), kMaxLength, L"60");
    clickControl(frame, kApply);
    const unsigned english = shownNumber(settingsPage(frame), kSentenceCount);
    EXPECT_GT(english, 0u);
    EXPECT_EQ(controlText(settingsPage(frame), kPosition), L"0");
    ASSERT_TRUE(closeSettings(*program_, frame, IDOK));
    EXPECT_TRUE(waitUntil([&] { return findInMenuBar(program_->window(), L"< START >").has_value(); }, 2s));

    const StoredOptions stored = quit();
    EXPECT_FALSE(stored.russian);
    EXPECT_EQ(stored.minLength, 20);
    EXPECT_EQ(stored.maxLength, 60);
    const ToolIndex index = indexByTool(directory_, L"en");
    EXPECT_TRUE(index.valid);
    EXPECT_NE(index.header.find("minLength 20, maxLength 60, position 0"), std::string::npos) << index.header;
    EXPECT_EQ(index.sentences, english);
    // The Russian index was left as the old window made it.
    const auto russian = readBytes(directory_.userDirectory("Anna") + "/random.rus").value_or("");
    ASSERT_GE(russian.size(), 8u);
    EXPECT_EQ(static_cast<unsigned char>(russian[4]), 10);
    EXPECT_EQ(static_cast<unsigned char>(russian[6]), 120);
}

TEST_F(SettingsTest, DuringAPausedSessionAlphabetStaysAndTheOtherLanguageIsRefused) {
    start(anna(true));
    const StripReader reader(program_->window());
    program_->typeCharacter(13);
    const HWND frame = open();
    ASSERT_NE(frame, nullptr);
    clickControl(settingsPage(frame), kAlphabet);
    EXPECT_FALSE(isChecked(settingsPage(frame), kAlphabet)) << "the box springs back";
    EXPECT_TRUE(isEnabled(frame, kApply));

    ASSERT_TRUE(selectSettingsTab(frame, 1));
    postClick(settingsPage(frame), kEnglish);
    const HWND box = program_->waitForWindow(kDialogClass, wide("Облом"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), wide("Сначала закончи текущую игру,\nа уже потом меняй язык."));
    saveScreenshot("settings-language-locked");
    pressButton(box, IDOK);
    ASSERT_TRUE(waitUntil([&] { return !::IsWindow(box); }, 5s));
    program_->settle();
    EXPECT_TRUE(isChecked(settingsPage(frame), kRussian));
    EXPECT_FALSE(isChecked(settingsPage(frame), kEnglish));
    expectSettledOnCancel(frame);
    EXPECT_EQ(focusedWindow(*program_), ::GetDlgItem(frame, IDCANCEL));
    ASSERT_TRUE(closeSettings(*program_, frame, IDCANCEL));

    // Still paused: the pause text until a key is typed.
    EXPECT_EQ(reader.readToType(pauseCharacters()), pauseTextToType());
    const StoredOptions stored = quit();
    EXPECT_TRUE(stored.russian);
    EXPECT_FALSE(stored.alphabetMode);
}

}  // namespace
}  // namespace dactyla::e2e
