#include "app/progress_chart.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/chart_painter.h"
#include "progress/key_statistics.h"
#include "shell/handles.h"
#include "support/temp_dir.h"

namespace dactyla::app {
namespace {

TEST(ProgressChart, IsReadableAt800By600AndGrowsWithTheScreen) {
    struct Case {
        int screenWidth;
        int screenHeight;
        SIZE client;
    };
    const Case cases[] = {
        {800, 600, {760, 532}}, {640, 480, {640, 416}}, {1280, 1024, {768, 537}}, {1920, 1080, {1152, 806}},
    };
    for (const Case& c : cases) {
        const SIZE size = chartClientSize(c.screenWidth, c.screenHeight);
        EXPECT_EQ(size.cx, c.client.cx) << c.screenWidth;
        EXPECT_EQ(size.cy, c.client.cy) << c.screenWidth;
    }
}

// The colours drawn when the chart of `data` is painted at 760 × 532.
std::set<COLORREF> coloursDrawn(const ChartData& data, ChartView view = ChartView::errors) {
    const RECT client {0, 0, 760, 532};
    const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const UniqueBitmap bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::set<COLORREF> colours;
    if (!bitmap || bits == nullptr) return colours;
    {
        const SelectionGuard selected(dc.get(), bitmap.get());
        drawChart(dc.get(), client, data, view);
        ::GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int k = 0; k < client.right * client.bottom; ++k) {
        const std::uint32_t bgr = pixels[k];
        colours.insert(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    }
    return colours;
}

COLORREF colourOf(const Rgb& rgb) { return RGB(rgb.red, rgb.green, rgb.blue); }

// The chart as it opens for a user with this log and these key counts.
ChartData chartOf(const KeyCounts& counts, const std::string& log, const std::vector<TimedKeystroke>& timed = {}) {
    const testing::TempDir user;
    if (!log.empty()) user.write("Results - Eng.txt", log);
    if (!counts.empty()) {
        EXPECT_EQ(addKeyStatistics(user.path(), false, counts, timed), KeySaveResult::saved);
    }
    return loadChartData(user.path(), false);
}

TEST(ProgressChart, DrawsTheKeyboardInHeatColoursOnlyOnceThereAreKeystrokes) {
    KeyCounts counts;
    for (int k = 0; k < 20; ++k) counts.countWrong('s', 'a');
    for (int k = 0; k < 20; ++k) counts.countCorrect('d');
    const std::string log = " 02.12.2026    210    1.5%    3:00\r\n 01.12.2026    200    2.5%    2:00\r\n";

    const ChartData data = chartOf(counts, log);
    EXPECT_EQ(data.history.sessions.size(), 2u);
    ASSERT_EQ(data.weakest.size(), 1u);
    EXPECT_EQ(keyLabel(*data.weakest[0].key), "S");
    const std::set<COLORREF> full = coloursDrawn(data);
    ASSERT_FALSE(full.empty());
    EXPECT_TRUE(full.count(colourOf(kWeakKey))) << "'S' is red";
    EXPECT_TRUE(full.count(colourOf(kSureKey))) << "'D' is green";
    EXPECT_TRUE(full.count(colourOf(kNeutralKey))) << "keys not typed are grey";

    const std::set<COLORREF> empty = coloursDrawn(chartOf(KeyCounts {}, ""));
    ASSERT_FALSE(empty.empty());
    EXPECT_FALSE(empty.count(colourOf(kNeutralKey))) << "only the line saying what to do";
    EXPECT_FALSE(empty.count(colourOf(kWeakKey)));

    const std::set<COLORREF> keysOnly = coloursDrawn(chartOf(counts, ""));
    EXPECT_TRUE(keysOnly.count(colourOf(kWeakKey))) << "the keyboard without any logged session";
}

// 'S' mistyped 20 times in 50 and slow, 'D' fast and sure, 'F' sure but at half the target speed.
TEST(ProgressChart, TheMasteryViewColoursSpeedAndAccuracyTogetherAndNamesTheLeastMastered) {
    KeyCounts counts;
    std::vector<TimedKeystroke> timed;
    const auto press = [&](char key, std::uint32_t latencyMs) {
        counts.countCorrect(static_cast<unsigned char>(key));
        timed.push_back({.expected = static_cast<unsigned char>(key), .correct = true, .timed = true,
                         .latencyMs = latencyMs, .reactionMs = latencyMs});
    };
    for (int k = 0; k < 20; ++k) {
        counts.countWrong('s', 'a');
        timed.push_back({.expected = 's'});
    }
    for (int k = 0; k < 30; ++k) press('s', 800);
    for (int k = 0; k < 40; ++k) press('d', 200);
    for (int k = 0; k < 40; ++k) press('f', 800);
    const ChartData data = chartOf(counts, "", timed);

    const std::set<COLORREF> errors = coloursDrawn(data, ChartView::errors);
    const std::set<COLORREF> mastery = coloursDrawn(data, ChartView::mastery);
    EXPECT_TRUE(errors.count(colourOf(kWeakKey)) && errors.count(colourOf(kSureKey)));
    EXPECT_FALSE(errors.count(colourOf(kShakyKey))) << "no key has 4 % errors";
    EXPECT_TRUE(mastery.count(colourOf(kWeakKey))) << "'S' at mastery 0";
    EXPECT_TRUE(mastery.count(colourOf(kSureKey))) << "'D' at mastery 1";
    EXPECT_TRUE(mastery.count(colourOf(kShakyKey))) << "'F' at half the speed";

    // "Слабые клавиши: S (40%, 75 сим/мин)" and "Слабее всего освоены: S (40%, 75 сим/мин), F (0%, 75 сим/мин)"
    EXPECT_EQ(weakestLine(data, ChartView::errors),
              "\xD1\xEB\xE0\xE1\xFB\xE5 \xEA\xEB\xE0\xE2\xE8\xF8\xE8: S (40%, 75 \xF1\xE8\xEC/\xEC\xE8\xED)");
    EXPECT_EQ(weakestLine(data, ChartView::mastery),
              "\xD1\xEB\xE0\xE1\xE5\xE5 \xE2\xF1\xE5\xE3\xEE \xEE\xF1\xE2\xEE\xE5\xED\xFB: "
              "S (40%, 75 \xF1\xE8\xEC/\xEC\xE8\xED), F (0%, 75 \xF1\xE8\xEC/\xEC\xE8\xED)");
    const ChartData untimed = chartOf(counts, "");
    EXPECT_EQ(weakestLine(untimed, ChartView::errors),
              "\xD1\xEB\xE0\xE1\xFB\xE5 \xEA\xEB\xE0\xE2\xE8\xF8\xE8: S (40%)") << "no speed yet";
    EXPECT_EQ(weakestLine(untimed, ChartView::mastery).substr(0, 12), "\xCE\xF1\xE2\xEE\xE5\xED\xED\xEE\xF1\xF2\xFC ")
        << "Освоенность ... not known yet";
}

}  // namespace
}  // namespace dactyla::app
