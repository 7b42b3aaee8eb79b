#include "platform/cp1251.h"

#include <gtest/gtest.h>

namespace dactyla::platform {
namespace {

TEST(Cp1251, EveryByteSurvivesTheRoundTripThroughUtf16AndUtf8) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
    EXPECT_EQ(utf16ToCp1251(cp1251ToUtf16(all)), all);
    EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(all)), all);
}

TEST(Cp1251, RussianLettersAndPunctuationMapToTheirUnicodeCharacters) {
    EXPECT_EQ(cp1251ToUtf16("\xC0\xDF\xE0\xFF\xA8\xB8\x95\xB9"), u"АЯаяЁё•№");
    EXPECT_EQ(cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
    EXPECT_EQ(utf8ToCp1251("Выход"), "\xC2\xFB\xF5\xEE\xE4");
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(utf16ToCp1251(u"a\u4E2Db"), "a?b");
    EXPECT_EQ(utf16ToCp1251Byte(u'\u4E2D'), 0);
    EXPECT_EQ(utf8ToCp1251("\xFF\xC3"), "??");
}

}  // namespace
}  // namespace dactyla::platform
