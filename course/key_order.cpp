#include "course/key_order.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>

#include "course/course_texts.h"
#include "platform/cp1251.h"
#include "platform/directory.h"
#include "platform/file.h"

namespace dactyla {
namespace {

using courseText::courseFormatted;
using courseText::courseString;
using courseText::orderWord;

constexpr std::string_view kPunctuation = ".!?,-\":;()";

std::string range(unsigned first, unsigned last) {
    std::string s;
    for (unsigned c = first; c <= last; ++c) s += static_cast<char>(c);
    return s;
}

std::string sorted(std::string s) {
    std::array<bool, 256> present {};
    for (char c : s) present[static_cast<unsigned char>(c)] = true;
    std::string out;
    for (unsigned c = 0; c < 256; ++c)
        if (present[c]) out += static_cast<char>(c);
    return out;
}

// The built-in order, by key position. Russian: the first lesson, the little fingers' home keys,
// the inner index keys, the top row from the index fingers outwards, the bottom row likewise,
// then capitals in the same order, "ё", digits from the index fingers outwards, punctuation.
// English alike; its little finger's right home key types no letter and comes with punctuation.
constexpr std::string_view kBuiltInRussian[] = {
    "а о в л ы д пробел", "ф", "ж", "э", "п", "р", "к", "г", "е", "н", "у", "ш", "ц", "щ", "й", "з", "х", "ъ",
    "м", "ь", "и", "т", "с", "б", "ч", "ю", "я",
    "А", "О", "В", "Л", "Д", "Ф", "Ж", "Э", "П", "Р", "К", "Г", "Е", "Н", "У", "Ш", "Ц", "Щ", "Й", "З", "Х",
    "М", "И", "Т", "С", "Б", "Ч", "Ю", "Я", "ё", "Ё",
    "4", "7", "5", "6", "3", "8", "2", "9", "1", "0",
    ",", ".", "-", "!", "?", "\"", ":", ";", "(", ")"};
constexpr std::string_view kBuiltInEnglish[] = {
    "f j d k s l пробел", "a", "g", "h", "r", "u", "t", "y", "e", "i", "w", "o", "q", "p",
    "v", "m", "b", "n", "c", "x", "z",
    "F", "J", "D", "K", "S", "L", "A", "G", "H", "R", "U", "T", "Y", "E", "I", "W", "O", "Q", "P",
    "V", "M", "B", "N", "C", "X", "Z",
    "4", "7", "5", "6", "3", "8", "2", "9", "1", "0",
    ",", ".", "-", "!", "?", "\"", ":", ";", "(", ")"};

// How a character is named in a message.
std::string characterName(unsigned char c) {
    if (c == ' ') return orderWord(courseText::kSpaceWord);
    return std::string(1, static_cast<char>(c));
}


std::string refusal(unsigned line, const std::string& problem) {
    return courseString(courseText::kOrderLinePrefix) + std::to_string(line) + ": " + problem +
           courseString(courseText::kOrderFallback);
}

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (at < line.size()) {
        const auto start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) break;
        auto end = line.find_first_of(" \t", start);
        if (end == std::string_view::npos) end = line.size();
        out.push_back(line.substr(start, end - start));
        at = end;
    }
    return out;
}

bool isValidUtf8(std::string_view s) {
    std::size_t k = 0;
    while (k < s.size()) {
        const auto c = static_cast<unsigned char>(s[k]);
        const std::size_t length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || k + length > s.size()) return false;
        for (std::size_t j = 1; j < length; ++j)
            if ((static_cast<unsigned char>(s[k + j]) & 0xC0) != 0x80) return false;
        k += length;
    }
    return true;
}

// A teacher's editor may keep UTF-8; the program reads CP1251.
std::string asCp1251(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return platform::utf8ToCp1251(std::string(bytes.substr(3)));
    bool ascii = true;
    for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (!ascii && isValidUtf8(bytes)) return platform::utf8ToCp1251(std::string(bytes));
    return std::string(bytes);
}

// "3", "2,5" or "2.5" in tenths.
std::optional<unsigned> tenths(std::string_view text) {
    std::string digits(text);
    for (char& c : digits)
        if (c == ',') c = '.';
    const auto point = digits.find('.');
    const std::string whole = digits.substr(0, point);
    const std::string fraction = point == std::string::npos ? "0" : digits.substr(point + 1);
    if (whole.empty() || fraction.size() != 1) return std::nullopt;
    unsigned w = 0, f = 0;
    auto [end1, error1] = std::from_chars(whole.data(), whole.data() + whole.size(), w);
    auto [end2, error2] = std::from_chars(fraction.data(), fraction.data() + fraction.size(), f);
    if (error1 != std::errc() || end1 != whole.data() + whole.size() || error2 != std::errc() ||
        end2 != fraction.data() + fraction.size() || w > 1000)
        return std::nullopt;
    return w * 10 + f;
}

class OrderParser {
public:
    CourseReading parse(std::string_view bytes) {
        text_ = asCp1251(bytes);
        unsigned number = 0;
        std::size_t at = 0;
        while (at <= text_.size() && problem_.empty()) {
            auto end = text_.find('\n', at);
            if (end == std::string::npos) end = text_.size();
            ++number;
            statement(number, trim(std::string_view(text_).substr(at, end - at)));
            at = end + 1;
        }
        if (problem_.empty()) checkComplete(number);
        CourseReading reading;
        if (problem_.empty()) {
            reading.settings = settings_;
        } else {
            reading.settings = builtInCourse();
            reading.problem = problem_;
        }
        return reading;
    }

private:
    struct Section {
        KeyOrder* order = nullptr;
        bool russian = false;
        unsigned headerLine = 0;
        std::array<unsigned, 256> lineOf {};
    };

    void statement(unsigned number, std::string_view line) {
        if (line.empty() || line.substr(0, 2) == "//") return;
        const auto parts = words(line);
        const std::string first(parts[0]);
        if (parts.size() == 1 && (first == word(courseText::kRussianWord) || first == word(courseText::kEnglishWord))) {
            startSection(number, first == word(courseText::kRussianWord));
        } else if (parts.size() == 2 && section_ == nullptr && first == word(courseText::kSpeedWord)) {
            setting(number, parts, settings_.targets.targetSpeed, kMinTargetSpeed, kMaxTargetSpeed, false);
        } else if (parts.size() == 2 && section_ == nullptr && first == word(courseText::kErrorsWord)) {
            setting(number, parts, settings_.targets.errorLimitTenths, kMinErrorLimitTenths, kMaxErrorLimitTenths, true);
        } else if (parts.size() == 2 && section_ == nullptr && first == word(courseText::kSamplesWord)) {
            setting(number, parts, settings_.targets.minSamples, kMinSamples, kMaxSamples, false);
        } else if (section_ != nullptr) {
            step(number, parts);
        } else {
            fail(number, courseFormatted(courseText::kUnknownLine, std::string(line).c_str()));
        }
    }

    static std::string word(std::string_view utf8) { return orderWord(utf8); }

    void startSection(unsigned number, bool russian) {
        Section& s = russian ? russian_ : english_;
        if (s.headerLine != 0) {
            fail(number, courseFormatted(courseText::kDoubledSection, languageWord(russian).c_str(), s.headerLine));
            return;
        }
        s.headerLine = number;
        s.russian = russian;
        s.order = russian ? &settings_.russian : &settings_.english;
        section_ = &s;
    }

    void setting(unsigned number, const std::vector<std::string_view>& parts, std::uint16_t& value,
                 unsigned low, unsigned high, bool inTenths) {
        std::optional<unsigned> read;
        if (inTenths) {
            read = tenths(parts[1]);
        } else {
            unsigned v = 0;
            auto [end, error] = std::from_chars(parts[1].data(), parts[1].data() + parts[1].size(), v);
            if (error == std::errc() && end == parts[1].data() + parts[1].size()) read = v;
        }
        if (!read || *read < low || *read > high) {
            const auto shown = [inTenths](unsigned v) {
                std::string shown = std::to_string(inTenths ? v / 10 : v);
                if (inTenths && v % 10 != 0) shown.append(1, ',').append(1, static_cast<char>('0' + v % 10));
                return shown;
            };
            fail(number, courseFormatted(courseText::kNumberOutOfRange, std::string(parts[0]).c_str(), shown(low).c_str(),
                                         shown(high).c_str()));
            return;
        }
        value = static_cast<std::uint16_t>(*read);
    }

    void step(unsigned number, const std::vector<std::string_view>& parts) {
        const std::string& allowed = courseCharacters(section_->russian);
        std::string characters;
        for (std::string_view part : parts) {
            const bool isSpace = std::string(part) == word(courseText::kSpaceWord);
            if (!isSpace && (part.size() != 1 || allowed.find(part[0]) == std::string::npos)) {
                fail(number, courseFormatted(courseText::kUnknownCharacter, std::string(part).c_str()));
                return;
            }
            const auto c = static_cast<unsigned char>(isSpace ? ' ' : part[0]);
            if (section_->lineOf[c] != 0) {
                fail(number, courseFormatted(courseText::kDoubledCharacter, characterName(c).c_str(), section_->lineOf[c]));
                return;
            }
            section_->lineOf[c] = number;
            characters += static_cast<char>(c);
        }
        section_->order->steps.push_back(characters);
    }

    void checkComplete(unsigned lastLine) {
        for (Section* s : {&russian_, &english_}) {
            const bool russian = s == &russian_;
            if (s->headerLine == 0) {
                fail(lastLine, courseFormatted(courseText::kMissingSection, languageWord(russian).c_str()));
                return;
            }
            for (char c : courseCharacters(russian)) {
                if (s->lineOf[static_cast<unsigned char>(c)] != 0) continue;
                fail(s->headerLine, courseFormatted(courseText::kMissingCharacter, languageWord(russian).c_str(),
                                                    characterName(static_cast<unsigned char>(c)).c_str()));
                return;
            }
        }
    }

    static std::string languageWord(bool russian) {
        return word(russian ? courseText::kRussianWord : courseText::kEnglishWord);
    }

    void fail(unsigned number, const std::string& problem) {
        if (problem_.empty()) problem_ = refusal(number, problem);
    }

    std::string text_;
    CourseSettings settings_;
    Section russian_;
    Section english_;
    Section* section_ = nullptr;
    std::string problem_;
};

KeyOrder builtInOrder(const std::string_view* steps, std::size_t count) {
    KeyOrder order;
    const std::string space = orderWord(courseText::kSpaceWord);
    for (std::size_t k = 0; k < count; ++k) {
        std::string characters;
        for (std::string_view w : words(steps[k])) {
            const std::string cp = orderWord(w);
            characters += cp == space ? std::string(" ") : cp;
        }
        order.steps.push_back(characters);
    }
    return order;
}

}  // namespace

std::string KeyOrder::characters() const {
    std::string all;
    for (const std::string& s : steps) all += s;
    return all;
}

std::size_t KeyOrder::stepOf(unsigned char character) const {
    for (std::size_t k = 0; k < steps.size(); ++k)
        if (steps[k].find(static_cast<char>(character)) != std::string::npos) return k;
    return steps.size();
}

const std::string& courseCharacters(bool russianLanguage) {
    static const std::string russian = [] {
        std::string capitals;
        for (unsigned c = 0xC0; c <= 0xDF; ++c)
            if (c != 0xDA && c != 0xDB && c != 0xDC) capitals += static_cast<char>(c);  // Ъ Ы Ь begin no word
        return sorted(range(0xE0, 0xFF) + "\xB8\xA8" + capitals + range('0', '9') + std::string(kPunctuation) + " ");
    }();
    static const std::string english =
        sorted(range('a', 'z') + range('A', 'Z') + range('0', '9') + std::string(kPunctuation) + " ");
    return russianLanguage ? russian : english;
}

const CourseSettings& builtInCourse() {
    static const CourseSettings course = [] {
        CourseSettings s;
        s.russian = builtInOrder(kBuiltInRussian, std::size(kBuiltInRussian));
        s.english = builtInOrder(kBuiltInEnglish, std::size(kBuiltInEnglish));
        return s;
    }();
    return course;
}

CourseReading parseCourseOrder(std::string_view bytes) { return OrderParser().parse(bytes); }

CourseReading readCourseOrder(const std::string& programDirectory) {
    const auto bytes = platform::readWholeFile(platform::joinPath(programDirectory, kCourseOrderFileName));
    if (!bytes) return {builtInCourse(), courseString(courseText::kOrderMissing) + courseString(courseText::kOrderFallback)};
    return parseCourseOrder(*bytes);
}

}  // namespace dactyla
