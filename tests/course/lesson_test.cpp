#include "course/lesson.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "course/key_order.h"
#include "drill/line_source.h"
#include "platform/cp1251.h"
#include "platform/file.h"

namespace dactyla {
namespace {

std::string cp(const std::string& utf8) { return platform::utf8ToCp1251(utf8); }

// A text of a few hundred words in each language, enough for every step of the order.
std::string sampleText(bool russian) {
    const std::string russianText =
        "Дома два вола, а вода далеко. Лодка у дола, вдова ловко водила лошадь. Ёжик ест ягоды, "
        "а ёлка стоит в лесу. Фёдор жил в Журавлёве, где живут жуки и журавли. Эти поля широки. "
        "Щука плывёт в реке, щенок ищет хлеб. Юля читает книгу, Яша пишет письмо. Цапля ходит по болоту. "
        "Объявление висит на подъезде. Зима пришла, и город затих. Хозяин открыл дверь и позвал гостей. "
        "Мы видели, как быстро бежит время! Почему ты молчишь? Он сказал: «Готово»; и ушёл (навсегда). "
        "В 1984 году было 365 дней, а в 2020 году 366. Утром я всегда открываю окно и слушаю, как во дворе "
        "чирикают воробьи. Ворота открыты, дорога ровная, до дома далеко. Вдали видна дорога, а вдоль дороги "
        "ивы. Лев лежал, олень ждал. Давай вода, ода, лад, дал, вол, дол, лов, долла, вдова, ловл, дыла.";
    const std::string englishText =
        "A quick brown fox jumps over the lazy dog. Sad lads ask dads for a salad. Jack falls; Jill "
        "laughs. Glass flasks hold gold. The rain in Spain stays mainly in the plain! Why do you wait? "
        "Zebras zigzag; vixens vex. Numbers like 1984 and 2020 appear (sometimes). She said: \"yes\", "
        "then left - quietly. All dads ask: does Sal fall? Flash, dash, lass, sass, fads, jacks, ladles, "
        "skids, kids, slid, sled, desk, disk, fold, sold, hold, told, gold, bold, mold, wold, world.";
    return cp(russian ? russianText + " " + russianText : englishText + " " + englishText);
}

std::string lineOf(LessonMaker& maker, std::uint32_t tick, std::uint16_t maxLength = 120) {
    std::array<char, kLineSourceRoom + 2> buffer;
    buffer.fill('#');
    const std::uint16_t length = maker.makeLineAt(tick, buffer.data(), maxLength);
    EXPECT_EQ(buffer[length], '\0');
    EXPECT_EQ(buffer[kLineSourceRoom], '#') << "wrote past its room";
    return std::string(buffer.data(), length);
}

bool isLetter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u >= 0xC0 || u == 0xA8 || u == 0xB8;
}

std::vector<std::string> tokens(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string t; in >> t;) out.push_back(t);
    return out;
}

// The words of a line, lower-cased, without marks; numbers are no words.
std::vector<std::string> bareWords(const std::string& line) {
    std::vector<std::string> words;
    for (const std::string& token : tokens(line)) {
        std::string bare;
        for (char c : token)
            if (isLetter(c)) bare += static_cast<char>(lowerCase(static_cast<unsigned char>(c)));
        if (!bare.empty()) words.push_back(bare);
    }
    return words;
}

// Steps 0..k of the order unlocked, focus on the last key (or the one given).
CourseProgress unlockedThrough(const KeyOrder& order, std::size_t step, std::optional<unsigned char> focus = {}) {
    CourseProgress p;
    for (std::size_t k = 0; k <= step; ++k) p.unlocked += order.steps[k];
    p.focus = focus ? focus : std::optional<unsigned char>(static_cast<unsigned char>(p.unlocked.back()));
    return p;
}

void expectGoodLines(const CourseText& text, const CourseProgress& progress, const std::string& what,
                     std::uint16_t maxLength = 120) {
    LessonMaker maker(text);
    maker.prepare(progress);
    for (std::uint32_t tick = 1; tick <= 40; ++tick) {
        const std::string line = lineOf(maker, tick * 7919, maxLength);
        SCOPED_TRACE(what + ": " + platform::cp1251ToUtf8(line));
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), ' ');
        EXPECT_LE(line.size(), maxLength + 1u);
        EXPECT_EQ(line.find("  "), std::string::npos);
        for (char c : line) EXPECT_TRUE(isUnlocked(progress, static_cast<unsigned char>(c))) << "locked " << c;
        if (progress.focus && *progress.focus != ' ') {
            EXPECT_NE(line.find(static_cast<char>(*progress.focus)), std::string::npos) << "no focus key";
        }
        if (!maker.pseudoWords()) {
            const auto words = bareWords(line);
            EXPECT_EQ(std::set<std::string>(words.begin(), words.end()).size(), words.size()) << "a word twice";
        }
    }
}

TEST(LessonLines, UseOnlyUnlockedCharactersAndHoldTheFocusKeyAtEveryStepOfBothLanguages) {
    for (bool russian : {true, false}) {
        const CourseText text = CourseText::build(sampleText(russian), russian);
        const KeyOrder& order = builtInCourse().order(russian);
        for (std::size_t step = 0; step < order.steps.size(); ++step)
            expectGoodLines(text, unlockedThrough(order, step), (russian ? "ru step " : "en step ") + std::to_string(step));
    }
}

TEST(LessonLines, AShortLengthWindowStillGivesLinesThatFit) {
    const CourseText text = CourseText::build(sampleText(true), true);
    const KeyOrder& order = builtInCourse().russian;
    for (std::uint16_t maxLength : {10, 11, 25})
        expectGoodLines(text, unlockedThrough(order, 20), "max " + std::to_string(maxLength), maxLength);
}

TEST(LessonLines, AreRealWordsWhenThereAreEnoughAndPseudoWordsOtherwise) {
    const CourseText text = CourseText::build(sampleText(true), true);
    const KeyOrder& order = builtInCourse().russian;
    LessonMaker maker(text);
    maker.prepare(unlockedThrough(order, 0, static_cast<unsigned char>(cp("о")[0])));
    EXPECT_TRUE(maker.pseudoWords()) << "the sample has fewer than 15 words of а о в л ы д holding о";
    for (const std::string& w : tokens(lineOf(maker, 5))) {
        EXPECT_GE(w.size(), kShortestPseudoWord);
        EXPECT_LE(w.size(), kLongestPseudoWord);
    }
    maker.prepare(unlockedThrough(order, order.steps.size() - 11, static_cast<unsigned char>(cp("о")[0])));
    EXPECT_FALSE(maker.pseudoWords());
    EXPECT_GE(maker.wordCount(), kFewestWords);
    std::set<std::string> known;
    for (const auto& w : text.words()) known.insert(std::string(text.word(w)));
    for (const std::string& w : bareWords(lineOf(maker, 6))) EXPECT_TRUE(known.count(w)) << platform::cp1251ToUtf8(w);
}

TEST(LessonLines, FrequentWordsComeMoreOftenThanRareOnes) {
    // "the" forty times, every other word once.
    std::string source;
    for (int k = 0; k < 40; ++k) source += "the ";
    for (const char* w : {"fed", "bed", "red", "led", "wed", "ten", "hen", "den", "pen", "men", "net", "jet", "get",
                          "let", "met", "set", "vet", "yet"})
        source += std::string(w) + "e ";
    const CourseText text = CourseText::build(source, false);
    LessonMaker maker(text);
    CourseProgress all;
    all.unlocked = " abcdefghijklmnopqrstuvwxyz";
    all.focus = 'e';
    maker.prepare(all);
    int the = 0, lines = 200;
    for (int k = 0; k < lines; ++k) {
        const auto words = tokens(lineOf(maker, static_cast<std::uint32_t>(k)));
        for (const auto& w : words) the += w == "the";
    }
    EXPECT_GT(the, lines * 8 / 10) << "\"the\" is two thirds of the text and nearly every line has it";
}

TEST(PseudoWords, AreReproducibleFromASeedAndFollowTheModel) {
    const CourseText text = CourseText::build(sampleText(true), true);
    const KeyOrder& order = builtInCourse().russian;
    const CourseProgress progress = unlockedThrough(order, 0, static_cast<unsigned char>(cp("о")[0]));
    LessonMaker a(text), b(text);
    a.prepare(progress);
    b.prepare(progress);
    ASSERT_TRUE(a.pseudoWords());
    std::set<std::string> lines;
    for (std::uint32_t seed : {1u, 2u, 3u, 77u, 123456u}) {
        const std::string first = lineOf(a, seed);
        EXPECT_EQ(first, lineOf(b, seed));
        EXPECT_EQ(first, lineOf(a, seed)) << "the same seed, the same line";
        lines.insert(first);
    }
    EXPECT_GT(lines.size(), 3u) << "other seeds, other lines";
    // Letter pairs come of the text's own words, but for contexts the text never had among the
    // unlocked letters and the focus letter put in: most pairs must be the text's.
    std::set<std::string> pairs;
    for (const auto& w : text.words())
        for (std::size_t k = 0; k + 1 < w.length; ++k) pairs.insert(std::string(text.word(w).substr(k, 2)));
    int seen = 0, all = 0;
    for (std::uint32_t seed = 0; seed < 50; ++seed)
        for (const std::string& w : tokens(lineOf(a, seed)))
            for (std::size_t k = 0; k + 1 < w.size(); ++k, ++all) seen += pairs.count(w.substr(k, 2)) ? 1 : 0;
    EXPECT_GT(seen * 10, all * 7) << seen << " of " << all;
}

TEST(CourseTextBuild, CountsLowerCasedWordsOfTheLanguageOnly) {
    const CourseText text =
        CourseText::build(cp("Дом, дом и ДОМ. Ёлка ёлка; x86 Windows-версия 7дней мама2 a"), true);
    std::map<std::string, std::uint32_t> counts;
    for (const auto& w : text.words()) counts[platform::cp1251ToUtf8(std::string(text.word(w)))] = w.count;
    EXPECT_EQ(counts, (std::map<std::string, std::uint32_t> {{"дом", 3}, {"ёлка", 2}, {"версия", 1}}));
    EXPECT_EQ(text.characterCounts()[static_cast<unsigned char>(cp("д")[0])], 2u);
    EXPECT_EQ(text.followers(0, 0, 0, text.letterIndex(static_cast<unsigned char>(cp("д")[0]))), 3u);
    const CourseText empty = CourseText::build("", false);
    EXPECT_TRUE(empty.words().empty());
}

#ifdef DACTYLA_CONTENT_DIR
TEST(LessonLines, FromTheShippedTextsHoldTheFocusInBothLanguages) {
    for (bool russian : {true, false}) {
        const auto bytes = platform::readWholeFile(std::string(DACTYLA_CONTENT_DIR) + (russian ? "/TextData.Rus" : "/TextData.Eng"));
        ASSERT_TRUE(bytes);
        const CourseText text = CourseText::build(*bytes, russian);
        const KeyOrder& order = builtInCourse().order(russian);
        for (std::size_t step = 0; step < order.steps.size(); step += 3)
            expectGoodLines(text, unlockedThrough(order, step), "shipped step " + std::to_string(step));
    }
}
#endif

}  // namespace
}  // namespace dactyla
