#pragma once
// One bit for each of 64 bytes, set where a test of the byte holds, computed by plain loops that
// compilers turn into vector instructions: the scan's stops and the import's plain bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace dactyla {

inline constexpr std::size_t kByteBlock = 64;

// An 8 x 8 matrix of bits, row r in byte r and column c in bit c, turned over its diagonal.
constexpr std::uint64_t transposedBits(std::uint64_t bits) {
    std::uint64_t swap = (bits ^ (bits >> 7)) & 0x00AA00AA00AA00AAu;
    bits ^= swap ^ (swap << 7);
    swap = (bits ^ (bits >> 14)) & 0x0000CCCC0000CCCCu;
    bits ^= swap ^ (swap << 14);
    swap = (bits ^ (bits >> 28)) & 0x00000000F0F0F0F0u;
    return bits ^ swap ^ (swap << 28);
}

// Byte k of a block marks bit k / 8 of byte k % 8 of a word: the marks of the whole block,
// folded together, hold its bits as a matrix whose transpose is the bits in order.
inline constexpr std::array<std::uint8_t, kByteBlock> kBlockMarkOf = [] {
    std::array<std::uint8_t, kByteBlock> marks {};
    for (std::size_t k = 0; k < kByteBlock; ++k) marks[k] = static_cast<std::uint8_t>(1u << (k / 8));
    return marks;
}();

// Bit k set where `test(bytes + k)` gives all ones (0xFF), clear where it gives 0; the first
// byte lowest. `test` must give one of the two, and may read the bytes around its own.
template <class Test>
std::uint64_t bitsOfBlock(const std::uint8_t* bytes, Test test) {
    constexpr std::size_t kLanes = 16;
    std::array<std::uint8_t, kLanes> folded {};
    const auto fold = [&](std::size_t lane) {
        for (std::size_t k = 0; k < kLanes; ++k)
            folded[k] |= static_cast<std::uint8_t>(test(bytes + lane + k) & kBlockMarkOf[lane + k]);
    };
    // Written out rather than looped: a loop stays a loop that loads its marks again each time.
    static_assert(kByteBlock == 4 * kLanes);
    fold(0);
    fold(kLanes);
    fold(2 * kLanes);
    fold(3 * kLanes);
    std::uint64_t low;
    std::uint64_t high;
    std::memcpy(&low, folded.data(), sizeof low);
    std::memcpy(&high, folded.data() + sizeof low, sizeof high);
    return transposedBits(low | high);
}

}  // namespace dactyla
