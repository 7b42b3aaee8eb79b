#pragma once
// Lesson lines: words that use only unlocked characters and hold the focus key, drawn by how
// often they occur in the user's text, no word twice in a line; pseudo-words of the character
// model when fewer than kFewestWords such words exist. Capitals, digits and punctuation appear
// once unlocked. Every random choice comes from the program's one generator, so a seed
// reproduces a line.
#include <cstdint>
#include <string>
#include <vector>

#include "course/course_rules.h"
#include "course/course_text.h"

namespace dactyla {

inline constexpr std::size_t kFewestWords = 15;
inline constexpr std::size_t kShortestPseudoWord = 3;
inline constexpr std::size_t kLongestPseudoWord = 10;

class LessonMaker {
public:
    // `text` must outlive the maker.
    explicit LessonMaker(const CourseText& text) : text_(text) {}

    // Makes the lines of `progress`: its unlocked keys and focus. Cheap when they did not change.
    void prepare(const CourseProgress& progress);
    // Writes a line and a NUL at `destination`: words each followed by a space, at most
    // maxLength + 1 characters (a sentence of maxLength and its space), never empty while a key
    // is unlocked. Returns its length.
    std::uint16_t makeLine(char* destination, std::uint16_t maxLength);
    // The same with the generator seeded from `tick`.
    std::uint16_t makeLineAt(std::uint32_t tick, char* destination, std::uint16_t maxLength);

    // Real words to draw from, or none when the lines are of pseudo-words.
    std::size_t wordCount() const { return pool_.size(); }
    bool pseudoWords() const { return pool_.empty(); }
    // A pseudo-word of 3 to 10 letters of the model, starting with `first` and holding `held`
    // when they are not 0.
    std::string pseudoWord(unsigned char first, unsigned char held);

private:
    enum class FocusKind { none, letter, capital, digit, punctuation };

    std::string nextToken(bool numberTurn, std::vector<std::uint32_t>& usedWords, std::vector<std::string>& usedPseudo);
    std::string wordToken(std::vector<std::uint32_t>& usedWords, std::vector<std::string>& usedPseudo);
    std::string numberToken();
    void decorate(std::string& word, unsigned char mark) const;
    std::string generated(unsigned char first);
    unsigned char randomLetter();
    bool unlocked(unsigned char c) const { return unlocked_[c]; }

    const CourseText& text_;
    CourseProgress prepared_;
    bool ready_ = false;
    std::array<bool, 256> unlocked_ {};
    FocusKind focusKind_ = FocusKind::none;
    unsigned char focus_ = 0;
    std::vector<unsigned> letters_;  // model indices of the unlocked lower-case letters
    std::string digits_;
    std::string marks_;
    std::vector<std::uint32_t> pool_;        // indices into text_.words()
    std::vector<std::uint64_t> cumulative_;  // running sum of their counts
};

// Upper case of a CP1251 letter ("ё" to "Ё"); other bytes as they are.
unsigned char upperCase(unsigned char c);
unsigned char lowerCase(unsigned char c);

}  // namespace dactyla
