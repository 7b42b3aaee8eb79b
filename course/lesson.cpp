#include "course/lesson.h"

#include <algorithm>
#include <cstring>

#include "base/random.h"

namespace dactyla {
namespace {

constexpr int kTokenAttempts = 48;
constexpr int kPseudoAttempts = 12;
// A line whose end no longer takes the tokens that come is full: making more only to drop them
// would cost more than the rest of the line.
constexpr int kMisfitsToEnd = 4;
constexpr int kCapitalEvery = 6;  // about one word in six gets its capital once it is unlocked
constexpr int kMarkEvery = 6;
constexpr int kNumberEvery = 8;
constexpr std::string_view kAfterWord = ",.!?:;";

// 30 bits from the 15-bit generator.
std::uint32_t wideRandom() {
    return static_cast<std::uint32_t>(nextRandom()) << 15 | static_cast<std::uint32_t>(nextRandom());
}

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isCapital(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDF) || c == 0xA8; }

}  // namespace

unsigned char upperCase(unsigned char c) {
    if (c == 0xB8) return 0xA8;
    if ((c >= 'a' && c <= 'z') || c >= 0xE0) return static_cast<unsigned char>(c - 0x20);
    return c;
}

unsigned char lowerCase(unsigned char c) {
    if (c == 0xA8) return 0xB8;
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDF)) return static_cast<unsigned char>(c + 0x20);
    return c;
}

void LessonMaker::prepare(const CourseProgress& progress) {
    if (ready_ && progress == prepared_) return;
    prepared_ = progress;
    ready_ = true;
    unlocked_.fill(false);
    letters_.clear();
    digits_.clear();
    marks_.clear();
    for (char ch : progress.unlocked) {
        const auto c = static_cast<unsigned char>(ch);
        unlocked_[c] = true;
        if (text_.letterIndex(c) != 0) letters_.push_back(text_.letterIndex(c));
        else if (isDigit(c)) digits_ += ch;
        else if (!isCapital(c) && c != ' ') marks_ += ch;
    }
    focus_ = progress.focus.value_or(0);
    focusKind_ = focus_ == 0 || focus_ == ' ' ? FocusKind::none
                 : text_.letterIndex(focus_) != 0 ? FocusKind::letter
                 : isCapital(focus_)             ? FocusKind::capital
                 : isDigit(focus_)               ? FocusKind::digit
                                                 : FocusKind::punctuation;
    pool_.clear();
    cumulative_.clear();
    const auto& words = text_.words();
    std::uint64_t total = 0;
    for (std::uint32_t k = 0; k < words.size(); ++k) {
        const std::string_view w = text_.word(words[k]);
        bool fits = true;
        for (char c : w) fits = fits && unlocked(static_cast<unsigned char>(c));
        if (!fits) continue;
        if (focusKind_ == FocusKind::letter && w.find(static_cast<char>(focus_)) == std::string_view::npos) continue;
        if (focusKind_ == FocusKind::capital && static_cast<unsigned char>(w[0]) != lowerCase(focus_)) continue;
        pool_.push_back(k);
        total += words[k].count;
        cumulative_.push_back(total);
    }
    if (pool_.size() < kFewestWords) {
        pool_.clear();
        cumulative_.clear();
    }
}

std::uint16_t LessonMaker::makeLineAt(std::uint32_t tick, char* destination, std::uint16_t maxLength) {
    seedRandom(tick);
    return makeLine(destination, maxLength);
}

std::uint16_t LessonMaker::makeLine(char* destination, std::uint16_t maxLength) {
    std::string line;
    const std::size_t room = static_cast<std::size_t>(maxLength) + 1;
    std::vector<std::uint32_t> usedWords;
    std::vector<std::string> usedPseudo;
    bool numberTurn = focusKind_ == FocusKind::digit;
    int misfits = 0;
    for (int attempt = 0; attempt < kTokenAttempts && line.size() + 2 <= room && misfits < kMisfitsToEnd; ++attempt) {
        const std::string token = nextToken(numberTurn, usedWords, usedPseudo);
        if (token.empty()) continue;
        if (line.size() + token.size() + 1 > room) {
            ++misfits;
            continue;
        }
        misfits = 0;
        line += token;
        line += ' ';
        if (focusKind_ == FocusKind::digit) numberTurn = !numberTurn;
    }
    // Nothing fitted (a very short length window): the focus key alone still trains it.
    if (line.empty() && !prepared_.unlocked.empty()) {
        line += static_cast<char>(focus_ != 0 ? focus_ : static_cast<unsigned char>(prepared_.unlocked[0]));
        if (line[0] != ' ') line += ' ';
    }
    std::memcpy(destination, line.data(), line.size());
    destination[line.size()] = '\0';
    return static_cast<std::uint16_t>(line.size());
}

std::string LessonMaker::nextToken(bool numberTurn, std::vector<std::uint32_t>& usedWords,
                                   std::vector<std::string>& usedPseudo) {
    if (numberTurn || (!digits_.empty() && focusKind_ != FocusKind::digit && nextRandom() % kNumberEvery == 0))
        return numberToken();
    if (letters_.empty()) return {};
    std::string word = wordToken(usedWords, usedPseudo);
    if (word.empty()) return word;
    const auto first = static_cast<unsigned char>(word[0]);
    if (focusKind_ == FocusKind::capital || (unlocked(upperCase(first)) && nextRandom() % kCapitalEvery == 0))
        word[0] = static_cast<char>(upperCase(first));
    if (focusKind_ == FocusKind::punctuation)
        decorate(word, focus_);
    else if (!marks_.empty() && nextRandom() % kMarkEvery == 0)
        decorate(word, static_cast<unsigned char>(marks_[static_cast<std::size_t>(nextRandom()) % marks_.size()]));
    return word;
}

std::string LessonMaker::wordToken(std::vector<std::uint32_t>& usedWords, std::vector<std::string>& usedPseudo) {
    if (pool_.empty()) {
        const unsigned char first = focusKind_ == FocusKind::capital ? lowerCase(focus_) : 0;
        const unsigned char held = focusKind_ == FocusKind::letter ? focus_ : 0;
        std::string w = pseudoWord(first, held);
        if (std::find(usedPseudo.begin(), usedPseudo.end(), w) != usedPseudo.end()) return {};
        usedPseudo.push_back(w);
        return w;
    }
    const std::uint64_t r = wideRandom() % cumulative_.back();
    const auto at = std::upper_bound(cumulative_.begin(), cumulative_.end(), r) - cumulative_.begin();
    const std::uint32_t index = pool_[static_cast<std::size_t>(at)];
    if (std::find(usedWords.begin(), usedWords.end(), index) != usedWords.end()) return {};
    usedWords.push_back(index);
    return std::string(text_.word(text_.words()[index]));
}

// One to four unlocked digits, the focus digit among them when it is one.
std::string LessonMaker::numberToken() {
    if (digits_.empty()) return {};
    const std::size_t length = 1 + static_cast<std::size_t>(nextRandom()) % 4;
    std::string number;
    for (std::size_t k = 0; k < length; ++k) number += digits_[static_cast<std::size_t>(nextRandom()) % digits_.size()];
    if (focusKind_ == FocusKind::digit && number.find(static_cast<char>(focus_)) == std::string::npos)
        number[static_cast<std::size_t>(nextRandom()) % length] = static_cast<char>(focus_);
    return number;
}

// A mark as it stands by a word: after it, as a dash after it, or around it.
void LessonMaker::decorate(std::string& word, unsigned char mark) const {
    const char m = static_cast<char>(mark);
    if (kAfterWord.find(m) != std::string_view::npos) {
        word += m;
    } else if (m == '-') {
        word += " -";
    } else if (m == '"') {
        word = '"' + word + '"';
    } else if (m == '(') {
        word = '(' + word + (unlocked(')') ? ")" : "");
    } else if (m == ')') {
        word = (unlocked('(') ? "(" : "") + word + ')';
    }
}

std::string LessonMaker::pseudoWord(unsigned char first, unsigned char held) {
    if (letters_.empty()) return {};
    std::string candidate;
    for (int attempt = 0; attempt < kPseudoAttempts; ++attempt) {
        candidate = generated(first);
        if (held == 0 || candidate.find(static_cast<char>(held)) != std::string::npos) return candidate;
    }
    // Rare letters seldom come by themselves: put the letter in a place of its own.
    const std::size_t from = first != 0 ? 1 : 0;
    candidate[from + static_cast<std::size_t>(nextRandom()) % (candidate.size() - from)] = static_cast<char>(held);
    return candidate;
}

// Letters by the model among the unlocked ones. A context the text never had among them falls
// back to two letters of context, then one, then any unlocked letter.
std::string LessonMaker::generated(unsigned char first) {
    std::string word;
    unsigned a = 0, b = 0, c = 0;
    const auto push = [&](unsigned index) {
        word += static_cast<char>(text_.letter(index));
        a = b;
        b = c;
        c = index;
    };
    if (first != 0 && text_.letterIndex(first) != 0) push(text_.letterIndex(first));
    std::array<std::uint32_t, 40> weights {};
    while (word.size() < kLongestPseudoWord) {
        const bool mayEnd = word.size() >= kShortestPseudoWord;
        std::uint64_t endWeight = 0, sum = 0;
        for (int context = 3; context >= 1 && sum == 0; --context) {
            const auto count = [&](unsigned next) {
                return context == 3 ? text_.followers(a, b, c, next)
                       : context == 2 ? text_.followers(b, c, next)
                                      : text_.followers(c, next);
            };
            endWeight = mayEnd ? count(0) : 0;
            sum = endWeight;
            for (std::size_t k = 0; k < letters_.size(); ++k) {
                weights[k] = count(letters_[k]);
                sum += weights[k];
            }
        }
        if (sum == 0) {
            if (mayEnd && nextRandom() % 3 == 0) break;
            push(text_.letterIndex(randomLetter()));
            continue;
        }
        std::uint64_t r = wideRandom() % sum;
        if (r < endWeight) break;
        r -= endWeight;
        std::size_t k = 0;
        while (r >= weights[k]) r -= weights[k++];
        push(letters_[k]);
    }
    return word;
}

unsigned char LessonMaker::randomLetter() {
    return text_.letter(letters_[static_cast<std::size_t>(nextRandom()) % letters_.size()]);
}

}  // namespace dactyla
