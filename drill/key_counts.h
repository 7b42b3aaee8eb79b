#pragma once
// Keystrokes counted against the character that was expected, for the per-key statistics.
#include <array>
#include <cstdint>
#include <vector>

namespace dactyla {

inline constexpr unsigned kByteValues = 256;

// Counts for every CP1251 byte as the expected character. A wrong keystroke is charged to the
// expected character and remembered as a confusion with the byte actually typed. Counts stop at
// the largest u32 instead of wrapping.
class KeyCounts {
public:
    KeyCounts();

    void countCorrect(unsigned char expected);
    void countWrong(unsigned char expected, unsigned char typed);
    // Adds every count of `other`.
    void add(const KeyCounts& other);
    void clear();
    bool empty() const;

    std::uint32_t correct(unsigned char expected) const { return correct_[expected]; }
    std::uint32_t wrong(unsigned char expected) const { return wrong_[expected]; }
    std::uint32_t confusion(unsigned char expected, unsigned char typed) const {
        return confusions_[expected * kByteValues + typed];
    }
    // A byte typed instead of an expected one, and how often.
    struct Confusion {
        unsigned char typed = 0;
        std::uint32_t count = 0;
    };

    // Direct access for the statistics file, which stores the tables as they are.
    std::array<std::uint32_t, kByteValues>& correctTable() { return correct_; }
    std::array<std::uint32_t, kByteValues>& wrongTable() { return wrong_; }
    std::vector<std::uint32_t>& confusionTable() { return confusions_; }  // [expected * 256 + typed]
    const std::array<std::uint32_t, kByteValues>& correctTable() const { return correct_; }
    const std::array<std::uint32_t, kByteValues>& wrongTable() const { return wrong_; }
    const std::vector<std::uint32_t>& confusionTable() const { return confusions_; }

    bool operator==(const KeyCounts&) const = default;

private:
    std::array<std::uint32_t, kByteValues> correct_{};
    std::array<std::uint32_t, kByteValues> wrong_{};
    // 256 × 256 would be too much for the stack of the window thread.
    std::vector<std::uint32_t> confusions_;
};

}  // namespace dactyla
