// The window at 150 % scaling: scripts/e2e.sh runs this suite alone on a 1200 x 900 display with
// Wine's LogPixels at 144. The program works out the window of an 800 x 600 screen and draws it
// in real pixels: everything one and a half times the 96-DPI window, drawn sharp, not stretched.
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "driver/expect.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/typing.h"
#include "guide/keyboard_guide.h"
#include "guide/keyboard_place.h"

namespace dactyla::e2e {
namespace {

HFONT programFont(int height, int weight, const wchar_t* face) {
    return ::CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0, 0,
                         FIXED_PITCH | FF_MODERN, face);
}

// Pixels of `image` at (left, top) that differ from `expected`.
int differences(const Image& image, const Image& expected, int left, int top) {
    int count = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) count += image.at(left + x, top + y) != expected.at(x, y);
    return count;
}

TEST(HighDpi, WindowStripClockAndLabelAreOneAndAHalfTimesTheirSizeAt96Dpi) {
    ASSERT_TRUE(displayIs(1200, 900, 144));
    ProgramDirectory directory;
    directory.writeText(false, {"The quick brown fox jumps over the lazy dog."});
    directory.addUser("Anna", storedOptionsBytes(quietOptions(false)));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());

    // 800 x 600 gives (25, 150) and 750 x 300; here all of it times 1.5.
    const RECT rect = windowRect(program.window());
    EXPECT_EQ(rect.left, 38);
    EXPECT_EQ(rect.top, 225);
    EXPECT_EQ(rect.right - rect.left, 1125);
    EXPECT_EQ(rect.bottom - rect.top, 450);
    saveScreenshot("idle-1200x900-144dpi");

    // The strip: one line of the 60-pixel font high (40 at 96 DPI), 15 cells of it each side of
    // the middle.
    const Image client = captureClient(program.window());
    const HFONT strip = programFont(60, 500, L"Courier New");
    const int stripLine = lineHeight(strip);
    const Image cell = renderText(L"0", strip, RGB(0, 0, 0), RGB(255, 255, 255));
    ::DeleteObject(strip);
    const Rows box = stripBoxRows(client);
    EXPECT_EQ(box.bottom - box.top, stripLine);
    EXPECT_NEAR(box.bottom - box.top, 60, 2);
    const int row = box.top + 2;
    int left = client.width / 2;
    while (left > 0 && client.at(left - 1, row) == RGB(230, 230, 230)) --left;
    int right = client.width / 2;
    while (right < client.width && client.at(right, row) == RGB(255, 255, 255)) ++right;
    EXPECT_EQ(client.width / 2 - left, 15 * cell.width) << "the typed half";
    EXPECT_EQ(right - client.width / 2, 15 * cell.width) << "the half to type";

    // Clock and label in the 30-pixel small font, 3 pixels (2 units) from the edges, pixel for
    // pixel as the font draws them: sharp text, not a stretched bitmap.
    const HFONT small = programFont(30, 700, L"Lucida Console");
    const Image clock = renderText(L" 0:00", small, RGB(172, 172, 0), RGB(96, 126, 136));
    const Image label = renderText(L"Anna", small, RGB(172, 172, 0), RGB(93, 103, 93));
    ::DeleteObject(small);
    EXPECT_EQ(clock.height, 30);
    EXPECT_EQ(differences(client, clock, client.width - 3 - clock.width, 3), 0);
    EXPECT_EQ(differences(client, label, 8, client.height - 3 - label.height), 0);

    program.typeCharacter(13);
    for (const wchar_t character : std::wstring(L"The")) program.typeCharacter(character);
    saveScreenshot("session-1200x900-144dpi");
    program.postCharacter(27);
    const SummaryBox summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    saveScreenshot("summary-1200x900-144dpi");
    EXPECT_TRUE(program.answer(summary.box, IDNO));
    program.postCharacter(27);
    const SummaryBox again = waitForSummary(program);
    ASSERT_NE(again.box, nullptr);
    EXPECT_TRUE(program.answer(again.box, IDYES));
}

// The keyboard under the window: the place and keys it has on an 800 x 600 screen at 96 DPI,
// times 1.5, its legends drawn in their fonts at that size.
TEST(HighDpi, TheKeyboardIsOneAndAHalfTimesItsSizeAt96Dpi) {
    ASSERT_TRUE(displayIs(1200, 900, 144));
    ProgramDirectory directory;
    directory.addUser("Anna", storedOptionsBytes(quietOptions(false)));
    showKeyboardAlways(directory, "Anna");
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    program.settle();
    const std::vector<HWND> keyboards = windowsOf(program.processId(), L"DactylaKeyboard");
    ASSERT_EQ(keyboards.size(), 1u);
    const KeyboardPlacement at96 = placeKeyboard({25, 150, 775, 450}, {0, 0, 800, 600});
    const RECT rect = windowRect(keyboards.front());
    EXPECT_NEAR(rect.right - rect.left, at96.window.width() * 1.5, 1);
    EXPECT_NEAR(rect.bottom - rect.top, at96.window.height() * 1.5, 1);
    EXPECT_NEAR(rect.left, at96.window.left * 1.5, 1);
    EXPECT_EQ(rect.top, windowRect(program.window()).bottom) << "right under the window";

    // The legend "Q" in the cap 1.5 times its 96-DPI place, in the font 1.5 times as high: drawn
    // at this size, not stretched.
    const PixelRect cap = keyCapRect(*keyFor(false, 'q'), at96.keyPixels);
    const Image client = captureClient(keyboards.front());
    Image capImage {cap.width() * 3 / 2, cap.height() * 3 / 2, {}};
    for (int y = 0; y < capImage.height; ++y)
        for (int x = 0; x < capImage.width; ++x) capImage.pixels.push_back(client.at(cap.left * 3 / 2 + x, cap.top * 3 / 2 + y));
    const HFONT legend = ::CreateFontW(-(at96.keyPixels * 9 / 20) * 3 / 2, 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE,
                                       RUSSIAN_CHARSET, 0, 0, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial");
    const Rgb soft = softFingerColour(Finger::leftPinky);
    const Image q = renderText(L"Q", legend, RGB(0x30, 0x30, 0x30), RGB(soft.red, soft.green, soft.blue));
    ::DeleteObject(legend);
    EXPECT_TRUE(findInk(capImage, q).has_value());
    program.typeCharacter(13);
    program.typeCharacter(L'#');
    saveScreenshot("keyboard-1200x900-144dpi");
}

// The course window: its 760 x 330 client and its font one and a half times as large.
TEST(HighDpi, TheCourseWindowIsOneAndAHalfTimesItsSizeAt96Dpi) {
    ASSERT_TRUE(displayIs(1200, 900, 144));
    ProgramDirectory directory;
    directory.addUser("Anna", storedOptionsBytes(quietOptions(false)));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    program.postCommand(IDM_COURSE_WINDOW);
    const HWND course = program.waitForWindow(L"DactylaCourse");
    ASSERT_NE(course, nullptr);
    RECT client {};
    ::GetClientRect(course, &client);
    EXPECT_EQ(client.right, 1140);
    EXPECT_EQ(client.bottom, 495);
    const RECT close = windowRect(::GetDlgItem(course, IDCANCEL));
    EXPECT_EQ(close.right - close.left, 150);
    EXPECT_EQ(close.bottom - close.top, 39);
    ::Sleep(200);
    saveScreenshot("course-1200x900-144dpi");
    EXPECT_TRUE(program.answer(course, IDCANCEL));
}

// A dialog template's width in pixels for its font at `pixelHeight`, the way Windows turns dialog
// units into pixels: a quarter of the font's average character width per unit.
int dialogUnitsToPixels(int units, int pixelHeight, const wchar_t* face) {
    const HFONT font = ::CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0, 0, 0,
                                     face);
    const HDC screen = ::GetDC(nullptr);
    const HGDIOBJ previous = ::SelectObject(screen, font);
    const wchar_t* alphabet = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size {};
    ::GetTextExtentPoint32W(screen, alphabet, 52, &size);
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(font);
    const int average = (size.cx / 26 + 1) / 2;
    return ::MulDiv(units, average, 4);
}

// The woman, the man and the hand of the About box, in its order of controls, each 48 pixels of
// its own larger image where a 32-pixel icon stretched would smudge.
void expectIconsDrawnAt48Pixels(HWND about) {
    std::vector<HWND> icons;
    for (HWND child = ::GetWindow(about, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icons.push_back(child);
    ASSERT_EQ(icons.size(), 3u);
    const std::array<std::pair<int, int>, 3> resources {
        {{IDI_WOMAN_LARGE, IDI_WOMAN}, {IDI_MAN_LARGE, IDI_MAN}, {IDI_HAND_ON_KEY_LARGE, IDI_HAND_ON_KEY}}};
    for (std::size_t k = 0; k < icons.size(); ++k) {
        SCOPED_TRACE(k);
        RECT place = windowRect(icons[k]);
        ASSERT_EQ(place.right - place.left, 48);
        ASSERT_EQ(place.bottom - place.top, 48);
        place.right = place.left + 48;
        place.bottom = place.top + 48;
        const Image shown = captureScreen(place);
        const COLORREF background = shown.at(0, 0);
        const Image large = renderProgramIcon(resources[k].first, 48, background);
        const Image stretched = renderProgramIcon(resources[k].second, 48, background);
        EXPECT_EQ(differences(shown, large, 0, 0), 0);
        EXPECT_GT(differences(shown, stretched, 0, 0), 100) << "not the 32-pixel image stretched";
    }
}

TEST(HighDpi, DialogsGrowWithTheirFonts) {
    ASSERT_TRUE(displayIs(1200, 900, 144));
    ProgramDirectory directory;
    directory.addUser("Anna", storedOptionsBytes(StoredOptions {}));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    program.postCommand(command::kSettings);
    const HWND settings = program.waitForWindow(kDialogClass, wide("Настроечки"));
    ASSERT_NE(settings, nullptr);
    RECT client {};
    ::GetClientRect(settings, &client);
    // 198 units of Times New Roman 10: 20 pixels high at 144 DPI, 13 at 96.
    EXPECT_NEAR(client.right, dialogUnitsToPixels(198, 20, L"Times New Roman"), 2);
    EXPECT_GT(client.right, dialogUnitsToPixels(198, 13, L"Times New Roman") * 4 / 3);
    saveScreenshot("settings-1200x900-144dpi");
    EXPECT_TRUE(program.answer(settings, IDCANCEL));

    program.postCommand(command::kAbout);
    const HWND about = program.waitForWindow(kDialogClass);
    ASSERT_NE(about, nullptr);
    saveScreenshot("about-1200x900-144dpi");
    expectIconsDrawnAt48Pixels(about);
    EXPECT_TRUE(program.answer(about, IDOK));
    program.postCommand(command::kHelp);
    const HWND help = program.waitForWindow(kDialogClass, wide("Помощь"));
    ASSERT_NE(help, nullptr);
    saveScreenshot("help-1200x900-144dpi");
    EXPECT_TRUE(program.answer(help, IDOK));
}

}  // namespace
}  // namespace dactyla::e2e
