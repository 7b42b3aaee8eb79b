// The shipped texts, read back through the program's own scanner: every sentence written in
// the sources must come out as a sentence to type, and the texts must exercise every key.
#ifdef DACTYLA_CONTENT_DIR

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "corpus/sentence_scanner.h"
#include "platform/cp1251.h"
#include "platform/file.h"

namespace dactyla {
namespace {

struct Language {
    const char* textFile;
    const char* sourceFile;
    bool russian;
    unsigned char firstLower, lastLower, firstUpper;
    std::string punctuation;
};

std::vector<std::string> sourceLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(platform::utf8ToCp1251(line));
    return lines;
}

class ShippedText : public ::testing::TestWithParam<Language> {};

TEST_P(ShippedText, TheScannerFindsEverySentenceOfTheSourceAndNothingElse) {
    const Language& language = GetParam();
    const auto lines = sourceLines(std::string(DACTYLA_TEXT_SOURCE_DIR) + "/" + language.sourceFile);
    const auto raw = platform::readWholeFile(std::string(DACTYLA_CONTENT_DIR) + "/" + language.textFile);
    ASSERT_TRUE(raw.has_value()) << language.textFile << " was not built";
    ASSERT_GE(lines.size(), 1500u);

    const ScanText text(*raw);
    std::vector<std::string> found;
    std::uint32_t scanPos = 0;
    while (auto sentence = findNextSentence({language.russian, 10, 120}, text, scanPos))
        found.emplace_back(text.view(sentence->start, sentence->end));
    ASSERT_EQ(found.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(found[i], lines[i]) << "sentence " << i + 1;
}

TEST_P(ShippedText, NoSentenceRepeats) {
    const Language& language = GetParam();
    const auto lines = sourceLines(std::string(DACTYLA_TEXT_SOURCE_DIR) + "/" + language.sourceFile);
    std::map<std::string, std::size_t> firstSeen;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto [at, inserted] = firstSeen.emplace(lines[i], i + 1);
        EXPECT_TRUE(inserted) << "line " << i + 1 << " repeats line " << at->second;
    }
}

TEST_P(ShippedText, EveryLetterDigitAndPunctuationMarkIsPractised) {
    const Language& language = GetParam();
    const auto lines = sourceLines(std::string(DACTYLA_TEXT_SOURCE_DIR) + "/" + language.sourceFile);
    std::map<unsigned char, int> counts;
    for (const auto& line : lines)
        for (char c : line) {
            auto byte = static_cast<unsigned char>(c);
            if (byte >= language.firstUpper && byte < language.firstUpper + (language.lastLower - language.firstLower + 1))
                byte = static_cast<unsigned char>(byte - language.firstUpper + language.firstLower);
            ++counts[byte];
        }
    for (unsigned letter = language.firstLower; letter <= language.lastLower; ++letter)
        EXPECT_GE(counts[static_cast<unsigned char>(letter)], 50) << "letter byte 0x" << std::hex << letter;
    for (char digit = '0'; digit <= '9'; ++digit) EXPECT_GT(counts[digit], 0) << "digit " << digit;
    for (char mark : language.punctuation) EXPECT_GT(counts[static_cast<unsigned char>(mark)], 0) << "mark " << mark;
    for (const auto& [byte, count] : counts) {
        const bool allowed = (byte >= language.firstLower && byte <= language.lastLower) ||
                             (byte >= '0' && byte <= '9') || byte == ' ' ||
                             language.punctuation.find(static_cast<char>(byte)) != std::string::npos;
        EXPECT_TRUE(allowed) << "byte 0x" << std::hex << int {byte} << " occurs " << std::dec << count << " times";
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedText,
                         ::testing::Values(Language {"TextData.Rus", "rus.txt", true, 0xE0, 0xFF, 0xC0, ".?!,-\":;()"},
                                           Language {"TextData.Eng", "eng.txt", false, 'a', 'z', 'A', ".?!,-\":;()'"}),
                         [](const auto& info) { return info.param.russian ? "Russian" : "English"; });

}  // namespace
}  // namespace dactyla

#endif
