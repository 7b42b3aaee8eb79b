#include "texts/interface_texts.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

namespace dactyla::texts {
namespace {

std::set<std::string> keysOf(const TextTable& table) {
    std::set<std::string> keys;
    for (const TextEntry& entry : table.all()) keys.emplace(entry.key);
    return keys;
}

// The printf conversions of a text, in order: a translation must keep them, or formatting it
// would read the wrong arguments.
std::vector<std::string> conversions(std::string_view text) {
    static const std::regex conversion("%[-+ #0-9.]*[a-zA-Z%]");
    std::vector<std::string> found;
    const std::string copy(text);
    for (auto it = std::sregex_iterator(copy.begin(), copy.end(), conversion); it != std::sregex_iterator(); ++it)
        found.push_back(it->str());
    return found;
}

class LanguageGuard {
public:
    LanguageGuard() : tag_(currentLanguage().tag) {}
    ~LanguageGuard() { chooseLanguage(tag_); }

private:
    std::string tag_;
};

TEST(InterfaceTexts, EveryLanguageHasEveryTextOfEveryOtherAndKeepsItsConversions) {
    const auto tables = textTables();
    ASSERT_GE(tables.size(), 2u);
    EXPECT_EQ(tables.front().tag, "ru");
    const std::set<std::string> own = keysOf(tables.front());
    EXPECT_GT(own.size(), 80u);
    for (const TextTable& table : tables) {
        const std::set<std::string> keys = keysOf(table);
        for (const std::string& key : own) EXPECT_TRUE(keys.count(key)) << table.tag << " lacks " << key;
        for (const std::string& key : keys) EXPECT_TRUE(own.count(key)) << table.tag << " has " << key << ", ru not";
        for (const TextEntry& entry : table.all()) {
            const auto original = findText(tables.front(), entry.key);
            if (original) EXPECT_EQ(conversions(entry.text), conversions(*original)) << table.tag << " " << entry.key;
        }
    }
}

// Texts that must fit a fixed place: the pause text fills the 30 cells of the strip.
TEST(InterfaceTexts, EveryPauseTextFillsTheStripExactly) {
    for (const TextTable& table : textTables()) {
        const auto pause = findText(table, "session.pause");
        ASSERT_TRUE(pause) << table.tag;
        EXPECT_EQ(pause->size(), 30u) << table.tag;
    }
}

TEST(InterfaceTexts, TheChoiceIsOneOfTheTablesAndTheSwitchGoesRoundThem) {
    LanguageGuard guard;
    ASSERT_TRUE(chooseLanguage("ru"));
    EXPECT_TRUE(speaksOwnLanguage());
    EXPECT_EQ(text("interface.name"), "\xD0\xF3\xF1\xF1\xEA\xE8\xE9 \xE8\xED\xF2\xE5\xF0\xF4\xE5\xE9\xF1");
    EXPECT_EQ(nextLanguage().tag, "en");
    ASSERT_TRUE(chooseLanguage(nextLanguage().tag));
    EXPECT_FALSE(speaksOwnLanguage());
    EXPECT_EQ(text("interface.name"), "English interface");
    EXPECT_EQ(nextLanguage().tag, textTables().size() == 2 ? "ru" : textTables()[2].tag);
    EXPECT_FALSE(chooseLanguage("xx"));
    EXPECT_EQ(currentLanguage().tag, "en") << "an unknown tag changes nothing";
    EXPECT_EQ(text("no.such.key"), "");
    EXPECT_EQ(languageTags().front(), "ru");
}

TEST(InterfaceTexts, WindowsLanguagesAreMatchedByTheirPrimaryLanguage) {
    ASSERT_NE(languageForWindows(0x0419), nullptr);
    EXPECT_EQ(languageForWindows(0x0419)->tag, "ru");
    EXPECT_EQ(languageForWindows(0x0409)->tag, "en");
    EXPECT_EQ(languageForWindows(0x0809)->tag, "en") << "British English";
    EXPECT_EQ(languageForWindows(0x0819), languageForWindows(0x0419)) << "Russian of Moldova";
    EXPECT_EQ(languageForWindows(0x0407), nullptr) << "no German table";
}

TEST(InterfaceTexts, TablesAreSortedForTheirLookup) {
    for (const TextTable& table : textTables()) {
        const auto entries = table.all();
        for (std::size_t k = 1; k < entries.size(); ++k) EXPECT_LT(entries[k - 1].key, entries[k].key) << table.tag;
        for (const TextEntry& entry : entries) EXPECT_EQ(findText(table, entry.key), entry.text) << entry.key;
    }
}

}  // namespace
}  // namespace dactyla::texts
