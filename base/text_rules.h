#pragma once
// What makes a sentence of the drill, wherever sentences are found, cleaned or shown: the length
// window of its lines, its capitals and its terminators (CP1251 bytes).
#include <cstdint>

namespace dactyla {

inline constexpr std::uint16_t kShortestSentence = 10;
inline constexpr std::uint16_t kLongestSentence = 120;

constexpr bool isTerminator(unsigned char c) { return c == '.' || c == '?' || c == '!'; }

// Russian capitals are А to Я (0xC0 to 0xDF); Ё stays out, as it does from the drill's letters.
constexpr bool isCapital(bool russian, unsigned char c) {
    return russian ? c >= 0xC0 && c <= 0xDF : c >= 'A' && c <= 'Z';
}

}  // namespace dactyla
