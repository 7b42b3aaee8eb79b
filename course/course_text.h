#pragma once
// What the course makes its lessons of, built once per language from the user's text (the
// shipped sentences and what was imported): the words with how often each occurs, how often each
// character occurs, and a character model of order 4 (three letters of context) for pseudo-words.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "course/course_rules.h"

namespace dactyla {

// Longest word taken from the text; longer runs of letters are not words to drill.
inline constexpr std::size_t kLongestWord = 20;

class CourseText {
public:
    struct Word {
        std::uint32_t offset = 0;  // into spelling()
        std::uint8_t length = 0;
        std::uint32_t count = 0;
    };

    CourseText() = default;
    // `text` is CP1251. Words are runs of the language's letters, lower-cased ("Ё" as "ё");
    // a run touching a digit or a letter of the other language is no word.
    static CourseText build(std::string_view text, bool russian);

    bool russian() const { return russian_; }
    const std::vector<Word>& words() const { return words_; }
    std::string_view word(const Word& w) const { return std::string_view(spelling_).substr(w.offset, w.length); }
    const CharacterCounts& characterCounts() const { return counts_; }

    // The model: letters are numbered 1..letterCount(), 0 stands for the word's edge.
    unsigned letterCount() const { return static_cast<unsigned>(letters_.size()); }
    unsigned char letter(unsigned index) const { return letters_[index - 1]; }
    // 0 when `byte` is no lower-case letter of the language.
    unsigned letterIndex(unsigned char byte) const { return indexOf_[byte]; }
    // How often `next` (0: the word ends) followed the three letters of context a, b, c (0 before
    // the word's start), over all words of the text.
    std::uint32_t followers(unsigned a, unsigned b, unsigned c, unsigned next) const {
        const unsigned k = letterCount() + 1;
        return model_[((a * k + b) * k + c) * k + next];
    }
    // The same with less context, for contexts the text never had among the allowed letters:
    // two letters (b, c) and one (c).
    std::uint32_t followers(unsigned b, unsigned c, unsigned next) const {
        const unsigned k = letterCount() + 1;
        return model3_[(b * k + c) * k + next];
    }
    std::uint32_t followers(unsigned c, unsigned next) const { return model2_[c * (letterCount() + 1) + next]; }
    // Bytes held, for the benchmarks.
    std::size_t memoryBytes() const;

private:
    void addWord(std::string_view lowered);
    void buildModel();

    bool russian_ = true;
    std::string spelling_;
    std::vector<Word> words_;
    CharacterCounts counts_ {};
    std::string letters_;
    std::array<std::uint8_t, 256> indexOf_ {};
    std::vector<std::uint32_t> model_;
    std::vector<std::uint32_t> model3_;
    std::vector<std::uint32_t> model2_;
    std::vector<std::uint32_t> table_;  // open addressing over words_, index + 1; 0 is empty
};

// The course text of a language's text file, built again only when the file's size changed (an
// import appends to it), so it is built once per language and text.
class CourseTextCache {
public:
    // Null when the file cannot be read.
    std::shared_ptr<const CourseText> get(const std::string& path, bool russian);

private:
    std::string path_;
    bool russian_ = true;
    std::uint64_t size_ = 0;
    std::shared_ptr<const CourseText> text_;
};

}  // namespace dactyla
