#pragma once
// The program's one random generator: the classic linear congruential srand/rand pair.
// Its exact formula matters: shuffles, alphabet lines and melodies depend on it. The state
// is process-wide and unguarded; the program has one thread.
#include <cstdint>

namespace dactyla {

inline constexpr int kRandomMax = 0x7FFF;

void seedRandom(std::uint32_t seed);
// 0..32767.
int nextRandom();

}  // namespace dactyla
