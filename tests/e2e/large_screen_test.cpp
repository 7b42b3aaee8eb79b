// The same window on a 1600 x 1200 screen: scripts/e2e.sh runs this suite alone on such a display.
#include <gtest/gtest.h>

#include "driver/expect.h"
#include "driver/program.h"
#include "driver/screen.h"
#include "driver/typing.h"

namespace dactyla::e2e {
namespace {

TEST(LargeScreen, WindowAndFontsGrowWithTheScreen) {
    ASSERT_TRUE(displayIs(1600, 1200, 96));
    ProgramDirectory directory;
    directory.addUser("Anna", storedOptionsBytes(quietOptions(false)));
    RunningProgram program(directory);
    ASSERT_TRUE(program.waitForMainWindow());
    const RECT rect = windowRect(program.window());
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, 300);
    EXPECT_EQ(rect.right - rect.left, 1500);
    EXPECT_EQ(rect.bottom - rect.top, 600);
    saveScreenshot("idle-1600x1200");

    // The strip's boxes are one line of the 72-pixel font high (Wine lays that font out in 71
    // pixels), against 40 at 800 pixels.
    const Image client = captureClient(program.window());
    const Rows box = stripBoxRows(client);
    const HFONT strip = ::CreateFontW(72, 0, 0, 0, 500, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0, 0,
                                      FIXED_PITCH | FF_MODERN, L"Courier New");
    EXPECT_EQ(box.bottom - box.top, lineHeight(strip));
    ::DeleteObject(strip);
    EXPECT_GT(box.bottom - box.top, 70);

    // The clock in the 36-pixel small font.
    const HFONT small = createSmallFont(1600);
    const Image clock = renderText(L" 0:00", small, RGB(172, 172, 0), RGB(96, 126, 136));
    ::DeleteObject(small);
    EXPECT_EQ(clock.height, 36);
    int differences = 0;
    for (int y = 0; y < clock.height; ++y)
        for (int x = 0; x < clock.width; ++x) differences += client.at(client.width - 2 - clock.width + x, 2 + y) != clock.at(x, y);
    EXPECT_EQ(differences, 0);

    const StripReader reader(program.window());
    program.typeCharacter(13);
    EXPECT_EQ(typeShownText(program, reader, englishCharacters(), 30).size(), 30u);
    saveScreenshot("session-1600x1200");
    program.postCharacter(27);
    const SummaryBox summary = waitForSummary(program);
    ASSERT_NE(summary.box, nullptr);
    EXPECT_NE(summary.text.find(summaryCharactersLine(30, 30)), std::wstring::npos) << narrowUtf8(summary.text);
    EXPECT_TRUE(program.answer(summary.box, IDYES));
}

}  // namespace
}  // namespace dactyla::e2e
