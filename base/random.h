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

// The generator's state after one more draw, and the number that draw gives.
constexpr std::uint32_t nextRandomState(std::uint32_t state) { return state * 214013u + 2531011u; }
constexpr int randomOfState(std::uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFFu); }

// A long run of draws from the one generator (a shuffle of a quarter of a million records)
// through a copy of its state, which stays in a register instead of memory; the state is
// handed back when the run ends, so the numbers are those nextRandom would have given.
class RandomRun {
public:
    RandomRun();
    ~RandomRun();
    RandomRun(const RandomRun&) = delete;
    RandomRun& operator=(const RandomRun&) = delete;

    int next() {
        state_ = nextRandomState(state_);
        return randomOfState(state_);
    }

private:
    std::uint32_t state_;
};

}  // namespace dactyla
