#include "course/course_text.h"

#include <cstring>

#include "platform/file.h"

namespace dactyla {
namespace {

enum : std::uint8_t { kOther = 0, kLetter = 1, kForeign = 2 };

struct ByteTables {
    std::array<std::uint8_t, 256> kind {};
    std::array<std::uint8_t, 256> lower {};
};

ByteTables byteTables(bool russian) {
    ByteTables t;
    for (unsigned c = 0; c < 256; ++c) t.lower[c] = static_cast<std::uint8_t>(c);
    const auto mark = [&t](unsigned first, unsigned last, std::uint8_t kind, int shift) {
        for (unsigned c = first; c <= last; ++c) {
            t.kind[c] = kind;
            t.lower[c] = static_cast<std::uint8_t>(c + shift);
        }
    };
    const std::uint8_t cyrillic = russian ? kLetter : kForeign;
    const std::uint8_t latin = russian ? kForeign : kLetter;
    mark('a', 'z', latin, 0);
    mark('A', 'Z', latin, 'a' - 'A');
    mark(0xE0, 0xFF, cyrillic, 0);
    mark(0xC0, 0xDF, cyrillic, 0x20);
    mark(0xB8, 0xB8, cyrillic, 0);
    mark(0xA8, 0xA8, cyrillic, 0xB8 - 0xA8);
    mark('0', '9', kForeign, 0);
    return t;
}

std::uint32_t hashOf(std::string_view s) {
    std::uint32_t h = 2166136261u;
    for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

}  // namespace

CourseText CourseText::build(std::string_view text, bool russian) {
    CourseText course;
    course.russian_ = russian;
    course.letters_ = russian ? std::string("\xE0\xE1\xE2\xE3\xE4\xE5\xB8\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
                                            "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF")
                              : std::string("abcdefghijklmnopqrstuvwxyz");
    for (std::size_t k = 0; k < course.letters_.size(); ++k)
        course.indexOf_[static_cast<unsigned char>(course.letters_[k])] = static_cast<std::uint8_t>(k + 1);
    course.table_.assign(1u << 12, 0);

    const ByteTables tables = byteTables(russian);
    std::array<char, kLongestWord> lowered {};
    std::size_t length = 0;
    bool wordLike = true;  // the run so far holds only letters of the language
    const auto endRun = [&] {
        if (wordLike && length >= 2 && length <= kLongestWord) course.addWord(std::string_view(lowered.data(), length));
        length = 0;
        wordLike = true;
    };
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        ++course.counts_[c];
        const std::uint8_t kind = tables.kind[c];
        if (kind == kOther) {
            if (length > 0 || !wordLike) endRun();
            continue;
        }
        if (kind == kForeign) {
            wordLike = false;
        } else if (length < kLongestWord) {
            lowered[length] = static_cast<char>(tables.lower[c]);
        }
        ++length;
    }
    endRun();
    course.table_.clear();
    course.table_.shrink_to_fit();
    course.buildModel();
    return course;
}

void CourseText::addWord(std::string_view lowered) {
    std::size_t mask = table_.size() - 1;
    std::size_t slot = hashOf(lowered) & mask;
    while (table_[slot] != 0) {
        Word& w = words_[table_[slot] - 1];
        if (w.length == lowered.size() && std::memcmp(spelling_.data() + w.offset, lowered.data(), w.length) == 0) {
            ++w.count;
            return;
        }
        slot = (slot + 1) & mask;
    }
    Word w;
    w.offset = static_cast<std::uint32_t>(spelling_.size());
    w.length = static_cast<std::uint8_t>(lowered.size());
    w.count = 1;
    spelling_.append(lowered);
    words_.push_back(w);
    table_[slot] = static_cast<std::uint32_t>(words_.size());
    if (words_.size() * 2 <= table_.size()) return;
    // Half full: double the table and place every word again.
    std::vector<std::uint32_t> bigger(table_.size() * 2, 0);
    mask = bigger.size() - 1;
    for (std::size_t k = 0; k < words_.size(); ++k) {
        std::size_t s = hashOf(word(words_[k])) & mask;
        while (bigger[s] != 0) s = (s + 1) & mask;
        bigger[s] = static_cast<std::uint32_t>(k + 1);
    }
    table_.swap(bigger);
}

// Counted over the distinct words, each as often as it occurs: the same as over the text.
void CourseText::buildModel() {
    const unsigned k = letterCount() + 1;
    model_.assign(static_cast<std::size_t>(k) * k * k * k, 0);
    model3_.assign(static_cast<std::size_t>(k) * k * k, 0);
    model2_.assign(static_cast<std::size_t>(k) * k, 0);
    for (const Word& w : words_) {
        unsigned a = 0, b = 0, c = 0;
        const std::string_view s = word(w);
        for (std::size_t i = 0; i <= s.size(); ++i) {
            const unsigned next = i < s.size() ? indexOf_[static_cast<unsigned char>(s[i])] : 0;
            model_[((a * k + b) * k + c) * k + next] += w.count;
            model3_[(b * k + c) * k + next] += w.count;
            model2_[c * k + next] += w.count;
            a = b;
            b = c;
            c = next;
        }
    }
}

std::size_t CourseText::memoryBytes() const {
    return spelling_.capacity() + words_.capacity() * sizeof(Word) +
           (model_.capacity() + model3_.capacity() + model2_.capacity() + table_.capacity()) * sizeof(std::uint32_t);
}

std::shared_ptr<const CourseText> CourseTextCache::get(const std::string& path, bool russian) {
    platform::File file = platform::File::open(
        path, {.mode = platform::OpenMode::existing, .readOnly = true, .besideWriter = true});
    const auto size = file.size();
    if (!size) return nullptr;
    if (text_ && path == path_ && russian == russian_ && *size == size_) return text_;
    std::string bytes(static_cast<std::size_t>(*size), '\0');
    if (file.read(bytes.data(), bytes.size()) != bytes.size()) return nullptr;
    text_ = std::make_shared<const CourseText>(CourseText::build(bytes, russian));
    path_ = path;
    russian_ = russian;
    size_ = *size;
    return text_;
}

}  // namespace dactyla
