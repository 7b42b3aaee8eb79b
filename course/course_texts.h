#pragma once
// Every text the course shows or reads, in one place: the words of its order file (part of the
// file's format, so never translated; UTF-8 here, CP1251 in the program) and the keys of the
// texts it shows, which live in the interface text tables (resources/texts/).
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

namespace dactyla::courseText {

// The CP1251 bytes of an order-file word of this file.
std::string orderWord(std::string_view utf8);
// A text the course shows, in the interface language, by its key below.
std::string courseString(std::string_view key);
// The same with printf-style arguments.
template <typename... Args>
std::string courseFormatted(std::string_view key, Args... args) {
    std::array<char, 512> buffer {};
    std::snprintf(buffer.data(), buffer.size(), courseString(key).c_str(), args...);
    return buffer.data();
}
// A key as the course shows it: its character, or the name of the space bar.
std::string keyName(unsigned char c);

// Words of the order file.
inline constexpr std::string_view kSpeedWord = "скорость";
inline constexpr std::string_view kErrorsWord = "ошибки";
inline constexpr std::string_view kSamplesWord = "замеры";
inline constexpr std::string_view kRussianWord = "русский";
inline constexpr std::string_view kEnglishWord = "английский";
inline constexpr std::string_view kSpaceWord = "пробел";

// The order file refused; each follows "Файл «Course.txt», строка N: ".
inline constexpr std::string_view kOrderLinePrefix = "course.orderLinePrefix";
inline constexpr std::string_view kOrderFallback = "course.orderFallback";
inline constexpr std::string_view kOrderMissing = "course.orderMissing";
inline constexpr std::string_view kUnknownCharacter = "course.unknownCharacter";
inline constexpr std::string_view kDoubledCharacter = "course.doubledCharacter";
inline constexpr std::string_view kMissingCharacter = "course.missingCharacter";
inline constexpr std::string_view kMissingSection = "course.missingSection";
inline constexpr std::string_view kDoubledSection = "course.doubledSection";
inline constexpr std::string_view kUnknownLine = "course.unknownLine";
inline constexpr std::string_view kNumberOutOfRange = "course.numberOutOfRange";

// The course's own files set aside.
inline constexpr std::string_view kStateDamaged = "course.stateDamaged";
inline constexpr std::string_view kLogDamaged = "course.logDamaged";

// The line under the strip: "Курс: 9 из 62 клавиш · фокус «ф» 132 сим/мин, 2.5 % ошибок".
inline constexpr std::string_view kStatusLearned = "course.statusLearned";
inline constexpr std::string_view kStatusFocus = "course.statusFocus";
inline constexpr std::string_view kStatusFigures = "course.statusFigures";
inline constexpr std::string_view kStatusUnknown = "course.statusUnknown";
inline constexpr std::string_view kStatusDone = "course.statusDone";
inline constexpr std::string_view kStatusUnlocked = "course.statusUnlocked";

// The course window.
inline constexpr std::string_view kWindowTitle = "course.windowTitle";
inline constexpr std::string_view kWindowKeys = "course.windowKeys";
inline constexpr std::string_view kWindowFocus = "course.windowFocus";
inline constexpr std::string_view kWindowFocusUnknown = "course.windowFocusUnknown";
inline constexpr std::string_view kWindowNoFocus = "course.windowNoFocus";
inline constexpr std::string_view kWindowLearned = "course.windowLearned";
inline constexpr std::string_view kWindowSpeed = "course.windowSpeed";
inline constexpr std::string_view kWindowErrors = "course.windowErrors";
inline constexpr std::string_view kWindowApply = "course.windowApply";
inline constexpr std::string_view kWindowStartAgain = "course.windowStartAgain";
inline constexpr std::string_view kWindowClose = "course.windowClose";
inline constexpr std::string_view kWindowBadTargets = "course.windowBadTargets";
inline constexpr std::string_view kWindowSkipQuestion = "course.windowSkipQuestion";
inline constexpr std::string_view kWindowStartAgainQuestion = "course.windowStartAgainQuestion";

}  // namespace dactyla::courseText
