// The on-screen keyboard as it is shown: the menu item steps it through off, always and guide;
// it stands under the main window, which keeps the focus and counts every key; the next key is
// lit in its finger's colour, a wrong key lights red beside the expected green one and the
// finger is named under the keys; the layout follows the language; each user keeps their mode.
#include <gtest/gtest.h>

#include <cmath>

#include "driver/expect.h"
#include "driver/menu.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/typing.h"
#include "guide/finger_names.h"
#include "guide/keyboard_choice.h"
#include "guide/keyboard_place.h"
#include "platform/cp1251.h"

namespace dactyla::e2e {
namespace {

using namespace std::chrono_literals;

constexpr const wchar_t* kKeyboardClass = L"DactylaKeyboard";
constexpr COLORREF kLineInk = RGB(0xB0, 0x20, 0x18);
constexpr COLORREF kKeyboardBackground = RGB(0xF7, 0xF7, 0xF5);
constexpr COLORREF kLegendInk = RGB(0x30, 0x30, 0x30);

COLORREF colourRef(const Rgb& colour) { return RGB(colour.red, colour.green, colour.blue); }

// Created as the program creates its keyboard fonts.
HFONT keyboardFont(int height, int weight) {
    return ::CreateFontW(-std::max(8, height), 0, 0, 0, weight, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0,
                         ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial");
}

HWND shownKeyboard(const RunningProgram& program) {
    program.settle();
    const std::vector<HWND> windows = windowsOf(program.processId(), kKeyboardClass);
    return windows.empty() ? nullptr : windows.front();
}

// The keyboard window read from the screen.
class KeyboardImage {
public:
    explicit KeyboardImage(HWND keyboard) : image_(captureClient(keyboard)) {
        keyPixels_ = static_cast<int>(std::lround(image_.width / kWindowWidthInKeys));
    }
    int keyPixels() const { return keyPixels_; }
    // The fill of a key's cap, beside its legend.
    COLORREF fillOf(const KeyPlace& key) const {
        const PixelRect cap = keyCapRect(key, keyPixels_);
        return image_.at(cap.left + 3, (cap.top + cap.bottom) / 2);
    }
    Image part(const PixelRect& rect) const {
        Image part {rect.width(), rect.height(), {}};
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) part.pixels.push_back(image_.at(x, y));
        return part;
    }
    // Whether `text` (CP1251) stands in the finger line.
    bool lineShows(const std::string& text) const {
        const HFONT font = keyboardFont(keyPixels_ * 9 / 20, FW_BOLD);
        const Image rendered = renderText(widenUtf8(platform::cp1251ToUtf8(text)), font, kLineInk, kKeyboardBackground);
        ::DeleteObject(font);
        return findInk(part(fingerLineRect(keyPixels_)), rendered).has_value();
    }
    bool lineIsEmpty() const {
        const Image line = part(fingerLineRect(keyPixels_));
        for (const COLORREF pixel : line.pixels)
            if (pixel != kKeyboardBackground) return false;
        return true;
    }
    // Whether the cap of `key` carries the letter `legendUtf8`.
    bool capShows(const KeyPlace& key, const std::string& legendUtf8) const {
        const HFONT font = keyboardFont(keyPixels_ * 9 / 20, FW_SEMIBOLD);
        const Image rendered = renderText(widenUtf8(legendUtf8), font, kLegendInk, colourRef(softFingerColour(key.finger)));
        ::DeleteObject(font);
        return findInk(part(keyCapRect(key, keyPixels_)), rendered).has_value();
    }

private:
    Image image_;
    int keyPixels_ = 0;
};

const KeyPlace& keyOf(bool russian, wchar_t character) {
    const unsigned char byte = platform::utf16ToCp1251Byte(static_cast<char16_t>(character));
    const KeyPlace* key = keyFor(russian, byte);
    EXPECT_NE(key, nullptr) << static_cast<int>(character);
    return key != nullptr ? *key : keyboardLayout(russian).back();
}

bool isSmallLetter(wchar_t c, bool russian) {
    return russian ? (c >= 0x430 && c <= 0x44F) : (c >= L'a' && c <= L'z');
}

class OnScreenKeyboard : public ::testing::Test {
protected:
    void start(bool russian) {
        StoredOptions options;
        options.russian = russian;
        options.backgroundSound = false;
        directory_.addUser("Anna", storedOptionsBytes(options));
        program_ = std::make_unique<RunningProgram>(directory_);
        ASSERT_TRUE(program_->waitForMainWindow());
        reader_ = std::make_unique<StripReader>(program_->window());
    }
    std::wstring candidates(bool russian) const { return russian ? russianCharacters() : englishCharacters(); }
    // Clicks "Клавиатура" in "Опции", first checking its mark.
    void chooseKeyboardItem(bool checkedBefore) {
        OpenPopup options(*program_, wide("Опции"));
        ASSERT_TRUE(options.isOpen());
        const auto item = options.find(wide("Клавиатура"));
        ASSERT_TRUE(item);
        EXPECT_EQ(item->checked, checkedBefore);
        ASSERT_TRUE(options.choose(wide("Клавиатура")));
    }
    // Types correct characters up to the next small letter, which is then due.
    wchar_t typeUpToASmallLetter(bool russian) {
        const std::wstring shown = reader_->readToType(candidates(russian));
        std::size_t at = 0;
        while (at < shown.size() && !isSmallLetter(shown[at], russian)) ++at;
        EXPECT_LT(at, shown.size()) << narrowUtf8(shown);
        program_->typeText(shown.substr(0, at));
        typed_ += at;
        return at < shown.size() ? shown[at] : L' ';
    }
    void typeShown(bool russian, std::size_t count, Keyboard keys = Keyboard::messages) {
        typed_ += typeShownText(*program_, *reader_, candidates(russian), count, keys).size();
    }
    void endSessionCounting(std::size_t errors) {
        program_->postCharacter(27);
        const SummaryBox summary = waitForSummary(*program_);
        ASSERT_NE(summary.box, nullptr);
        EXPECT_NE(summary.text.find(summaryCharactersLine(static_cast<unsigned>(typed_),
                                                          static_cast<unsigned>(typed_ + errors))),
                  std::wstring::npos)
            << narrowUtf8(summary.text);
        ASSERT_TRUE(program_->answer(summary.box, IDYES));
        typed_ = 0;
    }
    // The next key lit in its finger's colour, a Shift for none of them.
    void expectNextKeyLit(bool russian) {
        const wchar_t next = typeUpToASmallLetter(russian);
        const HWND keyboard = shownKeyboard(*program_);
        ASSERT_NE(keyboard, nullptr);
        const KeyboardImage image(keyboard);
        const KeyPlace& key = keyOf(russian, next);
        EXPECT_EQ(image.fillOf(key), colourRef(fingerColour(key.finger, KeyLight::finger))) << narrowUtf8(std::wstring(1, next));
        EXPECT_EQ(image.fillOf(shiftKey(true)), colourRef(softFingerColour(Finger::leftPinky)));
        EXPECT_TRUE(image.lineIsEmpty());
    }
    // A key of the other hand is wrong: red, beside the expected one in green, and the finger named.
    void typeWrongAndExpectItShown(bool russian, const std::string& screenshot) {
        const wchar_t next = typeUpToASmallLetter(russian);
        const KeyPlace& expected = keyOf(russian, next);
        const wchar_t wrong = isLeftHand(expected.finger) ? (russian ? L'\x43E' : L'j') : (russian ? L'\x430' : L'f');
        program_->typeCharacter(wrong);
        const HWND keyboard = shownKeyboard(*program_);
        ASSERT_NE(keyboard, nullptr);
        const KeyboardImage image(keyboard);
        saveScreenshot(screenshot);
        EXPECT_EQ(image.fillOf(expected), colourRef(kExpectedKeyColour)) << narrowUtf8(std::wstring(1, next));
        EXPECT_EQ(image.fillOf(keyOf(russian, wrong)), colourRef(kPressedKeyColour));
        EXPECT_TRUE(image.lineShows(fingerName(expected.finger))) << narrowUtf8(std::wstring(1, next));
        const Finger otherHand = isLeftHand(expected.finger) ? Finger::rightRing : Finger::leftRing;
        EXPECT_FALSE(image.lineShows(fingerName(otherHand)));
        // The next right key clears the line.
        program_->typeCharacter(next);
        ++typed_;
        EXPECT_TRUE(KeyboardImage(keyboard).lineIsEmpty());
    }

    ProgramDirectory directory_;
    std::unique_ptr<RunningProgram> program_;
    std::unique_ptr<StripReader> reader_;
    std::size_t typed_ = 0;
};

TEST_F(OnScreenKeyboard, TheItemShowsItUnderTheMainWindowWhichKeepsTheFocusAndCountsEveryKey) {
    start(true);
    EXPECT_EQ(shownKeyboard(*program_), nullptr) << "a new user starts without it";
    program_->typeCharacter(13);
    typeShown(true, 5);
    saveScreenshot("keyboard-off-ru");
    endSessionCounting(0);

    chooseKeyboardItem(false);
    const HWND keyboard = shownKeyboard(*program_);
    ASSERT_NE(keyboard, nullptr);
    const RECT main = windowRect(program_->window());
    const RECT under = windowRect(keyboard);
    EXPECT_EQ(under.top, main.bottom);
    EXPECT_LE(std::abs(under.left + under.right - main.left - main.right), 1) << "centred under it";
    EXPECT_LE(under.bottom, ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GE(KeyboardImage(keyboard).keyPixels(), kSmallestKeyPixels);
    EXPECT_EQ(::GetForegroundWindow(), program_->window());

    // It moves with the main window.
    ::SetWindowPos(program_->window(), nullptr, main.left + 10, main.top - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(waitUntil([&] { return windowRect(keyboard).top == windowRect(program_->window()).bottom; }, 2s));
    ::SetWindowPos(program_->window(), nullptr, main.left, main.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(waitUntil([&] { return windowRect(keyboard).top == main.bottom; }, 2s));

    // A click on the keyboard leaves the focus where it was: real keys still reach the strip.
    runLinux("xdotool mousemove " + std::to_string((under.left + under.right) / 2) + " " +
             std::to_string((under.top + under.bottom) / 2) + " sleep 0.1 click 1");
    program_->settle();
    EXPECT_EQ(::GetForegroundWindow(), program_->window());
    program_->typeCharacter(13);
    typeShown(true, 20, Keyboard::xdotool);
    EXPECT_EQ(typed_, 20u);
    expectNextKeyLit(true);
    saveScreenshot("keyboard-always-ru");
    typeWrongAndExpectItShown(true, "keyboard-wrong-ru");
    typeShown(true, 10, Keyboard::xdotool);
    endSessionCounting(1);

    // Guide: no key is known yet, so the next key is lit at once here too.
    chooseKeyboardItem(true);
    ASSERT_EQ(shownKeyboard(*program_), keyboard);
    program_->typeCharacter(13);
    typeShown(true, 10);
    expectNextKeyLit(true);
    saveScreenshot("keyboard-guide-ru");
    typeWrongAndExpectItShown(true, "keyboard-guide-wrong-ru");
    endSessionCounting(1);

    // The layout follows the language.
    EXPECT_TRUE(KeyboardImage(keyboard).capShows(*keyFor(true, 0xE9), "Й"));
    program_->pressKey(VK_F1);
    EXPECT_TRUE(KeyboardImage(keyboard).capShows(*keyFor(false, 'q'), "Q"));
    EXPECT_FALSE(KeyboardImage(keyboard).capShows(*keyFor(false, 'q'), "Й"));
    program_->typeCharacter(13);
    typeShown(false, 10);
    expectNextKeyLit(false);
    saveScreenshot("keyboard-guide-en");
    typeWrongAndExpectItShown(false, "keyboard-wrong-en");
    endSessionCounting(1);

    chooseKeyboardItem(true);
    EXPECT_EQ(shownKeyboard(*program_), nullptr) << "off again";
    program_->typeCharacter(13);
    typeShown(false, 10);
    saveScreenshot("keyboard-off-en");
    endSessionCounting(0);
    chooseKeyboardItem(false);
    ASSERT_NE(shownKeyboard(*program_), nullptr);
    program_->typeCharacter(13);
    typeShown(false, 10);
    expectNextKeyLit(false);
    saveScreenshot("keyboard-always-en");
    endSessionCounting(0);

    program_->pressKey(VK_F4);
    ASSERT_TRUE(program_->waitForExit());
    const auto stored = decodeKeyboardChoice(readBytes(directory_.userDirectory("Anna") + "/Keyboard.dat").value_or(""));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->mode, KeyboardMode::always);
    EXPECT_TRUE(stored->userChose);
}

TEST(OnScreenKeyboardChoice, EachUserKeepsTheirModeAndADamagedFileLeavesItOff) {
    ProgramDirectory directory;
    StoredOptions options;
    options.backgroundSound = false;
    directory.addUser("Anna", storedOptionsBytes(options));
    directory.addUser("Boris", storedOptionsBytes(options));
    ASSERT_TRUE(writeBytes(directory.userDirectory("Anna") + "/Keyboard.dat",
                           encodeKeyboardChoice({KeyboardMode::guide, true})));
    ASSERT_TRUE(writeBytes(directory.userDirectory("Boris") + "/Keyboard.dat", "not a choice"));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    // Posted commands are handled after the driver's settling message: wait for what they show.
    const auto shownSoon = [&](bool shown) {
        return waitUntil([&] { return (shownKeyboard(program) != nullptr) == shown; }, 3s);
    };
    program.postCommand(command::kUserBase + 1);
    EXPECT_TRUE(shownSoon(true)) << "Anna left it in guide mode";
    program.postCommand(command::kUserBase + 2);
    EXPECT_TRUE(shownSoon(false)) << "Boris's file is damaged";
    program.postCommand(command::kKeyboard);
    EXPECT_TRUE(shownSoon(true));
    program.postCommand(command::kUserBase + 1);
    pause(300ms);
    EXPECT_TRUE(shownSoon(true));
    program.pressKey(VK_F4);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_EQ(readBytes(directory.userDirectory("Boris") + "/Keyboard.dat.damaged").value_or(""), "not a choice");
    const auto boris = decodeKeyboardChoice(readBytes(directory.userDirectory("Boris") + "/Keyboard.dat").value_or(""));
    ASSERT_TRUE(boris);
    EXPECT_EQ(boris->mode, KeyboardMode::always);
}

// Run on the large display: the keys grow with the room under the main window.
TEST(LargeScreen, TheKeyboardGrowsWithTheScreen) {
    ProgramDirectory directory;
    directory.addUser("Anna", storedOptionsBytes(quietOptions(true)));
    showKeyboardAlways(directory, "Anna");
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    const HWND keyboard = shownKeyboard(program);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(windowRect(keyboard).top, windowRect(program.window()).bottom);
    const StripReader reader(program.window());
    program.typeCharacter(13);
    ASSERT_EQ(typeShownText(program, reader, russianCharacters(), 12).size(), 12u);
    const wchar_t wrong = reader.readToType(russianCharacters()).front() == L'1' ? L'2' : L'1';
    program.typeCharacter(wrong);
    const KeyboardImage image(keyboard);
    EXPECT_EQ(image.keyPixels(), 46);
    EXPECT_EQ(image.fillOf(*keyFor(true, static_cast<unsigned char>(wrong))), colourRef(kPressedKeyColour));
    saveScreenshot("keyboard-wrong-1600x1200");
    program.postCharacter(27);
    const SummaryBox summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_TRUE(program.answer(summary.box, IDYES));
}

}  // namespace
}  // namespace dactyla::e2e
