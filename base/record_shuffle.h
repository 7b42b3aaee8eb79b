#pragma once
// In-place random order for a run of equal-sized records (1 to 4 bytes each).
#include <cstdint>

namespace dactyla {

// Reseeds the random generator from the tick count, then shuffles. Counts below 2 and sizes
// outside 1..4 leave the records as they are.
void recordShuffle(std::uint8_t* records, std::int32_t recordCount, unsigned recordSize);

// The same with the tick count given, so the order can be reproduced.
void recordShuffleAt(std::uint32_t tick, std::uint8_t* records, std::int32_t recordCount, unsigned recordSize);

}  // namespace dactyla
