#pragma once
// Texts the benchmarks scan: sentences of 2 to 14 of the given words after an opener, some broken
// across lines, in paragraphs, about what a real text gives the scanner. The same seed gives the
// same text.
#include <array>
#include <cstddef>
#include <random>
#include <span>
#include <string>

namespace dactyla::bench {

inline std::string makeSentenceText(std::size_t size, std::span<const char* const> words, unsigned seed) {
    static const std::array<const char*, 6> openers = {"We", "He", "She", "They", "There", "Now"};
    std::mt19937 random(seed);
    std::string text;
    text.reserve(size + 256);
    while (text.size() < size) {
        text += openers[random() % openers.size()];
        const int count = 2 + static_cast<int>(random() % 13);
        for (int k = 0; k < count; ++k) {
            text += random() % 12 == 0 ? "\r\n" : " ";
            text += words[random() % words.size()];
        }
        text += ".!?"[random() % 3];
        text += random() % 5 == 0 ? "\r\n" : " ";
    }
    text.resize(size);
    return text;
}

}  // namespace dactyla::bench
