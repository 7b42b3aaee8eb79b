#include "drill/key_counts.h"

#include <algorithm>
#include <limits>

namespace dactyla {
namespace {

std::uint32_t saturatingSum(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t room = std::numeric_limits<std::uint32_t>::max() - a;
    return b > room ? std::numeric_limits<std::uint32_t>::max() : a + b;
}

}  // namespace

KeyCounts::KeyCounts() : confusions_(kByteValues * kByteValues, 0) {}

void KeyCounts::countCorrect(unsigned char expected) {
    correct_[expected] = saturatingSum(correct_[expected], 1);
}

void KeyCounts::countWrong(unsigned char expected, unsigned char typed) {
    wrong_[expected] = saturatingSum(wrong_[expected], 1);
    std::uint32_t& confused = confusions_[expected * kByteValues + typed];
    confused = saturatingSum(confused, 1);
}

void KeyCounts::add(const KeyCounts& other) {
    for (unsigned k = 0; k < kByteValues; ++k) {
        correct_[k] = saturatingSum(correct_[k], other.correct_[k]);
        wrong_[k] = saturatingSum(wrong_[k], other.wrong_[k]);
    }
    for (std::size_t k = 0; k < confusions_.size(); ++k)
        confusions_[k] = saturatingSum(confusions_[k], other.confusions_[k]);
}

void KeyCounts::clear() {
    correct_.fill(0);
    wrong_.fill(0);
    std::fill(confusions_.begin(), confusions_.end(), 0);
}

bool KeyCounts::empty() const {
    const auto zero = [](std::uint32_t count) { return count == 0; };
    return std::all_of(correct_.begin(), correct_.end(), zero) && std::all_of(wrong_.begin(), wrong_.end(), zero);
}

}  // namespace dactyla
