#pragma once
// The course's key order and targets: "Course.txt" beside the program, plain text a teacher may
// edit. The order is by key position, so one course serves ЙЦУКЕН and QWERTY; a file that cannot
// be used is refused with a message naming its line, and the built-in order serves instead.
//
// The file, CP1251 or UTF-8, one statement a line; "//" starts a comment line:
//   скорость 150      target speed, characters per minute (30..750)
//   ошибки 3          error limit in percent, a decimal comma or point allowed (0.5..15)
//   замеры 20         clean keystrokes before a key's mastery is known (5..64)
//   русский           the Russian order follows, one step a line
//   а о в л ы д пробел
//   ф
//   ...
//   английский        the English order follows
// A step names its characters separated by spaces, "пробел" for the space bar. The first step
// is the first lesson; every later step adds its keys at one unlock. Each language's order
// holds every character of its course exactly once (courseCharacters).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dactyla {

inline constexpr const char* kCourseOrderFileName = "Course.txt";

struct CourseTargets {
    std::uint16_t targetSpeed = 150;     // characters per minute
    std::uint16_t errorLimitTenths = 30; // tenths of a percent: 30 is 3 %
    std::uint16_t minSamples = 20;
    bool operator==(const CourseTargets&) const = default;
};

inline constexpr std::uint16_t kMinTargetSpeed = 30;
inline constexpr std::uint16_t kMaxTargetSpeed = 750;
inline constexpr std::uint16_t kMinErrorLimitTenths = 5;
inline constexpr std::uint16_t kMaxErrorLimitTenths = 150;
inline constexpr std::uint16_t kMinSamples = 5;
inline constexpr std::uint16_t kMaxSamples = 64;

// One language's order: steps of CP1251 characters, the first lesson first.
struct KeyOrder {
    std::vector<std::string> steps;
    // Every character of every step, in order.
    std::string characters() const;
    // The index of the step holding `character`, or steps.size().
    std::size_t stepOf(unsigned char character) const;
    bool operator==(const KeyOrder&) const = default;
};

struct CourseSettings {
    CourseTargets targets;
    KeyOrder russian;
    KeyOrder english;
    const KeyOrder& order(bool russianLanguage) const { return russianLanguage ? russian : english; }
    bool operator==(const CourseSettings&) const = default;
};

// The characters a language's course teaches, CP1251 in ascending byte order: its lower-case
// letters ("ё" among them for Russian), the capitals that begin words (Russian without Ъ, Ы, Ь),
// the digits, ten punctuation marks and the space.
const std::string& courseCharacters(bool russianLanguage);

// The order and targets the program ships; the file beside it says the same.
const CourseSettings& builtInCourse();

struct CourseReading {
    CourseSettings settings;  // the built-in course when the file was refused
    std::string problem;      // empty, or the CP1251 message that refused the file
};

// Reads the file's bytes; a refusal names the first line that cannot be used.
CourseReading parseCourseOrder(std::string_view bytes);
// Reads "<programDirectory>\Course.txt"; a missing file is refused like a bad one.
CourseReading readCourseOrder(const std::string& programDirectory);

}  // namespace dactyla
