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

// The course window.
inline constexpr std::string_view kWindowTitle = "Курс";
inline constexpr std::string_view kWindowKeys = "Клавиши курса по порядку: открытые — по цвету мастерства, "
                                                "закрытые — серые. Щелчок по закрытой клавише открывает все "
                                                "клавиши до неё.";
inline constexpr std::string_view kWindowFocus = "Фокус: «%s» — %u сим/мин при цели %u, ошибок %.1f %% при пределе %.1f %%";
inline constexpr std::string_view kWindowFocusUnknown = "Фокус: «%s» — ещё мало замеров (нужно %u чистых нажатий)";
inline constexpr std::string_view kWindowNoFocus = "Фокуса нет: все открытые клавиши близки к цели.";
inline constexpr std::string_view kWindowLearned = "Открыто %u из %u клавиш.";
inline constexpr std::string_view kWindowSpeed = "Цель, сим/мин:";
inline constexpr std::string_view kWindowErrors = "Предел ошибок, %:";
inline constexpr std::string_view kWindowApply = "Применить";
inline constexpr std::string_view kWindowStartAgain = "Начать заново";
inline constexpr std::string_view kWindowClose = "Закрыть";
inline constexpr std::string_view kWindowBadTargets = "Цель — число от 30 до 750 знаков в минуту, предел ошибок — "
                                                      "от 0,5 до 15 процентов.";
inline constexpr std::string_view kWindowSkipQuestion = "Открыть все клавиши до «%s»?";
inline constexpr std::string_view kWindowStartAgainQuestion =
    "Начать курс заново с первого урока?\nСтатистика клавиш останется.";

}  // namespace dactyla::courseText
