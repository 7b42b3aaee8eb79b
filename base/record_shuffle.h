#pragma once
// In-place random order for a run of equal-sized records (1 to 4 bytes each).
#include <cstddef>
#include <cstdint>

namespace dactyla {

// Reseeds the random generator from the tick count, then shuffles. Counts below 2 and sizes
// outside 1..4 leave the records as they are.
void recordShuffle(std::uint8_t* records, std::int32_t recordCount, unsigned recordSize);

// The same with the tick count given, so the order can be reproduced.
void recordShuffleAt(std::uint32_t tick, std::uint8_t* records, std::int32_t recordCount, unsigned recordSize);

// The same order for records already held one to a 32-bit value: what a shuffle of their
// bytes would give, without taking them apart and putting them back together.
void valueShuffle(std::uint32_t* values, std::size_t count);
void valueShuffleAt(std::uint32_t tick, std::uint32_t* values, std::size_t count);

}  // namespace dactyla
