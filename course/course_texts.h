#pragma once
// Every text the course shows or reads, in one place. Written here in UTF-8 for reading; the
// program works in CP1251, so each is converted once where it is used (cp1251Text).
#include <string>
#include <string_view>

namespace dactyla::courseText {

// The CP1251 bytes of a UTF-8 text of this file.
std::string cp1251Text(std::string_view utf8);

// Words of the order file.
inline constexpr std::string_view kSpeedWord = "скорость";
inline constexpr std::string_view kErrorsWord = "ошибки";
inline constexpr std::string_view kSamplesWord = "замеры";
inline constexpr std::string_view kRussianWord = "русский";
inline constexpr std::string_view kEnglishWord = "английский";
inline constexpr std::string_view kSpaceWord = "пробел";

// The order file refused; each follows "Файл «Course.txt», строка N: ".
inline constexpr std::string_view kOrderLinePrefix = "Файл «Course.txt», строка ";
inline constexpr std::string_view kOrderFallback = "\nКурс идёт по встроенному порядку клавиш.";
inline constexpr std::string_view kOrderMissing = "Файл «Course.txt» не найден рядом с программой.";
inline constexpr std::string_view kUnknownCharacter = "неизвестный знак «%s»";
inline constexpr std::string_view kDoubledCharacter = "знак «%s» уже есть в строке %u";
inline constexpr std::string_view kMissingCharacter = "в порядке «%s» нет знака «%s»";
inline constexpr std::string_view kMissingSection = "нет порядка «%s»";
inline constexpr std::string_view kDoubledSection = "порядок «%s» уже начат в строке %u";
inline constexpr std::string_view kUnknownLine = "непонятная строка «%s»";
inline constexpr std::string_view kNumberOutOfRange = "«%s» ждёт число от %s до %s";

// The course's own files set aside.
inline constexpr std::string_view kStateDamaged =
    "Файл курса «%s» повреждён и отложен в сторону.\nКурс начинается заново.";
inline constexpr std::string_view kLogDamaged =
    "Журнал курса «%s» повреждён и отложен в сторону.\nНачат новый журнал.";

// The line under the strip: "Курс: 9 из 62 клавиш · фокус «ф» 132 сим/мин, 2.5 % ошибок".
inline constexpr std::string_view kStatusLearned = "Курс: %u из %u клавиш";
inline constexpr std::string_view kStatusFocus = " · фокус «%s»";
inline constexpr std::string_view kStatusFigures = " %u сим/мин, %.1f %% ошибок";
inline constexpr std::string_view kStatusUnknown = " — ещё мало замеров";
inline constexpr std::string_view kStatusDone = " · все клавиши открыты";
inline constexpr std::string_view kStatusUnlocked = " · новая клавиша «%s»!";

}  // namespace dactyla::courseText
