#include "course/key_order.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/cp1251.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;

std::string cp(const std::string& utf8) { return platform::utf8ToCp1251(utf8); }

// The built-in course written out as the file says it, UTF-8.
std::string builtInFileText() {
    std::string text = "// порядок\nскорость 150\nошибки 3\nзамеры 20\n";
    for (bool russian : {true, false}) {
        text += russian ? "русский\n" : "английский\n";
        for (const std::string& step : builtInCourse().order(russian).steps) {
            std::string line;
            for (char c : step) {
                if (!line.empty()) line += ' ';
                line += c == ' ' ? std::string("пробел") : platform::cp1251ToUtf8(std::string(1, c));
            }
            text += line + "\n";
        }
    }
    return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(KeyOrder, TheBuiltInOrderHoldsEveryCourseCharacterOnceAndStartsOnTheHomeRow) {
    for (bool russian : {true, false}) {
        const KeyOrder& order = builtInCourse().order(russian);
        std::string all = order.characters();
        std::sort(all.begin(), all.end(), [](char a, char b) { return static_cast<unsigned char>(a) < static_cast<unsigned char>(b); });
        EXPECT_EQ(all, courseCharacters(russian));
        EXPECT_EQ(order.steps[0], russian ? cp("аовлыд ") : std::string("fjdksl "));
        for (std::size_t k = 1; k < order.steps.size(); ++k) EXPECT_EQ(order.steps[k].size(), 1u) << "one key at a time";
    }
    EXPECT_EQ(builtInCourse().order(true).steps[1] + builtInCourse().order(true).steps[2], cp("фж"));
    EXPECT_EQ(builtInCourse().targets, CourseTargets {});
}

TEST(KeyOrder, TheFileAsShippedReadsAsTheBuiltInCourseInEitherEncoding) {
    const std::string utf8 = builtInFileText();
    for (const std::string& bytes : {utf8, cp(utf8), "\xEF\xBB\xBF" + utf8}) {
        const CourseReading reading = parseCourseOrder(bytes);
        EXPECT_EQ(reading.problem, "");
        EXPECT_EQ(reading.settings, builtInCourse());
    }
    const CourseReading crlf = parseCourseOrder(replaced(utf8, "\nф\n", "\r\nф\r\n"));
    EXPECT_EQ(crlf.problem, "");
}

TEST(KeyOrder, TargetsAndStepsOfSeveralKeysAreTakenFromTheFile) {
    std::string text = replaced(builtInFileText(), "скорость 150", "скорость 200");
    text = replaced(text, "ошибки 3", "ошибки 2,5");
    text = replaced(text, "замеры 20", "замеры 30");
    text = replaced(text, "\nф\nж\n", "\nф ж\n");
    const CourseReading reading = parseCourseOrder(text);
    ASSERT_EQ(reading.problem, "");
    EXPECT_EQ(reading.settings.targets, (CourseTargets {200, 25, 30}));
    EXPECT_EQ(reading.settings.russian.steps[1], cp("фж"));
    EXPECT_EQ(reading.settings.russian.steps.size(), builtInCourse().russian.steps.size() - 1);
}

// Each refusal names the line, and the built-in course serves instead.
TEST(KeyOrder, AFileThatCannotBeUsedIsRefusedNamingItsLine) {
    const std::string good = builtInFileText();
    // Line numbers of the good text: 1 comment, 2-4 targets, 5 "русский", 6 first lesson, 7 "ф", 8 "ж".
    struct Case {
        std::string text;
        std::string expected;  // UTF-8, the message's first line
    };
    const Case cases[] = {
        {replaced(good, "\nж\n", "\nж ы\n"), "Файл «Course.txt», строка 8: знак «ы» уже есть в строке 6"},
        {replaced(good, "\nж\n", "\nж ў\n"), "Файл «Course.txt», строка 8: неизвестный знак «ў»"},
        {replaced(good, "\nж\n", "\nжж\n"), "Файл «Course.txt», строка 8: неизвестный знак «жж»"},
        {replaced(good, "\nж\n", "\nw\n"), "Файл «Course.txt», строка 8: неизвестный знак «w»"},
        {replaced(good, "\nж\n", "\n\n"), "Файл «Course.txt», строка 5: в порядке «русский» нет знака «ж»"},
        {replaced(good, "\nф\n", "\nпробел\n"), "Файл «Course.txt», строка 7: знак «пробел» уже есть в строке 6"},
        {replaced(good, "скорость 150", "скорость 10"), "Файл «Course.txt», строка 2: «скорость» ждёт число от 30 до 750"},
        {replaced(good, "ошибки 3", "ошибки 3,25"), "Файл «Course.txt», строка 3: «ошибки» ждёт число от 0,5 до 15"},
        {replaced(good, "замеры 20", "замеры двадцать"), "Файл «Course.txt», строка 4: «замеры» ждёт число от 5 до 64"},
        {replaced(good, "// порядок", "порядок"), "Файл «Course.txt», строка 1: непонятная строка «порядок»"},
        {good + "русский\n", "порядок «русский» уже начат в строке 5"},
        {good.substr(0, good.find("английский")), "нет порядка «английский»"},
        {"", "Файл «Course.txt», строка 1: нет порядка «русский»"},
        {std::string("\x00\xFF\xFE\x01", 4), "Файл «Course.txt», строка 1: непонятная строка"},
    };
    for (const Case& c : cases) {
        const CourseReading reading = parseCourseOrder(c.text);
        const std::string message = platform::cp1251ToUtf8(reading.problem);
        EXPECT_NE(message.find(c.expected), std::string::npos) << message;
        EXPECT_NE(message.find("Курс идёт по встроенному порядку клавиш."), std::string::npos) << message;
        EXPECT_EQ(reading.settings, builtInCourse());
    }
}

TEST(KeyOrder, AMissingFileIsSaidAndTheBuiltInCourseServes) {
    TempDir dir;
    CourseReading reading = readCourseOrder(dir.path());
    EXPECT_NE(platform::cp1251ToUtf8(reading.problem).find("не найден"), std::string::npos);
    EXPECT_EQ(reading.settings, builtInCourse());
    dir.write(kCourseOrderFileName, builtInFileText());
    reading = readCourseOrder(dir.path());
    EXPECT_EQ(reading.problem, "");
}

#ifdef DACTYLA_CONTENT_DIR
TEST(KeyOrder, TheShippedFileIsTheBuiltInCourse) {
    const CourseReading reading = readCourseOrder(DACTYLA_CONTENT_DIR);
    EXPECT_EQ(reading.problem, "");
    EXPECT_EQ(reading.settings, builtInCourse());
}
#endif

}  // namespace
}  // namespace dactyla
