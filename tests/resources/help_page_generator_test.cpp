// The help-page generator (tools/make_help_pages.py), run as the build runs it. Native only:
// the Windows test program cannot start the generator, and checks the linked pages instead.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "resources/help_page_checks.h"
#include "support/temp_dir.h"

namespace dactyla::testing {
namespace {

const std::filesystem::path kRepository =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();

class HelpPageGenerator : public ::testing::Test {
protected:
    // Lays out `source` (UTF-8) into `page`; false when the generator refuses it.
    bool generate(const std::string& source, std::string& page) {
        temp_.write("page.txt", source);
        return generateFile(temp_.file("page.txt"), page);
    }

    bool generateFile(const std::string& sourcePath, std::string& page) {
        const std::string output = temp_.file("page.out");
        std::filesystem::remove(output);
        const std::string command = "python3 \"" + (kRepository / "tools" / "make_help_pages.py").string() +
                                    "\" \"" + sourcePath + "\" \"" + output + "\" 2>/dev/null";
        if (std::system(command.c_str()) != 0) return false;
        page = temp_.read("page.out");
        return true;
    }

    TempDir temp_;
};

std::vector<std::string> wordsOf(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

std::string joinedBody(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
    std::string body;
    for (std::size_t i = from; i < to; ++i) body += lines[i] + " ";
    return body;
}

struct ShippedPage {
    const char* source;
    const char* title;  // CP1251
    HelpPageRules rules;
    std::size_t aimedSize;
};

const ShippedPage kShippedPages[] = {
    {"main.txt", "\xD1\xC0\xCC\xCE\xC5 \xC3\xCB\xC0\xC2\xCD\xCE\xC5", {5, 50}, 1477},  // САМОЕ ГЛАВНОЕ
    {"settings.txt", "\xCD\xC0\xD1\xD2\xD0\xCE\xC5\xD7\xCA\xC8", {5, 50}, 3683},       // НАСТРОЕЧКИ
    // "ГОРЯЧИЕ" КЛАВИШИ
    {"hot_keys.txt", "\"\xC3\xCE\xD0\xDF\xD7\xC8\xC5\" \xCA\xCB\xC0\xC2\xC8\xD8\xC8", {5, 50}, 558},
    {"misc.txt", "\xD0\xC0\xC7\xCD\xCE\xC5", {6, 53}, 1979},  // РАЗНОЕ
};

TEST_F(HelpPageGenerator, ShippedPagesKeepTheLayoutTitlesAndRoughSizes) {
    for (const ShippedPage& shipped : kShippedPages) {
        SCOPED_TRACE(shipped.source);
        std::string page;
        ASSERT_TRUE(generateFile((kRepository / "resources" / "help" / shipped.source).string(), page));
        for (const std::string& fault : helpPageFaults(page, shipped.rules)) ADD_FAILURE() << fault;
        const std::vector<std::string> lines = helpPageLines(page);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[1], std::string(shipped.rules.titleIndent, ' ') + shipped.title);
        EXPECT_NEAR(static_cast<double>(page.size()), static_cast<double>(shipped.aimedSize),
                    shipped.aimedSize * 0.1);
    }
}

TEST_F(HelpPageGenerator, MainPageHoldsTheSubheadingWhereTheHelpDialogSelectsIt) {
    std::string page;
    ASSERT_TRUE(generateFile((kRepository / "resources" / "help" / "main.txt").string(), page));
    ASSERT_GT(page.size(), 629u);
    // Как правильно вводить текст ?
    EXPECT_EQ(page.substr(600, 29),
              "\xCA\xE0\xEA \xEF\xF0\xE0\xE2\xE8\xEB\xFC\xED\xEE \xE2\xE2\xEE\xE4\xE8\xF2\xFC "
              "\xF2\xE5\xEA\xF1\xF2 ?");
    // The page ends with the good wishes.
    EXPECT_NE(helpPageLines(page).back().find("\xD3\xD1\xCF\xC5\xD5\xCE\xC2 !!!"), std::string::npos);
}

TEST_F(HelpPageGenerator, ParagraphLinesFillTheWidthWithEvenGapsExceptTheLast) {
    const std::string text =
        "Съешь же ещё этих мягких французских булок, да выпей чаю. Широкая электрификация южных "
        "губерний даст мощный толчок подъёму сельского хозяйства. The quick brown fox jumps over "
        "the lazy dog again and again until the line runs out of words.";
    std::string page;
    const std::size_t split = text.find(' ', 100);  // the paragraph spans two source lines
    ASSERT_TRUE(
        generate("     TITLE\n\n\n" + text.substr(0, split) + "\n" + text.substr(split + 1) + "\n", page));
    EXPECT_TRUE(helpPageFaults(page, {}).empty());
    const std::vector<std::string> lines = helpPageLines(page);
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ(lines[4].substr(0, 5), "   \xD1\xFA") << "blank lines after the title are dropped";
    for (std::size_t i = 4; i + 1 < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(lines[i].size(), kHelpPageWidth);
        std::size_t narrowest = 99, widest = 0;
        for (std::size_t at = 3; at < lines[i].size();) {
            const std::size_t gap = lines[i].find(' ', at);
            if (gap == std::string::npos) break;
            const std::size_t word = lines[i].find_first_not_of(' ', gap);
            narrowest = std::min(narrowest, word - gap);
            widest = std::max(widest, word - gap);
            at = word;
        }
        EXPECT_LE(widest - narrowest, 1u);
    }
    EXPECT_LT(lines.back().size(), kHelpPageWidth);
    EXPECT_EQ(lines.back().find("  ", 3), std::string::npos) << "the last line keeps single spaces";
    // Nothing is lost or reordered: the page's words are the source's, in CP1251.
    ASSERT_TRUE(generate("     T\n" + text + "\n", page));
    const std::vector<std::string> pageLines = helpPageLines(page);
    const std::vector<std::string> pageWords = wordsOf(joinedBody(pageLines, 4, pageLines.size()));
    EXPECT_EQ(pageWords.size(), wordsOf(text).size());
    EXPECT_EQ(pageWords.front(), "\xD1\xFA\xE5\xF8\xFC");
    EXPECT_EQ(pageWords.back(), "words.");
}

TEST_F(HelpPageGenerator, TiedWordsAreNeverParted) {
    std::string page;
    ASSERT_TRUE(
        generate("     T\n"
                 "Пальцы левой руки лежат на клавишах Ф~Ы~В~А, пальцы правой руки на О~Л~Д~Ж, "
                 "большие пальцы над пробелом, а остальные клавиши нажимает ближайший палец.\n",
                 page));
    const std::string body = joinedBody(helpPageLines(page), 4, helpPageLines(page).size());
    EXPECT_NE(body.find("\xD4 \xDB \xC2 \xC0,"), std::string::npos);  // Ф Ы В А,
    EXPECT_NE(body.find("\xCE \xCB \xC4 \xC6,"), std::string::npos);  // О Л Д Ж,
    EXPECT_EQ(page.find('~'), std::string::npos);
}

TEST_F(HelpPageGenerator, MarkedLinesAreCentredKeptOrAlignedToTheClosingWidth) {
    std::string page;
    ASSERT_TRUE(
        generate("      T\n"
                 "= Centred heading\n"
                 "| F1      - keeps   its  spaces\n"
                 "> 15.04.2000\n",
                 page));
    const std::vector<std::string> lines = helpPageLines(page);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4], std::string(17, ' ') + "Centred heading");
    EXPECT_EQ(lines[5], "   F1      - keeps   its  spaces");
    EXPECT_EQ(lines[6], std::string(43, ' ') + "15.04.2000");
    EXPECT_EQ(page.substr(page.size() - 3), std::string("\r\n\0", 3));
}

TEST_F(HelpPageGenerator, RefusesPagesThatCannotBeLaidOutAndWritesNothing) {
    const std::string tooWide(48, 'x');
    std::string page;
    EXPECT_FALSE(generate("TITLE WITHOUT INDENT\nbody\n", page));
    EXPECT_FALSE(generate("     T\n| " + tooWide + "\n", page)) << "3 + 48 columns";
    EXPECT_TRUE(generate("     T\n| " + tooWide.substr(1) + "\n", page)) << "3 + 47 columns";
    EXPECT_FALSE(generate("     T\n> " + std::string(54, 'x') + "\n", page));
    EXPECT_FALSE(generate("     T\nA word " + std::string(48, 'x') + " too long for any line\n", page));
    EXPECT_FALSE(generate("     T\ntab\there\n", page));
    EXPECT_FALSE(generate("     T\nнет такой буквы: \xE4\xB8\xAD\n", page))
        << "a character without a CP1251 byte";
    EXPECT_FALSE(generate("", page));
    EXPECT_FALSE(std::filesystem::exists(temp_.file("page.out")));
}

}  // namespace
}  // namespace dactyla::testing

#endif  // _WIN32
